#pragma once
// Little-endian byte writing for the file formats, and writing a whole file.

#include <cstdint>
#include <string>
#include <vector>

namespace artgen {

using Bytes = std::vector<uint8_t>;

inline void putU16(Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
inline void putU32(Bytes& out, uint32_t v) {
    putU16(out, v & 0xFFFF);
    putU16(out, v >> 16);
}
inline void putTag(Bytes& out, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(tag[i]));
    }
}

// Writes the bytes to path; false when the file cannot be written completely.
bool writeFile(const std::string& path, const Bytes& bytes);

} // namespace artgen
