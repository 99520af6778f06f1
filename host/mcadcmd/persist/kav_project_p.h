#pragma once
// Private to the project files: an element's block and an access's frame, read and written
// one at a time; the file around them is in kav_project.cpp.

#include "cad/kav_element.h"
#include "core/kav_vec.h"
#include "io/kav_stream.h"

#include <QString>

#include <memory>

namespace Kav {
class ErrorLog;
namespace PropertyAccess {
class PropertyAccessBase;
}
namespace MCADCmd {
namespace ProjectFile {

struct ElementRecord {
    QString name;
    unsigned int type = 0;
    QString parent;
    bool visible = true;
    bool valid = true;
    BaVec3d<double> center;
    BaVec3d<double> halfExtent;
    bool hasPullOut = false;
    BaVec3d<double> pullOut;
    bool firstKink = false;
    bool hasLabel = false;
    bool labelAuto = true;
    bool labelVisible = true;
    bool labelConnector = true;
    BaVec3d<double> labelOrigin;
    BaVec2d<double> labelPosition;
    QString labelContent;
    unsigned int labelFont = 10;
    bool labelFrame = true;
    bool autoSampling = true;
    double sampling = 1.0;
    double radius = 10.0;
};

ElementRecord toRecord(CAD::Element& e);
void writeElement(IO::OutStream& out, ElementRecord const& r);
ElementRecord readElement(IO::InStream& in);
// A value out of range is not taken: the element keeps the default for it and the load
// result names it, so that one bad value costs neither the element nor the project.
void dropOutOfRange(ElementRecord& r, ErrorLog& skipped);
std::unique_ptr<CAD::Element> fromRecord(ElementRecord const& r, CAD::ElemProp const& prop);

// Why an access was skipped, to be named for every report that held it.
struct Skipped {
    unsigned int type = 0;
    QString typeString;
    QString why;
};

// Reads one frame. Answers the access, held in SharedAccesses (an equal one already held
// stands for it), or null with `skipped` saying why when the access cannot be made or read;
// a broken frame itself throws.
PropertyAccess::PropertyAccessBase* readFrame(IO::InStream& in, QString const& name, Skipped* skipped);
void writeFrame(IO::OutStream& out, PropertyAccess::PropertyAccessBase const& a);

[[noreturn]] void bad(IO::InStream& in, QString const& text);

} // namespace ProjectFile
} // namespace MCADCmd
} // namespace Kav
