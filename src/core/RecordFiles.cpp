#include "core/RecordFiles.h"
#include "core/KxError.h"
#include "core/Store.h"

#include <QFileInfo>
#include <filesystem>

namespace RecordFiles {

std::vector<TFileNeedingCommiting> DeleteFiles(const QString& localFolder, const QStringList& fileNames,
                                               const QString& serverFolder,
                                               TFilesNeedingCommitingList& onFailure)
{
    std::vector<TFileNeedingCommiting> pending;
    for (const QString& name : fileNames) {
        try {
            Store::DeleteFileIfExists(localFolder + name);
        } catch (const EKXError&) {
            for (const TFileNeedingCommiting& d : pending) onFailure.Add(d);
            throw;
        }
        pending.emplace_back(QString(), name, serverFolder, fnaaDelete);
    }
    return pending;
}

namespace {
bool sameFile(const QString& a, const QString& b)
{
    std::error_code ec;
    const bool same = std::filesystem::equivalent(std::filesystem::path(a.toStdU16String()),
                                                  std::filesystem::path(b.toStdU16String()), ec);
    return !ec && same;
}
} // namespace

std::vector<TFileNeedingCommiting> RetireOldFiles(const QString& localFolder, const QStringList& oldFileNames,
                                                  const QSet<QString>& written, const QString& serverFolder)
{
    std::vector<TFileNeedingCommiting> pending;
    for (const QString& old : oldFileNames) {
        if (written.contains(old)) continue;
        const QString oldPath = localFolder + old;
        bool isWrittenFile = false;
        for (const QString& w : written)
            if (w.compare(old, Qt::CaseInsensitive) == 0 && sameFile(oldPath, localFolder + w))
                isWrittenFile = true;
        if (!isWrittenFile) Store::DeleteFileIfExists(oldPath);
        pending.emplace_back(QString(), old, serverFolder, fnaaDelete);
    }
    return pending;
}

} // namespace RecordFiles
