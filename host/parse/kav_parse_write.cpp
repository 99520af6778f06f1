#include "parse/kav_parse.h"

#include "core/kav_errors.h"
#include "core/kav_text.h"
#include "parse/kav_parse_p.h"

namespace Kav {
namespace ParseDetail {

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

} // namespace ParseDetail

using ParseDetail::checkKey;
using ParseDetail::quoted;
using ParseDetail::scan;
using ParseDetail::say;

QString Parse::createString(QString const& key, QString const& value)
{
    checkKey(key, KAV_HERE);
    return key + QLatin1Char('=') + quoted(value);
}

QString Parse::createStringVector(QString const& key, QStringList const& values)
{
    checkKey(key, KAV_HERE);
    QString out = key + QLatin1String("=[");
    for (int i = 0; i < values.size(); ++i) {
        if (i > 0)
            out.append(QLatin1String(", "));
        out.append(quoted(values[i]));
    }
    out.append(QLatin1Char(']'));
    return out;
}

QString Parse::createFile(QString const& key, QString const& path)
{
    checkKey(key, KAV_HERE);
    return key + QLatin1Char('=') + quoted(path);
}

QString Parse::createGroup(QString const& key, QString const& content)
{
    checkKey(key, KAV_HERE);
    try {
        scan(content, nullptr);
    } catch (ParamError const& e) {
        throw ParamError(say(QT_TRANSLATE_NOOP("Kav::Parse",
                                              "parameter \"%1\": invalid group content: %2"))
                             .arg(key, e.getText()));
    }
    return key + QLatin1String("={") + content + QLatin1Char('}');
}

QString Parse::createBool(QString const& key, bool value)
{
    checkKey(key, KAV_HERE);
    return key + (value ? QLatin1String("=\"1\"") : QLatin1String("=\"0\""));
}

QString Parse::createUInt(QString const& key, unsigned int value)
{
    checkKey(key, KAV_HERE);
    return key + QLatin1String("=\"") + QString::number(value) + QLatin1Char('"');
}

QString Parse::createDouble(QString const& key, double value)
{
    checkKey(key, KAV_HERE);
    return key + QLatin1String("=\"") + numberText(value) + QLatin1Char('"');
}

} // namespace Kav
