#!/usr/bin/python3
"""The browser build played in headless Chromium, driven over the DevTools protocol.

browser_test.py WEB_BUILD SOURCE_DIR SIM

On a phone's screen in landscape, with touch: the touch buttons show beside the picture, never
over it; at the menu a finger holds Right while another presses Down and slides onto Up (the
menu's choice goes to Exit and back, in the trace). Then it starts a run with Enter and plays
the committed replay of the first shipped park by real touches of the buttons, each sent while
the picture before the one whose pass should read it is shown. Then: the park-complete screen
is on the page (a screenshot against docs/screens/park-complete.png), and no two presents came
closer than the pacing rule allows. On a desktop's screen with the keyboard the buttons go;
F10 shows the picture in each look;
Enter goes on to the second park, where the skater, left alone, falls until the run ends; the
high score that the page then keeps in IndexedDB is the one the simulator's run of the same
keys, at the passes the page saw them, ends with; and after a reload the game's directory still
holds it, and the storage still does after the page writes to it again; F11 fills the screen
with the picture. Then the page
watches the high score's run (highscore-run.txt) with its trace, which must be the simulator's
trace of the same recording, line for line and hash included, and no buttons show; ?practice=
reaches the game, refused for a park beyond the list and playing the last park alone. Last,
with the server stopped, the page plays from its service worker's cache."""

import asyncio
import os
import shutil
import subprocess
import sys
import tempfile
import time

# Exit code 77 tells ctest that the test was skipped: a build directory without the page, or a
# machine without Chromium or Python's websockets, says what is missing instead of failing.
SKIP = 77


def missing():
    """What the test needs that is not here, in words, or None."""
    page = [name for name in ("zanbury.html", "zanbury.js", "zanbury.wasm")
            if not os.path.isfile(os.path.join(sys.argv[1], name))]
    if page:
        return "no browser build in %s (make web builds it): %s" % (sys.argv[1], ", ".join(page))
    if not (shutil.which("chromium") or os.path.exists("/usr/bin/chromium")):
        return "no chromium (scripts/bootstrap.sh web installs it)"
    try:
        import websockets  # noqa: F401
    except ImportError:
        return "no Python websockets (scripts/bootstrap.sh web installs python3-websockets)"
    return None


if __name__ == "__main__" and len(sys.argv) == 4 and missing():
    print("SKIP: " + missing())
    sys.exit(SKIP)

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "tools", "browser"))
import devtools  # noqa: E402

KEYS = {"up": "ArrowUp", "down": "ArrowDown", "left": "ArrowLeft", "right": "ArrowRight",
        "enter": "Enter", "escape": "Escape"}
NAMES = {value: name for name, value in KEYS.items()}

# Where each touch button is and whether it shows, and the picture's box, in CSS pixels.
BUTTONS = """Object.fromEntries([...document.querySelectorAll('.pad button, #screen')].map(
    e => [e.dataset.key || e.id, (r => [r.x, r.y, r.width, r.height])(e.getBoundingClientRect())]))"""
NO_BUTTONS = "[...document.querySelectorAll('.pad')].every(pad => pad.hidden)"

READ_STORED = """new Promise((resolve, reject) => {
  const open = indexedDB.open('/save');
  open.onerror = () => reject(open.error);
  open.onsuccess = () => {
    const db = open.result;
    if (!db.objectStoreNames.contains('FILE_DATA')) { resolve(null); return; }
    const get = db.transaction('FILE_DATA').objectStore('FILE_DATA').get('%s');
    get.onsuccess = () => resolve(get.result && get.result.contents
        ? new TextDecoder().decode(get.result.contents) : null);
    get.onerror = () => reject(get.error);
  };
})"""


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def replay_events(path, park):
    """The replay's key events of the park: from the menu's Enter to the park's last pass,
    which is Enter's pass + 1 + the park's length (a pass loads the park, the next is its first
    frame); the end screen's keys are left out."""
    events = []
    for line in open(path):
        words = line.split()
        if words and not words[0].startswith("#"):
            events.append((int(words[0]), words[1], words[2]))
    length = int(open(park).read().split()[1])
    return [event for event in events if event[0] <= events[0][0] + 1 + length]


async def until(page, expression, seconds, what):
    deadline = time.monotonic() + seconds
    while True:
        value = await page.evaluate(expression)
        if value:
            return value
        if time.monotonic() > deadline:
            fail("timed out waiting for " + what)
        await asyncio.sleep(0.25)


async def tap(page, key, code):
    """A function key pressed and let go."""
    for kind in ["rawKeyDown", "keyUp"]:
        await page.send("Input.dispatchKeyEvent", type=kind, key=key, code=key,
                        windowsVirtualKeyCode=code)


def overlap(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


async def shows(page, reference, clip, skip=(0, 0)):
    """Whether the page's picture is the reference: each of its 640 x 480 pixels read at its
    middle in the scaled picture, within a small tolerance for the scaling's blend; the rows
    from skip[0] up to skip[1] count as shown (an overlay drawn over them)."""
    shot = await page.screenshot(clip)
    close = (skip[1] - skip[0]) // 2 * 320
    for y in [y for y in range(0, 480, 2) if not skip[0] <= y < skip[1]]:
        for x in range(0, 640, 2):
            got = shot.pixel(min(shot.width - 1, int((x + 0.5) * shot.width / 640)),
                             min(shot.height - 1, int((y + 0.5) * shot.height / 480)))
            want = reference.pixel(x, y)
            close += all(abs(a - b) <= 40 for a, b in zip(got, want))
    if close < 0.97 * 320 * 240:
        path = os.path.join(tempfile.gettempdir(), "zanbury-web-shown.png")
        with open(path, "wb") as out:
            out.write(shot.png)
        print("the page showed %s (%.1f%% of the pixels as expected)" %
              (path, 100 * close / (320 * 240)))
        return False
    return True


def simulated_high_score(sim, data, keys, frames):
    """The high score that the simulator's run of the page's keys writes."""
    lines = []
    for key, down, shown in keys:
        lines.append("%d %s %s" % (shown + 2, NAMES[key], "press" if down else "release"))
    work = tempfile.mkdtemp(prefix="zanbury-web-sim-")
    try:
        for name in os.listdir(data):
            shutil.copy(os.path.join(data, name), work)
        with open(os.path.join(work, "script.txt"), "w") as script:
            script.write("\n".join(lines) + "\n")
        subprocess.run([sim, "--dir", work, "--frames", str(frames), "--no-hash",
                        os.path.join(work, "script.txt")], check=True,
                       stdout=subprocess.DEVNULL)
        with open(os.path.join(work, "highscore.txt")) as stored:
            return stored.read()
    finally:
        shutil.rmtree(work)


def simulated_trace(sim, data, recording):
    """The simulator's trace lines of a recording."""
    work = tempfile.mkdtemp(prefix="zanbury-web-sim-")
    try:
        for name in os.listdir(data):
            shutil.copy(os.path.join(data, name), work)
        with open(os.path.join(work, "recording.txt"), "w") as out:
            out.write(recording)
        run = subprocess.run([sim, "--dir", work, os.path.join(work, "recording.txt")],
                             stdout=subprocess.PIPE, text=True)
        if run.returncode != 0:
            kept = os.path.join(tempfile.gettempdir(), "zanbury-web-recording.txt")
            shutil.copy(os.path.join(work, "recording.txt"), kept)
            fail("the simulator cannot replay the page's recording %s" % kept)
        return run.stdout.splitlines()
    finally:
        shutil.rmtree(work)


async def main(web_build, source, sim):
    reference = devtools.read_png(open(os.path.join(source, "docs", "screens",
                                                    "park-complete.png"), "rb").read())
    events = replay_events(os.path.join(source, "tests", "replays", "harbour-front.txt"),
                           os.path.join(source, "data", "harbour-front.txt"))
    server, base = devtools.serve(web_build)
    page = devtools.Page(1280, 960)
    try:
        await page.open()
        await page.phone(844, 390)
        await page.navigate(base + "zanbury.html?figures&trace")
        await until(page, "window.Module && Module.zanburyPage.frames >= 2", 60,
                    "the menu on a phone")
        boxes = await page.evaluate(BUTTONS)
        rect = boxes.pop("screen")
        wrong = [name for name, box in boxes.items() if min(box[2:]) < 48 or overlap(box, rect)]
        if len(boxes) != 7 or wrong:
            fail("on a phone the touch buttons are not all beside the picture: %s" % boxes)

        def at(name):
            x, y, width, height = boxes[name]
            return (x + width / 2, y + height / 2)

        async def after(frames):
            shown = await page.evaluate("Module.zanburyPage.frames")
            await page.evaluate("Module.zanburyPage.untilFrame(%d)" % (shown + frames))

        # Right held, which the menu does not ask for, while a second finger presses Down and
        # slides onto Up: the choice goes to Exit and back to New game if both fingers count
        # and the slide lets go of Down and presses Up.
        await page.touch({1: at("right")})
        await page.touch({1: at("right"), 2: at("down")})
        await after(3)
        await page.touch({1: at("right"), 2: at("up")})
        await after(3)
        await page.touch({1: at("right")})
        await page.touch({})
        await after(3)
        # The trace is written as the game goes: the menu's passes are in it by now. The
        # replay is played on a page of its own with no trace, as a player's is.
        menu = []
        for line in (await page.evaluate("Module.FS.readFile('/tmp/zanbury-trace.txt', "
                                         "{encoding: 'utf8'})")).splitlines():
            if " state=Menu " not in line:
                break
            choice = line.split(" menu=")[1].split()[0]
            if not menu or menu[-1] != choice:
                menu.append(choice)
        if menu != ["new", "exit", "new"]:
            fail("Down pressed and slid onto Up with Right held left the menu's choice %s" % menu)
        # Right, which the menu does not look at, stayed held by its finger all along.
        moves = [(key, down) for key, down, _ in await page.evaluate("Module.zanburyPage.keys")]
        if moves[0] != ("ArrowRight", True) or moves[-1] != ("ArrowRight", False) or len(
                moves) != 6:
            fail("the fingers on Right, then Down slid onto Up, pressed %s" % moves)

        await page.navigate(base + "zanbury.html?figures")
        await until(page, "window.Module && Module.zanburyPage.frames >= 2", 60, "the menu")

        # A key of the replay's pass F goes out once picture F + shift is shown, so that pass
        # F + shift + 2 reads it: the whole run later by that many passes, the menu waiting
        # longer. The shift is taken from the menu's Enter, the first key of the replay, once
        # it has arrived, since a browser's first event can take a few frames' time to arrive.
        # Each key is its button, touched by a finger of its own.
        sent = []  # the picture each key event was sent after
        shift = None
        fingers = {}  # the buttons held, each by its finger
        for frame, key, action in events:
            if sent and shift is None:
                shift = await until(page, "Module.zanburyPage.keys.length && "
                                    "Module.zanburyPage.keys[0][2]", 10, "the first key")
                shift -= events[0][0]
            await page.evaluate("Module.zanburyPage.untilFrame(%d)" % (frame + (shift or 0)))
            for down in [True, False] if action == "tap" else [action == "press"]:
                if down:
                    fingers[key] = at(key)
                else:
                    del fingers[key]
                await page.touch({list(KEYS).index(name): where
                                  for name, where in fingers.items()})
                sent.append(frame + (shift or 0))
        await until(page, "Module.zanburyPage.frames > %d" % (events[-1][0] + shift + 150), 30,
                    "the park's end")
        # The card of where the player stands lies over rows 283 to about 400 (under the middle
        # of the picture, twice the overlays' scale); the rest is the game's picture.
        if not await shows(page, reference, rect, skip=(280, 410)):
            fail("the park-complete screen is not shown after the replay of harbour-front")
        # The pacing rule in the browser: each present is told the tick the pacer read just
        # before it, and two of those are at least 34 ms apart.
        least = await page.evaluate("Math.min(...Module.zanburyPage.tickSpacing)")
        if least < 34:
            fail("two presents came %d ms apart by the game's tick count: %s" % (
                least, sorted(await page.evaluate("Module.zanburyPage.tickSpacing"))[:10]))
        print("the replay of harbour-front played by touch")
        # The sound device opens once the first picture is out, not with the window.
        if not await page.evaluate("!!(Module.SDL2 && Module.SDL2.audioContext && "
                                   "Module.SDL2.audio)"):
            fail("the page never opened its sound device")

        # At a desktop's size the keyboard takes the buttons away.
        await page.desktop()

        # F10 goes through the looks: whole pixels (a scale of 1 on a stage less than twice
        # the picture's height), stretched to the stage, and back to sharp.
        size = ("(r => [r.width, r.height])(document.getElementById('screen')"
                ".getBoundingClientRect())")
        stage = "[document.getElementById('stage').clientWidth, " \
                "document.getElementById('stage').clientHeight]"
        for look in ["[640, 480]", stage, None]:
            await tap(page, "F10", 121)
            if look is not None:
                await until(page, "JSON.stringify(%s) == JSON.stringify(%s)" % (size, look), 10,
                            "the look after F10 to show the picture at %s" % look)
        if not await page.evaluate(NO_BUTTONS):
            fail("the touch buttons still show on a desktop used with its keyboard")
        await page.key("Enter", True)
        await page.key("Enter", False)
        stored = await until(page, READ_STORED % "/save/highscore.txt", 240,
                             "the high score in the page's storage")
        frames = await page.evaluate("Module.zanburyPage.frames")
        keys = await page.evaluate("Module.zanburyPage.keys")
        late = sum(shown != frame for (_, _, shown), frame in zip(keys, sent))
        print("%d key events, %d arrived after a later picture than the one they were sent "
              "for" % (len(sent), late))
        expected = simulated_high_score(sim, os.path.join(source, "data"), keys, frames + 2)
        print("stored high score %s, simulated %s" % (stored.strip(), expected.strip()))
        if stored != expected or int(stored) <= 0:
            fail("the page kept %r, the simulator's run of the same keys %r" %
                 (stored, expected))

        # The run of the high score is kept beside it, and in storage before the reload.
        await until(page, READ_STORED % "/save/highscore-run.txt", 20,
                    "the run of the high score in the page's storage")
        await page.evaluate("window.beforeReload = true")
        await page.send("Page.reload")
        await until(page, "!window.beforeReload && window.Module && "
                    "Module.zanburyPage.frames >= 2", 60,
                    "the menu after the reload")
        seen = await page.evaluate(
            "Module.FS.readFile('/save/highscore.txt', {encoding: 'utf8'})")
        if seen != stored:
            fail("after the reload the game's directory holds %r, not %r" % (seen, stored))
        await page.evaluate("new Promise(done => Module.zanburyStorage.persistNow(done))")
        if await page.evaluate(READ_STORED % "/save/highscore.txt") != stored:
            fail("the high score left the page's storage after the reload")
        # What is written under the game's directory reaches storage by itself, within a few
        # seconds (the page looks once a second).
        await page.evaluate("Module.FS.writeFile('/save/written.txt', 'kept')")
        await until(page, READ_STORED % "/save/written.txt", 20,
                    "a file written in the game's directory to reach the page's storage")
        print("the park-complete screen was shown and the high score %s kept" % stored.strip())

        # F11 puts the stage in full screen, the picture as tall as the screen.
        await tap(page, "F11", 122)
        await until(page, "document.fullscreenElement && document.fullscreenElement.id == "
                    "'play' && Math.abs(document.getElementById('screen')"
                    ".getBoundingClientRect().height - innerHeight) < 1", 10, "full screen")

        # The run of the high score, watched with its trace: the page's console has the
        # simulator's trace of the same recording, line for line, hash included.
        recording = await page.evaluate(
            "Module.FS.readFile('/save/highscore-run.txt', {encoding: 'utf8'})")
        page.console.clear()
        await page.navigate(base + "zanbury.html?replay=highscore-run.txt&trace&figures")
        await until(page, "window.Module && Module.zanburyPage.ended", 300,
                    "the end of the recording")
        traced = [line for line in page.console if line.startswith("frame=")]
        expected = simulated_trace(sim, os.path.join(source, "data"), recording)
        if traced != expected:
            wrong = next((i for i, pair in enumerate(zip(traced, expected))
                          if pair[0] != pair[1]), min(len(traced), len(expected)))
            fail("the page's trace of highscore-run.txt differs from the simulator's at line "
                 "%d of %d and %d:\n  page: %s\n  sim:  %s" % (
                     wrong + 1, len(traced), len(expected),
                     traced[wrong] if wrong < len(traced) else "(none)",
                     expected[wrong] if wrong < len(expected) else "(none)"))
        print("the page's trace of the high score's run is the simulator's, %d lines" %
              len(traced))
        if not await page.evaluate(NO_BUTTONS):
            fail("the touch buttons show on a desktop that has not been touched")

        # ?practice=N reaches the game as --practice N: a park that the list lacks is the game's
        # own refusal on the page; the last park starts the game, which plays it alone.
        parks = int(open(os.path.join(source, "data", "parks.txt")).read().split()[0])
        said = "--practice %d: parks.txt lists %d parks" % (parks + 1, parks)
        await page.navigate(base + "zanbury.html?practice=%d&figures" % (parks + 1))
        # Right after a navigation the document may not have its note yet: wait for it.
        await until(page, "((document.getElementById('note') || {}).textContent || '')"
                    ".indexOf('%s') >= 0" % said, 60, "the page to say " + said)
        page.console.clear()
        await page.navigate(base + "zanbury.html?practice=%d&trace&figures" % parks)
        await until(page, "window.Module && Module.zanburyPage.frames >= 2 && "
                    "!(document.getElementById('practising') || {hidden: true}).hidden", 60,
                    "the practice's menu")
        for key, after in [("Enter", 20), ("Escape", 5), ("ArrowDown", 0), ("Enter", 0)]:
            await page.key(key, True)
            await page.key(key, False)
            shown = await page.evaluate("Module.zanburyPage.frames")
            await page.evaluate("Module.zanburyPage.untilFrame(%d)" % (shown + after))
        await until(page, "Module.zanburyPage.ended", 60, "the end of the practice")
        played = [line for line in page.console if " state=Playing " in line]
        if not played or any(" park=%d " % (parks - 1) not in line for line in played):
            fail("?practice=%d did not play the last park: %s" % (
                parks, played[0] if played else "no Playing frame"))
        print("?practice= reaches the game: %d refused, %d played alone" % (parks + 1, parks))

        # Offline: once the service worker keeps the page's files, the page plays with its
        # server gone.
        await until(page, "navigator.serviceWorker.controller && caches.keys().then(names => "
                    "names.some(name => name.startsWith('zanbury-')))", 60,
                    "the service worker to keep the page")
        server.shutdown()
        server.server_close()
        await page.navigate(base + "zanbury.html?figures")
        await until(page, "window.Module && Module.zanburyPage.frames >= 2", 60,
                    "the menu with the server stopped")
        print("with the server stopped the page plays from its service worker's cache")
    finally:
        await page.close()
        server.shutdown()


if __name__ == "__main__":
    if len(sys.argv) != 4:
        print("usage: browser_test.py WEB_BUILD SOURCE_DIR SIM", file=sys.stderr)
        sys.exit(2)
    asyncio.run(main(*sys.argv[1:]))
