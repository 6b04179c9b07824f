#pragma once
// Hands what the scripted line posted to the window's message queue, as the
// line library's threads post it, and lets the window's event loop handle
// it (and what that posts in turn).

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "PhoneFixture.h"
#include "platform/MessageWindow.h"

namespace vantelo::pages::test {

inline void DeliverPosted(vantelo::test::ScriptLine& line, vt::MessageWindow& window) {
    for (int round = 0; round < 20 && !line.posted.empty(); ++round) {
        while (!line.posted.empty()) {
            const auto m = line.posted.front();
            line.posted.pop_front();
            EXPECT_TRUE(window.Post(m.message, 0, m.lParam));
        }
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

}  // namespace vantelo::pages::test
