#pragma once

#include "gtools/kav_dialog_responder.h"

#include <gtest/gtest.h>

namespace MvpTest {

// Answers every host dialog for the scope of a test from a script. A dialog the script did not
// expect fails the test at once (and is answered Rejected / no) instead of blocking on a
// window; answers left unused fail it when the guard goes.
class ResponderGuard {
public:
    ResponderGuard() : previous_(Kav::GTools::dialogResponder())
    {
        responder_.setOnUnexpected([](Kav::GTools::DialogRequest const& request) {
            ADD_FAILURE() << "unexpected dialog: "
                          << Kav::GTools::describeRequest(request).toStdString();
        });
        Kav::GTools::setDialogResponder(&responder_);
    }
    ~ResponderGuard()
    {
        Kav::GTools::setDialogResponder(previous_);
        EXPECT_EQ(responder_.pending(), 0) << "scripted dialog answers were not used";
    }
    ResponderGuard(ResponderGuard const&) = delete;
    ResponderGuard& operator=(ResponderGuard const&) = delete;

    Kav::GTools::ScriptedResponder& responder() { return responder_; }
    Kav::GTools::ScriptedResponder* operator->() { return &responder_; }

private:
    Kav::GTools::DialogResponder* previous_;
    Kav::GTools::ScriptedResponder responder_;
};

} // namespace MvpTest
