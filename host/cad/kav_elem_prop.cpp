#include "cad/kav_elem_prop.h"

#include "core/kav_error_log.h"
#include "core/kav_limits.h"
#include "io/kav_stream.h"

#include <cmath>

namespace Kav {
namespace CAD {

namespace {

constexpr unsigned int ELEM_PROP_VERSION = 1;
constexpr unsigned int ELEM_PROP_SIZE = 2 * IO::Stream::SizeBool + 2 * IO::Stream::SizeUInt + 3 * IO::Stream::SizeDouble;
constexpr unsigned int DEFAULT_PROP_VERSION = 1;
constexpr unsigned int DEFAULT_PROP_SIZE = IO::Stream::SizeUInt + IO::Stream::SizeDouble;

void note(ErrorLog* log, QString const& text)
{
    if (log != nullptr)
        *log << text << END_LOG;
}

bool validTransparency(double t)
{
    return std::isfinite(t) && t >= 0.0 && t <= 1.0;
}

// The block is left at its end whatever happened inside, so the caller's stream stays usable.
void leaveBlock(IO::InStream* in, int depth)
{
    try {
        while (in->getBlockDepth() > depth)
            in->closeBlock();
    } catch (IO::StreamException const&) {
    }
}

} // namespace

bool ElemProp::saveStream(IO::OutStream* out, ErrorLog* log, int, int) const
{
    if (out == nullptr) {
        note(log, QStringLiteral("element properties: no stream to save to"));
        return false;
    }
    try {
        out->beginBlock(ELEM_PROP_SIZE, ELEM_PROP_VERSION);
        out->writeBool(selected != 0);
        out->writeBool(highlighted != 0);
        out->writeUInt(color);
        out->writeDouble(transparency);
        out->writeDouble(pointSize);
        out->writeDouble(lineWidth);
        out->writeUInt(displayMode);
        out->endBlock();
    } catch (IO::StreamException const& e) {
        note(log, QStringLiteral("element properties: ") + e.getText());
        return false;
    }
    return true;
}

bool ElemProp::loadStream(IO::InStream* in, ErrorLog* log, int, int)
{
    if (in == nullptr) {
        note(log, QStringLiteral("element properties: no stream to load from"));
        return false;
    }
    int const depth = in->getBlockDepth();
    try {
        in->openBlock();
        unsigned int const version = in->getBlockVersion();
        if (version != ELEM_PROP_VERSION) {
            note(log, QStringLiteral("element properties: unsupported block version %1").arg(version));
            leaveBlock(in, depth);
            return false;
        }
        ElemProp p;
        p.selected = in->readBool() ? 1 : 0;
        p.highlighted = in->readBool() ? 1 : 0;
        p.color = in->readUInt();
        p.transparency = in->readDouble();
        p.pointSize = in->readDouble();
        p.lineWidth = in->readDouble();
        p.displayMode = in->readUInt();
        in->closeBlock();
        QString bad;
        if (p.color > 0xFFFFFFu)
            bad = QStringLiteral("colour %1 is not an RGB value").arg(p.color);
        else if (!validTransparency(p.transparency))
            bad = QStringLiteral("transparency %1 is outside 0..1").arg(p.transparency);
        else if (!Limits::PIXEL_SIZE.contains(p.pointSize))
            bad = QStringLiteral("point size %1 is outside %2..%3").arg(p.pointSize).arg(Limits::PIXEL_SIZE.min).arg(Limits::PIXEL_SIZE.max);
        else if (!Limits::PIXEL_SIZE.contains(p.lineWidth))
            bad = QStringLiteral("line width %1 is outside %2..%3").arg(p.lineWidth).arg(Limits::PIXEL_SIZE.min).arg(Limits::PIXEL_SIZE.max);
        else if (p.displayMode >= DISPLAY_MODE_COUNT)
            bad = QStringLiteral("display mode %1 is unknown").arg(p.displayMode);
        if (!bad.isEmpty()) {
            note(log, QStringLiteral("element properties: ") + bad);
            return false;
        }
        *this = p;
    } catch (IO::StreamException const& e) {
        note(log, QStringLiteral("element properties: ") + e.getText());
        leaveBlock(in, depth);
        return false;
    }
    return true;
}

bool ElemProp::operator==(ElemProp const& o) const
{
    return selected == o.selected && highlighted == o.highlighted && color == o.color &&
           transparency == o.transparency && pointSize == o.pointSize && lineWidth == o.lineWidth &&
           displayMode == o.displayMode;
}

bool DefaultProperties::saveStream(IO::OutStream* out, ErrorLog* log, int, int) const
{
    if (out == nullptr) {
        note(log, QStringLiteral("default properties: no stream to save to"));
        return false;
    }
    try {
        out->beginBlock(DEFAULT_PROP_SIZE, DEFAULT_PROP_VERSION);
        out->writeUInt(color_);
        out->writeDouble(transparency_);
        out->endBlock();
    } catch (IO::StreamException const& e) {
        note(log, QStringLiteral("default properties: ") + e.getText());
        return false;
    }
    return true;
}

bool DefaultProperties::loadStream(IO::InStream* in, ErrorLog* log, int, int)
{
    if (in == nullptr) {
        note(log, QStringLiteral("default properties: no stream to load from"));
        return false;
    }
    int const depth = in->getBlockDepth();
    try {
        in->openBlock();
        unsigned int const version = in->getBlockVersion();
        if (version != DEFAULT_PROP_VERSION) {
            note(log, QStringLiteral("default properties: unsupported block version %1").arg(version));
            leaveBlock(in, depth);
            return false;
        }
        quint32 const color = in->readUInt();
        double const transparency = in->readDouble();
        in->closeBlock();
        if (color > 0xFFFFFFu || !validTransparency(transparency)) {
            note(log, QStringLiteral("default properties: colour or transparency out of range"));
            return false;
        }
        color_ = color;
        transparency_ = transparency;
    } catch (IO::StreamException const& e) {
        note(log, QStringLiteral("default properties: ") + e.getText());
        leaveBlock(in, depth);
        return false;
    }
    return true;
}

} // namespace CAD
} // namespace Kav
