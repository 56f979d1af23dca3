#!/usr/bin/env python3
"""The browser build against the desktop: plays a story script in headless Chromium
and compares the page's dumps (every key but time_ms) and its title shot (pixel for
pixel) with a headless desktop run of the same script; then saves a game in one load
of the page, exports it, imports it into a fresh profile on a phone (touch, portrait and
landscape: see phone()) and loads it there, and compares those dumps the same way; at last
opens the page without a script, offline and without storage (check_alone()). Any
uncaught error of a page fails the test.

usage: web_test.py [SCRIPT]   (run from the checkout; builds with scripts/web.sh)
Exit status 0 when both match, 1 when they differ, 77 when the browser build's
tools are not installed (a skip)."""
import base64
import fcntl
import functools
import http.server
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import threading
import types

ROOT = pathlib.Path(__file__).resolve().parents[2]
HERE = pathlib.Path(__file__).resolve().parent
CHROMIUM = "/usr/bin/chromium"
FLAGS = ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync"]


# The title, the dumps and the shots of the page, as JSON.
PAGE = """JSON.stringify({title: document.title,
    dumps: Object.fromEntries([...document.querySelectorAll('pre[id^="dump-"]')]
                              .map(e => [e.id.slice(5), e.textContent])),
    shots: Object.fromEntries([...document.querySelectorAll('img[id^="shot-"]')]
                              .map(e => [e.id.slice(5), e.getAttribute('src')]))})"""


def dump_names(script: pathlib.Path) -> list:
    return [line.split()[1] for line in script.read_text(encoding="utf-8").splitlines() if line.startswith("dump ")]


def shot_names(script: pathlib.Path) -> set:
    return {line.split()[1] for line in script.read_text(encoding="utf-8").splitlines() if line.startswith("shot ")}


def compare_dumps(name, desktop, browser, failures):
    for key in sorted(set(desktop) | set(browser)):
        if key != "time_ms" and desktop.get(key) != browser.get(key):
            failures.append(f"dump {name}: {key}: desktop {desktop.get(key)!r}, browser {browser.get(key)!r}")


# The whole Japanese font, which the page fetches after the title (the game starts with a
# first cut of it): the server holds it back while WHOLE_FONT is clear.
WHOLE_FONT = "/files/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
whole_font = threading.Event()
whole_font.set()


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        if self.path.startswith(WHOLE_FONT):
            whole_font.wait(120)
        super().do_GET()


def serve(folder):
    """An HTTP server on a free port of 127.0.0.1, serving `folder` from a thread."""
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=str(folder)))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


class Browser:
    """Headless Chromium driven over its debugging pipe (JSON messages ended by a NUL
    byte on descriptors 3 and 4)."""

    def __init__(self, profile):
        to_r, self._to = os.pipe()
        self._from, from_w = os.pipe()

        def descriptors():
            high = [fcntl.fcntl(fd, fcntl.F_DUPFD, 10) for fd in (to_r, from_w)]  # out of the way of 3 and 4
            for fd, wanted in zip(high, (3, 4)):
                os.dup2(fd, wanted)

        self.process = subprocess.Popen([CHROMIUM, *FLAGS, f"--user-data-dir={profile}", "--remote-debugging-pipe",
                                         "about:blank"], preexec_fn=descriptors, close_fds=False,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_r)
        os.close(from_w)
        self._next, self._buffer, self.session, self.page_errors = 0, b"", None, []
        target = self.call("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        self.call("Runtime.enable")  # reports the page's uncaught errors

    def call(self, method, **params):
        self._next += 1
        message = {"id": self._next, "method": method, "params": params}
        if self.session and not method.startswith(("Target.", "Browser.")):
            message["sessionId"] = self.session
        os.write(self._to, json.dumps(message).encode() + b"\0")
        while True:
            while b"\0" not in self._buffer:
                chunk = os.read(self._from, 1 << 16)
                if not chunk:
                    raise RuntimeError(f"chromium closed its pipe during {method}")
                self._buffer += chunk
            line, self._buffer = self._buffer.split(b"\0", 1)
            answer = json.loads(line)
            if answer.get("method") == "Runtime.exceptionThrown":
                details = answer["params"]["exceptionDetails"]
                self.page_errors.append(details.get("exception", {}).get("description") or details.get("text"))
            if answer.get("id") == self._next:
                if "error" in answer:
                    raise RuntimeError(f"{method}: {answer['error']}")
                return answer.get("result", {})

    def evaluate(self, expression):
        return self.call("Runtime.evaluate", expression=expression, returnByValue=True)["result"].get("value")

    def evaluate_async(self, expression):
        return self.call("Runtime.evaluate", expression=expression, returnByValue=True,
                         awaitPromise=True)["result"].get("value")

    def wait_for(self, expression, seconds):
        for _ in range(int(seconds * 10)):
            if self.evaluate(expression):
                return True
            subprocess.run(["sleep", "0.1"])
        return False

    def close(self):
        try:
            self.call("Browser.close")
        except RuntimeError:
            pass
        try:
            self.process.wait(timeout=60)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        os.close(self._to)
        os.close(self._from)


def play_page(server, web, script, profile, tmp, failures, during=None, after=None):
    """The page of `script` once it has run, as PAGE gives it; `profile` is the browser's
    folder, whose storage a later run with the same profile finds again. The page
    starts on the real clock (the browser's database, which it waits for, does not
    hold a virtual clock back); from the title on it runs on virtual time, which
    passes as fast as the page can go."""
    (web / "tests").mkdir(exist_ok=True)
    shutil.copy(script, web / "tests" / script.name)
    url = f"http://127.0.0.1:{server.server_address[1]}/index.html?input=tests/{script.name}"
    browser = Browser(profile)
    try:
        if during:
            during(browser, url)
        else:
            browser.call("Page.navigate", url=url)
            started = "document.body && (document.body.dataset.titleMs || document.title === 'dalvo: error')"
            if browser.wait_for(started, 120):
                browser.call("Emulation.setVirtualTimePolicy", policy="pauseIfNetworkFetchesPending", budget=400000)
                browser.wait_for("document.title.startsWith('dalvo: ')", 600)
        (tmp / f"{script.stem}.html").write_text(browser.evaluate("document.documentElement.outerHTML"))
        if after:
            after(browser)
        failures.extend(f"{script.name}: page error: {e}" for e in browser.page_errors)
        return types.SimpleNamespace(**json.loads(browser.evaluate(PAGE)))
    finally:
        browser.close()


def export_saves(browser, folder, failures):
    """Exports the page's saves with its own button; the zip, or None."""
    folder.mkdir(parents=True, exist_ok=True)
    browser.call("Browser.setDownloadBehavior", behavior="allow", downloadPath=str(folder))
    browser.evaluate("document.getElementById('export').click()")
    zip_file = folder / "dalvo-saves.zip"
    for _ in range(100):
        if zip_file.exists() and not list(folder.glob("*.crdownload")):
            return zip_file
        subprocess.run(["sleep", "0.1"])
    failures.append("export: no dalvo-saves.zip was downloaded: "
                    + str(browser.evaluate("document.getElementById('saves-status').textContent")))
    return None


# Where a control of the game window's client area is on the page, in CSS pixels: the
# canvas holds the menu bar (19 pixels) over the client area.
AT = """(([x, y]) => { const c = document.getElementById('canvas'), r = c.getBoundingClientRect();
    return [r.left + x * r.width / c.width, r.top + (y + 19) * r.height / c.height]; })"""
# Whether the game and the toolbar lie inside the viewport, and the game's share of it.
FITS = """(() => { const inside = (r) => r.left >= 0 && r.top >= 0 && r.right <= innerWidth + 0.5 && r.bottom <= innerHeight + 0.5;
    const g = document.getElementById('canvas').getBoundingClientRect();
    const t = document.getElementById('toolbar').getBoundingClientRect();
    return {game: inside(g), toolbar: inside(t), share: Math.max(g.width / innerWidth, g.height / innerHeight)}; })()"""
PORTRAIT = {"width": 412, "height": 839, "screenOrientation": {"type": "portraitPrimary", "angle": 0}}
# The state of the page's sound, and the tab hidden or shown again as a browser reports
# it: a headless browser's tab never is hidden, so the page is told so.
SOUND = "(window.Module && Module.SDL2 && Module.SDL2.audioContext || {}).state"
SHOWN = """(hidden) => { for (const [key, value] of [['hidden', hidden], ['visibilityState', hidden ? 'hidden' : 'visible']])
    Object.defineProperty(document, key, {value, configurable: true});
    document.dispatchEvent(new Event('visibilitychange')); }"""
LANDSCAPE = {"width": 839, "height": 412, "screenOrientation": {"type": "landscapePrimary", "angle": 90}}


def phone(saves, failures):
    """The page of phone.script on a phone with touch (portrait, and landscape for a
    look): the game fits either way; a tap on はじめから, on the name box (the focus must
    land on an input, again after the keyboard was put away), 山田 composed and left
    uncommitted, a tap on はじめ; then a tap and a long press; at last the exported
    `saves` imported. The whole font is held back until はじめ has been tapped: 山田 is
    not in the font's first cut, so the game waits for it meanwhile. Checks what it can
    see here; the dumps are checked by the caller."""
    def tap(browser, x, y, hold=0.0):
        px, py = browser.evaluate(f"{AT}([{x}, {y}])")
        browser.call("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": px, "y": py}])
        if hold:
            subprocess.run(["sleep", str(hold)])
        browser.call("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def metrics(browser, shape):
        browser.call("Emulation.setDeviceMetricsOverride", deviceScaleFactor=2.625, mobile=True, **shape)
        subprocess.run(["sleep", "0.5"])
        fits = browser.evaluate(FITS)
        if not (fits["game"] and fits["toolbar"] and fits["share"] > 0.95):
            failures.append(f"phone {shape['width']}x{shape['height']}: the game does not fit: {fits}")

    def during(browser, url):
        whole_font.clear()
        try:
            touches(browser, url)
        finally:
            whole_font.set()

    def touches(browser, url):
        browser.call("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
        browser.call("Emulation.setDeviceMetricsOverride", deviceScaleFactor=2.625, mobile=True, **PORTRAIT)
        browser.call("Page.navigate", url=url)
        if not browser.wait_for("document.getElementById('dump-title') !== null", 120):
            return failures.append("phone: no title")
        started = subprocess.run(["date", "+%s"], capture_output=True, text=True).stdout
        metrics(browser, LANDSCAPE)
        metrics(browser, PORTRAIT)
        tap(browser, 82, 392)  # はじめから
        if not browser.wait_for("getComputedStyle(document.getElementById('ime')).display !== 'none'", 10):
            failures.append("phone: a tap on はじめから did not open the name entry")
        for _ in range(2):
            tap(browser, 286, 242)  # the first name box
            if browser.evaluate("document.activeElement.tagName") != "INPUT":
                failures.append("phone: a tap on the name box leaves the focus on "
                                + browser.evaluate("document.activeElement.tagName"))
            browser.evaluate("document.activeElement.blur()")  # the keyboard put away
        tap(browser, 286, 242)
        for _ in range(4):
            browser.call("Input.dispatchKeyEvent", type="rawKeyDown", key="Backspace", code="Backspace",
                         windowsVirtualKeyCode=8)
            browser.call("Input.dispatchKeyEvent", type="keyUp", key="Backspace", code="Backspace",
                         windowsVirtualKeyCode=8)
        browser.call("Input.imeSetComposition", text="山田", selectionStart=2, selectionEnd=2)
        tap(browser, 378, 272)  # はじめ, the composition still open
        if browser.evaluate("FS.analyzePath('/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf').exists"):
            failures.append("phone: the whole font was in while the server held it back")
        whole_font.set()
        took = int(subprocess.run(["date", "+%s"], capture_output=True, text=True).stdout) - int(started)
        if took > 12:
            failures.append(f"phone: the touches took {took} s, more than phone.script waits for")
        if not browser.wait_for("document.getElementById('dump-named') !== null", 120):
            return failures.append("phone: the game did not start")
        subprocess.run(["sleep", "1"])
        tap(browser, 320, 420)  # the message window
        subprocess.run(["sleep", "1.5"])
        tap(browser, 320, 420, hold=0.8)
        if not browser.wait_for("document.title === 'dalvo: done'", 60):
            failures.append("phone: phone.script did not end")
        # The music the first scene started pauses while the tab is hidden.
        for hidden, state in ((None, "running"), (True, "suspended"), (False, "running")):
            if hidden is not None:
                browser.evaluate(f"({SHOWN})({str(hidden).lower()})")
            if not browser.wait_for(f"{SOUND} === '{state}'", 5):
                failures.append(f"phone: the sound is {browser.evaluate(SOUND)}, not {state}, "
                                f"with the tab {'hidden' if hidden else 'shown'}")
        # The scenario's first piece plays: the piece after it has come ahead, not all of them.
        listed, fetched = browser.evaluate("[JSON.parse(document.getElementById('manifest').textContent), "
                                           "FS.readdir('/music').filter((n) => n.endsWith('.ogg'))]")
        after = {f["path"]: f["next"] for f in listed if "next" in f}
        order = [p for p in after if p not in after.values()]
        while order[-1] in after:
            order.append(after[order[-1]])
        if order[1].removeprefix("music/") not in fetched or len(fetched) >= len(order):
            failures.append(f"phone: the music fetched is {sorted(fetched)}, the scenario's order {order}")
        if saves is None:
            return None
        # A damaged file is refused and makes no slot; then the exported zip comes in.
        damaged = saves.parent / "41.dat"
        damaged.write_bytes(saves.read_bytes()[:40])
        status = "document.getElementById('saves-status').textContent"
        root = browser.call("DOM.getDocument")["root"]["nodeId"]
        node = browser.call("DOM.querySelector", nodeId=root, selector="#import-file")["nodeId"]
        for file, said in ((damaged, "41.dat: データが壊れています"), (saves, "読み込みました")):
            browser.call("DOM.setFileInputFiles", files=[str(file)], nodeId=node)
            if not browser.wait_for(f"{status}.includes('{said}')", 30):
                failures.append(f"import {file.name}: {browser.evaluate(status)}")
        if browser.evaluate("FS.analyzePath('/data/41.dat').exists"):
            failures.append("import: a damaged 41.dat became a slot")
        return None
    return during


def font_held(failures):
    """save.script on the real clock with the whole font held back from the title on:
    the name it types is not in the font's first cut, so the game must wait for the
    whole font before it draws the name (its shot is compared with the desktop's)."""
    def during(browser, url):
        whole_font.clear()
        try:
            browser.call("Page.navigate", url=url)
            if not browser.wait_for("getComputedStyle(document.getElementById('ime')).display !== 'none'", 120):
                return failures.append("font held: the name entry did not open")
            subprocess.run(["sleep", "1.5"])
            if browser.evaluate("document.getElementById('shot-named') !== null"):
                failures.append("font held: the name was drawn before the whole font was in")
        finally:
            whole_font.set()
        if not browser.wait_for("document.title.startsWith('dalvo: ')", 120):
            failures.append("font held: save.script did not end")
        return None
    return during


def check_alone(server, tmp, failures):
    """The page as a player opens it, without a script: once its title has been up, it
    starts again with the network gone; and with the browser's database refused, it
    still starts and says that saves will not be kept."""
    url = f"http://127.0.0.1:{server.server_address[1]}/index.html"
    title = "document.body && document.body.dataset.titleMs !== undefined"
    browser = Browser(tmp / "alone")
    try:
        browser.call("Page.navigate", url=url)
        if not (browser.wait_for(title, 120) and browser.wait_for("navigator.serviceWorker.controller !== null", 120)):
            failures.append("offline: the page kept nothing for play without the network")
        browser.call("Network.enable")
        browser.call("Network.emulateNetworkConditions", offline=True, latency=0, downloadThroughput=-1,
                     uploadThroughput=-1)
        browser.call("Page.reload")
        subprocess.run(["sleep", "1"])
        if not browser.wait_for(title, 120):
            failures.append("offline: no title without the network")
        failures.extend(f"offline: page error: {e}" for e in browser.page_errors)
    finally:
        browser.close()
    browser = Browser(tmp / "unkept")
    try:
        browser.call("Page.enable")  # needed for the script below
        browser.call("Page.addScriptToEvaluateOnNewDocument",
                     source="IDBFactory.prototype.open = () => { throw new DOMException('blocked', 'SecurityError'); }")
        browser.call("Page.navigate", url=url)
        if not browser.wait_for(title, 120):
            failures.append("without storage: no title")
        if not browser.evaluate("getComputedStyle(document.getElementById('notice')).display !== 'none' && "
                                "document.getElementById('notice-text').textContent.includes('セーブは消えます')"):
            failures.append("without storage: the page does not say that saves will not be kept")
    finally:
        browser.close()


def check_phone(dumps, failures):
    named, touched = (json.loads(dumps.get(n, "{}")) for n in ("named", "touched"))
    if named.get("g_Names", ["", ""])[1] != "山田" or named.get("waiting") != "click":
        failures.append(f"phone: the composed name did not start the game: {named.get('g_Names')}, "
                        f"waiting {named.get('waiting')}")
    if [named.get(k) for k in ("g_ScriptPos", "LineNo", "g_Text")] == \
            [touched.get(k) for k in ("g_ScriptPos", "LineNo", "g_Text")]:
        failures.append("phone: a tap did not advance the text")
    if touched.get("LogView") != -1:
        failures.append("phone: a long press did not open the history")


def check_case(scripts, web, server, tmp, failures, travel=False):
    """Plays `scripts` one after the other on one fresh data folder on the desktop, and
    on one browser profile in the page (each a new load of the page), and compares every
    dump; the saves of one script are what the next one finds. With `travel`, the saves
    of the first script leave its browser as an exported zip and come into a fresh
    profile, on a phone, for the scripts after it."""
    case = tmp / scripts[0].stem
    shutil.copytree(web / "stage/data", case / "data")
    profile, saves = case / "profile", []
    for n, script in enumerate(scripts):
        subprocess.run([str(ROOT / "build/dalvo"), "--headless", "--data", str(case / "data"), "--input",
                        str(script), "--out", str(case / "desktop")], check=True)
        after = (lambda b: saves.append(export_saves(b, case / "export", failures))) if travel and n == 0 else None
        during = font_held(failures) if travel and n == 0 else None
        page = play_page(server, web, script, profile, case, failures, during=during, after=after)
        if after:
            profile = case / "phone-profile"
            phone_page = play_page(server, web, HERE / "phone.script", profile, case, failures,
                                   during=phone(saves[0], failures))
            check_phone(phone_page.dumps, failures)
        if page.title != "dalvo: done":
            failures.append(f"{script.name}: the page's title is {page.title!r}, not 'dalvo: done'")
        for name in dump_names(script):
            desktop = json.loads((case / "desktop" / f"{name}.json").read_text(encoding="utf-8"))
            if name not in page.dumps:
                failures.append(f"{script.name}: the page has no dump {name}")
                continue
            compare_dumps(name, desktop, json.loads(page.dumps[name]), failures)
        # The title is drawn with the font's first cut (the whole font comes after it),
        # the name of save.script with the whole font: each pixel for pixel the desktop's.
        prefix = "data:image/png;base64,"
        for name in shot_names(script) & {"title", "named"}:
            src = page.shots.get(name, "")
            if not src.startswith(prefix):
                failures.append(f"{script.name}: the {name} shot is no PNG")
                continue
            (case / f"{name}.png").write_bytes(base64.b64decode(src[len(prefix):]))
            r = subprocess.run(["compare", "-metric", "AE", str(case / f"desktop/{name}.png"), str(case / f"{name}.png"),
                                str(case / f"{name}-diff.png")], capture_output=True, text=True)
            if r.returncode != 0:
                failures.append(f"{name} shot: {r.stderr.strip()} pixels differ from the desktop's")


def main() -> int:
    story = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ROOT / "tests/story/full_ending_1.script").resolve()
    if shutil.which("emcc") is None or not os.path.exists(CHROMIUM):
        print("web_test: emscripten or chromium is not installed: skipped")
        return 77
    subprocess.run([str(ROOT / "scripts/web.sh"), "--build-only"], check=True, cwd=ROOT)
    subprocess.run(["cmake", "--build", "build", "-j2", "--target", "dalvo"], check=True, cwd=ROOT,
                   stdout=subprocess.DEVNULL)
    web = ROOT / "build-web"
    # The story to an ending; a save made through the slot dialog, exported, imported
    # into a fresh profile on a phone and loaded there.
    cases = [([story], False), ([HERE / "save.script", HERE / "load.script"], True)]
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        tmp = pathlib.Path(tmp)
        server = serve(web)
        try:
            for scripts, travel in cases:
                check_case(scripts, web, server, tmp, failures, travel)
            check_alone(server, tmp, failures)
        finally:
            server.shutdown()
        for f in failures:
            print("web_test:", f)
        if failures:
            keep = ROOT / "build-web/test-failure"
            shutil.rmtree(keep, ignore_errors=True)
            shutil.copytree(tmp, keep, ignore=shutil.ignore_patterns("profile", "data"))
            print(f"web_test: the pages and the desktop's output are in {keep}")
            return 1
    print(f"web_test: {story.name}, and a save exported, imported on a phone and loaded: the browser's dumps "
          "and shots match the desktop's; the phone's touches work; it starts offline; no page error")
    return 0


if __name__ == "__main__":
    sys.exit(main())
