#pragma once

#include "kavhost_export.h"

#include <QByteArray>
#include <QString>

namespace Kav {
namespace IO {

// Saves a file atomically: the bytes go to a temporary file beside the target, which
// replaces the target only after every write, the flush to disk and the close succeeded.
// On any failure (or without commit()) the temporary file is removed and the target stays
// as it was.
//
// Only a regular file or a missing one is replaced: a path naming a folder, a device, a
// FIFO or a socket is refused. A link is followed and the file it points to is replaced. The
// folder must exist; none is created. A replaced file keeps its permissions.
//
// Errors name the file and give the system's reason, e.g.
// "/data/state.txt: cannot write: No space left on device".
class KAVHOST_EXPORT SaveFile {
public:
    explicit SaveFile(QString const& path);
    ~SaveFile();
    SaveFile(SaveFile const&) = delete;
    SaveFile& operator=(SaveFile const&) = delete;

    // Checks the target and makes the temporary file.
    bool open();
    bool write(char const* data, qint64 size);
    bool write(QByteArray const& bytes) { return write(bytes.constData(), bytes.size()); }
    // Flushes to disk, closes and renames the temporary file over the target.
    bool commit();
    // Removes the temporary file; the target stays as it was.
    void discard();

    bool isOpen() const { return fd_ >= 0; }
    QString const& fileName() const { return path_; }
    // Why the last call failed, naming the file.
    QString const& errorString() const { return error_; }

    // Saves `bytes` as the whole file; false with the reason in `error`.
    static bool save(QString const& path, QByteArray const& bytes, QString* error);

private:
    bool fail(char const* what, int error);
    bool fail(QString const& text);
    void removeTemporary();

    QString path_;
    QByteArray target_;    // the file replaced, in the file system's encoding
    QByteArray temporary_; // the temporary file while open
    int fd_ = -1;
    QString error_;
};

// Is `path` a regular file to read? Anything else is refused before it is opened (a FIFO
// would block, a device may never end): false with the reason, without the path, in `why`.
KAVHOST_EXPORT bool checkReadableFile(QString const& path, QString* why);

} // namespace IO
} // namespace Kav
