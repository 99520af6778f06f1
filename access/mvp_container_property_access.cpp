#include "access/mvp_container_property_access.h"

#include "access/mvp_access_fields_p.h"
#include "access/mvp_property_access_p.h"
#include "core/kav_translate.h"
#include "io/kav_stream.h"

namespace Kav {
namespace MCADVisProp {

using namespace PropertyAccess;

namespace {
constexpr unsigned int VERSION = 1;
}

CADContainerPropertyAccess::CADContainerPropertyAccess() : PropertyAccessBase(PROP_ACC_CAD_CONTAINER) {}

CADContainerPropertyAccess::~CADContainerPropertyAccess() = default;

unsigned int CADContainerPropertyAccess::getNumberOfBlocks() const
{
    return 1;
}

unsigned int CADContainerPropertyAccess::getMainBlockSize() const
{
    return IO::Stream::SizeBool;
}

void CADContainerPropertyAccess::saveStream(IO::OutStream* out) const
{
    out->beginBlock(getMainBlockSize(), VERSION);
    out->writeBool(visible);
    out->endBlock();
}

unsigned int CADContainerPropertyAccess::loadStream(IO::InStream* in)
{
    in->openBlock();
    if (in->getBlockVersion() != VERSION)
        return 0;
    bool flag = visible;
    in->readBool(&flag);
    in->closeBlock();
    visible = flag;
    return 1;
}

void CADContainerPropertyAccess::apply(QString const&) const
{
    raiseAccessError("Kav::MCADVisProp::CADContainerPropertyAccess::apply", __LINE__, NO_CONTAINERS);
}

void CADContainerPropertyAccess::extract(QString const&)
{
    raiseAccessError("Kav::MCADVisProp::CADContainerPropertyAccess::extract", __LINE__, NO_CONTAINERS);
}

void CADContainerPropertyAccess::setNewInvisible(QString const&)
{
    raiseAccessError("Kav::MCADVisProp::CADContainerPropertyAccess::setNewInvisible", __LINE__, NO_CONTAINERS);
}

PropertyAccessBase* CADContainerPropertyAccess::copy() const
{
    auto* access = new CADContainerPropertyAccess;
    *access = *this;
    return access;
}

QString CADContainerPropertyAccess::getTypeString() const
{
    return QStringLiteral("cad_container");
}

QString CADContainerPropertyAccess::getTypeDescription() const
{
    return translate("MCADVisProp_prop_acc", "container #type for error msg");
}

bool CADContainerPropertyAccess::isVisible() const
{
    return visible;
}

unsigned int CADContainerPropertyAccess::memSize() const
{
    return 1;
}

CADContainerPropertyAccessCreator::CADContainerPropertyAccessCreator() : PropertyAccessCreator(PROP_ACC_CAD_CONTAINER)
{
}

PropertyAccessBase* CADContainerPropertyAccessCreator::create() const
{
    return new CADContainerPropertyAccess;
}

PropTemplateCat_t CADContainerPropertyAccessCreator::getPropertyDescriptions(PropertyDescriptions* out) const
{
    out->emplace_back(PROP_ELEMENT_VISIBILITY, translate("MCADVisProp", "element visibility"));
    return CAT_RESTORE_EXPLORER_ELEMENTS;
}

namespace {

// Nothing of a container can be restored, compared or taken from the scene.
class ContainerFields : public AccessFields {
public:
    std::vector<PropTemplateID_t> ids() const override { return {PROP_ELEMENT_VISIBILITY}; }
    bool restorable() const override { return false; }
    void compare(PropertyAccessBase const&, IdSet, PropertyAccessBase const&, CAD::Element*, DifferenceSink const&,
                 bool) const override
    {
    }
    std::unique_ptr<PropertyAccessBase> take(PropertyAccessBase const&, PropertyAccessBase const&, IdSet) const override
    {
        return nullptr;
    }
};

} // namespace

AccessFields const& containerFields()
{
    static ContainerFields const fields;
    return fields;
}

} // namespace MCADVisProp
} // namespace Kav
