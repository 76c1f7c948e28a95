#pragma once
// The internal SIP profile, the listener the office phones register with:
// its settings, their record file internal.six and the profile file
// internal.xml. Most settings default to references to global variables
// ($${name}) so that vars.xml decides unless a setting is overridden here.
#include <QString>
#include <QStringList>

class TSIPInternalXML {
public:
    TSIPInternalXML();

    QString Context;
    int rfc2833pt;
    QString SIPPort;
    QString DialPlan;
    int DTMFDuration;
    QString InboundCodecPrefs;
    QString OutboundCodecPrefs;
    bool LogAuthFailures;
    QString RTPTimerName;
    QString RTPIP;
    QString SIPIP;
    QString HoldMusic;
    QString ApplyNatAcl;
    QString ApplyInboundAcl;
    QString LocalNetworkAcl;
    QString RecordPath;
    QString RecordTemplate;
    bool ManagePresence;
    QString PresenceHosts;
    QString PresencePrivacy;
    QString InboundCodecNegotiation;
    QString TLS; // text, usually a reference to a Boolean global variable
    bool TLSOnly;
    QString TLSBindParams;
    QString TLSSIPPort;
    QString TLSCertDir;
    QString TLSPassphrase;
    bool TLSVerifyDate;
    QString TLSVerifyPolicy;
    int TLSVerifyDepth;
    QString TLSVerifyInSubjects;
    QString TLSVersion;
    QString TLSCiphers;
    bool InboundLateNegotiation;
    bool InboundZRTPPassthru;
    int NonceTTL;
    QString AuthCalls; // text, usually a reference to a Boolean global variable
    bool InboundRegForceMatchingUsername;
    bool AuthAllPackets;
    QString ExtRTPIP;
    QString ExtSIPIP;
    int RTPTimeoutSec;
    int RTPHoldTimeoutSec;
    QString ForceRegisterDomain;
    QString ForceSubscriptionDomain;
    QString ForceRegisterDbDomain;
    QString ChallengeRealm;

    QStringList XMLText; // the last generated file

    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;
    void GenerateXML(const QString& fileName);

    static QString BoolToText(bool value);
};
