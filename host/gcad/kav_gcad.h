#pragma once
#include "kavhost_export.h"
#include "core/kav_stage_identifier.h"
#include "core/kav_vec.h"
#include "gcad/kav_label_layout.h"
#include "gl/kav_view.h"
#include <functional>

namespace Kav {
class LabelElement;
namespace CAD {
class Element;
}
namespace Fig2 {
class Element;
}
namespace GCAD {

// The 2D layer over the 3D view: where labels and the legend sit, in window pixels.
class KAVHOST_EXPORT Overlay2d {
public:
    // Offset of an automatically placed label from its projected anchor.
    static constexpr double AUTO_OFFSET_X = LabelLayout::AUTO_OFFSET;
    static constexpr double AUTO_OFFSET_Y = -LabelLayout::AUTO_OFFSET;

    explicit Overlay2d(GL::RenderObject* renderObject) : render_(renderObject) {}

    // The legend's (or any figure's) position; (0, 0) for null.
    BaVec2d<double> getLabelPosition(Fig2::Element* figure) const;
    // The position of the element's label; (0, 0) when it has none.
    BaVec2d<double> getLabelPosition(CAD::Element* element) const;
    void placeElement(Fig2::Element* figure, BaVec2d<double> const& position) const;
    void placeElement(LabelElement* label, StageIdentifier const& stage, BaVec2d<double> const& position) const;
    // Places every automatically placed label of the scene beside its projected anchor.
    // The scene's labels come from the provider the host installs.
    void repositionLabels();
    // The same for one label (null is passed over), when only its element changed.
    void repositionLabel(LabelElement* label) const;
    void setLabelProvider(std::function<void(std::function<void(LabelElement*)> const&)> provider);
    unsigned int getRepositionCount() const { return repositions_; }
    // Decides where the picture draws each label, and which it leaves out, for a `size` window
    // with `font` as the labels' base font (see LabelLayout). The view paints what this says.
    LabelLayout const& layoutLabels(QFont const& font, QSize const& size, LegendGeometry const& legend);
    // The same for the labels `visit` gives, in the scene's order (a view that has just walked the
    // scene gives those of its shown elements, which are all it can place).
    LabelLayout const& layoutLabels(std::function<void(std::function<void(LabelElement*)> const&)> const& visit,
                                    QFont const& font, QSize const& size, LegendGeometry const& legend);
    LabelLayout const& labelLayout() const { return layout_; }

private:
    static void place(LabelElement* label, Transformation const& t);

    GL::RenderObject* render_;
    std::function<void(std::function<void(LabelElement*)> const&)> labels_;
    unsigned int repositions_ = 0;
    LabelLayout layout_;
};

class KAVHOST_EXPORT RenderCallback : public GL::RenderCallback {
public:
    RenderCallback(GL::RenderObject* object, Overlay2d* overlay) : GL::RenderCallback(object), overlay_(overlay) {}
    Overlay2d* getOverlay2d() const { return overlay_; }

private:
    Overlay2d* overlay_;
};

} // namespace GCAD
} // namespace Kav
