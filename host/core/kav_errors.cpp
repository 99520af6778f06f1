#include "kav_errors.h"

#include <algorithm>

namespace Kav {

QString SourcePlace::functionName() const
{
    // "bool Kav::A<B, C>::f(int) const": the name ends at the first '(' outside template
    // arguments and begins after the last blank before it outside brackets. One compiler
    // writes an anonymous namespace as "(anonymous namespace)".
    QString const signature = QString::fromLatin1(function != nullptr ? function : "");
    QLatin1String const anonymous("(anonymous namespace)");
    int depth = 0;
    int end = static_cast<int>(signature.size());
    for (int i = 0; i < end; ++i) {
        QChar const c = signature.at(i);
        if (c == QLatin1Char('<'))
            ++depth;
        else if (c == QLatin1Char('>'))
            --depth;
        else if (c == QLatin1Char('(') && signature.mid(i, anonymous.size()) == anonymous)
            i += static_cast<int>(anonymous.size()) - 1;
        else if (c == QLatin1Char('(') && depth == 0)
            end = i;
    }
    int begin = end;
    for (depth = 0; begin > 0; --begin) {
        QChar const c = signature.at(begin - 1);
        if (c == QLatin1Char('>') || c == QLatin1Char(')'))
            ++depth;
        else if (c == QLatin1Char('<') || c == QLatin1Char('('))
            --depth;
        else if (c == QLatin1Char(' ') && depth == 0)
            break;
    }
    return signature.mid(begin, end - begin);
}

QString SourcePlace::sourceName() const
{
    QString name = QString::fromLatin1(file != nullptr ? file : "");
    name = name.mid(std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\'))) + 1);
    int const dot = static_cast<int>(name.lastIndexOf(QLatin1Char('.')));
    return dot > 0 ? name.left(dot) : name;
}

ProgError::ProgError(QString const& function, QString const& source, int line, QString const& text)
    : function_(function), source_(source), line_(line), text_(text)
{
    what_ = getMessage().toStdString();
}

ProgError::ProgError(SourcePlace const& place, QString const& text)
    : ProgError(place.functionName(), place.sourceName(), place.line, text)
{
}

QString ProgError::getMessage() const
{
    return QStringLiteral("%1 (%2:%3): %4").arg(function_, source_).arg(line_).arg(text_);
}

ParamError::ParamError(QString const& text) : text_(text), what_(text.toStdString()) {}

} // namespace Kav
