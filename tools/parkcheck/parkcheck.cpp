#include "tools/parkcheck/parkcheck.h"

#include "display/atlas.h"
#include "park/park.h"
#include "platform/platform.h"
#include "skater/skater.h"
#include "tools/common/common.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string_view>

namespace parkcheck {
namespace {

// The game's own numbers, widened: a park's numbers may reach the ends of the 32-bit range.
constexpr int64_t ScreenWidth = platform::ScreenWidth;
constexpr int64_t ScreenRows = platform::ScreenHeight;
constexpr int64_t Speed = park::ObstacleSpeed;
constexpr int32_t WindowPlaces = park::WindowSpan + 1;
constexpr int64_t GroundRow = GroundLine;

// A refusal of the readers as an error finding, its file, line and what kept as they are.
Finding readerError(const park::Problem& problem) {
    return Finding{Severity::Error, problem.file, problem.line, problem.what};
}

std::string rectText(const Rect& r) {
    return "(left " + std::to_string(r.left) + ", top " + std::to_string(r.top) + ", right " +
           std::to_string(r.right) + ", bottom " + std::to_string(r.bottom) + ")";
}

bool inSheet(const Rect& r) {
    return 0 <= r.left && r.left < r.right && r.right <= atlas::SheetWidth && 0 <= r.top &&
           r.top < r.bottom && r.bottom <= atlas::SheetHeight;
}

bool within(const Rect& inner, const Rect& outer) {
    return outer.left <= inner.left && inner.right <= outer.right && outer.top <= inner.top &&
           inner.bottom <= outer.bottom;
}

// A picture is meant when it is a cell's whole inside, or that inside without its last column
// or row, as the atlas trims most of its own pictures.
bool matchesCell(const Rect& src, const Rect& cell) {
    return src.left == cell.left && src.top == cell.top &&
           (src.right == cell.right || src.right == cell.right - 1) &&
           (src.bottom == cell.bottom || src.bottom == cell.bottom - 1);
}

// Says what is wrong with the picture, or "" when it is one of the obstacle pictures.
std::string pictureProblem(const Rect& src) {
    if (!inSheet(src)) {
        if (src.empty()) {
            return "the picture " + rectText(src) + " is empty";
        }
        return "the picture " + rectText(src) + " does not lie within the " +
               std::to_string(atlas::SheetWidth) + " x " + std::to_string(atlas::SheetHeight) +
               " sprite sheet";
    }
    for (const atlas::ObstaclePicture& p : atlas::ObstaclePictures) {
        if (matchesCell(src, p.cell)) {
            return "";
        }
    }
    for (const atlas::ObstaclePicture& p : atlas::ObstaclePictures) {
        if (within(src, p.cell)) {
            return "the picture " + rectText(src) + " shows only part of the " + p.name +
                   " picture " + rectText(p.cell);
        }
    }
    return "the picture " + rectText(src) + " is none of the sprite sheet's obstacle pictures";
}

int64_t floorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int64_t entersAt(const park::Obstacle& o) {
    return std::max<int64_t>(int64_t{o.startFrame} + 1, 1);
}

bool appears(const park::Obstacle& o, int64_t length) {
    return o.startFrame < length && park::activeSpanEnd(o) > entersAt(o);
}

// Whether obstacle `i` rests on another: one whose top is its bottom and whose columns meet its
// own on the screen. Both enter when due and move alike, so their columns keep the distance of
// 4 pixels for each frame between their entries.
bool restsOnAnother(const park::ParkFile& park, int32_t count, int32_t i) {
    const park::Obstacle& o = park.records[i];
    const int64_t bottom = int64_t{o.y} + o.src.height();
    for (int32_t j = 0; j < count; ++j) {
        const park::Obstacle& under = park.records[j];
        const int64_t offset = Speed * (entersAt(o) - entersAt(under));
        if (j != i && under.y == bottom && appears(under, park.parkLength) &&
            offset < under.src.width() && -offset < o.src.width()) {
            return true;
        }
    }
    return false;
}

// Says where an obstacle hangs or sinks, or "" when it stands on the ground line, rests on
// another obstacle or is high enough for the skater to pass under it, standing or at the top
// of a jump from the ground. A park may mean it, so this is only a warning.
std::string footingProblem(const park::ParkFile& park, int32_t count, int32_t i) {
    const park::Obstacle& o = park.records[i];
    const int64_t bottom = int64_t{o.y} + o.src.height();
    const std::string fix =
        "; y " + std::to_string(GroundRow - o.src.height()) + " stands it on the ground";
    if (bottom > GroundRow) {
        return "it sinks " + std::to_string(bottom - GroundRow) +
               " rows into the ground (its picture ends at row " + std::to_string(bottom - 1) +
               ", the ground line is row " + std::to_string(GroundRow) + ")" + fix;
    }
    const Rect skater = standingBox();
    const int32_t jumpTop = skater.top - JumpRiseFrames * RiseStep;
    if (bottom == GroundRow || bottom <= jumpTop || restsOnAnother(park, count, i)) {
        return "";
    }
    return "it hangs " + std::to_string(GroundRow - bottom) +
           " rows above the ground line on no other obstacle, low enough to meet the skater "
           "there standing or jumping (rows " +
           std::to_string(jumpTop) + " to " + std::to_string(skater.bottom - 1) + ")" + fix;
}

std::string obstacleName(int32_t index, const park::ParkFile& park) {
    return "obstacle " + std::to_string(index + 1) + " (line " +
           std::to_string(park.recordLine[index]) + ")";
}

// For a park file that ends early: the first line after the park length that holds fewer numbers
// than a record, where a number was most likely left out. Empty when every line holds a whole
// record or more (the records are then laid out otherwise).
std::optional<Finding> shortRecordLine(std::string_view text, const park::ParkFile& partial,
                                       const std::string& fileName) {
    if (partial.lengthLine < 1) {
        return std::nullopt;
    }
    int32_t line = 1;
    for (std::size_t start = 0; start < text.size(); ++line) {
        std::size_t end = std::min(text.find('\n', start), text.size());
        if (line > partial.lengthLine) {
            std::istringstream words{std::string(text.substr(start, end - start))};
            int32_t count = 0;
            for (std::string word; words >> word;) {
                ++count;
            }
            if (count > 0 && count < 7) {
                return Finding{Severity::Error, fileName, line,
                               "this line holds " + std::to_string(count) +
                                   (count == 1 ? " number" : " numbers") +
                                   ", fewer than the 7 of a record: is one missing here?"};
            }
        }
        start = end + 1;
    }
    return std::nullopt;
}

} // namespace

std::string pathIn(const std::string& dir, const std::string& name) {
    if (dir.empty() || dir == ".") {
        return name;
    }
    return (std::filesystem::path(dir) / name).string();
}

std::optional<int64_t> retirementFrame(const park::Obstacle& o) {
    // In its n-th active frame the obstacle stands at x = 640 - 4n; it retires in the first
    // such frame with x < -width.
    const int64_t n = std::max<int64_t>(floorDiv(ScreenWidth + o.src.width(), Speed) + 1, 1);
    const int64_t retires = entersAt(o) + n - 1;
    if (retires >= park::activeSpanEnd(o)) {
        return std::nullopt;
    }
    return retires;
}

std::vector<Finding> checkPark(const park::ParkFile& park, const std::string& fileName) {
    std::vector<Finding> findings;
    const int32_t count = std::clamp(park.obstacleCount, 0, park::MaxObstacles);
    const int64_t length = park.parkLength;
    auto warn = [&](int32_t index, const std::string& message) {
        findings.push_back({Severity::Warning, fileName, park.recordLine[index],
                            "obstacle " + std::to_string(index + 1) + ": " + message});
    };

    std::vector<std::optional<int64_t>> retires(static_cast<std::size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        retires[i] = retirementFrame(park.records[i]);
    }

    if (park.parkLength < 1) {
        findings.push_back({Severity::Warning, fileName, park.lengthLine,
                            "the park length is " + std::to_string(park.parkLength) +
                                ": the park ends in its first frame"});
    }
    if (park.trailingLine > 0) {
        findings.push_back({Severity::Warning, fileName, park.trailingLine,
                            "the file goes on after the " + std::to_string(count) + " obstacle" +
                                (count == 1 ? "" : "s") +
                                " its count promises; the game does not read this: "
                                "raise the count to add obstacles"});
    }

    for (int32_t i = 0; i < count; ++i) {
        const park::Obstacle& o = park.records[i];
        if (std::string problem = pictureProblem(o.src); !problem.empty()) {
            warn(i, problem);
        }
        if (!park::isObstacleKind(o.kind)) {
            warn(i, "the kind " + std::to_string(o.kind) + " is not " + tools::kindList() +
                        ": the skater passes through it");
        }
        const int64_t bottomRow = int64_t{o.y} + o.src.height() - 1;
        const bool onScreen = o.y >= 0 && bottomRow < ScreenRows;
        if (!onScreen) {
            warn(i, "its picture covers rows " + std::to_string(o.y) + " to " +
                        std::to_string(bottomRow) + ", " +
                        (o.y < 0 ? "above row 0" : "below row 479") +
                        ": it is never drawn, yet the skater still meets it");
        }
        if (park::activeSpanEnd(o) <= entersAt(o)) {
            warn(i, "with the start frame " + std::to_string(o.startFrame) +
                        " its active span ends at frame " + std::to_string(park::activeSpanEnd(o)) +
                        ", before the park's first frame: it never appears");
            continue;
        }
        if (o.startFrame >= length) {
            warn(i, "it starts at frame " + std::to_string(o.startFrame) +
                        ", but the park ends at frame " + std::to_string(length) +
                        ": it never appears");
            continue;
        }
        if (onScreen && park::isObstacleKind(o.kind)) {
            if (std::string problem = footingProblem(park, count, i); !problem.empty()) {
                warn(i, problem);
            }
        }
        if (!retires[i] && park::activeSpanEnd(o) <= length && o.src.width() > 0) {
            const int64_t x = ScreenWidth - Speed * (park::activeSpanEnd(o) - entersAt(o));
            warn(i, "it is active only up to frame " + std::to_string(park::activeSpanEnd(o) - 1) +
                        ", when it stands at x " + std::to_string(x) +
                        ": it vanishes before it has crossed the screen");
        }
    }

    // Every retirement moves the window on by one place, whichever obstacle retired: an
    // obstacle listed later that leaves first makes the window drop one early. One that never
    // appears is harmless when it is the one dropped, and is reported above.
    for (int32_t i = 0; i < count; ++i) {
        if (!appears(park.records[i], length)) {
            continue;
        }
        int32_t passedBy = 0;
        int32_t first = -1;
        for (int32_t j = i + 1; j < count; ++j) {
            const bool laterLeavesFirst =
                retires[j] && *retires[j] <= length && (!retires[i] || *retires[j] < *retires[i]);
            if (laterLeavesFirst) {
                ++passedBy;
                first = first < 0 ? j : first;
            }
        }
        if (passedBy == 0) {
            continue;
        }
        std::string when = retires[i] ? "leaves the screen in frame " + std::to_string(*retires[i])
                                      : "never leaves the screen";
        warn(i, "it " + when + ", after " + std::to_string(passedBy) + " obstacle" +
                    (passedBy == 1 ? "" : "s") + " listed after it (first " +
                    obstacleName(first, park) + ", in frame " + std::to_string(*retires[first]) +
                    "): the obstacle window then drops an obstacle early; list obstacles in the "
                    "order in which they leave the screen");
    }

    // The window holds 21 places from the lowest index that has not yet moved it on.
    for (int32_t i = WindowPlaces; i < count; ++i) {
        const int64_t due = entersAt(park.records[i]);
        if (due > length) {
            continue;
        }
        int32_t retired = 0;
        for (int32_t k = 0; k < count; ++k) {
            if (retires[k] && (k < i ? *retires[k] <= due : *retires[k] < due)) {
                ++retired;
            }
        }
        if (i > retired + park::WindowSpan) {
            warn(i, "it is due in frame " + std::to_string(due) +
                        ", while the 21 places of the obstacle window are still taken by "
                        "obstacles " +
                        std::to_string(retired + 1) + " to " + std::to_string(retired + 21) +
                        ": it waits, and enters late at the right edge");
        }
    }

    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return findings;
}

std::vector<Finding> checkDirectory(const std::string& dir) {
    std::vector<Finding> findings;
    const std::string listPath = pathIn(dir, "parks.txt");
    std::string text;
    park::Problem problem;
    auto list = std::make_unique<park::ParkListFile>();
    if (!park::readTextFile(listPath.c_str(), text, problem) ||
        !park::parseParkList(text, listPath.c_str(), *list, problem)) {
        findings.push_back(readerError(problem));
        return findings;
    }
    if (list->trailingLine > 0) {
        findings.push_back({Severity::Warning, listPath, list->trailingLine,
                            "the list goes on after the " + std::to_string(list->parkCount) +
                                (list->parkCount == 1 ? " park" : " parks") +
                                " its count promises; the game does not play these: "
                                "raise the count to add parks"});
    }
    auto parkFile = std::make_unique<park::ParkFile>();
    for (int32_t i = 0; i < list->parkCount; ++i) {
        const std::string name = list->list.names[i];
        const std::string path = pathIn(dir, name);
        // A park file that cannot be read is the list's error, at the line that names it.
        if (!park::readTextFile(path.c_str(), text, problem)) {
            findings.push_back({Severity::Error, listPath, list->nameLine[i],
                                "the park file '" + name + "' " + problem.what});
            continue;
        }
        if (!park::parseParkFile(text, path.c_str(), *parkFile, problem)) {
            findings.push_back(readerError(problem));
            if (problem.endsEarly) {
                if (std::optional<Finding> shortLine = shortRecordLine(text, *parkFile, path)) {
                    findings.push_back(*shortLine);
                }
            }
            continue;
        }
        std::vector<Finding> warnings = checkPark(*parkFile, path);
        findings.insert(findings.end(), warnings.begin(), warnings.end());
    }
    return findings;
}

std::string formatFinding(const Finding& finding) {
    std::string text = finding.file;
    if (finding.line > 0) {
        text += ":" + std::to_string(finding.line);
    }
    text += finding.severity == Severity::Error ? ": error: " : ": warning: ";
    return park::printable(text + finding.message);
}

int exitStatus(const std::vector<Finding>& findings) {
    int status = 0;
    for (const Finding& f : findings) {
        status = std::max(status, f.severity == Severity::Error ? 2 : 1);
    }
    return status;
}

} // namespace parkcheck
