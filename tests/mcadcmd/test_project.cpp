#include "test_accesses.h"

#include "cad/kav_element.h"
#include "core/kav_error_log.h"
#include "glabel/kav_label_element.h"
#include "mcadcmd/kav_host_session.h"
#include "mvp_stream_bytes.h"
#include "mvp_temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

using namespace Kav;

namespace {

class Project : public ::testing::Test {
protected:
    void SetUp() override
    {
        ErrorLog log;
        ASSERT_TRUE(MCADCmd::loadSampleScene(scene(), QString(), &log)) << log.getLog().toStdString();
    }
    MCADCmd::Scene& scene() { return session.scene(); }
    CAD::Report* snapshot(QString const& name)
    {
        auto report = std::make_unique<CAD::Report>(name);
        report->setViewName(MCADCmd::HostSession::mainViewName());
        report->setCreationPropertyAccess(session.printInterface().extractPropertyAccess());
        return scene().addReport(std::move(report));
    }

    MvpTest::TestCreators creators;
    MCADCmd::HostSession session;
    MvpTest::TempDir dir;
};

TEST_F(Project, DumpIsDeterministicAndShowsEveryVisualChange)
{
    QString const first = MCADCmd::dumpState(scene());
    EXPECT_EQ(first, MCADCmd::dumpState(scene()));

    // The same scene built again prints the same text.
    MCADCmd::Scene again;
    ASSERT_TRUE(MCADCmd::loadSampleScene(again, QString(), nullptr));
    EXPECT_EQ(first, MCADCmd::dumpState(again));

    // Lines are sorted and there is one per element, plus view, render and legend.
    QStringList lines = first.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList sorted = lines;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(lines, sorted);
    EXPECT_EQ(static_cast<std::size_t>(lines.size()), scene().elements().size() + 3);

    // Each visual property the restore touches changes the text.
    auto changes = [&](std::function<void()> const& change) {
        QString const before = MCADCmd::dumpState(scene());
        change();
        return before != MCADCmd::dumpState(scene());
    };
    CAD::Element* width = scene().findElement(QStringLiteral("Width"));
    ASSERT_NE(width, nullptr);
    ASSERT_NE(width->getLabel(), nullptr);
    ASSERT_NE(width->getDistPullOut(), nullptr);
    EXPECT_TRUE(changes([&] { width->getElemProperties()->transparency = 0.125; }));
    EXPECT_TRUE(changes([&] { width->getElemProperties()->lineWidth = 3.0; }));
    EXPECT_TRUE(changes([&] { width->setElementVisible(false); }));
    EXPECT_TRUE(changes([&] { width->getDistPullOut()->setFirstKink(false); }));
    EXPECT_TRUE(changes([&] { width->getDistPullOut()->setPullOutPoint(BaVec3d<double>(0.1, 0.2, 0.3)); }));
    EXPECT_TRUE(changes([&] { width->getLabel()->setPosition(BaVec2d<double>(1.0 / 3.0, 7.0)); }));
    EXPECT_TRUE(changes([&] { width->getLabel()->setManualOriginOffset(BaVec3d<double>(0.0, 0.0, 1e-300)); }));
    EXPECT_TRUE(changes([&] { width->getLabel()->setAutoLabelPlacement(false); }));
    EXPECT_TRUE(changes([&] { width->getLabel()->setVisible(false); }));
    EXPECT_TRUE(changes([&] { width->getLabel()->setContentTemplate(QStringLiteral("x")); }));
    auto* section = dynamic_cast<CAD::SectionInsp2d*>(scene().findElement(QStringLiteral("Section Y")));
    ASSERT_NE(section, nullptr);
    EXPECT_TRUE(changes([&] { section->setSampling(false, 2.0000000000000004); }));
    EXPECT_TRUE(changes([&] { scene().viewCreator()->setScale(4.000000000000001); }));
    EXPECT_TRUE(changes([&] { scene().renderObject()->setRotation(BaVec3d<double>(1, 2, 3)); }));
    EXPECT_TRUE(changes([&] { scene().legend()->setSteps(3); }));
    EXPECT_TRUE(changes([&] { scene().legend()->setPosition(BaVec2d<double>(5, 5)); }));
    // The interaction state is not part of it.
    EXPECT_FALSE(changes([&] { scene().setSelection(QStringList{QStringLiteral("Width")}); }));
}

TEST_F(Project, SavedAndReloadedProjectDumpsTheSameAndKeepsItsReports)
{
    // Numbers that only an exact round trip keeps.
    scene().viewCreator()->setTranslation(BaVec3d<double>(0.1, 1.0 / 3.0, -2.5e-17));
    scene().findElement(QStringLiteral("Bore"))->getElemProperties()->transparency = 0.30000000000000004;
    snapshot(QStringLiteral("Snapshot 1"))->getCreationPropertyAccess()[0]->setUsageFlag(PropertyAccess::PROP_SCALE, false);
    scene().findElement(QStringLiteral("P1"))->getElemProperties()->color = 0xff0000;
    snapshot(QStringLiteral("Snapshot 2"))->setDontUpdateSnapshot(true);
    QString const before = MCADCmd::dumpState(scene());
    QString const path = dir.path(QStringLiteral("p.kavproj"));
    ErrorLog log;
    ASSERT_TRUE(MCADCmd::saveProject(scene(), path, &log)) << log.getLog().toStdString();

    MCADCmd::HostSession other;
    ASSERT_TRUE(MCADCmd::loadProject(other.scene(), path, &log)) << log.getLog().toStdString();
    EXPECT_TRUE(log.isEmpty()) << log.getLog().toStdString();
    EXPECT_EQ(before, MCADCmd::dumpState(other.scene()));
    ASSERT_EQ(other.scene().reports().size(), 2u);
    CAD::Report* r = other.scene().reports()[0];
    EXPECT_EQ(r->getName(), QStringLiteral("Snapshot 1"));
    EXPECT_EQ(r->getViewName(), MCADCmd::HostSession::mainViewName());
    // view, legend and one access per element
    EXPECT_EQ(r->getCreationPropertyAccess().size(), scene().elements().size() + 2);
    EXPECT_TRUE(other.scene().reports()[1]->dontUpdateSnapshot());
    // The host base's data travels too: without the explorer name no target is found.
    EXPECT_FALSE(r->getCreationPropertyAccess()[0]->getUsageFlag(PropertyAccess::PROP_SCALE));
    EXPECT_TRUE(r->getCreationPropertyAccess()[0]->getUsageFlag(PropertyAccess::PROP_ROTATION));
    EXPECT_EQ(r->getCreationPropertyAccess()[2]->getExplorerName(), QStringLiteral("Bracket"));

    // Loading again into a scene that holds something replaces it entirely.
    MCADCmd::generateScene(other.scene(), 30);
    ASSERT_TRUE(MCADCmd::loadProject(other.scene(), path, &log));
    EXPECT_EQ(before, MCADCmd::dumpState(other.scene()));
}

TEST_F(Project, OneUnreadableAccessIsNamedAndSkippedAndTheRestLoads)
{
    CAD::Report* report = snapshot(QStringLiteral("Snapshot 1"));
    // The fourth access (after view and legend: the second element) writes a block it
    // will not read back.
    auto* bad = dynamic_cast<MvpTest::TestElementAccess*>(report->getCreationPropertyAccess()[3]);
    ASSERT_NE(bad, nullptr);
    bad->writeVersion = 7;
    QString const badName = bad->getExplorerName();
    std::size_t const count = report->getCreationPropertyAccess().size();
    QString const path = dir.path(QStringLiteral("p.kavproj"));
    ASSERT_TRUE(MCADCmd::saveProject(scene(), path, nullptr));

    MCADCmd::HostSession other;
    ErrorLog log;
    ASSERT_TRUE(MCADCmd::loadProject(other.scene(), path, &log));
    ASSERT_EQ(log.getEntries().size(), 1) << log.getLog().toStdString();
    EXPECT_TRUE(log.getEntries()[0].contains(QStringLiteral("Snapshot 1"))) << log.getLog().toStdString();
    EXPECT_TRUE(log.getEntries()[0].contains(QStringLiteral("access 4"))) << log.getLog().toStdString();
    EXPECT_TRUE(log.getEntries()[0].contains(QStringLiteral("test_element"))) << log.getLog().toStdString();
    CAD::Report::AccessList const& loaded = other.scene().reports().at(0)->getCreationPropertyAccess();
    ASSERT_EQ(loaded.size(), count - 1);
    for (auto const* a : loaded)
        EXPECT_NE(a->getExplorerName(), badName);
    EXPECT_EQ(other.scene().elements().size(), scene().elements().size());

    // A frame whose inner stream is damaged is skipped the same way: break the magic of
    // the second access stream in the file.
    QByteArray bytes = MvpTest::readAll(path);
    QByteArray const marker("PROPERTY_ACCESS");
    int const first = static_cast<int>(bytes.indexOf(marker));
    int const second = static_cast<int>(bytes.indexOf(marker, first + 1));
    ASSERT_GT(second, 8);
    bytes[second - 8] = 'X';  // the magic and length(4) precede the type
    ASSERT_TRUE(MvpTest::writeAll(path, MvpTest::reframed(bytes)));
    log.clear();
    ASSERT_TRUE(MCADCmd::loadProject(other.scene(), path, &log));
    EXPECT_EQ(log.getEntries().size(), 2) << log.getLog().toStdString();
    EXPECT_TRUE(log.getEntries()[0].contains(QStringLiteral("access 2"))) << log.getLog().toStdString();
    EXPECT_EQ(other.scene().reports().at(0)->getCreationPropertyAccess().size(), count - 2);
}

TEST_F(Project, AccessOfATypeWithoutCreatorIsNamedAndSkipped)
{
    snapshot(QStringLiteral("Snapshot 1"));
    QString const path = dir.path(QStringLiteral("p.kavproj"));
    ASSERT_TRUE(MCADCmd::saveProject(scene(), path, nullptr));
    std::size_t const elementCount = scene().elements().size();
    // Loaded while only the view's creator is there, as without the plug-in.
    creators.legend.reset();
    creators.element.reset();
    MCADCmd::Scene target;
    ErrorLog log;
    ASSERT_TRUE(MCADCmd::loadProject(target, path, &log));
    EXPECT_EQ(log.getEntries().size(), static_cast<int>(elementCount + 1)) << log.getLog().toStdString();
    EXPECT_TRUE(log.getLog().contains(QStringLiteral("no creator"))) << log.getLog().toStdString();
    ASSERT_EQ(target.reports().size(), 1u);
    EXPECT_EQ(target.reports()[0]->getCreationPropertyAccess().size(), 1u);
}

TEST_F(Project, TruncatedOrForeignFileFailsClearlyAndLeavesTheSceneAlone)
{
    snapshot(QStringLiteral("Snapshot 1"));
    QString const path = dir.path(QStringLiteral("p.kavproj"));
    ASSERT_TRUE(MCADCmd::saveProject(scene(), path, nullptr));
    QByteArray const whole = MvpTest::readAll(path);
    ASSERT_GT(whole.size(), 200);

    MCADCmd::HostSession other;
    MCADCmd::generateScene(other.scene(), 5);
    QString const untouched = MCADCmd::dumpState(other.scene());
    QString const cut = dir.path(QStringLiteral("cut.kavproj"));
    for (int size : {0, 3, 20, 100, static_cast<int>(whole.size()) / 2, static_cast<int>(whole.size()) - 1}) {
        ASSERT_TRUE(MvpTest::writeAll(cut, whole.left(size)));
        ErrorLog log;
        EXPECT_FALSE(MCADCmd::loadProject(other.scene(), cut, &log)) << size;
        EXPECT_TRUE(log.getLog().contains(QStringLiteral("cannot load the project"))) << log.getLog().toStdString();
        EXPECT_EQ(untouched, MCADCmd::dumpState(other.scene())) << size;
    }
    // Extra bytes at the end are not taken for a good file either.
    ASSERT_TRUE(MvpTest::writeAll(cut, whole + QByteArray("junk")));
    EXPECT_FALSE(MCADCmd::loadProject(other.scene(), cut, nullptr));
    ErrorLog log;
    EXPECT_FALSE(MCADCmd::loadProject(other.scene(), dir.path(QStringLiteral("missing")), &log));
    EXPECT_FALSE(log.isEmpty());

    // A failed save leaves the earlier file in place.
    EXPECT_FALSE(MCADCmd::saveProject(scene(), dir.path(QStringLiteral("no/such/dir/p.kavproj")), &log));
    EXPECT_EQ(MvpTest::readAll(path), whole);
}

TEST_F(Project, DamagedBytesNeverEscapeAsAnExceptionOrHalfLoadedScene)
{
    snapshot(QStringLiteral("Snapshot 1"));
    QString const path = dir.path(QStringLiteral("p.kavproj"));
    ASSERT_TRUE(MCADCmd::saveProject(scene(), path, nullptr));
    QByteArray const whole = MvpTest::readAll(path);
    QString const damaged = dir.path(QStringLiteral("d.kavproj"));
    MCADCmd::HostSession other;
    quint32 seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    int loaded = 0;
    for (int i = 0; i < 250; ++i) {
        QByteArray bytes = whole;
        int const flips = 1 + static_cast<int>(next() % 3);
        for (int f = 0; f < flips; ++f) {
            int const at = static_cast<int>(next() % static_cast<quint32>(bytes.size()));
            bytes[at] = static_cast<char>(bytes[at] ^ static_cast<char>(1 + next() % 255)); // never the same byte
        }
        ASSERT_TRUE(MvpTest::writeAll(damaged, bytes));
        QString const before = MCADCmd::dumpState(other.scene());
        ErrorLog log;
        bool ok = false;
        EXPECT_NO_THROW(ok = MCADCmd::loadProject(other.scene(), damaged, &log)) << i;
        if (ok) {
            ++loaded;
            continue;
        }
        EXPECT_EQ(MCADCmd::dumpState(other.scene()), before) << i;
        EXPECT_TRUE(log.getLog().contains(damaged)) << qPrintable(log.getLog());
    }
    // The checksum finds every change, also those in names, numbers and access bytes that
    // would still read.
    EXPECT_EQ(loaded, 0);
}

TEST_F(Project, SampleFileOfExamplesIsTheBuiltInScene)
{
    MCADCmd::Scene fromFile;
    ErrorLog log;
    ASSERT_TRUE(MCADCmd::loadSampleScene(fromFile, QStringLiteral(MVP_TEST_DATA_DIR "/../../examples/sample_scene.kavscene"), &log))
        << log.getLog().toStdString();
    EXPECT_EQ(MCADCmd::dumpState(fromFile), MCADCmd::dumpState(scene()));
    EXPECT_GE(scene().elements().size(), 18u);

    // A bad line names itself and changes nothing.
    QString const path = dir.path(QStringLiteral("bad.kavscene"));
    ASSERT_TRUE(MvpTest::writeAll(path, QByteArray("element name=\"A\" type=\"point\"\n"
                                                   "element name=\"B\" type=\"point\" color=\"red\"\n")));
    QString const before = MCADCmd::dumpState(fromFile);
    log.clear();
    EXPECT_FALSE(MCADCmd::loadSampleScene(fromFile, path, &log));
    EXPECT_TRUE(log.getLog().contains(QStringLiteral("line 2"))) << log.getLog().toStdString();
    EXPECT_EQ(before, MCADCmd::dumpState(fromFile));
}

TEST(GeneratedScene, HasTheAskedNumberOfElementsNamedInOrder)
{
    MCADCmd::Scene scene;
    MCADCmd::generateScene(scene, 1234);
    ASSERT_EQ(scene.elements().size(), 1234u);
    EXPECT_EQ(scene.elements().front()->getName(), QStringLiteral("E000001"));
    EXPECT_EQ(scene.elements().back()->getName(), QStringLiteral("E001234"));
    MCADCmd::Scene again;
    MCADCmd::generateScene(again, 1234);
    EXPECT_EQ(MCADCmd::dumpState(scene), MCADCmd::dumpState(again));
    MCADCmd::generateScene(again, 0);
    EXPECT_TRUE(again.elements().empty());
}

} // namespace
