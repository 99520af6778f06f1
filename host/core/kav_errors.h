#pragma once

#include "kavhost_export.h"

#include <QString>

#include <exception>
#include <string>

namespace Kav {

// A programming error: an operation called where it cannot work. Thrown by value.
class KAVHOST_EXPORT ProgError : public std::exception {
public:
    ProgError(QString const& function, QString const& source, int line, QString const& text);

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
