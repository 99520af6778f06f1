#pragma once
// Private to the project files: an element's block and an access's frame, read and written
// one at a time; the file around them is in kav_project.cpp.

#include "cad/kav_element.h"
#include "core/kav_kstring.h"
#include "core/kav_vec.h"
#include "io/kav_stream.h"
#include "propertyaccess/kav_property_access_base.h"

#include <QString>

#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Kav {
class ErrorLog;
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
    KString typeString;
    QString why;
};

// What a stored frame holds besides the access's own blocks.
struct FrameBase {
    unsigned int type = 0;
    KString typeString; // as stored: made a text only for a message
    QString explorerName;
    // In the order stored: mostly the defaults, which then need no map of their own.
    std::vector<std::pair<PropertyAccess::PropTemplateID_t, bool>> flags;
    bool operator==(FrameBase const& o) const
    {
        return type == o.type && typeString == o.typeString && explorerName == o.explorerName && flags == o.flags;
    }
};

// The stored frames that later frames are stored as changes to, each kept until the last of
// those is read (or written).
class FrameForms {
public:
    struct Kept {
        unsigned int uses = 0;
        FrameBase base;
        QByteArray form; // the access stream
    };
    void keep(unsigned int index, Kept kept);
    // Frame `index` for one more change to it; false when it is not kept.
    bool take(unsigned int index, Kept* kept);

private:
    std::unordered_map<unsigned int, Kept> kept_;
};

// Reads stored frame `index` (of any version: 1 whole; 2 whole, and 3 the changes to an
// earlier frame's access stream, both with the number of later frames stored as changes to
// them). Answers the access, held in SharedAccesses (an equal one already held stands for
// it), or null with `skipped` saying why when the access cannot be made or read; a broken
// frame itself throws.
PropertyAccess::PropertyAccessBase* readFrame(IO::InStream& in, QString const& name, Skipped* skipped,
                                              FrameForms* forms = nullptr, unsigned int index = 0);
// Writes stored frame `index`: whole, or as the changes to earlier frame `base` (kept in
// `forms`) when those take much less room. `uses`: later frames that may be stored as changes
// to this one.
void writeFrame(IO::OutStream& out, PropertyAccess::PropertyAccessBase const& a, FrameForms& forms, unsigned int index,
                unsigned int uses, unsigned int const* base);

[[noreturn]] void bad(IO::InStream& in, QString const& text);

} // namespace ProjectFile
} // namespace MCADCmd
} // namespace Kav
