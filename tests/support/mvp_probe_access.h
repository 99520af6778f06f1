#pragma once
// A small element access for the host's and the restore tests: an element's own visibility
// (id 6) and colour (id 5) in one block, new elements hidden, the live objects counted, a
// chosen memory size. `writeVersion` other than 1 writes a block it refuses to read back.

#include "cad/kav_element.h"
#include "core/kav_errors.h"
#include "io/kav_stream.h"
#include "mcadcmd/kav_command_interface.h"
#include "propertyaccess/kav_property_access_base.h"
#include "propertyaccess/kav_property_access_creator.h"

namespace MvpTest {

class ProbeAccess : public Kav::PropertyAccess::PropertyAccessBase {
public:
    static inline int live = 0;
    static inline unsigned int bytes = 100;

    ProbeAccess() : PropertyAccessBase(Kav::PropertyAccess::PROP_ACC_CAD_ELEMENT)
    {
        setUsageFlag(Kav::PropertyAccess::PROP_ELEMENT_VISUALIZATION, true);
        setUsageFlag(Kav::PropertyAccess::PROP_ELEMENT_VISIBILITY, true);
        ++live;
    }
    ProbeAccess(ProbeAccess const& o)
        : PropertyAccessBase(o), visible(o.visible), color(o.color), writeVersion(o.writeVersion)
    {
        ++live;
    }
    ~ProbeAccess() override { --live; }

    unsigned int getNumberOfBlocks() const override { return 1; }
    void saveStream(Kav::IO::OutStream* out) const override
    {
        out->beginBlock(5, writeVersion);
        out->writeUInt(color);
        out->writeBool(visible);
        out->endBlock();
    }
    unsigned int loadStream(Kav::IO::InStream* in) override
    {
        in->openBlock();
        if (in->getBlockVersion() != 1)
            return 0;
        color = in->readUInt();
        visible = in->readBool();
        in->closeBlock();
        return 1;
    }
    void apply(QString const& name) const override
    {
        Kav::CAD::Element* e = element(name);
        if (getUsageFlag(Kav::PropertyAccess::PROP_ELEMENT_VISIBILITY))
            e->setElementVisible(visible);
        if (getUsageFlag(Kav::PropertyAccess::PROP_ELEMENT_VISUALIZATION))
            e->getElemProperties()->color = color;
    }
    void extract(QString const& name) override
    {
        Kav::CAD::Element* e = element(name);
        setExplorerName(name);
        visible = e->isVisible(Kav::CAD::VISIBLE_OWN);
        color = e->getElemProperties()->color;
    }
    void setNewInvisible(QString const& name) override { element(name)->setElementVisible(false); }
    PropertyAccessBase* copy() const override { return new ProbeAccess(*this); }
    QString getTypeString() const override { return QStringLiteral("probe"); }
    QString getTypeDescription() const override { return QStringLiteral("probe element"); }
    unsigned int memSize() const override { return bytes; }

    bool visible = true;
    quint32 color = 0;
    unsigned int writeVersion = 1;

private:
    static Kav::CAD::Element* element(QString const& name)
    {
        Kav::CAD::Element* e = Kav::MCADCmd::CommandInterface::getInterface()->getCADElementForElement(name).getElement();
        if (!e)
            throw Kav::ProgError(KAV_HERE, QStringLiteral("no element"));
        return e;
    }
};

class ProbeCreator : public Kav::PropertyAccess::PropertyAccessCreator {
public:
    ProbeCreator() : PropertyAccessCreator(Kav::PropertyAccess::PROP_ACC_CAD_ELEMENT) {}
    Kav::PropertyAccess::PropertyAccessBase* create() const override { return new ProbeAccess; }
    Kav::PropertyAccess::PropTemplateCat_t getPropertyDescriptions(
        Kav::PropertyAccess::PropertyDescriptions* out) const override
    {
        out->emplace_back(Kav::PropertyAccess::PROP_ELEMENT_VISUALIZATION, QStringLiteral("element visualization"));
        out->emplace_back(Kav::PropertyAccess::PROP_ELEMENT_VISIBILITY, QStringLiteral("element visibility"));
        return Kav::PropertyAccess::CAT_RESTORE_EXPLORER_ELEMENTS;
    }
};

} // namespace MvpTest
