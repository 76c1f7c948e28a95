// globals: the engine-wide settings (the global variables, the two SIP
// profiles and the default dialplan context), shown and set by field name and
// written as the window's Save writes them.
#include "cli/CliRecords.h"
#include "core/DBInterface.h"
#include "engine/DialplanDomainXML.h"
#include "engine/SIPExternalXML.h"
#include "engine/SIPInternalXML.h"
#include "engine/kxVarsXML.h"

#include <QMap>

namespace {

template <class T>
const TCliFields<T>& globalFields();

// The fields of each object, in the order of its declaration.
template <>
const TCliFields<TKesFSVarsXML>& globalFields<TKesFSVarsXML>()
{
    static const TCliFields<TKesFSVarsXML> fields = {
        {QStringLiteral("DefaultPassword"), &TKesFSVarsXML::DefaultPassword},
        {QStringLiteral("SoundPrefix"), &TKesFSVarsXML::SoundPrefix},
        {QStringLiteral("Domain"), &TKesFSVarsXML::Domain},
        {QStringLiteral("DomainName"), &TKesFSVarsXML::DomainName},
        {QStringLiteral("HoldMusic"), &TKesFSVarsXML::HoldMusic},
        {QStringLiteral("UseProfile"), &TKesFSVarsXML::UseProfile},
        {QStringLiteral("RTPSDESSuites"), &TKesFSVarsXML::RTPSDESSuites},
        {QStringLiteral("ZRTPSecureMedia"), &TKesFSVarsXML::ZRTPSecureMedia},
        {QStringLiteral("GlobalCodecPrefs"), &TKesFSVarsXML::GlobalCodecPrefs},
        {QStringLiteral("OutboundCodecPrefs"), &TKesFSVarsXML::OutboundCodecPrefs},
        {QStringLiteral("XMPPClientProfile"), &TKesFSVarsXML::XMPPClientProfile},
        {QStringLiteral("XMPPServerProfile"), &TKesFSVarsXML::XMPPServerProfile},
        {QStringLiteral("BindServer"), &TKesFSVarsXML::BindServer},
        {QStringLiteral("ExternalRTPIP"), &TKesFSVarsXML::ExternalRTPIP},
        {QStringLiteral("ExternalSIPIP"), &TKesFSVarsXML::ExternalSIPIP},
        {QStringLiteral("UnrollLoops"), &TKesFSVarsXML::UnrollLoops},
        {QStringLiteral("OutboundCallerName"), &TKesFSVarsXML::OutboundCallerName},
        {QStringLiteral("OutboundCallerID"), &TKesFSVarsXML::OutboundCallerID},
        {QStringLiteral("CallDebug"), &TKesFSVarsXML::CallDebug},
        {QStringLiteral("ConsoleLogLevel"), &TKesFSVarsXML::ConsoleLogLevel},
        {QStringLiteral("DefaultAreaCode"), &TKesFSVarsXML::DefaultAreaCode},
        {QStringLiteral("DefaultCountry"), &TKesFSVarsXML::DefaultCountry},
        {QStringLiteral("PresencePrivacy"), &TKesFSVarsXML::PresencePrivacy},
        {QStringLiteral("BERing"), &TKesFSVarsXML::BERing},
        {QStringLiteral("CARing"), &TKesFSVarsXML::CARing},
        {QStringLiteral("CNRing"), &TKesFSVarsXML::CNRing},
        {QStringLiteral("CYRing"), &TKesFSVarsXML::CYRing},
        {QStringLiteral("CZRing"), &TKesFSVarsXML::CZRing},
        {QStringLiteral("DERing"), &TKesFSVarsXML::DERing},
        {QStringLiteral("DKRing"), &TKesFSVarsXML::DKRing},
        {QStringLiteral("DZRing"), &TKesFSVarsXML::DZRing},
        {QStringLiteral("EGRing"), &TKesFSVarsXML::EGRing},
        {QStringLiteral("ESRing"), &TKesFSVarsXML::ESRing},
        {QStringLiteral("FIRing"), &TKesFSVarsXML::FIRing},
        {QStringLiteral("FRRing"), &TKesFSVarsXML::FRRing},
        {QStringLiteral("HKRing"), &TKesFSVarsXML::HKRing},
        {QStringLiteral("HURing"), &TKesFSVarsXML::HURing},
        {QStringLiteral("ILRing"), &TKesFSVarsXML::ILRing},
        {QStringLiteral("INRing"), &TKesFSVarsXML::INRing},
        {QStringLiteral("JPRing"), &TKesFSVarsXML::JPRing},
        {QStringLiteral("KORing"), &TKesFSVarsXML::KORing},
        {QStringLiteral("PKRing"), &TKesFSVarsXML::PKRing},
        {QStringLiteral("PLRing"), &TKesFSVarsXML::PLRing},
        {QStringLiteral("RORing"), &TKesFSVarsXML::RORing},
        {QStringLiteral("RSRing"), &TKesFSVarsXML::RSRing},
        {QStringLiteral("RURing"), &TKesFSVarsXML::RURing},
        {QStringLiteral("SARing"), &TKesFSVarsXML::SARing},
        {QStringLiteral("TRRing"), &TKesFSVarsXML::TRRing},
        {QStringLiteral("UKRing"), &TKesFSVarsXML::UKRing},
        {QStringLiteral("USRing"), &TKesFSVarsXML::USRing},
        {QStringLiteral("BongRing"), &TKesFSVarsXML::BongRing},
        {QStringLiteral("Beep"), &TKesFSVarsXML::Beep},
        {QStringLiteral("SIT"), &TKesFSVarsXML::SIT},
        {QStringLiteral("DefaultProvider"), &TKesFSVarsXML::DefaultProvider},
        {QStringLiteral("DefaultProviderUsername"), &TKesFSVarsXML::DefaultProviderUsername},
        {QStringLiteral("DefaultProviderPassword"), &TKesFSVarsXML::DefaultProviderPassword},
        {QStringLiteral("DefaultProviderFromDomain"), &TKesFSVarsXML::DefaultProviderFromDomain},
        {QStringLiteral("DefaultProviderRegister"), &TKesFSVarsXML::DefaultProviderRegister},
        {QStringLiteral("DefaultProviderContact"), &TKesFSVarsXML::DefaultProviderContact},
        {QStringLiteral("SIPTLSVersion"), &TKesFSVarsXML::SIPTLSVersion},
        {QStringLiteral("SIPTLSCiphers"), &TKesFSVarsXML::SIPTLSCiphers},
        {QStringLiteral("InternalAuthCalls"), &TKesFSVarsXML::InternalAuthCalls},
        {QStringLiteral("InternalSIPPort"), &TKesFSVarsXML::InternalSIPPort},
        {QStringLiteral("InternalTLSPort"), &TKesFSVarsXML::InternalTLSPort},
        {QStringLiteral("InternalSSLEnable"), &TKesFSVarsXML::InternalSSLEnable},
        {QStringLiteral("InternalSSLDir"), &TKesFSVarsXML::InternalSSLDir},
        {QStringLiteral("ExternalAuthCalls"), &TKesFSVarsXML::ExternalAuthCalls},
        {QStringLiteral("ExternalSIPPort"), &TKesFSVarsXML::ExternalSIPPort},
        {QStringLiteral("ExternalTLSPort"), &TKesFSVarsXML::ExternalTLSPort},
        {QStringLiteral("ExternalSSLEnable"), &TKesFSVarsXML::ExternalSSLEnable},
        {QStringLiteral("ExternalSSLDir"), &TKesFSVarsXML::ExternalSSLDir},
    };
    return fields;
}

template <>
const TCliFields<TSIPInternalXML>& globalFields<TSIPInternalXML>()
{
    static const TCliFields<TSIPInternalXML> fields = {
        {QStringLiteral("Context"), &TSIPInternalXML::Context},
        {QStringLiteral("rfc2833pt"), &TSIPInternalXML::rfc2833pt},
        {QStringLiteral("SIPPort"), &TSIPInternalXML::SIPPort},
        {QStringLiteral("DialPlan"), &TSIPInternalXML::DialPlan},
        {QStringLiteral("DTMFDuration"), &TSIPInternalXML::DTMFDuration},
        {QStringLiteral("InboundCodecPrefs"), &TSIPInternalXML::InboundCodecPrefs},
        {QStringLiteral("OutboundCodecPrefs"), &TSIPInternalXML::OutboundCodecPrefs},
        {QStringLiteral("LogAuthFailures"), &TSIPInternalXML::LogAuthFailures},
        {QStringLiteral("RTPTimerName"), &TSIPInternalXML::RTPTimerName},
        {QStringLiteral("RTPIP"), &TSIPInternalXML::RTPIP},
        {QStringLiteral("SIPIP"), &TSIPInternalXML::SIPIP},
        {QStringLiteral("HoldMusic"), &TSIPInternalXML::HoldMusic},
        {QStringLiteral("ApplyNatAcl"), &TSIPInternalXML::ApplyNatAcl},
        {QStringLiteral("ApplyInboundAcl"), &TSIPInternalXML::ApplyInboundAcl},
        {QStringLiteral("LocalNetworkAcl"), &TSIPInternalXML::LocalNetworkAcl},
        {QStringLiteral("RecordPath"), &TSIPInternalXML::RecordPath},
        {QStringLiteral("RecordTemplate"), &TSIPInternalXML::RecordTemplate},
        {QStringLiteral("ManagePresence"), &TSIPInternalXML::ManagePresence},
        {QStringLiteral("PresenceHosts"), &TSIPInternalXML::PresenceHosts},
        {QStringLiteral("PresencePrivacy"), &TSIPInternalXML::PresencePrivacy},
        {QStringLiteral("InboundCodecNegotiation"), &TSIPInternalXML::InboundCodecNegotiation},
        {QStringLiteral("TLS"), &TSIPInternalXML::TLS},
        {QStringLiteral("TLSOnly"), &TSIPInternalXML::TLSOnly},
        {QStringLiteral("TLSBindParams"), &TSIPInternalXML::TLSBindParams},
        {QStringLiteral("TLSSIPPort"), &TSIPInternalXML::TLSSIPPort},
        {QStringLiteral("TLSCertDir"), &TSIPInternalXML::TLSCertDir},
        {QStringLiteral("TLSPassphrase"), &TSIPInternalXML::TLSPassphrase},
        {QStringLiteral("TLSVerifyDate"), &TSIPInternalXML::TLSVerifyDate},
        {QStringLiteral("TLSVerifyPolicy"), &TSIPInternalXML::TLSVerifyPolicy},
        {QStringLiteral("TLSVerifyDepth"), &TSIPInternalXML::TLSVerifyDepth},
        {QStringLiteral("TLSVerifyInSubjects"), &TSIPInternalXML::TLSVerifyInSubjects},
        {QStringLiteral("TLSVersion"), &TSIPInternalXML::TLSVersion},
        {QStringLiteral("TLSCiphers"), &TSIPInternalXML::TLSCiphers},
        {QStringLiteral("InboundLateNegotiation"), &TSIPInternalXML::InboundLateNegotiation},
        {QStringLiteral("InboundZRTPPassthru"), &TSIPInternalXML::InboundZRTPPassthru},
        {QStringLiteral("NonceTTL"), &TSIPInternalXML::NonceTTL},
        {QStringLiteral("AuthCalls"), &TSIPInternalXML::AuthCalls},
        {QStringLiteral("InboundRegForceMatchingUsername"), &TSIPInternalXML::InboundRegForceMatchingUsername},
        {QStringLiteral("AuthAllPackets"), &TSIPInternalXML::AuthAllPackets},
        {QStringLiteral("ExtRTPIP"), &TSIPInternalXML::ExtRTPIP},
        {QStringLiteral("ExtSIPIP"), &TSIPInternalXML::ExtSIPIP},
        {QStringLiteral("RTPTimeoutSec"), &TSIPInternalXML::RTPTimeoutSec},
        {QStringLiteral("RTPHoldTimeoutSec"), &TSIPInternalXML::RTPHoldTimeoutSec},
        {QStringLiteral("ForceRegisterDomain"), &TSIPInternalXML::ForceRegisterDomain},
        {QStringLiteral("ForceSubscriptionDomain"), &TSIPInternalXML::ForceSubscriptionDomain},
        {QStringLiteral("ForceRegisterDbDomain"), &TSIPInternalXML::ForceRegisterDbDomain},
        {QStringLiteral("ChallengeRealm"), &TSIPInternalXML::ChallengeRealm},
    };
    return fields;
}

template <>
const TCliFields<TSIPExternalXML>& globalFields<TSIPExternalXML>()
{
    static const TCliFields<TSIPExternalXML> fields = {
        {QStringLiteral("AuthCalls"), &TSIPExternalXML::AuthCalls},
        {QStringLiteral("Context"), &TSIPExternalXML::Context},
        {QStringLiteral("DialPlan"), &TSIPExternalXML::DialPlan},
        {QStringLiteral("DTMFDuration"), &TSIPExternalXML::DTMFDuration},
        {QStringLiteral("ExtRTPIP"), &TSIPExternalXML::ExtRTPIP},
        {QStringLiteral("ExtSIPIP"), &TSIPExternalXML::ExtSIPIP},
        {QStringLiteral("InboundCodecPrefs"), &TSIPExternalXML::InboundCodecPrefs},
        {QStringLiteral("HoldMusic"), &TSIPExternalXML::HoldMusic},
        {QStringLiteral("InboundCodecNegotiation"), &TSIPExternalXML::InboundCodecNegotiation},
        {QStringLiteral("InboundLateNegotiation"), &TSIPExternalXML::InboundLateNegotiation},
        {QStringLiteral("InboundZRTPPassthru"), &TSIPExternalXML::InboundZRTPPassthru},
        {QStringLiteral("LocalNetworkAcl"), &TSIPExternalXML::LocalNetworkAcl},
        {QStringLiteral("ManagePresence"), &TSIPExternalXML::ManagePresence},
        {QStringLiteral("NonceTTL"), &TSIPExternalXML::NonceTTL},
        {QStringLiteral("OutboundCodecPrefs"), &TSIPExternalXML::OutboundCodecPrefs},
        {QStringLiteral("rfc2833pt"), &TSIPExternalXML::rfc2833pt},
        {QStringLiteral("RTPHoldTimeoutSec"), &TSIPExternalXML::RTPHoldTimeoutSec},
        {QStringLiteral("RTPIP"), &TSIPExternalXML::RTPIP},
        {QStringLiteral("RTPTimerName"), &TSIPExternalXML::RTPTimerName},
        {QStringLiteral("RTPTimeoutSec"), &TSIPExternalXML::RTPTimeoutSec},
        {QStringLiteral("SIPCapture"), &TSIPExternalXML::SIPCapture},
        {QStringLiteral("SIPPort"), &TSIPExternalXML::SIPPort},
        {QStringLiteral("SIPTrace"), &TSIPExternalXML::SIPTrace},
        {QStringLiteral("SIPIP"), &TSIPExternalXML::SIPIP},
        {QStringLiteral("TLS"), &TSIPExternalXML::TLS},
        {QStringLiteral("TLSOnly"), &TSIPExternalXML::TLSOnly},
        {QStringLiteral("TLSBindParams"), &TSIPExternalXML::TLSBindParams},
        {QStringLiteral("TLSSIPPort"), &TSIPExternalXML::TLSSIPPort},
        {QStringLiteral("TLSCertDir"), &TSIPExternalXML::TLSCertDir},
        {QStringLiteral("TLSPassphrase"), &TSIPExternalXML::TLSPassphrase},
        {QStringLiteral("TLSVerifyDate"), &TSIPExternalXML::TLSVerifyDate},
        {QStringLiteral("TLSVerifyPolicy"), &TSIPExternalXML::TLSVerifyPolicy},
        {QStringLiteral("TLSVerifyDepth"), &TSIPExternalXML::TLSVerifyDepth},
        {QStringLiteral("TLSVerifyInSubjects"), &TSIPExternalXML::TLSVerifyInSubjects},
        {QStringLiteral("TLSVersion"), &TSIPExternalXML::TLSVersion},
    };
    return fields;
}

template <>
const TCliFields<TDialplanDomainXML>& globalFields<TDialplanDomainXML>()
{
    static const TCliFields<TDialplanDomainXML> fields = {
        {QStringLiteral("Domain"), &TDialplanDomainXML::Domain, TFieldAccess::ReadOnly, QStringLiteral("the domain")},
        {QStringLiteral("ContextName"), &TDialplanDomainXML::ContextName, TFieldAccess::ReadOnly, QStringLiteral("the domain")},
        {QStringLiteral("CallGroupOrder"), &TDialplanDomainXML::CallGroupOrder},
        {QStringLiteral("CallGroupSimo"), &TDialplanDomainXML::CallGroupSimo},
        {QStringLiteral("CallPrivacy"), &TDialplanDomainXML::CallPrivacy},
        {QStringLiteral("CallReturn"), &TDialplanDomainXML::CallReturn},
        {QStringLiteral("CallTimeout"), &TDialplanDomainXML::CallTimeout},
        {QStringLiteral("AddGroup"), &TDialplanDomainXML::AddGroup},
        {QStringLiteral("DelGroup"), &TDialplanDomainXML::DelGroup},
        {QStringLiteral("Echo"), &TDialplanDomainXML::Echo},
        {QStringLiteral("GroupIntercept"), &TDialplanDomainXML::GroupIntercept},
        {QStringLiteral("LocalExtension"), &TDialplanDomainXML::LocalExtension},
        {QStringLiteral("Redial"), &TDialplanDomainXML::Redial},
        {QStringLiteral("SendToVoicemail"), &TDialplanDomainXML::SendToVoicemail},
        {QStringLiteral("VMain1"), &TDialplanDomainXML::VMain1},
        {QStringLiteral("VMain2"), &TDialplanDomainXML::VMain2},
    };
    return fields;
}

// One of the four objects: its name on the command line and how to reach it.
struct TSection {
    QString Key;
    QString Description;
    std::function<QJsonObject(const TDBInterface&)> Json;
    std::function<QList<QPair<QString, QString>>(const TDBInterface&)> Pairs;
    std::function<QStringList()> Names;
    // Sets a field from its text; an error message, or empty.
    std::function<QString(TDBInterface&, const QString&, const QString&)> Set;
};

template <class T>
TSection section(QString key, QString description, std::function<T&(const TDBInterface&)> object)
{
    TSection s;
    s.Key = std::move(key);
    s.Description = std::move(description);
    s.Json = [object](const TDBInterface& db) { return CliFields::ToJson(globalFields<T>(), object(db)); };
    s.Pairs = [object](const TDBInterface& db) { return CliFields::ToPairs(globalFields<T>(), object(db)); };
    s.Names = [] { return CliFields::Names(globalFields<T>()); };
    s.Set = [object](TDBInterface& db, const QString& name, const QString& value) {
        const TCliField<T>* f = CliFields::Find(globalFields<T>(), name);
        // The settings pages store what is typed into a text field trimmed.
        const bool text = std::holds_alternative<QString T::*>(f->Member);
        return CliFields::SetText(*f, object(db), text ? value.trimmed() : value);
    };
    return s;
}

const std::vector<TSection>& sections()
{
    static const std::vector<TSection> list = {
        section<TKesFSVarsXML>(QStringLiteral("vars"), QStringLiteral("the global variables (vars.xml)"),
                               [](const TDBInterface& db) -> TKesFSVarsXML& { return *db.VarsXML; }),
        section<TSIPInternalXML>(QStringLiteral("internal"), QStringLiteral("the internal SIP profile (internal.xml)"),
                                 [](const TDBInterface& db) -> TSIPInternalXML& { return *db.SIPInternal; }),
        section<TSIPExternalXML>(QStringLiteral("external"), QStringLiteral("the external SIP profile (external.xml)"),
                                 [](const TDBInterface& db) -> TSIPExternalXML& { return *db.SIPExternal; }),
        section<TDialplanDomainXML>(QStringLiteral("dialplan"),
                                    QStringLiteral("the default dialplan context (dialplan/<domain>.xml)"),
                                    [](const TDBInterface& db) -> TDialplanDomainXML& { return *db.DialplanDomainXML; }),
    };
    return list;
}

const TSection* findSection(const QString& key)
{
    for (const TSection& s : sections())
        if (s.Key.compare(key, Qt::CaseInsensitive) == 0) return &s;
    return nullptr;
}

QString sectionKeys()
{
    QStringList keys;
    for (const TSection& s : sections()) keys << s.Key;
    return keys.join(QStringLiteral(", "));
}

// "internal.SIPPort", or "DefaultPassword" when only one object has it.
QPair<const TSection*, QString> resolve(const QString& qualified)
{
    const qsizetype dot = qualified.indexOf(u'.');
    if (dot > 0) {
        const TSection* s = findSection(qualified.left(dot));
        if (!s) throw ECliUsage(QStringLiteral("\"%1\" is not one of %2.").arg(qualified.left(dot), sectionKeys()));
        const QString name = qualified.mid(dot + 1);
        for (const QString& n : s->Names())
            if (n.compare(name, Qt::CaseInsensitive) == 0) return {s, n};
        throw ECliUsage(QStringLiteral("%1 has no field \"%2\"; its fields are: %3.")
                            .arg(s->Key, name, s->Names().join(QStringLiteral(", "))));
    }
    QList<QPair<const TSection*, QString>> found;
    for (const TSection& s : sections())
        for (const QString& n : s.Names())
            if (n.compare(qualified, Qt::CaseInsensitive) == 0) found.append({&s, n});
    if (found.isEmpty())
        throw ECliUsage(QStringLiteral("No global setting is named \"%1\" (see kestrix-cli globals show).").arg(qualified));
    if (found.size() > 1) {
        QStringList where;
        for (const auto& f : found) where << f.first->Key + u'.' + f.second;
        throw ECliUsage(QStringLiteral("%1 is a field of more than one object: write %2.")
                            .arg(qualified, where.join(QStringLiteral(" or "))));
    }
    return found.first();
}

void runShow(TCliContext& ctx)
{
    const TDBInterface& db = ctx.Db();
    const QStringList args = ctx.Positional();
    if (!args.isEmpty() && args.first().contains(u'.')) {
        const auto [s, name] = resolve(args.first());
        for (const auto& p : s->Pairs(db))
            if (p.first == name) {
                if (ctx.Json()) CliOut::PrintJson(QJsonObject{{name, s->Json(db).value(name)}});
                else CliOut::Print(p.second);
            }
        return;
    }
    std::vector<const TSection*> shown;
    if (args.isEmpty())
        for (const TSection& s : sections()) shown.push_back(&s);
    else if (const TSection* s = findSection(args.first()))
        shown.push_back(s);
    else {
        // A field name alone.
        const auto [field, name] = resolve(args.first());
        const QJsonValue v = field->Json(db).value(name);
        if (ctx.Json()) CliOut::PrintJson(QJsonObject{{name, v}});
        else
            for (const auto& p : field->Pairs(db))
                if (p.first == name) CliOut::Print(p.second);
        return;
    }
    if (ctx.Json()) {
        QJsonObject o;
        for (const TSection* s : shown) o.insert(s->Key, s->Json(db));
        CliOut::PrintJson(shown.size() == 1 ? QJsonValue(o.value(shown.front()->Key)) : QJsonValue(o));
        return;
    }
    bool first = true;
    for (const TSection* s : shown) {
        if (!first) CliOut::Print(QString());
        first = false;
        CliOut::Print(QStringLiteral("[%1] %2").arg(s->Key, s->Description));
        CliOut::PrintFields(s->Pairs(db));
    }
}

void runSet(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    // Every assignment is checked before anything is written.
    QStringList changed;
    for (const QString& a : ctx.Positional()) {
        const auto [qualified, value] = CliFields::SplitAssignment(a);
        const auto [s, name] = resolve(qualified);
        const QString error = s->Set(db, name, value);
        if (!error.isEmpty()) throw ECliUsage(error);
        changed << s->Key + u'.' + name;
    }
    db.SaveGlobals();
    if (!TDBInterface::IsPasswordSecure(db.VarsXML->DefaultPassword))
        CliOut::Warn(QStringLiteral("warning: the engine's default password is not secure; set vars.DefaultPassword to one "
                                    "with a lower-case letter, an upper-case letter and a digit."));
    if (ctx.Json()) {
        QJsonObject o;
        for (const QString& c : changed) {
            const auto [s, name] = resolve(c);
            o.insert(c, s->Json(db).value(name));
        }
        CliOut::PrintJson(o);
    } else {
        CliOut::Print(QStringLiteral("Saved the global settings (%1).").arg(changed.join(QStringLiteral(", "))));
    }
}

} // namespace

void Cli::RegisterGlobalsCommands(TCliApp& app)
{
    using CliRecords::Command;
    QString objects = QStringLiteral("Objects:\n");
    for (const TSection& s : sections()) objects += QStringLiteral("  %1  %2\n").arg(s.Key.leftJustified(8), s.Description);
    app.Add(Command(QStringLiteral("globals"), QStringLiteral("show"), QStringLiteral("[OBJECT | OBJECT.FIELD]"), 0, 1,
                    QStringLiteral("Show the global settings, of one object or one field."), objects, runShow));
    app.Add(Command(QStringLiteral("globals"), QStringLiteral("set"), QStringLiteral("[OBJECT.]FIELD=VALUE ..."), 1, -1,
                    QStringLiteral("Set global settings by field name and write them as the window's Save does."),
                    QStringLiteral("Writes vars.vrs and vars.xml, the dialplan context, the directory domain and the two SIP\n"
                                   "profiles (record file and generated file each) and enters the ten files as pending "
                                   "uploads.\nA field that more than one object has is named with its object "
                                   "(internal.SIPPort).\nExample: kestrix-cli globals set DefaultPassword=Xy7secret "
                                   "internal.SIPPort=5070\n\n")
                        + objects,
                    runSet));
}
