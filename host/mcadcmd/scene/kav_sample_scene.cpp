#include "mcadcmd/scene/kav_scene.h"

#include "core/kav_error_log.h"
#include "core/kav_errors.h"
#include "core/kav_progress.h"
#include "core/kav_translate.h"
#include "glabel/kav_label_element.h"
#include "mcadcmd/scene/kav_scene_state_p.h"
#include "parse/kav_parse.h"

#include <QFile>

#include <cmath>

namespace Kav {
namespace MCADCmd {

namespace {

// A copy of examples/sample_scene.kavscene, so the host has its sample without the file.
char const* const BUILT_IN_SAMPLE = R"SAMPLE(
view rotation=["-30", "0", "35"] translation=["0", "0", "0"] axis_scale=["1", "1", "1"] scale="4"
legend range=["-0.5", "0.5"] steps="12" map="rainbow" visible="1" position=["680", "60"]
element name="Bracket" type="part" color="#a0a4b0" transparency="0.2" center=["0", "0", "0"] extent=["60", "40", "10"]
element name="Datum A" type="plane" parent="Bracket" color="#3060c0" center=["0", "0", "-10"] extent=["60", "40", "0"] display_mode="wireframe"
element name="Datum B" type="plane" parent="Bracket" color="#3060c0" center=["-60", "0", "0"] extent=["0", "40", "10"] display_mode="wireframe"
element name="Datum C" type="plane" parent="Bracket" color="#3060c0" center=["0", "-40", "0"] extent=["60", "0", "10"] display_mode="wireframe"
element name="Hole 1" type="circle" parent="Bracket" color="#e0a020" center=["-40", "20", "10"] extent=["6", "6", "0"] line_width="2"
element name="Hole 2" type="circle" parent="Bracket" color="#e0a020" center=["40", "20", "10"] extent=["6", "6", "0"] line_width="2"
element name="Hole 3" type="circle" parent="Bracket" color="#e0a020" center=["0", "-20", "10"] extent=["8", "8", "0"] line_width="2" label_template="%name%" label_origin=["0", "0", "2"]
element name="Bore" type="cylinder" parent="Bracket" color="#c06020" center=["0", "20", "0"] extent=["10", "10", "10"] label_template="%name%: %type%"
element name="P1" type="point" color="#20a040" center=["-55", "-35", "10"] extent=["0", "0", "0"] point_size="5"
element name="P2" type="point" color="#20a040" center=["55", "-35", "10"] extent=["0", "0", "0"] point_size="5" valid="0"
element name="P3" type="point" color="#20a040" center=["55", "35", "10"] extent=["0", "0", "0"] point_size="5"
element name="P4" type="point" color="#20a040" center=["-55", "35", "10"] extent=["0", "0", "0"] point_size="5" visible="0"
element name="Flatness Top" type="surface_inspection" color="#40c0c0" center=["0", "0", "10"] extent=["60", "40", "0"] transparency="0.5" label_template="%name%" label_auto="0" label_position=["120", "80"]
element name="Surface Left" type="surface_inspection" color="#40c0c0" center=["-60", "0", "0"] extent=["0", "40", "10"] transparency="0.5"
element name="Section X" type="section_inspection_2d" color="#c040c0" center=["0", "0", "5"] radius="30" sampling="auto" label_template="%name% max %value%"
element name="Section Y" type="section_inspection_2d" color="#c040c0" center=["0", "0", "-5"] radius="18" sampling="2"
element name="Width" type="distance" color="#202020" center=["0", "-45", "10"] extent=["60", "0", "0"] pullout=["0", "-55", "10"] first_kink="1" label_template="%name%: %value%" label_frame="0"
element name="Height" type="distance" color="#202020" center=["65", "0", "0"] extent=["0", "0", "10"] label_template="%name%: %value%" label_font="12"
element name="Hole Distance" type="distance" color="#202020" center=["0", "20", "12"] extent=["40", "0", "0"] label_template="%name%: %value%" label_visible="0"
element name="Scan Region" type="folder"
element name="Scan Patch" type="surface_inspection" parent="Scan Region" color="#80c040" center=["30", "-10", "10"] extent=["20", "15", "0"]
)SAMPLE";

constexpr qint64 MAX_SAMPLE_FILE = 16 * 1024 * 1024;

// Labels are placed for the view the scene ends with.
void settle(Scene& scene)
{
    Transformation const t = scene.renderObject()->get3d2dTransformation();
    for (CAD::Element* e : scene.elements()) {
        if (LabelElement* l = e->getLabel())
            l->updateFigureElements(scene.stage(), 0, t, 0.0);
    }
    scene.overlay()->repositionLabels();
    scene.notifyChanged();
}

// Builds the scene from the text; throws ParamError naming the line on bad input.
void build(Scene& scene, QString const& text)
{
    Scene::Batch batch(scene);
    scene.clear();
    QStringList const lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        int const space = static_cast<int>(line.indexOf(QLatin1Char(' ')));
        QString const keyword = space < 0 ? line : line.left(space);
        QString params = space < 0 ? QString() : line.mid(space + 1);
        try {
            if (keyword == QLatin1String("view")) {
                Detail::applyViewSettings(scene, params);
            } else if (keyword == QLatin1String("legend")) {
                Detail::applyLegendSettings(scene, params);
            } else if (keyword == QLatin1String("element")) {
                QString const name = Parse::getString(params, QStringLiteral("name"));
                QString type = QStringLiteral("part");
                if (Parse::hasKey(params, QStringLiteral("type")))
                    type = Parse::getString(params, QStringLiteral("type"));
                QString parent;
                if (Parse::hasKey(params, QStringLiteral("parent")))
                    parent = Parse::getString(params, QStringLiteral("parent"));
                unsigned int const code = CAD::ElementCreator::getTypeFromName(type);
                if (code == CAD::ElementCreator::UNKNOWN_TYPE || code == CAD::ElementCreator::REPORT)
                    throw ParamError(translate("Kav::MCADCmd", "type: \"%1\" is no element type").arg(type));
                if (name.isEmpty() || scene.findElement(name) != nullptr)
                    throw ParamError(translate("Kav::MCADCmd", "name: \"%1\" is empty or taken").arg(name));
                if (!parent.isEmpty() && (scene.findElement(parent) == nullptr || scene.isReport(parent)))
                    throw ParamError(translate("Kav::MCADCmd", "parent: \"%1\" is no element before this line").arg(parent));
                CAD::Element* e = scene.addElement(CAD::ElementCreator::create(code, name), parent);
                Detail::applyElementSettings(scene, e, params);
            } else {
                throw ParamError(translate("Kav::MCADCmd", "\"%1\" is not element, legend or view").arg(keyword));
            }
            Parse::checkEmptyParameters(params);
        } catch (ParamError const& e) {
            throw ParamError(translate("Kav::MCADCmd", "line %1: %2").arg(i + 1).arg(e.getText()));
        }
    }
    settle(scene);
}

} // namespace

bool loadSampleScene(Scene& scene, QString const& file, ErrorLog* log)
{
    QString text;
    if (file.isEmpty()) {
        text = QString::fromUtf8(BUILT_IN_SAMPLE);
    } else {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) {
            if (log != nullptr)
                *log << translate("Kav::MCADCmd", "cannot open the sample scene \"%1\": %2").arg(file, f.errorString()) << END_LOG;
            return false;
        }
        if (f.size() > MAX_SAMPLE_FILE) {
            if (log != nullptr)
                *log << translate("Kav::MCADCmd", "the sample scene \"%1\" is larger than %2 bytes").arg(file).arg(MAX_SAMPLE_FILE)
                     << END_LOG;
            return false;
        }
        text = QString::fromUtf8(f.read(MAX_SAMPLE_FILE));
    }
    // A trial build first, so that a bad file leaves the scene as it was.
    try {
        Scene trial;
        build(trial, text);
    } catch (ParamError const& e) {
        if (log != nullptr)
            *log << QStringLiteral("%1: %2").arg(file.isEmpty() ? QStringLiteral("built-in sample") : file, e.getText())
                 << END_LOG;
        return false;
    } catch (ProgError const& e) {
        if (log != nullptr)
            *log << QStringLiteral("%1: %2").arg(file, e.getText()) << END_LOG;
        return false;
    }
    build(scene, text);
    return true;
}

void generateScene(Scene& scene, unsigned int elementCount)
{
    static unsigned int const types[] = {
        CAD::ElementCreator::POINT,    CAD::ElementCreator::PLANE,    CAD::ElementCreator::CIRCLE,
        CAD::ElementCreator::CYLINDER, CAD::ElementCreator::DISTANCE, CAD::ElementCreator::SURFACE_INSPECTION,
        CAD::ElementCreator::SECTION_INSPECTION_2D};
    constexpr unsigned int typeCount = sizeof types / sizeof types[0];
    Scene::Batch batch(scene);
    Progress progress(Kav::translate("KavHost", "Generating the scene"), elementCount);
    scene.clear();
    scene.reserve(elementCount);
    for (unsigned int i = 1; i <= elementCount; ++i) {
        progress.advance(i);
        QString const name = QStringLiteral("E%1").arg(i, 6, 10, QLatin1Char('0'));
        unsigned int const type = types[(i - 1) % typeCount];
        std::unique_ptr<CAD::Element> e = CAD::ElementCreator::create(type, name);
        // A grid of 100 x 100 x n, with colours and properties that vary but repeat.
        double const x = static_cast<double>((i - 1) % 100) * 10.0;
        double const y = static_cast<double>(((i - 1) / 100) % 100) * 10.0;
        double const z = static_cast<double>((i - 1) / 10000) * 10.0;
        e->setGeometry(BaVec3d<double>(x, y, z), BaVec3d<double>(2.0, 2.0, 2.0));
        CAD::ElemProp* p = e->getElemProperties();
        p->color = (i * 2654435761u) & 0xFFFFFFu;
        p->transparency = static_cast<double>(i % 5) / 10.0;
        p->displayMode = i % CAD::DISPLAY_MODE_COUNT;
        if (i % 13 == 0)
            e->setValid(false);
        if (i % 11 == 0)
            e->setElementVisible(false);
        if (type == CAD::ElementCreator::DISTANCE)
            e->setPullOut(std::make_unique<CAD::DistPullOut>(BaVec3d<double>(x, y - 5.0, z), i % 2 == 0));
        if (i % 5 == 0) {
            auto l = std::make_unique<LabelElement>(e.get());
            l->setContentTemplate(QStringLiteral("%name%: %value%"));
            l->setAutoLabelPlacement(i % 10 != 0);
            l->setPosition(BaVec2d<double>(x, y));
            e->setLabel(std::move(l));
        }
        if (auto* s = dynamic_cast<CAD::SectionInsp2d*>(e.get())) {
            s->setRadius(4.0);
            s->setSampling(i % 2 == 0, 1.0);
            s->resample(scene.stage(), true);
            s->updateDistances(scene.stage(), -1, -1);
        }
        scene.addElement(std::move(e));
    }
    settle(scene);
}

} // namespace MCADCmd
} // namespace Kav
