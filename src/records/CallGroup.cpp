#include "records/CallGroup.h"
#include "core/KxError.h"
#include "core/Store.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {
const QString G = QStringLiteral("General");
}

void TKXCallGroup::Reset()
{
    Name = QStringLiteral("My CallGroup");
    Members.clear();
}

QString TKXCallGroup::EncodeMembers(const QStringList& members)
{
    QString text;
    for (const QString& m : members) text += m + QStringLiteral("\r\n");
    return QString::fromLatin1(text.toUtf8().toHex().toUpper());
}

QStringList TKXCallGroup::DecodeMembers(const QString& hex)
{
    static const QRegularExpression hexText(QStringLiteral("^(?:[0-9A-Fa-f]{2})*$"));
    if (!hexText.match(hex).hasMatch())
        throw EKXError(QStringLiteral("its Members value \"%1\" is not hexadecimal text").arg(hex));
    const QString text = QString::fromUtf8(QByteArray::fromHex(hex.toLatin1()));
    if (text.isEmpty()) return {};
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineBreak);
    // A break after the last member ends that line; it does not start another.
    if (lines.last().isEmpty()) lines.removeLast();
    return lines;
}

void TKXCallGroup::LoadFromIni(const TIniFile& ini)
{
    Id = ini.ReadInteger(G, QStringLiteral("Id"), Id);
    Name = ini.ReadString(G, QStringLiteral("Name"), Name);
    const QStringList members = DecodeMembers(ini.ReadString(G, QStringLiteral("Members"), QString()));
    if (!members.isEmpty()) Members = members;
    if (!ini.FileName().isEmpty()) SavedName = QFileInfo(ini.FileName()).completeBaseName();
}

void TKXCallGroup::SaveToIni(TIniFile& ini) const
{
    for (const QString& m : Members)
        if (m.contains(u'\r') || m.contains(u'\n'))
            throw EKXError(QStringLiteral("A member of the call group \"%1\" contains a line break.").arg(Name));
    ini.WriteInteger(G, QStringLiteral("Id"), Id);
    ini.WriteString(G, QStringLiteral("Name"), Name);
    ini.WriteString(G, QStringLiteral("Members"), EncodeMembers(Members));
    ini.WriteInteger(G, QStringLiteral("MembersCount"), int(Members.size()));
}

void TKXCallGroup::LoadFromFile(const QString& fileName)
{
    LoadFromIni(TIniFile(fileName));
}

void TKXCallGroup::SaveToFile(const QString& fileName) const
{
    TIniFile ini(fileName);
    SaveToIni(ini);
    ini.UpdateFile();
}

void TKXCallGroup::GenerateXML(const QString& fileName)
{
    XMLText.clear();
    XMLText << QStringLiteral("<include>")
            << QStringLiteral("  <group name =\"%1\">").arg(Store::XmlEscape(Name))
            << QStringLiteral("    <users>");
    for (const QString& m : Members)
        XMLText << QStringLiteral("      <user id=\"%1\" type=\"pointer\"/>").arg(Store::XmlEscape(m));
    XMLText << QStringLiteral("    </users>") << QStringLiteral("  </group>") << QStringLiteral("</include>");
    Store::WriteGeneratedFile(fileName, XMLText);
}
