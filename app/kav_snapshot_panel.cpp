#include "kav_snapshot_panel.h"

#include "kav_app_commands.h"

#include "cad/kav_element.h"
#include "core/kav_errors.h"
#include "core/kav_translate.h"
#include "gapp/kav_command.h"
#include "gapp/kav_main_window.h"
#include "gapp/kav_special_menu_provider.h"
#include "gtools/kav_dialogs.h"
#include "gtools/kav_edit_name_dialog.h"
#include "io/kav_stream.h"
#include "mcadcmd/scene/kav_scene.h"
#include "parse/kav_parse.h"

#include <QContextMenuEvent>
#include <QImage>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPainter>

#include <algorithm>
#include <exception>

namespace Kav {
namespace App {

namespace {

// Fills `menu` with the restore-template menu's entries; nothing when they cannot be read
// (the Report menu tells why).
void fillFromProvider(QMenu* menu)
{
    GApp::SpecialMenuProvider* provider = restoreTemplateProvider();
    if (provider == nullptr)
        return;
    try {
        provider->fillMenu(menu);
    } catch (IO::StreamException const&) {
    } catch (ProgError const&) {
    } catch (std::exception const&) {
    }
}

QStringList templateNames()
{
    QMenu scratch;
    fillFromProvider(&scratch);
    QStringList names;
    for (QAction* a : scratch.actions()) {
        if (!a->isSeparator())
            names << a->text();
    }
    return names;
}

} // namespace

SnapshotPanel::SnapshotPanel(MCADCmd::Scene* scene, QWidget* parent) : QListWidget(parent), scene_(scene)
{
    setObjectName(QStringLiteral("snapshotPanel"));
    // Pictures above their names, one below the other, as wide as the dock.
    setViewMode(QListView::IconMode);
    setFlow(QListView::TopToBottom);
    setWrapping(false);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setIconSize(QSize(PICTURE_WIDTH, PICTURE_HEIGHT));
    setSpacing(4);
    setUniformItemSizes(true);
    setWordWrap(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);

    placeholder_ = QPixmap(PICTURE_WIDTH, PICTURE_HEIGHT);
    placeholder_.fill(QColor(0xee, 0xee, 0xee));
    {
        QPainter p(&placeholder_);
        p.setPen(QPen(QColor(0xa0, 0xa0, 0xa0), 1, Qt::DashLine));
        p.drawRect(0, 0, PICTURE_WIDTH - 1, PICTURE_HEIGHT - 1);
        p.setPen(QColor(0x70, 0x70, 0x70));
        p.drawText(QRect(8, 0, PICTURE_WIDTH - 16, PICTURE_HEIGHT), Qt::AlignCenter | Qt::TextWordWrap,
                   Kav::translate("MvpHost", "no picture"));
    }

    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { restoreWhole(item->data(Qt::UserRole).toString()); });
    connect(scene_, &MCADCmd::Scene::structureChanged, this, &SnapshotPanel::refresh);
    // An update replaces pictures without changing the scene's structure.
    if (GApp::MainWindow::main_win != nullptr)
        connect(GApp::MainWindow::main_win, &GApp::MainWindow::commandExecuted, this, &SnapshotPanel::refresh);
    refresh();
}

QPixmap SnapshotPanel::pictureOf(QByteArray const& png)
{
    if (png.isEmpty())
        return placeholder_;
    auto const found = decoded_.constFind(png);
    if (found != decoded_.constEnd())
        return *found;
    QImage image;
    // The bytes come from a project file: a picture that does not decode shows the placeholder.
    if (!image.loadFromData(png, "PNG") || image.isNull())
        return placeholder_;
    if (image.width() > PICTURE_WIDTH || image.height() > PICTURE_HEIGHT)
        image = image.scaled(PICTURE_WIDTH, PICTURE_HEIGHT, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPixmap const pixmap = QPixmap::fromImage(image);
    decoded_.insert(png, pixmap);
    return pixmap;
}

void SnapshotPanel::refresh()
{
    std::vector<CAD::Report*> const reports = scene_->reports();
    int const now = static_cast<int>(reports.size());
    int const shown = static_cast<int>(names_.size());
    // The name and picture shown are mostly the report's own data: the same data needs no comparing.
    auto equal = [](auto const& a, auto const& b) {
        return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
    };
    auto same = [&](int report, int item) {
        CAD::Report const* r = reports[static_cast<std::size_t>(report)];
        return equal(r->getName(), names_.at(item)) && equal(r->getPicture(), pictures_.at(item));
    };
    // Only what lies between the items that stay at the front and at the back is made anew:
    // mostly a snapshot added or removed, and a long report must not cost more per command.
    int head = 0;
    while (head < now && head < shown && same(head, head))
        ++head;
    int tail = 0;
    while (tail < now - head && tail < shown - head && same(now - 1 - tail, shown - 1 - tail))
        ++tail;
    if (head == now && head == shown)
        return;
    QStringList const selected = selectedSnapshots();
    setUpdatesEnabled(false);
    int const gone = shown - tail - head;
    for (int i = head + gone - 1; i >= head; --i)
        delete takeItem(i);
    names_.erase(names_.begin() + head, names_.begin() + head + gone);
    pictures_.erase(pictures_.begin() + head, pictures_.begin() + head + gone);
    for (int i = head; i < now - tail; ++i) {
        CAD::Report const* r = reports[static_cast<std::size_t>(i)];
        QString const name = r->getName();
        QByteArray const picture = r->getPicture();
        // Filled before it joins the list: each change to a shown item is a signal.
        auto* item = new QListWidgetItem(QIcon(pictureOf(picture)), name);
        item->setData(Qt::UserRole, name);
        item->setData(Qt::UserRole + 1, !picture.isEmpty() && decoded_.contains(picture));
        item->setToolTip(name);
        insertItem(i, item);
        item->setSelected(selected.contains(name));
        names_.insert(i, name);
        pictures_.insert(i, picture);
    }
    if (gone > 0) {
        // Only the pictures still shown stay decoded.
        QHash<QByteArray, QPixmap> kept;
        for (QByteArray const& picture : pictures_) {
            auto const found = decoded_.constFind(picture);
            if (found != decoded_.constEnd())
                kept.insert(picture, *found);
        }
        decoded_ = kept;
    }
    setUpdatesEnabled(true);
}

QStringList SnapshotPanel::selectedSnapshots() const
{
    // From the selection, not by asking every item: a snapshot added to a long report asks.
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](QModelIndex const& a, QModelIndex const& b) { return a.row() < b.row(); });
    QStringList names;
    for (QModelIndex const& row : rows)
        names << row.data(Qt::UserRole).toString();
    return names;
}

QListWidgetItem* SnapshotPanel::itemOf(QString const& name) const
{
    int const at = names_.indexOf(name);
    return at >= 0 && at < count() ? item(at) : nullptr;
}

bool SnapshotPanel::showsPicture(QString const& name) const
{
    QListWidgetItem const* it = itemOf(name);
    return it != nullptr && it->data(Qt::UserRole + 1).toBool();
}

bool SnapshotPanel::restoreWhole(QString const& snapshot)
{
    return runCommand(QStringLiteral("report.restore_whole_snapshot"), Parse::createString(QStringLiteral("snapshot"), snapshot));
}

QString SnapshotPanel::templateParameter(QString const& name)
{
    GApp::MainWindow* window = GApp::MainWindow::main_win;
    if (window == nullptr)
        return QString();
    QMenu scratch;
    fillFromProvider(&scratch);
    QString parameter;
    for (QAction* a : scratch.actions()) {
        if (a->text() != name)
            continue;
        // The entry runs its restore with the template's whole form; that is taken, not run.
        window->setProbe([&parameter](GApp::Command* cmd, QString const& parameters) {
            if (cmd == nullptr || cmd->getCommandName() != QLatin1String("report.restore_by_template"))
                return;
            try {
                QString rest = parameters;
                parameter = Parse::createGroup(QStringLiteral("template"), Parse::getGroup(rest, QStringLiteral("template")));
            } catch (ParamError const&) {
            }
        });
        a->setEnabled(true);
        a->trigger();
        window->setProbe(nullptr);
        break;
    }
    return parameter;
}

bool SnapshotPanel::updateSelected(QString const& templateName)
{
    QStringList const snapshots = selectedSnapshots();
    if (snapshots.isEmpty())
        return false;
    QString parameters = Parse::createStringVector(QStringLiteral("snapshots"), snapshots);
    if (!templateName.isEmpty()) {
        QString const parameter = templateParameter(templateName);
        if (parameter.isEmpty())
            return false;
        parameters += QLatin1Char(' ') + parameter;
    }
    return runCommand(QStringLiteral("report.update_snapshots"), parameters);
}

bool SnapshotPanel::renameSnapshot(QString const& snapshot, QString const& name)
{
    return runCommand(QStringLiteral("report.rename_snapshot"),
                      Parse::createString(QStringLiteral("snapshot"), snapshot) + Parse::createString(QStringLiteral("name"), name));
}

bool SnapshotPanel::removeSelected()
{
    QStringList const snapshots = selectedSnapshots();
    if (snapshots.isEmpty())
        return false;
    bool const yes = GTools::YesNoDialog(GTools::DIALOG_QUESTION, Kav::translate("MvpHost", "Remove snapshots"),
                                         snapshots.size() == 1 ? Kav::translate("MvpHost", "Remove the snapshot \"%1\"?").arg(snapshots.first())
                                                                : Kav::translate("MvpHost", "Remove %1 snapshots?").arg(snapshots.size()),
                                         snapshots.join(QLatin1Char('\n')));
    if (!yes)
        return false;
    for (QString const& s : snapshots) {
        if (!runCommand(QStringLiteral("element.remove"), Parse::createString(QStringLiteral("name"), s)))
            return false;
    }
    return true;
}

void SnapshotPanel::askRename(QString const& snapshot)
{
    GTools::EditNameDialog dialog(this);
    dialog.setWindowTitle(Kav::translate("MvpHost", "Rename snapshot"));
    dialog.setLabelText(Kav::translate("MvpHost", "New name of the snapshot \"%1\":").arg(snapshot));
    dialog.setSelectedName(snapshot);
    dialog.setExcludedNames({snapshot});
    if (GTools::execDialog(dialog) == QDialog::Accepted)
        renameSnapshot(snapshot, dialog.selectedName());
}

void SnapshotPanel::fillTemplates(QMenu* menu, QString const& snapshot)
{
    menu->clear();
    // The plug-in's entries restore the snapshot selected in the scene.
    if (scene_->selection() != QStringList{snapshot})
        runCommand(QStringLiteral("select"), Parse::createStringVector(QStringLiteral("names"), {snapshot}));
    fillFromProvider(menu);
    if (menu->actions().isEmpty())
        menu->addAction(Kav::translate("MvpHost", "(no restore templates)"))->setEnabled(false);
}

QMenu* SnapshotPanel::contextMenuFor(QWidget* parent)
{
    QStringList const snapshots = selectedSnapshots();
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("snapshotMenu"));
    QString const one = snapshots.size() == 1 ? snapshots.first() : QString();

    QAction* whole = menu->addAction(Kav::translate("MvpHost", "Restore whole snapshot"));
    whole->setObjectName(QStringLiteral("actionSnapshotRestore"));
    whole->setEnabled(!one.isEmpty());
    connect(whole, &QAction::triggered, this, [this, one] { restoreWhole(one); });

    QMenu* byTemplate = menu->addMenu(Kav::translate("MvpHost", "Restore by template"));
    byTemplate->setObjectName(QStringLiteral("menuSnapshotRestoreTemplates"));
    byTemplate->menuAction()->setEnabled(!one.isEmpty());
    connect(byTemplate, &QMenu::aboutToShow, this, [this, byTemplate, one] { fillTemplates(byTemplate, one); });

    QAction* compare = menu->addAction(Kav::translate("MvpHost", "Compare with the scene..."));
    compare->setObjectName(QStringLiteral("actionSnapshotCompare"));
    compare->setEnabled(!one.isEmpty() && hasCommand(QStringLiteral("report.compare_snapshot")));
    connect(compare, &QAction::triggered, this, [this, one] { emit compareRequested(one); });

    menu->addSeparator();
    QMenu* update = menu->addMenu(snapshots.size() > 1 ? Kav::translate("MvpHost", "Update %1 snapshots from the scene").arg(snapshots.size())
                                                       : Kav::translate("MvpHost", "Update from the scene"));
    update->setObjectName(QStringLiteral("menuSnapshotUpdate"));
    update->menuAction()->setEnabled(!snapshots.isEmpty() && hasCommand(QStringLiteral("report.update_snapshots")));
    QAction* updateWhole = update->addAction(Kav::translate("MvpHost", "Whole snapshot"));
    updateWhole->setObjectName(QStringLiteral("actionSnapshotUpdateWhole"));
    connect(updateWhole, &QAction::triggered, this, [this] { updateSelected(QString()); });
    QStringList const templates = templateNames();
    if (!templates.isEmpty())
        update->addSeparator();
    for (QString const& t : templates) {
        QAction* a = update->addAction(t);
        connect(a, &QAction::triggered, this, [this, t] { updateSelected(t); });
    }

    menu->addSeparator();
    QAction* rename = menu->addAction(Kav::translate("MvpHost", "Rename..."));
    rename->setObjectName(QStringLiteral("actionSnapshotRename"));
    rename->setEnabled(!one.isEmpty());
    connect(rename, &QAction::triggered, this, [this, one] { askRename(one); });
    QAction* remove = menu->addAction(Kav::translate("MvpHost", "Remove"));
    remove->setObjectName(QStringLiteral("actionSnapshotRemove"));
    remove->setEnabled(!snapshots.isEmpty());
    connect(remove, &QAction::triggered, this, [this] { removeSelected(); });
    return menu;
}

void SnapshotPanel::contextMenuEvent(QContextMenuEvent* event)
{
    QListWidgetItem* under = itemAt(viewport()->mapFromGlobal(event->globalPos()));
    if (under == nullptr)
        return;
    if (!under->isSelected()) {
        clearSelection();
        under->setSelected(true);
    }
    QMenu* menu = contextMenuFor(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

} // namespace App
} // namespace Kav
