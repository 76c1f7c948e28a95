#pragma once
// A trunk: a SIP gateway to a telephone service provider, made from one of the
// provider templates. Stored as <Name>.trk and written as the gateway file
// <Name>.xml, both in sip_profiles/external/.
#include "core/IniFile.h"

#include <QList>
#include <QString>
#include <QStringList>

class TGateway {
public:
    TGateway();

    // Template numbers (GatewayType).
    enum {
        gtBandwidth = 0,
        gtFlowRoute = 1,
        gtGradwell = 2,
        gtPennyTel = 3,
        gtSipgateDE = 4,
        gtVoipTalk = 5,
        gtVitelity = 6,
        gtNone = 7,
        gtVoIPUnlimited = 8,
    };

    // Stores the number in GatewayType, then overwrites the fields the
    // template names. Numbers without a template change nothing else.
    void ApplyTemplate(int gatewayType);

    // The templates offered when a trunk is added, in the order they are
    // listed, and the label of each. The provider chooser spells template 8
    // without the blank (chooserSpelling).
    static QList<int> OfferedTemplates();
    static QString TemplateLabel(int gatewayType, bool chooserSpelling = false);

    void LoadFromIni(const TIniFile& ini);
    void SaveToIni(TIniFile& ini) const;
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;

    // Fills XMLText with the gateway file and writes it to fileName.
    void GenerateXML(const QString& fileName);

    // Copies every field except XMLText.
    void CopyFieldsFrom(const TGateway& source);

    qint32 Id;
    qint32 NodeKey;
    bool Modified;
    QString Name;
    QString AuthUsername;
    QString UserName;
    QString Realm;
    QString FromUser;
    QString FromDomain;
    QString Password;
    QString Extension;
    QString Proxy;
    QString OutboundProxy;
    QString RegisterProxy;
    qint32 ExpireSeconds;
    bool RegisterWithGateway;
    qint32 RetrySeconds;
    qint32 Ping;
    QString Context;
    bool CallerIdInFrom;
    QStringList XMLText;
    qint32 GatewayType;
};
