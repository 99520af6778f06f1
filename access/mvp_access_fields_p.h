#pragma once
// Internal to access/: the knowledge of a type as two tables, the values a restore applies
// (for comparing) and the properties, each with the values it covers (for taking).

#include "access/mvp_access_fields.h"

namespace Kav {
namespace MCADVisProp {

template <class A>
class FieldTable : public AccessFields {
public:
    struct Field {
        PropertyAccess::PropTemplateID_t id;
        // Applied only when the property is enabled; false: whatever the flags say.
        bool gated;
        char const* key;
        // Whether a restore applies it on this target at all; null: always.
        bool (*applies)(A const& stored, A const& current, IdSet enabled, CAD::Element* target);
        bool (*same)(A const& a, A const& b);
        QString (*text)(A const& a);
    };
    struct Property {
        PropertyAccess::PropTemplateID_t id;
        void (*take)(A& to, A const& from);
        bool (*same)(A const& a, A const& b);
    };

    std::vector<PropertyAccess::PropTemplateID_t> ids() const override
    {
        std::vector<PropertyAccess::PropTemplateID_t> out;
        for (Property const& p : properties_)
            out.push_back(p.id);
        return out;
    }

    void compare(PropertyAccess::PropertyAccessBase const& stored, IdSet enabled,
                 PropertyAccess::PropertyAccessBase const& current, CAD::Element* target,
                 DifferenceSink const& out, bool texts) const override
    {
        auto const* s = dynamic_cast<A const*>(&stored);
        auto const* c = dynamic_cast<A const*>(&current);
        if (s == nullptr || c == nullptr)
            return;
        for (Field const& f : fields_) {
            if ((f.gated && !enabled.has(f.id)) || (f.applies != nullptr && !f.applies(*s, *c, enabled, target)))
                continue;
            if (!f.same(*s, *c))
                out(f.key, texts ? f.text(*s) : QString(), texts ? f.text(*c) : QString());
        }
    }

    std::unique_ptr<PropertyAccess::PropertyAccessBase> take(PropertyAccess::PropertyAccessBase const& stored,
                                                             PropertyAccess::PropertyAccessBase const& current,
                                                             IdSet taken) const override
    {
        auto const* s = dynamic_cast<A const*>(&stored);
        auto const* c = dynamic_cast<A const*>(&current);
        if (s == nullptr || c == nullptr)
            return nullptr;
        bool differs = false;
        for (Property const& p : properties_)
            differs = differs || (taken.has(p.id) && !p.same(*s, *c));
        if (!differs)
            return nullptr;
        auto fresh = std::make_unique<A>(*s);
        for (Property const& p : properties_) {
            if (taken.has(p.id))
                p.take(*fresh, *c);
        }
        return fresh;
    }

protected:
    std::vector<Field> fields_;
    std::vector<Property> properties_;
};

// The knowledge of each of the plug-in's types, defined beside the access it describes.
AccessFields const& glViewFields();
AccessFields const& legendFields();
AccessFields const& elementFields();
AccessFields const& containerFields();

} // namespace MCADVisProp
} // namespace Kav
