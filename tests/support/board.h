// Boards for tests and the benchmark: stated as strings, read back as
// strings, or made full and settled from a seed.
#pragma once

#include <string>
#include <vector>

#include "game/game.h"

namespace boards {

// Sets the field from eight rows of eight characters, top row first: '1'..'7'
// a gem of that kind, '.' an empty cell. The spawn row, when given, likewise;
// otherwise it stays as it is.
void setField(const std::vector<std::string>& rows, const std::string& spawn = "");
// A full board, spawn row included, on which no two cells that a line or a
// move could use hold the same kind (kinds 1..6; 7 is left for the tests).
// A column that sinks by one cell keeps that property.
void setQuietField();
// The kind that setQuietField puts at a cell.
int32_t quietKind(int column, int row);
std::vector<std::string> field();  // rows 1..8 as set by setField
std::string spawnRow();
int columnCount(int column);  // gems in rows 0..8 of one column
bool boardFull();             // no empty cell in rows 0..8
bool fieldFull();             // no empty cell in rows 1..8, the rows that show
void closeFloor();            // gems rest on the bottom field row

// A full board without a line and with at least one move, made with rand()
// from the seed: the levels mode on the board screen, the floor closed.
void settledBoard(unsigned seed);

}  // namespace boards
