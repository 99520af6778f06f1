#pragma once
// A user configuration level in a temporary folder holding the given templates, with the
// template store and the library's four access creators, for the life of one benchmark.

#include "access/mvp_property_access.h"
#include "propertyaccess/kav_prop_acc_template_container.h"
#include "templates/mvp_restore_template_file.h"

#include <QTemporaryDir>

#include <memory>

namespace MvpBench {

class TemplateStore {
public:
    explicit TemplateStore(Kav::PropertyAccess::PropAccTemplateContainer const& templates);
    ~TemplateStore();
    TemplateStore(TemplateStore const&) = delete;
    TemplateStore& operator=(TemplateStore const&) = delete;

private:
    QTemporaryDir dir_;
    Kav::MCADVisProp::CADElementPropertyAccessCreator element_;
    Kav::MCADVisProp::CADContainerPropertyAccessCreator container_;
    Kav::MCADVisProp::GLViewPropertyAccessCreator view_;
    Kav::MCADVisProp::LegendPropertyAccessCreator legend_;
    std::unique_ptr<Kav::MCADVisProp::RestoreSnapshotTemplateFile> store_;
};

} // namespace MvpBench
