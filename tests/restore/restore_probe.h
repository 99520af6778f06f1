#pragma once
// A small element access for the restore tests: it captures an element's own visibility
// (id 6) and colour (id 5), hides new elements, counts the live objects, and reports a
// chosen memory size.

#include "cad/kav_element.h"
#include "cad/kav_element_creator.h"
#include "cad/kav_record_manager.h"
#include "core/kav_errors.h"
#include "gapp/kav_main_window.h"
#include "gapp/kav_view_widget_container.h"
#include "mcadcmd/kav_host_session.h"
#include "mvp_responder.h"
#include "propertyaccess/kav_property_access_base.h"
#include "propertyaccess/kav_property_access_creator.h"

#include <gtest/gtest.h>

#include <memory>

namespace RestoreTest {

using Kav::PropertyAccess::PropAccessType_t;
using Kav::PropertyAccess::PropertyAccessBase;

class ProbeAccess : public PropertyAccessBase {
public:
    static inline int live = 0;
    static inline unsigned int bytes = 100;

    ProbeAccess() : PropertyAccessBase(Kav::PropertyAccess::PROP_ACC_CAD_ELEMENT)
    {
        setUsageFlag(Kav::PropertyAccess::PROP_ELEMENT_VISUALIZATION, true);
        setUsageFlag(Kav::PropertyAccess::PROP_ELEMENT_VISIBILITY, true);
        ++live;
    }
    ProbeAccess(ProbeAccess const& o) : PropertyAccessBase(o), visible(o.visible), color(o.color) { ++live; }
    ~ProbeAccess() override { --live; }

    unsigned int getNumberOfBlocks() const override { return 1; }
    void saveStream(Kav::IO::OutStream*) const override {}
    unsigned int loadStream(Kav::IO::InStream*) override { return 1; }
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
    // Hides an element that the snapshot does not know.
    void setNewInvisible(QString const& name) override { element(name)->setElementVisible(false); }
    PropertyAccessBase* copy() const override { return new ProbeAccess(*this); }
    QString getTypeString() const override { return QStringLiteral("probe"); }
    QString getTypeDescription() const override { return QStringLiteral("probe element"); }
    unsigned int memSize() const override { return bytes; }

    bool visible = true;
    quint32 color = 0;

private:
    static Kav::CAD::Element* element(QString const& name)
    {
        Kav::CAD::Element* e = Kav::MCADCmd::CommandInterface::getInterface()->getCADElementForElement(name).getElement();
        if (!e)
            throw Kav::ProgError(QStringLiteral("ProbeAccess"), QStringLiteral("test"), __LINE__,
                                 QStringLiteral("no element"));
        return e;
    }
};

class ProbeCreator : public Kav::PropertyAccess::PropertyAccessCreator {
public:
    ProbeCreator() : PropertyAccessCreator(Kav::PropertyAccess::PROP_ACC_CAD_ELEMENT) {}
    PropertyAccessBase* create() const override { return new ProbeAccess; }
    Kav::PropertyAccess::PropTemplateCat_t getPropertyDescriptions(
        Kav::PropertyAccess::PropertyDescriptions* out) const override
    {
        out->emplace_back(Kav::PropertyAccess::PROP_ELEMENT_VISUALIZATION, QStringLiteral("element visualization"));
        out->emplace_back(Kav::PropertyAccess::PROP_ELEMENT_VISIBILITY, QStringLiteral("element visibility"));
        return Kav::PropertyAccess::CAT_RESTORE_EXPLORER_ELEMENTS;
    }
};

// A host session with elements A, B, C, a main window, an empty undo history, the probe as
// the element access, and a responder that fails the test on any unexpected dialog.
class ProbeScene : public ::testing::Test {
protected:
    void SetUp() override
    {
        Kav::CAD::RecordManager::_manager->clearHistory();
        ProbeAccess::bytes = 100;
        for (char const* name : {"A", "B", "C"})
            addPart(QString::fromLatin1(name));
        Kav::GApp::ViewWidgetContainer::setFrontViewCallback(
            [this](QString const& view) { frontViews.push_back(view); });
    }
    void TearDown() override
    {
        Kav::GApp::ViewWidgetContainer::setFrontViewCallback(nullptr);
        Kav::CAD::RecordManager::_manager->clearHistory();
    }

    Kav::MCADCmd::Scene& scene() { return session.scene(); }
    Kav::CAD::Element* element(char const* name) { return scene().findElement(QString::fromLatin1(name)); }

    void addPart(QString const& name)
    {
        scene().addElement(Kav::CAD::ElementCreator::create(Kav::CAD::ElementCreator::PART, name));
    }

    // A report holding the state of the scene as it is now, taken the way the host does.
    Kav::CAD::Report* snapshot(QString const& name, QString const& viewName = QString())
    {
        auto report = std::make_unique<Kav::CAD::Report>(name);
        report->setCreationPropertyAccess(session.printInterface().extractPropertyAccess());
        report->setViewName(viewName);
        return scene().addReport(std::move(report));
    }

    // Visibility and colour of every element, e.g. "A:1:808080 B:0:ff0000".
    QString state()
    {
        QStringList parts;
        for (Kav::CAD::Element* e : scene().elements())
            parts << QStringLiteral("%1:%2:%3")
                         .arg(e->getName())
                         .arg(e->isVisible(Kav::CAD::VISIBLE_OWN) ? 1 : 0)
                         .arg(e->getElemProperties()->color, 6, 16, QLatin1Char('0'));
        return parts.join(QLatin1Char(' '));
    }

    // Changes every element's colour and hides B.
    void disturb()
    {
        quint32 color = 0x100000;
        for (Kav::CAD::Element* e : scene().elements())
            e->getElemProperties()->color = color += 0x010101;
        element("B")->setElementVisible(false);
    }

    Kav::GApp::MainWindow window;
    Kav::MCADCmd::HostSession session;
    ProbeCreator creator;
    MvpTest::ResponderGuard responder;
    std::vector<QString> frontViews;
};

} // namespace RestoreTest
