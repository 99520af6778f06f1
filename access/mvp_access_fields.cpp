#include "access/mvp_access_fields_p.h"

#include "cad/kav_shared_accesses.h"
#include "io/kav_stream.h"

#include <cmath>

namespace Kav {
namespace MCADVisProp {

using namespace PropertyAccess;

namespace {

// A type the plug-in does not know (a feature of another library): its stream form is the
// one value there is, restored whole when any of its properties is.
class GenericFields : public AccessFields {
public:
    std::vector<PropTemplateID_t> ids() const override { return {}; }

    void compare(PropertyAccessBase const& stored, IdSet enabled, PropertyAccessBase const& current, CAD::Element*,
                 DifferenceSink const& out, bool texts) const override
    {
        if (!enabled.any())
            return;
        QByteArray const s = form(stored);
        QByteArray const c = form(current);
        if (s != c)
            out("data", texts ? QString::fromLatin1(s.toHex()) : QString(), texts ? QString::fromLatin1(c.toHex()) : QString());
    }

    std::unique_ptr<PropertyAccessBase> take(PropertyAccessBase const& stored, PropertyAccessBase const& current,
                                             IdSet taken) const override
    {
        if (!taken.any() || form(stored) == form(current))
            return nullptr;
        std::unique_ptr<PropertyAccessBase> fresh(current.copy());
        // The snapshot's own name and flags stay.
        stored.copyTo(fresh.get());
        return fresh;
    }

private:
    static QByteArray form(PropertyAccessBase const& access)
    {
        try {
            return CAD::SharedAccesses::streamForm(access);
        } catch (IO::StreamException const&) {
            return QByteArray();
        }
    }
};

} // namespace

IdSet IdSet::of(UsageFlags const& flags)
{
    IdSet set;
    for (auto const& f : flags)
        set.set(f.first, f.second);
    return set;
}

void IdSet::set(PropTemplateID_t id, bool on)
{
    if (id >= 0 && id < 64) {
        std::uint64_t const bit = std::uint64_t(1) << id;
        bits_ = on ? bits_ | bit : bits_ & ~bit;
    } else if (on) {
        ++others_;
    }
}

bool IdSet::has(PropTemplateID_t id) const
{
    return id >= 0 && id < 64 && (bits_ >> id & 1u) != 0;
}

AccessFields::~AccessFields() = default;

AccessFields const& AccessFields::of(PropAccessType_t type)
{
    static GenericFields const generic;
    switch (type) {
    case PROP_ACC_3D_VIEW:
        return glViewFields();
    case PROP_ACC_LEGEND:
        return legendFields();
    case PROP_ACC_CAD_CONTAINER:
        return containerFields();
    case PROP_ACC_CAD_ELEMENT:
        return elementFields();
    default:
        return generic;
    }
}

QString listText(std::initializer_list<double> values)
{
    QString out = QStringLiteral("[");
    for (double v : values) {
        if (out.size() > 1)
            out += QStringLiteral(", ");
        out += QLatin1Char('"') + numberText(v) + QLatin1Char('"');
    }
    return out + QLatin1Char(']');
}

QString boolText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace MCADVisProp
} // namespace Kav
