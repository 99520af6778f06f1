#pragma once
// CRC-32 (the polynomial of zlib and PNG, reflected 0xEDB88320) for the streams' checksum.

#include <QtGlobal>

#include <cstddef>

namespace Kav {
namespace IO {

// Continues `crc` (0 to start) over `size` bytes.
quint32 crc32(quint32 crc, char const* data, std::size_t size);

} // namespace IO
} // namespace Kav
