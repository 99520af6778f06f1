#include "kav_prop_acc_template_container.h"
#include "core/kav_translate.h"

#include "core/kav_errors.h"
#include "io/kav_stream.h"


#include <limits>

namespace Kav {
namespace PropertyAccess {
namespace {

// Block versions of the template store layout.
unsigned int const containerVersion = 1;
unsigned int const templateVersion = 1;
unsigned int const partVersion = 1;

// The store is written by this program only: what a reader of templates refuses can only be
// damage here, and the file is refused as any damaged one is.
void refuse(QString const& name, QString const& why)
{
    if (!why.isEmpty())
        throw IO::StreamException(translate("Kav::PropertyAccess", "restore template \"%1\": %2").arg(name, why));
}

PropAccTemplatePart readPart(IO::InStream* in, QString const& name, TemplateReadCheck* check)
{
    in->openBlock();
    if (in->getBlockVersion() != partVersion)
        throw IO::StreamException(translate("Kav::PropertyAccess", "restore template part of unknown version %1").arg(in->getBlockVersion()));
    unsigned int const type = in->readUInt();
    if (type > static_cast<unsigned int>(std::numeric_limits<int>::max()))
        throw IO::StreamException(translate("Kav::PropertyAccess", "restore template part of invalid type %1").arg(type));
    refuse(name, check->addPart(static_cast<PropAccessType_t>(type)));
    PropAccTemplatePart part(static_cast<PropAccessType_t>(type));
    unsigned int const count = in->readUInt();
    for (unsigned int i = 0; i < count; ++i) {
        unsigned int const id = in->readUInt();
        bool const used = in->readBool();
        // An id past INT_MAX is no declared one; the check names it as the store has it.
        refuse(name, id > static_cast<unsigned int>(std::numeric_limits<int>::max())
                         ? translate("Kav::PropertyAccess", "part type %1 has no property %2").arg(type).arg(id)
                         : check->addUsage(static_cast<PropTemplateID_t>(id)));
        part.setUsage(static_cast<PropTemplateID_t>(id), used);
    }
    in->closeBlock();
    return part;
}

PropAccTemplate readTemplate(IO::InStream* in, Cfg::Level level)
{
    in->openBlock();
    if (in->getBlockVersion() != templateVersion)
        throw IO::StreamException(translate("Kav::PropertyAccess", "restore template of unknown version %1").arg(in->getBlockVersion()));
    QString name;
    in->readString(&name);
    PropAccTemplate t(name, level);
    t.setNewInvisibleFlag(in->readBool());
    t.setInvalidCMMInvisibleFlag(in->readBool());
    unsigned int const parts = in->readUInt();
    TemplateReadCheck check;
    for (unsigned int i = 0; i < parts; ++i)
        t.set(readPart(in, name, &check));
    in->closeBlock();
    return t;
}

} // namespace

void PropAccTemplateContainer::checkIndex(unsigned int index, char const* operation, int line) const
{
    if (index < templates_.size())
        return;
    throw ProgError(QStringLiteral("Kav::PropertyAccess::PropAccTemplateContainer::") + QLatin1String(operation),
                    QStringLiteral("kav_prop_acc_template_container"), line,
                    QStringLiteral("index %1 out of range (%2 templates)").arg(index).arg(templates_.size()));
}

PropAccTemplate PropAccTemplateContainer::getTemplate(unsigned int index) const
{
    checkIndex(index, "getTemplate", __LINE__);
    return templates_[index];
}

void PropAccTemplateContainer::set(unsigned int index, PropAccTemplate const& t)
{
    checkIndex(index, "set", __LINE__);
    templates_[index] = t;
}

void PropAccTemplateContainer::add(PropAccTemplate const& t)
{
    templates_.push_back(t);
}

void PropAccTemplateContainer::remove(unsigned int index)
{
    if (index < templates_.size())
        templates_.erase(templates_.begin() + index);
}

int PropAccTemplateContainer::find(QString const& name) const
{
    for (std::size_t i = 0; i < templates_.size(); ++i) {
        if (templates_[i].getName() == name)
            return static_cast<int>(i);
    }
    return -1;
}

void PropAccTemplateContainer::loadStream(IO::InStream* in, Cfg::Level level)
{
    std::vector<PropAccTemplate> read;
    in->openBlock();
    if (in->getBlockVersion() != containerVersion)
        throw IO::StreamException(translate("Kav::PropertyAccess", "restore template list of unknown version %1").arg(in->getBlockVersion()));
    unsigned int const count = in->readUInt();
    // No reserve(count): the count is outside data; each template costs at least a block header.
    for (unsigned int i = 0; i < count; ++i)
        read.push_back(readTemplate(in, level));
    in->closeBlock();
    templates_.insert(templates_.end(), read.begin(), read.end());
}

void PropAccTemplateContainer::saveStream(IO::OutStream* out) const
{
    std::vector<PropAccTemplate const*> user;
    for (auto const& t : templates_) {
        if (t.configLevel() == Cfg::LEVEL_USER)
            user.push_back(&t);
    }
    out->beginBlock(containerVersion);
    out->writeUInt(static_cast<unsigned int>(user.size()));
    for (PropAccTemplate const* t : user) {
        out->beginBlock(templateVersion);
        out->writeString(t->getName());
        out->writeBool(t->newInvisible());
        out->writeBool(t->invalidCMMInvisible());
        std::vector<PropAccTemplatePart> const parts = t->getTemplateParts();
        out->writeUInt(static_cast<unsigned int>(parts.size()));
        for (auto const& p : parts) {
            out->beginBlock(partVersion);
            out->writeUInt(static_cast<unsigned int>(p.getType()));
            out->writeUInt(static_cast<unsigned int>(p.getUsages().size()));
            for (auto const& u : p.getUsages()) {
                out->writeUInt(static_cast<unsigned int>(u.first));
                out->writeBool(u.second);
            }
            out->endBlock();
        }
        out->endBlock();
    }
    out->endBlock();
}

} // namespace PropertyAccess
} // namespace Kav
