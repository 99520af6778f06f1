#pragma once

#include "kavhost_export.h"

#include <QString>

#include <fstream>

namespace Kav {
namespace OS {

// How a standard file stream is opened. All modes are binary.
enum OpenMode { READ = 1, APPEND = 2, WRITE = 3 };

// Opens `stream` on `path`, which may hold any Unicode letters. Answers whether it opened.
KAVHOST_EXPORT bool openStdStream(std::ifstream* stream, QString const& path, OpenMode mode);
KAVHOST_EXPORT bool openStdStream(std::ofstream* stream, QString const& path, OpenMode mode);
inline bool openStdStream(std::ifstream* stream, QString const& path, int mode)
{
    return openStdStream(stream, path, static_cast<OpenMode>(mode));
}
inline bool openStdStream(std::ofstream* stream, QString const& path, int mode)
{
    return openStdStream(stream, path, static_cast<OpenMode>(mode));
}

} // namespace OS
} // namespace Kav
