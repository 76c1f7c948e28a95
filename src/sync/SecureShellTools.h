#pragma once
// PuTTY's psftp (file transfer driven by a batch script) and plink (one
// command on the server): where they are, how they are called, and the
// password file they read the root password from.
#include "core/Store.h"

#include <QString>
#include <QStringList>
#include <memory>

class QTemporaryFile;

// Who logs in where. The password lives only in memory and, while a tool
// runs, in a file only the current user can read.
struct TServerLogin {
    QString Address;  // host, host:port or [IPv6]:port; "local": no server at all
    QString Password; // root password
    QString UserName = QStringLiteral("root");
    // Fingerprint ("SHA256:...") of a changed host key that the administrator
    // has seen and accepted; only exactly this key is then taken.
    QString AcceptedHostKey;

    bool IsLocal() const { return Store::IsLocalAddress(Address); }
};

namespace SecureShell {

inline constexpr const char* PsftpName = "psftp";
inline constexpr const char* PlinkName = "plink";

// Looks beside the application's executable first, then on the search path.
// Throws EKXError naming both places when the tool is in neither.
QString FindTool(const QString& name);

struct THostPort {
    QString Host;
    int Port = 0; // 0: the tools' default (22)
};
// "host", "host:port", "[v6]:port", or a bare IPv6 address. Throws EKXError
// for an empty host or a port that is not 1..65535.
THostPort SplitAddress(const QString& address);

// One argument of a batch script line: enclosed in double quotes, a double
// quote inside written twice (psftp's rule).
QString QuoteScriptArgument(const QString& text);
// "command" followed by each argument, quoted, separated by one blank.
QString ScriptLine(const QString& command, const QStringList& args);

// The batch script: workingDir + "batchfile.scr", each line ending in CR LF,
// "quit" appended as the last line. Replaces an earlier script atomically.
QString BatchScriptPath(const QString& workingDir);
void WriteBatchScript(const QString& path, const QStringList& linesWithoutQuit);

// The root password in a temporary file that only the current user can read,
// removed (after being overwritten) when the object goes. The password is
// written nowhere else.
class TPasswordFile {
public:
    explicit TPasswordFile(const QString& password); // throws EKXError
    ~TPasswordFile();
    TPasswordFile(const TPasswordFile&) = delete;
    TPasswordFile& operator=(const TPasswordFile&) = delete;
    QString Path() const;

private:
    std::unique_ptr<QTemporaryFile> m_file;
    qsizetype m_size = 0;
};

// psftp: user@host [-P port] -pwfile F -b script -bc [-be]. "-bc" echoes each
// script line before its output, so results can be told apart line by line;
// "-be" carries on after a failing line.
QStringList PsftpArguments(const TServerLogin& login, const QString& passwordFile, const QString& script,
                           bool continueOnErrors);
// plink: -ssh -no-antispoof -pwfile F [-P port] user@host command
QStringList PlinkArguments(const TServerLogin& login, const QString& passwordFile, const QString& command);

// Prompts the tools may print, in the order the runner checks them.
inline constexpr const char* PromptStoreKey = "Store key in cache?"; // both wordings
inline constexpr const char* PromptUpdateKey = "Update cached key?";
inline constexpr const char* PromptPassword = "'s password:";
inline constexpr const char* PromptPasswordKbd = "Password:";

} // namespace SecureShell
