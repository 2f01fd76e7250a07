"""A room PC as a school sets it up: the Windows agent installed as the ClumaDeckAgent service
and started through Wine's service manager answers the console's search; the student asks
with ClumaAsk.exe, which needs no options since the service remembered the console; the
presenter says Yes and the viewer opens on that PC; the service stops on request and is
removed."""

import os
import shutil
import socket
import subprocess
import unittest

from harness import (PROBE_PORT, WINE, E2ETestCase, centre, click, require_loopback,
                     wait_until, wine_env, xdotool)

SERVICE = "ClumaDeckAgent"
PC_NAME = "Room 4 PC 9"
PC_ADDRESS = "127.0.0.9"
CONSOLE_ADDRESS = "127.0.0.1"
REASON = "the chart will not draw"
CONSOLE_CLASS = "CLumaDeckDlg"
NODE_LIST = 1003
ASK_TITLE = "ClumaAsk"
REASON_EDIT = 1002
STATUS = 1003
SEND = 1  # IDOK
WS_DISABLED = 0x08000000
PARAMETERS = " /password fernway_417 /encoding ultra2"
QUESTION_MARK = "\xa3\xbf"  # the full-width question mark, as its GBK bytes
# The service stops within a second of the request; the rest is for a loaded machine.
STOP_WITHIN_S = 5


def answers(address, port):
    """Whether something accepts a connection there (the agent answers and closes)."""
    try:
        with socket.create_connection((address, port), timeout=5):
            return True
    except ConnectionRefusedError:
        return False


class ServiceFlowTest(E2ETestCase):
    def setUp(self):
        super().setUp()
        require_loopback(PC_ADDRESS, "the service's address")
        self.agent_exe = os.path.join(self.win_build, "agent", "cluma-agent.exe")
        self.state_folder = self.prefix_path("c:\\ProgramData\\ClumaDeck")
        self.state_file = os.path.join(self.state_folder, "agent-state.txt")
        self.log_file = os.path.join(self.state_folder, "agent-log.txt")

    def wine(self, *arguments):
        return subprocess.run([WINE, *arguments], env=wine_env(), capture_output=True,
                              text=True, errors="replace", timeout=60)

    def agent(self, *arguments):
        return self.wine(self.agent_exe, *arguments)

    def service_status(self):
        """What sc reports: {"STATE": "4  RUNNING", "SERVICE_EXIT_CODE": "0  (0x0)", ...}."""
        fields = {}
        for line in self.wine("sc", "query", SERVICE).stdout.splitlines():
            name, _, value = line.partition(":")
            fields[name.strip()] = value.strip()
        return fields

    def service_state(self):
        """The state sc reports (RUNNING, STOPPED, ...); None when the service is not there."""
        state = self.service_status().get("STATE")
        return state.split()[-1] if state else None

    def service_log(self):
        """What the service logged since this test began."""
        if not os.path.exists(self.log_file):
            return ""
        with open(self.log_file, "rb") as f:
            f.seek(self.log_start)
            return f.read().decode("latin-1")

    def remembered(self):
        """The service's state file: {"console": ..., "local": ...}, or {} while none."""
        if not os.path.exists(self.state_file):
            return {}
        with open(self.state_file, "rb") as f:
            lines = f.read().decode("latin-1").splitlines()
        return dict(line.split(" ", 1) for line in lines if " " in line)

    def remove_leftover_service(self):
        """A service that a killed run left installed would start with the prefix's session and
        hold the address this test serves on: it goes first."""
        self.agent("service", "remove")
        self.assertIsNone(self.service_state(), "a leftover service could not be removed")

    def install_service(self):
        self.remove_leftover_service()
        # An installed service starts with every Wine session of the prefix: it never outlives
        # the test, whatever happens.
        self.addCleanup(self.agent, "service", "remove")
        # What an earlier run remembered must not stand in for this console's search.
        if os.path.exists(self.state_file):
            os.remove(self.state_file)
        self.log_start = os.path.getsize(self.log_file) if os.path.exists(self.log_file) else 0

        installed = self.agent("service", "install", "--name", PC_NAME, "--bind", PC_ADDRESS)
        self.assertEqual(installed.returncode, 0, installed.stderr)
        self.assertIn(f"installed the service {SERVICE}", installed.stdout)
        self.assertEqual(self.service_state(), "STOPPED")
        # sc returns before a slow start is over, and may call it failed though it comes up:
        # the state and the log say what became of it.
        self.wine("sc", "start", SERVICE)

    def install_and_start_service(self):
        self.install_service()
        wait_until(lambda: self.service_state() == "RUNNING", 30,
                   f"the service to run: {self.service_log()!r}")
        self.assertIn(f'answering the console on {PC_ADDRESS}, port {PROBE_PORT} as "{PC_NAME}"',
                      self.service_log())

    def open_console_listing_the_pc(self):
        self.app = self.make_app(CONSOLE_ADDRESS + " ")
        self.app.start()
        console = wait_until(lambda: self.inspector.find_window(cls=CONSOLE_CLASS), 40,
                             "the console")
        node_list = self.inspector.child(console.hwnd, NODE_LIST)
        wait_until(lambda: [i.text for i in self.inspector.list_items(node_list.hwnd)]
                   == [PC_NAME], 30, f"{PC_NAME} alone in the node list")
        wait_until(lambda: self.remembered() == {"console": CONSOLE_ADDRESS, "local": PC_ADDRESS},
                   20, f"the service to remember the console: {self.service_log()!r}")

    def ask_with_the_students_window(self):
        exe = os.path.join(self.win_build, "bin", "ClumaAsk.exe")
        process = subprocess.Popen([WINE, exe], cwd=self.folder, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, env=wine_env())
        self.addCleanup(lambda: process.poll() is None and (process.kill(), process.wait()))
        window = wait_until(lambda: self.inspector.find_window(cls="#32770", title=ASK_TITLE), 30,
                            "the student's window")
        wait_until(lambda: self.inspector.foreground()[0] == window.hwnd, 20,
                   "the student's window to come to the front")
        send = self.inspector.child(window.hwnd, SEND)
        wait_until(lambda: not int(self.inspector.ask(f"style {send.hwnd}")[0].split("\t")[0], 16)
                   & WS_DISABLED, 20, "Send to be enabled")
        # Without a window manager the keyboard goes to the window under the pointer.
        xdotool("mousemove", *centre(self.inspector.child(window.hwnd, REASON_EDIT).rect))
        xdotool("type", "--delay", 40, REASON)
        wait_until(lambda: self.inspector.child(window.hwnd, REASON_EDIT).text == REASON, 20,
                   "the reason in the edit")
        xdotool("key", "Return")
        return window

    def test_the_service_answers_the_console_and_the_student_asks_through_it(self):
        self.install_and_start_service()
        self.open_console_listing_the_pc()
        window = self.ask_with_the_students_window()

        box, text, buttons = wait_until(lambda: self.inspector.message_box("prompt"), 20,
                                        "the console's prompt")
        self.assertEqual(text, f"{PC_NAME} request push screen ,he/she say {REASON},agree "
                               + QUESTION_MARK)
        status = wait_until(lambda: (t := self.inspector.child(window.hwnd, STATUS).text)
                            and "delivered" in t and t, 20, "the window to say it was delivered")
        self.assertIn(CONSOLE_ADDRESS, status)
        click(*centre(buttons["Yes"].rect))
        wait_until(lambda: self.app.launches(), 20, "the viewer to start")
        self.assertEqual(self.app.launches()[0][1], PC_ADDRESS + PARAMETERS)

        stopped = self.wine("sc", "stop", SERVICE)
        self.assertEqual(stopped.returncode, 0, stopped.stdout + stopped.stderr)
        wait_until(lambda: self.service_state() == "STOPPED", STOP_WITHIN_S,
                   f"the service to stop: {self.service_log()!r}")
        self.assertIn("cluma-agent: stopped", self.service_log())
        self.assertFalse(answers(PC_ADDRESS, PROBE_PORT), "nothing answers once it stopped")

        removed = self.agent("service", "remove")
        self.assertEqual(removed.returncode, 0, removed.stderr)
        self.assertIn(f"removed the service {SERVICE}", removed.stdout)
        self.assertIsNone(self.service_state())

    def test_a_port_in_use_fails_the_start_with_a_log_line_and_an_exit_code(self):
        with socket.socket() as taken:
            # The agent closes each probe first, so an earlier test's probes leave the port in
            # TIME_WAIT for a minute: that must not stop this bind. The agent's own bind still
            # fails while this socket listens.
            taken.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            taken.bind((PC_ADDRESS, PROBE_PORT))
            taken.listen()
            self.install_service()
            wait_until(lambda: self.service_state() == "STOPPED" and "cannot answer" in
                       self.service_log(), 30, "the start to fail")
        self.assertIn(f"cluma-agent: cannot answer on {PC_ADDRESS}, port {PROBE_PORT}: the port "
                      "is already in use (is another cluma-agent running?)", self.service_log())
        status = self.service_status()
        # ERROR_SERVICE_SPECIFIC_ERROR, and the agent's own code for a port it cannot take.
        self.assertEqual(status["WIN32_EXIT_CODE"].split()[0], "1066", status)
        self.assertEqual(status["SERVICE_EXIT_CODE"].split()[0], "2", status)

    def test_a_program_that_others_may_change_is_not_installed(self):
        # Wine makes a file's permissions up from its Unix mode: a folder that all may write to
        # is one that Everyone may change. The build folder's mode gives write to its owner
        # alone, as an installation under Program Files does.
        self.remove_leftover_service()
        self.addCleanup(self.agent, "service", "remove")  # should it be installed all the same
        folder = os.path.join(self.folder, "open to all")
        os.mkdir(folder)
        shutil.copy(self.agent_exe, folder)
        os.chmod(folder, 0o777)
        refused = self.wine(os.path.join(folder, "cluma-agent.exe"), "service", "install")
        self.assertEqual(refused.returncode, 1, refused.stdout)
        shown = "Z:" + folder.replace("/", "\\")
        self.assertIn(f"cluma-agent: the service was not installed, because Everyone (S-1-1-0) "
                      f"may change {shown}, and so someone who is not an administrator could "
                      "replace the program that Windows starts as a service: install the agent "
                      "under Program Files, or give its folder to administrators with these two "
                      f'commands and install again:\nicacls "{shown}" /setowner *S-1-5-32-544',
                      refused.stderr)
        self.assertIsNone(self.service_state())


if __name__ == "__main__":
    unittest.main()
