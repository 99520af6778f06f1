// Every property access's loadStream on one block stream. An access that reads a stream
// completely must write it back, and what it wrote must read again to the same bytes.
#include "mvp_fuzz_common.h"

#include "access/mvp_property_access.h"
#include "io/kav_stream.h"
#include "propertyaccess/kav_property_access_factory.h"

#include <memory>

namespace {

using Kav::PropertyAccess::PropertyAccessBase;

// The smallest feature access a library could derive: the base does all the streaming.
class FuzzFeatureAccess : public Kav::MCADVisProp::FeaturePropertyAccessBase {
public:
    FuzzFeatureAccess() : FeaturePropertyAccessBase(static_cast<Kav::PropertyAccess::PropAccessType_t>(100)) {}
    void apply(QString const&) const override {}
    void extract(QString const&) override {}
    PropertyAccessBase* copy() const override { return new FuzzFeatureAccess(*this); }
    QString getTypeString() const override { return QStringLiteral("fuzz feature"); }
    QString getTypeDescription() const override { return QStringLiteral("fuzz feature"); }
};

QByteArray save(PropertyAccessBase const& access)
{
    QByteArray bytes;
    Kav::IO::OutStream out(&bytes, Kav::KString("MVP_FUZZ"), 1);
    access.saveStream(&out);
    out.close();
    return bytes;
}

void check(PropertyAccessBase* access, QByteArray const& input)
{
    unsigned int read = 0;
    try {
        Kav::IO::InStream in(input);
        read = access->loadStream(&in);
    } catch (Kav::IO::StreamException const&) {
        return;
    }
    if (read > access->getNumberOfBlocks())
        MvpFuzz::violated("loadStream read more blocks than the access has", access->getTypeString());
    std::unique_ptr<PropertyAccessBase> const copy(access->copy());
    (void)copy->memSize();
    if (read < access->getNumberOfBlocks())
        return;
    QByteArray first;
    try {
        first = save(*copy);
    } catch (Kav::IO::StreamException const& e) {
        MvpFuzz::violated("an access that read a stream cannot write it", e.getText());
    }
    std::unique_ptr<PropertyAccessBase> again(copy->copy());
    try {
        Kav::IO::InStream in(first);
        if (again->loadStream(&in) != again->getNumberOfBlocks())
            MvpFuzz::violated("an access does not read back what it wrote", access->getTypeString());
    } catch (Kav::IO::StreamException const& e) {
        MvpFuzz::violated("an access does not read back what it wrote", e.getText());
    }
    if (save(*again) != first)
        MvpFuzz::violated("writing, reading and writing again changes the bytes", access->getTypeString());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size)
{
    MvpFuzz::setUp();
    QByteArray const input = MvpFuzz::bytes(data, size);
    using namespace Kav::PropertyAccess;
    for (PropAccessType_t type : {PROP_ACC_3D_VIEW, PROP_ACC_LEGEND, PROP_ACC_CAD_CONTAINER, PROP_ACC_CAD_ELEMENT}) {
        std::unique_ptr<PropertyAccessBase> access(PropertyAccessFactory::create(type));
        if (!access)
            MvpFuzz::violated("no creator for a library access type");
        check(access.get(), input);
    }
    FuzzFeatureAccess feature;
    check(&feature, input);
    return 0;
}

// The application comes up before the first input, outside the per-input time limit.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    MvpFuzz::setUp();
    return 0;
}
