#pragma once
// Pending changes as one line of text each, so a test compares a whole list at once.
#include "sync/filesneedingcommitinglist.h"

#include <QStringList>
#include <vector>

namespace KxTest {

inline QString ActionWord(qint32 action)
{
    return action == fnaaPut ? QStringLiteral("put") : QStringLiteral("del");
}

// "put <local folder or -> <file> <server folder>"
inline QString EntryLine(const TFileNeedingCommiting& e)
{
    return QStringLiteral("%1 %2 %3 %4")
        .arg(ActionWord(e.ActionType), e.SrcFolder.isEmpty() ? QStringLiteral("-") : e.SrcFolder, e.SrcFile,
             e.DestFolder);
}

inline QStringList EntryLines(const std::vector<TFileNeedingCommiting>& entries)
{
    QStringList out;
    for (const auto& e : entries) out << EntryLine(e);
    return out;
}

inline QStringList PendingLines(const TFilesNeedingCommitingList& list)
{
    QStringList out;
    for (int i = 0; i < list.Count(); ++i) out << EntryLine(*list.Items(i));
    return out;
}

// "put <server folder><file>": what reaches which server path.
inline QStringList PendingTargets(const TFilesNeedingCommitingList& list)
{
    QStringList out;
    for (int i = 0; i < list.Count(); ++i)
        out << ActionWord(list.Items(i)->ActionType) + u' ' + list.Items(i)->DestFolder + list.Items(i)->SrcFile;
    return out;
}

} // namespace KxTest
