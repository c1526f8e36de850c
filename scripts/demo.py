#!/usr/bin/env python3
"""A scripted demo of Ketravo on a virtual display: a scheme, a target window, Ctrl+T, a click
on a bar button, the text arriving; then one click that fills a small form of three fields.
Saves screenshots and prints what happened."""
import os
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.environ.get("KT_BUILD_DIR", os.path.join(ROOT, "build"))
WIN32 = os.path.join(BUILD, "win32")
os.environ.setdefault("KT_BIN", os.path.join(WIN32, "bin"))
os.environ.setdefault("KT_BUILD", WIN32)
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))


FORM_KEYS = "Jane Doe{TAB}12 Market Street{TAB}Springfield"


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


def skin_pictures(kh, prefix, app):
    """One picture of the bar and the configuration window per built-in skin and one unskinned,
    each from a start with that skin stored as the user's choice."""
    import pixels
    saved = []
    for index, name in ((0, "Blue"), (1, "Silver"), (2, "Green"), (3, "Unskinned")):
        app.stop()
        prefix.reg_add(kh.BASE_KEY + r"\Options\Skins", "SkinIndex", str(index))
        bar = app.start()
        config = kh.wait_for(lambda: app.find(cls="TConfigForm"), what="the configuration window")
        skinned = "1" if index < 3 else "0"
        for w in (bar, config):
            kh.wait_for(lambda: prefix.drive("send", w.hwnd, "0x3504", "0", "0", check=False).strip() == skinned,
                        what="the skin on %r" % w)
        time.sleep(0.8)
        bar, config = app.bar(), app.find(cls="TConfigForm")
        left, top = min(bar.left, config.left), min(bar.top, config.top)
        right, bottom = max(bar.right, config.right), max(bar.bottom, config.bottom)
        shot = pixels.screenshot("demo-screen")
        area = kh.Window(["0", "area", "", "%d,%d,%d,%d" % (left, top, right, bottom), "0", "1", "0", "0", "0,0"], False)
        path = os.path.join(BUILD, "demo-%s.png" % name)
        os.replace(pixels.save_window(shot, area, "demo-" + name), path)
        saved.append(path)
    return saved


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
                                         ("Mail", "jane.doe@example.com"),
                                         ("Form", FORM_KEYS, True)], 1)
        print("1. Wrote the scheme 'button' with four buttons (end of line: Enter): Name, Street, Mail and")
        print("   Form, whose text types keys in braces: " + FORM_KEYS)
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
        target.proc.kill()

        form = kh.FormTarget(app)
        kh.capture(form.click_in)
        print("7. Started a small form (Name, Street, City; Enter submits it), clicked into its first field")
        print("   and pressed Ctrl+T; then one click on the bar's button Form (its Tabs, then the Enter of")
        print("   the scheme's end of line).")
        kh.pointer_click(buttons["Form"])
        submitted = kh.wait_for(lambda: form.app.text(form.submitted) != "Submitted 0" and form.app.text(form.submitted),
                                timeout=15, what="the form submitted")
        fields = form.texts()
        for label, value in zip(("Name", "Street", "City"), fields):
            print("     %-6s | %s" % (label, value))
        print("     " + submitted)
        form_shot = os.path.join(BUILD, "demo-form.png")
        subprocess.run(["import", "-window", "root", form_shot], check=True)
        print("Screenshot: " + form_shot)
        form_ok = fields == ["Jane Doe", "12 Market Street", "Springfield"] and submitted == "Submitted 1"
        print("One click filled the three fields and submitted the form." if form_ok
              else "UNEXPECTED: the form was not filled as the button's keys say.")
        ok = ok and form_ok
        form.proc.kill()
        print("8. The bar and the configuration window in each built-in skin and unskinned:")
        for path in skin_pictures(kh, prefix, app):
            print("     " + path)
        return 0 if ok else 1
    finally:
        stop_session(app)


if __name__ == "__main__":
    sys.exit(main())
