#include "gcad/kav_gcad.h"

#include "cad/kav_element.h"
#include "fig2/kav_fig2.h"
#include "glabel/kav_label_element.h"

namespace Kav {
namespace GCAD {

BaVec2d<double> Overlay2d::getLabelPosition(Fig2::Element* figure) const
{
    return figure != nullptr ? figure->getPosition() : BaVec2d<double>();
}

BaVec2d<double> Overlay2d::getLabelPosition(CAD::Element* element) const
{
    if (element == nullptr || element->getLabel() == nullptr)
        return BaVec2d<double>();
    return element->getLabel()->getPosition();
}

void Overlay2d::placeElement(Fig2::Element* figure, BaVec2d<double> const& position) const
{
    if (figure != nullptr)
        figure->setPosition(position);
}

void Overlay2d::placeElement(LabelElement* label, StageIdentifier const&, BaVec2d<double> const& position) const
{
    if (label != nullptr)
        label->setPosition(position);
}

void Overlay2d::repositionLabels()
{
    ++repositions_;
    if (!labels_ || render_ == nullptr)
        return;
    Transformation const t = render_->get3d2dTransformation();
    labels_([&t](LabelElement* label) { place(label, t); });
}

void Overlay2d::repositionLabel(LabelElement* label) const
{
    if (render_ != nullptr)
        place(label, render_->get3d2dTransformation());
}

void Overlay2d::place(LabelElement* label, Transformation const& t)
{
    if (label == nullptr)
        return;
    label->updateFigureElements(StageIdentifier(), 0, t, 0.0);
    if (label->isAutoLabelPlacement())
        label->setPosition(label->getAnchor2d() + BaVec2d<double>(AUTO_OFFSET_X, AUTO_OFFSET_Y));
    label->getLabelFigText()->updateForStage(StageIdentifier(), 0, 0);
}

LabelLayout const& Overlay2d::layoutLabels(QFont const& font, QSize const& size, LegendGeometry const& legend)
{
    static std::function<void(std::function<void(LabelElement*)> const&)> const none = [](auto const&) {};
    return layoutLabels(labels_ ? labels_ : none, font, size, legend);
}

LabelLayout const& Overlay2d::layoutLabels(std::function<void(std::function<void(LabelElement*)> const&)> const& visit,
                                           QFont const& font, QSize const& size, LegendGeometry const& legend)
{
    layout_.layout(visit, font, size, legend);
    return layout_;
}

void Overlay2d::setLabelProvider(std::function<void(std::function<void(LabelElement*)> const&)> provider)
{
    labels_ = std::move(provider);
}

} // namespace GCAD
} // namespace Kav
