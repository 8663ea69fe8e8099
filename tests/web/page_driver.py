"""Drives the assembled reader page in headless Chromium (Debian's chromium
and chromium-driver, through python3-selenium): opened from a file:// path,
its fields filled by script (faster than typing, and no input method in the
way), its buttons clicked as a user clicks them.
"""
import base64
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

    def wait_for(self, condition, seconds=WAIT):
        """Waits until the script expression `condition` holds."""
        WebDriverWait(self.driver, seconds, poll_frequency=0.05).until(
            lambda d: d.execute_script("return " + condition))

    def choose_file(self, path):
        """Chooses the file at `path` with the received box's file button,
        as the browser's file chooser would."""
        self.driver.find_element("id", "received-file").send_keys(str(pathlib.Path(path).resolve()))

    def drop_file(self, name, data):
        """Drops a file named `name` holding the bytes `data` on the
        received box, as a drag from the desktop does."""
        self.js("""const [name, b64] = arguments;
            const bytes = Uint8Array.from(atob(b64), (c) => c.charCodeAt(0));
            const transfer = new DataTransfer();
            transfer.items.add(new File([bytes], name));
            const box = document.getElementById('received');
            for (const type of ['dragenter', 'dragover', 'drop']) {
              box.dispatchEvent(new DragEvent(type, { dataTransfer: transfer, bubbles: true, cancelable: true }));
            }""", name, base64.b64encode(data).decode())

    def download_to(self, folder):
        """Downloads from here on land in `folder`."""
        self.driver.execute_cdp_cmd("Browser.setDownloadBehavior",
                                    {"behavior": "allow", "downloadPath": str(pathlib.Path(folder).resolve())})

    def tab(self, which):
        self.click(f"tab-{which}")

    def open_text(self, received, password):
        """What the page shows for each block: ("plain", text) with the text
        exactly as the page holds it, or ("failed", message), followed by
        ("where", text) when the page says where a block is damaged; or
        [("message", text)] when the page says something about the whole."""
        self.tab("open")
        self.fill("received", received)
        return self.open_received(password)

    def open_received(self, password, key=None, key_passphrase=""):
        """As open_text, for what the received box holds now; with `key`,
        the text of a secret key file in the open tab's key field, and
        ("sender", line) after a text opened with it. A key the page could
        not take says so first: ("key", message)."""
        self.tab("open")
        self.fill("password", password)
        if key is not None:
            self.fill("my-key", key)
            self.fill("my-key-pass", key_passphrase)
        self.click("open")
        self.wait_idle("open")
        return self.js("""
            const message = document.getElementById('open-message');
            if (!message.hidden) return [['message', message.textContent]];
            const key = document.getElementById('my-key-message');
            const shown = Array.from(
                document.querySelectorAll('#results .plain, #results .sender, #results .failed, #results .where'),
                e => [e.className.split(' ').find(c => ['plain', 'sender', 'failed', 'where'].includes(c)), e.textContent]);
            return key.hidden ? shown : [['key', key.textContent], ...shown];""")

    def open_with_key(self, received, key, key_passphrase="", password=""):
        """As open_text, with the secret key file's text `key`."""
        self.tab("open")
        self.fill("received", received)
        return self.open_received(password, key, key_passphrase)

    def make_key(self, name, passphrase):
        """The key the keys tab makes: (key block, safety digits, sealed
        secret key), each as the page shows it; or ("message", text)."""
        self.tab("keys")
        self.fill("key-name", name)
        self.fill("key-pass", passphrase)
        self.fill("key-pass-confirm", passphrase)
        self.click("make-key")
        self.wait_idle("make-key")
        return tuple(self.js("""const $ = (id) => document.getElementById(id);
            if (!$('key-message').hidden) return ['message', $('key-message').textContent];
            return [$('my-public').textContent, $('my-digits').textContent, $('my-secret').textContent];"""))

    def key_list(self, list_id):
        """What a list of key blocks shows: its lines' texts."""
        return self.js("return Array.from(document.getElementById(arguments[0]).children, (e) => e.textContent)",
                       list_id)

    def seal_to_keys(self, text, to, my_key="", my_key_passphrase="", width=60):
        """The block the seal tab writes to the key blocks `to` (as
        pasted), from the secret key file's text `my_key` (a one-off key
        when empty); or ("message", text)."""
        self.tab("seal")
        self.fill("compose", text)
        self.fill("seal-to", to)
        self.fill("seal-my-key", my_key)
        self.fill("seal-my-key-pass", my_key_passphrase)
        self.fill("width", str(width))
        self.click("seal")
        self.wait_idle("seal")
        return self.js("""
            const message = document.getElementById('seal-message');
            if (!message.hidden) return ['message', message.textContent];
            return document.getElementById('sealed').textContent;""")

    def seal_text(self, text, password, width=60, confirmation=None):
        """The block the page wrote (CR LF line breaks, as it copies it), or
        ("message", text) when it refused. The empty text is sealed as the
        user who answers Continue to the page's question."""
        self.tab("seal")
        self.fill("seal-to", "")
        self.fill("compose", text)
        self.fill("seal-password", password)
        self.fill("seal-confirm", password if confirmation is None else confirmation)
        self.fill("width", str(width))
        self.click("seal")
        if text == "":
            self.wait_for("!document.getElementById('empty-question').hidden")
            self.click("empty-continue")
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
        # Painted at the new size before the shot: on a busy machine the
        # shot otherwise catches a frame laid out but not yet drawn.
        self.driver.execute_async_script(
            "const done = arguments[0];"
            "requestAnimationFrame(() => requestAnimationFrame(() => done()));")
        self.driver.save_screenshot(str(path))
        self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
