#!/usr/bin/env python3
"""The browser build against the desktop: plays a story script in headless Chromium
and compares the page's dumps (every key but time_ms) and its title shot (pixel for
pixel) with a headless desktop run of the same script; then saves a game in one load
of the page and loads it in the next, and compares those dumps the same way.

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


def compare_dumps(name, desktop, browser, failures):
    for key in sorted(set(desktop) | set(browser)):
        if key != "time_ms" and desktop.get(key) != browser.get(key):
            failures.append(f"dump {name}: {key}: desktop {desktop.get(key)!r}, browser {browser.get(key)!r}")


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


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
        self._next, self._buffer, self.session = 0, b"", None
        target = self.call("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]

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
            if answer.get("id") == self._next:
                if "error" in answer:
                    raise RuntimeError(f"{method}: {answer['error']}")
                return answer.get("result", {})

    def evaluate(self, expression):
        return self.call("Runtime.evaluate", expression=expression, returnByValue=True)["result"].get("value")

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


def play_page(server, web, script, profile, tmp):
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
        browser.call("Page.navigate", url=url)
        started = "document.body && (document.body.dataset.titleMs || document.title === 'dalvo: error')"
        if browser.wait_for(started, 120):
            browser.call("Emulation.setVirtualTimePolicy", policy="pauseIfNetworkFetchesPending", budget=400000)
            browser.wait_for("document.title.startsWith('dalvo: ')", 600)
        (tmp / f"{script.stem}.html").write_text(browser.evaluate("document.documentElement.outerHTML"))
        return types.SimpleNamespace(**json.loads(browser.evaluate(PAGE)))
    finally:
        browser.close()


def check_case(scripts, web, server, tmp, failures):
    """Plays `scripts` one after the other on one fresh data folder on the desktop, and
    on one browser profile in the page (each a new load of the page), and compares every
    dump; the saves of one script are what the next one finds."""
    case = tmp / scripts[0].stem
    shutil.copytree(web / "stage/data", case / "data")
    for script in scripts:
        subprocess.run([str(ROOT / "build/dalvo"), "--headless", "--data", str(case / "data"), "--input",
                        str(script), "--out", str(case / "desktop")], check=True)
        page = play_page(server, web, script, case / "profile", case)
        if page.title != "dalvo: done":
            failures.append(f"{script.name}: the page's title is {page.title!r}, not 'dalvo: done'")
        for name in dump_names(script):
            desktop = json.loads((case / "desktop" / f"{name}.json").read_text(encoding="utf-8"))
            if name not in page.dumps:
                failures.append(f"{script.name}: the page has no dump {name}")
                continue
            compare_dumps(name, desktop, json.loads(page.dumps[name]), failures)
        src = page.shots.get("title", "")
        prefix = "data:image/png;base64,"
        if "title" not in page.shots:
            continue
        if not src.startswith(prefix):
            failures.append(f"{script.name}: the title shot is no PNG")
            continue
        (case / "title.png").write_bytes(base64.b64decode(src[len(prefix):]))
        r = subprocess.run(["compare", "-metric", "AE", str(case / "desktop/title.png"), str(case / "title.png"),
                            str(case / "diff.png")], capture_output=True, text=True)
        if r.returncode != 0:
            failures.append(f"title shot: {r.stderr.strip()} pixels differ from the desktop's")


def main() -> int:
    story = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ROOT / "tests/story/full_ending_1.script").resolve()
    if shutil.which("emcc") is None or not os.path.exists(CHROMIUM):
        print("web_test: emscripten or chromium is not installed: skipped")
        return 77
    subprocess.run([str(ROOT / "scripts/web.sh"), "--build-only"], check=True, cwd=ROOT)
    subprocess.run(["cmake", "--build", "build", "-j2", "--target", "dalvo"], check=True, cwd=ROOT,
                   stdout=subprocess.DEVNULL)
    web = ROOT / "build-web"
    here = pathlib.Path(__file__).resolve().parent
    # The story to an ending; a save made through the slot dialog, then loaded by the
    # next load of the page.
    cases = [[story], [here / "save.script", here / "load.script"]]
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        tmp = pathlib.Path(tmp)
        server = serve(web)
        try:
            for scripts in cases:
                check_case(scripts, web, server, tmp, failures)
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
    print(f"web_test: {story.name}, and a save loaded after a reload: the browser's dumps and title shot "
          "match the desktop's")
    return 0


if __name__ == "__main__":
    sys.exit(main())
