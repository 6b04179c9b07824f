#pragma once
// Helpers for tests of Qt code: the test programs' main creates a
// QApplication (offscreen), and tests wait for asynchronous results by
// running its event loop.

#include <functional>

namespace vt::test {

// Processes Qt events until `done` returns true or `timeoutMs` has passed.
// Returns the last value of `done`.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// Processes Qt events for about `ms` milliseconds.
void PumpFor(int ms);

}  // namespace vt::test
