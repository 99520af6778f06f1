#include "parse/kav_parse_p.h"

#include "core/kav_errors.h"
#include "parse/kav_parse.h"
#include "core/kav_translate.h"

#include <QStringView>

namespace Kav {
namespace ParseDetail {

QString say(char const* text)
{
    return translate("Kav::Parse", text);
}

QString number(int value)
{
    return QString::number(value);
}

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

void checkKey(QString const& key, SourcePlace const& place)
{
    bool valid = !key.isEmpty();
    for (QChar const c : key)
        valid = valid && isKeyChar(c);
    if (!valid)
        throw ProgError(place, QStringLiteral("invalid parameter name \"%1\"").arg(shown(key)));
}

QString kindName(Kind kind)
{
    switch (kind) {
    case Kind::String:
        return say(QT_TRANSLATE_NOOP("Kav::Parse", "a string"));
    case Kind::List:
        return say(QT_TRANSLATE_NOOP("Kav::Parse", "a list"));
    case Kind::Group:
        return say(QT_TRANSLATE_NOOP("Kav::Parse", "a group"));
    }
    return QString();
}

namespace {

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
        fail(say(QT_TRANSLATE_NOOP("Kav::Parse", "parameter \"%1\": %2")).arg(keyOf(e), text));
    }
    QString found() const
    {
        if (pos_ >= n_)
            return say(QT_TRANSLATE_NOOP("Kav::Parse", "the end"));
        return QStringLiteral("\"%1\"").arg(shownChar(d_[pos_]));
    }

    // Entries up to the end of the text (depth 0) or the brace closing a group.
    void entries(int depth, int groupBegin)
    {
        for (;;) {
            skipSpace();
            if (pos_ >= n_) {
                if (depth > 0)
                    fail(say(QT_TRANSLATE_NOOP("Kav::Parse",
                                              "unterminated group starting at position %1"))
                             .arg(groupBegin));
                return;
            }
            if (depth > 0 && at('}')) {
                ++pos_;
                return;
            }
            if (!isKeyChar(d_[pos_]))
                fail(say(QT_TRANSLATE_NOOP("Kav::Parse",
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
            fail(e, say(QT_TRANSLATE_NOOP("Kav::Parse", "expected \"=\" at position %1, found %2"))
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
            fail(e, say(QT_TRANSLATE_NOOP("Kav::Parse",
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
                    fail(e, say(QT_TRANSLATE_NOOP("Kav::Parse",
                                                 "unknown escape \"\\%1\" at position %2"))
                                .arg(shownChar(d_[pos_ + 1]), number(pos_)));
                pos_ += 2;
            } else {
                ++pos_;
            }
        }
        fail(e, say(QT_TRANSLATE_NOOP("Kav::Parse", "unterminated string starting at position %1"))
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
                fail(e, say(QT_TRANSLATE_NOOP("Kav::Parse",
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
                fail(e, say(QT_TRANSLATE_NOOP("Kav::Parse",
                                             "expected \",\" or \"]\" in the list at position "
                                             "%1, found %2"))
                            .arg(number(pos_), found()));
            ++pos_;
            skipSpace();
        }
        fail(e, say(QT_TRANSLATE_NOOP("Kav::Parse", "unterminated list starting at position %1"))
                    .arg(begin));
    }

    void skipGroup(Entry const& e, int depth)
    {
        if (depth > Parse::maxGroupDepth)
            fail(e, say(QT_TRANSLATE_NOOP("Kav::Parse",
                                         "groups nested deeper than %1 levels at position %2"))
                        .arg(number(Parse::maxGroupDepth), number(pos_)));
        int const begin = pos_;
        ++pos_;
        entries(depth, begin);
    }
};

} // namespace

ScanResult scan(QString const& params, QString const* wanted)
{
    return Scanner(params, wanted).scan();
}

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

Match find(QString const& params, QString const& key, Kind kind)
{
    ScanResult const r = scan(params, &key);
    if (!r.found)
        throw ParamError(say(QT_TRANSLATE_NOOP("Kav::Parse", "missing parameter \"%1\"")).arg(key));
    if (r.match.kind != kind)
        throw ParamError(say(QT_TRANSLATE_NOOP("Kav::Parse",
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

} // namespace ParseDetail
} // namespace Kav
