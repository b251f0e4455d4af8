#!/usr/bin/python3
"""The page's two presents show the same picture: WebGL and the 2D canvas, in headless Chromium.

present_test.py WEB_BUILD

On a stage of 1400 x 1000 CSS pixels the picture's box in each look is the game's own rule
(sharp 1333 x 1000, whole 1280 x 960 centred, stretched 1400 x 1000). On a stage of 1280 x 960
(a whole scale of 2 in every look) a paused run is shown through WebGL in each look; then the
WebGL context is lost, the page goes on with its 2D canvas, and each look must show the same
pixels as WebGL did, pixel for pixel."""

import asyncio
import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import browser_test  # noqa: E402  (its check of what is missing, its helpers)

if __name__ == "__main__" and len(sys.argv) == 2:
    sys.argv += ["", ""]  # browser_test.missing() reads only the build directory
    if browser_test.missing():
        print("SKIP: " + browser_test.missing())
        sys.exit(browser_test.SKIP)

from browser_test import devtools, fail, tap, until  # noqa: E402

RECT = ("(r => [r.x, r.y, r.width, r.height])(document.getElementById('screen')"
        ".getBoundingClientRect())")
LOOKS = ["sharp", "whole", "stretched"]


async def stage(page, width, height):
    await page.evaluate("Object.assign(document.getElementById('stage').style, {position: "
                        "'fixed', left: '0px', top: '0px', margin: '0px', width: '%dpx', "
                        "height: '%dpx', zIndex: 10})" % (width, height))


async def next_look(page, look):
    """F10, then a picture shown in the next look."""
    await tap(page, "F10", 121)
    await until(page, "Module.zanburyPresent.look == %d" % ((look + 1) % 3), 10, "F10's look")
    frames = await page.evaluate("Module.zanburyPage.frames")
    await page.evaluate("Module.zanburyPage.untilFrame(%d)" % (frames + 2))


async def main(web_build):
    server, base = devtools.serve(web_build)
    page = devtools.Page(1440, 1040)
    try:
        await page.open()
        await page.navigate(base + "zanbury.html?figures&present=webgl")
        await until(page, "window.Module && Module.zanburyPage.frames >= 2", 60, "the menu")
        kind = await page.evaluate("Module.zanburyPresent.kind")
        if kind != "webgl":
            fail("the page presents through %s, not WebGL" % kind)

        await stage(page, 1400, 1000)
        for look, box in enumerate([[33, 0, 1333, 1000], [60, 20, 1280, 960],
                                    [0, 0, 1400, 1000]]):
            await until(page, "JSON.stringify(%s) == '%s'" % (RECT, str(box).replace(" ", "")),
                        10, "the %s look's box %s (it is %s)" % (
                            LOOKS[look], box, await page.evaluate(RECT)))
            await next_look(page, look)

        # A run, paused, so that the picture (the lives and the sign drawn over it) stays.
        await stage(page, 1280, 960)
        await page.key("Enter", True)
        await page.key("Enter", False)
        frames = await page.evaluate("Module.zanburyPage.frames")
        await page.evaluate("Module.zanburyPage.untilFrame(%d)" % (frames + 40))
        for kind in ["rawKeyDown", "keyUp"]:
            await page.send("Input.dispatchKeyEvent", type=kind, key="p", code="KeyP",
                            windowsVirtualKeyCode=80)
        await asyncio.sleep(1)

        shots = {}
        for present in ["webgl", "2d"]:
            if present == "2d":
                await page.evaluate("document.getElementById('screen').getContext('webgl2')"
                                    ".getExtension('WEBGL_lose_context').loseContext()")
                await until(page, "Module.zanburyPresent.kind == '2d'", 10, "the 2D canvas")
                frames = await page.evaluate("Module.zanburyPage.frames")
                await page.evaluate("Module.zanburyPage.untilFrame(%d)" % (frames + 2))
            for look in range(3):
                shot = await page.screenshot((0, 0, 1280, 960))
                shots[present, look] = shot.png
                await next_look(page, look)

        for look in range(3):
            webgl, flat = shots["webgl", look], shots["2d", look]
            if len(webgl) < 5000:
                fail("the %s look through WebGL shows next to nothing" % LOOKS[look])
            if webgl != flat:  # the same encoder: the same pixels make the same file
                a, b = devtools.read_png(webgl), devtools.read_png(flat)
                wrong = sum(a.rows[y][x] != b.rows[y][x] for y in range(a.height)
                            for x in range(a.width * 3))
                for name, png in [("webgl", webgl), ("2d", flat)]:
                    with open(os.path.join(tempfile.gettempdir(),
                                           "zanbury-present-%s-%d.png" % (name, look)),
                              "wb") as out:
                        out.write(png)
                fail("in the %s look the 2D canvas differs from WebGL in %d bytes of the "
                     "picture (both in %s)" % (LOOKS[look], wrong, tempfile.gettempdir()))
        print("the boxes are the game's, and WebGL and the 2D canvas show the same picture in "
              "each look")

        # Left to choose, the page gives a WebGL that draws on the processor up for the 2D
        # canvas, which costs it less; Chromium here has SwiftShader's.
        await page.navigate(base + "zanbury.html?figures")
        await until(page, "window.Module && Module.zanburyPage.frames >= 2", 60, "the menu")
        renderer = await page.evaluate(
            "(function () { var gl = document.createElement('canvas').getContext('webgl');"
            " var info = gl && gl.getExtension('WEBGL_debug_renderer_info');"
            " return info ? gl.getParameter(info.UNMASKED_RENDERER_WEBGL) : ''; })()")
        want = "2d" if "SwiftShader" in renderer or "llvmpipe" in renderer else "webgl"
        kind = await page.evaluate("Module.zanburyPresent.kind")
        if kind != want:
            fail("with WebGL drawn by %r the page presents through %s" % (renderer, kind))
        print("with WebGL drawn by %s the page takes %s" % (renderer, kind))
    finally:
        await page.close()
        server.shutdown()


if __name__ == "__main__":
    if len(sys.argv) != 4:
        print("usage: present_test.py WEB_BUILD", file=sys.stderr)
        sys.exit(2)
    asyncio.run(main(sys.argv[1]))
