#include "records/Gateway.h"
#include "core/Store.h"

namespace {
const QString G = QStringLiteral("General");

QString boolText(bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); }

// Provider host names and domains used by the templates.
const QString BandwidthDomain = QStringLiteral("bandwidth.com");
const QString FlowRouteHost = QStringLiteral("sip.flowroute.com");
const QString GradwellHost = QStringLiteral("sip.gradwell.com");
const QString PennyTelHost = QStringLiteral("sip.pennytel.com");
const QString SipgateDomain = QStringLiteral("sipgate.de");
const QString VoipTalkDomain = QStringLiteral("voiptalk.org");
const QString VitelityInboundPattern = QStringLiteral("inboundYOURNUMBER.vitelity.net");
const QString VitelityOutboundHost = QStringLiteral("outbound1.vitelity.net");
const QString VoIPUnlimitedHost = QStringLiteral("sip.voipunlimited.net");
const QString VoIPUnlimitedDomain = QStringLiteral("voipunlimited.net");

// Which parameter lines of the gateway file each template writes.
bool writes(int type, std::initializer_list<int> types)
{
    for (int t : types)
        if (t == type) return true;
    return false;
}
} // namespace

TGateway::TGateway()
    : Id(0), NodeKey(0), Modified(true), Name(QStringLiteral("My Trunk")),
      AuthUsername(QStringLiteral("Auth Username")), UserName(QStringLiteral("Username")),
      Password(QStringLiteral("secret")), Proxy(QStringLiteral("Proxy")), ExpireSeconds(2400),
      RegisterWithGateway(true), RetrySeconds(60), Ping(60), Context(QStringLiteral("public")),
      CallerIdInFrom(true), GatewayType(0)
{
}

QList<int> TGateway::OfferedTemplates()
{
    return {gtBandwidth, gtFlowRoute, gtGradwell, gtPennyTel, gtSipgateDE, gtVitelity, gtVoIPUnlimited};
}

QString TGateway::TemplateLabel(int gatewayType, bool chooserSpelling)
{
    switch (gatewayType) {
    case gtBandwidth: return BandwidthDomain;
    case gtFlowRoute: return QStringLiteral("FlowRoute");
    case gtGradwell: return QStringLiteral("Gradwell");
    case gtPennyTel: return QStringLiteral("PennyTel");
    case gtSipgateDE: return QStringLiteral("SipgateDE");
    case gtVoipTalk: return QStringLiteral("voiptalk");
    case gtVitelity: return QStringLiteral("Vitelity");
    case gtVoIPUnlimited:
        return chooserSpelling ? QStringLiteral("VoIPUnlimited") : QStringLiteral("VoIP Unlimited");
    default: return QString();
    }
}

void TGateway::ApplyTemplate(int gatewayType)
{
    GatewayType = gatewayType;
    switch (gatewayType) {
    case gtBandwidth:
        Name = QStringLiteral("My ") + BandwidthDomain + QStringLiteral(" trunk");
        UserName = QStringLiteral("username");
        Password = QStringLiteral("quandary");
        FromUser = QStringLiteral("fromuser");
        FromDomain = QStringLiteral("gateway-ip");
        Proxy = QStringLiteral("gateway-ip");
        ExpireSeconds = 600;
        RegisterWithGateway = false;
        RetrySeconds = 30;
        Extension.clear();
        Context = QStringLiteral("public");
        break;
    case gtFlowRoute:
        Name = QStringLiteral("My Flowroute trunk");
        UserName = QStringLiteral("MYCALLERIDNUMBER");
        AuthUsername = QStringLiteral("account_number");
        Password = QStringLiteral("my_hushcode");
        Proxy = FlowRouteHost;
        ExpireSeconds = 600;
        RegisterWithGateway = true;
        RetrySeconds = 30;
        Ping = 25;
        break;
    case gtGradwell:
        Name = QStringLiteral("My Gradwell trunk");
        UserName = QStringLiteral("[default CID number required to be presented]");
        Password = QStringLiteral("nocodeused");
        Proxy = GradwellHost;
        break;
    case gtPennyTel:
        Name = QStringLiteral("My PennyTel trunk");
        UserName = QStringLiteral("61xxxxxxxxx");
        Password = QStringLiteral("My secret key");
        Realm = PennyTelHost;
        Proxy = PennyTelHost;
        RegisterWithGateway = true;
        break;
    case gtSipgateDE:
        Name = QStringLiteral("My ") + SipgateDomain + QStringLiteral(" trunk");
        UserName = QStringLiteral("your_usernumber");
        Password = QStringLiteral("the_accountsecret]");
        Extension = QStringLiteral("extension_that_should_be_called_in_your_dialplan");
        Proxy = SipgateDomain;
        break;
    case gtVoipTalk:
        Name = QStringLiteral("My voiptalk trunk");
        UserName = QStringLiteral("[my-voiptalk-id]");
        Realm = VoipTalkDomain;
        FromUser = QStringLiteral("[my-voiptalk-id]");
        FromDomain = VoipTalkDomain;
        Password = QStringLiteral("[the-service-secret-x]");
        Extension = QStringLiteral("voiptalk-incoming");
        Proxy = VoipTalkDomain;
        RegisterProxy = VoipTalkDomain;
        RegisterWithGateway = true;
        break;
    case gtVitelity:
        Name = QStringLiteral("My Vitelity trunk");
        UserName = QStringLiteral("[your web account username]_[your suffix]");
        Password = QStringLiteral("hidden");
        Proxy = VitelityInboundPattern;
        OutboundProxy = VitelityOutboundHost;
        ExpireSeconds = 800;
        RegisterWithGateway = true;
        RetrySeconds = 60;
        Context = QStringLiteral("public");
        break;
    case gtVoIPUnlimited:
        Name = QStringLiteral("My VoIP Unlimited Trunk");
        UserName = QStringLiteral("Your username");
        Realm = VoIPUnlimitedHost;
        FromUser = QStringLiteral("Your username");
        FromDomain = VoIPUnlimitedDomain;
        Password = QStringLiteral("My secret key]");
        Proxy = VoIPUnlimitedHost;
        RegisterWithGateway = true;
        break;
    default:
        break;
    }
}

void TGateway::LoadFromIni(const TIniFile& ini)
{
    Id = ini.ReadInteger(G, QStringLiteral("Id"), Id);
    AuthUsername = ini.ReadString(G, QStringLiteral("AuthUsername"), AuthUsername);
    CallerIdInFrom = ini.ReadBool(G, QStringLiteral("CallerIdInFrom"), CallerIdInFrom);
    Context = ini.ReadString(G, QStringLiteral("Context"), Context);
    ExpireSeconds = ini.ReadInteger(G, QStringLiteral("ExpireSeconds"), ExpireSeconds);
    Extension = ini.ReadString(G, QStringLiteral("Extension"), Extension);
    FromDomain = ini.ReadString(G, QStringLiteral("FromDomain"), FromDomain);
    FromUser = ini.ReadString(G, QStringLiteral("FromUser"), FromUser);
    GatewayType = ini.ReadInteger(G, QStringLiteral("GatewayType"), GatewayType);
    Name = ini.ReadString(G, QStringLiteral("Name"), Name);
    Password = ini.ReadString(G, QStringLiteral("Password"), Password);
    Ping = ini.ReadInteger(G, QStringLiteral("Ping"), Ping);
    Proxy = ini.ReadString(G, QStringLiteral("Proxy"), Proxy);
    OutboundProxy = ini.ReadString(G, QStringLiteral("OutboundProxy"), OutboundProxy);
    Realm = ini.ReadString(G, QStringLiteral("Realm"), Realm);
    RegisterProxy = ini.ReadString(G, QStringLiteral("RegisterProxy"), RegisterProxy);
    RegisterWithGateway = ini.ReadBool(G, QStringLiteral("RegisterWithGateway"), RegisterWithGateway);
    RetrySeconds = ini.ReadInteger(G, QStringLiteral("RetrySeconds"), RetrySeconds);
    UserName = ini.ReadString(G, QStringLiteral("UserName"), UserName);
}

void TGateway::SaveToIni(TIniFile& ini) const
{
    ini.WriteInteger(G, QStringLiteral("Id"), Id);
    ini.WriteString(G, QStringLiteral("AuthUsername"), AuthUsername);
    ini.WriteBool(G, QStringLiteral("CallerIdInFrom"), CallerIdInFrom);
    ini.WriteString(G, QStringLiteral("Context"), Context);
    ini.WriteString(G, QStringLiteral("Extension"), Extension);
    ini.WriteInteger(G, QStringLiteral("ExpireSeconds"), ExpireSeconds);
    ini.WriteString(G, QStringLiteral("FromDomain"), FromDomain);
    ini.WriteString(G, QStringLiteral("FromUser"), FromUser);
    ini.WriteInteger(G, QStringLiteral("GatewayType"), GatewayType);
    ini.WriteString(G, QStringLiteral("Name"), Name);
    ini.WriteString(G, QStringLiteral("Password"), Password);
    ini.WriteInteger(G, QStringLiteral("Ping"), Ping);
    ini.WriteString(G, QStringLiteral("Proxy"), Proxy);
    ini.WriteString(G, QStringLiteral("OutboundProxy"), OutboundProxy);
    ini.WriteString(G, QStringLiteral("Realm"), Realm);
    ini.WriteString(G, QStringLiteral("RegisterProxy"), RegisterProxy);
    ini.WriteBool(G, QStringLiteral("RegisterWithGateway"), RegisterWithGateway);
    ini.WriteInteger(G, QStringLiteral("RetrySeconds"), RetrySeconds);
    ini.WriteString(G, QStringLiteral("UserName"), UserName);
}

void TGateway::LoadFromFile(const QString& fileName) { LoadFromIni(TIniFile(fileName)); }

void TGateway::SaveToFile(const QString& fileName) const
{
    TIniFile ini(fileName);
    SaveToIni(ini);
    ini.UpdateFile();
}

void TGateway::GenerateXML(const QString& fileName)
{
    const int t = GatewayType;
    XMLText.clear();
    XMLText << Store::HeaderBlock();
    XMLText << QStringLiteral("<include>");
    XMLText << QStringLiteral("  <gateway name=\"%1\">").arg(Store::XmlEscape(Name));
    auto param = [this](const QString& p, const QString& v) {
        XMLText << QStringLiteral("    <param name=\"%1\" value=\"%2\"/>").arg(p, Store::XmlEscape(v));
    };
    param(QStringLiteral("username"), UserName);
    if (writes(t, {1})) param(QStringLiteral("auth-username"), AuthUsername);
    if (writes(t, {3, 5, 8})) param(QStringLiteral("realm"), Realm);
    if (writes(t, {0, 5, 8})) param(QStringLiteral("from-user"), FromUser);
    if (writes(t, {0, 5, 8})) param(QStringLiteral("from-domain"), FromDomain);
    param(QStringLiteral("password"), Password);
    if (writes(t, {0, 4, 5})) param(QStringLiteral("extension"), Extension);
    param(QStringLiteral("proxy"), Proxy);
    if (writes(t, {6})) param(QStringLiteral("outbound-proxy"), OutboundProxy);
    if (writes(t, {5})) param(QStringLiteral("register-proxy"), RegisterProxy);
    if (writes(t, {0, 1, 2, 5, 6})) param(QStringLiteral("expire-seconds"), QString::number(ExpireSeconds));
    if (writes(t, {0, 1, 2, 3, 5, 6, 8})) param(QStringLiteral("register"), boolText(RegisterWithGateway));
    if (writes(t, {0, 1, 2, 5, 6})) param(QStringLiteral("retry-seconds"), QString::number(RetrySeconds));
    if (writes(t, {1, 2, 5})) param(QStringLiteral("ping"), QString::number(Ping));
    if (writes(t, {0, 2, 6})) param(QStringLiteral("context"), Context);
    if (writes(t, {2})) param(QStringLiteral("caller-id-in-from"), boolText(CallerIdInFrom));
    XMLText << QStringLiteral("  </gateway>");
    XMLText << QStringLiteral("</include>");
    Store::WriteGeneratedFile(fileName, XMLText);
}

void TGateway::CopyFieldsFrom(const TGateway& source)
{
    QStringList keep;
    keep.swap(XMLText);
    *this = source;
    XMLText.swap(keep);
}
