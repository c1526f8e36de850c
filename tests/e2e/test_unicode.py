"""Every character of every language, from the file or the text box to the target: schemes in
UTF-8 (with and without a mark), UTF-16 and the old code page show their captions exactly and type
their texts exactly (UTF-16 units compared, the emoji as a surrogate pair); a button made in the
configuration window beyond the code page is saved as UTF-8 and comes back after a restart, from a
scheme folder below "Łukasz" chosen in the settings dialog, while a code-page scheme saved again
keeps its bytes; a scheme named "Zażółć 日本" is made under that name."""
import os
import shutil
import time
import unittest

from ktharness import App, Prefix, Target, capture, pointer_click, pointer_to, wait_for, write_scheme, xdo, xkey
from test_config import ConfigWindow

WORLD = [("Za\u017c\u00f3\u0142\u0107", "Za\u017c\u00f3\u0142\u0107 g\u0119\u015bl\u0105 ja\u017a\u0144"),
         ("\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac", "\u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1"),
         ("\u65e5\u672c\u8a9e", "\u3053\u3093\u306b\u3061\u306f"),
         ("Smile \U0001F600", "a\U0001F600b")]
OLD = [("caf\u00e9", "caf\u00e9 \u20ac5")]


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

    def buttons(self):
        return {self.utf16(b.hwnd): b for b in self.app.scheme_buttons()}

    def show(self, scheme):
        combo = self.app.scheme_chooser().hwnd
        names = [bytes.fromhex(l.strip()).decode("utf-16-be")
                 for l in self.prefix.drive("items", combo, "utf16").splitlines()]
        if self.utf16(combo) != scheme:
            # Picked by its place in the list, as a user clicks it.
            box = self.app.control(combo)
            pointer_to(box.right - 8, (box.top + box.bottom) // 2)
            time.sleep(0.05)
            xdo("click", 1)
            dropped = wait_for(lambda: [w for w in self.app.windows() if w.cls == "ComboLBox" and w.visible],
                               what="the chooser's list")
            self.app.pick(dropped[0].hwnd, names.index(scheme))
        return wait_for(lambda: (lambda b: b if len(b) == len(self.expected(scheme)) and
                                 sorted(b) == sorted(c for c, _ in self.expected(scheme)) else None)(self.buttons()),
                        what="the captions of %s on the bar" % scheme)

    def expected(self, scheme):
        return OLD if scheme == "old" else WORLD

    def types(self, target, scheme, only=None):
        buttons = self.show(scheme)
        for caption, text in only or self.expected(scheme):
            target.clear()
            capture(target.click_in)
            pointer_click(buttons[caption])
            typed = target.settled_text(quiet=0.5, utf16=True)  # one character per UTF-16 unit
            self.assertEqual(typed.encode("utf-16-le", "surrogatepass"), text.encode("utf-16-le"), (scheme, caption))

    def paste(self, edit, value):
        """Pasted, as a user brings in a name from elsewhere: the keys of the X display carry
        no such characters into Wine."""
        self.app.type_into(edit, "")
        self.prefix.drive("clip", edit, value.encode("utf-16-be").hex())
        xdo("key", "--clearmodifiers", "ctrl+v")
        wait_for(lambda: self.utf16(edit) == value, what="%r pasted" % value)

    def test_every_script_shows_and_types_exactly_and_a_new_one_is_saved_and_comes_back(self):
        app = self.app
        target = Target(self.prefix)
        app.start()
        app.bar_aside()
        for scheme in ["button", "plain8", "wide", "old"]:
            self.types(target, scheme)

        # In the configuration window: a button beyond the code page, added and saved.
        with open(os.path.join(self.data, "old.dat"), "rb") as f:
            old = f.read()
        cfg = ConfigWindow(app)
        names = cfg.shown(cfg.scheme_list)
        app.pick(cfg.scheme_list, names.index("old"))
        wait_for(lambda: cfg.shown(cfg.caption_list) == ["caf\u00e9"], what="old's buttons")
        app.click(cfg.button_cmd["Save"])
        cfg.wait_status("File saved")
        with open(os.path.join(self.data, "old.dat"), "rb") as f:
            self.assertEqual(f.read(), old)  # byte for byte, in the code page
        app.pick(cfg.scheme_list, names.index("plain8"))
        wait_for(lambda: cfg.shown(cfg.caption_list) == [c for c, _ in WORLD], what="plain8's buttons")
        caption, text = "\u0141ukasz \u65e5\u672c", "Wr\u00f3bel \u0141\u00f3d\u017a"
        self.paste(cfg.caption_edit, caption)
        self.paste(cfg.text_edit, text)
        app.click(cfg.button_cmd["Add"])
        cfg.wait_status("Item added.")
        app.click(cfg.button_cmd["Save"])
        cfg.wait_status("File saved")
        with open(os.path.join(self.data, "plain8.dat"), "rb") as f:
            self.assertEqual(f.read(), b"\xef\xbb\xbf\r\n" + lines(WORLD + [(caption, text)]).encode("utf-8"))

        # A new scheme is made under the name as written.
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
        # The scheme shown last was made in the old folder: the new one's is shown, and said.
        box = app.wait_dialog()
        self.assertTrue(box["texts"][-1].endswith("the bar shows plain8 now."), box["texts"])
        app.click_answer(box, "OK")
        app.wait_bar()
        app.bar_aside()
        target = Target(self.prefix)  # the stop ended the prefix's programs, the target's too
        self.expected = lambda scheme: WORLD + [(caption, text)]
        self.types(target, "plain8", only=[(caption, text)])


if __name__ == "__main__":
    unittest.main()
