#pragma once

#include <QByteArray>
#include <QHash>
#include <QListWidget>
#include <QPixmap>
#include <QStringList>


class QMenu;

namespace Kav {
namespace MCADCmd {
class Scene;
}
namespace App {

// The Snapshots panel: every snapshot of the scene with its picture (or a placeholder) and
// its name, in scene order. Double-click restores one whole; the context menu restores by a
// template, compares, updates (several selected at once, as one step), renames and removes.
// Each of these runs a command.
class SnapshotPanel : public QListWidget {
    Q_OBJECT
public:
    static constexpr int PICTURE_WIDTH = 160;
    static constexpr int PICTURE_HEIGHT = 120;

    explicit SnapshotPanel(MCADCmd::Scene* scene, QWidget* parent = nullptr);

    // Brings the list up to the scene's snapshots; does nothing when they are as listed.
    void refresh();
    // The snapshots selected in the panel, in scene order.
    QStringList selectedSnapshots() const;
    // Whether the item of `name` shows a picture of its own (not the placeholder).
    bool showsPicture(QString const& name) const;
    QListWidgetItem* itemOf(QString const& name) const;

    // The context menu for the selection, built as it is about to show (also for the tests).
    QMenu* contextMenuFor(QWidget* parent);
    // The actions, also used by the tests. Each answers whether its command ran.
    bool restoreWhole(QString const& snapshot);
    bool updateSelected(QString const& templateName);   // empty: whole
    bool renameSnapshot(QString const& snapshot, QString const& name);
    bool removeSelected();

signals:
    // "Compare with the scene..." was chosen for this snapshot.
    void compareRequested(QString const& snapshot);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QPixmap pictureOf(QByteArray const& png);
    void askRename(QString const& snapshot);
    // The restore-template menu's entries, filled by the plug-in for `snapshot` selected.
    void fillTemplates(QMenu* menu, QString const& snapshot);
    // The template parameter the restore-template menu's entry `name` would run with.
    QString templateParameter(QString const& name);

    MCADCmd::Scene* scene_;
    // What the list shows: the names and their pictures' bytes, in order.
    QStringList names_;
    QList<QByteArray> pictures_;
    QHash<QByteArray, QPixmap> decoded_;
    QPixmap placeholder_;
};

} // namespace App
} // namespace Kav
