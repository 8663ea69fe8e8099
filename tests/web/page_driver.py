"""Drives the assembled reader page in headless Chromium (Debian's chromium
and chromium-driver, through python3-selenium): opened from a file:// path,
its fields filled by script (faster than typing, and no input method in the
way), its buttons clicked as a user clicks them.
"""
import pathlib

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait

CHROMEDRIVER = "/usr/bin/chromedriver"
# A 600,000-round derivation takes about a second on a loaded machine.
WAIT = 120


class ReaderPage:
    def __init__(self, page, language="ja", width=1100, height=900):
        options = webdriver.ChromeOptions()
        for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                    f"--lang={language}", "--hide-scrollbars"):
            options.add_argument(arg)
        # The page takes its language from navigator.languages.
        options.add_experimental_option("prefs", {"intl.accept_languages": language})
        options.set_capability("goog:loggingPrefs", {"performance": "ALL", "browser": "ALL"})
        self.driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        self.driver.set_window_size(width, height)
        self.url = pathlib.Path(page).resolve().as_uri()
        self.driver.get(self.url)

    def close(self):
        self.driver.quit()

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def fill(self, element_id, value):
        self.js("const e = document.getElementById(arguments[0]); e.value = arguments[1];"
                "e.dispatchEvent(new Event('input', {bubbles: true}));", element_id, value)

    def click(self, element_id):
        self.driver.find_element("id", element_id).click()

    def wait_idle(self, button):
        WebDriverWait(self.driver, WAIT, poll_frequency=0.05).until(
            lambda d: d.execute_script("return !document.getElementById(arguments[0]).disabled", button))

    def tab(self, which):
        self.click(f"tab-{which}")

    def open_text(self, received, password):
        """What the page shows for each block: ("plain", text) with the text
        exactly as the page holds it, or ("failed", message), followed by
        ("where", text) when the page says where a block is damaged; or
        [("message", text)] when the page says something about the whole."""
        self.tab("open")
        self.fill("received", received)
        self.fill("password", password)
        self.click("open")
        self.wait_idle("open")
        return self.js("""
            const message = document.getElementById('open-message');
            if (!message.hidden) return [['message', message.textContent]];
            return Array.from(document.querySelectorAll('#results .plain, #results .failed, #results .where'),
                e => [e.className.split(' ').find(c => ['plain', 'failed', 'where'].includes(c)), e.textContent]);""")

    def seal_text(self, text, password, width=60, confirmation=None):
        """The block the page wrote (CR LF line breaks, as it copies it), or
        ("message", text) when it refused."""
        self.tab("seal")
        self.fill("compose", text)
        self.fill("seal-password", password)
        self.fill("seal-confirm", password if confirmation is None else confirmation)
        self.fill("width", str(width))
        self.click("seal")
        self.wait_idle("seal")
        return self.js("""
            const message = document.getElementById('seal-message');
            if (!message.hidden) return ['message', message.textContent];
            return document.getElementById('sealed').textContent;""")

    def requested_urls(self):
        """Every URL the browser was asked to load since the last call, from
        its own log of requests."""
        import json
        urls = []
        for entry in self.driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            if message["method"] == "Network.requestWillBeSent":
                urls.append(message["params"]["request"]["url"])
        return urls

    def console_problems(self):
        return [e["message"] for e in self.driver.get_log("browser") if e["level"] in ("SEVERE", "WARNING")]

    def screenshot(self, path, width, mobile=False):
        """The whole page at a viewport `width` CSS pixels wide (a phone's
        when `mobile`), however long the page is."""
        metrics = {"width": width, "height": 800, "deviceScaleFactor": 1, "mobile": mobile}
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", metrics)
        metrics["height"] = max(600, self.js("return Math.ceil(document.documentElement.scrollHeight)"))
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", metrics)
        self.driver.save_screenshot(str(path))
        self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
