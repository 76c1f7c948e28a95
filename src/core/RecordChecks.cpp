#include "core/RecordChecks.h"
#include "core/DBInterface.h"
#include "core/KxError.h"
#include "core/Store.h"
#include "engine/kxVarsXML.h"
#include "records/CallGroupList.h"
#include "records/InboundRouteList.h"
#include "records/OutboundRouteList.h"
#include "records/UserList.h"
#include "records/basicdialplanentrylist.h"
#include "records/gatewaylist.h"

#include <QSet>

namespace RecordChecks {

namespace {
const QString DefaultPasswordRef = QStringLiteral("$${default_password}");
const QString OutboundCallerNameRef = QStringLiteral("$${outbound_caller_name}");
const QString OutboundCallerIdRef = QStringLiteral("$${outbound_caller_id}");

QString shown(const QString& value, const QString& reference, const QString& global)
{
    return value == reference ? global : value;
}
} // namespace

QString UnsafeNameMessage(const QString& name, const QString& what)
{
    try {
        Store::CheckSafeFileBase(name, what);
    } catch (const EKXError& e) {
        return e.Message;
    }
    return QString();
}

// ---- Users -------------------------------------------------------------------

int ParseExtension(const QString& text)
{
    bool ok = false;
    const QString t = text.trimmed();
    const int ext = t.toInt(&ok, 10);
    if (!ok || ext < 0 || t.startsWith(u'+')) return -1;
    return ext;
}

TCheckResult CheckUser(const TDBInterface& db, TEditMode mode, const QString& extensionText,
                       const QString& passwordText, const QString& name)
{
    const QString ext = QStringLiteral("edtExtension");
    if (extensionText.trimmed().isEmpty())
        return TCheckResult::Fail(QStringLiteral("Please enter an extension number for this user"), ext);
    const int number = ParseExtension(extensionText);
    if (number < 0)
        return TCheckResult::Fail(QStringLiteral("The extension \"%1\" is not a number: please enter the extension "
                                                 "as a whole number.")
                                      .arg(extensionText.trimmed()),
                                  ext);
    if (mode == TEditMode::Add && db.UserExtensionExists(number))
        return TCheckResult::Fail(QStringLiteral("A user with this extension already exists."), ext);
    if (!TDBInterface::IsPasswordSecure(passwordText))
        return TCheckResult::Fail(QStringLiteral("Please enter a secure password for this user"),
                                  QStringLiteral("edtPassword"));
    if (name.trimmed().isEmpty())
        return TCheckResult::Fail(QStringLiteral("Please enter a name for this user"), QStringLiteral("edtName"));
    return TCheckResult::Pass();
}

QString ShownUserPassword(const TDBInterface& db, const TUser& user)
{
    return shown(user.Password, DefaultPasswordRef, db.VarsXML->DefaultPassword);
}

QString ShownOutboundCallerIdName(const TDBInterface& db, const TUser& user)
{
    return shown(user.OutboundCallerIdName, OutboundCallerNameRef, db.VarsXML->OutboundCallerName);
}

QString ShownOutboundCallerIdNumber(const TDBInterface& db, const TUser& user)
{
    return shown(user.OutboundCallerIdNumber, OutboundCallerIdRef, db.VarsXML->OutboundCallerID);
}

void StoreUserShownFields(const TDBInterface& db, TUser& user, const QString& shownPassword,
                          const QString& shownOutboundCallerIdName, const QString& shownOutboundCallerIdNumber)
{
    const QString password = shownPassword.trimmed();
    user.Password = password == db.VarsXML->DefaultPassword ? DefaultPasswordRef : password;
    user.OutboundCallerIdName = shownOutboundCallerIdName.trimmed() == db.VarsXML->OutboundCallerName
                                    ? OutboundCallerNameRef
                                    : shownOutboundCallerIdName;
    user.OutboundCallerIdNumber = shownOutboundCallerIdNumber.trimmed() == db.VarsXML->OutboundCallerID
                                      ? OutboundCallerIdRef
                                      : shownOutboundCallerIdNumber;
    user.UserContext = QStringLiteral("default");
}

// ---- Call groups ---------------------------------------------------------------

TCheckResult CheckCallGroup(const TDBInterface& db, TEditMode mode, const QString& name, int id)
{
    const QString control = QStringLiteral("edtGroupName");
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) return TCheckResult::Fail(QStringLiteral("Please enter a group name"), control);
    const QString taken =
        QStringLiteral("Please Call Group with this name already exists, please choose another name");
    if (mode == TEditMode::Add) {
        if (db.CallGroupNameExists(trimmed)) return TCheckResult::Fail(taken, control);
    } else {
        for (const auto& g : *db.CallGroups)
            if (g->Id != id && g->Name == trimmed) return TCheckResult::Fail(taken, control);
    }
    const QString unsafe = UnsafeNameMessage(trimmed, QStringLiteral("call group name"));
    if (!unsafe.isEmpty()) return TCheckResult::Fail(unsafe, control);
    return TCheckResult::Pass();
}

TCheckResult CheckCallGroupMembers(const TDBInterface& db, const QStringList& members)
{
    QSet<QString> seen;
    for (const QString& m : members) {
        const int ext = ParseExtension(m);
        if (ext < 0 || !db.UserExtensionExists(ext))
            return TCheckResult::Fail(QStringLiteral("No user has the extension \"%1\".").arg(m),
                                      QStringLiteral("chkMembers"));
        if (seen.contains(m))
            return TCheckResult::Fail(QStringLiteral("The extension %1 is a member already.").arg(m),
                                      QStringLiteral("chkMembers"));
        seen << m;
    }
    return TCheckResult::Pass();
}

// ---- Trunks ----------------------------------------------------------------------

TCheckResult CheckTrunk(const TDBInterface& db, TEditMode mode, const QString& name, int id)
{
    // The dialog keeps the focus where it is for this check.
    const QString control = QStringLiteral("vleTrunkProperties");
    if (name.trimmed().isEmpty()) return TCheckResult::Fail(QStringLiteral("Please enter a trunk name"), control);
    const QString taken = QStringLiteral("A trunk with that name already exists. Please enter a different name");
    if (mode == TEditMode::Add) {
        if (db.TrunkNameExists(name)) return TCheckResult::Fail(taken, control);
    } else {
        for (const auto& t : *db.Gateways)
            if (t->Id != id && t->Name.toUpper() == name.toUpper()) return TCheckResult::Fail(taken, control);
    }
    const QString unsafe = UnsafeNameMessage(name, QStringLiteral("trunk name"));
    if (!unsafe.isEmpty()) return TCheckResult::Fail(unsafe, control);
    return TCheckResult::Pass();
}

int ParseTrunkTemplate(const QString& text)
{
    auto squash = [](QString t) { return t.remove(u' ').toLower(); };
    const QString wanted = squash(text.trimmed());
    for (int type : TGateway::OfferedTemplates()) {
        if (wanted == QString::number(type) || wanted == squash(TGateway::TemplateLabel(type))
            || wanted == squash(TGateway::TemplateLabel(type, true)))
            return type;
    }
    return -1;
}

const TGateway* FindTrunk(const TDBInterface& db, const QString& name)
{
    for (const auto& t : *db.Gateways)
        if (t->Name == name) return t.get();
    const int id = db.FindTrunkIdByName(name.trimmed());
    return id < 0 ? nullptr : db.Gateways->FindById(id);
}

// ---- Dialplan entries -----------------------------------------------------------------

TCheckResult CheckDialplanExtension(const TDBInterface& db, TEditMode mode, const QString& numberText,
                                    const QString& extensionText, int callTimeout)
{
    const QString numberControl = QStringLiteral("edtDialledNumber");
    const QString extControl = QStringLiteral("cboExtension");
    if (numberText.trimmed().isEmpty()) return TCheckResult::Fail(QStringLiteral("Please enter an extension"), numberControl);
    if (extensionText.trimmed().isEmpty())
        return TCheckResult::Fail(QStringLiteral("Please select an extension"), extControl);
    const int number = ParseExtension(numberText);
    if (number < 0)
        return TCheckResult::Fail(QStringLiteral("The number \"%1\" is not a whole number.").arg(numberText.trimmed()),
                                  numberControl);
    const int ext = ParseExtension(extensionText);
    if (ext < 0 || !db.UserExtensionExists(ext))
        return TCheckResult::Fail(QStringLiteral("No user has the extension \"%1\": please select an extension.")
                                      .arg(extensionText.trimmed()),
                                  extControl);
    if (callTimeout < 1 || callTimeout > 180)
        return TCheckResult::Fail(QStringLiteral("The extension can ring for 1 to 180 seconds, not %1.").arg(callTimeout),
                                  QStringLiteral("spSeconds"));
    if (mode == TEditMode::Add && db.DialplanEntryFileExists(QString::number(number)))
        return TCheckResult::Fail(QStringLiteral("A dialplan entry for the number %1 already exists.").arg(number),
                                  numberControl);
    return TCheckResult::Pass();
}

// ---- Outbound routes -------------------------------------------------------------

TCheckResult CheckOutboundRoute(const TDBInterface& db, TEditMode mode, const QString& name, const QString& trunkName,
                                int id)
{
    const QString control = QStringLiteral("edtOutboundRouteName");
    const QString trimmed = name.trimmed();
    const QString taken = QStringLiteral("An Outbound Route with that name already exists. Please enter a different name");
    if (mode == TEditMode::Add) {
        if (db.OutboundRouteNameExists(trimmed)) return TCheckResult::Fail(taken, control);
    } else {
        for (const auto& r : *db.OutboundRoutes)
            if (r->Id != id && r->Name == trimmed) return TCheckResult::Fail(taken, control);
    }
    const QString unsafe = UnsafeNameMessage(trimmed, QStringLiteral("outbound route name"));
    if (!unsafe.isEmpty()) return TCheckResult::Fail(unsafe, control);
    if (db.Gateways->Count() == 0)
        return TCheckResult::Fail(QStringLiteral("There is no trunk to route the calls through: please add a trunk first."),
                                  QStringLiteral("cboTrunkToUse"));
    if (!FindTrunk(db, trunkName))
        return TCheckResult::Fail(trunkName.trimmed().isEmpty()
                                      ? QStringLiteral("Please select the trunk to use")
                                      : QStringLiteral("There is no trunk named \"%1\".").arg(trunkName),
                                  QStringLiteral("cboTrunkToUse"));
    return TCheckResult::Pass();
}

// ---- Inbound routes -------------------------------------------------------------

TCheckResult CheckInboundRoute(const TDBInterface& db, TEditMode mode, const QString& name, int id)
{
    const QString control = QStringLiteral("edtInboundRouteName");
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) return TCheckResult::Fail(QStringLiteral("Please enter a name for the inbound route"), control);
    const QString taken = QStringLiteral("An Inbound Route with that name already exists. Please enter a different name");
    if (mode == TEditMode::Add) {
        if (db.InboundRouteNameExists(trimmed)) return TCheckResult::Fail(taken, control);
    } else {
        for (const auto& r : *db.InboundRoutes)
            if (r->Id != id && r->Name == trimmed) return TCheckResult::Fail(taken, control);
    }
    const QString unsafe = UnsafeNameMessage(trimmed, QStringLiteral("inbound route name"));
    if (!unsafe.isEmpty()) return TCheckResult::Fail(unsafe, control);
    return TCheckResult::Pass();
}

TCheckResult CheckInboundRouteDest(const TDBInterface& db, TEditMode mode, const TInboundRoute& route,
                                   const TKXInboundRouteDest& step)
{
    const QString nameControl = QStringLiteral("edtInboundRouteDestName");
    const QString name = step.Name.trimmed();
    const QString taken =
        QStringLiteral("An Inbound Route Destination with that name already exists. Please enter a different name");
    // Other steps: those on disk and those of the route as edited.
    auto takenByOther = [&](const TKXInboundRouteDest& other) { return other.Id != step.Id && other.Name == name; };
    if (mode == TEditMode::Add) {
        if (db.InboundRouteDestNameExists(name)) return TCheckResult::Fail(taken, nameControl);
        for (const auto& other : route.Destinations)
            if (other->Name == name) return TCheckResult::Fail(taken, nameControl);
    } else {
        for (const auto& other : *db.InboundRouteDests)
            if (other->InboundRouteId != route.Id && takenByOther(*other)) return TCheckResult::Fail(taken, nameControl);
        for (const auto& other : route.Destinations)
            if (takenByOther(*other)) return TCheckResult::Fail(taken, nameControl);
    }
    const QString unsafe = UnsafeNameMessage(step.Name, QStringLiteral("destination name"));
    if (!unsafe.isEmpty()) return TCheckResult::Fail(unsafe, nameControl);

    const QString dest = step.Destination.trimmed();
    switch (step.DestinationType) {
    case irdExtension:
    case irdMailbox: {
        const bool mailbox = step.DestinationType == irdMailbox;
        const QString control = mailbox ? QStringLiteral("cboMailboxes") : QStringLiteral("cboExtensions");
        if (dest.isEmpty())
            return TCheckResult::Fail(mailbox ? QStringLiteral("Please select a mailbox") : QStringLiteral("Please select an extension"),
                                      control);
        const int ext = ParseExtension(dest);
        if (ext < 0 || !db.UserExtensionExists(ext))
            return TCheckResult::Fail(QStringLiteral("No user has the extension \"%1\".").arg(dest), control);
        break;
    }
    case irdGroup:
        if (dest.isEmpty()) return TCheckResult::Fail(QStringLiteral("Please select a group"), QStringLiteral("cboGroups"));
        if (!db.CallGroupNameExists(dest))
            return TCheckResult::Fail(QStringLiteral("There is no call group named \"%1\".").arg(dest), QStringLiteral("cboGroups"));
        break;
    case irdMobile: {
        const QString control = QStringLiteral("edtMobile");
        if (dest.isEmpty()) return TCheckResult::Fail(QStringLiteral("Please enter a mobile number"), control);
        for (QChar c : dest)
            if (!(c.isDigit() && c.unicode() < 128) && c != u'+')
                return TCheckResult::Fail(QStringLiteral("A mobile number holds only the digits 0 to 9 and \"+\", "
                                                         "not \"%1\".").arg(dest),
                                          control);
        if (!FindTrunk(db, step.Trunk))
            return TCheckResult::Fail(step.Trunk.trimmed().isEmpty()
                                          ? QStringLiteral("Please select the trunk that calls the mobile number")
                                          : QStringLiteral("There is no trunk named \"%1\".").arg(step.Trunk),
                                      QStringLiteral("cboTrunk"));
        break;
    }
    default:
        return TCheckResult::Fail(QStringLiteral("Please select a destination type"), QStringLiteral("cboDestinationType"));
    }
    return TCheckResult::Pass();
}

} // namespace RecordChecks
