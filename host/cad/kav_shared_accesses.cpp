#include "cad/kav_shared_accesses.h"

#include "io/kav_stream.h"
#include "propertyaccess/kav_property_access_base.h"

#include <QHash>

#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

namespace Kav {
namespace CAD {

using PropertyAccess::PropertyAccessBase;

namespace {

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
    static constexpr std::size_t NOT_RECENT = static_cast<std::size_t>(-1);
    struct Entry {
        std::uint64_t hash = 0;
        unsigned int holders = 0;
        bool indexed = false; // false: its stream form could not be written, so it is never matched
        std::size_t recent = NOT_RECENT; // its place in `recent`
    };
    using Held = std::unordered_map<PropertyAccessBase const*, Entry>;
    struct Recent {
        PropertyAccessBase* access = nullptr; // null once deleted
        Entry* entry = nullptr;
        std::size_t offset = 0; // of its stream form in `forms`
        std::size_t length = 0;
        bool formed = false;    // false: taken as held, its form not written
    };
    Held held;
    std::unordered_multimap<std::uint64_t, PropertyAccessBase*> byHash;
    // The last list shareAll() took, by place, with the stream forms.
    std::vector<Recent> recent;
    std::string forms; // one after the other: a byte array each would waste more than they hold
    mutable std::mutex mutex;

    bool sameForm(Recent const& r, QByteArray const& bytes) const
    {
        return r.length == static_cast<std::size_t>(bytes.size()) &&
               std::memcmp(forms.data() + r.offset, bytes.constData(), r.length) == 0;
    }

    // The held access equal to `access` (whose stream form is `bytes`), or null.
    Held::value_type* find(PropertyAccessBase const& access, std::uint64_t hash, QByteArray const& bytes)
    {
        auto range = byHash.equal_range(hash);
        for (auto it = range.first; it != range.second; ++it) {
            PropertyAccessBase* candidate = it->second;
            if (!sameBase(*candidate, access))
                continue;
            Held::value_type& e = *held.find(candidate);
            // The hash only finds candidates: equal means the same bytes.
            bool same = false;
            if (e.second.recent != NOT_RECENT && recent[e.second.recent].formed) {
                same = sameForm(recent[e.second.recent], bytes);
            } else {
                try {
                    same = streamForm(*candidate) == bytes;
                } catch (IO::StreamException const&) {
                }
            }
            if (same)
                return &e;
        }
        return nullptr;
    }
    // Holds `access` once more, or an equal one instead (deleting `access`); answers its entry.
    Held::value_type* hold(PropertyAccessBase*& access, QByteArray const& bytes)
    {
        std::uint64_t const hash = hashOf(*access, bytes);
        if (Held::value_type* e = find(*access, hash, bytes)) {
            ++e->second.holders;
            delete access;
            access = const_cast<PropertyAccessBase*>(e->first);
            return e;
        }
        auto e = held.emplace(access, Entry{hash, 1, true, NOT_RECENT}).first;
        byHash.emplace(hash, access);
        return &*e;
    }
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
    IO::OutStream out(&bytes);
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
    std::lock_guard<std::mutex> lock(d_->mutex);
    auto known = d_->held.find(access);
    if (known != d_->held.end())
        ++known->second.holders;
    else
        d_->hold(access, bytes);
    return access;
}

void SharedAccesses::shareAll(std::vector<PropertyAccessBase*>& accesses)
{
    std::lock_guard<std::mutex> lock(d_->mutex);
    std::size_t const n = accesses.size();
    // Room for all of them at once, doubling: growing a large table step by step rehashes it
    // often, and so would making room for exactly this list each time.
    auto room = [n](auto& table) {
        if (static_cast<double>(table.size() + n) > table.max_load_factor() * static_cast<double>(table.bucket_count()))
            table.reserve(2 * (table.size() + n));
    };
    room(d_->held);
    room(d_->byHash);
    std::vector<Data::Recent> next(n);
    // First the ones held already (a loaded project's reports), mostly what the list before
    // held at the same place; the others are written, one after the other, into one stream.
    std::vector<std::pair<std::size_t, std::size_t>> spans(n, {0, 0});
    std::vector<bool> fresh(n, false);
    QByteArray all;
    bool written = true;
    {
        IO::OutStream out(&all);
        for (std::size_t i = 0; i < n; ++i) {
            PropertyAccessBase* a = accesses[i];
            if (a == nullptr)
                continue;
            Data::Recent const* before = i < d_->recent.size() ? &d_->recent[i] : nullptr;
            if (before != nullptr && before->access == a) {
                ++before->entry->holders;
                next[i].access = a;
                next[i].entry = before->entry;
                continue;
            }
            auto known = d_->held.find(a);
            if (known != d_->held.end()) {
                ++known->second.holders;
                next[i].access = a;
                next[i].entry = &known->second;
                continue;
            }
            fresh[i] = true;
            if (!written)
                continue;
            try {
                std::size_t const start = static_cast<std::size_t>(out.getOffset());
                a->saveStream(&out);
                spans[i] = {start, static_cast<std::size_t>(out.getOffset()) - start};
            } catch (IO::StreamException const&) {
                written = false; // each is written on its own below
            }
        }
        if (written)
            out.close();
        else
            out.discard();
    }
    std::string forms;
    forms.reserve(d_->forms.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (!fresh[i])
            continue;
        PropertyAccessBase*& a = accesses[i];
        QByteArray own;
        if (!written) {
            try {
                own = streamForm(*a);
            } catch (IO::StreamException const&) {
                d_->held[a] = Data::Entry{0, 1, false, Data::NOT_RECENT};
                continue;
            }
        }
        QByteArray const bytes = written ? QByteArray::fromRawData(all.constData() + spans[i].first,
                                                                   static_cast<qsizetype>(spans[i].second))
                                         : own;
        Data::Recent const* before = i < d_->recent.size() ? &d_->recent[i] : nullptr;
        Data::Recent& here = next[i];
        if (before != nullptr && before->formed && sameBase(*before->access, *a) && d_->sameForm(*before, bytes)) {
            ++before->entry->holders;
            delete a;
            a = before->access;
            here.entry = before->entry;
        } else {
            here.entry = &d_->hold(a, bytes)->second;
        }
        here.access = a;
        here.formed = true;
        here.offset = forms.size();
        here.length = static_cast<std::size_t>(bytes.size());
        forms.append(bytes.constData(), here.length);
    }
    for (Data::Recent const& r : d_->recent) {
        if (r.access != nullptr)
            r.entry->recent = Data::NOT_RECENT;
    }
    // An access twice in the list keeps its first place.
    for (std::size_t i = 0; i < next.size(); ++i) {
        if (next[i].access != nullptr && next[i].entry->recent == Data::NOT_RECENT)
            next[i].entry->recent = i;
        else
            next[i] = Data::Recent();
    }
    d_->recent.swap(next);
    d_->forms.swap(forms);
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
    if (it->second.recent != Data::NOT_RECENT)
        d_->recent[it->second.recent] = Data::Recent();
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
