#pragma once
// Small property accesses for the host's tests: just enough state to see that the host
// finds targets, frames streams and reports what it could not apply.

#include "core/kav_errors.h"
#include "gl/kav_view.h"
#include "glegend2/kav_global_legend.h"
#include "io/kav_stream.h"
#include "mcadcmd/kav_command_interface.h"
#include "propertyaccess/kav_property_access_base.h"
#include "propertyaccess/kav_property_access_creator.h"

#include <memory>

#include <ostream>

// Readable QStrings in failure messages.
inline void PrintTo(QString const& s, std::ostream* os)
{
    *os << s.toStdString();
}

namespace MvpTest {

using namespace Kav::PropertyAccess;

inline Kav::MCADCmd::CommandInterface* ci()
{
    Kav::MCADCmd::CommandInterface* c = Kav::MCADCmd::CommandInterface::getInterface();
    if (c == nullptr)
        throw Kav::ProgError(QStringLiteral("MvpTest::ci"), QStringLiteral("test"), __LINE__,
                             QStringLiteral("no command interface"));
    return c;
}

class TestViewAccess : public PropertyAccessBase {
public:
    TestViewAccess() : PropertyAccessBase(PROP_ACC_3D_VIEW) {}
    Kav::BaVec3d<double> rotation;
    double scale = 1.0;

    unsigned int getNumberOfBlocks() const override { return 1; }
    void saveStream(Kav::IO::OutStream* out) const override
    {
        out->beginBlock(32, 1);
        Kav::IO::writeVec3d(out, rotation);
        out->writeDouble(scale);
        out->endBlock();
    }
    unsigned int loadStream(Kav::IO::InStream* in) override
    {
        in->openBlock();
        if (in->getBlockVersion() != 1)
            return 0;
        Kav::IO::readVec3d(in, &rotation);
        scale = in->readDouble();
        in->closeBlock();
        return 1;
    }
    void apply(QString const&) const override
    {
        Kav::GL::ViewCreator* v = ci()->getGLViewCreator();
        if (getUsageFlag(PROP_ROTATION))
            v->setRotation(rotation);
        if (getUsageFlag(PROP_SCALE))
            v->setScale(scale);
    }
    void extract(QString const&) override
    {
        setExplorerName(QStringLiteral("test view"));
        rotation = ci()->getGLViewCreator()->getRotation();
        scale = ci()->getGLViewCreator()->getScale();
    }
    PropertyAccessBase* copy() const override { return new TestViewAccess(*this); }
    QString getTypeString() const override { return QStringLiteral("3d_view"); }
    QString getTypeDescription() const override { return QStringLiteral("view type"); }
    unsigned int memSize() const override { return 32; }
};

class TestViewCreator : public PropertyAccessCreator {
public:
    TestViewCreator() : PropertyAccessCreator(PROP_ACC_3D_VIEW) {}
    PropertyAccessBase* create() const override { return new TestViewAccess; }
    PropTemplateCat_t getPropertyDescriptions(PropertyDescriptions* out) const override
    {
        out->emplace_back(PROP_ROTATION, QStringLiteral("rotation"));
        out->emplace_back(PROP_SCALE, QStringLiteral("scale"));
        return CAT_RESTORE_3D;
    }
};

class TestLegendAccess : public PropertyAccessBase {
public:
    TestLegendAccess() : PropertyAccessBase(PROP_ACC_LEGEND) {}
    Kav::KString data;

    unsigned int getNumberOfBlocks() const override { return 1; }
    void saveStream(Kav::IO::OutStream* out) const override
    {
        out->beginBlock(Kav::IO::Stream::sizeOf(data), 1);
        out->writeString(data);
        out->endBlock();
    }
    unsigned int loadStream(Kav::IO::InStream* in) override
    {
        in->openBlock();
        if (in->getBlockVersion() != 1)
            return 0;
        data = in->readString();
        in->closeBlock();
        return 1;
    }
    void apply(QString const&) const override
    {
        if (getUsageFlag(PROP_LEGEND_ALL) && !data.isEmpty())
            Kav::GLegend2::GlobalLegend::getInstance()->setStreamData(data);
    }
    void extract(QString const&) override
    {
        setExplorerName(QStringLiteral("test legend"));
        data = Kav::GLegend2::GlobalLegend::getInstance()->getStreamData();
    }
    PropertyAccessBase* copy() const override { return new TestLegendAccess(*this); }
    QString getTypeString() const override { return QStringLiteral("legend"); }
    QString getTypeDescription() const override { return QStringLiteral("legend type"); }
    unsigned int memSize() const override { return static_cast<unsigned int>(data.size()); }
};

class TestLegendCreator : public PropertyAccessCreator {
public:
    TestLegendCreator() : PropertyAccessCreator(PROP_ACC_LEGEND) {}
    PropertyAccessBase* create() const override { return new TestLegendAccess; }
    PropTemplateCat_t getPropertyDescriptions(PropertyDescriptions* out) const override
    {
        out->emplace_back(PROP_LEGEND_ALL, QStringLiteral("all legend parameters"));
        return CAT_RESTORE_GENERAL;
    }
};

// Colour and visibility of one element. `writeVersion` other than 1 makes a block this
// access refuses to read back.
class TestElementAccess : public PropertyAccessBase {
public:
    TestElementAccess() : PropertyAccessBase(PROP_ACC_CAD_ELEMENT) {}
    quint32 color = 0;
    bool visible = true;
    unsigned int writeVersion = 1;

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
        Kav::CAD::Element* e = ci()->getCADElementForElement(name).getElement();
        if (e == nullptr)
            return;
        if (getUsageFlag(PROP_ELEMENT_VISUALIZATION))
            e->getElemProperties()->color = color;
        if (getUsageFlag(PROP_ELEMENT_VISIBILITY))
            e->setElementVisible(visible);
    }
    void extract(QString const& name) override
    {
        Kav::CAD::Element* e = ci()->getCADElementForElement(name).getElement();
        if (e == nullptr)
            return;
        setExplorerName(ci()->getNameForElement(name));
        color = e->getElemProperties()->color;
        visible = e->isVisible(Kav::CAD::VISIBLE_OWN);
    }
    void setNewInvisible(QString const& name) override
    {
        Kav::CAD::Element* e = ci()->getCADElementForElement(name).getElement();
        QString parent;
        if (e != nullptr && !ci()->getParentElement(name, &parent))
            e->setElementVisible(false);
    }
    PropertyAccessBase* copy() const override { return new TestElementAccess(*this); }
    QString getTypeString() const override { return QStringLiteral("test_element"); }
    QString getTypeDescription() const override { return QStringLiteral("element type"); }
    unsigned int memSize() const override { return 5; }
};

class TestElementCreator : public PropertyAccessCreator {
public:
    TestElementCreator() : PropertyAccessCreator(PROP_ACC_CAD_ELEMENT) {}
    PropertyAccessBase* create() const override { return new TestElementAccess; }
    PropTemplateCat_t getPropertyDescriptions(PropertyDescriptions* out) const override
    {
        out->emplace_back(PROP_ELEMENT_VISIBILITY, QStringLiteral("element visibility"));
        out->emplace_back(PROP_ELEMENT_VISUALIZATION, QStringLiteral("element visualization"));
        out->emplace_back(PROP_ELEMENT_PULLOUT_DISTANCE, QStringLiteral("element pullout distance"));
        return CAT_RESTORE_EXPLORER_ELEMENTS;
    }
};

// Refuses every use on the scene, as an access whose kind is gone.
class ThrowingAccess : public PropertyAccessBase {
public:
    ThrowingAccess() : PropertyAccessBase(PROP_ACC_CAD_CONTAINER) {}
    unsigned int getNumberOfBlocks() const override { return 1; }
    void saveStream(Kav::IO::OutStream* out) const override
    {
        out->beginBlock(0, 1);
        out->endBlock();
    }
    unsigned int loadStream(Kav::IO::InStream* in) override
    {
        in->openBlock();
        in->closeBlock();
        return 1;
    }
    void apply(QString const&) const override
    {
        throw Kav::ProgError(QStringLiteral("ThrowingAccess::apply"), QStringLiteral("test"), __LINE__,
                             QStringLiteral("no containers here"));
    }
    void extract(QString const&) override {}
    PropertyAccessBase* copy() const override { return new ThrowingAccess(*this); }
    QString getTypeString() const override { return QStringLiteral("cad_container"); }
    QString getTypeDescription() const override { return QStringLiteral("container type"); }
    unsigned int memSize() const override { return 0; }
};

class ThrowingCreator : public PropertyAccessCreator {
public:
    ThrowingCreator() : PropertyAccessCreator(PROP_ACC_CAD_CONTAINER) {}
    PropertyAccessBase* create() const override { return new ThrowingAccess; }
    PropTemplateCat_t getPropertyDescriptions(PropertyDescriptions* out) const override
    {
        out->emplace_back(PROP_ELEMENT_VISIBILITY, QStringLiteral("element visibility"));
        return CAT_RESTORE_EXPLORER_ELEMENTS;
    }
};

// All four test creators, registered for the scope of a test; reset one to take its type
// away.
struct TestCreators {
    std::unique_ptr<TestViewCreator> view = std::make_unique<TestViewCreator>();
    std::unique_ptr<TestLegendCreator> legend = std::make_unique<TestLegendCreator>();
    std::unique_ptr<ThrowingCreator> container = std::make_unique<ThrowingCreator>();
    std::unique_ptr<TestElementCreator> element = std::make_unique<TestElementCreator>();
};

} // namespace MvpTest
