#!/usr/bin/env python3
"""Skin switches by the menu, run by hand: SWITCHES changes through Options > Skins with the
real keyboard (Silver, Green, Unskin off and on, Blue, over and over), then every window's size,
the program's GDI and USER objects (counted by ktobjects), its private and resident bytes, each
as a ratio to where they were after two warm-up rounds (expected: 1.00).
    bench/skinframe/switches.py [SWITCHES]"""
import os
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WIN32 = os.path.join(os.environ.get("KT_BUILD_DIR", os.path.join(ROOT, "build")), "win32")
os.environ.setdefault("KT_BIN", os.path.join(WIN32, "bin"))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(ROOT, "scripts"))

SKINS_KEY = r"HKCU\Software\Orvall Software\Ketravo\Options\Skins"
ENTRIES = ["Blue", "Silver", "Green", "Unskin", "Load"]
# (entry, stored index, skinned afterwards)
CYCLE = [("Silver", 1, True), ("Green", 2, True), ("Unskin", 3, False), ("Unskin", 3, True), ("Blue", 0, True)]


def main():
    switches = int(sys.argv[1]) if len(sys.argv) > 1 else 200
    own_session = not os.environ.get("KT_WINE_STATE")
    if own_session:
        subprocess.run([os.path.join(ROOT, "scripts", "build.sh")], check=True, stdout=subprocess.DEVNULL)
        from demo import load_session
        load_session()
    import ktharness as kh

    app = None
    try:
        prefix = kh.Prefix("skinswitch")
        app = kh.App(prefix)
        kh.write_scheme(os.path.join(app.start_dir, "data"), "button", [("One", "one")], 1)
        bar = app.start()
        prefix.drive("move", bar.hwnd, 40, 760, bar.width, bar.height)
        kh.pointer_to(640, 980)

        def windows(skinned):
            found = [kh.wait_for(app.bar, what="the bar"),
                     kh.wait_for(lambda: app.find(cls="TConfigForm"), what="the configuration window")]
            for w in found:
                kh.wait_for(lambda: app.skinned(w.hwnd) == skinned, what="skin %s on %r" % (skinned, w))
            last = None
            while True:
                now = [app.bar(), app.find(cls="TConfigForm")]
                sizes = [(w.width, w.height, w.client_width, w.client_height) for w in now]
                if sizes == last:
                    return now, sizes
                last = sizes
                time.sleep(0.3)

        def choose(entry):
            config = app.find(cls="TConfigForm")
            kh.pointer_to(config.left + 50, config.bottom - 16)
            kh.xdo("click", 1)
            kh.xkey("alt+o")
            kh.wait_for(lambda: app.find(cls="#32768"), what="the Options menu")
            kh.xdo("key", "k")
            time.sleep(0.2)
            for _ in range(ENTRIES.index(entry)):
                kh.xdo("key", "Down")
            kh.xdo("key", "Return")
            kh.wait_for(lambda: not app.find(cls="#32768"), what="the menu closed")

        def figures():
            pid = app.bar().pid
            private = int(prefix.drive("gui", pid).split()[2])
            # GetGuiResources reads 0 under Wine: ktobjects counts the GDI handle table and the
            # USER objects (windows, menus, icons and cursors, accelerators) from inside.
            counts = prefix.wine(os.path.join(os.environ["KT_BIN"], "ktobjects.exe"), str(pid), timeout=120).split()
            gdi, user, wins, menus, icons, accels = (int(v) for v in counts)
            with open("/proc/%d/status" % app.proc.pid) as f:
                rss = next(int(l.split()[1]) for l in f if l.startswith("VmRSS:"))
            return {"GDI objects": gdi, "USER objects": user, "  windows": wins, "  menus": menus,
                    "  icons and cursors": icons, "  accelerator tables": accels,
                    "private bytes": private, "resident bytes": rss * 1024}

        def switch(n):
            entry, index, skinned = CYCLE[n % len(CYCLE)]
            choose(entry)
            kh.wait_for(lambda: prefix.reg_value(SKINS_KEY, "SkinIndex") == str(index), what="index %d" % index)
            return windows(skinned)

        # The first switches load what later ones reuse (each skin's pictures and menus once,
        # Wine's and X's caches): the figures start after two rounds, in Blue.
        for n in range(2 * len(CYCLE)):
            switch(n)
        _, sizes0 = windows(True)
        before = figures()
        for n in range(switches):
            switch(n)
            if (n + 1) % 50 == 0:
                with open("/proc/%d/status" % app.proc.pid) as f:
                    rss = next(int(l.split()[1]) for l in f if l.startswith("VmRSS:"))
                print("  after %d switches: resident %d KiB" % (n + 1, rss), flush=True)
        _, sizes1 = windows(True)
        after = figures()
        print("%d skin switches by the menu (Blue at both ends):" % switches)
        for name, a, b in zip(("bar", "configuration window"), sizes0, sizes1):
            print("  %-21s %s -> %s  height ratio %.3f" % (name, a, b, b[1] / a[1]))
        for name, a in before.items():
            b = after[name]
            print("  %-21s %d -> %d  %s" % (name, a, b, "ratio %.3f" % (b / a) if a else ""))
    finally:
        if app:
            app.stop()
        if own_session:
            subprocess.run([os.path.join(ROOT, "scripts", "wine-session.sh"), "stop", WIN32])


if __name__ == "__main__":
    main()
