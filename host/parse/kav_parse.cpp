#include "parse/kav_parse.h"

#include "core/kav_errors.h"
#include "parse/kav_parse_p.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace Kav {
using namespace ParseDetail;

namespace {

[[noreturn]] void badValue(QString const& key, char const* expected, QString const& text)
{
    throw ParamError(say(QT_TRANSLATE_NOOP("Kav::Parse", "parameter \"%1\": expected %2, found \"%3\""))
                         .arg(key, say(expected), shown(text)));
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

QString Parse::getString(QString& params, QString const& key)
{
    checkKey(key, KAV_HERE);
    return takeString(params, key, [](QString const& text) { return text; });
}

QStringList Parse::getStringVector(QString& params, QString const& key, unsigned int least,
                            unsigned int most)
{
    checkKey(key, KAV_HERE);
    if (least > most)
        throw ProgError(KAV_HERE, QStringLiteral("least %1 is above most %2").arg(least).arg(most));
    Match const m = find(params, key, Kind::List);
    QStringList values = decodeList(params.constData(), m.entry.valueBegin);
    auto const count = static_cast<unsigned int>(values.size());
    if (count < least || count > most) {
        QString expected;
        if (least == most)
            expected = say(QT_TRANSLATE_NOOP("Kav::Parse", "exactly %1")).arg(least);
        else if (most == std::numeric_limits<unsigned int>::max())
            expected = say(QT_TRANSLATE_NOOP("Kav::Parse", "at least %1")).arg(least);
        else
            expected = say(QT_TRANSLATE_NOOP("Kav::Parse", "%1 to %2"))
                           .arg(QString::number(least), QString::number(most));
        throw ParamError(say(QT_TRANSLATE_NOOP("Kav::Parse",
                                              "parameter \"%1\": expected %2 values, found %3"))
                             .arg(key, expected, QString::number(count)));
    }
    take(params, m);
    return values;
}

QString Parse::getFile(QString& params, QString const& key)
{
    checkKey(key, KAV_HERE);
    return takeString(params, key, [](QString const& path) { return path; });
}

void Parse::checkEmptyParameters(QString const& params)
{
    ScanResult const r = scan(params, nullptr);
    if (r.any)
        throw ParamError(say(QT_TRANSLATE_NOOP("Kav::Parse",
                                              "unknown parameter \"%1\" at position %2"))
                             .arg(params.mid(r.first.begin, r.first.keyLength),
                                  number(r.first.begin)));
}

QString Parse::getGroup(QString& params, QString const& key)
{
    checkKey(key, KAV_HERE);
    Match const m = find(params, key, Kind::Group);
    QString content = params.mid(m.entry.valueBegin + 1, m.entry.valueEnd - m.entry.valueBegin - 2);
    take(params, m);
    return content;
}

bool Parse::hasKey(QString const& params, QString const& key)
{
    checkKey(key, KAV_HERE);
    return scan(params, &key).found;
}

bool Parse::getBool(QString& params, QString const& key)
{
    checkKey(key, KAV_HERE);
    return takeString(params, key, [&key](QString const& text) {
        if (text == QLatin1String("1"))
            return true;
        if (text == QLatin1String("0"))
            return false;
        badValue(key, QT_TRANSLATE_NOOP("Kav::Parse", "\"0\" or \"1\""), text);
    });
}

unsigned int Parse::getUInt(QString& params, QString const& key)
{
    checkKey(key, KAV_HERE);
    return takeString(params, key, [&key](QString const& text) {
        if (text.isEmpty())
            badValue(key, QT_TRANSLATE_NOOP("Kav::Parse", "an unsigned whole number"), text);
        unsigned long long value = 0;
        for (QChar const c : text) {
            if (!isDigit(c))
                badValue(key, QT_TRANSLATE_NOOP("Kav::Parse", "an unsigned whole number"), text);
            value = value * 10 + (c.unicode() - '0');
            if (value > std::numeric_limits<unsigned int>::max())
                throw ParamError(say(QT_TRANSLATE_NOOP("Kav::Parse",
                                                      "parameter \"%1\": \"%2\" is out of range "
                                                      "(largest is %3)"))
                                     .arg(key, shown(text),
                                          QString::number(std::numeric_limits<unsigned int>::max())));
        }
        return static_cast<unsigned int>(value);
    });
}

double Parse::getDouble(QString& params, QString const& key)
{
    checkKey(key, KAV_HERE);
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
            throw ParamError(say(QT_TRANSLATE_NOOP("Kav::Parse",
                                                  "parameter \"%1\": \"%2\" is out of range"))
                                 .arg(key, shown(text)));
        return value;
    });
}

} // namespace Kav
