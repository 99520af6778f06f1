// The template exchange file (JSON). Bad input must only fail the stream and leave the
// container alone; what reads must write and read back to the same templates.
#include "mvp_fuzz_common.h"

#include "propertyaccess/kav_prop_acc_template_container.h"

#include <sstream>
#include <string>

using Kav::PropertyAccess::PropAccTemplate;
using Kav::PropertyAccess::PropAccTemplateContainer;

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size)
{
    MvpFuzz::setUp();
    PropAccTemplateContainer before;
    before.add(PropAccTemplate(QStringLiteral("kept")));
    PropAccTemplateContainer c = before;
    std::istringstream in(std::string(reinterpret_cast<char const*>(data), size));
    in >> c;
    if (in.fail()) {
        if (c != before)
            MvpFuzz::violated("a failed read changed the container");
        return 0;
    }
    std::ostringstream out;
    out << c;
    PropAccTemplateContainer again = before;
    std::istringstream back(out.str());
    back >> again;
    if (back.fail() || again != c)
        MvpFuzz::violated("an exchange file written from read templates does not read back the same",
                          QString::fromStdString(out.str()));
    return 0;
}

// The application comes up before the first input, outside the per-input time limit.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    MvpFuzz::setUp();
    return 0;
}
