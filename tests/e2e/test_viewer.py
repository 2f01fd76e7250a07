"""Watching a node: a double click starts its viewer or brings it forward; the exit command.
The real viewer shows the screen the PC serves and passes a click on to it."""

import os
import pathlib
import stat
import subprocess
import time
import unittest

from harness import WINE, E2ETestCase, wait_until, centre, pixel, screenshot, wine_env, xdotool
from test_screen import QUARTERS, Output

CONSOLE_CLASS = "CLumaDeckDlg"
VIEWER_CLASS = "VNCMDI_Window"
MAGNIFIER_CLASS = "ClumaMagnifierStandIn"
NODE_LIST = 1003
EXIT_COMMAND = 1015
ZOOM_COMMAND = 1014
HELP_BUTTON = 1026
PARAMETERS = " /password fernway_417 /encoding ultra2"
GUARD_GAP = 0.7  # seconds between double clicks, past the console's 500 ms guard
SCREEN = (1280, 800)  # the test display's size: the frame the screen server serves


def fitted(client, frame):
    """Where a point of the served screen shows in a viewer that fits the frame to its client
    area with the aspect kept, centred."""
    left, top, right, bottom = client
    width, height = right - left, bottom - top
    if width * frame[1] <= height * frame[0]:
        shown_w, shown_h = width, width * frame[1] // frame[0]
    else:
        shown_w, shown_h = height * frame[0] // frame[1], height
    x0, y0 = left + (width - shown_w) // 2, top + (height - shown_h) // 2
    return lambda point: (x0 + point[0] * shown_w // frame[0], y0 + point[1] * shown_h // frame[1])


def near(colour, expected, tolerance=12):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


class ViewerTest(E2ETestCase):
    def open_console(self, names, extra_env=None, real_viewer=False):
        self.app = self.make_app(real_viewer=real_viewer)
        self.process = self.app.start(extra_env)
        self.console = wait_until(lambda: self.inspector.find_window(cls=CONSOLE_CLASS), 40,
                                  "the console")
        self.node_list = self.inspector.child(self.console.hwnd, NODE_LIST)
        wait_until(lambda: self.listed(names), 30, f"{names} in the node list")
        # The rescan that starts with the console rewrites the list about a second later; a
        # double click while it does is lost. The rewrite empties the list, which drops every
        # selection, then lists the nodes again: a selection made now is gone once the rewrite
        # has begun, and every name is back once it has ended (the next one is 20 s away).
        self.inspector.ask(f"select {self.node_list.hwnd} 0")
        wait_until(lambda: self.listed(names, selected=False), 30,
                   "the rescan's first rewrite of the node list to end")
        return self.console

    def items(self):
        return self.inspector.list_items(self.node_list.hwnd)

    def listed(self, names, selected=None):
        """Whether the list shows exactly these names (in any order: the probe threads
        append concurrently), and, when selected is False, none of them selected."""
        items = self.items()
        return sorted(i.text for i in items) == sorted(names) and not (
            selected is False and any(i.selected for i in items))

    def item_point(self, text, nth=0):
        # A later rescan's rewrite may have the list empty for a moment.
        matching = wait_until(lambda: [item for item in self.items() if item.text == text][nth:],
                              10, f"{text} in the node list")
        x, y = centre(matching[0].rect)
        return x, y - 10  # on the icon, above the label

    def double_click_item(self, text, nth=0):
        # The list need not be in front: the first click brings the console forward.
        self.double_click_on(self.node_list.hwnd, self.item_point(text, nth),
                             f"the node list's {text}", foreground=False)
        time.sleep(GUARD_GAP)  # a presenter's pace: the next double click is past the guard

    def bring_console_forward(self):
        self.bring_forward_by_click(self.console.hwnd, (640, 700), "the console")

    def viewers(self):
        return [w for w in self.inspector.windows() if w.cls == VIEWER_CLASS and w.visible]

    def test_double_clicks_start_one_viewer_then_bring_it_forward(self):
        self.start_agent(7, "PC-07")
        self.open_console(["PC-07"])
        self.double_click_item("PC-07")
        viewer = wait_until(lambda: self.viewers(), 20, "the viewer window")[0]
        self.assertEqual(viewer.title, "PC-07 ")
        self.assertEqual([p for _, p in self.app.launches()], ["127.0.0.7" + PARAMETERS])

        self.bring_console_forward()
        self.double_click_item("PC-07")
        wait_until(lambda: self.inspector.foreground()[1] == VIEWER_CLASS, 10,
                   "the viewer to come to the foreground")
        # The double click's handler brought the viewer forward instead of starting one.
        self.assertEqual(len(self.inspector.processes("korvidVi.exe")), 1, "no second viewer")
        self.assertEqual(len(self.app.launches()), 1, "no second viewer starts")
        self.assertEqual(len(self.viewers()), 1)

    def start_windows_program(self, path):
        process = subprocess.Popen([WINE, path], stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL, env=wine_env())

        def stop():
            if process.poll() is None:
                process.kill()
            process.wait()
            process.stdout.close()
        self.addCleanup(stop)
        return Output(process)

    def test_the_real_viewer_shows_the_served_screen_and_passes_a_click_on(self):
        # The student's PC: its agent, the console it remembers (the address the test's console
        # connects from) and its screen server.
        self.start_agent(7, "PC-07")
        state = self.prefix_path("c:\\ProgramData\\ClumaDeck\\agent-state.txt")
        os.makedirs(os.path.dirname(state), exist_ok=True)
        with open(state, "wb") as f:
            f.write(b"console 127.0.0.1\nlocal 127.0.0.7\n")
        self.addCleanup(os.remove, state)
        self.start_windows_program(os.path.join(self.win_build, "bin", "cluma-screen.exe")) \
            .wait_for("cluma-screen: serving the screen", 30, "the screen server")
        self.open_console(["PC-07"], real_viewer=True)
        # The viewer is the console's process, not the test's: ended whatever happens.
        self.addCleanup(lambda: [self.inspector.ask(f"kill {pid}")
                                 for pid in self.inspector.processes("korvidVi.exe")])

        self.double_click_item("PC-07")
        viewer = wait_until(lambda: self.viewers(), 20, "the viewer window")[0]
        self.assertEqual(viewer.title, "PC-07 ")
        # A window on the PC's screen, opened after the double click has raised the console, so
        # in front of it; the viewer beside it, so that its picture of the window is not hidden.
        self.inspector.move(viewer.hwnd, 560, 0, 720, 540)
        window = self.start_windows_program(
            os.path.join(self.win_build, "tests", "fakes", "pattern-window.exe"))
        left, top, right, bottom = map(int, window.wait_for("ready", 30, "the pattern").split()[1:])
        button = [int(v) for v in window.wait_for("button", 5, "the button").split()[1:]]
        shown = fitted(self.inspector.client_rect(viewer.hwnd), SCREEN)
        quarter = (right - left) // 4
        centres = [shown(point) for point in
                   ((left + quarter, top + quarter), (right - quarter, top + quarter),
                    (left + quarter, bottom - quarter), (right - quarter, bottom - quarter))]
        shot = self.artifact("viewer-pattern.png")

        def pattern_shown():
            screenshot(shot)
            return all(near(pixel(shot, *point), colour)
                       for point, colour in zip(centres, QUARTERS))
        wait_until(pattern_shown, 30, "the served pattern in the viewer's window", interval=0.5)

        self.click_on(viewer.hwnd, shown(centre(button)), "the button in the viewer's picture",
                      foreground=False)
        window.wait_for("pressed", 15, "the click in the viewer to press the button")

        self.bring_console_forward()
        self.double_click_item("PC-07")
        wait_until(lambda: self.inspector.foreground()[1] == VIEWER_CLASS, 10,
                   "the viewer to come to the foreground")
        self.assertEqual(len(self.inspector.processes("korvidVi.exe")), 1, "no second viewer")
        self.inspector.command(self.console.hwnd, EXIT_COMMAND)
        wait_until(lambda: not self.inspector.processes("korvidVi.exe"), 20,
                   "the exit command to end the viewer")

    def test_a_window_of_another_program_with_the_title_is_brought_forward_instead(self):
        self.start_agent(8, "PC-08")
        self.open_console(["PC-08"])
        self.app.start_standin("127.0.0.8", window_class="OtherProgram")
        wait_until(lambda: self.inspector.find_window(cls="OtherProgram", title="PC-08 "), 20,
                   "the other program's window")
        self.bring_console_forward()
        self.double_click_item("PC-08")
        wait_until(lambda: self.inspector.foreground()[1] == "OtherProgram", 10,
                   "the other program's window to come forward")
        self.assertEqual(len(self.app.launches()), 1, "only the test's own start")

    def test_a_double_double_click_starts_one_viewer(self):
        # Two double clicks 160 ms apart: the console's guard lets only the first act.
        self.start_agent(47, "PC-47")
        self.start_agent(48, "PC-48")
        self.open_console(["PC-47", "PC-48"])
        point = self.item_point("PC-47")
        wait_until(lambda: self.inspector.takes_click(self.node_list.hwnd, *point), 10,
                   "the node list to be ready for clicks")
        xdotool("mousemove", *point)
        xdotool("click", "--repeat", 4, "--delay", 80, 1)
        # The console handles its input in order: once a click on the other node has selected
        # it, both double clicks have been handled, and a viewer each started would be a
        # process by now.
        self.click_on(self.node_list.hwnd, self.item_point("PC-48"), "the node list",
                      foreground=False)
        wait_until(lambda: [i.text for i in self.items() if i.selected] == ["PC-48"], 10,
                   "the click on PC-48 to be handled")
        wait_until(lambda: self.app.launches(), 20, "the viewer to start")
        self.assertEqual(len(self.inspector.processes("korvidVi.exe")), 1)
        self.assertEqual([p for _, p in self.app.launches()], ["127.0.0.47" + PARAMETERS])

    def test_two_nodes_with_one_name_resolve_to_the_first_in_the_registry(self):
        self.start_agent(5, "Twin")
        self.start_agent(200, "Twin")  # probed later in its block: appended after host 5
        self.open_console(["Twin", "Twin"])
        self.double_click_item("Twin", nth=1)
        wait_until(lambda: self.app.launches(), 20, "a viewer start")
        self.assertEqual(self.app.launches()[0][1], "127.0.0.5" + PARAMETERS)

    def test_a_node_gone_from_the_registry_gives_the_busy_message(self):
        self.start_agent(9, "PC-09")
        self.open_console(["PC-09"])
        # An item the list still shows although its node no longer answered the probe.
        self.inspector.insert_item(self.node_list.hwnd, 1, "Gone PC")
        self.double_click_item("Gone PC")
        box = wait_until(lambda: self.inspector.find_window(cls="#32770", title="ClumaDeck"), 10,
                         "the busy message")
        texts = [c.text for c in self.inspector.children(box.hwnd) if c.cls == "Static"]
        self.assertIn("Network is bussy now ,please try again", texts)
        self.inspector.close_window(box.hwnd)
        self.assertEqual(self.app.launches(), [], "nothing starts")

    def test_exit_closes_every_viewer_and_leaves_other_windows_alone(self):
        for host in (41, 42, 43):
            self.start_agent(host, f"PC-{host}")
        self.open_console(["PC-41", "PC-42", "PC-43"])
        for host in (41, 42, 43):
            self.double_click_item(f"PC-{host}")
        wait_until(lambda: len(self.viewers()) == 3, 30, "three viewers")
        self.app.start_standin("127.0.0.41", window_class="OtherProgram")
        wait_until(lambda: self.inspector.find_window(cls="OtherProgram"), 20,
                   "another program's window with a viewer's title")

        self.inspector.command(self.console.hwnd, EXIT_COMMAND)
        wait_until(lambda: self.process.poll() is not None, 20, "the program to end")
        self.assertEqual(self.process.returncode, 0, "a clean end, not a crash")
        wait_until(lambda: not self.viewers(), 10, "the viewers to close")
        self.assertIsNotNone(self.inspector.find_window(cls="OtherProgram"))

    def test_exit_leaves_a_class_that_differs_only_in_case_alone(self):
        # Class names are atoms whose spelling is the first registration's, so the look-alike
        # runs without real viewers beside it.
        self.start_agent(46, "PC-46")
        self.open_console(["PC-46"])
        self.app.start_standin("127.0.0.46", window_class="vncmdi_window")
        wait_until(lambda: self.inspector.find_window(cls="vncmdi_window"), 20,
                   "the look-alike window")
        self.inspector.command(self.console.hwnd, EXIT_COMMAND)
        wait_until(lambda: self.process.poll() is not None, 20, "the program to end")
        self.assertEqual(self.process.returncode, 0, "a clean end, not a crash")
        # The program has ended, so its walk over the windows is over.
        self.assertIsNotNone(self.inspector.find_window(cls="vncmdi_window"))

    def test_a_viewer_that_never_answers_does_not_hold_the_exit(self):
        self.start_agent(44, "Hung PC")
        self.open_console(["Hung PC"], extra_env={"CLUMA_VIEWER_IGNORES_CLOSE": "1"})
        self.double_click_item("Hung PC")
        wait_until(lambda: self.viewers(), 20, "the hung viewer")
        self.inspector.command(self.console.hwnd, EXIT_COMMAND)
        # Each viewer window gets at most 3 s; one hung viewer ends the exit within that.
        wait_until(lambda: self.process.poll() is not None, 15,
                   "the program to end despite the hung viewer")
        self.assertEqual(self.process.returncode, 0, "a clean end, not a crash")

    def test_magnifier_and_help_page(self):
        record = os.path.join(self.folder, "browser.txt")
        browser = os.path.join(self.folder, "record-browser.sh")
        with open(browser, "w") as f:
            f.write(f"#!/bin/sh\necho \"$@\" >> '{record}'\n")
        os.chmod(browser, stat.S_IRWXU)
        self.set_browser(browser)
        self.start_agent(45, "PC-45")
        console = self.open_console(["PC-45"])
        self.inspector.command(console.hwnd, ZOOM_COMMAND)
        wait_until(lambda: self.app.launches("magnify"), 20, "the magnifier to start")
        self.assertEqual(self.app.launches("magnify")[0][1], "")
        # The magnifier records its start before it opens its window; a window that opens and
        # takes the focus while the button is held down cancels the press, as on Windows.
        wait_until(lambda: self.inspector.foreground()[1] == MAGNIFIER_CLASS, 20,
                   "the magnifier's window in front")

        help_button = self.inspector.child(console.hwnd, HELP_BUTTON)
        self.click_on(help_button.hwnd, centre(help_button.rect), "the help button",
                      foreground=False)
        # The browser's record exists from the moment its shell opens it, before the address
        # is written: wait for the line.
        opened = wait_until(lambda: os.path.exists(record) and pathlib.Path(record).read_text(), 40,
                            "the help page to be opened")
        self.assertIn("https://www.clumadeck.com/velmora/installAndSet.html", opened)


if __name__ == "__main__":
    unittest.main()
