#pragma once
// Private to the parameter strings: the scanner that checks a whole string and notes its
// top-level entries, and the pieces the readers and the writer share.

#include "core/kav_errors.h"

#include <QString>
#include <QStringList>

namespace Kav {
namespace ParseDetail {

QString say(char const* text);
QString number(int value);
// Values end up in error texts; they may be megabytes long.
QString shown(QString const& text);
QString shownChar(QChar c);
bool isKeyChar(QChar c);
// ProgError unless the key follows the key rule.
void checkKey(QString const& key, SourcePlace const& place);

enum class Kind { String, List, Group };

QString kindName(Kind kind);

struct Entry {
    int begin = 0;      // first character of the key
    int keyLength = 0;
    int valueBegin = 0; // the opening quote, bracket or brace
    int valueEnd = 0;   // one past the closing one
    Kind kind = Kind::String;
};

struct ScanResult {
    bool any = false;
    Entry first;        // the first top-level entry
    bool found = false;
    Entry match;        // the first top-level entry with the wanted key
    int removeEnd = 0;  // end of the match plus the white space after it
};

ScanResult scan(QString const& params, QString const* wanted);

// The decoders only see text the scanner has accepted.
// `pos` is at the opening quote and ends up past the closing one.
QString decodeString(QChar const* d, int& pos);
QStringList decodeList(QChar const* d, int pos);

struct Match {
    Entry entry;
    int removeEnd = 0;
};

// The first top-level entry with the key; ParamError if it is missing or of another kind.
Match find(QString const& params, QString const& key, Kind kind);
void take(QString& params, Match const& m);

// Reads a string entry and converts it; the entry is removed only if that succeeds.
template <typename Convert>
auto takeString(QString& params, QString const& key, Convert convert)
    -> decltype(convert(QString()))
{
    Match const m = find(params, key, Kind::String);
    int pos = m.entry.valueBegin;
    auto value = convert(decodeString(params.constData(), pos));
    take(params, m);
    return value;
}

// The text between double quotes with ", \, new line and tab escaped.
QString quoted(QString const& text);

} // namespace ParseDetail
} // namespace Kav
