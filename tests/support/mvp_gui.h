#pragma once
// Driving widgets the way a person does: clicks on tree rows and boxes, context menus.

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

namespace MvpTest {

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

struct MenuUse {
    bool shown = false;
    bool clicked = false;
    std::map<QString, bool> enabled;
};

// Opens the context menu of `viewport` at `at` with a context-menu event, notes which entries
// are enabled and clicks `entry` with the mouse (or just closes the menu).
inline MenuUse useContextMenu(QWidget* viewport, QPoint at, QString const& entry = QString())
{
    auto use = std::make_shared<MenuUse>();
    QTimer::singleShot(0, [use, entry] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return;
        use->shown = true;
        QAction* target = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->isSeparator())
                continue;
            use->enabled[action->text()] = action->isEnabled();
            if (action->text() == entry)
                target = action;
        }
        if (target != nullptr && target->isEnabled()) {
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(target).center());
            use->clicked = true;
        }
        if (menu->isVisible())
            menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &event);
    QCoreApplication::processEvents();
    if (!entry.isEmpty()) {
        EXPECT_TRUE(use->clicked) << "menu entry " << entry.toStdString();
    }
    return *use;
}

} // namespace MvpTest
