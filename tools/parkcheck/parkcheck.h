#pragma once
// The park checker: reads a park list and every park file it names with the game's own readers,
// and reports each refusal as an error and, as warnings, what the game accepts but an author
// almost certainly did not mean. Used by zanbury-parkcheck and its tests.

#include "park/readers.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace parkcheck {

enum class Severity { Warning, Error };

struct Finding {
    Severity severity = Severity::Warning;
    std::string file; // the path as the checker was given it, e.g. "data/parks.txt"
    int32_t line = 0; // 1-based; 0 when the problem concerns the file as a whole
    std::string message;
};

// The path of `name` in `dir` as the findings give it: the bare name in the current directory.
std::string pathIn(const std::string& dir, const std::string& name);

// The frame in which an obstacle leaves the screen (its x first drops below -width), assuming
// that it enters when due, in frame max(startFrame + 1, 1). Empty when its active span ends
// first: it then stops in mid-screen and never leaves.
std::optional<int64_t> retirementFrame(const park::Obstacle& o);

// Warnings about one park that the game's reader accepted: among them a park length below 1 and
// text after the records that the count promises, which the game does not read. `fileName` names it
// in the findings; the lines come from `park.recordLine`.
std::vector<Finding> checkPark(const park::ParkFile& park, const std::string& fileName);

// Checks `dir`/parks.txt and every park file that it names, in list order: each refusal of the
// readers is an error, then come the warnings of checkPark for every park that was read. Names
// after the promised count are a warning; a park file that ends early also has an error at the
// first line holding fewer numbers than a record.
std::vector<Finding> checkDirectory(const std::string& dir);

// The obstacle pictures of the sprite sheet as a table for park authors, one line a picture
// after a heading, numbered from 1 in the atlas's order: the name, the rectangle in the order a
// park file gives it (top, left, bottom, right), the size and the y that stands it on the
// ground line.
std::string pictureCatalogue();

// "FILE:LINE: warning: MESSAGE" or "FILE: error: MESSAGE" when the finding has no line.
std::string formatFinding(const Finding& finding);

// The program's exit status: 0 with no findings, 1 with warnings only, 2 with any error.
int exitStatus(const std::vector<Finding>& findings);

} // namespace parkcheck
