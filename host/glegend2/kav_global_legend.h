#pragma once
#include "kavhost_export.h"
#include "core/kav_kstring.h"
#include "fig2/kav_fig2.h"
#include <QString>

#include <algorithm>
#include <cmath>

namespace Kav {
namespace GLegend2 {

// Status-manager name and change reason of the legend's colour table.
KAVHOST_EXPORT extern char const* const APP_NAME;
KAVHOST_EXPORT extern unsigned int const REASON_LUT;

// The colour legend of the scene's deviations. Its settings travel as one opaque byte
// string (stream data).
class KAVHOST_EXPORT GlobalLegend : public Fig2::Element {
public:
    static constexpr unsigned int MAX_STEPS = 256;
    static constexpr int MAX_STREAM_DATA = 4096;

    GlobalLegend();
    ~GlobalLegend() override;
    // The legend the host installed, or null.
    static GlobalLegend* getInstance();
    static void setInstance(GlobalLegend* legend);

    KString getStreamData() const;
    // False, and nothing changed, for data that is not a complete and sane setting.
    bool setStreamData(KString const& data);

    double getMinimum() const { return min_; }
    double getMaximum() const { return max_; }
    unsigned int getSteps() const { return steps_; }
    bool isLegendVisible() const { return visible_; }
    QString const& getColorMap() const { return colorMap_; }
    // False for a range outside Limits::legendRange; steps outside 2..MAX_STEPS.
    bool setRange(double min, double max);
    bool setSteps(unsigned int steps);
    void setLegendVisible(bool v) { visible_ = v; }
    // "rainbow", "grey" or "signal".
    bool setColorMap(QString const& name);
    // The colour (0xRRGGBB) of a value: the step it falls in.
    quint32 colorFor(double value) const { return stepColor(stepOf(value)); }
    // The step (0 .. steps - 1) a value falls in (inline: views ask it for many values), and
    // the colour of a step.
    unsigned int stepOf(double value) const
    {
        double f = std::isfinite(value) ? (value - min_) / (max_ - min_) : 0.0;
        f = std::min(1.0, std::max(0.0, f));
        unsigned int const step = static_cast<unsigned int>(f * steps_);
        return step >= steps_ ? steps_ - 1 : step;
    }
    quint32 stepColor(unsigned int step) const;

private:
    double min_ = -1.0;
    double max_ = 1.0;
    unsigned int steps_ = 10;
    bool visible_ = true;
    QString colorMap_ = QStringLiteral("rainbow");
};

} // namespace GLegend2
} // namespace Kav
