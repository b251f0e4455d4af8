#pragma once
// The trace line: one line a main-loop pass with the game's state, the run's values, the
// skater, the sounds asked for in the pass and a hash of the picture presented. The simulator
// prints it and the game writes it with --trace, so that a session and its replay compare line
// for line.

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace trace {

// The longest trace line, its line break and terminator included.
inline constexpr std::size_t MaxLine = 512;

// The trace line of the pass just presented, without its line break, into `out`: `sounds` as
// given, the hash as `hash` (8 hex digits, or "-").
void format(char* out, std::size_t size, int64_t frame, const char* sounds, const char* hash);

// Writes the trace line of the pass just presented, with its line break: the sounds asked for
// since the last line (display::takeSoundsAsked) and the back buffer's hash, or hash=- when
// withHash is false. False when the line cannot be written.
bool write(std::FILE* out, int64_t frame, bool withHash);

} // namespace trace
