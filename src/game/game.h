// The game rules and the state every subsystem shares.
//
// Everything here is plain data in globals and free functions that work on
// them. This folder builds as a library with no SDL and no OpenGL, so the
// whole rule set can be played frame by frame in tests.
#pragma once

#include <cstdint>

#include "game/pictures.h"
#include "game/screen_geometry.h"

// ---------------------------------------------------------------------------
// Shared enumerations and constants

enum class Screen : int32_t {
    Playing = 0,
    ConfirmNewGame = 1,
    Options = 2,
    ConfirmQuit = 3,
    ContinuePrompt = 5,
    HighScores = 77,
    NameEntry = 88,
};

enum class GameMode : int32_t { Levels = 0, Timed = 1 };

enum class BoardEvent : int32_t { None = 0, LevelComplete = 1, NoMoves = 2, Excellent = 3 };

// Looks of a screen button (the values of newGameButton and friends).
enum ButtonLook : int32_t { ButtonNormal = 0, ButtonHighlighted = 1, ButtonPressed = 2 };

constexpr int BoardRows = 10;     // spawn row, 8 field rows, floor row
constexpr int BoardColumns = 8;
constexpr int SpawnRow = 0;
constexpr int FirstFieldRow = 1;
constexpr int LastFieldRow = 8;
constexpr int FloorRow = 9;
constexpr int32_t ClosedFloor = 555;
constexpr int GemKinds = 7;

constexpr int RemovalSlots = 20;  // slot 0 is never used; slots 1..19 hold cells
constexpr int ScorePopupCount = 10;
constexpr int LevelCount = 21;    // rows of the level table
constexpr int HighScoreEntries = 5;
constexpr float TimedModeTime = 50.0f;  // the time bar of every timed level starts here
// The rules' version: a recorded game plays back only under the rules it was
// played under. Raise it with every change that makes a game play differently.
constexpr uint16_t RulesVersion = 2;

// A column 800 in firstCell marks a gem deselected by the current click,
// -600 no cell at all.
constexpr int32_t DeselectedColumn = 800;
constexpr int32_t NoCellColumn = -600;
// A free place of the name being typed (and of a short name in the tables).
constexpr char FreeNamePlace = '$';

// ---------------------------------------------------------------------------
// Input: what a frame's step is given. Every message of the window, the keys,
// the mouse and the controllers reaches the rules as a command in layout or
// cell terms, applied in order at the start of the frame's step; nothing
// else changes the game's state. A frame's time and commands are all a
// recorded game needs to be played again.

enum class CommandKind : uint8_t {
    None = 0,
    Point = 1,       // x, y: the mouse is over this layout point (highlights, a drag)
    Press = 2,       // x, y: the left button goes down at this layout point
    Release = 3,     // the left button goes up
    Letter = 4,      // x: a letter key, 'A'..'Z' (a letter of the name, or a key of the screen)
    Erase = 5,       // Backspace
    Confirm = 6,     // Return or a controller's A: choose, end the name, the first button
    Choose = 7,      // Space: choose on the board, end the name
    Back = 8,        // Escape: the pause on the board, the second button elsewhere
    Cancel = 9,      // a controller's B: the second button
    Start = 10,      // a controller's Start: the pause or the options; ends the name
    MoveCursor = 11, // x, y: the key cursor one cell along a column, a row
    Hint = 12,       // a controller's X (the H key comes as a letter)
    Button = 13,     // x: the ScreenButton pressed, wherever the mouse is
    FullScreen = 14, // F11 or Alt+Enter: the other window is asked for
    Layout = 15,     // x: 1 for the full-screen layout, 0 for the windowed one, now on
                     // screen; y: 1 when full screen was asked for and refused
};

struct Command {
    CommandKind kind;
    int32_t x;
    int32_t y;
};

constexpr int MostFrameCommands = 64;

// One frame's input: its time, in microseconds of a clock that starts once
// per run, whether time passed without frames since the last (a rest, a
// minimised or new window: a new measurement starts), and its commands.
struct FrameInput {
    int64_t ticks;
    uint8_t clockRestarted;
    int32_t count;
    Command commands[MostFrameCommands];
};

// Appends a command; false when the frame holds as many as it can.
bool addCommand(FrameInput& input, CommandKind kind, int32_t x = 0, int32_t y = 0);

// The buttons that keys and controllers press.
enum class ScreenButton : int32_t {
    NewGame, TimedMode, LevelsMode, Hint, Options, Quit,  // side panel
    DialogFirst, DialogSecond,                           // yes / continue, no / new game
    HighScoresDone,                                      // the high-score screen's button
    OptionsBack,                                         // the options screen's back button
};

// What a step asks of the shell, carried out at the top of its next pass.
enum ShellRequest : uint32_t {
    RequestQuit = 1,        // end the main loop
    RequestHelp = 2,        // open the help page beside the game
    RequestFullScreen = 4,  // make the window again in the other layout
    RequestWatch = 8,       // show the game of the high-score row ui.watchedRow
};

// The files and the sound device the rules reach through the shell; each is
// called inside the step when set (the rule tests set none).
struct StepHooks {
    bool (*restoreGame)();                // the saved game into the state; false when none
    void (*enterHighScore)(GameMode mode);  // the typed name into the table and its file
    void (*retrySound)();                 // a switch turned on: try the sound device again
};
extern StepHooks stepHooks;

// ---------------------------------------------------------------------------
// Records

struct Cell {
    int32_t column;
    int32_t row;
};

struct SwapMotion {
    float x, y, z;  // offset of the gem from its cell, board units
    float vx, vy;   // velocity per frame unit
};

struct RemovalEntry {
    uint8_t used;
    int32_t column;
    int32_t row;
    float scale;  // only slot 1's is used: the common removal scale
};

struct ScorePopup {
    uint8_t active;
    int32_t x, y;  // start position in text space
    int32_t points;
    float progress;
};

struct LevelBounds {
    int32_t levelBase;
    int32_t levelTarget;
};

struct Settings {
    int32_t fullScreen;
    int32_t musicOn;
    int32_t soundOn;
};

struct HighScoreEntry {
    char name[16];
    int32_t score;
};

struct HighScoreTable {
    HighScoreEntry entries[HighScoreEntries];
};

// ---------------------------------------------------------------------------
// State, grouped by owner. All of it lives for the whole run; resetGameState()
// puts every field back to its program-load value.

// The running game: board, score, level, mode, events, drains.
struct GameState {
    int32_t board[BoardRows][BoardColumns];  // board[row][column]
    int32_t score;
    int32_t level;
    int32_t levelBase;
    int32_t levelTarget;
    float timeLeft;
    GameMode gameMode;
    uint8_t playerMoved;
    int32_t comboCount;
    int32_t lastPassPoints;
    BoardEvent boardEvent;
    uint8_t gameOverDrain;
    uint8_t gameOverPending;
    uint8_t finished;  // the game over ended on the name entry; the next new game clears it
    uint8_t timedDrain;
    float fallOffset;  // -1.0 at load
    int32_t backgroundKind;
    float hintCell[2];  // column, row of the gem the hint names
    float barLength;    // shown length of the bar, 800 x 600 bar pixels
    uint32_t gamesBegun;  // games begun in this run, new or continued
};

// A turn in progress: selection, swap, removal and the spinning gems.
struct TurnState {
    uint8_t firstSelected;
    Cell firstCell;
    uint8_t secondSelected;
    Cell secondCell;
    uint8_t swapActive;
    uint8_t swapReturning;
    SwapMotion firstMotion;
    SwapMotion secondMotion;

    uint8_t spinning;
    Cell spinCell;
    float spinAngle;
    uint8_t spinStop;
    uint8_t prevSpinning;
    Cell prevSpinCell;
    float prevSpinAngle;
    uint8_t prevSpinStop;

    uint8_t removing;
    RemovalEntry removalList[RemovalSlots];
    int32_t removalCursor;
};

// Frame timing and the animated readouts that the rules drive each frame.
struct SceneState {
    float speedFactor;  // 0 until the first measurement
    float frameSpan;
    int32_t measureCount;
    int64_t measureStart;   // microseconds of the frame clock
    int64_t measureEnd;
    int64_t lastFrameTime;  // when the last measured frame began
    float shownScore;      // the score counter's value
    float bannerProgress;  // 0..1 over one event banner
    float bannerAlpha;
    ScorePopup scorePopups[ScorePopupCount];
};

// What the player sees and points at: the screen, the button looks, the
// mouse, and the window layout they depend on.
struct UiState {
    Screen screen;
    int32_t newGameButton;
    int32_t modeAButton;  // the levels button's look: pressed while the levels mode runs
    int32_t modeBButton;  // the timed button's look: pressed while the timed mode runs
    int32_t hintLit;
    int32_t optionsButton;
    int32_t quitButton;
    int32_t confirmLit;
    int32_t cancelLit;
    int32_t helpLit;
    int32_t highScoresLit;
    uint8_t paused;
    uint8_t modeAsked;     // the new-game question came from a mode button: its Yes starts askedMode
    GameMode askedMode;
    uint8_t fullScreenActive;  // 800 x 600 layout when set
    int32_t mouseX;
    int32_t mouseY;
    int32_t cursorColumn;  // board cell under the mouse, NoCursorCell outside
    int32_t cursorRow;
    uint8_t mouseButtonUp;  // 0 while the left button is held
    Cell keyCursor;          // the keyboard's and controller's cell on the field
    uint8_t keyCursorShown;  // from a key or button press until the mouse is used again
    // High-score rows: 1..5 the levels table's, 6..10 the timed table's, 0 none.
    int32_t chosenRow;   // the row the keys chose on the high-score screen
    int32_t watchedRow;  // the row whose game was asked for
    ScreenFit fit;          // the layout in the window; all zero before the first window
};

// The game whose end the high-score screen follows: its final score shows
// there, and the row its entry went into is marked.
struct EndedGame {
    uint8_t shown;       // the high-score screen follows that game's end (not the options)
    GameMode mode;
    int32_t score;       // its final score
    int32_t enteredRow;  // the row of its entry in its mode's table; NoEnteredRow when none
};
constexpr int32_t NoEnteredRow = -1;

// The two high-score tables and the name being typed for a new entry.
struct ScoreBook {
    HighScoreTable highScores[2];  // indexed by GameMode
    char entryName[10];            // nine characters and a zero; '$' marks a free place
    int32_t entryCursor;           // 1-based, 1..10
    EndedGame ended;
};

// What a frame's rules step leaves for its drawing, taken where the drawing
// looks at it: the board, its backdrop and the spins as they stand when the
// gems are drawn (before a banner that ends may start a new game or level),
// the screen whose dialog shows, and the banner of the frame.
struct FrameView {
    uint8_t gemsShown;  // the gems are drawn (the playing screen, not paused)
    int32_t board[BoardRows][BoardColumns];
    int32_t backgroundKind;
    int32_t spinCount;  // rotations of the drawn gems, in the order they apply
    Cell spinCells[2];
    float spinDegrees[2];
    Screen dialog;  // the dialog drawn over the board (none on Screen::Playing)
    uint8_t bannerShown;
    Picture banner;  // Picture::None on the frame in which the banner ends
};

extern GameState game;
extern TurnState turn;
extern SceneState scene;
extern UiState ui;
extern ScoreBook scoreBook;
extern Settings settings;
extern FrameView frameView;

extern const LevelBounds LevelTable[LevelCount];

// Puts every global above back to its program-load value.
void resetGameState();

// The dice: the C library's rand(), seeded once per run, and how many
// numbers the rules have drawn from it. A game's start is (seed, drawn).
struct Dice {
    uint32_t seed;
    uint64_t drawn;
    uint64_t drawnAtNewGame;  // what had been drawn when the running game began
};
extern Dice dice;

// Seeds the dice from VORTIQ_SEED when it holds a number, else from the time
// of day; once per run, at start-up.
void seedRandom();
void seedDice(uint32_t seed);
// The dice as they stood after `drawn` numbers from `seed`.
void restoreDice(uint32_t seed, uint64_t drawn);
// The one way the rules draw a number.
int drawRandom();

// The layout on screen and its geometry.
inline Layout currentLayout() { return ui.fullScreenActive ? Layout::FullScreen : Layout::Windowed; }
inline const ScreenGeometry& screenGeometry() { return layoutGeometry(currentLayout()); }

inline float& removalScale() { return turn.removalList[1].scale; }
inline bool levelsModeRunning() { return game.gameMode == GameMode::Levels; }
inline bool timedModeRunning() { return game.gameMode == GameMode::Timed; }
// A new game would lose something: a move was made, or points or a level won.
inline bool gameUnderWay() { return game.playerMoved || game.score != 0 || game.level != 0; }
// The two mode buttons' looks for the running mode: its button pressed.
void settleModeButtons();
// From the game-over sound until its banner ends: the score still waits for
// its chance at the table.
inline bool gameOverRunning() {
    return game.gameOverDrain || game.gameOverPending || game.boardEvent == BoardEvent::NoMoves;
}

// ---------------------------------------------------------------------------
// Board and game state

// A fresh board of the running mode; the pause, a running banner and its
// event end with the old game.
void newGame();
// What every level starts with: its bounds, an empty bar, no move or chain
// yet, a full time bar in the timed mode, and its backdrop (which may draw a
// random number, last).
void startLevel();
// Levels mode only: the bounds of `level` from LevelTable; above its last row
// each level starts at the previous target and spans 500000 points.
void updateLevelBounds();
void chooseBackground();
int32_t randomGem();  // rand() % 7 + 1

// ---------------------------------------------------------------------------
// Move search, matches, the turn sequence

bool findMove();
void resolveMatches(bool afterSwap);
void fallStep();

// The board's part of a frame, in this order:
//   stepNoMovesAndFall()  full-board test, no-move tests, fall clock
//   stepSwapAndRemoval()  swap motion, removal
//   gemsShown()           false: the board's work ends here
//   advanceSpinsAt()      for each gem that is shown, row by row
// stepBoard() runs them all and fills the board part of frameView.
void stepNoMovesAndFall();
void stepSwapAndRemoval();
bool gemsShown();
void stepBoard();

// Advances the spins of a shown gem cell and says how to turn it: returns how
// many rotations (0..2) to apply about the y axis, in order, into degrees[].
int advanceSpinsAt(int column, int row, float degrees[2]);

// ---------------------------------------------------------------------------
// Scene: frame timing, level test, bar, banner, popups, score counter

// The longest time one frame may advance the rules: ten frames at 100 frames
// per second. A longer frame (the process was stopped, a message box waited
// for an answer) counts as this.
constexpr int64_t LongestFrameTicks = 100000;
// Takes the frame-time measurement at the frame's time (microseconds). A
// frame counts for 100 ms at most, so speedFactor stays under 10.5.
void measureFrameTime(int64_t ticks);
// Time passed without frames (the window minimised or made again, a rest):
// the next frame starts a new measurement; until it ends the speed measured
// before holds.
void restartFrameMeasurement();
void levelCompleteTest();
void updateBarRules();       // time drain, bar value, time-out, level complete, barLength
// The timed bar in its last fifth: it warns that the time runs out.
bool barWarns();
void advanceBanner();        // progress, end actions, bannerAlpha
Picture bannerPicture();     // the banner of the current event, Picture::None for none
bool advanceScorePopup(int index);  // true when the popup shows this frame
bool startScorePopup(int x, int y, int points);
void chaseScore();           // the score counter follows the score, on Screen::Playing only

// ---------------------------------------------------------------------------
// The frame

// One frame: the commands in order, then every rule step: frame time, level
// bounds and test, the board, the banner, the score counter, the popups, the
// bar, and the readouts put on their goals when all else is still. Fills
// frameView for the drawing. Returns the ShellRequest flags of the frame.
uint32_t stepFrame(const FrameInput& input);
// One command, as the step applies it; returns the ShellRequest flags it raised.
uint32_t applyCommand(const Command& command);

// ---------------------------------------------------------------------------
// Rest: whether the next frame would look exactly like the last one

// The bar's length as drawn: within a step of its goal the bar swings about
// it from frame to frame, and shows the goal itself.
float barLengthShown();

// True when nothing the rules move is moving on the screen shown: no swap,
// removal, fall, spin, banner, drain or popup, no test about to end a level
// or a game, no time running, and the score counter and the bar on their
// goals. Input alone changes the picture then.
bool sceneAtRest();
// When all else is still and a readout swings within one step about its
// goal, puts it on the goal (the end of the frame's step: the frame shows it).
void settleReadouts();
// A swap that makes a line somewhere on the field; changes nothing.
bool moveExists();

// ---------------------------------------------------------------------------
// Board input: selection and swaps on board cells

// Maps a layout pixel to the board cell under it in the current layout.
void cursorCellAt(int x, int y, int32_t* column, int32_t* row);
void boardMouseMoveRules();    // the drag that starts a swap
void boardButtonDownRules();   // second click, first click, deselect marker
void startSwap(Cell partner);
void useHint();                // the hint button's rule (select, charge, hint.wav, cursor to the gem)
// The left click's board rules at a cell: second click, first click,
// deselect marker. boardButtonDownRules runs them at the mouse's cell.
void boardClickRules(int32_t column, int32_t row);

// ---------------------------------------------------------------------------
// The keyboard cursor: its own cell on the field, moved only by the arrows
// (or the controller), by a click on a field cell and by the hint.

// Back to the top-left cell of the field: a game starts, is continued, or a
// new level begins.
void placeKeyCursorAtStart();
// One cell along a column or row, stopping at the field's edges.
void moveKeyCursor(int dColumn, int dRow);
// A click on a field cell takes the cursor there (the mouse's cell, on the
// board screen).
void keyCursorFollowsClick();
// What a left click on the cursor's cell would do.
void chooseAtKeyCursor();

// ---------------------------------------------------------------------------
// High scores in memory

bool madeHighScore();
// A game has ended: its mode and score are kept for the high-score screen
// that follows (no row entered yet).
void noteEndedGame();
// The row of a table marked as the ended game's entry, NoEnteredRow when
// none is (a table shown from the options marks none; an entry the file
// could not keep is not there).
int32_t markedRow(GameMode mode);
// The score counter's value: the ended game's score while its high-score
// screen shows, else the counter as it runs.
float counterShows();

// ---------------------------------------------------------------------------
// The name entry of a new high score (on Screen::NameEntry only)

// Types the letter of key code `code` ('A' ..) into the next free place: the
// first letter upper case, the others lower case. False when nothing changes.
bool typeNameLetter(int code);
// Frees the last typed place. False when nothing changes.
bool eraseNameLetter();
// Ends the entry: the high-score screen follows. False when no entry runs;
// the caller then puts the name into its table.
bool finishNameEntry();

// ---------------------------------------------------------------------------
// The screen buttons (on the screen showing, in the layout in force)

// Highlights of the side panel (on the board screen).
void sidePanelHover();
// Highlights of the dialog, high-score and options screens.
void otherScreensHover();
// A left click at the mouse position on whatever screen shows; the
// ShellRequest flags it raised.
uint32_t screenButtonsClick();
// A click on that button, wherever the mouse is: exactly what a left click
// inside it does on the screen showing (nothing where it is not shown).
uint32_t pressScreenButton(ScreenButton button);
// The first screen of a run: the question whether to continue the saved
// game when it holds one worth continuing; otherwise a new game of lastMode
// starts at once.
void startFirstGame(bool savedGameWaits, GameMode lastMode);
// Pauses or resumes the timed mode on the board screen; false elsewhere.
bool togglePause();
// The name entry's end: the name goes into its table.
void confirmName();
