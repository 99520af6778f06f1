#include "gtools/kav_edit_name_dialog.h"

#include "core/kav_translate.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace Kav {
namespace GTools {

EditNameDialog::EditNameDialog(QWidget* parent)
    : QDialog(parent),
      label_(new QLabel(translate("KavHost", "Name:"), this)),
      edit_(new QLineEdit(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(translate("KavHost", "Enter name"));
    label_->setBuddy(edit_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(edit_);
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &EditNameDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &EditNameDialog::reject);
    connect(edit_, &QLineEdit::textChanged, this, [this] { updateOkButton(); });
    edit_->setFocus();
    updateOkButton();
}

void EditNameDialog::setLabelText(QString const& text)
{
    label_->setText(text);
}

void EditNameDialog::setSelectedName(QString const& name)
{
    edit_->setText(name);
    edit_->selectAll();
}

QString EditNameDialog::selectedName() const
{
    return edit_->text().trimmed();
}

void EditNameDialog::setExcludedNames(std::vector<QString> const& names)
{
    excluded_ = names;
    updateOkButton();
}

bool EditNameDialog::isNameAcceptable() const
{
    QString const name = selectedName();
    return !name.isEmpty() && std::find(excluded_.begin(), excluded_.end(), name) == excluded_.end();
}

QLineEdit* EditNameDialog::nameEdit()
{
    return edit_;
}

QPushButton* EditNameDialog::okButton()
{
    return buttons_->button(QDialogButtonBox::Ok);
}

void EditNameDialog::accept()
{
    if (isNameAcceptable())
        QDialog::accept();
}

void EditNameDialog::updateOkButton()
{
    okButton()->setEnabled(isNameAcceptable());
}

} // namespace GTools
} // namespace Kav
