#include "kav_prop_acc_template.h"
#include "core/kav_translate.h"

#include "core/kav_errors.h"
#include "kav_property_access_factory.h"
#include "parse/kav_parse.h"

#include <QStringList>

#include <limits>

namespace Kav {
namespace PropertyAccess {
namespace {

int const maxTypeValue = std::numeric_limits<int>::max();

// "5=1" -> (5, true)
std::pair<PropTemplateID_t, bool> parseUsageEntry(QString const& entry, QString const& key)
{
    int const eq = entry.indexOf(QLatin1Char('='));
    bool idOk = false;
    unsigned int const id = eq > 0 ? entry.left(eq).toUInt(&idOk) : 0u;
    QString const value = eq > 0 ? entry.mid(eq + 1) : QString();
    if (!idOk || id > static_cast<unsigned int>(maxTypeValue)
        || (value != QLatin1String("0") && value != QLatin1String("1"))) {
        throw ParamError(translate("Kav::PropertyAccess", "parameter \"%1\": usage entry \"%2\" is not of the form id=0 or id=1")
                             .arg(key, entry));
    }
    return {static_cast<PropTemplateID_t>(id), value == QLatin1String("1")};
}

// "0, 1, 2"
template <typename Range, typename Key>
QString listed(Range const& range, Key key)
{
    QStringList out;
    for (auto const& item : range)
        out.append(QString::number(static_cast<int>(key(item))));
    return out.join(QStringLiteral(", "));
}

} // namespace

QString TemplateReadCheck::addPart(PropAccessType_t type)
{
    if (!PropertyAccessFactory::isRegistered(type))
        return translate("Kav::PropertyAccess", "part type %1 is unknown (known: %2)")
            .arg(static_cast<int>(type))
            .arg(listed(PropertyAccessFactory::getRegisteredTypes(), [](PropAccessType_t t) { return t; }));
    if (!types_.insert(type).second)
        return translate("Kav::PropertyAccess", "part type %1 is given twice").arg(static_cast<int>(type));
    type_ = type;
    declared_ = PropertyAccessFactory::getDefaultUsage(type);
    ids_.clear();
    return QString();
}

QString TemplateReadCheck::addUsage(PropTemplateID_t id)
{
    if (declared_.count(id) == 0)
        return translate("Kav::PropertyAccess", "part type %1 has no property %2 (it has: %3)")
            .arg(static_cast<int>(type_))
            .arg(static_cast<int>(id))
            .arg(listed(declared_, [](auto const& u) { return u.first; }));
    if (!ids_.insert(id).second)
        return translate("Kav::PropertyAccess", "part type %1 gives property %2 twice")
            .arg(static_cast<int>(type_))
            .arg(static_cast<int>(id));
    return QString();
}

PropAccTemplatePart::PropAccTemplatePart(PropAccessType_t type)
    : type_(type), usage_(type == PROP_ACC_NONE ? UsageFlags() : PropertyAccessFactory::getDefaultUsage(type))
{
}

bool PropAccTemplatePart::getUsage(PropTemplateID_t id) const
{
    auto it = usage_.find(id);
    return it != usage_.end() && it->second;
}

void PropAccTemplatePart::apply(PropertyAccessBase* access) const
{
    if (!access || access->getType() != type_)
        return;
    for (auto const& u : usage_)
        access->setUsageFlag(u.first, u.second);
}

PropAccTemplate::PropAccTemplate() : level_(Cfg::LEVEL_USER) {}

PropAccTemplate::PropAccTemplate(QString const& name, Cfg::Level level) : name_(name), level_(level) {}

PropAccTemplatePart PropAccTemplate::getTemplatePart(PropAccessType_t type) const
{
    auto it = parts_.find(type);
    return it == parts_.end() ? PropAccTemplatePart(PROP_ACC_NONE) : it->second;
}

void PropAccTemplate::set(PropAccTemplatePart const& part)
{
    if (part.getType() == PROP_ACC_NONE)
        return;
    parts_.erase(part.getType());
    parts_.emplace(part.getType(), part);
}

std::vector<PropAccTemplatePart> PropAccTemplate::getTemplateParts() const
{
    std::vector<PropAccTemplatePart> out;
    out.reserve(parts_.size());
    for (auto const& p : parts_)
        out.push_back(p.second);
    return out;
}

bool PropAccTemplate::sameContent(PropAccTemplate const& o) const
{
    return name_ == o.name_ && parts_ == o.parts_ && newInvisible_ == o.newInvisible_
        && invalidInvisible_ == o.invalidInvisible_;
}

QString PropAccTemplate::createParameterString(QString const& key) const
{
    QString content = Parse::createString(QStringLiteral("name"), name_)
        + QLatin1Char(' ') + Parse::createBool(QStringLiteral("new_invisible"), newInvisible_)
        + QLatin1Char(' ') + Parse::createBool(QStringLiteral("invalid_invisible"), invalidInvisible_);
    for (auto const& p : parts_) {
        QStringList usage;
        for (auto const& u : p.second.getUsages())
            usage.append(QStringLiteral("%1=%2").arg(static_cast<int>(u.first)).arg(u.second ? 1 : 0));
        QString const part = Parse::createString(QStringLiteral("type"), QString::number(static_cast<int>(p.first)))
            + QLatin1Char(' ') + Parse::createStringVector(QStringLiteral("usage"), usage);
        content += QLatin1Char(' ') + Parse::createGroup(QStringLiteral("part"), part);
    }
    return Parse::createGroup(key, content);
}

void PropAccTemplate::parseParameterString(QString& parameters, QString const& key)
{
    QString content = Parse::getGroup(parameters, key);
    PropAccTemplate parsed(Parse::getString(content, QStringLiteral("name")), Cfg::LEVEL_USER);
    if (Parse::hasKey(content, QStringLiteral("new_invisible")))
        parsed.newInvisible_ = Parse::getBool(content, QStringLiteral("new_invisible"));
    if (Parse::hasKey(content, QStringLiteral("invalid_invisible")))
        parsed.invalidInvisible_ = Parse::getBool(content, QStringLiteral("invalid_invisible"));
    TemplateReadCheck check;
    auto refuse = [&key](QString const& why) {
        if (!why.isEmpty())
            throw ParamError(translate("Kav::PropertyAccess", "parameter \"%1\": %2").arg(key, why));
    };
    while (Parse::hasKey(content, QStringLiteral("part"))) {
        QString partText = Parse::getGroup(content, QStringLiteral("part"));
        unsigned int const type = Parse::getUInt(partText, QStringLiteral("type"));
        if (type > static_cast<unsigned int>(maxTypeValue))
            throw ParamError(translate("Kav::PropertyAccess", "parameter \"%1\": part type %2 is out of range").arg(key).arg(type));
        refuse(check.addPart(static_cast<PropAccessType_t>(type)));
        PropAccTemplatePart part(static_cast<PropAccessType_t>(type));
        if (Parse::hasKey(partText, QStringLiteral("usage"))) {
            QStringList const usage = Parse::getStringVector(partText, QStringLiteral("usage"), 0u,
                                                             std::numeric_limits<unsigned int>::max());
            for (QString const& entry : usage) {
                auto const u = parseUsageEntry(entry, key);
                refuse(check.addUsage(u.first));
                part.setUsage(u.first, u.second);
            }
        }
        Parse::checkEmptyParameters(partText);
        parsed.set(part);
    }
    Parse::checkEmptyParameters(content);
    *this = parsed;
}

} // namespace PropertyAccess
} // namespace Kav
