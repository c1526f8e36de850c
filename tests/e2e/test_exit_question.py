"""Nothing the user typed is lost on the way out: Exit on the notification menu and the end of a
Windows session ask about unsaved button edits, as closing the configuration window does."""
import os
import unittest

from ktharness import wait_for
from test_config import ConfigWindow, OneSchemeTestCase

ORIGINAL = b"C01Old\r\nT01old text\r\nD011\r\n"
WITH_EDIT = b"T01old text\r\nC01Old\r\nT01added text\r\nC01Added\r\nD011\r\n"


class ExitQuestionTest(OneSchemeTestCase):
    def scheme(self):
        with open(os.path.join(self.data, "button.dat"), "rb") as f:
            return f.read()

    def unsaved_edit(self):
        """A button added to the shown scheme with the real keyboard and pointer, not saved."""
        bar = self.app.start()
        # The bar stays on top: out of the way of the boxes.
        self.prefix.drive("move", bar.hwnd, 40, 760, bar.width, bar.height)
        cfg = ConfigWindow(self.app)
        self.app.pick(cfg.scheme_list, cfg.schemes_listed().index("button"))
        wait_for(lambda: cfg.drive("items", cfg.caption_list).split() == ["Old"], what="the scheme's buttons")
        self.app.type_into(cfg.caption_edit, "Added")
        self.app.type_into(cfg.text_edit, "added text")
        self.app.click(cfg.button_cmd["Add"])
        cfg.wait_status("Item added.")
        return cfg

    def tray_exit(self):
        """Exit, the menu's last item, chosen with the real pointer; the menu opened by a real
        right click on the icon where the display shows it."""
        self.app.tray_choose("Exit")

    def question(self):
        box = self.app.wait_dialog()
        self.assertEqual(" ".join(box["texts"]), "Save button configuration?")
        self.assertEqual(sorted(box["buttons"]), ["Cancel", "No", "Yes"])
        return box

    def answer(self, box, label):
        self.app.click_answer(box, label)

    def test_tray_exit_asks_and_each_answer_does_what_it_says(self):
        self.unsaved_edit()
        self.tray_exit()
        self.answer(self.question(), "Cancel")  # the program goes on, the edit still unsaved
        wait_for(lambda: not self.app.dialogs(), what="the question to close")
        self.assertIsNone(self.app.proc.poll())
        self.assertEqual(self.scheme(), ORIGINAL)
        self.tray_exit()
        self.answer(self.question(), "No")  # ends without saving
        self.app.proc.wait(timeout=20)
        self.assertEqual(self.scheme(), ORIGINAL)

        self.unsaved_edit()
        self.tray_exit()
        self.answer(self.question(), "Yes")  # saved, then ends
        self.app.proc.wait(timeout=20)
        self.assertEqual(self.scheme(), WITH_EDIT)

    def test_the_end_of_the_session_asks_too(self):
        self.unsaved_edit()
        wm_queryendsession = 0x11
        self.prefix.drive("post", self.app.bar(visible=False).hwnd, wm_queryendsession, 0, 0)
        self.answer(self.question(), "Yes")
        wait_for(lambda: self.scheme() == WITH_EDIT, what="the scheme saved: %r" % self.scheme())
        self.assertIsNone(self.app.proc.poll())


if __name__ == "__main__":
    unittest.main()
