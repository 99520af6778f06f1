#pragma once
#include "kavhost_export.h"
#include "core/kav_stage_identifier.h"
#include "core/kav_vec.h"
#include <QString>

namespace Kav {
namespace Fig2 {

// A figure on the 2D overlay of the 3D view; its position is in window pixels.
class KAVHOST_EXPORT Element {
public:
    Element() = default;
    virtual ~Element() = default;
    Element(Element const&) = default;
    Element& operator=(Element const&) = default;

    BaVec2d<double> const& getPosition() const { return position_; }
    void setPosition(BaVec2d<double> const& p);

protected:
    // After setPosition moved it.
    virtual void positionChanged() {}

private:
    BaVec2d<double> position_;
};

// The text figure of a label. updateForStage makes its text from the label's content
// template; before that the text is empty.
class KAVHOST_EXPORT Label : public Element {
public:
    Label() = default;
    // The template's %name%, %type% and %value% are replaced by the given values.
    void setSource(QString const& contentTemplate, QString const& name, QString const& type, QString const& value);
    // The template with its %name%, %type% and %value% replaced, in one pass: a value that
    // itself holds a placeholder stays as it is.
    static QString fill(QString const& contentTemplate, QString const& name, QString const& type,
                        QString const& value);
    virtual void updateForStage(StageIdentifier const& stage, int, int);
    QString const& getText() const { return text_; }
    unsigned int getUpdateCount() const { return updates_; }

private:
    QString template_;
    QString name_;
    QString type_;
    QString value_;
    QString text_;
    unsigned int updates_ = 0;
};

} // namespace Fig2
} // namespace Kav
