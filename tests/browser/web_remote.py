#!/usr/bin/python3
"""The web remote in headless Chromium, paired with the code from the dialog:
after each action the fake Winamp 2 must have recorded exactly what the phone's
commands of the same meaning make it record.
  web_remote.py RIG_DIR HELPER_EXE [--screenshot PNG]"""
import shutil
import socket
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

URL = "http://127.0.0.1:7655/"
WAIT_S = 60
# The page reads the playlist again after selecting or adding to it.
RELOADED = "Finished writing playlist"


class Helper:
    """The Windows helper under Wine: the server, the fake and a phone."""
    def __init__(self, rig, exe):
        self.process = subprocess.Popen(
            [sys.path[0] + "/../rig/rig.sh", "run", rig, exe],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        ready = self.process.stdout.readline().split(" ", 2)
        if ready[0] != "READY":
            raise SystemExit("the helper did not start the server")
        self.code, self.music = ready[1], ready[2].strip()
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


def browser(profile):
    options = webdriver.ChromeOptions()
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync",
                 "--user-data-dir=" + profile, "--window-size=390,844"):
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    # Headless windows are at least 500 pixels wide: the page gets a phone's viewport.
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": 390, "height": 844, "deviceScaleFactor": 1, "mobile": True})
    return driver


def wait_for(condition, what):
    deadline = time.time() + WAIT_S
    while time.time() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.1)
    raise AssertionError("waited in vain for " + what)


def name_parameter(path):
    data = path.encode("cp1252")
    return len(data).to_bytes(2, "big") + data


failures = []


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


def main():
    rig, exe = sys.argv[1], sys.argv[2]
    screenshot = sys.argv[4] if len(sys.argv) > 4 and sys.argv[3] == "--screenshot" else None
    helper = Helper(rig, exe)
    profile = tempfile.mkdtemp(prefix="quorvel-chromium-")
    driver = browser(profile)
    try:
        driver.get(URL)
        code = wait_for(lambda: driver.find_element(By.ID, "code"), "the pairing form")
        wait_for(code.is_displayed, "the pairing form to show")
        code.send_keys(helper.code)
        driver.find_element(By.CSS_SELECTOR, "#pair-form button").click()
        wait_for(lambda: driver.find_element(By.ID, "remote").is_displayed(), "the remote")
        wait_for(lambda: "Web remote: paired " in helper.block("log"), "the pairing line")
        wait_for(lambda: driver.find_element(By.ID, "title").text == "1. Artist - First",
                 "the title")
        wait_for(lambda: len(driver.find_elements(By.CSS_SELECTOR, "#playlist li")) == 2,
                 "the playlist")

        def click(selector):
            return lambda: driver.find_element(By.CSS_SELECTOR, selector).click()

        check_action(helper, "play", click("#transport [data-action=play]"), ["Playing"], b"STRT")
        check_action(helper, "pause", click("#transport [data-action=pause]"), ["Pause"], b"PAUS")

        def set_volume():
            driver.execute_script(
                "const v = document.getElementById('volume'); v.value = 128;"
                "v.dispatchEvent(new Event('change'));")
        check_action(helper, "volume", set_volume, ["Set volume to 50%"], b"VOLM\x80")

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
        check_action(helper, "enqueue a file",
                     click("#library li:nth-child(%d) .small" % b_index),
                     ['Adding "%s" to playlist' % b_path, RELOADED],
                     b"LADD" + name_parameter(b_path) + b"PLST")

        # The download link, fetched as the browser would follow it (cookie and all).
        body = driver.execute_async_script(
            "const done = arguments[0];"
            "const link = document.querySelector('#library li:nth-child(%d) a');"
            "fetch(link.href).then(r => r.text()).then(done, e => done('failed: ' + e));"
            % a_index)
        if body != "the bytes of a.mp3":
            failures.append("the download gave %r" % body)
        wait_for(lambda: 'Uploading "%s"... finished' % a_path in helper.block("log"),
                 "the download's log line")

        # One level down and back up, as DLST walks.
        click("#library li:nth-child(%d) .name" % (names.index("Jazz") + 1))()
        wait_for(lambda: texts("#library .name") == ["c.mp3"], "the Jazz folder")
        wait_for(lambda: 'Listing "%s\\Jazz": wrote list to phone' % helper.music
                 in helper.block("log"), "the listing's log line")
        click("#up")()
        wait_for(lambda: texts("#library .name") == names, "the folder again")

        if screenshot:
            driver.find_element(By.ID, "tab-playlist").click()
            driver.execute_script("window.scrollTo(0, 0)")
            time.sleep(0.5)
            driver.save_screenshot(screenshot)
        errors = driver.find_element(By.ID, "error").text
        if errors:
            failures.append("the page reports: " + errors)
    finally:
        driver.quit()
        helper.close()
        shutil.rmtree(profile, ignore_errors=True)
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
