"""Start-up: the splash covers the first probe, then hands over to the console."""

import os
import time
import unittest

from harness import E2ETestCase, wait_until, xdotool, screenshot

SPLASH_CLASS = "#32770"
CONSOLE_CLASS = "CLumaDeckDlg"


class StartupTest(E2ETestCase):
    def splash(self, app_process):
        for window in self.inspector.windows():
            if window.visible and window.cls == SPLASH_CLASS and window.title == "":
                return window
        return None

    def console(self):
        return self.inspector.find_window(cls=CONSOLE_CLASS)

    def test_splash_is_centred_and_the_console_follows_the_first_probe(self):
        agent = self.start_agent(7, "PC-07")
        app = self.make_app()
        process = app.start()
        splash = wait_until(lambda: self.splash(process), 30, "the splash")
        screenshot(self.artifact("startup-splash.png"))
        self.guide_image("splash.png", splash.rect)
        # 1280 x 800 screen: x 390 to 889, y 212 to 587.
        self.assertEqual(splash.rect, (390, 212, 890, 588))
        self.assertIsNone(self.console(), "the console waits for the first probe")

        console = wait_until(self.console, 30, "the console")
        self.assertGreaterEqual(agent.probes(), 1, "the first probe ran while the splash showed")
        self.assertIsNone(self.splash(process), "the splash has ended")
        self.assertTrue(os.path.isdir(self.prefix_path("c:\\log")))
        screenshot(self.artifact("startup-console.png"))
        self.assertIsNone(process.poll())
        self.inspector.close_window(console.hwnd)
        wait_until(lambda: process.poll() is not None, 20, "the program to end with its console")

    def test_a_second_launch_ends_at_once_without_any_window(self):
        app = self.make_app()
        first = app.start()
        wait_until(lambda: self.splash(first) or self.console(), 30, "the first instance's window")
        before = [w for w in self.inspector.windows() if w.visible]
        second = app.start()
        wait_until(lambda: second.poll() is not None, 20, "the second launch to end")
        after = [w for w in self.inspector.windows() if w.visible]
        new_windows = [w for w in after if w.hwnd not in {b.hwnd for b in before}]
        # The first instance may have handed over from its splash to its console meanwhile.
        self.assertTrue(all(w.cls == CONSOLE_CLASS for w in new_windows), new_windows)
        self.assertIsNone(first.poll(), "the first instance goes on undisturbed")

    def test_escape_on_the_splash_ends_the_program_before_any_probe(self):
        agent = self.start_agent(9, "PC-09")
        app = self.make_app()
        process = app.start()
        splash = wait_until(lambda: self.splash(process), 30, "the splash")
        self.bring_forward_by_click(splash.hwnd, (splash.rect[0] + 250, splash.rect[1] + 180),
                                    "the splash")
        xdotool("key", "Escape")
        wait_until(lambda: process.poll() is not None, 20, "the program to end after Escape")
        self.assertEqual(agent.probes(), 0, "no probe was made")
        self.assertIsNone(self.console())


if __name__ == "__main__":
    unittest.main()
