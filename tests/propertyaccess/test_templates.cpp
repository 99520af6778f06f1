#include "core/kav_errors.h"
#include "io/kav_stream.h"
#include "mvp_listed_creators.h"
#include "mvp_stream_bytes.h"
#include "mvp_temp_dir.h"
#include "parse/kav_parse.h"
#include "propertyaccess/kav_prop_acc_template_container.h"
#include "propertyaccess/kav_property_access_factory.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace Kav;
using namespace Kav::PropertyAccess;

namespace {

using PlainAccess = MvpTest::ListedAccess;
using PlainCreator = MvpTest::ListedCreator;

// The library's four types with their ids, for the duration of a test.
class TemplatesTest : public ::testing::Test {
protected:
    PlainCreator view{PROP_ACC_3D_VIEW, {0, 1, 2, 3}, CAT_RESTORE_3D};
    PlainCreator legend{PROP_ACC_LEGEND, {4}, CAT_RESTORE_GENERAL};
    PlainCreator element{PROP_ACC_CAD_ELEMENT, {5, 6, 7, 8, 9, 35}, CAT_RESTORE_EXPLORER_ELEMENTS};

    static PropAccTemplate makeTemplate(QString const& name, Cfg::Level level)
    {
        PropAccTemplate t(name, level);
        t.setNewInvisibleFlag(true);
        PropAccTemplatePart v(PROP_ACC_3D_VIEW);
        v.setUsage(PROP_SCALE, false);
        t.set(v);
        PropAccTemplatePart e(PROP_ACC_CAD_ELEMENT);
        e.setUsage(PROP_LABEL_VISIBILITY, false);
        t.set(e);
        return t;
    }

    static void writeStore(QString const& path, PropAccTemplateContainer const& c)
    {
        IO::OutStream out(path, KString("RESTORE_SNAPSHOT_TEMPLATE"), 1);
        c.saveStream(&out);
        out.close();
    }
};

} // namespace

TEST_F(TemplatesTest, FactoryKeepsRegistrationOrderAndNewestCreator)
{
    std::vector<PropAccessType_t> const types = PropertyAccessFactory::getRegisteredTypes();
    ASSERT_EQ(types.size(), 3u);
    EXPECT_EQ(types[0], PROP_ACC_3D_VIEW);
    EXPECT_EQ(types[2], PROP_ACC_CAD_ELEMENT);

    PropertyDescriptions d;
    EXPECT_EQ(PropertyAccessFactory::getPropertyDescriptions(PROP_ACC_LEGEND, &d), CAT_RESTORE_GENERAL);
    EXPECT_EQ(PropertyAccessFactory::getPropertyDescriptions(PROP_ACC_CAD_CONTAINER, &d), CAT_UNKNOWN);
    ASSERT_EQ(d.size(), 1u);

    {
        PlainCreator newer(PROP_ACC_LEGEND, {4, 10}, CAT_RESTORE_FEATURES);
        EXPECT_EQ(PropertyAccessFactory::getCreator(PROP_ACC_LEGEND), &newer);
        EXPECT_EQ(PropertyAccessFactory::getRegisteredTypes().size(), 3u) << "a type is listed once";
        std::unique_ptr<PropertyAccessBase> a(PropertyAccessFactory::create(PROP_ACC_LEGEND));
        EXPECT_EQ(a->getUsageFlags().size(), 2u);
    }
    EXPECT_EQ(PropertyAccessFactory::getCreator(PROP_ACC_LEGEND), &legend) << "the older creator takes over";
    EXPECT_EQ(PropertyAccessFactory::create(PROP_ACC_CAD_CONTAINER), nullptr);
}

TEST_F(TemplatesTest, NewAccessesAndPartsStartWithEveryDeclaredIdTrue)
{
    std::unique_ptr<PropertyAccessBase> access(PropertyAccessFactory::create(PROP_ACC_CAD_ELEMENT));
    ASSERT_TRUE(access);
    EXPECT_EQ(access->getUsageFlags().size(), 6u);
    for (auto const& u : access->getUsageFlags())
        EXPECT_TRUE(u.second) << u.first;

    access->setExplorerName(QStringLiteral("E1"));
    access->setUsageFlag(PROP_ELEMENT_VISIBILITY, false);
    std::unique_ptr<PropertyAccessBase> copy(access->copy());
    EXPECT_EQ(copy->getExplorerName(), QStringLiteral("E1"));
    EXPECT_FALSE(copy->getUsageFlag(PROP_ELEMENT_VISIBILITY)) << "base data travels with copy";

    PlainAccess other(PROP_ACC_CAD_ELEMENT);
    access->copyTo(&other);
    EXPECT_EQ(other.getUsageFlags(), access->getUsageFlags());

    // A part writes its flags into an access of its own type only.
    // New accesses share their defaults; a changed flag stays with the access it was set on.
    std::unique_ptr<PropertyAccessBase> fresh(PropertyAccessFactory::create(PROP_ACC_CAD_ELEMENT));
    std::unique_ptr<PropertyAccessBase> freshCopy(fresh->copy());
    fresh->setUsageFlag(PROP_LABEL_VISIBILITY, false);
    EXPECT_FALSE(fresh->getUsageFlag(PROP_LABEL_VISIBILITY));
    EXPECT_TRUE(freshCopy->getUsageFlag(PROP_LABEL_VISIBILITY));
    EXPECT_TRUE(access->getUsageFlag(PROP_LABEL_VISIBILITY));
    EXPECT_TRUE(PropertyAccessFactory::getDefaultUsage(PROP_ACC_CAD_ELEMENT).at(PROP_LABEL_VISIBILITY));
    std::unique_ptr<PropertyAccessBase> later(PropertyAccessFactory::create(PROP_ACC_CAD_ELEMENT));
    EXPECT_TRUE(later->getUsageFlag(PROP_LABEL_VISIBILITY));
    later->setUsageFlags({{PROP_ELEMENT_VISIBILITY, false}});
    EXPECT_EQ(later->getUsageFlags().size(), 1u);
    EXPECT_EQ(PropertyAccessFactory::getDefaultUsage(PROP_ACC_CAD_ELEMENT).size(), 6u);

    PropAccTemplatePart part(PROP_ACC_CAD_ELEMENT);
    EXPECT_EQ(part.getUsages().size(), 6u);
    part.setUsage(PROP_ELEMENT_VISUALIZATION, false);
    EXPECT_NE(part, PropAccTemplatePart(PROP_ACC_CAD_ELEMENT)) << "same type, other usages";
    part.apply(copy.get());
    EXPECT_FALSE(copy->getUsageFlag(PROP_ELEMENT_VISUALIZATION));
    EXPECT_TRUE(copy->getUsageFlag(PROP_ELEMENT_VISIBILITY)) << "the part's true overrides the stored false";
    PlainAccess view3d(PROP_ACC_3D_VIEW);
    part.apply(&view3d);
    EXPECT_TRUE(view3d.getUsageFlag(PROP_ROTATION));

    PropAccTemplate empty(QStringLiteral("empty"));
    EXPECT_EQ(empty.getTemplatePart(PROP_ACC_LEGEND).getType(), PROP_ACC_NONE);
    EXPECT_EQ(empty.configLevel(), Cfg::LEVEL_USER);

    PropAccTemplateContainer none;
    EXPECT_THROW(none.getTemplate(0), ProgError);
    EXPECT_THROW(none.set(0, empty), ProgError);
}

TEST_F(TemplatesTest, StoreStreamTagsLevelsAndSavesOnlyUserTemplates)
{
    MvpTest::TempDir dir;
    QString const files[3] = {dir.path(QStringLiteral("l0.rst")), dir.path(QStringLiteral("l1.rst")),
                              dir.path(QStringLiteral("l2.rst"))};
    for (int level = 0; level < 3; ++level) {
        PropAccTemplateContainer c;
        c.add(makeTemplate(QStringLiteral("T%1").arg(level), Cfg::LEVEL_USER));
        c.add(makeTemplate(QStringLiteral("same"), Cfg::LEVEL_USER));
        writeStore(files[level], c);
    }

    auto loadAll = [&]() {
        PropAccTemplateContainer all;
        for (int level = 0; level < 3; ++level) {
            IO::InStream in(files[level]);
            all.loadStream(&in, static_cast<Cfg::Level>(level));
        }
        return all;
    };
    PropAccTemplateContainer const first = loadAll();
    ASSERT_EQ(first.getNumberOfTemplates(), 6u);
    EXPECT_EQ(first.getTemplate(0).configLevel(), Cfg::LEVEL_INSTALLATION);
    EXPECT_EQ(first.getTemplate(3).configLevel(), Cfg::LEVEL_SHARED);
    EXPECT_EQ(first.getTemplate(5).configLevel(), Cfg::LEVEL_USER);
    EXPECT_TRUE(first.getTemplate(5).sameContent(makeTemplate(QStringLiteral("same"), Cfg::LEVEL_USER)));

    // Saving everything back to the user file must not duplicate the other levels' templates.
    writeStore(files[2], first);
    EXPECT_EQ(loadAll(), first);

    // A truncated store is refused as it is opened; in the frame without a checksum it throws
    // while it is read, and leaves the container as it was.
    QByteArray bytes = MvpTest::readAll(files[2]);
    ASSERT_TRUE(MvpTest::writeAll(files[2], bytes.left(bytes.size() - 3)));
    EXPECT_THROW(IO::InStream{files[2]}, IO::StreamException);
    ASSERT_TRUE(MvpTest::writeAll(files[2], MvpTest::withoutChecksum(bytes).left(bytes.size() - 4 - 3)));
    PropAccTemplateContainer partial;
    partial.add(makeTemplate(QStringLiteral("kept"), Cfg::LEVEL_USER));
    IO::InStream in(files[2]);
    EXPECT_THROW(partial.loadStream(&in, Cfg::LEVEL_USER), IO::StreamException);
    ASSERT_EQ(partial.getNumberOfTemplates(), 1u);
    EXPECT_EQ(partial.getTemplate(0).getName(), QStringLiteral("kept"));
}

TEST_F(TemplatesTest, ExchangeFormRoundTripsAndRejectsBadFiles)
{
    PropAccTemplateContainer c;
    c.add(makeTemplate(QStringLiteral("View \"only\" \u00e4\u6e2c"), Cfg::LEVEL_SHARED));
    c.add(PropAccTemplate(QStringLiteral("bare")));
    std::stringstream buffer;
    buffer << c;
    ASSERT_TRUE(buffer.good());

    PropAccTemplateContainer read;
    buffer >> read;
    EXPECT_TRUE(buffer.good());
    ASSERT_EQ(read.getNumberOfTemplates(), 2u);
    EXPECT_TRUE(read.getTemplate(0).sameContent(c.getTemplate(0)));
    EXPECT_EQ(read.getTemplate(0).configLevel(), Cfg::LEVEL_USER) << "exchange files carry no level";
    EXPECT_TRUE(read.getTemplate(1).sameContent(c.getTemplate(1)));

    // Each refused file with what the reason must name: a hand-edited key or value that is
    // wrong must not turn into a different template.
    struct Bad {
        std::string text;
        char const* reason;
    };
    std::string const head = R"({"format": "kav-restore-templates", "version": 1, "templates": )";
    Bad const bad[] = {
        {"", "ends early"},
        {"not json at all", "not JSON text at offset"},
        {std::string("{\"name\": \"\xff\"}"), "not UTF-8 text (at offset 10)"},
        {R"({"format": "other", "version": 1, "templates": []})", "not a template file"},
        {R"({"format": "kav-restore-templates", "version": 2, "templates": []})", "version 2 is not supported"},
        {R"({"format": "kav-restore-templates", "version": 1, "extra": 1, "templates": []})", R"(unknown key "extra")"},
        {head + "{}}", R"("templates" must be a list, found an object)"},
        {head + R"([{"name": 5}]})", R"(template 1: "name" must be a string, found a number)"},
        {head + R"([{"name": "a"}, {"name": " \t"}]})", "template 2: the name must hold more than white space"},
        {head + R"([{"name": ""}]})", "template 1: the name must hold more than white space"},
        {head + R"([{"name": "a\u0000b"}]})", "no control characters"},
        {head + R"([{"name": "Colours only", "usaFe": {}}]})", R"(template "Colours only": unknown key "usaFe")"},
        {head + R"([{"name": "a", "new_Unvisible": true}]})", R"(template "a": unknown key "new_Unvisible")"},
        {head + R"([{"name": "a", "new_invisible": "yes"}]})", R"(template "a": "new_invisible" must be true or false, found a string)"},
        {head + R"([{"name": "a", "parts": [{"type": 1.5}]}]})", R"(template "a", part 1: "type" must be a whole number)"},
        {head + R"([{"name": "a", "parts": [{"type": 3, "usage": {"x": true}}]}]})", R"("usage" key "x" is not a property number)"},
        {head + R"([{"name": "a", "parts": [{"type": 3, "usage": {"5": 1}}]}]})", R"("usage" of property 5 must be true or false)"},
        {head + R"([{"name": "a", "parts": [{"type": 3, "usaje": {}}]}]})", R"(part 1: unknown key "usaje")"},
        {head + "[", "ends early"},
        // Qt keeps the last of a key given twice: the text itself is searched, however a key is spelled.
        {head + R"([{"name": "a \"}", "parts": [{"type": 3, "usage": {"5": true, "\u0035": false}}]}]})", "gives property 5 twice"},
        {head + R"([], "version": 1})", R"(key "version" is given twice)"},
    };
    for (Bad const& b : bad) {
        std::istringstream in(b.text);
        PropAccTemplateContainer target = read;
        QString why;
        EXPECT_FALSE(readExchangeForm(in, target, &why)) << b.text;
        EXPECT_FALSE(in.good()) << b.text;
        EXPECT_TRUE(why.contains(QString::fromUtf8(b.reason))) << b.text << " gave: " << why.toStdString();
        EXPECT_EQ(target, read) << "unchanged after: " << b.text;
    }

    // Missing flags default to off.
    std::istringstream lenient(head + R"([{"name": "a"}]})");
    PropAccTemplateContainer one;
    lenient >> one;
    EXPECT_TRUE(lenient.good());
    ASSERT_EQ(one.getNumberOfTemplates(), 1u);
    EXPECT_FALSE(one.getTemplate(0).newInvisible());
}

TEST_F(TemplatesTest, ParameterStringFormSitsAmongOtherEntries)
{
    PropAccTemplate const t = makeTemplate(QStringLiteral("View {only} [x] \"q\" \\ \n"), Cfg::LEVEL_USER);
    QString params = Parse::createString(QStringLiteral("snapshot"), QStringLiteral("Snapshot 1"))
        + t.createParameterString(QStringLiteral("template"))
        + Parse::createString(QStringLiteral("after"), QStringLiteral("x"));

    PropAccTemplate parsed;
    parsed.parseParameterString(params, QStringLiteral("template"));
    EXPECT_EQ(parsed, t);
    EXPECT_EQ(Parse::getString(params, QStringLiteral("snapshot")), QStringLiteral("Snapshot 1"));
    EXPECT_EQ(Parse::getString(params, QStringLiteral("after")), QStringLiteral("x"));
    EXPECT_NO_THROW(Parse::checkEmptyParameters(params));

    QString const broken[] = {
        QStringLiteral("template={new_invisible=\"1\"}"),                              // no name
        QStringLiteral("template={name=\"a\" part={type=\"x\"}}"),                     // bad type
        QStringLiteral("template={name=\"a\" part={type=\"3\" usage=[\"5=2\"]}}"),      // bad flag
        QStringLiteral("template={name=\"a\" colour=\"red\"}"),                        // unknown key
        QStringLiteral("template=\"flat\""),                                           // not a group
    };
    for (QString const& text : broken) {
        QString p = text;
        PropAccTemplate target = t;
        EXPECT_THROW(target.parseParameterString(p, QStringLiteral("template")), ParamError) << text.toStdString();
        EXPECT_EQ(target, t) << "unchanged after a failed parse";
    }
}

// The same faulty template in each form a template is read from: the parameter string, the
// exchange file and the store. Each form refuses it naming the culprit, and leaves its target
// as it was.
TEST_F(TemplatesTest, EveryFormRefusesRepeatedAndUndeclaredPartsAndIds)
{
    using Parts = std::vector<std::pair<int, std::vector<int>>>; // types with the ids they set
    struct Refused {
        Parts parts;
        char const* culprit;
    };
    Refused const cases[] = {
        {{{0, {0}}, {3, {}}, {0, {1}}}, "part type 0 is given twice"},
        {{{3, {5, 6, 5}}}, "gives property 5 twice"},
        {{{99, {}}}, "part type 99 is unknown (known: 0, 1, 3)"},
        {{{1, {4}}, {3, {999}}}, "part type 3 has no property 999 (it has: 5, 6, 7, 8, 9, 35)"},
        {{{0, {4}}}, "part type 0 has no property 4"}, // the legend's id in the view's part
    };
    for (Refused const& c : cases) {
        SCOPED_TRACE(c.culprit);
        QString const culprit = QString::fromUtf8(c.culprit);
        QString parameter = QStringLiteral("template={name=\"t\"");
        std::string json = R"({"format": "kav-restore-templates", "version": 1, "templates": [{"name": "t", "parts": [)";
        QByteArray store;
        IO::OutStream out(&store, KString("RESTORE_SNAPSHOT_TEMPLATE"), 1);
        unsigned int size = IO::Stream::sizeOf(QStringLiteral("t")) + 6;
        for (auto const& p : c.parts)
            size += 16 + 5 * static_cast<unsigned int>(p.second.size());
        out.beginBlock(12 + size, 1);
        out.writeUInt(1);
        out.beginBlock(size, 1);
        out.writeString(QStringLiteral("t"));
        out.writeBool(false);
        out.writeBool(false);
        out.writeUInt(static_cast<unsigned int>(c.parts.size()));
        for (auto const& p : c.parts) {
            QStringList usage;
            json += std::string(&p == &c.parts.front() ? "" : ", ") + "{\"type\": " + std::to_string(p.first) + ", \"usage\": {";
            out.beginBlock(8 + 5 * static_cast<unsigned int>(p.second.size()), 1);
            out.writeUInt(static_cast<unsigned int>(p.first));
            out.writeUInt(static_cast<unsigned int>(p.second.size()));
            for (int id : p.second) {
                usage << QStringLiteral("%1=1").arg(id);
                json += (usage.size() == 1 ? "\"" : ", \"") + std::to_string(id) + "\": true";
                out.writeUInt(static_cast<unsigned int>(id));
                out.writeBool(true);
            }
            out.endBlock();
            parameter += QStringLiteral(" part={type=\"%1\" %2}").arg(p.first).arg(Parse::createStringVector(QStringLiteral("usage"), usage));
            json += "}}";
        }
        out.endBlock();
        out.endBlock();
        out.close();
        json += "]}]}";

        PropAccTemplate const before = makeTemplate(QStringLiteral("before"), Cfg::LEVEL_USER);
        PropAccTemplate target = before;
        parameter += QLatin1Char('}');
        try {
            target.parseParameterString(parameter, QStringLiteral("template"));
            ADD_FAILURE() << "parameter string read: " << parameter.toStdString();
        } catch (ParamError const& e) {
            EXPECT_TRUE(e.getText().contains(culprit)) << e.getText().toStdString();
        }
        EXPECT_EQ(target, before);

        PropAccTemplateContainer targets;
        targets.add(before);
        std::istringstream in(json);
        QString why;
        EXPECT_FALSE(readExchangeForm(in, targets, &why)) << json;
        EXPECT_TRUE(why.contains(culprit)) << why.toStdString();
        IO::InStream stored(store);
        try {
            targets.loadStream(&stored, Cfg::LEVEL_USER);
            ADD_FAILURE() << "store read";
        } catch (IO::StreamException const& e) {
            EXPECT_TRUE(e.getText().startsWith(QStringLiteral("restore template \"t\": ")) && e.getText().contains(culprit))
                << e.getText().toStdString();
        }
        ASSERT_EQ(targets.getNumberOfTemplates(), 1u);
        EXPECT_EQ(targets.getTemplate(0), before);
    }
}
