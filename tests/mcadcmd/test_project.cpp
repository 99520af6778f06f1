#include "mvp_probe_access.h"

#include "cad/kav_element.h"
#include "cad/kav_record_manager.h"
#include "cad/kav_shared_accesses.h"
#include "core/kav_error_log.h"
#include "core/kav_errors.h"
#include "gapp/kav_command.h"
#include "gapp/kav_command_container.h"
#include "glabel/kav_label_element.h"
#include "mcadcmd/kav_host_session.h"
#include "mvp_stream_bytes.h"
#include "mvp_temp_dir.h"

#include <QBuffer>
#include <QImage>
#include <QRegularExpression>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
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

    MvpTest::ProbeCreator creator;
    MCADCmd::HostSession session;
    MvpTest::TempDir dir;
};

TEST_F(Project, OneUnreadableAccessIsNamedAndSkippedAndTheRestLoads)
{
    CAD::Report* report = snapshot(QStringLiteral("Snapshot 1"));
    // The second access writes a block it will not read back.
    auto* bad = dynamic_cast<MvpTest::ProbeAccess*>(report->getCreationPropertyAccess()[1]);
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
    EXPECT_TRUE(log.getEntries()[0].contains(QStringLiteral("access 2"))) << log.getLog().toStdString();
    EXPECT_TRUE(log.getEntries()[0].contains(QStringLiteral("probe"))) << log.getLog().toStdString();
    CAD::Report::AccessList const& loaded = other.scene().reports().at(0)->getCreationPropertyAccess();
    ASSERT_EQ(loaded.size(), count - 1);
    for (auto const* a : loaded)
        EXPECT_NE(a->getExplorerName(), badName);
    EXPECT_EQ(other.scene().elements().size(), scene().elements().size());
    // Label texts hold measured values ("Height: 20.000"); they are made again on load.
    int labelled = 0;
    for (CAD::Element const* e : scene().elements()) {
        if (e->getLabel() == nullptr)
            continue;
        ++labelled;
        CAD::Element const* twin = other.scene().findElement(e->getName());
        ASSERT_TRUE(twin != nullptr && twin->getLabel() != nullptr) << e->getName().toStdString();
        EXPECT_EQ(twin->getLabel()->getLabelFigText()->getText(), e->getLabel()->getLabelFigText()->getText());
    }
    EXPECT_GT(labelled, 3);

    // A frame whose inner stream is damaged is skipped the same way: break the magic of
    // the third access stream in the file.
    QByteArray bytes = MvpTest::readAll(path);
    QByteArray const marker("PROPERTY_ACCESS");
    int const first = static_cast<int>(bytes.indexOf(marker));
    int const third = static_cast<int>(bytes.indexOf(marker, bytes.indexOf(marker, first + 1) + 1));
    ASSERT_GT(third, 8);
    bytes[third - 8] = 'X';  // the magic and length(4) precede the type
    ASSERT_TRUE(MvpTest::writeAll(path, MvpTest::reframed(bytes)));
    log.clear();
    ASSERT_TRUE(MCADCmd::loadProject(other.scene(), path, &log));
    EXPECT_EQ(log.getEntries().size(), 2) << log.getLog().toStdString();
    EXPECT_TRUE(log.getEntries().value(1).contains(QStringLiteral("access 3"))) << log.getLog().toStdString();
    EXPECT_EQ(other.scene().reports().at(0)->getCreationPropertyAccess().size(), count - 2);
}

// Snapshots of one scene hold equal accesses once, in memory and in the file; one damaged
// stored access is named for every snapshot that held it; nothing outlives the reports.
TEST_F(Project, EqualAccessesAreHeldAndStoredOnceAndFreedWithTheirLastReport)
{
    CAD::SharedAccesses const& pool = CAD::SharedAccesses::instance();
    std::size_t const before = pool.size();
    int const live = MvpTest::ProbeAccess::live;
    CAD::Report* a = snapshot(QStringLiteral("A"));
    scene().findElement(QStringLiteral("Bracket"))->getElemProperties()->color = 0x123456;
    CAD::Report* b = snapshot(QStringLiteral("B"));
    snapshot(QStringLiteral("C"));
    std::size_t const n = a->getCreationPropertyAccess().size();
    auto shared = [](CAD::Report const* x, CAD::Report const* y) {
        std::size_t same = 0;
        for (std::size_t i = 0; i < x->getCreationPropertyAccess().size(); ++i)
            same += x->getCreationPropertyAccess()[i] == y->getCreationPropertyAccess().at(i);
        return same;
    };
    auto expectSharing = [&](MCADCmd::Scene& s) {
        std::vector<CAD::Report*> const r = s.reports();
        ASSERT_EQ(r.size(), 3u);
        EXPECT_EQ(shared(r[0], r[1]), n - 1);
        EXPECT_EQ(shared(r[1], r[2]), n);
    };
    expectSharing(scene());
    EXPECT_EQ(pool.size(), before + n + 1);
    QString const state = MCADCmd::dumpState(scene());

    QString const path = dir.path(QStringLiteral("p.kvp"));
    ASSERT_TRUE(MCADCmd::saveProject(scene(), path, nullptr));
    QByteArray bytes = MvpTest::readAll(path);
    EXPECT_EQ(bytes.count("PROPERTY_ACCESS"), static_cast<int>(n + 1));
    {
        MCADCmd::HostSession other;
        ErrorLog log;
        ASSERT_TRUE(MCADCmd::loadProject(other.scene(), path, &log)) << log.getLog().toStdString();
        EXPECT_TRUE(log.isEmpty());
        EXPECT_EQ(MCADCmd::dumpState(other.scene()), state);
        expectSharing(other.scene());
        EXPECT_EQ(pool.size(), before + n + 1) << "loaded accesses join the equal ones held";

        // A stored access all three hold, damaged: named once for each of them. The file
        // stores A's accesses first, in A's order.
        std::size_t k = 0;
        while (a->getCreationPropertyAccess()[k] != b->getCreationPropertyAccess()[k])
            ++k;
        int at = -1;
        for (std::size_t i = 0; i <= k; ++i)
            at = static_cast<int>(bytes.indexOf("PROPERTY_ACCESS", at + 1));
        bytes[at - 8] = 'X';
        ASSERT_TRUE(MvpTest::writeAll(path, MvpTest::reframed(bytes)));
        log.clear();
        ASSERT_TRUE(MCADCmd::loadProject(other.scene(), path, &log));
        ASSERT_EQ(log.getEntries().size(), 3) << log.getLog().toStdString();
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(log.getEntries()[i].startsWith(QStringLiteral("report \"%1\": access %2 ").arg(QChar(u'A' + i)).arg(k + 1)))
                << log.getLog().toStdString();
        for (CAD::Report const* r : other.scene().reports())
            EXPECT_EQ(r->getCreationPropertyAccess().size(), n - 1);
    }
    // Removing a report lets go of what only it held; the others still read theirs.
    std::size_t index = 0;
    scene().takeReport(QStringLiteral("C"), &index).reset();
    EXPECT_EQ(pool.size(), before + n + 1);
    // A removed report the undo history keeps holds its accesses until the history goes.
    MCADCmd::CommandInterface::setInterface(&session.commandInterface());
    MCADCmd::registerHostCommands();
    GApp::Command* remove = GApp::CommandContainer::getCommand(QStringLiteral("element.remove"));
    ErrorLog log;
    QString id;
    ASSERT_TRUE(remove->parseParameterString(QStringLiteral("name=\"A\""), false, &id, &log) && remove->execute(nullptr, &id, &log))
        << id.toStdString() << log.getLog().toStdString();
    EXPECT_EQ(pool.size(), before + n + 1);
    ASSERT_TRUE(CAD::RecordManager::_manager->undo() && CAD::RecordManager::_manager->redo());
    CAD::RecordManager::_manager->clearHistory();
    EXPECT_EQ(pool.size(), before + n);
    auto reportLines = [](QString const& dump) {
        return dump.split(QLatin1Char('\n')).filter(QRegularExpression(QStringLiteral("^report name=\"B\"")));
    };
    EXPECT_EQ(reportLines(MCADCmd::dumpState(scene())), reportLines(state));
    EXPECT_EQ(reportLines(state).size(), 1);
    EXPECT_EQ(pool.holders(b->getCreationPropertyAccess()[0]), 1u);
    scene().takeReport(QStringLiteral("B"), &index).reset();
    EXPECT_EQ(pool.size(), before);
    {
        // Two equal accesses in the only report: held once, stored twice, loaded shared again.
        CAD::Report* twice = snapshot(QStringLiteral("D"));
        PropertyAccess::PropertyAccessBase const* first = twice->getCreationPropertyAccess()[0];
        twice->setCreationPropertyAccess({first->copy(), first->copy()});
        ASSERT_EQ(twice->getCreationPropertyAccess()[0], twice->getCreationPropertyAccess()[1]);
        // One place at a time the same: an equal access is the held one; no place past the end.
        twice->replaceCreationPropertyAccess(1, first->copy());
        EXPECT_EQ(twice->getCreationPropertyAccess()[1], first);
        EXPECT_EQ(pool.holders(first), 2u);
        EXPECT_THROW(twice->replaceCreationPropertyAccess(2, first->copy()), ProgError);
        ASSERT_TRUE(MCADCmd::saveProject(scene(), path, nullptr));
        MCADCmd::HostSession again;
        ASSERT_TRUE(MCADCmd::loadProject(again.scene(), path, &log)) << log.getLog().toStdString();
        EXPECT_EQ(MCADCmd::dumpState(again.scene()), MCADCmd::dumpState(scene()));
    }
    scene().clear();
    EXPECT_EQ(pool.size(), before);
    EXPECT_EQ(MvpTest::ProbeAccess::live, live);
}

TEST_F(Project, ValuesOutOfRangeAreNamedAndSkippedAndTheRestLoads)
{
    // Values no command takes, written into the file by hand: marked first, then replaced.
    scene().findElement(QStringLiteral("Width"))->getDistPullOut()->setPullOutPoint(BaVec3d<double>(0.125, -55.0, 10.0));
    scene().findElement(QStringLiteral("Flatness Top"))->getLabel()->setPosition(BaVec2d<double>(0.375, 80.0));
    scene().viewCreator()->setScale(0.625);
    snapshot(QStringLiteral("Snapshot 1"));
    QString const path = dir.path(QStringLiteral("p.kavproj"));
    ASSERT_TRUE(MCADCmd::saveProject(scene(), path, nullptr));
    QByteArray bytes = MvpTest::readAll(path);
    std::pair<double, double> const changes[] = {
        {0.125, std::numeric_limits<double>::infinity()}, {0.375, 1e300}, {0.625, std::nan("")}};
    for (auto const& c : changes) {
        int const at = static_cast<int>(bytes.indexOf(QByteArray(reinterpret_cast<char const*>(&c.first), 8)));
        ASSERT_GE(at, 0) << c.first;
        bytes.replace(at, 8, reinterpret_cast<char const*>(&c.second), 8);
    }
    ASSERT_TRUE(MvpTest::writeAll(path, MvpTest::reframed(bytes)));

    MCADCmd::HostSession other;
    ErrorLog log;
    ASSERT_TRUE(MCADCmd::loadProject(other.scene(), path, &log)) << log.getLog().toStdString();
    QString const text = log.getLog();
    EXPECT_EQ(log.getEntries().size(), 3) << text.toStdString();
    for (char const* named : {"\"Width\": its pull-out point", "\"Flatness Top\": its label's position", "the view's settings"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(named))) << named << "\n" << text.toStdString();
    EXPECT_EQ(other.scene().findElement(QStringLiteral("Width"))->getDistPullOut(), nullptr);
    // Everything else is as it was saved.
    auto untouched = [](QString const& dump) {
        QStringList lines = dump.split(QLatin1Char('\n'));
        lines.erase(std::remove_if(lines.begin(), lines.end(), [](QString const& l) {
            return l.contains(QStringLiteral("\"Width\"")) || l.contains(QStringLiteral("\"Flatness Top\"")) ||
                   l.startsWith(QStringLiteral("view ")) || l.startsWith(QStringLiteral("render ")) || l.contains(QStringLiteral("label_position"));
        }), lines.end());
        return lines;
    };
    EXPECT_EQ(untouched(MCADCmd::dumpState(other.scene())), untouched(MCADCmd::dumpState(scene())));
    EXPECT_GT(untouched(MCADCmd::dumpState(scene())).size(), 10);

    // What was loaded saves, and loads again without a word.
    ASSERT_TRUE(MCADCmd::saveProject(other.scene(), path, nullptr));
    MCADCmd::HostSession third;
    log.clear();
    ASSERT_TRUE(MCADCmd::loadProject(third.scene(), path, &log));
    EXPECT_TRUE(log.getEntries().isEmpty()) << log.getLog().toStdString();
    EXPECT_EQ(MCADCmd::dumpState(third.scene()), MCADCmd::dumpState(other.scene()));
}

TEST_F(Project, PicturesAreKeptAndABadOneIsNamedAndSkipped)
{
    QImage image(16, 12, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG"));
    QImage huge(2000, 10, QImage::Format_RGB32);
    huge.fill(Qt::black);
    QByteArray hugePng;
    QBuffer hugeBuffer(&hugePng);
    ASSERT_TRUE(hugeBuffer.open(QIODevice::WriteOnly) && huge.save(&hugeBuffer, "PNG"));
    snapshot(QStringLiteral("Good"))->setPicture(png);
    snapshot(QStringLiteral("Garbage"))->setPicture(QByteArray("\x89PNG but not one"));
    snapshot(QStringLiteral("Huge"))->setPicture(hugePng);
    snapshot(QStringLiteral("None"));
    QString const path = dir.path(QStringLiteral("p.kavproj"));
    ASSERT_TRUE(MCADCmd::saveProject(scene(), path, nullptr));

    MCADCmd::HostSession other;
    ErrorLog log;
    ASSERT_TRUE(MCADCmd::loadProject(other.scene(), path, &log));
    QStringList pictures;
    for (CAD::Report const* r : other.scene().reports())
        pictures << QString::fromLatin1(r->getPicture().toHex());
    EXPECT_EQ(pictures, (QStringList{QString::fromLatin1(png.toHex()), QString(), QString(), QString()}));
    QStringList const skipped = log.getEntries();
    ASSERT_EQ(skipped.size(), 2) << log.getLog().toStdString();
    EXPECT_TRUE(skipped[0].startsWith(QStringLiteral("report \"Garbage\": the picture"))) << skipped[0].toStdString();
    EXPECT_TRUE(skipped[1].startsWith(QStringLiteral("report \"Huge\": the picture"))) << skipped[1].toStdString();
}

// What element.set changes of an element, undo takes back whole and a project keeps.
TEST_F(Project, ElementStatesSetByCommandUndoneAndSavedComeBackExactly)
{
    MCADCmd::CommandInterface::setInterface(&session.commandInterface());
    MCADCmd::registerHostCommands();
    CAD::RecordManager* history = CAD::RecordManager::_manager;
    history->clearHistory();
    auto set = [](QString const& params) {
        GApp::Command* command = GApp::CommandContainer::getCommand(QStringLiteral("element.set"));
        ErrorLog log;
        QString id;
        return command->parseParameterString(params, false, &id, &log) && command->execute(nullptr, &id, &log);
    };
    QString const before = MCADCmd::dumpState(scene());
    ASSERT_TRUE(set(QStringLiteral(R"(name="Section X" sampling="3" radius="20" center=["1", "2", "-4"] extent=["2", "3", "4"])"
                                   R"( visible="0" valid="0" label_template="S %name%" label_font="14" label_origin=["1", "2", "3"])"
                                   R"( label_auto="0" label_offset=["5", "-7"])")));
    ASSERT_TRUE(set(QStringLiteral(R"(name="Width" pullout=["1", "2", "3"] first_kink="0" color="#102030" transparency="0.25")"
                                   R"( display_mode="points" point_size="4" line_width="2" label_connector="0" label_frame="0")"
                                   R"( label_visible="0")")));
    // One sampling check for every path: a radius that would need too many samples is refused.
    EXPECT_FALSE(set(QStringLiteral(R"(name="Section X" radius="1e9")")));
    QString const after = MCADCmd::dumpState(scene());
    EXPECT_EQ(after.count(QStringLiteral("sampling=3 radius=20 ")), 1);
    QString const path = dir.path(QStringLiteral("p.kvp"));
    ASSERT_TRUE(MCADCmd::saveProject(scene(), path, nullptr));
    ASSERT_TRUE(history->undo() && history->undo());
    EXPECT_EQ(MCADCmd::dumpState(scene()), before);
    ASSERT_TRUE(history->redo() && history->redo());
    EXPECT_EQ(MCADCmd::dumpState(scene()), after);
    MCADCmd::HostSession other;
    ErrorLog log;
    ASSERT_TRUE(MCADCmd::loadProject(other.scene(), path, &log));
    EXPECT_TRUE(log.isEmpty()) << log.getLog().toStdString();
    EXPECT_EQ(MCADCmd::dumpState(other.scene()), after);
    history->clearHistory();
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

// Element names changed by hand, then frames stored as changes to an earlier one, written by
// hand behind the scene's elements, with one report listing the first two: what a damaged
// frame costs is that access alone, or the load when the frame itself cannot be read.
TEST_F(Project, DamagedNamesAndFramesOfChangesCostTheirAccessOrTheLoadAndNeverMoreMemory)
{
    QString const path = dir.path(QStringLiteral("p.kvp"));
    ASSERT_TRUE(MCADCmd::saveProject(scene(), path, nullptr));
    QByteArray const plain = MvpTest::readAll(path);
    // Names first: one taken twice, a parent after its child, a parent that is the element.
    struct Renamed {
        char const* from;
        int occurrence;
        char const* to;
        char const* named;
    } const renames[] = {{"Hole 2", 0, "Hole 1", "occurs twice"},
                         {"Bracket", 1, "Datum B", "does not come before it"},
                         {"Bracket", 1, "Datum A", "does not come before it"}};
    for (Renamed const& r : renames) {
        QByteArray bytes = plain;
        int at = -1;
        for (int k = 0; k <= r.occurrence; ++k)
            at = static_cast<int>(bytes.indexOf(r.from, at + 1));
        ASSERT_GE(at, 0) << r.to;
        bytes.replace(at, static_cast<int>(qstrlen(r.to)), r.to);
        ASSERT_TRUE(MvpTest::writeAll(path, MvpTest::reframed(bytes)));
        ErrorLog log;
        EXPECT_FALSE(MCADCmd::loadProject(scene(), path, &log)) << r.to;
        EXPECT_TRUE(log.getLog().contains(QString::fromUtf8(r.named))) << log.getLog().toStdString();
    }
    EXPECT_NE(scene().findElement(QStringLiteral("Hole 2")), nullptr) << "a refused load left the scene as it was";
    auto u32 = [](QByteArray const& b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); };
    int counts = 4 + 4 + 15 + 4; // magic, type "KAVHOST_PROJECT", version
    for (int block = 0; block < 2; ++block)
        counts += 8 + static_cast<int>(u32(plain, counts));
    ASSERT_EQ(u32(plain, counts), 12u);
    ASSERT_EQ(u32(plain, counts + 12), 0u) << "no report, no access";
    auto form = [](quint32 color) {
        MvpTest::ProbeAccess probe;
        probe.color = color;
        QByteArray bytes;
        IO::OutStream out(&bytes, KString("PROPERTY_ACCESS"), 1);
        probe.saveStream(&out);
        out.close();
        return bytes;
    };
    QByteArray const before = form(0x112233), after = form(0x445566);
    int const color = static_cast<int>(before.indexOf(QByteArray::fromHex("332211")));
    int const length = static_cast<int>(before.size());
    ASSERT_GT(color, 0);
    using Changes = std::vector<std::pair<int, QByteArray>>;
    Changes const right = {{color, after.mid(color, 3)}, {length - 4, after.right(4)}};
    auto whole = [](unsigned int uses, QByteArray const& bytes) {
        QByteArray frame;
        IO::OutStream out(&frame);
        out.beginBlock(2);
        out.writeUInt(uses);
        out.writeUInt(PropertyAccess::PROP_ACC_CAD_ELEMENT);
        out.writeString("probe");
        out.writeString(QStringLiteral("Bracket"));
        out.writeUInt(0);
        out.writeString(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        out.endBlock();
        out.close();
        return frame;
    };
    auto changed = [](unsigned int uses, unsigned int base, int length, Changes const& changes, unsigned int count = 0,
                      unsigned int version = 3) {
        QByteArray frame;
        IO::OutStream out(&frame);
        out.beginBlock(version);
        out.writeUInt(uses);
        out.writeUInt(base);
        out.writeBool(false);
        out.writeUInt(static_cast<unsigned int>(length));
        out.writeUInt(count > 0 ? count : static_cast<unsigned int>(changes.size()));
        for (auto const& c : changes) {
            out.writeUInt(static_cast<unsigned int>(c.first));
            out.writeString(c.second.constData(), static_cast<std::size_t>(c.second.size()));
        }
        out.endBlock();
        out.close();
        return frame;
    };
    // Far more than 64 times the file: a megabyte changed by one byte, a hundred times.
    QByteArray const big(1 << 20, 'x');
    std::vector<QByteArray> many = {whole(100, big)};
    for (int k = 0; k < 100; ++k)
        many.push_back(changed(1, 0, big.size(), {{k, "y"}}));
    struct Case {
        char const* what;
        std::vector<QByteArray> frames;
        bool loads;
        char const* named; // in the load's log; empty: nothing logged
    } const cases[] = {
        {"changes stored right", {whole(1, before), changed(0, 0, length, right)}, true, ""},
        {"a base after it", {whole(1, before), changed(0, 1, length, right)}, true, "not at hand"},
        {"a base no change is left to", {whole(0, before), changed(0, 0, length, right)}, true, "not at hand"},
        {"another length", {whole(1, before), changed(0, 0, length + 1, right)}, true, "bytes of stored access 1"},
        {"a change past the end", {whole(1, before), changed(0, 0, length, {{length - 2, "abcd"}})}, true, "past the end"},
        {"a change breaking the access's checksum", {whole(1, before), changed(0, 0, length, {right[0]})}, true, "damaged"},
        {"more changes than stored", {whole(1, before), changed(0, 0, length, right, 5)}, false, "p.kvp"},
        {"an unknown frame version", {whole(1, before), changed(0, 0, length, right, 0, 4)}, false, "access frame of version 4"},
        {"more than the file stands for", many, false, "more bytes than the file"},
    };
    for (Case const& c : cases) {
        QByteArray bytes = plain.left(plain.size() - 4);
        bytes.replace(counts + 12, 8, MvpTest::littleEndian(1) + MvpTest::littleEndian(static_cast<quint32>(c.frames.size())));
        for (QByteArray const& frame : c.frames)
            bytes += frame;
        QByteArray report;
        IO::OutStream out(&report);
        out.beginBlock(4);
        out.writeString(QStringLiteral("R"));
        out.writeString(MCADCmd::HostSession::mainViewName());
        out.writeBool(false);
        for (unsigned int v : {2u, 0u, 1u, 0u, 2u}) // two accesses, as one run from place 0
            out.writeUInt(v);
        out.endBlock();
        out.beginBlock(1);
        out.writeString("");
        out.endBlock();
        out.close();
        ASSERT_TRUE(MvpTest::writeAll(path, MvpTest::framed(bytes + report))) << c.what;
        MCADCmd::HostSession other;
        ErrorLog log;
        ASSERT_EQ(MCADCmd::loadProject(other.scene(), path, &log), c.loads) << c.what << "\n" << log.getLog().toStdString();
        if (!c.loads) {
            EXPECT_TRUE(log.getLog().contains(QString::fromUtf8(c.named))) << c.what << "\n" << log.getLog().toStdString();
            continue;
        }
        CAD::Report::AccessList const& held = other.scene().reports().at(0)->getCreationPropertyAccess();
        auto const* first = dynamic_cast<MvpTest::ProbeAccess const*>(held.at(0));
        ASSERT_NE(first, nullptr) << c.what;
        EXPECT_EQ(first->color, 0x112233u) << c.what;
        if (*c.named == '\0') {
            EXPECT_TRUE(log.isEmpty()) << c.what << "\n" << log.getLog().toStdString();
            ASSERT_EQ(held.size(), 2u) << c.what;
            auto const* second = dynamic_cast<MvpTest::ProbeAccess const*>(held[1]);
            ASSERT_NE(second, nullptr) << c.what;
            EXPECT_EQ(second->color, 0x445566u) << c.what;
            continue;
        }
        EXPECT_EQ(held.size(), 1u) << c.what;
        ASSERT_EQ(log.getEntries().size(), 1) << c.what << "\n" << log.getLog().toStdString();
        EXPECT_TRUE(log.getEntries()[0].startsWith(QStringLiteral("report \"R\": access 2 "))) << c.what;
        EXPECT_TRUE(log.getEntries()[0].contains(QString::fromUtf8(c.named))) << c.what << "\n" << log.getLog().toStdString();
    }
}

} // namespace
