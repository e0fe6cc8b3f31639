#!/usr/bin/python3
"""The web remote in headless Chromium, paired by the QR code's address and by the key
typed: after each action over the live channel the fake Winamp 2 must have recorded exactly
what the phone's commands of the same meaning make it record. The page shows what the PC
pushes, says when the PC is gone, when this browser was removed and why an old one must
pair again, refuses a wrong key, installs as an app, and every control is big enough for a
thumb, at 390 and at 320 pixels wide. A capture of the port's traffic all along holds no
key, no K, no title and no name, and the channels in it, sent again, reach nothing.
  web_remote.py RIG_DIR HELPER_EXE [--screenshot PNG]"""
import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

from capture import Capture, client_streams, found_in

URL = "http://127.0.0.1:7655/"
WAIT_S = 60
# What the user waits at most to see that the PC went and came back, or that
# this browser was removed.
SHOWN_WITHIN_S = 3
# The page reads the playlist again after selecting or adding to it.
RELOADED = "Finished writing playlist"


class Helper:
    """The Windows helper under Wine: the server, the fake and a phone."""
    def __init__(self, rig, exe, *args):
        self.process = subprocess.Popen(
            [sys.path[0] + "/../rig/rig.sh", "run", rig, exe, *args],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        ready = self.process.stdout.readline().split(" ", 2)
        if ready[0] != "READY":
            raise SystemExit("the helper did not start the server")
        self.key, self.music = ready[1], ready[2].strip()
        self.a_bytes = b"the first song's bytes"
        self.phone = socket.create_connection(("127.0.0.1", 7654), WAIT_S)

    def block(self, line):
        """The answer, up to its line END."""
        print(line, file=self.process.stdin, flush=True)
        lines = []
        while not lines or lines[-1] != "END":
            lines.append(self.process.stdout.readline().strip())
        return "\n".join(lines[:-1])

    def close(self):
        self.process.communicate("quit\n", WAIT_S)


def viewport(driver, width, height):
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": True})


def browser(profile, downloads=None):
    options = webdriver.ChromeOptions()
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync",
                 "--user-data-dir=" + profile, "--window-size=390,844"):
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    if downloads:
        driver.execute_cdp_cmd("Browser.setDownloadBehavior",
                               {"behavior": "allow", "downloadPath": downloads})
    # Headless windows are at least 500 pixels wide: the page gets a phone's viewport.
    viewport(driver, 390, 844)
    return driver


def wait_for(condition, what, within_s=None):
    """The condition's value; with within_s, a failure too when it took longer."""
    start = time.time()
    while time.time() < start + WAIT_S:
        value = condition()
        if value:
            if within_s and time.time() - start > within_s:
                failures.append("%s took %.1f s" % (what, time.time() - start))
            return value
        time.sleep(0.1)
    raise AssertionError("waited in vain for " + what)


def name_parameter(path):
    data = path.encode("cp1252")
    return len(data).to_bytes(2, "big") + data


failures = []

# Every control's box, a check box's label in its place, and the part of the
# screen it scrolls in: [what, left, top, width, height, part].
CONTROL_BOXES = """
return Array.from(document.querySelectorAll('button, input, a[href], label'))
  .filter(e => e.getClientRects().length > 0)
  .filter(e => !(e.matches('input[type=checkbox]') && e.closest('label')))
  .filter(e => !e.matches('label') || e.querySelector('input[type=checkbox]'))
  .map(e => { const r = e.getBoundingClientRect();
              return [e.id || e.getAttribute('aria-label') || e.textContent.trim(),
                      r.left, r.top, r.width, r.height, (e.closest('.panel, #dock') || {}).id]; });
"""


def check_hit_areas(driver, width):
    """At least 44 x 44 pixels each, and 4 pixels apart where they scroll together, on
    every view."""
    for tab in ("tab-now", "tab-playlist", "tab-library"):
        driver.find_element(By.ID, tab).click()
        boxes = driver.execute_script(CONTROL_BOXES)
        for i, (what, left, top, w, h, part) in enumerate(boxes):
            if w < 44 or h < 44:
                failures.append("%d px wide, %s: %r is %.1f x %.1f" % (width, tab, what, w, h))
            for other, left2, top2, w2, h2, part2 in boxes[i + 1:]:
                gap = max(left2 - left - w, left - left2 - w2, top2 - top - h, top - top2 - h2)
                if part == part2 and gap < 3.99:
                    failures.append("%d px wide, %s: %r and %r %.1f px apart"
                                    % (width, tab, what, other, gap))
    driver.find_element(By.ID, "tab-now").click()


# The manifest, and each file the page names for the home screen: its type and,
# for a PNG, its size as decoded (the manifest's icons: and as it says).
APP_FILES = """
const done = arguments[0];
const get = async (url, sizes) => {
  const blob = await (await fetch(url)).blob();
  const image = blob.type === 'image/png' ? await createImageBitmap(blob) : {};
  return [url, blob.type, image.width ? image.width + 'x' + image.height : '', sizes];
};
fetch('/manifest.webmanifest').then((r) => r.json()).then(async (manifest) => done(JSON.stringify(
  [manifest.display, manifest.start_url, manifest.short_name, manifest.theme_color,
   await get('/manifest.webmanifest'), await get('/favicon.ico'),
   await get(document.querySelector('link[rel=apple-touch-icon]').href)].concat(
   await Promise.all(manifest.icons.map((icon) => get(icon.src, icon.sizes)))))),
  (error) => done('"' + error + '"'));
"""
APP_FILES_FOUND = ["standalone", "/", "Quorvel", "#f4f5f7",
                   ["/manifest.webmanifest", "application/manifest+json", "", None],
                   ["/favicon.ico", "image/x-icon", "", None],
                   [URL + "apple-touch-icon.png", "image/png", "180x180", None],
                   ["/icon-192.png", "image/png", "192x192", "192x192"],
                   ["/icon-512.png", "image/png", "512x512", "512x512"]]


def check_action(helper, what, act, log_lines, phone_bytes):
    """Runs act in the browser, then the phone's bytes; the fake must record the same.
    log_lines: the lines the page's commands log, each once more when they are done."""
    def seen():
        lines = helper.block("log").splitlines()
        return [lines.count(line) for line in log_lines]
    before = seen()
    helper.block("forget")
    act()
    wait_for(lambda: all(a > b for a, b in zip(seen(), before)), what + " in the log")
    web = helper.block("messages")
    helper.block("forget")
    # The phone's commands and a CHCK; done once the "Y" comes after any replies.
    helper.phone.sendall(phone_bytes + b"CHCK")
    replies = b"-"
    while not replies.endswith(b"Y") and replies:
        replies = helper.phone.recv(65536)
    phone = helper.block("messages")
    if web != phone or not web:
        failures.append("%s: the page sent %r, the phone %r" % (what, web, phone))


def phone_command(helper, command):
    """A command without a reply, done once a CHCK after it is answered."""
    helper.phone.sendall(command + b"CHCK")
    replies = b""
    while not replies.endswith(b"Y"):
        replies += helper.phone.recv(65536)


def pair_by_typing(driver, key):
    field = wait_for(lambda: driver.find_element(By.ID, "key"), "the pairing form")
    wait_for(field.is_displayed, "the pairing form to show")
    field.clear()
    field.send_keys(key + "\n")


def message_says(driver, text):
    return lambda: driver.find_element(By.ID, "pair-message").text == text


def first_browser(driver, helper, downloads, screenshot):
    """Pairs by the QR code's address, then drives the PC through every view; ends removed.
    Returns K as the page keeps it."""
    driver.get(URL + "#k=" + helper.key)
    wait_for(lambda: driver.find_element(By.ID, "remote").is_displayed(), "the remote")
    # The key leaves the address at once, so that no history keeps it.
    if driver.current_url != URL:
        failures.append("the address still holds the key: " + driver.current_url)
    wait_for(lambda: "Web remote: paired " in helper.block("log"), "the pairing line")
    k = json.loads(driver.execute_script("return localStorage.getItem('quorvel-pairing')"))["k"]
    # Winamp 2's caption without its playlist number, and the PC's volume (64).
    wait_for(lambda: driver.find_element(By.ID, "title").text == "Artist - First", "the title")
    wait_for(lambda: driver.find_element(By.ID, "volume-text").text == "25%", "the PC's volume")
    wait_for(lambda: len(driver.find_elements(By.CSS_SELECTOR, "#playlist li")) == 2,
             "the playlist")
    found = json.loads(driver.execute_async_script(APP_FILES))
    if found != APP_FILES_FOUND:
        failures.append("the web app's files: %r" % found)
    check_hit_areas(driver, 390)

    def click(selector):
        return lambda: driver.find_element(By.CSS_SELECTOR, selector).click()

    def play_button_says(label):
        return lambda: driver.find_element(By.ID, "play-pause").get_attribute(
            "aria-label") == label

    # One button that shows the state, pushed by the PC: Play when stopped, Pause while playing.
    phone_command(helper, b"STOP")
    wait_for(play_button_says("Play"), "the Play button")
    check_action(helper, "play", click("#play-pause"), ["Playing"], b"STRT")
    wait_for(play_button_says("Pause"), "the Pause button")
    check_action(helper, "pause", click("#play-pause"), ["Pause"], b"PAUS")

    def set_volume():
        driver.execute_script(
            "const v = document.getElementById('volume'); v.value = 128;"
            "v.dispatchEvent(new Event('change'));")
    check_action(helper, "volume", set_volume, ["Set volume to 50%"], b"VOLM\x80")
    phone_command(helper, b"VOLM\xc8")
    wait_for(lambda: driver.find_element(By.ID, "volume-text").text == "78%", "a phone's volume")

    driver.find_element(By.ID, "tab-playlist").click()
    check_action(helper, "select", click("#playlist li:nth-child(2) .name"),
                 ["Selected song 1 in playlist", RELOADED], b"SLCT\x00\x01PLST")

    driver.find_element(By.ID, "tab-library").click()
    def texts(selector):
        return driver.execute_script(
            "return Array.from(document.querySelectorAll(arguments[0]), e => e.textContent)",
            selector)
    names = wait_for(lambda: len(texts("#library .name")) == 3 and texts("#library .name"),
                     "the folder's three entries")
    a_index, b_index = names.index("a.mp3") + 1, names.index("b.mp3") + 1
    a_path, b_path = helper.music + "\\a.mp3", helper.music + "\\b.mp3"
    check_action(helper, "play a file", click("#library li:nth-child(%d) .name" % a_index),
                 ['Playing "%s"' % a_path], b"PLAY" + name_parameter(a_path))
    check_action(helper, "enqueue a file", click("#library li:nth-child(%d) .small" % b_index),
                 ['Adding "%s" to playlist' % b_path, RELOADED],
                 b"LADD" + name_parameter(b_path) + b"PLST")

    # The download button: a ticket over the channel, then the file as the browser saves it.
    click("#library li:nth-child(%d) [aria-label^=Download]" % a_index)()
    saved = os.path.join(downloads, "a.mp3")
    wait_for(lambda: os.path.exists(saved) and open(saved, "rb").read() == helper.a_bytes,
             "the downloaded file")
    wait_for(lambda: 'Uploading "%s"... finished' % a_path in helper.block("log"),
             "the download's log line")

    # One level down and back up, as DLST walks.
    click("#library li:nth-child(%d) .name" % (names.index("Jazz") + 1))()
    wait_for(lambda: texts("#library .name") == ["c.mp3"], "the Jazz folder")
    wait_for(lambda: 'Listing "%s\\Jazz": wrote list to phone' % helper.music
             in helper.block("log"), "the listing's log line")
    click("#up")()
    wait_for(lambda: texts("#library .name") == names, "the folder again")

    # The PC gone: a banner in view, the controls at rest; back: the banner goes.
    helper.block("web off")
    banner = driver.find_element(By.ID, "offline")
    wait_for(banner.is_displayed, "the banner", SHOWN_WITHIN_S)
    shown = driver.execute_script(
        "const r = arguments[0].getBoundingClientRect(); return [arguments[0].textContent,"
        " r.top >= 0 && r.bottom <= innerHeight, document.getElementById('remote').inert];",
        banner)
    if shown != ["Can't reach the PC. Trying again\u2026", True, True]:
        failures.append("the banner, in view, the controls inert: %r" % shown)
    helper.block("web on")
    wait_for(lambda: not banner.is_displayed(), "the banner to go", SHOWN_WITHIN_S)
    if not driver.find_element(By.ID, "remote").is_displayed():
        failures.append("the page asks to pair again after the PC came back")

    driver.find_element(By.ID, "tab-now").click()
    if screenshot:
        driver.save_screenshot(screenshot)
    errors = driver.find_element(By.ID, "error").text
    if errors:
        failures.append("the page reports: " + errors)
    viewport(driver, 320, 640)
    check_hit_areas(driver, 320)

    # Remove in the dialog: the pairing form at once, with the reason, and K forgotten.
    helper.block("remove")
    wait_for(lambda: driver.find_element(By.ID, "pairing").is_displayed(),
             "the pairing form after Remove", SHOWN_WITHIN_S)
    reason = driver.find_element(By.ID, "pair-reason").text
    if reason != "This browser was removed on the PC.":
        failures.append("after Remove the page says %r" % reason)
    if driver.execute_script("return localStorage.getItem('quorvel-pairing')") is not None:
        failures.append("the page keeps K after Remove")
    return k


def second_browser(driver, helper):
    """Paired before keys (a cookie of old): told why; a wrong key refused; the key as the
    user may type it accepted."""
    driver.get(URL)
    driver.add_cookie({"name": "quorvel_token", "value": "0" * 64})
    driver.refresh()
    wait_for(lambda: driver.find_element(By.ID, "pair-reason").text ==
             "Pair again: this PC now keeps the connection private.", "the old cookie's reason")
    key = helper.block("key")
    wrong = key[:-1] + ("0" if key[-1] != "0" else "1")
    pair_by_typing(driver, wrong)
    wait_for(message_says(driver, "That is not the key the PC shows. Check it and try again."),
             "a wrong key refused")
    # Counted towards this address's lockout.
    wait_for(lambda: "Web remote: wrong pairing key from 127.0.0.1" in helper.block("log"),
             "the wrong key's line")
    # Lower case, no dashes, O for 0 and L for 1.
    pair_by_typing(driver, key.replace("-", "").lower().replace("0", "o").replace("1", "l"))
    wait_for(lambda: driver.find_element(By.ID, "remote").is_displayed(), "the remote by key")
    wait_for(lambda: driver.find_element(By.ID, "title").text.startswith("Artist - "),
             "the title by key")
    check_action(helper, "next", lambda: driver.find_element(
        By.CSS_SELECTOR, "#transport [data-action=next]").click(), ["Next track"], b"NEXT")
    return key


def check_replays(helper, recorded):
    """Each channel's bytes from the page, sent again on a new connection, reach nothing:
    the PC's fresh nonce makes other keys, and it closes the connection."""
    channels = [s for s in client_streams(recorded) if s.startswith(b"GET /api/live ")]
    if len(channels) < 2:
        failures.append("%d channels in the capture" % len(channels))
    helper.block("forget")
    for stream in channels:
        replay = socket.create_connection(("127.0.0.1", 7655), WAIT_S)
        try:
            replay.sendall(stream)
            while replay.recv(65536):
                pass
        except socket.timeout:
            failures.append("the PC kept a replayed channel open")
        except ConnectionError:
            pass  # closed before all was sent
        replay.close()
    # The phone's CHCK comes after anything the replays could have made the PC do.
    phone_command(helper, b"")
    if helper.block("messages"):
        failures.append("a replayed channel reached the player: " + helper.block("messages"))


def main():
    rig, exe = sys.argv[1], sys.argv[2]
    screenshot = sys.argv[4] if len(sys.argv) > 4 and sys.argv[3] == "--screenshot" else None
    capture = Capture()
    helper = Helper(rig, exe)
    profiles = [tempfile.mkdtemp(prefix="quorvel-chromium-") for _ in range(3)]
    drivers = []
    keys, ks = [helper.key], []
    try:
        drivers.append(browser(profiles[0], profiles[2]))
        ks.append(first_browser(drivers[0], helper, profiles[2], screenshot))
        drivers.append(browser(profiles[1]))
        keys.append(second_browser(drivers[1], helper))
        ks.append(json.loads(drivers[1].execute_script(
            "return localStorage.getItem('quorvel-pairing')"))["k"])
        drivers.pop().quit()
        check_replays(helper, capture.so_far())
    finally:
        for driver in drivers:
            driver.quit()
        helper.close()
        recorded = capture.stop()
        for profile in profiles:
            shutil.rmtree(profile, ignore_errors=True)
    # A recording of it all holds no key, no K, no title and no name.
    secrets = keys + [key.replace("-", "") for key in keys] + ks + [bytes.fromhex(k) for k in ks]
    secrets += ["Artist - First", "Artist - Second", "a.mp3", "b.mp3", "c.mp3", "Jazz",
                helper.music]
    leaked = found_in(recorded, secrets)
    if leaked or len(recorded) < 10000:
        failures.append("the capture (%d bytes) holds %r" % (len(recorded), leaked))
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
