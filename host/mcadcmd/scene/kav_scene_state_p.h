#pragma once
// Private to kavhost: the scene's visual state as plain data (for undo records and the
// state dump), number formatting, and element settings read from parameter strings.

#include "cad/kav_element.h"
#include "core/kav_kstring.h"
#include "core/kav_vec.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace Kav {
class ErrorLog;
namespace MCADCmd {
class Scene;
namespace Detail {

// Shortest decimal text that reads back to the same double (C locale).
QString number(double value);
QString vec(BaVec2d<double> const& v);
QString vec(BaVec3d<double> const& v);
QString quoted(QString const& text);
QString colorText(quint32 rgb);
// "#rrggbb" to 0xRRGGBB; false for anything else.
bool parseColor(QString const& text, quint32* rgb);

struct LabelState {
    bool autoPlacement = true;
    bool visible = true;
    bool connector = true;
    BaVec3d<double> originOffset;
    BaVec2d<double> position;
    QString content;
    unsigned int fontSize = 10;
    bool frame = true;
};

struct ElementState {
    QString name;
    CAD::ElemProp prop;
    bool visible = true;
    bool valid = true;
    bool hasPullOut = false;
    BaVec3d<double> pullOutPoint;
    bool firstKink = false;
    bool hasLabel = false;
    LabelState label;
    bool isSection = false;
    bool autoSampling = true;
    double sampling = 1.0;
};

struct VisualState {
    BaVec3d<double> rotation;
    BaVec3d<double> translation;
    BaVec3d<double> axisScale;
    double scale = 1.0;
    BaVec3d<double> renderRotation;
    BaVec3d<double> renderTranslation;
    BaVec3d<double> renderAxisScale;
    double renderScale = 1.0;
    KString legendData;
    BaVec2d<double> legendPosition;
    bool hasLegendData = true;
    std::vector<ElementState> elements;
};

// Everything needed to make an element again: its kind, place and state.
struct ElementCopy {
    unsigned int type = 0;
    QString parent;
    long index = 0;
    BaVec3d<double> center;
    BaVec3d<double> halfExtent;
    double radius = 0.0;
    ElementState state;
};

ElementState captureElement(CAD::Element const& e);
// The element and its sub-elements, in scene order.
std::vector<ElementCopy> copySubtree(Scene& scene, QString const& name);
// Puts copies back at their places (in the order given: parents first).
void restoreCopies(Scene& scene, std::vector<ElementCopy> const& copies);
// Sub-objects the element does not have (any more) are left alone; sections resample.
void applyElement(CAD::Element& e, ElementState const& s);
// All elements, or only the named ones (unknown names are passed over).
VisualState capture(Scene& scene, QStringList const* only = nullptr);
void apply(Scene& scene, VisualState const& state);
unsigned int memSize(VisualState const& state);

// Reads the element keys of element.set from `params` (taking what it reads) and applies
// them. Throws ParamError for a malformed value; nothing is changed then.
void applyElementSettings(Scene& scene, CAD::Element* element, QString& params);
// legend.set's keys.
void applyLegendSettings(Scene& scene, QString& params);
// view.set's keys.
void applyViewSettings(Scene& scene, QString& params);

} // namespace Detail
} // namespace MCADCmd
} // namespace Kav
