#include "mvp_template_edits.h"

#include "mvp_template_names.h"

#include <utility>

namespace Kav {
namespace MCADVisProp {

using PropertyAccess::PropAccTemplate;
using PropertyAccess::PropAccTemplateContainer;

void applyEdits(PropAccTemplateContainer* stored, PropAccTemplateContainer const& loaded,
                PropAccTemplateContainer const& edited, std::vector<int> const& origins)
{
    unsigned int const count = stored->getNumberOfTemplates();
    // Where each loaded user template is in the store now: the first unclaimed user template
    // of the same content; -1 when another writer changed or removed it.
    std::vector<bool> claimed(count, false);
    std::vector<int> nowAt(loaded.getNumberOfTemplates(), -1);
    for (unsigned int i = 0; i < loaded.getNumberOfTemplates(); ++i) {
        PropAccTemplate const t = loaded.getTemplate(i);
        for (unsigned int j = 0; j < count && t.configLevel() == Cfg::LEVEL_USER && nowAt[i] < 0; ++j) {
            PropAccTemplate const s = stored->getTemplate(j);
            if (!claimed[j] && s.configLevel() == Cfg::LEVEL_USER && s.sameContent(t)) {
                claimed[j] = true;
                nowAt[i] = static_cast<int>(j);
            }
        }
    }
    // Every loaded template the dialog still has is kept; changed ones are placed anew.
    std::vector<bool> kept(loaded.getNumberOfTemplates(), false);
    std::vector<std::pair<int, PropAccTemplate>> placed; // store index to replace or -1, template
    for (unsigned int i = 0; i < edited.getNumberOfTemplates(); ++i) {
        PropAccTemplate const t = edited.getTemplate(i);
        int const origin = i < origins.size() ? origins[i] : -1;
        if (t.configLevel() != Cfg::LEVEL_USER)
            continue;
        if (origin >= 0) {
            kept[static_cast<std::size_t>(origin)] = true;
            if (t.sameContent(loaded.getTemplate(static_cast<unsigned int>(origin))))
                continue;
        }
        placed.emplace_back(origin >= 0 ? nowAt[static_cast<std::size_t>(origin)] : -1, t);
    }
    // Neither dropped nor replaced templates keep their names; the placed ones get free ones.
    std::vector<bool> gone(count, false);
    for (std::size_t i = 0; i < nowAt.size(); ++i) {
        if (nowAt[i] >= 0 && !kept[i])
            gone[static_cast<std::size_t>(nowAt[i])] = true;
    }
    for (auto const& p : placed) {
        if (p.first >= 0)
            gone[static_cast<std::size_t>(p.first)] = true;
    }
    PropAccTemplateContainer stays;
    for (unsigned int j = 0; j < count; ++j) {
        if (!gone[j] && stored->getTemplate(j).configLevel() == Cfg::LEVEL_USER)
            stays.add(stored->getTemplate(j));
    }
    TemplateNamer namer(stays);
    for (auto& p : placed)
        p.second.setName(namer.take(p.second.getName()));

    PropAccTemplateContainer result;
    for (unsigned int j = 0; j < count; ++j) {
        if (!gone[j]) {
            result.add(stored->getTemplate(j));
            continue;
        }
        for (auto const& p : placed) {
            if (p.first == static_cast<int>(j))
                result.add(p.second);
        }
    }
    for (auto const& p : placed) {
        if (p.first < 0)
            result.add(p.second);
    }
    *stored = result;
}

} // namespace MCADVisProp
} // namespace Kav
