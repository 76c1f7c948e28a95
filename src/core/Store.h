#pragma once
// The working directory, its folders and files, and the conventions every
// stored or generated file follows.
#include <QString>
#include <QStringList>

namespace Store {

inline constexpr const char* ApplicationName = "Kestrix";
inline constexpr const char* ProgramVersion = "Kestrix v0.99.3 ALPHA";

// Server folders: always absolute, always ending in "/".
inline constexpr const char* ServerConfDir = "/etc/freeswitch/";
QString ServerFolder(const QString& relFolder); // "directory/office/" -> "/etc/freeswitch/directory/office/"

// The server address "local": the working directory is the live configuration
// of this machine, so nothing is sent to or fetched from a server.
bool IsLocalAddress(const QString& address);

// The per-user application configuration folder, with a trailing delimiter.
QString AppConfigDir();

// Adds exactly one trailing delimiter (Qt's "/" form).
QString WithTrailingDelimiter(const QString& folder);
// Working directory + exactly one delimiter + relative folder, ending in a delimiter.
// relFolder uses "/" between its parts ("directory/office"); may be empty for the root.
QString LocalFolder(const QString& workingDir, const QString& relFolder);

// Node keys: tree section number followed by the Id, read as one decimal number.
enum NodeSection { nsUsers = 10, nsDialplanEntries = 11, nsTrunks = 13,
                   nsInboundRoutes = 14, nsOutboundRoutes = 15, nsCallGroups = 27 };
int MakeNodeKey(int section, int id);

// The eight-line comment block that heads most generated files.
QStringList HeaderBlock();

// Writes lines with CR LF after each (the last one too), replacing the file
// atomically and creating its folder when missing.
void WriteGeneratedFile(const QString& path, const QStringList& lines);
// Writes bytes atomically (a failure leaves the old file untouched).
void WriteFileAtomically(const QString& path, const QByteArray& data);

// Escapes a value for an XML attribute; engine variable references such as
// $${domain} or ${uuid} contain none of the escaped characters and pass unchanged.
QString XmlEscape(const QString& value);

// Names and numbers that become file names must stay inside their folder and
// survive the transfer script. Throws EKXError naming `what` otherwise.
void CheckSafeFileBase(const QString& base, const QString& what);
bool IsSafeFileBase(const QString& base);

// Creates the folder (and its parents) when missing:
// "Unable to create directory <folder> <system error>".
void EnsureDir(const QString& folder);
// Reads a whole file (as a write batch will leave it, when one is active);
// false when it cannot be read.
bool ReadFileBytes(const QString& path, QByteArray& data);
// Deletes a file when it exists: "Unable to delete file <path>: <system error>".
void DeleteFileIfExists(const QString& path);

// Files of the folder matching "*<ext>", sorted by name (letter case ignored).
QStringList ListRecordFiles(const QString& folder, const QString& ext);

} // namespace Store
