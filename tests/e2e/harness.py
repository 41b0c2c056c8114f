"""Plays the built game the way a player does: its own X server, real mouse
and key input through xdotool, screenshots of the X screen, and the files the
game writes in base/.

Only the Python standard library plus the X tools the project already needs
(Xvfb, xdotool, xwininfo, ImageMagick's convert); screenshots are read
through libX11."""

import ctypes
import os
import shutil
import subprocess
import tempfile
import time

from checks import Failure, check, check_equal
from game_files import SavedGame, le32_list
from geometry import DIALOG_YES, FIELD_BOX, QUIT, cell_centre, drawn
from pictures import Picture, block_difference, read_picture


# ---------------------------------------------------------------------------
# The X screen as a picture, through Xlib


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int),
                ("red_mask", ctypes.c_ulong), ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong)]


def xlib():
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XDisplayWidth.argtypes = x11.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XGetImage.restype = ctypes.POINTER(XImage)
    x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                              ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    x11.XFree.argtypes = [ctypes.c_void_p]
    return x11


def grab_screen(display_name):
    """The root window of a 24-bit TrueColor screen (Xvfb's), as an RGB picture."""
    x11 = xlib()
    display = x11.XOpenDisplay(display_name.encode())
    check(display, "cannot open %s" % display_name)
    try:
        width, height = x11.XDisplayWidth(display, 0), x11.XDisplayHeight(display, 0)
        image = x11.XGetImage(display, x11.XDefaultRootWindow(display), 0, 0, width, height, 0xffffffff, 2)
        check(image, "the screen could not be read")
        i = image.contents
        check(i.bits_per_pixel == 32 and i.byte_order == 0 and i.red_mask == 0xff0000 and i.blue_mask == 0xff,
              "a screen of another pixel layout")
        raw = ctypes.string_at(i.data, i.bytes_per_line * height)
        x11.XFree(i.data)
        x11.XFree(image)
    finally:
        x11.XCloseDisplay(display)
    if i.bytes_per_line != width * 4:
        raw = b"".join(raw[y * i.bytes_per_line:y * i.bytes_per_line + width * 4] for y in range(height))
    rgb = bytearray(width * height * 3)
    rgb[0::3], rgb[1::3], rgb[2::3] = raw[2::4], raw[1::4], raw[0::4]
    return Picture(width, height, bytes(rgb))


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
        """Starts the game; returns the size of its window once it shows."""
        check(self.game is None, "the game is already running")
        self.game_runs += 1
        env = dict(os.environ)
        env.pop("XDG_DATA_HOME", None)
        env.update(DISPLAY=self.display, VORTIQ_SEED=str(seed), SDL_AUDIODRIVER=audio, VORTIQ_MESSAGEBOX="print")
        env.update(extra_env or {})
        self.log_path = os.path.join(self.scratch, "game-%d.log" % self.game_runs)
        log = open(self.log_path, "wb")
        self.game = subprocess.Popen(["./vortiq"], cwd=self.game_dir, env=env, stdout=log, stderr=log)
        return self.wait_for_window()

    def window_id(self):
        """The game's visible window, or None. The search is repeated when it fails with BadWindow: this
        xdotool aborts when any window goes while it looks at the windows, and SDL makes and drops a
        hidden window of its own at start-up (to learn what GL offers) and the game drops its window at
        every switch between full screen and a window."""
        env = dict(os.environ, DISPLAY=self.display)
        for _ in range(20):
            result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Vortiq$"], env=env,
                                    stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=20)
            if b"BadWindow" not in result.stderr:
                break
        ids = result.stdout.decode().split()
        return ids[0] if ids else None

    def window_info(self, window):
        """(viewable, "WxH") of a window, or None when it is gone."""
        env = dict(os.environ, DISPLAY=self.display)
        result = subprocess.run(["xwininfo", "-id", window], env=env, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, timeout=20)
        if result.returncode != 0:
            return None
        fields = dict(line.strip().split(":", 1) for line in result.stdout.decode().splitlines() if ":" in line)
        size = "%sx%s" % (fields.get("Width", "").strip(), fields.get("Height", "").strip())
        return fields.get("Map State", "").strip() == "IsViewable", size

    def wait_for_window(self, size=None, timeout=300):
        """Waits until the game's window is mapped and viewable (at `size` when given) and shows its first
        frame: only then does input reach the game. A window switch drops the window and makes another,
        so after one the size tells the new window from the old."""
        deadline = time.monotonic() + timeout
        seen = None
        while time.monotonic() < deadline:
            check(self.game.poll() is None, "the game ended with status %s" % self.game.returncode)
            window = self.window_id()
            info = window and self.window_info(window)
            if info:
                seen = info[1]
            if info and info[0] and size in (None, info[1]):
                # The window shows before its first frame, which takes a while on a loaded machine.
                if sum(self.shot("starting").mean(0, 0, 640, 480)) > 30:
                    return info[1]
            time.sleep(0.2)
        windows = subprocess.run(["xwininfo", "-root", "-tree"], env=dict(os.environ, DISPLAY=self.display),
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=20).stdout
        with open(os.path.join(self.scratch, "windows.log"), "wb") as f:
            f.write(windows)
        self.shot("no-window")
        self.save_stacks("no-window")
        raise Failure("no game window %swith a frame within %d s (last seen: %s)" %
                      (size + " " if size else "", timeout, seen))

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
            self.game.wait(120)
        self.game = None

    def geometry(self):
        window = self.window_id()
        info = window and self.window_info(window)
        return info[1] if info else None

    # -- input --------------------------------------------------------------
    # Input goes out at once; a check that follows waits for what the input should show (expect).

    def move(self, point):
        self.x("xdotool", "mousemove", str(point[0]), str(point[1]))

    def click(self, point):
        self.move(point)
        self.x("xdotool", "click", "1")

    def click_cell(self, column, row):
        self.click(cell_centre(column, row))

    def drag_cells(self, start, end):
        """Presses on one cell, moves to the other with the button held, releases."""
        x0, y0 = cell_centre(*start)
        x1, y1 = cell_centre(*end)
        self.x("xdotool", "mousemove", str(x0), str(y0), "mousedown", "1",
               "mousemove", str((x0 + x1) // 2), str((y0 + y1) // 2), "mousemove", str(x1), str(y1), "mouseup", "1")

    def key(self, names, until=None, label="key"):
        """Keys pressed together and held, as a finger does (the game reads the keys held between
        frames), until the screen passes `until` (see expect). Without `until`, a tap: the keys that
        switch the window are let go at once, since a key held while the window is made anew comes
        down again in the new one."""
        self.x("xdotool", "keydown", "--delay", "0", *names.split())
        try:
            return until and self.expect(label, until)
        finally:
            self.x("xdotool", "keyup", "--delay", "0", *names.split())

    def close_request(self):
        """What a window manager sends when the window's close button is pressed: WM_DELETE_WINDOW."""
        window = self.window_id()
        check(window, "no game window to close")
        x11 = xlib()
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
        """The whole X screen, read over this session's own connection (a screenshot tool started for
        every picture costs seconds on a loaded machine); kept as a PPM file for the artifacts."""
        self.shot_count += 1
        picture = grab_screen(self.display)
        path = os.path.join(self.shots, "%02d-%s.ppm" % (self.shot_count, label))
        with open(path, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (picture.width, picture.height) + picture.pixels)
        return picture

    def wait_settled(self, label, timeout=300, interval=0.3, steady=4, box=FIELD_BOX, span=3.0):
        """Waits until the field (or `box`) shows the same picture in `steady` screenshots in a row over
        at least `span` seconds: on a loaded machine the game may draw one frame in a second or two, and
        a few quick screenshots all alike would take a board in the middle of a fall for a settled one."""
        deadline = time.monotonic() + timeout
        last, same, since = None, 0, 0
        while time.monotonic() < deadline:
            check(self.game is None or self.game.poll() is None, "the game ended unexpectedly")
            taken = time.monotonic()
            picture = self.shot(label)
            x0, y0, x1, y1 = box
            field = picture.crop(x0, y0, x1 - x0, y1 - y0).pixels
            if field != last:
                same, since = 0, taken
            same += 1
            last = field
            if same >= steady and time.monotonic() - since >= span:
                return picture
            time.sleep(interval)
        raise Failure("the screen did not settle within %d s" % timeout)

    def expect(self, label, checks, timeout=300):
        """Screenshots until `checks(picture)` passes (it raises Failure while the screen is not there
        yet) and returns that picture; after `timeout` seconds the last failure stands."""
        deadline = time.monotonic() + timeout
        while True:
            picture = self.shot(label)
            try:
                checks(picture)
                return picture
            except Failure:
                if time.monotonic() > deadline:
                    raise
            check(self.game is None or self.game.poll() is None, "the game ended unexpectedly")
            time.sleep(0.1)

    def showing(self, number, *rect, **where):
        """A check for expect: the overlay picture `number` shows at `rect` (see looks_like)."""
        return lambda picture: self.looks_like(picture, number, *rect, **where)

    def gone(self, number, *rect, **where):
        """A check for expect: the overlay picture `number` no longer shows at `rect`."""
        def checks(picture):
            check(self.looks_like(picture, number, *rect, limit=1000, **where) > 24,
                  "picture %d still shows at %s" % (number, rect[:2]))
        return checks

    def read_when(self, name, wanted, timeout=300):
        """The bytes of base/`name` once `wanted(bytes)` holds (the game writes it a moment after the
        input that asks for it); after `timeout` seconds, what is there."""
        deadline = time.monotonic() + timeout
        while True:
            data = open(self.path(name), "rb").read() if os.path.exists(self.path(name)) else None
            if data is not None and wanted(data) or time.monotonic() > deadline:
                return self.read(name)
            time.sleep(0.1)

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
        self.click(QUIT)
        self.expect("confirm-quit", self.showing(3, *drawn("confirmationPanel"), others=(30, 52),
                                                 part=(0, 0, 300, 96)))
        self.click(DIALOG_YES)
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
