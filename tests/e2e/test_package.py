"""The x86_64 package as a school unpacks it: the console starts from the unpacked folder and
lists the room, the packaged Windows agent among the machines it finds."""

import glob
import os
import struct
import unittest
import zipfile

from harness import WINE, App, E2ETestCase, screenshot, wait_until, wine_env

CONSOLE_CLASS = "CLumaDeckDlg"
NODE_LIST = 1003
SETIP_BUTTON = 1025
HELP_BUTTON = 1026


def png_size(path):
    """(width, height) from a PNG file's header."""
    with open(path, "rb") as f:
        header = f.read(24)
    if header[:8] != b"\x89PNG\r\n\x1a\n":
        raise AssertionError(f"{path} is not a PNG file")
    return struct.unpack(">II", header[16:24])


class PackageTest(E2ETestCase):
    def unpack(self):
        pattern = os.path.join(self.win_build, "packages", "ClumaDeck-*-windows-x86_64.zip")
        packages = glob.glob(pattern)
        self.assertEqual(len(packages), 1, f"one package matches {pattern}: {packages}")
        with zipfile.ZipFile(packages[0]) as archive:
            archive.extractall(self.folder)
        return os.path.join(self.folder, os.path.basename(packages[0])[:-len(".zip")])

    def test_the_unpacked_console_lists_the_room_with_its_own_images(self):
        folder = self.unpack()
        # The shipped example names a real network's address: the test points the file at
        # loopback before the console's first search.
        self.assertTrue(os.path.isfile(os.path.join(folder, "localIp.txt")))
        app = App(None, folder, "127.0.0.1 ")
        self.apps.append(app)

        self.start_agent(31, "Room 12 PC 1")
        self.start_agent(32, "Room 12 PC 2")
        # The package's own cluma-agent.exe, under Wine, as a room's Windows PC runs it.
        packaged_agent = [WINE, os.path.join(folder, "cluma-agent.exe")]
        self.start_agent(33, "Room 12 PC 3", program=packaged_agent, environment=wine_env(),
                         listen_within=30)
        process = app.start()
        console = wait_until(lambda: self.inspector.find_window(cls=CONSOLE_CLASS), 40,
                             "the console")
        node_list = wait_until(lambda: self.inspector.child(console.hwnd, NODE_LIST), 10,
                               "the node list")
        expected = ["Room 12 PC 1", "Room 12 PC 2", "Room 12 PC 3"]
        wait_until(lambda: sorted(i.text for i in self.inspector.list_items(node_list.hwnd))
                   == expected, 40, f"the console to list {expected}")

        # Each button takes one frame of its strip beside the program: a quarter of the width.
        for ident, strip in ((SETIP_BUTTON, "ipSet.PNG"), (HELP_BUTTON, "help.png")):
            with self.subTest(strip):
                width, height = png_size(os.path.join(folder, strip))
                button = self.inspector.child(console.hwnd, ident)
                self.assertTrue(button.visible)
                self.assertEqual((button.rect[2] - button.rect[0], button.rect[3] - button.rect[1]),
                                 (width // 4, height))
        screenshot(self.artifact("package-console.png"))

        self.inspector.close_window(console.hwnd)
        wait_until(lambda: process.poll() is not None, 20, "the console to end when closed")


if __name__ == "__main__":
    unittest.main()
