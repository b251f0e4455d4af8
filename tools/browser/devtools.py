"""A small client of the DevTools protocol for the browser build's test and measurement: serves
a directory on 127.0.0.1, starts Debian's Chromium headless with a new empty profile, and talks
to its page over a WebSocket (Debian's python3-websockets). Everything runs on this machine
and stops by itself: the server and the browser are ended when the session closes."""

import asyncio
import base64
import functools
import http.server
import json
import os
import shutil
import subprocess
import tempfile
import threading
import time
import urllib.request
import zlib

import websockets

# Without the networking flags the closed network refuses many connections at every start.
CHROMIUM_FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--disable-default-apps", "--mute-audio", "--autoplay-policy=no-user-gesture-required",
]
# Drawing as on a machine with a GPU, SwiftShader standing in for it: the page's canvas and the
# compositor's drawing go to the GPU process, as on a phone, rather than being drawn by the
# page's own thread.
GPU_FLAGS = ["--use-angle=swiftshader", "--enable-unsafe-swiftshader"]


class Quiet(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript",
                      ".data": "application/octet-stream"}

    def log_message(self, *args):
        pass


def serve(directory):
    """Serves `directory` on 127.0.0.1 at a free port; returns the server and its base URL."""
    handler = functools.partial(Quiet, directory=directory)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, "http://127.0.0.1:%d/" % server.server_address[1]


class Page:
    """One page of a headless Chromium, driven over the DevTools protocol."""

    def __init__(self, width, height, gpu=False):
        self.width, self.height = width, height
        self.flags = ([f for f in CHROMIUM_FLAGS if f != "--disable-gpu"] + GPU_FLAGS if gpu
                      else CHROMIUM_FLAGS)
        self.profile = tempfile.mkdtemp(prefix="zanbury-chromium-")
        self.browser = None
        self.socket = None
        self.next_id = 0
        self.replies = {}
        self.console = []  # the page's console, as text lines
        self.reader = None
        self.fingers = {}  # the touch points on the screen, for touch()

    async def open(self, timeout=30):
        chromium = shutil.which("chromium") or "/usr/bin/chromium"
        self.browser = subprocess.Popen(
            [chromium, *self.flags, "--remote-debugging-port=0",
             "--user-data-dir=" + self.profile,
             "--window-size=%d,%d" % (self.width, self.height), "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        deadline = time.monotonic() + timeout
        while not os.path.exists(port_file) or os.path.getsize(port_file) == 0:
            if time.monotonic() > deadline or self.browser.poll() is not None:
                raise RuntimeError("chromium did not start its DevTools server")
            await asyncio.sleep(0.05)
        port = open(port_file).read().split()[0]
        targets = json.load(urllib.request.urlopen("http://127.0.0.1:%s/json/list" % port))
        url = next(t["webSocketDebuggerUrl"] for t in targets if t["type"] == "page")
        self.socket = await websockets.connect(url, max_size=None)
        self.reader = asyncio.create_task(self._read())
        await self.send("Runtime.enable")
        await self.send("Page.enable")
        await self.send("Emulation.setDeviceMetricsOverride", width=self.width,
                        height=self.height, deviceScaleFactor=1, mobile=False)

    async def _read(self):
        async for text in self.socket:
            message = json.loads(text)
            if "id" in message:
                self.replies.pop(message["id"]).set_result(message)
            elif message.get("method") == "Runtime.consoleAPICalled":
                args = message["params"]["args"]
                self.console.append(" ".join(str(a.get("value", a.get("description", "")))
                                             for a in args))

    async def send(self, method, **params):
        self.next_id += 1
        reply = asyncio.get_running_loop().create_future()
        self.replies[self.next_id] = reply
        await self.socket.send(json.dumps({"id": self.next_id, "method": method,
                                           "params": params}))
        message = await reply
        if "error" in message:
            raise RuntimeError("%s: %s" % (method, message["error"]))
        return message["result"]

    async def evaluate(self, expression):
        """The value of a JavaScript expression in the page, promises awaited."""
        result = await self.send("Runtime.evaluate", expression=expression, awaitPromise=True,
                                 returnByValue=True)
        if "exceptionDetails" in result:
            raise RuntimeError("%s: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    async def navigate(self, url):
        await self.send("Page.navigate", url=url)

    async def key(self, key, down):
        """A real key event, as the keyboard sends it; `key` is a DOM key name."""
        codes = {"ArrowUp": 38, "ArrowDown": 40, "ArrowLeft": 37, "ArrowRight": 39,
                 "Enter": 13, "Escape": 27}
        await self.send("Input.dispatchKeyEvent", type="keyDown" if down else "keyUp", key=key,
                        code=key, windowsVirtualKeyCode=codes[key],
                        nativeVirtualKeyCode=codes[key])

    async def phone(self, width, height, scale=2):
        """A phone's screen of `width` x `height` CSS pixels at `scale` device pixels to one,
        with touch: the page sees a mobile device whose pointer is coarse."""
        await self.send("Emulation.setDeviceMetricsOverride", width=width, height=height,
                        deviceScaleFactor=scale, mobile=True)
        await self.send("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)

    async def desktop(self):
        """Back to the desktop's screen of open(), with no touch."""
        await self.send("Emulation.setTouchEmulationEnabled", enabled=False)
        await self.send("Emulation.setDeviceMetricsOverride", width=self.width,
                        height=self.height, deviceScaleFactor=1, mobile=False)

    async def touch(self, fingers):
        """Real touch events: `fingers` are the fingers on the screen from now on, {id: (x, y)}
        in CSS pixels. Fingers that are gone lift (Chromium's touchEnd lists the points that
        lift), new ones touch and the others move (touchStart and touchMove list them all)."""
        lifted = {id: at for id, at in self.fingers.items() if id not in fingers}
        if lifted:
            await self._touch_points("touchEnd", lifted)
        if set(fingers) - set(self.fingers) or any(
                self.fingers[id] != at for id, at in fingers.items() if id in self.fingers):
            await self._touch_points("touchStart" if set(fingers) - set(self.fingers)
                                     else "touchMove", fingers)
        self.fingers = dict(fingers)

    async def _touch_points(self, kind, fingers):
        await self.send("Input.dispatchTouchEvent", type=kind, touchPoints=[
            {"x": x, "y": y, "id": id} for id, (x, y) in fingers.items()])

    async def screenshot(self, clip):
        """The page's pixels in `clip` (x, y, width, height in CSS pixels) as a Picture."""
        x, y, width, height = clip
        result = await self.send("Page.captureScreenshot", format="png", clip={
            "x": x, "y": y, "width": width, "height": height, "scale": 1})
        png = base64.b64decode(result["data"])
        picture = read_png(png)
        picture.png = png
        return picture

    async def close(self):
        if self.socket is not None:
            await self.socket.close()
        if self.reader is not None:
            self.reader.cancel()
        if self.browser is not None:
            self.browser.terminate()
            try:
                self.browser.wait(10)
            except subprocess.TimeoutExpired:
                self.browser.kill()
                self.browser.wait()
        shutil.rmtree(self.profile, ignore_errors=True)


class Picture:
    def __init__(self, width, height, rows):
        self.width, self.height, self.rows = width, height, rows  # rows of (r, g, b) bytes

    def pixel(self, x, y):
        row = self.rows[y]
        return row[3 * x], row[3 * x + 1], row[3 * x + 2]


def read_png(data):
    """An 8-bit RGB or RGBA PNG without interlacing, as a Picture of RGB rows."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, chunks, header = 8, [], None
    while pos < len(data):
        length = int.from_bytes(data[pos:pos + 4], "big")
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = body
        elif kind == b"IDAT":
            chunks.append(body)
        pos += 12 + length
    width, height = int.from_bytes(header[0:4], "big"), int.from_bytes(header[4:8], "big")
    depth, colour, interlace = header[8], header[9], header[12]
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        raise ValueError("PNG of depth %d, colour type %d" % (depth, colour))
    channels = 3 if colour == 2 else 4
    raw = zlib.decompress(b"".join(chunks))
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else
                                      up if pb <= pc else corner)) & 255
        previous = line
        rows.append(bytes(line) if channels == 3 else
                    bytes(b for j in range(0, stride, 4) for b in line[j:j + 3]))
    return Picture(width, height, rows)
