#include "mvp_snapshot_comparison.h"

#include "access/mvp_access_fields.h"
#include "access/mvp_element_property_access.h"
#include "access/mvp_glview_property_access.h"
#include "access/mvp_legend_property_access.h"
#include "access/mvp_property_access_p.h"
#include "core/kav_errors.h"
#include "gcad/kav_gcad.h"
#include "glegend2/kav_global_legend.h"
#include "mcadcmd/kav_command_interface.h"
#include "propertyaccess/kav_property_access_factory.h"
#include "mvp_snapshot_lookup.h"

#include <QSet>

#include <vector>

namespace Kav {
namespace MCADVisProp {

using namespace PropertyAccess;

char const* const SnapshotComparison::REMOVED = "(removed)";
char const* const SnapshotComparison::NOT_RESTORABLE = "(not restorable)";

namespace {

QString const VIEW = QStringLiteral("view");
QString const LEGEND = QStringLiteral("legend");

// The counting end of a comparison, and what hides an invalid element: its own visibility
// is then no value of the snapshot's, so it is left out and "hidden" said once at the end.
class Emitter {
public:
    Emitter(SnapshotComparison::Sink const& out, bool texts) : out_(out), texts_(texts) {}
    void operator()(QString const& object, char const* property, QString const& stored, QString const& current)
    {
        ++count_;
        out_(object, property, stored, current);
    }
    // The differences of one object with `current` as its present state.
    void object(QString const& name, PropertyAccessBase const& stored, IdSet enabled, PropertyAccessBase const& current,
                CAD::Element* target, bool hidden)
    {
        // One pointer captured: the sink then needs no memory of its own, once per element.
        struct Object {
            Emitter* emitter;
            QString const* name;
            bool hidden;
        } const object{this, &name, hidden};
        AccessFields::of(stored.getType())
            .compare(stored, enabled, current, target, [o = &object](char const* key, QString const& s, QString const& c) {
                if (!o->hidden || qstrcmp(key, "visible") != 0)
                    (*o->emitter)(*o->name, key, s, c);
            },
                     texts_);
        if (hidden)
            this->hidden(name, current);
    }
    // The restore hides the element whatever the snapshot holds of it.
    void hidden(QString const& name, PropertyAccessBase const& current)
    {
        auto const* element = dynamic_cast<CADElementPropertyAccess const*>(&current);
        if (element != nullptr && element->getVisible())
            (*this)(name, "visible", QStringLiteral("0"), QStringLiteral("1"));
    }
    std::size_t count() const { return count_; }

private:
    SnapshotComparison::Sink const& out_;
    bool texts_;
    std::size_t count_ = 0;
};

// The present state of the scene's objects, one access reused for the elements.
class SceneState {
public:
    PropertyAccessBase const* view()
    {
        view_.extract(QString());
        return &view_;
    }
    PropertyAccessBase const* legend()
    {
        legend_.extract(QString());
        return &legend_;
    }
    // Null when the element's type cannot be extracted.
    PropertyAccessBase const* element(PropertyAccessBase const& stored, CAD::Element* e)
    {
        if (stored.getType() == PROP_ACC_CAD_ELEMENT) {
            element_ = blank_;
            element_.directExtract(e);
            return &element_;
        }
        other_.reset(PropertyAccessFactory::create(stored.getType()));
        if (!other_)
            return nullptr;
        try {
            other_->extract(e->getName());
        } catch (ProgError const&) {
            return nullptr;
        }
        return other_.get();
    }

private:
    GLViewPropertyAccess view_;
    LegendPropertyAccess legend_;
    CADElementPropertyAccess const blank_;
    CADElementPropertyAccess element_;
    std::unique_ptr<PropertyAccessBase> other_;
};

} // namespace

SnapshotComparison::SnapshotComparison(CAD::Report const& snapshot, PropAccTemplate const* tmpl,
                                       CAD::Report const* other)
    : snapshot_(snapshot), tmpl_(tmpl), other_(other)
{
}

std::size_t SnapshotComparison::run(Sink const& out, bool texts) const
{
    MCADCmd::CommandInterface* ci = requireInterface("Kav::MCADVisProp::SnapshotComparison::run", __LINE__);
    Emitter diff(out, texts);
    EnabledProperties enabled(tmpl_);
    bool const newInvisible = tmpl_ == nullptr || tmpl_->newInvisible();
    bool const invalidInvisible = tmpl_ != nullptr && tmpl_->invalidCMMInvisible();
    CAD::Report::AccessList const& accesses = snapshot_.getCreationPropertyAccess();
    SceneState scene;

    // The other snapshot's view and legend stand for the scene's; what it does not hold
    // of them is taken from the scene.
    CAD::Report::AccessList const none;
    CAD::Report::AccessList const& others = other_ != nullptr ? other_->getCreationPropertyAccess() : none;
    AccessFinder otherFinder(others);
    PropertyAccessBase const* otherView = nullptr;
    PropertyAccessBase const* otherLegend = nullptr;
    for (PropertyAccessBase const* a : others) {
        if (a != nullptr && a->getType() == PROP_ACC_3D_VIEW && otherView == nullptr)
            otherView = a;
        if (a != nullptr && a->getType() == PROP_ACC_LEGEND && otherLegend == nullptr)
            otherLegend = a;
    }
    std::vector<char> namedInOther(others.size(), 0);
    QSet<CAD::Element const*> named;

    GCAD::RenderCallback* render = ci->getRenderCallback();
    bool const viewApplies = ci->getGLViewCreator() != nullptr && render != nullptr && render->getRenderObject() != nullptr;
    for (std::size_t i = 0; i < accesses.size(); ++i) {
        PropertyAccessBase const* a = accesses[i];
        if (a == nullptr)
            continue;
        IdSet const on = enabled.of(*a);
        if (a->getType() == PROP_ACC_3D_VIEW || a->getType() == PROP_ACC_LEGEND) {
            bool const view = a->getType() == PROP_ACC_3D_VIEW;
            QString const& object = view ? VIEW : LEGEND;
            bool const found = view ? ci->getGLViewCreator() != nullptr : GLegend2::GlobalLegend::getInstance() != nullptr;
            if (!found) {
                if (on.any())
                    diff(object, REMOVED, QString(), QString());
            } else if (view ? viewApplies : ci->hasLegendData()) {
                PropertyAccessBase const* now = view ? otherView : otherLegend;
                if (now == nullptr)
                    now = view ? scene.view() : scene.legend();
                diff.object(object, *a, on, *now, nullptr, false);
            }
            continue;
        }
        QString const& name = a->getExplorerName();
        CAD::Element* e = sceneElement(ci, name);
        PropertyAccessBase const* now = nullptr;
        if (other_ != nullptr) {
            long const at = otherFinder.find(name, static_cast<long>(i));
            if (at >= 0 && others[static_cast<std::size_t>(at)]->getType() == a->getType()) {
                namedInOther[static_cast<std::size_t>(at)] = 1;
                now = others[static_cast<std::size_t>(at)];
            }
        } else if (e != nullptr) {
            named.insert(e);
            now = AccessFields::of(a->getType()).restorable() ? scene.element(*a, e) : nullptr;
            if (now == nullptr) {
                if (on.any())
                    diff(name, NOT_RESTORABLE, QString(), QString());
                continue;
            }
        }
        if (now == nullptr) {
            if (on.any())
                diff(name, REMOVED, QString(), QString());
            continue;
        }
        if (!AccessFields::of(a->getType()).restorable()) {
            if (on.any())
                diff(name, NOT_RESTORABLE, QString(), QString());
            continue;
        }
        diff.object(name, *a, on, *now, e, invalidInvisible && e != nullptr && !e->isValid());
    }

    if (!newInvisible && !invalidInvisible)
        return diff.count();
    // What the restore hides of what the snapshot does not hold: elements without a parent
    // when new ones are hidden, invalid ones when those are.
    auto hides = [&](CAD::Element const* e) {
        return (newInvisible && (e == nullptr || e->getParent() == nullptr)) || (invalidInvisible && e != nullptr && !e->isValid());
    };
    if (other_ != nullptr) {
        for (std::size_t j = 0; j < others.size(); ++j) {
            PropertyAccessBase const* o = others[j];
            if (o == nullptr || namedInOther[j] || o->getType() == PROP_ACC_3D_VIEW || o->getType() == PROP_ACC_LEGEND)
                continue;
            if (hides(sceneElement(ci, o->getExplorerName())))
                diff.hidden(o->getExplorerName(), *o);
        }
        return diff.count();
    }
    QStringList names;
    ci->getAllElements(MCADCmd::ALL_ELEMENTS, MCADCmd::NO_DOCUMENTATION, MCADCmd::SCENE_ORDER, &names);
    for (QString const& name : names) {
        CAD::Element* e = sceneElement(ci, name);
        if (e != nullptr && !named.contains(e) && hides(e) && e->isVisible(CAD::VISIBLE_OWN))
            diff(name, "visible", QStringLiteral("0"), QStringLiteral("1"));
    }
    return diff.count();
}

} // namespace MCADVisProp
} // namespace Kav
