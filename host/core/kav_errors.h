#pragma once

#include "kavhost_export.h"

#include <QString>
#include <QtGlobal>

#include <exception>
#include <string>

namespace Kav {

// Where a statement stands, as the compiler sees it; KAV_HERE fills it in.
struct KAVHOST_EXPORT SourcePlace {
    char const* function; // the compiler's signature (Q_FUNC_INFO)
    char const* file;     // the path of the source file
    int line;

    // The qualified name without return type or parameters: "Kav::MCADCmd::Scene::insertElement".
    QString functionName() const;
    // The file name without folder or extension: "kav_scene".
    QString sourceName() const;
};

// The place of the statement it stands in; raise sites pass it so that no name or line
// is typed by hand and goes stale.
#define KAV_HERE (::Kav::SourcePlace{Q_FUNC_INFO, __FILE__, __LINE__})

// A programming error: an operation called where it cannot work. Thrown by value.
class KAVHOST_EXPORT ProgError : public std::exception {
public:
    ProgError(QString const& function, QString const& source, int line, QString const& text);
    // Function, source and line from `place`: throw ProgError(KAV_HERE, text).
    ProgError(SourcePlace const& place, QString const& text);

    QString const& getFunction() const { return function_; }
    QString const& getSource() const { return source_; }
    int getLine() const { return line_; }
    QString const& getText() const { return text_; }
    // "function (source:line): text"
    QString getMessage() const;
    char const* what() const noexcept override { return what_.c_str(); }

private:
    QString function_;
    QString source_;
    int line_;
    QString text_;
    std::string what_;
};

// A malformed parameter string; the text says what is wrong and where.
class KAVHOST_EXPORT ParamError : public std::exception {
public:
    explicit ParamError(QString const& text);

    QString const& getText() const { return text_; }
    char const* what() const noexcept override { return what_.c_str(); }

private:
    QString text_;
    std::string what_;
};

} // namespace Kav
