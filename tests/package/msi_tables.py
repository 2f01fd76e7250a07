"""Reads a Windows Installer package's tables with msiinfo (msitools)."""

import os
import subprocess
import tempfile


def table(path, name):
    """The rows of a table as dicts by column name; [] for a table the package lacks."""
    listed = subprocess.run(["msiinfo", "tables", path], capture_output=True, text=True,
                            check=True).stdout.split()
    if name not in listed:
        return []
    # msiinfo writes a table's binary streams (icons, DLLs) as files into the current folder:
    # a folder of its own keeps them out of the source tree.
    with tempfile.TemporaryDirectory(prefix="msiinfo-") as folder:
        text = subprocess.run(["msiinfo", "export", os.path.abspath(path), name],
                              capture_output=True, text=True, check=True, cwd=folder).stdout
    lines = text.split("\r\n") if "\r\n" in text else text.split("\n")
    columns = lines[0].split("\t")
    # The second line holds the column types, the third the table's name and its keys.
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:] if line]


def properties(path):
    return {row["Property"]: row["Value"] for row in table(path, "Property")}


def summary(path):
    text = subprocess.run(["msiinfo", "suminfo", path], capture_output=True, text=True,
                          check=True).stdout
    return dict(line.split(": ", 1) for line in text.splitlines() if ": " in line)
