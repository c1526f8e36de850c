#!/usr/bin/env python3
"""Soak test of the main job, run by hand: 100 real mouse clicks on bar buttons, each into a
fresh or re-captured target, with texts whose first characters vary. Prints the characters
lost or misplaced (expected: 0 of 100 clicks).
    bench/typing/soak.py [CLICKS]"""
import difflib
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

# Nine buttons: the bar's tenth button sits mostly below its window's edge.
TEXTS = ["abcdefghij klmnop", "12345 67890", "caf\u00e9 Stra\u00dfe", "The quick brown fox jumps over 1234567890",
         " leading space", "!bang (paren) [bracket]", "@home #tag $cash % Zebra", "\u00c4rger \u00fcber \u00d6l",
         "~tilde ^caret `grave'"]


def main():
    clicks = int(sys.argv[1]) if len(sys.argv) > 1 else 100
    subprocess.run([os.path.join(ROOT, "scripts", "build.sh")], check=True, stdout=subprocess.DEVNULL)
    from demo import load_session, stop_session
    load_session()
    import ktharness as kh

    app = target = None
    lost = total = bad_clicks = 0
    try:
        prefix = kh.Prefix("soak")
        app = kh.App(prefix)
        kh.write_scheme(os.path.join(app.start_dir, "data"), "button",
                        [("B%d" % i, t) for i, t in enumerate(TEXTS)], 0)
        bar = app.start()
        buttons = sorted((c for c in app.children(bar.hwnd) if c.cls.lower() == "button" and c.visible
                          and c.width == 75), key=lambda b: b.top)
        for i in range(clicks):
            if i % 10 == 0:  # a fresh target now and then, a re-capture otherwise
                if target:
                    prefix.drive("post", target.hwnd, 0x10, 0, 0)
                    target.proc.wait(timeout=20)
                target = kh.Target(prefix)
            target.clear()
            target.click_in()
            time.sleep(0.2)
            kh.xkey("ctrl+t")
            time.sleep(0.2)
            text = TEXTS[i % len(TEXTS)]
            kh.pointer_click(buttons[i % len(TEXTS)], settle=0.05)
            got = target.settled_text(quiet=0.4)
            matched = sum(b.size for b in difflib.SequenceMatcher(None, text, got, autojunk=False).get_matching_blocks())
            miss = len(text) - matched + (len(got) - matched)
            total += len(text)
            if miss:
                bad_clicks += 1
                lost += miss
                print("click %d: expected %r, got %r" % (i + 1, text, got))
        print("%d clicks, %d characters typed: %d lost or misplaced, %d of %d clicks not intact"
              % (clicks, total, lost, bad_clicks, clicks))
        return 0 if lost == 0 else 1
    finally:
        stop_session(app)


if __name__ == "__main__":
    sys.exit(main())
