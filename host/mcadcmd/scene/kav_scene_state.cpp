#include "mcadcmd/scene/kav_scene_state_p.h"
#include "core/kav_translate.h"

#include "core/kav_errors.h"
#include "core/kav_limits.h"
#include "glabel/kav_label_element.h"
#include "mcadcmd/scene/kav_scene.h"
#include "parse/kav_parse.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <set>

namespace Kav {
namespace MCADCmd {
namespace Detail {

QString vec(BaVec2d<double> const& v)
{
    QString out;
    out.reserve(50);
    out += QLatin1Char('(');
    out += numberText(v.x);
    out += QLatin1Char(' ');
    out += numberText(v.y);
    out += QLatin1Char(')');
    return out;
}

QString vec(BaVec3d<double> const& v)
{
    QString out;
    out.reserve(75);
    out += QLatin1Char('(');
    out += numberText(v.x);
    out += QLatin1Char(' ');
    out += numberText(v.y);
    out += QLatin1Char(' ');
    out += numberText(v.z);
    out += QLatin1Char(')');
    return out;
}

QString quoted(QString const& text)
{
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else
            out += c;
    }
    out += QLatin1Char('"');
    return out;
}

bool parseColor(QString const& text, quint32* rgb)
{
    if (text.size() != 7 || text.at(0) != QLatin1Char('#'))
        return false;
    bool ok = false;
    uint const v = text.mid(1).toUInt(&ok, 16);
    for (QChar c : text.mid(1)) {
        if (!c.isDigit() && !(c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f')))
            return false;
    }
    if (!ok)
        return false;
    *rgb = v;
    return true;
}

std::vector<ElementCopy> copySubtree(Scene& scene, QString const& name)
{
    std::vector<ElementCopy> out;
    CAD::Element* root = scene.findElement(name);
    if (root == nullptr || scene.isReport(name))
        return out;
    std::set<CAD::Element const*> inside{root};
    long index = 0;
    for (CAD::Element* e : scene.elements()) {
        bool const take = e == root || (e->getParent() != nullptr && inside.count(e->getParent()) != 0);
        if (take) {
            inside.insert(e);
            ElementCopy c;
            c.index = index;
            c.state = ElementState::capture(*e);
            out.push_back(c);
        }
        ++index;
    }
    return out;
}

void restoreCopies(Scene& scene, std::vector<ElementCopy> const& copies)
{
    for (ElementCopy const& c : copies) {
        if (std::unique_ptr<CAD::Element> e = c.state.create(scene.stage()))
            scene.insertElement(std::move(e), c.state.parent, static_cast<std::size_t>(c.index));
    }
}

VisualState capture(Scene& scene)
{
    VisualState v;
    GL::ViewCreator const* view = scene.viewCreator();
    v.rotation = view->getRotation();
    v.translation = view->getTranslation();
    v.axisScale = view->getAxisScale();
    v.scale = view->getScale();
    GL::RenderObject const* render = scene.renderObject();
    v.renderRotation = render->getRotation();
    v.renderTranslation = render->getTranslation();
    v.renderAxisScale = render->getAxisScale();
    v.renderScale = render->getScale();
    v.legendData = scene.legend()->getStreamData();
    v.legendPosition = scene.legend()->getPosition();
    v.hasLegendData = scene.hasLegendData();
    return v;
}

void apply(Scene& scene, VisualState const& v)
{
    GL::ViewCreator* view = scene.viewCreator();
    view->setRotation(v.rotation);
    view->setTranslation(v.translation);
    view->setAxisScale(v.axisScale);
    view->setScale(v.scale);
    view->setMainViewDirectionFromTransformation();
    GL::RenderObject* render = scene.renderObject();
    render->setRotation(v.renderRotation);
    render->setTranslation(v.renderTranslation);
    render->setAxisScale(v.renderAxisScale);
    render->setScale(v.renderScale);
    scene.legend()->setStreamData(v.legendData);
    scene.legend()->setPosition(v.legendPosition);
    scene.setHasLegendData(v.hasLegendData);
    Scene::Batch batch(scene);
    scene.viewChanged();
    scene.legendChanged();
}

namespace {

// A number of parameter `key`, refused outside `range` so that nothing derived from it
// overflows.
double toNumber(QString const& key, QString const& text, Limits::Range const& range)
{
    bool ok = false;
    double const v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        throw ParamError(translate("Kav::MCADCmd", "%1: \"%2\" is not a finite number").arg(key, text));
    if (!range.contains(v))
        throw ParamError(translate("Kav::MCADCmd", "%1: %2 is outside %3..%4")
                             .arg(key, numberText(v), numberText(range.min), numberText(range.max)));
    return v;
}

std::optional<double> takeNumber(QString& params, QString const& key, Limits::Range const& range)
{
    if (!Parse::hasKey(params, key))
        return std::nullopt;
    return toNumber(key, Parse::getString(params, key), range);
}

std::optional<bool> takeBool(QString& params, QString const& key)
{
    if (!Parse::hasKey(params, key))
        return std::nullopt;
    return Parse::getBool(params, key);
}

std::optional<QString> takeString(QString& params, QString const& key)
{
    if (!Parse::hasKey(params, key))
        return std::nullopt;
    return Parse::getString(params, key);
}

std::optional<BaVec2d<double>> takeVec2(QString& params, QString const& key, Limits::Range const& range)
{
    if (!Parse::hasKey(params, key))
        return std::nullopt;
    QStringList const l = Parse::getStringVector(params, key, 2, 2);
    return BaVec2d<double>(toNumber(key, l[0], range), toNumber(key, l[1], range));
}

std::optional<BaVec3d<double>> takeVec3(QString& params, QString const& key, Limits::Range const& range)
{
    if (!Parse::hasKey(params, key))
        return std::nullopt;
    QStringList const l = Parse::getStringVector(params, key, 3, 3);
    return BaVec3d<double>(toNumber(key, l[0], range), toNumber(key, l[1], range), toNumber(key, l[2], range));
}

unsigned int toDisplayMode(QString const& text)
{
    if (text == QLatin1String("shaded") || text == QLatin1String("0"))
        return CAD::DISPLAY_SHADED;
    if (text == QLatin1String("wireframe") || text == QLatin1String("1"))
        return CAD::DISPLAY_WIREFRAME;
    if (text == QLatin1String("points") || text == QLatin1String("2"))
        return CAD::DISPLAY_POINTS;
    throw ParamError(translate("Kav::MCADCmd", "display_mode: \"%1\" is not shaded, wireframe or points").arg(text));
}

} // namespace

void applyElementSettings(Scene& scene, CAD::Element* element, QString& params)
{
    if (element == nullptr)
        return;
    // Everything is read and checked before anything changes.
    std::optional<bool> const visible = takeBool(params, QStringLiteral("visible"));
    std::optional<QString> const color = takeString(params, QStringLiteral("color"));
    std::optional<double> const transparency = takeNumber(params, QStringLiteral("transparency"), Limits::Range{0.0, 1.0});
    std::optional<QString> const displayMode = takeString(params, QStringLiteral("display_mode"));
    std::optional<double> const pointSize = takeNumber(params, QStringLiteral("point_size"), Limits::PIXEL_SIZE);
    std::optional<double> const lineWidth = takeNumber(params, QStringLiteral("line_width"), Limits::PIXEL_SIZE);
    std::optional<BaVec3d<double>> const pullout = takeVec3(params, QStringLiteral("pullout"), Limits::COORDINATE);
    std::optional<bool> const firstKink = takeBool(params, QStringLiteral("first_kink"));
    std::optional<bool> const labelVisible = takeBool(params, QStringLiteral("label_visible"));
    std::optional<bool> const labelAuto = takeBool(params, QStringLiteral("label_auto"));
    std::optional<QString> const labelTemplate = takeString(params, QStringLiteral("label_template"));
    std::optional<BaVec2d<double>> const labelOffset = takeVec2(params, QStringLiteral("label_offset"), Limits::OVERLAY);
    std::optional<BaVec2d<double>> const labelPosition = takeVec2(params, QStringLiteral("label_position"), Limits::OVERLAY);
    std::optional<BaVec3d<double>> const labelOrigin = takeVec3(params, QStringLiteral("label_origin"), Limits::COORDINATE);
    std::optional<double> const labelFont = takeNumber(params, QStringLiteral("label_font"), Limits::Range{1.0, GLabel::LabelTemplate::MAX_FONT_SIZE});
    std::optional<bool> const labelFrame = takeBool(params, QStringLiteral("label_frame"));
    std::optional<bool> const labelConnector = takeBool(params, QStringLiteral("label_connector"));
    std::optional<QString> const sampling = takeString(params, QStringLiteral("sampling"));
    std::optional<bool> const valid = takeBool(params, QStringLiteral("valid"));
    std::optional<BaVec3d<double>> const center = takeVec3(params, QStringLiteral("center"), Limits::COORDINATE);
    std::optional<BaVec3d<double>> const extent = takeVec3(params, QStringLiteral("extent"), Limits::COORDINATE);
    std::optional<double> const radius = takeNumber(params, QStringLiteral("radius"), Limits::POSITIVE_LENGTH);

    quint32 rgb = 0;
    if (color && !parseColor(*color, &rgb))
        throw ParamError(translate("Kav::MCADCmd", "color: \"%1\" is not of the form #rrggbb").arg(*color));
    unsigned int mode = 0;
    if (displayMode)
        mode = toDisplayMode(*displayMode);
    if (labelFont && std::floor(*labelFont) != *labelFont)
        throw ParamError(translate("Kav::MCADCmd", "label_font must be a whole number in 1..%1").arg(GLabel::LabelTemplate::MAX_FONT_SIZE));
    bool const isSection = dynamic_cast<CAD::SectionInsp2d*>(element) != nullptr;
    if (sampling && !isSection)
        throw ParamError(translate("Kav::MCADCmd", "sampling: \"%1\" is no 2D section inspection").arg(element->getName()));
    if (radius && !isSection)
        throw ParamError(translate("Kav::MCADCmd", "radius: only a 2D section inspection has one"));

    ElementState s = ElementState::capture(*element);
    if (visible)
        s.visible = *visible;
    if (valid)
        s.valid = *valid;
    if (color)
        s.prop.color = rgb;
    if (transparency)
        s.prop.transparency = *transparency;
    if (displayMode)
        s.prop.displayMode = mode;
    if (pointSize)
        s.prop.pointSize = *pointSize;
    if (lineWidth)
        s.prop.lineWidth = *lineWidth;
    if (center)
        s.center = *center;
    if (extent)
        s.halfExtent = *extent;
    if (pullout || firstKink) {
        s.hasPullOut = true;
        if (pullout)
            s.pullOutPoint = *pullout;
        if (firstKink)
            s.firstKink = *firstKink;
    }
    bool const anyLabel = labelVisible || labelAuto || labelTemplate || labelOffset || labelPosition || labelOrigin ||
                          labelFont || labelFrame || labelConnector;
    if (anyLabel && !s.hasLabel) {
        // What a new label starts from, where the keys given do not say.
        s.hasLabel = true;
        s.label = LabelState::capture(LabelElement(element));
    }
    if (labelVisible)
        s.label.visible = *labelVisible;
    if (labelAuto)
        s.label.autoPlacement = *labelAuto;
    if (labelTemplate)
        s.label.content = *labelTemplate;
    if (labelOrigin)
        s.label.originOffset = *labelOrigin;
    if (labelFont)
        s.label.fontSize = static_cast<unsigned int>(*labelFont);
    if (labelFrame)
        s.label.frame = *labelFrame;
    if (labelConnector)
        s.label.connector = *labelConnector;
    if (labelPosition)
        s.label.position = *labelPosition;
    if (radius)
        s.radius = *radius;
    if (sampling) {
        s.autoSampling = *sampling == QLatin1String("auto");
        if (!s.autoSampling)
            s.sampling = toNumber(QStringLiteral("sampling"), *sampling, Limits::POSITIVE_LENGTH);
    }
    if (!s.canSample())
        throw ParamError(translate("Kav::MCADCmd", "sampling %1 gives more than %2 samples")
                             .arg(s.sampling)
                             .arg(CAD::SectionInsp2d::MAX_SAMPLE_COUNT));

    s.applyTo(*element, scene.stage());
    if (anyLabel) {
        // The offset is from where the label's anchor is now drawn.
        LabelElement* l = element->getLabel();
        l->updateFigureElements(scene.stage(), 0, scene.renderObject()->get3d2dTransformation(), 0.0);
        if (labelOffset)
            l->setPosition(l->getAnchor2d() + *labelOffset);
        l->getLabelFigText()->updateForStage(scene.stage(), 0, 0);
    }
    scene.elementChanged(element->getName());
}

void applyLegendSettings(Scene& scene, QString& params)
{
    std::optional<BaVec2d<double>> const range = takeVec2(params, QStringLiteral("range"), Limits::DEVIATION);
    std::optional<double> const steps = takeNumber(params, QStringLiteral("steps"), Limits::Range{2.0, GLegend2::GlobalLegend::MAX_STEPS});
    std::optional<bool> const visible = takeBool(params, QStringLiteral("visible"));
    std::optional<BaVec2d<double>> const position = takeVec2(params, QStringLiteral("position"), Limits::OVERLAY);
    std::optional<QString> const map = takeString(params, QStringLiteral("map"));
    std::optional<bool> const data = takeBool(params, QStringLiteral("data"));

    GLegend2::GlobalLegend probe;
    probe.setStreamData(scene.legend()->getStreamData());
    if (range && !probe.setRange(range->x, range->y))
        throw ParamError(translate("Kav::MCADCmd", "range: the second value must exceed the first by at least %1")
                             .arg(numberText(Limits::MIN_LEGEND_WIDTH)));
    if (steps && (std::floor(*steps) != *steps || !probe.setSteps(static_cast<unsigned int>(*steps))))
        throw ParamError(translate("Kav::MCADCmd", "steps: a whole number in 2..%1").arg(GLegend2::GlobalLegend::MAX_STEPS));
    if (map && !probe.setColorMap(*map))
        throw ParamError(translate("Kav::MCADCmd", "map: \"%1\" is not rainbow, grey or signal").arg(*map));
    if (visible)
        probe.setLegendVisible(*visible);
    scene.legend()->setStreamData(probe.getStreamData());
    if (position)
        scene.legend()->setPosition(*position);
    if (data)
        scene.setHasLegendData(*data);
    scene.legendChanged();
}

void applyViewSettings(Scene& scene, QString& params)
{
    std::optional<BaVec3d<double>> const rotation = takeVec3(params, QStringLiteral("rotation"), Limits::ANGLE);
    std::optional<BaVec3d<double>> const translation = takeVec3(params, QStringLiteral("translation"), Limits::COORDINATE);
    std::optional<BaVec3d<double>> const axisScale = takeVec3(params, QStringLiteral("axis_scale"), Limits::AXIS_SCALE);
    std::optional<double> const scale = takeNumber(params, QStringLiteral("scale"), Limits::SCALE);
    GL::ViewCreator* view = scene.viewCreator();
    GL::RenderObject* render = scene.renderObject();
    if (rotation) {
        view->setRotation(*rotation);
        render->setRotation(*rotation);
    }
    if (translation) {
        view->setTranslation(*translation);
        render->setTranslation(*translation);
    }
    if (axisScale) {
        view->setAxisScale(*axisScale);
        render->setAxisScale(*axisScale);
    }
    if (scale) {
        view->setScale(*scale);
        render->setScale(*scale);
    }
    view->setMainViewDirectionFromTransformation();
    scene.viewChanged();
}

} // namespace Detail
} // namespace MCADCmd
} // namespace Kav
