#pragma once

#include <QModelIndex>
#include <QStringList>
#include <QTreeView>

namespace Kav {
namespace MCADCmd {
class Scene;
struct SceneChanges;
} // namespace MCADCmd
namespace App {

class ExplorerModel;

// The explorer: the scene's elements as a tree (parents above children), the snapshots in
// the documentation folder, a check box per element for its visibility. Checking runs
// "element.set", selecting runs "select".
class ExplorerWidget : public QTreeView {
    Q_OBJECT
public:
    explicit ExplorerWidget(MCADCmd::Scene* scene, QWidget* parent = nullptr);

    ExplorerModel* explorerModel() const { return model_; }
    // Column 0 of the element or report; invalid for an unknown name.
    QModelIndex indexOf(QString const& name) const;

    // Follows one batch of scene changes: rows in and out, rows changed, the selection.
    void apply(MCADCmd::SceneChanges const& changes);
    // Everything again from the scene.
    void resync();
    // Narrows the tree to what matches (ExplorerModel::setFilter), opened to show it all.
    void setFilter(QString const& text);

private:
    void expandParents();
    void showSelection();
    void onSelectionChanged();

    MCADCmd::Scene* scene_;
    ExplorerModel* model_;
    bool syncing_ = false;
};

} // namespace App
} // namespace Kav
