"""Runs the real KTRAVO.exe under Wine and drives it from outside with ktdrive.exe.

Needs the session of scripts/wine-session.sh (KT_WINE_STATE, DISPLAY) and KT_BIN, the folder of
the built programs. Each App gets a fresh Wine prefix copied from the session's template.
"""
import atexit
import os
import shutil
import subprocess
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BIN = os.environ.get("KT_BIN", os.path.join(ROOT, "build", "win32", "bin"))
STATE = os.environ.get("KT_WINE_STATE", "")
BASE_KEY = r"HKCU\Software\Orvall Software\Ketravo"


def wait_for(predicate, timeout=15.0, interval=0.1, what="condition"):
    end = time.time() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.time() > end:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(interval)


def unix_to_wine(path):
    """Wine maps the Unix root to drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Window:
    """A record of `ktdrive windows` or `ktdrive children`."""

    def __init__(self, fields, child):
        self.hwnd = int(fields[0])
        self.cls = fields[1]
        self.text = unescape(fields[2])
        l, t, r, b = (int(v) for v in fields[3].split(","))
        self.left, self.top, self.right, self.bottom = l, t, r, b
        self.width, self.height = r - l, b - t
        if child:
            self.visible = fields[4] == "1"
            self.parent = int(fields[5])
            self.id = int(fields[6])
            self.enabled = fields[7] == "1"
        else:
            self.topmost = fields[4] == "1"
            self.visible = fields[5] == "1"
            self.pid = int(fields[6])
            self.state = int(fields[7])  # 0 normal, 1 minimised, 2 maximised
            cw, ch = (int(v) for v in fields[8].split(","))
            self.client_width, self.client_height = cw, ch

    def __repr__(self):
        return "<%s %r %d,%d %dx%d>" % (self.cls, self.text, self.left, self.top, self.width, self.height)


def unescape(s):
    out, i = [], 0
    while i < len(s):
        if s[i] == "\\" and i + 1 < len(s):
            out.append({"t": "\t", "r": "\r", "n": "\n", "\\": "\\"}.get(s[i + 1], s[i + 1]))
            i += 2
        else:
            out.append(s[i])
            i += 1
    return "".join(out)


_made = []


@atexit.register
def _remove_prefixes():
    """Prefixes are disposable: stop their servers and remove them when the tests end."""
    if os.environ.get("KT_KEEP_PREFIXES"):
        return
    for p in _made:
        p.stop()
        shutil.rmtree(p.path, ignore_errors=True)


class Prefix:
    """A fresh Wine prefix with its own persistent wineserver; with `dpi`, its display reports
    that resolution from its first process on."""

    def __init__(self, name, dpi=None):
        if not STATE:
            raise RuntimeError("no Wine session: run the tests through scripts/test.sh")
        env = dict(os.environ, KT_WARMUP_EXE=os.path.join(BIN, "ktdrive.exe"))
        if dpi:
            env["KT_LOGPIXELS"] = str(dpi)
        self.path = subprocess.check_output(
            [os.path.join(ROOT, "scripts", "wine-prefix.sh"), name], text=True, env=env).strip()
        self.env = dict(os.environ, WINEPREFIX=self.path)
        self.running = True
        _made.append(self)

    def ensure_server(self):
        """After a stop, the next first Wine process would start Wine's services on whatever
        pipe it has; start the server and the services here, with output on a file."""
        if self.running:
            return
        with open(os.path.join(self.path, "warmup.log"), "ab") as log:
            subprocess.run(["wineserver", "-p"], env=self.env, stdin=subprocess.DEVNULL, stdout=log, stderr=log)
            subprocess.run(["wine", "cmd", "/c", "exit"], env=self.env, stdin=subprocess.DEVNULL, stdout=log,
                           stderr=log, timeout=60)
            subprocess.run(["wine", os.path.join(BIN, "ktdrive.exe"), "windows"], env=self.env,
                           stdin=subprocess.DEVNULL, stdout=log, stderr=log, timeout=60)
        self.running = True

    def wine(self, *args, check=True, timeout=30):
        self.ensure_server()
        r = subprocess.run(["wine"] + list(args), env=self.env, capture_output=True, timeout=timeout,
                           stdin=subprocess.DEVNULL)
        out = r.stdout.decode("cp1252", "replace")
        if check and r.returncode != 0:
            raise AssertionError("wine %s failed (%d): %s %s" % (args, r.returncode, out,
                                                                 r.stderr.decode("cp1252", "replace")))
        return out

    def drive(self, *args, check=True):
        return self.wine(os.path.join(BIN, "ktdrive.exe"), *[str(a) for a in args], check=check)

    # -- registry, through Wine's own reg tool
    def reg_query(self, key):
        """The values of one key as {name: (type, data)}; None when the key is missing."""
        self.ensure_server()
        r = subprocess.run(["wine", "reg", "query", key], env=self.env, capture_output=True, timeout=30,
                           stdin=subprocess.DEVNULL)
        if r.returncode != 0:
            return None
        values = {}
        for line in r.stdout.decode("cp1252", "replace").splitlines():
            line = line.rstrip("\r")
            if not line.startswith("    "):
                continue
            parts = line.strip().split("    ", 2)
            if len(parts) >= 2:
                values[parts[0]] = (parts[1], parts[2] if len(parts) > 2 else "")
        return values

    def reg_value(self, key, name):
        values = self.reg_query(key) or {}
        return values[name][1] if name in values else None

    def reg_add(self, key, name, data, kind="REG_SZ"):
        self.wine("reg", "add", key, "/v", name, "/t", kind, "/d", data, "/f")

    def stop(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)
        self.running = False


class App:
    """KTRAVO.exe (the built one, or `exe`) started in a prefix, from a start folder of its own."""

    def __init__(self, prefix, start_dir=None, exe=None):
        self.prefix = prefix
        self.start_dir = start_dir or tempfile.mkdtemp(prefix="ktstart-")
        self.exe = exe or os.path.join(BIN, "KTRAVO.exe")
        self.proc = None

    def start(self, wait=True):
        exe = self.exe
        self.prefix.ensure_server()
        self.log = open(os.path.join(self.prefix.path, "ktravo.log"), "ab")
        self.proc = subprocess.Popen(["wine", exe], cwd=self.start_dir, env=self.prefix.env,
                                     stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log)
        if wait:
            return self.wait_bar()
        return None

    def windows(self):
        out = self.prefix.drive("windows")
        return [Window(line.split("\t"), False) for line in out.splitlines() if line.count("\t") >= 8]

    def find(self, cls=None, title=None, visible=True):
        for w in self.windows():
            if cls and w.cls != cls:
                continue
            if title is not None and w.text != title:
                continue
            if visible and not w.visible:
                continue
            return w
        return None

    def bar(self, visible=True):
        return self.find(cls="TButtonForm", visible=visible)

    def bar_aside(self):
        """The bar stays on top: moved to the screen's lower left, out of the way of the
        configuration window and the boxes, where the tests click."""
        bar = self.bar(visible=False)
        self.prefix.drive("move", bar.hwnd, 0, 1024 - 300, bar.width, bar.height)
        wait_for(lambda: (self.bar(visible=False).left, self.bar(visible=False).top) == (0, 1024 - 300),
                 what="the bar moved aside")

    def wait_bar(self, timeout=20):
        return wait_for(lambda: self.bar(), timeout, what="the bar window")

    def scheme_buttons(self, bar=None):
        """The bar's visible scheme buttons (push buttons with a caption, all one width)."""
        bar = bar or self.bar(visible=False)
        return [c for c in self.children(bar.hwnd) if c.cls.lower() == "button" and c.visible
                and c.text and c.parent == bar.hwnd]

    def label_growth(self, bar=None):
        """How much the bar's instruction label grew beyond its designed 26 pixels to show its
        text whole (the bar grows as much)."""
        bar = bar or self.bar(visible=False)
        label = next(c for c in self.children(bar.hwnd) if c.text.startswith("Press Ctrl+T"))
        return label.height - 26

    def client_rect(self, hwnd):
        """A window's client area in screen coordinates: (left, top, right, bottom)."""
        return tuple(int(v) for v in self.prefix.drive("clientrect", hwnd).strip().split(","))

    def fit(self, hwnd):
        """Whether a window's texts fit where it shows them, measured by ktdrive inside the
        program with each control's own font, at the display's scale: (dpi as the program sees
        it, [(verdict, kind, text, needed "WxH", room "WxH")]). kind is "caption" (the caption
        against the frame) or the control's: label, button, checkbox, radio, groupbox. Raises
        when nothing was measured."""
        lines = [l.rstrip("\r").split("\t") for l in self.prefix.drive("fit", hwnd).splitlines()]
        dpi = next((int(l[1]) for l in lines if l[0] == "dpi" and len(l) == 2), None)
        records = [(r[0], r[2], unescape(r[3]), r[4], r[5]) for r in lines if len(r) == 6]
        if dpi is None or not records:
            raise AssertionError("no text measured in window %d" % hwnd)
        return dpi, records

    def unfit_texts(self, hwnd):
        """Every text of a window (its caption and its controls' texts) that does not fit:
        [(verdict, kind, text, needed "WxH", room "WxH")] (see fit). Usable at any display scale."""
        return [r for r in self.fit(hwnd)[1] if r[0] != "ok"]

    def tip_text(self, timeout=6):
        """The text of the tool tip the program shows now (the pointer resting on a control)."""
        def shown():
            for w in self.windows():
                if w.cls == "tooltips_class32" and w.visible and w.pid == self.windows_pid():
                    return self.text(w.hwnd) or None
            return None
        return wait_for(shown, timeout, what="a tool tip")

    def windows_pid(self):
        bar = self.bar(visible=False)
        return bar.pid if bar else None

    def scheme_chooser(self):
        """The bar's combo box of schemes."""
        return next(c for c in self.children(self.bar(visible=False).hwnd) if c.cls == "ComboBox")

    def children(self, hwnd):
        out = self.prefix.drive("children", hwnd)
        return [Window(line.split("\t"), True) for line in out.splitlines() if line.count("\t") >= 7]

    def dialogs(self):
        """Open message boxes: [{'hwnd', 'title', 'texts', 'buttons': {text: hwnd}}]."""
        boxes = []
        for line in self.prefix.drive("dialogs").splitlines():
            f = line.split("\t")
            if f[0] == "dialog":
                boxes.append({"hwnd": int(f[1]), "title": unescape(f[2]), "texts": [], "buttons": {}})
            elif f[0] == "text" and boxes:
                boxes[-1]["texts"].append(unescape(f[1]))
            elif f[0] == "button" and boxes:
                boxes[-1]["buttons"][unescape(f[2]).replace("&", "")] = int(f[1])
        return boxes

    def skinned(self, hwnd):
        """Whether the window answers the skin engine's "is skinned" message with 1."""
        return self.prefix.drive("send", hwnd, "0x3504", "0", "0", check=False).strip() == "1"

    def wait_dialog(self, timeout=15):
        return wait_for(lambda: (self.dialogs() or [None])[0], timeout, what="a message box")

    def answer(self, box, button):
        """Answers a message box by a message from the driver (BM_CLICK on its button). Only for
        boxes a test meets on its way to what it is about (a missing scheme, a stored skin file
        that is gone); a box that is the subject is answered by `click_answer`, as a user does."""
        self.prefix.drive("click", box["buttons"][button])
        wait_for(lambda: all(d["hwnd"] != box["hwnd"] for d in self.dialogs()), what="the box to close")

    def click_answer(self, box, label):
        """A real click on a message box's button, once the box's (skinned) frame has laid it out.
        A box shown while the program starts can still be skinned, or have the bar shown over
        it, after the click was aimed: when the box stays open and the button or the bar has
        moved since, the click went elsewhere and is made again; a click that was aimed right
        and changed nothing fails the test."""
        button = lambda: next(c for c in self.children(box["hwnd"]) if c.text.replace("&", "") == label)
        gone = lambda: all(d["hwnd"] != box["hwnd"] for d in self.dialogs())

        def aim():
            bar = self.bar(visible=False)
            if bar and self.skinned(bar.hwnd):
                wait_for(lambda: self.skinned(box["hwnd"]), what="the box skinned")
            last = None
            while last is None or (button().left, button().top) != (last.left, last.top):
                last = button()
                time.sleep(0.2)
            x, y = (last.left + last.right) // 2, (last.top + last.bottom) // 2
            if bar and bar.visible and bar.left <= x < bar.right and bar.top <= y < bar.bottom:
                self.bar_aside()  # the bar stays on top: the user moves it off the button
            bar = self.bar(visible=False)
            return last, bar and bar.visible and (bar.left, bar.top, bar.right, bar.bottom)

        for attempt in range(3):
            target, bar_place = aim()
            pointer_click(target)
            try:
                wait_for(gone, timeout=8, what="the box to close")
                return
            except AssertionError:
                if gone():
                    return
                now, bar_now = aim()
                if (now.left, now.top) == (target.left, target.top) and bar_now == bar_place:
                    raise AssertionError("a click on %r did not close the box %r" % (label, box["title"]))
        raise AssertionError("the box %r kept moving under the pointer" % box["title"])

    # -- the user's path: the real pointer and keys through the X server

    def control(self, hwnd):
        """A window's or control's record, where a click on it lands."""
        return Window(self.prefix.drive("window", hwnd).rstrip("\r\n").split("\t"), True)

    def click(self, hwnd, button=1):
        """A real pointer click in the middle of a control or window."""
        pointer_click(self.control(hwnd), button=button)

    def focus_of(self, hwnd):
        """The control that has the keyboard focus in the thread of the window."""
        return int(self.prefix.drive("focus", hwnd).strip())

    def text(self, hwnd):
        return unescape(self.prefix.drive("text", hwnd).rstrip("\r\n"))

    def type_into(self, edit, text):
        """The user clicks into a one-line edit box, selects what it holds and types `text` over
        it. Plain ASCII only; the box is read back and typed again should Wine lose a key."""
        for _ in range(3):
            box = self.control(edit)
            pointer_to(box.left + 6, (box.top + box.bottom) // 2)  # its left end: the bar may cover its middle
            time.sleep(0.05)
            xdo("click", 1)
            wait_for(lambda: self.focus_of(edit) == edit, what="the edit box focused")
            xdo("key", "--clearmodifiers", "End", "shift+Home", "BackSpace")
            if text:
                xdo("type", "--delay", "20", text)
            try:
                return wait_for(lambda: self.text(edit) == text, timeout=5, what="%r in the edit box" % text)
            except AssertionError:
                continue
        raise AssertionError("could not type %r: the box holds %r" % (text, self.text(edit)))

    def pick(self, listbox, index):
        """The user clicks on entry `index` of a list box (or of a combo box's dropped list)."""
        point = wait_for(lambda: self.prefix.drive("itempoint", listbox, index, check=False).split(),
                         what="entry %d in sight" % index)
        pointer_to(int(point[0]), int(point[1]))
        time.sleep(0.05)
        xdo("click", 1)

    def choose(self, combo, text):
        """The user opens a combo box's list with a click on its button and clicks the entry
        `text` (a simple combo box shows its list already)."""
        items = [unescape(l) for l in self.prefix.drive("items", combo).splitlines()]
        index = items.index(text)
        shown = [c for c in self.children(combo) if c.cls == "ComboLBox" and c.visible]
        if shown:
            self.pick(shown[0].hwnd, index)
            return
        box = self.control(combo)
        pointer_to(box.right - 8, (box.top + box.bottom) // 2)  # its drop-down button
        time.sleep(0.05)
        xdo("click", 1)
        dropped = wait_for(lambda: [w for w in self.windows() if w.cls == "ComboLBox" and w.visible],
                           what="the combo box's list")
        self.pick(dropped[0].hwnd, index)
        wait_for(lambda: not any(w.cls == "ComboLBox" and w.visible for w in self.windows()),
                 what="the list to close")

    def to_front(self, window, x=None, y=None):
        """The user clicks a free spot of a window (by default near its bottom-left corner) to
        bring it to the front."""
        x = window.left + 40 if x is None else x
        y = window.bottom - 12 if y is None else y
        pointer_to(x, y)
        time.sleep(0.05)
        xdo("click", 1)
        wait_for(lambda: int(self.prefix.drive("foreground").strip()) == window.hwnd, what="%r in front" % window)

    def close_with_keys(self, window, x=None, y=None):
        """Alt+F4 on a window the user has brought to the front with a click."""
        self.to_front(window, x, y)
        xkey("alt+F4")

    def tray_icon(self):
        """The notification icon in the display's stand-in tray window."""
        tray = self.find(cls="__winex11_standalone_tray")
        icons = [c for c in self.children(tray.hwnd) if c.cls == "__winex11_tray_icon" and c.visible] if tray else []
        return icons[0] if icons else None

    def open_tray_menu(self):
        """A real right click on the notification icon, where the display shows it (once the
        display has mapped the stand-in tray window that holds it). The stand-in window takes the
        X activation when it is clicked, and the menu closes when the activation moves while it
        opens: a left click on the window's free part, right of the icon, activates it first."""
        icon = wait_for(self.tray_icon, what="the notification icon")
        wait_for(lambda: any("IsViewable" in subprocess.run(["xwininfo", "-id", w], capture_output=True, text=True,
                                                            timeout=10).stdout
                             for w in subprocess.run(["xdotool", "search", "--name", "Wine System Tray"],
                                                     capture_output=True, text=True, timeout=10).stdout.split()),
                 what="the tray window shown")
        tray = self.find(cls="__winex11_standalone_tray")
        pointer_to(tray.right - 20, (icon.top + icon.bottom) // 2)
        time.sleep(0.05)
        xdo("click", 1)
        wait_for(lambda: subprocess.run(["xdotool", "getactivewindow", "getwindowname"], capture_output=True,
                                        text=True, timeout=10).stdout.strip() == "Wine System Tray",
                 what="the tray window active")
        pointer_click(icon, button=3)
        return wait_for(lambda: self.find(cls="#32768"), what="the notification menu")

    TRAY_ITEMS = ["Show Config Form", "Hide Config Form", "Show Button Form", "Hide Button Form", "Exit"]

    def tray_choose(self, item):
        """Opens the icon's menu with a real right click and clicks `item` with the pointer. (The
        display's stand-in tray keeps the X keyboard focus after the click, so keys would go to
        it, not to the menu.) The items are 18 pixels high, a separator of 8 after the second and
        the fourth, inside the menu's border."""
        menu = self.open_tray_menu()
        time.sleep(0.3)
        i = self.TRAY_ITEMS.index(item)
        border = (menu.height - 5 * 18 - 2 * 8) // 2
        pointer_to(menu.left + menu.width // 2, menu.top + border + i * 18 + (i // 2) * 8 + 9)
        time.sleep(0.2)
        xdo("click", 1)
        wait_for(lambda: not self.find(cls="#32768"), what="the menu to close")

    def close_menu(self):
        """A click on the bar's label, outside the open menu, closes it."""
        bar = self.bar()
        label = next(c for c in self.children(bar.hwnd) if c.text.startswith("Press Ctrl+T"))
        pointer_to((label.left + label.right) // 2, (label.top + label.bottom) // 2)
        time.sleep(0.05)
        xdo("click", 1)
        wait_for(lambda: not self.find(cls="#32768"), what="the menu to close")

    def answers_input(self):
        """A positive signal before checking that something did not happen: the icon's menu,
        opened by a real click, shows and closes. Input is read only after the messages posted
        before it, so whatever those were going to do has been done."""
        self.open_tray_menu()
        self.close_menu()

    def stop(self):
        self.prefix.stop()
        if self.proc:
            try:
                self.proc.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.proc.kill()
        if getattr(self, "log", None):
            self.log.close()


def write_scheme(folder, name, buttons, eol, tag_order="CT", encoding="cp1252", bom=False):
    """Writes a scheme file the way the program does: code-page bytes, CR LF after every line
    (with `bom`, a UTF-8 byte-order mark first, as Notepad writes). A button (caption, text,
    True) has a keys-in-braces text ("T02")."""
    os.makedirs(folder, exist_ok=True)
    lines = []
    for caption, text, *keys in buttons:
        for tag in tag_order:
            lines.append(("C01" + caption) if tag == "C" else (("T02" if keys and keys[0] else "T01") + text))
    lines.append("D01" + str(eol))
    with open(os.path.join(folder, name + ".dat"), "wb") as f:
        f.write((b"\xef\xbb\xbf" if bom else b"") + "".join(l + "\r\n" for l in lines).encode(encoding))


def xkey(combo):
    """A key press on the X display, as the user makes it."""
    subprocess.run(["xdotool", "key", "--clearmodifiers", combo], check=True, timeout=10)


def capture(target_focus):
    """Ctrl+T with the given window in front."""
    target_focus()
    time.sleep(0.3)
    xkey("ctrl+t")
    time.sleep(0.3)


def xdo(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True, timeout=10)


def pointer_click(window, settle=0.1, button=1):
    """A real click in the middle of a window: the pointer moves there, then the button goes
    down and up as input events, as a user's hand does it."""
    pointer_to((window.left + window.right) // 2, (window.top + window.bottom) // 2)
    time.sleep(settle)
    xdo("click", button)


def pointer_to(x, y):
    # "mousemove --sync" waits forever when the pointer is already there.
    xdo("mousemove", x, y)
    wait_for(lambda: subprocess.run(["xdotool", "getmouselocation"], capture_output=True, text=True, timeout=10)
             .stdout.startswith("x:%d y:%d " % (x, y)), timeout=5, interval=0.02, what="the pointer")


class Target:
    """The test target: a window with a multi-line edit box."""

    TITLE = "Ketravo Test Target"

    def __init__(self, prefix, title=None, no_focus=False, polling=False, keys=False):
        self.prefix = prefix
        self.title = title or self.TITLE
        prefix.ensure_server()
        args = ["wine", os.path.join(BIN, "kttarget.exe"), "--title", self.title] + (["--no-focus"] if no_focus else []) \
            + (["--polling"] if polling else []) + (["--keys"] if keys else [])
        self.proc = subprocess.Popen(args, env=prefix.env,
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.hwnd = int(wait_for(lambda: prefix.drive("find", self.title, check=False).strip(), what="the target"))
        self.edit = wait_for(lambda: self._edit(), what="the target's edit box")

    def _edit(self):
        for line in self.prefix.drive("children", self.hwnd).splitlines():
            f = line.split("\t")
            if f[1].lower() == "edit":
                return int(f[0])
        return None

    def text(self):
        return unescape(self.prefix.drive("text", self.edit).rstrip("\r\n"))

    def text_utf16(self):
        """The box's text read in UTF-16: exact whatever the code page."""
        units = self.prefix.drive("text", self.edit, "utf16").strip()
        return "".join(chr(int(units[i:i + 4], 16)) for i in range(0, len(units), 4))

    def clear(self):
        """Empties the target's record between cases: the test's own window, not the program's."""
        self.prefix.drive("settext", self.edit, "")

    def click_in(self):
        """The user clicks into the target's text box: it becomes the window in front, for the
        system and the window manager alike."""
        for line in self.prefix.drive("windows").splitlines():
            f = line.split("\t")
            if int(f[0]) == self.hwnd:
                l, t, r, b = (int(v) for v in f[3].split(","))
                pointer_to((l + r) // 2, (t + b) // 2)
                time.sleep(0.05)
                xdo("click", 1)
                wait_for(lambda: int(self.prefix.drive("foreground").strip()) == self.hwnd, what="the target in front")
                return
        raise AssertionError("no target window")

    def settled_text(self, quiet=1.0, timeout=60, utf16=False):
        """The edit box takes a few hundred characters a second: wait until it stops changing."""
        last, since = None, time.time()
        end = time.time() + timeout
        while time.time() < end:
            now = self.text_utf16() if utf16 else self.text()
            if now != last:
                last, since = now, time.time()
            elif time.time() - since >= quiet:
                return now
            time.sleep(0.2)
        return last


class FormTarget:
    """The test target as a small form (kttarget --form): the fields Name, Street and City, Tab
    between them, Enter submits."""

    TITLE = "Ketravo Form Target"

    def __init__(self, app):
        self.app, self.prefix = app, app.prefix
        self.prefix.ensure_server()
        self.proc = subprocess.Popen(["wine", os.path.join(BIN, "kttarget.exe"), "--title", self.TITLE, "--form"],
                                     env=self.prefix.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        self.hwnd = int(wait_for(lambda: self.prefix.drive("find", self.TITLE, check=False).strip(), what="the form"))
        kids = wait_for(lambda: (lambda k: k if len(k) >= 9 else None)(app.children(self.hwnd)), what="the form's fields")
        by_id = {c.id: c.hwnd for c in kids}
        self.fields = [by_id[101], by_id[102], by_id[103]]
        self.submitted, self.log = by_id[110], by_id[111]

    def texts(self):
        return [self.app.text(f) for f in self.fields]

    def clear(self):
        for f in self.fields + [self.log]:
            self.prefix.drive("settext", f, "")

    def click_in(self, field=0):
        """The user clicks into a field: the form comes to the front with the focus there."""
        pointer_click(self.app.control(self.fields[field]))
        wait_for(lambda: self.app.focus_of(self.hwnd) == self.fields[field], what="the focus in the field")

    def changes(self, field):
        """(length, GetTickCount) of each change of a field, from the form's own log."""
        out = []
        for entry in self.app.text(self.log).split(";"):
            if entry:
                f, rest = entry.split(":")
                length, ms = rest.split("@")
                if int(f) == field:
                    out.append((int(length), int(ms)))
        return out


class Display:
    """A virtual display of its own with an X keyboard layout and a system locale, as a user of
    that layout has them: the layout is set before any Wine process starts on the display, and
    the locale (LANG) gives Wine the matching code page. While it is entered, DISPLAY and the
    locale of this process point to it, so prefixes made then, and xdotool, use it."""

    def __init__(self, layout, lang, size=(1280, 1024)):
        self.layout, self.lang, self.size = layout, lang, size

    def __enter__(self):
        self.saved = {k: os.environ.get(k) for k in ("DISPLAY", "LANG", "LC_ALL")}
        self.folder = tempfile.mkdtemp(prefix="ktdisplay-")
        read_end, write_end = os.pipe()
        with open(os.path.join(self.folder, "xvfb.log"), "w") as log:
            self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                          "%dx%dx24" % self.size,
                                          "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,),
                                         stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            number = numbers.readline().strip()  # Xvfb writes it once it takes connections
        if not number:
            raise AssertionError("the virtual display did not start")
        os.environ["DISPLAY"] = ":" + number
        os.environ["LANG"] = os.environ["LC_ALL"] = self.lang
        subprocess.run(["setxkbmap", "-layout", self.layout], check=True, timeout=10)
        self.wm = subprocess.Popen(["openbox", "--sm-disable"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        wait_for(lambda: "window id" in subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                                       capture_output=True, text=True).stdout,
                 timeout=10, what="the window manager")
        return self

    def __exit__(self, *exc):
        for proc in (self.wm, self.xvfb):
            proc.terminate()
            proc.wait(timeout=10)
        for k, v in self.saved.items():
            if v is None:
                os.environ.pop(k, None)
            else:
                os.environ[k] = v
        shutil.rmtree(self.folder, ignore_errors=True)


def screen_size():
    return 1280, 1024
