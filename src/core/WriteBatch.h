#pragma once
// Writing many files at once (an import of thousands of records) without
// waiting for the disk after each one. While a TWriteBatch is alive on this
// thread, Store::WriteFileAtomically keeps each file's new content in memory
// (a file written again keeps only its last content; one whose content would
// not change is left alone). The end of the batch writes every file beside
// its target, makes all of them durable with one flush per file system and
// only then puts each one in place, so every file still ends up holding
// either its old or its complete new content, never a part.
//
// Inside a batch, Store::ReadFileBytes (and so TIniFile) reads a file written
// earlier in the batch as written, and Store::DeleteFileIfExists drops it; a
// folder listing does not show new files until the batch has ended.
#include <QByteArray>
#include <QString>

class TWriteBatch {
public:
    TWriteBatch();  // batches opened inside a batch join it
    ~TWriteBatch(); // puts in place what Commit has not (errors then go unreported)
    TWriteBatch(const TWriteBatch&) = delete;
    TWriteBatch& operator=(const TWriteBatch&) = delete;

    // Makes the files durable and puts them in place; throws EKXError naming
    // each file that could not be put in place. The outermost batch only.
    void Commit();

    static bool Active();
    // Used by the store while a batch is active.
    static void Write(const QString& path, const QByteArray& data);
    static bool Read(const QString& path, QByteArray& data);
    static void Forget(const QString& path);

private:
    bool m_outer = false;
};
