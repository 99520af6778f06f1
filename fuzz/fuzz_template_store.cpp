// The restore template store file, read the way the library reads it: as the user level's
// file. A store that reads must write back to a file that reads to the same templates.
#include "mvp_fuzz_common.h"

#include "io/kav_stream.h"
#include "templates/mvp_restore_template_file.h"

using Kav::PropertyAccess::PropAccTemplateContainer;

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size)
{
    MvpFuzz::setUp();
    QString const path = MvpFuzz::writeScratch(Kav::MCADVisProp::RestoreSnapshotTemplateFile::resourceFileName(),
                                               MvpFuzz::bytes(data, size));
    PropAccTemplateContainer read;
    try {
        read = Kav::MCADVisProp::loadAllTemplates();
    } catch (Kav::IO::StreamException const&) {
        return 0;
    }
    // Also straight from memory, as a second reader of the same bytes would.
    PropAccTemplateContainer direct;
    try {
        Kav::IO::InStream in(MvpFuzz::bytes(data, size));
        direct.loadStream(&in, Kav::Cfg::LEVEL_USER);
    } catch (Kav::IO::StreamException const& e) {
        MvpFuzz::violated("the store reads from a file but not from memory", e.getText());
    }
    if (direct != read)
        MvpFuzz::violated("the store reads differently from a file and from memory");
    Kav::MCADVisProp::saveTemplates(read);
    PropAccTemplateContainer again;
    try {
        again = Kav::MCADVisProp::loadAllTemplates();
    } catch (Kav::IO::StreamException const& e) {
        MvpFuzz::violated("a saved store does not read back", e.getText());
    }
    if (again != read)
        MvpFuzz::violated("a saved store reads back to other templates", path);
    return 0;
}

// The application comes up before the first input, outside the per-input time limit.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    MvpFuzz::setUp();
    return 0;
}
