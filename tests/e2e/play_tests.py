"""End-to-end tests of play: a new game, moves by clicks and drags, the hint,
the timed mode and the pause."""

import subprocess
import time

from board_model import field_text, lines_in, neighbour_swaps, swapped
from checks import check, check_equal
from game_files import SavedGame
from gem_reader import GemReader
from geometry import HINT, LEVELS, TIMED, drawn
from steps import (
    board_shown, changed_cells, check_move_played, check_run_down, continue_game, designed_board, e2e_test,
    field_of, in_a_move, known_moves, paused_screen, prompt_shows, resumed_screen, settled_board, spinning_cells,
    start_new_game, to_board_cell)


@e2e_test
def start_and_new_game(s):
    s.remove("data.inf", "menu.inf")
    check_equal(s.start(seed=5), "640x480", "window size")
    check_equal(s.x("xdotool", "getwindowname", s.window_id()), "Vortiq", "window title")
    # No saved game: no question, a new levels game at once.
    settled = settled_board(s, "filled")
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
    before = settled_board(s, "continued", steady=2)
    s.click_cell(*to_board_cell(no_line[0]))
    s.click_cell(*to_board_cell(no_line[1]))

    def swap_moves(picture):
        moved = changed_cells(before, picture)
        for cell in no_line:
            check(to_board_cell(cell)[::-1] in moved, "the gems of the swap without a line did not move: %s" % moved)
    s.expect("no-line-swap", swap_moves, timeout=60)
    shown = reader.read(s.wait_settled("no-line-back"))
    check_equal(shown, field, "board after a swap that makes no line")

    a, b, (after, triples) = next(known_moves(board))
    s.drag_cells(to_board_cell(a), to_board_cell(b))
    check_move_played(s, reader, after, triples, "move by a drag", "after-drag-move")

    # The continued game, quit above, was recorded: the rules alone play it to the same end.
    checked = subprocess.run(["./vortiq", "--replay", "replays/last.vqr", "--check"], cwd=s.game_dir,
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=60)
    check_equal(checked.returncode, 0, "--check of the game just played: %s" % checked.stdout.decode())


@e2e_test
def hint_timed_and_pause(s):
    s.remove("data.inf", "menu.inf")
    start_new_game(s, 31)
    timed_start = time.monotonic()
    s.click(TIMED)
    s.expect("timed-game", s.showing(26, *drawn("timedMode"), others=(24, 25), part=(12, 8, 96, 24)))
    settled = settled_board(s, "timed-game")
    s.looks_like(settled, 27, *drawn("levelsMode"), others=(29,), part=(12, 8, 96, 24))

    s.click(HINT)
    spinning = spinning_cells(s, "hint")
    check_equal(len(spinning), 1, "number of gems the hint sets turning %s" % spinning)

    paused_at = time.monotonic()
    s.key("p", paused_screen(s), "paused")
    time.sleep(1.0)  # a second of pause, which the time left must not lose
    s.key("Escape", resumed_screen(s), "resumed")
    paused_for = time.monotonic() - paused_at
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
    s.key("p", paused_screen(s), "paused-at-once")
    paused_at = time.monotonic()
    time.sleep(8)  # longer than the time left, which must stand still
    s.looks_like(s.shot("paused-later"), 75, *drawn("pausePicture"))
    s.key("Escape", resumed_screen(s), "resumed-again")
    paused_for = time.monotonic() - paused_at
    s.key("p", paused_screen(s), "paused-to-quit")
    running = time.monotonic() - started - paused_for
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
    s.click(TIMED)
    s.expect("timed-game", s.showing(26, *drawn("timedMode"), others=(24, 25), part=(12, 8, 96, 24)))
    settled_board(s, "timed-game")
    s.key("p", paused_screen(s), "paused")
    s.click(LEVELS)
    # The new levels game kept no pause: its board shows.
    s.expect("levels-game", s.showing(29, *drawn("levelsMode"), others=(27, 28), part=(12, 8, 96, 24)))
    settled_board(s, "levels-game")
    s.click(TIMED)
    s.expect("second-timed-game", s.showing(26, *drawn("timedMode"), others=(24, 25), part=(12, 8, 96, 24)))
    settled_board(s, "second-timed-game")
    s.key("p", paused_screen(s), "paused-again")
    s.quit_by_button()
    check_equal(s.saved_game().mode, 1, "mode of the saved game")


@e2e_test
def levels_hint_cost(s):
    board = designed_board(4)
    continue_game(s, SavedGame(0, 1, 0, 620, board))
    settled_board(s, "continued")
    s.click(HINT)
    spinning = spinning_cells(s, "hint")
    check_equal(len(spinning), 1, "number of gems the hint sets turning %s" % spinning)
    check(in_a_move(field_of(board), spinning[0]), "the hint chose a gem that makes no line: %s" % (spinning,))
    s.click(HINT)
    s.click(HINT)
    s.quit_by_button()
    saved = s.saved_game()
    # 620 - 50 - 50, then the third hint would go below the level's base of 500.
    check_equal((saved.mode, saved.level, saved.score), (0, 1, 500), "mode, level and score after three hints")
    check_equal(saved.board, board, "board after the hints")
