#include "parse/kav_parse.h"

#include "core/kav_errors.h"
#include "core/kav_translate.h"

#include <QLocale>
#include <QStringView>

#include <cmath>
#include <limits>

namespace Kav {
namespace Parse {
namespace {

QString tr(char const* text)
{
    return translate("Kav::Parse", text);
}

QString number(int value)
{
    return QString::number(value);
}

// Values end up in error texts; they may be megabytes long.
QString shown(QString const& text)
{
    int const limit = 40;
    if (text.size() <= limit)
        return text;
    return text.left(limit) + QStringLiteral("...");
}

QString shownChar(QChar c)
{
    if (c.isPrint())
        return QString(c);
    return QStringLiteral("U+") +
           QString::number(c.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

bool isKeyChar(QChar c)
{
    auto const u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
           u == '_' || u == '.' || u == '-';
}

void checkKey(QString const& key, char const* function, int line)
{
    bool valid = !key.isEmpty();
    for (QChar const c : key)
        valid = valid && isKeyChar(c);
    if (!valid)
        throw ProgError(QString::fromLatin1(function), QString::fromLatin1(__FILE__), line,
                        QStringLiteral("invalid parameter name \"%1\"").arg(shown(key)));
}

enum class Kind { String, List, Group };

QString kindName(Kind kind)
{
    switch (kind) {
    case Kind::String:
        return tr(QT_TRANSLATE_NOOP("Kav::Parse", "a string"));
    case Kind::List:
        return tr(QT_TRANSLATE_NOOP("Kav::Parse", "a list"));
    case Kind::Group:
        return tr(QT_TRANSLATE_NOOP("Kav::Parse", "a group"));
    }
    return QString();
}

struct Entry {
    int begin = 0;      // first character of the key
    int keyLength = 0;
    int valueBegin = 0; // the opening quote, bracket or brace
    int valueEnd = 0;   // one past the closing one
    Kind kind = Kind::String;
};

struct ScanResult {
    bool any = false;
    Entry first;        // the first top-level entry
    bool found = false;
    Entry match;        // the first top-level entry with the wanted key
    int removeEnd = 0;  // end of the match plus the white space after it
};

// One pass over the whole text that checks every value, nested ones included, and
// notes the top-level entries the callers ask about.
class Scanner {
public:
    Scanner(QString const& text, QString const* wanted)
        : text_(text), d_(text.constData()), n_(static_cast<int>(text.size())), wanted_(wanted)
    {
    }

    ScanResult scan()
    {
        entries(0, 0);
        return result_;
    }

private:
    QString const& text_;
    QChar const* d_;
    int n_;
    QString const* wanted_;
    int pos_ = 0;
    ScanResult result_;

    bool at(char c) const { return pos_ < n_ && d_[pos_].unicode() == c; }
    void skipSpace()
    {
        while (pos_ < n_ && d_[pos_].isSpace())
            ++pos_;
    }
    QString keyOf(Entry const& e) const { return text_.mid(e.begin, e.keyLength); }

    [[noreturn]] void fail(QString const& text) const { throw ParamError(text); }
    [[noreturn]] void fail(Entry const& e, QString const& text) const
    {
        fail(tr(QT_TRANSLATE_NOOP("Kav::Parse", "parameter \"%1\": %2")).arg(keyOf(e), text));
    }
    QString found() const
    {
        if (pos_ >= n_)
            return tr(QT_TRANSLATE_NOOP("Kav::Parse", "the end"));
        return QStringLiteral("\"%1\"").arg(shownChar(d_[pos_]));
    }

    // Entries up to the end of the text (depth 0) or the brace closing a group.
    void entries(int depth, int groupBegin)
    {
        for (;;) {
            skipSpace();
            if (pos_ >= n_) {
                if (depth > 0)
                    fail(tr(QT_TRANSLATE_NOOP("Kav::Parse",
                                              "unterminated group starting at position %1"))
                             .arg(groupBegin));
                return;
            }
            if (depth > 0 && at('}')) {
                ++pos_;
                return;
            }
            if (!isKeyChar(d_[pos_]))
                fail(tr(QT_TRANSLATE_NOOP("Kav::Parse",
                                          "unexpected character %1 at position %2"))
                         .arg(found(), number(pos_)));
            Entry const e = entry(depth);
            if (depth == 0) {
                skipSpace();
                note(e);
            }
        }
    }

    void note(Entry const& e)
    {
        if (!result_.any) {
            result_.any = true;
            result_.first = e;
        }
        if (wanted_ && !result_.found &&
            QStringView(d_ + e.begin, e.keyLength) == QStringView(*wanted_)) {
            result_.found = true;
            result_.match = e;
            result_.removeEnd = pos_;
        }
    }

    Entry entry(int depth)
    {
        Entry e;
        e.begin = pos_;
        while (pos_ < n_ && isKeyChar(d_[pos_]))
            ++pos_;
        e.keyLength = pos_ - e.begin;
        skipSpace();
        if (!at('='))
            fail(e, tr(QT_TRANSLATE_NOOP("Kav::Parse", "expected \"=\" at position %1, found %2"))
                        .arg(number(pos_), found()));
        ++pos_;
        skipSpace();
        e.valueBegin = pos_;
        if (at('"')) {
            e.kind = Kind::String;
            skipString(e);
        } else if (at('[')) {
            e.kind = Kind::List;
            skipList(e);
        } else if (at('{')) {
            e.kind = Kind::Group;
            skipGroup(e, depth + 1);
        } else {
            fail(e, tr(QT_TRANSLATE_NOOP("Kav::Parse",
                                         "expected a value (\"...\", [...] or {...}) at "
                                         "position %1, found %2"))
                        .arg(number(pos_), found()));
        }
        e.valueEnd = pos_;
        return e;
    }

    void skipString(Entry const& e)
    {
        int const begin = pos_;
        ++pos_;
        while (pos_ < n_) {
            auto const c = d_[pos_].unicode();
            if (c == '"') {
                ++pos_;
                return;
            }
            if (c == '\\') {
                if (pos_ + 1 >= n_)
                    break;
                auto const x = d_[pos_ + 1].unicode();
                if (x != '"' && x != '\\' && x != 'n' && x != 't')
                    fail(e, tr(QT_TRANSLATE_NOOP("Kav::Parse",
                                                 "unknown escape \"\\%1\" at position %2"))
                                .arg(shownChar(d_[pos_ + 1]), number(pos_)));
                pos_ += 2;
            } else {
                ++pos_;
            }
        }
        fail(e, tr(QT_TRANSLATE_NOOP("Kav::Parse", "unterminated string starting at position %1"))
                    .arg(begin));
    }

    void skipList(Entry const& e)
    {
        int const begin = pos_;
        ++pos_;
        skipSpace();
        if (at(']')) {
            ++pos_;
            return;
        }
        for (;;) {
            if (pos_ >= n_)
                break;
            if (!at('"'))
                fail(e, tr(QT_TRANSLATE_NOOP("Kav::Parse",
                                             "expected a string in the list at position %1, "
                                             "found %2"))
                            .arg(number(pos_), found()));
            skipString(e);
            skipSpace();
            if (at(']')) {
                ++pos_;
                return;
            }
            if (pos_ >= n_)
                break;
            if (!at(','))
                fail(e, tr(QT_TRANSLATE_NOOP("Kav::Parse",
                                             "expected \",\" or \"]\" in the list at position "
                                             "%1, found %2"))
                            .arg(number(pos_), found()));
            ++pos_;
            skipSpace();
        }
        fail(e, tr(QT_TRANSLATE_NOOP("Kav::Parse", "unterminated list starting at position %1"))
                    .arg(begin));
    }

    void skipGroup(Entry const& e, int depth)
    {
        if (depth > maxGroupDepth)
            fail(e, tr(QT_TRANSLATE_NOOP("Kav::Parse",
                                         "groups nested deeper than %1 levels at position %2"))
                        .arg(number(maxGroupDepth), number(pos_)));
        int const begin = pos_;
        ++pos_;
        entries(depth, begin);
    }
};

ScanResult scan(QString const& params, QString const* wanted)
{
    return Scanner(params, wanted).scan();
}

// The readers below only see text the scanner has accepted.

// `pos` is at the opening quote and ends up past the closing one.
QString decodeString(QChar const* d, int& pos)
{
    QString out;
    ++pos;
    int run = pos;
    for (;;) {
        auto const c = d[pos].unicode();
        if (c == '"') {
            out.append(d + run, pos - run);
            ++pos;
            return out;
        }
        if (c == '\\') {
            out.append(d + run, pos - run);
            auto const x = d[pos + 1].unicode();
            out.append(x == 'n' ? QChar(QLatin1Char('\n')) : x == 't' ? QChar(QLatin1Char('\t')) : d[pos + 1]);
            pos += 2;
            run = pos;
        } else {
            ++pos;
        }
    }
}

QStringList decodeList(QChar const* d, int pos)
{
    QStringList out;
    ++pos;
    for (;;) {
        while (d[pos].isSpace())
            ++pos;
        auto const c = d[pos].unicode();
        if (c == ']')
            return out;
        if (c == ',')
            ++pos;
        else
            out.append(decodeString(d, pos));
    }
}

struct Match {
    Entry entry;
    int removeEnd = 0;
};

Match find(QString const& params, QString const& key, Kind kind)
{
    ScanResult const r = scan(params, &key);
    if (!r.found)
        throw ParamError(tr(QT_TRANSLATE_NOOP("Kav::Parse", "missing parameter \"%1\"")).arg(key));
    if (r.match.kind != kind)
        throw ParamError(tr(QT_TRANSLATE_NOOP("Kav::Parse",
                                              "parameter \"%1\": expected %2, found %3 at "
                                              "position %4"))
                             .arg(key, kindName(kind), kindName(r.match.kind),
                                  number(r.match.valueBegin)));
    return {r.match, r.removeEnd};
}

void take(QString& params, Match const& m)
{
    params.remove(m.entry.begin, m.removeEnd - m.entry.begin);
}

// Reads a string entry and converts it; the entry is removed only if that succeeds.
template <typename Convert>
auto takeString(QString& params, QString const& key, Convert convert)
    -> decltype(convert(QString()))
{
    Match const m = find(params, key, Kind::String);
    int pos = m.entry.valueBegin;
    auto value = convert(decodeString(params.constData(), pos));
    take(params, m);
    return value;
}

QString quoted(QString const& text)
{
    QString out;
    out.reserve(text.size() + 2);
    out.append(QLatin1Char('"'));
    for (QChar const c : text) {
        switch (c.unicode()) {
        case '"':
            out.append(QLatin1String("\\\""));
            break;
        case '\\':
            out.append(QLatin1String("\\\\"));
            break;
        case '\n':
            out.append(QLatin1String("\\n"));
            break;
        case '\t':
            out.append(QLatin1String("\\t"));
            break;
        default:
            out.append(c);
        }
    }
    out.append(QLatin1Char('"'));
    return out;
}

[[noreturn]] void badValue(QString const& key, char const* expected, QString const& text)
{
    throw ParamError(tr(QT_TRANSLATE_NOOP("Kav::Parse", "parameter \"%1\": expected %2, found \"%3\""))
                         .arg(key, tr(expected), shown(text)));
}

bool isDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

// Decimal notation only: no hex, no group separators, no white space.
bool isDecimal(QString const& t)
{
    int const n = static_cast<int>(t.size());
    int i = 0;
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        ++i;
    int digits = 0;
    while (i < n && isDigit(t[i]))
        ++i, ++digits;
    if (i < n && t[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && isDigit(t[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            ++i;
        int expDigits = 0;
        while (i < n && isDigit(t[i]))
            ++i, ++expDigits;
        if (expDigits == 0)
            return false;
    }
    return i == n;
}

} // namespace

QString createString(QString const& key, QString const& value)
{
    checkKey(key, __func__, __LINE__);
    return key + QLatin1Char('=') + quoted(value);
}

QString getString(QString& params, QString const& key)
{
    checkKey(key, __func__, __LINE__);
    return takeString(params, key, [](QString const& text) { return text; });
}

QString createStringVector(QString const& key, QStringList const& values)
{
    checkKey(key, __func__, __LINE__);
    QString out = key + QLatin1String("=[");
    for (int i = 0; i < values.size(); ++i) {
        if (i > 0)
            out.append(QLatin1String(", "));
        out.append(quoted(values[i]));
    }
    out.append(QLatin1Char(']'));
    return out;
}

QStringList getStringVector(QString& params, QString const& key, unsigned int least,
                            unsigned int most)
{
    checkKey(key, __func__, __LINE__);
    if (least > most)
        throw ProgError(QString::fromLatin1(__func__), QString::fromLatin1(__FILE__), __LINE__,
                        QStringLiteral("least %1 is above most %2").arg(least).arg(most));
    Match const m = find(params, key, Kind::List);
    QStringList values = decodeList(params.constData(), m.entry.valueBegin);
    auto const count = static_cast<unsigned int>(values.size());
    if (count < least || count > most) {
        QString expected;
        if (least == most)
            expected = tr(QT_TRANSLATE_NOOP("Kav::Parse", "exactly %1")).arg(least);
        else if (most == std::numeric_limits<unsigned int>::max())
            expected = tr(QT_TRANSLATE_NOOP("Kav::Parse", "at least %1")).arg(least);
        else
            expected = tr(QT_TRANSLATE_NOOP("Kav::Parse", "%1 to %2"))
                           .arg(QString::number(least), QString::number(most));
        throw ParamError(tr(QT_TRANSLATE_NOOP("Kav::Parse",
                                              "parameter \"%1\": expected %2 values, found %3"))
                             .arg(key, expected, QString::number(count)));
    }
    take(params, m);
    return values;
}

QString createFile(QString const& key, QString const& path)
{
    checkKey(key, __func__, __LINE__);
    return key + QLatin1Char('=') + quoted(path);
}

QString getFile(QString& params, QString const& key)
{
    checkKey(key, __func__, __LINE__);
    return takeString(params, key, [](QString const& path) { return path; });
}

void checkEmptyParameters(QString const& params)
{
    ScanResult const r = scan(params, nullptr);
    if (r.any)
        throw ParamError(tr(QT_TRANSLATE_NOOP("Kav::Parse",
                                              "unknown parameter \"%1\" at position %2"))
                             .arg(params.mid(r.first.begin, r.first.keyLength),
                                  number(r.first.begin)));
}

QString createGroup(QString const& key, QString const& content)
{
    checkKey(key, __func__, __LINE__);
    try {
        scan(content, nullptr);
    } catch (ParamError const& e) {
        throw ParamError(tr(QT_TRANSLATE_NOOP("Kav::Parse",
                                              "parameter \"%1\": invalid group content: %2"))
                             .arg(key, e.getText()));
    }
    return key + QLatin1String("={") + content + QLatin1Char('}');
}

QString getGroup(QString& params, QString const& key)
{
    checkKey(key, __func__, __LINE__);
    Match const m = find(params, key, Kind::Group);
    QString content = params.mid(m.entry.valueBegin + 1, m.entry.valueEnd - m.entry.valueBegin - 2);
    take(params, m);
    return content;
}

bool hasKey(QString const& params, QString const& key)
{
    checkKey(key, __func__, __LINE__);
    return scan(params, &key).found;
}

QString createBool(QString const& key, bool value)
{
    checkKey(key, __func__, __LINE__);
    return key + (value ? QLatin1String("=\"1\"") : QLatin1String("=\"0\""));
}

bool getBool(QString& params, QString const& key)
{
    checkKey(key, __func__, __LINE__);
    return takeString(params, key, [&key](QString const& text) {
        if (text == QLatin1String("1"))
            return true;
        if (text == QLatin1String("0"))
            return false;
        badValue(key, QT_TRANSLATE_NOOP("Kav::Parse", "\"0\" or \"1\""), text);
    });
}

QString createUInt(QString const& key, unsigned int value)
{
    checkKey(key, __func__, __LINE__);
    return key + QLatin1String("=\"") + QString::number(value) + QLatin1Char('"');
}

unsigned int getUInt(QString& params, QString const& key)
{
    checkKey(key, __func__, __LINE__);
    return takeString(params, key, [&key](QString const& text) {
        if (text.isEmpty())
            badValue(key, QT_TRANSLATE_NOOP("Kav::Parse", "an unsigned whole number"), text);
        unsigned long long value = 0;
        for (QChar const c : text) {
            if (!isDigit(c))
                badValue(key, QT_TRANSLATE_NOOP("Kav::Parse", "an unsigned whole number"), text);
            value = value * 10 + (c.unicode() - '0');
            if (value > std::numeric_limits<unsigned int>::max())
                throw ParamError(tr(QT_TRANSLATE_NOOP("Kav::Parse",
                                                      "parameter \"%1\": \"%2\" is out of range "
                                                      "(largest is %3)"))
                                     .arg(key, shown(text),
                                          QString::number(std::numeric_limits<unsigned int>::max())));
        }
        return static_cast<unsigned int>(value);
    });
}

QString createDouble(QString const& key, double value)
{
    checkKey(key, __func__, __LINE__);
    QString text;
    if (std::isnan(value))
        text = QStringLiteral("nan");
    else if (std::isinf(value))
        text = value < 0 ? QStringLiteral("-inf") : QStringLiteral("inf");
    else if (value == 0 && std::signbit(value))
        text = QStringLiteral("-0"); // QString::number drops the sign of zero
    else
        text = QString::number(value, 'g', 17);
    return key + QLatin1String("=\"") + text + QLatin1Char('"');
}

double getDouble(QString& params, QString const& key)
{
    checkKey(key, __func__, __LINE__);
    return takeString(params, key, [&key](QString const& text) {
        QString const lower = text.toLower();
        if (lower == QLatin1String("inf") || lower == QLatin1String("+inf"))
            return std::numeric_limits<double>::infinity();
        if (lower == QLatin1String("-inf"))
            return -std::numeric_limits<double>::infinity();
        if (lower == QLatin1String("nan"))
            return std::numeric_limits<double>::quiet_NaN();
        if (!isDecimal(text))
            badValue(key, QT_TRANSLATE_NOOP("Kav::Parse", "a number"), text);
        bool ok = false;
        double const value = QLocale::c().toDouble(text, &ok);
        if (!ok || !std::isfinite(value))
            throw ParamError(tr(QT_TRANSLATE_NOOP("Kav::Parse",
                                                  "parameter \"%1\": \"%2\" is out of range"))
                                 .arg(key, shown(text)));
        return value;
    });
}

} // namespace Parse
} // namespace Kav
