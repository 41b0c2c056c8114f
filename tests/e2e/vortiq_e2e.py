#!/usr/bin/env python3
"""End-to-end tests of Vortiq: the built game played through its window.

    vortiq_e2e.py GAME_DIR ARTIFACTS_DIR TEST

GAME_DIR holds vortiq, base/ and help.htm; it is copied to a scratch folder
for every test. On a failure the screenshots and the game's files are kept in
ARTIFACTS_DIR/TEST."""

import os
import random
import signal
import struct
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import (  # noqa: E402
    DIALOG_NO, DIALOG_YES, FULL_OPTION_BACK, FULL_OPTION_FULL_SCREEN, FULL_OPTIONS, HIGH_SCORES_BACK, HINT,
    LEVELS, OPTION_BACK, OPTION_FULL_SCREEN, OPTION_HIGH_SCORES, OPTION_MUSIC, OPTION_SOUND, OPTIONS, QUIT, TIMED,
    Failure, GemReader, HighScores, SavedGame, Session, block_difference, cell_centre, check, check_equal, drawn,
    field_text, lines_in, neighbour_swaps, predict_move, swapped, valid_moves)

TESTS = {}


def e2e_test(function):
    TESTS[function.__name__] = function
    return function


# ---------------------------------------------------------------------------
# Shared steps


def settings_file(full_screen, music, sound):
    return struct.pack("<3i", full_screen, music, sound)


def designed_board(seed, wanted=None):
    """A full board (spawn row and field) without a line of three, with at least three moves, and
    for which `wanted(board)` holds when given."""
    rng = random.Random(seed)
    while True:
        board = [[rng.randint(1, 7) for _ in range(8)] for _ in range(9)]
        field = board[1:]
        for _ in range(200):
            cells, _ = lines_in(field)
            if not cells:
                break
            r, c = sorted(cells)[0]
            field[r][c] = rng.randint(1, 7)
        if lines_in(field)[1] or len(valid_moves(field)) < 3:
            continue
        if wanted is None or wanted(board):
            return board


def board_shown(picture):
    """True when every field cell shows something bright (a gem) rather than the dark backdrop."""
    dark = []
    for r in range(1, 9):
        for c in range(8):
            x, y = cell_centre(c, r)
            if picture.crop(x - 12, y - 12, 25, 25).bright_fraction(0.45) < 0.15:
                dark.append((r, c))
    return dark


def start_new_game(session, seed):
    """Start-up prompt, "NO": a new game in the levels mode, waited for until the board rests."""
    session.start(seed=seed)
    prompt = session.shot("prompt")
    session.looks_like(prompt, 52, *drawn("confirmationPanel"), others=(3, 30), part=(0, 0, 300, 96))
    session.click(DIALOG_NO, settle=0.5)
    return session.wait_settled("new-game")


def continue_game(session, saved, seed=11, **start):
    """Starts with `saved` as base/data.inf and answers "YES" on the start-up prompt."""
    session.write("data.inf", saved.encode())
    session.start(seed=seed, **start)
    session.looks_like(session.shot("prompt"), 52, *drawn("confirmationPanel"), others=(3, 30), part=(0, 0, 300, 96))
    session.click(DIALOG_YES, settle=0.5)


def check_run_down(saved_time, start_value, level, seconds, what):
    """The time bar runs down by about 0.105 x (level + 1) a second whatever the frame rate; a saved
    value is that, truncated, after `seconds` of play at most (with room for a slow machine)."""
    low = int(start_value - 0.2 * (level + 1) * seconds) - 1
    check(low <= saved_time <= start_value - 1, "%s: %d saved, %d..%d expected after %.1f s" %
          (what, saved_time, low, start_value - 1, seconds))


def field_of(board):
    return [row[:] for row in board[1:9]]


def to_board_cell(field_cell):
    """(field row, column) to (column, board row)."""
    return field_cell[1], field_cell[0] + 1


# ---------------------------------------------------------------------------
# The tests


@e2e_test
def start_and_new_game(s):
    s.remove("data.inf", "menu.inf")
    s.start(seed=5)
    check_equal(s.x("xdotool", "search", "--onlyvisible", "--name", "Vortiq", "getwindowname"), "Vortiq",
                "window title")
    check_equal(s.geometry(), "640x480", "window size")
    prompt = s.shot("prompt")
    # The continue panel with its question, and its two buttons.
    s.looks_like(prompt, 52, *drawn("confirmationPanel"), others=(3, 30), part=(0, 0, 300, 96))
    s.looks_like(prompt, 32, *drawn("dialogFirst"), others=(34,), part=(10, 6, 108, 20))
    s.looks_like(prompt, 34, *drawn("dialogSecond"), others=(32,), part=(10, 6, 108, 20))
    # No gems behind the prompt: nothing is started yet.
    check(len(board_shown(prompt)) > 40, "gems show before a game is started")
    # The levels mode is preset: its button shows the running look.
    s.looks_like(prompt, 27 + 2, *drawn("levelsMode"), others=(27, 28), part=(12, 8, 96, 24))

    s.click(DIALOG_NO, settle=0.3)
    after = s.shot("after-no")
    check(s.looks_like(after, 52, *drawn("confirmationPanel"), limit=1000) > 24, "the prompt stays after NO")
    settled = s.wait_settled("filled")
    dark = board_shown(settled)
    check(not dark, "cells without a gem after the board filled: %s" % dark)
    s.looks_like(settled, 29, *drawn("levelsMode"), others=(27, 28), part=(12, 8, 96, 24))
    s.looks_like(settled, 24, *drawn("timedMode"), others=(26,), part=(12, 8, 96, 24))
    s.quit_by_button()
    saved = s.saved_game()
    check_equal((saved.mode, saved.level, saved.time_left, saved.score), (0, 0, 0, 0),
                "mode, level, time and score of a new levels game")
    check(all(1 <= v <= 7 for row in saved.board for v in row), "a cell of the saved board holds no gem")
    check(not lines_in(saved.field())[1], "the settled board still holds a line of three")
    GemReader(settled, saved.field())


def changed_cells(before, after, field_cells=None, threshold=6.0):
    """Field cells (row 1..8, column) whose middle looks different in two screenshots."""
    out = []
    for r in range(1, 9):
        for c in range(8):
            x, y = cell_centre(c, r)
            a = before.crop(x - 16, y - 16, 32, 32)
            b = after.crop(x - 16, y - 16, 32, 32)
            if block_difference(a, b) > threshold:
                out.append((r, c))
    return out


def spinning_cells(s, label):
    """Cells that move on screen over a few frames (the selected gem turns)."""
    first = s.shot(label)
    moving = set()
    for _ in range(3):
        time.sleep(0.12)
        moving |= set(changed_cells(first, s.shot(label)))
    return sorted(moving)


def in_a_move(field, board_cell):
    """True when the gem at (board row, column) is one of the two of some swap that makes a line."""
    r, c = board_cell[0] - 1, board_cell[1]
    return any((r, c) in pair for pair in valid_moves(field))


def known_moves(board):
    """Moves whose outcome is known in full: the swap's lines go, the columns fall, and no gem nobody
    knows yet comes into the field."""
    for a, b in valid_moves(field_of(board)):
        outcome = predict_move(board, a, b)
        if outcome:
            yield a, b, outcome


def check_board_after(saved, expected, what):
    check(saved.field() == field_of(expected), "%s: saved field\n%s\nexpected\n%s" %
          (what, field_text(saved.field()), field_text(field_of(expected))))
    for c in range(8):
        if expected[0][c] is None:
            check(1 <= saved.board[0][c] <= 7, "%s: spawn cell %d holds no gem" % (what, c))
        else:
            check_equal(saved.board[0][c], expected[0][c], "%s: spawn cell %d" % (what, c))


def check_move_played(s, reader, after, triples, what, label):
    """After a move: the settled board shows its outcome, and a quit saves that board and its score."""
    shown = reader.read(s.wait_settled(label))
    check(shown == field_of(after), "board shown after the %s:\n%s\nexpected:\n%s" %
          (what, field_text(shown), field_text(field_of(after))))
    s.quit_by_button()
    saved = s.saved_game()
    check_board_after(saved, after, what)
    check_equal((saved.mode, saved.level, saved.score), (0, 0, 10 * triples), "mode, level and score")


@e2e_test
def moves(s):
    s.remove("data.inf", "menu.inf")
    seed = 21
    # First game: learn the board this seed deals, and teach the reader the look of each gem.
    settled = start_new_game(s, seed)
    s.quit_by_button()
    dealt = s.saved_game()
    reader = GemReader(settled, dealt.field())
    field = dealt.field()
    a, b, (after, triples) = next(known_moves(dealt.board), (None, None, (None, 0)))
    check(a, "seed %d deals no move with a known outcome:\n%s" % (seed, field_text(dealt.board)))

    # Second game with the same seed: the same board, then a move by two clicks.
    shown = reader.read(start_new_game(s, seed))
    check_equal(shown, field, "board of a new game with the same seed")
    s.click_cell(*to_board_cell(a))
    s.click_cell(*to_board_cell(b))
    check_move_played(s, reader, after, triples, "move by two clicks", "after-click-move")

    # A board of our own: a swap that makes no line, then a move by a drag.
    board = designed_board(10, lambda board: next(known_moves(board), None))
    field = field_of(board)
    no_line = next((p, q) for p, q in neighbour_swaps()
                   if field[p[0]][p[1]] != field[q[0]][q[1]] and not lines_in(swapped(field, p, q))[1])
    continue_game(s, SavedGame(0, 0, 0, 0, board))
    before = s.wait_settled("continued", steady=2)
    s.click_cell(*to_board_cell(no_line[0]))
    s.click_cell(*to_board_cell(no_line[1]), settle=0.1)
    moved = changed_cells(before, s.shot("no-line-swap"))
    for cell in no_line:
        check(to_board_cell(cell)[::-1] in moved, "the gems of the swap without a line did not move: %s" % moved)
    shown = reader.read(s.wait_settled("no-line-back"))
    check_equal(shown, field, "board after a swap that makes no line")

    a, b, (after, triples) = next(known_moves(board))
    s.drag_cells(to_board_cell(a), to_board_cell(b))
    check_move_played(s, reader, after, triples, "move by a drag", "after-drag-move")


@e2e_test
def hint_timed_and_pause(s):
    s.remove("data.inf", "menu.inf")
    start_new_game(s, 31)
    timed_start = time.monotonic()
    s.click(TIMED, settle=0.5)
    settled = s.wait_settled("timed-game")
    s.looks_like(settled, 26, *drawn("timedMode"), others=(24, 25), part=(12, 8, 96, 24))
    s.looks_like(settled, 27, *drawn("levelsMode"), others=(29,), part=(12, 8, 96, 24))

    s.click(HINT, settle=0.3)
    spinning = spinning_cells(s, "hint")
    check_equal(len(spinning), 1, "number of gems the hint sets turning %s" % spinning)

    s.key("p")
    paused_at = time.monotonic()
    paused = s.shot("paused")
    s.looks_like(paused, 75, *drawn("pausePicture"), others=(74, 59))
    check(len(board_shown(paused)) >= 60, "the board shows while the game is paused")
    time.sleep(1.0)
    s.key("Escape")
    paused_for = time.monotonic() - paused_at
    time.sleep(0.3)
    resumed = s.shot("resumed")
    check(not board_shown(resumed), "the board does not show again after the pause ends")
    check(s.looks_like(resumed, 75, *drawn("pausePicture"), limit=1000) > 24, "the pause picture stays after resuming")
    s.quit_by_button()
    saved = s.saved_game()
    check_equal((saved.mode, saved.level, saved.score), (1, 0, 0), "mode, level and score of the timed game")
    # 50 at the start, 10 for the hint, and running down.
    check_run_down(saved.time_left, 40, 0, time.monotonic() - timed_start - paused_for, "time left after a hint")
    check(in_a_move(saved.field(), spinning[0]), "the hint chose a gem that makes no line: %s\n%s" %
          (spinning[0], field_text(saved.field())))

    # A timed game close to its end: paused, the time stands still.
    board = designed_board(3)
    continue_game(s, SavedGame(1, 3, 6, 0, board, floor=0))
    started = time.monotonic()
    s.key("p")
    s.looks_like(s.shot("paused-at-once"), 75, *drawn("pausePicture"))
    time.sleep(8)
    still = s.shot("paused-later")
    s.looks_like(still, 75, *drawn("pausePicture"))
    s.key("Escape")
    resumed = s.shot("resumed-again")
    check(not board_shown(resumed), "the board does not show after the pause")
    s.key("p")
    running = time.monotonic() - started - 8
    s.quit_by_button()
    saved = s.saved_game()
    # Had the time run on, it would have run out and a new game would have started.
    check_equal((saved.mode, saved.level, saved.score), (1, 3, 0), "mode, level and score of the paused game")
    check_run_down(saved.time_left, 6, 3, running, "time left of the paused game")
    check_equal(saved.board, board, "board of the paused game")



@e2e_test
def pause_ends_with_its_game(s):
    """A paused timed game left for the levels mode: the new game runs unpaused and P pauses the next timed one."""
    s.remove("data.inf", "menu.inf")
    start_new_game(s, 33)
    s.click(TIMED, settle=0.5)
    s.wait_settled("timed-game")
    s.key("p")
    s.looks_like(s.shot("paused"), 75, 300, 250, 256, 64, others=(74, 59))
    s.click(LEVELS, settle=0.5)
    levels = s.wait_settled("levels-game")
    dark = board_shown(levels)
    check(not dark, "the new levels game kept the pause: cells without a gem %s" % dark)
    s.click(TIMED, settle=0.5)
    s.wait_settled("second-timed-game")
    s.key("p")
    s.looks_like(s.shot("paused-again"), 75, 300, 250, 256, 64, others=(74, 59))
    s.quit_by_button()
    check_equal(s.saved_game().mode, 1, "mode of the saved game")

@e2e_test
def levels_hint_cost(s):
    board = designed_board(4)
    continue_game(s, SavedGame(0, 1, 0, 620, board))
    s.wait_settled("continued")
    s.click(HINT, settle=0.3)
    spinning = spinning_cells(s, "hint")
    check_equal(len(spinning), 1, "number of gems the hint sets turning %s" % spinning)
    check(in_a_move(field_of(board), spinning[0]), "the hint chose a gem that makes no line: %s" % (spinning,))
    s.click(HINT, settle=0.3)
    s.click(HINT, settle=0.3)
    s.quit_by_button()
    saved = s.saved_game()
    # 620 - 50 - 50, then the third hint would go below the level's base of 500.
    check_equal((saved.mode, saved.level, saved.score), (0, 1, 500), "mode, level and score after three hints")
    check_equal(saved.board, board, "board after the hints")


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
    s.start(seed=61)
    s.click(DIALOG_NO, settle=0.4)
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
    s.looks_like(s.shot("prompt-2x"), 52, 265, 240, 300, 150, others=(3, 30), part=(0, 0, 300, 96), fit=twice)
    s.click(shown_at(twice, DIALOG_NO), settle=0.5)
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


def run_test(name, game_dir, artifacts):
    screen = {"options": "800x600", "any_screen": "1920x1080"}.get(name, "1024x768")
    session = Session(name, game_dir, artifacts, screen)
    failed = True
    started = time.monotonic()
    try:
        TESTS[name](session)
        failed = False
    finally:
        session.finish(failed)
        print("e2e %s: %s in %.1f s" % (name, "failed" if failed else "passed", time.monotonic() - started))


def main():
    if len(sys.argv) != 4 or sys.argv[3] not in TESTS:
        print(__doc__)
        print("tests: " + " ".join(sorted(TESTS)))
        return 2
    try:
        run_test(sys.argv[3], sys.argv[1], sys.argv[2])
    except Failure as failure:
        print("FAILED: %s" % failure)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
