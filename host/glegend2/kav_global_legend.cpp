#include "glegend2/kav_global_legend.h"

#include "core/kav_limits.h"
#include "io/kav_stream.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>

namespace Kav {
namespace GLegend2 {

char const* const APP_NAME = "GLegend2";
unsigned int const REASON_LUT = 2;

namespace {

GlobalLegend* g_instance = nullptr;

// The stream data is a small block stream of its own, so that it carries its type and
// version and every read is bounds-checked.
char const* const DATA_TYPE = "GLOBAL_LEGEND";
constexpr unsigned int DATA_VERSION = 1;

bool knownMap(QString const& name)
{
    return name == QLatin1String("rainbow") || name == QLatin1String("grey") || name == QLatin1String("signal");
}

quint32 rgb(double r, double g, double b)
{
    auto c = [](double v) {
        long const i = std::lround(std::min(1.0, std::max(0.0, v)) * 255.0);
        return static_cast<quint32>(i);
    };
    return (c(r) << 16) | (c(g) << 8) | c(b);
}

} // namespace

GlobalLegend::GlobalLegend() = default;

GlobalLegend::~GlobalLegend()
{
    if (g_instance == this)
        g_instance = nullptr;
}

GlobalLegend* GlobalLegend::getInstance()
{
    return g_instance;
}

void GlobalLegend::setInstance(GlobalLegend* legend)
{
    g_instance = legend;
}

KString GlobalLegend::getStreamData() const
{
    QByteArray bytes;
    IO::OutStream out(&bytes, KString(DATA_TYPE), DATA_VERSION);
    out.beginBlock(DATA_VERSION);
    out.writeDouble(min_);
    out.writeDouble(max_);
    out.writeUInt(steps_);
    out.writeBool(visible_);
    out.writeString(colorMap_);
    out.endBlock();
    out.close();
    return KString(bytes);
}

bool GlobalLegend::setStreamData(KString const& data)
{
    if (data.isEmpty() || data.size() > static_cast<std::size_t>(MAX_STREAM_DATA))
        return false;
    double min = 0.0;
    double max = 0.0;
    unsigned int steps = 0;
    bool visible = true;
    QString map;
    try {
        IO::InStream in(data.toByteArray(), QStringLiteral("legend data"));
        if (in.getType() != KString(DATA_TYPE) || in.getVersion() != DATA_VERSION)
            return false;
        in.openBlock();
        if (in.getBlockVersion() != DATA_VERSION)
            return false;
        min = in.readDouble();
        max = in.readDouble();
        steps = in.readUInt();
        visible = in.readBool();
        in.readString(&map);
        in.closeBlock();
        if (!in.atEnd())
            return false;
    } catch (IO::StreamException const&) {
        return false;
    }
    if (!Limits::legendRange(min, max) || steps < 2 || steps > MAX_STEPS || !knownMap(map))
        return false;
    min_ = min;
    max_ = max;
    steps_ = steps;
    visible_ = visible;
    colorMap_ = map;
    return true;
}

bool GlobalLegend::setRange(double min, double max)
{
    if (!Limits::legendRange(min, max))
        return false;
    min_ = min;
    max_ = max;
    return true;
}

bool GlobalLegend::setSteps(unsigned int steps)
{
    if (steps < 2 || steps > MAX_STEPS)
        return false;
    steps_ = steps;
    return true;
}

bool GlobalLegend::setColorMap(QString const& name)
{
    if (!knownMap(name))
        return false;
    colorMap_ = name;
    return true;
}

quint32 GlobalLegend::colorFor(double value) const
{
    double f = std::isfinite(value) ? (value - min_) / (max_ - min_) : 0.0;
    f = std::min(1.0, std::max(0.0, f));
    unsigned int step = static_cast<unsigned int>(f * steps_);
    if (step >= steps_)
        step = steps_ - 1;
    double const s = steps_ > 1 ? static_cast<double>(step) / (steps_ - 1) : 0.0;
    if (colorMap_ == QLatin1String("grey"))
        return rgb(s, s, s);
    if (colorMap_ == QLatin1String("signal")) {
        // green in the middle, red at both ends
        double const d = std::fabs(2.0 * s - 1.0);
        return rgb(d, 1.0 - d, 0.0);
    }
    // rainbow: blue - cyan - green - yellow - red
    double const h = 4.0 * s;
    if (h < 1.0)
        return rgb(0.0, h, 1.0);
    if (h < 2.0)
        return rgb(0.0, 1.0, 2.0 - h);
    if (h < 3.0)
        return rgb(h - 2.0, 1.0, 0.0);
    return rgb(1.0, 4.0 - h, 0.0);
}

} // namespace GLegend2
} // namespace Kav
