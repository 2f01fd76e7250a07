"""The student's window, ClumaAsk.exe: a reason typed and sent with Enter reaches the console
headed by the PC's name, and the window says where it went; with no console known it says so."""

import os
import subprocess
import unittest

from harness import (WINE, E2ETestCase, centre, click, require_loopback, screenshot, wait_until,
                     wine_env, xdotool)

CONSOLE_CLASS = "CLumaDeckDlg"
VIEWER_CLASS = "VNCMDI_Window"
NODE_LIST = 1003
ASK_TITLE = "ClumaAsk"
WHAT_IT_DOES = 1001
REASON_EDIT = 1002
STATUS = 1003
SEND = 1  # IDOK
CLOSE = 2  # IDCANCEL
WS_DISABLED = 0x08000000
ES_READONLY = 0x0800
PARAMETERS = " /password fernway_417 /encoding ultra2"
QUESTION_MARK = "\xa3\xbf"  # the full-width question mark, as its GBK bytes


class AskTest(E2ETestCase):
    def setUp(self):
        # Registered before the harness's clean-up, so it runs after it: a failure's screenshot
        # still shows the student's window.
        self.asks = []
        self.addCleanup(self.stop_asks)
        super().setUp()

    def stop_asks(self):
        for process in self.asks:
            if process.poll() is None:
                process.kill()
                process.wait()

    def start_ask(self, *options):
        """ClumaAsk.exe with a state file of the test's own (none is written: the options say
        where to send, or nothing is known)."""
        for name, value in zip(options[::2], options[1::2]):
            if name in ("--console", "--bind"):
                require_loopback(value, f"ClumaAsk's {name}")
        state = "Z:" + os.path.join(self.folder, "agent-state.txt").replace("/", "\\")
        exe = os.path.join(self.win_build, "bin", "ClumaAsk.exe")
        process = subprocess.Popen([WINE, exe, "--state", state, *options], cwd=self.folder,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   env=wine_env())
        self.asks.append(process)
        window = wait_until(lambda: self.inspector.find_window(cls="#32770", title=ASK_TITLE), 30,
                            "the student's window")
        self.wait_ready(window)
        return process, window

    def style(self, hwnd):
        return int(self.inspector.ask(f"style {hwnd}")[0].split("\t")[0], 16)

    def text(self, hwnd, ident):
        return self.inspector.child(hwnd, ident).text

    def wait_status(self, window, words, what):
        """The status once it holds words; a time-out names the status as it was."""
        seen = []

        def holds():
            seen[:] = [self.text(window.hwnd, STATUS)]
            return words in seen[0] and seen[0]

        try:
            return wait_until(holds, 20, what)
        except AssertionError as error:
            raise AssertionError(f"{error}; the window said {seen!r}") from None

    def wait_ready(self, window):
        """The window in front and Send enabled: the keyboard reaches the reason."""
        send = self.inspector.child(window.hwnd, SEND)
        wait_until(lambda: self.inspector.foreground()[0] == window.hwnd, 20,
                   "the student's window to come to the front")
        wait_until(lambda: not self.style(send.hwnd) & WS_DISABLED, 20, "Send to be enabled")

    def type_reason(self, window, reason):
        # Without a window manager the keyboard goes to the window under the pointer.
        edit = self.inspector.child(window.hwnd, REASON_EDIT)
        xdotool("mousemove", *centre(edit.rect))
        xdotool("type", "--delay", 40, reason)
        wait_until(lambda: self.text(window.hwnd, REASON_EDIT) == reason, 20,
                   f"the reason {reason!r} in the edit")

    def open_console_listing(self, name):
        self.app = self.make_app()
        self.app.start()
        console = wait_until(lambda: self.inspector.find_window(cls=CONSOLE_CLASS), 40,
                             "the console")
        node_list = self.inspector.child(console.hwnd, NODE_LIST)
        wait_until(lambda: [i.text for i in self.inspector.list_items(node_list.hwnd)] == [name],
                   30, f"{name} in the node list")

    def test_a_reason_sent_with_enter_reaches_the_console_under_the_pcs_name(self):
        self.start_agent(5, "PC-05")
        self.open_console_listing("PC-05")
        _, window = self.start_ask("--console", "127.0.0.1", "--bind", "127.0.0.5")
        self.assertEqual(self.text(window.hwnd, WHAT_IT_DOES),
                         "Ask the presenter to look at my screen")
        self.assertEqual(self.text(window.hwnd, CLOSE), "Cancel")

        self.type_reason(window, "my code will not compile")
        self.guide_image("ask-dialog.png", window.rect)
        xdotool("key", "Return")

        box, text, buttons = wait_until(lambda: self.inspector.message_box("prompt"), 20,
                                        "the console's prompt")
        self.assertEqual(text, "PC-05 request push screen ,he/she say my code will not compile,"
                               "agree " + QUESTION_MARK)
        status = self.wait_status(window, "delivered", "the window to say the request was delivered")
        self.assertIn("127.0.0.1", status)
        self.assertTrue(self.style(self.inspector.child(window.hwnd, SEND).hwnd) & WS_DISABLED,
                        "one request: Send stays off once it is delivered")
        self.assertTrue(self.style(self.inspector.child(window.hwnd, REASON_EDIT).hwnd)
                        & ES_READONLY)
        self.assertEqual(self.text(window.hwnd, CLOSE), "Close")

        # The prompt comes up beside the student's window, not always in front of it.
        self.click_on(box.hwnd, centre(buttons["Yes"].rect), "the prompt's Yes",
                      foreground=False)
        wait_until(lambda: self.app.launches(), 20, "the viewer to start")
        self.assertEqual(self.app.launches()[0][1], "127.0.0.5" + PARAMETERS)

        # The window as the student sees it now, in front of whatever the viewer opened.
        viewer = wait_until(lambda: self.inspector.find_window(cls=VIEWER_CLASS), 20,
                            "the viewer's window")
        self.inspector.close_window(viewer.hwnd)
        wait_until(lambda: self.inspector.find_window(cls=VIEWER_CLASS) is None, 20,
                   "the viewer's window to close")
        self.bring_forward_by_click(window.hwnd,
                                    centre(self.inspector.child(window.hwnd, STATUS).rect),
                                    "the student's window")
        self.guide_image("ask-sent.png", window.rect)

    def test_with_no_console_known_the_window_says_so_and_escape_closes_it(self):
        process, window = self.start_ask()
        self.type_reason(window, "hello")
        xdotool("key", "Return")
        status = self.wait_status(window, "NOT sent", "the window to say nothing was sent")
        self.assertIn("no presenter's console has searched this computer yet", status)
        screenshot(self.artifact("ask-no-console.png"))
        # Nothing went out, so Send can be tried again once a console has searched the room.
        self.wait_ready(window)
        self.assertEqual(self.text(window.hwnd, REASON_EDIT), "hello")
        xdotool("key", "Escape")
        self.assertEqual(process.wait(timeout=20), 0)
        self.assertIsNone(self.inspector.find_window(cls="#32770", title=ASK_TITLE))


if __name__ == "__main__":
    unittest.main()
