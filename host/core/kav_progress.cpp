#include "core/kav_progress.h"

#include <algorithm>
#include <limits>

namespace Kav {

namespace {
Progress::Handler& handler()
{
    static Progress::Handler h;
    return h;
}
} // namespace

void Progress::setHandler(Handler h)
{
    handler() = std::move(h);
}

bool Progress::hasHandler()
{
    return static_cast<bool>(handler());
}

Progress::Progress(QString what, long long total)
    : what_(std::move(what)), total_(std::max(total, 1LL)), step_(std::max(total_ / 100, 1LL)), next_(0)
{
    if (!handler())
        next_ = std::numeric_limits<long long>::max();
    else
        report(0);
}

Progress::~Progress()
{
    if (handler())
        handler()(what_, total_, total_);
}

void Progress::report(long long done)
{
    next_ = done + step_;
    // The end is reported once, by the destructor.
    if (handler() && done < total_)
        handler()(what_, done, total_);
}

} // namespace Kav
