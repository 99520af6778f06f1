#pragma once
// The restore tests' scene, with the probe as the element access.

#include "cad/kav_element.h"
#include "cad/kav_element_creator.h"
#include "cad/kav_record_manager.h"
#include "gapp/kav_main_window.h"
#include "gapp/kav_view_widget_container.h"
#include "mcadcmd/kav_host_session.h"
#include "mvp_probe_access.h"
#include "mvp_responder.h"

#include <gtest/gtest.h>

#include <memory>

namespace RestoreTest {

using MvpTest::ProbeAccess;
using MvpTest::ProbeCreator;

// A host session with elements A, B, C, a main window, an empty undo history, the probe as
// the element access, and a responder that fails the test on any unexpected dialog.
class ProbeScene : public ::testing::Test {
protected:
    void SetUp() override
    {
        Kav::CAD::RecordManager::_manager->clearHistory();
        ProbeAccess::bytes = 100;
        for (char const* name : {"A", "B", "C"})
            scene().addElement(Kav::CAD::ElementCreator::create(Kav::CAD::ElementCreator::PART, QString::fromLatin1(name)));
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

    // A report holding the state of the scene as it is now, taken the way the host does.
    Kav::CAD::Report* snapshot(QString const& name)
    {
        auto report = std::make_unique<Kav::CAD::Report>(name);
        report->setCreationPropertyAccess(session.printInterface().extractPropertyAccess());
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
