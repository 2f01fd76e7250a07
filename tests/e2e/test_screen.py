"""The screen server of a student PC: the real cluma-screen.exe serves the Wine desktop, and a
viewer (a native libvncclient program) on the console's address gets a window's colours from it
and clicks that window's button through it; a viewer on any other address is refused, and the
refusal is logged. The launcher service starts the server in the user's session and starts it
again when it ends."""

import os
import subprocess
import threading
import unittest

from harness import WINE, E2ETestCase, require_loopback, wait_until, wine_env

PORT = 5931
PC_ADDRESS = "127.0.0.9"
CONSOLE_ADDRESS = "127.0.0.1"
STRANGER_ADDRESS = "127.0.0.7"
QUARTERS = [(220, 20, 60), (30, 144, 255), (50, 205, 50), (255, 215, 0)]


class Output:
    """A process's standard output, gathered line by line by a thread of its own; each wait
    takes the lines up to the one it waited for."""

    def __init__(self, process):
        self.process = process
        self.lines = []
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for raw in self.process.stdout:
            self.lines.append(raw.decode("latin-1").rstrip("\r\n"))

    def wait_for(self, prefix, timeout, what):
        def seen():
            for index, line in enumerate(list(self.lines)):
                if line.startswith(prefix):
                    del self.lines[:index + 1]
                    return line
            if self.process.poll() is not None and not self.reader.is_alive():
                raise AssertionError(f"{what}: the program ended ({self.lines})")
            return None
        return wait_until(seen, timeout, what, interval=0.05)


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    magic, width, height, depth, pixels = data.split(maxsplit=4)
    assert magic == b"P6" and depth == b"255", "not the viewer's frame"
    return int(width), pixels


class ScreenServerTest(E2ETestCase):
    def setUp(self):
        super().setUp()
        for address in (PC_ADDRESS, CONSOLE_ADDRESS, STRANGER_ADDRESS):
            require_loopback(address, "the screen test's address")
        # The agent remembers the console that searched this PC last.
        state_folder = self.prefix_path("c:\\ProgramData\\ClumaDeck")
        os.makedirs(state_folder, exist_ok=True)
        self.state_file = os.path.join(state_folder, "agent-state.txt")
        with open(self.state_file, "wb") as f:
            f.write(f"console {CONSOLE_ADDRESS}\nlocal {PC_ADDRESS}\n".encode())
        self.addCleanup(os.remove, self.state_file)
        self.processes = []
        self.addCleanup(self.stop_processes)

    def start(self, command, windows=True):
        process = subprocess.Popen([WINE, *command] if windows else command,
                                   stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL, env=wine_env())
        self.processes.append(process)
        return Output(process)

    def stop_processes(self):
        for process in self.processes:
            if process.poll() is None:
                process.kill()
            process.wait()
            for pipe in (process.stdin, process.stdout):
                pipe.close()

    def viewer(self, source):
        program = os.path.join(self.native_build, "tests", "screen", "cluma-screen-viewer")
        return self.start([program, source, PC_ADDRESS, str(PORT), "fernway_417"], windows=False)

    def ask(self, viewer, command):
        viewer.process.stdin.write((command + "\n").encode())
        viewer.process.stdin.flush()
        return viewer.wait_for("", 10, f"the viewer's answer to {command!r}")

    def test_the_console_watches_and_clicks_and_a_stranger_is_refused(self):
        window = self.start([os.path.join(self.win_build, "tests", "fakes", "pattern-window.exe")])
        left, top, right, bottom = map(int, window.wait_for("ready", 30, "the pattern").split()[1:])
        button = [int(v) for v in window.wait_for("button", 5, "the button").split()[1:]]
        server = self.start([os.path.join(self.win_build, "bin", "cluma-screen.exe"),
                             "--port", str(PORT)])
        serving = server.wait_for("cluma-screen: serving the screen as ", 30, "the server")
        name = serving.split('"')[1]

        console = self.viewer(CONSOLE_ADDRESS)
        connected = console.wait_for("connected", 30, "the console's viewer").split()
        self.assertEqual(" ".join(connected[1:-2]), name)
        server.wait_for(f"cluma-screen: the console {CONSOLE_ADDRESS} is watching this screen", 10,
                        "the server's line for the console")
        frame = os.path.join(self.folder, "frame.ppm")
        half = (right - left) // 4
        centres = [(left + half, top + half), (right - half, top + half),
                   (left + half, bottom - half), (right - half, bottom - half)]

        def pattern_arrived():
            self.assertEqual(self.ask(console, f"frame {frame}"), "ok")
            width, pixels = read_ppm(frame)
            seen = [tuple(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x, y in centres]
            return seen == QUARTERS
        wait_until(pattern_arrived, 20, "the pattern in the console's viewer", interval=0.2)

        self.assertEqual(self.ask(console, f"click {(button[0] + button[2]) // 2} "
                                           f"{(button[1] + button[3]) // 2}"), "ok")
        window.wait_for("pressed", 15, "the click through the viewer to press the button")

        stranger = self.viewer(STRANGER_ADDRESS)
        self.assertEqual(stranger.wait_for("", 30, "the stranger's viewer"), "refused")
        server.wait_for(f"cluma-screen: refused a connection from {STRANGER_ADDRESS}: this PC "
                        f"lets only its console {CONSOLE_ADDRESS} watch", 10, "the refusal's line")


    def test_a_presenter_with_another_room_password_is_told_so_in_the_viewer(self):
        server = self.start([os.path.join(self.win_build, "bin", "cluma-screen.exe")])
        server.wait_for("cluma-screen: serving the screen as ", 30, "the server")
        # Read by the server at its start: this PC serves with the fixed password, while the
        # presenter's PC (the same prefix here) was installed with a room password.
        room_key = ["HKLM\\SOFTWARE\\ClumaDeck", "/v", "RoomPassword"]
        subprocess.run([WINE, "reg", "add", *room_key, "/d", "Room4-secret", "/f"],
                       env=wine_env(), check=True, capture_output=True)
        self.addCleanup(subprocess.run, [WINE, "reg", "delete", *room_key, "/f"],
                        env=wine_env(), capture_output=True)
        viewer = self.start([os.path.join(self.win_build, "bin", "korvidVi.exe"), PC_ADDRESS,
                             "/password", "fernway_417", "/encoding", "ultra2"])
        viewer.wait_for(f"korvidVi: wrong password for {PC_ADDRESS}:5900", 30, "the refusal")
        window = self.inspector.find_window(cls="VNCMDI_Window")
        texts = [child.text for child in self.inspector.children(window.hwnd)]
        self.assertTrue(any(f"{PC_ADDRESS} did not accept the password" in text
                            for text in texts), texts)

    def test_the_launcher_keeps_a_server_running_in_the_session(self):
        launcher = os.path.join(self.win_build, "bin", "cluma-screen-launcher.exe")
        log = self.prefix_path("c:\\ProgramData\\ClumaDeck\\screen-log.txt")
        if os.path.exists(log):
            os.remove(log)

        def run(*command):
            done = subprocess.run([WINE, *command], env=wine_env(), capture_output=True,
                                  text=True, errors="replace", timeout=60)
            self.assertEqual(done.returncode, 0, done.stdout + done.stderr)

        def servers_started():
            with open(log, "rb") as f:
                return f.read().count(b"cluma-screen: serving the screen as ")

        run(launcher, "service", "install")
        self.addCleanup(run, launcher, "service", "uninstall")
        run("net", "start", "ClumaDeckScreen")
        wait_until(lambda: os.path.exists(log) and servers_started() == 1, 30,
                   "the launcher to start the screen server")
        [server] = self.inspector.processes("cluma-screen.exe")
        self.inspector.ask(f"kill {server}")
        wait_until(lambda: servers_started() == 2, 15, "the launcher to start the server again")
        run("net", "stop", "ClumaDeckScreen")
        wait_until(lambda: not self.inspector.processes("cluma-screen.exe"), 10,
                   "the server to end with the service")


if __name__ == "__main__":
    unittest.main()
