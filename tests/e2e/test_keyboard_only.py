"""Ketravo by real keys alone (xdotool), no pointer; the focus read from outside."""
import os
import time
import unittest

import pixels
from ktharness import App, Prefix, wait_for, write_scheme, xkey
from test_config import ConfigWindow


def contrast(a, b):
    lum = [sum(w * ((c / 255) / 12.92 if c <= 10 else ((c / 255 + 0.055) / 1.055) ** 2.4)
               for w, c in zip((0.2126, 0.7152, 0.0722), p)) for p in (a, b)]
    return (max(lum) + 0.05) / (min(lum) + 0.05)


class KeyboardOnlyTest(unittest.TestCase):
    def test_schemes_made_renamed_copied_and_deleted_by_keys_with_the_focus_kept(self):
        prefix = Prefix("keyboard_only")
        app = App(prefix)
        self.addCleanup(app.stop)
        data = os.path.join(app.start_dir, "data")
        write_scheme(data, "button", [("Old", "old text")], 1)
        app.start()
        cfg = ConfigWindow(app)
        bar, w = app.bar(), app.find(cls="TConfigForm")
        fg = lambda: int(prefix.drive("foreground"))
        exists = lambda name: os.path.exists(os.path.join(data, name + ".dat"))

        def keys(*ks):
            for k in ks:
                xkey(k)

        def front(hwnd, *ks):
            keys(*ks)
            if not ks:  # as Alt+Tab to it, which this display's window manager does not offer
                prefix.drive("foreground", hwnd)
                time.sleep(0.5)  # the display's keyboard focus follows a moment later
            wait_for(lambda: fg() == hwnd, what="%d in front" % hwnd)

        def focus(hwnd, window=cfg.window.hwnd):
            wait_for(lambda: app.focus_of(window) == hwnd, what="the focus on %d" % hwnd)

        def chooser(name):  # its text and its list's selection (CB_GETCURSEL)
            c = app.scheme_chooser().hwnd
            now = lambda: (app.text(c), (prefix.drive("items", c).split() + [None])[int(prefix.drive("send", c, 0x147, 0, 0))])
            wait_for(lambda: now() == (name, name), what="the chooser on " + name)

        front(cfg.window.hwnd)
        focus(cfg.scheme_edit)  # the first control, at the first activation
        keys("alt+n", *"work", "Tab", "Tab", "space")  # Tab past the scheme list to Add: no question
        cfg.wait_status("work.dat File Added")
        self.assertEqual(app.dialogs(), [])
        chooser("work")
        keys("alt+l")  # Delete with nothing selected: a box; the focus on Delete again after it
        app.wait_dialog()
        keys("Return")
        focus(cfg.button_cmd["Delete"])
        keys("alt+t", *"hi", "alt+x", *"hello", "alt+d")
        cfg.wait_status("Item added.")
        keys("alt+t")
        for opens, close in ((("alt+o", "s"), "Escape"), (("alt+o", "t"), "Escape"), (("alt+h", "a"), "Return"),
                             (("alt+o", "f"), "Escape"), (("alt+Tab", "alt+Tab"), None)):
            keys(*opens)

            def opened():  # in front, and (a dialog of ours) with a control focused
                f = fg()
                return f not in (0, cfg.window.hwnd) and (not close or int(
                    prefix.drive("focus", f, check=False) or 0) not in (0, f)) and f
            dialog = wait_for(opened, what="%s opened, focused" % (opens,))
            if opens[1] == "s":  # Tab: edit, Set Path, edit, Set Path
                walk = [app.focus_of(dialog)]
                for _ in range(3):
                    keys("Tab")
                    walk.append(wait_for(lambda: app.focus_of(dialog) != walk[-1] and app.focus_of(dialog)))
                self.assertEqual([app.text(h) for h in walk[1::2]], ["Set Path", "Set Path"])
            front(cfg.window.hwnd, *[close] * bool(close))
            focus(cfg.caption_edit)
        # No at closing; the bar's Shift+F10 menu opens at the bar, C: the file's buttons again.
        keys("alt+c")
        app.wait_dialog()
        keys("n")
        wait_for(lambda: not app.find(cls="TConfigForm"), what="the window hidden")
        front(bar.hwnd)
        keys("shift+F10")
        menu = wait_for(lambda: app.find(cls="#32768"), what="the bar's menu")
        self.assertTrue(bar.left - 2 <= menu.left <= bar.right and bar.top <= menu.top <= bar.bottom + 2)
        front(cfg.window.hwnd, "c")
        self.assertEqual(cfg.drive("items", cfg.caption_list).split(), [])
        # Rename work to yyy, Copy it to xxx, delete xxx: the chooser on yyy throughout.
        for ks, copied in ((("Tab", "w", "alt+n", "End", "shift+Home", *"yyy", "alt+m"), False),
                           (("End", "shift+Home", *"xxx", "alt+p"), True), (("Tab", "x", "alt+e", "y"), False)):
            keys("alt+n", *ks)
            wait_for(lambda: exists("yyy") and not exists("work") and exists("xxx") == copied, what=str(ks))
            chooser("yyy")
        # F10: the menu bar's first item in the skin's selected colours.
        strip = (w.left, w.top, w.width, 60)
        before = pixels.screenshot("keys-before-f10").pixels(*strip)
        keys("F10")
        changed = wait_for(lambda: [p for p in zip(before, pixels.screenshot("keys-f10").pixels(*strip)) if p[0] != p[1]])
        keys("Escape")
        ground, mark = (max(set(c), key=c.count) for c in zip(*changed))
        print("F10 highlight %s on the menu bar's %s: contrast %.1f:1" % (mark, ground, contrast(mark, ground)))
        self.assertGreaterEqual(contrast(mark, ground), 3.0)
        # Away from the bar and back: the chooser has the focus again; a name and Enter opens it.
        front(bar.hwnd)
        chooser_edit = app.focus_of(bar.hwnd)
        front(cfg.window.hwnd)
        front(bar.hwnd)
        focus(chooser_edit, bar.hwnd)
        keys("End", "shift+Home", *"button", "Return")
        chooser("button")
        wait_for(lambda: [b.text for b in app.scheme_buttons()] == ["Old"], what="the scheme's button")


if __name__ == "__main__":
    unittest.main()
