"""Double click to the first whole frame, under Wine on loopback: the real console lists a real
agent (127.0.0.7, "PC-07"), cluma-screen.exe serves the display, and a double click on the
listed PC starts the real viewer. The time runs from the double click's second click until the
viewer's window shows the served screen: a square that stays on top at the screen's corner is
looked for where the viewer's fitted picture puts it, polled on the X screen. The square takes
its other colour before each run, while nobody watches, so that a picture the server took
before cannot pass for the screen as it is now.
The same is measured for the viewer started directly, as the console starts it.

    double_click_bench.py RUNS
Runs inside scripts/bench's Wine session (DISPLAY, WINEPREFIX, CLUMA_WIN_BUILD,
CLUMA_NATIVE_BUILD), in its loopback-only network.
"""

import ctypes
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from harness import WINE, Agent, App, Inspector, double_click, wait_until, wine_env  # noqa: E402
from test_viewer import fitted  # noqa: E402

CONSOLE_CLASS = "CLumaDeckDlg"
VIEWER_CLASS = "VNCMDI_Window"
NODE_LIST = 1003
MARKER_COLOURS = [(255, 0, 255), (0, 255, 255)]  # repaint_window's, switched by a line on stdin
MARKER_SIZE = 24  # at the screen's top left corner, where the viewer's caption lies
SCREEN = (1280, 800)
VIEWER_ARGUMENTS = ["127.0.0.7", "/password", "fernway_417", "/encoding", "ultra2"]


class ScreenPixels:
    """Single pixels of the X screen, read straight from the X server (well under 1 ms each)."""

    def __init__(self):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XGetImage.restype = ctypes.c_void_p
        self.x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                       ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x11.XGetPixel.restype = ctypes.c_ulong
        self.x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
        self.x11.XDestroyImage.argtypes = [ctypes.c_void_p]
        self.display = self.x11.XOpenDisplay(None)
        if not self.display:
            raise RuntimeError("cannot open the X display")
        self.root = self.x11.XDefaultRootWindow(self.display)

    def at(self, x, y):
        image = self.x11.XGetImage(self.display, self.root, x, y, 1, 1, 0xFFFFFFFF, 2)  # ZPixmap
        value = self.x11.XGetPixel(image, 0, 0)
        self.x11.XDestroyImage(image)
        return (value >> 16) & 255, (value >> 8) & 255, value & 255


def marker_in_viewer(client):
    """Where the viewer's fitted picture of the screen shows the marker's centre (the viewer's
    own fit: the whole screen, aspect kept, centred)."""
    x, y = fitted(client, SCREEN)((MARKER_SIZE // 2, MARKER_SIZE // 2))
    if x < MARKER_SIZE and y < MARKER_SIZE:
        raise RuntimeError(f"the viewer's picture of the marker ({x}, {y}) lies under the marker")
    return x, y


class Marker:
    def __init__(self, win_build):
        self.process = subprocess.Popen(
            [WINE, os.path.join(win_build, "bench", "repaint_window.exe"), "marker", "0", "0",
             str(MARKER_SIZE)], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
            stderr=subprocess.DEVNULL, env=wine_env())
        self.process.stdout.readline()  # "area ..."
        self.colour = 0

    def switch(self, pixels):
        """Gives the marker its other colour and waits until the screen shows it."""
        self.colour = 1 - self.colour
        self.process.stdin.write(b"\n")
        self.process.stdin.flush()
        wait_until(lambda: pixels.at(MARKER_SIZE // 2, MARKER_SIZE // 2) ==
                   MARKER_COLOURS[self.colour], 10, "the marker's new colour")
        return MARKER_COLOURS[self.colour]

    def stop(self):
        self.process.kill()
        self.process.wait()
        self.process.stdin.close()
        self.process.stdout.close()


def wait_for_first_frame(inspector, pixels, since, colour):
    """Seconds from since until the viewer shows the marker, and the poll's longest step."""
    viewer = wait_until(lambda: inspector.find_window(cls=VIEWER_CLASS), 30, "the viewer window")
    longest, last = 0.0, time.monotonic()
    deadline = last + 30
    while time.monotonic() < deadline:
        # The window's place is read each time: it may still be moving or growing.
        point = marker_in_viewer(inspector.client_rect(viewer.hwnd))
        if pixels.at(*point) == colour:
            now = time.monotonic()
            return now - since, max(longest, now - last)
        now = time.monotonic()
        longest, last = max(longest, now - last), now
    raise RuntimeError("the viewer did not show the screen within 30 s")


def close_viewers(inspector):
    for pid in inspector.processes("korvidVi.exe"):
        inspector.ask(f"kill {pid}")
    wait_until(lambda: not inspector.find_window(cls=VIEWER_CLASS), 10, "the viewer to close")


def double_click_run(inspector, pixels, marker, win_build, folder):
    app = App(win_build, folder, "127.0.0.1 ", real_viewer=True)
    process = app.start()
    try:
        console = wait_until(lambda: inspector.find_window(cls=CONSOLE_CLASS), 40, "the console")
        node_list = inspector.child(console.hwnd, NODE_LIST)
        items = lambda: inspector.list_items(node_list.hwnd)  # noqa: E731
        wait_until(lambda: [i.text for i in items()] == ["PC-07"], 30, "PC-07 in the list")
        # The rescan that starts with the console rewrites the list (dropping the selection)
        # about a second later; a double click while it does is lost.
        inspector.ask(f"select {node_list.hwnd} 0")
        wait_until(lambda: [i.text for i in items()] == ["PC-07"] and
                   not any(i.selected for i in items()), 30, "the rescan's rewrite")
        left, top, right, bottom = items()[0].rect
        x, y = (left + right) // 2, (top + bottom) // 2 - 10  # on the icon
        wait_until(lambda: inspector.takes_click(node_list.hwnd, x, y, False), 10,
                   "the list to take clicks")
        colour = marker.switch(pixels)
        double_click(x, y)  # returns once the second click is sent
        result = wait_for_first_frame(inspector, pixels, time.monotonic(), colour)
        close_viewers(inspector)
        return result
    finally:
        process.kill()
        process.wait()
        app.stop()


def direct_run(inspector, pixels, marker, win_build):
    colour = marker.switch(pixels)
    since = time.monotonic()
    viewer = subprocess.Popen([WINE, os.path.join(win_build, "bin", "korvidVi.exe"),
                               *VIEWER_ARGUMENTS], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, env=wine_env())
    try:
        return wait_for_first_frame(inspector, pixels, since, colour)
    finally:
        viewer.kill()
        viewer.wait()
        close_viewers(inspector)


def main():
    runs = int(sys.argv[1])
    win_build, native_build = os.environ["CLUMA_WIN_BUILD"], os.environ["CLUMA_NATIVE_BUILD"]
    folder = tempfile.mkdtemp(prefix="cluma-double-click-")
    state_folder = os.path.join(os.environ["WINEPREFIX"], "drive_c", "ProgramData", "ClumaDeck")
    os.makedirs(state_folder, exist_ok=True)
    state_file = os.path.join(state_folder, "agent-state.txt")
    with open(state_file, "wb") as f:
        f.write(b"console 127.0.0.1\nlocal 127.0.0.7\n")
    inspector, agent, marker, server = Inspector(win_build), None, None, None
    try:
        pixels = ScreenPixels()
        marker = Marker(win_build)
        server = subprocess.Popen([WINE, os.path.join(win_build, "bin", "cluma-screen.exe")],
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=wine_env())
        server.stdout.readline()  # "cluma-screen: serving the screen as ..."
        agent = Agent(native_build, 7, "PC-07", folder)
        figures = {"double click in the console": [], "viewer started directly": []}
        for run in range(runs):
            app_folder = os.path.join(folder, f"app-{run}")
            os.makedirs(app_folder)
            figures["double click in the console"].append(
                double_click_run(inspector, pixels, marker, win_build, app_folder))
            figures["viewer started directly"].append(
                direct_run(inspector, pixels, marker, win_build))
        for what, results in figures.items():
            times = ", ".join(f"{t * 1000:.0f}" for t, _ in results)
            step = max(s for _, s in results) * 1000
            print(f"{what}: to the first whole frame {times} ms, median "
                  f"{statistics.median(t for t, _ in results) * 1000:.0f} ms (poll step at most "
                  f"{step:.0f} ms)")
    finally:
        if agent is not None:
            agent.stop()
        if server is not None:
            server.kill()
            server.wait()
            server.stdout.close()
        if marker is not None:
            marker.stop()
        inspector.stop()
        os.remove(state_file)
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
