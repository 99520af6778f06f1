#include "io/kav_save_file.h"

#include "core/kav_translate.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Kav {
namespace IO {

namespace {

QString say(char const* text)
{
    return translate("Kav::IO", text);
}

QString reason(int error)
{
    // The system's own texts of the errors a user meets when saving and opening files, so
    // that they are translated like the rest; any other error in the system's words.
    struct Known {
        int error;
        char const* text;
    };
    static Known const known[] = {
        {ENOENT, QT_TRANSLATE_NOOP("Kav::IO", "No such file or directory")},
        {EACCES, QT_TRANSLATE_NOOP("Kav::IO", "Permission denied")},
        {EPERM, QT_TRANSLATE_NOOP("Kav::IO", "Operation not permitted")},
        {ENOSPC, QT_TRANSLATE_NOOP("Kav::IO", "No space left on device")},
        {EDQUOT, QT_TRANSLATE_NOOP("Kav::IO", "Disk quota exceeded")},
        {EFBIG, QT_TRANSLATE_NOOP("Kav::IO", "File too large")},
        {EROFS, QT_TRANSLATE_NOOP("Kav::IO", "Read-only file system")},
        {EISDIR, QT_TRANSLATE_NOOP("Kav::IO", "Is a directory")},
        {ENOTDIR, QT_TRANSLATE_NOOP("Kav::IO", "Not a directory")},
        {ENAMETOOLONG, QT_TRANSLATE_NOOP("Kav::IO", "File name too long")},
        {ELOOP, QT_TRANSLATE_NOOP("Kav::IO", "Too many levels of symbolic links")},
        {EIO, QT_TRANSLATE_NOOP("Kav::IO", "Input/output error")},
    };
    for (Known const& k : known) {
        if (k.error == error)
            return say(k.text);
    }
    return QString::fromLocal8Bit(std::strerror(error));
}

// What a path names when it is not a regular file; empty for one.
QString kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return QString();
    if (S_ISDIR(mode))
        return say(QT_TRANSLATE_NOOP("Kav::IO", "a folder"));
    if (S_ISCHR(mode))
        return say(QT_TRANSLATE_NOOP("Kav::IO", "a character device"));
    if (S_ISBLK(mode))
        return say(QT_TRANSLATE_NOOP("Kav::IO", "a block device"));
    if (S_ISFIFO(mode))
        return say(QT_TRANSLATE_NOOP("Kav::IO", "a FIFO"));
    if (S_ISSOCK(mode))
        return say(QT_TRANSLATE_NOOP("Kav::IO", "a socket"));
    return say(QT_TRANSLATE_NOOP("Kav::IO", "not a regular file"));
}

QString notRegular(mode_t mode)
{
    return say(QT_TRANSLATE_NOOP("Kav::IO", "it is %1, not a regular file")).arg(kindOf(mode));
}

mode_t currentUmask()
{
    mode_t const mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

SaveFile::SaveFile(QString const& path) : path_(path) {}

SaveFile::~SaveFile()
{
    removeTemporary();
}

bool SaveFile::fail(char const* what, int error)
{
    return fail(say(what).arg(path_, reason(error)));
}

bool SaveFile::fail(QString const& text)
{
    error_ = text;
    removeTemporary();
    return false;
}

void SaveFile::removeTemporary()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temporary_.isEmpty())
        ::unlink(temporary_.constData());
    temporary_.clear();
}

bool SaveFile::open()
{
    removeTemporary();
    error_.clear();
    if (path_.isEmpty())
        return fail(say(QT_TRANSLATE_NOOP("Kav::IO", "no file name given")));
    target_ = QFile::encodeName(path_);
    struct stat st;
    bool const exists = ::stat(target_.constData(), &st) == 0;
    if (!exists && errno != ENOENT)
        return fail(QT_TRANSLATE_NOOP("Kav::IO", "%1: cannot save: %2"), errno);
    if (exists && !S_ISREG(st.st_mode))
        return fail(say(QT_TRANSLATE_NOOP("Kav::IO", "%1: cannot save: %2; nothing was replaced"))
                        .arg(path_, notRegular(st.st_mode)));
    if (exists) {
        // The link's target is replaced, not the link.
        QString const real = QFileInfo(path_).canonicalFilePath();
        if (!real.isEmpty())
            target_ = QFile::encodeName(real);
        // A rename would replace a file the user may not write to.
        if (::access(target_.constData(), W_OK) != 0)
            return fail(QT_TRANSLATE_NOOP("Kav::IO", "%1: cannot save: %2"), errno);
    }
    QByteArray const dir = QFile::encodeName(QFileInfo(QFile::decodeName(target_)).absolutePath());
    QByteArray const base = QFile::encodeName(QFileInfo(QFile::decodeName(target_)).fileName());
    QByteArray name = dir + "/." + base + ".XXXXXX";
    int const fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        int const error = errno;
        return fail(say(QT_TRANSLATE_NOOP("Kav::IO", "%1: cannot make a file in the folder \"%2\": %3"))
                        .arg(path_, QFile::decodeName(dir), reason(error)));
    }
    fd_ = fd;
    temporary_ = name;
    mode_t const mode = exists ? (st.st_mode & 07777) : (0666 & ~currentUmask());
    if (::fchmod(fd_, mode) != 0)
        return fail(QT_TRANSLATE_NOOP("Kav::IO", "%1: cannot save: %2"), errno);
    if (exists && (st.st_uid != ::geteuid() || st.st_gid != ::getegid())) {
        // Only root may give the file back to its owner; others keep what they can.
        if (::fchown(fd_, st.st_uid, st.st_gid) != 0)
            (void)!::fchown(fd_, static_cast<uid_t>(-1), st.st_gid);
    }
    return true;
}

bool SaveFile::write(char const* data, qint64 size)
{
    if (fd_ < 0)
        return fail(say(QT_TRANSLATE_NOOP("Kav::IO", "%1: cannot write: the file is not open")).arg(path_));
    while (size > 0) {
        ssize_t const n = ::write(fd_, data, static_cast<std::size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(QT_TRANSLATE_NOOP("Kav::IO", "%1: cannot write: %2"), errno);
        }
        if (n == 0)
            return fail(QT_TRANSLATE_NOOP("Kav::IO", "%1: cannot write: %2"), ENOSPC);
        data += n;
        size -= n;
    }
    return true;
}

bool SaveFile::commit()
{
    if (fd_ < 0)
        return fail(say(QT_TRANSLATE_NOOP("Kav::IO", "%1: cannot save: the file is not open")).arg(path_));
    // Space some file systems only find short of when the data goes to disk.
    if (::fsync(fd_) != 0 && errno != EINVAL)
        return fail(QT_TRANSLATE_NOOP("Kav::IO", "%1: cannot write: %2"), errno);
    int const fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        return fail(QT_TRANSLATE_NOOP("Kav::IO", "%1: cannot write: %2"), errno);
    if (::rename(temporary_.constData(), target_.constData()) != 0)
        return fail(QT_TRANSLATE_NOOP("Kav::IO", "%1: cannot replace the file: %2"), errno);
    temporary_.clear();
    // The rename itself reaches the disk with the folder; not all file systems can say.
    QByteArray const dir = QFile::encodeName(QFileInfo(QFile::decodeName(target_)).absolutePath());
    int const dirFd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

void SaveFile::discard()
{
    removeTemporary();
}

bool SaveFile::save(QString const& path, QByteArray const& bytes, QString* error)
{
    SaveFile file(path);
    bool const ok = file.open() && file.write(bytes) && file.commit();
    if (!ok && error != nullptr)
        *error = file.errorString();
    return ok;
}

bool checkReadableFile(QString const& path, QString* why)
{
    struct stat st;
    QString text;
    if (path.isEmpty())
        text = say(QT_TRANSLATE_NOOP("Kav::IO", "no file name given"));
    else if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        text = reason(errno);
    else if (!S_ISREG(st.st_mode))
        text = notRegular(st.st_mode);
    if (!text.isEmpty() && why != nullptr)
        *why = text;
    return text.isEmpty();
}

} // namespace IO
} // namespace Kav
