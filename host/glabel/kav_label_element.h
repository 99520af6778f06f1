#pragma once
#include "kavhost_export.h"
#include "core/kav_stage_identifier.h"
#include "core/kav_transformation.h"
#include "core/kav_vec.h"
#include "fig2/kav_fig2.h"
#include <QString>

namespace Kav {
namespace CAD {
class Element;
}

// The label of an element: a text figure on the overlay tied to a 3D anchor (the
// element's centre plus the manual origin offset), optionally drawn with a connector line.
class KAVHOST_EXPORT LabelElement : public Fig2::Element {
public:
    explicit LabelElement(CAD::Element* owner);

    CAD::Element* getOwner() const { return owner_; }

    // Every setter that changes the label touches its owner (CAD::Element::getRevision).
    bool isAutoLabelPlacement() const { return autoPlacement_; }
    void setAutoLabelPlacement(bool a) { set(autoPlacement_, a); }
    bool isLabelVisible() const { return visible_; }
    void setVisible(bool v) { set(visible_, v); }
    BaVec3d<double> const& getManualOriginOffset() const { return originOffset_; }
    void setManualOriginOffset(BaVec3d<double> const& o);
    // A label with a connector draws a line to its anchor; only then the offset matters.
    bool hasConnectorPoint(StageIdentifier const& stage) const;
    void setHasConnector(bool c) { set(connector_, c); }

    // The content template ("%name%: %value%") and its style.
    QString const& getContentTemplate() const { return content_; }
    void setContentTemplate(QString const& c) { set(content_, c); }
    unsigned int getFontSize() const { return fontSize_; }
    void setFontSize(unsigned int s) { set(fontSize_, s); }
    bool hasFrame() const { return frame_; }
    void setFrame(bool f) { set(frame_, f); }

    // Projects the anchor with `t` and feeds the text figure its source.
    void updateFigureElements(StageIdentifier const& stage, unsigned int, Transformation const& t, double);
    BaVec2d<double> const& getAnchor2d() const { return anchor2d_; }
    BaVec3d<double> getAnchor3d() const;
    Fig2::Label* getLabelFigText() const { return const_cast<Fig2::Label*>(&text_); }

protected:
    void positionChanged() override;

private:
    template <typename T>
    void set(T& field, T const& value)
    {
        if (field == value)
            return;
        field = value;
        changed();
    }
    void changed();

    CAD::Element* owner_;
    bool autoPlacement_ = true;
    bool visible_ = true;
    bool connector_ = true;
    BaVec3d<double> originOffset_;
    QString content_ = QStringLiteral("%name%");
    unsigned int fontSize_ = 10;
    bool frame_ = true;
    BaVec2d<double> anchor2d_;
    Fig2::Label text_;
};

namespace IO {
class OutStream;
class InStream;
} // namespace IO

namespace GLabel {

// The content template and style of a label, detached from it.
class KAVHOST_EXPORT LabelTemplate {
public:
    static constexpr unsigned int MAX_FONT_SIZE = 400;

    void extract(LabelElement* label);
    void apply(LabelElement* label) const;
    // One block; loadStream throws IO::StreamException on bad data and then leaves the
    // template unchanged.
    void saveStream(IO::OutStream* out) const;
    void loadStream(IO::InStream* in);

    QString const& getContent() const { return content_; }
    void setContent(QString const& c) { content_ = c; }
    unsigned int getFontSize() const { return fontSize_; }
    void setFontSize(unsigned int s) { fontSize_ = s; }
    bool hasFrame() const { return frame_; }
    void setFrame(bool f) { frame_ = f; }
    bool operator==(LabelTemplate const& o) const
    {
        return content_ == o.content_ && fontSize_ == o.fontSize_ && frame_ == o.frame_;
    }

private:
    QString content_ = QStringLiteral("%name%");
    unsigned int fontSize_ = 10;
    bool frame_ = true;
};

} // namespace GLabel
} // namespace Kav
