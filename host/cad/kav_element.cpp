#include "cad/kav_element.h"

#include "glabel/kav_label_element.h"

#include <cmath>
#include <new>

namespace Kav {
namespace CAD {

Element::Element(QString const& name, unsigned int type) : name_(name), type_(type) {}

Element::~Element() = default;

bool Element::isVisible(VisibleRequestType_t request) const
{
    if (!visible_)
        return false;
    if (request == VISIBLE_OWN)
        return true;
    // Parents are checked iteratively: a long chain must not exhaust the stack.
    for (Element const* p = parent_; p != nullptr; p = p->parent_) {
        if (!p->visible_)
            return false;
    }
    return true;
}

void Element::setLabel(std::unique_ptr<LabelElement> label)
{
    label_ = std::move(label);
}

void Element::setPullOut(std::unique_ptr<DistPullOut> pullOut)
{
    pullOut_ = std::move(pullOut);
}

void Element::setGeometry(BaVec3d<double> const& center, BaVec3d<double> const& halfExtent)
{
    center_ = center;
    halfExtent_ = halfExtent;
}

void Element::applyDefaultProperties(DefaultProperties const& props)
{
    prop_.color = props.getColor();
    prop_.transparency = props.getTransparency();
}

void Element::updateAfterChange(StageIdentifier const&, bool, bool)
{
    ++updates_;
}

SectionInsp2d::SectionInsp2d(QString const& name) : Element(name, ElementCreator::SECTION_INSPECTION_2D)
{
    resample(StageIdentifier(), true);
    updateDistances(StageIdentifier(), -1, -1);
}

void SectionInsp2d::setSampling(bool autoSampling, double sampling)
{
    autoSampling_ = autoSampling;
    sampling_ = sampling;
}

void SectionInsp2d::resample(StageIdentifier const&, bool)
{
    constexpr double pi = 3.14159265358979323846;
    double const circumference = 2.0 * pi * std::fabs(radius_);
    double count = AUTO_SAMPLE_COUNT;
    if (!autoSampling_) {
        // A distance that is not positive would need endless points.
        if (!std::isfinite(sampling_) || sampling_ <= 0.0)
            throw std::bad_alloc();
        count = std::ceil(circumference / sampling_);
        if (count < 3.0)
            count = 3.0;
    }
    if (!(count <= MAX_SAMPLE_COUNT))
        throw std::bad_alloc();
    unsigned int const n = static_cast<unsigned int>(count);
    std::vector<BaVec3d<double>> samples;
    samples.reserve(n);
    BaVec3d<double> const& c = getCenter();
    for (unsigned int i = 0; i < n; ++i) {
        double const a = 2.0 * pi * i / n;
        samples.emplace_back(c.x + radius_ * std::cos(a), c.y + radius_ * std::sin(a), c.z);
    }
    samples_ = std::move(samples);
    distances_.clear();
}

bool SectionInsp2d::updateDistances(StageIdentifier const&, int, int)
{
    // The measured part deviates from the nominal circle by a small three-lobed wave.
    BaVec3d<double> const& c = getCenter();
    std::vector<double> d;
    d.reserve(samples_.size());
    for (BaVec3d<double> const& p : samples_) {
        double const a = std::atan2(p.y - c.y, p.x - c.x);
        d.push_back(0.01 * radius_ * std::sin(3.0 * a));
    }
    distances_ = std::move(d);
    return true;
}

Report::Report(QString const& name) : Element(name, ElementCreator::REPORT) {}

Report::~Report()
{
    for (PropertyAccess::PropertyAccessBase* a : accesses_)
        delete a;
}

void Report::setCreationPropertyAccess(AccessList accesses)
{
    if (&accesses == &accesses_)
        return;
    AccessList old;
    old.swap(accesses_);
    accesses_ = std::move(accesses);
    for (PropertyAccess::PropertyAccessBase* a : old) {
        bool kept = false;
        for (PropertyAccess::PropertyAccessBase* b : accesses_)
            kept = kept || a == b;
        if (!kept)
            delete a;
    }
}

} // namespace CAD
} // namespace Kav
