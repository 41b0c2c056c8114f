#!/usr/bin/env python3
"""Measures the game beside a bare window that only clears and swaps, on a
private Xvfb with Mesa's software renderer, and prints one table.

    python3 bench/run.py [--build build] [--runs 7] [--frames 600]

Start-up: process start to the first presented frame (median of --runs), for
the game also to the first frame that shows a full board (the saved game
continued), and the share after the GL context exists. Frames: no vertical
sync and the frame cap lifted (VORTIQ_NO_FRAME_CAP=1), the playing screen with
a full board, a spinning gem and a score popup, 640 x 480 windowed and
800 x 600 full screen on an 800 x 600 display, and on a 1920 x 1080 one the
1280 x 960 window and full screen (layout scaled by 1.8), both with the large
pictures. Most of those frames draw only the boxes that changed over the last
frame's picture; the same 640 x 480 frames drawn whole show what a frame costs
when everything on it moves. Processor share: the same playing screen at 640 x 480 with the
game's own frame cap (also in the 1280 x 960 window and full screen on the
1920 x 1080 display, and the timed mode with nothing but its bar moving at
640 x 480), and the screens that stand still (a settled board,
options, high scores, a dialog, the paused game), each the processor time of
all the game's threads over --still-seconds as a share of one core. Peak
memory: the largest resident size of each program (from wait4). Rules:
Google Benchmark.

Mesa keeps the shaders it compiles in a disk cache, and a compile raises a
run's peak memory by a few MB. Each program gets an empty cache of its own
here: its first run is a first start on this machine (reported on its own
lines). A run still adds a shader or two that the runs before it did not
need (seen here: 14 entries after the first run, one or two more with each of
the next ten or so), so short untimed runs follow until three in a row add
nothing; the measured runs then find their shaders there, as a player's
starts do once the game has been played a few times. With
--user-shader-cache the measured runs use the player's own cache instead
(~/.cache/mesa_shader_cache).
Memory differences are given in MiB and in the MB (10^6 bytes) of the target.
"""
import argparse
import json
import os
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import time

PLAYER_FILES = ("hiscores", "data.inf", "menu.inf")


def parse_args():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=os.path.join(here, "..", "build"))
    parser.add_argument("--runs", type=int, default=7, help="start-up runs per program (median)")
    parser.add_argument("--frames", type=int, default=600, help="frames timed per frame-rate run")
    parser.add_argument("--seed", default="12345")
    parser.add_argument("--still-seconds", type=float, default=4.0,
                        help="seconds of processor time measured on each screen that stands still")
    parser.add_argument("--user-shader-cache", action="store_true",
                        help="measured runs use Mesa's usual cache, not a private one (first start stays private)")
    return parser.parse_args()


def start_xvfb(width, height):
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp",
         "-noreset"],
        pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read_fd, 16)
        if not chunk:
            raise SystemExit("Xvfb did not start")
        number += chunk
    os.close(read_fd)
    return xvfb, ":" + number.decode().strip()


def make_run_dir(game_dir, root, full_screen):
    """A private copy of the run directory: the shared data linked, the
    player's files of its own, so the benchmark touches nothing of anyone's."""
    run = os.path.join(root, "full" if full_screen else "window")
    os.makedirs(os.path.join(run, "base"))
    source = os.path.join(game_dir, "base")
    for name in os.listdir(source):
        if name in PLAYER_FILES or name.startswith("."):
            continue
        os.symlink(os.path.join(source, name), os.path.join(run, "base", name))
    if os.path.exists(os.path.join(source, "hiscores")):
        shutil.copy(os.path.join(source, "hiscores"), os.path.join(run, "base", "hiscores"))
    with open(os.path.join(run, "base", "menu.inf"), "wb") as settings:
        settings.write(struct.pack("<iii", 1 if full_screen else 0, 1, 1))
    return run


def run_timed(argv, cwd, env, times_path):
    """Runs one program; returns its times file and its peak resident size in MiB."""
    if os.path.exists(times_path):
        os.remove(times_path)
    env = dict(env, VORTIQ_BENCH_T0=str(time.monotonic_ns()))
    process = subprocess.Popen(argv, cwd=cwd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    process.returncode = os.waitstatus_to_exitcode(status)
    errors = process.stderr.read().decode(errors="replace")
    process.stderr.close()
    if process.returncode != 0 or not os.path.exists(times_path):
        raise SystemExit(f"{argv[0]} failed (exit {process.returncode}):\n{errors}")
    times = {}
    with open(times_path) as f:
        for line in f:
            key, *values = line.split()
            times[key] = [float(v) for v in values]
    return times, usage.ru_maxrss / 1024.0


def process_cpu_seconds(pid):
    """User and system time of every thread of a running process."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def still_cpu_share(argv, cwd, env, times_path, screen, seconds):
    """The game's processor share on a screen that stands still: the game
    shows the screen once its board has settled and says so in its times
    file; its processor time over `seconds` from then, in % of one core."""
    if os.path.exists(times_path):
        os.remove(times_path)
    process = subprocess.Popen(argv, cwd=cwd, env=dict(env, VORTIQ_BENCH_SCRIPT=f"still:{screen}"),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline:
            if process.poll() is not None:
                raise SystemExit(f"{argv[0]} ended before showing {screen} (exit {process.returncode})")
            if os.path.exists(times_path):
                with open(times_path) as f:
                    if f.read().startswith("still"):
                        break
            time.sleep(0.05)
        else:
            raise SystemExit(f"{argv[0]} did not show {screen} within a minute")
        time.sleep(0.5)  # the frame showing the screen, and the first rest
        cpu0, wall0 = process_cpu_seconds(process.pid), time.monotonic()
        time.sleep(seconds)
        cpu1, wall1 = process_cpu_seconds(process.pid), time.monotonic()
    finally:
        process.terminate()
        process.wait()
    return 100.0 * (cpu1 - cpu0) / (wall1 - wall0)


# The screens measured standing still, with their names in the table.
STILL_SCREENS = {"board": "settled board, nothing moving", "options": "options screen",
                 "highscores": "high scores", "confirm": "dialog (new game?)", "paused": "paused game"}


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(fraction * (len(ordered) - 1))))]


def frame_stats(times):
    frames = times["frame_ms"]
    return {
        "fps": len(frames) / (times["measured_ms"][0] / 1000.0),
        "median": statistics.median(frames),
        "p95": percentile(frames, 0.95),
        "cpu": times["cpu_ms"][0] / len(frames),
        "share": 100.0 * times["cpu_ms"][0] / times["measured_ms"][0],
        "whole": 100.0 * times.get("whole_frames", [len(frames)])[0] / len(frames),
    }


def cache_entries(folder):
    return sum(len(files) for _, _, files in os.walk(folder))


def settle_shader_cache(game, run_dir, env, times_path, folder, most=25):
    """Short runs of the game until three in a row add nothing to its cache."""
    quiet = 0
    for _ in range(most):
        before = cache_entries(folder)
        run_timed([game], run_dir, dict(env, VORTIQ_BENCH_SCRIPT="continue:1"), times_path)
        quiet = quiet + 1 if cache_entries(folder) == before else 0
        if quiet == 3:
            return
    print(f"note: the shader cache still grew after {most} runs", file=sys.stderr)


def more_memory(mib):
    return f"{mib:+.1f} MiB = {mib * 1.048576:+.1f} MB"


def rules_table(build):
    program = os.path.join(build, "bench", "vortiq-rules-bench")
    if not os.path.exists(program):
        return [("rules", "not built (Google Benchmark missing)")]
    out = subprocess.run([program, "--benchmark_format=json", "--benchmark_min_time=0.2"], check=True,
                         capture_output=True, text=True).stdout
    rows = []
    names = {
        "BM_SettledFrameRules": "one settled frame's rules (stepFrame)",
        "BM_FallStep": "one fall step (two holes; board copy included)",
        "BM_FindMoveSettled": "findMove, settled board (move found)",
        "BM_FindMoveNone": "findMove, board without a move (full scan)",
        "BM_ResolveMatchesNone": "resolveMatches, board without a line",
        "BM_LoadGemMeshes": "load of the seven meshes (loadGemMesh 1..7)",
    }
    for entry in json.loads(out)["benchmarks"]:
        ns = entry["cpu_time"] * {"ns": 1, "us": 1e3, "ms": 1e6}[entry["time_unit"]]
        value = f"{ns / 1000:.3f} µs" if ns < 1e6 else f"{ns / 1e6:.3f} ms"
        rows.append((names.get(entry["name"], entry["name"]), value))
    return rows


def replay_table(build):
    """Replays: the recorded games of tests/replays/games, their bytes per
    minute of play, and the time --check takes per minute of play (best of
    five runs of each, the whole process)."""
    game = os.path.join(build, "game", "vortiq")
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "replays", "games")
    files = sorted(os.path.join(folder, name) for name in os.listdir(folder) if name.endswith(".vqr"))
    total_bytes, total_seconds, total_check = 0, 0.0, 0.0
    for path in files:
        best = None
        for _ in range(5):
            start = time.perf_counter()
            out = subprocess.run([game, "--replay", path, "--check"], check=True, capture_output=True, text=True).stdout
            elapsed = time.perf_counter() - start
            best = elapsed if best is None else min(best, elapsed)
        seconds = float(out.split(" s of play")[0].rsplit(" ", 1)[1])
        total_bytes += os.path.getsize(path)
        total_seconds += seconds
        total_check += best
    minutes = total_seconds / 60.0
    return [(f"  replay bytes per minute of play ({len(files)} games, {minutes:.1f} min)",
             f"{total_bytes / minutes / 1000:.1f} KB", "ten minutes < 100 KB"),
            ("  --check time per minute of play (whole process)", f"{1000 * total_check / minutes:.1f} ms", "")]


def main():
    args = parse_args()
    build = os.path.abspath(args.build)
    # The game as shipped, from the same libraries, with the timing hooks.
    game = os.path.join(build, "bench", "vortiq-bench")
    game_dir = os.path.join(build, "game")
    baseline = os.path.join(build, "bench", "vortiq-baseline")
    for program in (game, baseline):
        if not os.path.exists(program):
            raise SystemExit(f"{program} is missing: build first")

    xvfb, display = start_xvfb(800, 600)
    root = tempfile.mkdtemp(prefix="vortiq-bench-")
    try:
        env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy", LIBGL_ALWAYS_SOFTWARE="1",
                   GALLIUM_DRIVER="llvmpipe", VORTIQ_NO_VSYNC="1", VORTIQ_NO_FRAME_CAP="1", VORTIQ_SEED=args.seed,
                   VORTIQ_MESSAGEBOX="print")
        env.pop("WAYLAND_DISPLAY", None)
        times_path = os.path.join(root, "times")
        game_env = dict(env, VORTIQ_BENCH=times_path, MESA_SHADER_CACHE_DIR=os.path.join(root, "cache-game"))
        env["MESA_SHADER_CACHE_DIR"] = os.path.join(root, "cache-baseline")
        # The first start of each, with its shader cache empty: a frame run, for its peak memory too.
        run_dir = make_run_dir(game_dir, root, False)
        t, rss = run_timed([game], run_dir, dict(game_env, VORTIQ_BENCH_SCRIPT=f"new:{args.frames}"), times_path)
        first = {"game": t["first_frame_ms"][0], "game_share": t["first_frame_ms"][0] - t["context_ms"][0],
                 "game_rss": rss}
        t, rss = run_timed([baseline, times_path, str(args.frames)], run_dir, env, times_path)
        first.update({"base": t["first_frame_ms"][0], "base_share": t["first_frame_ms"][0] - t["context_ms"][0],
                      "base_rss": rss})
        if not args.user_shader_cache:
            settle_shader_cache(game, run_dir, game_env, times_path, game_env["MESA_SHADER_CACHE_DIR"])
        shutil.rmtree(run_dir)
        if args.user_shader_cache:
            game_env.pop("MESA_SHADER_CACHE_DIR")
            env.pop("MESA_SHADER_CACHE_DIR")
        results = {}

        capped_sizes = {}

        def measure_frames(size, full, run_env, run_game_env, base_size, capped_size=False):
            run_dir = make_run_dir(game_dir, root, full)
            base_argv = [baseline, times_path, str(args.frames)] + (["fullscreen"] if full else base_size)
            # One untimed run of each at this size first, for whatever the size itself needs.
            run_timed([game], run_dir, dict(run_game_env, VORTIQ_BENCH_SCRIPT=f"new:{args.frames}"), times_path)
            run_timed(base_argv, run_dir, run_env, times_path)
            # Frames (a new game; its exit leaves the saved game continued below).
            game_times, game_rss = run_timed([game], run_dir,
                                             dict(run_game_env, VORTIQ_BENCH_SCRIPT=f"new:{args.frames}"), times_path)
            base_times, base_rss = run_timed(base_argv, run_dir, run_env, times_path)
            results[size] = {"game": frame_stats(game_times), "base": frame_stats(base_times),
                             "game_rss": game_rss, "base_rss": base_rss}
            if capped_size:
                # The game's own frame cap at this size: the playing screen.
                capped_env, capped_base_env = dict(run_game_env), dict(run_env)
                capped_env.pop("VORTIQ_NO_FRAME_CAP")
                capped_base_env.pop("VORTIQ_NO_FRAME_CAP")
                frames = str(min(args.frames, 300))
                t, _ = run_timed([game], run_dir, dict(capped_env, VORTIQ_BENCH_SCRIPT=f"new:{frames}"), times_path)
                b, _ = run_timed(base_argv[:2] + [frames] + base_argv[3:], run_dir, capped_base_env, times_path)
                capped_sizes[size] = {"game": frame_stats(t), "base": frame_stats(b)}
            return run_dir

        for full in (False, True):
            run_dir = measure_frames("800x600 full screen" if full else "640x480 windowed", full, env, game_env, [])
            if full:
                continue
            # The same frames drawn whole, as without the kept picture: what a
            # frame costs when everything on it moves.
            t, _ = run_timed([game], run_dir, dict(game_env, VORTIQ_BENCH_SCRIPT=f"new:{args.frames}",
                                                   VORTIQ_BENCH_WHOLE_FRAMES="1"), times_path)
            whole_frames = frame_stats(t)
            # The game's own frame cap (no vertical sync on Xvfb): the playing
            # screen, and the screens that stand still.
            capped_env, capped_base_env = dict(game_env), dict(env)
            capped_env.pop("VORTIQ_NO_FRAME_CAP")
            capped_base_env.pop("VORTIQ_NO_FRAME_CAP")
            capped_frames = str(min(args.frames, 300))
            t, _ = run_timed([game], run_dir, dict(capped_env, VORTIQ_BENCH_SCRIPT=f"new:{capped_frames}"), times_path)
            b, _ = run_timed([baseline, times_path, capped_frames], run_dir, capped_base_env, times_path)
            capped = {"game": frame_stats(t), "base": frame_stats(b), "still": {}}
            for screen in STILL_SCREENS:
                capped["still"][screen] = still_cpu_share([game], run_dir, capped_env, times_path, screen,
                                                          args.still_seconds)
            # The timed mode, nothing selected: only its bar drains (last: the
            # game it saves is one of the timed mode).
            t, _ = run_timed([game], run_dir, dict(capped_env, VORTIQ_BENCH_SCRIPT=f"timed:{capped_frames}"),
                             times_path)
            capped["timed"] = frame_stats(t)
        # A 1080p desktop: the window opens at twice the layout, full screen
        # scales the layout by 1.8; both show the large pictures of base/2x/.
        big_xvfb, big_display = start_xvfb(1920, 1080)
        try:
            for full in (False, True):
                shutil.rmtree(os.path.join(root, "full" if full else "window"))
                measure_frames("1920x1080 full screen (2x pictures)" if full else "1280x960 windowed (2x pictures)",
                               full, dict(env, DISPLAY=big_display), dict(game_env, DISPLAY=big_display),
                               ["1280x960"], capped_size=True)
        finally:
            big_xvfb.terminate()
            big_xvfb.wait()
        # Start-up, windowed: alternate the two programs so both see the same machine.
        run_dir = os.path.join(root, "window")
        starts = {"game": [], "game_share": [], "game_filled": [], "game_filled_share": [], "base": [],
                  "base_share": []}
        for _ in range(args.runs):
            t, _ = run_timed([game], run_dir, dict(game_env, VORTIQ_BENCH_SCRIPT="continue:1"), times_path)
            starts["game"].append(t["first_frame_ms"][0])
            starts["game_share"].append(t["first_frame_ms"][0] - t["context_ms"][0])
            starts["game_filled"].append(t["filled_frame_ms"][0])
            starts["game_filled_share"].append(t["filled_frame_ms"][0] - t["context_ms"][0])
            t, _ = run_timed([baseline, times_path, "1"], run_dir, env, times_path)
            starts["base"].append(t["first_frame_ms"][0])
            starts["base_share"].append(t["first_frame_ms"][0] - t["context_ms"][0])
        med = {k: statistics.median(v) for k, v in starts.items()}
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(root, ignore_errors=True)

    renderer = "Mesa llvmpipe (LIBGL_ALWAYS_SOFTWARE=1) on Xvfb 800x600x24, no vertical sync, frame cap lifted but where named, " + (
        "the user's shader cache" if args.user_shader_cache else "private shader caches")
    rows = [("Start-up (windowed, median of %d runs, shaders cached)" % args.runs, "", "", "", ""),
            ("  process start -> first presented frame", f"{med['base']:.1f} ms", f"{med['game']:.1f} ms",
             f"{med['game'] - med['base']:+.1f} ms", ""),
            ("  after the GL context exists -> first frame", f"{med['base_share']:.1f} ms",
             f"{med['game_share']:.1f} ms", "", "game <= 150 ms"),
            ("  process start -> first frame, full board", "", f"{med['game_filled']:.1f} ms", "", ""),
            ("  after the GL context -> full board frame", "", f"{med['game_filled_share']:.1f} ms", "", ""),
            ("First start (empty shader cache, 640x480, one run)", "", "", "", ""),
            ("  process start -> first presented frame", f"{first['base']:.1f} ms", f"{first['game']:.1f} ms",
             f"{first['game'] - first['base']:+.1f} ms", ""),
            ("  after the GL context exists -> first frame", f"{first['base_share']:.1f} ms",
             f"{first['game_share']:.1f} ms", "", ""),
            ("  peak resident memory", f"{first['base_rss']:.1f} MiB", f"{first['game_rss']:.1f} MiB",
             more_memory(first['game_rss'] - first['base_rss']), "<= +40 MB")]
    for size, r in results.items():
        target_fps = {"800": ">= 60 fps, p95 < 20 ms", "640": "more than at 800x600",
                      "192": ">= 200 fps, p95 < 16.7 ms"}.get(size[:3], "")
        target_cpu = {"800": "game <= 6 ms", "640": "game <= 4 ms"}.get(size[:3], "")
        target_memory = "<= +80 MB" if "2x" in size else "<= +40 MB"
        rows += [(f"Frames, {size}, uncapped", "", "", "", ""),
                 ("  frames per second", f"{r['base']['fps']:.0f}", f"{r['game']['fps']:.0f}", "", target_fps),
                 ("  median frame", f"{r['base']['median']:.2f} ms", f"{r['game']['median']:.2f} ms", "", ""),
                 ("  95th-percentile frame", f"{r['base']['p95']:.2f} ms", f"{r['game']['p95']:.2f} ms", "", ""),
                 ("  processor time a frame, all threads", f"{r['base']['cpu']:.2f} ms", f"{r['game']['cpu']:.2f} ms",
                  "", target_cpu),
                 ("  frames drawn whole (the rest: changed boxes over the kept picture)", "",
                  f"{r['game']['whole']:.1f} %", "", ""),
                 ("  peak resident memory", f"{r['base_rss']:.1f} MiB", f"{r['game_rss']:.1f} MiB",
                  more_memory(r['game_rss'] - r['base_rss']), target_memory)]
    rows += [("Frames, 640x480 windowed, uncapped, every frame drawn whole", "", "", "", ""),
             ("  frames per second", "", f"{whole_frames['fps']:.0f}", "", ""),
             ("  95th-percentile frame", "", f"{whole_frames['p95']:.2f} ms", "", ""),
             ("  processor time a frame, all threads", "", f"{whole_frames['cpu']:.2f} ms", "",
              "no more than before")]
    rows += [("Frame cap, 640x480 windowed, no vertical sync (processor share: all threads, % of one core)",
              "", "", "", ""),
             ("  playing: frames per second", f"{capped['base']['fps']:.0f}", f"{capped['game']['fps']:.0f}", "",
              "about 60"),
             ("  playing: processor share", f"{capped['base']['share']:.1f} %", f"{capped['game']['share']:.1f} %",
              "", "game <= 8 %"),
             ("  timed mode playing, only the bar drains: frames drawn whole", "",
              f"{capped['timed']['whole']:.1f} %", "", ""),
             ("  timed mode playing, only the bar drains: processor share", "",
              f"{capped['timed']['share']:.1f} %", "", "game <= 8 %")]
    for screen, name in STILL_SCREENS.items():
        rows.append((f"  {name}: processor share", "", f"{capped['still'][screen]:.1f} %", "", "<= 1 %"))
    for size, r in capped_sizes.items():
        rows += [(f"Frame cap, {size}, no vertical sync (processor share: all threads, % of one core)", "", "", "",
                  ""),
                 ("  playing: frames per second", f"{r['base']['fps']:.0f}", f"{r['game']['fps']:.0f}", "",
                  "about 60"),
                 ("  playing: processor share", f"{r['base']['share']:.1f} %", f"{r['game']['share']:.1f} %", "",
                  "game <= 15 %" if "full" in size else "game <= 12 %")]
    rows.append(("Replays (the corpus of tests/replays/games)", "", "", "", ""))
    for name, value, target in replay_table(build):
        rows.append((name, "", value, "", target))
    rows.append(("Rules alone (CPU time per call)", "", "", "", ""))
    for name, value in rules_table(build):
        rows.append(("  " + name, "", value, "", "< 5 µs" if "settled frame" in name else ""))

    header = ("measure", "baseline", "game", "difference", "target")
    widths = [max(len(str(row[i])) for row in rows + [header]) for i in range(5)]
    line = "+".join("-" * (w + 2) for w in widths)
    print(f"Vortiq benchmark: {renderer}; {args.frames} frames per frame-rate run")
    print(line)
    print(" | ".join(h.ljust(w) for h, w in zip(header, widths)))
    print(line)
    for row in rows:
        print(" | ".join(str(c).ljust(w) for c, w in zip(row, widths)))
    print(line)
    return 0


if __name__ == "__main__":
    sys.exit(main())
