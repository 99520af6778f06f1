#include "access/mvp_feature_property_access_base.h"

#include "io/kav_stream.h"

namespace Kav {
namespace MCADVisProp {

using namespace PropertyAccess;

namespace {
constexpr unsigned int OLDEST_VERSION = 1;
constexpr unsigned int VERSION = 2;
} // namespace

FeaturePropertyAccessBase::FeaturePropertyAccessBase(PropAccessType_t type) : PropertyAccessBase(type) {}

FeaturePropertyAccessBase::~FeaturePropertyAccessBase() = default;

unsigned int FeaturePropertyAccessBase::getNumberOfBlocks() const
{
    return elementAccess.getNumberOfBlocks() + 1;
}

unsigned int FeaturePropertyAccessBase::getMainBlockSize() const
{
    return 2 * IO::Stream::SizeBool + IO::Stream::SizeUInt;
}

void FeaturePropertyAccessBase::saveStream(IO::OutStream* out) const
{
    out->beginBlock(getMainBlockSize(), VERSION);
    out->writeBool(featureFlag);
    out->writeBool(featureFlag2);
    out->writeUInt(featureValue);
    out->endBlock();
    elementAccess.saveStream(out);
}

unsigned int FeaturePropertyAccessBase::loadStream(IO::InStream* in)
{
    in->openBlock();
    unsigned int const version = in->getBlockVersion();
    if (version < OLDEST_VERSION || version > VERSION)
        return 0;
    // Into locals: a stream that ends early, here or in the element's blocks, must leave
    // the feature's values as they were (the element access keeps its own the same way).
    bool flag = false;
    bool flag2 = false;
    unsigned int value = featureValue;
    in->readBool(&flag);
    if (version >= VERSION) {
        in->readBool(&flag2);
        in->readUInt(&value);
    }
    in->closeBlock();
    unsigned int const elementBlocks = elementAccess.loadStream(in);
    featureFlag = flag;
    featureFlag2 = flag2;
    featureValue = value;
    return elementBlocks + 1;
}

unsigned int FeaturePropertyAccessBase::memSize() const
{
    return elementAccess.memSize() + getMainBlockSize();
}

void FeaturePropertyAccessBase::copyTo(FeaturePropertyAccessBase* target) const
{
    if (!target || target == this)
        return;
    PropertyAccessBase::copyTo(target);
    target->featureFlag = featureFlag;
    target->elementAccess = elementAccess;
    target->featureFlag2 = featureFlag2;
    target->featureValue = featureValue;
}

} // namespace MCADVisProp
} // namespace Kav
