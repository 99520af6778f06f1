#pragma once
// A small tmpfs mounted on a temporary folder, to see what saving does on a full or a
// read-only file system. Mounting needs root (or the right capability): where it fails, the
// test using it is skipped.

#include "mvp_temp_dir.h"

#include <QFile>
#include <QString>
#include <gtest/gtest.h>

#include <sys/mount.h>

namespace MvpTest {

class SmallFileSystem {
public:
    // `kib` of space; read-only if asked.
    explicit SmallFileSystem(int kib, bool readOnly = false)
    {
        QByteArray const options = "size=" + QByteArray::number(kib) + "k";
        mounted_ = ::mount("tmpfs", QFile::encodeName(dir_.root()).constData(), "tmpfs",
                           readOnly ? static_cast<unsigned long>(MS_RDONLY) : 0UL, options.constData()) == 0;
    }
    ~SmallFileSystem()
    {
        if (mounted_)
            ::umount2(QFile::encodeName(dir_.root()).constData(), MNT_DETACH);
    }
    SmallFileSystem(SmallFileSystem const&) = delete;
    SmallFileSystem& operator=(SmallFileSystem const&) = delete;

    bool mounted() const { return mounted_; }
    QString path(QString const& name) const { return dir_.path(name); }

private:
    TempDir dir_;
    bool mounted_ = false;
};

} // namespace MvpTest

// Skips the test unless the file system could be mounted.
#define MVP_REQUIRE_MOUNTED(fs) \
    if (!(fs).mounted())        \
    GTEST_SKIP() << "cannot mount a tmpfs here"
