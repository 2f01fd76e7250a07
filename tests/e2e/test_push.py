"""A node asks the presenter to look at its screen; the console's start leaves a day log."""

import datetime
import os
import subprocess
import unittest

from harness import E2ETestCase, wait_until, centre, screenshot, require_loopback

CONSOLE_CLASS = "CLumaDeckDlg"
PARAMETERS = " /password fernway_417 /encoding ultra2"
QUESTION_MARK = "\xa3\xbf"  # the full-width question mark, as its GBK bytes


class PushTest(E2ETestCase):
    def ask(self, reason, console="127.0.0.1"):
        require_loopback(console, "a push request to")
        agent = os.path.join(self.native_build, "agent", "cluma-agent")
        # A state file of the test's own that holds nothing: the request goes from the
        # console's own loopback address, never from what the machine's agent remembers.
        state = os.path.join(self.folder, "no-console-remembered.txt")
        return subprocess.run([agent, "ask", "--console", console, "--state", state, reason],
                              capture_output=True, text=True, timeout=30)

    def open_console(self):
        self.app = self.make_app()
        self.process = self.app.start()
        wait_until(lambda: self.inspector.find_window(cls=CONSOLE_CLASS), 40, "the console")

    def test_a_request_is_asked_and_yes_starts_the_viewer(self):
        self.start_agent(1, "PC-01")  # the address requests come from
        self.open_console()
        answer = self.ask("please look")
        self.assertEqual(answer.returncode, 0, answer.stderr)
        self.assertIn("delivered", answer.stdout)
        box, text, buttons = wait_until(lambda: self.inspector.message_box("prompt"), 20,
                                        "the prompt")
        self.assertEqual(text, "PC-01 request push screen ,he/she say please look,agree " +
                         QUESTION_MARK)
        self.assertEqual(sorted(buttons), ["No", "Yes"])
        screenshot(self.artifact("push-request.png"))
        self.guide_image("push-prompt.png", box.rect)
        self.click_on(buttons["Yes"].hwnd, centre(buttons["Yes"].rect), "the prompt's Yes",
                      foreground=False)
        wait_until(lambda: self.app.launches(), 20, "the viewer to start")
        self.assertEqual(self.app.launches()[0][1], "127.0.0.1" + PARAMETERS)

        # Standard output is in text mode: each line's newline reaches the file as CR LF.
        output = self.app.stdout().replace(b"\r\n", b"\n")
        self.assertTrue(output.startswith(
            b"\nsocket() successful.\nbind() successful.\nlisten() successful."), output)
        self.assertIn(b"\nClient connected from: 127.0.0.1", output)

        log = self.prefix_path("c:\\log\\" + datetime.date.today().isoformat() + ".txt")
        with open(log, "rb") as f:
            self.assertIn(b"\r\nWSAStartup() successful.\r\n", f.read())

    def test_no_starts_nothing_and_an_unknown_peer_is_asked_without_a_name(self):
        self.open_console()  # no agent at 127.0.0.1: the peer is not in the registry
        self.ask("help")
        box, text, buttons = wait_until(lambda: self.inspector.message_box("prompt"), 20,
                                        "the prompt")
        self.assertEqual(text, " request push screen ,he/she say help,agree " + QUESTION_MARK)
        self.click_on(buttons["No"].hwnd, centre(buttons["No"].rect), "the prompt's No",
                      foreground=False)
        # Requests are served one at a time, each to its end: once the next request is asked,
        # a viewer started for the first would be a process already. The console keeps one
        # request per address until the presenter has answered it: the next is sent after that.
        wait_until(lambda: self.inspector.message_box("prompt") is None, 20,
                   "the prompt to close")
        self.ask("next")
        box, text, buttons = wait_until(
            lambda: (lambda found: found if found and "say next," in found[1] else None)(
                self.inspector.message_box("prompt")), 20, "the next request's prompt")
        self.assertEqual(self.inspector.processes("korvidVi.exe"), [])
        self.assertEqual(self.app.launches(), [])
        self.click_on(buttons["No"].hwnd, centre(buttons["No"].rect), "the next prompt's No",
                      foreground=False)


if __name__ == "__main__":
    unittest.main()
