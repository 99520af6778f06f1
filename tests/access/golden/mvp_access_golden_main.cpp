// Writes the golden access streams into a directory (tests/data/access):
//   mvp_access_golden <directory>
#include "mvp_access_golden.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    QDir const dir(QString::fromLocal8Bit(argv[1]));
    try {
        for (MvpGolden::GoldenFile const& f : MvpGolden::goldenFiles()) {
            QFile file(dir.filePath(f.name));
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(f.bytes) != f.bytes.size()) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
                return 1;
            }
            std::printf("%s (%d bytes)\n", qPrintable(f.name), static_cast<int>(f.bytes.size()));
        }
    } catch (std::exception const& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
