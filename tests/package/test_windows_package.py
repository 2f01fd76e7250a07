"""The Windows zip a school unpacks: its files, their bytes, and the programs inside."""

import os
import unittest
import zipfile

from package_support import env, top_folder
from pe_image import (MACHINE_AMD64, MACHINE_I386, RT_BITMAP, RT_CURSOR_GROUP, RT_DIALOG,
                      RT_ICON_GROUP, RT_MANIFEST, SUBSYSTEM_WINDOWS_CUI, SUBSYSTEM_WINDOWS_GUI,
                      PeImage, dialog_caption)

ROOM_FILES = {"ClumaDeck.exe", "korvidVi.exe", "ipSet.PNG", "help.png", "localIp.txt",
              "cluma-agent.exe", "ClumaAsk.exe", "cluma-scan.exe", "cluma-screen.exe",
              "cluma-screen-launcher.exe", "README.txt", "STUDENT.txt", "LICENSE.txt"}
# Each program's kind of window; None: either.
PROGRAMS = {"ClumaDeck.exe": SUBSYSTEM_WINDOWS_GUI, "korvidVi.exe": SUBSYSTEM_WINDOWS_GUI,
            "cluma-agent.exe": SUBSYSTEM_WINDOWS_CUI, "ClumaAsk.exe": SUBSYSTEM_WINDOWS_GUI,
            "cluma-scan.exe": SUBSYSTEM_WINDOWS_CUI, "cluma-screen.exe": None,
            "cluma-screen-launcher.exe": None}
MACHINES = {"x86_64": MACHINE_AMD64, "i686": MACHINE_I386}

# What the console needs of its own resources; a dialog is also checked by its caption.
CONSOLE_RESOURCES = [
    (RT_DIALOG, 102, "ClumaDeck"),
    (RT_DIALOG, 129, "Select Colour"),
    (RT_DIALOG, 182, ""),
    (RT_DIALOG, 198, "set ip"),
    (RT_BITMAP, 186, None),
    (RT_BITMAP, 188, None),
    (RT_BITMAP, 190, None),
    (RT_BITMAP, 195, None),
    (RT_ICON_GROUP, 21, None),
    (RT_ICON_GROUP, 192, None),
    (RT_CURSOR_GROUP, 150, None),
]

# Libraries every supported Windows has; the MinGW runtime must be linked in, not beside.
WINDOWS_LIBRARIES = {"kernel32.dll", "user32.dll", "gdi32.dll", "gdiplus.dll", "ole32.dll",
                     "oleaut32.dll", "comctl32.dll", "comdlg32.dll", "shell32.dll",
                     "shlwapi.dll", "ws2_32.dll", "wsock32.dll", "msvcrt.dll", "advapi32.dll",
                     "uxtheme.dll", "winmm.dll", "version.dll", "imm32.dll", "msimg32.dll",
                     "wtsapi32.dll", "userenv.dll", "shcore.dll"}


class WindowsPackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.path = env("CLUMA_PACKAGE")
        cls.arch = env("CLUMA_PACKAGE_ARCH")
        cls.source = env("CLUMA_SOURCE_DIR")
        with zipfile.ZipFile(cls.path) as archive:
            cls.top, cls.files = top_folder(archive.namelist())
            cls.content = {name: archive.read(f"{cls.top}/{name}") for name in cls.files}

    def test_one_folder_named_as_the_package_holds_exactly_the_room_files(self):
        self.assertEqual(self.top + ".zip", os.path.basename(self.path))
        self.assertTrue(self.top.startswith("ClumaDeck-") and self.top.endswith("-" + self.arch))
        self.assertEqual(self.files, ROOM_FILES)

    def test_the_image_strips_are_the_consoles_own(self):
        for name in ("ipSet.PNG", "help.png"):
            with self.subTest(name):
                with open(os.path.join(self.source, "res", "assets", name), "rb") as f:
                    self.assertEqual(self.content[name], f.read())

    def test_the_example_address_file_is_as_the_set_ip_dialog_writes_it(self):
        self.assertEqual(self.content["localIp.txt"], b"192.168.1.10 ")

    def test_the_readme_opens_in_windows_own_editor_and_covers_the_room(self):
        readme = self.content["README.txt"]
        self.assertEqual(readme.count(b"\n"), readme.count(b"\r\n"), "every line ends in CR LF")
        text = readme.decode("ascii")
        self.assertIn(self.arch, text.splitlines()[0])
        for needed in sorted(ROOM_FILES) + ["korvidVi.exe", "12357", "12341", "service install",
                                            "schtasks"]:
            with self.subTest(needed):
                self.assertIn(needed, text)
        self.assertNotIn("@", text, "every placeholder was filled")
        # The service leads, the task is the fallback; the programs go where users cannot write.
        self.assertLess(text.index("service install"), text.index("schtasks"))
        self.assertNotIn("C:\\ClumaDeck\\", text)

    def test_each_program_is_built_for_the_packages_processor_and_kind_of_window(self):
        for name, subsystem in PROGRAMS.items():
            with self.subTest(name):
                image = PeImage(self.content[name])
                self.assertEqual(image.machine, MACHINES[self.arch])
                if subsystem is not None:
                    self.assertEqual(image.subsystem, subsystem)

    def test_the_programs_load_only_libraries_that_windows_has(self):
        for name in PROGRAMS:
            with self.subTest(name):
                libraries = {lib.lower() for lib in PeImage(self.content[name]).imported_libraries()}
                self.assertIn("kernel32.dll", libraries)
                self.assertEqual(libraries - WINDOWS_LIBRARIES, set())

    def test_the_console_carries_its_dialogs_pictures_icons_and_pen_cursor(self):
        resources = PeImage(self.content["ClumaDeck.exe"]).resources()
        for kind, ident, caption in CONSOLE_RESOURCES:
            with self.subTest(kind=kind, id=ident):
                self.assertIn((kind, ident), resources)
                self.assertGreater(len(resources[(kind, ident)]), 0)
                if caption is not None:
                    self.assertEqual(dialog_caption(resources[(kind, ident)]), caption)

    def test_the_students_window_carries_its_dialog_and_icon_and_asks_for_no_administrator(self):
        resources = PeImage(self.content["ClumaAsk.exe"]).resources()
        self.assertEqual(dialog_caption(resources[(RT_DIALOG, 100)]), "ClumaAsk")
        self.assertIn("Ask the presenter to look at my screen".encode("utf-16-le"),
                      resources[(RT_DIALOG, 100)])
        self.assertGreater(len(resources[(RT_ICON_GROUP, 1)]), 0)
        manifest = resources[(RT_MANIFEST, 1)].decode("utf-8")
        self.assertIn('requestedExecutionLevel level="asInvoker"', manifest)


if __name__ == "__main__":
    unittest.main()
