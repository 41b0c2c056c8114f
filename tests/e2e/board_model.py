"""Rules knowledge the checks need: lines of three, and what a simple move does."""


def lines_in(field):
    """Cells in lines of three or more of an 8 x 8 field (rows 0..7 here); None cells never match."""
    cells = set()
    triples = 0
    for r in range(8):
        for c in range(8):
            v = field[r][c]
            if v is None or v <= 0:
                continue
            if r <= 5 and field[r + 1][c] == v and field[r + 2][c] == v:
                cells |= {(r, c), (r + 1, c), (r + 2, c)}
                triples += 1
            if c <= 5 and field[r][c + 1] == v and field[r][c + 2] == v:
                cells |= {(r, c), (r, c + 1), (r, c + 2)}
                triples += 1
    return cells, triples


def neighbour_swaps():
    for r in range(8):
        for c in range(8):
            if c < 7:
                yield (r, c), (r, c + 1)
            if r < 7:
                yield (r, c), (r + 1, c)


def swapped(field, a, b):
    f = [row[:] for row in field]
    f[a[0]][a[1]], f[b[0]][b[1]] = f[b[0]][b[1]], f[a[0]][a[1]]
    return f


def valid_moves(field):
    return [(a, b) for a, b in neighbour_swaps() if field[a[0]][a[1]] != field[b[0]][b[1]] and
            lines_in(swapped(field, a, b))[1] > 0]


def predict_move(board, a, b):
    """The board (rows 0..8) after swapping field cells a and b (field coordinates, row 0 = board row 1)
    when the swap's lines are removed and every column falls, the spawn row's gems dropping in and new
    unknown gems (None) taking their places. Returns (board, triples), or None when the outcome
    depends on gems nobody knows yet (an unknown gem in the field, or a chain)."""
    field = swapped([row[:] for row in board[1:9]], a, b)
    removed, triples = lines_in(field)
    if triples == 0:
        return None
    full = [board[0][:]] + field
    for c in range(8):
        kept = [full[r][c] for r in range(9) if r == 0 or (r - 1, c) not in removed]
        column = [None] * (9 - len(kept)) + kept
        for r in range(9):
            full[r][c] = column[r]
    if any(v is None for row in full[1:] for v in row):
        return None
    if lines_in(full[1:])[1]:
        return None
    return full, triples


def field_text(field):
    return "\n".join(" ".join("." if v is None else str(v) for v in row) for row in field)
