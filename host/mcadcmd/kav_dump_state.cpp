#include "mcadcmd/kav_scene.h"

#include "glabel/kav_label_element.h"
#include "io/kav_stream.h"
#include "mcadcmd/kav_scene_state_p.h"
#include "propertyaccess/kav_property_access_base.h"
#include "propertyaccess/kav_property_access_factory.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <algorithm>
#include <memory>

namespace Kav {
namespace MCADCmd {

namespace {

using Detail::number;
using Detail::quoted;
using Detail::vec;

QString flag(bool b)
{
    return b ? QStringLiteral("1") : QStringLiteral("0");
}

// The interaction state (selection, highlight) is left out: it is no part of what a
// snapshot shows, and a restore keeps it as it is.
QString elementLine(CAD::Element& e)
{
    // Appended piece by piece: the dump makes one line per element, and arg() parses its
    // pattern on every call. None of these parts holds a '%' that arg() would have taken.
    Detail::ElementState const s = Detail::captureElement(e);
    QString line;
    line.reserve(400);
    line += QStringLiteral("element name=") + quoted(s.name) + QStringLiteral(" type=") +
            CAD::ElementCreator::getTypeName(e.getElementType());
    if (e.getParent() != nullptr)
        line += QStringLiteral(" parent=") + quoted(e.getParent()->getName());
    line += QStringLiteral(" visible=") + flag(s.visible) + QStringLiteral(" valid=") + flag(s.valid);
    line += QStringLiteral(" color=") + Detail::colorText(s.prop.color) + QStringLiteral(" transparency=") +
            number(s.prop.transparency) + QStringLiteral(" point_size=") + number(s.prop.pointSize) +
            QStringLiteral(" line_width=") + number(s.prop.lineWidth) + QStringLiteral(" display_mode=") +
            QString::number(s.prop.displayMode);
    line += QStringLiteral(" center=") + vec(e.getCenter()) + QStringLiteral(" extent=") + vec(e.getHalfExtent());
    if (s.hasPullOut)
        line += QStringLiteral(" pullout=") + vec(s.pullOutPoint) + QStringLiteral(" first_kink=") + flag(s.firstKink);
    if (s.hasLabel) {
        line += QStringLiteral(" label_visible=") + flag(s.label.visible) + QStringLiteral(" label_auto=") +
                flag(s.label.autoPlacement) + QStringLiteral(" label_connector=") + flag(s.label.connector) +
                QStringLiteral(" label_origin=") + vec(s.label.originOffset) + QStringLiteral(" label_position=") +
                vec(s.label.position);
        // Kept as arg() calls one after another, which a '%' in the template takes part in.
        line += QStringLiteral(" label_template=%1 label_font=%2 label_frame=%3")
                    .arg(quoted(s.label.content))
                    .arg(s.label.fontSize)
                    .arg(flag(s.label.frame));
    }
    if (auto const* section = dynamic_cast<CAD::SectionInsp2d const*>(&e)) {
        line += QStringLiteral(" sampling=") + (s.autoSampling ? QStringLiteral("auto") : number(s.sampling)) +
                QStringLiteral(" radius=") + number(section->getRadius()) + QStringLiteral(" samples=") +
                QString::number(section->getSamplePoints().size());
    }
    return line;
}

QByteArray streamBytes(PropertyAccess::PropertyAccessBase const& a)
{
    QByteArray bytes;
    IO::OutStream out(&bytes, KString("ACCESS"), 1);
    a.saveStream(&out);
    out.close();
    return bytes;
}

// What an access keeps across a save and a load: its stream form read back into a fresh
// access of its type and written again. A format may write a field it never reads back
// (the legend's position), so the bytes of the access itself would tell a reloaded project
// from the one that was saved although both restore the same.
QByteArray keptBytes(PropertyAccess::PropertyAccessBase const& a)
{
    QByteArray const first = streamBytes(a);
    std::unique_ptr<PropertyAccess::PropertyAccessBase> fresh(PropertyAccess::PropertyAccessFactory::create(a.getType()));
    if (!fresh)
        return first;
    IO::InStream in(first);
    if (fresh->loadStream(&in) != fresh->getNumberOfBlocks())
        return first;
    return streamBytes(*fresh);
}

// The accesses a report holds, as their types, explorer names and a digest of what they
// keep, so that a changed or lost access shows.
QString reportLine(CAD::Report& r)
{
    QString line = QStringLiteral("report name=%1 view=%2 dont_update=%3 accesses=%4")
                       .arg(quoted(r.getName()), quoted(r.getViewName()), flag(r.dontUpdateSnapshot()))
                       .arg(r.getCreationPropertyAccess().size());
    QCryptographicHash hash(QCryptographicHash::Sha1);
    QStringList kinds;
    for (PropertyAccess::PropertyAccessBase const* a : r.getCreationPropertyAccess()) {
        if (a == nullptr)
            continue;
        kinds << QStringLiteral("%1:%2").arg(a->getType()).arg(quoted(a->getExplorerName()));
        QByteArray bytes;
        try {
            bytes = keptBytes(*a);
        } catch (IO::StreamException const& e) {
            bytes = QByteArrayLiteral("unsaveable: ") + e.getText().toUtf8();
        }
        hash.addData(bytes);
        for (auto const& f : a->getUsageFlags()) {
            QByteArray const u = QByteArray::number(f.first) + (f.second ? '1' : '0');
            hash.addData(u);
        }
    }
    line += QStringLiteral(" targets=[%1] data=%2")
                .arg(kinds.join(QStringLiteral(", ")), QString::fromLatin1(hash.result().toHex().left(16)));
    return line;
}

} // namespace

QString dumpState(Scene& scene)
{
    QStringList lines;
    GL::ViewCreator const* view = scene.viewCreator();
    lines << QStringLiteral("view rotation=%1 translation=%2 axis_scale=%3 scale=%4")
                 .arg(vec(view->getRotation()), vec(view->getTranslation()), vec(view->getAxisScale()),
                      number(view->getScale()));
    GL::RenderObject const* render = scene.renderObject();
    lines << QStringLiteral("render rotation=%1 translation=%2 axis_scale=%3 scale=%4")
                 .arg(vec(render->getRotation()), vec(render->getTranslation()), vec(render->getAxisScale()),
                      number(render->getScale()));
    GLegend2::GlobalLegend const* legend = scene.legend();
    lines << QStringLiteral("legend data=%1 range=(%2 %3) steps=%4 visible=%5 map=%6 position=%7")
                 .arg(flag(scene.hasLegendData()), number(legend->getMinimum()), number(legend->getMaximum()))
                 .arg(legend->getSteps())
                 .arg(flag(legend->isLegendVisible()), legend->getColorMap(), vec(legend->getPosition()));
    for (CAD::Element* e : scene.elements())
        lines << elementLine(*e);
    for (CAD::Report* r : scene.reports())
        lines << reportLine(*r);
    std::sort(lines.begin(), lines.end());
    QString text = lines.join(QLatin1Char('\n'));
    text += QLatin1Char('\n');
    return text;
}

} // namespace MCADCmd
} // namespace Kav
