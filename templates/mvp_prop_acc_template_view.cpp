#include "mvp_prop_acc_template_view.h"

#include "access/mvp_property_access.h"
#include "access/mvp_property_access_p.h"
#include "core/kav_translate.h"
#include "mvp_restore_template_file.h"
#include "propertyaccess/kav_property_access_factory.h"

#include <QHeaderView>

#include <algorithm>
#include <map>

namespace Kav {
namespace MCADVisProp {

using PropertyAccess::PropAccessType_t;
using PropertyAccess::PropAccTemplatePart;
using PropertyAccess::PropertyAccessFactory;
using PropertyAccess::PropertyDescriptions;
using PropertyAccess::PropTemplateCat_t;
using PropertyAccess::PropTemplateID_t;

namespace {

Qt::ItemFlags const categoryFlags = Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsAutoTristate;
Qt::ItemFlags const propertyFlags = Qt::ItemIsUserCheckable | Qt::ItemIsEnabled;

PropTemplateCat_t const shownCategories[] = {
    PropertyAccess::CAT_RESTORE_GENERAL, PropertyAccess::CAT_RESTORE_3D,
    PropertyAccess::CAT_RESTORE_EXPLORER_ELEMENTS, PropertyAccess::CAT_RESTORE_PROJECTS,
    PropertyAccess::CAT_RESTORE_FEATURES};

PropTemplateID_t const noId = static_cast<PropTemplateID_t>(-1);

bool storeLocked()
{
    RestoreSnapshotTemplateFile* store = RestoreSnapshotTemplateFile::instance();
    return store != nullptr && store->isLocked();
}

Qt::CheckState checkState(bool on)
{
    return on ? Qt::Checked : Qt::Unchecked;
}

} // namespace

PropAccTemplateView::PropAccTemplateView(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    header()->setStretchLastSection(true);
    setSortingEnabled(false);
    connect(this, &QTreeWidget::clicked, this, &PropAccTemplateView::toggled);
    buildTree();
    refresh();
}

PropAccTemplateView::~PropAccTemplateView() = default;

QString PropAccTemplateView::categoryCaption(PropTemplateCat_t category)
{
    return categoryText(category);
}

void PropAccTemplateView::setTemplate(PropertyAccess::PropAccTemplate* t)
{
    shownTemplate = t;
    refresh();
}

QTreeWidgetItem* PropAccTemplateView::addItem(QTreeWidgetItem* parent, QString const& text, Qt::ItemFlags flags,
                                              PropTemplateCat_t category, PropTemplateID_t id)
{
    auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, text);
    item->setFlags(flags);
    item->setCheckState(0, Qt::Unchecked);
    entries.push_back(Entry{item, category, id});
    return item;
}

QTreeWidgetItem* PropAccTemplateView::findItem(PropTemplateCat_t category, PropTemplateID_t id) const
{
    auto const it = std::find_if(entries.begin(), entries.end(), [category, id](Entry const& e) {
        return e.category == category && e.id == id;
    });
    return it != entries.end() ? it->item : nullptr;
}

void PropAccTemplateView::buildTree()
{
    entries.clear();
    std::map<int, PropertyDescriptions> byCategory;
    for (PropAccessType_t type : PropertyAccessFactory::getRegisteredTypes()) {
        PropertyDescriptions descriptions;
        PropTemplateCat_t const category = PropertyAccessFactory::getPropertyDescriptions(type, &descriptions);
        PropertyDescriptions& list = byCategory[category];
        for (auto const& d : descriptions) {
            bool const known = std::any_of(list.begin(), list.end(), [&d](auto const& p) { return p.first == d.first; });
            if (!known)
                list.push_back(d);
        }
    }
    PropTemplateCat_t const none = PropertyAccess::CAT_UNKNOWN;
    for (PropTemplateCat_t category : shownCategories) {
        PropertyDescriptions const& list = byCategory[category];
        if (list.empty())
            continue;
        QTreeWidgetItem* top = addItem(nullptr, categoryCaption(category), categoryFlags, none, noId);
        for (auto const& d : list)
            addItem(top, d.second, propertyFlags, category, d.first);
    }
    QTreeWidgetItem* group =
        addItem(nullptr, translate("MCADVisProp", "new and invalid elements"), categoryFlags, none, noId);
    newElementsItem = addItem(group, translate("MCADVisProp", "set new elements invisible"), propertyFlags, none, noId);
    invalidElementsItem =
        addItem(group, translate("MCADVisProp", "set invalid elements invisible"), propertyFlags, none, noId);
    // Every box in sight: the tree is small and a collapsed group hides what a template does.
    expandAll();
    viewport()->update();
}

void PropAccTemplateView::refresh()
{
    editable = shownTemplate != nullptr && shownTemplate->configLevel() == Cfg::LEVEL_USER && !storeLocked();
    for (Entry const& e : entries) {
        Qt::ItemFlags flags = e.item->flags();
        flags.setFlag(Qt::ItemIsEnabled, editable);
        e.item->setFlags(flags);
    }
    if (shownTemplate == nullptr) {
        for (Entry const& e : entries)
            e.item->setCheckState(0, Qt::Unchecked);
        viewport()->update();
        return;
    }
    for (PropAccessType_t type : PropertyAccessFactory::getRegisteredTypes()) {
        PropAccTemplatePart part = shownTemplate->getTemplatePart(type);
        if (part.getType() == PropertyAccess::PROP_ACC_NONE)
            part = PropAccTemplatePart(type);
        PropertyDescriptions descriptions;
        PropTemplateCat_t const category = PropertyAccessFactory::getPropertyDescriptions(type, &descriptions);
        for (auto const& d : descriptions) {
            if (QTreeWidgetItem* item = findItem(category, d.first))
                item->setCheckState(0, checkState(part.getUsage(d.first)));
        }
    }
    newElementsItem->setCheckState(0, checkState(shownTemplate->newInvisible()));
    invalidElementsItem->setCheckState(0, checkState(shownTemplate->invalidCMMInvisible()));
    viewport()->update();
}

void PropAccTemplateView::toggled()
{
    // The boxes of a read-only template cannot change; reading them back would still give
    // it parts it never had.
    if (shownTemplate == nullptr || !editable) {
        viewport()->update();
        return;
    }
    for (PropAccessType_t type : PropertyAccessFactory::getRegisteredTypes()) {
        PropAccTemplatePart part(type);
        PropertyDescriptions descriptions;
        PropTemplateCat_t const category = PropertyAccessFactory::getPropertyDescriptions(type, &descriptions);
        for (auto const& d : descriptions) {
            if (QTreeWidgetItem* item = findItem(category, d.first))
                part.setUsage(d.first, item->checkState(0) == Qt::Checked);
        }
        shownTemplate->set(part);
    }
    shownTemplate->setNewInvisibleFlag(newElementsItem->checkState(0) == Qt::Checked);
    shownTemplate->setInvalidCMMInvisibleFlag(invalidElementsItem->checkState(0) == Qt::Checked);
    viewport()->update();
}

} // namespace MCADVisProp
} // namespace Kav
