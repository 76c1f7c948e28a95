// User operations of the database interface.
#include "core/DBInterface.h"
#include "core/KXGlobalsCB.h"
#include "core/KxError.h"
#include "core/Store.h"
#include "records/UserList.h"

#include <algorithm>
#include <memory>

namespace {
QString usersRelFolder(const QString& domain) { return QStringLiteral("directory/") + domain; }

QString noSuchUser(int id) { return QStringLiteral("There is no user with Id %1.").arg(id); }
} // namespace

QString TDBInterface::UsersFolder() const { return LocalFolder(usersRelFolder(Domain)); }

QString TDBInterface::UsersServerFolder() const { return Store::ServerFolder(usersRelFolder(Domain)); }

void TDBInterface::LoadUsers()
{
    const QString folder = UsersFolder();
    const QString ext = QStringLiteral(".usr");
    forgetProblemsUnder(folder, ext);
    Store::LoadRecordFolder<TUser>(*Users, folder, ext, Store::nsUsers, LoadProblems);
}

void TDBInterface::SaveUsers()
{
    Store::CheckSafeFileBase(Domain, QStringLiteral("domain"));
    for (int i = 0; i < Users->Count(); ++i)
        if (Users->Items(i)->Modified) Users->Items(i)->CheckFileBase();

    const QString folder = UsersFolder();
    const QString server = UsersServerFolder();
    for (int i = 0; i < Users->Count(); ++i) {
        TUser* u = Users->Items(i);
        if (!u->Modified) continue;
        const QString base = u->FileBase();
        u->SaveToFile(folder + base + QStringLiteral(".usr"));
        u->GenerateXML(folder + base + QStringLiteral(".xml"));
        AddSavedRecordPair(folder, base + QStringLiteral(".usr"), base + QStringLiteral(".xml"), server);
        u->Modified = false;
    }
}

void TDBInterface::AddUser(TUser* user)
{
    std::unique_ptr<TUser> owned(user);
    if (UserExtensionExists(owned->Extension))
        throw EKXError(QStringLiteral("A user with this extension already exists."));
    owned->Id = NextUserId();
    owned->Modified = true;
    Users->Add(owned.release());
}

int TDBInterface::NextUserId() { return TKXGlobalsCB::TakeNextId(TIdCounter::User, Users->MaxId()); }

bool TDBInterface::GetUserByNodeKey(int nodeKey, TUser& user) const
{
    const TUser* match = nullptr;
    for (int i = 0; i < Users->Count(); ++i)
        if (Users->Items(i)->NodeKey == nodeKey) match = Users->Items(i);
    if (!match) return false;
    QStringList xml = std::move(user.XMLText);
    user = *match;
    user.XMLText = std::move(xml);
    return true;
}

void TDBInterface::UpdateUser(int id, const TUser& user)
{
    if (Users->IndexOfId(id) < 0) throw EKXError(noSuchUser(id));
    for (int i = 0; i < Users->Count(); ++i) {
        TUser* u = Users->Items(i);
        if (u->Id != id) continue;
        u->Modified = true;
        u->Id = user.Id;
        u->Name = user.Name;
        u->Password = user.Password;
        u->VMPassword = user.VMPassword;
        u->VMEnabled = user.VMEnabled;
        u->TollAllowed = user.TollAllowed;
        u->AccountCode = user.AccountCode;
        u->UserContext = user.UserContext;
        u->EffectiveCallerIdName = user.EffectiveCallerIdName;
        u->EffectiveCallerIdNumber = user.EffectiveCallerIdNumber;
        u->OutboundCallerIdName = user.OutboundCallerIdName;
        u->OutboundCallerIdNumber = user.OutboundCallerIdNumber;
        u->CallGroup = user.CallGroup;
    }
}

void TDBInterface::DeleteUser(int id, bool deleteFiles)
{
    if (Users->IndexOfId(id) < 0) throw EKXError(noSuchUser(id));
    if (deleteFiles) Store::CheckSafeFileBase(Domain, QStringLiteral("domain"));
    QString base;
    for (int i = Users->Count() - 1; i >= 0; --i) {
        if (Users->Items(i)->Id != id) continue;
        base = Users->Items(i)->FileBase();
        Users->Delete(i);
    }
    if (!deleteFiles) return;
    const QString folder = UsersFolder();
    Store::DeleteFileIfExists(folder + base + QStringLiteral(".usr"));
    Store::DeleteFileIfExists(folder + base + QStringLiteral(".xml"));
}

QString TDBInterface::NextExtension() const
{
    int next = 100;
    for (int i = 0; i < Users->Count(); ++i) next = std::max(next, Users->Items(i)->Extension + 1);
    return QString::number(next);
}

bool TDBInterface::UserExtensionExists(int ext) const
{
    for (int i = 0; i < Users->Count(); ++i)
        if (Users->Items(i)->Extension == ext) return true;
    return false;
}

int TDBInterface::FindUserIdByName(const QString& name) const
{
    const QString wanted = name.toUpper();
    for (int i = 0; i < Users->Count(); ++i)
        if (Users->Items(i)->Name.toUpper() == wanted) return Users->Items(i)->Id;
    return -1;
}
