"""A slow typing (a delay between keys) and the user's hands: Esc stops it, any other key stops it
before it can land between typed characters, and a menu opened meanwhile is never covered by a box."""
import os
import re
import time
import unittest

from ktharness import App, BASE_KEY, Prefix, Target, capture, pointer_click, pointer_to, wait_for, write_scheme, xdo, xkey

TEXT = "slowly typed text that takes a while"


class TypingStopTest(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix(self.id().rsplit(".", 1)[-1])
        self.app = App(self.prefix)
        write_scheme(os.path.join(self.app.start_dir, "data"), "button", [("Slow", TEXT)], 0)
        write_scheme(os.path.join(self.app.start_dir, "data"), "other", [("Other", "x")], 0)
        self.prefix.reg_add(BASE_KEY + r"\Options\Typing", "KeyDelay", "150")
        self.target = Target(self.prefix, keys=True)
        self.bar = self.app.start()
        self.app.bar_aside()
        capture(self.target.click_in)

    def tearDown(self):
        self.app.stop()

    def start_typing(self, characters=4):
        pointer_click(self.app.scheme_buttons()[0])
        wait_for(lambda: len(self.target.text()) >= characters, what="the first characters")

    def stop_box(self, reason):
        """The box that says the typing stopped: why, and how many characters went in."""
        box = self.app.wait_dialog()
        text = " ".join(box["texts"])
        self.assertIn(reason, text)
        typed = int(re.search(r"(\d+) of %d characters were typed" % len(TEXT), text).group(1))
        return box, typed

    def test_esc_stops_the_typing_and_never_reaches_the_target(self):
        self.start_typing()
        xkey("Escape")
        box, typed = self.stop_box("Typing stopped: Esc was pressed.")
        self.assertLess(typed, len(TEXT))
        self.assertEqual(self.target.settled_text(quiet=0.5), TEXT[:typed])  # no "[Esc]"
        self.app.click_answer(box, "OK")

    def test_a_letter_typed_meanwhile_lands_after_the_typed_characters(self):
        self.start_typing()
        xkey("z")
        box, typed = self.stop_box("a key was pressed")
        self.assertEqual(self.target.settled_text(quiet=0.5), TEXT[:typed] + "z")
        self.app.click_answer(box, "OK")

    def test_a_held_ctrl_and_a_t_never_become_a_typed_t(self):
        self.start_typing()
        xdo("keydown", "ctrl")
        try:
            time.sleep(0.4)  # longer than two key delays
            xdo("key", "t")
        finally:
            xdo("keyup", "ctrl")
        box, typed = self.stop_box("a key was pressed")
        self.assertEqual(self.target.settled_text(quiet=0.5), TEXT[:typed])
        self.app.click_answer(box, "OK")

    def test_caps_lock_pressed_midway_stops_before_the_case_changes(self):
        self.start_typing()
        xkey("Caps_Lock")
        try:
            box, typed = self.stop_box("a key was pressed")
            self.assertEqual(self.target.settled_text(quiet=0.5), TEXT[:typed])
            self.app.click_answer(box, "OK")
        finally:
            xkey("Caps_Lock")

    def test_the_menu_opened_meanwhile_is_not_covered_and_the_box_closes_with_a_click(self):
        bar = self.app.bar()
        label = next(c for c in self.app.children(bar.hwnd) if c.text.startswith("Press Ctrl+T"))
        for attempt in range(3):
            self.start_typing()
            # The notification menu, as the bar's right-click menu: the bar comes to the front
            # and the typing stops while the menu opens.
            pointer_click(label, button=3)
            try:
                wait_for(lambda: self.app.find(cls="#32768"), timeout=3, what="the menu")
                break
            except AssertionError:
                # Wine closed the menu as the activation arrived: the typing stopped without
                # it. Once more.
                box, _ = self.stop_box("no longer in front")
                self.app.click_answer(box, "OK")
                self.target.clear()
                capture(self.target.click_in)
        else:
            self.fail("the menu never stayed open")
        typed = len(self.target.settled_text(quiet=0.5))
        self.assertLess(typed, len(TEXT))
        self.assertEqual(self.app.dialogs(), [])  # no box over the open menu
        # The user clicks back into the target: the menu closes (and the box takes the front).
        pointer_click(self.app.find(title=self.target.title))
        wait_for(lambda: not self.app.find(cls="#32768"), what="the menu to close")
        box, counted = self.stop_box("no longer in front")
        self.assertEqual(counted, typed)
        self.app.click_answer(box, "OK")
        self.app.answers_input()


    def test_a_scheme_picked_meanwhile_is_loaded_and_the_box_waits_for_the_list(self):
        self.start_typing()
        combo = self.app.control(self.app.scheme_chooser().hwnd)
        pointer_to(combo.right - 8, (combo.top + combo.bottom) // 2)  # its drop-down button
        xdo("click", 1)
        dropped = wait_for(lambda: [w for w in self.app.windows() if w.cls == "ComboLBox" and w.visible],
                           what="the chooser's list")
        typed = len(self.target.settled_text(quiet=0.5))  # the bar came to the front: stopped
        self.assertEqual(self.app.dialogs(), [])  # no box over the dropped list
        self.app.pick(dropped[0].hwnd, 1)
        box, counted = self.stop_box("no longer in front")
        self.assertEqual(counted, typed)
        self.app.click_answer(box, "OK")
        wait_for(lambda: [b.text for b in self.app.scheme_buttons()] == ["Other"], what="the picked scheme")


if __name__ == "__main__":
    unittest.main()
