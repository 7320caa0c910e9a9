#!/usr/bin/python3
"""CPU per typed character of the real program and of its peers, counted in nanoseconds.

The side-by-side script (../shared/bench/peers.py) reads a process's CPU in clock ticks of 10 ms, so
over 100 characters its figure moves in steps of 0.1 ms. This one sums the run time the scheduler
keeps for every thread of the process (/proc/PID/task/*/schedstat, in nanoseconds) before and after
the typing, on the same generated programs, the same way: Xvfb with openbox, the xcb platform, the
caret put where peers.py types (Ctrl+End, Up: in front of a GOTO), KEYS "x" typed 15 ms apart after
five warm-up keys, counted until the process is idle again. Editors alternate; medians of RUNS.

Usage:  python3 bench/typing_cpu.py [PROGRAM] [PEER ...]
        RUNS=5 KEYS=300 SIZES=0,100000 python3 bench/typing_cpu.py build/bin/pinwright geany featherpad
Needs:  apt-get install xvfb openbox xdotool (and the peers named); ../shared/bench/peers.py for the
        generated programs.
"""
import os, shutil, statistics, subprocess, sys, tempfile, time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "shared", "bench"))
try:
    import peers  # the generated programs and the idle wait, as the side-by-side run has them
except ImportError:
    sys.exit("needs ../shared/bench/peers.py beside the project")


def cpu_ns(pid):
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            total += int(open(f"/proc/{pid}/task/{task}/schedstat").read().split()[0])
        except (FileNotFoundError, ProcessLookupError):
            pass  # a thread that ended between the listing and the read
    return total


def one(cmd, title, display, keys):
    home = tempfile.mkdtemp(prefix="typing-home-")
    env = dict(os.environ, DISPLAY=display, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_DATA_HOME=os.path.join(home, ".local/share"), QT_QPA_PLATFORM="xcb")
    p = subprocess.Popen(cmd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        t0 = time.monotonic()
        ids = []
        while not ids and time.monotonic() - t0 < 60 and p.poll() is None:
            time.sleep(0.05)
            ids = peers.xdo(env, "search", "--onlyvisible", "--name", title).split()
        if not ids:
            return None
        peers.xdo(env, "windowfocus", "--sync", ids[0])
        peers.until_idle(p.pid)
        peers.xdo(env, "key", "--clearmodifiers", "ctrl+End")
        peers.xdo(env, "key", "Up")
        peers.xdo(env, "type", "--delay", "15", "xxxxx")
        peers.until_idle(p.pid)
        c0 = cpu_ns(p.pid)
        peers.xdo(env, "type", "--delay", "15", "x" * keys)
        peers.until_idle(p.pid)
        return (cpu_ns(p.pid) - c0) / 1e6 / keys
    finally:
        p.kill()
        p.wait()
        shutil.rmtree(home, ignore_errors=True)


def main():
    exe = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else "build/bin/pinwright"
    others = sys.argv[2:] or ["geany", "featherpad"]
    sizes = [int(x) for x in os.environ.get("SIZES", "0,100000").split(",")]
    runs, keys = int(os.environ.get("RUNS", "5")), int(os.environ.get("KEYS", "300"))
    work = tempfile.mkdtemp(prefix="typing-")
    display = ":" + str(next(d for d in range(60, 99) if not os.path.exists(f"/tmp/.X{d}-lock")))
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1600x1000x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(0.8)
    wm = subprocess.Popen(["openbox", "--sm-disable"], env=dict(os.environ, DISPLAY=display),
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(0.6)
    medians = {}
    try:
        print("  lines | editor     | ms/key (median) | runs")
        for size in sizes:
            path = os.path.join(work, f"p{size}.pbp")
            open(path, "wb").write(peers.program(size))
            cmds = {"pinwright": ([exe, path], "Pinwright"), "geany": (["geany", "-i", "-n", path], "Geany"),
                    "featherpad": (["featherpad", "--standalone", path], os.path.basename(path))}
            got = {ed: [] for ed in ["pinwright"] + others}
            for _ in range(runs):
                for ed in got:
                    r = one(*cmds[ed], display, keys)
                    if r is not None:
                        got[ed].append(r)
            for ed, v in got.items():
                if v:
                    medians[ed, size] = statistics.median(v)
                    print(f"{size:>7} | {ed:10} | {medians[ed, size]:15.3f} | "
                          + " ".join(f"{x:.3f}" for x in v), flush=True)
        for size in sizes:
            mine = medians.get(("pinwright", size))
            best = min((medians[ed, size] for ed in others if (ed, size) in medians), default=None)
            if mine and best:
                print(f"{size:>7} lines: Pinwright / the better peer {mine / best:.2f}")
        ends = [("pinwright", sizes[0]), ("pinwright", sizes[-1])]
        if len(sizes) > 1 and all(k in medians for k in ends):
            print(f"Pinwright at {sizes[-1]} lines / at {sizes[0]}: "
                  f"{medians['pinwright', sizes[-1]] / medians['pinwright', sizes[0]]:.2f}")
    finally:
        wm.terminate(); wm.wait()
        xvfb.terminate(); xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
