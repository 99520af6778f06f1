#pragma once

#include "gapp/kav_special_menu_provider.h"
#include "propertyaccess/kav_prop_acc_template.h"
#include "propertyaccess/kav_prop_acc_template_container.h"

#include <QAction>

namespace Kav {
namespace MCADVisProp {

// The host's restore-templates menu: one entry per stored template, read anew at every fill,
// enabled only while exactly one snapshot is selected.
class MenuHandler : public GApp::SpecialMenuProvider {
    Q_OBJECT
public:
    MenuHandler();
    ~MenuHandler() override;

    QString getMenuTitle() override;
    void fillMenu(QWidget* menu) override;

    // The templates of the last fill.
    PropertyAccess::PropAccTemplateContainer const& templates() const { return templates_; }

private:
    PropertyAccess::PropAccTemplateContainer templates_;
};

// One menu entry: restores the selected snapshot filtered by its own copy of a template.
class RestoreByTemplateAction : public QAction {
    Q_OBJECT
public:
    RestoreByTemplateAction(PropertyAccess::PropAccTemplate const& restoreTemplate, QObject* parent);
    ~RestoreByTemplateAction() override;

    PropertyAccess::PropAccTemplate const& restoreTemplate() const { return template_; }

private slots:
    void restore();

private:
    PropertyAccess::PropAccTemplate template_;
};

} // namespace MCADVisProp
} // namespace Kav
