// The exchange form of restore templates: JSON text a user may have written by hand, so
// every key and every value is checked and the first fault is named.
#include "kav_prop_acc_template_container.h"

#include "core/kav_translate.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QSet>
#include <QStringList>

#include <istream>
#include <limits>
#include <ostream>
#include <vector>

namespace Kav {
namespace PropertyAccess {
namespace {

// Exchange files larger than this are refused rather than read into memory.
std::streamsize const maxExchangeBytes = 64 * 1024 * 1024;

char const* const formatName = "kav-restore-templates";
int const formatVersion = 1;

QString say(char const* text)
{
    return translate("Kav::PropertyAccess", text);
}

QJsonObject toJson(PropAccTemplate const& t)
{
    QJsonArray parts;
    for (auto const& p : t.getTemplateParts()) {
        QJsonObject usage;
        for (auto const& u : p.getUsages())
            usage.insert(QString::number(static_cast<int>(u.first)), u.second);
        QJsonObject part;
        part.insert(QStringLiteral("type"), static_cast<int>(p.getType()));
        part.insert(QStringLiteral("usage"), usage);
        parts.append(part);
    }
    QJsonObject o;
    o.insert(QStringLiteral("name"), t.getName());
    o.insert(QStringLiteral("new_invisible"), t.newInvisible());
    o.insert(QStringLiteral("invalid_invisible"), t.invalidCMMInvisible());
    o.insert(QStringLiteral("parts"), parts);
    return o;
}

QString kindOf(QJsonValue const& v)
{
    switch (v.type()) {
    case QJsonValue::Null:
        return say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "null"));
    case QJsonValue::Bool:
        return say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "true or false"));
    case QJsonValue::Double:
        return say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "a number"));
    case QJsonValue::String:
        return say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "a string"));
    case QJsonValue::Array:
        return say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "a list"));
    case QJsonValue::Object:
        return say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "an object"));
    default:
        return say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "nothing"));
    }
}

// Thrown inside the reader only; the caller gets the text.
struct Fault {
    QString text;
};

[[noreturn]] void fault(QString const& where, QString const& what)
{
    throw Fault{where.isEmpty() ? what : where + QStringLiteral(": ") + what};
}

void onlyKeys(QJsonObject const& o, QStringList const& allowed, QString const& where)
{
    for (auto it = o.constBegin(); it != o.constEnd(); ++it) {
        if (!allowed.contains(it.key()))
            fault(where, say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "unknown key \"%1\" (known: %2)"))
                             .arg(it.key(), allowed.join(QStringLiteral(", "))));
    }
}

[[noreturn]] void wrongType(QString const& where, QString const& key, char const* expected, QJsonValue const& found)
{
    fault(where, say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "\"%1\" must be %2, found %3"))
                     .arg(key, say(expected), kindOf(found)));
}

bool optionalBool(QJsonObject const& o, QString const& key, QString const& where)
{
    QJsonValue const v = o.value(key);
    if (v.isUndefined())
        return false;
    if (!v.isBool())
        wrongType(where, key, QT_TRANSLATE_NOOP("Kav::PropertyAccess", "true or false"), v);
    return v.toBool();
}

// A JSON number that is a whole number in [0, INT_MAX].
int wholeNumber(QJsonValue const& v, QString const& key, QString const& where)
{
    double const d = v.toDouble(-1.0);
    if (!v.isDouble() || !(d >= 0.0 && d <= static_cast<double>(std::numeric_limits<int>::max()))
        || d != static_cast<double>(static_cast<int>(d)))
        wrongType(where, key, QT_TRANSLATE_NOOP("Kav::PropertyAccess", "a whole number from 0"), v);
    return static_cast<int>(d);
}

PropAccTemplatePart readPart(QJsonValue const& value, QString const& where, TemplateReadCheck* check)
{
    if (!value.isObject())
        fault(where, say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "must be an object, found %1")).arg(kindOf(value)));
    QJsonObject const o = value.toObject();
    onlyKeys(o, {QStringLiteral("type"), QStringLiteral("usage")}, where);
    auto const type = static_cast<PropAccessType_t>(wholeNumber(o.value(QStringLiteral("type")), QStringLiteral("type"), where));
    QString const refused = check->addPart(type);
    if (!refused.isEmpty())
        fault(where, refused);
    PropAccTemplatePart part(type);
    QJsonValue const usage = o.value(QStringLiteral("usage"));
    if (usage.isUndefined())
        return part;
    if (!usage.isObject())
        wrongType(where, QStringLiteral("usage"), QT_TRANSLATE_NOOP("Kav::PropertyAccess", "an object"), usage);
    QJsonObject const uo = usage.toObject();
    for (auto it = uo.constBegin(); it != uo.constEnd(); ++it) {
        bool ok = false;
        int const id = it.key().toInt(&ok);
        if (!ok || id < 0 || it.key() != QString::number(id))
            fault(where, say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "\"usage\" key \"%1\" is not a property number"))
                             .arg(it.key()));
        if (!it.value().isBool())
            fault(where, say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "\"usage\" of property %1 must be true or false, found %2"))
                             .arg(it.key(), kindOf(it.value())));
        QString const unknown = check->addUsage(static_cast<PropTemplateID_t>(id));
        if (!unknown.isEmpty())
            fault(where, unknown);
        part.setUsage(static_cast<PropTemplateID_t>(id), it.value().toBool());
    }
    return part;
}

// `number` counts from 1, as a user counts the templates of the file.
PropAccTemplate readTemplate(QJsonValue const& value, int number)
{
    QString where = say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "template %1")).arg(number);
    if (!value.isObject())
        fault(where, say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "must be an object, found %1")).arg(kindOf(value)));
    QJsonObject const o = value.toObject();
    QJsonValue const nameValue = o.value(QStringLiteral("name"));
    if (!nameValue.isString())
        wrongType(where, QStringLiteral("name"), QT_TRANSLATE_NOOP("Kav::PropertyAccess", "a string"), nameValue);
    QString const name = nameValue.toString();
    bool control = false;
    for (QChar const c : name)
        control = control || c.unicode() < 0x20 || c.unicode() == 0x7F;
    if (name.trimmed().isEmpty() || control)
        fault(where, say(QT_TRANSLATE_NOOP("Kav::PropertyAccess",
                                           "the name must hold more than white space and no control characters")));
    where = say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "template \"%1\"")).arg(name);
    onlyKeys(o, {QStringLiteral("name"), QStringLiteral("new_invisible"), QStringLiteral("invalid_invisible"), QStringLiteral("parts")},
             where);
    PropAccTemplate t(name, Cfg::LEVEL_USER);
    t.setNewInvisibleFlag(optionalBool(o, QStringLiteral("new_invisible"), where));
    t.setInvalidCMMInvisibleFlag(optionalBool(o, QStringLiteral("invalid_invisible"), where));
    QJsonValue const parts = o.value(QStringLiteral("parts"));
    if (parts.isUndefined())
        return t;
    if (!parts.isArray())
        wrongType(where, QStringLiteral("parts"), QT_TRANSLATE_NOOP("Kav::PropertyAccess", "a list"), parts);
    int index = 0;
    TemplateReadCheck check;
    for (QJsonValue const& part : parts.toArray())
        t.set(readPart(part, say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "%1, part %2")).arg(where).arg(++index), &check));
    return t;
}

// The offset of the first byte that is not UTF-8, or -1. A U+FFFD the text really holds is
// no fault.
int firstInvalidUtf8(QByteArray const& text)
{
    QString const decoded = QString::fromUtf8(text);
    int from = 0;
    for (;;) {
        int const at = decoded.indexOf(QChar(0xFFFD), from);
        if (at < 0)
            return decoded.toUtf8() == text ? -1 : static_cast<int>(text.size());
        int const offset = static_cast<int>(decoded.left(at).toUtf8().size());
        if (text.mid(offset, 3) != QByteArray("\xEF\xBF\xBD"))
            return offset;
        from = at + 1;
    }
}

// A JSON string token as the text it stands for.
QString unquoted(QByteArray const& token)
{
    if (!token.contains('\\'))
        return QString::fromUtf8(token.mid(1, token.size() - 2));
    return QJsonDocument::fromJson('[' + token + ']').array().at(0).toString();
}

// Qt's reader keeps only the last of a key given twice in one object, so that a second
// "usage" entry of one id would quietly win: the text itself is searched for that. `text`
// is valid JSON. Faults at the first such key, naming it and the member it sits in.
void refuseRepeatedKeys(QByteArray const& text)
{
    struct Level {
        bool object;
        QString member; // the key whose value this object or list is
        QString lastKey;
        QSet<QString> keys;
    };
    std::vector<Level> open;
    bool keyNext = false;
    for (int i = 0; i < text.size(); ++i) {
        char const c = text.at(i);
        if (c == '"') {
            int const start = i;
            for (++i; text.at(i) != '"'; ++i) {
                if (text.at(i) == '\\')
                    ++i;
            }
            if (!keyNext)
                continue;
            keyNext = false;
            Level& in = open.back();
            in.lastKey = unquoted(text.mid(start, i - start + 1));
            if (in.keys.contains(in.lastKey)) {
                if (in.member == QLatin1String("usage"))
                    fault(QString(), say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "\"usage\" gives property %1 twice (at offset %2)"))
                                         .arg(in.lastKey)
                                         .arg(start));
                fault(QString(), say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "key \"%1\" is given twice in one object (at offset %2)"))
                                     .arg(in.lastKey)
                                     .arg(start));
            }
            in.keys.insert(in.lastKey);
        } else if (c == '{' || c == '[') {
            QString const member = open.empty() ? QString() : open.back().object ? open.back().lastKey : open.back().member;
            open.push_back(Level{c == '{', member, QString(), {}});
            keyNext = c == '{';
        } else if (c == '}' || c == ']') {
            open.pop_back();
        } else if (c == ',') {
            keyNext = open.back().object;
        }
    }
}

PropAccTemplateContainer readDocument(QByteArray const& text)
{
    int const invalid = firstInvalidUtf8(text);
    if (invalid >= 0)
        fault(QString(), say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "not UTF-8 text (at offset %1)")).arg(invalid));
    QJsonParseError error{};
    QJsonDocument const doc = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError) {
        if (error.offset >= text.size())
            fault(QString(), say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "the text ends early, at offset %1 (%2)"))
                                 .arg(error.offset)
                                 .arg(error.errorString()));
        fault(QString(), say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "not JSON text at offset %1 (%2)"))
                             .arg(error.offset)
                             .arg(error.errorString()));
    }
    QJsonObject const root = doc.object();
    QString const top = say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "the top level"));
    if (!doc.isObject() || root.value(QStringLiteral("format")).toString() != QLatin1String(formatName))
        fault(QString(), say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "not a template file (it has no \"format\": \"%1\")"))
                             .arg(QLatin1String(formatName)));
    refuseRepeatedKeys(text);
    onlyKeys(root, {QStringLiteral("format"), QStringLiteral("version"), QStringLiteral("templates")}, top);
    QJsonValue const version = root.value(QStringLiteral("version"));
    if (!version.isDouble())
        wrongType(top, QStringLiteral("version"), QT_TRANSLATE_NOOP("Kav::PropertyAccess", "a number"), version);
    if (version.toDouble() != formatVersion)
        fault(QString(), say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "version %1 is not supported (only %2)"))
                             .arg(version.toDouble())
                             .arg(formatVersion));
    QJsonValue const templates = root.value(QStringLiteral("templates"));
    if (!templates.isArray())
        wrongType(top, QStringLiteral("templates"), QT_TRANSLATE_NOOP("Kav::PropertyAccess", "a list"), templates);
    PropAccTemplateContainer read;
    int number = 0;
    for (QJsonValue const& v : templates.toArray())
        read.add(readTemplate(v, ++number));
    return read;
}

} // namespace

std::ostream& operator<<(std::ostream& out, PropAccTemplateContainer const& c)
{
    QJsonArray templates;
    for (unsigned int i = 0; i < c.getNumberOfTemplates(); ++i)
        templates.append(toJson(c.getTemplate(i)));
    QJsonObject root;
    root.insert(QStringLiteral("format"), QLatin1String(formatName));
    root.insert(QStringLiteral("version"), formatVersion);
    root.insert(QStringLiteral("templates"), templates);
    QByteArray const text = QJsonDocument(root).toJson(QJsonDocument::Indented);
    out.write(text.constData(), text.size());
    return out;
}

bool readExchangeForm(std::istream& in, PropAccTemplateContainer& c, QString* why)
{
    QString ignored;
    if (why == nullptr)
        why = &ignored;
    QByteArray text;
    char chunk[65536];
    while (in) {
        in.read(chunk, sizeof chunk);
        std::streamsize const got = in.gcount();
        if (got <= 0)
            break;
        if (text.size() + got > maxExchangeBytes) {
            in.setstate(std::ios::failbit);
            *why = say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "larger than %1 bytes")).arg(maxExchangeBytes);
            return false;
        }
        text.append(chunk, static_cast<int>(got));
    }
    if (in.bad()) {
        in.setstate(std::ios::failbit);
        *why = say(QT_TRANSLATE_NOOP("Kav::PropertyAccess", "reading stopped at offset %1")).arg(text.size());
        return false;
    }
    // Reaching the end of the file is the normal way to stop; only its content decides now.
    in.clear(in.rdstate() & ~(std::ios::eofbit | std::ios::failbit));
    try {
        c = readDocument(text);
    } catch (Fault const& f) {
        in.setstate(std::ios::failbit);
        *why = f.text;
        return false;
    }
    return true;
}

std::istream& operator>>(std::istream& in, PropAccTemplateContainer& c)
{
    readExchangeForm(in, c, nullptr);
    return in;
}

} // namespace PropertyAccess
} // namespace Kav
