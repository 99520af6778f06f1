// The access frame of a project file.
#include "mcadcmd/persist/kav_project_p.h"

#include "cad/kav_shared_accesses.h"
#include "core/kav_kstring.h"
#include "core/kav_translate.h"
#include "propertyaccess/kav_property_access_base.h"
#include "propertyaccess/kav_property_access_factory.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace Kav {
namespace MCADCmd {
namespace ProjectFile {

namespace {

using IO::Stream;

char const* const ACCESS_TYPE = "PROPERTY_ACCESS";
constexpr unsigned int ACCESS_VERSION = 1;

// The access's own blocks as a stream of their own.
QByteArray packAccess(PropertyAccess::PropertyAccessBase const& access)
{
    QByteArray bytes;
    IO::OutStream out(&bytes, KString(ACCESS_TYPE), ACCESS_VERSION);
    access.saveStream(&out);
    out.close();
    return bytes;
}

} // namespace

[[noreturn]] void bad(IO::InStream& in, QString const& text)
{
    in.refuse(text);
}

void FrameForms::keep(unsigned int index, Kept kept)
{
    if (kept.uses > 0)
        kept_[index] = std::move(kept);
}

bool FrameForms::take(unsigned int index, Kept* kept)
{
    auto it = kept_.find(index);
    if (it == kept_.end())
        return false;
    if (--it->second.uses == 0) {
        *kept = std::move(it->second);
        kept_.erase(it);
    } else {
        *kept = it->second;
    }
    return true;
}

bool FrameForms::spend(quint64 bytes)
{
    if (bytes > budget_)
        return false;
    budget_ -= bytes;
    return true;
}

namespace {

constexpr unsigned int FRAME_WHOLE = 1;
constexpr unsigned int FRAME_WHOLE_KEPT = 2;
constexpr unsigned int FRAME_CHANGES = 3;

// Where `form` differs from `base` (of the same length): runs of changed bytes, those closer
// than a run's own cost (offset and length) joined. Equal stretches are passed eight bytes
// at a time: most of a changed access is as it was.
std::vector<std::pair<unsigned int, unsigned int>> changedRuns(QByteArray const& base, QByteArray const& form)
{
    std::vector<std::pair<unsigned int, unsigned int>> runs;
    char const* const a = base.constData();
    char const* const b = form.constData();
    std::size_t const n = static_cast<std::size_t>(form.size());
    for (std::size_t i = 0; i < n; ++i) {
        while (i + 8 <= n && std::memcmp(a + i, b + i, 8) == 0)
            i += 8;
        if (i >= n || a[i] == b[i])
            continue;
        unsigned int const at = static_cast<unsigned int>(i);
        if (!runs.empty() && at - (runs.back().first + runs.back().second) <= 2 * Stream::SizeUInt)
            runs.back().second = at + 1 - runs.back().first;
        else
            runs.emplace_back(at, 1);
    }
    return runs;
}

void readBase(IO::InStream& in, FrameBase* base)
{
    base->type = in.readUInt();
    in.readString(&base->typeString);
    in.readString(&base->explorerName);
    unsigned int const flagCount = in.readUInt();
    base->flags.clear();
    for (unsigned int i = 0; i < flagCount; ++i) {
        // Each flag is read before the next: a wrong count runs into the block's end.
        unsigned int const id = in.readUInt();
        bool const used = in.readBool();
        base->flags.emplace_back(static_cast<PropertyAccess::PropTemplateID_t>(static_cast<int>(id)), used);
    }
}

// The stored flags onto a new access, whose flags are its type's defaults.
void setFlags(PropertyAccess::PropertyAccessBase& access, FrameBase const& base)
{
    PropertyAccess::UsageFlags const& now = access.getUsageFlags();
    auto same = [](std::pair<PropertyAccess::PropTemplateID_t, bool> const& a, auto const& b) {
        return a.first == b.first && a.second == b.second;
    };
    if (now.size() == base.flags.size() && std::equal(base.flags.begin(), base.flags.end(), now.begin(), same))
        return;
    PropertyAccess::UsageFlags flags;
    for (auto const& f : base.flags)
        flags[f.first] = f.second; // the last of an id stored twice counts
    access.setUsageFlags(flags);
}

// The access a frame stores, or null with `skipped->why` saying why it cannot be made.
PropertyAccess::PropertyAccessBase* makeAccess(FrameForms::Kept const& frame, QString const& name, bool proven, Skipped* skipped)
{
    auto skip = [&](QString const& why) -> PropertyAccess::PropertyAccessBase* {
        skipped->why = why;
        return nullptr;
    };
    FrameBase const& base = frame.base;
    if (base.type > 0x7FFFFFFFu)
        return skip(translate("Kav::MCADCmd", "not an access type"));
    std::unique_ptr<PropertyAccess::PropertyAccessBase> access(
        PropertyAccess::PropertyAccessFactory::create(static_cast<PropertyAccess::PropAccessType_t>(base.type)));
    if (!access)
        return skip(translate("Kav::MCADCmd", "no creator is registered for this type"));
    QByteArray const& form = frame.form;
    try {
        // Its checksum also tells whether changes were put together into what was stored;
        // a frame stored whole the file's checksum has proven.
        IO::InStream inner = proven ? IO::InStream(form, name, IO::InStream::Proven::Bytes) : IO::InStream(form, name);
        if (inner.getType() != KString(ACCESS_TYPE))
            return skip(translate("Kav::MCADCmd", "the frame holds no access stream"));
        unsigned int const read = access->loadStream(&inner);
        if (read < access->getNumberOfBlocks())
            return skip(translate("Kav::MCADCmd", "only %1 of its %2 blocks could be read").arg(read).arg(access->getNumberOfBlocks()));
    } catch (IO::StreamException const& e) {
        return skip(e.getText());
    }
    // The host base's data: what the access was extracted from and what it restores.
    access->setExplorerName(base.explorerName);
    setFlags(*access, base);
    // Between the stream's header and its checksum are the bytes its saveStream wrote: with
    // those at hand it is not written again to be compared. (A stream of the first format
    // has no checksum: the access is written.)
    unsigned int const header = 4 + Stream::sizeOf(KString(ACCESS_TYPE)) + Stream::SizeUInt;
    if (!form.startsWith("KAV2") || form.size() < static_cast<qsizetype>(header) + 4)
        return CAD::SharedAccesses::instance().share(access.release());
    return CAD::SharedAccesses::instance().share(
        access.release(), QByteArray::fromRawData(form.constData() + header, form.size() - header - 4));
}

} // namespace

PropertyAccess::PropertyAccessBase* readFrame(IO::InStream& in, QString const& name, Skipped* skipped,
                                              FrameForms* forms, unsigned int index)
{
    in.openBlock();
    unsigned int const version = in.getBlockVersion();
    if (version < FRAME_WHOLE || version > FRAME_CHANGES || (version != FRAME_WHOLE && forms == nullptr))
        bad(in, translate("Kav::MCADCmd", "access frame of version %1, expected 1 to 3").arg(version));
    FrameForms::Kept frame;
    frame.uses = version == FRAME_WHOLE ? 0 : in.readUInt();
    QString broken;
    if (version == FRAME_CHANGES) {
        unsigned int const base = in.readUInt();
        bool const ownBase = in.readBool();
        if (ownBase)
            readBase(in, &frame.base);
        unsigned int const length = in.readUInt();
        unsigned int const changes = in.readUInt();
        if (!forms->spend(length))
            bad(in, translate("Kav::MCADCmd", "the accesses stored as changes would make more bytes than the file can stand for"));
        FrameForms::Kept before;
        if (base >= index || !forms->take(base, &before)) {
            broken = translate("Kav::MCADCmd", "it changes stored access %1, which is not at hand").arg(base + 1);
        } else if (static_cast<unsigned int>(before.form.size()) != length) {
            broken = translate("Kav::MCADCmd", "it changes %1 bytes of stored access %2, which has %3").arg(length).arg(base + 1).arg(before.form.size());
        } else {
            if (!ownBase)
                frame.base = std::move(before.base);
            frame.form = std::move(before.form);
            for (unsigned int c = 0; c < changes && broken.isEmpty(); ++c) {
                unsigned int const at = in.readUInt();
                KString const bytes = in.readString();
                if (at > length || bytes.size() > length - at)
                    broken = translate("Kav::MCADCmd", "a change reaches past the end of stored access %1").arg(base + 1);
                else
                    std::memcpy(frame.form.data() + at, bytes.data(), bytes.size());
            }
        }
    } else {
        readBase(in, &frame.base);
        in.readString(&frame.form);
    }
    in.closeBlock();
    skipped->type = frame.base.type;
    skipped->typeString = frame.base.typeString;
    if (!broken.isEmpty()) {
        skipped->why = broken;
        return nullptr;
    }
    PropertyAccess::PropertyAccessBase* access = makeAccess(frame, name, version != FRAME_CHANGES && in.hasChecksum(), skipped);
    // Kept whether or not its access could be made: later frames change its bytes.
    if (forms != nullptr)
        forms->keep(index, std::move(frame));
    return access;
}

void writeFrame(IO::OutStream& out, PropertyAccess::PropertyAccessBase const& a, FrameForms& forms, unsigned int index,
                unsigned int uses, unsigned int const* base)
{
    FrameForms::Kept frame;
    frame.uses = uses;
    frame.base.type = static_cast<unsigned int>(a.getType());
    frame.base.typeString = KString::fromQString(a.getTypeString());
    frame.base.explorerName = a.getExplorerName();
    frame.base.flags.assign(a.getUsageFlags().begin(), a.getUsageFlags().end());
    frame.form = packAccess(a);
    FrameForms::Kept before;
    std::vector<std::pair<unsigned int, unsigned int>> runs;
    unsigned int changes = 0; // bytes the changes take
    bool sameBase = false;
    if (base != nullptr && forms.take(*base, &before) && before.form.size() == frame.form.size()) {
        runs = changedRuns(before.form, frame.form);
        sameBase = before.base == frame.base;
        changes = 3 * Stream::SizeUInt + Stream::SizeBool;
        for (auto const& r : runs)
            changes += 2 * Stream::SizeUInt + r.second;
    }
    unsigned int const whole = Stream::SizeUInt + static_cast<unsigned int>(frame.form.size());
    // Changes are worth it when they take much less room than the whole (a label moved).
    bool const changed = changes > 0 && 2 * changes < whole;
    bool const ownBase = !(changed && sameBase);
    out.beginBlock(changed ? FRAME_CHANGES : FRAME_WHOLE_KEPT);
    out.writeUInt(uses);
    if (changed) {
        out.writeUInt(*base);
        out.writeBool(ownBase);
    }
    if (ownBase) {
        out.writeUInt(frame.base.type);
        out.writeString(frame.base.typeString);
        out.writeString(frame.base.explorerName);
        out.writeUInt(static_cast<unsigned int>(frame.base.flags.size()));
        for (auto const& f : frame.base.flags) {
            out.writeUInt(static_cast<unsigned int>(f.first));
            out.writeBool(f.second);
        }
    }
    if (changed) {
        out.writeUInt(static_cast<unsigned int>(frame.form.size()));
        out.writeUInt(static_cast<unsigned int>(runs.size()));
        for (auto const& r : runs) {
            out.writeUInt(r.first);
            out.writeString(frame.form.constData() + r.first, r.second);
        }
    } else {
        out.writeString(frame.form.constData(), static_cast<std::size_t>(frame.form.size()));
    }
    out.endBlock();
    forms.keep(index, std::move(frame));
}

} // namespace ProjectFile
} // namespace MCADCmd
} // namespace Kav
