"""What the package tests share: where the package is, and reading it."""

import os
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
