// The window procedure: the board cell under the mouse, keys, activation,
// close, and clicks and drags handed to the board.
#include "platform/platform_local.h"
#include "shell/shell_fixture.h"

namespace {

class Procedure : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        presetStartUp();
        ui.screen = Screen::Playing;
        ui.mouseButtonUp = 1;
        for (int r = FirstFieldRow; r <= LastFieldRow; ++r)
            for (int c = 0; c < BoardColumns; ++c) game.board[r][c] = (r + c) % GemKinds + 1;
        for (int c = 0; c < BoardColumns; ++c) game.board[FloorRow][c] = ClosedFloor;
    }

    static Cell cellAt(int x, int y) {
        move(x, y);
        return Cell{ui.cursorColumn, ui.cursorRow};
    }
};

// The mouse at (x, y) and the cell the procedure keeps for it.
struct CellAt {
    int x, y, column, row;
};

}  // namespace

// The edge pixels give column -1 or 8 and row 9, which the board rules exclude.
TEST_F(Procedure, CursorCellInBothLayouts) {
    const CellAt windowed[] = {{200, 40, 0, 1},    {600, 440, 7, 8},  {181, 19, -1, 1},
                               {614, 449, 7, 9},   {180, 100, NoCursorCell, 2}, {615, 100, NoCursorCell, 2},
                               {300, 18, 2, NoCursorCell}, {300, 450, 2, NoCursorCell}};
    const CellAt fullScreen[] = {{250, 50, 0, 1},   {211, 21, -1, 1},  {789, 574, 8, 9},
                                 {740, 540, 7, 8},  {210, 100, NoCursorCell, 2}, {790, 100, NoCursorCell, 2},
                                 {300, 20, 1, NoCursorCell}, {300, 575, 1, NoCursorCell}};
    for (const bool full : {false, true}) {
        ui.fullScreenActive = full ? 1 : 0;
        for (const CellAt& at : full ? fullScreen : windowed) {
            SCOPED_TRACE(testing::Message() << (full ? "full screen " : "windowed ") << at.x << "," << at.y);
            const Cell cell = cellAt(at.x, at.y);
            EXPECT_EQ(cell.column, at.column);
            EXPECT_EQ(cell.row, at.row);
        }
    }
}

TEST_F(Procedure, OtherScreensKeepTheCursorCell) {
    cellAt(200, 40);
    ui.screen = Screen::Options;
    move(500, 400);
    EXPECT_EQ(ui.mouseX, 500);
    EXPECT_EQ(ui.mouseY, 400);
    EXPECT_EQ(ui.cursorColumn, 0);
    EXPECT_EQ(ui.cursorRow, 1);
}

TEST_F(Procedure, ClickSelectsAndDragSwaps) {
    settings.soundOn = 1;
    move(300, 100);  // column 2, row 2
    press(300, 100);
    EXPECT_EQ(turn.firstSelected, 1);
    EXPECT_EQ(turn.firstCell.column, 2);
    EXPECT_EQ(turn.firstCell.row, 2);
    EXPECT_EQ(ui.mouseButtonUp, 0);
    EXPECT_EQ(countSampleRequests(Sample::Select), 1);
    move(350, 100);  // column 3: the neighbour, button still held
    EXPECT_EQ(turn.swapActive, 1);
    EXPECT_EQ(turn.secondCell.column, 3);
    release(350, 100);
    EXPECT_EQ(ui.mouseButtonUp, 1);
}

TEST_F(Procedure, DragOntoTheFloorRowDoesNothing) {
    move(300, 430);  // column 2, row 8
    press(300, 430);
    ASSERT_EQ(turn.firstSelected, 1);
    move(300, 448);  // row 9
    EXPECT_EQ(ui.cursorRow, 9);
    EXPECT_EQ(turn.swapActive, 0);
}

// Keys reach the next frame as commands on their press, one a press however
// quick the taps; the keyboard's auto-repeat presses nothing again, and a
// key's release is no command.
TEST_F(Procedure, KeysBecomeCommandsOnTheirPressOnly) {
    auto key = [](MessageKind kind, int code, bool repeat) {
        WindowMessage message = {};
        message.kind = kind;
        message.key = code;
        message.repeat = repeat ? 1 : 0;
        windowProcedure(message);
    };
    for (int tap = 0; tap < 2; ++tap) {
        key(MessageKind::KeyDown, 'Q', false);
        key(MessageKind::KeyUp, 'Q', false);
    }
    key(MessageKind::KeyDown, VkEscape, false);
    key(MessageKind::KeyDown, VkEscape, true);
    ASSERT_EQ(shell.input.count, 3);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(shell.input.commands[i].kind, CommandKind::Letter);
        EXPECT_EQ(shell.input.commands[i].x, 'Q');
    }
    EXPECT_EQ(shell.input.commands[2].kind, CommandKind::Back);
}

TEST_F(Procedure, MinimisedWindowIsInactive) {
    WindowMessage message = {};
    message.kind = MessageKind::Activate;
    message.minimised = 1;
    windowProcedure(message);
    EXPECT_EQ(shell.windowActive, 0);
    message.minimised = 0;
    windowProcedure(message);
    EXPECT_EQ(shell.windowActive, 1);
}

// Minimised for a minute on the frame clock's stand-in: the frames after the
// window comes back measure their own time, not the minute.
TEST_F(Procedure, TimeMinimisedDoesNotCountAsFrameTime) {
    static uint32_t fakeMillis = 0;
    static const ClockSources millisOnly = {[] { return int64_t{0}; }, [] { return int64_t{0}; },
                                            [] { return fakeMillis; }};
    setClockSources(&millisOnly);
    clockStart();
    auto frames = [](int count) {
        for (int n = 0; n < count; ++n) {
            if (shell.input.clockRestarted) restartFrameMeasurement();
            shell.input.clockRestarted = 0;
            measureFrameTime(clockMicros());
            fakeMillis += 10;
        }
    };
    frames(15);
    EXPECT_FLOAT_EQ(scene.speedFactor, 1.05f);
    WindowMessage message = {};
    message.kind = MessageKind::Activate;
    message.minimised = 1;
    windowProcedure(message);
    fakeMillis += 60000;
    message.minimised = 0;
    windowProcedure(message);
    frames(11);
    setClockSources(nullptr);
    EXPECT_NEAR(scene.frameSpan, 1.0f, 1e-3f) << "ten frames of 10 ms, the minute left out";
    EXPECT_NEAR(scene.speedFactor, 1.05f, 1e-3f);
}

TEST_F(Procedure, CloseAsksTheLoopToQuit) {
    WindowMessage message = {};
    message.kind = MessageKind::Close;
    windowProcedure(message);
    mainLoopPass();
    EXPECT_EQ(shell.quitRequested, 1);
    EXPECT_EQ(shell.exitCode, 0);
}
