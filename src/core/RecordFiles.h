#pragma once
// Removing the local files of deleted or renamed records, and the pending
// deletes that carry the removal to the server.
#include "sync/filesneedingcommitinglist.h"

#include <QSet>
#include <QStringList>
#include <vector>

namespace RecordFiles {

// Deletes each named file of the local folder that exists, in the order given,
// and returns one pending delete per name for the server folder: empty local
// folder, bare file name, action delete. A file that cannot be deleted stops
// with "Unable to delete file ..."; the deletes of the files removed before it
// are then entered into onFailure first, so the server loses them too.
std::vector<TFileNeedingCommiting> DeleteFiles(const QString& localFolder, const QStringList& fileNames,
                                               const QString& serverFolder,
                                               TFilesNeedingCommitingList& onFailure);

// The files a record had under its old name, after a save wrote it under a new
// one. Names that this save has just written (written, exact names) are left
// alone, so two records that swap names keep both new files; a local file that
// is the very file just written under a name differing only in letter case (a
// case-insensitive disk) is not deleted locally. Returns the pending deletes of
// the old names that were not written.
std::vector<TFileNeedingCommiting> RetireOldFiles(const QString& localFolder, const QStringList& oldFileNames,
                                                  const QSet<QString>& written, const QString& serverFolder);

} // namespace RecordFiles
