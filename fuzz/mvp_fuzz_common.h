#pragma once
// What the fuzz targets share: one offscreen application with the library loaded the way a
// host loads it, a main window, a host session over a small scene, a dialog responder that
// never blocks, and a scratch directory for inputs that must be files.

#include "mcadcmd/kav_host_session.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace MvpFuzz {

// Brings everything up on the first call; later calls only answer the session.
Kav::MCADCmd::HostSession& setUp();

// A path in the scratch directory (which is also the user configuration level).
QString scratchPath(QString const& name);
// The user level's restore template store file.
QString storePath();

// Writes bytes to a scratch file (replacing it); aborts when that fails, since no input
// could be tested then.
QString writeScratch(QString const& name, QByteArray const& bytes);

// The scene of every script and restore run: n generated elements and one snapshot
// "Snapshot 1" of them, with an empty undo history.
void resetScene(unsigned int elements);

// The input as bytes, and as text (a replacement character for broken UTF-8).
inline QByteArray bytes(uint8_t const* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<char const*>(data), static_cast<int>(size));
}
inline QString text(uint8_t const* data, std::size_t size)
{
    return QString::fromUtf8(reinterpret_cast<char const*>(data), static_cast<int>(size));
}

// A broken promise of the code under test: prints it and aborts, so that the fuzzer keeps
// the input.
[[noreturn]] void violated(char const* what, QString const& details = QString());

} // namespace MvpFuzz
