#!/usr/bin/python3
"""The Mouse tab end to end: headless Chromium with touch emulation, paired with the
real server under Wine, against a window of our own (FakeInputWindow): the tab's
first controls in view, a slow drag moves the pointer by what the page sent, taps
click (two fingers right, three middle), a double tap held and moved drags, two
fingers scroll, typed text arrives whole, Ctrl+A and Backspace empty the field, a channel
dropped while Ctrl is held leaves no key down, and the event log says once that the
browser uses the mouse and keyboard, without what was typed.
  touchpad_e2e.py RIG_DIR HELPER_EXE FAKE_EXE"""
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, sys.path[0])
from web_remote import URL, Helper, browser  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402

WAIT_S = 60
TYPED = "H\u00e9llo w\u00f6rld \u2713 \U0001F600"
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what, flush=True)


def wait_for(condition, what):
    start = time.time()
    while time.time() < start + WAIT_S:
        value = condition()
        if value:
            return value
        time.sleep(0.1)
    check(False, what)
    return None


class Fake:
    """The window under Wine, and what it records beside its exe."""
    def __init__(self, rig, exe):
        self.folder = os.path.dirname(exe)
        for name in ("messages.log", "state.txt", "quit.txt"):
            if os.path.exists(os.path.join(self.folder, name)):
                os.remove(os.path.join(self.folder, name))
        self.process = subprocess.Popen([sys.path[0] + "/../rig/rig.sh", "run", rig, exe],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def read(self, name):
        try:
            with open(os.path.join(self.folder, name), encoding="utf-8") as f:
                return f.read()
        except OSError:
            return ""

    def lines(self):
        return self.read("messages.log").splitlines()

    def state(self):
        """(x, y, ctrl, shift, alt, left button), or None before the first"""
        values = tuple(int(v) for v in self.read("state.txt").split())
        return values if len(values) == 6 else None

    def text(self):
        texts = [line[5:] for line in self.lines() if line.startswith("text ")]
        return bytes.fromhex(texts[-1]).decode("utf-8") if texts else None

    def close(self):
        with open(os.path.join(self.folder, "quit.txt"), "w"):
            pass
        self.process.wait(WAIT_S)
        os.remove(os.path.join(self.folder, "quit.txt"))


def touch(driver, kind, points):
    driver.execute_cdp_cmd("Input.dispatchTouchEvent", {
        "type": kind, "touchPoints": [{"x": x, "y": y, "id": i} for i, (x, y) in enumerate(points)]})


def drag(driver, points, dx, dy, steps, pause_s=0.03):
    touch(driver, "touchStart", points)
    for step in range(1, steps + 1):
        time.sleep(pause_s)
        touch(driver, "touchMove", [(x + dx * step / steps, y + dy * step / steps) for x, y in points])
    time.sleep(0.05)
    touch(driver, "touchEnd", [])


def tap(driver, fingers, x, y):
    touch(driver, "touchStart", [(x + 30 * i, y) for i in range(fingers)])
    time.sleep(0.05)
    touch(driver, "touchEnd", [])


def sent(driver):
    """The input events the page sent since the last call, in order."""
    return driver.execute_script("const s = window.inputSent; window.inputSent = []; return s;")


def total(events, kind, axis):
    return sum(e.get(axis, 0) for e in events if e["t"] == kind)


def pointer_moves(driver, fake, x, y, dx, dy, what):
    """Drags slowly by (dx, dy) and checks the pointer went as far as the page sent."""
    before = wait_for(fake.state, "the fake's state")
    sent(driver)
    drag(driver, [(x, y)], dx, dy, max(int(max(abs(dx), abs(dy)) / 3), 2))
    time.sleep(0.3)
    events = sent(driver)
    mx, my = total(events, "move", "dx"), total(events, "move", "dy")
    check(mx != 0 or my != 0, what + ": the page sent moves")
    target = (before[0] + mx, before[1] + my)
    wait_for(lambda: (lambda s: s and abs(s[0] - target[0]) <= 1 and abs(s[1] - target[1]) <= 1)(
        fake.state()), "%s: the pointer at %s" % (what, target))


def run(driver, helper, fake):
    driver.get(URL + "#k=" + helper.key)
    wait_for(lambda: driver.find_element(By.ID, "remote").is_displayed(), "the remote")
    driver.execute_script(
        "window.inputSent = []; const c = window.quorvelChannel; const send = c.sendInput.bind(c);"
        "c.sendInput = (events) => { window.inputSent.push(...events); return send(events); };")
    driver.find_element(By.ID, "tab-mouse").click()
    # A busy machine may deliver a quick tap late: the test's taps may be slow.
    driver.execute_script("window.QuorvelInput.timing.tapMs = 1500;")
    pad = driver.find_element(By.CSS_SELECTOR, "[aria-label=Touchpad]").rect
    x, y = pad["x"] + pad["width"] / 2, pad["y"] + pad["height"] / 2
    wait_for(lambda: driver.find_element(By.ID, "input-note").text == "", "the tab ready")
    for label in ("Touchpad", "Keyboard", "Backspace", "Enter", "Ctrl", "Left click", "Right click"):
        check(driver.execute_script("const r = document.querySelector('[aria-label=\"' + arguments[0] +"
                                    "'\"]').getBoundingClientRect(); return r.width > 0 && r.bottom <= "
                                    "innerHeight;", label), label + " in view without another tap")

    # In the middle of the screen, clear of the window: under Wine, X tells a
    # window under the pointer where it had it, late, which moves it back for a
    # moment (Windows has no such echo).
    pointer_moves(driver, fake, x - 60, y, 120, 20, "a slow drag")
    pointer_moves(driver, fake, x + 60, y, -120, -20, "a slow drag back")
    # Then onto the window, slowly (the phone's gain is the speed slider's 1.5).
    for _ in range(8):
        at = wait_for(fake.state, "the fake's state")
        if 50 < at[0] < 350 and 50 < at[1] < 250:
            break
        dx = max(-120, min(120, (200 - at[0]) / 1.5))
        dy = max(-120, min(120, (150 - at[1]) / 1.5))
        drag(driver, [(x - dx / 2, y - dy / 2)], dx, dy, max(int(max(abs(dx), abs(dy)) / 3), 2))
        time.sleep(0.5)
    at = fake.state()
    check(at and 0 < at[0] < 400 and 0 < at[1] < 300, "the pointer over the window: %s" % (at,))
    time.sleep(0.5)
    tap(driver, 1, x, y)
    wait_for(lambda: any(l.startswith("left up") for l in fake.lines()), "a tap clicks")
    tap(driver, 2, x, y)
    wait_for(lambda: any(l.startswith("right up") for l in fake.lines()), "a two-finger tap right-clicks")
    tap(driver, 3, x - 30, y)
    wait_for(lambda: any(l.startswith("middle up") for l in fake.lines()), "a three-finger tap middle-clicks")
    time.sleep(1.6)
    sent(driver)
    tap(driver, 1, x, y)
    time.sleep(0.1)
    drag(driver, [(x, y)], -30, -15, 15)
    time.sleep(0.3)
    got = [e for e in sent(driver) if e["t"] != "move"]
    check(got == [{"t": "button", "b": "left", "down": True}, {"t": "button", "b": "left", "down": False}],
          "a double tap held and moved drags: %s" % got)
    wait_for(lambda: [l.split()[:2] for l in fake.lines()][-2:] == [["left", "down"], ["left", "up"]],
             "the drag's button on the PC")
    sent(driver)
    drag(driver, [(x - 20, y + 40), (x + 20, y + 40)], 0, -40, 20)
    time.sleep(0.3)
    wheel = total(sent(driver), "wheel", "dy")
    check(wheel > 0, "two fingers going up scroll down: %d" % wheel)
    wait_for(lambda: sum(int(l.split()[2]) for l in fake.lines() if l.startswith("wheel v")) == -wheel,
             "a two-finger drag scrolls by %d" % wheel)

    field = driver.find_element(By.CSS_SELECTOR, "[aria-label=Keyboard]")
    field.click()
    driver.execute_cdp_cmd("Input.insertText", {"text": TYPED})
    wait_for(lambda: fake.text() == TYPED, "the typed text arrives whole: %r" % fake.text())
    driver.find_element(By.CSS_SELECTOR, "[aria-label=Ctrl]").click()
    driver.execute_cdp_cmd("Input.insertText", {"text": "a"})
    driver.find_element(By.CSS_SELECTOR, "[aria-label=Backspace]").click()
    wait_for(lambda: fake.text() == "", "Ctrl+A and Backspace empty the field: %r" % fake.text())

    # Ctrl locked, then the channel dropped (the page goes): the PC lets go of it.
    ctrl = driver.find_element(By.CSS_SELECTOR, "[aria-label=Ctrl]")
    driver.execute_script("arguments[0].click(); arguments[0].click();", ctrl)
    wait_for(lambda: (fake.state() or (0,) * 6)[2] == 1, "Ctrl locked is down on the PC")
    driver.get(URL)
    wait_for(lambda: (fake.state() or (1,) * 6)[2:] == (0, 0, 0, 0), "no key down once the channel dropped")
    log = helper.block("log")
    check(log.count("uses the mouse and keyboard") == 1, "the log says it once:\n" + log[-2000:])
    check("llo" not in log and "w\u00f6rld" not in log, "the log holds nothing typed")

    # Input turned off on the PC: the tab says how to turn it on, and nothing is typed.
    wait_for(lambda: driver.find_element(By.ID, "remote").is_displayed(), "the remote again")
    driver.find_element(By.ID, "tab-mouse").click()
    helper.block("input off")
    wait_for(lambda: "tick" in driver.find_element(By.ID, "input-note").text, "the tab says input is off")
    wait_for(lambda: driver.execute_script("return window.quorvelChannel.sendInput([{t: 'text', s: 'x'}])"),
             "a message sent while off")
    wait_for(lambda: "which are off" in helper.block("log"), "the log tells input was refused")
    check(fake.text() == "", "nothing typed while input is off: %r" % fake.text())


def main():
    rig, helper_exe, fake_exe = sys.argv[1:4]
    helper = Helper(rig, helper_exe)
    fake = Fake(rig, fake_exe)
    try:
        wait_for(fake.state, "the fake window")
        with tempfile.TemporaryDirectory() as profile:
            driver = browser(profile)
            try:
                driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled",
                                       {"enabled": True, "maxTouchPoints": 5})
                run(driver, helper, fake)
            finally:
                driver.quit()
    finally:
        fake.close()
        helper.close()
    print("failures: %d" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
