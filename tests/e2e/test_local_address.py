"""The set ip dialog: the presenter changes the console's address; the next scan follows it."""

import os
import unittest

from harness import E2ETestCase, wait_until, centre, xdotool

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
        self.click_on(button.hwnd, centre(button.rect), "the SetIP button")
        dialog = wait_until(lambda: self.inspector.find_window(cls="#32770", title="set ip"), 20,
                            "the set ip dialog")
        return dialog, self.inspector.child(dialog.hwnd, ADDRESS_CONTROL)

    def type_address(self, control, text):
        """Real keys into each of the control's four fields in turn, each selected whole
        first: how the control moves on from a field as it fills depends on what the next
        field held, so every field is clicked into rather than reached by typing on."""
        fields = sorted((c for c in self.inspector.children(control.hwnd)
                         if c.cls.lower() == "edit"), key=lambda c: c.rect[0])
        self.assertEqual(len(fields), 4)
        for field, number in zip(fields, text.split(".")):
            self.click_on(field.hwnd, (field.rect[0] + 6, centre(field.rect)[1]),
                          "a field of the address control")
            xdotool("key", "End", "shift+Home")
            xdotool("type", "--delay", 60, number)
        wait_until(lambda: self.inspector.ip_address(control.hwnd) == text, 10,
                   f"{text} typed into the control")

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
        self.type_address(control, "127.0.1.1")
        ok = self.button(dialog, 1)
        self.click_on(ok.hwnd, centre(ok.rect), "the dialog's OK")
        box, text, buttons = wait_until(lambda: self.inspector.message_box("ClumaDeck"), 20,
                                        "the confirmation")
        self.assertEqual(text, SAVED)
        self.click_on(buttons["OK"].hwnd, centre(buttons["OK"].rect), "the confirmation's OK")
        wait_until(lambda: self.inspector.find_window(cls="#32770", title="set ip") is None, 10,
                   "the dialog to close")
        self.assertEqual(self.address_file(), b"127.0.1.1 ")
        wait_until(lambda: self.names() == ["New room PC"], RESCAN_WAIT,
                   "the next rescan to list the new subnet's node without a restart")

    def take_activation_away_and_back(self, dialog):
        """Another program's window takes the activation, then a click gives it back. Each
        click waits until its window is on top where it lands: the other program's window
        covers the dialog's buttons until the dialog is in front again."""
        self.app.start_standin("127.0.0.99", window_class="OtherProgram")
        other = wait_until(lambda: self.inspector.find_window(cls="OtherProgram"), 20,
                           "another program's window")
        self.bring_forward_by_click(other.hwnd, (other.rect[2] - 40, other.rect[3] - 40),
                                    "the other program's window")
        caption = (centre(dialog.rect)[0], dialog.rect[1] + 10)
        self.bring_forward_by_click(dialog.hwnd, caption, "the set ip dialog")

    def test_cancel_keeps_the_file_and_activation_shows_the_file_again(self):
        self.open_console("127.0.40.40 ")
        self.cancel_keeps_the_file_and_activation_shows_the_file_again()

    def test_the_same_with_fourteen_nameless_nodes_in_the_list(self):
        # A room whose machines answer without a name: icons without text down the list.
        for host in range(1, 15):
            self.start_agent(f"127.0.40.{host}", "")
        self.open_console("127.0.40.40 ")
        wait_until(lambda: len(self.inspector.list_items(self.node_list.hwnd)) == 14, 30,
                   "fourteen nameless nodes in the list")
        self.cancel_keeps_the_file_and_activation_shows_the_file_again()

    def cancel_keeps_the_file_and_activation_shows_the_file_again(self):
        dialog, control = self.open_dialog()
        self.assertEqual(self.inspector.ip_address(control.hwnd), "127.0.40.40")
        self.type_address(control, "127.9.9.9")
        self.take_activation_away_and_back(dialog)
        wait_until(lambda: self.inspector.ip_address(control.hwnd) == "127.0.40.40", 10,
                   "the file's address after the activation changed")
        cancel = self.button(dialog, 2)
        self.click_on(cancel.hwnd, centre(cancel.rect), "the dialog's Cancel")
        wait_until(lambda: self.inspector.find_window(cls="#32770", title="set ip") is None, 10,
                   "the dialog to close")
        self.assertEqual(self.address_file(), b"127.0.40.40 ")

    def test_a_missing_file_is_reported_once(self):
        self.open_console(local_address=None)
        button = self.inspector.child(self.console.hwnd, SETIP_BUTTON)
        self.click_on(button.hwnd, centre(button.rect), "the SetIP button")
        box, text, buttons = wait_until(lambda: self.inspector.message_box("ClumaDeck"), 20,
                                        "the report")
        self.assertIn("localIp.txt", text)
        self.click_on(buttons["OK"].hwnd, centre(buttons["OK"].rect), "the report's OK")
        dialog = wait_until(lambda: self.inspector.find_window(cls="#32770", title="set ip"), 20,
                            "the set ip dialog")
        control = self.inspector.child(dialog.hwnd, ADDRESS_CONTROL)
        self.take_activation_away_and_back(dialog)
        # A report would be shown while the dialog handles its activation; the dialog's
        # thread answers a sent message only once it waits for messages again, in that
        # report's own loop or after the handler: then the report is up, or never comes.
        self.inspector.send(dialog.hwnd, 0)  # WM_NULL
        self.assertIsNone(self.inspector.message_box("ClumaDeck"),
                          "no second report when the activation comes back")
        self.assertEqual(self.inspector.ip_address(control.hwnd), "0.0.0.0")
        self.assertIsNone(self.process.poll())


if __name__ == "__main__":
    unittest.main()
