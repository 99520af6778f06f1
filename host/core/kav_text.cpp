#include "core/kav_text.h"

#include <charconv>
#include <cmath>

namespace Kav {

QString numberText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("nan");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-inf") : QStringLiteral("inf");
    // to_chars without a precision gives the shortest round trip, and keeps the sign of zero.
    char buf[32];
    auto const r = std::to_chars(buf, buf + sizeof buf, value);
    return QString::fromLatin1(buf, static_cast<int>(r.ptr - buf));
}

QString colorText(quint32 rgb)
{
    // By hand: the dump writes one per element.
    char text[7] = {'#'};
    for (int i = 0; i < 6; ++i)
        text[1 + i] = "0123456789abcdef"[(rgb >> (20 - 4 * i)) & 0xFu];
    return QString::fromLatin1(text, 7);
}

} // namespace Kav
