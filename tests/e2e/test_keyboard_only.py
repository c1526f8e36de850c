"""The program used with real keys alone, no pointer: the focus (read from outside) comes back
after boxes, dialogs and window switches; access keys; the bar's chooser in step."""
import os
import time
import unittest

import pixels
from ktharness import App, Prefix, wait_for, write_scheme, xdo, xkey
from test_config import ConfigWindow


def contrast(a, b):
    lum = [sum(w * ((c / 255) / 12.92 if c <= 10 else ((c / 255 + 0.055) / 1.055) ** 2.4)
               for w, c in zip((0.2126, 0.7152, 0.0722), p[:3])) for p in (a, b)]
    return (max(lum) + 0.05) / (min(lum) + 0.05)


class KeyboardOnlyTest(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix(self.id().rsplit(".", 1)[-1])
        self.app = App(self.prefix)
        self.addCleanup(self.app.stop)
        self.data = os.path.join(self.app.start_dir, "data")
        write_scheme(self.data, "button", [("Old", "old text")], 1)

    def front(self, hwnd, *keys):
        """After the keys, `hwnd` is in front. With none, as after Alt+Tab to it (this display's
        window manager does not cycle to the configuration window): the driver brings it."""
        for key in keys:
            xkey(key)
        if not keys:
            self.prefix.drive("foreground", hwnd)
            time.sleep(0.5)  # the display's keyboard focus follows a moment later
        wait_for(lambda: int(self.prefix.drive("foreground").strip()) == hwnd, what="window %d in front" % hwnd)

    def focus(self, hwnd, window=None):
        wait_for(lambda: self.app.focus_of(window or self.cfg.window.hwnd) == hwnd, what="the focus on %d" % hwnd)

    def chooser(self, shown):
        c = self.app.scheme_chooser().hwnd

        def now():
            items, at = self.prefix.drive("items", c).split(), int(self.prefix.drive("send", c, 0x147, 0, 0))
            return self.app.text(c), items[at] if 0 <= at < len(items) else None  # CB_GETCURSEL
        wait_for(lambda: now() == (shown, shown), what="the chooser on %s (%s)" % (shown, now()))

    def test_a_scheme_made_renamed_and_copied_and_the_focus_kept_by_keys_alone(self):
        app = self.app
        app.start()
        cfg = self.cfg = ConfigWindow(app)
        w = app.find(cls="TConfigForm")
        bar = wait_for(lambda: (lambda b: (b.left >= w.right or b.right <= w.left) and b)(app.bar()),
                       what="the bar placed beside the window")
        self.front(cfg.window.hwnd)
        self.focus(cfg.scheme_edit)  # the first control at the first activation
        # File Name, Tab, Tab to Add, Space: no question on the way.
        for key in ("alt+n", "w", "o", "r", "k", "Tab", "Tab", "space"):
            xkey(key)
        cfg.wait_status("work.dat File Added")
        self.assertEqual(app.dialogs(), [])
        self.chooser("work")
        delete = cfg.button_cmd["Delete"]
        xkey("alt+l")  # nothing selected: a box; the focus back on Delete after it
        box = app.wait_dialog()
        xkey("Return")
        wait_for(lambda: not app.dialogs(), what="the box closed")
        self.focus(delete)
        for key, edit, text in (("alt+t", cfg.caption_edit, "Hi"), ("alt+x", cfg.text_edit, "hello")):
            xkey(key)
            self.focus(edit)
            xdo("type", "--delay", "20", text)
        xkey("alt+d")
        cfg.wait_status("Item added.")
        xkey("alt+t")
        # Dialogs open focused and give the focus back; Tab reaches both Set Path buttons.
        for keys, close in ((("alt+o", "s"), "Escape"), (("alt+o", "t"), "Escape"), (("alt+h", "a"), "Return"),
                            (("alt+o", "f"), "Escape"), (("alt+Tab", "alt+Tab"), None)):
            for key in keys:
                xkey(key)
            def front_focus():  # the window in front, once a control of it has the focus
                fg = int(self.prefix.drive("foreground"))
                focus = int(self.prefix.drive("focus", fg, check=False).strip() or 0)
                return fg not in (0, cfg.window.hwnd) and (focus not in (0, fg) or not close) and fg
            dialog = wait_for(front_focus, what="another window in front, focused")
            if keys[1:] == ("s",):
                walk = [app.focus_of(dialog)]
                for _ in range(3):
                    xkey("Tab")
                    wait_for(lambda: app.focus_of(dialog) != walk[-1])
                    walk.append(app.focus_of(dialog))
                self.assertEqual([app.text(h) for h in walk[1::2]], ["Set Path", "Set Path"])
            self.front(cfg.window.hwnd, *[close] * (close is not None))
            self.focus(cfg.caption_edit)
        # No at closing gives up the new button: the file's buttons when the window opens again,
        # from the bar's menu opened at the bar with Shift+F10.
        xkey("alt+c")
        app.wait_dialog()
        xkey("n")
        wait_for(lambda: not app.find(cls="TConfigForm"), what="the window hidden")
        self.front(bar.hwnd)
        xkey("shift+F10")
        menu = wait_for(lambda: app.find(cls="#32768"), what="the bar's menu")
        self.assertTrue(bar.left - 2 <= menu.left <= bar.right and bar.top <= menu.top <= bar.bottom + 2)
        self.front(cfg.window.hwnd, "c")
        self.assertEqual(cfg.drive("items", cfg.caption_list).split(), [])
        # Rename work to yyy, then Copy to xxx; delete xxx: the chooser stays on yyy.
        for keys, status_file in ((("alt+n", "Tab", "w", "alt+n", "End", "shift+Home", "y", "y", "y", "alt+m"), "yyy"),
                                  (("alt+n", "End", "shift+Home", "x", "x", "x", "alt+p"), "xxx")):
            for key in keys:
                xkey(key)
            wait_for(lambda: os.path.exists(os.path.join(self.data, status_file + ".dat")), what=status_file)
            self.chooser("yyy")
        self.assertFalse(os.path.exists(os.path.join(self.data, "work.dat")))
        for key in ("alt+n", "Tab", "x", "alt+e"):
            xkey(key)
        app.wait_dialog()
        xkey("y")
        wait_for(lambda: not os.path.exists(os.path.join(self.data, "xxx.dat")), what="xxx deleted")
        self.chooser("yyy")
        # F10: the menu bar's first item in the skin's selected colours.
        top = (w.left, w.top, w.width, 60)
        before = pixels.screenshot("keys-before-f10").pixels(*top)
        xkey("F10")
        after = wait_for(lambda: [p for p in zip(before, pixels.screenshot("keys-f10").pixels(*top)) if p[0] != p[1]])
        xkey("Escape")
        changed = [b for _, b in after]
        mark = max(set(changed), key=changed.count)
        ground = max(set(a for a, _ in after), key=[a for a, _ in after].count)
        ratio = contrast(mark, ground)
        print("F10 highlight %s on menu bar %s: contrast %.1f:1" % (mark, ground, ratio))
        self.assertGreaterEqual(ratio, 3.0)
        # Away from the bar and back: the chooser has the focus again; a scheme's name typed
        # there and Enter opens it.
        self.front(bar.hwnd)
        chooser_edit = app.focus_of(bar.hwnd)
        self.front(cfg.window.hwnd)
        self.front(bar.hwnd)
        self.focus(chooser_edit, bar.hwnd)
        for key in ("End", "shift+Home") + tuple("button") + ("Return",):
            xkey(key)
        self.chooser("button")
        wait_for(lambda: [b.text for b in app.scheme_buttons()] == ["Old"], what="the scheme's button")


if __name__ == "__main__":
    unittest.main()
