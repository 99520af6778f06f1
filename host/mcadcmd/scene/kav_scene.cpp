#include "mcadcmd/scene/kav_scene.h"

#include "core/kav_errors.h"
#include "glabel/kav_label_element.h"

#include <algorithm>
#include <set>

namespace Kav {
namespace MCADCmd {

namespace {

[[noreturn]] void refuse(SourcePlace const& place, QString const& text)
{
    throw ProgError(place, text);
}

} // namespace

bool SceneChanges::isEmpty() const
{
    return !reset && inserted.isEmpty() && removed.isEmpty() && changed.isEmpty() && !allChanged && !selection
           && !view && !legend;
}

bool SceneChanges::touches(QString const& name) const
{
    return reset || allChanged || changed.contains(name) || inserted.contains(name) || removed.contains(name);
}

QString Scene::documentationFolderName()
{
    return QStringLiteral("Documentation");
}

Scene::Scene(QObject* parent)
    : QObject(parent), overlay_(&renderObject_), renderCallback_(&renderObject_, &overlay_)
{
    overlay_.setLabelProvider([this](std::function<void(LabelElement*)> const& visit) {
        // Elements and labels fetched ahead: reaching them in memory is most of the time.
        constexpr std::size_t AHEAD = 16;
        std::size_t const count = elements_.size();
        for (std::size_t i = 0; i < count; ++i) {
            if (i + AHEAD < count)
                __builtin_prefetch(elements_[i + AHEAD]);
            if (i + AHEAD / 2 < count) {
                if (LabelElement const* next = elements_[i + AHEAD / 2]->getLabel())
                    __builtin_prefetch(next);
            }
            if (LabelElement* label = elements_[i]->getLabel())
                visit(label);
        }
    });
    legend_.setPosition(BaVec2d<double>(16.0, 16.0));
    if (GLegend2::GlobalLegend::getInstance() == nullptr)
        GLegend2::GlobalLegend::setInstance(&legend_);
}

Scene::~Scene()
{
    // Children refer to their parents: let them go first.
    elements_.clear();
    while (!owned_.empty())
        owned_.pop_back();
    reports_.clear();
}

void Scene::clear()
{
    elements_.clear();
    while (!owned_.empty())
        owned_.pop_back();
    reports_.clear();
    byName_.clear();
    forgetHints();
    selection_.clear();
    viewCreator_ = GL::ViewCreator();
    int const w = renderObject_.getViewportWidth();
    int const h = renderObject_.getViewportHeight();
    renderObject_ = GL::RenderObject();
    renderObject_.setViewportSize(w, h);
    GLegend2::GlobalLegend const defaults;
    legend_.setStreamData(defaults.getStreamData());
    legend_.setPosition(BaVec2d<double>(16.0, 16.0));
    hasLegend_ = true;
    // Whatever was collected refers to the old scene.
    pending_ = SceneChanges();
    pending_.reset = true;
    flushIfIdle();
}

void Scene::reserve(std::size_t count)
{
    owned_.reserve(count);
    elements_.reserve(count);
    byName_.reserve(static_cast<int>(std::min<std::size_t>(count, 1u << 30)));
}

CAD::Element* Scene::addElement(std::unique_ptr<CAD::Element> element, QString const& parentName)
{
    return insertElement(std::move(element), parentName, elements_.size());
}

void Scene::adoptElements(std::vector<std::unique_ptr<CAD::Element>> elements, QHash<QString, CAD::Element*> byName)
{
    if (!owned_.empty() || !reports_.empty() || static_cast<std::size_t>(byName.size()) != elements.size())
        refuse(KAV_HERE, QStringLiteral("elements are taken whole only into an empty scene"));
    owned_ = std::move(elements);
    elements_.clear();
    elements_.reserve(owned_.size());
    for (auto const& e : owned_)
        elements_.push_back(e.get());
    byName_ = std::move(byName);
    renumber(0);
    for (CAD::Element const* e : elements_)
        noteInserted(e->getName());
    flushIfIdle();
}

long Scene::indexOf(QString const& name) const
{
    CAD::Element* e = findElement(name);
    if (e == nullptr)
        return -1;
    std::size_t const at = e->getSceneIndex();
    if (at < elements_.size() && elements_[at] == e)
        return static_cast<long>(at);
    auto it = std::find(elements_.begin(), elements_.end(), e);
    return it != elements_.end() ? static_cast<long>(it - elements_.begin()) : -1;
}

CAD::Element* Scene::insertElement(std::unique_ptr<CAD::Element> element, QString const& parentName, std::size_t index)
{
    if (index > elements_.size())
        index = elements_.size();
    if (!element)
        refuse(KAV_HERE, QStringLiteral("no element"));
    QString const name = element->getName();
    if (name.isEmpty())
        refuse(KAV_HERE, QStringLiteral("an element needs a name"));
    // The entry is made by the test for a taken name (one hash operation for both, a scene
    // of many elements is built this way) and dropped again if the element is refused.
    auto const known = byName_.size();
    CAD::Element*& slot = byName_[name];
    if (byName_.size() == known)
        refuse(KAV_HERE, QStringLiteral("the name \"%1\" is taken").arg(name));
    CAD::Element* raw = element.get();
    try {
        if (dynamic_cast<CAD::Report*>(raw) != nullptr)
            refuse(KAV_HERE,
                   QStringLiteral("\"%1\" is a report: add it with addReport").arg(name));
        CAD::Element* parent = nullptr;
        if (!parentName.isEmpty()) {
            parent = parentName != name ? byName_.value(parentName, nullptr) : nullptr;
            if (parent == nullptr || dynamic_cast<CAD::Report*>(parent) != nullptr)
                refuse(KAV_HERE,
                       QStringLiteral("the parent \"%1\" of \"%2\" is no element").arg(parentName, name));
            // Appending keeps every present parent before; only an insertion needs the look.
            if (index < elements_.size() && indexOf(parentName) >= static_cast<long>(index))
                refuse(KAV_HERE,
                       QStringLiteral("the parent \"%1\" must come before \"%2\"").arg(parentName, name));
        }
        element->setParent(parent);
        owned_.insert(owned_.begin() + static_cast<std::ptrdiff_t>(index), std::move(element));
        elements_.insert(elements_.begin() + static_cast<std::ptrdiff_t>(index), raw);
    } catch (...) {
        byName_.remove(name);
        throw;
    }
    renumber(index);
    slot = raw;
    noteInserted(name);
    flushIfIdle();
    return raw;
}

bool Scene::removeElement(QString const& name)
{
    auto it = byName_.find(name);
    if (it == byName_.end())
        return false;
    CAD::Element* target = it.value();
    if (dynamic_cast<CAD::Report*>(target) != nullptr)
        return takeReport(name) != nullptr;
    forgetHints();
    // Parents come before their children, so one pass in scene order finds them all.
    std::set<CAD::Element*> gone{target};
    for (CAD::Element* e : elements_) {
        if (e->getParent() != nullptr && gone.count(e->getParent()) != 0)
            gone.insert(e);
    }
    for (CAD::Element* e : gone) {
        byName_.remove(e->getName());
        noteRemoved(e->getName());
    }
    elements_.erase(std::remove_if(elements_.begin(), elements_.end(),
                                   [&gone](CAD::Element* e) { return gone.count(e) != 0; }),
                    elements_.end());
    renumber(0);
    // Children before parents, so no child ever points at a deleted parent.
    for (auto o = owned_.rbegin(); o != owned_.rend(); ++o) {
        if (gone.count(o->get()) != 0)
            o->reset();
    }
    owned_.erase(std::remove(owned_.begin(), owned_.end(), nullptr), owned_.end());
    afterRemoval();
    return true;
}

std::unique_ptr<CAD::Report> Scene::takeReport(QString const& name, std::size_t* index)
{
    auto* report = dynamic_cast<CAD::Report*>(findElement(name));
    if (report == nullptr)
        return nullptr;
    forgetHints();
    auto r = std::find_if(reports_.begin(), reports_.end(),
                          [report](std::unique_ptr<CAD::Report> const& p) { return p.get() == report; });
    if (index != nullptr)
        *index = static_cast<std::size_t>(r - reports_.begin());
    std::unique_ptr<CAD::Report> taken = std::move(*r);
    reports_.erase(r);
    byName_.remove(name);
    taken->setModified(false);
    noteRemoved(name);
    afterRemoval();
    return taken;
}

void Scene::afterRemoval()
{
    QStringList kept;
    for (QString const& s : selection_) {
        if (byName_.contains(s))
            kept << s;
    }
    if (kept != selection_) {
        selection_ = kept;
        noteSelection();
    }
    flushIfIdle();
}

void Scene::forgetHints()
{
    lastFound_ = nullptr;
    lastIndex_ = NO_INDEX;
    reportNumber_ = 1;
}

void Scene::renumber(std::size_t from)
{
    for (std::size_t i = from; i < elements_.size(); ++i)
        elements_[i]->setSceneIndex(i);
}

namespace {

// A caller mostly passes the element's own name: the same text, not a copy of it, needs no
// look at the characters (which lie elsewhere in memory).
bool sameName(QString const& a, QString const& b)
{
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

} // namespace

void Scene::expectLookup(std::size_t index) const
{
    if (index >= elements_.size())
        return;
    lastIndex_ = index;
    lastFound_ = elements_[index];
}

CAD::Element* Scene::findElement(QString const& name) const
{
    // Names are unique, so whichever element is found by its name is the one: the hints
    // only decide where to look first.
    if (lastFound_ != nullptr && sameName(lastFound_->getName(), name))
        return lastFound_;
    if (lastIndex_ != NO_INDEX && lastIndex_ + 1 < elements_.size() && sameName(elements_[lastIndex_ + 1]->getName(), name)) {
        ++lastIndex_;
        lastFound_ = elements_[lastIndex_];
        return lastFound_;
    }
    CAD::Element* const found = byName_.value(name, nullptr);
    if (found != nullptr) {
        lastFound_ = found;
        std::size_t const at = found->getSceneIndex();
        lastIndex_ = at < elements_.size() && elements_[at] == found ? at : NO_INDEX;
    }
    return found;
}

CAD::Report* Scene::addReport(std::unique_ptr<CAD::Report> report)
{
    return insertReport(std::move(report), reports_.size());
}

CAD::Report* Scene::insertReport(std::unique_ptr<CAD::Report> report, std::size_t index)
{
    if (!report)
        refuse(KAV_HERE, QStringLiteral("no report"));
    QString const name = report->getName();
    if (name.isEmpty())
        refuse(KAV_HERE, QStringLiteral("a report needs a name"));
    if (byName_.contains(name))
        refuse(KAV_HERE, QStringLiteral("the name \"%1\" is taken").arg(name));
    CAD::Report* raw = report.get();
    index = std::min(index, reports_.size());
    reports_.insert(reports_.begin() + static_cast<std::ptrdiff_t>(index), std::move(report));
    byName_[name] = raw;
    noteInserted(name);
    flushIfIdle();
    return raw;
}

std::vector<CAD::Report*> Scene::reports() const
{
    std::vector<CAD::Report*> out;
    out.reserve(reports_.size());
    for (auto const& r : reports_)
        out.push_back(r.get());
    return out;
}

bool Scene::isReport(QString const& name) const
{
    return dynamic_cast<CAD::Report*>(findElement(name)) != nullptr;
}

QString Scene::nextReportName() const
{
    for (unsigned int i = reportNumber_;; ++i) {
        QString const name = QStringLiteral("Snapshot ") + QString::number(i);
        if (byName_.count(name) == 0) {
            reportNumber_ = i;
            return name;
        }
    }
}

void Scene::setSelection(QStringList const& names)
{
    QStringList kept;
    for (QString const& n : names) {
        if (byName_.count(n) != 0 && !kept.contains(n))
            kept << n;
    }
    QSet<QString> const chosen(kept.begin(), kept.end());
    for (CAD::Element* e : elements_)
        e->getElemProperties()->selected = chosen.contains(e->getName()) ? 1 : 0;
    for (auto const& r : reports_)
        r->getElemProperties()->selected = chosen.contains(r->getName()) ? 1 : 0;
    if (kept == selection_)
        return;
    selection_ = kept;
    noteSelection();
    flushIfIdle();
}

void Scene::setModified(QString const& name, bool modified)
{
    CAD::Element* e = findElement(name);
    if (e == nullptr || modified == e->isModified())
        return;
    e->setModified(modified);
    elementChanged(name);
}

bool Scene::isModified(QString const& name) const
{
    CAD::Element const* e = findElement(name);
    return e != nullptr && e->isModified();
}

QStringList Scene::modifiedElements() const
{
    QStringList out;
    for (CAD::Element* e : elements_) {
        if (e->isModified())
            out << e->getName();
    }
    for (auto const& r : reports_) {
        if (r->isModified())
            out << r->getName();
    }
    return out;
}

void Scene::notifyChanged()
{
    pending_.markAllChanged();
    pending_.view = true;
    pending_.legend = true;
    flushIfIdle();
}

void Scene::elementChanged(QString const& name)
{
    if (!pending_.allChanged) {
        pending_.changed.insert(name);
        if (pending_.changed.size() > SceneChanges::MAX_NAMES)
            pending_.markAllChanged();
    }
    flushIfIdle();
}

void Scene::elementsChanged(QStringList const& names)
{
    beginBatch();
    if (names.size() > SceneChanges::MAX_NAMES) {
        // More than a change names: no need to hash them first.
        pending_.markAllChanged();
    } else {
        for (QString const& n : names)
            elementChanged(n);
    }
    endBatch();
}

void Scene::viewChanged()
{
    pending_.view = true;
    flushIfIdle();
}

void Scene::legendChanged()
{
    pending_.legend = true;
    flushIfIdle();
}

void Scene::noteInserted(QString const& name)
{
    if (pending_.reset)
        return;
    pending_.inserted << name;
    if (pending_.inserted.size() > SceneChanges::MAX_NAMES) {
        pending_ = SceneChanges();
        pending_.reset = true;
    }
}

void Scene::noteRemoved(QString const& name)
{
    if (pending_.reset)
        return;
    pending_.removed << name;
    pending_.changed.remove(name);
    if (pending_.removed.size() > SceneChanges::MAX_NAMES) {
        pending_ = SceneChanges();
        pending_.reset = true;
    }
}

void Scene::noteSelection()
{
    pending_.selection = true;
}

void Scene::beginBatch()
{
    ++batchDepth_;
}

void Scene::endBatch()
{
    if (batchDepth_ > 0)
        --batchDepth_;
    flushIfIdle();
}

void Scene::flushIfIdle()
{
    if (batchDepth_ > 0 || pending_.isEmpty())
        return;
    SceneChanges const done = std::move(pending_);
    pending_ = SceneChanges();
    // Observers may change the scene again: that is a batch of its own.
    emit changes(done);
    if (done.structure())
        emit structureChanged();
    if (done.selection || done.reset)
        emit selectionChanged();
    emit changed();
}

} // namespace MCADCmd
} // namespace Kav
