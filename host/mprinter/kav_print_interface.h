#pragma once
#include "kavhost_export.h"
#include "mcadcmd/kav_command_interface.h"
#include <QByteArray>
#include <QString>
#include <functional>
#include <utility>
#include <memory>
#include <vector>

namespace Kav {
namespace CAD {
class Report;
}
namespace MPrinter {

// A source of printable views. The documentation print interface captures the scene's
// visual state for snapshots. Joins PrintInterfaceContainer on construction.
class KAVHOST_EXPORT PrintInterface {
public:
    explicit PrintInterface(QString const& viewName);
    virtual ~PrintInterface();
    PrintInterface(PrintInterface const&) = delete;
    PrintInterface& operator=(PrintInterface const&) = delete;

    virtual bool isActive() { return active_; }
    virtual bool hasDocumentation() const { return documentation_; }
    virtual bool isAvailable() { return available_; }
    virtual QString getViewName() const { return viewName_; }
    // New accesses (the caller owns them): the view (type 0), the legend (type 1), then one
    // element access (type 3) per element in scene order, each extracted through the
    // property-access factory. Types without a registered creator are left out.
    virtual MCADCmd::AccessList extractPropertyAccess();
    // Gives `report` what extractPropertyAccess would, held through CAD::SharedAccesses. An
    // element's access depends only on the element (with the command interface and its
    // render side): one whose revision (CAD::Element::getRevision) is what it was at this
    // interface's last capture keeps the access taken then, while the report that holds it
    // keeps that list. Only changed elements are extracted again, and their accesses held
    // without comparing them with those held. A derived interface, or one over a derived
    // command interface, gives the report a fresh extractPropertyAccess().
    void captureInto(CAD::Report& report);

    // A small PNG picture of the view for a snapshot, from the source the application set;
    // empty without one (a headless run has no window to take it from).
    QByteArray takePicture() const { return pictureSource_ ? pictureSource_() : QByteArray(); }
    void setPictureSource(std::function<QByteArray()> source) { pictureSource_ = std::move(source); }

    void setActive(bool a) { active_ = a; }
    void setDocumentation(bool d) { documentation_ = d; }
    void setAvailable(bool a) { available_ = a; }

private:
    QString viewName_;
    bool active_ = true;
    bool documentation_ = true;
    bool available_ = true;
    std::function<QByteArray()> pictureSource_;
    struct Captured;
    std::unique_ptr<Captured> captured_;
};

class KAVHOST_EXPORT PrintInterfaceContainer {
public:
    // In construction order.
    static std::vector<PrintInterface*> getAllInterfaces();
    // Those that are available.
    static std::vector<PrintInterface*> getSensitiveInterfaces();

private:
    friend class PrintInterface;
    static void add(PrintInterface* pi);
    static void remove(PrintInterface* pi);
};

} // namespace MPrinter
} // namespace Kav
