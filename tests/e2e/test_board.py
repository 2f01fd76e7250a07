"""The annotation board: strokes over the screen, closed by a right click."""

import unittest

from harness import E2ETestCase, wait_until, screenshot, pixel, xdotool, centre

CONSOLE_CLASS = "CLumaDeckDlg"
DRAWIMG = 1013
DRAWIMG_OWNERDRAW = 1006
BOARD_TITLE = "\xc6\xc1\xc4\xbb\xbb\xad\xcd\xbc"  # the board's title, as its GBK bytes
BLUE = (0, 0, 255)


class BoardSteps(E2ETestCase):
    def open_console(self):
        self.app = self.make_app()
        self.process = self.app.start()
        self.console = wait_until(lambda: self.inspector.find_window(cls=CONSOLE_CLASS), 40,
                                  "the console")

    def board(self):
        return self.inspector.find_window(title=BOARD_TITLE)

    def open_board(self, command=DRAWIMG):
        self.inspector.command(self.console.hwnd, command)
        return wait_until(self.board, 10, "the board")

    def screen_when(self, shot, point, drawn, what):
        """Screenshots until the pixel at point is blue (drawn) or not: the board draws and the
        console repaints as their messages arrive, after the X events that caused them."""
        def seen():
            screenshot(shot)
            return (pixel(shot, *point) == BLUE) == drawn
        wait_until(seen, 10, what, interval=0.3)

    def drag(self, points):
        board = self.board()
        wait_until(lambda: self.inspector.takes_click(board.hwnd, *points[0], foreground=False),
                   10, "the board to be ready for the pen")
        xdotool("mousemove", *points[0])
        xdotool("mousedown", 1)
        for point in points[1:]:
            xdotool("mousemove", *point)
        xdotool("mouseup", 1)


class BoardTest(BoardSteps):
    def test_the_first_board_draws_pure_blue_five_pixels_wide_and_a_right_click_wipes_it(self):
        self.open_console()
        board = self.open_board()
        console = self.inspector.find_window(cls=CONSOLE_CLASS)
        self.assertEqual(board.rect, (0, 100, console.rect[2], console.rect[3]))
        self.assertEqual(self.inspector.ask(f"style {board.hwnd}")[0].split("\t")[1], "28")
        location = xdotool_location()
        self.assertEqual(location, (640, 400), "the pointer moves to the middle of the screen")

        self.drag([(300, 300), (400, 300), (500, 300)])
        shot = self.artifact("board-stroke.png")
        self.screen_when(shot, (499, 300), True, "the stroke's last segment drawn")
        self.guide_image("board-stroke.png")
        self.assertEqual(pixel(shot, 400, 300), BLUE)
        column = [pixel(shot, 400, y) for y in range(294, 307)]
        self.assertEqual(sum(1 for colour in column if colour == BLUE), 5, column)

        # Moves with the button up draw nothing; the next stroke starts at its own press.
        xdotool("mousemove", 600, 500)
        xdotool("mousemove", 700, 500)
        self.drag([(300, 600), (320, 600)])
        # Once the second stroke shows, the moves before it have been handled too.
        self.screen_when(shot, (310, 600), True, "the second stroke drawn")
        self.assertNotEqual(pixel(shot, 650, 500), BLUE)
        self.assertNotEqual(pixel(shot, 300, 450), BLUE, "no line from the last stroke's end")
        self.assertEqual(pixel(shot, 310, 600), BLUE)

        self.click_on(board.hwnd, (800, 400), "the board", foreground=False, button=3)
        wait_until(lambda: self.board() is None, 10, "the board to close")
        self.screen_when(shot, (400, 300), False, "the console repainted over the stroke")

    def test_either_drawimg_command_toggles_the_board(self):
        self.open_console()
        self.open_board(DRAWIMG_OWNERDRAW)
        self.inspector.command(self.console.hwnd, DRAWIMG)
        wait_until(lambda: self.board() is None, 10, "the board to close")
        self.open_board(DRAWIMG)
        self.inspector.command(self.console.hwnd, DRAWIMG_OWNERDRAW)
        wait_until(lambda: self.board() is None, 10, "the board to close again")


class BoardColourTest(BoardSteps):
    COLORSEL = 1010
    REF_EDIT = 1112

    def choose_colour(self, ref_text, accept):
        self.inspector.command(self.console.hwnd, self.COLORSEL)
        dialog = wait_until(
            lambda: self.inspector.find_window(cls="#32770", title="Select Colour"), 20,
            "the colour dialog")
        if ref_text is not None:
            ref = self.inspector.child(dialog.hwnd, self.REF_EDIT)
            self.click_on(ref.hwnd, centre(ref.rect), "the colour dialog's Ref edit")
            xdotool("key", "ctrl+a", "End", "shift+Home")
            xdotool("type", "--delay", 50, ref_text)
            wait_until(lambda: self.inspector.child(dialog.hwnd, self.REF_EDIT).text.lower() ==
                       ref_text.lower(), 10, "the typed reference")
            if accept:
                self.guide_image("colour-dialog.png", dialog.rect)
        button = [c for c in self.inspector.children(dialog.hwnd)
                  if c.id == (1 if accept else 2) and c.cls.lower() == "button"][0]
        self.click_on(button.hwnd, centre(button.rect), "the colour dialog's OK or Cancel")
        wait_until(lambda: self.inspector.find_window(cls="#32770", title="Select Colour") is None,
                   10, "the colour dialog to close")

    def stroke_colour(self, y):
        self.open_board()
        self.drag([(300, y), (400, y)])
        shot = self.artifact("board-colour.png")

        def line_drawn():  # one colour along the stroke, another 10 pixels below it
            screenshot(shot)
            along = {pixel(shot, x, y) for x in (340, 350, 360)}
            return len(along) == 1 and pixel(shot, 350, y + 10) not in along
        wait_until(line_drawn, 10, "the stroke drawn", interval=0.3)
        colour = pixel(shot, 350, y)
        self.inspector.command(self.console.hwnd, DRAWIMG)
        wait_until(lambda: self.board() is None, 10, "the board to close")
        return colour

    def test_an_accepted_colour_draws_the_next_board_and_a_cancelled_one_changes_nothing(self):
        self.open_console()
        self.open_board()
        self.choose_colour("00ff00", accept=False)
        self.assertIsNone(self.board(), "the colour command closed the open board")
        self.assertEqual(self.stroke_colour(300), BLUE, "Cancel keeps the pen colour")

        self.choose_colour("00ff00", accept=True)
        self.assertEqual(self.stroke_colour(400), (0, 255, 0))


def xdotool_location():
    import subprocess
    out = subprocess.run(["xdotool", "getmouselocation", "--shell"], capture_output=True,
                         text=True, check=True).stdout
    values = dict(line.split("=") for line in out.split())
    return int(values["X"]), int(values["Y"])


if __name__ == "__main__":
    unittest.main()
