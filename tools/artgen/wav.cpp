#include "tools/artgen/wav.h"

namespace artgen {

Bytes encodeWav(const std::vector<Frame>& frames) {
    const uint32_t channels = 2;
    const uint32_t blockAlign = channels * 2;
    const uint32_t dataSize = static_cast<uint32_t>(frames.size()) * blockAlign;
    const uint32_t fmtSize = 18;
    const uint32_t riffSize = 4 + (8 + fmtSize) + (8 + 4) + (8 + dataSize);

    Bytes out;
    out.reserve(8 + riffSize);
    putTag(out, "RIFF");
    putU32(out, riffSize);
    putTag(out, "WAVE");

    putTag(out, "fmt ");
    putU32(out, fmtSize);
    putU16(out, 1); // PCM
    putU16(out, channels);
    putU32(out, SampleRate);
    putU32(out, SampleRate * blockAlign);
    putU16(out, blockAlign);
    putU16(out, 16);
    putU16(out, 0); // cbSize: no extra format bytes

    putTag(out, "fact");
    putU32(out, 4);
    putU32(out, static_cast<uint32_t>(frames.size()));

    putTag(out, "data");
    putU32(out, dataSize);
    for (const Frame& f : frames) {
        putU16(out, static_cast<uint16_t>(f.left));
        putU16(out, static_cast<uint16_t>(f.right));
    }
    return out;
}

} // namespace artgen
