#pragma once
#include "kavhost_export.h"
#include "cad/kav_element.h"
#include "core/kav_stage_identifier.h"
#include <QString>
#include <QStringList>
#include <vector>

namespace Kav {
class ErrorLog;
namespace GL {
class ViewCreator;
}
namespace GCAD {
class RenderCallback;
}
namespace PropertyAccess {
class PropertyAccessBase;
}
namespace MCADCmd {
class Scene;

// Error ids of the host's project files.
KAVHOST_EXPORT extern char const* const ERROR_OPEN_FILE;
KAVHOST_EXPORT extern char const* const ERROR_SAVE_FILE;

// Which elements getAllElements lists: what, of which kinds, in which order.
enum AllElement1_t { ALL_ELEMENTS = 1, VISIBLE_ELEMENTS = 2, SELECTED_ELEMENTS = 3 };
enum AllElement2_t { ALL_TYPES = 100, NO_DOCUMENTATION = 101, ONLY_DOCUMENTATION = 102 };
enum AllElement3_t { SCENE_ORDER = 201, NAME_ORDER = 202 };

using AccessList = std::vector<PropertyAccess::PropertyAccessBase*>;

// The plug-ins' way into the CAD model. The host installs one (setInterface) over its
// scene; there may be none. Not owned by the installer's callers.
class KAVHOST_EXPORT CommandInterface {
public:
    explicit CommandInterface(Scene* scene);
    virtual ~CommandInterface();  // uninstalls itself
    CommandInterface(CommandInterface const&) = delete;
    CommandInterface& operator=(CommandInterface const&) = delete;

    static CommandInterface* getInterface();
    // nullptr removes the interface.
    static void setInterface(CommandInterface* ci);

    Scene* getScene() const { return scene_; }

    // Selected element names in selection order. The flag (include sub-elements) is kept
    // for callers; the host's selection holds names only.
    virtual QStringList getAllSelectedElements(bool withSubElements) const;
    // An element of the documentation folder (a snapshot report).
    virtual bool isDocumentationElement(QString const& name) const;
    virtual CAD::ElementAndStageImp<CAD::Element*> getCADElementForElement(QString const& name) const;
    // The display name (the name itself); empty for an unknown name.
    virtual QString getNameForElement(QString const& name) const;
    virtual bool getParentElement(QString const& name, QString* parent) const;
    virtual StageIdentifier getActualStageIdentifier() const;
    virtual GCAD::RenderCallback* getRenderCallback() const;
    virtual GL::ViewCreator* getGLViewCreator() const;
    virtual bool hasLegendData() const;
    virtual void setModified(QString const& name, bool modified);
    // Tells views and the project that these elements changed. False (and a log entry)
    // when a name is unknown.
    virtual bool elementPropertiesChanged(QStringList const& names, ErrorLog* log);
    virtual void getAllElements(AllElement1_t which, AllElement2_t kinds, AllElement3_t order, QStringList* names) const;

    // Applies each access to its target: the view (type 0), the legend (type 1), else the
    // element or container of its explorer name. A missing target, or an apply that throws
    // ProgError, adds one entry per enabled property to the three lists (explorer name,
    // type description, property description or the error's message). newInvisible hides,
    // through a fresh element access, every element no access names; invalidInvisible hides
    // every invalid element. Answers the changed elements' names in scene order.
    virtual QStringList applyPropertyAccessComplete(bool newInvisible, bool invalidInvisible,
                                                    AccessList const& accesses, QStringList* names,
                                                    QStringList* types, QStringList* descriptions);

private:
    Scene* scene_;
};

// The selection as the GUI last saw it; the host installs one beside the command interface.
class KAVHOST_EXPORT CachedCmdInterface {
public:
    explicit CachedCmdInterface(Scene* scene);
    virtual ~CachedCmdInterface();
    CachedCmdInterface(CachedCmdInterface const&) = delete;
    CachedCmdInterface& operator=(CachedCmdInterface const&) = delete;

    static CachedCmdInterface* getInterface();
    static void setInterface(CachedCmdInterface* ci);

    virtual QStringList getAllSelectedElements(bool withSubElements) const;

private:
    Scene* scene_;
};

} // namespace MCADCmd
} // namespace Kav
