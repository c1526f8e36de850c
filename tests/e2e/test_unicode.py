"""Every script from file or text box to the target: UTF-8 (with and without a mark), UTF-16 and
code-page schemes show and type exactly (UTF-16 units compared); a code-page scheme saved again
keeps its bytes; a button pasted beyond the code page, a scheme named "Zażółć 日本" and a scheme
folder below "Łukasz" chosen in the settings dialog work, after a restart too."""
import os
import shutil
import time
import unittest

from ktharness import App, Prefix, Target, capture, pointer_click, pointer_to, wait_for, write_scheme, xdo, xkey
from test_config import ConfigWindow

WORLD = [("Za\u017c\u00f3\u0142\u0107", "Za\u017c\u00f3\u0142\u0107 g\u0119\u015bl\u0105 ja\u017a\u0144"),
         ("\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac", "\u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1"),
         ("\u65e5\u672c\u8a9e", "\u3053\u3093\u306b\u3061\u306f"), ("Smile \U0001F600", "a\U0001F600b")]
OLD = [("caf\u00e9", "caf\u00e9 \u20ac5")]
NEW = ("\u0141ukasz \u65e5\u672c", "Wr\u00f3bel \u0141\u00f3d\u017a")


def lines(buttons):
    return "".join("C01%s\r\nT01%s\r\n" % b for b in buttons) + "D01-1\r\n"


class UnicodeTest(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix(self.id().rsplit(".", 1)[-1])
        self.app = App(self.prefix)
        self.data = os.path.join(self.app.start_dir, "data")
        write_scheme(self.data, "button", WORLD, -1, encoding="utf-8", bom=True)
        write_scheme(self.data, "plain8", WORLD, -1, encoding="utf-8")
        write_scheme(self.data, "old", OLD, -1)
        with open(os.path.join(self.data, "wide.dat"), "wb") as f:
            f.write(lines(WORLD).encode("utf-16"))  # with its mark, as Notepad's "Unicode"

    def tearDown(self):
        self.app.stop()

    def utf16(self, hwnd):
        return bytes.fromhex(self.prefix.drive("text", hwnd, "utf16").strip()).decode("utf-16-be")

    def types(self, target, scheme, buttons, typed=None):
        """Picks the scheme in the bar's chooser, sees its captions, and types `typed` of them."""
        combo = self.app.scheme_chooser().hwnd
        if self.utf16(combo) != scheme:
            names = [bytes.fromhex(l.strip()).decode("utf-16-be")
                     for l in self.prefix.drive("items", combo, "utf16").splitlines()]
            box = self.app.control(combo)
            pointer_to(box.right - 8, (box.top + box.bottom) // 2)
            time.sleep(0.05)
            xdo("click", 1)
            dropped = wait_for(lambda: [w for w in self.app.windows() if w.cls == "ComboLBox" and w.visible],
                               what="the chooser's list")
            self.app.pick(dropped[0].hwnd, names.index(scheme))
        shown = wait_for(lambda: (lambda b: b if sorted(b) == sorted(c for c, _ in buttons) else None)(
            {self.utf16(b.hwnd): b for b in self.app.scheme_buttons()}), what="%s's captions on the bar" % scheme)
        for caption, text in typed or buttons:
            target.clear()
            capture(target.click_in)
            pointer_click(shown[caption])
            got = target.settled_text(quiet=0.5, utf16=True)  # one character per UTF-16 unit
            self.assertEqual(got.encode("utf-16-le", "surrogatepass"), text.encode("utf-16-le"), (scheme, caption))

    def paste(self, edit, value):
        """Pasted, as a user brings a name from elsewhere: X keys carry no such characters into Wine."""
        self.app.type_into(edit, "")
        self.prefix.drive("clip", edit, value.encode("utf-16-be").hex())
        xdo("key", "--clearmodifiers", "ctrl+v")
        wait_for(lambda: self.utf16(edit) == value, what="%r pasted" % value)

    def read(self, name):
        with open(os.path.join(self.data, name + ".dat"), "rb") as f:
            return f.read()

    def test_every_script_shows_and_types_exactly_and_is_saved_and_comes_back(self):
        app = self.app
        target = Target(self.prefix)
        app.start()
        app.bar_aside()
        for scheme in ["button", "plain8", "wide", "old"]:
            self.types(target, scheme, OLD if scheme == "old" else WORLD)

        old = self.read("old")
        cfg = ConfigWindow(app)
        names = cfg.shown(cfg.scheme_list)
        app.pick(cfg.scheme_list, names.index("old"))
        wait_for(lambda: cfg.shown(cfg.caption_list) == ["caf\u00e9"], what="old's buttons")
        app.click(cfg.button_cmd["Save"])
        cfg.wait_status("File saved")
        self.assertEqual(self.read("old"), old)  # byte for byte, in the code page
        app.pick(cfg.scheme_list, names.index("plain8"))
        wait_for(lambda: cfg.shown(cfg.caption_list) == [c for c, _ in WORLD], what="plain8's buttons")
        self.paste(cfg.caption_edit, NEW[0])
        self.paste(cfg.text_edit, NEW[1])
        app.click(cfg.button_cmd["Add"])
        cfg.wait_status("Item added.")
        app.click(cfg.button_cmd["Save"])
        cfg.wait_status("File saved")
        self.assertEqual(self.read("plain8"), b"\xef\xbb\xbf\r\n" + lines(WORLD + [NEW]).encode("utf-8"))

        name = "Za\u017c\u00f3\u0142\u0107 \u65e5\u672c"
        self.paste(cfg.scheme_edit, name)
        app.click(cfg.scheme_cmd["Add"])
        wait_for(lambda: self.utf16(cfg.status_label) == name + ".dat File Added", what="the scheme added")
        self.assertIn(name + ".dat", os.listdir(self.data))

        # The scheme folder moved, in the settings dialog, below a folder named beyond the code page.
        folder = os.path.join(app.start_dir, "\u0141ukasz", "schemes")
        os.makedirs(folder)
        shutil.copy(os.path.join(self.data, "plain8.dat"), folder)
        pointer_to(cfg.window.left + 50, cfg.window.bottom - 16)
        xdo("click", 1)
        wait_for(lambda: self.prefix.drive("foreground").strip() == str(cfg.window.hwnd), what="the window in front")
        xkey("alt+o")
        xkey("s")
        dialog = wait_for(lambda: app.find(cls="TFormOptionsDirectory"), what="the settings dialog")
        edits = sorted((k for k in app.children(dialog.hwnd) if k.cls.lower() == "edit"), key=lambda k: k.top)
        self.paste(edits[1].hwnd, "\u0141ukasz\\schemes")
        app.click(next(k.hwnd for k in app.children(dialog.hwnd) if k.text.replace("&", "") == "OK"))
        wait_for(lambda: not app.find(cls="TFormOptionsDirectory"), what="the dialog to close")

        app.stop()
        app.start(wait=False)
        # The scheme shown last stayed in the old folder: the new folder's is shown, and said.
        box = app.wait_dialog()
        self.assertTrue(box["texts"][-1].endswith("the bar shows plain8 now."), box["texts"])
        app.click_answer(box, "OK")
        app.wait_bar()
        app.bar_aside()
        target = Target(self.prefix)  # the stop ended the prefix's programs, the target's too
        self.types(target, "plain8", WORLD + [NEW], typed=[NEW])


if __name__ == "__main__":
    unittest.main()
