#include "access/mvp_legend_property_access.h"

#include "access/mvp_access_fields_p.h"
#include "access/mvp_property_access_p.h"
#include "core/kav_limits.h"
#include "core/kav_translate.h"
#include "gcad/kav_gcad.h"
#include "glegend2/kav_global_legend.h"
#include "io/kav_stream.h"
#include "mcadcmd/kav_command_interface.h"

namespace Kav {
namespace MCADVisProp {

using namespace PropertyAccess;

namespace {
constexpr unsigned int OLDEST_VERSION = 1;
constexpr unsigned int POSITION_VERSION = 2; // the only version whose position is applied
constexpr unsigned int VERSION = 3;

GCAD::Overlay2d* overlayOf(MCADCmd::CommandInterface* ci)
{
    GCAD::RenderCallback* callback = ci->getRenderCallback();
    return callback ? callback->getOverlay2d() : nullptr;
}
} // namespace

LegendPropertyAccess::LegendPropertyAccess() : PropertyAccessBase(PROP_ACC_LEGEND) {}

LegendPropertyAccess::~LegendPropertyAccess() = default;

unsigned int LegendPropertyAccess::getNumberOfBlocks() const
{
    return 1;
}

unsigned int LegendPropertyAccess::getMainBlockSize() const
{
    return IO::Stream::sizeOf(legendData) + IO::Stream::SizeVec2d;
}

void LegendPropertyAccess::saveStream(IO::OutStream* out) const
{
    out->beginBlock(getMainBlockSize(), VERSION);
    out->writeString(legendData);
    IO::writeVec2d(out, legendPosition);
    out->endBlock();
}

unsigned int LegendPropertyAccess::loadStream(IO::InStream* in)
{
    in->openBlock();
    unsigned int const version = in->getBlockVersion();
    if (version < OLDEST_VERSION || version > VERSION)
        return 0;
    // Read into locals: a truncated block must not leave half the fields changed.
    KString data = legendData;
    BaVec2d<double> position = legendPosition;
    if (version < VERSION) {
        // The settings of versions 1 and 2 are in a form the legend no longer takes.
        QString dropped;
        in->readString(&dropped);
    } else {
        in->readString(&data);
    }
    bool const withPosition = version == POSITION_VERSION;
    if (withPosition) {
        IO::readVec2d(in, &position);
        requireInRange(in, Limits::OVERLAY.contains(position), QT_TRANSLATE_NOOP("MCADVisProp_prop_acc", "the legend's position"));
    }
    // Closing passes over the position of a version 3 block, which is never applied.
    in->closeBlock();
    legendData = data;
    legendPosition = position;
    hasLegendPosition = withPosition;
    return 1;
}

void LegendPropertyAccess::extract(QString const&)
{
    legendData = KString();
    MCADCmd::CommandInterface* ci = requireInterface("Kav::MCADVisProp::LegendPropertyAccess::extract", __LINE__);
    setExplorerName(translate("MCADVisProp_prop_acc", "legend"));
    GLegend2::GlobalLegend* legend = GLegend2::GlobalLegend::getInstance();
    if (!ci->hasLegendData() || !legend)
        return;
    legendData = legend->getStreamData();
    if (GCAD::Overlay2d* overlay = overlayOf(ci))
        legendPosition = overlay->getLabelPosition(legend);
}

void LegendPropertyAccess::apply(QString const&) const
{
    MCADCmd::CommandInterface* ci = requireInterface("Kav::MCADVisProp::LegendPropertyAccess::apply", __LINE__);
    GLegend2::GlobalLegend* legend = GLegend2::GlobalLegend::getInstance();
    if (!ci->hasLegendData() || !legend || !getUsageFlag(PROP_LEGEND_ALL))
        return;
    if (!legendData.isEmpty())
        legend->setStreamData(legendData);
    if (hasLegendPosition) {
        if (GCAD::Overlay2d* overlay = overlayOf(ci))
            overlay->placeElement(legend, legendPosition);
    }
}

PropertyAccessBase* LegendPropertyAccess::copy() const
{
    auto* access = new LegendPropertyAccess;
    *access = *this;
    return access;
}

QString LegendPropertyAccess::getTypeString() const
{
    return QStringLiteral("legend");
}

QString LegendPropertyAccess::getTypeDescription() const
{
    return translate("MCADVisProp_prop_acc", "legend properties #type for error msg");
}

unsigned int LegendPropertyAccess::memSize() const
{
    return static_cast<unsigned int>(legendData.size()) + 17;
}

LegendPropertyAccessCreator::LegendPropertyAccessCreator() : PropertyAccessCreator(PROP_ACC_LEGEND) {}

PropertyAccessBase* LegendPropertyAccessCreator::create() const
{
    return new LegendPropertyAccess;
}

PropTemplateCat_t LegendPropertyAccessCreator::getPropertyDescriptions(PropertyDescriptions* out) const
{
    out->emplace_back(PROP_LEGEND_ALL, translate("MCADVisProp", "all legend parameters"));
    return CAT_RESTORE_GENERAL;
}

// The settings as legend.set has them, read from the stream data through a legend of its
// own; data the legend refuses is not applied. The position is applied only where the
// access carries one.
class LegendFields : public FieldTable<LegendPropertyAccess> {
public:
    using A = LegendPropertyAccess;
    LegendFields()
    {
        auto settings = [](A const& s, A const&, IdSet, CAD::Element*) { return Settings(s).valid; };
        fields_ = {
            {PROP_LEGEND_ALL, true, "range", settings,
             [](A const& a, A const& b) { return Settings(a).range() == Settings(b).range(); },
             [](A const& a) { return Settings(a).range(); }},
            {PROP_LEGEND_ALL, true, "steps", settings,
             [](A const& a, A const& b) { return Settings(a).steps() == Settings(b).steps(); },
             [](A const& a) { return Settings(a).steps(); }},
            {PROP_LEGEND_ALL, true, "visible", settings,
             [](A const& a, A const& b) { return Settings(a).visible() == Settings(b).visible(); },
             [](A const& a) { return Settings(a).visible(); }},
            {PROP_LEGEND_ALL, true, "map", settings,
             [](A const& a, A const& b) { return Settings(a).map() == Settings(b).map(); },
             [](A const& a) { return Settings(a).map(); }},
            {PROP_LEGEND_ALL, true, "position", [](A const& s, A const&, IdSet, CAD::Element*) { return s.hasLegendPosition; },
             [](A const& a, A const& b) { return a.legendPosition == b.legendPosition; },
             [](A const& a) { return listText({a.legendPosition.x, a.legendPosition.y}); }},
        };
        properties_ = {
            {PROP_LEGEND_ALL,
             [](A& to, A const& from) {
                 to.legendData = from.legendData;
                 to.legendPosition = from.legendPosition;
                 to.hasLegendPosition = from.hasLegendPosition;
             },
             [](A const& a, A const& b) {
                 return a.legendData == b.legendData && a.legendPosition == b.legendPosition
                        && a.hasLegendPosition == b.hasLegendPosition;
             }},
        };
    }

private:
    // Empty texts for data the legend does not take.
    struct Settings {
        explicit Settings(A const& a) { valid = legend.setStreamData(a.legendData); }
        QString range() const
        {
            return valid ? listText({legend.getMinimum(), legend.getMaximum()}) : QString();
        }
        QString steps() const { return valid ? QString::number(legend.getSteps()) : QString(); }
        QString visible() const { return valid ? boolText(legend.isLegendVisible()) : QString(); }
        QString map() const { return valid ? legend.getColorMap() : QString(); }
        GLegend2::GlobalLegend legend;
        bool valid = false;
    };
};

AccessFields const& legendFields()
{
    static LegendFields const fields;
    return fields;
}

} // namespace MCADVisProp
} // namespace Kav
