#include "kav_view3d_widget.h"

#include "kav_app_commands.h"
#include "kav_view3d_projection.h"
#include "kav_view3d_raster.h"

#include "cad/kav_element.h"
#include "cad/kav_element_creator.h"
#include "core/kav_limits.h"
#include "core/kav_translate.h"
#include "gapp/kav_main_window.h"
#include "glabel/kav_label_element.h"
#include "mcadcmd/kav_scene.h"
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

namespace Kav {
namespace App {

namespace {

QString labelText(LabelElement const* label)
{
    QString text = label->getLabelFigText()->getText();
    if (text.isEmpty()) {
        text = label->getContentTemplate();
        text.replace(QStringLiteral("%name%"), label->getOwner()->getName());
        text.replace(QStringLiteral("%type%"), CAD::ElementCreator::getTypeName(label->getOwner()->getElementType()));
        text.replace(QStringLiteral("%value%"), QString());
    }
    return text;
}

// Moves a label's box off the legend, the shortest way that stays in the window: beside,
// below or above it; below it when no way stays in.
QRectF clearOf(QRectF const& box, QRectF const& legend, QRectF const& window)
{
    if (legend.isEmpty() || !box.intersects(legend))
        return box;
    constexpr double gap = 4.0;
    QRectF const candidates[4] = {box.translated(legend.right() + gap - box.left(), 0.0),
                                  box.translated(legend.left() - gap - box.right(), 0.0),
                                  box.translated(0.0, legend.bottom() + gap - box.top()),
                                  box.translated(0.0, legend.top() - gap - box.bottom())};
    QRectF best = candidates[2];
    double bestDistance = INFINITY;
    for (QRectF const& c : candidates) {
        QPointF const d = c.topLeft() - box.topLeft();
        double const distance = std::fabs(d.x()) + std::fabs(d.y());
        if (window.contains(c) && distance < bestDistance) {
            best = c;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

View3dWidget::View3dWidget(MCADCmd::Scene* scene, QWidget* parent) : QWidget(parent), scene_(scene)
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

    for (ProjectedScene::Face const& f : projected.faces) {
        QPointF const* points = projected.points.data() + f.first;
        if (f.count == 0) {
            raster.fillPixel(*points, f.outline);
            continue;
        }
        raster.fillPolygon(points, static_cast<int>(f.count), f.fill);
        // Coarse: the outlines of shaded sides are left out, wireframes keep theirs.
        if (!coarse_ || qAlpha(f.fill) == 0)
            raster.strokePolygon(points, static_cast<int>(f.count), true, f.outline, f.outlineWidth);
    }
    for (auto const& dot : projected.dots)
        raster.drawDot(dot.at, dot.color);

    // Pull-outs: the measured value drawn away from its element.
    QRgb const pullColor = qRgb(0x20, 0x40, 0x90);
    for (std::size_t i = 0; i < (coarse_ ? 0 : projected.pullOuts.size()); ++i) {
        ProjectedScene::PullOut const& pull = projected.pullOuts[i];
        raster.strokeDashedLine(pull.from, pull.to, pullColor, 1.5);
        raster.fillEllipse(pull.to, 4.0, qRgb(0xff, 0xff, 0xff));
        raster.strokeEllipse(pull.to, 4.0, pullColor, 1.5);
    }

    QFont small = p.font();
    small.setPointSizeF(8.0);
    p.setFont(small);
    drawLegendAndLabels(p, raster, projected, t, small, size);

    // Axis triad in the lower left corner: shows the rotation alone.
    p.setFont(small);
    Transformation const r = Transformation::rotation(scene_->renderObject()->getRotation());
    QPointF const origin(40.0, size.height() - 40.0);
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

void View3dWidget::drawLegendAndLabels(QPainter& p, PixelRaster& raster, ProjectedScene const& projected,
                                       Transformation const& t, QFont const& small, QSize const& size) const
{
    // The colour legend's place: labels are kept off it, connector lines pass under it.
    QRectF legendArea;
    GLegend2::GlobalLegend const* legend = scene_->legend();
    bool const legendShown = legend != nullptr && scene_->hasLegendData() && legend->isLegendVisible();
    QFontMetrics const smallMetrics(small);
    unsigned int const steps = legendShown ? std::max(1u, legend->getSteps()) : 1u;
    double const stepHeight = std::clamp(200.0 / steps, 2.0, 24.0);
    // In the user's locale, as the legend panel shows them.
    QString const maximum = legendShown ? QLocale().toString(legend->getMaximum(), 'g', 4) : QString();
    QString const minimum = legendShown ? QLocale().toString(legend->getMinimum(), 'g', 4) : QString();
    BaVec2d<double> const legendPos = legendShown ? legend->getPosition() : BaVec2d<double>();
    if (legendShown) {
        double const textWidth =
            std::max(smallMetrics.horizontalAdvance(maximum), smallMetrics.horizontalAdvance(minimum));
        legendArea = QRectF(legendPos.x - 1.0, legendPos.y - 1.0, 26.0 + textWidth + 2.0,
                            std::max(steps * stepHeight, static_cast<double>(smallMetrics.height()))
                                + smallMetrics.descent() + 2.0);
    }

    struct Placed {
        QRectF box;
        QPointF anchor;
        bool connector;
        bool frame;
        bool valid;
        int fontSize;
        QStaticText text;   // shared with the cache, which may grow meanwhile
    };
    std::vector<Placed> placed;
    QRectF const window(QPointF(0.0, 0.0), QSizeF(size));
    QFont labelFont = p.font();
    int fontSize = -1;
    int lineHeight = 0;
    if (labelTexts_.size() > 4 * static_cast<int>(scene_->elements().size()) + 64)
        labelTexts_.clear();
    // Coarse: no labels.
    std::vector<CAD::Element*> const& elements = scene_->elements();
    for (std::size_t i = 0; i < (coarse_ ? 0 : projected.labelled.size()); ++i) {
        std::size_t const index = projected.labelled[i];
        CAD::Element* e = index < elements.size() ? elements[index] : nullptr;
        LabelElement* label = e != nullptr ? e->getLabel() : nullptr;
        if (label == nullptr)
            continue;
        int const points = static_cast<int>(std::clamp(label->getFontSize(), 6u, 48u));
        if (points != fontSize) {
            fontSize = points;
            labelFont.setPointSizeF(points);
            lineHeight = QFontMetrics(labelFont).height();
        }
        // Kept by label; what the text is made of says whether it is still the same.
        LaidOutText& laidOut = labelTexts_[label];
        QString const& figureText = label->getLabelFigText()->getText();
        if (laidOut.points != points || laidOut.figureText != figureText
            || (figureText.isEmpty()
                && (laidOut.contentTemplate != label->getContentTemplate() || laidOut.owner != e
                    || laidOut.ownerName != e->getName() || laidOut.ownerType != e->getElementType()))) {
            laidOut.figureText = figureText;
            laidOut.contentTemplate = label->getContentTemplate();
            laidOut.owner = e;
            laidOut.ownerName = e->getName();
            laidOut.ownerType = e->getElementType();
            laidOut.points = points;
            laidOut.text = labelText(label);
            laidOut.laidOut = QStaticText(laidOut.text);
            laidOut.laidOut.setTextFormat(Qt::PlainText);
            laidOut.laidOut.prepare(QTransform(), labelFont);
            laidOut.width = std::ceil(laidOut.laidOut.size().width());
        }
        if (laidOut.text.isEmpty())
            continue;
        BaVec2d<double> const pos = scene_->overlay()->getLabelPosition(e);
        if (std::isnan(pos.x) || std::isnan(pos.y))
            continue;
        QRectF const box = clearOf(QRectF(pos.x, pos.y, laidOut.width + 10, lineHeight + 6), legendArea, window);
        Placed l{box, QPointF(), label->hasConnectorPoint(scene_->stage()), label->hasFrame(), e->isValid(), points,
                 laidOut.laidOut};
        QRectF reach = box;
        if (l.connector) {
            BaVec3d<double> const anchor = t.map(label->getAnchor3d());
            l.anchor = QPointF(anchor.x, anchor.y);
            reach |= QRectF(anchor.x - 3.0, anchor.y - 3.0, 6.0, 6.0);
        }
        if (reach.intersects(window))
            placed.push_back(l);
    }

    // A box that later ones hide whole is left out, and so are the stretches of connector lines
    // that the boxes hide. Boxes are nearly opaque: what shows through one is a tenth.
    Coverage coverage(size);
    std::vector<bool> hidden(placed.size(), false);
    for (std::size_t i = placed.size(); i-- > 0;) {
        hidden[i] = coverage.covers(placed[i].box.adjusted(-1.0, -1.0, 1.0, 1.0));
        coverage.add(placed[i].box);
    }

    QRgb const connectorColor = qRgb(0x40, 0x40, 0x40);
    raster.setCovered([&coverage](int x, int y) { return coverage.coversAround(x, y); }, Coverage::CELL_SIZE);
    for (Placed const& l : placed) {
        if (!l.connector)
            continue;
        raster.strokeLine(l.anchor, l.box.center(), connectorColor, 1.0);
        if (!coverage.covers(QRectF(l.anchor - QPointF(3.0, 3.0), QSizeF(6.0, 6.0))))
            raster.fillEllipse(l.anchor, 2.5, connectorColor);
    }
    raster.setCovered(nullptr, 0);

    // QPainter is given nothing far outside the window.
    if (legendShown && legendArea.intersects(window)) {
        double const span = legend->getMaximum() - legend->getMinimum();
        p.setFont(small);
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 0.5));
        for (unsigned int i = 0; i < steps; ++i) {
            // Highest values on top.
            double const value = legend->getMaximum() - span * (i + 0.5) / steps;
            p.setBrush(rgbColor(legend->colorFor(value)));
            p.drawRect(QRectF(legendPos.x, legendPos.y + i * stepHeight, 22.0, stepHeight));
        }
        p.setPen(QColor(0x10, 0x10, 0x10));
        p.drawText(QPointF(legendPos.x + 26.0, legendPos.y + smallMetrics.ascent()), maximum);
        p.drawText(QPointF(legendPos.x + 26.0, legendPos.y + steps * stepHeight), minimum);
    }

    QRgb const boxColor = qRgba(0xff, 0xff, 0xe8, 230);
    QRgb const frameColor = qRgb(0x50, 0x50, 0x50);
    fontSize = -1;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        Placed const& l = placed[i];
        if (hidden[i])
            continue;
        if (l.fontSize != fontSize) {
            fontSize = l.fontSize;
            labelFont.setPointSizeF(fontSize);
            p.setFont(labelFont);
        }
        QPointF const corners[4] = {l.box.topLeft(), l.box.topRight(), l.box.bottomRight(), l.box.bottomLeft()};
        raster.fillRect(l.box, boxColor);
        if (l.frame)
            raster.strokePolygon(corners, 4, true, frameColor, 1.0);
        QSizeF const textSize = l.text.size();
        QPointF const textAt = l.box.center() - QPointF(textSize.width() / 2.0, textSize.height() / 2.0);
        if (!QRectF(textAt, textSize).intersects(window))
            continue;
        p.setPen(l.valid ? QColor(0x10, 0x10, 0x10) : QColor(0xc0, 0x00, 0x00));
        p.drawStaticText(textAt, l.text);
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
