"""Where things are on the game's screen: the build's screen geometry table
(both layouts), the board's cells and the screen buttons."""

import json
import os


def _screen_geometry():
    """The game's screen geometry table (both layouts), as the build wrote it."""
    path = os.environ.get("VORTIQ_GEOMETRY")
    if not path:
        raise SystemExit("VORTIQ_GEOMETRY must name the geometry.json the build writes (ctest sets it)")
    with open(path) as f:
        return json.load(f)


GEOMETRY = _screen_geometry()

# Board cells of the windowed layout: pitch pixels square.
_CELLS = GEOMETRY["windowed"]["cells"]
CELL = _CELLS["pitch"]


def cell_centre(column, row):
    """Client pixel at the middle of a field cell (row 1..8, column 0..7)."""
    return (CELL * (column + 4) - _CELLS["columnShift"] + CELL // 2,
            CELL * (row - 1) - _CELLS["rowShift"] + CELL // 2)


def button_point(layout, name):
    """The middle of a screen button's hit rectangle (top-down client pixels)."""
    left, right, top, bottom = GEOMETRY[layout]["buttons"][name]["hit"]
    return (left + right) // 2, (top + bottom) // 2


def drawn(name, layout="windowed"):
    """Where a panel or a button's picture is drawn: overlay (x, y, w, h), origin bottom left."""
    geometry = GEOMETRY[layout]
    if name in geometry["panels"]:
        return tuple(geometry["panels"][name])
    return tuple(geometry["buttons"][name]["drawn"])


# Screen buttons of the windowed layout.
NEW_GAME = button_point("windowed", "newGame")
LEVELS = button_point("windowed", "levelsMode")
TIMED = button_point("windowed", "timedMode")
HINT = button_point("windowed", "hint")
OPTIONS = button_point("windowed", "options")
QUIT = button_point("windowed", "quit")
DIALOG_YES = button_point("windowed", "dialogFirst")
DIALOG_NO = button_point("windowed", "dialogSecond")
OPTION_HIGH_SCORES = button_point("windowed", "highScoresRow")
OPTION_FULL_SCREEN = button_point("windowed", "fullScreenRow")
OPTION_MUSIC = button_point("windowed", "musicRow")
OPTION_SOUND = button_point("windowed", "soundRow")
OPTION_BACK = button_point("windowed", "optionsBack")
HIGH_SCORES_BACK = button_point("windowed", "highScoresBack")
# The same buttons in the 800 x 600 layout.
FULL_OPTION_FULL_SCREEN = button_point("fullScreen", "fullScreenRow")
FULL_OPTION_BACK = button_point("fullScreen", "optionsBack")
FULL_OPTIONS = button_point("fullScreen", "options")

# The field as it shows through the frame (top-down client pixels).
FIELD_BOX = (188, 21, 610, 443)
