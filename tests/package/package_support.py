"""What the package tests share: where the package is, and reading it."""

import os
import pwd
import shutil
import unittest


def env(name):
    value = os.environ.get(name)
    if not value:
        raise unittest.SkipTest(f"{name} is not set: run the package tests through scripts/test")
    return value


def top_folder(names):
    """The one folder every entry of an archive lies in, and the entries' names below it."""
    tops = {name.split("/", 1)[0] for name in names}
    if len(tops) != 1:
        raise AssertionError(f"the package holds more than one top folder: {sorted(tops)}")
    top = tops.pop()
    files = {name.split("/", 1)[1] for name in names if "/" in name and not name.endswith("/")}
    return top, files


def unprivileged(command, state_folder):
    """The command as a test run as root must start the native agent's serve, which refuses
    root: as nobody, as the package's service user would, with state_folder (in the system's
    temporary folder) its own and a copy of the program there, where nobody reaches it."""
    if os.geteuid() != 0:
        return command
    nobody = pwd.getpwnam("nobody")
    os.chown(state_folder, nobody.pw_uid, nobody.pw_gid)
    program = shutil.copy(command[0], state_folder)
    return ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", program,
            *command[1:]]
