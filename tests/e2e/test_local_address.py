"""The set ip dialog: the presenter changes the console's address; the next scan follows it."""

import os
import time
import unittest

from harness import E2ETestCase, wait_until, centre, click, xdotool

CONSOLE_CLASS = "CLumaDeckDlg"
NODE_LIST = 1003
SETIP_BUTTON = 1025
ADDRESS_CONTROL = 1024
RESCAN_WAIT = 45
SAVED = "setting successfully,you should restart to make it effective"


class LocalAddressTest(E2ETestCase):
    def open_console(self, local_address="127.0.0.1 "):
        self.app = self.make_app(local_address=local_address)
        self.process = self.app.start()
        self.console = wait_until(lambda: self.inspector.find_window(cls=CONSOLE_CLASS), 40,
                                  "the console")
        self.node_list = self.inspector.child(self.console.hwnd, NODE_LIST)

    def names(self):
        return sorted(item.text for item in self.inspector.list_items(self.node_list.hwnd))

    def open_dialog(self):
        button = self.inspector.child(self.console.hwnd, SETIP_BUTTON)
        click(*centre(button.rect))
        dialog = wait_until(lambda: self.inspector.find_window(cls="#32770", title="set ip"), 20,
                            "the set ip dialog")
        return dialog, self.inspector.child(dialog.hwnd, ADDRESS_CONTROL)

    def button(self, dialog, ident):
        # The address control's own edit fields carry ids too: look at buttons only.
        return [c for c in self.inspector.children(dialog.hwnd)
                if c.id == ident and c.cls.lower() == "button"][0]

    def address_file(self):
        with open(os.path.join(self.app.folder, "localIp.txt"), "rb") as f:
            return f.read()

    def test_typing_an_address_and_ok_moves_the_scan_to_the_new_subnet(self):
        self.start_agent("127.0.0.11", "Old room PC")
        self.start_agent("127.0.1.12", "New room PC")
        self.open_console()
        wait_until(lambda: self.names() == ["Old room PC"], 30, "the first subnet's node")

        dialog, control = self.open_dialog()
        self.assertEqual(self.inspector.ip_address(control.hwnd), "127.0.0.1")
        # Real keys into the first field: the control moves on at each dot.
        click(control.rect[0] + 15, centre(control.rect)[1])
        xdotool("key", "End", "shift+Home")  # the control selects each next field itself
        xdotool("type", "--delay", 60, "127.0.1.1")
        wait_until(lambda: self.inspector.ip_address(control.hwnd) == "127.0.1.1", 10,
                   "the typed address in the control")
        ok = self.button(dialog, 1)
        click(*centre(ok.rect))
        box, text, buttons = wait_until(lambda: self.inspector.message_box("ClumaDeck"), 20,
                                        "the confirmation")
        self.assertEqual(text, SAVED)
        click(*centre(buttons["OK"].rect))
        wait_until(lambda: self.inspector.find_window(cls="#32770", title="set ip") is None, 10,
                   "the dialog to close")
        self.assertEqual(self.address_file(), b"127.0.1.1 ")
        wait_until(lambda: self.names() == ["New room PC"], RESCAN_WAIT,
                   "the next rescan to list the new subnet's node without a restart")

    def test_cancel_keeps_the_file_and_activation_shows_the_file_again(self):
        self.open_console("127.0.40.40 ")
        dialog, control = self.open_dialog()
        self.assertEqual(self.inspector.ip_address(control.hwnd), "127.0.40.40")
        # Real keys into the last field only: the control moves its caret on by itself after
        # a full field, differently from one system to another.
        click(control.rect[2] - 15, centre(control.rect)[1])
        xdotool("key", "End", "shift+Home")
        xdotool("type", "--delay", 60, "9")
        wait_until(lambda: self.inspector.ip_address(control.hwnd) == "127.0.40.9", 10,
                   "the typed address")
        # Another program's window takes the activation and gives it back.
        self.app.start_standin("127.0.0.99", window_class="OtherProgram")
        other = wait_until(lambda: self.inspector.find_window(cls="OtherProgram"), 20,
                           "another program's window")
        click(other.rect[2] - 40, other.rect[3] - 40)
        click(*centre(dialog.rect))
        wait_until(lambda: self.inspector.ip_address(control.hwnd) == "127.0.40.40", 10,
                   "the file's address after the activation changed")
        cancel = self.button(dialog, 2)
        click(*centre(cancel.rect))
        wait_until(lambda: self.inspector.find_window(cls="#32770", title="set ip") is None, 10,
                   "the dialog to close")
        self.assertEqual(self.address_file(), b"127.0.40.40 ")

    def test_a_missing_file_is_reported_once(self):
        self.open_console(local_address=None)
        button = self.inspector.child(self.console.hwnd, SETIP_BUTTON)
        click(*centre(button.rect))
        box, text, buttons = wait_until(lambda: self.inspector.message_box("ClumaDeck"), 20,
                                        "the report")
        self.assertIn("localIp.txt", text)
        click(*centre(buttons["OK"].rect))
        dialog = wait_until(lambda: self.inspector.find_window(cls="#32770", title="set ip"), 20,
                            "the set ip dialog")
        control = self.inspector.child(dialog.hwnd, ADDRESS_CONTROL)
        self.app.start_standin("127.0.0.99", window_class="OtherProgram")
        other = wait_until(lambda: self.inspector.find_window(cls="OtherProgram"), 20,
                           "another program's window")
        click(other.rect[2] - 40, other.rect[3] - 40)
        click(*centre(dialog.rect))
        time.sleep(2)
        self.assertIsNone(self.inspector.message_box("ClumaDeck"),
                          "no second report when the activation comes back")
        self.assertEqual(self.inspector.ip_address(control.hwnd), "0.0.0.0")
        self.assertIsNone(self.process.poll())


if __name__ == "__main__":
    unittest.main()
