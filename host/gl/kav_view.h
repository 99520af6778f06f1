#pragma once
#include "kavhost_export.h"
#include "core/kav_transformation.h"
#include "core/kav_vec.h"

namespace Kav {
namespace GL {

// The settings of the main 3D view: rotation (degrees about x, y, z), translation,
// per-axis scale and zoom.
class KAVHOST_EXPORT ViewCreator {
public:
    BaVec3d<double> const& getRotation() const { return rotation_; }
    BaVec3d<double> const& getTranslation() const { return translation_; }
    BaVec3d<double> const& getAxisScale() const { return axisScale_; }
    double getScale() const { return scale_; }
    void setRotation(BaVec3d<double> const& r) { rotation_ = r; }
    void setTranslation(BaVec3d<double> const& t) { translation_ = t; }
    void setAxisScale(BaVec3d<double> const& a) { axisScale_ = a; }
    void setScale(double s) { scale_ = s; }
    // Derives the viewing direction from the rotation; false when it is degenerate.
    bool setMainViewDirectionFromTransformation();
    BaVec3d<double> const& getMainViewDirection() const { return viewDirection_; }

private:
    BaVec3d<double> rotation_;
    BaVec3d<double> translation_;
    BaVec3d<double> axisScale_{1.0, 1.0, 1.0};
    double scale_ = 1.0;
    BaVec3d<double> viewDirection_{0.0, 0.0, -1.0};
};

// What the view draws with. Its 3D-to-2D transformation takes scene points to window
// pixels (y down): viewport centre * zoom * rotation * translation * axis scale.
class KAVHOST_EXPORT RenderObject {
public:
    void setRotation(BaVec3d<double> const& r) { rotation_ = r; changed(); }
    void setTranslation(BaVec3d<double> const& t) { translation_ = t; changed(); }
    void setAxisScale(BaVec3d<double> const& a) { axisScale_ = a; changed(); }
    void setScale(double s) { scale_ = s; changed(); }
    BaVec3d<double> const& getRotation() const { return rotation_; }
    BaVec3d<double> const& getTranslation() const { return translation_; }
    BaVec3d<double> const& getAxisScale() const { return axisScale_; }
    double getScale() const { return scale_; }
    void setViewportSize(int width, int height);
    int getViewportWidth() const { return width_; }
    int getViewportHeight() const { return height_; }

    Transformation get3d2dTransformation() const;

private:
    void changed() { hasTransformation_ = false; }

    BaVec3d<double> rotation_;
    BaVec3d<double> translation_;
    BaVec3d<double> axisScale_{1.0, 1.0, 1.0};
    double scale_ = 1.0;
    int width_ = 800;
    int height_ = 600;
    // Made once per setting: a restore places the label of every element with it.
    mutable Transformation transformation_;
    mutable bool hasTransformation_ = false;
};

class KAVHOST_EXPORT RenderCallback {
public:
    explicit RenderCallback(RenderObject* object) : object_(object) {}
    virtual ~RenderCallback() = default;
    RenderCallback(RenderCallback const&) = delete;
    RenderCallback& operator=(RenderCallback const&) = delete;
    virtual RenderObject* getRenderObject() { return object_; }

private:
    RenderObject* object_;
};

} // namespace GL
} // namespace Kav
