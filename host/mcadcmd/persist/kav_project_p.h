#pragma once
// Private to the project files: an access's frame, read and written one at a time; the file
// around it is in kav_project.cpp, an element's record is its ElementState's.

#include "io/kav_stream.h"

#include <QString>

#include <memory>

namespace Kav {
class ErrorLog;
namespace PropertyAccess {
class PropertyAccessBase;
}
namespace MCADCmd {
namespace ProjectFile {

// Why an access was skipped, to be named for every report that held it.
struct Skipped {
    unsigned int type = 0;
    QString typeString;
    QString why;
};

// Reads one frame. Answers the access, held in SharedAccesses (an equal one already held
// stands for it), or null with `skipped` saying why when the access cannot be made or read;
// a broken frame itself throws.
PropertyAccess::PropertyAccessBase* readFrame(IO::InStream& in, QString const& name, Skipped* skipped);
void writeFrame(IO::OutStream& out, PropertyAccess::PropertyAccessBase const& a);

[[noreturn]] void bad(IO::InStream& in, QString const& text);

} // namespace ProjectFile
} // namespace MCADCmd
} // namespace Kav
