#!/usr/bin/env python3
"""Makes one Windows Installer package: wixl builds it from its .wxs description, then the
statements of the .sql file beside that description fill in what wixl does not write itself
(a shortcut's keyboard shortcut, permissions, secure properties, actions that run a program);
they name the defines as the description does, $(var.NAME). The package step of the build
runs it, and so does the installers' test, for a second package of a higher version.

    make_msi.py WXS OUTPUT --arch x64|x86 [-D NAME=VALUE]...
"""

import argparse
import os
import re
import subprocess
import sys
import tempfile


def statements(path):
    """The .sql file's statements: one a line, blank lines and '--' comments left out."""
    if not os.path.exists(path):
        return []
    with open(path, encoding="utf-8") as f:
        lines = [line.strip() for line in f]
    return [line for line in lines if line and not line.startswith("--")]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("wxs")
    parser.add_argument("output")
    parser.add_argument("--arch", choices=("x64", "x86"), required=True)
    parser.add_argument("-D", dest="defines", action="append", default=[], metavar="NAME=VALUE")
    args = parser.parse_args()

    folder = os.path.dirname(os.path.abspath(args.output))
    os.makedirs(folder, exist_ok=True)
    # Made beside the output and renamed into place: a failed step never leaves a package
    # that looks finished.
    handle, partial = tempfile.mkstemp(suffix=".msi", dir=folder)
    os.close(handle)
    try:
        command = ["wixl", "--arch", args.arch, "--output", partial]
        for define in args.defines:
            command += ["--define", relative_path(define, folder)]
        run(command + [os.path.abspath(args.wxs)], cwd=folder)
        values = dict(define.partition("=")[::2] for define in args.defines)
        for statement in statements(os.path.splitext(args.wxs)[0] + ".sql"):
            run(["msibuild", partial, "-q", with_defines(statement, values)])
        os.replace(partial, args.output)
    finally:
        if os.path.exists(partial):
            os.remove(partial)


def with_defines(statement, values):
    """The statement with each $(var.NAME) replaced by that define's value; an unknown NAME
    stops the build rather than leaving the text in the package."""
    def value(match):
        if match.group(1) not in values:
            sys.exit(f"make_msi.py: the .sql names $(var.{match.group(1)}), which no -D defines")
        return values[match.group(1)]
    return re.sub(r"\$\(var\.(\w+)\)", value, statement)


def relative_path(define, folder):
    """NAME=PATH with PATH from the folder wixl runs in: wixl looks up some files (icons) only
    below its own folder, and refuses an absolute name for them."""
    name, _, value = define.partition("=")
    if os.path.isabs(value):
        value = os.path.relpath(value, folder)
    return f"{name}={value}"


def run(command, cwd=None):
    # wixl warns on stderr about attributes it does not know (the ones the .sql file adds
    # instead); only a failure is shown.
    result = subprocess.run(command, capture_output=True, text=True, cwd=cwd)
    if result.returncode != 0:
        sys.stderr.write(f"{' '.join(command)} failed:\n{result.stdout}{result.stderr}")
        sys.exit(1)


if __name__ == "__main__":
    main()
