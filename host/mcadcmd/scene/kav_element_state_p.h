#pragma once
// Private to kavhost: an element's visual state as plain data. The project's element record,
// the undo records and element.set all read, write, check and apply it through this one type.

#include "cad/kav_element.h"
#include "cad/kav_element_creator.h"
#include "core/kav_stage_identifier.h"
#include "core/kav_vec.h"

#include <QString>

#include <cstddef>
#include <memory>

namespace Kav {
class ErrorLog;
class LabelElement;
namespace IO {
class InStream;
class OutStream;
} // namespace IO
namespace MCADCmd {
namespace Detail {

struct LabelState {
    bool autoPlacement = true;
    bool visible = true;
    bool connector = true;
    BaVec3d<double> originOffset;
    BaVec2d<double> position;
    QString content;
    unsigned int fontSize = 10;
    bool frame = true;

    static LabelState capture(LabelElement const& l);
};

struct ElementState {
    QString name;
    unsigned int type = 0;
    QString parent;
    CAD::ElemProp prop;
    bool visible = true;
    bool valid = true;
    BaVec3d<double> center;
    BaVec3d<double> halfExtent;
    bool hasPullOut = false;
    BaVec3d<double> pullOutPoint;
    bool firstKink = false;
    bool hasLabel = false;
    LabelState label;
    // A section's; other elements keep (and store) these defaults.
    bool autoSampling = true;
    double sampling = 1.0;
    double radius = 10.0;

    bool isSection() const { return type == CAD::ElementCreator::SECTION_INSPECTION_2D; }
    // What the undo history counts for a kept state beside its own size: its strings.
    std::size_t textBytes() const
    {
        return 2 * static_cast<std::size_t>(name.size() + parent.size() + label.content.size());
    }
    // Whether a section could be sampled so (anything else can): the one place that asks.
    bool canSample() const;

    static ElementState capture(CAD::Element const& e);
    // Makes a pull-out or label the element lacks; one it has and the state has not stays.
    // The kind, name and parent are the element's own. A section whose sampling inputs
    // changed is sampled again; the settings stay if that fails.
    void applyTo(CAD::Element& e, StageIdentifier const& stage) const;
    // A new element of this state, out of any scene (so not selected).
    std::unique_ptr<CAD::Element> create(StageIdentifier const& stage) const;

    // The project's element record: the element's block, then its ElemProp's block.
    void write(IO::OutStream& out) const;
    // Throws StreamException for a record that names no element (no name, no known type) or
    // a broken block. A value out of range is not taken: the state keeps the default for it
    // and `skipped` names it, so that one bad value costs neither the element nor the project.
    static ElementState read(IO::InStream& in, ErrorLog& skipped);
};

} // namespace Detail
} // namespace MCADCmd
} // namespace Kav
