#pragma once

#include "propertyaccess/kav_prop_acc_template_container.h"

#include <QHash>
#include <QSet>
#include <QString>

namespace Kav {
namespace MCADVisProp {

// Gives imported templates names no stored template has: a taken name N becomes N_1,
// N_2, ... (the first free one, counting from 1, always from the name as imported).
// Names only ever join the set, so the counter where a name's last search ended is a
// safe start for the next: importing many templates of one name stays linear.
class TemplateNamer {
public:
    explicit TemplateNamer(PropertyAccess::PropAccTemplateContainer const& stored);

    // The name to give a template called `name`; the result counts as taken from now on.
    QString take(QString const& name);

private:
    QSet<QString> taken_;
    QHash<QString, unsigned int> nextCounter_;
};

// Appends every template of `incoming` to `stored`, renamed by the rule above.
void mergeTemplates(PropertyAccess::PropAccTemplateContainer* stored,
                               PropertyAccess::PropAccTemplateContainer const& incoming);

} // namespace MCADVisProp
} // namespace Kav
