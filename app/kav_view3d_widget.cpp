#include "kav_view3d_widget.h"

#include "kav_app_commands.h"

#include "cad/kav_element.h"
#include "cad/kav_element_creator.h"
#include "core/kav_translate.h"
#include "gapp/kav_main_window.h"
#include "glabel/kav_label_element.h"
#include "mcadcmd/kav_scene.h"
#include "parse/kav_parse.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace Kav {
namespace App {

namespace {

QColor rgbColor(quint32 rgb, double transparency = 0.0)
{
    QColor c(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>(rgb & 0xFF));
    c.setAlphaF(std::clamp(1.0 - transparency, 0.0, 1.0));
    return c;
}

struct Face {
    QPolygonF polygon;
    double depth = 0.0;
    QColor fill;
    QColor outline;
    double outlineWidth = 1.0;
};

// Elements that are drawn as solids; assemblies, folders and snapshots only group others.
bool isDrawn(unsigned int type)
{
    using EC = CAD::ElementCreator;
    return type != EC::ASSEMBLY && type != EC::FOLDER && type != EC::REPORT;
}

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
    connect(scene_, &MCADCmd::Scene::changed, this, QOverload<>::of(&QWidget::update));
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
    QPainter painter(this);
    GApp::MainWindow* win = GApp::MainWindow::main_win;
    if (win != nullptr && win->isDrawingLocked() && cache_.size() == size()) {
        painter.drawImage(0, 0, cache_);
        return;
    }
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter imagePainter(&image);
        renderScene(imagePainter, size());
    }
    cache_ = image;
    painter.drawImage(0, 0, cache_);
}

void View3dWidget::renderScene(QPainter& p, QSize const& size) const
{
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient background(0, 0, 0, size.height());
    background.setColorAt(0.0, QColor(0xe8, 0xee, 0xf4));
    background.setColorAt(1.0, QColor(0xa9, 0xb7, 0xc6));
    p.fillRect(QRect(QPoint(0, 0), size), background);

    Transformation const t = scene_->renderObject()->get3d2dTransformation();
    QSet<QString> const selected(scene_->selection().begin(), scene_->selection().end());
    BaVec3d<double> const light = BaVec3d<double>(0.3, -0.5, 0.8) * (1.0 / std::sqrt(0.98));

    std::vector<Face> faces;
    std::vector<std::pair<QPointF, QColor>> points;
    for (CAD::Element* e : scene_->elements()) {
        if (!isDrawn(e->getElementType()) || !e->isVisible(CAD::VISIBLE_IN_SCENE))
            continue;
        CAD::ElemProp const* prop = e->getElemProperties();
        bool const isSelected = selected.contains(e->getName());
        QColor const outline = isSelected ? QColor(0xff, 0x8c, 0x00)
                                          : (e->isValid() ? QColor(0x30, 0x30, 0x30, 160) : QColor(0xd0, 0x00, 0x00));
        double const outlineWidth = isSelected ? 2.5 : (e->isValid() ? 1.0 : 2.0);

        if (auto const* section = dynamic_cast<CAD::SectionInsp2d const*>(e)) {
            auto const& samples = section->getSamplePoints();
            auto const& distances = section->getDistances();
            QPolygonF line;
            for (std::size_t i = 0; i < samples.size(); ++i) {
                BaVec3d<double> const m = t.map(samples[i]);
                line << QPointF(m.x, m.y);
                quint32 const rgb = i < distances.size() && scene_->legend() ? scene_->legend()->colorFor(distances[i])
                                                                             : prop->color;
                points.emplace_back(QPointF(m.x, m.y), rgbColor(rgb, prop->transparency));
            }
            if (!line.isEmpty()) {
                line << line.first();
                Face f;
                f.polygon = line;
                f.depth = t.map(e->getCenter()).z;
                f.fill = Qt::transparent;
                f.outline = isSelected ? outline : rgbColor(prop->color, prop->transparency);
                f.outlineWidth = std::max(1.0, prop->lineWidth);
                faces.push_back(f);
            }
            continue;
        }

        BaVec3d<double> const c = e->getCenter();
        BaVec3d<double> const h = e->getHalfExtent();
        std::array<BaVec3d<double>, 8> world;
        std::array<BaVec3d<double>, 8> screen;
        for (int i = 0; i < 8; ++i) {
            world[i] = BaVec3d<double>(c.x + ((i & 1) ? h.x : -h.x), c.y + ((i & 2) ? h.y : -h.y),
                                       c.z + ((i & 4) ? h.z : -h.z));
            screen[i] = t.map(world[i]);
        }
        if (prop->displayMode == CAD::DISPLAY_POINTS) {
            for (auto const& s : screen)
                points.emplace_back(QPointF(s.x, s.y), rgbColor(prop->color, prop->transparency));
            continue;
        }
        // The six sides of the box, as corner indices.
        static constexpr int sides[6][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                            {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 3, 7, 5}};
        for (auto const& side : sides) {
            Face f;
            double depth = 0.0;
            for (int k = 0; k < 4; ++k) {
                f.polygon << QPointF(screen[side[k]].x, screen[side[k]].y);
                depth += screen[side[k]].z;
            }
            f.depth = depth / 4.0;
            // Light from the screen's normal: brighter when the side faces the viewer.
            BaVec3d<double> const a = screen[side[1]] - screen[side[0]];
            BaVec3d<double> const b = screen[side[3]] - screen[side[0]];
            BaVec3d<double> n = a.cross(b);
            double const len = n.length();
            double shade = 0.75;
            if (len > 0.0) {
                n = n * (1.0 / len);
                shade = 0.55 + 0.45 * std::fabs(n.dot(light));
            }
            QColor fill = rgbColor(prop->color, prop->transparency);
            if (prop->displayMode == CAD::DISPLAY_WIREFRAME) {
                fill = Qt::transparent;
                f.outline = isSelected ? outline : rgbColor(prop->color);
                f.outlineWidth = std::max(1.0, prop->lineWidth);
            } else {
                fill.setRgbF(fill.redF() * shade, fill.greenF() * shade, fill.blueF() * shade, fill.alphaF());
                f.outline = outline;
                f.outlineWidth = outlineWidth;
            }
            f.fill = fill;
            faces.push_back(f);
        }
    }
    // Far sides first.
    std::stable_sort(faces.begin(), faces.end(), [](Face const& a, Face const& b) { return a.depth < b.depth; });
    for (Face const& f : faces) {
        p.setPen(QPen(f.outline, f.outlineWidth));
        p.setBrush(f.fill);
        p.drawPolygon(f.polygon);
    }
    p.setPen(Qt::NoPen);
    for (auto const& pt : points) {
        p.setBrush(pt.second);
        p.drawEllipse(pt.first, 3.0, 3.0);
    }

    // Pull-outs: the measured value drawn away from its element.
    QFont small = p.font();
    small.setPointSizeF(8.0);
    p.setFont(small);
    for (CAD::Element* e : scene_->elements()) {
        CAD::DistPullOut* pull = e->getDistPullOut();
        if (pull == nullptr || !e->isVisible(CAD::VISIBLE_IN_SCENE))
            continue;
        BaVec3d<double> const from = t.map(e->getCenter());
        BaVec3d<double> const to = t.map(pull->getPullOutPoint());
        p.setPen(QPen(QColor(0x20, 0x40, 0x90), 1.5, Qt::DashLine));
        p.drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y));
        p.setPen(QPen(QColor(0x20, 0x40, 0x90), 1.5));
        p.setBrush(QColor(0xff, 0xff, 0xff));
        p.drawEllipse(QPointF(to.x, to.y), 4.0, 4.0);
    }

    // The colour legend, under the labels so that none is hidden.
    GLegend2::GlobalLegend const* legend = scene_->legend();
    if (legend != nullptr && scene_->hasLegendData() && legend->isLegendVisible()) {
        BaVec2d<double> const pos = legend->getPosition();
        unsigned int const steps = std::max(1u, legend->getSteps());
        double const stepHeight = std::clamp(200.0 / steps, 2.0, 24.0);
        double const span = legend->getMaximum() - legend->getMinimum();
        p.setFont(small);
        QFontMetrics const fm(small);
        for (unsigned int i = 0; i < steps; ++i) {
            // Highest values on top.
            double const value = legend->getMaximum() - span * (i + 0.5) / steps;
            QRectF const cell(pos.x, pos.y + i * stepHeight, 22.0, stepHeight);
            p.setPen(QPen(QColor(0x30, 0x30, 0x30), 0.5));
            p.setBrush(rgbColor(legend->colorFor(value)));
            p.drawRect(cell);
        }
        p.setPen(QColor(0x10, 0x10, 0x10));
        p.drawText(QPointF(pos.x + 26.0, pos.y + fm.ascent()), QString::number(legend->getMaximum(), 'g', 4));
        p.drawText(QPointF(pos.x + 26.0, pos.y + steps * stepHeight), QString::number(legend->getMinimum(), 'g', 4));
    }

    // Labels on the overlay, with their connector lines.
    QFont labelFont = p.font();
    for (CAD::Element* e : scene_->elements()) {
        LabelElement* label = e->getLabel();
        if (label == nullptr || !label->isLabelVisible() || !e->isVisible(CAD::VISIBLE_IN_SCENE))
            continue;
        QString const text = labelText(label);
        if (text.isEmpty())
            continue;
        labelFont.setPointSizeF(std::clamp(static_cast<double>(label->getFontSize()), 6.0, 48.0));
        p.setFont(labelFont);
        BaVec2d<double> const pos = scene_->overlay()->getLabelPosition(e);
        QFontMetrics const fm(labelFont);
        QRectF box(pos.x, pos.y, fm.horizontalAdvance(text) + 10, fm.height() + 6);
        if (label->hasConnectorPoint(scene_->stage())) {
            BaVec3d<double> const anchor = t.map(label->getAnchor3d());
            p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.0));
            p.drawLine(QPointF(anchor.x, anchor.y), box.center());
            p.setBrush(QColor(0x40, 0x40, 0x40));
            p.drawEllipse(QPointF(anchor.x, anchor.y), 2.5, 2.5);
        }
        p.setBrush(QColor(0xff, 0xff, 0xe8, 230));
        p.setPen(label->hasFrame() ? QPen(QColor(0x50, 0x50, 0x50), 1.0) : QPen(Qt::NoPen));
        p.drawRect(box);
        p.setPen(e->isValid() ? QColor(0x10, 0x10, 0x10) : QColor(0xc0, 0x00, 0x00));
        p.drawText(box, Qt::AlignCenter, text);
    }

    // Axis triad in the lower left corner: shows the rotation alone.
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
}

View3dWidget::ViewValues View3dWidget::currentValues() const
{
    GL::ViewCreator* view = scene_->viewCreator();
    return ViewValues{view->getRotation(), view->getTranslation(), view->getScale()};
}

void View3dWidget::setValues(ViewValues const& v)
{
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
