#pragma once
// The platform's one window, opened on SDL's dummy drivers for the whole suite, so the tests run
// without a display or a sound device.

#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace platform_tests {

class SdlWindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_TRUE(platform::openWindow("Zanbury test"));
    }
    static void TearDownTestSuite() { platform::closeWindow(); }
};

} // namespace platform_tests
