#!/usr/bin/env python3
"""Start-up to ready: runs the program with a script whose first lines are `idle` and
`dump ready`, and measures from the launch to the moment OUT/ready.json is written and
closed. The wait blocks on the kernel's file notifications, so the measuring takes no
processor time from the program measured.
   ready_ms.py RUNS OUT_DIR PROGRAM ARGS...     prints the median and the minimum in ms"""
import ctypes, os, select, statistics, struct, subprocess, sys, time

IN_CLOSE_WRITE, IN_MOVED_TO = 0x8, 0x80
libc = ctypes.CDLL(None, use_errno=True)

runs, out = int(sys.argv[1]), sys.argv[2]
command = sys.argv[3:]
ready = os.path.join(out, "ready.json")
os.makedirs(out, exist_ok=True)
notify = libc.inotify_init1(os.O_NONBLOCK)
if notify < 0 or libc.inotify_add_watch(notify, out.encode(), IN_CLOSE_WRITE | IN_MOVED_TO) < 0:
    sys.exit("ready_ms.py: cannot watch " + out)


def written(names):
    return "ready.json" in names


def drain():
    names = []
    while True:
        try:
            data = os.read(notify, 65536)
        except BlockingIOError:
            return names
        at = 0
        while at + 16 <= len(data):
            _, _, _, length = struct.unpack_from("iIII", data, at)
            names.append(data[at + 16:at + 16 + length].rstrip(b"\0").decode())
            at += 16 + length


times = []
for i in range(runs + 2):  # the first two warm the caches
    if os.path.exists(ready):
        os.remove(ready)
    drain()
    start = time.perf_counter()
    game = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    seen = False
    while not seen and game.poll() is None:
        select.select([notify], [], [], 0.05)
        seen = written(drain())
    took = (time.perf_counter() - start) * 1000
    if not seen:
        seen = written(drain())
    game.kill()
    game.wait()
    if not seen:
        sys.exit("ready_ms.py: the program ended before it was ready")
    if i >= 2:
        times.append(took)
print("%.1f %.1f" % (statistics.median(times), min(times)))
