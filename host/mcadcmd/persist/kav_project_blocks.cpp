// The access frame of a project file.
#include "mcadcmd/persist/kav_project_p.h"

#include "cad/kav_shared_accesses.h"
#include "core/kav_kstring.h"
#include "core/kav_translate.h"
#include "propertyaccess/kav_property_access_base.h"
#include "propertyaccess/kav_property_access_factory.h"

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

PropertyAccess::PropertyAccessBase* readFrame(IO::InStream& in, QString const& name, Skipped* skipped)
{
    in.openBlock();
    if (in.getBlockVersion() != 1)
        bad(in, translate("Kav::MCADCmd", "access frame of version %1, expected 1").arg(in.getBlockVersion()));
    skipped->type = in.readUInt();
    in.readString(&skipped->typeString);
    QString explorerName;
    in.readString(&explorerName);
    unsigned int const flagCount = in.readUInt();
    PropertyAccess::UsageFlags flags;
    for (unsigned int i = 0; i < flagCount; ++i) {
        // Each flag is read before the next: a wrong count runs into the block's end.
        unsigned int const id = in.readUInt();
        bool const used = in.readBool();
        flags[static_cast<PropertyAccess::PropTemplateID_t>(static_cast<int>(id))] = used;
    }
    KString const bytes = in.readString();
    in.closeBlock();

    auto skip = [&](QString const& why) -> PropertyAccess::PropertyAccessBase* {
        skipped->why = why;
        return nullptr;
    };
    if (skipped->type > 0x7FFFFFFFu)
        return skip(translate("Kav::MCADCmd", "not an access type"));
    std::unique_ptr<PropertyAccess::PropertyAccessBase> access(
        PropertyAccess::PropertyAccessFactory::create(static_cast<PropertyAccess::PropAccessType_t>(skipped->type)));
    if (!access)
        return skip(translate("Kav::MCADCmd", "no creator is registered for this type"));
    QByteArray const form = bytes.toByteArray();
    try {
        IO::InStream inner(form, name);
        if (inner.getType() != KString(ACCESS_TYPE))
            return skip(translate("Kav::MCADCmd", "the frame holds no access stream"));
        unsigned int const read = access->loadStream(&inner);
        if (read < access->getNumberOfBlocks())
            return skip(translate("Kav::MCADCmd", "only %1 of its %2 blocks could be read").arg(read).arg(access->getNumberOfBlocks()));
    } catch (IO::StreamException const& e) {
        return skip(e.getText());
    }
    // The host base's data: what the access was extracted from and what it restores.
    access->setExplorerName(explorerName);
    access->setUsageFlags(flags);
    // Between the stream's header and its checksum are the bytes its saveStream wrote: with
    // those at hand it is not written again to be compared. (A stream of the first format
    // has no checksum: the access is written.)
    unsigned int const header = 4 + Stream::sizeOf(KString(ACCESS_TYPE)) + Stream::SizeUInt;
    if (!form.startsWith("KAV2") || form.size() < static_cast<qsizetype>(header) + 4)
        return CAD::SharedAccesses::instance().share(access.release());
    return CAD::SharedAccesses::instance().share(
        access.release(), QByteArray::fromRawData(form.constData() + header, form.size() - header - 4));
}

void writeFrame(IO::OutStream& out, PropertyAccess::PropertyAccessBase const& a)
{
    PropertyAccess::UsageFlags const& flags = a.getUsageFlags();
    out.beginBlock(1);
    out.writeUInt(static_cast<unsigned int>(a.getType()));
    out.writeString(a.getTypeString());
    out.writeString(a.getExplorerName());
    out.writeUInt(static_cast<unsigned int>(flags.size()));
    for (auto const& f : flags) {
        out.writeUInt(static_cast<unsigned int>(f.first));
        out.writeBool(f.second);
    }
    out.writeString(KString(packAccess(a)));
    out.endBlock();
}

} // namespace ProjectFile
} // namespace MCADCmd
} // namespace Kav
