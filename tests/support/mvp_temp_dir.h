#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace MvpTest {

// "A|B C" as the list {"A", "B C"}; "" as the empty list.
inline QStringList words(char const* text)
{
    return QString::fromUtf8(text).split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

// A fresh directory per test, removed afterwards.
class TempDir {
public:
    TempDir() { EXPECT_TRUE(dir_.isValid()); }
    QString path(QString const& name) const { return dir_.filePath(name); }
    QString root() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

inline QByteArray readAll(QString const& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

inline bool writeAll(QString const& path, QByteArray const& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

} // namespace MvpTest
