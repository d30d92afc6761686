#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Renders a course with tessaro-render --course and opens its index.html in headless
Chromium, driven through the DevTools protocol on a pipe: every asana of the catalogue is
listed, playing the first video advances its currentTime, and a screenshot of the page is
written to OUTDIR/index.png.

usage: index_page_check.py TESSARO_RENDER COURSE_DIR OUTDIR
Exits 77 (skipped) with a message where Chromium is missing or cannot start.
"""
import base64
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading

SKIPPED = 77
CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--autoplay-policy=no-user-gesture-required", "--remote-debugging-pipe"]


def skip(why):
    print(f"SKIPPED: {why}")
    sys.exit(SKIPPED)


class DevTools:
    """The DevTools protocol over --remote-debugging-pipe: JSON messages ended by NUL, read
    by Chromium on its fd 3 and written on its fd 4."""

    def __init__(self, chromium, profile):
        to_child, self.to_browser = os.pipe()
        self.from_browser, from_child = os.pipe()

        # Copied out of the way first, in case a pipe end is itself 3 or 4; the pipe ends
        # are not inherited, their copies at 3 and 4 are.
        def wire():
            reading, writing = os.dup(to_child), os.dup(from_child)
            os.dup2(reading, 3)
            os.dup2(writing, 4)

        self.process = subprocess.Popen(
            [chromium, *CHROMIUM_FLAGS, f"--user-data-dir={profile}", "about:blank"],
            close_fds=False, preexec_fn=wire,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_child)
        os.close(from_child)
        self.buffer = b""
        self.next_id = 0

    def call(self, method, params=None, session=None, timeout=30):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self.to_browser, json.dumps(message).encode() + b"\0")
        while True:
            reply = self._read(timeout)
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply["result"]

    def _read(self, timeout):
        result = {}

        def read():
            while b"\0" not in self.buffer:
                chunk = os.read(self.from_browser, 1 << 16)
                if not chunk:
                    return
                self.buffer += chunk
            line, self.buffer = self.buffer.split(b"\0", 1)
            result["message"] = json.loads(line)

        reader = threading.Thread(target=read, daemon=True)
        reader.start()
        reader.join(timeout)
        if "message" not in result:
            raise TimeoutError("no answer from Chromium")
        return result["message"]

    def close(self):
        try:
            self.call("Browser.close", timeout=5)
        except (RuntimeError, TimeoutError, OSError):
            pass
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()


def evaluate(tools, session, expression):
    result = tools.call("Runtime.evaluate", {"expression": expression, "awaitPromise": True,
                                             "returnByValue": True}, session, timeout=60)
    if "exceptionDetails" in result:
        raise RuntimeError(f"page script failed: {result['exceptionDetails']}")
    return result["result"].get("value")


LOADED = "new Promise(r => document.readyState === 'complete' ? r() : addEventListener('load', () => r()))"
NAMES = "Array.from(document.querySelectorAll('section.asana h2'), h => h.textContent.replace(/^\\d+\\. /, ''))"
PLAY = """(async () => {
  const video = document.querySelector('video');
  video.muted = true;
  const before = video.currentTime;
  try { await video.play(); } catch (e) { return {error: String(e)}; }
  await new Promise(r => setTimeout(r, 1500));
  return {before: before, after: video.currentTime, error: video.error && video.error.message};
})()"""


def main():
    render, course, out = sys.argv[1:4]
    chromium = shutil.which("chromium")
    if chromium is None:
        skip("chromium is not installed (Debian package chromium)")
    rendered = subprocess.run([render, "--resourcedir", course, "--course", out, "--json"],
                              capture_output=True, text=True, check=False)
    if rendered.returncode != 0:
        sys.exit(f"tessaro-render failed ({rendered.returncode}):\n{rendered.stderr}")
    lines = [json.loads(line) for line in rendered.stdout.splitlines()]
    expected = [line["asana"] for line in lines if line["event"] == "rendered"]

    with tempfile.TemporaryDirectory() as profile:
        tools = DevTools(chromium, profile)
        try:
            try:
                tools.call("Browser.getVersion", timeout=30)
            except (TimeoutError, OSError) as error:
                skip(f"chromium does not start headless here ({error})")
            target = tools.call("Target.createTarget", {"url": "about:blank"})["targetId"]
            session = tools.call("Target.attachToTarget",
                                 {"targetId": target, "flatten": True})["sessionId"]
            tools.call("Emulation.setDeviceMetricsOverride",
                       {"width": 900, "height": 1400, "deviceScaleFactor": 1, "mobile": False},
                       session)
            tools.call("Page.navigate", {"url": "file://" + os.path.abspath(out) + "/index.html"},
                       session)
            evaluate(tools, session, LOADED)
            names = evaluate(tools, session, NAMES)
            played = evaluate(tools, session, PLAY)
            shot = tools.call("Page.captureScreenshot", {"format": "png"}, session)
            with open(os.path.join(out, "index.png"), "wb") as png:
                png.write(base64.b64decode(shot["data"]))
        finally:
            tools.close()

    print(f"listed: {names}")
    print(f"first video: {played}")
    failures = []
    if names != expected:
        failures.append(f"the page lists {names}, the course has {expected}")
    if played.get("error") or not played.get("after", 0) > played.get("before", 0):
        failures.append(f"playing the first asana did not advance its currentTime: {played}")
    if failures:
        sys.exit("\n".join(failures))
    print(f"screenshot: {os.path.join(out, 'index.png')}")


if __name__ == "__main__":
    main()
