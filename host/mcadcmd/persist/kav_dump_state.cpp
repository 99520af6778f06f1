#include "mcadcmd/scene/kav_scene.h"

#include "glabel/kav_label_element.h"
#include "io/kav_stream.h"
#include "mcadcmd/scene/kav_scene_state_p.h"
#include "propertyaccess/kav_property_access_base.h"
#include "propertyaccess/kav_property_access_factory.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <algorithm>
#include <memory>
#include <utility>

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
// Appends " key=value" pieces straight into one line: the dump makes a line per element.
class Line {
public:
    explicit Line(QString start)
        : text_(std::move(start))
    {
        text_.reserve(400);
    }
    Line& add(char const* key, QString const& value)
    {
        text_ += QLatin1Char(' ');
        text_ += QLatin1String(key);
        text_ += QLatin1Char('=');
        text_ += value;
        return *this;
    }
    // The same text as vec(), which the other lines use.
    Line& add(char const* key, BaVec3d<double> const& v)
    {
        return add(key, QString()).number(v.x, '(').number(v.y, ' ').number(v.z, ' ').close();
    }
    Line& add(char const* key, BaVec2d<double> const& v)
    {
        return add(key, QString()).number(v.x, '(').number(v.y, ' ').close();
    }
    QString& text() { return text_; }

private:
    Line& number(double x, char before)
    {
        text_ += QLatin1Char(before);
        text_ += Detail::number(x);
        return *this;
    }
    Line& close()
    {
        text_ += QLatin1Char(')');
        return *this;
    }

    QString text_;
};

QString elementLine(CAD::Element& e)
{
    Detail::ElementState const s = Detail::ElementState::capture(e);
    Line line(QStringLiteral("element"));
    line.add("name", quoted(s.name)).add("type", CAD::ElementCreator::getTypeName(e.getElementType()));
    if (e.getParent() != nullptr)
        line.add("parent", quoted(e.getParent()->getName()));
    line.add("visible", flag(s.visible)).add("valid", flag(s.valid));
    line.add("color", Detail::colorText(s.prop.color))
        .add("transparency", number(s.prop.transparency))
        .add("point_size", number(s.prop.pointSize))
        .add("line_width", number(s.prop.lineWidth))
        .add("display_mode", QString::number(s.prop.displayMode));
    line.add("center", s.center).add("extent", s.halfExtent);
    if (s.hasPullOut)
        line.add("pullout", s.pullOutPoint).add("first_kink", flag(s.firstKink));
    if (s.hasLabel) {
        line.add("label_visible", flag(s.label.visible))
            .add("label_auto", flag(s.label.autoPlacement))
            .add("label_connector", flag(s.label.connector))
            .add("label_origin", s.label.originOffset)
            .add("label_position", s.label.position);
        // Kept as arg() calls one after another, which a '%' in the template takes part in.
        line.text() += QStringLiteral(" label_template=%1 label_font=%2 label_frame=%3")
                           .arg(quoted(s.label.content))
                           .arg(s.label.fontSize)
                           .arg(flag(s.label.frame));
    }
    if (auto const* section = dynamic_cast<CAD::SectionInsp2d const*>(&e)) {
        line.add("sampling", s.autoSampling ? QStringLiteral("auto") : number(s.sampling))
            .add("radius", number(section->getRadius()))
            .add("samples", QString::number(section->getSamplePoints().size()));
    }
    return line.text();
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
