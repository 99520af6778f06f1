#include "gicon/kav_icon_cache.h"

#include "core/kav_translate.h"

#include <QColor>
#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>

#include <array>

namespace Kav {
namespace GIcon {

QString const ACT_NEW = QStringLiteral("act_new");
QString const ACT_RENAME = QStringLiteral("act_rename");
QString const ACT_DELETE = QStringLiteral("act_delete");
QString const ACT_IMPORT = QStringLiteral("act_import");
QString const ACT_EXPORT = QStringLiteral("act_export");

namespace {

bool havePixmaps()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

std::array<QPixmap*, 3>& levelIcons()
{
    static std::array<QPixmap*, 3> icons{{nullptr, nullptr, nullptr}};
    return icons;
}

// Pixmaps must go before the application object that backs them.
void dropLevelIcons()
{
    for (QPixmap*& icon : levelIcons()) {
        delete icon;
        icon = nullptr;
    }
}

QPixmap* drawLevelIcon(int level)
{
    static QColor const colours[3] = {QColor(80, 112, 160), QColor(60, 154, 80), QColor(208, 122, 32)};
    QString const letters[3] = {translate("KavHost", "I"), translate("KavHost", "S"), translate("KavHost", "U")};

    auto* pixmap = new QPixmap(16, 16);
    pixmap->fill(Qt::transparent);
    QPainter p(pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colours[level].darker(150), 1.0));
    p.setBrush(colours[level]);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15.0, 15.0), 3.0, 3.0);
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0.0, 0.0, 16.0, 16.0), Qt::AlignCenter, letters[level]);
    return pixmap;
}

// Each drawer paints in a 16x16 coordinate system; the painter is scaled to the icon size.
void drawPage(QPainter& p)
{
    QPolygonF page;
    page << QPointF(3, 1) << QPointF(10, 1) << QPointF(13, 4) << QPointF(13, 15) << QPointF(3, 15);
    p.setPen(QPen(QColor(90, 90, 90), 1.0));
    p.setBrush(Qt::white);
    p.drawPolygon(page);
    p.drawPolyline(QPolygonF() << QPointF(10, 1) << QPointF(10, 4) << QPointF(13, 4));
}

void drawNew(QPainter& p)
{
    drawPage(p);
    p.setPen(QPen(QColor(40, 150, 40), 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(11, 8), QPointF(11, 14));
    p.drawLine(QPointF(8, 11), QPointF(14, 11));
}

void drawRename(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 90), 1.0));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 4.5, 13, 7));
    p.setPen(QPen(QColor(60, 60, 60), 1.5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(3.5, 8), QPointF(8.5, 8));
    p.setPen(QPen(QColor(30, 80, 200), 1.5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(11, 2), QPointF(11, 14));
    p.drawLine(QPointF(9.5, 2), QPointF(12.5, 2));
    p.drawLine(QPointF(9.5, 14), QPointF(12.5, 14));
}

void drawDelete(QPainter& p)
{
    p.setPen(QPen(QColor(200, 30, 30), 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3, 3), QPointF(13, 13));
    p.drawLine(QPointF(13, 3), QPointF(3, 13));
}

void drawTray(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 90), 1.5, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF() << QPointF(1.5, 10) << QPointF(1.5, 14.5) << QPointF(14.5, 14.5)
                               << QPointF(14.5, 10));
}

void drawArrow(QPainter& p, bool down, QColor const& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPolygonF arrow;
    if (down)
        arrow << QPointF(6, 1) << QPointF(10, 1) << QPointF(10, 7) << QPointF(13, 7) << QPointF(8, 12)
              << QPointF(3, 7) << QPointF(6, 7);
    else
        arrow << QPointF(8, 1) << QPointF(13, 6) << QPointF(10, 6) << QPointF(10, 12) << QPointF(6, 12)
              << QPointF(6, 6) << QPointF(3, 6);
    p.drawPolygon(arrow);
}

void drawImport(QPainter& p)
{
    drawTray(p);
    drawArrow(p, true, QColor(30, 100, 200));
}

void drawExport(QPainter& p)
{
    drawTray(p);
    drawArrow(p, false, QColor(40, 150, 40));
}

} // namespace

QPixmap const* Cache::getConfigLevelIcon(Cfg::Level level)
{
    int const index = static_cast<int>(level);
    if (index < 0 || index > 2 || !havePixmaps())
        return nullptr;
    std::array<QPixmap*, 3>& icons = levelIcons();
    if (icons[static_cast<std::size_t>(index)] == nullptr) {
        static bool const cleanupAdded = (qAddPostRoutine(dropLevelIcons), true);
        Q_UNUSED(cleanupAdded);
        icons[static_cast<std::size_t>(index)] = drawLevelIcon(index);
    }
    return icons[static_cast<std::size_t>(index)];
}

QIcon Cache::getIconSet(QString const& name, IconSize_t size)
{
    void (*draw)(QPainter&) = nullptr;
    if (name == ACT_NEW)
        draw = drawNew;
    else if (name == ACT_RENAME)
        draw = drawRename;
    else if (name == ACT_DELETE)
        draw = drawDelete;
    else if (name == ACT_IMPORT)
        draw = drawImport;
    else if (name == ACT_EXPORT)
        draw = drawExport;
    if (draw == nullptr || !havePixmaps())
        return QIcon();

    int const pixels = size == ICON_LARGE ? 32 : 16;
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(pixels / 16.0, pixels / 16.0);
        draw(p);
    }
    return QIcon(pixmap);
}

} // namespace GIcon
} // namespace Kav
