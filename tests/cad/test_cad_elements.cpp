#include "cad/kav_element.h"
#include "core/kav_error_log.h"
#include "core/kav_errors.h"
#include "gcad/kav_gcad.h"
#include "gl/kav_view.h"
#include "glabel/kav_label_element.h"
#include "glegend2/kav_global_legend.h"
#include "io/kav_stream.h"
#include "mcadcmd/kav_host_session.h"
#include "mvp_stream_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <new>

using namespace Kav;

namespace {

QByteArray save(std::function<void(IO::OutStream&)> const& write)
{
    QByteArray bytes;
    IO::OutStream out(&bytes, KString("TEST"), 1);
    write(out);
    out.close();
    return bytes;
}

TEST(CadElement, ElementWithoutLabelPullOutOrSectionAnswersNullOrFalse)
{
    MCADCmd::HostSession session;
    CAD::Element* plain = session.scene().addElement(
        std::make_unique<CAD::Element>(QStringLiteral("Plain"), CAD::ElementCreator::POINT));
    MCADCmd::CommandInterface& ci = session.commandInterface();

    EXPECT_EQ(plain->getLabel(), nullptr);
    EXPECT_EQ(plain->getDistPullOut(), nullptr);
    EXPECT_EQ(dynamic_cast<CAD::SectionInsp2d*>(plain), nullptr);
    EXPECT_EQ(dynamic_cast<CAD::Report*>(plain), nullptr);
    GCAD::Overlay2d* overlay = ci.getRenderCallback()->getOverlay2d();
    EXPECT_EQ(overlay->getLabelPosition(plain), BaVec2d<double>());
    EXPECT_EQ(overlay->getLabelPosition(static_cast<CAD::Element*>(nullptr)), BaVec2d<double>());
    EXPECT_EQ(overlay->getLabelPosition(static_cast<Fig2::Element*>(nullptr)), BaVec2d<double>());
    overlay->placeElement(static_cast<LabelElement*>(nullptr), StageIdentifier(), BaVec2d<double>(1, 1));
    overlay->placeElement(static_cast<Fig2::Element*>(nullptr), BaVec2d<double>(1, 1));
    overlay->repositionLabels();

    QString parent = QStringLiteral("untouched");
    EXPECT_FALSE(ci.getParentElement(QStringLiteral("Plain"), &parent));
    EXPECT_EQ(parent, QStringLiteral("untouched"));
    EXPECT_FALSE(ci.isDocumentationElement(QStringLiteral("Plain")));
    EXPECT_EQ(ci.getCADElementForElement(QStringLiteral("Nobody")).getElement(), nullptr);
    EXPECT_TRUE(ci.getNameForElement(QStringLiteral("Nobody")).isEmpty());
    EXPECT_FALSE(ci.getParentElement(QStringLiteral("Nobody"), &parent));
    EXPECT_FALSE(ci.isDocumentationElement(QStringLiteral("Nobody")));
    ErrorLog log;
    EXPECT_FALSE(ci.elementPropertiesChanged(QStringList{QStringLiteral("Nobody")}, &log));
    EXPECT_TRUE(log.getLog().contains(QStringLiteral("Nobody")));
    EXPECT_TRUE(ci.elementPropertiesChanged(QStringList{QStringLiteral("Plain")}, &log));

    // Default properties take colour and transparency only; updates are counted.
    plain->getElemProperties()->lineWidth = 4.0;
    plain->applyDefaultProperties(CAD::DefaultProperties(0x123456, 0.5));
    EXPECT_EQ(plain->getElemProperties()->color, 0x123456u);
    EXPECT_EQ(plain->getElemProperties()->transparency, 0.5);
    EXPECT_EQ(plain->getElemProperties()->lineWidth, 4.0);
    plain->updateAfterChange(StageIdentifier(1), true, false);
    EXPECT_EQ(plain->getUpdateCount(), 1u);
}

TEST(CadElement, SessionInstallsItsInterfacesAndLegendWhileItLives)
{
    {
        MCADCmd::HostSession session;
        EXPECT_EQ(MCADCmd::CommandInterface::getInterface(), &session.commandInterface());
        ASSERT_NE(MCADCmd::CachedCmdInterface::getInterface(), nullptr);
        EXPECT_EQ(GLegend2::GlobalLegend::getInstance(), session.scene().legend());
        auto all = MPrinter::PrintInterfaceContainer::getAllInterfaces();
        EXPECT_NE(std::find(all.begin(), all.end(), &session.printInterface()), all.end());
    }
    EXPECT_EQ(MCADCmd::CommandInterface::getInterface(), nullptr);
    EXPECT_EQ(MCADCmd::CachedCmdInterface::getInterface(), nullptr);
    EXPECT_EQ(GLegend2::GlobalLegend::getInstance(), nullptr);
    EXPECT_TRUE(MPrinter::PrintInterfaceContainer::getAllInterfaces().empty());
}

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

TEST(CadElement, ElemPropStreamsRoundTripAndRefuseBadData)
{
    CAD::ElemProp p;
    p.selected = 1;
    p.color = 0xabcdef;
    p.transparency = 0.1;
    p.pointSize = 1.0 / 3.0;
    p.lineWidth = 2.0;
    p.displayMode = CAD::DISPLAY_WIREFRAME;
    ErrorLog log;
    QByteArray const bytes = save([&](IO::OutStream& out) { ASSERT_TRUE(p.saveStream(&out, &log, -1, -1)); });
    {
        IO::InStream in(bytes);
        CAD::ElemProp q;
        ASSERT_TRUE(q.loadStream(&in, &log, -1, -1)) << log.getLog().toStdString();
        EXPECT_EQ(q, p);
    }
    // Values out of range: false, a log text, nothing changed.
    for (auto spoil : std::vector<std::function<void(CAD::ElemProp&)>>{
             [](CAD::ElemProp& b) { b.transparency = 2.0; }, [](CAD::ElemProp& b) { b.displayMode = 9; },
             [](CAD::ElemProp& b) { b.lineWidth = std::nan(""); }, [](CAD::ElemProp& b) { b.color = 0x1000000; }}) {
        CAD::ElemProp b = p;
        spoil(b);
        QByteArray const badBytes = save([&](IO::OutStream& out) { b.saveStream(&out, nullptr, -1, -1); });
        IO::InStream in(badBytes);
        CAD::ElemProp q;
        ErrorLog badLog;
        EXPECT_FALSE(q.loadStream(&in, &badLog, -1, -1));
        EXPECT_FALSE(badLog.isEmpty());
        EXPECT_EQ(q, CAD::ElemProp());
    }
    // Truncated: false, never a throw.
    for (int cut = 0; cut < bytes.size(); cut += 5) {
        QByteArray const part = bytes.left(cut);
        try {
            IO::InStream in(part);
            CAD::ElemProp q;
            ErrorLog cutLog;
            EXPECT_FALSE(q.loadStream(&in, &cutLog, -1, -1)) << cut;
            EXPECT_FALSE(cutLog.isEmpty()) << cut;
        } catch (IO::StreamException const&) {
            // the stream header itself was cut
        }
    }
    // The older form reads its own block.
    CAD::DefaultProperties d(0x010203, 0.75);
    QByteArray const dBytes = save([&](IO::OutStream& out) { ASSERT_TRUE(d.saveStream(&out, nullptr, -1, -1)); });
    IO::InStream in(dBytes);
    CAD::DefaultProperties e;
    ASSERT_TRUE(e.loadStream(&in, nullptr, -1, -1));
    EXPECT_EQ(e, d);
}

TEST(CadElement, LabelTemplateAppliesAndThrowsOnBadData)
{
    CAD::Element owner(QStringLiteral("Hole"), CAD::ElementCreator::CIRCLE);
    LabelElement label(&owner);
    label.setContentTemplate(QStringLiteral("%name% (%type%) 100%"));
    label.setFontSize(14);
    label.setFrame(false);
    GLabel::LabelTemplate t;
    t.extract(&label);
    LabelElement other(&owner);
    t.apply(&other);
    EXPECT_EQ(other.getContentTemplate(), label.getContentTemplate());
    EXPECT_EQ(other.getFontSize(), 14u);
    EXPECT_FALSE(other.hasFrame());
    other.updateFigureElements(StageIdentifier(), 0, Transformation(), 0.0);
    other.getLabelFigText()->updateForStage(StageIdentifier(), 0, 0);
    EXPECT_EQ(other.getLabelFigText()->getText(), QStringLiteral("Hole (circle) 100%"));

    QByteArray const bytes = save([&](IO::OutStream& out) { t.saveStream(&out); });
    {
        IO::InStream in(bytes);
        GLabel::LabelTemplate u;
        u.loadStream(&in);
        EXPECT_EQ(u, t);
    }
    GLabel::LabelTemplate bad = t;
    bad.setFontSize(0);
    QByteArray const badBytes = save([&](IO::OutStream& out) { bad.saveStream(&out); });
    GLabel::LabelTemplate u;
    IO::InStream in(badBytes);
    EXPECT_THROW(u.loadStream(&in), IO::StreamException);
    EXPECT_EQ(u, GLabel::LabelTemplate());
    // Cut inside the block, in the frame without a checksum (which would refuse it at once).
    IO::InStream cut(MvpTest::withoutChecksum(bytes).left(bytes.size() - 4 - 3));
    EXPECT_THROW(u.loadStream(&cut), IO::StreamException);
    EXPECT_EQ(u, GLabel::LabelTemplate());
}

TEST(CadElement, LegendStreamDataRoundTripsAndRefusesMalformedData)
{
    GLegend2::GlobalLegend a;
    ASSERT_TRUE(a.setRange(-0.25, 0.75));
    ASSERT_TRUE(a.setSteps(7));
    ASSERT_TRUE(a.setColorMap(QStringLiteral("signal")));
    a.setLegendVisible(false);
    KString const data = a.getStreamData();
    GLegend2::GlobalLegend b;
    ASSERT_TRUE(b.setStreamData(data));
    EXPECT_EQ(b.getStreamData(), data);
    EXPECT_EQ(b.getSteps(), 7u);

    GLegend2::GlobalLegend c;
    KString const before = c.getStreamData();
    EXPECT_FALSE(c.setStreamData(KString()));
    EXPECT_FALSE(c.setStreamData(KString("not legend data at all")));
    for (std::size_t cut = 1; cut < data.size(); ++cut)
        EXPECT_FALSE(c.setStreamData(KString(data.data(), cut))) << cut;
    KString longer = data;
    longer += KString("x");
    EXPECT_FALSE(c.setStreamData(longer));
    // A well-formed stream with insane settings.
    GLegend2::GlobalLegend d;
    EXPECT_FALSE(d.setRange(1.0, 1.0));
    EXPECT_FALSE(d.setSteps(1));
    EXPECT_FALSE(d.setColorMap(QStringLiteral("plaid")));
    EXPECT_EQ(c.getStreamData(), before);
    EXPECT_NE(a.colorFor(-0.25), a.colorFor(0.25));
    EXPECT_EQ(a.colorFor(-100.0), a.colorFor(-0.25));
}

TEST(CadElement, SectionResamplesWithItsSampling)
{
    CAD::SectionInsp2d s(QStringLiteral("S"));
    s.setRadius(10.0);
    s.setSampling(true, 1.0);
    s.resample(StageIdentifier(), true);
    EXPECT_EQ(s.getSamplePoints().size(), CAD::SectionInsp2d::AUTO_SAMPLE_COUNT);
    s.setSampling(false, 0.5);
    s.resample(StageIdentifier(), true);
    EXPECT_EQ(s.getSamplePoints().size(), 126u);  // ceil(2 pi 10 / 0.5)
    EXPECT_TRUE(s.getDistances().empty());
    EXPECT_TRUE(s.updateDistances(StageIdentifier(), -1, -1));
    ASSERT_EQ(s.getDistances().size(), 126u);
    for (std::size_t i = 0; i < s.getSamplePoints().size(); ++i)
        EXPECT_NEAR((s.getSamplePoints()[i] - s.getCenter()).length(), 10.0, 1e-9);
    s.setSampling(false, 1e-6);
    EXPECT_THROW(s.resample(StageIdentifier(), true), std::bad_alloc);
    EXPECT_EQ(s.getSamplePoints().size(), 126u) << "a failed resample keeps the samples";
    s.setSampling(false, 0.0);
    EXPECT_THROW(s.resample(StageIdentifier(), true), std::bad_alloc);
}

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

TEST(CadElement, TypeNamesAndCreation)
{
    for (QString const& name : CAD::ElementCreator::getTypeNames()) {
        unsigned int const type = CAD::ElementCreator::getTypeFromName(name);
        EXPECT_EQ(CAD::ElementCreator::getTypeName(type), name);
        EXPECT_FALSE(CAD::ElementCreator::getTypeDescription(type).isEmpty());
        std::unique_ptr<CAD::Element> e = CAD::ElementCreator::create(type, QStringLiteral("x"));
        ASSERT_TRUE(e);
        EXPECT_EQ(e->getElementType(), type);
    }
    EXPECT_TRUE(CAD::ElementCreator::getTypeName(CAD::ElementCreator::UNKNOWN_TYPE).isEmpty());
    EXPECT_TRUE(CAD::ElementCreator::getTypeDescription(12345).isEmpty());
    EXPECT_EQ(CAD::ElementCreator::getTypeFromName(QStringLiteral("teapot")), unsigned(CAD::ElementCreator::UNKNOWN_TYPE));
    EXPECT_FALSE(CAD::ElementCreator::create(CAD::ElementCreator::UNKNOWN_TYPE, QStringLiteral("x")));
    EXPECT_NE(dynamic_cast<CAD::Report*>(CAD::ElementCreator::create(CAD::ElementCreator::REPORT, QStringLiteral("r")).get()),
              nullptr);
}

} // namespace
