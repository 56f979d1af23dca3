#!/usr/bin/env python3
"""Start-up to ready: runs the program with a script whose first lines are `idle` and
`dump ready`, and measures from the launch to the moment OUT/ready.json appears.
   ready_ms.py RUNS OUT_DIR PROGRAM ARGS...     prints the median and the minimum in ms"""
import os, statistics, subprocess, sys, time

runs, out = int(sys.argv[1]), sys.argv[2]
command = sys.argv[3:]
ready = os.path.join(out, "ready.json")
times = []
for i in range(runs + 2):  # the first two warm the caches
    if os.path.exists(ready):
        os.remove(ready)
    start = time.perf_counter()
    game = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    while not os.path.exists(ready) and game.poll() is None:
        time.sleep(0.0005)
    took = (time.perf_counter() - start) * 1000
    game.kill()
    game.wait()
    if not os.path.exists(ready):
        sys.exit("ready_ms.py: the program ended before it was ready")
    if i >= 2:
        times.append(took)
print("%.1f %.1f" % (statistics.median(times), min(times)))
