"""End-to-end tests of the screens around the board: options, saving and
continuing, high scores, closing, sound and screens of any size."""

import os
import signal
import struct
import time

from board_model import field_text, valid_moves
from checks import check, check_equal
from game_files import HighScores, SavedGame
from gem_reader import GemReader
from geometry import (
    DIALOG_NO, DIALOG_YES, FULL_OPTIONS, FULL_OPTION_FULL_SCREEN, HIGH_SCORES_BACK, OPTIONS, OPTION_BACK,
    OPTION_FULL_SCREEN, OPTION_HIGH_SCORES, OPTION_MUSIC, OPTION_SOUND, QUIT, drawn)
from pictures import block_difference
from steps import (
    changed_cells, check_run_down, continue_game, designed_board, e2e_test, field_of, prompt_shows,
    settings_file, settled_board, start_new_game, to_board_cell)


def options_rows(s, picture, full_screen, music, sound, screen_height=480):
    s.looks_like(picture, 4, *drawn("optionsPanel"), part=(0, 0, 300, 56), screen_height=screen_height)
    s.looks_like(picture, 41 if full_screen else 40, *drawn("fullScreenRow"), others=(40 if full_screen else 41,),
                 screen_height=screen_height)
    s.looks_like(picture, 43 if music else 42, *drawn("musicRow"), others=(42 if music else 43,),
                 screen_height=screen_height)
    s.looks_like(picture, 45 if sound else 44, *drawn("soundRow"), others=(44 if sound else 45,),
                 screen_height=screen_height)


def back_to_the_window(s, music, sound, label):
    """From the full-screen options: their full-screen row, the options in the window, BACK."""
    s.click(FULL_OPTION_FULL_SCREEN)
    s.wait_for_window("640x480")
    s.expect(label, lambda p: options_rows(s, p, 0, music, sound))
    s.click(OPTION_BACK)
    s.expect(label + "-back", s.gone(4, *drawn("optionsPanel"), part=(0, 0, 300, 56)))


@e2e_test
def options(s):
    s.remove("data.inf")
    s.write("menu.inf", settings_file(0, 1, 1))
    start_new_game(s, 41)
    s.click(OPTIONS)
    s.expect("options", lambda p: options_rows(s, p, 0, 1, 1))
    s.click(OPTION_MUSIC)
    s.click(OPTION_SOUND)
    s.expect("switched", lambda p: options_rows(s, p, 0, 0, 0))

    s.click(OPTION_FULL_SCREEN)
    s.wait_for_window("800x600")
    s.expect("full-screen", lambda p: options_rows(s, p, 1, 0, 0, screen_height=600))
    back_to_the_window(s, 0, 0, "windowed")
    settled_board(s, "back")
    s.quit_by_button()
    check_equal(s.settings(), [0, 0, 0], "settings after switching music and sound off")

    # Full screen kept in the settings: the game starts at 800 x 600 and can go back.
    s.write("menu.inf", settings_file(1, 0, 1))
    check_equal(s.start(seed=41), "800x600", "window size when the settings ask for full screen")
    s.click((478, 327))  # NO on the start-up prompt, full-screen layout
    s.click(FULL_OPTIONS)
    s.expect("options-full", lambda p: options_rows(s, p, 1, 0, 1, screen_height=600))
    back_to_the_window(s, 0, 1, "windowed-again")
    s.quit_by_button()
    check_equal(s.settings(), [0, 0, 1], "settings after leaving full screen")


@e2e_test
def save_and_continue(s):
    shipped_settings = s.read("menu.inf")
    s.remove("data.inf", "menu.inf")
    settled = start_new_game(s, 51)
    s.quit_by_button()
    first = s.read("data.inf")
    saved = SavedGame.parse(first)
    reader = GemReader(settled, saved.field())
    check_equal(saved.floor, 555, "floor cell of the saved game")
    check_equal(s.read("menu.inf"), shipped_settings, "settings written by a player who had none")

    # Continue and quit at once: the same file again.
    s.start(seed=52)
    s.expect("prompt", prompt_shows(s))
    s.click(DIALOG_YES)
    check_equal(reader.read(settled_board(s, "continued")), saved.field(), "board shown after continuing")
    s.quit_by_button()
    check(s.read("data.inf") == first, "the saved game changed by continuing it and quitting:\n%s" %
          field_text(s.saved_game().board))

    # A timed game of our own, with a floor value the game must not keep.
    board = designed_board(5)
    continue_game(s, SavedGame(1, 2, 37, 2345, board, floor=0), seed=53)
    started = time.monotonic()
    s.expect("timed-continued", s.showing(26, *drawn("timedMode"), others=(24, 25), part=(12, 8, 96, 24)))
    s.quit_by_button()
    running = time.monotonic() - started + 0.5
    again = s.saved_game()
    check_equal((again.mode, again.level, again.score), (1, 2, 2345), "mode, level and score")
    check_run_down(again.time_left, 37, 2, running, "time left")
    check_equal(again.board, board, "board")
    check_equal(again.floor, 555, "floor cell")


def score_rows(picture, table, top_of_first):
    """The printed name-and-score rows of one high-score table (640 x 480 layout)."""
    rows = []
    for i in range(5):
        text_y = top_of_first - 20 * i
        top = 480 - text_y - 19
        rows.append(picture.crop(288, top, 240, 19))
    return rows


def name_typed(s, before):
    """A check for expect: the name entry shows something else than `before`, the same in two screenshots
    in a row (so that every frame the keys were held for is drawn)."""
    x, y, w, h = drawn("nameEntryPanel")
    last = []

    def checks(picture):
        shown = picture.crop(x, 480 - y - h, w, h)
        steady = bool(last) and shown.pixels == last[-1]
        last.append(shown.pixels)
        check(shown.pixels != before.crop(x, 480 - y - h, w, h).pixels and steady, "the name did not change")
    return checks


@e2e_test
def high_score_entry(s):
    shipped = s.read("hiscores")
    defaults = HighScores.parse(shipped)
    timed = defaults.tables[1]
    check(timed[2][1] + 1 < timed[1][1], "the shipped timed table leaves no room between its 2nd and 3rd entry")
    new_score = timed[2][1] + 1

    # The table as shown before the game.
    s.remove("data.inf")
    s.write("menu.inf", settings_file(0, 0, 0))
    s.start(seed=61)  # no saved game: a new game at once
    s.click(OPTIONS)
    s.expect("options", s.showing(4, *drawn("optionsPanel"), part=(0, 0, 300, 56)))
    s.click(OPTION_HIGH_SCORES)
    before = s.expect("scores-before", s.showing(78, *drawn("highScoresPanel"), part=(0, 0, 345, 40)))
    s.close_request()
    s.wait_for_exit()

    board = designed_board(6)
    continue_game(s, SavedGame(1, 9, 2, new_score, board), seed=62)
    s.expect("waiting-for-name-entry", s.showing(38, *drawn("nameEntryPanel"), part=(0, 0, 300, 90)))
    # Two letters held together, one more, a Backspace, Enter.
    for keys in ("a b", "c", "BackSpace"):
        s.key(keys, name_typed(s, s.shot("name-before")), "name-typed")
    s.key("Return", s.showing(78, *drawn("highScoresPanel"), part=(0, 0, 345, 40)), "scores-after")
    after = s.wait_settled("scores-after", box=(0, 0, 640, 480))

    expected = timed[:2] + [("Ab$$$$$$$", new_score)] + timed[2:4]
    scores = HighScores.parse(s.read_when("hiscores", lambda data: data != shipped))
    check_equal(scores.tables[0], defaults.tables[0], "levels table")
    check_equal(scores.tables[1], expected, "timed table")

    # The view lists the new entry in the third row and moves the old ones down.
    old = score_rows(before, 1, 190)
    new = score_rows(after, 1, 190)
    for i in (0, 1):
        check(block_difference(old[i], new[i], 2) < 6, "timed row %d changed in the view" % i)
    check(block_difference(old[2], new[2], 2) > 6, "the view does not show the new entry in timed row 2")
    levels_old = score_rows(before, 0, 343)
    levels_new = score_rows(after, 0, 343)
    for i in range(5):
        check(block_difference(levels_old[i], levels_new[i], 2) < 6, "levels row %d changed in the view" % i)
    s.click(HIGH_SCORES_BACK)
    s.expect("back", s.gone(78, *drawn("highScoresPanel"), part=(0, 0, 345, 40)))
    s.quit_by_button()
    check_equal(HighScores.parse(s.read("hiscores")).tables, scores.tables, "high scores after quitting")


@e2e_test
def close_request_and_sigterm(s):
    s.write("menu.inf", settings_file(0, 0, 1))
    board = designed_board(7)
    continue_game(s, SavedGame(0, 2, 0, 1777, board, floor=0))
    settled_board(s, "continued")
    s.close_request()
    check_equal(s.wait_for_exit(), 0, "exit status after the close request")
    check(s.read("data.inf") == SavedGame(0, 2, 0, 1777, board).encode(), "saved game after the close request")
    check_equal(s.settings(), [0, 0, 1], "settings after the close request")

    board = designed_board(8)
    s.write("menu.inf", settings_file(0, 1, 0))
    continue_game(s, SavedGame(0, 4, 0, 6000, board, floor=0))
    settled_board(s, "continued-again")
    s.game.send_signal(signal.SIGTERM)
    check_equal(s.wait_for_exit(), 0, "exit status after SIGTERM")
    check(s.read("data.inf") == SavedGame(0, 4, 0, 6000, board).encode(), "saved game after SIGTERM")
    check_equal(s.settings(), [0, 1, 0], "settings after SIGTERM")


def play_a_little(s, board):
    """Continue, one move by two clicks, the options screen and back, quit."""
    continue_game(s, SavedGame(0, 0, 0, 0, board), audio="disk",
                  extra_env={"SDL_DISKAUDIOFILE": s.path("audio.raw")})
    before = settled_board(s, "continued", steady=2)
    a, b = valid_moves(field_of(board))[0]
    s.click_cell(*to_board_cell(a))
    s.click_cell(*to_board_cell(b))
    s.expect("moved", lambda picture: check(changed_cells(before, picture), "the move did not show"))
    settled_board(s, "moved", steady=2)
    s.click(OPTIONS)
    s.expect("options", s.showing(4, *drawn("optionsPanel"), part=(0, 0, 300, 56)))
    s.click(OPTION_BACK)
    s.expect("back", s.gone(4, *drawn("optionsPanel"), part=(0, 0, 300, 56)))
    s.quit_by_button()
    data = s.read("audio.raw")
    samples = struct.unpack("<%dh" % (len(data) // 2), data[:len(data) // 2 * 2])
    return samples


@e2e_test
def sound(s):
    board = designed_board(9)
    s.write("menu.inf", settings_file(0, 1, 1))
    samples = play_a_little(s, board)
    check(len(samples) > 44100, "less than half a second of sound was written: %d samples" % len(samples))
    loud = sum(1 for v in samples if abs(v) > 1000)
    check(max(abs(v) for v in samples) > 3000 and loud > 2000,
          "the game was not heard with music and sound on (%d loud samples)" % loud)

    s.write("menu.inf", settings_file(0, 0, 0))
    os.remove(s.path("audio.raw"))
    samples = play_a_little(s, board)
    check(len(samples) > 44100, "less than half a second of sound was written: %d samples" % len(samples))
    check_equal(max(abs(v) for v in samples), 0, "loudest sample with music and sound off")


def shown_at(fit, point):
    """The screen point where layout point (x, y) is drawn, for a layout shown at fit (left, top, scale)."""
    left, top, scale = fit
    return (left + int((point[0] + 0.5) * scale), top + int((point[1] + 0.5) * scale))


def border_is_night(picture, x, y):
    """The theme's night blue (7, 10, 30), as a 16-bit framebuffer may round it."""
    r, g, b = picture.pixel(x, y)
    return abs(r - 7) <= 8 and abs(g - 10) <= 8 and abs(b - 30) <= 8


@e2e_test
def any_screen(s):
    """A 1920 x 1080 desktop: the window opens at twice the layout, is resized by hand, goes full
    screen with F11 and the options row and back with Alt+Enter; buttons are clicked where they show."""
    s.remove("data.inf")
    s.write("menu.inf", settings_file(0, 0, 0))
    check_equal(s.start(seed=61), "1280x960", "window size on a 1080p desktop")
    twice = (0, 0, 2)
    s.click(shown_at(twice, OPTIONS))
    s.expect("options-2x", s.showing(4, 265, 150, 300, 330, part=(0, 0, 300, 56), fit=twice))

    # Dragged to 1000 x 700: 933 x 700 of picture, 34 pixels of border on the left.
    s.x("xdotool", "windowsize", "--sync", s.window_id(), "1000", "700")
    odd = (34, 0, 700 / 480)

    def resized(shot):
        check(border_is_night(shot, 10, 350) and border_is_night(shot, 990, 350),
              "the borders of the resized window are %s and %s" % (shot.pixel(10, 350), shot.pixel(990, 350)))
        s.looks_like(shot, 4, 265, 150, 300, 330, part=(0, 0, 300, 56), fit=odd)
    s.expect("resized", resized)
    s.click(shown_at(odd, OPTION_BACK))
    s.expect("back-resized", s.gone(4, 265, 150, 300, 330, part=(0, 0, 300, 56), fit=odd))

    # F11: the whole display, the full-screen layout scaled by 1.8 between borders of 240.
    s.key("F11")
    s.wait_for_window("1920x1080")
    full = (240, 0, 1.8)
    s.click(shown_at(full, FULL_OPTIONS))

    def full_options(shot):
        check(border_is_night(shot, 100, 540) and border_is_night(shot, 1820, 540), "the borders in full screen")
        s.looks_like(shot, 4, 265, 150, 300, 330, part=(0, 0, 300, 56), screen_height=600, fit=full)
        s.looks_like(shot, 41, 287, 350, 256, 32, others=(40,), screen_height=600, fit=full)
    s.expect("options-full", full_options)
    # The full-screen row of the options goes back to the window as it was.
    s.click(shown_at(full, FULL_OPTION_FULL_SCREEN))
    s.wait_for_window("1000x700")
    s.expect("options-back", s.showing(40, 287, 350, 256, 32, others=(41,), fit=odd))
    # Alt+Enter there and back.
    for size in ("1920x1080", "1000x700"):
        s.key("alt+Return")
        s.wait_for_window(size)
    s.click(shown_at(odd, OPTION_BACK))
    s.expect("back-again", s.gone(4, 265, 150, 300, 330, part=(0, 0, 300, 56), fit=odd))
    s.click(shown_at(odd, QUIT))
    s.expect("confirm-quit", s.showing(3, 265, 240, 300, 150, others=(30, 52), part=(0, 0, 300, 96), fit=odd))
    s.click(shown_at(odd, DIALOG_YES))
    check_equal(s.wait_for_exit(), 0, "exit status after quit")
    check_equal(s.settings(), [0, 0, 0], "settings after coming back to the window")
