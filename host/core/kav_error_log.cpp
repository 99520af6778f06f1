#include "kav_error_log.h"

#include <cstdio>

namespace Kav {

ErrorLog& ErrorLog::operator<<(QString const& text)
{
    current_ += text;
    return *this;
}

ErrorLog& ErrorLog::operator<<(char const* text)
{
    current_ += QString::fromUtf8(text);
    return *this;
}

ErrorLog& ErrorLog::operator<<(int value)
{
    current_ += QString::number(value);
    return *this;
}

ErrorLog& ErrorLog::operator<<(unsigned int value)
{
    current_ += QString::number(value);
    return *this;
}

ErrorLog& ErrorLog::operator<<(double value)
{
    current_ += QString::number(value, 'g', 17);
    return *this;
}

ErrorLog& ErrorLog::operator<<(EndLog)
{
    if (echo_)
        std::fprintf(stderr, "%s\n", current_.toLocal8Bit().constData());
    entries_.append(current_);
    current_.clear();
    return *this;
}

QString ErrorLog::getLog() const
{
    QStringList all = entries_;
    if (!current_.isEmpty())
        all.append(current_);
    return all.join(QLatin1Char('\n'));
}

void ErrorLog::clear()
{
    entries_.clear();
    current_.clear();
}

} // namespace Kav
