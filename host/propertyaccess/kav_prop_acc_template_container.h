#pragma once

#include "cfg/kav_cfg.h"
#include "kav_prop_acc_template.h"
#include "kavhost_export.h"

#include <iosfwd>
#include <vector>

namespace Kav {
struct SourcePlace;
namespace IO {
class OutStream;
class InStream;
} // namespace IO

namespace PropertyAccess {

// An ordered list of restore templates. Templates are held and handed out by value.
class KAVHOST_EXPORT PropAccTemplateContainer {
public:
    unsigned int getNumberOfTemplates() const { return static_cast<unsigned int>(templates_.size()); }
    bool isEmpty() const { return templates_.empty(); }
    // A copy of template `index`; Kav::ProgError when out of range.
    PropAccTemplate getTemplate(unsigned int index) const;
    void set(unsigned int index, PropAccTemplate const& t);
    void add(PropAccTemplate const& t);
    void remove(unsigned int index);
    void clear() { templates_.clear(); }
    // The index of the first template of that name, or -1.
    int find(QString const& name) const;

    // Appends the stream's templates, each tagged with `level`. On a malformed stream it
    // throws Kav::IO::StreamException and the container is unchanged.
    void loadStream(IO::InStream* in, Cfg::Level level);
    // Writes the user-level templates only: the other levels have files of their own.
    void saveStream(IO::OutStream* out) const;

    bool operator==(PropAccTemplateContainer const& o) const { return templates_ == o.templates_; }
    bool operator!=(PropAccTemplateContainer const& o) const { return !(*this == o); }

private:
    void checkIndex(unsigned int index, SourcePlace const& place) const;

    std::vector<PropAccTemplate> templates_;
};

// The exchange form (JSON text). Reading replaces the container's content; on bad input the
// stream's failbit is set and the container is left unchanged. Read templates are user
// templates.
KAVHOST_EXPORT std::ostream& operator<<(std::ostream& out, PropAccTemplateContainer const& c);
KAVHOST_EXPORT std::istream& operator>>(std::istream& in, PropAccTemplateContainer& c);
// operator>> that also says why it failed: not UTF-8, where the text breaks off, the version,
// or which key of which template is unknown or of the wrong type. True when it read.
KAVHOST_EXPORT bool readExchangeForm(std::istream& in, PropAccTemplateContainer& c, QString* why);

} // namespace PropertyAccess
} // namespace Kav
