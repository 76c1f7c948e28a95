#pragma once
// Owning record lists and the load-all loop that every record kind shares.
#include "core/IniFile.h"
#include "core/KxError.h"
#include "core/Store.h"

#include <QStringList>
#include <algorithm>
#include <concepts>
#include <memory>
#include <vector>

// A record file that could not be read; loading goes on without it.
struct TLoadProblem {
    QString Path;
    QString Reason;
    QString Text() const { return Path + QStringLiteral(": ") + Reason; }
};

template <class T>
class TRecordList {
public:
    int Count() const { return int(m_items.size()); }
    T* Items(int index) const { return m_items.at(size_t(index)).get(); }
    void Add(T* record) { m_items.emplace_back(record); } // takes ownership
    void Delete(int index) { m_items.erase(m_items.begin() + index); }
    void Clear() { m_items.clear(); }
    int IndexOfId(int id) const
    {
        for (int i = 0; i < Count(); ++i)
            if (Items(i)->Id == id) return i;
        return -1;
    }
    T* FindById(int id) const
    {
        const int i = IndexOfId(id);
        return i < 0 ? nullptr : Items(i);
    }
    int MaxId() const
    {
        int m = 0;
        for (const auto& r : m_items) m = std::max(m, r->Id);
        return m;
    }
    // Orders the records by less(a, b), keeping equal records in their order.
    template <class Less>
    void StableSort(Less less)
    {
        std::stable_sort(m_items.begin(), m_items.end(),
                         [&](const std::unique_ptr<T>& a, const std::unique_ptr<T>& b) { return less(*a, *b); });
    }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<std::unique_ptr<T>> m_items;
};

namespace Store {

// Why a record file cannot be read as a record, or an empty text when it can:
// it needs a [General] section holding a decimal Id.
QString RecordFileProblem(const TIniFile& ini);

// A record class whose files may lack an Id (or hold one the load fixes up)
// declares its own static RecordFileProblem; the others use the rule above.
template <class T>
QString RecordFileProblemOf(const TIniFile& ini)
{
    if constexpr (requires { { T::RecordFileProblem(ini) } -> std::convertible_to<QString>; })
        return T::RecordFileProblem(ini);
    else
        return RecordFileProblem(ini);
}

// Clears the list and reads every *<ext> file of the folder into it (in the
// order ListRecordFiles gives), giving each record its node key. A file that
// cannot be read is skipped and reported in problems; the rest still load.
template <class T, class List>
void LoadRecordFolder(List& list, const QString& folder, const QString& ext, int section,
                      std::vector<TLoadProblem>& problems)
{
    list.Clear();
    for (const QString& path : ListRecordFiles(folder, ext)) {
        const TIniFile ini(path);
        const QString problem = RecordFileProblemOf<T>(ini);
        if (!problem.isEmpty()) {
            problems.push_back({path, problem});
            continue;
        }
        auto record = std::make_unique<T>();
        try {
            record->LoadFromIni(ini);
        } catch (const EKXError& e) {
            problems.push_back({path, e.Message});
            continue;
        }
        record->NodeKey = MakeNodeKey(section, record->Id);
        list.Add(record.release());
    }
}

} // namespace Store
