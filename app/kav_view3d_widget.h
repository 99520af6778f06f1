#pragma once

#include "core/kav_transformation.h"
#include "core/kav_vec.h"

#include <QHash>
#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QStaticText>
#include <QWidget>

#include <memory>

namespace Kav {
class LabelElement;
namespace CAD {
class Element;
}
namespace MCADCmd {
class Scene;
}
namespace App {

struct ProjectedScene;
class PixelRaster;
class SpriteCache;

// The main 3D view. Draws the scene with QPainter through the render object's 3D-to-2D
// transformation (no OpenGL, so it looks the same on a desktop, under Xvfb and offscreen).
// Left drag rotates, right or middle drag (or shift + left) pans, the wheel zooms; each
// gesture ends in one "view.set" command, so it can be undone and is recorded in macros.
class View3dWidget : public QWidget {
    Q_OBJECT
public:
    explicit View3dWidget(MCADCmd::Scene* scene, QWidget* parent = nullptr);
    ~View3dWidget() override;

    // Draws the scene into `painter` over a `size` area (also used for tests).
    void renderScene(QPainter& painter, QSize const& size) const;
    // Commits a pending wheel zoom at once.
    void flushZoom();
    // Forgets the projected scene and the last picture: the next paint makes them again.
    void sceneChanged();
    // How often the scene was projected, how long the last paint of the widget took and
    // whether it was a coarse one (while a gesture goes on).
    unsigned int projectionCount() const { return projections_; }
    // How often the scene was drawn (by a paint or renderScene; a paint that shows the last
    // picture again does not count), and the work of the last drawing in the raster's pixels,
    // cells and rows (PixelRaster::work()): a paint's cost, counted rather than timed.
    unsigned int drawCount() const { return draws_; }
    quint64 lastDrawWork() const { return lastDrawWork_; }
    double lastPaintMilliseconds() const { return lastPaintMs_; }
    bool lastPaintWasCoarse() const { return cacheCoarse_; }
    // A paint during a gesture is coarse once a whole one takes longer than this.
    void setCoarsePaintAbove(double milliseconds) { coarseAboveMs_ = milliseconds; }

    // Labels the last whole picture left out for want of room.
    int hiddenLabels() const { return static_cast<int>(hiddenLabels_); }
    // How long the last layout of the labels took, wall and processor time, and how many labels
    // of shown elements it went through.
    struct LabelLayoutTime {
        double wallMs = 0.0;
        double cpuMs = 0.0;
        std::size_t labels = 0;
    };
    LabelLayoutTime lastLabelLayout() const { return lastLabelLayout_; }

signals:
    void hiddenLabelsChanged(int count);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    enum class Drag { None, Rotate, Pan };
    struct ViewValues {
        BaVec3d<double> rotation;
        BaVec3d<double> translation;
        double scale = 1.0;
    };

    ViewValues currentValues() const;
    void setValues(ViewValues const& v);   // directly, for live feedback
    void commit(ViewValues const& start, ViewValues const& end);

    ProjectedScene const& projection(Transformation const& t, QSize const& size) const;
    // Connector lines, the colour legend over them, the label boxes over both, as the
    // overlay lays them out.
    void drawLegendAndLabels(QPainter& p, PixelRaster& raster, Transformation const& t, QSize const& size) const;

    MCADCmd::Scene* scene_;
    QImage cache_;   // the last picture, shown while drawing is locked or nothing changed
    quint64 generation_ = 0;   // counts scene changes
    quint64 cacheGeneration_ = ~quint64(0);
    Transformation cacheTransformation_;
    // The projection for one transformation, size and generation.
    mutable std::unique_ptr<ProjectedScene> projected_;
    mutable Transformation projectedTransformation_;
    mutable QSize projectedSize_;
    mutable quint64 projectedGeneration_ = ~quint64(0);
    mutable unsigned int projections_ = 0;
    mutable unsigned int draws_ = 0;
    mutable quint64 lastDrawWork_ = 0;
    // Small shapes as drawn once, kept for the next drawings.
    std::unique_ptr<SpriteCache> sprites_;
    // Laid-out texts of the shown labels, by label.
    struct LaidOutText {
        QString text;
        int points = 0;
        QStaticText laidOut;
    };
    mutable std::size_t hiddenLabels_ = 0;
    mutable LabelLayoutTime lastLabelLayout_;
    std::size_t reportedHidden_ = 0;
    mutable QHash<LabelElement const*, LaidOutText> labelTexts_;
    mutable QImage background_;   // the gradient behind the scene, for the last size
    double lastPaintMs_ = 0.0;
    double coarseAboveMs_ = 30.0;
    double lastFullPaintMs_ = 0.0;
    mutable bool coarse_ = false;   // for the paint under way
    bool cacheCoarse_ = false;
    Drag drag_ = Drag::None;
    QPoint lastPos_;
    ViewValues dragStart_;
    bool zoomPending_ = false;
    ViewValues zoomStart_;
    QTimer zoomTimer_;
};

} // namespace App
} // namespace Kav
