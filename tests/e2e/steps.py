"""Steps the end-to-end tests share: the test register, boards made to order,
starting and continuing games, and what the screen and the files show of a move."""

import random
import struct
import time

from board_model import field_text, lines_in, predict_move, valid_moves
from checks import check, check_equal
from geometry import DIALOG_NO, DIALOG_YES, cell_centre, drawn
from pictures import block_difference


TESTS = {}


def e2e_test(function):
    TESTS[function.__name__] = function
    return function


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


def prompt_shows(session):
    return session.showing(52, *drawn("confirmationPanel"), others=(3, 30), part=(0, 0, 300, 96))


def start_new_game(session, seed):
    """Without a saved game to continue a new game of the levels mode starts at once (the settings
    name no mode): waited for until the board rests."""
    session.remove("data.inf")
    session.start(seed=seed)
    return settled_board(session, "new-game")


def settled_board(session, label, steady=4):
    """Waits until every field cell shows a gem and the field rests."""
    session.expect(label, lambda picture: check(not board_shown(picture), "cells without a gem"))
    return session.wait_settled(label, steady=steady)


def paused_screen(session):
    """A check for expect: the pause picture shows over a hidden board."""
    def checks(picture):
        session.looks_like(picture, 75, *drawn("pausePicture"), others=(74, 59))
        check(len(board_shown(picture)) >= 60, "the board shows while the game is paused")
    return checks


def resumed_screen(session):
    """A check for expect: the pause picture is gone and the board shows again."""
    def checks(picture):
        check(not board_shown(picture), "the board does not show again after the pause ends")
        session.gone(75, *drawn("pausePicture"))(picture)
    return checks


def continue_game(session, saved, seed=11, **start):
    """Starts with `saved` as base/data.inf and answers "YES" on the start-up prompt."""
    session.write("data.inf", saved.encode())
    session.start(seed=seed, **start)
    session.expect("prompt", prompt_shows(session))
    session.click(DIALOG_YES)
    session.expect("continued", session.gone(52, *drawn("confirmationPanel")))


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


def spinning_cells(s, label, timeout=300):
    """Cells that move on screen over a few frames (the selected gem turns): waited for until some
    cell moves, then gathered over three more screenshots."""
    first = s.shot(label)
    moving, more = set(), 3
    deadline = time.monotonic() + timeout
    while more > 0 and time.monotonic() < deadline:
        moving |= set(changed_cells(first, s.shot(label)))
        more -= 1 if moving else 0
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
    def outcome_shown(picture):
        shown = reader.read(picture)
        check(shown == field_of(after), "board shown after the %s:\n%s\nexpected:\n%s" %
              (what, field_text(shown), field_text(field_of(after))))
    s.expect(label, outcome_shown)
    s.wait_settled(label)
    s.quit_by_button()
    saved = s.saved_game()
    check_board_after(saved, after, what)
    check_equal((saved.mode, saved.level, saved.score), (0, 0, 10 * triples), "mode, level and score")
