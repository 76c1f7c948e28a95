#include "ui/kxIcons.h"

#include <QApplication>
#include <QDir>
#include <QHash>
#include <QPainter>
#include <QPen>
#include <QStyle>

namespace KxIcons {

namespace {

const int kSizes[] = {16, 22, 24, 32, 48};

enum TBadge { bNone, bAdd, bEdit, bDelete };

struct TImageDef {
    const char* base; // theme name of the picture
    bool flipped;     // drawn upside down (the outbound picture mirrors the inbound one)
    TBadge badge;
    QStyle::StandardPixmap fallback;
};

// Section pictures at positions 0, 4, 8, ..., 20; each followed by add, edit, delete.
struct TSection {
    const char* base;
    bool flipped;
};
const TSection kSections[] = {{"modem", false},          {"call-start", false},      {"system-users", false},
                              {"network-server", false}, {"emblem-downloads", false}, {"emblem-downloads", true}};

TImageDef definition(int index)
{
    if (index >= 0 && index < 24) {
        const TSection& s = kSections[index / 4];
        return {s.base, s.flipped, TBadge(index % 4), QStyle::SP_DirIcon};
    }
    switch (index) {
    case imgGlobals: return {"preferences-system", false, bNone, QStyle::SP_ComputerIcon};
    case imgExit: return {"application-exit", false, bNone, QStyle::SP_DialogCloseButton};
    case imgSettings: return {"preferences-other", false, bNone, QStyle::SP_FileDialogDetailedView};
    case imgHelp: return {"help-browser", false, bNone, QStyle::SP_DialogHelpButton};
    case imgCommit: return {"emblem-default", false, bNone, QStyle::SP_DialogApplyButton};
    case imgHome: return {"go-home", false, bNone, QStyle::SP_DirHomeIcon};
    case imgSave: return {"document-save", false, bNone, QStyle::SP_DialogSaveButton};
    default: return {nullptr, false, bNone, QStyle::SP_CustomBase};
    }
}

QPixmap themePixmap(const char* name, int size)
{
    const QIcon icon = QIcon::fromTheme(QString::fromLatin1(name));
    if (icon.isNull()) return {};
    return icon.pixmap(QSize(size, size));
}

// A round badge in the lower right corner: green plus, blue pencil, red cross.
void drawBadge(QPainter& p, int size, TBadge badge)
{
    const qreal d = qMax(8.0, size * 0.56);
    const QRectF r(size - d, size - d, d, d);
    const QColor fill = badge == bAdd ? QColor(0x2e, 0x9a, 0x3e)
                        : badge == bEdit ? QColor(0x2a, 0x6f, 0xc9)
                                         : QColor(0xcc, 0x2a, 0x2a);
    p.setPen(QPen(Qt::white, qMax(1.0, size / 16.0)));
    p.setBrush(fill);
    p.drawEllipse(r.adjusted(0.5, 0.5, -0.5, -0.5));
    const QPointF c = r.center();
    const qreal a = d * 0.26;
    QPen mark(Qt::white, qMax(1.5, d * 0.17), Qt::SolidLine, Qt::RoundCap);
    p.setPen(mark);
    switch (badge) {
    case bAdd:
        p.drawLine(QPointF(c.x() - a, c.y()), QPointF(c.x() + a, c.y()));
        p.drawLine(QPointF(c.x(), c.y() - a), QPointF(c.x(), c.y() + a));
        break;
    case bDelete:
        p.drawLine(QPointF(c.x() - a, c.y() - a), QPointF(c.x() + a, c.y() + a));
        p.drawLine(QPointF(c.x() - a, c.y() + a), QPointF(c.x() + a, c.y() - a));
        break;
    case bEdit:
        // A pencil: a slanted stroke with its point at the lower left.
        p.drawLine(QPointF(c.x() - a, c.y() + a), QPointF(c.x() + a, c.y() - a));
        break;
    case bNone: break;
    }
}

QIcon build(int index)
{
    const TImageDef def = definition(index);
    if (!def.base) return {};
    QIcon result;
    for (int size : kSizes) {
        QPixmap base = themePixmap(def.base, size);
        if (base.isNull()) base = QApplication::style()->standardIcon(def.fallback).pixmap(size, size);
        if (base.isNull()) continue;
        QPixmap canvas(size, size);
        canvas.fill(Qt::transparent);
        QPainter p(&canvas);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        QPixmap scaled = base.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (def.flipped) scaled = QPixmap::fromImage(scaled.toImage().mirrored(false, true));
        p.drawPixmap(0, 0, scaled);
        if (def.badge != bNone) drawBadge(p, size, def.badge);
        p.end();
        result.addPixmap(canvas);
    }
    return result;
}

} // namespace

void InitIconTheme()
{
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString& p : {QStringLiteral("/usr/share/icons"), QStringLiteral("/usr/local/share/icons")})
        if (!paths.contains(p) && QDir(p).exists()) paths << p;
    QIcon::setThemeSearchPaths(paths);
    if (QIcon::themeName().isEmpty() || QIcon::fromTheme(QStringLiteral("go-home")).isNull())
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
}

QIcon Image(int index)
{
    static QHash<int, QIcon> cache;
    auto it = cache.find(index);
    if (it == cache.end()) it = cache.insert(index, build(index));
    return *it;
}

} // namespace KxIcons
