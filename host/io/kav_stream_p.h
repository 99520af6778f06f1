#pragma once
// Private to the block streams: what their writing and reading halves share.

#include <QString>
#include <QtGlobal>

namespace Kav {
namespace IO {
namespace StreamFormat {

inline constexpr char Magic[4] = {'K', 'A', 'V', '2'};

// The name of a stream item for an error message; %1 in `what` stands for `count`.
QString describe(char const* what, quint64 count);

} // namespace StreamFormat
} // namespace IO
} // namespace Kav
