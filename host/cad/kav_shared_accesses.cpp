#include "cad/kav_shared_accesses.h"

#include "io/kav_stream.h"
#include "propertyaccess/kav_property_access_base.h"

#include <QHash>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>

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

// Held accesses by the hash of their stream form. Open addressing with linear probing and
// removal by shifting back: a load enters every access it reads, and a table of nodes cost an
// allocation and a cache miss or two for each.
class HashIndex {
public:
    void insert(std::uint64_t hash, PropertyAccessBase* access)
    {
        if (2 * (used_ + 1) > slots_.size())
            grow();
        std::size_t i = hash & mask();
        while (slots_[i].access != nullptr)
            i = (i + 1) & mask();
        slots_[i] = Slot{hash, access};
        ++used_;
    }
    void erase(std::uint64_t hash, PropertyAccessBase const* access)
    {
        if (slots_.empty())
            return;
        std::size_t i = hash & mask();
        while (slots_[i].access != access) {
            if (slots_[i].access == nullptr)
                return;
            i = (i + 1) & mask();
        }
        // Later entries of the run move up into the gap unless their home lies after it.
        for (std::size_t j = (i + 1) & mask(); slots_[j].access != nullptr; j = (j + 1) & mask()) {
            std::size_t const home = slots_[j].hash & mask();
            bool const stays = i <= j ? (i < home && home <= j) : (i < home || home <= j);
            if (stays)
                continue;
            slots_[i] = slots_[j];
            i = j;
        }
        slots_[i] = Slot();
        --used_;
    }
    // The first access of that hash `match` accepts, or null.
    template <typename Match>
    PropertyAccessBase* find(std::uint64_t hash, Match const& match) const
    {
        if (slots_.empty())
            return nullptr;
        for (std::size_t i = hash & mask(); slots_[i].access != nullptr; i = (i + 1) & mask()) {
            if (slots_[i].hash == hash && match(*slots_[i].access))
                return slots_[i].access;
        }
        return nullptr;
    }
    // Room for this many more without growing.
    void reserve(std::size_t more)
    {
        while (2 * (used_ + more) > slots_.size())
            grow();
    }

private:
    struct Slot {
        std::uint64_t hash = 0;
        PropertyAccessBase* access = nullptr; // null: empty
    };
    std::size_t mask() const { return slots_.size() - 1; }
    void grow()
    {
        std::vector<Slot> old(std::max<std::size_t>(64, 2 * slots_.size()));
        old.swap(slots_);
        used_ = 0;
        for (Slot const& s : old) {
            if (s.access != nullptr)
                insert(s.hash, s.access);
        }
    }

    std::vector<Slot> slots_; // a power of two long, at most half full
    std::size_t used_ = 0;
};

} // namespace

struct SharedAccesses::Data {
    static constexpr std::size_t NOT_RECENT = static_cast<std::size_t>(-1);
    struct Recent {
        PropertyAccessBase* access = nullptr; // null once deleted
        std::size_t offset = 0; // of its stream form in `forms`
        std::size_t length = 0;
        bool formed = false;    // false: taken as held, its form not written
    };
    HashIndex byHash;
    std::size_t count = 0; // distinct accesses held
    // The last list shareAll() took, by place, with the stream forms.
    std::vector<Recent> recent;
    std::string forms; // one after the other: a byte array each would waste more than they hold
    mutable std::mutex mutex;

    static PropertyAccessBase::Holding& of(PropertyAccessBase const& a) { return a.holding_; }

    bool sameForm(Recent const& r, QByteArray const& bytes) const
    {
        return r.length == static_cast<std::size_t>(bytes.size()) &&
               std::memcmp(forms.data() + r.offset, bytes.constData(), r.length) == 0;
    }

    // The held access equal to `access` (whose stream form is `bytes`), or null.
    PropertyAccessBase* find(PropertyAccessBase const& access, std::uint64_t hash, QByteArray const& bytes)
    {
        return byHash.find(hash, [&](PropertyAccessBase const& candidate) {
            if (!sameBase(candidate, access))
                return false;
            // The hash only finds candidates: equal means the same bytes.
            std::size_t const place = of(candidate).recent;
            if (place != NOT_RECENT && recent[place].formed)
                return sameForm(recent[place], bytes);
            try {
                return streamForm(candidate) == bytes;
            } catch (IO::StreamException const&) {
                return false;
            }
        });
    }
    // A first holder for an access no one holds; `hash` null: it is not indexed.
    void holdNew(PropertyAccessBase& access, std::uint64_t const* hash)
    {
        PropertyAccessBase::Holding& h = of(access);
        h.holders = 1;
        h.recent = NOT_RECENT;
        h.indexed = hash != nullptr;
        if (hash != nullptr) {
            h.hash = *hash;
            byHash.insert(*hash, &access);
        }
        ++count;
    }
    // Holds `access` once more, or an equal one instead (deleting `access`).
    void hold(PropertyAccessBase*& access, QByteArray const& bytes)
    {
        std::uint64_t const hash = hashOf(*access, bytes);
        if (PropertyAccessBase* same = find(*access, hash, bytes)) {
            ++of(*same).holders;
            delete access;
            access = same;
            return;
        }
        holdNew(*access, &hash);
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
        if (Data::of(*access).holders > 0) {
            ++Data::of(*access).holders;
            return access;
        }
    }
    QByteArray bytes;
    try {
        bytes = streamForm(*access);
    } catch (IO::StreamException const&) {
        std::lock_guard<std::mutex> lock(d_->mutex);
        d_->holdNew(*access, nullptr);
        return access;
    }
    return share(access, bytes);
}

PropertyAccessBase* SharedAccesses::share(PropertyAccessBase* access, QByteArray const& bytes)
{
    if (access == nullptr)
        return nullptr;
    std::lock_guard<std::mutex> lock(d_->mutex);
    if (Data::of(*access).holders > 0)
        ++Data::of(*access).holders;
    else
        d_->hold(access, bytes);
    return access;
}

void SharedAccesses::hold(PropertyAccessBase* const* accesses, std::size_t count)
{
    std::lock_guard<std::mutex> lock(d_->mutex);
    for (std::size_t i = 0; i < count; ++i) {
#if defined(__GNUC__)
        // A snapshot's accesses lie apart in memory, and each is touched only here.
        if (i + 8 < count && accesses[i + 8] != nullptr)
            __builtin_prefetch(&accesses[i + 8]->holding_, 1);
#endif
        if (accesses[i] == nullptr)
            continue;
        PropertyAccessBase::Holding& h = Data::of(*accesses[i]);
        if (h.holders > 0)
            ++h.holders;
        else
            d_->holdNew(*accesses[i], nullptr);
    }
}

void SharedAccesses::shareAll(std::vector<PropertyAccessBase*>& accesses)
{
    std::lock_guard<std::mutex> lock(d_->mutex);
    std::size_t const n = accesses.size();
    // Room for all of them at once: growing step by step would move the table's entries often.
    d_->byHash.reserve(n);
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
            if (Data::of(*a).holders > 0) {
                ++Data::of(*a).holders;
                next[i].access = a;
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
                d_->holdNew(*a, nullptr);
                continue;
            }
        }
        QByteArray const bytes = written ? QByteArray::fromRawData(all.constData() + spans[i].first,
                                                                   static_cast<qsizetype>(spans[i].second))
                                         : own;
        Data::Recent const* before = i < d_->recent.size() ? &d_->recent[i] : nullptr;
        Data::Recent& here = next[i];
        if (before != nullptr && before->formed && sameBase(*before->access, *a) && d_->sameForm(*before, bytes)) {
            ++Data::of(*before->access).holders;
            delete a;
            a = before->access;
        } else {
            d_->hold(a, bytes);
        }
        here.access = a;
        here.formed = true;
        here.offset = forms.size();
        here.length = static_cast<std::size_t>(bytes.size());
        forms.append(bytes.constData(), here.length);
    }
    for (Data::Recent const& r : d_->recent) {
        if (r.access != nullptr)
            Data::of(*r.access).recent = Data::NOT_RECENT;
    }
    // An access twice in the list keeps its first place.
    for (std::size_t i = 0; i < next.size(); ++i) {
        if (next[i].access != nullptr && Data::of(*next[i].access).recent == Data::NOT_RECENT)
            Data::of(*next[i].access).recent = i;
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
    PropertyAccessBase::Holding& h = Data::of(*access);
    if (h.holders == 0 || --h.holders > 0)
        return;
    if (h.indexed)
        d_->byHash.erase(h.hash, access);
    if (h.recent != Data::NOT_RECENT)
        d_->recent[h.recent] = Data::Recent();
    --d_->count;
    delete access;
}

unsigned int SharedAccesses::holders(PropertyAccessBase const* access) const
{
    if (access == nullptr)
        return 0;
    std::lock_guard<std::mutex> lock(d_->mutex);
    return Data::of(*access).holders;
}

std::size_t SharedAccesses::size() const
{
    std::lock_guard<std::mutex> lock(d_->mutex);
    return d_->count;
}

} // namespace CAD
} // namespace Kav
