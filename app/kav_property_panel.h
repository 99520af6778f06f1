#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace Kav {
namespace MCADCmd {
class Scene;
}
namespace App {

// The properties of the first selected element: visibility, colour, transparency, display
// mode, pull-out point and label. Every edit runs one "element.set" command.
class PropertyPanel : public QWidget {
    Q_OBJECT
public:
    explicit PropertyPanel(MCADCmd::Scene* scene, QWidget* parent = nullptr);

    // Shows the element the selection now points at (or nothing).
    void refresh();
    QString elementName() const { return name_; }

    // Opens the colour chooser (a real dialog; the host's responder may answer it).
    void chooseColor();

private:
    void set(QString const& parameters);

    MCADCmd::Scene* scene_;
    QString name_;
    bool refreshing_ = false;
    QLabel* title_;
    QLabel* info_;
    QWidget* editors_;
    QCheckBox* visible_;
    QPushButton* color_;
    QSpinBox* transparency_;
    QComboBox* displayMode_;
    QCheckBox* pullOut_;
    QDoubleSpinBox* pullOutPoint_[3];
    QCheckBox* labelVisible_;
    QCheckBox* labelAuto_;
    QLineEdit* labelTemplate_;
};

} // namespace App
} // namespace Kav
