"""An over-long file name typed into the "Load" dialog (the explorer-style one, titled "Load
Skin") is refused with a message while the dialog stays open and the program goes on."""
import time
import unittest

from ktharness import pointer_click, wait_for, xdo, xkey
from test_config import ConfigWindow, OneSchemeTestCase


class LongNameTest(OneSchemeTestCase):
    def test_a_400_character_name_in_the_load_dialog_is_refused_and_the_program_goes_on(self):
        self.app.start()
        self.app.bar_aside()
        cfg = ConfigWindow(self.app)
        config = cfg.window
        pointer_click(type("Spot", (), dict(left=config.left + 40, right=config.left + 60,
                                            top=config.bottom - 20, bottom=config.bottom - 12))())
        time.sleep(0.3)
        xkey("alt+o")
        wait_for(lambda: self.app.find(cls="#32768"), what="the Options menu")
        xdo("key", "k")
        time.sleep(0.2)
        for _ in range(4):
            xdo("key", "Down")
        xdo("key", "Return")
        dialog = self.app.wait_dialog()
        self.assertEqual(dialog["title"], "Load Skin")
        self.assertIn("SHELLDLL_DefView", {c.cls for c in self.app.children(dialog["hwnd"])})  # explorer-style
        # The dialog opens with the keyboard in its file-name box.
        edits = {c.hwnd for c in self.app.children(dialog["hwnd"]) if c.cls.lower() == "edit"}
        name_box = int(wait_for(lambda: int(self.prefix.drive("focus", dialog["hwnd"]).strip()) in edits and
                                self.prefix.drive("focus", dialog["hwnd"]).strip(), what="the name box focused"))
        xdo("type", "--delay", "5", "k" * 396 + ".skn")
        wait_for(lambda: len(self.prefix.drive("text", name_box).rstrip("\r\n")) >= 259, 30,
                 what="the typed name")
        xkey("Return")
        refusal = wait_for(lambda: next((d for d in self.app.dialogs() if d["hwnd"] != dialog["hwnd"]), None),
                           what="the refusal")
        self.assertIn("too long", " ".join(refusal["texts"]))
        self.app.click_answer(refusal, "OK")
        self.assertIsNone(self.app.proc.poll())
        # The dialog is still open and cancels as usual; the program answers afterwards.
        self.assertIn(dialog["hwnd"], [d["hwnd"] for d in self.app.dialogs()])
        load = self.app.control(dialog["hwnd"])
        self.app.to_front(load, (load.left + load.right) // 2, load.top + 10)  # its caption
        xkey("Escape")
        wait_for(lambda: not self.app.dialogs(), what="the dialog to close")
        self.assertEqual(cfg.drive("send", config.hwnd, 0x0E, 0, 0).strip(), str(len("Ketravo Configuration")))
        self.assertIsNone(self.app.proc.poll())



if __name__ == "__main__":
    unittest.main()
