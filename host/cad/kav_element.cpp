#include "cad/kav_element.h"

#include "cad/kav_shared_accesses.h"
#include "core/kav_errors.h"
#include "core/kav_limits.h"
#include "glabel/kav_label_element.h"

#include <algorithm>
#include <cmath>
#include <cstring>
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

namespace {

constexpr double PI = 3.14159265358979323846;

std::vector<BaVec3d<double>> circleSamples(BaVec3d<double> const& c, double radius, unsigned int n)
{
    std::vector<BaVec3d<double>> samples;
    samples.reserve(n);
    for (unsigned int i = 0; i < n; ++i) {
        double const a = 2.0 * PI * i / n;
        samples.emplace_back(c.x + radius * std::cos(a), c.y + radius * std::sin(a), c.z);
    }
    return samples;
}

// The measured part deviates from the nominal circle by a small three-lobed wave.
std::vector<double> deviations(std::vector<BaVec3d<double>> const& samples, BaVec3d<double> const& c, double radius)
{
    std::vector<double> d;
    d.reserve(samples.size());
    for (BaVec3d<double> const& p : samples) {
        double const a = std::atan2(p.y - c.y, p.x - c.x);
        d.push_back(0.01 * radius * std::sin(3.0 * a));
    }
    return d;
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof(double)) == 0;
}

// Every new section starts at the origin with the default radius and sampling.
struct DefaultSampling {
    SectionInsp2d::SampleInputs from;
    std::vector<BaVec3d<double>> samples;
    std::vector<double> distances;
    DefaultSampling(BaVec3d<double> const& center, double radius)
    {
        from.center = center;
        from.radius = radius;
        from.count = SectionInsp2d::AUTO_SAMPLE_COUNT;
        samples = circleSamples(center, radius, SectionInsp2d::AUTO_SAMPLE_COUNT);
        distances = deviations(samples, center, radius);
    }
};

} // namespace

bool SectionInsp2d::SampleInputs::same(SampleInputs const& o) const
{
    return count == o.count && sameBits(radius, o.radius) && sameBits(center.x, o.center.x) &&
           sameBits(center.y, o.center.y) && sameBits(center.z, o.center.z);
}

SectionInsp2d::SectionInsp2d(QString const& name) : Element(name, ElementCreator::SECTION_INSPECTION_2D)
{
    static DefaultSampling const defaults(getCenter(), radius_);
    samples_ = defaults.samples;
    distances_ = defaults.distances;
    samplesFrom_ = defaults.from;
    distancesFrom_ = defaults.from;
}

void SectionInsp2d::setSampling(bool autoSampling, double sampling)
{
    autoSampling_ = autoSampling;
    sampling_ = sampling;
}

namespace {

// NaN when the sampling is not possible at all.
double sampleCount(bool autoSampling, double sampling, double radius)
{
    if (!Limits::POSITIVE_LENGTH.contains(radius))
        return std::nan("");
    if (autoSampling)
        return SectionInsp2d::AUTO_SAMPLE_COUNT;
    // A step that is not positive would need endless points.
    if (!Limits::POSITIVE_LENGTH.contains(sampling))
        return std::nan("");
    return std::max(3.0, std::ceil(2.0 * PI * radius / sampling));
}

} // namespace

bool SectionInsp2d::canSample(bool autoSampling, double sampling, double radius)
{
    return sampleCount(autoSampling, sampling, radius) <= MAX_SAMPLE_COUNT;
}

void SectionInsp2d::resample(StageIdentifier const&, bool)
{
    double const count = sampleCount(autoSampling_, sampling_, radius_);
    if (!(count <= MAX_SAMPLE_COUNT))
        throw std::bad_alloc();
    unsigned int const n = static_cast<unsigned int>(count);
    SampleInputs from;
    from.center = getCenter();
    from.radius = radius_;
    from.count = n;
    if (from.same(samplesFrom_) && samples_.size() == n) {
        if (!distances_.empty()) {
            keptDistances_ = std::move(distances_);
            keptFrom_ = distancesFrom_;
            hasKept_ = true;
        }
    } else {
        samples_ = circleSamples(from.center, radius_, n);
        samplesFrom_ = from;
        hasKept_ = false;
        keptDistances_.clear();
    }
    distances_.clear();
}

bool SectionInsp2d::updateDistances(StageIdentifier const&, int, int)
{
    SampleInputs now;
    now.center = getCenter();
    now.radius = radius_;
    now.count = samples_.size();
    distancesFrom_ = now;
    // Kept distances were measured on the samples there are now (a new set drops them).
    if (hasKept_ && now.same(keptFrom_) && keptDistances_.size() == samples_.size()) {
        distances_ = std::move(keptDistances_);
        keptDistances_.clear();
        hasKept_ = false;
        return true;
    }
    hasKept_ = false;
    keptDistances_.clear();
    distances_ = deviations(samples_, now.center, radius_);
    return true;
}

Report::Report(QString const& name) : Element(name, ElementCreator::REPORT) {}

Report::~Report()
{
    for (PropertyAccess::PropertyAccessBase* a : accesses_)
        SharedAccesses::instance().release(a);
}

void Report::setCreationPropertyAccess(AccessList accesses)
{
    if (&accesses == &accesses_)
        return;
    SharedAccesses& pool = SharedAccesses::instance();
    // The new ones are held before the old ones are let go: an access in both lists stays.
    pool.shareAll(accesses);
    accesses.swap(accesses_);
    for (PropertyAccess::PropertyAccessBase* a : accesses)
        pool.release(a);
}

void Report::replaceCreationPropertyAccess(std::size_t index, PropertyAccess::PropertyAccessBase* access)
{
    if (index >= accesses_.size()) {
        delete access;
        throw ProgError(QStringLiteral("Kav::CAD::Report::replaceCreationPropertyAccess"),
                        QStringLiteral("kav_element"), __LINE__, QStringLiteral("no access at that place"));
    }
    SharedAccesses& pool = SharedAccesses::instance();
    PropertyAccess::PropertyAccessBase* held = pool.share(access);
    std::swap(accesses_[index], held);
    pool.release(held);
}

} // namespace CAD
} // namespace Kav
