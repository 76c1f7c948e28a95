#include "core/RecordList.h"

namespace Store {

QString RecordFileProblem(const TIniFile& ini)
{
    const QString g = QStringLiteral("General");
    if (!ini.SectionExists(g)) return QStringLiteral("it has no [General] section");
    if (!ini.ValueExists(g, QStringLiteral("Id"))) return QStringLiteral("it has no Id");
    int id = 0;
    if (!ini.TryReadInteger(g, QStringLiteral("Id"), id))
        return QStringLiteral("its Id \"%1\" is not a number").arg(ini.ReadString(g, QStringLiteral("Id"), {}));
    if (id < 0) return QStringLiteral("its Id %1 is negative").arg(id);
    return {};
}

} // namespace Store
