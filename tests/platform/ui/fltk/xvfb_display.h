#pragma once
// A private X server for tests of the desktop backend: Xvfb on a display number it
// picks itself, with DISPLAY pointing at it, stopped when the test program ends.
#include <string>

namespace testing_x {

// Starts Xvfb once per process; returns the reason when it cannot (no Xvfb).
std::string StartXvfb();

}  // namespace testing_x
