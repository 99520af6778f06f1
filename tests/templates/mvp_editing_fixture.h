#pragma once

#include "cfg/kav_cfg_settings.h"
#include "core/kav_init.h"
#include "io/kav_stream.h"
#include "mvp_listed_creators.h"
#include "mvp_responder.h"
#include "mvp_temp_dir.h"
#include "propertyaccess/kav_prop_acc_template_container.h"
#include "templates/mvp_restore_template_file.h"

#include <QDir>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace MvpTest {

// Level directories in a temporary tree, the template store, the library's four creators as
// they describe themselves, and a responder that fails the test on any unscripted dialog.
class EditingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Kav::KavInit::setApplicationName("mvptest");
        for (int level = 0; level < 3; ++level) {
            QString const d = root.path(QStringLiteral("level%1").arg(level));
            QDir().mkpath(d);
            Kav::Cfg::Settings::setLevelDirectory(static_cast<Kav::Cfg::Level>(level), d);
        }
        store = std::make_unique<Kav::MCADVisProp::RestoreSnapshotTemplateFile>();
    }

    void TearDown() override
    {
        store.reset();
        Kav::Cfg::Settings::reset();
    }

    QString levelFile(int level) const
    {
        return root.path(QStringLiteral("level%1/mvptest_rstmpls.rst").arg(level));
    }

    // A store file holding `c`. The container writes user-level templates only, so they all
    // go in as such; reading tags them with the level of the file.
    static void writeStore(QString const& path, Kav::PropertyAccess::PropAccTemplateContainer const& c)
    {
        Kav::PropertyAccess::PropAccTemplateContainer user;
        for (unsigned int i = 0; i < c.getNumberOfTemplates(); ++i) {
            Kav::PropertyAccess::PropAccTemplate t = c.getTemplate(i);
            t.setConfigLevel(Kav::Cfg::LEVEL_USER);
            user.add(t);
        }
        Kav::IO::OutStream out(path, Kav::KString("RESTORE_SNAPSHOT_TEMPLATE"), 1);
        user.saveStream(&out);
        out.close();
    }

    // The bytes a store file holding `c` has.
    QByteArray storeBytesOf(Kav::PropertyAccess::PropAccTemplateContainer const& c) const
    {
        QString const path = root.path(QStringLiteral("expected.rst"));
        writeStore(path, c);
        return readAll(path);
    }

    QByteArray userStore() const { return readAll(levelFile(2)); }

    static void writeExchange(QString const& path, Kav::PropertyAccess::PropAccTemplateContainer const& c)
    {
        std::ofstream out(path.toStdString(), std::ios::binary);
        out << c;
    }

    // A template whose content tells it apart: the view part follows the name's length.
    static Kav::PropertyAccess::PropAccTemplate sample(QString const& name,
                                                       Kav::Cfg::Level level = Kav::Cfg::LEVEL_USER)
    {
        using namespace Kav::PropertyAccess;
        PropAccTemplate t(name, level);
        PropAccTemplatePart view(PROP_ACC_3D_VIEW);
        view.setUsage(PROP_ROTATION, name.size() % 2 == 0);
        view.setUsage(PROP_SCALE, false);
        t.set(view);
        t.setInvalidCMMInvisibleFlag(true);
        return t;
    }

    static Kav::PropertyAccess::PropAccTemplateContainer container(
        std::initializer_list<Kav::PropertyAccess::PropAccTemplate> list)
    {
        Kav::PropertyAccess::PropAccTemplateContainer c;
        for (auto const& t : list)
            c.add(t);
        return c;
    }

    TempDir root;
    LibraryCreators creators;
    ResponderGuard responder;
    std::unique_ptr<Kav::MCADVisProp::RestoreSnapshotTemplateFile> store;
};

// The row of `text` anywhere in the tree; fails the test when there is none.
inline QTreeWidgetItem* row(QTreeWidget* tree, QString const& text)
{
    QList<QTreeWidgetItem*> const found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    EXPECT_EQ(found.size(), 1) << "rows named " << text.toStdString();
    return found.isEmpty() ? nullptr : found.first();
}

// Clicks the check box of `item` with the mouse, as a person does.
inline void clickBox(QTreeWidget* tree, QTreeWidgetItem* item)
{
    ASSERT_NE(item, nullptr);
    tree->scrollToItem(item);
    QStyleOptionViewItem option;
    option.initFrom(tree);
    option.rect = tree->visualItemRect(item);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = item->text(0);
    option.checkState = item->checkState(0);
    QRect const box = tree->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, tree);
    ASSERT_TRUE(tree->viewport()->rect().contains(box.center())) << item->text(0).toStdString();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, box.center());
}

// Clicks the row's text, to select it in a list.
inline void clickRow(QTreeWidget* tree, QTreeWidgetItem* item, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    ASSERT_NE(item, nullptr);
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, modifiers, tree->visualItemRect(item).center());
}

// The whole tree as text, one row a line, children indented by two blanks.
inline QStringList treeText(QTreeWidget* tree)
{
    QStringList lines;
    std::function<void(QTreeWidgetItem*, QString const&)> walk = [&](QTreeWidgetItem* item, QString const& indent) {
        lines << indent + item->text(0);
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i), indent + QStringLiteral("  "));
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        walk(tree->topLevelItem(i), QString());
    return lines;
}

} // namespace MvpTest
