#include "cad/kav_element.h"

#include "cad/kav_shared_accesses.h"
#include "core/kav_errors.h"
#include "core/kav_limits.h"
#include "glabel/kav_label_element.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <new>
#include <type_traits>

namespace Kav {
namespace CAD {

namespace {

std::atomic<std::uint64_t> lastRevision{0};

std::uint64_t nextRevision()
{
    return lastRevision.fetch_add(1, std::memory_order_relaxed) + 1;
}

template <typename T>
bool sameBits(T const& a, T const& b)
{
    static_assert(std::is_trivially_copyable<T>::value, "compared as bytes");
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// Bit for bit: -0.0 and 0.0 are written differently, and NaN equals nothing.
bool sameProperties(ElemProp const& a, ElemProp const& b)
{
    return a.selected == b.selected && a.highlighted == b.highlighted && a.color == b.color &&
           sameBits(a.transparency, b.transparency) && sameBits(a.pointSize, b.pointSize) &&
           sameBits(a.lineWidth, b.lineWidth) && a.displayMode == b.displayMode;
}

} // namespace

DistPullOut& DistPullOut::operator=(DistPullOut const& other)
{
    setPullOutPoint(other.point_);
    setFirstKink(other.firstKink_);
    return *this;
}

void DistPullOut::setPullOutPoint(BaVec3d<double> const& p)
{
    if (sameBits(point_, p))
        return;
    point_ = p;
    if (owner_ != nullptr)
        owner_->touch();
}

void DistPullOut::setFirstKink(bool k)
{
    if (firstKink_ == k)
        return;
    firstKink_ = k;
    if (owner_ != nullptr)
        owner_->touch();
}

Element::Element(QString const& name, unsigned int type)
    : name_(name), type_(type), revision_(nextRevision()), propAtRevision_(prop_)
{
}

Element::~Element() = default;

std::uint64_t Element::getRevision() const
{
    if (!sameProperties(prop_, propAtRevision_)) {
        propAtRevision_ = prop_;
        revision_ = nextRevision();
    }
    return revision_;
}

void Element::prefetch(Element const* e)
{
#if defined(__GNUC__)
    __builtin_prefetch(&e->revision_);
    __builtin_prefetch(&e->prop_);
    __builtin_prefetch(&e->propAtRevision_);
#else
    (void)e;
#endif
}

void Element::touch()
{
    revision_ = nextRevision();
}

void Element::setParent(Element* parent)
{
    if (parent_ != parent)
        touch();
    parent_ = parent;
}

void Element::setElementVisible(bool visible)
{
    if (visible_ != visible)
        touch();
    visible_ = visible;
}

void Element::setValid(bool valid)
{
    if (valid_ != valid)
        touch();
    valid_ = valid;
}

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
    touch();
}

void Element::setPullOut(std::unique_ptr<DistPullOut> pullOut)
{
    pullOut_ = std::move(pullOut);
    if (pullOut_)
        pullOut_->owner_ = this;
    touch();
}

void Element::setGeometry(BaVec3d<double> const& center, BaVec3d<double> const& halfExtent)
{
    if (!sameBits(center_, center) || !sameBits(halfExtent_, halfExtent))
        touch();
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

// cos and sin of the n angles 2 pi i / n. Sections mostly share a few counts, and a loaded
// project samples every section it holds.
struct UnitCircle {
    unsigned int n = 0;
    std::vector<double> cos, sin;
};

UnitCircle const& unitCircle(unsigned int n)
{
    constexpr unsigned int MAX_KEPT = 4096; // points; larger circles are rare and made anew
    thread_local UnitCircle kept[4];
    thread_local UnitCircle scratch;
    thread_local unsigned int next = 0;
    for (UnitCircle const& k : kept) {
        if (k.n == n)
            return k;
    }
    UnitCircle& u = n <= MAX_KEPT ? kept[next++ % 4] : scratch;
    u.n = n;
    u.cos.resize(n);
    u.sin.resize(n);
    for (unsigned int i = 0; i < n; ++i) {
        double const a = 2.0 * PI * i / n;
        u.cos[i] = std::cos(a);
        u.sin[i] = std::sin(a);
    }
    return u;
}

std::vector<BaVec3d<double>> circleSamples(BaVec3d<double> const& c, double radius, unsigned int n)
{
    UnitCircle const& u = unitCircle(n);
    std::vector<BaVec3d<double>> samples;
    samples.reserve(n);
    for (unsigned int i = 0; i < n; ++i)
        samples.emplace_back(c.x + radius * u.cos[i], c.y + radius * u.sin[i], c.z);
    return samples;
}

// The measured part deviates from the nominal circle by a small three-lobed wave.
std::vector<double> deviations(std::vector<BaVec3d<double>> const& samples, BaVec3d<double> const& c, double radius)
{
    std::vector<double> d;
    d.reserve(samples.size());
    // sin 3a = s (3 - 4 s^2) with s = sin a: no angle needed, a loaded project measures
    // every section it holds.
    for (BaVec3d<double> const& p : samples) {
        double const x = p.x - c.x;
        double const y = p.y - c.y;
        double const r2 = x * x + y * y;
        double const s = r2 > 0.0 ? y / std::sqrt(r2) : 0.0;
        d.push_back(0.01 * radius * s * (3.0 - 4.0 * s * s));
    }
    return d;
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
    if (autoSampling_ != autoSampling || !sameBits(sampling_, sampling))
        touch();
    autoSampling_ = autoSampling;
    sampling_ = sampling;
}

void SectionInsp2d::setRadius(double r)
{
    if (!sameBits(radius_, r))
        touch();
    radius_ = r;
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
    // The new ones are held before the old ones are let go: an access in both lists stays.
    SharedAccesses::instance().shareAll(accesses);
    setHeldCreationPropertyAccess(std::move(accesses));
}

void Report::setHeldCreationPropertyAccess(AccessList accesses)
{
    if (&accesses == &accesses_)
        return;
    accesses.swap(accesses_);
    token_ = std::make_shared<char>();
    SharedAccesses& pool = SharedAccesses::instance();
    for (PropertyAccess::PropertyAccessBase* a : accesses)
        pool.release(a);
}

void Report::replaceCreationPropertyAccess(std::size_t index, PropertyAccess::PropertyAccessBase* access)
{
    if (index >= accesses_.size()) {
        delete access;
        throw ProgError(KAV_HERE, QStringLiteral("no access at that place"));
    }
    SharedAccesses& pool = SharedAccesses::instance();
    PropertyAccess::PropertyAccessBase* held = pool.share(access);
    std::swap(accesses_[index], held);
    // The list changed: a capture that remembered it must not take from it again.
    token_ = std::make_shared<char>();
    pool.release(held);
}

} // namespace CAD
} // namespace Kav
