#pragma once

#include "kavhost_export.h"

#include <QString>

#include <functional>

namespace Kav {

// How far a long piece of work (a scene generated, a project loaded or saved) has come, for
// the application to show. Without a handler a report costs a comparison.
class KAVHOST_EXPORT Progress {
public:
    // `done` runs from 0 to `total`; the last call of a piece of work has done == total.
    using Handler = std::function<void(QString const& what, long long done, long long total)>;
    static void setHandler(Handler handler);
    static bool hasHandler();

    // Reports 0 of `total` now and `total` of `total` at the end, however it ends.
    Progress(QString what, long long total);
    ~Progress();
    Progress(Progress const&) = delete;
    Progress& operator=(Progress const&) = delete;

    // Passed on about a hundred times over the whole work, not at every call.
    void advance(long long done)
    {
        if (done >= next_)
            report(done);
    }

private:
    void report(long long done);

    QString what_;
    long long total_;
    long long step_;
    long long next_;
};

} // namespace Kav
