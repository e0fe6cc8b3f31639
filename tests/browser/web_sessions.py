#!/usr/bin/python3
"""The media-keys page with the fake sessions of two apps: what one plays, its artwork (over
the channel), and the chooser (thumb-sized at 320 px) driving the other.  web_sessions.py RIG HELPER"""
import shutil
import sys
import tempfile

from selenium.webdriver.common.by import By

from web_remote import (URL, Helper, browser, check_hit_areas, failures, pair_by_typing,
                        viewport, wait_for)

ZUNE = "Microsoft.ZuneMusic_8wekyb3d8bbwe!Microsoft.ZuneMusic"
helper = Helper(sys.argv[1], sys.argv[2], "sessions")
profile = tempfile.mkdtemp(prefix="quorvel-chromium-")
driver = browser(profile)
try:
    def texts(*ids):
        return [driver.find_element(By.ID, i).text for i in ids]
    driver.get(URL)
    pair_by_typing(driver, helper.key)
    wait_for(lambda: texts("title", "artist", "album", "player")
             == ["Caf\u00e9 \u03a9", "Ana", "Blue", "Spotify"], "the session's details")
    wait_for(lambda: driver.execute_script(
        "return document.querySelector('.art.shown canvas')?.width > 0"), "the artwork")
    viewport(driver, 320, 640)
    check_hit_areas(driver, 320)
    driver.find_element(By.XPATH, "//*[@id='apps']/button[.='ZuneMusic']").click()
    wait_for(lambda: texts("title") == ["Other"], "the other app's title")
    driver.find_element(By.CSS_SELECTOR, "#transport [data-action=next]").click()
    wait_for(lambda: helper.block("messages") == "RequestAsync\n" + ZUNE + " TrySkipNextAsync",
             "Next reaching the other app (and nothing else reaching an app)")
finally:
    driver.quit()
    helper.close()
    shutil.rmtree(profile, ignore_errors=True)
for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)
