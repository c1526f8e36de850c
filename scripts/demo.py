#!/usr/bin/env python3
"""A scripted demo of Ketravo on a virtual display: a scheme, a target window, Ctrl+T, a click
on a bar button, the text arriving. Saves a screenshot and prints what happened."""
import os
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.environ.get("KT_BUILD_DIR", os.path.join(ROOT, "build"))
WIN32 = os.path.join(BUILD, "win32")
os.environ.setdefault("KT_BIN", os.path.join(WIN32, "bin"))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))


def load_session():
    env_file = subprocess.check_output([os.path.join(ROOT, "scripts", "wine-session.sh"), "start", WIN32],
                                       env=dict(os.environ, DISPLAY=""), text=True).strip()
    for line in open(env_file):
        line = line.strip()
        if line.startswith("export "):
            for part in line[len("export "):].split(" "):
                if "=" in part:
                    k, v = part.split("=", 1)
                    os.environ[k] = v.strip('"')


def stop_session(app):
    """Stops the program (when started) and the session of load_session()."""
    if app:
        app.stop()
    subprocess.run([os.path.join(ROOT, "scripts", "wine-session.sh"), "stop", WIN32])


def main():
    load_session()
    import ktharness as kh  # needs the session's environment

    shot = os.path.join(BUILD, "demo.png")
    app = None
    try:
        prefix = kh.Prefix("demo")
        app = kh.App(prefix)
        data = os.path.join(app.start_dir, "data")
        kh.write_scheme(data, "button", [("Name", "Jane Doe"), ("Street", "12 Market Street"),
                                         ("Mail", "jane.doe@example.com")], 1)
        print("1. Wrote the scheme 'button' with three buttons: Name, Street, Mail (end of line: Enter).")
        target = kh.Target(prefix)
        print("2. Started a target program with a text box ('%s')." % kh.Target.TITLE)
        bar = app.start()
        print("3. Started KTRAVO.exe: the bar '%s' is at %d,%d, %dx%d, always on top: %s."
              % (bar.text, bar.left, bar.top, bar.width, bar.height, "yes" if bar.topmost else "no"))
        buttons = {c.text: c for c in app.children(bar.hwnd) if c.cls.lower() == "button" and c.visible
                   and c.width == 75}
        target.click_in()
        time.sleep(0.3)
        kh.xkey("ctrl+t")
        time.sleep(0.3)
        print("4. Clicked into the target and pressed Ctrl+T: it is now the bar's target window.")
        for name in ("Name", "Street", "Mail"):
            kh.pointer_click(buttons[name])
            target.settled_text(quiet=0.5)
        print("5. Clicked the bar's buttons Name, Street and Mail with the mouse pointer.")
        text = target.settled_text()
        print("6. The target received:")
        for line in text.split("\r\n"):
            print("     | " + line)
        subprocess.run(["import", "-window", "root", shot], check=True)
        print("Screenshot: " + shot)
        ok = text == "Jane Doe\r\n12 Market Street\r\njane.doe@example.com\r\n"
        print("The typed text is exactly the buttons' texts, each followed by Enter." if ok
              else "UNEXPECTED: the text differs from the buttons' texts.")
        return 0 if ok else 1
    finally:
        stop_session(app)


if __name__ == "__main__":
    sys.exit(main())
