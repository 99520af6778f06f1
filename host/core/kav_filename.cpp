#include "kav_filename.h"

namespace Kav {
namespace Filename {
namespace {

int lastSeparator(QString const& name)
{
    return qMax(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
}

// Index of the dot that starts the suffix in `file`, or -1. A leading dot (".config") is
// part of the name, not a suffix.
int suffixDot(QString const& file)
{
    int const dot = file.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? dot : -1;
}

} // namespace

Name::Name(QString const& name) : name_(name) {}

QString Name::getFileName() const
{
    return name_.mid(lastSeparator(name_) + 1);
}

QString Name::getBaseName() const
{
    QString const file = getFileName();
    int const dot = suffixDot(file);
    return dot < 0 ? file : file.left(dot);
}

QString Name::getEnding() const
{
    QString const file = getFileName();
    int const dot = suffixDot(file);
    return dot < 0 ? QString() : file.mid(dot + 1);
}

QString Name::getDirectory() const
{
    int const sep = lastSeparator(name_);
    return sep < 0 ? QString() : name_.left(sep);
}

} // namespace Filename
} // namespace Kav
