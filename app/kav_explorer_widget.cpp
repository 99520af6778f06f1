#include "kav_explorer_widget.h"

#include "kav_app_commands.h"

#include "cad/kav_element.h"
#include "cad/kav_element_creator.h"
#include "core/kav_translate.h"
#include "mcadcmd/kav_scene.h"
#include "parse/kav_parse.h"

#include <QHeaderView>

#include <map>

namespace Kav {
namespace App {

namespace {
constexpr int NAME_ROLE = Qt::UserRole + 1;

// Every element and report name in explorer order.
QStringList sceneNames(MCADCmd::Scene* scene)
{
    QStringList names;
    for (CAD::Element* e : scene->elements())
        names << e->getName() + QLatin1Char('\n') + (e->getParent() ? e->getParent()->getName() : QString());
    for (CAD::Report* r : scene->reports())
        names << QStringLiteral("report\n") + r->getName();
    return names;
}
} // namespace

ExplorerWidget::ExplorerWidget(MCADCmd::Scene* scene, QWidget* parent) : QTreeWidget(parent), scene_(scene)
{
    setObjectName(QStringLiteral("explorer"));
    setColumnCount(2);
    setHeaderLabels({Kav::translate("MvpHost", "Element"), Kav::translate("MvpHost", "Type")});
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    header()->setStretchLastSection(true);
    setColumnWidth(0, 130);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QTreeWidget::itemChanged, this, &ExplorerWidget::onItemChanged);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &ExplorerWidget::onSelectionChanged);
    sync();
}

QTreeWidgetItem* ExplorerWidget::findItem(QString const& name) const
{
    for (QTreeWidgetItemIterator it(const_cast<ExplorerWidget*>(this)); *it; ++it) {
        if ((*it)->data(0, NAME_ROLE).toString() == name)
            return *it;
    }
    return nullptr;
}

void ExplorerWidget::rebuild()
{
    clear();
    std::map<QString, QTreeWidgetItem*> items;
    for (CAD::Element* e : scene_->elements()) {
        QTreeWidgetItem* parentItem = nullptr;
        if (e->getParent() != nullptr) {
            auto it = items.find(e->getParent()->getName());
            if (it != items.end())
                parentItem = it->second;
        }
        auto* item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(this);
        item->setText(0, e->getName());
        item->setText(1, CAD::ElementCreator::getTypeDescription(e->getElementType()));
        item->setData(0, NAME_ROLE, e->getName());
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        items[e->getName()] = item;
    }
    std::vector<CAD::Report*> const reports = scene_->reports();
    QString const folderName = MCADCmd::Scene::documentationFolderName();
    QTreeWidgetItem* folder = nullptr;
    auto existing = items.find(folderName);
    if (existing != items.end()) {
        folder = existing->second;
    } else {
        folder = new QTreeWidgetItem(this);
        folder->setText(0, folderName);
        folder->setText(1, Kav::translate("MvpHost", "documentation"));
        folder->setFlags(Qt::ItemIsEnabled);
    }
    for (CAD::Report* r : reports) {
        auto* item = new QTreeWidgetItem(folder);
        item->setText(0, r->getName());
        item->setText(1, CAD::ElementCreator::getTypeDescription(r->getElementType()));
        item->setData(0, NAME_ROLE, r->getName());
    }
    expandAll();
}

void ExplorerWidget::sync()
{
    syncing_ = true;
    QStringList const names = sceneNames(scene_);
    if (names != shownNames_) {
        rebuild();
        shownNames_ = names;
    }
    QStringList const& selection = scene_->selection();
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        QTreeWidgetItem* item = *it;
        QString const name = item->data(0, NAME_ROLE).toString();
        if (name.isEmpty())
            continue;
        CAD::Element* e = scene_->findElement(name);
        if (e != nullptr && (item->flags() & Qt::ItemIsUserCheckable))
            item->setCheckState(0, e->isVisible(CAD::VISIBLE_OWN) ? Qt::Checked : Qt::Unchecked);
        bool const selected = selection.contains(name);
        if (item->isSelected() != selected)
            item->setSelected(selected);
    }
    syncing_ = false;
}

void ExplorerWidget::onItemChanged(QTreeWidgetItem* item, int column)
{
    if (syncing_ || column != 0)
        return;
    QString const name = item->data(0, NAME_ROLE).toString();
    CAD::Element* e = scene_->findElement(name);
    if (e == nullptr)
        return;
    bool const visible = item->checkState(0) == Qt::Checked;
    if (visible == e->isVisible(CAD::VISIBLE_OWN))
        return;
    runCommand(QStringLiteral("element.set"),
               Parse::createString(QStringLiteral("name"), name) + QLatin1Char(' ')
                   + Parse::createBool(QStringLiteral("visible"), visible));
    // A failed command leaves the element as it was; show that.
    sync();
}

void ExplorerWidget::onSelectionChanged()
{
    if (syncing_)
        return;
    QStringList names;
    // Tree order, so the selection does not depend on the order of clicks.
    for (QTreeWidgetItemIterator it(this, QTreeWidgetItemIterator::Selected); *it; ++it) {
        QString const name = (*it)->data(0, NAME_ROLE).toString();
        if (!name.isEmpty())
            names << name;
    }
    // A command, so that a recorded macro selects what the user selected.
    if (names != scene_->selection())
        runCommand(QStringLiteral("select"), Parse::createStringVector(QStringLiteral("names"), names));
}

} // namespace App
} // namespace Kav
