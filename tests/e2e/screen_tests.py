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
    board_shown, check_run_down, continue_game, designed_board, e2e_test, field_of, settings_file,
    start_new_game, to_board_cell)


def options_rows(s, picture, full_screen, music, sound, screen_height=480):
    s.looks_like(picture, 4, *drawn("optionsPanel"), part=(0, 0, 300, 56), screen_height=screen_height)
    s.looks_like(picture, 41 if full_screen else 40, *drawn("fullScreenRow"), others=(40 if full_screen else 41,),
                 screen_height=screen_height)
    s.looks_like(picture, 43 if music else 42, *drawn("musicRow"), others=(42 if music else 43,),
                 screen_height=screen_height)
    s.looks_like(picture, 45 if sound else 44, *drawn("soundRow"), others=(44 if sound else 45,),
                 screen_height=screen_height)


@e2e_test
def options(s):
    s.remove("data.inf")
    s.write("menu.inf", settings_file(0, 1, 1))
    start_new_game(s, 41)
    s.click(OPTIONS, settle=0.4)
    options_rows(s, s.shot("options"), 0, 1, 1)
    s.click(OPTION_MUSIC, settle=0.3)
    s.click(OPTION_SOUND, settle=0.3)
    options_rows(s, s.shot("switched"), 0, 0, 0)

    s.click(OPTION_FULL_SCREEN, settle=1.0)
    s.wait_for_window()
    check_equal(s.geometry(), "800x600", "window size after the full-screen switch")
    options_rows(s, s.shot("full-screen"), 1, 0, 0, screen_height=600)
    s.click(FULL_OPTION_FULL_SCREEN, settle=1.0)
    s.wait_for_window()
    check_equal(s.geometry(), "640x480", "window size after switching back")
    options_rows(s, s.shot("windowed"), 0, 0, 0)

    s.click(OPTION_BACK, settle=0.4)
    board = s.wait_settled("back")
    check(not board_shown(board), "the board does not show after the options")
    check(s.looks_like(board, 4, *drawn("optionsPanel"), part=(0, 0, 300, 56), limit=1000) > 24,
          "the options stay after BACK")
    s.quit_by_button()
    check_equal(s.settings(), [0, 0, 0], "settings after switching music and sound off")

    # Full screen kept in the settings: the game starts at 800 x 600 and can go back.
    s.write("menu.inf", settings_file(1, 0, 1))
    s.start(seed=41)
    check_equal(s.geometry(), "800x600", "window size when the settings ask for full screen")
    s.click((478, 327), settle=0.5)  # NO on the start-up prompt, full-screen layout
    s.click(FULL_OPTIONS, settle=0.4)
    options_rows(s, s.shot("options-full"), 1, 0, 1, screen_height=600)
    s.click(FULL_OPTION_FULL_SCREEN, settle=1.0)
    s.wait_for_window()
    check_equal(s.geometry(), "640x480", "window size after leaving full screen")
    s.click(OPTION_BACK, settle=0.4)
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
    s.click(DIALOG_YES, settle=0.5)
    check_equal(reader.read(s.wait_settled("continued")), saved.field(), "board shown after continuing")
    s.quit_by_button()
    check(s.read("data.inf") == first, "the saved game changed by continuing it and quitting:\n%s" %
          field_text(s.saved_game().board))

    # A timed game of our own, with a floor value the game must not keep.
    board = designed_board(5)
    continue_game(s, SavedGame(1, 2, 37, 2345, board, floor=0), seed=53)
    started = time.monotonic()
    shown = s.wait_settled("timed-continued", steady=2)
    s.looks_like(shown, 26, *drawn("timedMode"), others=(24, 25), part=(12, 8, 96, 24))
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


@e2e_test
def high_score_entry(s):
    defaults = HighScores.parse(s.read("hiscores"))
    timed = defaults.tables[1]
    check(timed[2][1] + 1 < timed[1][1], "the shipped timed table leaves no room between its 2nd and 3rd entry")
    new_score = timed[2][1] + 1

    # The table as shown before the game.
    s.remove("data.inf")
    s.write("menu.inf", settings_file(0, 0, 0))
    s.start(seed=61)  # no saved game: a new game at once
    s.click(OPTIONS, settle=0.4)
    s.click(OPTION_HIGH_SCORES, settle=0.5)
    before = s.shot("scores-before")
    s.looks_like(before, 78, *drawn("highScoresPanel"), part=(0, 0, 345, 40))
    s.close_request()
    s.wait_for_exit()

    board = designed_board(6)
    continue_game(s, SavedGame(1, 9, 2, new_score, board), seed=62)
    deadline = time.monotonic() + 40
    while True:
        check(time.monotonic() < deadline, "no name entry within 40 s of a timed game running out")
        entry = s.shot("waiting-for-name-entry")
        if s.looks_like(entry, 38, *drawn("nameEntryPanel"), part=(0, 0, 300, 90), limit=1000) < 24:
            break
        time.sleep(0.5)
    # Two letters held together, one more, a Backspace, Enter.
    s.x("xdotool", "keydown", "--delay", "0", "a", "b")
    time.sleep(0.3)
    s.x("xdotool", "keyup", "--delay", "0", "a", "b")
    time.sleep(0.2)
    s.key("c")
    s.key("BackSpace")
    s.shot("name-typed")
    s.key("Return")
    time.sleep(0.5)
    after = s.shot("scores-after")
    s.looks_like(after, 78, *drawn("highScoresPanel"), part=(0, 0, 345, 40))

    scores = HighScores.parse(s.read("hiscores"))
    check_equal(scores.tables[0], defaults.tables[0], "levels table")
    expected = timed[:2] + [("Ab$$$$$$$", new_score)] + timed[2:4]
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
    s.click(HIGH_SCORES_BACK, settle=0.5)
    s.quit_by_button()
    check_equal(HighScores.parse(s.read("hiscores")).tables, scores.tables, "high scores after quitting")


@e2e_test
def close_request_and_sigterm(s):
    s.write("menu.inf", settings_file(0, 0, 1))
    board = designed_board(7)
    continue_game(s, SavedGame(0, 2, 0, 1777, board, floor=0))
    s.wait_settled("continued")
    s.close_request()
    check_equal(s.wait_for_exit(), 0, "exit status after the close request")
    check(s.read("data.inf") == SavedGame(0, 2, 0, 1777, board).encode(), "saved game after the close request")
    check_equal(s.settings(), [0, 0, 1], "settings after the close request")

    board = designed_board(8)
    s.write("menu.inf", settings_file(0, 1, 0))
    continue_game(s, SavedGame(0, 4, 0, 6000, board, floor=0))
    s.wait_settled("continued-again")
    s.game.send_signal(signal.SIGTERM)
    check_equal(s.wait_for_exit(), 0, "exit status after SIGTERM")
    check(s.read("data.inf") == SavedGame(0, 4, 0, 6000, board).encode(), "saved game after SIGTERM")
    check_equal(s.settings(), [0, 1, 0], "settings after SIGTERM")


def play_a_little(s, board):
    """Continue, one move by two clicks, the options screen and back, quit."""
    continue_game(s, SavedGame(0, 0, 0, 0, board), audio="disk",
                  extra_env={"SDL_DISKAUDIOFILE": s.path("audio.raw")})
    s.wait_settled("continued", steady=2)
    a, b = valid_moves(field_of(board))[0]
    s.click_cell(*to_board_cell(a))
    s.click_cell(*to_board_cell(b))
    s.wait_settled("moved", steady=2)
    s.click(OPTIONS, settle=0.4)
    s.click(OPTION_BACK, settle=0.4)
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


def shot_showing(s, label, number, x, y, w, h, timeout=15, **where):
    """Screenshots until the overlay picture `number` shows at (x, y, w, h), for a loaded machine."""
    deadline = time.monotonic() + timeout
    while True:
        shot = s.shot(label)
        if s.looks_like(shot, number, x, y, w, h, limit=1000, **where) < 24 or time.monotonic() > deadline:
            return shot
        time.sleep(0.4)


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
    s.start(seed=61)
    check_equal(s.geometry(), "1280x960", "window size on a 1080p desktop")
    twice = (0, 0, 2)
    s.click(shown_at(twice, OPTIONS), settle=0.4)
    shot = shot_showing(s, "options-2x", 4, 265, 150, 300, 330, part=(0, 0, 300, 56), fit=twice)
    s.looks_like(shot, 4, 265, 150, 300, 330, part=(0, 0, 300, 56), fit=twice)

    # Dragged to 1000 x 700: 933 x 700 of picture, 34 pixels of border on the left.
    s.x("xdotool", "search", "--onlyvisible", "--name", "^Vortiq$", "windowsize", "--sync", "1000", "700")
    odd = (34, 0, 700 / 480)
    deadline = time.monotonic() + 15
    while True:
        time.sleep(0.5)
        shot = s.shot("resized")
        if border_is_night(shot, 10, 350) and border_is_night(shot, 990, 350) or time.monotonic() > deadline:
            break
    check(border_is_night(shot, 10, 350) and border_is_night(shot, 990, 350),
          "the borders of the resized window are %s and %s" % (shot.pixel(10, 350), shot.pixel(990, 350)))
    s.looks_like(shot, 4, 265, 150, 300, 330, part=(0, 0, 300, 56), fit=odd)
    s.click(shown_at(odd, OPTION_BACK), settle=0.4)
    board = s.wait_settled("back-resized")
    check(s.looks_like(board, 4, 265, 150, 300, 330, part=(0, 0, 300, 56), fit=odd, limit=1000) > 24,
          "the options stay after BACK in the resized window")

    # F11: the whole display, the full-screen layout scaled by 1.8 between borders of 240.
    s.key("F11", hold=0.1)
    time.sleep(1.0)
    s.wait_for_window()
    check_equal(s.geometry(), "1920x1080", "window size in full screen")
    full = (240, 0, 1.8)
    s.click(shown_at(full, FULL_OPTIONS), settle=0.4)
    shot = shot_showing(s, "options-full", 4, 265, 150, 300, 330, part=(0, 0, 300, 56), screen_height=600,
                        fit=full)
    check(border_is_night(shot, 100, 540) and border_is_night(shot, 1820, 540), "the borders in full screen")
    s.looks_like(shot, 4, 265, 150, 300, 330, part=(0, 0, 300, 56), screen_height=600, fit=full)
    s.looks_like(shot, 41, 287, 350, 256, 32, others=(40,), screen_height=600, fit=full)
    # The full-screen row of the options goes back to the window as it was.
    s.click(shown_at(full, FULL_OPTION_FULL_SCREEN), settle=1.0)
    s.wait_for_window()
    check_equal(s.geometry(), "1000x700", "window size after leaving full screen")
    shot = shot_showing(s, "options-back", 40, 287, 350, 256, 32, fit=odd)
    s.looks_like(shot, 40, 287, 350, 256, 32, others=(41,), fit=odd)
    # Alt+Enter there and back.
    s.key("alt+Return", hold=0.1)
    time.sleep(1.0)
    s.wait_for_window()
    check_equal(s.geometry(), "1920x1080", "window size after Alt+Enter")
    s.key("alt+Return", hold=0.1)
    time.sleep(1.0)
    s.wait_for_window()
    check_equal(s.geometry(), "1000x700", "window size after Alt+Enter again")
    s.click(shown_at(odd, OPTION_BACK), settle=0.4)
    s.click(shown_at(odd, QUIT), settle=0.4)
    shot = shot_showing(s, "confirm-quit", 3, 265, 240, 300, 150, part=(0, 0, 300, 96), fit=odd)
    s.looks_like(shot, 3, 265, 240, 300, 150, others=(30, 52), part=(0, 0, 300, 96), fit=odd)
    s.click(shown_at(odd, DIALOG_YES), settle=0.1)
    check_equal(s.wait_for_exit(), 0, "exit status after quit")
    check_equal(s.settings(), [0, 0, 0], "settings after coming back to the window")
