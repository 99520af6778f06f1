#include "mvp_template_names.h"

namespace Kav {
namespace MCADVisProp {

TemplateNamer::TemplateNamer(PropertyAccess::PropAccTemplateContainer const& stored)
{
    for (unsigned int i = 0; i < stored.getNumberOfTemplates(); ++i)
        taken_.insert(stored.getTemplate(i).getName());
}

QString TemplateNamer::take(QString const& name)
{
    QString candidate = name;
    if (taken_.contains(candidate)) {
        unsigned int counter = nextCounter_.value(name, 1u);
        do {
            candidate = QStringLiteral("%2_%1").arg(counter).arg(name);
            ++counter;
        } while (taken_.contains(candidate));
        nextCounter_.insert(name, counter);
    }
    taken_.insert(candidate);
    return candidate;
}

void mergeTemplates(PropertyAccess::PropAccTemplateContainer* stored,
                    PropertyAccess::PropAccTemplateContainer const& incoming)
{
    TemplateNamer namer(*stored);
    for (unsigned int i = 0; i < incoming.getNumberOfTemplates(); ++i) {
        PropertyAccess::PropAccTemplate t = incoming.getTemplate(i);
        t.setName(namer.take(t.getName()));
        stored->add(t);
    }
}

} // namespace MCADVisProp
} // namespace Kav
