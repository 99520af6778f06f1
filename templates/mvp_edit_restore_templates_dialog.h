#pragma once

#include "propertyaccess/kav_prop_acc_template_container.h"
#include "ui_mvp_edit_restore_templates_dlg.h"

#include <QDialog>

#include <vector>

class QAction;
class QMenu;
class QTreeWidgetItem;

namespace Kav {
namespace MCADVisProp {

class PropAccTemplateView;

// Creates, renames, deletes, imports, exports and edits restore templates. Works on a copy of
// the stored templates; OK applies what was done to the copy to the store as it is then
// (unless the store is locked), Cancel drops it. Only user-level templates can be changed.
class EditRestoreTemplatesDialog : public QDialog, public Ui::Kav_MCADVisPropEditRestoreTemplates_dlg {
    Q_OBJECT
public:
    EditRestoreTemplatesDialog();
    ~EditRestoreTemplatesDialog() override;

    void setVisible(bool visible) override;

    // For tests and tools that drive the dialog.
    PropAccTemplateView* contentView() const { return templateView; }
    QMenu* templateMenu() const { return contextMenu; }

protected slots:
    void done(int r) override;

private slots:
    void openContextMenu(QPoint const& p);
    void selectionChanged();
    void renameRestoreTemplate();
    void addRestoreTemplate();
    void deleteRestoreTemplates();
    void importRestoreTemplates();
    void exportRestoreTemplates();

private:
    void fillList();
    // Resizes to show every text of both panes, within the screen.
    void fitContent();
    std::vector<QString> editableTemplateNames() const;
    void writeBack();
    QStringList fileFilters() const;

    QMenu* contextMenu = nullptr;
    QAction* renameAction = nullptr;
    QAction* deleteAction = nullptr;
    QAction* exportAction = nullptr;
    PropertyAccess::PropAccTemplateContainer templates;
    // The templates as read, and for each of `templates` the index of the one it came from
    // there, -1 for a new one: what OK applies to the store.
    PropertyAccess::PropAccTemplateContainer loaded;
    std::vector<int> origins;
    PropertyAccess::PropAccTemplate currentTemplate;
    int currentIndex = -1;
    PropAccTemplateView* templateView = nullptr;
    std::vector<QTreeWidgetItem*> listItems;
};

} // namespace MCADVisProp
} // namespace Kav
