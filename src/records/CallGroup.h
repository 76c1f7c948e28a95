#pragma once
// A named set of users rung together. Kept as <Name>.cgp in the domain's
// directory folder and written beside the users as a directory group file.
#include "core/IniFile.h"

#include <QStringList>

class TKXCallGroup {
public:
    TKXCallGroup() = default;

    // Name back to "My CallGroup", no members.
    void Reset();

    void LoadFromIni(const TIniFile& ini);
    void SaveToIni(TIniFile& ini) const;
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;
    // Fills XMLText with the directory group file and writes it.
    void GenerateXML(const QString& fileName);

    // Members as the record file stores them: each member followed by CR LF,
    // as upper-case hexadecimal, two digits per byte ("" without members).
    static QString EncodeMembers(const QStringList& members);
    // The members of an encoded text; throws EKXError when it is not hexadecimal.
    static QStringList DecodeMembers(const QString& hex);

    int Id = 0;
    int NodeKey = 0;
    bool Modified = true;
    QString Name = QStringLiteral("My CallGroup");
    QStringList Members; // extension numbers in decimal, in the order added
    QStringList XMLText;
    // Base name of the files this group has in the working directory (set when
    // it is read or written; empty for a group never written). Not stored.
    // A save under another name removes the files of this one.
    QString SavedName;
};
