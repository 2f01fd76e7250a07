"""The Linux agent's tarball: its files, its systemd unit, and the agent it holds answering."""

import os
import re
import shutil
import socket
import stat
import subprocess
import tarfile
import tempfile
import unittest

from package_support import env, top_folder, unprivileged

AGENT_FILES = {"cluma-agent", "cluma-agent.service", "README.txt", "LICENSE"}
INSTALLED_AGENT = "/usr/local/bin/cluma-agent"


def read_unit(text):
    """{(section, key): [values]} of a systemd unit; comments and blank lines left out."""
    unit, section = {}, None
    for line in text.splitlines():
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        if line.startswith("["):
            section = line.strip("[]")
            continue
        key, _, value = line.partition("=")
        unit.setdefault((section, key), []).append(value)
    return unit


def free_loopback_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class LinuxAgentPackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.path = env("CLUMA_PACKAGE")
        cls.folder = tempfile.mkdtemp(prefix="cluma-agent-package-")
        with tarfile.open(cls.path) as archive:
            cls.top, cls.files = top_folder(archive.getnames())
            # The "data" filter refuses links and paths that leave the folder, where Python has it.
            safe = {"filter": "data"} if hasattr(tarfile, "data_filter") else {}
            archive.extractall(cls.folder, **safe)
        cls.unpacked = os.path.join(cls.folder, cls.top)
        with open(os.path.join(cls.unpacked, "cluma-agent.service")) as f:
            cls.unit_text = f.read()

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def test_one_folder_named_as_the_package_holds_the_agent_its_unit_and_readme(self):
        self.assertEqual(self.top + ".tar.gz", os.path.basename(self.path))
        self.assertEqual(self.files, AGENT_FILES)
        mode = os.stat(os.path.join(self.unpacked, "cluma-agent")).st_mode
        self.assertTrue(mode & stat.S_IXUSR and mode & stat.S_IXOTH, oct(mode))

    def test_the_unit_starts_the_agent_where_the_readme_installs_it(self):
        unit = read_unit(self.unit_text)
        self.assertEqual(unit[("Service", "ExecStart")],
                         [INSTALLED_AGENT + " serve --state /var/lib/cluma-agent/state"
                          " $CLUMA_AGENT_OPTIONS"])
        self.assertEqual(unit[("Service", "EnvironmentFile")], ["-/etc/default/cluma-agent"])
        # Its own system user: a dynamic user's state would be closed to the students.
        self.assertEqual(unit[("Service", "User")], ["cluma-agent"])
        self.assertNotIn(("Service", "DynamicUser"), unit)
        self.assertEqual(unit[("Install", "WantedBy")], ["multi-user.target"])
        self.assertIn(("Service", "Restart"), unit)
        with open(os.path.join(self.unpacked, "README.txt")) as f:
            readme = f.read()
        for step in ("useradd --system --user-group --home-dir /var/lib/cluma-agent",
                     f"install -m 0755 cluma-agent {INSTALLED_AGENT}",
                     "systemctl enable --now cluma-agent", "12357"):
            with self.subTest(step):
                self.assertIn(step, readme)

    def test_systemd_accepts_the_unit(self):
        analyze = shutil.which("systemd-analyze")
        if analyze is None:
            self.skipTest("systemd-analyze is not on this machine")
        # A root of the test's own: systemd's units, the agent where the unit expects it.
        root = os.path.join(self.folder, "root")
        shutil.copytree("/usr/lib/systemd/system", os.path.join(root, "usr/lib/systemd/system"),
                        symlinks=True)
        os.makedirs(os.path.join(root, "usr/local/bin"))
        os.makedirs(os.path.join(root, "etc/systemd/system"))
        shutil.copy(os.path.join(self.unpacked, "cluma-agent"), root + INSTALLED_AGENT)
        shutil.copy(os.path.join(self.unpacked, "cluma-agent.service"),
                    os.path.join(root, "etc/systemd/system"))
        result = subprocess.run([analyze, "verify", "--man=no", f"--root={root}",
                                 "/etc/systemd/system/cluma-agent.service"],
                                capture_output=True, text=True)
        self.assertEqual((result.returncode, result.stderr), (0, ""))

    def test_systemd_rates_the_units_exposure_at_most_2(self):
        analyze = shutil.which("systemd-analyze")
        if analyze is None:
            self.skipTest("systemd-analyze is not on this machine")
        result = subprocess.run([analyze, "security", "--offline=true", "--no-pager",
                                 os.path.join(self.unpacked, "cluma-agent.service")],
                                capture_output=True, text=True)
        level = re.search(r"Overall exposure level for cluma-agent\.service: (\d+\.\d+)",
                          result.stdout)
        self.assertIsNotNone(level, result.stdout + result.stderr)
        self.assertLessEqual(float(level.group(1)), 2.0, result.stdout)
        # Still itself: its own user, which the agent needs (it refuses to serve as root).
        self.assertEqual(read_unit(self.unit_text)[("Service", "User")], ["cluma-agent"])

    def test_the_agent_needs_no_cpp_runtime_of_the_machine(self):
        needed = subprocess.run(["objdump", "-p", os.path.join(self.unpacked, "cluma-agent")],
                                capture_output=True, text=True, check=True).stdout
        libraries = [line.split()[1] for line in needed.splitlines()
                     if line.strip().startswith("NEEDED")]
        self.assertIn("libc.so.6", libraries)
        self.assertFalse([lib for lib in libraries if "stdc++" in lib or "libgcc" in lib],
                         libraries)

    def test_the_packaged_agent_answers_a_probe_with_its_display_name(self):
        port = free_loopback_port()
        state_folder = tempfile.mkdtemp(prefix="cluma-agent-state-")
        self.addCleanup(shutil.rmtree, state_folder, ignore_errors=True)
        command = [os.path.join(self.unpacked, "cluma-agent"), "serve", "--bind", "127.0.0.1",
                   "--port", str(port), "--name", "Room 12 PC 3",
                   "--state", os.path.join(state_folder, "state")]
        agent = subprocess.Popen(unprivileged(command, state_folder),
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        try:
            first_line = agent.stdout.readline()
            self.assertIn(b"answering the console", first_line)
            with socket.create_connection(("127.0.0.1", port), timeout=5) as probe:
                answer = b""
                while chunk := probe.recv(64):
                    answer += chunk
            self.assertEqual(answer, b"Room 12 PC 3")
        finally:
            agent.terminate()
            agent.wait(timeout=10)
            agent.stdout.close()


if __name__ == "__main__":
    unittest.main()
