#!/usr/bin/env python3
"""The browser build against the desktop: plays a story script in headless Chromium
and compares the page's final dump (every key but time_ms) and its title shot
(pixel for pixel) with a headless desktop run of the same script.

usage: web_test.py [SCRIPT]   (run from the checkout; builds with scripts/web.sh)
Exit status 0 when both match, 1 when they differ, 77 when the browser build's
tools are not installed (a skip)."""
import base64
import html.parser
import json
import os
import pathlib
import shutil
import socket
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
CHROMIUM = "/usr/bin/chromium"
FLAGS = ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync"]


class Page(html.parser.HTMLParser):
    """The title, the dumps and the shots of a dumped page."""

    def __init__(self):
        super().__init__()
        self.title, self.dumps, self.shots = "", {}, {}
        self._in = None

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        ident = a.get("id") or ""
        if tag == "title":
            self._in = ("title", "")
        elif tag == "pre" and ident.startswith("dump-"):
            self._in = ("dump", ident[5:])
            self.dumps[ident[5:]] = ""
        elif tag == "img" and ident.startswith("shot-"):
            self.shots[ident[5:]] = a.get("src", "")

    def handle_endtag(self, tag):
        if tag in ("title", "pre"):
            self._in = None

    def handle_data(self, data):
        if self._in is None:
            return
        kind, name = self._in
        if kind == "title":
            self.title += data
        else:
            self.dumps[name] += data


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def last_dump_name(script: pathlib.Path) -> str:
    names = [line.split()[1] for line in script.read_text(encoding="utf-8").splitlines()
             if line.startswith("dump ")]
    return names[-1]


def main() -> int:
    script = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ROOT / "tests/story/full_ending_1.script").resolve()
    if shutil.which("emcc") is None or not os.path.exists(CHROMIUM):
        print("web_test: emscripten or chromium is not installed: skipped")
        return 77
    subprocess.run([str(ROOT / "scripts/web.sh"), "--build-only"], check=True, cwd=ROOT)
    subprocess.run(["cmake", "--build", "build", "-j2", "--target", "dalvo"], check=True, cwd=ROOT,
                   stdout=subprocess.DEVNULL)
    web = ROOT / "build-web"
    with tempfile.TemporaryDirectory() as tmp:
        tmp = pathlib.Path(tmp)
        # The desktop's run of the same script on a fresh data folder.
        shutil.copytree(web / "stage/data", tmp / "data")
        subprocess.run([str(ROOT / "build/dalvo"), "--headless", "--data", str(tmp / "data"), "--input",
                        str(script), "--out", str(tmp / "desktop")], check=True)
        # The page's run, served from the build folder.
        (web / "tests").mkdir(exist_ok=True)
        shutil.copy(script, web / "tests" / script.name)
        port = free_port()
        server = subprocess.Popen([sys.executable, "-m", "http.server", str(port), "--bind", "127.0.0.1"],
                                  cwd=web, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            for _ in range(50):
                try:
                    socket.create_connection(("127.0.0.1", port), timeout=0.2).close()
                    break
                except OSError:
                    subprocess.run(["sleep", "0.1"])
            url = f"http://127.0.0.1:{port}/index.html?input=tests/{script.name}"
            dom = subprocess.run([CHROMIUM, *FLAGS, f"--user-data-dir={tmp / 'profile'}",
                                  "--virtual-time-budget=400000", "--dump-dom", url],
                                 capture_output=True, text=True, timeout=900).stdout
        finally:
            server.terminate()
            server.wait()
        (tmp / "page.html").write_text(dom)
        page = Page()
        page.feed(dom)
        failures = []
        if page.title != "dalvo: done":
            failures.append(f"the page's title is {page.title!r}, not 'dalvo: done'")
        name = last_dump_name(script)
        desktop = json.loads((tmp / "desktop" / f"{name}.json").read_text(encoding="utf-8"))
        if name not in page.dumps:
            failures.append(f"the page has no dump {name}")
        else:
            browser = json.loads(page.dumps[name])
            for key in sorted(set(desktop) | set(browser)):
                if key != "time_ms" and desktop.get(key) != browser.get(key):
                    failures.append(f"dump {name}: {key}: desktop {desktop.get(key)!r}, browser {browser.get(key)!r}")
        src = page.shots.get("title", "")
        prefix = "data:image/png;base64,"
        if not src.startswith(prefix):
            failures.append("the page has no title shot")
        else:
            (tmp / "title.png").write_bytes(base64.b64decode(src[len(prefix):]))
            r = subprocess.run(["compare", "-metric", "AE", str(tmp / "desktop/title.png"), str(tmp / "title.png"),
                                str(tmp / "diff.png")], capture_output=True, text=True)
            if r.returncode != 0:
                failures.append(f"title shot: {r.stderr.strip()} pixels differ from the desktop's")
        for f in failures:
            print("web_test:", f)
        if failures:
            keep = ROOT / "build-web/test-failure"
            shutil.rmtree(keep, ignore_errors=True)
            shutil.copytree(tmp, keep, ignore=shutil.ignore_patterns("profile", "data"))
            print(f"web_test: the page and the desktop's output are in {keep}")
            return 1
    print(f"web_test: {script.name}: the browser's final dump and title shot match the desktop's")
    return 0


if __name__ == "__main__":
    sys.exit(main())
