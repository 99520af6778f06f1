#include "kav_legend_panel.h"

#include "kav_app_commands.h"

#include "core/kav_translate.h"
#include "glegend2/kav_global_legend.h"
#include "mcadcmd/scene/kav_scene.h"
#include "parse/kav_parse.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLocale>
#include <QPainter>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace Kav {
namespace App {

namespace {

// A legend range may be 0.0001..0.0002 or in the hundreds of millions: every value is
// shown with the digits it needs, in the user's locale, and nothing is clamped.
class RangeBox : public QDoubleSpinBox {
public:
    explicit RangeBox(QWidget* parent) : QDoubleSpinBox(parent)
    {
        setDecimals(std::numeric_limits<double>::max_digits10 + 300);
        setRange(-std::numeric_limits<double>::max(), std::numeric_limits<double>::max());
    }

    QString textFromValue(double value) const override
    {
        // Plain digits where they stay readable ("0.0001", "987654321"), else an exponent.
        double const size = std::fabs(value);
        bool const plain = value == 0.0 || (size >= 1e-6 && size < 1e15);
        return numberLocale().toString(value, plain ? 'f' : 'g', QLocale::FloatingPointShortest);
    }

    double valueFromText(QString const& text) const override { return numberLocale().toDouble(text.trimmed()); }

    QValidator::State validate(QString& text, int&) const override
    {
        bool ok = false;
        double const value = numberLocale().toDouble(text.trimmed(), &ok);
        return ok && std::isfinite(value) ? QValidator::Acceptable : QValidator::Intermediate;
    }

private:
    QLocale numberLocale() const
    {
        QLocale l = locale();
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }
};

} // namespace

LegendPanel::LegendPanel(MCADCmd::Scene* scene, QWidget* parent) : QWidget(parent), scene_(scene)
{
    setObjectName(QStringLiteral("legendPanel"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    auto* form = new QFormLayout();
    visible_ = new QCheckBox(this);
    visible_->setObjectName(QStringLiteral("legendVisible"));
    form->addRow(Kav::translate("MvpHost", "Shown"), visible_);
    minimum_ = new RangeBox(this);
    maximum_ = new RangeBox(this);
    minimum_->setObjectName(QStringLiteral("legendMinimum"));
    maximum_->setObjectName(QStringLiteral("legendMaximum"));
    for (QDoubleSpinBox* box : {minimum_, maximum_}) {
        box->setSingleStep(0.1);
        box->setKeyboardTracking(false);
    }
    form->addRow(Kav::translate("MvpHost", "Minimum"), minimum_);
    form->addRow(Kav::translate("MvpHost", "Maximum"), maximum_);
    steps_ = new QSpinBox(this);
    steps_->setObjectName(QStringLiteral("legendSteps"));
    steps_->setRange(2, static_cast<int>(GLegend2::GlobalLegend::MAX_STEPS));
    steps_->setKeyboardTracking(false);
    form->addRow(Kav::translate("MvpHost", "Steps"), steps_);
    map_ = new QComboBox(this);
    map_->setObjectName(QStringLiteral("legendMap"));
    // Item data: the map's name in parameter strings.
    map_->addItem(Kav::translate("MvpHost", "rainbow"), QStringLiteral("rainbow"));
    map_->addItem(Kav::translate("MvpHost", "grey"), QStringLiteral("grey"));
    map_->addItem(Kav::translate("MvpHost", "signal"), QStringLiteral("signal"));
    form->addRow(Kav::translate("MvpHost", "Colours"), map_);
    outer->addLayout(form);
    outer->addSpacing(28);   // the preview is painted here
    outer->addStretch(1);

    connect(visible_, &QCheckBox::toggled, this,
            [this](bool on) { set(Parse::createBool(QStringLiteral("visible"), on)); });
    auto range = [this](double) {
        set(Parse::createStringVector(QStringLiteral("range"),
                                      {numberText(minimum_->value()), numberText(maximum_->value())}));
    };
    connect(minimum_, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, range);
    connect(maximum_, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, range);
    connect(steps_, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int steps) {
        set(Parse::createString(QStringLiteral("steps"), QString::number(steps)));
    });
    connect(map_, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int index) {
        if (index >= 0)
            set(Parse::createString(QStringLiteral("map"), map_->itemData(index).toString()));
    });
    refresh();
}

void LegendPanel::set(QString const& parameters)
{
    if (refreshing_)
        return;
    runCommand(QStringLiteral("legend.set"), parameters);
    refresh();
}

void LegendPanel::refresh()
{
    refreshing_ = true;
    GLegend2::GlobalLegend const* legend = scene_->legend();
    visible_->setChecked(legend->isLegendVisible());
    minimum_->setValue(legend->getMinimum());
    maximum_->setValue(legend->getMaximum());
    steps_->setValue(static_cast<int>(legend->getSteps()));
    int const index = map_->findData(legend->getColorMap());
    if (index >= 0)
        map_->setCurrentIndex(index);
    setEnabled(scene_->hasLegendData());
    refreshing_ = false;
    update();
}

void LegendPanel::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    GLegend2::GlobalLegend const* legend = scene_->legend();
    QWidget const* last = map_;
    int const top = last->geometry().bottom() + 10;
    QRect const bar(10, top, width() - 20, 18);
    if (bar.width() <= 0)
        return;
    QPainter p(this);
    unsigned int const steps = legend->getSteps() > 0 ? legend->getSteps() : 1;
    double const span = legend->getMaximum() - legend->getMinimum();
    for (unsigned int i = 0; i < steps; ++i) {
        double const value = legend->getMinimum() + span * (i + 0.5) / steps;
        quint32 const rgb = legend->colorFor(value);
        int const x0 = bar.left() + static_cast<int>(bar.width() * static_cast<double>(i) / steps);
        int const x1 = bar.left() + static_cast<int>(bar.width() * static_cast<double>(i + 1) / steps);
        p.fillRect(QRect(x0, bar.top(), x1 - x0, bar.height()),
                   QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                          static_cast<int>(rgb & 0xFF)));
    }
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.drawRect(bar.adjusted(0, 0, -1, -1));
}

} // namespace App
} // namespace Kav
