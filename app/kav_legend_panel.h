#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

namespace Kav {
namespace MCADCmd {
class Scene;
}
namespace App {

// The colour legend's settings (shown, range, steps, colour map) with a preview of its
// colours. Every edit runs one "legend.set" command.
class LegendPanel : public QWidget {
    Q_OBJECT
public:
    explicit LegendPanel(MCADCmd::Scene* scene, QWidget* parent = nullptr);
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void set(QString const& parameters);

    MCADCmd::Scene* scene_;
    bool refreshing_ = false;
    QCheckBox* visible_;
    QDoubleSpinBox* minimum_;
    QDoubleSpinBox* maximum_;
    QSpinBox* steps_;
    QComboBox* map_;
    QRect preview_;
};

} // namespace App
} // namespace Kav
