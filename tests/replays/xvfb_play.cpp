// zanbury-xvfb-play SCRIPT BACKDROP.bmp
//
// Plays the replay of one park (a script such as zanbury-autoplay --out writes) into the real
// game, which shows its menu on the X display, as a person's keys would: Enter on the menu, then
// each press down and up again at its frame. The real game paces itself at one frame per 34 ms,
// so the presses must land on the right frames: the program reads which frame the game shows
// from the backdrop, which scrolls 2 pixels a frame (the frame counts from the park's start are
// known modulo 320 from the scroll, and the time tells which cycle), and keeps an estimate of
// when each frame is presented from many such readings. Each key event is then sent in the
// middle of the frame before the one it belongs to. The keys are X test events.

#include "tools/autoplay/autoplay.h"
#include "tools/sim/sim.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double FrameMs = 34.0;
constexpr int Row = 100; // a row of the sky with clouds in it

double nowMs() {
    static const Clock::time_point start = Clock::now();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void sleepUntil(double ms) {
    while (nowMs() < ms - 2) {
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    while (nowMs() < ms) {
    }
}

bool isCloud(unsigned r, unsigned g, unsigned b) {
    return r > 200 && g > 200 && b > 200;
}

// The clouds of one row of the backdrop, twice over, so that any scroll is a substring.
bool backdropRow(const char* path, std::string& twice) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> bmp((std::istreambuf_iterator<char>(in)), {});
    if (bmp.size() < 54 + 640 * 480 * 3) {
        return false;
    }
    const std::size_t offset = bmp[10] | bmp[11] << 8 | bmp[12] << 16;
    const std::size_t row = offset + static_cast<std::size_t>(479 - Row) * 640 * 3; // bottom-up
    std::string once;
    for (int x = 0; x < 640; ++x) {
        const unsigned char* p = &bmp[row + static_cast<std::size_t>(x) * 3]; // b, g, r
        once += isCloud(p[2], p[1], p[0]) ? '#' : '.';
    }
    twice = once + once;
    return true;
}

struct Reading {
    double before = 0; // the capture was made between these two times
    double after = 0;
    int shift = -1; // the backdrop's scroll in pixels, -1 when no backdrop shows
};

Reading read(Display* display, const std::string& clouds) {
    Reading r;
    r.before = nowMs();
    XImage* image =
        XGetImage(display, DefaultRootWindow(display), 0, Row, 640, 1, AllPlanes, ZPixmap);
    r.after = nowMs();
    if (image == nullptr) {
        return r;
    }
    std::string seen;
    for (int x = 0; x < 640; ++x) {
        const unsigned long p = XGetPixel(image, x, 0);
        seen += isCloud((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff) ? '#' : '.';
    }
    XDestroyImage(image);
    const std::size_t at = clouds.find(seen);
    r.shift = at == std::string::npos || at >= 640 ? -1 : static_cast<int>(at);
    return r;
}

// When pass 0 would have been presented, from readings: a reading that shows pass n was made
// after n was presented and before n + 1 was.
struct Phase {
    double low = -1e18;
    double high = 1e18;
    std::vector<std::pair<Reading, long>> kept;

    void add(const Reading& r, long pass) {
        kept.push_back({r, pass});
        // Only the last few seconds count, so that a slow drift of the clock is followed.
        while (kept.size() > 1 && kept.front().first.after < r.after - 4000) {
            kept.erase(kept.begin());
        }
        low = -1e18;
        high = 1e18;
        for (const auto& [k, n] : kept) {
            low = std::max(low, k.before - FrameMs * static_cast<double>(n + 1));
            high = std::min(high, k.after - FrameMs * static_cast<double>(n));
        }
        if (low > high) { // a late frame: start again from this reading
            kept.erase(kept.begin(), kept.end() - 1);
            low = r.before - FrameMs * static_cast<double>(pass + 1);
            high = r.after - FrameMs * static_cast<double>(pass);
        }
    }
    double middle() const { return (low + high) / 2; }
    // The pass a backdrop scroll shows, of the passes that it can be, the nearest to the time.
    long passOf(int shift, double at) const {
        const long cycle = 3 + shift / 2; // the first park's first frame is pass 4, scroll 2
        const double guess = (at - middle()) / FrameMs;
        long best = cycle;
        for (long n = cycle; n < cycle + 320 * 200; n += 320) {
            if (std::abs(static_cast<double>(n) - guess) <
                std::abs(static_cast<double>(best) - guess)) {
                best = n;
            }
        }
        return best;
    }
};

void key(Display* display, KeySym sym, bool down) {
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, sym), down ? True : False, CurrentTime);
    XFlush(display);
}

KeySym symOf(platform::Key k) {
    switch (k) {
    case platform::Key::Up:
        return XK_Up;
    case platform::Key::Down:
        return XK_Down;
    case platform::Key::Right:
        return XK_Right;
    default:
        return XK_Left;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zanbury-xvfb-play SCRIPT BACKDROP.bmp\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    std::vector<sim::ScriptEvent> events;
    std::vector<autoplay::Press> presses;
    std::string error;
    std::string clouds;
    if (!sim::parseScript(text, argv[1], events, error) ||
        !autoplay::pressesOfScript(events, presses, error)) {
        std::fprintf(stderr, "zanbury-xvfb-play: %s\n", error.c_str());
        return 2;
    }
    if (!backdropRow(argv[2], clouds)) {
        std::fprintf(stderr, "zanbury-xvfb-play: %s is not the backdrop\n", argv[2]);
        return 2;
    }
    const bool verbose = std::getenv("ZANBURY_XVFB_VERBOSE") != nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "zanbury-xvfb-play: no X display\n");
        return 2;
    }

    // Enter on the menu, then readings until the park shows, and more until its pace is known.
    key(display, XK_Return, true);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    key(display, XK_Return, false);
    Phase phase;
    const double started = nowMs();
    Reading first;
    while ((first = read(display, clouds)).shift < 0) {
        if (nowMs() - started > 5000) {
            std::fprintf(stderr, "zanbury-xvfb-play: the park does not start\n");
            return 1;
        }
    }
    phase.add(first, 3 + first.shift / 2);
    // Until the time of a frame is known to 3 ms, for a second at least and four at most.
    while (nowMs() - first.after < 1000 ||
           (phase.high - phase.low > 3 && nowMs() - first.after < 4000)) {
        const Reading r = read(display, clouds);
        if (r.shift >= 0) {
            phase.add(r, phase.passOf(r.shift, r.before));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(7));
    }

    struct Event {
        long pass;
        KeySym sym;
        bool down;
    };
    std::vector<Event> keys;
    for (const autoplay::Press& p : presses) {
        keys.push_back({static_cast<long>(p.pass), symOf(p.key), true});
        keys.push_back({static_cast<long>(p.pass + p.holdFrames), symOf(p.key), false});
    }
    std::stable_sort(keys.begin(), keys.end(), [](const Event& a, const Event& b) {
        return a.pass < b.pass || (a.pass == b.pass && !a.down && b.down);
    });
    double worst = 0;
    for (const Event& e : keys) {
        // The event is handled in the pass after the one presented just before it arrives:
        // send it in the middle between the presents of passes e.pass - 2 and e.pass - 1.
        auto due = [&] { return phase.middle() + FrameMs * static_cast<double>(e.pass - 1) - 17; };
        while (due() - nowMs() > 40) {
            const Reading r = read(display, clouds);
            if (r.shift >= 0) {
                phase.add(r, phase.passOf(r.shift, r.before));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(7));
        }
        if (due() < nowMs()) {
            std::fprintf(stderr, "zanbury-xvfb-play: pass %ld came before its key\n", e.pass);
            return 1;
        }
        worst = std::max(worst, phase.high - phase.low);
        sleepUntil(due());
        key(display, e.sym, e.down);
        if (verbose) {
            const Reading r = read(display, clouds);
            std::fprintf(
                stderr,
                "pass %ld %s: sent %.1f ms before its pass; known to %.1f ms; shows pass %ld\n",
                e.pass, e.down ? "down" : "up",
                phase.middle() + FrameMs * static_cast<double>(e.pass - 1) - r.before,
                phase.high - phase.low, r.shift < 0 ? -1L : phase.passOf(r.shift, r.before));
        }
    }
    std::printf("%zu presses sent; the time of a frame was known to %.1f ms at worst\n",
                presses.size(), worst);
    XCloseDisplay(display);
    return 0;
}
