#pragma once

#include "kavhost_export.h"

#include <QString>
#include <QStringList>

// Parameter strings: the text the macro scripts pass to operations.
//
//   params  = { space | entry }
//   entry   = key [space] "=" [space] value
//   key     = one or more of A-Z a-z 0-9 _ . -
//   value   = string | list | group
//   string  = '"' { any character | \" | \\ | \n | \t } '"'
//   list    = "[" [space] [ string { [space] "," [space] string } [space] ] "]"
//   group   = "{" params "}"
//
// Every value ends itself, so entries need nothing between them. Numbers and bools are
// strings. Groups nest at most maxGroupDepth deep.
//
// Every reader scans the whole string before it answers or changes anything, so broken
// syntax anywhere (also after the entry asked for, also inside groups) throws ParamError
// and leaves `params` as it was. Positions in error texts count UTF-16 code units from 0.
//
// The getX readers take the first top-level entry with the key (entries in groups are
// not top-level), check its kind and remove it from `params` together with the white
// space after it; the rest stays untouched and is still a valid parameter string.
//
// Keys passed in by the caller must follow the key rule above, else ProgError.
namespace Kav {

// A class of static functions rather than a namespace: commands derive from it, so their
// code reaches the readers and writers unqualified.
class KAVHOST_EXPORT Parse {
public:
    static constexpr int maxGroupDepth = 64;

    // key="text" with ", \, new line and tab escaped.
    static QString createString(QString const& key, QString const& value);
    static QString getString(QString& params, QString const& key);

    // key=["a", "b"]
    static QString createStringVector(QString const& key, QStringList const& values);
    // Throws ParamError unless least <= count <= most.
    static QStringList getStringVector(QString& params, QString const& key,
                                       unsigned int least, unsigned int most);

    // A string holding a path, kept as written.
    static QString createFile(QString const& key, QString const& path);
    static QString getFile(QString& params, QString const& key);

    // Throws ParamError naming the first entry left; empty or white space only is fine.
    static void checkEmptyParameters(QString const& params);

    // key={content}. The content must itself be a valid parameter string, else ParamError.
    static QString createGroup(QString const& key, QString const& content);
    // The text between the braces, exactly as written.
    static QString getGroup(QString& params, QString const& key);

    // Is there a top-level entry with the key? Throws ParamError on broken syntax.
    static bool hasKey(QString const& params, QString const& key);

    // "0" or "1"; nothing else is read as a bool.
    static QString createBool(QString const& key, bool value);
    static bool getBool(QString& params, QString const& key);

    // Plain decimal digits, no sign or white space.
    static QString createUInt(QString const& key, unsigned int value);
    static unsigned int getUInt(QString& params, QString const& key);

    // The value as numberText() writes it (core/kav_text.h): it reads back exactly.
    static QString createDouble(QString const& key, double value);
    static double getDouble(QString& params, QString const& key);
};

} // namespace Kav
