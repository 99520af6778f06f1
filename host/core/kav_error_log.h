#pragma once

#include "kavhost_export.h"

#include <QString>
#include <QStringList>

namespace Kav {

// Ends one entry of an ErrorLog.
struct EndLog {};
inline constexpr EndLog END_LOG{};

// Collects error details for the user, entry by entry. Text is appended to the open entry
// until END_LOG closes it.
class KAVHOST_EXPORT ErrorLog {
public:
    // With echo, every finished entry is also written to stderr.
    explicit ErrorLog(bool echo = false) : echo_(echo) {}

    ErrorLog& operator<<(QString const& text);
    ErrorLog& operator<<(char const* text);
    ErrorLog& operator<<(int value);
    ErrorLog& operator<<(unsigned int value);
    ErrorLog& operator<<(double value);
    ErrorLog& operator<<(EndLog);

    // Finished entries, one per line, and the open entry, if any, after them.
    QString getLog() const;
    QStringList const& getEntries() const { return entries_; }
    bool isEmpty() const { return entries_.isEmpty() && current_.isEmpty(); }
    void clear();

private:
    bool echo_;
    QStringList entries_;
    QString current_;
};

} // namespace Kav
