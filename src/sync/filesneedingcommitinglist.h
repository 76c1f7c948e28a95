#pragma once
#include "sync/fileneedingcommiting.h"

#include <memory>
#include <vector>

// The pending changes. Holds at most one entry per (SrcFile, DestFolder): a new
// entry for a file already listed takes the old one's place.
class TFilesNeedingCommitingList {
public:
    void Add(TFileNeedingCommiting* entry); // takes ownership
    void Add(const TFileNeedingCommiting& entry) { Add(new TFileNeedingCommiting(entry)); }
    void Clear() { m_items.clear(); }
    int Count() const { return int(m_items.size()); }
    TFileNeedingCommiting* Items(int index) const { return m_items.at(size_t(index)).get(); }
    void Delete(int index) { m_items.erase(m_items.begin() + index); }

    // Stores the entries as folder/<n>.fnc, n counting from 1 in list order.
    void SaveToFolder(const QString& folder) const;
    // Reads every *.fnc of the folder in the numeric order of the names (the
    // order they were written), adds each entry and deletes its file.
    void LoadFromFolder(const QString& folder);

private:
    std::vector<std::unique_ptr<TFileNeedingCommiting>> m_items;
};
