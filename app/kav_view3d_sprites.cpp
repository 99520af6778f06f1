#include "kav_view3d_sprites.h"

#include "kav_view3d_raster.h"
#include "kav_view3d_raster_blend.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Kav {
namespace App {

SpriteCache::SpriteCache() : scratch_(SCRATCH, SCRATCH, QImage::Format_ARGB32_Premultiplied)
{
    scratch_.fill(Qt::transparent);
    raster_ = std::make_unique<PixelRaster>(scratch_);
}

SpriteCache::~SpriteCache() = default;

quint64 SpriteCache::hashOf(qint32 const* key, int count, quint64 seed)
{
    // Two values at a time.
    quint64 h = seed;
    int i = 0;
    for (; i + 1 < count; i += 2) {
        quint64 const pair = static_cast<quint64>(static_cast<quint32>(key[i]))
                             | (static_cast<quint64>(static_cast<quint32>(key[i + 1])) << 32);
        h = (h ^ pair) * 0xff51afd7ed558ccdull;
        h ^= h >> 32;
    }
    if (i < count) {
        h = (h ^ static_cast<quint32>(key[i])) * 0xc4ceb9fe1a85ec53ull;
        h ^= h >> 32;
    }
    return h;
}

void SpriteCache::startDrawing()
{
    ++drawing_;
    used_ = 0;
    usedBytes_ = 0;
    seen_.assign(SEEN, 0);
    // Room for all this drawing may make, so that nothing it uses goes while it runs.
    if (sprites_.size() + MAX_USED > MAX_SPRITES || data_.size() + MAX_USED_BYTES > MAX_DATA)
        clear();
}

SpriteCache::Sprite const* SpriteCache::use(Sprite* sprite)
{
    if (sprite->drawing == drawing_)
        return sprite;
    if (full())
        return nullptr;
    sprite->drawing = drawing_;
    ++used_;
    usedBytes_ += sprite->bytes;
    return sprite;
}

SpriteCache::Sprite* SpriteCache::lookup(quint64 hash, qint32 const* key, int count)
{
    if (slots_.empty())
        return nullptr;
    std::size_t const mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot const& slot = slots_[i];
        if (slot.sprite == ~0u)
            return nullptr;
        if (slot.hash == hash && slot.keyLength == static_cast<quint32>(count)
            && std::memcmp(keys_.data() + slot.key, key, sizeof(qint32) * static_cast<std::size_t>(count)) == 0)
            return &sprites_[slot.sprite];
    }
}

PixelRaster& SpriteCache::scratchRaster()
{
    return *raster_;
}

void SpriteCache::begin(double low, double high)
{
    low_ = ORIGIN + static_cast<int>(std::floor(low));
    high_ = ORIGIN + 1 + static_cast<int>(std::ceil(high));
    int const side = high_ - low_;
    made_.assign(static_cast<std::size_t>(side) * static_cast<std::size_t>(side) * MAX_LAYERS, 0);
}

void SpriteCache::takeLayer(int layer, int layers)
{
    // The layer's alpha, and the scratch cleared for the next one.
    int const side = high_ - low_;
    for (int y = low_; y < high_; ++y) {
        auto* line = reinterpret_cast<quint32*>(scratch_.scanLine(y));
        for (int x = low_; x < high_; ++x) {
            std::size_t const at = (static_cast<std::size_t>(y - low_) * static_cast<std::size_t>(side)
                                    + static_cast<std::size_t>(x - low_)) * static_cast<std::size_t>(layers);
            made_[at + static_cast<std::size_t>(layer)] = static_cast<uchar>(qAlpha(line[x]));
            line[x] = 0;
        }
    }
}

void SpriteCache::takePicture()
{
    int const side = high_ - low_;
    for (int y = low_; y < high_; ++y) {
        auto* line = reinterpret_cast<quint32*>(scratch_.scanLine(y));
        for (int x = low_; x < high_; ++x) {
            std::size_t const at = (static_cast<std::size_t>(y - low_) * static_cast<std::size_t>(side)
                                    + static_cast<std::size_t>(x - low_)) * 4;
            std::memcpy(made_.data() + at, &line[x], 4);
            line[x] = 0;
        }
    }
}

int SpriteCache::mergeLayers(int layers, quint8 const* classes, quint8* source)
{
    int const side = high_ - low_;
    std::size_t const pixels = static_cast<std::size_t>(side) * static_cast<std::size_t>(side);
    auto at = [this, layers](std::size_t pixel, int layer) -> uchar& {
        return made_[pixel * static_cast<std::size_t>(layers) + static_cast<std::size_t>(layer)];
    };
    int kept = 0;
    for (int layer = 0; layer < layers; ++layer) {
        bool empty = true;
        for (std::size_t p = 0; p < pixels && empty; ++p)
            empty = at(p, layer) == 0;
        if (empty)
            continue;
        bool const joins = kept > 0 && classes != nullptr && classes[source[kept - 1]] == classes[layer];
        int const into = joins ? kept - 1 : kept;
        for (std::size_t p = 0; p < pixels; ++p) {
            // One colour over itself: the alpha of the one over that of the other.
            quint32 pixel = joins ? static_cast<quint32>(at(p, into)) * 0x01010101u : 0u;
            Blend::blendPixel(pixel, static_cast<quint32>(at(p, layer)) * 0x01010101u, 255);
            at(p, into) = static_cast<uchar>(pixel >> 24);
        }
        if (!joins)
            source[kept++] = static_cast<quint8>(layer);
    }
    // What is left over from layers moved down goes.
    for (std::size_t p = 0; p < pixels; ++p) {
        for (int layer = kept; layer < layers; ++layer)
            at(p, layer) = 0;
    }
    return kept;
}

SpriteCache::Sprite* SpriteCache::store(quint64 hash, qint32 const* key, int count, int layers, quint8 const* classes)
{
    Sprite sprite;
    // Layers of one colour that follow each other are one.
    int const given = layers;
    if (layers > 0)
        sprite.filled = (1u << mergeLayers(layers, classes, sprite.source)) - 1;
    // Only the rows and columns something covers are kept. A picture is four layers here, one
    // for each byte of its pixels.
    bool const picture = layers == 0;
    int const stored = picture ? 0 : __builtin_popcount(sprite.filled);
    layers = picture ? 4 : given;
    int const side = high_ - low_;
    int left = side, right = -1, top = side, bottom = -1;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            uchar const* at = made_.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(side)
                                              + static_cast<std::size_t>(x)) * static_cast<std::size_t>(layers);
            bool any = false;
            for (int layer = 0; layer < layers; ++layer)
                any = any || at[layer] != 0;
            if (any) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    sprite.layers = stored;
    sprite.filled = picture ? 1u : sprite.filled;
    sprite.offset = static_cast<quint32>(data_.size());
    sprite.rows = static_cast<quint32>(rowMasks_.size());
    if (right >= left) {
        sprite.left = left + low_ - ORIGIN;
        sprite.top = top + low_ - ORIGIN;
        // Whole groups of four pixels, drawn four at a time.
        sprite.width = (right - left + 4) & ~3;
        sprite.height = bottom - top + 1;
        for (int y = top; y <= bottom; ++y) {
            quint16 mask = 0;
            for (int x = left; x <= right; ++x) {
                uchar const* at = made_.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(side)
                                                  + static_cast<std::size_t>(x)) * static_cast<std::size_t>(layers);
                for (int layer = 0; layer < layers; ++layer)
                    mask |= at[layer] != 0 ? (picture ? 1u : 1u << layer) : 0u;
            }
            rowMasks_.push_back(mask);
            if (picture) {
                // The pixels as they are.
                for (int x = left; x < left + sprite.width; ++x) {
                    std::size_t const at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(side)
                                            + static_cast<std::size_t>(x)) * 4;
                    for (std::size_t b = 0; b < 4; ++b)
                        data_.push_back(x < side ? made_[at + b] : 0);
                }
                continue;
            }
            for (int layer = 0; layer < stored; ++layer) {
                for (int x = left; x < left + sprite.width; ++x) {
                    std::size_t const at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(side)
                                            + static_cast<std::size_t>(x)) * static_cast<std::size_t>(layers);
                    data_.push_back(x < side ? made_[at + static_cast<std::size_t>(layer)] : 0);
                }
            }
        }
    }
    sprite.bytes = static_cast<quint32>(data_.size() - sprite.offset);
    if ((sprites_.size() + 1) * 2 > slots_.size()) {
        // Grown to twice the size, the slots made again.
        std::vector<Slot> old(std::max<std::size_t>(1024, slots_.size() * 2));
        old.swap(slots_);
        for (Slot const& s : old) {
            if (s.sprite == ~0u)
                continue;
            std::size_t i = s.hash & (slots_.size() - 1);
            while (slots_[i].sprite != ~0u)
                i = (i + 1) & (slots_.size() - 1);
            slots_[i] = s;
        }
    }
    std::size_t i = hash & (slots_.size() - 1);
    while (slots_[i].sprite != ~0u)
        i = (i + 1) & (slots_.size() - 1);
    slots_[i] = Slot{hash, static_cast<quint32>(keys_.size()), static_cast<quint32>(count),
                     static_cast<quint32>(sprites_.size())};
    keys_.insert(keys_.end(), key, key + count);
    sprites_.push_back(sprite);
    return &sprites_.back();
}

void SpriteCache::clear()
{
    slots_.clear();
    keys_.clear();
    sprites_.clear();
    data_.clear();
    rowMasks_.clear();
}

} // namespace App
} // namespace Kav
