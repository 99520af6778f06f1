#include "kav_view3d_widget.h"

#include "kav_app_commands.h"
#include "kav_view3d_projection.h"
#include "kav_view3d_raster.h"
#include "kav_view3d_sprites.h"

#include "cad/kav_element.h"
#include "cad/kav_element_creator.h"
#include "core/kav_limits.h"
#include "core/kav_translate.h"
#include "gapp/kav_main_window.h"
#include "gcad/kav_label_layout.h"
#include "glabel/kav_label_element.h"
#include "mcadcmd/scene/kav_scene.h"
#include "parse/kav_parse.h"

#include <QElapsedTimer>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <ctime>

namespace Kav {
namespace App {

View3dWidget::View3dWidget(MCADCmd::Scene* scene, QWidget* parent)
    : QWidget(parent), scene_(scene), sprites_(std::make_unique<SpriteCache>())
{
    setObjectName(QStringLiteral("view3d"));
    setMinimumSize(320, 240);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    zoomTimer_.setSingleShot(true);
    zoomTimer_.setInterval(400);
    connect(&zoomTimer_, &QTimer::timeout, this, &View3dWidget::flushZoom);
    connect(scene_, &MCADCmd::Scene::changes, this, [this](MCADCmd::SceneChanges const& changes) {
        // Snapshots are not drawn: making one keeps the picture.
        bool drawn = changes.reset || changes.allChanged || changes.selection || changes.view || changes.legend
                     || !changes.removed.isEmpty();
        for (QString const& name : changes.inserted)
            drawn = drawn || !scene_->isReport(name);
        for (QString const& name : changes.changed)
            drawn = drawn || !scene_->isReport(name);
        if (drawn)
            sceneChanged();
    });
}

View3dWidget::~View3dWidget() = default;

void View3dWidget::sceneChanged()
{
    ++generation_;
    update();
}

void View3dWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    scene_->renderObject()->setViewportSize(width(), height());
    // Automatically placed labels follow the new projection.
    scene_->overlay()->repositionLabels();
}

void View3dWidget::paintEvent(QPaintEvent*)
{
    QElapsedTimer timer;
    timer.start();
    QPainter painter(this);
    GApp::MainWindow* win = GApp::MainWindow::main_win;
    Transformation const t = scene_->renderObject()->get3d2dTransformation();
    // While the view turns, moves or zooms, a scene that takes long to paint is painted
    // without what costs most; the whole picture follows when the gesture ends.
    coarse_ = (drag_ != Drag::None || zoomPending_) && lastFullPaintMs_ > coarseAboveMs_;
    bool const unchanged = cacheGeneration_ == generation_ && cacheTransformation_ == t && cacheCoarse_ == coarse_;
    if (cache_.size() == size() && (unchanged || (win != nullptr && win->isDrawingLocked()))) {
        painter.drawImage(0, 0, cache_);
        return;
    }
    if (cache_.size() != size())
        cache_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter imagePainter(&cache_);
        renderScene(imagePainter, size());
    }
    if (hiddenLabels_ != reportedHidden_) {
        reportedHidden_ = hiddenLabels_;
        emit hiddenLabelsChanged(static_cast<int>(reportedHidden_));
    }
    cacheGeneration_ = generation_;
    cacheTransformation_ = t;
    cacheCoarse_ = coarse_;
    painter.drawImage(0, 0, cache_);
    lastPaintMs_ = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    if (!coarse_)
        lastFullPaintMs_ = lastPaintMs_;
    coarse_ = false;
}

ProjectedScene const& View3dWidget::projection(Transformation const& t, QSize const& size) const
{
    if (!projected_ || projectedGeneration_ != generation_ || projectedSize_ != size || projectedTransformation_ != t) {
        if (!projected_)
            projected_ = std::make_unique<ProjectedScene>();
        projectScene(*scene_, t, size, *projected_);
        projectedGeneration_ = generation_;
        projectedSize_ = size;
        projectedTransformation_ = t;
        ++projections_;
    }
    return *projected_;
}

void View3dWidget::renderScene(QPainter& p, QSize const& size) const
{
    if (size.isEmpty() || !p.isActive())
        return;
    auto* target = p.device() != nullptr && p.device()->devType() == QInternal::Image ? static_cast<QImage*>(p.device())
                                                                                      : nullptr;
    if (target == nullptr || !PixelRaster::canDrawInto(*target) || target->size() != size
        || target->devicePixelRatio() != 1.0 || !p.transform().isIdentity() || p.hasClipping()) {
        // Drawn where its pixels can be reached, then copied.
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        {
            QPainter imagePainter(&image);
            imagePainter.setFont(p.font());
            renderScene(imagePainter, size);
        }
        p.drawImage(0, 0, image);
        return;
    }
    PixelRaster raster(*target);
    p.setRenderHint(QPainter::Antialiasing, true);
    if (background_.size() != size) {
        background_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
        QPainter bp(&background_);
        QLinearGradient background(0, 0, 0, size.height());
        background.setColorAt(0.0, QColor(0xe8, 0xee, 0xf4));
        background.setColorAt(1.0, QColor(0xa9, 0xb7, 0xc6));
        bp.fillRect(QRect(QPoint(0, 0), size), background);
    }
    p.drawImage(0, 0, background_);
    ++draws_;

    Transformation const t = scene_->renderObject()->get3d2dTransformation();
    ProjectedScene const& projected = projection(t, size);

    sprites_->startDrawing();
    raster.setSprites(sprites_.get());
    std::vector<quint32> const& order = projected.order;
    for (std::size_t i = 0; i < order.size(); ++i) {
        ProjectedScene::Face const& f = projected.faces[order[i]];
        QPointF const* points = projected.points.data() + f.first;
        if (f.side != ProjectedScene::NO_SIDE) {
            // The sides of a box that come one after another are drawn together.
            int sides[6];
            QRgb fills[6];
            int count = 0;
            for (; i < order.size(); ++i) {
                ProjectedScene::Face const& next = projected.faces[order[i]];
                if (next.side == ProjectedScene::NO_SIDE || next.first != f.first || count + next.count > 6)
                    break;
                for (quint32 k = 0; k < next.count; ++k, ++count) {
                    ProjectedScene::BoxSide const& side = projected.boxSides[next.sides + k];
                    sides[count] = side.side;
                    fills[count] = side.fill;
                }
            }
            --i;
            raster.drawBoxSides(points, sides, fills, count, f.outline, f.outlineWidth, !coarse_ || qAlpha(f.fill) == 0);
            continue;
        }
        if (f.count == 0) {
            raster.fillPixel(*points, f.outline);
            continue;
        }
        // Coarse: the outlines of shaded sides are left out, wireframes keep theirs.
        raster.drawFace(points, static_cast<int>(f.count), f.fill, f.outline, f.outlineWidth,
                        !coarse_ || qAlpha(f.fill) == 0);
    }
    for (std::size_t g = 0; g < projected.dotGroups.size(); ++g) {
        std::size_t const first = projected.dotGroups[g];
        std::size_t const end = g + 1 < projected.dotGroups.size() ? projected.dotGroups[g + 1] : projected.dots.size();
        raster.drawDots(projected.dots.data() + first, static_cast<int>(end - first));
    }

    // Pull-outs: the measured value drawn away from its element.
    QRgb const pullColor = qRgb(0x20, 0x40, 0x90);
    for (std::size_t i = 0; i < (coarse_ ? 0 : projected.pullOuts.size()); ++i) {
        ProjectedScene::PullOut const& pull = projected.pullOuts[i];
        raster.drawPullOut(pull.from, pull.to, pullColor, 1.5, 4.0, qRgb(0xff, 0xff, 0xff));
    }
    raster.setSprites(nullptr);

    QFont const base = p.font();
    drawLegendAndLabels(p, raster, t, size);

    // Axis triad in the lower left corner: shows the rotation alone.
    QFont small = base;
    small.setPointSizeF(8.0);
    p.setFont(small);
    Transformation const r = Transformation::rotation(scene_->renderObject()->getRotation());
    QPointF const origin = GCAD::LabelLayout::axisOrigin(size);
    char const* const axisNames[3] = {"X", "Y", "Z"};
    QColor const axisColors[3] = {QColor(0xc0, 0x20, 0x20), QColor(0x20, 0x90, 0x20), QColor(0x20, 0x40, 0xc0)};
    for (int i = 0; i < 3; ++i) {
        BaVec3d<double> axis;
        axis[i] = 1.0;
        BaVec3d<double> const m = r.map(axis);
        // Screen y points down.
        QPointF const end = origin + QPointF(m.x * 25.0, -m.y * 25.0);
        p.setPen(QPen(axisColors[i], 2.0));
        p.drawLine(origin, end);
        p.drawText(end + QPointF(2.0, 0.0), QString::fromLatin1(axisNames[i]));
    }
    lastDrawWork_ = raster.work();
}

void View3dWidget::drawLegendAndLabels(QPainter& p, PixelRaster& raster, Transformation const& t, QSize const& size) const
{
    // Where the legend and each label go is the overlay's to say; drawn here as it says.
    GLegend2::GlobalLegend const* legend = scene_->hasLegendData() ? scene_->legend() : nullptr;
    GCAD::LegendGeometry const g = GCAD::LegendGeometry::of(legend, p.font());
    QRectF const window(QPointF(0.0, 0.0), QSizeF(size));
    // Coarse: no labels.
    static std::vector<GCAD::PlacedLabel> const none;
    // The labels the projection met, rather than a walk over the whole scene again.
    std::vector<LabelElement*> const& labels = projection(t, size).labels;
    auto const visit = [&labels](std::function<void(LabelElement*)> const& each) {
        for (LabelElement* label : labels)
            each(label);
    };
    QElapsedTimer wall;
    wall.start();
    std::clock_t const cpu = std::clock();
    std::vector<GCAD::PlacedLabel> const& placed =
        coarse_ ? none : scene_->overlay()->layoutLabels(visit, p.font(), size, g).shown();
    if (!coarse_) {
        lastLabelLayout_.wallMs = static_cast<double>(wall.nsecsElapsed()) / 1e6;
        lastLabelLayout_.cpuMs = static_cast<double>(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC;
        lastLabelLayout_.labels = labels.size();
    }
    if (!coarse_)
        hiddenLabels_ = scene_->overlay()->labelLayout().hiddenCount();

    // Connector lines pass under the boxes; the stretches the boxes hide are left out.
    Coverage coverage(size);
    for (GCAD::PlacedLabel const& l : placed)
        coverage.add(l.box);
    QRgb const connectorColor = qRgb(0x40, 0x40, 0x40);
    raster.setCovered([&coverage](int x, int y) { return coverage.coversAround(x, y); }, Coverage::CELL_SIZE);
    for (GCAD::PlacedLabel const& l : placed) {
        if (!l.label->hasConnectorPoint(scene_->stage()))
            continue;
        BaVec3d<double> const anchor = t.map(l.label->getAnchor3d());
        QPointF const at(anchor.x, anchor.y);
        raster.strokeLine(at, l.box.center(), connectorColor, 1.0);
        if (!coverage.covers(QRectF(at - QPointF(3.0, 3.0), QSizeF(6.0, 6.0))))
            raster.fillEllipse(at, 2.5, connectorColor);
    }
    raster.setCovered(nullptr, 0);

    // QPainter is given nothing far outside the window.
    if (!g.area.isEmpty() && g.area.intersects(window)) {
        double const span = legend->getMaximum() - legend->getMinimum();
        p.setFont(g.font);
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 0.5));
        for (unsigned int i = 0; i < g.steps; ++i) {
            // Highest values on top.
            double const value = legend->getMaximum() - span * (i + 0.5) / g.steps;
            p.setBrush(rgbColor(legend->colorFor(value)));
            p.drawRect(QRectF(g.cells.x(), g.cells.y() + i * g.stepHeight, g.cellWidth, g.stepHeight));
        }
        p.setPen(QColor(0x10, 0x10, 0x10));
        p.drawText(g.maximumAt, g.maximum);
        p.drawText(g.minimumAt, g.minimum);
    }

    QRgb const boxColor = qRgba(0xff, 0xff, 0xe8, 230);
    QRgb const frameColor = qRgb(0x50, 0x50, 0x50);
    QFont labelFont = p.font();
    int fontSize = -1;
    if (labelTexts_.size() > 4 * static_cast<int>(placed.size()) + 256)
        labelTexts_.clear();
    for (GCAD::PlacedLabel const& l : placed) {
        if (l.points != fontSize) {
            fontSize = l.points;
            labelFont.setPointSizeF(fontSize);
            p.setFont(labelFont);
        }
        // Laid out once per text: labels change text far less often than place.
        LaidOutText& laidOut = labelTexts_[l.label];
        if (laidOut.text != l.text || laidOut.points != l.points) {
            laidOut.text = l.text;
            laidOut.points = l.points;
            laidOut.laidOut = QStaticText(l.text);
            laidOut.laidOut.setTextFormat(Qt::PlainText);
            laidOut.laidOut.prepare(QTransform(), labelFont);
        }
        QPointF const corners[4] = {l.box.topLeft(), l.box.topRight(), l.box.bottomRight(), l.box.bottomLeft()};
        raster.fillRect(l.box, boxColor);
        if (l.label->hasFrame())
            raster.strokePolygon(corners, 4, true, frameColor, 1.0);
        QSizeF const textSize = laidOut.laidOut.size();
        QPointF const textAt = l.box.center() - QPointF(textSize.width() / 2.0, textSize.height() / 2.0);
        if (!QRectF(textAt, textSize).intersects(window))
            continue;
        p.setPen(l.label->getOwner()->isValid() ? QColor(0x10, 0x10, 0x10) : QColor(0xc0, 0x00, 0x00));
        p.drawStaticText(textAt, laidOut.laidOut);
    }
}

View3dWidget::ViewValues View3dWidget::currentValues() const
{
    GL::ViewCreator* view = scene_->viewCreator();
    return ViewValues{view->getRotation(), view->getTranslation(), view->getScale()};
}

void View3dWidget::setValues(ViewValues const& given)
{
    // A gesture stays within what view.set takes, so the command that ends it never fails.
    ViewValues const v{Limits::ANGLE.clamp(given.rotation), Limits::COORDINATE.clamp(given.translation),
                       Limits::SCALE.clamp(given.scale)};
    scene_->viewCreator()->setRotation(v.rotation);
    scene_->viewCreator()->setTranslation(v.translation);
    scene_->viewCreator()->setScale(v.scale);
    scene_->renderObject()->setRotation(v.rotation);
    scene_->renderObject()->setTranslation(v.translation);
    scene_->renderObject()->setScale(v.scale);
    update();
}

void View3dWidget::commit(ViewValues const& start, ViewValues const& end)
{
    // Back to where the gesture began, then the one command that makes the change.
    setValues(start);
    if (start.rotation == end.rotation && start.translation == end.translation && start.scale == end.scale)
        return;
    QString params;
    if (start.rotation != end.rotation)
        params += Parse::createStringVector(QStringLiteral("rotation"), vectorText(end.rotation)) + QLatin1Char(' ');
    if (start.translation != end.translation)
        params += Parse::createStringVector(QStringLiteral("translation"), vectorText(end.translation))
                  + QLatin1Char(' ');
    if (start.scale != end.scale)
        params += Parse::createDouble(QStringLiteral("scale"), end.scale);
    runCommand(QStringLiteral("view.set"), params.trimmed());
}

void View3dWidget::mousePressEvent(QMouseEvent* event)
{
    flushZoom();
    if (event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ShiftModifier))
        drag_ = Drag::Rotate;
    else if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton
             || event->button() == Qt::MiddleButton)
        drag_ = Drag::Pan;
    else
        return;
    lastPos_ = event->pos();
    dragStart_ = currentValues();
    event->accept();
}

void View3dWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (drag_ == Drag::None)
        return;
    QPoint const delta = event->pos() - lastPos_;
    lastPos_ = event->pos();
    ViewValues v = currentValues();
    if (drag_ == Drag::Rotate) {
        v.rotation.y += delta.x() * 0.5;
        v.rotation.x += delta.y() * 0.5;
    } else {
        // The scene point under the cursor stays under it: move by the pixel step taken back
        // through the inverse transformation, at the depth of the scene origin.
        bool ok = false;
        Transformation const t = scene_->renderObject()->get3d2dTransformation();
        Transformation const inv = t.inverted(&ok);
        if (ok) {
            double const depth = t.map(BaVec3d<double>()).z;
            BaVec3d<double> const a = inv.map(BaVec3d<double>(0.0, 0.0, depth));
            BaVec3d<double> const b = inv.map(BaVec3d<double>(delta.x(), delta.y(), depth));
            BaVec3d<double> const step = b - a;
            BaVec3d<double> const axis = scene_->renderObject()->getAxisScale();
            // The translation is applied before the axis scale.
            v.translation += BaVec3d<double>(step.x * axis.x, step.y * axis.y, step.z * axis.z);
        }
    }
    setValues(v);
    event->accept();
}

void View3dWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (drag_ == Drag::None)
        return;
    drag_ = Drag::None;
    commit(dragStart_, currentValues());
    event->accept();
}

void View3dWidget::wheelEvent(QWheelEvent* event)
{
    double const steps = event->angleDelta().y() / 120.0;
    if (steps == 0.0)
        return;
    if (!zoomPending_) {
        zoomPending_ = true;
        zoomStart_ = currentValues();
    }
    ViewValues v = currentValues();
    v.scale *= std::pow(1.15, steps);
    setValues(v);
    zoomTimer_.start();
    event->accept();
}

void View3dWidget::flushZoom()
{
    if (!zoomPending_)
        return;
    zoomPending_ = false;
    zoomTimer_.stop();
    commit(zoomStart_, currentValues());
}

} // namespace App
} // namespace Kav
