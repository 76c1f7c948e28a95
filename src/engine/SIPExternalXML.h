#pragma once
// The external SIP profile, the listener that faces the telephone service
// providers and carries the trunks: its settings, their record file
// external.sex and the profile file external.xml, which includes every
// gateway file of the folder external beside it.
#include <QString>
#include <QStringList>

class TSIPExternalXML {
public:
    TSIPExternalXML();

    bool AuthCalls;
    QString Context;
    QString DialPlan;
    int DTMFDuration;
    QString ExtRTPIP;
    QString ExtSIPIP;
    QString InboundCodecPrefs;
    QString HoldMusic;
    QString InboundCodecNegotiation;
    bool InboundLateNegotiation;
    bool InboundZRTPPassthru;
    QString LocalNetworkAcl;
    bool ManagePresence;
    int NonceTTL;
    QString OutboundCodecPrefs;
    int rfc2833pt;
    int RTPHoldTimeoutSec;
    QString RTPIP;
    QString RTPTimerName;
    int RTPTimeoutSec;
    QString SIPCapture;
    QString SIPPort;
    QString SIPTrace;
    QString SIPIP;
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

    QStringList XMLText; // the last generated file

    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;
    void GenerateXML(const QString& fileName);

    static QString BoolToText(bool value);
};
