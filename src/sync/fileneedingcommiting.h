#pragma once
#include <QString>

enum TFileNeedingCommitingAction { fnaaPut = 0, fnaaDelete = 1 };

// One file waiting to be uploaded to, or deleted from, the server.
class TFileNeedingCommiting {
public:
    TFileNeedingCommiting() = default;
    TFileNeedingCommiting(QString srcFolder, QString srcFile, QString destFolder, qint32 actionType)
        : SrcFile(std::move(srcFile)), SrcFolder(std::move(srcFolder)),
          DestFolder(std::move(destFolder)), ActionType(actionType) {}

    QString SrcFile;    // bare file name
    QString SrcFolder;  // local folder with a trailing delimiter; empty for deletions
    QString DestFolder; // server folder ending in "/"
    qint32 ActionType = fnaaPut;
};
