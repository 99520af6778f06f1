#pragma once

#include "cfg/kav_cfg_settings.h"
#include "kavhost_export.h"

#include <QString>

#include <functional>
#include <vector>

namespace Kav {
namespace Cfg {

// A configuration resource: one file name, looked up in every level directory. It joins
// the Registry when constructed and leaves it when destroyed.
class KAVHOST_EXPORT Resource {
public:
    explicit Resource(QString const& fileName);
    virtual ~Resource();
    Resource(Resource const&) = delete;
    Resource& operator=(Resource const&) = delete;

    void setDescription(QString const& description);
    QString const& getDescription() const;
    QString const& getFileName() const;

    // Read-only when the host switch is on, or when the shared level's directory holds a
    // file "locked" (every resource) or "<fileName>.locked" (this one).
    bool isLocked() const;
    // Why isLocked() answers true, naming the marker file; empty when it is not locked.
    QString lockReason() const;

    // Tells the Registry's update listeners that this resource changed.
    virtual void update();
    // Hooks for resources that hold their contents in memory; nothing to do here.
    virtual void syncFromDisk();
    virtual void syncToDisk();
    // The level's file path: empty when the level has no directory, or when existingOnly
    // and there is no such file.
    virtual std::vector<FileEntry> getFilesFromLevel(Level level, bool existingOnly) const;
    // Levels 0, 1, 2 in that order, each whose directory is set, whether the file exists
    // or not: readers skip files they cannot open.
    virtual std::vector<FileEntry> getLoadFiles() const;
    // The user level's path; its directory is created when missing. Empty when there is no
    // user directory. If the directory cannot be created the path is still returned, so
    // that the writer reports the failure with the path in it.
    virtual QString getSaveFileName() const;

private:
    QString fileName_;
    QString description_;
};

// A resource whose owner reads and writes the files itself.
class KAVHOST_EXPORT File : public Resource {
public:
    explicit File(QString const& fileName);
};

// The live resources, in construction order. GUI thread only.
class KAVHOST_EXPORT Registry {
public:
    using UpdateListener = std::function<void(Resource*)>;

    Registry() = delete;

    static std::vector<Resource*> resources();
    // The first live resource of that file name, nullptr when none.
    static Resource* find(QString const& fileName);

    // Called by Resource::update(); answers an id for removeUpdateListener. Listeners may
    // add or remove listeners while being called; changes apply from the next update.
    static int addUpdateListener(UpdateListener listener);
    static void removeUpdateListener(int id);

private:
    friend class Resource;
    static void add(Resource* resource);
    static void remove(Resource* resource);
    static void notify(Resource* resource);
};

} // namespace Cfg
} // namespace Kav
