#pragma once

#include "core/kav_vec.h"

#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QWidget>

namespace Kav {
namespace MCADCmd {
class Scene;
}
namespace App {

// The main 3D view. Draws the scene with QPainter through the render object's 3D-to-2D
// transformation (no OpenGL, so it looks the same on a desktop, under Xvfb and offscreen).
// Left drag rotates, right or middle drag (or shift + left) pans, the wheel zooms; each
// gesture ends in one "view.set" command, so it can be undone and is recorded in macros.
class View3dWidget : public QWidget {
    Q_OBJECT
public:
    explicit View3dWidget(MCADCmd::Scene* scene, QWidget* parent = nullptr);

    // Draws the scene into `painter` over a `size` area (also used for tests).
    void renderScene(QPainter& painter, QSize const& size) const;
    // Commits a pending wheel zoom at once.
    void flushZoom();

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

    MCADCmd::Scene* scene_;
    QImage cache_;   // the last picture, shown while drawing is locked
    Drag drag_ = Drag::None;
    QPoint lastPos_;
    ViewValues dragStart_;
    bool zoomPending_ = false;
    ViewValues zoomStart_;
    QTimer zoomTimer_;
};

} // namespace App
} // namespace Kav
