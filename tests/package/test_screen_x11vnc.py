"""The Linux screen's autostart script (packaging/linux/screen/cluma-screen-x11vnc): which
console it lets watch, with which password and name, and when it serves nothing, run with a
stand-in x11vnc that records its command lines."""

import os
import shutil
import stat
import subprocess
import tempfile
import unittest

from package_support import env

FAKE_X11VNC = """#!/bin/sh
printf '%s\\n' "$*" >>"$RECORD"
if [ "$1" = -storepasswd ]; then printf 'stored\\n' >"$3"; fi
"""
PINNED = 'CLUMA_AGENT_OPTIONS="--console 192.168.1.10 --name Room12-PC3"\n'
REMEMBERED = "console 192.168.1.20\nlocal 192.168.1.33\n"
X_SESSION = {"DISPLAY": ":4242", "XDG_SESSION_TYPE": "x11"}

# name, /etc/default/cluma-agent, the agent's state, the room password file, the session,
# then the console let in (None: nothing served), the password, the desktop name.
CASES = [
    ("pinned console", PINNED, REMEMBERED, None, X_SESSION,
     "192.168.1.10", "fernway_417", "Room12-PC3"),
    ("remembered console", '#CLUMA_AGENT_OPTIONS="--console 192.168.1.10"\n', REMEMBERED,
     "room-secret\r\nsecond line\n", X_SESSION, "192.168.1.20", "room-secret", os.uname().nodename),
    ("garbled pin, no fallback", 'CLUMA_AGENT_OPTIONS="--console 192.168.1.010"\n', REMEMBERED,
     None, X_SESSION, None, None, None),
    ("no console known", None, "console 999.1.1.1\nlocal 192.168.1.33\n", None, X_SESSION,
     None, None, None),
    ("Wayland session", PINNED, REMEMBERED, None, {"DISPLAY": ":0", "XDG_SESSION_TYPE": "wayland"},
     None, None, None),
    ("no X display", PINNED, REMEMBERED, None, {"XDG_SESSION_TYPE": "tty"}, None, None, None),
]


class ScreenAutostartTest(unittest.TestCase):
    def setUp(self):
        self.script = os.path.join(env("CLUMA_SOURCE_DIR"), "packaging", "linux", "screen",
                                   "cluma-screen-x11vnc")
        self.folder = tempfile.mkdtemp(prefix="cluma-screen-")
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)
        bin_folder = os.path.join(self.folder, "bin")
        os.makedirs(bin_folder)
        with open(os.path.join(bin_folder, "x11vnc"), "w") as f:
            f.write(FAKE_X11VNC)
        os.chmod(os.path.join(bin_folder, "x11vnc"), 0o755)
        self.path = bin_folder + os.pathsep + os.environ["PATH"]

    def write(self, name, text):
        path = os.path.join(self.folder, "root", name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if text is not None:
            with open(path, "w") as f:
                f.write(text)

    def test_the_script_serves_only_the_trusted_console_of_an_x_session(self):
        for name, defaults, state, password, session, console, secret, desktop in CASES:
            with self.subTest(name):
                shutil.rmtree(os.path.join(self.folder, "root"), ignore_errors=True)
                self.write("etc/default/cluma-agent", defaults)
                self.write("var/lib/cluma-agent/state", state)
                self.write("etc/cluma-agent/room-password", password)
                record = os.path.join(self.folder, "record-" + name.replace(" ", "-"))
                runtime = os.path.join(self.folder, "runtime-" + name.replace(" ", "-"))
                os.makedirs(runtime, mode=0o700)
                # The display's socket is missing: the script ends once x11vnc has ended.
                result = subprocess.run(
                    [self.script], capture_output=True, text=True, timeout=30,
                    env={"PATH": self.path, "RECORD": record, "XDG_RUNTIME_DIR": runtime,
                         "CLUMA_SCREEN_ROOT": os.path.join(self.folder, "root"), **session})
                self.assertEqual(result.returncode, 0, result.stderr)
                calls = []
                if os.path.exists(record):
                    with open(record) as f:
                        calls = f.read().splitlines()
                if console is None:
                    self.assertEqual(calls, [])
                    self.assertIn("cluma-screen-x11vnc: ", result.stderr)
                    continue
                password_file = os.path.join(runtime, "cluma-screen", "passwd")
                self.assertEqual(calls, [
                    f"-storepasswd {secret} {password_file}",
                    f"-display {session['DISPLAY']} -rfbport 5900 -desktop {desktop} -rfbauth "
                    f"{password_file} -allow {console} -forever -shared"])
                self.assertEqual(stat.S_IMODE(os.stat(password_file).st_mode), 0o600)


if __name__ == "__main__":
    unittest.main()
