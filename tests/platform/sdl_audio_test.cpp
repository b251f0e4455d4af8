// The SDL platform's sounds on SDL's dummy audio driver: a sound registered while the device is
// open plays, and so does one registered before the device opened (the page opens its device
// only after the first picture), converted when it opens.

#include "platform/platform.h"
#include "platform/sdl/diagnostics.h"
#include "platform/sdl/sdl_state.h"
#include "tests/platform/sdl_window_fixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// A WAV file of `frames` frames of 8-bit mono at 11025 Hz, unlike the device's format.
std::vector<uint8_t> wavFile(uint32_t frames) {
    std::vector<uint8_t> wav(44 + frames, 0x80);
    auto put32 = [&wav](std::size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            wav[at + i] = static_cast<uint8_t>(value >> (8 * i));
        }
    };
    std::memcpy(wav.data(), "RIFF", 4);
    put32(4, 36 + frames);
    std::memcpy(wav.data() + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put32(20, 1 | (1u << 16)); // PCM, one channel
    put32(24, 11025);
    put32(28, 11025);
    put32(32, 1 | (8u << 16)); // one byte a frame, 8 bits
    std::memcpy(wav.data() + 36, "data", 4);
    put32(40, frames);
    for (uint32_t i = 0; i < frames; ++i) {
        wav[44 + i] = static_cast<uint8_t>(i % 64 < 32 ? 0x40 : 0xc0);
    }
    return wav;
}

using SdlAudioTest = platform_tests::SdlWindowTest;

TEST_F(SdlAudioTest, ASoundPlaysWhetherRegisteredBeforeOrAfterTheDeviceOpened) {
    const std::vector<uint8_t> wav = wavFile(11025); // a second
    platform::detail::stopSounds();
    const int open = platform::registerSound("open", wav.data(), wav.size());
    platform::playSound(open);
    // A second at the device's rate and format is far more than the few callbacks' worth the
    // dummy device can have taken by now.
    EXPECT_GT(platform::queuedSoundBytes(), 11025u);

    platform::detail::closeAudio();
    const int before = platform::registerSound("before", wav.data(), wav.size());
    EXPECT_EQ(platform::queuedSoundBytes(), 0u); // no device
    platform::detail::openAudio();
    platform::playSound(before);
    EXPECT_GT(platform::queuedSoundBytes(), 11025u);
}

} // namespace
