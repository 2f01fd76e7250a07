"""End-to-end harness: the real ClumaDeck.exe under Wine on the test run's X display.

scripts/test starts the private Xvfb display and the Wine prefix (DISPLAY, WINEPREFIX) and
CTest passes the build folders in CLUMA_WIN_BUILD and CLUMA_NATIVE_BUILD. Every process the
harness starts is stopped by its id; every wait has a bound and says what it waited for.
"""

import ipaddress
import os
import pwd
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from dataclasses import dataclass

WINE = "/usr/lib/wine/wine64"
PROBE_PORT = 12357
PUSH_PORT = 12341
# How a test run as root starts a native agent: as nobody, as the package's service user would.
UNPRIVILEGED = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"]


def env(name):
    value = os.environ.get(name)
    if not value:
        raise unittest.SkipTest(f"{name} is not set: run the end-to-end tests through scripts/test")
    return value


def require_loopback(address, what):
    """Refuses an address outside 127.0.0.0/8: no test may send anything to another machine."""
    try:
        inside = ipaddress.IPv4Address(address) in ipaddress.IPv4Network("127.0.0.0/8")
    except ValueError:
        inside = False
    if not inside:
        raise AssertionError(f"refusing {what} {address!r}: tests keep to 127.0.0.0/8")


def require_loopback_subnet(address_file):
    """Refuses a console whose address file would make it probe outside loopback. The console
    probes the first line's text up to its last dot, followed by each host number."""
    if not os.path.exists(address_file):
        return
    with open(address_file, "rb") as f:
        line = f.read().split(b"\n", 1)[0].rstrip(b"\r").decode("latin-1")
    prefix = line[:line.rfind(".")] if "." in line else ""
    if not re.fullmatch(r"127\.\d{1,3}\.\d{1,3}", prefix):
        raise AssertionError(f"refusing to start the console with {line!r} in {address_file}: "
                             "it would probe outside 127.0.0.0/8")
    require_loopback(prefix + ".1", "the console's subnet")


def wine_env():
    environment = dict(os.environ)
    environment.setdefault("WINEDEBUG", "-all")
    environment.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")
    return environment


def wait_until(condition, timeout, what, interval=0.1):
    """Polls condition until it returns a true value; fails naming what it waited for."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() >= deadline:
            raise AssertionError(f"waited {timeout} s for {what}")
        time.sleep(interval)


def unescape(text):
    """Undoes the inspector's escaping; texts come back as latin-1 strings holding the bytes."""
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            if text[i + 1] == "\\":
                out.append("\\")
                i += 2
                continue
            if text[i + 1] == "x" and i + 3 < len(text):
                out.append(chr(int(text[i + 2:i + 4], 16)))
                i += 4
                continue
        out.append(text[i])
        i += 1
    return "".join(out)


def parse_rect(text):
    return tuple(int(v) for v in text.split(","))


@dataclass
class Window:
    hwnd: int
    pid: int
    visible: bool
    cls: str
    title: str
    rect: tuple


@dataclass
class Child:
    hwnd: int
    id: int
    visible: bool
    cls: str
    text: str
    rect: tuple


@dataclass
class WindowState:
    enabled: bool
    visible: bool
    foreground: bool  # its top-level window is the foreground window
    painted: bool  # nothing of it waits to be painted


@dataclass
class ListItem:
    index: int
    selected: bool
    text: str
    rect: tuple


class Inspector:
    """One cluma-inspect.exe for the whole test, talked to over its standard input."""

    def __init__(self, win_build):
        exe = os.path.join(win_build, "tests", "e2e", "cluma-inspect.exe")
        self.process = subprocess.Popen([WINE, exe], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, env=wine_env())
        self._read_answer()  # "ready"

    def _read_answer(self):
        lines = []
        while True:
            raw = self.process.stdout.readline()
            if not raw:
                raise AssertionError("cluma-inspect ended unexpectedly")
            line = raw.decode("latin-1").rstrip("\r\n")
            if line == ".":
                return lines
            lines.append(line)

    def ask(self, command):
        self.process.stdin.write((command + "\n").encode("latin-1"))
        self.process.stdin.flush()
        return self._read_answer()

    def windows(self):
        result = []
        for line in self.ask("windows"):
            hwnd, pid, visible, cls, title, rect = line.split("\t")
            result.append(Window(int(hwnd), int(pid), visible == "1", unescape(cls),
                                 unescape(title), parse_rect(rect)))
        return result

    def find_window(self, cls=None, title=None, visible=True):
        for window in self.windows():
            if cls is not None and window.cls != cls:
                continue
            if title is not None and window.title != title:
                continue
            if visible and not window.visible:
                continue
            return window
        return None

    def children(self, hwnd):
        result = []
        for line in self.ask(f"children {hwnd}"):
            child, ident, visible, cls, text, rect = line.split("\t")
            result.append(Child(int(child), int(ident), visible == "1", unescape(cls),
                                unescape(text), parse_rect(rect)))
        return result

    def child(self, hwnd, ident):
        for c in self.children(hwnd):
            if c.id == ident:
                return c
        return None

    def list_items(self, list_hwnd):
        result = []
        for line in self.ask(f"listitems {list_hwnd}"):
            if line.startswith("error"):
                raise AssertionError(line)
            index, selected, text, rect = line.split("\t")
            result.append(ListItem(int(index), selected == "1", unescape(text), parse_rect(rect)))
        return result

    def insert_item(self, list_hwnd, index, text):
        """Inserts an item into a list view of another process."""
        self.ask(f"insertitem {list_hwnd} {index} {text}")

    def ip_address(self, hwnd):
        return self.ask(f"ipaddress {hwnd}")[0]

    def message_box(self, caption):
        """A visible message box with the caption: (window, its text, its buttons by text)."""
        box = self.find_window(cls="#32770", title=caption)
        if box is None:
            return None
        children = self.children(box.hwnd)
        texts = [c.text for c in children if c.cls.lower() == "static" and c.text]
        buttons = {c.text.replace("&", ""): c for c in children if c.cls.lower() == "button"}
        return box, "\n".join(texts), buttons

    def command(self, hwnd, ident):
        self.ask(f"command {hwnd} {ident}")

    def post(self, hwnd, message, wparam=0, lparam=0):
        self.ask(f"post {hwnd} {message} {wparam} {lparam}")

    def send(self, hwnd, message, wparam=0, lparam=0):
        return int(self.ask(f"send {hwnd} {message} {wparam} {lparam}")[0])

    def close_window(self, hwnd):
        self.ask(f"close {hwnd}")

    def move(self, hwnd, x, y, width, height):
        self.ask(f"move {hwnd} {x} {y} {width} {height}")

    def client_rect(self, hwnd):
        """The window's client area on the screen."""
        return parse_rect(self.ask(f"client {hwnd}")[0])

    def foreground(self):
        hwnd, cls, title = self.ask("foreground")[0].split("\t")
        return int(hwnd), unescape(cls), unescape(title)

    def state(self, hwnd):
        return WindowState(*(flag == "1" for flag in self.ask(f"state {hwnd}")[0].split("\t")))

    def window_at(self, x, y):
        """The window under a screen point and its top-level window."""
        hwnd, root = self.ask(f"at {x} {y}")[0].split("\t")
        return int(hwnd), int(root)

    def processes(self, program):
        """The ids of the running Windows processes of a program ("korvidVi.exe")."""
        return [int(pid) for pid in self.ask(f"processes {program}")]

    def takes_click(self, hwnd, x, y, foreground=True):
        """Whether a click at (x, y) now reaches hwnd, ready for it: enabled, shown, painted,
        on top at that point (or hwnd is the top-level window there), and in the foreground
        unless the click is what brings it there."""
        state = self.state(hwnd)
        if not (state.enabled and state.visible and state.painted):
            return False
        if foreground and not state.foreground:
            return False
        at, root = self.window_at(x, y)
        return hwnd in (at, root)

    def stop(self):
        if self.process.poll() is None:
            try:
                self.process.stdin.write(b"quit\n")
                self.process.stdin.flush()
                self.process.wait(timeout=5)
            except (OSError, subprocess.TimeoutExpired):
                self.process.kill()
                self.process.wait()
        self.process.stdin.close()
        self.process.stdout.close()


class Agent:
    """A real cluma-agent on a loopback address, logging every probe it answers: the native
    build's, or another one started by program (such as a package's cluma-agent.exe under
    Wine), which may take longer to start listening."""

    def __init__(self, native_build, host, name, logs, program=None, environment=None,
                 listen_within=10):
        self.address = f"127.0.0.{host}" if isinstance(host, int) else host
        require_loopback(self.address, "an agent on")
        self.name = name
        # a state folder of the test's own, which the agent's user may write
        self.state_folder = tempfile.mkdtemp(prefix=f"cluma-agent-{self.address}-")
        if program is None:
            program = [os.path.join(native_build, "agent", "cluma-agent")]
            if os.geteuid() == 0:  # the agent refuses to serve as root
                # a copy where nobody reaches it, wherever the build folder is
                program = [*UNPRIVILEGED, shutil.copy(program[0], self.state_folder)]
                nobody = pwd.getpwnam("nobody")
                os.chown(self.state_folder, nobody.pw_uid, nobody.pw_gid)
        self.log_path = os.path.join(logs, f"agent-{self.address}.log")
        self.log = open(self.log_path, "wb")
        self.process = subprocess.Popen(
            [*program, "serve", "--bind", self.address, "--name", name, "--verbose",
             "--state", os.path.join(self.state_folder, "state")],
            stdout=self.log, stderr=subprocess.STDOUT, env=environment)
        wait_until(lambda: b"answering" in self.read_log() or self.process.poll() is not None,
                   listen_within, f"the agent on {self.address} to listen")
        if self.process.poll() is not None:
            raise AssertionError(f"agent on {self.address} ended: {self.read_log()!r}")

    def read_log(self):
        with open(self.log_path, "rb") as log:
            return log.read()

    def probes(self):
        return self.read_log().count(b"answered a probe")

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.log.close()
        shutil.rmtree(self.state_folder, ignore_errors=True)


class App:
    """ClumaDeck.exe in a folder of its own with its images and address file: copied there from
    the build folder, or already there (win_build None), as a school's unpacked package."""

    def __init__(self, win_build, folder, local_address="127.0.0.1 ", real_viewer=False):
        self.folder = folder
        self.exe = os.path.join(folder, "ClumaDeck.exe")
        if win_build is not None:
            bin_dir = os.path.join(win_build, "bin")
            shutil.copy(os.path.join(bin_dir, "ClumaDeck.exe"), self.exe)
            # The stand-in viewer records how the console starts it; the real one watches.
            viewer_dir = bin_dir if real_viewer else os.path.join(win_build, "standin")
            extras = {"ipSet.PNG": bin_dir, "help.png": bin_dir, "korvidVi.exe": viewer_dir,
                      "magnify.exe": os.path.join(win_build, "standin")}
            for extra, source_dir in extras.items():
                source = os.path.join(source_dir, extra)
                if os.path.exists(source):
                    shutil.copy(source, os.path.join(folder, extra))
        if local_address is not None:
            with open(os.path.join(folder, "localIp.txt"), "wb") as f:
                f.write(local_address.encode("latin-1"))
        self.processes = []

    def start(self, extra_env=None):
        require_loopback_subnet(os.path.join(self.folder, "localIp.txt"))
        index = len(self.processes)
        out = open(os.path.join(self.folder, f"stdout-{index}.txt"), "wb")
        environment = wine_env()
        environment.update(extra_env or {})
        process = subprocess.Popen([WINE, self.exe], cwd=self.folder, stdout=out,
                                   stderr=subprocess.DEVNULL, env=environment)
        self.processes.append((process, out))
        return process

    def launches(self, program="korvidVi"):
        """The starts a stand-in recorded beside the program: (process id, parameters)."""
        path = os.path.join(self.folder, f"{program}-launches.txt")
        if not os.path.exists(path):
            return []
        with open(path, "rb") as f:
            lines = f.read().decode("latin-1").splitlines()
        return [tuple(line.split("\t", 1)) for line in lines]

    def start_standin(self, address, window_class=None, ignores_close=False):
        """Starts the stand-in viewer directly, as another program would run."""
        environment = wine_env()
        if window_class:
            environment["CLUMA_STANDIN_CLASS"] = window_class
        if ignores_close:
            environment["CLUMA_VIEWER_IGNORES_CLOSE"] = "1"
        exe = os.path.join(self.folder, "korvidVi.exe")
        process = subprocess.Popen([WINE, exe, address], cwd=self.folder,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   env=environment)
        out = open(os.devnull, "wb")
        self.processes.append((process, out))
        return process

    def stdout(self, index=0):
        with open(os.path.join(self.folder, f"stdout-{index}.txt"), "rb") as f:
            return f.read()

    def stop(self):
        for process, out in self.processes:
            if process.poll() is None:
                process.kill()
                process.wait()
            out.close()


def xdotool(*args):
    subprocess.run(["xdotool", *[str(a) for a in args]], check=True, env=os.environ,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def screenshot(path):
    subprocess.run(["import", "-window", "root", path], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)


def pixel(path, x, y):
    """The (r, g, b) of one screenshot pixel."""
    out = subprocess.run(["convert", path, "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-"],
                         check=True, capture_output=True, text=True).stdout
    # "# ImageMagick pixel enumeration ..." then "0,0: (r,g,b)  #RRGGBB  srgb(...)"
    line = [l for l in out.splitlines() if l.startswith("0,0:")][0]
    hex_colour = line.split("#")[1][:6]
    return tuple(int(hex_colour[i:i + 2], 16) for i in (0, 2, 4))


def click(x, y, button=1):
    xdotool("mousemove", x, y)
    xdotool("click", button)


def double_click(x, y):
    xdotool("mousemove", x, y)
    xdotool("click", "--repeat", 2, "--delay", 80, 1)


def centre(rect):
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


class E2ETestCase(unittest.TestCase):
    """Gives each test an app folder, agents, an inspector and clean-up of all of them."""

    def setUp(self):
        self.win_build = env("CLUMA_WIN_BUILD")
        self.native_build = env("CLUMA_NATIVE_BUILD")
        env("DISPLAY")
        env("WINEPREFIX")
        self.artifacts = os.path.join(self.win_build, "e2e-artifacts")
        os.makedirs(self.artifacts, exist_ok=True)
        self.folder = tempfile.mkdtemp(prefix="cluma-e2e-")
        self.agents = []
        self.apps = []
        self.inspector = Inspector(self.win_build)
        self.addCleanup(self._clean_up)

    def _clean_up(self):
        # A failed test leaves the screen as it was at the failure, for whoever reads the log.
        if self._failed():
            path = self.artifact(f"failed-{self.id()}.png")
            print(f"screen at the failure: {path}", file=sys.stderr)
            screenshot(path)
        for app in self.apps:
            app.stop()
            # Viewers and magnifiers the console started are processes of their own.
            for program in ("korvidVi", "magnify"):
                for pid, _ in app.launches(program):
                    self.inspector.ask(f"kill {pid}")
        for agent in self.agents:
            agent.stop()
        self.inspector.stop()
        shutil.rmtree(self.folder, ignore_errors=True)

    def _failed(self):
        result = getattr(getattr(self, "_outcome", None), "result", None)
        reported = getattr(result, "failures", []) + getattr(result, "errors", [])
        return any(test is self for test, _ in reported)

    def click_on(self, hwnd, point, what, foreground=True, button=1):
        """Clicks at point once hwnd is ready to take the click there (see takes_click): a
        click that lands before then goes to whatever window is on top, or is lost."""
        wait_until(lambda: self.inspector.takes_click(hwnd, *point, foreground), 10,
                   f"{what} to be ready for a click")
        click(*point, button)

    def double_click_on(self, hwnd, point, what, foreground=True):
        wait_until(lambda: self.inspector.takes_click(hwnd, *point, foreground), 10,
                   f"{what} to be ready for a double click")
        double_click(*point)

    def bring_forward_by_click(self, hwnd, point, what):
        """Clicks a window that is not in front, and waits until it is."""
        self.click_on(hwnd, point, what, foreground=False)
        wait_until(lambda: self.inspector.state(hwnd).foreground, 10, f"{what} to come to front")

    def start_agent(self, host, name, **how):
        logs = os.path.join(self.folder, "logs")
        os.makedirs(logs, exist_ok=True)
        agent = Agent(self.native_build, host, name, logs, **how)
        self.agents.append(agent)
        return agent

    def make_app(self, local_address="127.0.0.1 ", subfolder="app", real_viewer=False):
        folder = os.path.join(self.folder, subfolder)
        os.makedirs(folder, exist_ok=True)
        app = App(self.win_build, folder, local_address, real_viewer)
        self.apps.append(app)
        return app

    def set_browser(self, program):
        """Makes Wine open web pages with a program of the test's (nothing leaves the machine)."""
        subprocess.run([WINE, "reg", "add", "HKCU\\Software\\Wine\\WineBrowser", "/v", "Browsers",
                        "/d", program, "/f"], check=True, env=wine_env(),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: subprocess.run(
            [WINE, "reg", "delete", "HKCU\\Software\\Wine\\WineBrowser", "/v", "Browsers", "/f"],
            env=wine_env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))

    def artifact(self, name):
        return os.path.join(self.artifacts, name)

    def guide_image(self, name, rect=None):
        """A screenshot for the user guide: the whole screen, or the part rect covers. They are
        kept in e2e-artifacts/guide/; scripts/guide-images copies them into docs/images/."""
        folder = os.path.join(self.artifacts, "guide")
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, name)
        screenshot(path)
        if rect is not None:
            left, top, right, bottom = rect
            subprocess.run(["convert", path, "-crop", f"{right - left}x{bottom - top}+{left}+{top}",
                            "+repage", path], check=True)
        return path

    def prefix_path(self, windows_path):
        """Where a c:\\ path of the prefix is on this machine."""
        drive, rest = windows_path[0].lower(), windows_path[3:]
        return os.path.join(os.environ["WINEPREFIX"], f"drive_{drive}", *rest.split("\\"))
