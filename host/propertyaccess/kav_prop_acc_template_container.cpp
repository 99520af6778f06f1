#include "kav_prop_acc_template_container.h"

#include "core/kav_errors.h"
#include "io/kav_stream.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <istream>
#include <limits>
#include <ostream>

namespace Kav {
namespace PropertyAccess {
namespace {

// Block versions of the template store layout.
unsigned int const containerVersion = 1;
unsigned int const templateVersion = 1;
unsigned int const partVersion = 1;
unsigned int const blockHeader = 8;

// Exchange files larger than this are refused rather than read into memory.
std::streamsize const maxExchangeBytes = 64 * 1024 * 1024;

char const* const formatName = "kav-restore-templates";
int const formatVersion = 1;

unsigned int partSize(PropAccTemplatePart const& p)
{
    return 4 + 4 + static_cast<unsigned int>(p.getUsages().size()) * 5;
}

unsigned int templateSize(PropAccTemplate const& t)
{
    unsigned int size = IO::Stream::sizeOf(t.getName()) + 1 + 1 + 4;
    for (auto const& p : t.getTemplateParts())
        size += blockHeader + partSize(p);
    return size;
}

PropAccTemplatePart readPart(IO::InStream* in)
{
    in->openBlock();
    if (in->getBlockVersion() != partVersion)
        throw IO::StreamException(QStringLiteral("restore template part of unknown version %1").arg(in->getBlockVersion()));
    unsigned int const type = in->readUInt();
    if (type > static_cast<unsigned int>(std::numeric_limits<int>::max()))
        throw IO::StreamException(QStringLiteral("restore template part of invalid type %1").arg(type));
    PropAccTemplatePart part(static_cast<PropAccessType_t>(type));
    unsigned int const count = in->readUInt();
    for (unsigned int i = 0; i < count; ++i) {
        unsigned int const id = in->readUInt();
        bool const used = in->readBool();
        part.setUsage(static_cast<PropTemplateID_t>(id), used);
    }
    in->closeBlock();
    return part;
}

PropAccTemplate readTemplate(IO::InStream* in, Cfg::Level level)
{
    in->openBlock();
    if (in->getBlockVersion() != templateVersion)
        throw IO::StreamException(QStringLiteral("restore template of unknown version %1").arg(in->getBlockVersion()));
    QString name;
    in->readString(&name);
    PropAccTemplate t(name, level);
    t.setNewInvisibleFlag(in->readBool());
    t.setInvalidCMMInvisibleFlag(in->readBool());
    unsigned int const parts = in->readUInt();
    for (unsigned int i = 0; i < parts; ++i)
        t.set(readPart(in));
    in->closeBlock();
    return t;
}

// --- exchange form ---

QJsonObject toJson(PropAccTemplate const& t)
{
    QJsonArray parts;
    for (auto const& p : t.getTemplateParts()) {
        QJsonObject usage;
        for (auto const& u : p.getUsages())
            usage.insert(QString::number(static_cast<int>(u.first)), u.second);
        QJsonObject part;
        part.insert(QStringLiteral("type"), static_cast<int>(p.getType()));
        part.insert(QStringLiteral("usage"), usage);
        parts.append(part);
    }
    QJsonObject o;
    o.insert(QStringLiteral("name"), t.getName());
    o.insert(QStringLiteral("new_invisible"), t.newInvisible());
    o.insert(QStringLiteral("invalid_invisible"), t.invalidCMMInvisible());
    o.insert(QStringLiteral("parts"), parts);
    return o;
}

// A JSON number that is a whole number in [0, INT_MAX].
bool toIndex(QJsonValue const& v, int* out)
{
    if (!v.isDouble())
        return false;
    double const d = v.toDouble();
    if (!(d >= 0.0 && d <= static_cast<double>(std::numeric_limits<int>::max())) || d != static_cast<double>(static_cast<int>(d)))
        return false;
    *out = static_cast<int>(d);
    return true;
}

bool optionalBool(QJsonObject const& o, QString const& key, bool* out)
{
    QJsonValue const v = o.value(key);
    if (v.isUndefined())
        return true;
    if (!v.isBool())
        return false;
    *out = v.toBool();
    return true;
}

bool fromJson(QJsonValue const& value, PropAccTemplate* t)
{
    if (!value.isObject())
        return false;
    QJsonObject const o = value.toObject();
    QJsonValue const name = o.value(QStringLiteral("name"));
    if (!name.isString())
        return false;
    *t = PropAccTemplate(name.toString(), Cfg::LEVEL_USER);
    bool flag = false;
    if (!optionalBool(o, QStringLiteral("new_invisible"), &flag))
        return false;
    t->setNewInvisibleFlag(flag);
    flag = false;
    if (!optionalBool(o, QStringLiteral("invalid_invisible"), &flag))
        return false;
    t->setInvalidCMMInvisibleFlag(flag);

    QJsonValue const parts = o.value(QStringLiteral("parts"));
    if (parts.isUndefined())
        return true;
    if (!parts.isArray())
        return false;
    for (QJsonValue const& pv : parts.toArray()) {
        if (!pv.isObject())
            return false;
        QJsonObject const po = pv.toObject();
        int type = 0;
        if (!toIndex(po.value(QStringLiteral("type")), &type))
            return false;
        PropAccTemplatePart part(static_cast<PropAccessType_t>(type));
        QJsonValue const usage = po.value(QStringLiteral("usage"));
        if (!usage.isUndefined()) {
            if (!usage.isObject())
                return false;
            QJsonObject const uo = usage.toObject();
            for (auto it = uo.constBegin(); it != uo.constEnd(); ++it) {
                bool ok = false;
                int const id = it.key().toInt(&ok);
                if (!ok || id < 0 || !it.value().isBool())
                    return false;
                part.setUsage(static_cast<PropTemplateID_t>(id), it.value().toBool());
            }
        }
        t->set(part);
    }
    return true;
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
        throw IO::StreamException(QStringLiteral("restore template list of unknown version %1").arg(in->getBlockVersion()));
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
    unsigned int size = 4;
    for (auto const& t : templates_) {
        if (t.configLevel() != Cfg::LEVEL_USER)
            continue;
        user.push_back(&t);
        size += blockHeader + templateSize(t);
    }
    out->beginBlock(size, containerVersion);
    out->writeUInt(static_cast<unsigned int>(user.size()));
    for (PropAccTemplate const* t : user) {
        out->beginBlock(templateSize(*t), templateVersion);
        out->writeString(t->getName());
        out->writeBool(t->newInvisible());
        out->writeBool(t->invalidCMMInvisible());
        std::vector<PropAccTemplatePart> const parts = t->getTemplateParts();
        out->writeUInt(static_cast<unsigned int>(parts.size()));
        for (auto const& p : parts) {
            out->beginBlock(partSize(p), partVersion);
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

std::ostream& operator<<(std::ostream& out, PropAccTemplateContainer const& c)
{
    QJsonArray templates;
    for (unsigned int i = 0; i < c.getNumberOfTemplates(); ++i)
        templates.append(toJson(c.getTemplate(i)));
    QJsonObject root;
    root.insert(QStringLiteral("format"), QLatin1String(formatName));
    root.insert(QStringLiteral("version"), formatVersion);
    root.insert(QStringLiteral("templates"), templates);
    QByteArray const text = QJsonDocument(root).toJson(QJsonDocument::Indented);
    out.write(text.constData(), text.size());
    return out;
}

std::istream& operator>>(std::istream& in, PropAccTemplateContainer& c)
{
    QByteArray text;
    char chunk[65536];
    while (in) {
        in.read(chunk, sizeof chunk);
        std::streamsize const got = in.gcount();
        if (got <= 0)
            break;
        if (text.size() + got > maxExchangeBytes) {
            in.setstate(std::ios::failbit);
            return in;
        }
        text.append(chunk, static_cast<int>(got));
    }
    if (in.bad()) {
        in.setstate(std::ios::failbit);
        return in;
    }
    // Reaching the end of the file is the normal way to stop; only its content decides now.
    in.clear(in.rdstate() & ~(std::ios::eofbit | std::ios::failbit));

    QJsonParseError error{};
    QJsonDocument const doc = QJsonDocument::fromJson(text, &error);
    QJsonObject const root = doc.object();
    QJsonArray list;
    bool ok = error.error == QJsonParseError::NoError && doc.isObject()
        && root.value(QStringLiteral("format")).toString() == QLatin1String(formatName)
        && root.value(QStringLiteral("version")).isDouble()
        && root.value(QStringLiteral("version")).toDouble() == formatVersion
        && root.value(QStringLiteral("templates")).isArray();
    PropAccTemplateContainer read;
    if (ok) {
        list = root.value(QStringLiteral("templates")).toArray();
        for (QJsonValue const& v : list) {
            PropAccTemplate t;
            if (!fromJson(v, &t)) {
                ok = false;
                break;
            }
            read.add(t);
        }
    }
    if (!ok) {
        in.setstate(std::ios::failbit);
        return in;
    }
    c = read;
    return in;
}

} // namespace PropertyAccess
} // namespace Kav
