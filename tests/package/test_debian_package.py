"""The Linux agent's Debian package: its files, its control data and maintainer scripts,
lintian's verdict, and a whole install, removal and purge into a throwaway root."""

import gzip
import io
import os
import shutil
import subprocess
import tarfile
import tempfile
import unittest

from package_support import env

# Every file the package puts on a machine, and its mode.
PACKAGE_FILES = {
    "./usr/bin/cluma-agent": "-rwxr-xr-x",
    "./usr/bin/cluma-scan": "-rwxr-xr-x",
    "./lib/systemd/system/cluma-agent.service": "-rw-r--r--",
    "./usr/share/man/man1/cluma-agent.1.gz": "-rw-r--r--",
    "./usr/share/man/man1/cluma-scan.1.gz": "-rw-r--r--",
    "./usr/share/doc/cluma-agent/copyright": "-rw-r--r--",
    "./usr/share/doc/cluma-agent/changelog.gz": "-rw-r--r--",
    "./usr/lib/cluma-agent/cluma-screen-x11vnc": "-rwxr-xr-x",
    "./etc/xdg/autostart/cluma-screen.desktop": "-rw-r--r--",
}
ENABLED_LINK = "etc/systemd/system/multi-user.target.wants/cluma-agent.service"
DEFAULTS = "etc/default/cluma-agent"
AUTOSTART = "etc/xdg/autostart/cluma-screen.desktop"
PINNED = 'CLUMA_AGENT_OPTIONS="--console 192.168.1.10"\n'


def deb(*arguments):
    return subprocess.run(["dpkg-deb", *arguments], capture_output=True, text=True,
                          check=True).stdout


class DebianPackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.path = env("CLUMA_DEB")
        cls.folder = tempfile.mkdtemp(prefix="cluma-agent-deb-")
        deb("--control", cls.path, os.path.join(cls.folder, "control"))
        cls.scripts = {}
        for name in ("postinst", "prerm", "postrm"):
            with open(os.path.join(cls.folder, "control", name)) as f:
                cls.scripts[name] = f.read()

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def test_the_package_holds_the_agent_its_unit_man_page_and_papers_owned_by_root(self):
        listing = {}
        for line in deb("--contents", self.path).splitlines():
            mode, owner, _, _, _, name = line.split(None, 5)
            self.assertEqual(owner, "root/root", name)
            if not name.endswith("/"):
                listing[name] = mode
        self.assertEqual(listing, PACKAGE_FILES)

    def test_the_control_data_names_the_package_and_its_dependencies(self):
        fields = {name: deb("--field", self.path, name).strip()
                  for name in ("Package", "Version", "Architecture", "Depends", "Maintainer",
                               "Recommends")}
        self.assertEqual(fields["Package"], "cluma-agent")
        self.assertEqual(fields["Version"], env("CLUMA_VERSION"))
        self.assertIn("libc6 (>=", fields["Depends"])
        self.assertIn("passwd", fields["Depends"])
        self.assertTrue(fields["Maintainer"])
        self.assertEqual(fields["Recommends"], "x11vnc")

    def test_the_maintainer_scripts_enable_start_stop_and_purge_the_unit(self):
        cases = [
            ("postinst", "useradd"),
            ("postinst", "deb-systemd-helper enable cluma-agent.service"),
            ("postinst", 'deb-systemd-invoke "$action" cluma-agent.service'),
            ("prerm", "deb-systemd-invoke stop cluma-agent.service"),
            ("postrm", "deb-systemd-helper purge cluma-agent.service"),
            ("postrm", 'rm -rf "$DPKG_ROOT/var/lib/cluma-agent"'),
        ]
        for script, line in cases:
            with self.subTest(script=script, line=line):
                self.assertIn(line, self.scripts[script])
                self.assertIn("\nset -e\n", self.scripts[script])

    def test_the_unit_runs_the_packaged_agent_as_its_own_user_with_a_readable_state(self):
        files = subprocess.run(["dpkg-deb", "--fsys-tarfile", self.path], capture_output=True,
                               check=True).stdout
        with tarfile.open(fileobj=io.BytesIO(files)) as archive:
            text = archive.extractfile("./lib/systemd/system/cluma-agent.service").read().decode()
        for line in ("ExecStart=/usr/bin/cluma-agent serve --state /var/lib/cluma-agent/state"
                     " $CLUMA_AGENT_OPTIONS", "EnvironmentFile=-/etc/default/cluma-agent",
                     "User=cluma-agent", "StateDirectory=cluma-agent",
                     "StateDirectoryMode=0755"):
            with self.subTest(line):
                self.assertIn("\n" + line + "\n", text)
        self.assertNotIn("DynamicUser=yes", text)

    def test_the_man_pages_carry_the_date_of_their_version(self):
        files = subprocess.run(["dpkg-deb", "--fsys-tarfile", self.path], capture_output=True,
                               check=True).stdout
        with tarfile.open(fileobj=io.BytesIO(files)) as archive:
            for name in ("cluma-agent.1.gz", "cluma-scan.1.gz"):
                with self.subTest(name):
                    page = gzip.decompress(archive.extractfile(
                        "./usr/share/man/man1/" + name).read()).decode()
                    heading = page.splitlines()[0].split('"')
                    self.assertRegex(heading[1], r"^\d{4}-\d\d-\d\d$", page.splitlines()[0])
                    self.assertIn(env("CLUMA_VERSION"), heading[3])

    def test_lintian_finds_no_error(self):
        if shutil.which("lintian") is None:
            self.fail("lintian is not installed: scripts/lib/packages.sh installs it")
        result = subprocess.run(["lintian", "--no-tag-display-limit", self.path],
                                capture_output=True, text=True)
        errors = [line for line in result.stdout.splitlines() if line.startswith("E:")]
        self.assertEqual(errors, [])
        self.assertIn(result.returncode, (0, 1), result.stderr)

    def test_installing_removing_and_purging_in_a_throwaway_root(self):
        root = os.path.join(self.folder, "root")
        for folder in ("var/lib/dpkg/updates", "var/lib/dpkg/info", "etc"):
            os.makedirs(os.path.join(root, folder))
        for name in ("var/lib/dpkg/status", "etc/passwd", "etc/group", "etc/shadow",
                     "etc/gshadow"):
            open(os.path.join(root, name), "w").close()

        def dpkg(*arguments):
            # The scripts run here, not chrooted, with every path taken below DPKG_ROOT; the
            # throwaway root has no C library or passwd package to satisfy the dependencies.
            result = subprocess.run(
                ["dpkg", f"--root={root}", "--force-script-chrootless", "--force-depends",
                 "--force-not-root", f"--log={root}/dpkg.log", *arguments],
                capture_output=True, text=True, env={**os.environ, "DPKG_ROOT": ""})
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

        def there(name):
            return os.path.lexists(os.path.join(root, name))

        dpkg("--install", self.path)
        with open(os.path.join(root, DEFAULTS)) as f:
            self.assertIn("#" + PINNED, f.read(), "the options' file shows how to pin")
        with open(os.path.join(root, "etc/passwd")) as f:
            users = [line.split(":") for line in f]
        self.assertEqual([(u[0], u[5], u[6].strip()) for u in users],
                         [("cluma-agent", "/var/lib/cluma-agent", "/usr/sbin/nologin")])
        self.assertTrue(there("usr/bin/cluma-agent"))
        self.assertTrue(there(ENABLED_LINK), "the unit is enabled")
        with open(os.path.join(root, AUTOSTART)) as f:
            [command] = [line[5:].strip() for line in f if line.startswith("Exec=")]
        self.assertTrue(os.access(os.path.join(root, command.lstrip("/")), os.X_OK), command)

        with open(os.path.join(root, DEFAULTS), "w") as f:
            f.write(PINNED)
        dpkg("--install", self.path)  # again, as an upgrade: the user is there already
        with open(os.path.join(root, "etc/passwd")) as f:
            self.assertEqual(len(f.readlines()), 1)
        with open(os.path.join(root, DEFAULTS)) as f:
            self.assertEqual(f.read(), PINNED, "the administrator's pin is kept")

        dpkg("--remove", "cluma-agent")
        self.assertFalse(there("usr/bin/cluma-agent"))
        self.assertFalse(there("lib/systemd/system/cluma-agent.service"))
        os.makedirs(os.path.join(root, "var/lib/cluma-agent"))
        with open(os.path.join(root, "var/lib/cluma-agent/state"), "w") as f:
            f.write("remembered\n")

        dpkg("--purge", "cluma-agent")
        self.assertFalse(there("var/lib/cluma-agent"), "the state goes with a purge")
        self.assertFalse(there(DEFAULTS))
        self.assertFalse(there(AUTOSTART), "the autostart entry is a conffile: a purge takes it")
        self.assertFalse(there(ENABLED_LINK))


if __name__ == "__main__":
    unittest.main()
