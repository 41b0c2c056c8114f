// help.htm: the player's guide, opened from the options screen.
#include <string>

#include "files_local.h"
#include "generator.h"

namespace {

// Score at which each level of the levels mode is complete.
constexpr int LevelTargets[21] = {500,   1500,  3000,  5500,   8000,   12000,  16000,  21000,  27000,  34000, 45000,
                                  55000, 70000, 90000, 115000, 155000, 190000, 250000, 350000, 500000, 1000000};

std::string withThousands(int value) {
    std::string digits = std::to_string(value);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<size_t>(i), "&#8239;");
    return digits;
}

std::string levelTable() {
    std::string rows;
    for (int level = 0; level < 21; ++level) {
        const int from = level == 0 ? 0 : LevelTargets[level - 1];
        rows += "<tr><td>" + std::to_string(level + 1) + "</td><td>" + withThousands(from) + "</td><td>" +
                withThousands(LevelTargets[level]) + "</td><td>" + std::to_string(5 * level + 10) + "</td></tr>\n";
    }
    return rows;
}

const char* const Head = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Vortiq - How to play</title>
<style>
body { margin: 0; background: #10131c; color: #dde3ee; font: 16px/1.55 "DejaVu Sans", Verdana, sans-serif; }
main { max-width: 46em; margin: 0 auto; padding: 1.5em 1.2em 3em; }
h1 { color: #ffd56b; font-size: 2.2em; margin: 0.2em 0 0; letter-spacing: 0.08em; }
h1 + p { color: #9aa7bd; margin-top: 0; }
h2 { color: #8fd3ff; border-bottom: 1px solid #2c3650; padding-bottom: 0.15em; margin-top: 1.8em; }
h3 { color: #ffd56b; font-size: 1.05em; margin-bottom: 0.3em; }
a { color: #8fd3ff; }
kbd { background: #232b3d; border: 1px solid #3a4662; border-radius: 4px; padding: 0 0.35em; font-size: 0.9em; }
code { color: #ffd56b; }
table { border-collapse: collapse; margin: 0.6em 0; }
th, td { border: 1px solid #2c3650; padding: 0.2em 0.8em; text-align: right; }
th { background: #1b2233; color: #8fd3ff; }
.note { background: #1b2233; border-left: 4px solid #ffd56b; padding: 0.5em 0.9em; }
nav ul { columns: 2; }
</style>
</head>
<body>
<main>
<h1>VORTIQ</h1>
<p>How to play</p>

<nav><ul>
<li><a href="#goal">The goal</a></li>
<li><a href="#moves">Making a move</a></li>
<li><a href="#scoring">Points and chains</a></li>
<li><a href="#levels">The levels mode</a></li>
<li><a href="#timed">The timed mode</a></li>
<li><a href="#hint">The hint</a></li>
<li><a href="#buttons">Buttons, keys and controllers</a></li>
<li><a href="#options">Options</a></li>
<li><a href="#scores">High scores</a></li>
<li><a href="#files">Where your game is kept</a></li>
</ul></nav>

<h2 id="goal">The goal</h2>
<p>The field holds 8 &times; 8 gems of seven kinds. Every kind has its own colour <em>and</em> its own
shape &mdash; round, square, triangle, rhombus, hexagon, heart and star &mdash; so you can tell them
apart by outline alone. Swap two neighbouring gems so that three or more of one kind line up in a row
or a column: they vanish, the gems above fall into the gap, and new gems drop in from the top. Gems that
line up by themselves while the field settles vanish too and score as a <em>chain</em>.</p>

<h2 id="moves">Making a move</h2>
<ul>
<li>Click a gem to pick it up; it starts to spin. Then click one of its four neighbours (left, right,
above or below), or simply drag the gem onto it.</li>
<li>If the swap makes a line of three or more, the line vanishes. If it does not, the two gems slide
back to where they were.</li>
<li>Click the spinning gem again to put it down, or click a gem that is not its neighbour to pick that
one up instead.</li>
<li>Lines that are on the board when a new field fills in vanish by themselves and score nothing:
points count only once you have made your first move.</li>
</ul>

<h2 id="scoring">Points and chains</h2>
<p>Every three gems in a line are worth <strong>10 points, plus 5 for each level</strong>
(10 at level 1, 15 at level 2, 60 at level 11). A line of four counts as two overlapping threes,
a line of five as three, and an L or T shape as one line across and one down.</p>
<p>After your swap, every further round of lines that forms while the gems fall is a link of the chain,
and each three in it also carries the <em>whole total</em> of the round before. At level 1:</p>
<ul>
<li>a swap that makes one line of three: <strong>10</strong>;</li>
<li>a swap that makes a line of five: 10 + 10 + 10 = <strong>30</strong>;</li>
<li>if that is followed by one more line falling into place: 10 + 30 = <strong>40</strong> more.</li>
</ul>
<p>The sound rises with the chain. Four rounds in a row after one swap earn an <strong>Excellent!</strong>,
and the count starts again, so a very long chain can earn it twice.</p>

<h2 id="levels">The levels mode</h2>
<p>Reach each level's score to complete it: the field empties, the next level begins with a fresh field
and a new backdrop, and every line is worth 5 points more. The bar at the bottom of the window shows how
far you are from the next level. The game is over when <strong>no swap is left</strong> that would make
a line.</p>
<table>
<tr><th>Level</th><th>From</th><th>Complete at</th><th>Points for three</th></tr>
)";

const char* const Tail = R"(</table>
<p>Beyond level 21 the target stays at 1&#8239;000&#8239;000 and every level is worth 5 points more a line.</p>

<h2 id="timed">The timed mode</h2>
<p>Here the bar at the bottom is your time. It starts half full and runs down &mdash; at level 1 slowly
(the half bar lasts about eight minutes), and faster at every level: at level <em>n</em> it drains
<em>n</em> times as fast. Every round of lines you score fills it by <strong>2.5</strong>.
When it is full, the level is complete and the next one starts half full again. When it runs out, the
game is over. If no swap is left, the field simply empties and fills again.</p>
<p>Press <kbd>P</kbd> or <kbd>Esc</kbd> to <strong>pause</strong> the timed game (the board is hidden and
the time stops); press either key again, or click the PAUSED plate, to go on. The levels mode needs no
pause: it has no clock. When the last fifth of the time is left, the bar turns red.</p>

<h2 id="hint">The hint</h2>
<p>Stuck? Click the hint picture in the side panel (or press <kbd>H</kbd>). One gem that can make a line is picked up for you
and spins &mdash; you still have to find which neighbour to swap it with. A hint costs
<strong>50 points</strong> in the levels mode (never taking you below the start of your current level)
and <strong>10 time units</strong> in the timed mode, even when no move is left to show. There is no hint while the game is paused.</p>

<h2 id="buttons">Buttons, keys and controllers</h2>
<table>
<tr><th>Side panel</th><th style="text-align:left">What it does</th></tr>
<tr><td>NEW GAME</td><td style="text-align:left">asks, then starts a new game in the current mode</td></tr>
<tr><td>LEVELS</td><td style="text-align:left">starts a new game in the levels mode (once a game is under way, asks first)</td></tr>
<tr><td>TIMED</td><td style="text-align:left">starts a new game in the timed mode (once a game is under way, asks first)</td></tr>
<tr><td>Hint</td><td style="text-align:left">shows a gem that can move (see above)</td></tr>
<tr><td>OPTIONS</td><td style="text-align:left">opens the options</td></tr>
<tr><td>QUIT</td><td style="text-align:left">asks, then closes the game</td></tr>
</table>
<h3>Playing with the keyboard</h3>
<p>The field has a cursor of its own, a bright ring around one cell. It starts on the top-left cell when
a game starts, is continued or a new level begins, shows from your first key press and hides again when
you use the mouse. Clicking a cell and the hint move it too.</p>
<table>
<tr><th>Key</th><th style="text-align:left">What it does</th></tr>
<tr><td><kbd>&larr;</kbd> <kbd>&rarr;</kbd> <kbd>&uarr;</kbd> <kbd>&darr;</kbd></td><td style="text-align:left">move the cursor one cell (hold to keep moving)</td></tr>
<tr><td><kbd>Space</kbd> or <kbd>Enter</kbd></td><td style="text-align:left">the same as a click on the cursor's gem: pick it up, put it down, or swap the picked-up gem with it</td></tr>
<tr><td><kbd>H</kbd></td><td style="text-align:left">the hint</td></tr>
<tr><td><kbd>P</kbd> or <kbd>Esc</kbd></td><td style="text-align:left">pause and resume the timed mode</td></tr>
<tr><td><kbd>N</kbd></td><td style="text-align:left">NEW GAME</td></tr>
<tr><td><kbd>L</kbd> / <kbd>T</kbd></td><td style="text-align:left">LEVELS / TIMED</td></tr>
<tr><td><kbd>O</kbd></td><td style="text-align:left">OPTIONS</td></tr>
<tr><td><kbd>Q</kbd></td><td style="text-align:left">QUIT</td></tr>
<tr><td><kbd>F11</kbd> or <kbd>Alt</kbd>+<kbd>Enter</kbd></td><td style="text-align:left">full screen on and off, as in the options</td></tr>
<tr><td><kbd>Enter</kbd> or <kbd>Y</kbd></td><td style="text-align:left">on a question: the first button (YES, or continue your last game); on the options and the high scores: BACK</td></tr>
<tr><td><kbd>N</kbd> or <kbd>Esc</kbd></td><td style="text-align:left">on a question: the second button (NO, or a new game); on the options and the high scores: BACK</td></tr>
</table>
<p>While you type your name for the high-score table, the letters, <kbd>Backspace</kbd>, <kbd>Enter</kbd>
and <kbd>Space</kbd> only type and confirm the name.</p>

<h3>Playing with a game controller</h3>
<p>Plug a controller in before or while you play; it works at once.</p>
<table>
<tr><th>Button</th><th style="text-align:left">What it does</th></tr>
<tr><td>D-pad or left stick</td><td style="text-align:left">move the cursor (hold to keep moving)</td></tr>
<tr><td>A</td><td style="text-align:left">pick up, put down or swap, as <kbd>Space</kbd>; on a question the first button; on the options and the high scores BACK; confirms your name</td></tr>
<tr><td>B</td><td style="text-align:left">on a question the second button; on the options and the high scores BACK</td></tr>
<tr><td>X</td><td style="text-align:left">the hint</td></tr>
<tr><td>Y</td><td style="text-align:left">OPTIONS</td></tr>
<tr><td>Start</td><td style="text-align:left">pause and resume the timed mode; OPTIONS in the levels mode; leaves the options and the high scores</td></tr>
<tr><td>Back (Select)</td><td style="text-align:left">QUIT</td></tr>
</table>
<p class="note">When you close the game, the game you were playing is kept. Next time you start, Vortiq
asks whether to <strong>continue your last game</strong> or start a new one.</p>

<h2 id="options">Options</h2>
<ul>
<li><strong>High scores</strong> shows both high-score tables; their <strong>BACK</strong> returns to your game.</li>
<li><strong>Full screen</strong> switches between the window and the whole screen. The window can be
resized: the picture grows to fill it and keeps its shape.</li>
<li><strong>Music</strong> and <strong>Sound</strong> switch the music and the sound effects on and off.
Each mode has its own tune: a calm one for the levels mode, a driving one for the timed mode.</li>
<li><strong>Help</strong> opens this page beside the game, which goes on; a timed game waits, paused.</li>
<li><strong>Back</strong> returns to the board.</li>
</ul>
<p>Your choices are remembered from one run to the next.</p>

<h2 id="scores">High scores</h2>
<p>There are two tables of five, one for each mode. When a game ends with a score higher than the fifth
entry of its table, you are asked for your name: type up to nine letters (the first becomes a capital),
correct with <kbd>Backspace</kbd>, and confirm with <kbd>Enter</kbd> or <kbd>Space</kbd>. A score equal to
an entry goes below it. Then the tables are shown with your entry in gold and your final score in the
score box; their <strong>BACK</strong> button starts a new game.</p>

<h2 id="files">Where your game is kept</h2>
<p>Vortiq keeps three small files of yours:</p>
<ul>
<li><code>base/hiscores</code> &mdash; both high-score tables;</li>
<li><code>base/data.inf</code> &mdash; the game you were playing when you closed Vortiq;</li>
<li><code>base/menu.inf</code> &mdash; your options (full screen, music, sound).</li>
</ul>
<p>When you run Vortiq from the folder it was built or unpacked in, they are in its <code>base</code>
folder, next to the game. An installed Vortiq keeps them in your home folder, in
<code>~/.local/share/vortiq/base</code> (or in <code>vortiq/base</code> under <code>$XDG_DATA_HOME</code>
when you have set it). The high scores are written as soon as a name is entered; the options and the running
game when you close Vortiq.</p>
</main>
</body>
</html>
)";

}  // namespace

bool writeHelpPage(const std::string& gameDir) {
    return writeFileSafely(gameDir + "/help.htm", std::string(Head) + levelTable() + Tail);
}
