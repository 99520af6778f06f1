#include "fig2/kav_fig2.h"

#include <cstring>

namespace Kav {
namespace Fig2 {

void Element::setPosition(BaVec2d<double> const& p)
{
    // Bit for bit: a label moved from 0.0 to -0.0 is written differently.
    if (std::memcmp(&position_.x, &p.x, sizeof p.x) == 0 && std::memcmp(&position_.y, &p.y, sizeof p.y) == 0)
        return;
    position_ = p;
    positionChanged();
}

void Label::setSource(QString const& contentTemplate, QString const& name, QString const& type, QString const& value)
{
    template_ = contentTemplate;
    name_ = name;
    type_ = type;
    value_ = value;
}

QString Label::fill(QString const& contentTemplate, QString const& name, QString const& type, QString const& value)
{
    // One pass over the template, so a value that itself contains "%name%" stays as it is.
    QString out;
    out.reserve(contentTemplate.size());
    int i = 0;
    int const n = static_cast<int>(contentTemplate.size());
    while (i < n) {
        QChar const c = contentTemplate.at(i);
        if (c == QLatin1Char('%')) {
            int const end = static_cast<int>(contentTemplate.indexOf(QLatin1Char('%'), i + 1));
            if (end > i) {
                QString const key = contentTemplate.mid(i + 1, end - i - 1);
                bool known = true;
                if (key == QLatin1String("name"))
                    out += name;
                else if (key == QLatin1String("type"))
                    out += type;
                else if (key == QLatin1String("value"))
                    out += value;
                else
                    known = false;
                if (known) {
                    i = end + 1;
                    continue;
                }
            }
        }
        out += c;
        ++i;
    }
    return out;
}

void Label::updateForStage(StageIdentifier const&, int, int)
{
    text_ = fill(template_, name_, type_, value_);
    ++updates_;
}

} // namespace Fig2
} // namespace Kav
