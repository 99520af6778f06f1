#include "gtools/kav_gtools.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace Kav::GTools;

TEST(EditNameDialog, RefusesEmptyAndExcludedNames)
{
    EditNameDialog dialog;
    dialog.setExcludedNames({QStringLiteral("Alpha"), QStringLiteral("Beta")});
    QLineEdit* edit = dialog.nameEdit();
    QPushButton* ok = dialog.okButton();
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(ok, nullptr);

    EXPECT_FALSE(ok->isEnabled());   // starts empty
    for (char const* refused : {"", "   ", "Alpha", " Beta\t"}) {
        edit->setText(QString::fromLatin1(refused));
        EXPECT_FALSE(ok->isEnabled()) << refused;
        EXPECT_FALSE(dialog.isNameAcceptable()) << refused;
    }
    edit->setText(QStringLiteral("  alpha "));   // exclusion is an exact match
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(dialog.selectedName(), QStringLiteral("alpha"));

    // Excluding the current name later disables OK too.
    dialog.setExcludedNames({QStringLiteral("alpha")});
    EXPECT_FALSE(ok->isEnabled());

    // accept() itself refuses, e.g. through the Enter key.
    dialog.setResult(QDialog::Rejected);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}
