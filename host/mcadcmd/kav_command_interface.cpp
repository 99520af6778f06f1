#include "mcadcmd/kav_command_interface.h"
#include "core/kav_translate.h"

#include "cad/kav_element.h"
#include "cad/kav_element_creator.h"
#include "core/kav_error_log.h"
#include "core/kav_errors.h"
#include "glegend2/kav_global_legend.h"
#include "mcadcmd/scene/kav_scene.h"
#include "propertyaccess/kav_property_access_base.h"
#include "propertyaccess/kav_property_access_factory.h"

#include <QSet>

#include <algorithm>
#include <memory>

namespace Kav {
namespace MCADCmd {

char const* const ERROR_OPEN_FILE = "KavHost-Project-0001";
char const* const ERROR_SAVE_FILE = "KavHost-Project-0002";

namespace {

CommandInterface* g_interface = nullptr;
CachedCmdInterface* g_cached = nullptr;

using PropertyAccess::PropertyAccessBase;
using PropertyAccess::PropertyAccessFactory;

// One entry per enabled property of the access: its explorer name, its type description
// and `reason`, or the property's own description when `reason` is empty.
void reportNotApplied(PropertyAccessBase const* access, QString const& reason, QStringList* names,
                      QStringList* types, QStringList* descriptions)
{
    PropertyAccess::PropertyDescriptions declared;
    PropertyAccessFactory::getPropertyDescriptions(access->getType(), &declared);
    std::vector<std::pair<PropertyAccess::PropTemplateID_t, QString>> entries;
    for (auto const& d : declared) {
        if (access->getUsageFlag(d.first))
            entries.push_back(d);
    }
    if (declared.empty()) {
        // A type without a creator: its own flags are all there is to go by.
        for (auto const& f : access->getUsageFlags()) {
            if (f.second)
                entries.emplace_back(f.first, QString());
        }
    }
    QString const explorer = access->getExplorerName();
    QString const type = access->getTypeDescription();
    for (auto const& e : entries) {
        if (names != nullptr)
            names->append(explorer);
        if (types != nullptr)
            types->append(type);
        if (descriptions != nullptr)
            descriptions->append(reason.isEmpty() ? e.second : reason);
    }
}

// A mark per scene element, found by the element's place (checked; an element the scene
// does not hold at its place is kept in a set).
class Marks {
public:
    explicit Marks(Scene const* scene) : scene_(scene)
    {
        if (scene_ != nullptr)
            marks_.assign(scene_->elements().size(), 0);
    }
    void insert(CAD::Element* e)
    {
        std::size_t const at = place(e);
        if (at != NONE)
            marks_[at] = 1;
        else
            others_.insert(e);
    }
    bool contains(CAD::Element* e) const
    {
        std::size_t const at = place(e);
        return at != NONE ? marks_[at] != 0 : others_.contains(e);
    }

private:
    static constexpr std::size_t NONE = static_cast<std::size_t>(-1);
    std::size_t place(CAD::Element* e) const
    {
        std::size_t const at = e->getSceneIndex();
        return at < marks_.size() && scene_->elements()[at] == e ? at : NONE;
    }

    Scene const* scene_;
    std::vector<char> marks_;
    QSet<CAD::Element*> others_;
};

} // namespace

CommandInterface::CommandInterface(Scene* scene) : scene_(scene) {}

CommandInterface::~CommandInterface()
{
    if (g_interface == this)
        g_interface = nullptr;
}

CommandInterface* CommandInterface::getInterface()
{
    return g_interface;
}

void CommandInterface::setInterface(CommandInterface* ci)
{
    g_interface = ci;
}

QStringList CommandInterface::getAllSelectedElements(bool) const
{
    return scene_ != nullptr ? scene_->selection() : QStringList();
}

bool CommandInterface::isDocumentationElement(QString const& name) const
{
    return scene_ != nullptr && scene_->isReport(name);
}

CAD::ElementAndStageImp<CAD::Element*> CommandInterface::getCADElementForElement(QString const& name) const
{
    if (scene_ == nullptr)
        return CAD::ElementAndStageImp<CAD::Element*>(nullptr, StageIdentifier());
    return CAD::ElementAndStageImp<CAD::Element*>(scene_->findElement(name), scene_->stage());
}

QString CommandInterface::getNameForElement(QString const& name) const
{
    if (scene_ == nullptr)
        return QString();
    CAD::Element* e = scene_->findElement(name);
    return e != nullptr ? e->getName() : QString();
}

bool CommandInterface::getParentElement(QString const& name, QString* parent) const
{
    CAD::Element* e = scene_ != nullptr ? scene_->findElement(name) : nullptr;
    if (e == nullptr || e->getParent() == nullptr)
        return false;
    if (parent != nullptr)
        *parent = e->getParent()->getName();
    return true;
}

StageIdentifier CommandInterface::getActualStageIdentifier() const
{
    return scene_ != nullptr ? scene_->stage() : StageIdentifier();
}

GCAD::RenderCallback* CommandInterface::getRenderCallback() const
{
    return scene_ != nullptr ? scene_->renderCallback() : nullptr;
}

GL::ViewCreator* CommandInterface::getGLViewCreator() const
{
    return scene_ != nullptr ? scene_->viewCreator() : nullptr;
}

bool CommandInterface::hasLegendData() const
{
    return scene_ != nullptr && scene_->hasLegendData();
}

void CommandInterface::setModified(QString const& name, bool modified)
{
    if (scene_ != nullptr)
        scene_->setModified(name, modified);
}

bool CommandInterface::elementPropertiesChanged(QStringList const& names, ErrorLog* log)
{
    if (scene_ == nullptr) {
        if (log != nullptr)
            *log << translate("Kav::MCADCmd", "no scene") << END_LOG;
        return false;
    }
    bool ok = true;
    for (QString const& n : names) {
        if (scene_->findElement(n) == nullptr) {
            ok = false;
            if (log != nullptr)
                *log << translate("Kav::MCADCmd", "unknown element \"%1\"").arg(n) << END_LOG;
        }
    }
    // The named elements only (observers redo what those show), and the view and the legend,
    // which a restore changes without naming them.
    Scene::Batch batch(*scene_);
    scene_->elementsChanged(names);
    scene_->viewChanged();
    scene_->legendChanged();
    return ok;
}

void CommandInterface::getAllElements(AllElement1_t which, AllElement2_t kinds, AllElement3_t order,
                                      QStringList* names) const
{
    if (names == nullptr || scene_ == nullptr)
        return;
    std::vector<CAD::Element*> candidates;
    if (kinds != ONLY_DOCUMENTATION)
        candidates = scene_->elements();
    if (kinds != NO_DOCUMENTATION) {
        for (CAD::Report* r : scene_->reports())
            candidates.push_back(r);
    }
    QSet<QString> selected;
    if (which == SELECTED_ELEMENTS) {
        for (QString const& s : scene_->selection())
            selected.insert(s);
    }
    // Straight into the caller's list when it is empty: every name copied is a write to
    // its shared text, which a scene of many elements feels.
    QStringList others;
    QStringList& out = names->isEmpty() ? *names : others;
    out.reserve(static_cast<int>(candidates.size()));
    for (CAD::Element* e : candidates) {
        if (which == VISIBLE_ELEMENTS && !e->isVisible(CAD::VISIBLE_IN_SCENE))
            continue;
        if (which == SELECTED_ELEMENTS && !selected.contains(e->getName()))
            continue;
        out << e->getName();
    }
    if (order == NAME_ORDER)
        std::sort(out.begin(), out.end());
    if (&out == &others)
        names->append(others);
}

QStringList CommandInterface::applyPropertyAccessComplete(bool newInvisible, bool invalidInvisible,
                                                          AccessList const& accesses, QStringList* names,
                                                          QStringList* types, QStringList* descriptions)
{
    // Elements by their place in the scene: a name would be hashed again for every set and
    // every test, a pointer too.
    Marks changed(scene_);
    Marks named(scene_);
    for (PropertyAccessBase* access : accesses) {
        if (access == nullptr)
            continue;
        QString target;
        CAD::Element* element = nullptr;
        bool found = false;
        switch (access->getType()) {
        case PropertyAccess::PROP_ACC_3D_VIEW:
            found = getGLViewCreator() != nullptr;
            break;
        case PropertyAccess::PROP_ACC_LEGEND:
            found = GLegend2::GlobalLegend::getInstance() != nullptr;
            break;
        default:
            target = access->getExplorerName();
            element = scene_ != nullptr ? scene_->findElement(target) : nullptr;
            // Element and container accesses target scene elements: a snapshot that took a
            // removed element's name does not stand in for it.
            if (element != nullptr && element->getElementType() == CAD::ElementCreator::REPORT)
                element = nullptr;
            found = element != nullptr;
            if (newInvisible && element != nullptr)
                named.insert(element);
            break;
        }
        if (!found) {
            reportNotApplied(access, QString(), names, types, descriptions);
            continue;
        }
        try {
            access->apply(target);
        } catch (ProgError const& e) {
            QString reason = e.getText();
            if (reason.isEmpty())
                reason = e.getMessage();
            reportNotApplied(access, reason, names, types, descriptions);
            continue;
        }
        if (element != nullptr)
            changed.insert(element);
    }

    if (scene_ != nullptr && (newInvisible || invalidInvisible)) {
        std::vector<CAD::Element*> const elements = scene_->elements();
        for (CAD::Element* e : elements) {
            if (newInvisible && !named.contains(e)) {
                bool const before = e->isVisible(CAD::VISIBLE_OWN);
                std::unique_ptr<PropertyAccessBase> fresh(
                    PropertyAccessFactory::create(PropertyAccess::PROP_ACC_CAD_ELEMENT));
                if (fresh) {
                    fresh->setNewInvisible(e->getName());
                } else if (e->getParent() == nullptr) {
                    // No element access is registered: hide it the way one would.
                    e->setElementVisible(false);
                }
                if (before != e->isVisible(CAD::VISIBLE_OWN))
                    changed.insert(e);
            }
            if (invalidInvisible && !e->isValid() && e->isVisible(CAD::VISIBLE_OWN)) {
                e->setElementVisible(false);
                changed.insert(e);
            }
        }
    }

    QStringList out;
    if (scene_ == nullptr)
        return out;
    for (CAD::Element* e : scene_->elements()) {
        if (changed.contains(e))
            out << e->getName();
    }
    return out;
}

CachedCmdInterface::CachedCmdInterface(Scene* scene) : scene_(scene) {}

CachedCmdInterface::~CachedCmdInterface()
{
    if (g_cached == this)
        g_cached = nullptr;
}

CachedCmdInterface* CachedCmdInterface::getInterface()
{
    return g_cached;
}

void CachedCmdInterface::setInterface(CachedCmdInterface* ci)
{
    g_cached = ci;
}

QStringList CachedCmdInterface::getAllSelectedElements(bool) const
{
    return scene_ != nullptr ? scene_->selection() : QStringList();
}

} // namespace MCADCmd
} // namespace Kav
