#pragma once
// Private to the project files: an access's frame, read and written one at a time; the file
// around it is in kav_project.cpp, an element's record is its ElementState's.

#include "core/kav_kstring.h"
#include "io/kav_stream.h"
#include "propertyaccess/kav_property_access_base.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Kav {
class ErrorLog;
namespace MCADCmd {
namespace ProjectFile {

// Why an access was skipped, to be named for every report that held it.
struct Skipped {
    unsigned int type = 0;
    KString typeString;
    QString why;
};

// What a stored frame holds besides the access's own blocks.
struct FrameBase {
    unsigned int type = 0;
    KString typeString; // as stored: made a text only for a message
    QString explorerName;
    // In the order stored: mostly the defaults, which then need no map of their own.
    std::vector<std::pair<PropertyAccess::PropTemplateID_t, bool>> flags;
    bool operator==(FrameBase const& o) const
    {
        return type == o.type && typeString == o.typeString && explorerName == o.explorerName && flags == o.flags;
    }
};

// The stored frames that later frames are stored as changes to, each kept until the last of
// those is read (or written).
class FrameForms {
public:
    FrameForms() = default;
    // A reader's: the bytes its frames of changes may make in all. A few bytes of changes make
    // a whole access, so without a limit a small damaged file could ask for any amount.
    explicit FrameForms(quint64 budget) : budget_(budget) {}
    struct Kept {
        unsigned int uses = 0;
        FrameBase base;
        QByteArray form; // the access stream
    };
    void keep(unsigned int index, Kept kept);
    // Frame `index` for one more change to it; false when it is not kept.
    bool take(unsigned int index, Kept* kept);
    // False when `bytes` more would go beyond the budget.
    bool spend(quint64 bytes);

private:
    std::unordered_map<unsigned int, Kept> kept_;
    quint64 budget_ = ~quint64(0);
};

// Reads stored frame `index` (of any version: 1 whole; 2 whole, and 3 the changes to an
// earlier frame's access stream, both with the number of later frames stored as changes to
// them). Answers the access, held in SharedAccesses (an equal one already held stands for
// it), or null with `skipped` saying why when the access cannot be made or read; a broken
// frame itself throws.
PropertyAccess::PropertyAccessBase* readFrame(IO::InStream& in, QString const& name, Skipped* skipped,
                                              FrameForms* forms = nullptr, unsigned int index = 0);
// Writes stored frame `index`: whole, or as the changes to earlier frame `base` (kept in
// `forms`) when those take much less room. `uses`: later frames that may be stored as changes
// to this one.
void writeFrame(IO::OutStream& out, PropertyAccess::PropertyAccessBase const& a, FrameForms& forms, unsigned int index,
                unsigned int uses, unsigned int const* base);

[[noreturn]] void bad(IO::InStream& in, QString const& text);

} // namespace ProjectFile
} // namespace MCADCmd
} // namespace Kav
