#pragma once
#include "kavhost_export.h"
#include <QtGlobal>

namespace Kav {
class ErrorLog;
namespace IO {
class OutStream;
class InStream;
} // namespace IO
namespace CAD {

enum DisplayMode_t { DISPLAY_SHADED = 0, DISPLAY_WIREFRAME = 1, DISPLAY_POINTS = 2, DISPLAY_MODE_COUNT = 3 };

// How an element is drawn. The first two one-byte members are the interaction state; a
// restore keeps them from the element and takes the rest from the snapshot.
struct KAVHOST_EXPORT ElemProp {
    quint8 selected = 0;
    quint8 highlighted = 0;
    quint32 color = 0x808080;   // 0xRRGGBB
    double transparency = 0.0;  // 0 opaque .. 1 invisible
    double pointSize = 3.0;
    double lineWidth = 1.0;
    quint32 displayMode = DISPLAY_SHADED;

    // One block. Both answer false and append the reason to `log` (when given) on failure;
    // loadStream leaves the object unchanged then. The two ints are reserved (-1).
    bool saveStream(IO::OutStream* out, ErrorLog* log, int, int) const;
    bool loadStream(IO::InStream* in, ErrorLog* log, int, int);

    bool operator==(ElemProp const& o) const;
    bool operator!=(ElemProp const& o) const { return !(*this == o); }
};

// The older, smaller form of the visual properties: colour and transparency only.
class KAVHOST_EXPORT DefaultProperties {
public:
    DefaultProperties() = default;
    DefaultProperties(quint32 color, double transparency) : color_(color), transparency_(transparency) {}
    virtual ~DefaultProperties() = default;
    DefaultProperties(DefaultProperties const&) = default;
    DefaultProperties& operator=(DefaultProperties const&) = default;

    virtual bool saveStream(IO::OutStream* out, ErrorLog* log, int, int) const;
    virtual bool loadStream(IO::InStream* in, ErrorLog* log, int, int);

    quint32 getColor() const { return color_; }
    double getTransparency() const { return transparency_; }
    void setColor(quint32 c) { color_ = c; }
    void setTransparency(double t) { transparency_ = t; }
    bool operator==(DefaultProperties const& o) const
    {
        return color_ == o.color_ && transparency_ == o.transparency_;
    }

private:
    quint32 color_ = 0x808080;
    double transparency_ = 0.0;
};

} // namespace CAD
} // namespace Kav
