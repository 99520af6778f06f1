#include "kav_explorer_model.h"

#include "kav_app_commands.h"

#include "cad/kav_element.h"
#include "cad/kav_element_creator.h"
#include "core/kav_translate.h"
#include "mcadcmd/scene/kav_scene.h"
#include "parse/kav_parse.h"

#include <algorithm>

namespace Kav {
namespace App {

struct ExplorerModel::Node {
    enum Kind { ELEMENT, REPORT, FOLDER };
    QString name;
    Kind kind = ELEMENT;
    Node* parent = nullptr;
    int row = 0;
    unsigned int type = 0;   // of an element; it never changes
    std::vector<std::unique_ptr<Node>> children;
    // While filtering: the children shown, and this one's row among its parent's (-1: not shown).
    std::vector<Node*> shown;
    int shownRow = -1;

    Node* append(QString const& childName, Kind childKind)
    {
        return insert(static_cast<int>(children.size()), childName, childKind);
    }
    Node* insert(int at, QString const& childName, Kind childKind)
    {
        auto node = std::make_unique<Node>();
        node->name = childName;
        node->kind = childKind;
        node->parent = this;
        Node* raw = node.get();
        children.insert(children.begin() + at, std::move(node));
        renumberFrom(at);
        return raw;
    }
    void renumberFrom(int at)
    {
        for (int i = at; i < static_cast<int>(children.size()); ++i)
            children[static_cast<std::size_t>(i)]->row = i;
    }
};

ExplorerModel::ExplorerModel(MCADCmd::Scene* scene, QObject* parent)
    : QAbstractItemModel(parent), scene_(scene), root_(std::make_unique<Node>())
{
    rebuild();
}

ExplorerModel::~ExplorerModel() = default;

void ExplorerModel::rebuild()
{
    beginResetModel();
    root_ = std::make_unique<Node>();
    root_->kind = Node::FOLDER;
    byName_.clear();
    ownFolder_ = nullptr;
    byName_.reserve(static_cast<int>(scene_->elements().size() + scene_->reports().size()));
    for (CAD::Element* e : scene_->elements()) {
        Node* parent = root_.get();
        if (e->getParent() != nullptr)
            parent = byName_.value(e->getParent()->getName(), root_.get());
        Node* node = parent->append(e->getName(), Node::ELEMENT);
        node->type = e->getElementType();
        byName_.insert(e->getName(), node);
    }
    Node* docs = byName_.value(MCADCmd::Scene::documentationFolderName(), nullptr);
    if (docs == nullptr) {
        ownFolder_ = root_->append(MCADCmd::Scene::documentationFolderName(), Node::FOLDER);
        docs = ownFolder_;
    }
    for (CAD::Report* r : scene_->reports())
        byName_.insert(r->getName(), docs->append(r->getName(), Node::REPORT));
    for (CAD::Report* r : scene_->reports())
        byName_.value(r->getName())->type = r->getElementType();
    if (filtering())
        refilter();
    endResetModel();
}

ExplorerModel::Node* ExplorerModel::nodeOf(QModelIndex const& index) const
{
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : root_.get();
}

QModelIndex ExplorerModel::indexOfNode(Node* node, int column) const
{
    if (node == nullptr || node == root_.get() || shownRow(node) < 0)
        return QModelIndex();
    return createIndex(shownRow(node), column, node);
}

int ExplorerModel::shownCount(Node const* node) const
{
    return static_cast<int>(filtering() ? node->shown.size() : node->children.size());
}

ExplorerModel::Node* ExplorerModel::shownChild(Node const* node, int row) const
{
    auto const at = static_cast<std::size_t>(row);
    return filtering() ? node->shown[at] : node->children[at].get();
}

int ExplorerModel::shownRow(Node const* node) const
{
    return filtering() ? node->shownRow : node->row;
}

void ExplorerModel::setFilter(QString const& text)
{
    QString const wanted = text.trimmed();
    if (wanted == filter_)
        return;
    beginResetModel();
    filter_ = wanted;
    if (filtering())
        refilter();
    endResetModel();
}

void ExplorerModel::refilter()
{
    // Types are few: each is matched once, by its name and by what the explorer shows.
    QHash<unsigned int, bool> typeMatches;
    auto typeMatch = [&](unsigned int type) {
        auto it = typeMatches.find(type);
        if (it == typeMatches.end()) {
            bool const m = CAD::ElementCreator::getTypeName(type).contains(filter_, Qt::CaseInsensitive)
                           || CAD::ElementCreator::getTypeDescription(type).contains(filter_, Qt::CaseInsensitive);
            it = typeMatches.insert(type, m);
        }
        return it.value();
    };
    bool const folderMatches = Kav::translate("MvpHost", "documentation").contains(filter_, Qt::CaseInsensitive);
    // Children before their parents, without recursion: a parent is shown when it matches or
    // shows a child.
    std::vector<Node*> order{root_.get()};
    for (std::size_t i = 0; i < order.size(); ++i) {
        for (auto const& child : order[i]->children)
            order.push_back(child.get());
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        Node* node = *it;
        node->shown.clear();
        for (auto const& child : node->children) {
            if (child->shownRow >= 0) {
                child->shownRow = static_cast<int>(node->shown.size());
                node->shown.push_back(child.get());
            }
        }
        bool matches = node->name.contains(filter_, Qt::CaseInsensitive) || !node->shown.empty();
        if (!matches && node->kind == Node::FOLDER)
            matches = folderMatches;
        else if (!matches && node != root_.get())
            matches = typeMatch(node->type);
        node->shownRow = matches ? 0 : -1;   // numbered by the parent
    }
}

ExplorerModel::Node* ExplorerModel::folder() const
{
    return ownFolder_ != nullptr ? ownFolder_ : byName_.value(MCADCmd::Scene::documentationFolderName(), nullptr);
}

QModelIndex ExplorerModel::index(int row, int column, QModelIndex const& parent) const
{
    Node* p = nodeOf(parent);
    if (row < 0 || column < 0 || column >= 2 || row >= shownCount(p))
        return QModelIndex();
    return createIndex(row, column, shownChild(p, row));
}

QModelIndex ExplorerModel::parent(QModelIndex const& child) const
{
    if (!child.isValid())
        return QModelIndex();
    return indexOfNode(nodeOf(child)->parent);
}

int ExplorerModel::rowCount(QModelIndex const& parent) const
{
    if (parent.column() > 0)
        return 0;
    return shownCount(nodeOf(parent));
}

int ExplorerModel::columnCount(QModelIndex const&) const
{
    return 2;
}

QVariant ExplorerModel::data(QModelIndex const& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    Node const* node = nodeOf(index);
    if (role == NAME_ROLE)
        return node->kind == Node::FOLDER ? QString() : node->name;
    if (node->kind == Node::FOLDER) {
        if (role != Qt::DisplayRole)
            return QVariant();
        return index.column() == 0 ? node->name : Kav::translate("MvpHost", "documentation");
    }
    // Read now: between a change and its announcement the element may be gone.
    CAD::Element const* e = scene_->findElement(node->name);
    if (role == Qt::DisplayRole) {
        if (index.column() == 0)
            return node->name;
        return e != nullptr ? CAD::ElementCreator::getTypeDescription(e->getElementType()) : QString();
    }
    if (role == Qt::CheckStateRole && index.column() == 0 && node->kind == Node::ELEMENT && e != nullptr)
        return e->isVisible(CAD::VISIBLE_OWN) ? Qt::Checked : Qt::Unchecked;
    return QVariant();
}

bool ExplorerModel::setData(QModelIndex const& index, QVariant const& value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole || index.column() != 0)
        return false;
    Node const* node = nodeOf(index);
    CAD::Element const* e = node->kind == Node::ELEMENT ? scene_->findElement(node->name) : nullptr;
    if (e == nullptr)
        return false;
    bool const visible = value.toInt() == Qt::Checked;
    if (visible == e->isVisible(CAD::VISIBLE_OWN))
        return true;
    bool const ok = runCommand(QStringLiteral("element.set"), Parse::createString(QStringLiteral("name"), node->name)
                                                                  + QLatin1Char(' ')
                                                                  + Parse::createBool(QStringLiteral("visible"), visible));
    // A failed command leaves the element as it was; the box must show that.
    if (!ok)
        emit dataChanged(index, index, {Qt::CheckStateRole});
    return ok;
}

Qt::ItemFlags ExplorerModel::flags(QModelIndex const& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    switch (nodeOf(index)->kind) {
    case Node::ELEMENT:
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
    case Node::REPORT:
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    case Node::FOLDER:
        break;
    }
    return Qt::ItemIsEnabled;
}

QVariant ExplorerModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    return section == 0 ? Kav::translate("MvpHost", "Element") : Kav::translate("MvpHost", "Type");
}

QModelIndex ExplorerModel::indexOf(QString const& name) const
{
    return indexOfNode(byName_.value(name, nullptr));
}

QString ExplorerModel::nameAt(QModelIndex const& index) const
{
    return data(index, NAME_ROLE).toString();
}

bool ExplorerModel::lessInTree(QModelIndex const& a, QModelIndex const& b)
{
    auto path = [](QModelIndex i) {
        std::vector<int> rows;
        for (; i.isValid(); i = i.parent())
            rows.push_back(i.row());
        std::reverse(rows.begin(), rows.end());
        return rows;
    };
    return path(a) < path(b);
}

QModelIndexList ExplorerModel::parentRows() const
{
    QModelIndexList out;
    std::vector<Node*> open{root_.get()};
    while (!open.empty()) {
        Node* p = open.back();
        open.pop_back();
        if (p != root_.get())
            out << indexOfNode(p);
        for (int row = shownCount(p); row-- > 0;) {
            if (Node* child = shownChild(p, row); shownCount(child) > 0)
                open.push_back(child);
        }
    }
    return out;
}

bool ExplorerModel::placeOf(QString const& name, Node** parent, int* row) const
{
    CAD::Element* e = scene_->findElement(name);
    if (e == nullptr)
        return false;
    // The row follows the nearest earlier sibling already in the tree; insertions are
    // mostly at the end, so the search goes backwards from there.
    if (scene_->isReport(name)) {
        *parent = folder();
        if (*parent == nullptr)
            return false;
        std::vector<CAD::Report*> const reports = scene_->reports();
        auto it = std::find(reports.rbegin(), reports.rend(), e);
        *row = 0;
        for (++it; it != reports.rend(); ++it) {
            if (Node* before = byName_.value((*it)->getName(), nullptr)) {
                *row = before->row + 1;
                break;
            }
        }
        return true;
    }
    *parent = root_.get();
    if (e->getParent() != nullptr) {
        *parent = byName_.value(e->getParent()->getName(), nullptr);
        if (*parent == nullptr)
            return false;
    }
    std::vector<CAD::Element*> const& elements = scene_->elements();
    auto it = std::find(elements.rbegin(), elements.rend(), e);
    *row = 0;
    for (++it; it != elements.rend(); ++it) {
        if ((*it)->getParent() != e->getParent())
            continue;
        if (Node* before = byName_.value((*it)->getName(), nullptr)) {
            *row = before->row + 1;
            break;
        }
    }
    return true;
}

void ExplorerModel::insertNode(QString const& name)
{
    if (byName_.contains(name))
        return;
    Node* parent = nullptr;
    int row = 0;
    if (!placeOf(name, &parent, &row)) {
        // Not in the scene (any more), or its parent is not shown: only a gone one is fine.
        if (scene_->findElement(name) != nullptr)
            rebuild();
        return;
    }
    bool const report = scene_->isReport(name);
    beginInsertRows(indexOfNode(parent), row, row);
    Node* node = parent->insert(row, name, report ? Node::REPORT : Node::ELEMENT);
    node->type = scene_->findElement(name)->getElementType();
    byName_.insert(name, node);
    endInsertRows();
}

void ExplorerModel::forget(Node* node)
{
    byName_.remove(node->name);
    for (auto const& child : node->children)
        forget(child.get());
}

void ExplorerModel::removeNode(QString const& name)
{
    Node* node = byName_.value(name, nullptr);
    if (node == nullptr)
        return;
    Node* parent = node->parent;
    int const row = node->row;
    beginRemoveRows(indexOfNode(parent), row, row);
    forget(node);
    parent->children.erase(parent->children.begin() + row);
    parent->renumberFrom(row);
    endRemoveRows();
}

void ExplorerModel::announceChanged(Node* parent, int first, int last)
{
    emit dataChanged(createIndex(first, 0, shownChild(parent, first)), createIndex(last, 1, shownChild(parent, last)));
}

void ExplorerModel::apply(MCADCmd::SceneChanges const& changes)
{
    QString const docs = MCADCmd::Scene::documentationFolderName();
    // The documentation folder moving between an element and a row of its own changes
    // where every report is.
    // While filtering, new or removed rows may change which parents show: all again.
    if (changes.reset || changes.inserted.contains(docs) || changes.removed.contains(docs)
        || (filtering() && changes.structure())) {
        rebuild();
        return;
    }
    for (QString const& name : changes.removed)
        removeNode(name);
    for (QString const& name : changes.inserted) {
        insertNode(name);
        // A rebuild shows everything already.
        if (!byName_.contains(name) && scene_->findElement(name) != nullptr)
            return;
    }
    if (changes.allChanged) {
        std::vector<Node*> parents{root_.get()};
        while (!parents.empty()) {
            Node* p = parents.back();
            parents.pop_back();
            if (shownCount(p) == 0)
                continue;
            announceChanged(p, 0, shownCount(p) - 1);
            for (int row = 0; row < shownCount(p); ++row) {
                if (shownCount(shownChild(p, row)) > 0)
                    parents.push_back(shownChild(p, row));
            }
        }
        return;
    }
    for (QString const& name : changes.changed) {
        if (Node* node = byName_.value(name, nullptr); node != nullptr && shownRow(node) >= 0)
            announceChanged(node->parent, shownRow(node), shownRow(node));
    }
}

} // namespace App
} // namespace Kav
