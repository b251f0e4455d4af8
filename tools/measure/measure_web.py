#!/usr/bin/python3
"""measure_web.py WEB_BUILD [SECONDS] [BEFORE_BUILD]: the browser build's start-up, frame time,
processor time and size in headless Chromium (docs/performance.md), and the same of a second
build (an older page) in the same run, for comparison.

Start-up: from the page's navigation to the first picture shown, five fresh pages, each with
a new profile (nothing cached). Frame time: during play (a run started with Enter, the skater
left alone), the main thread's busy time per picture shown, from Chromium's own task and script
counters over SECONDS, the processor time of all the browser's processes over the same seconds
(from /proc, as a share of one core), and the spacing of the pictures by the page's clock as
each present reaches it and by the game's tick count as each present begins. The frame time is
measured twice: with Chromium drawing in software on its own threads (--disable-gpu), where the
page takes the 2D canvas, and drawing as with a GPU, SwiftShader in the GPU process standing in
for one, as on a phone, with the page's WebGL present asked for."""

import asyncio
import os
import statistics
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "browser"))
import devtools  # noqa: E402


def browser_cpu(root):
    """The processor seconds used so far by process `root` and all its descendants."""
    parents, times = {}, {}
    for name in os.listdir("/proc"):
        if name.isdigit():
            try:
                fields = open("/proc/%s/stat" % name).read().rsplit(")", 1)[1].split()
            except OSError:
                continue
            parents[int(name)] = int(fields[1])
            times[int(name)] = int(fields[11]) + int(fields[12])
    family, grew = {root}, True
    while grew:
        more = {pid for pid, parent in parents.items() if parent in family} - family
        grew = bool(more)
        family |= more
    return sum(times.get(pid, 0) for pid in family) / os.sysconf("SC_CLK_TCK")


async def wait_for(page, expression, seconds):
    for _ in range(int(seconds * 10)):
        if await page.evaluate(expression):
            return
        await asyncio.sleep(0.1)
    raise RuntimeError("timed out waiting for " + expression)


async def metrics(page):
    values = (await page.send("Performance.getMetrics"))["metrics"]
    return {m["name"]: m["value"] for m in values}


async def start_up(base):
    page = devtools.Page(1280, 960)
    try:
        await page.open()
        await page.navigate(base + "zanbury.html?figures")
        await wait_for(page, "window.Module && Module.zanburyPage.firstFrameAt != null", 60)
        return await page.evaluate("Module.zanburyPage.firstFrameAt")
    finally:
        await page.close()


async def frame_time(base, seconds, gpu):
    page = devtools.Page(1280, 960, gpu)
    try:
        await page.open()
        await page.send("Performance.enable")
        # SwiftShader is a software rasteriser, which the page would give up for the 2D canvas.
        await page.navigate(base + "zanbury.html?figures" + ("&present=webgl" if gpu else ""))
        await wait_for(page, "window.Module && Module.zanburyPage.frames >= 2", 60)
        await page.key("Enter", True)
        await page.key("Enter", False)
        await asyncio.sleep(2)
        before, frames = await metrics(page), await page.evaluate("Module.zanburyPage.frames")
        cpu = browser_cpu(page.browser.pid)
        await asyncio.sleep(seconds)
        cpu = (browser_cpu(page.browser.pid) - cpu) / seconds
        after = await metrics(page)
        shown = await page.evaluate("Module.zanburyPage.frames") - frames
        spacing = sorted((await page.evaluate("Module.zanburyPage.spacing"))[-shown:])
        ticks = sorted((await page.evaluate("Module.zanburyPage.tickSpacing"))[-shown:])
        busy = (after["TaskDuration"] - before["TaskDuration"]) * 1000 / shown
        script = (after["ScriptDuration"] - before["ScriptDuration"]) * 1000 / shown
        kind = await page.evaluate("Module.zanburyPresent ? Module.zanburyPresent.kind : '2d'")
        return shown, busy, script, spacing, ticks, cpu, kind
    finally:
        await page.close()


async def measure(web_build, seconds):
    server, base = devtools.serve(web_build)
    try:
        print("%s: zanbury.wasm %d bytes" % (web_build,
                                              os.path.getsize(os.path.join(web_build,
                                                                           "zanbury.wasm"))))
        starts = [await start_up(base) for _ in range(5)]
        print("start-up to the first picture: median %.0f ms (%s)" %
              (statistics.median(starts), ", ".join("%.0f" % s for s in starts)))
        for gpu in [False, True]:
            await play(base, seconds, gpu)
    finally:
        server.shutdown()


async def play(base, seconds, gpu):
    shown, busy, script, spacing, ticks, cpu, kind = await frame_time(base, seconds, gpu)
    print("%s, the page's %s present: play, %d pictures in %d s: main thread busy %.2f ms a "
          "picture (script %.2f ms)" % ("drawn as with a GPU" if gpu else "drawn in software",
                                        kind, shown, seconds, busy, script))
    print("the browser's processes: %.1f%% of a core" % (100 * cpu))
    print("spacing of the pictures: least %.1f ms, mean %.1f, median %.1f, 99th "
          "percentile %.1f, most %.1f" % (
              spacing[0], statistics.mean(spacing), statistics.median(spacing),
              spacing[int(len(spacing) * 0.99)], spacing[-1]))
    print("in the game's tick count: least %d ms, most %d; %d closer than 34 ms" % (
        ticks[0], ticks[-1], sum(t < 34 for t in ticks)))


async def main(builds, seconds):
    print("load average %.2f %.2f %.2f" % os.getloadavg())
    for web_build in builds:
        await measure(web_build, seconds)
    print("load average %.2f %.2f %.2f" % os.getloadavg())


if __name__ == "__main__":
    if len(sys.argv) not in (2, 3, 4):
        print("usage: measure_web.py WEB_BUILD [SECONDS] [BEFORE_BUILD]", file=sys.stderr)
        sys.exit(2)
    asyncio.run(main(sys.argv[1:2] + sys.argv[3:4],
                     int(sys.argv[2]) if len(sys.argv) >= 3 else 20))
