#include "cad/kav_shared_accesses.h"

#include "io/kav_stream.h"
#include "propertyaccess/kav_property_access_base.h"

#include <QHash>

#include <cstring>
#include <mutex>
#include <unordered_map>

namespace Kav {
namespace CAD {

using PropertyAccess::PropertyAccessBase;

namespace {

// The stream form's type and version: the same as a project file's access frames hold, so
// that a loaded access is shared by the bytes read for it.
char const* const FORM_TYPE = "PROPERTY_ACCESS";
constexpr unsigned int FORM_VERSION = 1;

inline std::uint64_t mix(std::uint64_t h, std::uint64_t v)
{
    h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    h *= 0xFF51AFD7ED558CCDull;
    return h ^ (h >> 29);
}

// Eight bytes at a time: a snapshot hashes the stream form of every access it takes.
std::uint64_t hashBytes(std::uint64_t h, QByteArray const& bytes)
{
    char const* p = bytes.constData();
    std::size_t n = static_cast<std::size_t>(bytes.size());
    h = mix(h, n);
    for (; n >= 8; n -= 8, p += 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        h = mix(h, w);
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, p, n);
    return mix(h, tail);
}

std::uint64_t hashOf(PropertyAccessBase const& a, QByteArray const& bytes)
{
    std::uint64_t h = mix(static_cast<std::uint64_t>(a.getType()), a.isVisible() ? 1 : 2);
    h = mix(h, qHash(a.getExplorerName()));
    for (auto const& f : a.getUsageFlags())
        h = mix(h, (static_cast<std::uint64_t>(static_cast<unsigned int>(f.first)) << 1) | (f.second ? 1u : 0u));
    return hashBytes(h, bytes);
}

bool sameBase(PropertyAccessBase const& a, PropertyAccessBase const& b)
{
    return a.getType() == b.getType() && a.isVisible() == b.isVisible() && a.getExplorerName() == b.getExplorerName() &&
           (&a.getUsageFlags() == &b.getUsageFlags() || a.getUsageFlags() == b.getUsageFlags());
}

} // namespace

struct SharedAccesses::Data {
    struct Entry {
        std::uint64_t hash = 0;
        unsigned int holders = 0;
        bool indexed = false; // false: its stream form could not be written, so it is never matched
    };
    std::unordered_map<PropertyAccessBase const*, Entry> held;
    std::unordered_multimap<std::uint64_t, PropertyAccessBase*> byHash;
    mutable std::mutex mutex;
};

SharedAccesses::SharedAccesses() : d_(std::make_unique<Data>()) {}

SharedAccesses::~SharedAccesses() = default;

SharedAccesses& SharedAccesses::instance()
{
    // Never destroyed: a report may be deleted by another library's static destructor.
    static SharedAccesses* const pool = new SharedAccesses;
    return *pool;
}

QByteArray SharedAccesses::streamForm(PropertyAccessBase const& access)
{
    QByteArray bytes;
    IO::OutStream out(&bytes, KString(FORM_TYPE), FORM_VERSION);
    access.saveStream(&out);
    out.close();
    return bytes;
}

PropertyAccessBase* SharedAccesses::share(PropertyAccessBase* access)
{
    if (access == nullptr)
        return nullptr;
    {
        std::lock_guard<std::mutex> lock(d_->mutex);
        auto it = d_->held.find(access);
        if (it != d_->held.end()) {
            ++it->second.holders;
            return access;
        }
    }
    QByteArray bytes;
    try {
        bytes = streamForm(*access);
    } catch (IO::StreamException const&) {
        std::lock_guard<std::mutex> lock(d_->mutex);
        d_->held[access] = Data::Entry{0, 1, false};
        return access;
    }
    return share(access, bytes);
}

PropertyAccessBase* SharedAccesses::share(PropertyAccessBase* access, QByteArray const& bytes)
{
    if (access == nullptr)
        return nullptr;
    std::uint64_t const hash = hashOf(*access, bytes);
    std::lock_guard<std::mutex> lock(d_->mutex);
    auto known = d_->held.find(access);
    if (known != d_->held.end()) {
        ++known->second.holders;
        return access;
    }
    auto range = d_->byHash.equal_range(hash);
    for (auto it = range.first; it != range.second; ++it) {
        PropertyAccessBase* candidate = it->second;
        if (!sameBase(*candidate, *access))
            continue;
        // The hash only finds candidates: equal means the same bytes.
        bool same = false;
        try {
            same = streamForm(*candidate) == bytes;
        } catch (IO::StreamException const&) {
        }
        if (!same)
            continue;
        ++d_->held[candidate].holders;
        delete access;
        return candidate;
    }
    d_->held.emplace(access, Data::Entry{hash, 1, true});
    d_->byHash.emplace(hash, access);
    return access;
}

void SharedAccesses::release(PropertyAccessBase const* access)
{
    if (access == nullptr)
        return;
    std::lock_guard<std::mutex> lock(d_->mutex);
    auto it = d_->held.find(access);
    if (it == d_->held.end() || --it->second.holders > 0)
        return;
    if (it->second.indexed) {
        auto range = d_->byHash.equal_range(it->second.hash);
        for (auto h = range.first; h != range.second; ++h) {
            if (h->second == access) {
                d_->byHash.erase(h);
                break;
            }
        }
    }
    d_->held.erase(it);
    delete access;
}

unsigned int SharedAccesses::holders(PropertyAccessBase const* access) const
{
    std::lock_guard<std::mutex> lock(d_->mutex);
    auto it = d_->held.find(access);
    return it == d_->held.end() ? 0 : it->second.holders;
}

std::size_t SharedAccesses::size() const
{
    std::lock_guard<std::mutex> lock(d_->mutex);
    return d_->held.size();
}

} // namespace CAD
} // namespace Kav
