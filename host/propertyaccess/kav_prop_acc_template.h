#pragma once

#include "cfg/kav_cfg.h"
#include "kav_property_access_base.h"
#include "kav_property_access_types.h"
#include "kavhost_export.h"

#include <QString>

#include <map>
#include <set>
#include <vector>

namespace Kav {
namespace PropertyAccess {

// The usage flags a template holds for one access type. A fresh part has every id its type
// declares set true; the part of type -1 stands for "no part".
class KAVHOST_EXPORT PropAccTemplatePart {
public:
    explicit PropAccTemplatePart(PropAccessType_t type = PROP_ACC_NONE);

    PropAccessType_t getType() const { return type_; }
    // False for an id the part has no flag for.
    bool getUsage(PropTemplateID_t id) const;
    void setUsage(PropTemplateID_t id, bool used) { usage_[id] = used; }
    UsageFlags const& getUsages() const { return usage_; }
    // Writes the part's flags into an access of the same type; others are left alone.
    void apply(PropertyAccessBase* access) const;

    bool operator==(PropAccTemplatePart const& o) const { return type_ == o.type_ && usage_ == o.usage_; }
    bool operator!=(PropAccTemplatePart const& o) const { return !(*this == o); }

private:
    PropAccessType_t type_;
    UsageFlags usage_;
};

// A named selection of the properties to restore, one part per access type, and whether
// elements new since the snapshot and invalid elements are to be hidden.
class KAVHOST_EXPORT PropAccTemplate {
public:
    PropAccTemplate(); // empty name, user level
    explicit PropAccTemplate(QString const& name, Cfg::Level level = Cfg::LEVEL_USER);

    QString const& getName() const { return name_; }
    void setName(QString const& name) { name_ = name; }
    Cfg::Level configLevel() const { return level_; }
    void setConfigLevel(Cfg::Level level) { level_ = level; }

    // A copy of the part of that type; a part of type -1 when there is none.
    PropAccTemplatePart getTemplatePart(PropAccessType_t type) const;
    bool hasTemplatePart(PropAccessType_t type) const { return parts_.count(type) != 0; }
    // Replaces the part of the part's type; a part of type -1 is ignored.
    void set(PropAccTemplatePart const& part);
    // All parts, by type.
    std::vector<PropAccTemplatePart> getTemplateParts() const;

    bool newInvisible() const { return newInvisible_; }
    void setNewInvisibleFlag(bool on) { newInvisible_ = on; }
    bool invalidCMMInvisible() const { return invalidInvisible_; }
    void setInvalidCMMInvisibleFlag(bool on) { invalidInvisible_ = on; }

    // The template as one parameter-string entry under `key`, and back. Parsing takes the
    // entry out of `parameters`, throws Kav::ParamError on bad content and gives the
    // template the user level; the name is required, everything else optional.
    QString createParameterString(QString const& key) const;
    void parseParameterString(QString& parameters, QString const& key);

    // Equal content; the level is not compared.
    bool sameContent(PropAccTemplate const& o) const;
    bool operator==(PropAccTemplate const& o) const { return sameContent(o) && level_ == o.level_; }
    bool operator!=(PropAccTemplate const& o) const { return !(*this == o); }

private:
    QString name_;
    Cfg::Level level_;
    std::map<PropAccessType_t, PropAccTemplatePart> parts_;
    bool newInvisible_ = false;
    bool invalidInvisible_ = false;
};

// What every reader of a template (parameter strings, exchange files, the store) refuses:
// a part type no creator declares or a second part of one type, an id the part's type does
// not declare or an id given twice in one part. One check per template; each call answers
// the text naming the culprit, or an empty text when all is well.
class KAVHOST_EXPORT TemplateReadCheck {
public:
    QString addPart(PropAccessType_t type);
    // An id of the part added last.
    QString addUsage(PropTemplateID_t id);

private:
    std::set<PropAccessType_t> types_;
    PropAccessType_t type_ = PROP_ACC_NONE;
    UsageFlags declared_;
    std::set<PropTemplateID_t> ids_;
};

} // namespace PropertyAccess
} // namespace Kav
