#pragma once
// A way out: a number that begins with the outside-line prefix and whose rest
// matches the digit expression is bridged through a trunk. Kept as <Name>.obr
// in the domain's dialplan folder and written beside it as a dialplan extension.
#include "core/IniFile.h"

#include <QStringList>

class TOutboundRoute {
public:
    TOutboundRoute() = default;

    void LoadFromIni(const TIniFile& ini);
    void SaveToIni(TIniFile& ini) const;
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;
    // Fills XMLText with the dialplan extension and writes it.
    void GenerateXML(const QString& fileName);

    int Id = 0;
    int NodeKey = 0;
    QString DigitExpression = QStringLiteral("[0-9]+");
    QString DigitForOutsideLine;
    QString EffectiveCallerIDNumber; // presented for trunks of template 2
    // Name of the record file the route was read from (or last written to);
    // a save under another name removes the files of this one.
    QString FileName;
    int GatewayType = 0; // template number of the chosen trunk
    bool Modified = true;
    QString Name = QStringLiteral("My Outbound Route");
    QString Trunk; // name of the trunk (gateway) to dial out through
    QStringList XMLText;
};
