#include "sync/SecureShellTools.h"
#include "core/KxError.h"
#include "core/Store.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace SecureShell {

QString FindTool(const QString& name)
{
    const QString appDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    if (!appDir.isEmpty()) {
        const QString beside = QStandardPaths::findExecutable(name, {appDir});
        if (!beside.isEmpty()) return beside;
    }
    const QString onPath = QStandardPaths::findExecutable(name);
    if (!onPath.isEmpty()) return onPath;
    throw EKXError(QStringLiteral("Unable to find the program %1 (one of PuTTY's tools). It is neither in the "
                                  "folder of Kestrix (%2) nor on the search path (PATH). Install PuTTY's tools "
                                  "(on Debian the package putty-tools) or put %1 beside Kestrix.")
                       .arg(name, appDir.isEmpty() ? QStringLiteral("unknown") : QDir::toNativeSeparators(appDir)));
}

namespace {
[[noreturn]] void badAddress(const QString& address, const QString& why)
{
    throw EKXError(QStringLiteral("The server address \"%1\" cannot be used: %2.").arg(address, why));
}
} // namespace

THostPort SplitAddress(const QString& address)
{
    const QString a = address.trimmed();
    THostPort hp;
    QString port;
    if (a.startsWith(u'[')) {
        const qsizetype close = a.indexOf(u']');
        if (close < 0) badAddress(address, QStringLiteral("the closing \"]\" is missing"));
        hp.Host = a.mid(1, close - 1);
        const QString rest = a.mid(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(u':')) badAddress(address, QStringLiteral("only \":port\" may follow \"]\""));
            port = rest.mid(1);
        }
    } else if (a.count(u':') == 1) {
        hp.Host = a.section(u':', 0, 0);
        port = a.section(u':', 1);
    } else {
        hp.Host = a; // a host name, an IPv4 address or a bare IPv6 address
    }
    if (hp.Host.isEmpty()) badAddress(address, QStringLiteral("the host is missing"));
    for (QChar c : hp.Host) {
        if (c.isSpace() || c.unicode() < 0x20 || c == u'@' || c == u'"')
            badAddress(address, QStringLiteral("it contains a blank or a character not allowed in a host name"));
    }
    if (hp.Host.startsWith(u'-')) badAddress(address, QStringLiteral("a host name cannot begin with \"-\""));
    if (!port.isNull()) {
        bool ok = false;
        const int p = port.toInt(&ok);
        if (!ok || p < 1 || p > 65535) badAddress(address, QStringLiteral("the port must be a number from 1 to 65535"));
        hp.Port = p;
    }
    return hp;
}

QString QuoteScriptArgument(const QString& text)
{
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString ScriptLine(const QString& command, const QStringList& args)
{
    QString line = command;
    for (const QString& a : args) line += u' ' + QuoteScriptArgument(a);
    return line;
}

QString BatchScriptPath(const QString& workingDir)
{
    return Store::WithTrailingDelimiter(workingDir) + QStringLiteral("batchfile.scr");
}

void WriteBatchScript(const QString& path, const QStringList& linesWithoutQuit)
{
    for (const QString& l : linesWithoutQuit) {
        if (l.contains(u'\n') || l.contains(u'\r'))
            throw EKXError(QStringLiteral("A line of the transfer script would hold a line break: ") + l);
    }
    Store::WriteGeneratedFile(path, QStringList(linesWithoutQuit) << QStringLiteral("quit"));
}

TPasswordFile::TPasswordFile(const QString& password)
{
    if (password.contains(u'\n') || password.contains(u'\r'))
        throw EKXError(QStringLiteral("The root password cannot contain a line break."));
    m_file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/kestrix-XXXXXX"));
    if (!m_file->open())
        throw EKXError(QStringLiteral("Unable to create a temporary file in %1: %2")
                           .arg(QDir::tempPath(), m_file->errorString()));
    m_file->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QByteArray bytes = password.toUtf8() + '\n';
    m_size = bytes.size();
    const bool written = m_file->write(bytes) == bytes.size() && m_file->flush();
    bytes.fill('\0');
    m_file->close();
    if (!written)
        throw EKXError(QStringLiteral("Unable to write the temporary file %1: %2")
                           .arg(m_file->fileName(), m_file->errorString()));
}

TPasswordFile::~TPasswordFile()
{
    // Overwrite before removing, so the text does not linger in the freed blocks.
    if (m_file->open()) {
        m_file->write(QByteArray(m_size, '\0'));
        m_file->flush();
        m_file->close();
    }
    m_file->remove();
}

QString TPasswordFile::Path() const { return m_file->fileName(); }

QStringList PsftpArguments(const TServerLogin& login, const QString& passwordFile, const QString& script,
                           bool continueOnErrors)
{
    const THostPort hp = SplitAddress(login.Address);
    QStringList args{login.UserName + u'@' + hp.Host};
    if (hp.Port) args << QStringLiteral("-P") << QString::number(hp.Port);
    args << QStringLiteral("-pwfile") << passwordFile << QStringLiteral("-b") << script << QStringLiteral("-bc");
    if (continueOnErrors) args << QStringLiteral("-be");
    return args;
}

QStringList PlinkArguments(const TServerLogin& login, const QString& passwordFile, const QString& command)
{
    const THostPort hp = SplitAddress(login.Address);
    QStringList args{QStringLiteral("-ssh"), QStringLiteral("-no-antispoof"), QStringLiteral("-pwfile"), passwordFile};
    if (hp.Port) args << QStringLiteral("-P") << QString::number(hp.Port);
    args << login.UserName + u'@' + hp.Host << command;
    return args;
}

} // namespace SecureShell
