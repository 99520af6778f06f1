#pragma once

#include "propertyaccess/kav_prop_acc_template.h"
#include "propertyaccess/kav_property_access_types.h"

#include <QTreeWidget>

#include <vector>

namespace Kav {
namespace MCADVisProp {

// The content of one restore template as check boxes: one tri-state box per category with
// a box per property below it, as the registered creators describe them, and the group of
// the two "invisible" flags. Clicks are written straight into the shown template, which the
// view does not own. The rows are fixed when the view is made.
class PropAccTemplateView : public QTreeWidget {
    Q_OBJECT
public:
    explicit PropAccTemplateView(QWidget* parent);
    ~PropAccTemplateView() override;

    // Shows `t` (null: nothing, all boxes unchecked); boxes can be clicked only for a
    // template of the user level while the store is not locked.
    void setTemplate(PropertyAccess::PropAccTemplate* t);

    // The caption of a category; empty for values that have none.
    static QString categoryCaption(PropertyAccess::PropTemplateCat_t category);

protected slots:
    // Copies the boxes into the shown template.
    void toggled();

private:
    struct Entry {
        QTreeWidgetItem* item;
        PropertyAccess::PropTemplateCat_t category;
        PropertyAccess::PropTemplateID_t id;
    };

    void buildTree();
    void refresh();
    QTreeWidgetItem* addItem(QTreeWidgetItem* parent, QString const& text, Qt::ItemFlags flags,
                             PropertyAccess::PropTemplateCat_t category, PropertyAccess::PropTemplateID_t id);
    QTreeWidgetItem* findItem(PropertyAccess::PropTemplateCat_t category, PropertyAccess::PropTemplateID_t id) const;

    QTreeWidgetItem* newElementsItem = nullptr;
    QTreeWidgetItem* invalidElementsItem = nullptr;
    PropertyAccess::PropAccTemplate* shownTemplate = nullptr;
    std::vector<Entry> entries;
    bool editable = false;
};

} // namespace MCADVisProp
} // namespace Kav
