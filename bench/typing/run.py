#!/usr/bin/env python3
"""Typing under Wine, the bar clicked with the real pointer, side by side with a plain injection
loop sending the same events (the floor, kttype.exe):
  - throughput of one burst: 5,000 characters into the test target, characters per second
    delivered intact, and the ratio;
  - the time from the click to the first character in the target (median of 20 clicks), and
    for reference the floor's time from its start to its first character;
  - throughput with a delay of 25 ms between keys (Options > Typing), against the floor
    pausing as long after each key stroke;
  - keys in braces: a 1,000-character sequence with 50 {TAB}s at delay 0 against a plain text
    of the same length, both clicked on the bar in the same run, characters per second and ratio.
Any lost or reordered character is reported as a failure of that round.
    bench/typing/run.py [ROUNDS] [--keys]      (--keys: only the keys-in-braces comparison)"""
import os
import random
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get("KT_BUILD_DIR", os.path.join(ROOT, "build"))
WIN32 = os.path.join(BUILD, "win32")
os.environ.setdefault("KT_BIN", os.path.join(WIN32, "bin"))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(ROOT, "scripts"))

DELAY_MS = 25
FIRST_CLICKS = 20


def keys_in_braces(kh, rounds, rng, alphabet):
    """One keys-in-braces button of 950 characters and 50 {TAB}s against one plain button of 1,000
    characters, alternately, into the same target; (ours, plain) rates and whether all arrived."""
    plain_alphabet = alphabet.replace("{", "").replace("}", "")
    chunks = ["".join(rng.choice(plain_alphabet) for _ in range(19)) for _ in range(50)]
    sequence = "".join(c + "{TAB}" for c in chunks)
    typed = "".join(c + "\t" for c in chunks)
    plain = "".join(c + rng.choice("abcdefghij") for c in chunks)
    prefix = kh.Prefix("bench-keys")
    app = kh.App(prefix)
    try:
        kh.write_scheme(os.path.join(app.start_dir, "data"), "button", [("Keys", sequence, True), ("Plain", plain)], 0)
        target = kh.Target(prefix)
        bar = app.start()
        buttons = {c.text: c for c in app.children(bar.hwnd) if c.cls.lower() == "button"}
        kh.capture(target.click_in)
        results = {"Keys": [], "Plain": []}
        for _ in range(rounds):
            for name, expected in (("Keys", typed), ("Plain", plain)):
                target.clear()
                time.sleep(0.3)
                t0 = time.time()
                kh.pointer_click(buttons[name], settle=0)
                end, got = time.time() + 120, ""
                while time.time() < end:
                    got = target.text()
                    if len(got) >= len(expected):
                        break
                    time.sleep(0.02)
                results[name].append((len(expected) / (time.time() - t0), got == expected))
        return results["Keys"], results["Plain"]
    finally:
        app.stop()


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    rounds = int(args[0]) if args else 2
    subprocess.run([os.path.join(ROOT, "scripts", "build.sh")], check=True, stdout=subprocess.DEVNULL)
    from demo import load_session, stop_session
    load_session()
    import ktharness as kh

    if "--keys" in sys.argv:
        try:
            ours, plain = keys_in_braces(kh, max(rounds, 3), random.Random(11),
                                         "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,;:-_!?@#")
            a, b = max(r for r, _ in ours), max(r for r, _ in plain)
            intact = all(good for _, good in ours + plain)
            print("keys in braces under Wine into a multi-line edit box, the bar clicked with the real pointer")
            print("  %-34s %7.0f chars/s   plain %7.0f chars/s   ratio %.2f (best of %d)%s"
                  % ("1,000 characters with 50 {TAB}s", a, b, a / b, len(ours),
                     "" if intact else "  LOST OR REORDERED CHARACTERS"))
            return 0 if intact else 1
        finally:
            stop_session(None)

    rng = random.Random(7)
    alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,;:-_'\"!?()[]{}@#$%&*+=/\\<>|~^`"
    text = "".join(rng.choice(alphabet) for _ in range(5000))
    slow_text = text[:300]
    app = None
    try:
        prefix = kh.Prefix("bench-typing")
        app = kh.App(prefix)
        # A scheme line holds at most 4,093 characters of text: two buttons carry the 5,000.
        kh.write_scheme(os.path.join(app.start_dir, "data"), "button",
                        [("Long1", text[:2500]), ("Long2", text[2500:]), ("Slow", slow_text), ("First", "f")], 0)
        files = {}
        for name, content in (("text", text), ("slow", slow_text), ("first", "f")):
            files[name] = os.path.join(app.start_dir, name + ".txt")
            with open(files[name], "wb") as f:
                f.write(content.encode("cp1252"))

        def start():
            target = kh.Target(prefix)
            bar = app.start()
            buttons = {c.text: c for c in app.children(bar.hwnd) if c.cls.lower() == "button"}
            kh.capture(target.click_in)
            return target, buttons

        def measure(target, start_typing, expected):
            target.clear()
            time.sleep(0.3)
            t0 = time.time()
            start_typing()
            # Done when the whole text is there; intact when it equals the text.
            end = time.time() + 300
            got = ""
            while time.time() < end:
                got = target.text()
                if len(got) >= len(expected):
                    break
                time.sleep(0.05)
            return len(expected) / (time.time() - t0), got == expected

        def floor(text_file, delay=0):
            return lambda: prefix.wine(os.path.join(kh.BIN, "kttype.exe"), kh.Target.TITLE, kh.unix_to_wine(text_file),
                                       "0", str(delay), timeout=600)

        def first_char(target, act):
            """Milliseconds from `act` (called right after a watcher is ready) to the first character."""
            target.clear()
            watcher = subprocess.Popen(["wine", os.path.join(kh.BIN, "ktdrive.exe"), "firsttext", str(target.edit), "10000"],
                                       env=prefix.env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, text=True)
            assert watcher.stdout.readline().strip() == "ready"
            t0 = time.time()
            act()
            seen = watcher.stdout.readline().strip()
            watcher.wait(timeout=20)
            return int(seen) - t0 * 1000

        target, buttons = start()

        def wait_half():
            end = time.time() + 60
            while len(target.text()) < 2500 and time.time() < end:
                time.sleep(0.02)

        burst_ours, burst_floor = [], []
        for _ in range(rounds):
            # Real clicks: the second waits until the first half has arrived, as a user would.
            burst_ours.append(measure(target, lambda: (kh.pointer_click(buttons["Long1"], settle=0), wait_half(),
                                                       kh.pointer_click(buttons["Long2"], settle=0)), text))
            burst_floor.append(measure(target, floor(files["text"]), text))

        b = buttons["First"]
        kh.pointer_to((b.left + b.right) // 2, (b.top + b.bottom) // 2)
        firsts = [first_char(target, lambda: kh.xdo("click", 1)) for _ in range(FIRST_CLICKS)]
        floor_firsts = [first_char(target, floor(files["first"])) for _ in range(FIRST_CLICKS)]

        # The delay is read at start: the program again, with it stored.
        app.stop()
        prefix.reg_add(kh.BASE_KEY + r"\Options\Typing", "KeyDelay", str(DELAY_MS))
        target, buttons = start()
        slow_ours, slow_floor = [], []
        for _ in range(rounds):
            slow_ours.append(measure(target, lambda: kh.pointer_click(buttons["Slow"], settle=0), slow_text))
            slow_floor.append(measure(target, floor(files["slow"], DELAY_MS), slow_text))

        ok = True

        def pair(name, ours, base):
            nonlocal ok
            a, b = max(r for r, _ in ours), max(r for r, _ in base)
            intact = all(good for _, good in ours + base)
            ok = ok and intact
            print("  %-34s %7.0f chars/s   floor %7.0f chars/s   ratio %.2f (best of %d)%s"
                  % (name, a, b, a / b, len(ours), "" if intact else "  LOST OR REORDERED CHARACTERS"))

        print("typing under Wine into a multi-line edit box, the bar clicked with the real pointer")
        pair("one burst, 5,000 characters", burst_ours, burst_floor)
        pair("%d ms between keys, 300 characters" % DELAY_MS, slow_ours, slow_floor)
        print("  click to first character: median %.0f ms (min %.0f, max %.0f, %d clicks); the floor's start"
              " to first character: median %.0f ms" % (statistics.median(firsts), min(firsts), max(firsts), len(firsts),
                                                      statistics.median(floor_firsts)))
        app.stop()
        keys, plain = keys_in_braces(kh, rounds, rng, alphabet)
        pair("keys in braces: 1,000 with 50 {TAB}s", keys, plain)
        return 0 if ok else 1
    finally:
        stop_session(app)


if __name__ == "__main__":
    sys.exit(main())
