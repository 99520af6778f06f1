#pragma once

#include "kavhost_export.h"

#include <QDialog>
#include <QString>

#include <vector>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Kav {
namespace GTools {

// Asks for a name. OK is disabled while the trimmed name is empty or exactly one of the
// excluded names; accept() refuses such a name too (the Enter key, scripted clicks).
class KAVHOST_EXPORT EditNameDialog : public QDialog {
    Q_OBJECT
public:
    explicit EditNameDialog(QWidget* parent = nullptr);

    void setLabelText(QString const& text);
    void setSelectedName(QString const& name);
    // The entered name, trimmed.
    QString selectedName() const;
    void setExcludedNames(std::vector<QString> const& names);

    bool isNameAcceptable() const;
    QLineEdit* nameEdit();
    QPushButton* okButton();

    void accept() override;

private:
    void updateOkButton();

    QLabel* label_;
    QLineEdit* edit_;
    QDialogButtonBox* buttons_;
    std::vector<QString> excluded_;
};

} // namespace GTools
} // namespace Kav
