#pragma once

#include <QImage>
#include <QtGlobal>

#include <memory>
#include <vector>

namespace Kav {
namespace App {

class PixelRaster;

// Small shapes kept as the coverage of their layers (a fill, an outline, ...), so that a shape
// drawn again, anywhere, is a copy blended with its colours rather than a new rasterisation.
// A shape is named by its key: what it is, its outline's alpha and width, the place of its
// first point within its pixel in sixteenths, and the other points relative to the first in
// sixty-fourths of a pixel. The stored shape is drawn at that rounded place, so it is the same
// whichever shape of the key came first, and within 1/32 pixel of each of them.
// A sprite may also be a picture (premultiplied pixels) where its colours are part of its key.
class SpriteCache {
public:
    // Relative points farther than this from the first are not kept.
    static constexpr int REACH = 24;
    static constexpr int PHASES = 16;
    static constexpr int UNITS = 64;
    static constexpr int MAX_LAYERS = 12;

    struct Sprite {
        int left = 0;   // from the first point's pixel
        int top = 0;
        int width = 0;    // a multiple of four
        int height = 0;
        int layers = 0;   // 0: a picture
        unsigned int filled = 0;   // bits of the layers that cover something
        quint8 source[MAX_LAYERS] = {};   // the layer find() made each of them from (the first)
        quint32 offset = 0;   // into the coverage: by row, each layer's bytes over the width
                              // (a picture's pixels, four bytes each)
        quint32 rows = 0;   // into the row masks: for each row, the layers it has a pixel of
        quint32 bytes = 0;
        quint32 drawing = 0;   // the last drawing that used it
    };

    SpriteCache();
    ~SpriteCache();

    // The sprite of `key` (count values), made by `make` when it is not kept: `make` draws layer
    // `layer` into the raster it is given, where the pixel (ORIGIN, ORIGIN) stands for the
    // first point's pixel, within `low` to `high` pixels (both ways) from it. `hash` is
    // hashOf(key, count), or the same way on from the hash of a first part of it. Layers of one
    // colour, as `classes` says (null: all differ), that follow each other (empty ones left
    // out) are kept as one.
    // Null when the drawing has used as many sprites as it may: which shapes a drawing draws
    // from sprites depends on the drawing alone, not on what the drawings before kept.
    template <typename Make>
    Sprite const* find(qint32 const* key, int count, quint64 hash, int layers, quint8 const* classes, double low,
                       double high, Make const& make)
    {
        if (Sprite* found = lookup(hash, key, count))
            return use(found);
        if (full() || !(low >= -MAX_REACH && high <= MAX_REACH))
            return nullptr;
        begin(low, high);
        for (int layer = 0; layer < layers; ++layer) {
            make(scratchRaster(), layer);
            takeLayer(layer, layers);
        }
        return use(store(hash, key, count, layers, classes));
    }

    // The picture sprite of `key`, made by `make` (which draws the picture into the raster it is
    // given, as find's `make` draws a layer). A drawing draws a picture from its sprite from the
    // second time it asks for it on: keys met once cost nothing to keep.
    template <typename Make>
    Sprite const* findPicture(qint32 const* key, int count, quint64 hash, double low, double high, Make const& make)
    {
        quint64& seen = seen_[hash & (SEEN - 1)];
        if (seen != hash) {
            seen = hash;
            return nullptr;
        }
        if (Sprite* found = lookup(hash, key, count))
            return use(found);
        if (full() || !(low >= -MAX_REACH && high <= MAX_REACH))
            return nullptr;
        begin(low, high);
        make(scratchRaster());
        takePicture();
        return use(store(hash, key, count, 0, nullptr));
    }

    static quint64 hashOf(qint32 const* key, int count, quint64 seed = 0x9e3779b97f4a7c15ull);

    uchar const* coverage(Sprite const& sprite) const { return data_.data() + sprite.offset; }
    quint16 const* rowMasks(Sprite const& sprite) const { return rowMasks_.data() + sprite.rows; }
    // A drawing begins: it may use up to MAX_USED sprites of up to MAX_USED_BYTES, kept or made.
    void startDrawing();
    std::size_t size() const { return sprites_.size(); }

    static constexpr int ORIGIN = 40;

private:
    static constexpr int SCRATCH = 2 * ORIGIN;
    static constexpr double MAX_REACH = ORIGIN - 4;
    static constexpr std::size_t MAX_USED = 8192;
    static constexpr std::size_t MAX_USED_BYTES = std::size_t(16) << 20;
    static constexpr std::size_t MAX_SPRITES = 4 * MAX_USED;
    static constexpr std::size_t MAX_DATA = 4 * MAX_USED_BYTES;
    static constexpr std::size_t SEEN = 1 << 14;

    struct Slot {
        quint64 hash = 0;
        quint32 key = 0;   // into keys_
        quint32 keyLength = 0;
        quint32 sprite = ~0u;
    };

    Sprite* lookup(quint64 hash, qint32 const* key, int count);
    // Counted for the drawing the first time it uses it; null beyond what a drawing may use.
    Sprite const* use(Sprite* sprite);
    bool full() const { return used_ >= MAX_USED || usedBytes_ >= MAX_USED_BYTES; }
    void begin(double low, double high);
    PixelRaster& scratchRaster();
    void takeLayer(int layer, int layers);
    void takePicture();
    Sprite* store(quint64 hash, qint32 const* key, int count, int layers, quint8 const* classes);
    // Layers of one class that follow each other made one, empty ones left out; the layers left.
    int mergeLayers(int layers, quint8 const* classes, quint8* source);
    void clear();

    QImage scratch_;
    std::unique_ptr<PixelRaster> raster_;
    // The square of the scratch image a sprite being made may touch, and its layers so far.
    int low_ = 0, high_ = 0;
    std::vector<uchar> made_;
    std::vector<Slot> slots_;
    std::vector<qint32> keys_;
    std::vector<Sprite> sprites_;
    std::vector<uchar> data_;
    std::vector<quint16> rowMasks_;
    quint32 drawing_ = 0;
    std::size_t used_ = 0;
    std::size_t usedBytes_ = 0;
    // The hashes of picture keys asked for in this drawing, by their low bits.
    std::vector<quint64> seen_;
};

} // namespace App
} // namespace Kav
