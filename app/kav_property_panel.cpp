#include "kav_property_panel.h"

#include "kav_app_commands.h"

#include "cad/kav_element.h"
#include "cad/kav_element_creator.h"
#include "core/kav_translate.h"
#include "glabel/kav_label_element.h"
#include "gtools/kav_dialogs.h"
#include "mcadcmd/scene/kav_scene.h"
#include "parse/kav_parse.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace Kav {
namespace App {

PropertyPanel::PropertyPanel(MCADCmd::Scene* scene, QWidget* parent) : QWidget(parent), scene_(scene)
{
    setObjectName(QStringLiteral("propertyPanel"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("propertyTitle"));
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    outer->addWidget(title_);
    info_ = new QLabel(this);
    info_->setWordWrap(true);
    outer->addWidget(info_);

    editors_ = new QWidget(this);
    auto* form = new QFormLayout(editors_);
    form->setContentsMargins(0, 0, 0, 0);
    visible_ = new QCheckBox(editors_);
    visible_->setObjectName(QStringLiteral("propVisible"));
    form->addRow(Kav::translate("MvpHost", "Visible"), visible_);
    color_ = new QPushButton(editors_);
    color_->setObjectName(QStringLiteral("propColor"));
    form->addRow(Kav::translate("MvpHost", "Colour"), color_);
    transparency_ = new QSpinBox(editors_);
    transparency_->setObjectName(QStringLiteral("propTransparency"));
    transparency_->setRange(0, 100);
    transparency_->setSuffix(QStringLiteral(" %"));
    form->addRow(Kav::translate("MvpHost", "Transparency"), transparency_);
    displayMode_ = new QComboBox(editors_);
    displayMode_->setObjectName(QStringLiteral("propDisplayMode"));
    displayMode_->addItems({Kav::translate("MvpHost", "shaded"), Kav::translate("MvpHost", "wireframe"),
                            Kav::translate("MvpHost", "points")});
    form->addRow(Kav::translate("MvpHost", "Display"), displayMode_);
    pullOut_ = new QCheckBox(Kav::translate("MvpHost", "pulled out to"), editors_);
    pullOut_->setObjectName(QStringLiteral("propPullOut"));
    pullOut_->setEnabled(false);   // a pull-out, once made, stays; its point is edited
    form->addRow(Kav::translate("MvpHost", "Pull-out"), pullOut_);
    auto* pointRow = new QHBoxLayout();
    for (int i = 0; i < 3; ++i) {
        pullOutPoint_[i] = new QDoubleSpinBox(editors_);
        pullOutPoint_[i]->setObjectName(QStringLiteral("propPullOut%1").arg(i));
        pullOutPoint_[i]->setRange(-1e6, 1e6);
        pullOutPoint_[i]->setDecimals(2);
        pullOutPoint_[i]->setKeyboardTracking(false);
        // Three across must fit a narrow panel.
        pullOutPoint_[i]->setButtonSymbols(QAbstractSpinBox::NoButtons);
        pullOutPoint_[i]->setMinimumWidth(50);
        pointRow->addWidget(pullOutPoint_[i]);
    }
    form->addRow(QString(), pointRow);
    labelVisible_ = new QCheckBox(editors_);
    labelVisible_->setObjectName(QStringLiteral("propLabelVisible"));
    form->addRow(Kav::translate("MvpHost", "Label shown"), labelVisible_);
    labelAuto_ = new QCheckBox(editors_);
    labelAuto_->setObjectName(QStringLiteral("propLabelAuto"));
    form->addRow(Kav::translate("MvpHost", "Label placed by itself"), labelAuto_);
    labelTemplate_ = new QLineEdit(editors_);
    labelTemplate_->setObjectName(QStringLiteral("propLabelTemplate"));
    form->addRow(Kav::translate("MvpHost", "Label text"), labelTemplate_);
    outer->addWidget(editors_);
    outer->addStretch(1);

    connect(visible_, &QCheckBox::toggled, this,
            [this](bool on) { set(Parse::createBool(QStringLiteral("visible"), on)); });
    connect(color_, &QPushButton::clicked, this, &PropertyPanel::chooseColor);
    connect(transparency_, QOverload<int>::of(&QSpinBox::valueChanged), this,
            [this](int percent) { set(Parse::createString(QStringLiteral("transparency"), numberText(percent / 100.0))); });
    connect(displayMode_, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int index) {
        static char const* const modes[] = {"shaded", "wireframe", "points"};
        if (index >= 0 && index < 3)
            set(Parse::createString(QStringLiteral("display_mode"), QString::fromLatin1(modes[index])));
    });
    for (auto* box : pullOutPoint_) {
        connect(box, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, [this](double) {
            BaVec3d<double> p(pullOutPoint_[0]->value(), pullOutPoint_[1]->value(), pullOutPoint_[2]->value());
            set(Parse::createStringVector(QStringLiteral("pullout"), vectorText(p)));
        });
    }
    connect(labelVisible_, &QCheckBox::toggled, this,
            [this](bool on) { set(Parse::createBool(QStringLiteral("label_visible"), on)); });
    connect(labelAuto_, &QCheckBox::toggled, this,
            [this](bool on) { set(Parse::createBool(QStringLiteral("label_auto"), on)); });
    connect(labelTemplate_, &QLineEdit::editingFinished, this, [this]() {
        CAD::Element* e = scene_->findElement(name_);
        if (e && e->getLabel() && e->getLabel()->getContentTemplate() != labelTemplate_->text())
            set(Parse::createString(QStringLiteral("label_template"), labelTemplate_->text()));
    });
    refresh();
}

void PropertyPanel::set(QString const& parameters)
{
    if (refreshing_ || name_.isEmpty())
        return;
    runCommand(QStringLiteral("element.set"), Parse::createString(QStringLiteral("name"), name_) + QLatin1Char(' ') + parameters);
    // Shows what the element really holds now, also after a refused value.
    refresh();
}

void PropertyPanel::chooseColor()
{
    CAD::Element* e = scene_->findElement(name_);
    if (e == nullptr || scene_->isReport(name_))
        return;
    QColorDialog dialog(this);
    dialog.setObjectName(QStringLiteral("colorDialog"));
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    dialog.setWindowTitle(Kav::translate("MvpHost", "Element colour"));
    quint32 const rgb = e->getElemProperties()->color;
    dialog.setCurrentColor(QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                                  static_cast<int>(rgb & 0xFF)));
    if (GTools::execDialog(dialog) != QDialog::Accepted)
        return;
    QColor const c = dialog.currentColor();
    quint32 const chosen = (static_cast<quint32>(c.red()) << 16) | (static_cast<quint32>(c.green()) << 8)
                           | static_cast<quint32>(c.blue());
    if (chosen != rgb)
        set(Parse::createString(QStringLiteral("color"), colorText(chosen)));
}

void PropertyPanel::refresh()
{
    refreshing_ = true;
    name_.clear();
    for (QString const& n : scene_->selection()) {
        if (scene_->findElement(n) != nullptr) {
            name_ = n;
            break;
        }
    }
    CAD::Element* e = name_.isEmpty() ? nullptr : scene_->findElement(name_);
    bool const isReport = e != nullptr && scene_->isReport(name_);
    if (e == nullptr) {
        title_->setText(Kav::translate("MvpHost", "No element selected"));
        info_->setText(Kav::translate("MvpHost", "Select an element in the explorer to change its colour, transparency, pull-out and label."));
        editors_->setVisible(false);
    } else if (isReport) {
        auto* report = static_cast<CAD::Report*>(e);
        title_->setText(name_);
        info_->setText(Kav::translate("MvpHost", "Snapshot of view \"%1\" holding %2 recorded properties. Restore it from the Report menu.")
                           .arg(report->getViewName())
                           .arg(report->getCreationPropertyAccess().size()));
        editors_->setVisible(false);
    } else {
        title_->setText(name_);
        info_->setText(CAD::ElementCreator::getTypeDescription(e->getElementType())
                       + (e->isValid() ? QString() : QStringLiteral(" - ") + Kav::translate("MvpHost", "invalid measurement")));
        editors_->setVisible(true);
        CAD::ElemProp const* prop = e->getElemProperties();
        visible_->setChecked(e->isVisible(CAD::VISIBLE_OWN));
        QString const hex = colorText(prop->color);
        color_->setText(hex);
        color_->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: %2; }")
                                  .arg(hex, QColor(hex).lightness() > 128 ? QStringLiteral("black")
                                                                          : QStringLiteral("white")));
        transparency_->setValue(static_cast<int>(std::lround(prop->transparency * 100.0)));
        displayMode_->setCurrentIndex(static_cast<int>(prop->displayMode < 3 ? prop->displayMode : 0));
        CAD::DistPullOut* pull = e->getDistPullOut();
        pullOut_->setChecked(pull != nullptr);
        BaVec3d<double> const point = pull ? pull->getPullOutPoint() : e->getCenter();
        for (int i = 0; i < 3; ++i)
            pullOutPoint_[i]->setValue(point[i]);
        LabelElement* label = e->getLabel();
        labelVisible_->setEnabled(label != nullptr);
        labelAuto_->setEnabled(label != nullptr);
        labelTemplate_->setEnabled(label != nullptr);
        labelVisible_->setChecked(label && label->isLabelVisible());
        labelAuto_->setChecked(label && label->isAutoLabelPlacement());
        labelTemplate_->setText(label ? label->getContentTemplate() : QString());
    }
    refreshing_ = false;
}

} // namespace App
} // namespace Kav
