#pragma once
// Owned by the database interface; it holds an empty line list. No voicemail
// configuration is written: the dialplans use the engine's voicemail profile
// "default" as the server provides it.
#include <QStringList>

class TVoicemailConf {
public:
    TVoicemailConf() = default;
    QStringList XMLText;
};
