#!/usr/bin/env python3
"""Start-up of the windowed program against a bare Qt window, under a virtual X server.

Runs the two probes built in bench/ (ulvan_startup_probe: the program's own main();
ulvan_startup_bare: one QMainWindow with one Japanese label in the program's window font),
alternating, each ending itself once its main window has painted. Prints the median time
from launch to that first paint, the median peak resident memory of each, and the
ratios.

    bench/startup.py [build folder, default build/dev] [--pairs N, default 9]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def start_xvfb():
    """A virtual X server on the first free display; returns (process, display)."""
    for number in range(90, 140):
        if os.path.exists(f"/tmp/.X11-unix/X{number}") or os.path.exists(f"/tmp/.X{number}-lock"):
            continue
        server = subprocess.Popen(
            ["Xvfb", f":{number}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if os.path.exists(f"/tmp/.X11-unix/X{number}"):
                return server, f":{number}"
            if server.poll() is not None:
                break
            time.sleep(0.05)
        server.kill()
        server.wait()
    sys.exit("startup.py: no virtual X server could be started")


def run_once(program, env):
    """Seconds from launch to exit and peak resident memory in MB of one run."""
    started = time.perf_counter()
    pid = os.posix_spawn(program, [program], env)
    _, status, usage = os.wait4(pid, 0)
    elapsed = time.perf_counter() - started
    if not os.WIFEXITED(status) or os.WEXITSTATUS(status) != 0:
        sys.exit(f"startup.py: {program} failed (status {status})")
    return elapsed, usage.ru_maxrss / 1024.0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", nargs="?", default="build/dev")
    parser.add_argument("--pairs", type=int, default=9)
    args = parser.parse_args()
    if args.pairs < 7:
        parser.error("--pairs must be at least 7")
    program = os.path.join(args.build, "bench", "ulvan_startup_probe")
    bare = os.path.join(args.build, "bench", "ulvan_startup_bare")
    for probe in (program, bare):
        if not os.access(probe, os.X_OK):
            sys.exit(f"startup.py: {probe} is missing; build the targets "
                     "ulvan_startup_probe and ulvan_startup_bare first")
    if shutil.which("Xvfb") is None:
        sys.exit("startup.py: Xvfb is not installed")

    server, display = start_xvfb()
    config = tempfile.mkdtemp(prefix="ulvan-startup-")
    try:
        env = {key: value for key, value in os.environ.items()
               if not key.startswith(("QT_", "WAYLAND"))}
        # A settings store of its own: nothing of the user's is read or written.
        runtime = os.path.join(config, "runtime")
        os.mkdir(runtime, 0o700)
        env.update({"DISPLAY": display, "QT_QPA_PLATFORM": "xcb", "XDG_CONFIG_HOME": config,
                    "HOME": config, "XDG_RUNTIME_DIR": runtime})
        # One unmeasured run of each fills the file caches and fontconfig's cache.
        run_once(program, env)
        run_once(bare, env)
        times = {program: [], bare: []}
        memory = {program: [], bare: []}
        for _ in range(args.pairs):
            for probe in (program, bare):
                seconds, megabytes = run_once(probe, env)
                times[probe].append(seconds)
                memory[probe].append(megabytes)
    finally:
        server.terminate()
        server.wait()
        shutil.rmtree(config, ignore_errors=True)

    t_program = statistics.median(times[program])
    t_bare = statistics.median(times[bare])
    m_program = statistics.median(memory[program])
    m_bare = statistics.median(memory[bare])
    print(f"pairs:           {args.pairs}")
    print(f"program:         median {t_program:.3f} s, median peak memory {m_program:.1f} MB")
    print(f"bare window:     median {t_bare:.3f} s, median peak memory {m_bare:.1f} MB")
    print(f"time ratio:      {t_program / t_bare:.2f}")
    print(f"memory ratio:    {m_program / m_bare:.2f}")


if __name__ == "__main__":
    main()
