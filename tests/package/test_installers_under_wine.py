"""The x86_64 Windows Installer packages installed, upgraded and removed by Wine's msiexec in
a Wine prefix of the test's own: the console's keeps the presenter's localIp.txt and makes it
only in a real folder of its own, the agent's runs its service, which answers a probe on
loopback with the name given at install time, and the screen server's launcher service, and
writes the room password."""

import glob
import json
import os
import shutil
import socket
import struct
import subprocess
import tempfile
import time
import unittest

from package_support import env

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
# msiexec ends with 1603 for a failed install; a Unix exit status keeps its low byte.
INSTALL_FAILED = 1603 % 256
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
SERVICE_KEY = r"HKLM\SYSTEM\CurrentControlSet\Services\ClumaDeckAgent"
# The shortcut file's header keeps its keyboard shortcut at byte 0x40.
LINK_HOTKEY_OFFSET = 0x40
HOTKEY_CTRL_ALT_H = 0x0648
ROOM_NAME = "Room 4 PC 7"
ROOM_PASSWORD = "Room4-secret"
ROOM_KEY = r"HKLM\SOFTWARE\ClumaDeck"
SERVICES = ("ClumaDeckAgent", "ClumaDeckScreen")
# A second for the stop itself, the rest for a loaded machine.
STOP_WITHIN_S = 5
# A Unix user other than the one Wine runs as: Wine shows its folders with another owner.
OTHER_UID = 65534


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def free_loopback_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def probe(port):
    """The name the agent on a loopback port answers with; None while nothing listens."""
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=5) as connection:
            answer = b""
            while chunk := connection.recv(64):
                answer += chunk
            return answer
    except ConnectionRefusedError:
        return None


class InstallersUnderWineTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.console_msi = env("CLUMA_CONSOLE_MSI")
        cls.agent_msi = env("CLUMA_AGENT_MSI")
        cls.version = env("CLUMA_VERSION")
        with open(env("CLUMA_MSI_RECIPE")) as f:
            cls.recipe = json.load(f)
        cls.folder = tempfile.mkdtemp(prefix="cluma-installers-")
        cls.environment = {**os.environ, "WINEPREFIX": os.path.join(cls.folder, "prefix"),
                           "WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml=",
                           "WINEARCH": "win64"}
        cls.drive_c = os.path.join(cls.environment["WINEPREFIX"], "drive_c")
        cls.keeper = None
        try:
            cls.start_session()
        except BaseException:
            cls.tearDownClass()
            raise

    @classmethod
    def start_session(cls):
        """The prefix's session, started inside this test's network namespace and kept up
        until the end: a service lives only as long as its session, and every socket of a
        session is made by its wineserver, in that server's namespace."""
        # Making the prefix runs the session's start twice, so that session has two service
        # managers, each answering some of the requests: one never knows the service the
        # other installed. It is left to end before the session the test uses starts.
        subprocess.run([WINE, "wineboot", "-i"], env=cls.environment, check=True,
                       capture_output=True)
        subprocess.run([WINESERVER, "-w"], env=cls.environment, check=True)
        ready = os.path.join(cls.folder, "session-ready")
        cls.keeper = subprocess.Popen([WINE, env("CLUMA_SESSION_KEEPER"), windows_path(ready)],
                                      env=cls.environment, stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 60
        while not os.path.exists(ready):
            if cls.keeper.poll() is not None or time.monotonic() > deadline:
                raise AssertionError("the Wine session of the test's prefix did not start")
            time.sleep(0.1)

    @classmethod
    def tearDownClass(cls):
        subprocess.run([WINESERVER, "-k"], env=cls.environment, capture_output=True)
        subprocess.run([WINESERVER, "-w"], env=cls.environment, capture_output=True)
        if cls.keeper is not None:
            cls.keeper.wait()
        shutil.rmtree(cls.folder, ignore_errors=True)

    def wine(self, *arguments):
        return subprocess.run([WINE, *arguments], env=self.environment, capture_output=True,
                              text=True, errors="replace")

    def msiexec(self, *arguments):
        """msiexec's exit code; its verbose log is kept for a failure's message."""
        log = os.path.join(self.folder, "msiexec.log")
        result = self.wine("msiexec", *arguments, "/qn", "/l*v", windows_path(log))
        self.last_log = ""
        if os.path.exists(log):
            with open(log, "rb") as f:
                self.last_log = f.read().decode("utf-16" if f.peek(2)[:2] == b"\xff\xfe"
                                                else "latin-1", errors="replace")
        return result.returncode

    def assert_installs(self, *arguments):
        code = self.msiexec(*arguments)
        self.assertEqual(code, 0, self.last_log[-3000:])

    def registry_value(self, key, name):
        result = self.wine("reg", "query", key, "/v", name)
        if result.returncode != 0:
            return None
        for line in result.stdout.splitlines():
            parts = line.strip().split(None, 2)
            if parts and parts[0] == name:
                return parts[2] if len(parts) > 2 else ""
        return None

    def installed_products(self, name):
        """{product code: version} of the installed products called name."""
        result = self.wine("reg", "query", UNINSTALL_KEY)
        found = {}
        # Subkeys are listed by their full names, one a line.
        for key in (line.strip() for line in result.stdout.splitlines()):
            if key.endswith("}") and "\\{" in key:
                if self.registry_value(key, "DisplayName") == name:
                    found[key] = (self.registry_value(key, "DisplayVersion"),
                                  self.registry_value(key, "Publisher"))
        return found

    def service_state(self, name="ClumaDeckAgent"):
        """The service's state as the service manager reports it; None when not installed."""
        result = self.wine("sc", "query", name)
        for line in result.stdout.splitlines():
            if line.split(":")[0].strip() == "STATE":
                return line.split()[-1]
        return None

    def wait_for_service(self, state, what, name="ClumaDeckAgent"):
        deadline = time.monotonic() + STOP_WITHIN_S
        while self.service_state(name) != state:
            if time.monotonic() > deadline:
                self.fail(f"waited {STOP_WITHIN_S} s for {what}: {self.service_log()}")
            time.sleep(0.1)

    def service_log(self):
        log = os.path.join(self.drive_c, "ProgramData", "ClumaDeck", "agent-log.txt")
        if not os.path.exists(log):
            return "no service log"
        with open(log, errors="replace") as f:
            return f.read()

    def shortcuts(self, name):
        return glob.glob(os.path.join(self.drive_c, "**", name), recursive=True)

    def bumped_console_package(self):
        """The console's package again, as the next version."""
        major, minor, patch = self.version.split(".")
        version = f"{major}.{minor}.{int(patch) + 1}"
        defines = [f"Version={version}" if d.startswith("Version=") else d
                   for d in self.recipe["console"]["defines"]]
        output = os.path.join(self.folder, f"ClumaDeck-{version}.msi")
        command = ["python3", self.recipe["make_msi"], self.recipe["console"]["wxs"], output,
                   "--arch", self.recipe["arch"]]
        for define in defines:
            command += ["-D", define]
        subprocess.run(command, check=True)
        return output, version

    def test_console_installs_silently_keeps_the_presenters_address_and_uninstalls(self):
        folder = os.path.join(self.drive_c, "Program Files", "ClumaDeck")
        address_file = os.path.join(folder, "localIp.txt")
        package = windows_path(self.console_msi)

        # A LOCALIP that is no address stops the install before anything is changed.
        self.assertEqual(self.msiexec("/i", package, "LOCALIP=room4"), INSTALL_FAILED)
        self.assertIn("LOCALIP must be the console's own address", self.last_log)
        self.assertFalse(os.path.exists(os.path.join(folder, "ClumaDeck.exe")))

        self.assert_installs("/i", package, "LOCALIP=127.0.0.1")
        self.assertEqual(sorted(os.listdir(folder)),
                         ["ClumaDeck.exe", "LICENSE.txt", "cluma-scan.exe", "help.png", "ipSet.PNG",
                          "korvidVi.exe", "localIp.txt"])
        with open(address_file, "rb") as f:
            self.assertEqual(f.read(), b"127.0.0.1 ")
        self.assertEqual(len(self.shortcuts("ClumaDeck.lnk")), 1)
        self.assertEqual(list(self.installed_products("ClumaDeck").values()),
                         [(self.version, "ClumaDeck")])

        # A repair, which any user may start, leaves the file to the room: gone, it stays gone.
        os.remove(address_file)
        self.assert_installs("/i", package, "REINSTALL=ALL", "REINSTALLMODE=omus")
        self.assertFalse(os.path.exists(address_file), "the setup actions ran on a repair")

        # The presenter sets another address; the next version keeps it, LOCALIP or not.
        with open(address_file, "wb") as f:
            f.write(b"127.0.0.2 ")
        newer, newer_version = self.bumped_console_package()
        self.assert_installs("/i", windows_path(newer), "LOCALIP=127.0.0.3")
        with open(address_file, "rb") as f:
            self.assertEqual(f.read(), b"127.0.0.2 ")
        self.assertEqual(list(self.installed_products("ClumaDeck").values()),
                         [(newer_version, "ClumaDeck")], "the older version was replaced")

        self.assert_installs("/x", windows_path(newer))
        self.assertEqual(os.listdir(folder), ["localIp.txt"], "only the presenter's data stays")
        self.assertEqual(self.shortcuts("ClumaDeck.lnk"), [])
        self.assertEqual(self.installed_products("ClumaDeck"), {})

    def test_console_makes_localip_txt_only_in_a_real_folder_of_its_own(self):
        package = windows_path(self.console_msi)
        foreign = os.path.join(self.folder, "foreign")
        os.makedirs(foreign)
        os.chown(foreign, OTHER_UID, OTHER_UID)
        real = os.path.join(self.folder, "real")
        os.makedirs(real)
        link = os.path.join(self.folder, "link")
        os.symlink(real, link)
        cases = [(foreign, "is owned by"), (link, "(a reparse point)")]
        for folder, reason in cases:
            with self.subTest(reason):
                code = self.msiexec("/i", package, "LOCALIP=127.0.0.1",
                                    "INSTALLDIR=" + windows_path(folder) + "\\")
                self.assertEqual(code, INSTALL_FAILED, self.last_log[-3000:])
                self.assertIn("localIp.txt is not made: the install folder", self.last_log)
                self.assertIn(reason, self.last_log)
                for place in (folder, real):
                    self.assertFalse(os.path.exists(os.path.join(place, "ClumaDeck.exe")),
                                     "the install was rolled back")
                self.assertEqual(self.installed_products("ClumaDeck"), {})

    def test_agent_installs_as_a_running_service_that_answers_with_its_name(self):
        # A service left by an earlier run that was killed would hold the name.
        for service in SERVICES:
            if self.service_state(service) is not None:
                self.wine("sc", "stop", service)
                self.wine("sc", "delete", service)
        port = free_loopback_port()
        # The screen server's own port, not 5900, which another test may hold.
        settings = (f"AGENTNAME={ROOM_NAME}", f"PORT={port}", f"SCREENPORT={free_loopback_port()}",
                    f"ROOMPASSWORD={ROOM_PASSWORD}")
        package = windows_path(self.agent_msi)
        self.assert_installs("/i", package, *settings)
        self.assertEqual(self.registry_value(SERVICE_KEY + r"\Parameters", "Name"), ROOM_NAME)
        self.assertEqual(self.registry_value(SERVICE_KEY, "ObjectName"),
                         r"NT AUTHORITY\LocalService")
        self.assertEqual(self.registry_value(ROOM_KEY, "RoomPassword"), ROOM_PASSWORD)
        self.wait_for_service("RUNNING", "the screen server's launcher", "ClumaDeckScreen")

        # msiexec waits for the service to report running, which it does once it listens.
        self.assertEqual(probe(port), ROOM_NAME.encode(), self.service_log())

        [link] = self.shortcuts("Ask the presenter.lnk")
        with open(link, "rb") as f:
            header = f.read(LINK_HOTKEY_OFFSET + 2)
        self.assertEqual(struct.unpack_from("<H", header, LINK_HOTKEY_OFFSET)[0],
                         HOTKEY_CTRL_ALT_H)

        # Uninstalling asks the running service to stop and removes its entry. Wine's msiexec
        # does not wait for the stop (Windows Installer does: the ServiceControl table's Wait),
        # so the program, still running for a moment, is left behind here.
        self.assert_installs("/x", package)
        for service in SERVICES:
            self.wait_for_service(None, f"{service} to stop and be removed", service)
        self.assertIsNone(probe(port), "the service was stopped")
        self.assertIsNone(self.registry_value(SERVICE_KEY, "ImagePath"))
        # Wine 8's msiexec runs RemoveRegistryValues but leaves the room password's value (the
        # log names the component); whether Windows removes it is not checked here.

        # Stopped first, as Windows Installer waits for them, the uninstall leaves nothing.
        self.assert_installs("/i", package, *settings)
        for service in SERVICES:
            self.assertEqual(self.wine("sc", "stop", service).returncode, 0)
            self.wait_for_service("STOPPED", f"{service} to stop", service)
        self.assert_installs("/x", package)
        for service in SERVICES:
            self.wait_for_service(None, f"{service} to be removed", service)
        folder = os.path.join(self.drive_c, "Program Files", "ClumaDeck agent")
        self.assertFalse(os.path.exists(folder), os.listdir(folder) if os.path.exists(folder)
                         else "")
        self.assertEqual(self.shortcuts("Ask the presenter.lnk"), [])

if __name__ == "__main__":
    unittest.main()
