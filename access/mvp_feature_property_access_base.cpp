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
    in->readBool(&featureFlag);
    featureFlag2 = false;
    if (version >= VERSION) {
        in->readBool(&featureFlag2);
        in->readUInt(&featureValue);
    }
    in->closeBlock();
    return elementAccess.loadStream(in) + 1;
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
