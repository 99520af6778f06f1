#pragma once

#include <QStringList>
#include <QTreeWidget>

namespace Kav {
namespace MCADCmd {
class Scene;
}
namespace App {

// The explorer: the scene's elements as a tree (parents above children), the snapshots in
// the documentation folder, a check box per element for its visibility. Checking runs
// "element.set", selecting runs "select".
class ExplorerWidget : public QTreeWidget {
    Q_OBJECT
public:
    explicit ExplorerWidget(MCADCmd::Scene* scene, QWidget* parent = nullptr);

    // Brings the tree up to the scene: rebuilt when elements came or went, else only check
    // states and selection are updated.
    void sync();
    QTreeWidgetItem* findItem(QString const& name) const;

private:
    void rebuild();
    void onItemChanged(QTreeWidgetItem* item, int column);
    void onSelectionChanged();

    MCADCmd::Scene* scene_;
    QStringList shownNames_;
    bool syncing_ = false;
};

} // namespace App
} // namespace Kav
