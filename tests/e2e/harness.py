"""Plays the built game the way a player does: its own X server, real mouse
and key input through xdotool, screenshots of the X screen, and the files the
game writes in base/.

Only the Python standard library plus the X tools the project already needs
(Xvfb, xdotool, ImageMagick's import and convert)."""

import colorsys
import json
import math
import ctypes
import os
import shutil
import signal
import struct
import subprocess
import tempfile
import time

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


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def check_equal(actual, expected, what):
    if actual != expected:
        raise Failure("%s: expected %r, got %r" % (what, expected, actual))


# ---------------------------------------------------------------------------
# Pictures


class Picture:
    """An RGB picture, rows top-down."""

    def __init__(self, width, height, pixels):
        self.width, self.height, self.pixels = width, height, pixels

    @staticmethod
    def from_ppm(data):
        # P6 header: magic, width, height, maxval, each followed by whitespace.
        fields, pos = [], 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b"#":
                pos = data.index(b"\n", pos)
                continue
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        pos += 1
        check(fields[0] == b"P6" and fields[3] == b"255", "not an 8-bit PPM picture")
        width, height = int(fields[1]), int(fields[2])
        return Picture(width, height, data[pos:pos + width * height * 3])

    def pixel(self, x, y):
        o = (y * self.width + x) * 3
        return self.pixels[o], self.pixels[o + 1], self.pixels[o + 2]

    def crop(self, x, y, w, h):
        rows = []
        for yy in range(y, y + h):
            o = (yy * self.width + x) * 3
            rows.append(self.pixels[o:o + w * 3])
        return Picture(w, h, b"".join(rows))

    def mean(self, x=0, y=0, w=None, h=None):
        w = self.width if w is None else w
        h = self.height if h is None else h
        sums = [0, 0, 0]
        for yy in range(y, y + h):
            o = (yy * self.width + x) * 3
            row = self.pixels[o:o + w * 3]
            sums[0] += sum(row[0::3])
            sums[1] += sum(row[1::3])
            sums[2] += sum(row[2::3])
        n = float(w * h)
        return sums[0] / n, sums[1] / n, sums[2] / n

    def blocks(self, size):
        """Means of size x size blocks, row by row, as a flat list of RGB values."""
        out = []
        for by in range(0, self.height - size + 1, size):
            for bx in range(0, self.width - size + 1, size):
                out.extend(self.mean(bx, by, size, size))
        return out

    def bright_fraction(self, threshold=0.5):
        """Share of pixels whose brightest channel is above threshold (0..1)."""
        limit = threshold * 255
        px = self.pixels
        count = sum(1 for i in range(0, len(px), 3) if max(px[i], px[i + 1], px[i + 2]) > limit)
        return count / float(self.width * self.height)


def block_difference(a, b, size=4):
    """Mean absolute difference (0..255) of two equally sized pictures after averaging size x size blocks."""
    check(a.width == b.width and a.height == b.height, "pictures of different sizes")
    da, db = a.blocks(size), b.blocks(size)
    return sum(abs(x - y) for x, y in zip(da, db)) / len(da)


def read_picture(path, width=None, height=None):
    """A picture file as RGB, optionally stretched to width x height."""
    command = ["convert", path]
    if width:
        command += ["-resize", "%dx%d!" % (width, height)]
    command += ["-depth", "8", "ppm:-"]
    return Picture.from_ppm(subprocess.run(command, check=True, stdout=subprocess.PIPE, timeout=30).stdout)


# ---------------------------------------------------------------------------
# Files the game writes


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


# ---------------------------------------------------------------------------
# Rules knowledge the checks need: lines of three, and what a simple move does


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


# ---------------------------------------------------------------------------
# Reading the board off the screen


def cell_colour(picture, column, row, half=20):
    """What tells gem kinds apart on screen: the hue of the gem's lit pixels, as a point on the colour
    wheel weighted by saturation, and how much of the cell the gem covers (its shape)."""
    x, y = cell_centre(column, row)
    patch = picture.crop(x - half, y - half, 2 * half + 1, 2 * half + 1)
    px = patch.pixels
    hx = hy = 0.0
    lit = 0
    for i in range(0, len(px), 3):
        h, s, v = colorsys.rgb_to_hsv(px[i] / 255.0, px[i + 1] / 255.0, px[i + 2] / 255.0)
        if v > 0.35:
            lit += 1
            hx += s * math.cos(2 * math.pi * h)
            hy += s * math.sin(2 * math.pi * h)
    if not lit:
        return (0.0, 0.0, 0.0)
    return (hx / lit, hy / lit, lit / float(patch.width * patch.height))


def distance(p, q):
    return sum((a - b) ** 2 for a, b in zip(p, q)) ** 0.5


class GemReader:
    """Tells the gem kinds apart on screenshots, taught with a screenshot of a known board."""

    def __init__(self, picture, field):
        groups = {}
        for r in range(8):
            for c in range(8):
                groups.setdefault(field[r][c], []).append(cell_colour(picture, c, r + 1))
        self.centres = {k: tuple(sum(p[i] for p in ps) / len(ps) for i in range(3)) for k, ps in groups.items()}
        read = self.read(picture)
        wrong = [(r + 1, c) for r in range(8) for c in range(8) if read[r][c] != field[r][c]]
        check(not wrong, "the screen does not show the saved board at (row, column) %s" % wrong)
        kinds = sorted(self.centres)
        gaps = [distance(self.centres[a], self.centres[b]) for a in kinds for b in kinds if a < b]
        check(not gaps or min(gaps) > 0.15, "two gem kinds look alike on screen")

    def read(self, picture):
        out = []
        for r in range(8):
            row = []
            for c in range(8):
                colour = cell_colour(picture, c, r + 1)
                ranked = sorted(self.centres, key=lambda k: distance(colour, self.centres[k]))
                best = distance(colour, self.centres[ranked[0]])
                runner_up = distance(colour, self.centres[ranked[1]]) if len(ranked) > 1 else 1.0
                # Nearest kind, when it is near and clearly nearer than any other.
                row.append(ranked[0] if best < 0.3 and best < 0.7 * runner_up else None)
            out.append(row)
        return out


def field_text(field):
    return "\n".join(" ".join("." if v is None else str(v) for v in row) for row in field)


# ---------------------------------------------------------------------------
# The X server, the game process, the input


class Session:
    """One scratch copy of the game with its own X server; everything is bounded in time."""

    def __init__(self, name, game_dir, artifacts, screen="1024x768"):
        self.name = name
        self.artifacts = artifacts
        self.scratch = tempfile.mkdtemp(prefix="vortiq-e2e-%s-" % name)
        self.game_dir = os.path.join(self.scratch, "game")
        shutil.copytree(game_dir, self.game_dir, symlinks=True)
        self.base = os.path.join(self.game_dir, "base")
        self.shots = os.path.join(self.scratch, "shots")
        os.makedirs(self.shots)
        self.shot_count = 0
        self.game = None
        self.game_runs = 0
        self.xvfb = None
        self.display = None
        self.start_x(screen)

    # -- X server -----------------------------------------------------------

    def start_x(self, screen):
        read_end, write_end = os.pipe()
        log = open(os.path.join(self.scratch, "xvfb.log"), "wb")
        self.xvfb = subprocess.Popen(
            # -noreset: left by its last client (the game quitting, a screenshot
            # tool), the server resets and refuses whoever connects meanwhile.
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen + "x24", "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=log, stderr=log)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 15
        os.set_blocking(read_end, False)
        while time.monotonic() < deadline and not number.endswith(b"\n"):
            try:
                chunk = os.read(read_end, 16)
                if not chunk:
                    break
                number += chunk
            except BlockingIOError:
                time.sleep(0.05)
        os.close(read_end)
        check(number.strip(), "Xvfb did not start")
        self.display = ":" + number.decode().strip()

    def x(self, *args, timeout=20):
        """Runs an X tool on this session's display; returns its standard output."""
        env = dict(os.environ, DISPLAY=self.display)
        result = subprocess.run(list(args), env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=timeout)
        check(result.returncode == 0, "%s failed: %s" % (" ".join(args), result.stderr.decode(errors="replace")))
        return result.stdout.decode(errors="replace").strip()

    # -- files --------------------------------------------------------------

    def path(self, name):
        return os.path.join(self.base, name)

    def remove(self, *names):
        for name in names:
            if os.path.exists(self.path(name)):
                os.remove(self.path(name))

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)

    def read(self, name):
        check(os.path.exists(self.path(name)), "the game did not write base/%s" % name)
        with open(self.path(name), "rb") as f:
            return f.read()

    def settings(self):
        data = self.read("menu.inf")
        check_equal(len(data), 12, "size of base/menu.inf")
        return le32_list(data)

    def saved_game(self):
        return SavedGame.parse(self.read("data.inf"))

    # -- the game -----------------------------------------------------------

    def start(self, seed=11, audio="dummy", extra_env=None):
        check(self.game is None, "the game is already running")
        self.game_runs += 1
        env = dict(os.environ)
        env.pop("XDG_DATA_HOME", None)
        env.update(DISPLAY=self.display, VORTIQ_SEED=str(seed), SDL_AUDIODRIVER=audio, VORTIQ_MESSAGEBOX="print")
        env.update(extra_env or {})
        self.log_path = os.path.join(self.scratch, "game-%d.log" % self.game_runs)
        log = open(self.log_path, "wb")
        self.game = subprocess.Popen(["./vortiq"], cwd=self.game_dir, env=env, stdout=log, stderr=log)
        self.wait_for_window()

    def window_id(self):
        env = dict(os.environ, DISPLAY=self.display)
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Vortiq$"], env=env,
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=20)
        ids = result.stdout.decode().split()
        return ids[0] if ids else None

    def wait_for_window(self, timeout=30):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            check(self.game.poll() is None, "the game ended at start with status %s" % self.game.returncode)
            if self.window_id():
                # The window shows before its first frame, which takes a while on a loaded machine.
                while time.monotonic() < deadline:
                    if sum(self.shot("starting").mean(0, 0, 640, 480)) > 30:
                        time.sleep(0.3)
                        return
                    time.sleep(0.3)
                break
            time.sleep(0.2)
        windows = subprocess.run(["xwininfo", "-root", "-tree"], env=dict(os.environ, DISPLAY=self.display),
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=20).stdout
        with open(os.path.join(self.scratch, "windows.log"), "wb") as f:
            f.write(windows)
        self.shot("no-window")
        self.save_stacks("no-window")
        raise Failure("the game window did not show within %d s" % timeout)

    def save_stacks(self, name):
        """Where every thread of a stuck game is, into the artifacts (when gdb is there)."""
        if self.game is None or self.game.poll() is not None or not shutil.which("gdb"):
            return
        try:
            out = subprocess.run(["gdb", "-p", str(self.game.pid), "-batch", "-ex", "thread apply all bt"],
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=60).stdout
        except subprocess.TimeoutExpired:
            return
        sockets = subprocess.run(["ss", "-xp"], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=20).stdout
        mine = b"\n".join(line for line in sockets.splitlines() if b"pid=%d," % self.game.pid in line)
        try:
            environ = open("/proc/%d/environ" % self.game.pid, "rb").read().split(b"\0")
            mine += b"\n" + b" ".join(v for v in environ if v.startswith(b"DISPLAY="))
            mine += b"\n" + b" ".join(os.readlink("/proc/%d/fd/%s" % (self.game.pid, fd)).encode()
                                       for fd in os.listdir("/proc/%d/fd" % self.game.pid))
        except OSError:
            pass
        with open(os.path.join(self.scratch, "stacks-%s.log" % name), "wb") as f:
            f.write(b"display %s\n%s\n\n" % (self.display.encode(), mine))
            f.write(out)

    def wait_for_exit(self, timeout=30):
        try:
            status = self.game.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the game did not end within %d s" % timeout)
        self.game = None
        return status

    def kill(self):
        if self.game is not None and self.game.poll() is None:
            self.game.kill()
            self.game.wait(10)
        self.game = None

    def geometry(self):
        out = self.x("xdotool", "search", "--onlyvisible", "--name", "^Vortiq$", "getwindowgeometry")
        size = [line.split(":")[1].strip() for line in out.splitlines() if "Geometry" in line]
        return size[0] if size else None

    # -- input --------------------------------------------------------------

    def move(self, point):
        self.x("xdotool", "mousemove", str(point[0]), str(point[1]))
        time.sleep(0.08)

    def click(self, point, settle=0.25):
        self.move(point)
        self.x("xdotool", "click", "1")
        time.sleep(settle)

    def click_cell(self, column, row, settle=0.25):
        self.click(cell_centre(column, row), settle)

    def drag_cells(self, start, end):
        """Presses on one cell, moves to the other with the button held, releases."""
        x0, y0 = cell_centre(*start)
        x1, y1 = cell_centre(*end)
        self.x("xdotool", "mousemove", str(x0), str(y0), "sleep", "0.1", "mousedown", "1", "sleep", "0.1",
               "mousemove", str((x0 + x1) // 2), str((y0 + y1) // 2), "sleep", "0.05",
               "mousemove", str(x1), str(y1), "sleep", "0.1", "mouseup", "1")
        time.sleep(0.2)

    def key(self, name, hold=0.2):
        """A key pressed and held a moment, as a finger does: the game reads the keys held between frames."""
        self.x("xdotool", "keydown", name)
        time.sleep(hold)
        self.x("xdotool", "keyup", name)
        time.sleep(0.15)

    def close_request(self):
        """What a window manager sends when the window's close button is pressed: WM_DELETE_WINDOW."""
        window = self.window_id()
        check(window, "no game window to close")
        x11 = ctypes.CDLL("libX11.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XInternAtom.restype = ctypes.c_ulong
        x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]

        class ClientMessage(ctypes.Structure):
            _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                        ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                        ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                        ("data", ctypes.c_long * 5)]

        class Event(ctypes.Union):
            _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

        x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                   ctypes.POINTER(Event)]
        x11.XFlush.argtypes = [ctypes.c_void_p]
        x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        display = x11.XOpenDisplay(self.display.encode())
        check(display, "cannot open %s" % self.display)
        event = Event()
        event.xclient.type = 33  # ClientMessage
        event.xclient.window = int(window)
        event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.xclient.format = 32
        event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.xclient.data[1] = 0  # CurrentTime
        sent = x11.XSendEvent(display, int(window), 0, 0, ctypes.byref(event))
        x11.XFlush(display)
        x11.XCloseDisplay(display)
        check(sent, "the close request could not be sent")

    # -- the screen ---------------------------------------------------------

    def shot(self, label):
        self.shot_count += 1
        path = os.path.join(self.shots, "%02d-%s.ppm" % (self.shot_count, label))
        self.x("import", "-display", self.display, "-window", "root", "-depth", "8", path, timeout=30)
        with open(path, "rb") as f:
            return Picture.from_ppm(f.read())

    def wait_settled(self, label, timeout=30, interval=0.3, steady=4):
        """Waits until the field shows the same picture in `steady` screenshots in a row."""
        deadline = time.monotonic() + timeout
        last, same = None, 0
        while time.monotonic() < deadline:
            check(self.game is None or self.game.poll() is None, "the game ended unexpectedly")
            picture = self.shot(label)
            x0, y0, x1, y1 = FIELD_BOX
            field = picture.crop(x0, y0, x1 - x0, y1 - y0).pixels
            same = same + 1 if field == last else 1
            last = field
            if same >= steady:
                return picture
            time.sleep(interval)
        raise Failure("the board did not settle within %d s" % timeout)

    def texture(self, number, width, height):
        return read_picture(self.path("tex%02d.bmp" % number), width, height)

    def looks_like(self, picture, number, x, y, w, h, others=(), part=None, limit=24.0, screen_height=480, fit=None):
        """Checks that the overlay picture `number`, drawn at overlay (x, y, w, h) of the 640 x 480 layout
        (origin bottom left of a window screen_height tall), is what the screen shows there, and that the screen is nearer to it than to
        each picture of `others`. `part` (left, top, width, height inside the drawn rectangle, top-down)
        limits the comparison to what nothing else covers. `fit` (left, top, scale) places a layout
        shown scaled: its top left on the screen and its screen pixels per layout pixel."""
        px, py, pw, ph = part or (0, 0, w, h)
        left, top_left, scale = fit or (0, 0, 1)
        top = screen_height - y - h
        region = picture.crop(left + round((x + px) * scale), top_left + round((top + py) * scale),
                              round(pw * scale), round(ph * scale))

        def difference(n):
            shown = self.texture(n, round(w * scale), round(h * scale))
            return block_difference(region, shown.crop(round(px * scale), round(py * scale), round(pw * scale),
                                                       round(ph * scale)))

        own = difference(number)
        check(own < limit, "picture %d is not shown at %d,%d (difference %.1f)" % (number, x, y, own))
        for other in others:
            theirs = difference(other)
            check(own < theirs, "the screen at %d,%d is nearer to picture %d (%.1f) than to %d (%.1f)" %
                  (x, y, other, theirs, number, own))
        return own

    # -- ending -------------------------------------------------------------

    def quit_by_button(self):
        self.click(QUIT, settle=0.4)
        confirm = self.shot("confirm-quit")
        self.looks_like(confirm, 3, *drawn("confirmationPanel"), others=(30, 52), part=(0, 0, 300, 96))
        self.click(DIALOG_YES, settle=0.1)
        check_equal(self.wait_for_exit(), 0, "exit status after quit")

    def finish(self, failed):
        self.kill()
        if self.xvfb is not None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
                self.xvfb.wait(10)
        if failed:
            keep = os.path.join(self.artifacts, self.name)
            shutil.rmtree(keep, ignore_errors=True)
            os.makedirs(keep)
            for entry in os.listdir(self.scratch):
                source = os.path.join(self.scratch, entry)
                if entry.endswith(".log"):
                    shutil.copy(source, keep)
            for name in ("data.inf", "menu.inf", "hiscores", "audio.raw"):
                if os.path.exists(self.path(name)):
                    shutil.copy(self.path(name), keep)
            for shot in sorted(os.listdir(self.shots)):
                subprocess.run(["convert", os.path.join(self.shots, shot),
                                os.path.join(keep, shot[:-4] + ".png")], timeout=60)
            print("e2e: screenshots and the game's files are kept in %s" % keep)
        shutil.rmtree(self.scratch, ignore_errors=True)
