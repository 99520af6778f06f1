#pragma once

#include <QAbstractItemModel>
#include <QHash>
#include <QString>

#include <memory>
#include <vector>

namespace Kav {
namespace MCADCmd {
class Scene;
struct SceneChanges;
} // namespace MCADCmd
namespace App {

// The scene as a tree for the explorer: elements under their parents in scene order, the
// reports in the documentation folder (an element of that name, or a folder row of its
// own at the end). Two columns: name and type. An element's check state is its own
// visibility; checking runs "element.set", so macros and undo see it.
//
// The tree keeps only names and places; what a row shows is read from the scene when the
// view asks, so a change of properties costs one dataChanged for the rows it names.
class ExplorerModel : public QAbstractItemModel {
    Q_OBJECT
public:
    static constexpr int NAME_ROLE = Qt::UserRole + 1;

    explicit ExplorerModel(MCADCmd::Scene* scene, QObject* parent = nullptr);
    ~ExplorerModel() override;

    QModelIndex index(int row, int column, QModelIndex const& parent = QModelIndex()) const override;
    QModelIndex parent(QModelIndex const& child) const override;
    int rowCount(QModelIndex const& parent = QModelIndex()) const override;
    int columnCount(QModelIndex const& parent = QModelIndex()) const override;
    QVariant data(QModelIndex const& index, int role = Qt::DisplayRole) const override;
    bool setData(QModelIndex const& index, QVariant const& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(QModelIndex const& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Column 0 of the element or report; invalid for an unknown name.
    QModelIndex indexOf(QString const& name) const;
    // Empty for the documentation folder row of its own.
    QString nameAt(QModelIndex const& index) const;
    // Tree order (parents before children, siblings by row), for a selection that does not
    // depend on the order of clicks.
    static bool lessInTree(QModelIndex const& a, QModelIndex const& b);

    // The rows that have rows under them, parents first.
    QModelIndexList parentRows() const;
    // Brings the tree up to the scene after a batch of changes.
    void apply(MCADCmd::SceneChanges const& changes);

    // Shows only the rows whose name or type (its name or its description) holds `text`,
    // ignoring case, with the rows above them; empty shows all. One pass over the names; a
    // change of the tree's rows while it filters filters again.
    void setFilter(QString const& text);
    QString const& filter() const { return filter_; }

private:
    struct Node;

    void rebuild();
    Node* nodeOf(QModelIndex const& index) const;
    QModelIndex indexOfNode(Node* node, int column = 0) const;
    Node* folder() const;
    // Where an element or report now in the scene belongs; false when it is not in it.
    bool placeOf(QString const& name, Node** parent, int* row) const;
    void insertNode(QString const& name);
    void removeNode(QString const& name);
    void forget(Node* node);
    void announceChanged(Node* parent, int first, int last);
    bool filtering() const { return !filter_.isEmpty(); }
    // The rows under a node as shown: all, or while filtering those that match.
    int shownCount(Node const* node) const;
    Node* shownChild(Node const* node, int row) const;
    int shownRow(Node const* node) const;
    void refilter();

    MCADCmd::Scene* scene_;
    std::unique_ptr<Node> root_;
    QHash<QString, Node*> byName_;
    Node* ownFolder_ = nullptr; // the folder row made when no element has its name
    QString filter_;
};

} // namespace App
} // namespace Kav
