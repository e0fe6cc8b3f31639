#!/usr/bin/python3
"""The Mouse tab's gestures and keys in headless Chromium with touch emulation,
the page served as files and its channel stood in for: what each gesture sends.
  touchpad_gestures.py PAGE_DIR"""
import functools
import http.server
import json
import sys
import tempfile
import threading
import time

sys.path.insert(0, sys.path[0])
from web_remote import browser  # noqa: E402

WAIT_S = 30
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what, flush=True)


def serve(folder):
    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass
    handler = functools.partial(Quiet, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


class Page:
    def __init__(self, driver):
        self.driver = driver

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def sent(self):
        """The events sent since the last call, each message a list."""
        return self.js("const s = window.sent; window.sent = []; return s;")

    def wait_sent(self, condition, what):
        got = []
        start = time.time()
        while time.time() < start + WAIT_S:
            got += self.sent()
            if condition(got):
                return got
            time.sleep(0.05)
        check(False, "%s: %s" % (what, json.dumps(got)[:300]))
        return got

    def touch(self, kind, points):
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {
            "type": kind, "touchPoints": [{"x": x, "y": y, "id": i} for i, (x, y) in enumerate(points)]})

    def tap(self, fingers, x, y):
        points = [(x + 30 * i, y) for i in range(fingers)]
        self.touch("touchStart", points)
        time.sleep(0.05)
        self.touch("touchEnd", [])

    def drag(self, points, dx, dy, steps, pause_s):
        self.touch("touchStart", points)
        for step in range(1, steps + 1):
            time.sleep(pause_s)
            self.touch("touchMove", [(x + dx * step / steps, y + dy * step / steps) for x, y in points])
        time.sleep(0.05)
        self.touch("touchEnd", [])


def flat(messages):
    return [event for message in messages for event in message]


def total(events, kind, axis):
    return sum(e.get(axis, 0) for e in events if e["t"] == kind)


def run(page):
    pad = page.js("const r = document.querySelector('[aria-label=Touchpad]').getBoundingClientRect();"
                  "return [r.left + r.width / 2, r.top + r.height / 2, r.width, r.height];")
    x, y = pad[0], pad[1]
    check(pad[3] > 100, "the surface has room: %s" % pad)
    for label in ("Touchpad", "Keyboard", "Backspace", "Enter", "Ctrl", "Left click", "Right click"):
        shown = page.js("const e = document.querySelector('[aria-label=\"' + arguments[0] + '\"]');"
                        "if (!e) return false; const r = e.getBoundingClientRect();"
                        "return r.width > 0 && r.bottom <= innerHeight;", label)
        check(shown, label + " is in view without another tap")

    # A slow drag: 1.5 pixels on the PC per pixel of finger at the default speed.
    page.sent()
    page.drag([(x - 60, y)], 100, 0, 50, 0.02)
    got = page.wait_sent(lambda m: abs(total(flat(m), "move", "dx") - 150) <= 1, "a slow drag moves 150")
    check(all(sum(1 for e in m if e["t"] == "move") <= 1 for m in got), "one move per message")
    check(total(flat(got), "move", "dy") == 0, "a level drag stays level")

    time.sleep(1.6)
    page.sent()
    page.tap(1, x, y)
    page.wait_sent(lambda m: {"t": "click", "b": "left"} in flat(m), "a tap clicks")
    page.tap(2, x, y)
    page.wait_sent(lambda m: {"t": "click", "b": "right"} in flat(m), "a two-finger tap right-clicks")
    page.tap(3, x - 30, y)
    page.wait_sent(lambda m: {"t": "click", "b": "middle"} in flat(m), "a three-finger tap middle-clicks")

    # Two fingers going up 40 pixels: the content follows, the wheel goes down.
    page.drag([(x - 20, y + 40), (x + 20, y + 40)], 0, -40, 20, 0.02)
    got = page.wait_sent(lambda m: total(flat(m), "wheel", "dy") >= 118, "a two-finger drag scrolls down")
    check(total(flat(got), "move", "dx") == 0, "scrolling moves no pointer")

    # A double tap held and moved drags with the left button.
    time.sleep(1.6)
    page.sent()
    page.tap(1, x, y)
    time.sleep(0.1)
    page.drag([(x, y)], 60, 30, 20, 0.02)
    got = flat(page.wait_sent(lambda m: {"t": "button", "b": "left", "down": False} in flat(m),
                              "a double tap held and moved drags"))
    check(got[:1] == [{"t": "button", "b": "left", "down": True}] and total(got, "move", "dx") > 60,
          "the drag holds the button, then moves: %s" % got[:3])

    # The keyboard field: text as typed, keys as keys, a letter after Ctrl as Ctrl+letter.
    page.js("document.querySelector('[aria-label=Keyboard]').focus()")
    page.sent()
    page.driver.execute_cdp_cmd("Input.insertText", {"text": "H\u00e9llo w\u00f6rld \u2713 \U0001F600"})
    got = page.wait_sent(lambda m: "".join(e.get("s", "") for e in flat(m)).endswith("\U0001F600"), "typed text")
    check("".join(e["s"] for e in flat(got)) == "H\u00e9llo w\u00f6rld \u2713 \U0001F600", "the text whole")
    for key, code in (("Backspace", 8), ("Enter", 13)):
        page.driver.execute_cdp_cmd("Input.dispatchKeyEvent", {"type": "rawKeyDown", "key": key,
                                    "code": key, "windowsVirtualKeyCode": code})
        page.driver.execute_cdp_cmd("Input.dispatchKeyEvent", {"type": "keyUp", "key": key, "code": key,
                                    "windowsVirtualKeyCode": code})
    page.wait_sent(lambda m: [e.get("k") for e in flat(m)][-1:] == ["Enter"] and
                   {"t": "key", "k": "Backspace"} in flat(m), "Backspace and Enter as keys")
    page.js("document.querySelector('[aria-label=Ctrl]').click()")
    page.driver.execute_cdp_cmd("Input.insertText", {"text": "a"})
    page.wait_sent(lambda m: {"t": "key", "k": "A", "mods": ["ctrl"]} in flat(m), "Ctrl then a is Ctrl+A")
    check(page.js("return document.querySelector('[aria-label=Keyboard]').value") == "",
          "Ctrl+A leaves no a in the field")
    page.js("document.querySelector('[aria-label=Backspace]').click()")
    page.wait_sent(lambda m: {"t": "key", "k": "Backspace"} in flat(m), "the Backspace button")

    # Two taps within 400 ms lock a modifier; the next tap lets it go.
    page.js("const c = document.querySelector('[aria-label=Alt]'); c.click(); c.click();")
    page.wait_sent(lambda m: {"t": "mod", "k": "alt", "down": True} in flat(m), "Alt locked")
    page.js("document.querySelector('[aria-label=Tab]').click()")
    page.wait_sent(lambda m: {"t": "key", "k": "Tab", "mods": ["alt"]} in flat(m), "Alt+Tab while locked")
    page.js("document.querySelector('[aria-label=Alt]').click()")
    page.wait_sent(lambda m: {"t": "mod", "k": "alt", "down": False} in flat(m), "Alt let go")

    page.js("window.QuorvelInput.push({push: 'input', blocked: 'elevated', allowed: true})")
    check("administrator" in page.js("return document.getElementById('input-note').textContent"),
          "an administrator's window is told")
    page.js("window.QuorvelInput.push({push: 'input', blocked: 'locked', allowed: true})")
    check(page.js("return document.getElementById('input-note').textContent") == "The PC is locked.",
          "a locked PC is told")
    page.js("window.QuorvelInput.push({push: 'input', blocked: '', allowed: false})")
    check("tick" in page.js("return document.getElementById('input-note').textContent"),
          "input turned off says how to turn it on")


def main():
    server = serve(sys.argv[1])
    with tempfile.TemporaryDirectory() as profile:
        driver = browser(profile)
        try:
            driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
            driver.get("http://127.0.0.1:%d/index.html" % server.server_address[1])
            page = Page(driver)
            # The channel stood in for: what would be sealed and sent is kept.
            page.js("window.sent = []; document.getElementById('remote').hidden = false;"
                    "document.getElementById('pairing').hidden = true;"
                    "document.getElementById('tab-mouse').click();"
                    "window.QuorvelInput.opened((events) => { window.sent.push(events); return true; });"
                    # A busy machine may deliver a quick tap late: the test's taps are slow.
                    "window.QuorvelInput.timing.tapMs = 1500; window.QuorvelInput.timing.doubleTapMs = 1500;")
            run(page)
        finally:
            driver.quit()
            server.shutdown()
    print("failures: %d" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
