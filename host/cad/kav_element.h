#pragma once
#include "kav_elem_prop.h"
#include "kav_element_creator.h"
#include "kavhost_export.h"
#include "core/kav_stage_identifier.h"
#include "core/kav_vec.h"
#include "propertyaccess/kav_property_access_base.h"
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace Kav {
class LabelElement;
namespace CAD {

class Element;

enum VisibleRequestType_t {
    VISIBLE_OWN = 0,      // the element's own flag
    VISIBLE_IN_SCENE = 1  // its own flag and those of all its parents
};

// The pull-out of a measurement: the point its value is drawn at.
class KAVHOST_EXPORT DistPullOut {
public:
    DistPullOut() = default;
    DistPullOut(BaVec3d<double> const& point, bool firstKink) : point_(point), firstKink_(firstKink) {}
    // A copy belongs to no element until one takes it.
    DistPullOut(DistPullOut const& other) : point_(other.point_), firstKink_(other.firstKink_) {}
    DistPullOut& operator=(DistPullOut const& other);
    BaVec3d<double> const& getPullOutPoint() const { return point_; }
    bool getFirstKink() const { return firstKink_; }
    void setPullOutPoint(BaVec3d<double> const& p);
    void setFirstKink(bool k);

private:
    friend class Element;
    BaVec3d<double> point_;
    bool firstKink_ = false;
    Element* owner_ = nullptr; // told of every change
};

// One object of the scene. Its name is unique in the scene and also its display name.
// Geometry is a box (centre, half extents) the view draws.
class KAVHOST_EXPORT Element {
public:
    Element(QString const& name, unsigned int type);
    virtual ~Element();
    Element(Element const&) = delete;
    Element& operator=(Element const&) = delete;

    QString const& getName() const { return name_; }
    Element* getParent() const { return parent_; }
    void setParent(Element* parent);

    ElemProp* getElemProperties() { return &prop_; }
    ElemProp const* getElemProperties() const { return &prop_; }
    bool isVisible(VisibleRequestType_t request) const;
    LabelElement* getLabel() const { return label_.get(); }
    void setLabel(std::unique_ptr<LabelElement> label);
    // Invalid: a measurement that could not be evaluated.
    bool isValid() const { return valid_; }
    void setValid(bool valid);
    void setPullOut(std::unique_ptr<DistPullOut> pullOut);

    BaVec3d<double> const& getCenter() const { return center_; }
    BaVec3d<double> const& getHalfExtent() const { return halfExtent_; }
    void setGeometry(BaVec3d<double> const& center, BaVec3d<double> const& halfExtent);

    virtual unsigned int getElementType() const { return type_; }
    virtual DistPullOut* getDistPullOut() { return pullOut_.get(); }
    virtual void setElementVisible(bool visible);
    // Takes colour and transparency; the rest of the properties stay.
    virtual void applyDefaultProperties(DefaultProperties const& props);
    // Called after a batch of changes; counts the calls.
    virtual void updateAfterChange(StageIdentifier const& stage, bool redraw, bool resampled);

    unsigned int getUpdateCount() const { return updates_; }

    // Changes with every change of the element's visual state (properties, visibility,
    // label, pull-out, sampling, geometry, parent) and never comes back: what was read of
    // the element at one revision still holds while the revision is the same. Unique
    // across the process's elements, so a new element never has an old one's revision.
    // Changes of the properties are found by comparing them (getElemProperties() hands out
    // the struct itself), every other one by the setter that makes it.
    std::uint64_t getRevision() const;
    // A change the element cannot see (its label and pull-out call this).
    void touch();
    // Asks the processor to bring what getRevision reads into the cache.
    static void prefetch(Element const* e);

    // The host's mark of an element a command changed (kept here: a restore marks every element).
    bool isModified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }
    // Where the host's scene last put it in its order; a hint the scene checks before use.
    std::size_t getSceneIndex() const { return sceneIndex_; }
    void setSceneIndex(std::size_t index) { sceneIndex_ = index; }

private:
    QString name_;
    unsigned int type_;
    Element* parent_ = nullptr;
    ElemProp prop_;
    bool visible_ = true;
    bool valid_ = true;
    bool modified_ = false;
    std::unique_ptr<LabelElement> label_;
    std::unique_ptr<DistPullOut> pullOut_;
    BaVec3d<double> center_;
    BaVec3d<double> halfExtent_{1.0, 1.0, 1.0};
    unsigned int updates_ = 0;
    std::size_t sceneIndex_ = 0;
    mutable std::uint64_t revision_;
    mutable ElemProp propAtRevision_; // the properties when the revision was last asked for
};

// A 2D section inspection: a circular section of radius R in the plane z = centre.z,
// sampled into points; `updateDistances` measures each sample's deviation.
class KAVHOST_EXPORT SectionInsp2d : public Element {
public:
    static constexpr unsigned int AUTO_SAMPLE_COUNT = 36;
    static constexpr unsigned int MAX_SAMPLE_COUNT = 100000;

    explicit SectionInsp2d(QString const& name);

    bool isAutoSampling() const { return autoSampling_; }
    double getSampling() const { return sampling_; }
    // The sampling distance (used when not automatic); samples are recomputed on resample.
    void setSampling(bool autoSampling, double sampling);
    // Whether a section of this radius can be sampled so: at most MAX_SAMPLE_COUNT points,
    // a radius and a step within Limits::POSITIVE_LENGTH. The one check every path uses.
    static bool canSample(bool autoSampling, double sampling, double radius);
    // Recomputes the sample points from the sampling. Throws std::bad_alloc when the
    // sampling cannot be sampled (canSample).
    void resample(StageIdentifier const& stage, bool force);
    bool updateDistances(StageIdentifier const& stage, int, int);

    double getRadius() const { return radius_; }
    void setRadius(double r);
    std::vector<BaVec3d<double>> const& getSamplePoints() const { return samples_; }
    std::vector<double> const& getDistances() const { return distances_; }

    // What the samples or the distances were computed from. The same inputs give the same
    // numbers, so work done for them is kept: a restore resamples every section it touches.
    struct SampleInputs {
        BaVec3d<double> center;
        double radius = 0.0;
        std::size_t count = 0;
        bool same(SampleInputs const& o) const;  // bit for bit
    };

private:
    bool autoSampling_ = true;
    double sampling_ = 1.0;
    double radius_ = 10.0;
    std::vector<BaVec3d<double>> samples_;
    std::vector<double> distances_;
    SampleInputs samplesFrom_;
    SampleInputs distancesFrom_;
    // The distances a resample of unchanged samples put aside, and what they were measured from.
    std::vector<double> keptDistances_;
    SampleInputs keptFrom_;
    bool hasKept_ = false;
};

// A snapshot in the documentation folder (type 50). Holds its creation property accesses
// through SharedAccesses: an access equal to one another report holds is held once.
class KAVHOST_EXPORT Report : public Element {
public:
    using AccessList = std::vector<PropertyAccess::PropertyAccessBase*>;

    explicit Report(QString const& name);
    ~Report() override;

    // The accesses this report keeps alive; they must not be changed (others may hold them).
    AccessList const& getCreationPropertyAccess() const { return accesses_; }
    // Takes ownership of the accesses; one equal to an access already held is deleted and
    // the held one is taken instead (an access some report holds may be given again: it is
    // held once more). The ones held before are let go.
    void setCreationPropertyAccess(AccessList accesses);
    // The same for the one access at `index` (a place past the end is refused with
    // ProgError, and `access` deleted): cheaper than a new list when few places change.
    void replaceCreationPropertyAccess(std::size_t index, PropertyAccess::PropertyAccessBase* access);
    // The same for accesses the caller has made holders of already (SharedAccesses::hold):
    // nothing is compared.
    void setHeldCreationPropertyAccess(AccessList accesses);
    // Expires when this report lets go of its present list: one who remembers the list can
    // tell that it still stands.
    std::weak_ptr<void const> getAccessListToken() const { return token_; }
    // A snapshot taken from an image or an old version: it must not be restored.
    bool dontUpdateSnapshot() const { return dontUpdate_; }
    void setDontUpdateSnapshot(bool v) { dontUpdate_ = v; }
    QString const& getViewName() const { return viewName_; }
    void setViewName(QString const& v) { viewName_ = v; }
    // A small PNG picture of the view as it was when the snapshot was made; empty when none
    // was taken (no window, or an older project).
    QByteArray const& getPicture() const { return picture_; }
    void setPicture(QByteArray const& png) { picture_ = png; }

private:
    AccessList accesses_;
    std::shared_ptr<void const> token_;
    bool dontUpdate_ = false;
    QString viewName_;
    QByteArray picture_;
};

// An element found for a name together with the stage it was found in.
template <typename T>
struct ElementAndStageImp {
    T element{};
    StageIdentifier stage;
    ElementAndStageImp() = default;
    ElementAndStageImp(T e, StageIdentifier s) : element(e), stage(s) {}
    T getElement() const { return element; }
    StageIdentifier const& getStage() const { return stage; }
};

} // namespace CAD
} // namespace Kav
