#include "kav_explorer_widget.h"

#include "kav_app_commands.h"
#include "kav_explorer_model.h"

#include "mcadcmd/scene/kav_scene.h"
#include "parse/kav_parse.h"

#include <QHeaderView>
#include <QItemSelectionModel>

#include <algorithm>

namespace Kav {
namespace App {

ExplorerWidget::ExplorerWidget(MCADCmd::Scene* scene, QWidget* parent)
    : QTreeView(parent), scene_(scene), model_(new ExplorerModel(scene, this))
{
    setObjectName(QStringLiteral("explorer"));
    setModel(model_);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // Lets the view place a hundred thousand rows without asking each for its height.
    setUniformRowHeights(true);
    header()->setStretchLastSection(true);
    setColumnWidth(0, 130);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ExplorerWidget::onSelectionChanged);
    expandParents();
    showSelection();
}

QModelIndex ExplorerWidget::indexOf(QString const& name) const
{
    return model_->indexOf(name);
}

void ExplorerWidget::apply(MCADCmd::SceneChanges const& changes)
{
    syncing_ = true;
    model_->apply(changes);
    if (changes.reset) {
        expandParents();
    } else {
        for (QString const& name : changes.inserted) {
            QModelIndex const index = model_->indexOf(name);
            if (index.parent().isValid())
                expand(index.parent());
        }
    }
    syncing_ = false;
    if (changes.structure() || changes.selection)
        showSelection();
}

void ExplorerWidget::setFilter(QString const& text)
{
    syncing_ = true;
    model_->setFilter(text);
    expandParents();
    syncing_ = false;
    showSelection();
}

void ExplorerWidget::expandParents()
{
    // expandAll() lays out every row; a flat scene of many elements has few parents.
    for (QModelIndex const& index : model_->parentRows())
        expand(index);
}

void ExplorerWidget::resync()
{
    MCADCmd::SceneChanges all;
    all.reset = true;
    apply(all);
}

void ExplorerWidget::showSelection()
{
    QItemSelection chosen;
    for (QString const& name : scene_->selection()) {
        QModelIndex const index = model_->indexOf(name);
        if (index.isValid())
            chosen.select(index, index.sibling(index.row(), 1));
    }
    syncing_ = true;
    selectionModel()->select(chosen, QItemSelectionModel::ClearAndSelect);
    syncing_ = false;
}

void ExplorerWidget::onSelectionChanged()
{
    if (syncing_)
        return;
    QModelIndexList rows = selectionModel()->selectedRows(0);
    std::sort(rows.begin(), rows.end(), &ExplorerModel::lessInTree);
    QStringList names;
    for (QModelIndex const& index : rows) {
        QString const name = model_->nameAt(index);
        if (!name.isEmpty())
            names << name;
    }
    // A command, so that a recorded macro selects what the user selected.
    if (names != scene_->selection())
        runCommand(QStringLiteral("select"), Parse::createStringVector(QStringLiteral("names"), names));
}

} // namespace App
} // namespace Kav
