#include "glabel/kav_label_element.h"

#include "cad/kav_element.h"
#include "io/kav_stream.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Kav {

namespace {

// In the user's locale, as the legend and the panels show numbers.
QString numberText(double value)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', 3);
}

// The measured value a label shows: the largest deviation of a section, the length of a
// distance, nothing for the rest.
QString valueText(CAD::Element const* owner)
{
    if (owner == nullptr)
        return QString();
    if (!owner->isValid())
        return QStringLiteral("---");
    if (auto const* section = dynamic_cast<CAD::SectionInsp2d const*>(owner)) {
        double worst = 0.0;
        for (double d : section->getDistances())
            worst = std::max(worst, std::fabs(d));
        return numberText(worst);
    }
    if (owner->getElementType() == CAD::ElementCreator::DISTANCE) {
        BaVec3d<double> const& h = owner->getHalfExtent();
        return numberText(2.0 * h.length());
    }
    return QString();
}

} // namespace

LabelElement::LabelElement(CAD::Element* owner) : owner_(owner) {}

void LabelElement::setManualOriginOffset(BaVec3d<double> const& o)
{
    // Bit for bit, as the offset is written.
    if (std::memcmp(&originOffset_, &o, sizeof o) == 0)
        return;
    originOffset_ = o;
    changed();
}

void LabelElement::positionChanged()
{
    changed();
}

void LabelElement::changed()
{
    if (owner_ != nullptr)
        owner_->touch();
}

bool LabelElement::hasConnectorPoint(StageIdentifier const&) const
{
    return connector_;
}

BaVec3d<double> LabelElement::getAnchor3d() const
{
    BaVec3d<double> base;
    if (owner_ != nullptr)
        base = owner_->getCenter();
    return base + originOffset_;
}

void LabelElement::updateFigureElements(StageIdentifier const&, unsigned int, Transformation const& t, double)
{
    anchor2d_ = t.project(getAnchor3d());
    QString const name = owner_ != nullptr ? owner_->getName() : QString();
    QString const type =
        owner_ != nullptr ? CAD::ElementCreator::getTypeDescription(owner_->getElementType()) : QString();
    text_.setSource(content_, name, type, valueText(owner_));
}

namespace GLabel {

namespace {
constexpr unsigned int TEMPLATE_VERSION = 1;
}

void LabelTemplate::extract(LabelElement* label)
{
    if (label == nullptr)
        return;
    content_ = label->getContentTemplate();
    fontSize_ = label->getFontSize();
    frame_ = label->hasFrame();
}

void LabelTemplate::apply(LabelElement* label) const
{
    if (label == nullptr)
        return;
    label->setContentTemplate(content_);
    label->setFontSize(fontSize_);
    label->setFrame(frame_);
}

void LabelTemplate::saveStream(IO::OutStream* out) const
{
    out->beginBlock(TEMPLATE_VERSION);
    out->writeString(content_);
    out->writeUInt(fontSize_);
    out->writeBool(frame_);
    out->endBlock();
}

void LabelTemplate::loadStream(IO::InStream* in)
{
    in->openBlock();
    unsigned int const version = in->getBlockVersion();
    if (version != TEMPLATE_VERSION)
        throw IO::StreamException(
            QStringLiteral("%1: offset %2: label template block of version %3, expected %4")
                .arg(in->getName())
                .arg(in->getOffset())
                .arg(version)
                .arg(TEMPLATE_VERSION));
    QString content;
    in->readString(&content);
    unsigned int const fontSize = in->readUInt();
    bool const frame = in->readBool();
    if (fontSize == 0 || fontSize > MAX_FONT_SIZE)
        throw IO::StreamException(QStringLiteral("%1: offset %2: label font size %3 outside 1..%4")
                                      .arg(in->getName())
                                      .arg(in->getOffset())
                                      .arg(fontSize)
                                      .arg(MAX_FONT_SIZE));
    in->closeBlock();
    content_ = content;
    fontSize_ = fontSize;
    frame_ = frame;
}

} // namespace GLabel
} // namespace Kav
