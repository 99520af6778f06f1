#include "io/kav_crc32.h"

#include <array>

namespace Kav {
namespace IO {

namespace {

// Eight tables: eight bytes per step, as files of hundreds of megabytes are checked whole.
using Tables = std::array<std::array<quint32, 256>, 8>;

Tables makeTables()
{
    Tables t{};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
        t[0][i] = c;
    }
    for (quint32 i = 0; i < 256; ++i)
        for (std::size_t k = 1; k < 8; ++k)
            t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
    return t;
}

} // namespace

quint32 crc32(quint32 crc, char const* data, std::size_t size)
{
    static Tables const t = makeTables();
    auto const* p = reinterpret_cast<unsigned char const*>(data);
    quint32 c = ~crc;
    while (size >= 8) {
        quint32 const lo = c ^ (quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24);
        c = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^ t[3][p[4]] ^
            t[2][p[5]] ^ t[1][p[6]] ^ t[0][p[7]];
        p += 8;
        size -= 8;
    }
    while (size-- > 0)
        c = (c >> 8) ^ t[0][(c ^ *p++) & 0xFF];
    return ~c;
}

} // namespace IO
} // namespace Kav
