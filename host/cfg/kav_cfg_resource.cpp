#include "cfg/kav_cfg_resource.h"

#include "core/kav_translate.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace Kav {
namespace Cfg {

namespace {

QString joinPath(QString const& dir, QString const& name)
{
    return dir.endsWith(QLatin1Char('/')) ? dir + name : dir + QLatin1Char('/') + name;
}

struct RegistryData {
    std::vector<Resource*> resources;
    std::vector<std::pair<int, Registry::UpdateListener>> listeners;
    int nextListenerId = 1;
};

RegistryData& registry()
{
    static RegistryData data;
    return data;
}

} // namespace

// --- Resource

Resource::Resource(QString const& fileName) : fileName_(fileName)
{
    Registry::add(this);
}

Resource::~Resource()
{
    Registry::remove(this);
}

void Resource::setDescription(QString const& description)
{
    description_ = description;
}

QString const& Resource::getDescription() const
{
    return description_;
}

QString const& Resource::getFileName() const
{
    return fileName_;
}

bool Resource::isLocked() const
{
    return !lockReason().isEmpty();
}

QString Resource::lockReason() const
{
    QString const what = description_.isEmpty() ? fileName_ : description_;
    if (Settings::isLockedByHost())
        return translate("Kav::Cfg", "%1 are locked: the host has locked the configuration").arg(what);
    QString const shared = Settings::levelDirectory(LEVEL_SHARED);
    if (shared.isEmpty())
        return QString();
    for (QString const& marker : {QStringLiteral("locked"), fileName_ + QStringLiteral(".locked")}) {
        QString const path = joinPath(shared, marker);
        if (QFileInfo::exists(path))
            return translate("Kav::Cfg", "%1 are locked: the shared configuration level holds the marker \"%2\"")
                .arg(what, path);
    }
    return QString();
}

void Resource::update()
{
    Registry::notify(this);
}

void Resource::syncFromDisk() {}

void Resource::syncToDisk() {}

std::vector<FileEntry> Resource::getFilesFromLevel(Level level, bool existingOnly) const
{
    QString const dir = Settings::levelDirectory(level);
    if (dir.isEmpty())
        return {};
    QString const path = joinPath(dir, fileName_);
    if (existingOnly && !QFileInfo(path).isFile())
        return {};
    return {FileEntry{level, path}};
}

std::vector<FileEntry> Resource::getLoadFiles() const
{
    std::vector<FileEntry> files;
    for (Level level : {LEVEL_INSTALLATION, LEVEL_SHARED, LEVEL_USER}) {
        for (FileEntry& entry : getFilesFromLevel(level, false))
            files.push_back(std::move(entry));
    }
    return files;
}

QString Resource::getSaveFileName() const
{
    QString const dir = Settings::levelDirectory(LEVEL_USER);
    if (dir.isEmpty())
        return QString();
    QDir().mkpath(dir);
    return joinPath(dir, fileName_);
}

// --- File

File::File(QString const& fileName) : Resource(fileName) {}

// --- Registry

std::vector<Resource*> Registry::resources()
{
    return registry().resources;
}

Resource* Registry::find(QString const& fileName)
{
    for (Resource* resource : registry().resources) {
        if (resource->getFileName() == fileName)
            return resource;
    }
    return nullptr;
}

int Registry::addUpdateListener(UpdateListener listener)
{
    RegistryData& data = registry();
    int const id = data.nextListenerId++;
    data.listeners.emplace_back(id, std::move(listener));
    return id;
}

void Registry::removeUpdateListener(int id)
{
    auto& listeners = registry().listeners;
    listeners.erase(std::remove_if(listeners.begin(), listeners.end(),
                                   [id](auto const& entry) { return entry.first == id; }),
                    listeners.end());
}

void Registry::add(Resource* resource)
{
    registry().resources.push_back(resource);
}

void Registry::remove(Resource* resource)
{
    auto& resources = registry().resources;
    resources.erase(std::remove(resources.begin(), resources.end(), resource), resources.end());
}

void Registry::notify(Resource* resource)
{
    // A copy: a listener may add or remove listeners.
    auto const listeners = registry().listeners;
    for (auto const& entry : listeners) {
        if (entry.second)
            entry.second(resource);
    }
}

} // namespace Cfg
} // namespace Kav
