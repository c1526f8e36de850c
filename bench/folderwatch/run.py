#!/usr/bin/env python3
"""The scheme folder's watch under Wine, in one run:
  - the bar's idle CPU over 10 s with the watch on against the watch off (the real KTRAVO.exe,
    a folder of 500 schemes; the program's process and its wineserver, from /proc; two rounds
    each, alternating);
  - a change in a folder of 500 schemes: the time until the bar's chooser lists a new scheme
    (or drops a deleted one), against reading the folder once (ktfolderwatch.exe, in process).
    bench/folderwatch/run.py [ROUNDS]"""
import os
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get("KT_BUILD_DIR", os.path.join(ROOT, "build"))
WIN32 = os.path.join(BUILD, "win32")
os.environ.setdefault("KT_BIN", os.path.join(WIN32, "bin"))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(ROOT, "scripts"))

IDLE_SECONDS = 10
TICK = os.sysconf("SC_CLK_TCK")


def cpu_ms(pid):
    """User + system CPU of a process so far, in milliseconds."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) * 1000.0 / TICK


def processes_of(prefix_path, word):
    """Processes of this prefix (by their WINEPREFIX) whose command line holds `word`."""
    found = []
    for pid in (int(p) for p in os.listdir("/proc") if p.isdigit()):
        try:
            with open("/proc/%d/cmdline" % pid, "rb") as f:
                cmd = f.read()
            with open("/proc/%d/environ" % pid, "rb") as f:
                env = f.read().split(b"\0")
        except OSError:
            continue
        if word.encode() in cmd and ("WINEPREFIX=" + prefix_path).encode() in env:
            found.append(pid)
    return found


def idle_round(kh, prefix, start_dir, watch):
    app = kh.App(prefix, start_dir=start_dir)
    saved = prefix.env
    prefix.env = dict(saved)
    if not watch:
        prefix.env["KTRAVO_NO_FOLDER_WATCH"] = "1"
    try:
        app.start()
        time.sleep(3)  # the start settles
        groups = [processes_of(prefix.path, "KTRAVO.exe"), processes_of(prefix.path, "wineserver")]
        before = [sum(cpu_ms(p) for p in g) for g in groups]
        time.sleep(IDLE_SECONDS)
        used = [sum(cpu_ms(p) for p in g) - b for g, b in zip(groups, before)]
    finally:
        app.stop()
        prefix.env = saved
    return used


def main():
    rounds = sys.argv[1] if len(sys.argv) > 1 else "15"
    if not os.environ.get("KT_NO_BUILD"):
        subprocess.run([os.path.join(ROOT, "scripts", "build.sh"), "win32"], check=True, stdout=subprocess.DEVNULL)
    from demo import load_session, stop_session
    load_session()
    import ktharness as kh
    try:
        prefix = kh.Prefix("bench-folderwatch")
        start_dir = kh.App(prefix).start_dir
        data = os.path.join(start_dir, "data")
        for i in range(500):
            kh.write_scheme(data, "scheme%d" % i, [("B%d" % i, "text")], 1)
        kh.write_scheme(data, "button", [("Name", "Jane")], 1)
        totals = {True: [], False: []}
        for watch in (False, True) * 3:
            totals[watch].append(idle_round(kh, prefix, start_dir, watch))
        print("the bar idle for %d s with a folder of 500 schemes (CPU ms of the program and its wineserver)"
              % IDLE_SECONDS)
        for watch in (False, True):
            print("  watch %-3s  rounds (program + wineserver) %s" % (
                "on" if watch else "off", "  ".join("%3.0f+%-3.0f" % tuple(t) for t in totals[watch])))
        off, on = (sum(sum(t) for t in totals[w]) / len(totals[w]) for w in (False, True))
        print("  mean: off %.0f ms, on %.0f ms (%.2f %% and %.2f %% of one core)"
              % (off, on, off / IDLE_SECONDS / 10, on / IDLE_SECONDS / 10))
        out = prefix.wine(os.path.join(os.environ["KT_BIN"], "ktfolderwatch.exe"), rounds, timeout=300)
        print(out.replace("\r", "").rstrip())
    finally:
        stop_session(None)


if __name__ == "__main__":
    main()
