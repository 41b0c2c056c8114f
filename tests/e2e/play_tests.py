"""End-to-end tests of play: a new game, moves by clicks and drags, the hint,
the timed mode and the pause."""

import time

from board_model import field_text, lines_in, neighbour_swaps, swapped
from checks import check, check_equal
from game_files import SavedGame
from gem_reader import GemReader
from geometry import HINT, LEVELS, TIMED, drawn
from steps import (
    board_shown, changed_cells, check_move_played, check_run_down, continue_game, designed_board, e2e_test,
    field_of, in_a_move, known_moves, spinning_cells, start_new_game, to_board_cell)


@e2e_test
def start_and_new_game(s):
    s.remove("data.inf", "menu.inf")
    s.start(seed=5)
    check_equal(s.x("xdotool", "search", "--onlyvisible", "--name", "Vortiq", "getwindowname"), "Vortiq",
                "window title")
    check_equal(s.geometry(), "640x480", "window size")
    # No saved game: no question, a new levels game at once.
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
