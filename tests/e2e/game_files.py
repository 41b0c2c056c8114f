"""The files the game writes in base/: the saved game and the high scores."""

import struct

from checks import check_equal

def le32_list(data):
    return list(struct.unpack("<%di" % (len(data) // 4), data))


class SavedGame:
    """base/data.inf: mode, level, whole time left, score, then cells 8i + j of the board in 9 runs of 9."""

    def __init__(self, mode, level, time_left, score, board, floor=555):
        self.mode, self.level, self.time_left, self.score = mode, level, time_left, score
        self.board = [list(row) for row in board]  # rows 0..8 of 8 cells
        self.floor = floor  # the floor cell of column 0 (the last value)

    @staticmethod
    def parse(data):
        check_equal(len(data), 340, "size of base/data.inf")
        values = le32_list(data)
        cells = [None] * 73
        for i in range(9):
            for j in range(9):
                n = 8 * i + j
                value = values[4 + 9 * i + j]
                if cells[n] is not None:
                    check_equal(value, cells[n], "cell %d stored twice in base/data.inf" % n)
                cells[n] = value
        board = [cells[8 * r:8 * r + 8] for r in range(9)]
        return SavedGame(values[0], values[1], values[2], values[3], board, cells[72])

    def encode(self):
        cells = [v for row in self.board for v in row] + [self.floor]
        values = [self.mode, self.level, self.time_left, self.score]
        for i in range(9):
            for j in range(9):
                values.append(cells[8 * i + j])
        return struct.pack("<85i", *values)

    def field(self):
        return [row[:] for row in self.board[1:9]]


class HighScores:
    """base/hiscores: 10 records of a 9-character name and a 4-byte score; levels table first."""

    def __init__(self, tables):
        self.tables = tables  # [[(name, score)] * 5] * 2

    @staticmethod
    def parse(data):
        check_equal(len(data), 130, "size of base/hiscores")
        records = []
        for i in range(10):
            chunk = data[13 * i:13 * i + 13]
            records.append((chunk[:9].decode("latin-1"), struct.unpack("<i", chunk[9:])[0]))
        return HighScores([records[:5], records[5:]])
