#include "core/RecordChecks.h"
#include "core/DBInterface.h"
#include "core/KxError.h"
#include "core/Store.h"
#include "engine/kxVarsXML.h"
#include "records/CallGroupList.h"
#include "records/OutboundRouteList.h"
#include "records/UserList.h"

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

// ---- Outbound routes -------------------------------------------------------------

TCheckResult CheckOutboundRoute(const TDBInterface& db, TEditMode mode, const QString& name, int id)
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
    return TCheckResult::Pass();
}

} // namespace RecordChecks
