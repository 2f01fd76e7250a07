"""The console: the found machines listed by name over the picture, kept current."""

import time
import unittest

from harness import E2ETestCase, wait_until, screenshot, pixel, xdotool

CONSOLE_CLASS = "CLumaDeckDlg"
NODE_LIST = 1003
SETIP_BUTTON = 1025
HELP_BUTTON = 1026
RESCAN_WAIT = 45  # a rescan every 21 to 22 s, plus a scan under Wine and some slack
# The first listing: a name that missed the splash's scan and the console's first one (the probe
# waits 50 ms for it, a short time on a loaded machine) comes with the rescan after them.
LISTED_WAIT = RESCAN_WAIT


class ConsoleTest(E2ETestCase):
    def open_console(self):
        self.app = self.make_app()
        self.process = self.app.start()
        console = wait_until(lambda: self.inspector.find_window(cls=CONSOLE_CLASS), 40,
                             "the console")
        self.node_list = wait_until(lambda: self.inspector.child(console.hwnd, NODE_LIST), 10,
                                    "the node list")
        return console

    def names(self):
        return sorted(item.text for item in self.inspector.list_items(self.node_list.hwnd))

    def test_lists_the_agents_by_name_over_its_picture(self):
        self.start_agent(11, "Room 4 - PC 01")
        self.start_agent(12, "Room 4 - PC 02")
        self.start_agent(13, "")  # an agent that sends no name
        console = self.open_console()
        wait_until(lambda: self.names() == ["", "Room 4 - PC 01", "Room 4 - PC 02"], LISTED_WAIT,
                   "the three agents in the list")

        client = self.inspector.client_rect(console.hwnd)
        screen_width, screen_height = 1280, 800
        left, top = client[0], client[1]
        list_rect = self.node_list.rect
        self.assertEqual((list_rect[0] - left, list_rect[1] - top), (0, 20))
        self.assertEqual(list_rect[2] - list_rect[0], 170)
        self.assertEqual(list_rect[3] - list_rect[1], screen_height - 40)

        set_ip = self.inspector.child(console.hwnd, SETIP_BUTTON)
        help_button = self.inspector.child(console.hwnd, HELP_BUTTON)
        self.assertTrue(set_ip.visible and help_button.visible)
        self.assertEqual(set_ip.rect[0] - left, screen_width - 160)
        self.assertEqual(help_button.rect[0] - left, screen_width - 80)
        self.assertEqual(set_ip.rect[1] - top, 0)

        shot = self.artifact("console-with-nodes.png")
        screenshot(shot)
        self.guide_image("console.png")
        # The picture's bright blue bar at x 153 to 157 shows through the transparent list.
        bar = pixel(shot, left + 155, top + 600)
        self.assertEqual(bar, (0, 102, 255))

    def test_the_rescan_adds_new_agents_and_drops_stopped_ones(self):
        leaving = self.start_agent(21, "Leaving PC")
        self.open_console()
        wait_until(lambda: self.names() == ["Leaving PC"], LISTED_WAIT, "the first agent listed")
        self.start_agent(22, "Late PC")
        leaving.stop()
        wait_until(lambda: self.names() == ["Late PC"], RESCAN_WAIT,
                   "the rescan to list the new agent and drop the stopped one")

    def test_escape_during_a_rescan_ends_the_program_cleanly(self):
        for host in range(30, 36):
            self.start_agent(host, f"PC-{host}")
        console = self.open_console()
        wait_until(lambda: len(self.names()) == 6, LISTED_WAIT, "the agents listed")
        # The rescan's first scan starts as the console opens and lasts about a second.
        self.bring_forward_by_click(console.hwnd, (700, 400), "the console")
        xdotool("key", "Escape")
        wait_until(lambda: self.process.poll() is not None, 20, "the program to end")
        self.assertEqual(self.process.returncode, 0)
        self.assertIsNone(self.inspector.find_window(cls=CONSOLE_CLASS))


    def test_commands_without_an_action_change_nothing_and_copydata_is_answered(self):
        self.start_agent(14, "PC-14")
        console = self.open_console()
        wait_until(lambda: self.names() == ["PC-14"], LISTED_WAIT, "the agent listed")
        before = [(w.hwnd, w.cls, w.title, w.rect) for w in self.inspector.windows() if w.visible]
        for command in (1000, 1002, 1005, 1011, 1012, 1016, 32776):
            self.inspector.command(console.hwnd, command)
        time.sleep(1)
        after = [(w.hwnd, w.cls, w.title, w.rect) for w in self.inspector.windows() if w.visible]
        self.assertEqual(after, before)
        self.assertIsNone(self.process.poll())
        self.assertEqual(self.inspector.ask(f"copydata {console.hwnd} anything at all")[0], "1")

    def test_enter_ends_the_console_as_escape_does(self):
        console = self.open_console()
        self.bring_forward_by_click(console.hwnd, (700, 400), "the console")
        xdotool("key", "Return")
        wait_until(lambda: self.process.poll() is not None, 20, "the program to end after Enter")
        self.assertEqual(self.process.returncode, 0, "a clean end, not a crash")


if __name__ == "__main__":
    unittest.main()
