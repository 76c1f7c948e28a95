#pragma once
// The checks a record must pass before it is stored, as the property dialogs
// make them when OK is pressed and the command line makes them before it
// saves: each returns the first failing check, in the dialog's order, with the
// message to show and the control (objectName) a dialog puts the focus on.
// They read the database interface and change nothing.
#include <QString>
#include <QStringList>

class TDBInterface;
class TUser;
class TKXCallGroup;
class TOutboundRoute;
class TGateway;
class TInboundRoute;
class TKXInboundRouteDest;

enum class TEditMode { Add = 0, Edit = 1 };

struct TCheckResult {
    QString Message; // empty when every check passed
    QString Control; // objectName of the control to focus
    bool Ok() const { return Message.isEmpty(); }
    static TCheckResult Pass() { return {}; }
    static TCheckResult Fail(QString message, QString control) { return {std::move(message), std::move(control)}; }
};

namespace RecordChecks {

// The message that refuses a name that cannot become a file name, or an
// empty text when the name is usable ("what" names the field).
QString UnsafeNameMessage(const QString& name, const QString& what);

// ---- Users -----------------------------------------------------------------

// The user dialog on OK. extensionText and passwordText are the texts as
// typed (the password as the dialog shows it: the engine's default password
// in place of "$${default_password}"), name the name as typed.
TCheckResult CheckUser(const TDBInterface& db, TEditMode mode, const QString& extensionText,
                       const QString& passwordText, const QString& name);
// The extension a text names, or -1 when it is not a whole number from 0 up.
int ParseExtension(const QString& text);

// How the dialog shows the fields that may refer to an engine global (the
// global's current value in place of the reference) ...
QString ShownUserPassword(const TDBInterface& db, const TUser& user);
QString ShownOutboundCallerIdName(const TDBInterface& db, const TUser& user);
QString ShownOutboundCallerIdNumber(const TDBInterface& db, const TUser& user);
// ... and how it stores them back on OK: the reference again when the text
// equals the global's current value; the context is always "default".
void StoreUserShownFields(const TDBInterface& db, TUser& user, const QString& shownPassword,
                          const QString& shownOutboundCallerIdName, const QString& shownOutboundCallerIdNumber);

// ---- Call groups -------------------------------------------------------------

// The call-group dialog on OK. id is the group's own Id when editing: a
// rename onto another group's name is refused then as well, since the files
// of that group would be overwritten.
TCheckResult CheckCallGroup(const TDBInterface& db, TEditMode mode, const QString& name, int id = -1);
// Members must be extensions of listed users, each once.
TCheckResult CheckCallGroupMembers(const TDBInterface& db, const QStringList& members);

// ---- Trunks ----------------------------------------------------------------------

// The trunk dialog on OK (name as typed in the row "Trunk name"). An empty
// name is refused too: it would leave the trunk's files without a name.
TCheckResult CheckTrunk(const TDBInterface& db, TEditMode mode, const QString& name, int id = -1);
// The template (GatewayType) a text names: its number or its label in any
// letter case, with or without blanks; -1 for none of the offered ones.
int ParseTrunkTemplate(const QString& text);

// ---- Dialplan entries -----------------------------------------------------------------

// The dialplan extension dialogs (with and without voicemail) on OK: the
// dialled number and the extension to ring as typed, the seconds to ring.
// Beyond the dialog's two checks: both must be whole numbers, the extension
// a listed user's, the seconds within the dialog's range (1 to 180), and a
// new entry's number not one an entry has already.
TCheckResult CheckDialplanExtension(const TDBInterface& db, TEditMode mode, const QString& numberText,
                                    const QString& extensionText, int callTimeout);

// ---- Outbound routes -----------------------------------------------------------

// The outbound route dialog on OK: the trimmed name; trunkName is the trunk
// chosen (a listed trunk is required: the route bridges to it).
TCheckResult CheckOutboundRoute(const TDBInterface& db, TEditMode mode, const QString& name,
                                const QString& trunkName, int id = -1);
// The listed trunk of that name (exact, else in any letter case), or nullptr.
const TGateway* FindTrunk(const TDBInterface& db, const QString& name);

// ---- Inbound routes -------------------------------------------------------------

// The inbound route dialog on OK. An empty name is refused too.
TCheckResult CheckInboundRoute(const TDBInterface& db, TEditMode mode, const QString& name, int id = -1);
// The destination dialog on OK. route is the route the step belongs to (its
// steps, as edited, count besides those on disk for the name check). An
// extension or mailbox must be a listed user's extension, a group a listed
// call group's name, a mobile number digits and "+" with a listed trunk to
// reach it through.
TCheckResult CheckInboundRouteDest(const TDBInterface& db, TEditMode mode, const TInboundRoute& route,
                                   const TKXInboundRouteDest& step);

} // namespace RecordChecks
