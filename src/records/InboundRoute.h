#pragma once
// What happens to a call from outside for one number: an ordered chain of
// steps, each tried for a number of seconds. Kept as <Name>.ibr (steps as
// <StepName>.ird) and written as one extension of the public dialplan.
#include "core/IniFile.h"
#include "records/InboundRouteDestList.h"

#include <QStringList>

class TInboundRoute {
public:
    TInboundRoute() = default;
    TInboundRoute(const TInboundRoute&) = delete;
    TInboundRoute& operator=(const TInboundRoute&) = delete;

    // The values a route added by the administrator starts with.
    void Reset();
    // Copies every field but XMLText; the steps are copied as they are.
    void Assign(const TInboundRoute& source);

    void LoadFromIni(const TIniFile& ini);
    void SaveToIni(TIniFile& ini) const;
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;
    // Fills XMLText with the public dialplan extension (steps in the order of
    // Destinations) and writes it.
    void GenerateXML(const QString& fileName);

    int Id = -1;
    int NodeKey = 0;
    bool Modified = true;
    int CallTimeout = 20; // kept in the record file only
    QString Context = QStringLiteral("Default"); // context that extension steps transfer into
    QString Name;
    // Name of the record file the route was read from (or last written to); a
    // save under another name removes the files of this one.
    QString FileName;
    QString DestinationNumber; // the called number, a regular-expression fragment
    QString Domain = QStringLiteral("$${domain}");
    QString Transfer;        // kept in the record file only
    int DestinationType = 0; // kept in the record file only
    TKXInboundRouteDestList Destinations;
    QStringList XMLText;
};
