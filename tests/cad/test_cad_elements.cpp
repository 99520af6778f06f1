#include "cad/kav_element.h"
#include "cad/kav_record_manager.h"
#include "core/kav_error_log.h"
#include "core/kav_errors.h"
#include "fig2/kav_fig2.h"
#include "gcad/kav_gcad.h"
#include "gcad/kav_label_layout.h"
#include "gl/kav_view.h"
#include "glabel/kav_label_element.h"
#include "glegend2/kav_global_legend.h"
#include "io/kav_stream.h"
#include "mcadcmd/kav_host_session.h"
#include "mvp_stream_bytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

using namespace Kav;

namespace {

TEST(CadElement, VisibilityFollowsTheParents)
{
    MCADCmd::Scene scene;
    CAD::Element* a = scene.addElement(std::make_unique<CAD::Element>(QStringLiteral("A"), CAD::ElementCreator::PART));
    scene.addElement(std::make_unique<CAD::Element>(QStringLiteral("B"), CAD::ElementCreator::PLANE), QStringLiteral("A"));
    CAD::Element* c =
        scene.addElement(std::make_unique<CAD::Element>(QStringLiteral("C"), CAD::ElementCreator::POINT), QStringLiteral("B"));
    a->setElementVisible(false);
    EXPECT_TRUE(c->isVisible(CAD::VISIBLE_OWN));
    EXPECT_FALSE(c->isVisible(CAD::VISIBLE_IN_SCENE));
    EXPECT_THROW(scene.addElement(std::make_unique<CAD::Element>(QStringLiteral("C"), 1)), ProgError);
    EXPECT_THROW(scene.addElement(std::make_unique<CAD::Element>(QStringLiteral("D"), 1), QStringLiteral("Nobody")),
                 ProgError);
    EXPECT_THROW(scene.addElement(std::make_unique<CAD::Element>(QStringLiteral("D"), 1), QStringLiteral("D")), ProgError);
    EXPECT_EQ(scene.findElement(QStringLiteral("D")), nullptr);
    EXPECT_NO_THROW(scene.addElement(std::make_unique<CAD::Element>(QStringLiteral("D"), 1))) << "a refused name stays free";
    EXPECT_TRUE(scene.removeElement(QStringLiteral("D")));
    scene.setSelection(QStringList{QStringLiteral("C"), QStringLiteral("Nobody"), QStringLiteral("A")});
    EXPECT_EQ(scene.selection(), (QStringList{QStringLiteral("C"), QStringLiteral("A")}));
    EXPECT_EQ(scene.findElement(QStringLiteral("C")), c);
    EXPECT_TRUE(scene.removeElement(QStringLiteral("B")));
    EXPECT_EQ(scene.findElement(QStringLiteral("C")), nullptr) << "a removed child is not found";
    EXPECT_EQ(scene.selection(), QStringList{QStringLiteral("A")});
    EXPECT_FALSE(scene.removeElement(QStringLiteral("B")));
    // The same name again is the new element, whatever was looked up before.
    CAD::Element* newC = scene.addElement(std::make_unique<CAD::Element>(QStringLiteral("C"), CAD::ElementCreator::PLANE));
    EXPECT_EQ(scene.findElement(QStringLiteral("C")), newC);
    EXPECT_EQ(scene.findElement(QStringLiteral("A")), a);
    scene.clear();
    EXPECT_EQ(scene.findElement(QStringLiteral("A")), nullptr);
}

} // namespace

TEST(CadElement, SectionKeepsNoSamplesOrDistancesOfOtherInputs)
{
    // A section with no history, as the reference for each state below.
    auto fresh = [](BaVec3d<double> const& c, double radius) {
        auto r = std::make_unique<CAD::SectionInsp2d>(QStringLiteral("R"));
        r->setGeometry(c, BaVec3d<double>(1.0, 1.0, 1.0));
        r->setRadius(radius);
        r->resample(StageIdentifier(), true);
        r->updateDistances(StageIdentifier(), -1, -1);
        return r;
    };
    BaVec3d<double> const c1(5.0, -3.0, 2.0), c2(-7.5, 4.25, 2.0);
    CAD::SectionInsp2d s(QStringLiteral("S"));
    auto step = [&s](BaVec3d<double> const& c, double radius, bool resample) {
        s.setGeometry(c, BaVec3d<double>(1.0, 1.0, 1.0));
        s.setRadius(radius);
        if (resample)
            s.resample(StageIdentifier(), true);
        s.updateDistances(StageIdentifier(), -1, -1);
    };
    struct Case {
        char const* what;
        BaVec3d<double> center;
        double radius;
        bool resample;
    };
    Case const cases[] = {
        {"first sampling", c1, 10.0, true},   {"same inputs again", c1, 10.0, true},
        {"moved", c2, 10.0, true},            {"moved back", c1, 10.0, true},
        {"other radius", c1, 4.0, true},      {"resampled unchanged", c1, 4.0, true},
        {"measured from elsewhere", c2, 4.0, false},
    };
    for (Case const& k : cases) {
        step(k.center, k.radius, k.resample);
        if (k.resample) {
            auto const r = fresh(k.center, k.radius);
            EXPECT_EQ(s.getSamplePoints(), r->getSamplePoints()) << k.what;
            EXPECT_EQ(s.getDistances(), r->getDistances()) << k.what;
        }
    }
    // Distances measured from c2 on samples around c1 must not come back for c1.
    step(c1, 4.0, true);
    EXPECT_EQ(s.getDistances(), fresh(c1, 4.0)->getDistances());
    // The measured part: a three-lobed wave of a hundredth of the radius around the circle.
    auto const wave = fresh(c2, 10.0);
    ASSERT_GT(wave->getSamplePoints().size(), 5u);
    for (std::size_t i = 0; i < wave->getSamplePoints().size(); ++i) {
        BaVec3d<double> const& p = wave->getSamplePoints()[i];
        EXPECT_NEAR(wave->getDistances().at(i), 0.1 * std::sin(3.0 * std::atan2(p.y - c2.y, p.x - c2.x)), 1e-12) << i;
    }
}

// A label's template is filled in one pass: placeholders in the name or value stay as they are.
TEST(CadElement, LabelTextTakesNameAndValueLiterally)
{
    QString const type = CAD::ElementCreator::getTypeName(CAD::ElementCreator::PART);
    struct Case {
        char const* content;
        char const* name;
        QString text;
    };
    for (Case const& c : {Case{"%name% (%type%)", "%type%%value%", QStringLiteral("%type%%value% (") + type + QLatin1Char(')')},
                          Case{"%name%%", "50%", QStringLiteral("50%%")},
                          Case{"%other%|%name", "x", QStringLiteral("%other%|%name")}}) {
        CAD::Element e(QString::fromLatin1(c.name), CAD::ElementCreator::PART);
        e.setLabel(std::make_unique<LabelElement>(&e));
        e.getLabel()->setContentTemplate(QString::fromLatin1(c.content));
        EXPECT_EQ(GCAD::LabelLayout::textOf(e.getLabel()).toStdString(), c.text.toStdString()) << c.content;
    }
    Fig2::Label figure;
    figure.setSource(QStringLiteral("%value%/%name%"), QStringLiteral("n"), type, QStringLiteral("%name%"));
    figure.updateForStage(StageIdentifier(), 0, 0);
    EXPECT_EQ(figure.getText().toStdString(), "%name%/n");
}

// A snapshot keeps what it took from an element while its revision stands: every change a
// restore or an edit makes must move it, a value set again must not.
TEST(CadElement, RevisionMovesWithEveryVisualChangeAndOnlyThen)
{
    CAD::Element parent(QStringLiteral("P"), CAD::ElementCreator::PART);
    CAD::SectionInsp2d e(QStringLiteral("S"));
    e.setLabel(std::make_unique<LabelElement>(&e));
    e.setPullOut(std::make_unique<CAD::DistPullOut>());
    LabelElement* label = e.getLabel();
    CAD::DistPullOut* pull = e.getDistPullOut();
    BaVec3d<double> const p(1.0, 2.0, 3.0);
    struct Case {
        char const* what;
        std::function<void()> change;
    };
    Case const cases[] = {
        {"colour", [&] { e.getElemProperties()->color = 0x123456; }},
        {"transparency -0", [&] { e.getElemProperties()->transparency = -0.0; }},
        {"selection", [&] { e.getElemProperties()->selected = 1; }},
        {"defaults", [&] { e.applyDefaultProperties(CAD::DefaultProperties(0x654321, 0.5)); }},
        {"visibility", [&] { e.setElementVisible(false); }},
        {"validity", [&] { e.setValid(false); }},
        {"parent", [&] { e.setParent(&parent); }},
        {"geometry", [&] { e.setGeometry(p, p); }},
        {"radius", [&] { e.setRadius(3.0); }},
        {"sampling", [&] { e.setSampling(false, 0.5); }},
        {"pull-out point", [&] { pull->setPullOutPoint(p); }},
        {"pull-out kink", [&] { pull->setFirstKink(true); }},
        {"pull-out assigned", [&] { *pull = CAD::DistPullOut(BaVec3d<double>(), false); }},
        {"label placement", [&] { label->setAutoLabelPlacement(false); }},
        {"label visibility", [&] { label->setVisible(false); }},
        {"label origin", [&] { label->setManualOriginOffset(p); }},
        {"label connector", [&] { label->setHasConnector(false); }},
        {"label template", [&] { label->setContentTemplate(QStringLiteral("%value%")); }},
        {"label font", [&] { label->setFontSize(12); }},
        {"label frame", [&] { label->setFrame(false); }},
        {"label position", [&] { label->setPosition(BaVec2d<double>(4.0, 5.0)); }},
        {"label position -0", [&] { label->setPosition(BaVec2d<double>(4.0, -0.0)); }},
    };
    for (Case const& c : cases) {
        std::uint64_t const before = e.getRevision();
        c.change();
        std::uint64_t const after = e.getRevision();
        EXPECT_NE(after, before) << c.what;
        c.change();
        EXPECT_EQ(e.getRevision(), after) << c.what << " again";
    }
    // What holds no part of the element's look leaves it; a detached copy of the pull-out
    // tells no one.
    std::uint64_t const now = e.getRevision();
    e.setModified(true);
    e.updateAfterChange(StageIdentifier(), true, false);
    CAD::DistPullOut copy(*pull);
    copy.setPullOutPoint(BaVec3d<double>(9.0, 9.0, 9.0));
    EXPECT_EQ(e.getRevision(), now);
    e.setLabel(nullptr);
    EXPECT_NE(e.getRevision(), now);
    EXPECT_GT(CAD::Element(QStringLiteral("N"), 1).getRevision(), e.getRevision()) << "a new element has a revision of its own";
}

TEST(CadElement, RenderTransformationTakesScenePointsToPixels)
{
    GL::RenderObject r;
    r.setViewportSize(200, 100);
    r.setScale(2.0);
    r.setTranslation(BaVec3d<double>(1.0, 0.0, 0.0));
    r.setAxisScale(BaVec3d<double>(3.0, 1.0, 1.0));
    // x: (1 * 3 + 1) * 2 + 100; y: -(2 * 2) + 50
    BaVec2d<double> p = r.get3d2dTransformation().project(BaVec3d<double>(1.0, 2.0, 0.0));
    EXPECT_DOUBLE_EQ(p.x, 108.0);
    EXPECT_DOUBLE_EQ(p.y, 46.0);
    r.setRotation(BaVec3d<double>(0.0, 0.0, 90.0));
    p = r.get3d2dTransformation().project(BaVec3d<double>(0.0, 0.0, 0.0));
    // the translated origin (1, 0, 0) turns to (0, 1, 0)
    EXPECT_NEAR(p.x, 100.0, 1e-12);
    EXPECT_NEAR(p.y, 48.0, 1e-12);
    // Every setting made after a projection shows in the next one.
    std::function<void(GL::RenderObject&)> const changes[] = {
        [](GL::RenderObject& o) { o.setViewportSize(300, 80); },
        [](GL::RenderObject& o) { o.setScale(0.5); },
        [](GL::RenderObject& o) { o.setTranslation(BaVec3d<double>(-4.0, 2.0, 1.0)); },
        [](GL::RenderObject& o) { o.setAxisScale(BaVec3d<double>(1.0, 2.0, 0.5)); },
        [](GL::RenderObject& o) { o.setRotation(BaVec3d<double>(30.0, 10.0, 0.0)); },
    };
    BaVec3d<double> const probe(1.0, 2.0, 3.0);
    for (auto const& change : changes) {
        BaVec2d<double> const before = r.get3d2dTransformation().project(probe);
        change(r);
        GL::RenderObject fresh;
        fresh.setViewportSize(r.getViewportWidth(), r.getViewportHeight());
        fresh.setScale(r.getScale());
        fresh.setTranslation(r.getTranslation());
        fresh.setAxisScale(r.getAxisScale());
        fresh.setRotation(r.getRotation());
        BaVec2d<double> const after = r.get3d2dTransformation().project(probe);
        EXPECT_EQ(after, fresh.get3d2dTransformation().project(probe));
        EXPECT_NE(after, before);
    }

    GL::ViewCreator v;
    v.setRotation(BaVec3d<double>(90.0, 0.0, 0.0));
    ASSERT_TRUE(v.setMainViewDirectionFromTransformation());
    EXPECT_NEAR(v.getMainViewDirection().length(), 1.0, 1e-12);
    EXPECT_NEAR(std::fabs(v.getMainViewDirection().y), 1.0, 1e-12);
    v.setRotation(BaVec3d<double>(std::nan(""), 0.0, 0.0));
    EXPECT_FALSE(v.setMainViewDirectionFromTransformation());
}

// The history's memory is the sum of its steps' sizes, kept as steps are recorded, undone,
// lose a record, end the redo side, fall off the limit and are cleared.
TEST(CadRecordManager, MemoryUsedFollowsTheStepsInTheHistory)
{
    struct Sized : CAD::CustomRecord {
        unsigned int size;
        explicit Sized(unsigned int s) : CAD::CustomRecord(QStringLiteral("r")), size(s) {}
        unsigned int memSize() const override { return size; }
        void print() const override {}
        void undoRedo(bool) override {}
        void clear(bool) override {}
        void collectRecords(std::vector<RecordBase*>*) override {}
    };
    CAD::RecordManager& m = *CAD::RecordManager::_manager;
    m.clearHistory();
    std::vector<Sized*> made;
    auto step = [&](std::initializer_list<unsigned int> sizes) {
        m.startRecording(QStringLiteral("s"), RECORD_MODE_PROPERTIES);
        for (unsigned int s : sizes)
            made.push_back(new Sized(s));
        m.stopRecording();
    };
    step({100, 20});
    step({5});
    EXPECT_EQ(m.memoryUsed(), 125u);
    ASSERT_TRUE(m.undo());
    EXPECT_EQ(m.memoryUsed(), 125u) << "the redo side counts";
    delete made[0];
    EXPECT_EQ(m.memoryUsed(), 25u) << "a record deleted from its step";
    step({7});
    EXPECT_EQ(m.memoryUsed(), 27u) << "the redo side dropped";
    m.setMemoryLimit(10);
    EXPECT_EQ(m.memoryUsed(), 7u);
    EXPECT_EQ(m.undoCount(), 1);
    m.setMemoryLimit(CAD::RecordManager::DEFAULT_MEMORY_LIMIT);
    m.clearHistory();
    EXPECT_EQ(m.memoryUsed(), 0u);
}
