#include "core/kav_errors.h"
#include "core/kav_text.h"
#include "parse/kav_parse.h"
#include "mvp_expect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

using namespace Kav;

namespace {

// Derived from Parse as the commands are: the readers and writers are reached unqualified.
class ParseTest : public ::testing::Test, public Parse {};

QString q(char const* utf8)
{
    return QString::fromUtf8(utf8);
}

QStringList awkwardTexts()
{
    return {q(""),          q("plain"),        q("say \"hi\""),      q("back\\slash\\"),
            q("line\nnext"), q("tab\there"),    q("Gr\xc3\xb6\xc3\x9f" "e \xe6\xb8\xac\xe8\xa9\xa6 \xf0\x9f\x99\x82"),
            q("} ] = \" {"), q("\\n is not \n"), q("cr\rnul") + QChar(0) + q("x"), q("a=\"1\"")};
}

template <typename Call>
QString errorOf(Call const& call)
{
    return MvpTest::errorText<ParamError>(call);
}

} // namespace

TEST_F(ParseTest, WritesTheFixedFormat)
{
    EXPECT_EQ(createString(q("a"), q("x\"y\\z\n\t")), q("a=\"x\\\"y\\\\z\\n\\t\""));
    EXPECT_EQ(createStringVector(q("l"), {q("a"), q("b")}), q("l=[\"a\", \"b\"]"));
    EXPECT_EQ(createStringVector(q("l"), {}), q("l=[]"));
    EXPECT_EQ(createGroup(q("g"), q("k=\"v\"")), q("g={k=\"v\"}"));
    EXPECT_EQ(createBool(q("b"), true) + createUInt(q("u"), 42), q("b=\"1\"u=\"42\""));
    EXPECT_THROW(createString(QString(), q("v")), ProgError);
    EXPECT_THROW(createGroup(q("g"), q("k=\"v\"} x={")), ParamError);
}

// A key that is no identifier is the caller's mistake, whatever the parameters hold.
TEST_F(ParseTest, EveryReaderAndWriterRefusesABadKey)
{
    QString const bad = q("bad key");
    QString p = q("k=\"1\"");
    std::vector<std::function<void()>> const uses = {
        [&] { createString(bad, q("v")); },      [&] { getString(p, bad); },
        [&] { createStringVector(bad, {}); },    [&] { getStringVector(p, bad, 0, 1); },
        [&] { createFile(bad, q("/tmp/x")); },   [&] { getFile(p, bad); },
        [&] { createGroup(bad, QString()); },    [&] { getGroup(p, bad); },
        [&] { hasKey(p, bad); },                 [&] { createBool(bad, true); },
        [&] { getBool(p, bad); },                [&] { createUInt(bad, 1); },
        [&] { getUInt(p, bad); },                [&] { createDouble(bad, 1.0); },
        [&] { getDouble(p, bad); },
    };
    for (std::size_t i = 0; i < uses.size(); ++i)
        EXPECT_THROW(uses[i](), ProgError) << "use " << i;
}

TEST_F(ParseTest, AnyTextRoundTrips)
{
    QStringList const texts = awkwardTexts();
    QString all;
    for (int i = 0; i < texts.size(); ++i) {
        QString params = createString(q("k"), texts[i]);
        EXPECT_EQ(getString(params, q("k")), texts[i]);
        EXPECT_TRUE(params.isEmpty());
        params = createFile(q("file"), texts[i]);
        EXPECT_EQ(getFile(params, q("file")), texts[i]);
        all += createString(q("s") + QString::number(i), texts[i]);
    }
    // All in one string, read back last first.
    for (int i = static_cast<int>(texts.size()) - 1; i >= 0; --i)
        EXPECT_EQ(getString(all, q("s") + QString::number(i)), texts[i]);
    EXPECT_TRUE(all.isEmpty());

    for (QStringList const& list : {texts, QStringList(), QStringList{q(""), q(""), q("")}}) {
        QString p = createStringVector(q("list"), list);
        EXPECT_EQ(getStringVector(p, q("list"), 0, 4294967295u), list);
        EXPECT_TRUE(p.isEmpty());
    }
    // Hand-written lists with odd spacing.
    QString p = q("l=[ \"a\" ,\n\"b\",\"c\" ] e=[ ]");
    EXPECT_EQ(getStringVector(p, q("l"), 3, 3), (QStringList{q("a"), q("b"), q("c")}));
    EXPECT_TRUE(getStringVector(p, q("e"), 0, 0).isEmpty());
}

TEST_F(ParseTest, NestedGroupsRoundTrip)
{
    QStringList const usage{q("0=1"), q("1=1"), q("}")};
    QString const inner = createString(q("type"), q("0")) + createStringVector(q("usage"), usage);
    QString const middle = createString(q("name"), q("View {only}")) + q(" ") + createGroup(q("part"), inner);
    QString params = createString(q("snapshot"), q("S 1")) + createGroup(q("template"), middle) +
                     createBool(q("flag"), true);

    EXPECT_FALSE(hasKey(params, q("name"))); // inside a group, not top-level
    QString t = getGroup(params, q("template"));
    EXPECT_EQ(t, middle);
    EXPECT_EQ(params, createString(q("snapshot"), q("S 1")) + createBool(q("flag"), true));
    EXPECT_EQ(getString(t, q("name")), q("View {only}"));
    QString part = getGroup(t, q("part"));
    EXPECT_EQ(getStringVector(part, q("usage"), 3, 3), usage);
    EXPECT_EQ(getString(part, q("type")), q("0"));
    checkEmptyParameters(part);
    checkEmptyParameters(t);

    // As a user would type it.
    QString typed = q("snapshot=\"Snapshot 1\" template={name=\"View only\" new_invisible=\"0\" "
                      "invalid_invisible=\"1\" part={type=\"0\" usage=[\"0=1\",\"1=1\",\"2=1\",\"3=0\"]}}");
    QString tpl = getGroup(typed, q("template"));
    EXPECT_EQ(getString(typed, q("snapshot")), q("Snapshot 1"));
    EXPECT_TRUE(getBool(tpl, q("invalid_invisible")));
    QString typedPart = getGroup(tpl, q("part"));
    EXPECT_EQ(getStringVector(typedPart, q("usage"), 1, 10).value(3), q("3=0"));
    EXPECT_TRUE(hasKey(tpl, q("new_invisible")));
}

TEST_F(ParseTest, GluedEntriesReadInAnyOrder)
{
    std::vector<QString> const entries{createString(q("a"), q("1")), createStringVector(q("b.x"), {q("2")}),
                                       createGroup(q("c-y"), createString(q("a"), q("in"))),
                                       createString(q("d_9"), q("\"4\""))};
    // Each entry read back, in the order of `entries`.
    std::vector<std::function<void(QString&)>> const reads = {
        [](QString& p) { EXPECT_EQ(getString(p, q("a")), q("1")); },
        [](QString& p) { EXPECT_EQ(getStringVector(p, q("b.x"), 1, 1), QStringList{q("2")}); },
        [](QString& p) { EXPECT_EQ(getGroup(p, q("c-y")), createString(q("a"), q("in"))); },
        [](QString& p) { EXPECT_EQ(getString(p, q("d_9")), q("\"4\"")); },
    };
    QString glued;
    for (QString const& e : entries)
        glued += e;
    std::vector<int> order{0, 1, 2, 3};
    do {
        QString params = glued;
        std::vector<bool> taken(entries.size(), false);
        for (int const i : order) {
            reads[static_cast<size_t>(i)](params);
            taken[static_cast<size_t>(i)] = true;
            // What is left is exactly the other entries, still glued.
            QString rest;
            for (size_t j = 0; j < entries.size(); ++j)
                if (!taken[j])
                    rest += entries[j];
            EXPECT_EQ(params, rest);
        }
        EXPECT_NO_THROW(checkEmptyParameters(params));
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(ParseTest, RemovesOnlyItsOwnEntry)
{
    QString params = q("  a=\"1\"  b = [\"x\"]\n\tb=\"second\" c={d=\"1\"}\n");
    // The first entry named b is the list; failed reads change nothing.
    QString const before = params;
    EXPECT_THROW(getString(params, q("b")), ParamError);
    EXPECT_EQ(params, before);
    EXPECT_EQ(getStringVector(params, q("b"), 1, 1), QStringList{q("x")});
    EXPECT_EQ(params, q("  a=\"1\"  b=\"second\" c={d=\"1\"}\n"));
    EXPECT_EQ(getString(params, q("b")), q("second"));
    EXPECT_EQ(params, q("  a=\"1\"  c={d=\"1\"}\n"));
    EXPECT_EQ(getGroup(params, q("c")), q("d=\"1\""));
    EXPECT_EQ(params, q("  a=\"1\"  "));
    QString p2 = q("x=\"7\" y=\"oops\"");
    EXPECT_THROW(getUInt(p2, q("y")), ParamError);
    EXPECT_EQ(p2, q("x=\"7\" y=\"oops\""));
    EXPECT_EQ(getUInt(p2, q("x")), 7u);
    EXPECT_EQ(p2, q("y=\"oops\""));
}

TEST_F(ParseTest, ErrorsNameKeyOrPosition)
{
    QString params = q("snapshot=[\"a\"] file=\"f\"");
    EXPECT_CONTAINS(errorOf([&] { getString(params, q("nope")); }), "\"nope\"");
    QString const wrongKind = errorOf([&] { getString(params, q("snapshot")); });
    EXPECT_CONTAINS(wrongKind, "snapshot");
    EXPECT_CONTAINS(wrongKind, "position 9");
    EXPECT_CONTAINS(errorOf([&] { getGroup(params, q("file")); }), "file");
    EXPECT_CONTAINS(errorOf([&] { getStringVector(params, q("file"), 0, 1); }), "position 20");

    struct Broken {
        char const* text;
        char const* part;
    };
    for (Broken const& b : {Broken{"a=\"1\" k=\"abc", "position 8"}, Broken{"k=[\"a\", \"b\"", "position 2"},
                            Broken{"k={x=\"1\" y={}", "position 2"}, Broken{"k=\"a\\\"", "position 2"},
                            Broken{"k=\"a\\q\"", "position 4"}, Broken{"a=\"1\" k \"v\"", "\"k\""},
                            Broken{"a=\"1\" k=", "\"k\""}, Broken{"a=\"1\" k=v", "position 8"},
                            Broken{"a=\"1\", b=\"2\"", "position 5"}, Broken{"a=\"1\" }", "position 6"},
                            Broken{"a=\"1\" k\xc3\xa4=\"2\"", "position 7"}, Broken{"k=[\"a\" \"b\"]", "position 7"},
                            Broken{"k=[\"a\",]", "position 7"}, Broken{"g={a=\"1\" b}", "\"b\""},
                            Broken{"k=[{}]", "position 3"}}) {
        QString p = q(b.text);
        QString const before = p;
        // Broken syntax after the wanted key is reported too.
        EXPECT_CONTAINS(errorOf([&] { getString(p, q("a")); }), b.part);
        EXPECT_EQ(p, before);
        EXPECT_THROW(hasKey(p, q("a")), ParamError) << b.text;
        EXPECT_THROW(checkEmptyParameters(p), ParamError) << b.text;
    }
    // What is left over is named; white space alone is no left-over.
    EXPECT_NO_THROW(checkEmptyParameters(QString()));
    EXPECT_NO_THROW(checkEmptyParameters(q("  \n\t ")));
    EXPECT_CONTAINS(errorOf([] { checkEmptyParameters(q(" left.over=[] ")); }), "\"left.over\"");
    EXPECT_CONTAINS(errorOf([] { checkEmptyParameters(q("g={x=\"1\"}y=\"2\"")); }), "\"g\"");
}

TEST_F(ParseTest, VectorCountBounds)
{
    QString const three = createStringVector(q("v"), {q("a"), q("b"), q("c")});
    QString p = three;
    EXPECT_CONTAINS(errorOf([&] { getStringVector(p, q("v"), 4, 9); }),
                    "parameter \"v\": expected 4 to 9 values, found 3");
    EXPECT_CONTAINS(errorOf([&] { getStringVector(p, q("v"), 2, 2); }), "expected exactly 2 values");
    EXPECT_CONTAINS(errorOf([&] { getStringVector(p, q("v"), 4, 4294967295u); }), "expected at least 4 values");
    EXPECT_THROW(getStringVector(p, q("v"), 0, 2), ParamError);
    EXPECT_EQ(p, three);
    EXPECT_EQ(getStringVector(p, q("v"), 3, 3).size(), 3);
    for (QString const& list : {three, createStringVector(q("v"), {}), createStringVector(q("v"), {q("")})}) {
        p = list;
        EXPECT_NO_THROW(getStringVector(p, q("v"), 0, 4294967295u));
    }
    p = three;
    EXPECT_THROW(getStringVector(p, q("v"), 3, 2), ProgError);
}

TEST_F(ParseTest, BoolsAndNumbers)
{
    QString p = createBool(q("t"), true) + createBool(q("f"), false) + createUInt(q("max"), 4294967295u) +
                createUInt(q("zero"), 0);
    EXPECT_TRUE(getBool(p, q("t")));
    EXPECT_FALSE(getBool(p, q("f")));
    EXPECT_EQ(getUInt(p, q("max")), 4294967295u);
    EXPECT_EQ(getUInt(p, q("zero")), 0u);
    for (char const* bad : {"2", "true", "", " 1"}) {
        p = createString(q("b"), q(bad));
        EXPECT_THROW(getBool(p, q("b")), ParamError) << bad;
    }
    for (char const* bad : {"4294967296", "99999999999999999999", "-1", "+1", " 1", "1a", "", "0x10"}) {
        p = createString(q("u"), q(bad));
        EXPECT_THROW(getUInt(p, q("u")), ParamError) << bad;
    }

    // One text for a number and a colour wherever the host writes them: the shortest text
    // that reads back bit for bit, the sign of zero included.
    using Lim = std::numeric_limits<double>;
    struct Number {
        double value;
        char const* text;
    };
    for (Number const& n : {Number{0.1, "0.1"}, Number{0.1 + 0.2, "0.30000000000000004"}, Number{1.0 / 3.0, "0.3333333333333333"},
                            Number{-0.0, "-0"}, Number{0.0, "0"}, Number{1e-300, "1e-300"}, Number{-2.5e-300, "-2.5e-300"},
                            Number{Lim::denorm_min(), "5e-324"}, Number{Lim::max(), "1.7976931348623157e+308"},
                            Number{Lim::lowest(), "-1.7976931348623157e+308"}, Number{12345678901234567890.0, "12345678901234567168"},
                            Number{1e21, "1e+21"}, Number{100.0, "100"}, Number{1e5, "1e+05"}, Number{Lim::infinity(), "inf"},
                            Number{-Lim::infinity(), "-inf"}, Number{Lim::quiet_NaN(), "nan"}}) {
        p = createDouble(q("d"), n.value);
        EXPECT_EQ(p, q("d=\"") + q(n.text) + q("\""));
        double const back = getDouble(p, q("d"));
        EXPECT_TRUE(std::memcmp(&back, &n.value, sizeof back) == 0 || (std::isnan(back) && std::isnan(n.value))) << n.text;
    }
    EXPECT_EQ(colorText(0xff12abcdu) + colorText(0x0000a0u), q("#12abcd#0000a0"));
    p = q("a=\"1e3\" b=\"-.5\" c=\"7.\"");
    EXPECT_EQ(getDouble(p, q("a")) + getDouble(p, q("b")) + getDouble(p, q("c")), 1006.5);
    for (char const* bad : {"1,5", "1.5x", " 1", "1 ", "", "0x10", "1e", "e5", ".", "1e999", "--1"}) {
        p = createString(q("d"), q(bad));
        EXPECT_THROW(getDouble(p, q("d")), ParamError) << bad;
    }
}

TEST_F(ParseTest, HostileSizes)
{
    QString deep = q("k=\"1\"");
    for (int i = 0; i < 100000; ++i)
        deep += q("k={");
    EXPECT_CONTAINS(errorOf([&] { checkEmptyParameters(deep); }), "nested");

    auto nested = [](int depth) {
        QString content = createString(q("leaf"), q("x"));
        for (int i = 0; i < depth; ++i)
            content = createGroup(q("g"), content);
        return content;
    };
    QString ok = nested(Parse::maxGroupDepth);
    EXPECT_TRUE(hasKey(ok, q("g")));
    QString tooDeep = q("g={") + ok + q("}");
    EXPECT_THROW(hasKey(tooDeep, q("g")), ParamError);

    QString const big(1 << 20, QLatin1Char('\\'));
    QString p = createString(q("big"), big) + createString(q("after"), q("x"));
    EXPECT_EQ(getString(p, q("big")), big);
    EXPECT_EQ(getString(p, q("after")), q("x"));

    QString many;
    for (int i = 0; i < 10000; ++i)
        many += createUInt(q("k") + QString::number(i), static_cast<unsigned int>(i)) + QLatin1Char(' ');
    EXPECT_EQ(getUInt(many, q("k9999")), 9999u);
    for (int i = 0; i < 9999; ++i)
        ASSERT_EQ(getUInt(many, q("k") + QString::number(i)), static_cast<unsigned int>(i));
    EXPECT_NO_THROW(checkEmptyParameters(many));
}
