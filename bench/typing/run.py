#!/usr/bin/env python3
"""Typing throughput under Wine: the bar types a 5,000-character text into the test target,
clicked with the real pointer, side by side with a plain injection loop sending the same events (the floor). Prints the
characters per second delivered intact and the ratio; any lost or reordered character is
reported as a failure of that round."""
import os
import random
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get("KT_BUILD_DIR", os.path.join(ROOT, "build"))
WIN32 = os.path.join(BUILD, "win32")
os.environ.setdefault("KT_BIN", os.path.join(WIN32, "bin"))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(ROOT, "scripts"))


def main():
    rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 2
    subprocess.run([os.path.join(ROOT, "scripts", "build.sh")], check=True, stdout=subprocess.DEVNULL)
    from demo import load_session, stop_session
    load_session()
    import ktharness as kh

    rng = random.Random(7)
    alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,;:-_'\"!?()[]{}@#$%&*+=/\\<>|~^`"
    text = "".join(rng.choice(alphabet) for _ in range(5000))
    app = None
    try:
        prefix = kh.Prefix("bench-typing")
        app = kh.App(prefix)
        # A scheme line holds at most 4,093 characters of text: two buttons carry the 5,000.
        kh.write_scheme(os.path.join(app.start_dir, "data"), "button", [("Long1", text[:2500]), ("Long2", text[2500:])], 0)
        text_file = os.path.join(app.start_dir, "text.txt")
        with open(text_file, "wb") as f:
            f.write(text.encode("cp1252"))
        target = kh.Target(prefix)
        bar = app.start()
        buttons = {c.text: c for c in app.children(bar.hwnd) if c.cls.lower() == "button"}
        target.click_in()
        time.sleep(0.3)
        kh.xkey("ctrl+t")
        time.sleep(0.3)

        def wait_half():
            end = time.time() + 60
            while len(target.text()) < 2500 and time.time() < end:
                time.sleep(0.02)

        def measure(start):
            target.clear()
            time.sleep(0.3)
            t0 = time.time()
            start()
            # Done when the whole text is there; intact when it equals the text.
            end = time.time() + 120
            got = ""
            while time.time() < end:
                got = target.text()
                if len(got) >= len(text):
                    break
                time.sleep(0.05)
            elapsed = time.time() - t0
            return elapsed, got == text

        ours, floor = [], []
        for _ in range(rounds):
            # Real clicks: the second waits until the first half has arrived, as a user would.
            ours.append(measure(lambda: (kh.pointer_click(buttons["Long1"], settle=0),
                                         wait_half(), kh.pointer_click(buttons["Long2"], settle=0))))
            floor.append(measure(lambda: prefix.wine(os.path.join(kh.BIN, "kttype.exe"), kh.Target.TITLE,
                                                     kh.unix_to_wine(text_file), "0")))
        def report(name, runs):
            best = min(t for t, _ in runs)
            intact = all(ok for _, ok in runs)
            print("  %-22s %7.0f chars/s (best of %d)%s" % (name, len(text) / best, len(runs),
                                                             "" if intact else "  LOST OR REORDERED CHARACTERS"))
            return len(text) / best, intact
        print("typing 5,000 characters into a multi-line edit box under Wine (two bar buttons of 2,500)")
        a, ok_a = report("the bar's click", ours)
        b, ok_b = report("plain injection loop", floor)
        print("  ratio: %.2f" % (a / b))
        return 0 if ok_a and ok_b else 1
    finally:
        stop_session(app)


if __name__ == "__main__":
    sys.exit(main())
