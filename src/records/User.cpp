#include "records/User.h"
#include "core/KxError.h"
#include "core/Store.h"
#include "engine/kxVarsXML.h"

namespace {
const QString G = QStringLiteral("General");

QString attr(const QString& value) { return Store::XmlEscape(value); }
} // namespace

void TUser::SetDefaults(qint32 ext)
{
    const QString e = QString::number(ext);
    Extension = ext;
    Modified = true;
    Password = QStringLiteral("$${default_password}");
    VMPassword = e;
    VMEnabled = true;
    TollAllowed = QStringLiteral("domestic,international,local");
    AccountCode = e;
    UserContext = QStringLiteral("default");
    EffectiveCallerIdName = QStringLiteral("Extension ") + e;
    EffectiveCallerIdNumber = e;
    OutboundCallerIdName = QStringLiteral("$${outbound_caller_name}");
    OutboundCallerIdNumber = QStringLiteral("$${outbound_caller_id}");
    CallGroup.clear();
}

void TUser::LoadFromIni(const TIniFile& ini)
{
    Id = ini.ReadInteger(G, QStringLiteral("Id"), Id);
    AccountCode = ini.ReadString(G, QStringLiteral("AccountCode"), AccountCode);
    CallGroup = ini.ReadString(G, QStringLiteral("CallGroup"), CallGroup);
    EffectiveCallerIdName = ini.ReadString(G, QStringLiteral("Effective_Caller_Id_Name"), EffectiveCallerIdName);
    EffectiveCallerIdNumber =
        ini.ReadString(G, QStringLiteral("Effective_Caller_Id_Number"), EffectiveCallerIdNumber);
    Extension = ini.ReadInteger(G, QStringLiteral("Extension"), Extension);
    Name = ini.ReadString(G, QStringLiteral("Name"), Name);
    OutboundCallerIdName = ini.ReadString(G, QStringLiteral("Outbound_Caller_Id_Name"), OutboundCallerIdName);
    OutboundCallerIdNumber =
        ini.ReadString(G, QStringLiteral("Outbound_Caller_Id_Number"), OutboundCallerIdNumber);
    Password = ini.ReadString(G, QStringLiteral("Password"), Password);
    TollAllowed = ini.ReadString(G, QStringLiteral("TollAllowed"), TollAllowed);
    UserContext = ini.ReadString(G, QStringLiteral("User_Context"), UserContext);
    VMEnabled = ini.ReadBool(G, QStringLiteral("VM_Enabled"), VMEnabled);
    VMPassword = ini.ReadString(G, QStringLiteral("VMPassword"), VMPassword);
}

void TUser::SaveToIni(TIniFile& ini) const
{
    ini.WriteInteger(G, QStringLiteral("Id"), Id);
    ini.WriteString(G, QStringLiteral("AccountCode"), AccountCode);
    ini.WriteString(G, QStringLiteral("CallGroup"), CallGroup);
    ini.WriteString(G, QStringLiteral("Effective_Caller_Id_Name"), EffectiveCallerIdName);
    ini.WriteString(G, QStringLiteral("Effective_Caller_Id_Number"), EffectiveCallerIdNumber);
    ini.WriteInteger(G, QStringLiteral("Extension"), Extension);
    ini.WriteString(G, QStringLiteral("Name"), Name);
    ini.WriteString(G, QStringLiteral("Outbound_Caller_Id_Name"), OutboundCallerIdName);
    ini.WriteString(G, QStringLiteral("Outbound_Caller_Id_Number"), OutboundCallerIdNumber);
    ini.WriteString(G, QStringLiteral("Password"), Password);
    ini.WriteString(G, QStringLiteral("TollAllowed"), TollAllowed);
    ini.WriteString(G, QStringLiteral("User_Context"), UserContext);
    ini.WriteBool(G, QStringLiteral("VM_Enabled"), VMEnabled);
    ini.WriteString(G, QStringLiteral("VMPassword"), VMPassword);
}

void TUser::LoadFromFile(const QString& path)
{
    const TIniFile ini(path);
    LoadFromIni(ini);
}

void TUser::SaveToFile(const QString& path) const
{
    TIniFile ini(path);
    SaveToIni(ini);
    ini.UpdateFile();
}

QStringList TUser::XMLLines() const
{
    auto param = [](const char* name, const QString& value) {
        return QStringLiteral("      <param name=\"%1\" value=\"%2\"/>").arg(QLatin1String(name), attr(value));
    };
    auto variable = [](const char* name, const QString& value) {
        return QStringLiteral("      <variable name=\"%1\" value=\"%2\"/>").arg(QLatin1String(name), attr(value));
    };
    return {
        QStringLiteral("<include>"),
        QStringLiteral("  <user id=\"%1\">").arg(Extension),
        QStringLiteral("    <params>"),
        param("password", Password),
        param("vm-password", VMPassword),
        param("vm-enabled", BoolToText(VMEnabled)),
        QStringLiteral("    </params>"),
        QStringLiteral("    <variables>"),
        variable("toll_allow", TollAllowed),
        variable("accountcode", AccountCode),
        variable("effective_caller_id_name", EffectiveCallerIdName),
        variable("effective_caller_id_number", EffectiveCallerIdNumber),
        variable("outbound_caller_id_name", OutboundCallerIdName),
        variable("outbound_caller_id_number", OutboundCallerIdNumber),
        variable("callgroup", CallGroup),
        QStringLiteral("    </variables>"),
        QStringLiteral("  </user>"),
        QStringLiteral("</include>"),
    };
}

void TUser::GenerateXML(const QString& path)
{
    XMLText = XMLLines();
    Store::WriteGeneratedFile(path, XMLText);
}

void TUser::CheckFileBase() const
{
    // A negative number would start the file name with "-", which the
    // transfer programs read as an option.
    if (Extension < 0)
        throw EKXError(QStringLiteral("The extension %1 cannot be used: an extension number must not be "
                                      "negative.")
                           .arg(Extension));
    Store::CheckSafeFileBase(FileBase(), QStringLiteral("extension"));
}
