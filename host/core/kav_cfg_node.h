#pragma once

#include "kavhost_export.h"

#include <QMap>
#include <QString>

#include <map>
#include <memory>

namespace Kav {

// One node of the host's configuration tree: named values and named child nodes.
class KAVHOST_EXPORT CfgNode {
public:
    explicit CfgNode(QString const& name = QString()) : name_(name) {}
    CfgNode(CfgNode const&) = delete;
    CfgNode& operator=(CfgNode const&) = delete;

    QString const& getName() const { return name_; }

    QString getValue(QString const& key, QString const& fallback = QString()) const
    {
        return values_.value(key, fallback);
    }
    void setValue(QString const& key, QString const& value) { values_.insert(key, value); }
    bool hasValue(QString const& key) const { return values_.contains(key); }

    // The child of that name, created when missing; the node owns it.
    CfgNode* child(QString const& name)
    {
        auto& slot = children_[name];
        if (!slot)
            slot = std::make_unique<CfgNode>(name);
        return slot.get();
    }
    CfgNode const* findChild(QString const& name) const
    {
        auto it = children_.find(name);
        return it == children_.end() ? nullptr : it->second.get();
    }

private:
    QString name_;
    QMap<QString, QString> values_;
    std::map<QString, std::unique_ptr<CfgNode>> children_;
};

} // namespace Kav
