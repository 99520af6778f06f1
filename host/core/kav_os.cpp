#include "kav_os.h"

#include <QFile>

namespace Kav {
namespace OS {

bool openStdStream(std::ifstream* stream, QString const& path, OpenMode mode)
{
    if (!stream || path.isEmpty() || mode != READ)
        return false;
    if (stream->is_open())
        stream->close();
    stream->clear();
    // The file system's own encoding of the name, so non-ASCII paths reach the right file.
    stream->open(QFile::encodeName(path).constData(), std::ios::in | std::ios::binary);
    return stream->is_open();
}

bool openStdStream(std::ofstream* stream, QString const& path, OpenMode mode)
{
    if (!stream || path.isEmpty() || (mode != WRITE && mode != APPEND))
        return false;
    if (stream->is_open())
        stream->close();
    stream->clear();
    std::ios::openmode flags = std::ios::out | std::ios::binary;
    flags |= (mode == APPEND) ? std::ios::app : std::ios::trunc;
    stream->open(QFile::encodeName(path).constData(), flags);
    return stream->is_open();
}

} // namespace OS
} // namespace Kav
