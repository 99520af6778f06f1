#pragma once
// Checks on the texts of errors, shared by the tests of the host's readers.

#include <QString>
#include <gtest/gtest.h>

#include <exception>

namespace MvpTest {

inline QString toText(char const* text)
{
    return QString::fromUtf8(text);
}
inline QString toText(QString const& text)
{
    return text;
}

// The text of the E that `call` throws; fails the test if it throws nothing or something else.
template <typename E, typename Call>
QString errorText(Call const& call)
{
    try {
        call();
    } catch (E const& e) {
        EXPECT_EQ(QString::fromStdString(e.what()), e.getText()) << "what() and getText() differ";
        return e.getText();
    } catch (std::exception const& e) {
        ADD_FAILURE() << "expected another exception, got: " << e.what();
        return QString();
    }
    ADD_FAILURE() << "expected an exception, nothing was thrown";
    return QString();
}

} // namespace MvpTest

#define EXPECT_CONTAINS(text, part)                                                                          \
    EXPECT_TRUE((text).contains(MvpTest::toText(part)))                                                      \
        << qPrintable(text) << "\n  should contain: " << qPrintable(MvpTest::toText(part))
