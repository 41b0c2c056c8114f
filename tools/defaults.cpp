// What a new player starts with: base/hiscores with friendly names to beat, and
// base/menu.inf with music and sound on, in a window. Both belong to the player
// once they exist, so they are written only where they are missing; the saved
// game, base/data.inf, is never made here.
#include <cstdint>
#include <cstdio>
#include <string>

#include "files_local.h"
#include "generator.h"

namespace {

struct DefaultEntry {
    const char* name;
    int32_t score;
};

// Best first; levels table, then timed table.
constexpr DefaultEntry LevelsTable[5] = {
    {"Amber", 16500}, {"Jasper", 9000}, {"Beryl", 5000}, {"Topaz", 2500}, {"Opal", 1000}};
constexpr DefaultEntry TimedTable[5] = {
    {"Garnet", 12000}, {"Onyx", 7500}, {"Pearl", 4000}, {"Coral", 2000}, {"Jade", 800}};

constexpr size_t NameLength = 9;

void putInt32(std::string& out, int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((bits >> shift) & 0xff);
}

// A stored name: the first letter upper case, the rest lower case, `$` up to nine.
std::string storedName(const char* name) {
    std::string stored;
    for (size_t i = 0; name[i] != '\0' && stored.size() < NameLength; ++i) {
        const char c = name[i];
        const bool lower = c >= 'a' && c <= 'z', upper = c >= 'A' && c <= 'Z';
        if (i == 0) stored += lower ? static_cast<char>(c - 32) : c;
        else stored += upper ? static_cast<char>(c + 32) : c;
    }
    stored.resize(NameLength, '$');
    return stored;
}

std::string highScoreFile() {
    std::string bytes;
    for (const DefaultEntry* table : {LevelsTable, TimedTable}) {
        for (int i = 0; i < 5; ++i) {
            bytes += storedName(table[i].name);
            putInt32(bytes, table[i].score);
        }
    }
    return bytes;
}

std::string settingsFile() {
    std::string bytes;
    putInt32(bytes, 0);  // windowed
    putInt32(bytes, 1);  // music on
    putInt32(bytes, 1);  // sound on
    return bytes;
}

}  // namespace

bool writePlayerDefaults(const std::string& gameDir) {
    bool created = false;
    bool ok = writeFileIfMissing(gameDir + "/base/hiscores", highScoreFile(), created);
    ok = writeFileIfMissing(gameDir + "/base/menu.inf", settingsFile(), created) && ok;
    return ok;
}
