#include "kav_errors.h"

namespace Kav {

ProgError::ProgError(QString const& function, QString const& source, int line, QString const& text)
    : function_(function), source_(source), line_(line), text_(text)
{
    what_ = getMessage().toStdString();
}

QString ProgError::getMessage() const
{
    return QStringLiteral("%1 (%2:%3): %4").arg(function_, source_).arg(line_).arg(text_);
}

ParamError::ParamError(QString const& text) : text_(text), what_(text.toStdString()) {}

} // namespace Kav
