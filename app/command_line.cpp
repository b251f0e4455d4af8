// The game's command line, and the session that it starts and ends.

#include "app/command_line.h"

#include "app/session.h"
#include "park/readers.h"
#include "zanbury_version.h"

#include <charconv>
#include <cstdio>
#include <string_view>

namespace {

constexpr const char* LastRun = session::LastRunFile;

constexpr const char* Usage = "usage: zanbury [--record FILE] [--trace FILE] [--practice N]\n"
                              "       zanbury --replay FILE [--trace FILE]\n"
                              "       zanbury --help | --version\n";

// --help: the places come between these parts.
constexpr const char* HelpOpening = "\nZanbury, a small skateboarding game. ";
constexpr const char* HelpOptions =
    "\n"
    "  --record FILE   record this session into FILE as well\n"
    "  --replay FILE   show a recording at its recorded pace; Escape stops it\n"
    "  --trace FILE    write one line a frame into FILE, as zanbury-sim prints them\n"
    "  --practice N    NEW GAME plays park N of parks.txt alone; no high score is kept\n"
    "  --help          show this help and exit\n"
    "  --version       show the version and exit\n"
    "\n"
    "Keys: the arrows, Enter and Escape play; P or Pause pauses and resumes play; M mutes;\n"
    "F10 chooses the look (sharp, whole-number, stretched); Alt+Enter or F11, full screen or\n"
    "a window. A pad's Start pauses in play and is Enter elsewhere. The look, the sound and\n"
    "whether the lives are shown are kept in ";

int wrong(const std::string& what) {
    std::fprintf(stderr, "zanbury: %s\n%s", park::printable(what).c_str(), Usage);
    return 2;
}

// The park number of --practice, from 1 (the list's own check comes at start-up): "" when it
// is one, else what is wrong.
std::string practicePark(const char* word, int32_t& park) {
    const std::string_view text = word == nullptr ? "" : word;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), park);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || park < 1) {
        return word == nullptr ? "--practice needs a park's number"
                               : "--practice takes a park's number in parks.txt, from 1, not '" +
                                     park::excerpt(text) + "'";
    }
    return "";
}

} // namespace

const HelpPlaces LinuxPlaces = {
    "It plays in the current directory, with parks.txt,\n"
    "the park files and highscore.txt, and keeps there the recording of this session,\n"
    "last-run.txt, and of the run that set the high score, highscore-run.txt.\n",
    "$XDG_CONFIG_HOME/zanbury/settings.conf.\n"};

int readCommandLine(int argc, char** argv, GameOptions& options, const HelpPlaces& places) {
    options = GameOptions{};
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help") {
            std::printf("%s%s%s%s%s", Usage, HelpOpening, places.plays, HelpOptions,
                        places.settings);
            return 0;
        }
        if (arg == "--version") {
            std::printf("zanbury %s\n", version::ProjectVersion);
            return 0;
        }
        if (arg == "--practice") {
            if (options.practice != 0) {
                return wrong("--practice is given twice");
            }
            const std::string why =
                practicePark(i + 1 < argc ? argv[++i] : nullptr, options.practice);
            if (!why.empty()) {
                return wrong(why);
            }
            continue;
        }
        std::string* file = arg == "--record"   ? &options.record
                            : arg == "--replay" ? &options.replay
                            : arg == "--trace"  ? &options.trace
                                                : nullptr;
        if (file == nullptr) {
            return wrong(arg.starts_with("-") ? "unknown option '" + park::excerpt(arg) + "'"
                                              : "unexpected argument '" + park::excerpt(arg) + "'");
        }
        if (i + 1 >= argc || argv[i + 1][0] == '\0') {
            return wrong(std::string(arg) + " needs a file name");
        }
        if (!file->empty()) {
            return wrong(std::string(arg) + " is given twice");
        }
        *file = argv[++i];
    }
    if (!options.replay.empty() && !options.record.empty()) {
        return wrong("--record and --replay do not go together: a replay is not recorded");
    }
    if (!options.replay.empty() && options.practice != 0) {
        return wrong("--practice and --replay do not go together: the recording says whether it "
                     "was practice");
    }
    return -1;
}

int prepareSession(const GameOptions& options) {
    // The files the player names for writing are checked before anything is read or written.
    for (const auto& [option, path] :
         {std::pair{"--record", &options.record}, std::pair{"--trace", &options.trace}}) {
        if (path->empty()) {
            continue;
        }
        if (std::string why = session::refusedOptionFile(*path, options.replay); !why.empty()) {
            std::fprintf(stderr, "zanbury: %s: %s\n", option, why.c_str());
            return 2;
        }
    }
    if (!options.record.empty() && !options.trace.empty() &&
        session::sameFile(options.trace, options.record)) {
        std::fprintf(stderr, "zanbury: --record and --trace name the same file\n");
        return 2;
    }
    if (options.replay.empty()) {
        return 0;
    }
    recording::Recording replay;
    park::Problem problem;
    if (!recording::load(options.replay.c_str(), version::ProjectVersion, replay, problem)) {
        std::fprintf(stderr, "zanbury: %s\n", park::formatProblem(problem).c_str());
        return 2;
    }
    std::string error;
    if (!session::startReplay(std::move(replay), error)) {
        std::fprintf(stderr, "zanbury: %s\n", park::printable(error).c_str());
        return 2;
    }
    return 0;
}

int startSession(const GameOptions& options) {
    std::string error;
    if (!options.trace.empty() && !session::startTraceFile(options.trace, error)) {
        std::fprintf(stderr, "zanbury: %s\n", error.c_str());
        return 1;
    }
    if (!options.replay.empty()) {
        return 0; // a replay is not recorded
    }
    if (!options.record.empty()) {
        if (!session::startRecording({options.record, LastRun}, true, error)) {
            // The file asked for matters more than last-run.txt: without the latter, warn.
            if (!session::startRecording({options.record}, true, error)) {
                std::fprintf(stderr, "zanbury: %s\n", error.c_str());
                return 1;
            }
            std::fprintf(stderr, "zanbury: warning: %s does not keep this session\n", LastRun);
        }
    } else if (!session::startRecording({LastRun}, true, error)) {
        std::fprintf(stderr, "zanbury: warning: %s; this session is not recorded\n", error.c_str());
    }
    return 0;
}

int endSession() {
    std::string message;
    const bool ok = session::finish(message);
    if (!message.empty()) {
        std::fprintf(stderr, "zanbury: %s\n", message.c_str());
    }
    return ok ? 0 : 2;
}
