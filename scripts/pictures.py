#!/usr/bin/env python3
"""Makes the README's pictures again, after a visual change: builds, then runs the real program
and the gallery of skinned controls under Wine on a virtual display and writes

    docs/skin-Blue.png, docs/skin-Silver.png, docs/skin-Green.png   the bar beside the
    docs/skin-Unskinned.png                                         configuration window
    docs/gallery-Blue.png                                           every skinned control kind
    docs/skin-Blue-144.png, docs/skin-Unskinned-144.png             the same at 150 % display
                                                                    scale (144 pixels per inch)

Run: scripts/pictures.py   (KT_NO_BUILD=1 skips the build)."""
import os
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DOCS = os.path.join(ROOT, "docs")
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import demo  # noqa: E402  (the demo's Wine session and build folders)

SKINS = ((0, "Blue"), (1, "Silver"), (2, "Green"), (3, "Unskinned"))
# The display scale pictures: a prefix of their own, whose display reports 144 pixels per inch.
SCALED = (144, ((0, "Blue"), (3, "Unskinned")))


def window_part(shot, w):
    """ImageMagick arguments for one window of the screenshot on a white page: the screen's
    black shows only where a skin's rounded corners leave it, and those corners turn white."""
    corners = []
    for x, y in ((0, 0), (w.width - 1, 0), (0, w.height - 1), (w.width - 1, w.height - 1)):
        corners += ["-draw", "color %d,%d floodfill" % (x, y)]
    return ["(", shot, "-crop", "%dx%d+%d+%d" % (w.width, w.height, w.left, w.top), "+repage", "-fill", "white",
            "-fuzz", "0"] + corners + [")"]


def compose(shot, windows, out):
    """The windows side by side on a white page, each at its place relative to the first."""
    left, top = min(w.left for w in windows), min(w.top for w in windows)
    width = max(w.right for w in windows) - left
    height = max(w.bottom for w in windows) - top
    args = ["convert", "-size", "%dx%d" % (width, height), "xc:white"]
    for w in windows:
        args += window_part(shot, w) + ["-geometry", "+%d+%d" % (w.left - left, w.top - top), "-composite"]
    subprocess.run(args + ["-strip", out], check=True, timeout=30)
    print("wrote " + os.path.relpath(out, ROOT))


def windows_picture(kh, prefix, app, index, name, shot, suffix=""):
    """The bar to the right of the configuration window, from a start with skin `index` stored."""
    app.stop()
    prefix.reg_add(kh.BASE_KEY + r"\Options\Skins", "SkinIndex", str(index))
    bar = app.start()
    config = kh.wait_for(lambda: app.find(cls="TConfigForm"), what="the configuration window")
    for w in (bar, config):
        kh.wait_for(lambda: app.skinned(w.hwnd) == (index < 3), what="the skin on %r" % w)
    prefix.drive("move", config.hwnd, 20, 20, config.width, config.height)
    prefix.drive("move", bar.hwnd, 20 + config.width + 12, 20, bar.width, bar.height)
    prefix.drive("foreground", config.hwnd)  # the active caption
    kh.pointer_to(5, 1000)  # off the windows: no hot title button
    time.sleep(1.0)
    bar, config = app.bar(), app.find(cls="TConfigForm")
    subprocess.run(["import", "-window", "root", shot], check=True, timeout=30)
    compose(shot, [config, bar], os.path.join(DOCS, "skin-%s%s.png" % (name, suffix)))


def gallery_picture(kh, prefix, shot):
    log = tempfile.NamedTemporaryFile(prefix="ktgallery-", suffix=".log", delete=False).name
    prefix.ensure_server()
    proc = subprocess.Popen(["wine", os.path.join(kh.BIN, "ktgallery.exe"), "show", "0", log], env=prefix.env,
                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        kh.wait_for(lambda: "ready" in open(log).read(), 30, what="the gallery")
        kh.pointer_to(5, 1000)
        time.sleep(1.0)
        for line in prefix.drive("windows").splitlines():
            f = line.split("\t")
            if len(f) > 5 and f[2] == "Ketravo Gallery" and f[5] == "1":
                subprocess.run(["import", "-window", "root", shot], check=True, timeout=30)
                compose(shot, [kh.Window(f, False)], os.path.join(DOCS, "gallery-Blue.png"))
                return
        raise RuntimeError("the gallery window was not found")
    finally:
        proc.kill()
        proc.wait(timeout=20)
        os.remove(log)


def main():
    if not os.environ.get("KT_NO_BUILD"):
        subprocess.run([os.path.join(ROOT, "scripts", "build.sh")], check=True, stdout=subprocess.DEVNULL)
    os.makedirs(DOCS, exist_ok=True)
    demo.load_session()
    import ktharness as kh  # needs the session's environment

    app = None
    shot = os.path.join(demo.BUILD, "pictures-screen.png")
    try:
        prefix = kh.Prefix("pictures")
        app = kh.App(prefix)
        kh.write_scheme(os.path.join(app.start_dir, "data"), "button",
                        [("Name", "Jane Doe"), ("Street", "12 Market Street"), ("Mail", "jane.doe@example.com")], 1)
        for index, name in SKINS:
            windows_picture(kh, prefix, app, index, name, shot)
        app.stop()
        gallery_picture(kh, prefix, shot)
        dpi, skins = SCALED
        scaled = kh.Prefix("pictures-%d" % dpi, dpi=dpi)
        app = kh.App(scaled, start_dir=app.start_dir)
        for index, name in skins:
            windows_picture(kh, scaled, app, index, name, shot, "-%d" % dpi)
        app.stop()
        return 0
    finally:
        demo.stop_session(app)
        if os.path.exists(shot):
            os.remove(shot)


if __name__ == "__main__":
    sys.exit(main())
