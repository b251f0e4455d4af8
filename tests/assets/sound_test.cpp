// The two sounds on the committed files: the exact RIFF WAVE layout the game plays, and
// sample data that is loud enough, never clips, dies away and starts and ends on silence.

#include "tests/assets/asset_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

using assettest::readBytes;
using assettest::tagAt;
using assettest::u16At;
using assettest::u32At;

struct Expected {
    const char* file;
    uint32_t frames;
    std::size_t fileSize;
};

const Expected sounds[] = {{"hit.wav", 9267, 37126}, {"smack.wav", 5573, 22350}};

TEST(SoundFiles, HaveTheExactChunkLayout) {
    for (const Expected& e : sounds) {
        SCOPED_TRACE(e.file);
        const std::vector<uint8_t> b = readBytes(assettest::assetPath(e.file));
        ASSERT_EQ(b.size(), e.fileSize);
        EXPECT_EQ(tagAt(b, 0), "RIFF");
        EXPECT_EQ(u32At(b, 4), b.size() - 8);
        EXPECT_EQ(tagAt(b, 8), "WAVE");
        EXPECT_EQ(tagAt(b, 12), "fmt ");
        EXPECT_EQ(u32At(b, 16), 18u);
        EXPECT_EQ(u16At(b, 20), 1u); // PCM
        EXPECT_EQ(u16At(b, 22), 2u);
        EXPECT_EQ(u32At(b, 24), 44100u);
        EXPECT_EQ(u32At(b, 28), 176400u);
        EXPECT_EQ(u16At(b, 32), 4u);
        EXPECT_EQ(u16At(b, 34), 16u);
        EXPECT_EQ(u16At(b, 36), 0u); // cbSize
        EXPECT_EQ(tagAt(b, 38), "fact");
        EXPECT_EQ(u32At(b, 42), 4u);
        EXPECT_EQ(u32At(b, 46), e.frames);
        EXPECT_EQ(tagAt(b, 50), "data");
        EXPECT_EQ(u32At(b, 54), e.frames * 4);
        EXPECT_EQ(58 + e.frames * 4, b.size());
    }
}

int sampleAt(const std::vector<uint8_t>& b, std::size_t index) {
    return static_cast<int16_t>(u16At(b, 58 + index * 2));
}

TEST(SoundFiles, AreShortCleanHits) {
    for (const Expected& e : sounds) {
        SCOPED_TRACE(e.file);
        const std::vector<uint8_t> b = readBytes(assettest::assetPath(e.file));
        ASSERT_EQ(b.size(), e.fileSize);
        const std::size_t samples = e.frames * 2;
        int peak = 0;
        for (std::size_t i = 0; i < samples; ++i) {
            peak = std::max(peak, std::abs(sampleAt(b, i)));
        }
        EXPECT_LT(peak, 32767) << "clipped";
        EXPECT_GT(peak, 12000) << "too quiet to hear over the game";
        // Silence at both ends, so starting or cutting off the sound does not click.
        EXPECT_EQ(sampleAt(b, 0), 0);
        EXPECT_EQ(sampleAt(b, 1), 0);
        EXPECT_EQ(sampleAt(b, samples - 2), 0);
        EXPECT_EQ(sampleAt(b, samples - 1), 0);
        // A hit dies away: the last tenth is far quieter than the first.
        auto energy = [&](std::size_t from, std::size_t to) {
            double sum = 0;
            for (std::size_t i = from; i < to; ++i) {
                sum += static_cast<double>(sampleAt(b, i)) * sampleAt(b, i);
            }
            return sum / static_cast<double>(to - from);
        };
        const std::size_t tenth = samples / 10;
        EXPECT_GT(energy(0, tenth), 50 * energy(samples - tenth, samples));
        // Both channels carry the sound.
        double left = 0;
        double right = 0;
        for (std::size_t i = 0; i < samples; i += 2) {
            left += std::abs(sampleAt(b, i));
            right += std::abs(sampleAt(b, i + 1));
        }
        EXPECT_GT(left, 0.5 * right);
        EXPECT_GT(right, 0.5 * left);
    }
}

} // namespace
