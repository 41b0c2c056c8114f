// replays/*.vqr: a recorded game. After the fixed header come the start, the
// end, the frame count and the frames. Numbers of varying size are varints
// (seven bits a byte, least significant first), signed ones zigzagged. A
// frame's time is coded as the change of its step from the step before, so a
// frame of steady pace takes a byte or two; a command's cell as the change
// from the command before.

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <utility>

#include "persist/persist_local.h"

namespace {

// A frame's head is a varint: its low bit says a flags byte follows, the
// next that the time is kept to the microsecond (else to the millisecond),
// the rest is the zigzagged change of step in that unit (0 when the change
// follows in full).
// The flags byte's top five bits count the commands (31: 31 and a varint more).
constexpr uint8_t FrameRestarted = 1, FrameMarked = 2, FrameFullStep = 4;
constexpr int FrameCountShift = 3;
constexpr uint64_t FrameCountMore = 31;
constexpr int BackgroundKinds = 6;

// Differences of 64-bit times wrap instead of overflowing: any two times code.
int64_t wrappingSum(int64_t a, int64_t b) {
    return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b));
}
int64_t wrappingDifference(int64_t a, int64_t b) {
    return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b));
}
int64_t wrappingThousandfold(int64_t a) { return static_cast<int64_t>(static_cast<uint64_t>(a) * 1000u); }
// Microseconds to the nearest millisecond.
int64_t roundedMillis(int64_t micros) {
    int64_t millis = micros / 1000;
    const int64_t rest = micros % 1000;
    if (rest >= 500) ++millis;
    if (rest <= -500) --millis;
    return millis;
}
uint64_t zigzag(int64_t v) { return (static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63); }
int64_t unzigzag(uint64_t u) { return static_cast<int64_t>((u >> 1) ^ (0 - (u & 1))); }

void putLittle(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
void putVarint(std::vector<uint8_t>& out, uint64_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<uint8_t>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<uint8_t>(value));
}
void putSigned(std::vector<uint8_t>& out, int64_t value) { putVarint(out, zigzag(value)); }

bool fitsInt32(int64_t value) {
    return value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max();
}

// Reads within [at, end); a read past the end or a malformed number clears ok.
struct Reader {
    const uint8_t* bytes;
    size_t at;
    size_t end;
    bool ok = true;
    bool pastEnd = false;

    uint8_t byte() {
        if (at >= end) {
            ok = false;
            pastEnd = true;
            return 0;
        }
        return bytes[at++];
    }
    uint64_t little(int count) {
        uint64_t value = 0;
        for (int i = 0; i < count; ++i) value |= static_cast<uint64_t>(byte()) << (8 * i);
        return value;
    }
    uint64_t varint() {
        uint64_t value = 0;
        for (int shift = 0; shift < 64 && ok; shift += 7) {
            const uint8_t b = byte();
            if (shift == 63 && b > 1) break;  // more than 64 bits
            value |= static_cast<uint64_t>(b & 0x7f) << shift;
            if (!(b & 0x80)) return value;
        }
        ok = false;
        return 0;
    }
    int32_t signed32() {
        const int64_t value = unzigzag(varint());
        if (!fitsInt32(value)) ok = false;
        return ok ? static_cast<int32_t>(value) : 0;
    }
    // The change from one 32-bit value to another (33 bits at most).
    int64_t change32() {
        const int64_t value = unzigzag(varint());
        if (value < -(int64_t{1} << 32) || value > (int64_t{1} << 32)) ok = false;
        return ok ? value : 0;
    }
};

bool refuse(std::string* problem, const std::string& what) {
    *problem = what;
    return false;
}

std::string number(uint64_t value) { return std::to_string(value); }

bool isGameMode(uint8_t mode) {
    return mode == static_cast<uint8_t>(GameMode::Levels) || mode == static_cast<uint8_t>(GameMode::Timed);
}

// A cell the game can hold: a gem or nothing above the floor, 0 or the
// closed floor below the field.
bool isCell(int row, int32_t value) {
    if (row == FloorRow) return value == 0 || value == ClosedFloor;
    return value >= 0 && value <= GemKinds;
}

// How the rules' records lie in memory, item by item: 'b' a byte, 'c' a
// character, 'i' a 4-byte integer, 'f' a float, 'l' an 8-byte integer; a
// number repeats the item after it, "(...)" is a record within. Each item
// sits at its natural alignment, as the compiler places it: the file holds
// the values one after another (integers as zigzag varints, floats as their
// 4 bytes), so it does not depend on the padding between them.
struct RecordLayout {
    const char* items;
    size_t extent;  // the bytes the items cover: the record's size, or where its unkept tail begins
};
const RecordLayout GameLayout = {"80i4ifib3i4bfi2ffi", sizeof(GameState)};
const RecordLayout TurnLayout = {"b2ib2i2b10fb2if2b2ifbb20(b2if)i", sizeof(TurnState)};
const RecordLayout SceneLayout = {"2fi3l3f10(b3if)", sizeof(SceneState)};
const RecordLayout UiLayout = {"11i2bib4ib2ib2i", offsetof(UiState, fit)};
const RecordLayout ScoreBookLayout = {"10(16ci)10ci(b3i)", sizeof(ScoreBook)};
const RecordLayout SettingsLayout = {"3i", sizeof(Settings)};

size_t roundUp(size_t offset, size_t alignment) { return (offset + alignment - 1) / alignment * alignment; }

struct Shape {
    size_t size;
    size_t alignment;
};

// Walks the items from `p` up to ')' or the end, handing each value at
// `base` to `visit` (none: measures only); its size and alignment.
template <class Visit>
Shape walk(const char*& p, uint8_t* base, Visit* visit) {
    size_t offset = 0, alignment = 1;
    while (*p && *p != ')') {
        size_t repeat = 0;
        while (*p >= '0' && *p <= '9') repeat = 10 * repeat + static_cast<size_t>(*p++ - '0');
        if (repeat == 0) repeat = 1;
        if (*p == '(') {
            const char* inner = ++p;
            const Shape shape = walk(p, base, static_cast<Visit*>(nullptr));
            ++p;  // the ')'
            offset = roundUp(offset, shape.alignment);
            for (size_t r = 0; r < repeat; ++r, offset += shape.size) {
                const char* again = inner;
                if (visit) walk(again, base + offset, visit);
            }
            alignment = std::max(alignment, shape.alignment);
            continue;
        }
        const char type = *p++;
        const size_t size = type == 'l' ? 8 : (type == 'b' || type == 'c') ? 1 : 4;
        offset = roundUp(offset, size);
        for (size_t r = 0; r < repeat; ++r, offset += size)
            if (visit) visit->item(type, base + offset);
        alignment = std::max(alignment, size);
    }
    return {roundUp(offset, alignment), alignment};
}

struct Encoder {
    std::vector<uint8_t>& out;
    void item(char type, const uint8_t* at) {
        if (type == 'b' || type == 'c') {
            out.push_back(*at);
        } else if (type == 'f') {
            uint32_t bits;
            std::memcpy(&bits, at, 4);
            putLittle(out, bits, 4);
        } else if (type == 'i') {
            int32_t value;
            std::memcpy(&value, at, 4);
            putSigned(out, value);
        } else {
            int64_t value;
            std::memcpy(&value, at, 8);
            putSigned(out, value);
        }
    }
};

struct Decoder {
    Reader& in;
    void item(char type, uint8_t* at) {
        if (type == 'b' || type == 'c') {
            *at = in.byte();
        } else if (type == 'f') {
            const uint32_t bits = static_cast<uint32_t>(in.little(4));
            std::memcpy(at, &bits, 4);
        } else if (type == 'i') {
            const int32_t value = in.signed32();
            std::memcpy(at, &value, 4);
        } else {
            const int64_t value = unzigzag(in.varint());
            std::memcpy(at, &value, 8);
        }
    }
};

template <class Visit, class Start>
void walkStart(Start& start, Visit* visit) {
    const std::pair<const RecordLayout*, const void*> records[] = {
        {&GameLayout, &start.game},   {&TurnLayout, &start.turn},           {&SceneLayout, &start.scene},
        {&UiLayout, &start.ui},       {&ScoreBookLayout, &start.scoreBook}, {&SettingsLayout, &start.settings},
    };
    for (const auto& record : records) {
        const char* items = record.first->items;
        walk(items, static_cast<uint8_t*>(const_cast<void*>(record.second)), visit);
    }
}

bool inField(const Cell& cell) {
    return cell.column >= 0 && cell.column < BoardColumns && cell.row >= FirstFieldRow && cell.row <= LastFieldRow;
}

bool named(const char* name, size_t size) { return std::memchr(name, '\0', size) != nullptr; }

// What the rules take for granted of their state: every index in range,
// every name ended. Names what is not so, or nothing.
const char* unplayable(const ReplayStart& start) {
    const GameState& g = start.game;
    const TurnState& t = start.turn;
    for (int row = 0; row < BoardRows; ++row)
        for (int column = 0; column < BoardColumns; ++column)
            if (!isCell(row, g.board[row][column])) return "a cell of the board";
    if (!isGameMode(static_cast<uint8_t>(g.gameMode)) || g.level < 0) return "the mode or the level";
    if (g.backgroundKind < 0 || g.backgroundKind >= BackgroundKinds) return "the backdrop";
    if (g.boardEvent < BoardEvent::None || g.boardEvent > BoardEvent::Excellent) return "the board's event";
    if ((t.firstSelected && !inField(t.firstCell)) || (t.secondSelected && !inField(t.secondCell)) ||
        (t.spinning && !inField(t.spinCell)) || (t.prevSpinning && !inField(t.prevSpinCell)))
        return "a chosen or spinning gem";
    // The removal's cursor is -2 after a pass without a line and grows by three a line.
    if (t.removalCursor < -2 || t.removalCursor > 1000) return "the removal";
    for (const RemovalEntry& entry : t.removalList)
        if (entry.used && !inField(Cell{entry.column, entry.row})) return "a gem being removed";
    const Screen screens[] = {Screen::Playing,        Screen::ConfirmNewGame, Screen::Options,  Screen::ConfirmQuit,
                              Screen::ContinuePrompt, Screen::HighScores,     Screen::NameEntry};
    if (std::find(std::begin(screens), std::end(screens), start.ui.screen) == std::end(screens)) return "the screen";
    if (!inField(start.ui.keyCursor)) return "the key cursor";
    if (!isGameMode(static_cast<uint8_t>(start.ui.askedMode))) return "the mode asked for";
    const EndedGame& ended = start.scoreBook.ended;
    if (!isGameMode(static_cast<uint8_t>(ended.mode)) || ended.enteredRow < NoEnteredRow ||
        ended.enteredRow >= HighScoreEntries)
        return "the game whose end the high scores follow";
    for (const HighScoreTable& table : start.scoreBook.highScores)
        for (const HighScoreEntry& entry : table.entries)
            if (!named(entry.name, sizeof entry.name)) return "a name of the high scores";
    const int32_t cursor = start.scoreBook.entryCursor;
    if (!named(start.scoreBook.entryName, sizeof start.scoreBook.entryName) || cursor < 1 || cursor > 10)
        return "the name being typed";
    return nullptr;
}

bool readStart(Reader& in, ReplayStart* start, std::string* problem) {
    const uint8_t origin = in.byte();
    *start = ReplayStart{};
    Decoder decoder{in};
    walkStart(*start, &decoder);
    if (!in.ok) return refuse(problem, "is damaged: its starting state cannot be read");
    const char* wrong = origin > static_cast<uint8_t>(ReplayOrigin::SavedGame) ? "where it began" : unplayable(*start);
    if (wrong) return refuse(problem, std::string("is damaged: its starting state is not one the game can be in (") +
                                          wrong + ")");
    start->origin = static_cast<ReplayOrigin>(origin);
    return true;
}

bool readEnd(Reader& in, ReplayEnd* end, std::string* problem) {
    const uint8_t ending = in.byte();
    const uint8_t mode = in.byte();
    end->level = in.signed32();
    end->score = in.signed32();
    end->boardDigest = static_cast<uint32_t>(in.little(4));
    if (!in.ok || ending > static_cast<uint8_t>(ReplayEnding::Quit) || !isGameMode(mode) || end->level < 0)
        return refuse(problem, "is damaged: where the game ended cannot be read");
    end->ending = static_cast<ReplayEnding>(ending);
    end->mode = static_cast<GameMode>(mode);
    return true;
}

// Decodes the frame at the cursor and moves the cursor past it.
bool decodeFrame(const uint8_t* bytes, size_t end, ReplayCursor* cursor, ReplayFrame* frame, std::string* problem) {
    Reader in{bytes, cursor->at, end};
    ReplayCoding coding = cursor->coding;
    const uint64_t head = in.varint();
    const uint8_t flags = (head & 1) ? in.byte() : 0;
    const bool exact = (head & 2) != 0;
    uint64_t step = head >> 2;
    const std::string which = "frame " + number(cursor->frame + 1);
    if (flags & FrameFullStep) {
        if (step != 0) in.ok = false;
        step = in.varint();
    }
    coding.delta = exact ? wrappingSum(coding.delta, unzigzag(step))
                         : wrappingThousandfold(wrappingSum(coding.deltaMillis, unzigzag(step)));
    coding.deltaMillis = roundedMillis(coding.delta);
    coding.ticks = wrappingSum(coding.ticks, coding.delta);
    frame->ticks = coding.ticks;
    frame->exactTime = exact ? 1 : 0;
    frame->clockRestarted = (flags & FrameRestarted) ? 1 : 0;
    frame->marked = (flags & FrameMarked) ? 1 : 0;
    frame->mark = frame->marked ? static_cast<uint16_t>(in.little(2)) : 0;
    frame->count = 0;
    uint64_t count = flags >> FrameCountShift;
    if (count == FrameCountMore) {
        const uint64_t more = in.varint();
        count += more < ReplayFrameCommands ? more : ReplayFrameCommands;  // too many either way
    }
    if (count > 0) {
        if (in.ok && count > ReplayFrameCommands)
            return refuse(problem, "is damaged: " + which + " says it carries more than " +
                                       number(ReplayFrameCommands) + " commands");
        for (uint64_t i = 0; i < count && in.ok; ++i) {
            ReplayCommand& command = frame->commands[i];
            command.kind = in.byte();
            const int64_t x = coding.x + in.change32();
            const int64_t y = coding.y + in.change32();
            if (!fitsInt32(x) || !fitsInt32(y)) in.ok = false;
            command.x = coding.x = static_cast<int32_t>(x);
            command.y = coding.y = static_cast<int32_t>(y);
        }
        frame->count = static_cast<int32_t>(count);
    }
    if (in.pastEnd) return refuse(problem, "is damaged: " + which + " runs past the end of the frames");
    if (!in.ok) return refuse(problem, "is damaged: " + which + " cannot be read");
    cursor->at = in.at;
    cursor->coding = coding;
    ++cursor->frame;
    return true;
}

bool decodeHeaderAndFrames(const std::vector<uint8_t>& bytes, Replay* replay, std::string* problem) {
    const size_t size = bytes.size();
    if (size == 0) return refuse(problem, "is empty");
    const size_t compared = size < sizeof ReplayMagic ? size : sizeof ReplayMagic;
    if (std::memcmp(bytes.data(), ReplayMagic, compared) != 0) return refuse(problem, "is not a Vortiq replay");
    if (size < ReplayFixedBytes + ReplayChecksumBytes)
        return refuse(problem, "is cut short: " + number(size) + " bytes, fewer than any replay holds");

    Reader fixed{bytes.data(), sizeof ReplayMagic, size};
    const uint16_t format = static_cast<uint16_t>(fixed.little(2));
    const uint16_t rules = static_cast<uint16_t>(fixed.little(2));
    const uint32_t length = static_cast<uint32_t>(fixed.little(4));
    if (format > ReplayFormatVersion)
        return refuse(problem, "was written by a newer Vortiq (replay format " + number(format) +
                                   "; this one reads format " + number(ReplayFormatVersion) + ")");
    if (format == 0) return refuse(problem, "is in an unknown replay format 0");
    if (rules != RulesVersion)
        return refuse(problem, std::string("was recorded under ") + (rules < RulesVersion ? "older" : "newer") +
                                   " rules (version " + number(rules) + "; this game plays version " +
                                   number(RulesVersion) + ") and cannot be replayed");
    if (size < length)
        return refuse(problem, "is cut short: it holds " + number(size) + " of its " + number(length) + " bytes");
    if (size > length)
        return refuse(problem, "has " + number(size - length) + " bytes more than the " + number(length) + " it says it holds");
    const size_t body = size - ReplayChecksumBytes;
    Reader tail{bytes.data(), body, size};
    if (checksum32(bytes.data(), body) != static_cast<uint32_t>(tail.little(4)))
        return refuse(problem, "is damaged: its checksum does not match its contents");

    ReplayHeader& header = replay->header;
    header = ReplayHeader{};
    header.rulesVersion = rules;
    header.seed = static_cast<uint32_t>(fixed.little(4));
    header.numbersDrawn = fixed.little(8);
    if (header.numbersDrawn > MaxNumbersDrawn)
        return refuse(problem, "is damaged: it says " + number(header.numbersDrawn) +
                                   " numbers were drawn before the game began, more than a game can replay");
    Reader in{bytes.data(), ReplayFixedBytes, body};
    if (!readStart(in, &header.start, problem) || !readEnd(in, &header.end, problem)) return false;
    const uint64_t frames = in.varint();
    if (!in.ok) return refuse(problem, "is damaged: its count of frames cannot be read");
    // Every frame takes at least one byte.
    if (frames > body - in.at)
        return refuse(problem, "is damaged: it says it holds " + number(frames) + " frames, more than its " +
                                   number(body - in.at) + " bytes of frames can hold");
    header.frameCount = static_cast<uint32_t>(frames);
    replay->framesAt = in.at;

    ReplayCursor cursor = firstReplayFrame(*replay);
    ReplayFrame frame;
    while (cursor.frame < header.frameCount)
        if (!decodeFrame(bytes.data(), body, &cursor, &frame, problem)) return false;
    if (cursor.at != body)
        return refuse(problem, "is damaged: " + number(body - cursor.at) + " bytes follow its last frame");
    return true;
}

}  // namespace

bool replayLayoutsHold() {
    const RecordLayout* layouts[] = {&GameLayout, &TurnLayout, &SceneLayout, &UiLayout, &ScoreBookLayout, &SettingsLayout};
    for (const RecordLayout* layout : layouts) {
        const char* items = layout->items;
        if (walk(items, nullptr, static_cast<Encoder*>(nullptr)).size != layout->extent) return false;
    }
    return true;
}

uint32_t checksum32(const uint8_t* bytes, size_t size) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xffffffffu;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ bytes[i]) & 0xff] ^ (crc >> 8);
    return ~crc;
}

void sealReplay(std::vector<uint8_t>* bytes) {
    const size_t size = bytes->size();
    if (size < ReplayFixedBytes + ReplayChecksumBytes) return;
    for (int i = 0; i < 4; ++i) (*bytes)[ReplayLengthAt + i] = static_cast<uint8_t>(size >> (8 * i));
    const uint32_t sum = checksum32(bytes->data(), size - ReplayChecksumBytes);
    for (int i = 0; i < 4; ++i) (*bytes)[size - ReplayChecksumBytes + i] = static_cast<uint8_t>(sum >> (8 * i));
}

void startRecording(ReplayRecording* recording, const ReplayHeader& header) {
    recording->header = header;
    recording->header.frameCount = 0;
    recording->coding = ReplayCoding{};
    recording->frames.clear();
    recording->tooLong = 0;
}

void recordFrame(ReplayRecording* recording, const ReplayFrame& frame) {
    if (recording->tooLong) return;
    std::vector<uint8_t>& out = recording->frames;
    ReplayCoding& coding = recording->coding;
    const int64_t exactDelta = wrappingDifference(frame.ticks, coding.ticks);
    const int64_t millis = roundedMillis(exactDelta);
    const int64_t delta = frame.exactTime ? exactDelta : wrappingThousandfold(millis);
    const uint64_t step = zigzag(frame.exactTime ? wrappingDifference(delta, coding.delta)
                                                 : wrappingDifference(millis, coding.deltaMillis));
    const int count = frame.count < 0 ? 0 : frame.count > ReplayFrameCommands ? ReplayFrameCommands : frame.count;
    const uint64_t countField = static_cast<uint64_t>(count) < FrameCountMore ? count : FrameCountMore;
    const uint8_t flags = static_cast<uint8_t>((frame.clockRestarted ? FrameRestarted : 0) |
                                               (frame.marked ? FrameMarked : 0) | ((step >> 62) ? FrameFullStep : 0) |
                                               (countField << FrameCountShift));
    putVarint(out, ((flags & FrameFullStep) ? 0 : step << 2) | (frame.exactTime ? 2 : 0) | (flags ? 1 : 0));
    if (flags) out.push_back(flags);
    if (flags & FrameFullStep) putVarint(out, step);
    if (frame.marked) putLittle(out, frame.mark, 2);
    if (countField == FrameCountMore) putVarint(out, count - FrameCountMore);
    if (count > 0) {
        for (int i = 0; i < count; ++i) {
            const ReplayCommand& command = frame.commands[i];
            out.push_back(command.kind);
            putSigned(out, static_cast<int64_t>(command.x) - coding.x);
            putSigned(out, static_cast<int64_t>(command.y) - coding.y);
            coding.x = command.x;
            coding.y = command.y;
        }
    }
    coding.ticks = wrappingSum(coding.ticks, delta);
    coding.delta = delta;
    coding.deltaMillis = roundedMillis(delta);
    ++recording->header.frameCount;
    // Room is left for the start, the end and the count.
    if (out.size() > MaxReplayBytes - 1024) {
        recording->tooLong = 1;
        std::vector<uint8_t>().swap(out);
    }
}

std::vector<uint8_t> encodeReplay(const ReplayRecording& recording) {
    const ReplayHeader& header = recording.header;
    const ReplayStart& start = header.start;
    const ReplayEnd& end = header.end;
    std::vector<uint8_t> out(ReplayMagic, ReplayMagic + sizeof ReplayMagic);
    putLittle(out, ReplayFormatVersion, 2);
    putLittle(out, header.rulesVersion, 2);
    putLittle(out, 0, 4);  // the length, when sealed
    putLittle(out, header.seed, 4);
    putLittle(out, header.numbersDrawn, 8);

    out.push_back(static_cast<uint8_t>(start.origin));
    Encoder encoder{out};
    walkStart(start, &encoder);

    out.push_back(static_cast<uint8_t>(end.ending));
    out.push_back(static_cast<uint8_t>(end.mode));
    putSigned(out, end.level);
    putSigned(out, end.score);
    putLittle(out, end.boardDigest, 4);

    putVarint(out, header.frameCount);
    out.insert(out.end(), recording.frames.begin(), recording.frames.end());
    putLittle(out, 0, ReplayChecksumBytes);
    sealReplay(&out);
    return out;
}

bool writeReplay(const char* path, const ReplayRecording& recording) {
    if (recording.tooLong) {
        std::fprintf(stderr, "Vortiq: %s was not saved: the game ran too long to keep as a replay\n", path);
        return false;
    }
    if (!makeFolderFor(path)) return false;
    const std::vector<uint8_t> bytes = encodeReplay(recording);
    return replaceFile(path, bytes.data(), bytes.size());
}

bool decodeReplay(std::vector<uint8_t> bytes, Replay* replay, std::string* problem) {
    replay->bytes.swap(bytes);
    if (decodeHeaderAndFrames(replay->bytes, replay, problem)) return true;
    replay->bytes.clear();
    return false;
}

bool readReplay(const char* path, Replay* replay, std::string* problem) {
    std::vector<uint8_t> bytes;
    int error = 0;
    std::string what;
    bool ok = false;
    if (!readWholeFile(path, MaxReplayBytes, &bytes, &error)) {
        what = error == EFBIG ? "is larger than any replay (more than " + number(MaxReplayBytes >> 20) + " MB)"
                              : std::string("cannot be read: ") + std::strerror(error);
    } else {
        ok = decodeReplay(std::move(bytes), replay, &what);
    }
    if (!ok) *problem = std::string(path) + ": " + what;
    return ok;
}

ReplayCursor firstReplayFrame(const Replay& replay) {
    ReplayCursor cursor{};
    cursor.at = replay.framesAt;
    return cursor;
}

bool nextReplayFrame(const Replay& replay, ReplayCursor* cursor, ReplayFrame* frame) {
    if (cursor->frame >= replay.header.frameCount) return false;
    std::string problem;
    return decodeFrame(replay.bytes.data(), replay.bytes.size() - ReplayChecksumBytes, cursor, frame, &problem);
}
