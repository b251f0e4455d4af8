#pragma once
// The platform's one window, opened on SDL's dummy drivers for the whole suite, so the tests run
// without a display or a sound device, and with a settings directory of the suite's own.

#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace platform_tests {

class SdlWindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        configHome() = std::filesystem::temp_directory_path() /
                       ("zanbury-sdl-config-" + std::to_string(getpid()));
        std::filesystem::remove_all(configHome());
        setenv("XDG_CONFIG_HOME", configHome().c_str(), 1);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_TRUE(platform::openWindow("Zanbury test"));
    }
    static void TearDownTestSuite() {
        platform::closeWindow();
        std::filesystem::remove_all(configHome());
    }
    // Where the platform keeps the settings file: XDG_CONFIG_HOME for the suite.
    static std::filesystem::path& configHome() {
        static std::filesystem::path home;
        return home;
    }
    static std::filesystem::path settingsFile() { return configHome() / "zanbury/settings.conf"; }
};

} // namespace platform_tests
