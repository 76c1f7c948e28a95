#pragma once
#include "sync/fileneedingcommiting.h"

#include <QHash>
#include <memory>
#include <vector>

// The pending changes. Holds at most one entry per (SrcFile, DestFolder): a new
// entry for a file already listed takes the old one's place.
class TFilesNeedingCommitingList {
public:
    void Add(TFileNeedingCommiting* entry); // takes ownership
    void Add(const TFileNeedingCommiting& entry) { Add(new TFileNeedingCommiting(entry)); }
    void Clear()
    {
        m_items.clear();
        m_index.clear();
    }
    int Count() const { return int(m_items.size()); }
    // An entry's SrcFile and DestFolder are its identity in the list: change
    // them only by adding a new entry.
    TFileNeedingCommiting* Items(int index) const { return m_items.at(size_t(index)).get(); }
    void Delete(int index)
    {
        m_items.erase(m_items.begin() + index);
        m_indexValid = false;
    }

    // Stores the entries as folder/<n>.fnc, n counting from 1 in list order.
    void SaveToFolder(const QString& folder) const;
    // Reads every *.fnc of the folder in the numeric order of the names (the
    // order they were written), adds each entry and deletes its file.
    void LoadFromFolder(const QString& folder);

private:
    static QString keyOf(const TFileNeedingCommiting& e) { return e.SrcFile + QChar(0) + e.DestFolder; }
    void rebuildIndex();

    std::vector<std::unique_ptr<TFileNeedingCommiting>> m_items;
    // Position of each entry by its identity, so adding stays fast with
    // tens of thousands of entries (an import).
    QHash<QString, int> m_index;
    bool m_indexValid = true;
};
