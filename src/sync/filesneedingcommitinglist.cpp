#include "sync/filesneedingcommitinglist.h"
#include "core/IniFile.h"
#include "core/KxError.h"
#include "core/Store.h"

#include <QDir>
#include <QFile>
#include <algorithm>

namespace {
const QString G = QStringLiteral("General");
}

void TFilesNeedingCommitingList::Add(TFileNeedingCommiting* entry)
{
    std::unique_ptr<TFileNeedingCommiting> owned(entry);
    if (!m_indexValid) rebuildIndex();
    const QString key = keyOf(*owned);
    const auto it = m_index.constFind(key);
    if (it != m_index.constEnd()) {
        auto& item = m_items[size_t(*it)];
        if (item->SrcFile == owned->SrcFile && item->DestFolder == owned->DestFolder) {
            item = std::move(owned);
            return;
        }
        // An entry was renamed in place: find by scanning, as before.
        rebuildIndex();
        for (auto& other : m_items) {
            if (other->SrcFile == owned->SrcFile && other->DestFolder == owned->DestFolder) {
                other = std::move(owned);
                return;
            }
        }
    }
    m_index.insert(key, int(m_items.size()));
    m_items.push_back(std::move(owned));
}

void TFilesNeedingCommitingList::rebuildIndex()
{
    m_index.clear();
    // The first entry of an identity wins, as the scan from the first did.
    for (int i = int(m_items.size()) - 1; i >= 0; --i) m_index.insert(keyOf(*m_items[size_t(i)]), i);
    m_indexValid = true;
}

void TFilesNeedingCommitingList::SaveToFolder(const QString& folder) const
{
    Store::EnsureDir(folder);
    const QString f = Store::WithTrailingDelimiter(folder);
    for (int n = 1; n <= Count(); ++n) {
        const TFileNeedingCommiting* e = Items(n - 1);
        TIniFile ini(f + QString::number(n) + QStringLiteral(".fnc"));
        ini.WriteInteger(G, QStringLiteral("ActionType"), e->ActionType);
        ini.WriteString(G, QStringLiteral("SrcFile"), e->SrcFile);
        ini.WriteString(G, QStringLiteral("SrcFolder"), e->SrcFolder);
        ini.WriteString(G, QStringLiteral("DestFolder"), e->DestFolder);
        ini.UpdateFile();
    }
}

void TFilesNeedingCommitingList::LoadFromFolder(const QString& folder)
{
    Store::EnsureDir(folder);
    const QString f = Store::WithTrailingDelimiter(folder);
    QStringList names = QDir(f).entryList({QStringLiteral("*.fnc")}, QDir::Files, QDir::Unsorted);
    // n.fnc was written n-th; names that are not numbers come last, by name.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        bool okA = false, okB = false;
        const qlonglong na = a.chopped(4).toLongLong(&okA);
        const qlonglong nb = b.chopped(4).toLongLong(&okB);
        if (okA != okB) return okA;
        if (okA && na != nb) return na < nb;
        return a < b;
    });
    for (const QString& name : names) {
        const TIniFile ini(f + name);
        auto* e = new TFileNeedingCommiting;
        e->ActionType = ini.ReadInteger(G, QStringLiteral("ActionType"), 2);
        e->SrcFile = ini.ReadString(G, QStringLiteral("SrcFile"), QString());
        e->SrcFolder = ini.ReadString(G, QStringLiteral("SrcFolder"), QString());
        e->DestFolder = ini.ReadString(G, QStringLiteral("DestFolder"), QString());
        Add(e);
        QFile file(f + name);
        if (!file.remove())
            throw EKXError(QStringLiteral("Unable to delete the file \"") + f + name + QStringLiteral("\" ")
                           + file.errorString());
    }
}
