#pragma once

#include "kavhost_export.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <string>

namespace Kav {

// A byte string: what the host streams store as text. Holds any bytes, NUL included;
// conversions to and from QString are UTF-8.
class KAVHOST_EXPORT KString {
public:
    KString() = default;
    KString(char const* text) : bytes_(text ? text : "") {}
    KString(char const* data, std::size_t size) : bytes_(data, size) {}
    explicit KString(std::string bytes) : bytes_(std::move(bytes)) {}
    explicit KString(QByteArray const& bytes)
        : bytes_(bytes.constData(), static_cast<std::size_t>(bytes.size())) {}

    static KString fromQString(QString const& text) { return KString(text.toUtf8()); }
    QString toQString() const
    {
        return QString::fromUtf8(bytes_.data(), static_cast<int>(bytes_.size()));
    }
    QByteArray toByteArray() const
    {
        return QByteArray(bytes_.data(), static_cast<int>(bytes_.size()));
    }

    std::size_t size() const { return bytes_.size(); }
    bool isEmpty() const { return bytes_.empty(); }
    char const* data() const { return bytes_.data(); }
    char const* c_str() const { return bytes_.c_str(); }
    std::string const& str() const { return bytes_; }
    void clear() { bytes_.clear(); }
    void append(char const* data, std::size_t size) { bytes_.append(data, size); }
    KString& operator+=(KString const& other)
    {
        bytes_ += other.bytes_;
        return *this;
    }

    friend bool operator==(KString const& a, KString const& b) { return a.bytes_ == b.bytes_; }
    friend bool operator!=(KString const& a, KString const& b) { return a.bytes_ != b.bytes_; }
    friend bool operator<(KString const& a, KString const& b) { return a.bytes_ < b.bytes_; }

private:
    std::string bytes_;
};

} // namespace Kav
