#!/usr/bin/python3
"""Measures what the front end costs as the account grows.

    run_benchmark.py [--build DIR] [--work DIR] [--plot PNG | --write-doc] [--quick]
                     [--largest N] [--startup-runs N]
    run_benchmark.py --startup-only [--build DIR] [--compare DIR]... [--windows DIR]...
                     [--work DIR] [--startup-runs N]

Generates stand-in worlds of growing size (bench/make_world.py), runs
wnctl64 and bench/listing_floor on them as whole processes through
bench/process_timer, and writes to the work folder (default /tmp/bench-work):
  results.json             every run
  results.md               the tables
  time-per-device.png      the plot, unless --plot names another file
and, with --startup-only, startup.json alone. Nothing in the clone is
written unless --write-doc is given: then the tables of doc/benchmark.md
from "### show-remote" to the end of "### lock-device and version" are
replaced, and the plot is drawn to doc/benchmark-time-per-device.png. Run by
hand; it is not a test.

The start-up measurement runs `wnctl64 version` on the demo world kept in a
state file against bench/startup_floor, which loads the same libraries and
prints one line. --startup-only runs just that (seconds), for the build and
for each --compare build side by side, each with its own program, floor and
state file, timed by the first build's process_timer. --windows names a
Windows build (build/win64 or build/win32), whose wnctl64.exe (wnctl32.exe)
and startup_floor.exe run the same way under Wine, through
scripts/wine-run.sh, with one Wine server kept for the whole measurement.
"""

import argparse
import json
import os
import statistics
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # no __pycache__ in the clone
import make_world  # noqa: E402

REMOTE_COMPUTERS = [1, 10, 100, 1000]
REMOTE_DEVICES_EACH = 100
LOCAL_DEVICES = [10, 1000, 100000]
SINKS = ["file", "pipe"]
LOCK_WORLD_DEVICES = 10
# A change to this demo device and back saves the demo world to the state file.
DEMO_DEVICE = "41-usb-1-3"
STARTUP_RUNS = 101
STARTUP_QUICK_RUNS = 31
# Rounds run first and left out: the first runs of a build fill the page cache.
STARTUP_WARMUP = 3


ROOT = os.path.dirname(HERE)


class Bench:
    def __init__(self, build, work, quick, timer=None):
        self.build = build
        self.bin = os.path.join(build, "bin")
        self.work = work
        self.quick = quick
        self.program = os.path.join(self.bin, "wnctl64")
        self.floor = os.path.join(self.bin, "listing_floor")
        self.startup_floor = os.path.join(self.bin, "startup_floor")
        self.timer = timer or os.path.join(self.bin, "process_timer")
        self.wine_arch = None

    def command(self, path, *arguments):
        return [path] + list(arguments)


    def runs_for(self, devices):
        if self.quick:
            return 3
        return 7 if devices <= 10000 else 5

    def scenario(self, name, scenario):
        path = os.path.join(self.work, name + ".json")
        make_world.write(scenario, path)
        return path

    def time(self, scenario_path, command, runs, sink="null", trace=None, state_path=None):
        """Runs command under the scenario, or with no scenario and state_path as its state."""
        env = dict(os.environ)
        env.pop("WIRENEST_CALL_LOG", None)
        env.pop("WIRENEST_STATE", None)
        env.pop("WIRENEST_SCENARIO", None)
        if state_path:
            env["WIRENEST_STATE"] = state_path
        else:
            env["WIRENEST_SCENARIO"] = scenario_path
        sink_arg = os.path.join(self.work, "output.txt") if sink == "file" else sink
        argv = [self.timer, "--runs", str(runs), "--sink", sink_arg]
        if trace:
            argv += ["--trace", os.path.join(self.work, "call-log.txt")]
        done = subprocess.run(argv + ["--"] + command, env=env, capture_output=True,
                              text=True, check=False)
        rows = [[int(x) for x in line.split("\t")] for line in done.stdout.splitlines()]
        if done.returncode != 0 or len(rows) != runs:
            raise SystemExit("failed: %s\n%s%s" % (" ".join(command), done.stdout,
                                                   done.stderr))
        return rows

    def call_log(self, scenario_path, command):
        log = os.path.join(self.work, "calls.log")
        if os.path.exists(log):
            os.unlink(log)
        env = dict(os.environ, WIRENEST_SCENARIO=scenario_path, WIRENEST_CALL_LOG=log)
        env.pop("WIRENEST_STATE", None)
        subprocess.run(command, env=env, stdout=subprocess.DEVNULL, check=True)
        with open(log) as lines:
            return lines.read()


class WindowsBench(Bench):
    """A Windows build's programs, each started under Wine by scripts/wine-run.sh."""

    def __init__(self, build, work, quick, timer):
        Bench.__init__(self, build, work, quick, timer)
        self.wine_arch = os.path.basename(os.path.normpath(build))
        if self.wine_arch not in ("win64", "win32"):
            raise SystemExit("--windows takes build/win64 or build/win32, not %s" % build)
        bits = self.wine_arch[3:]
        self.program = os.path.join(self.bin, "wnctl%s.exe" % bits)
        self.startup_floor = os.path.join(self.bin, "startup_floor.exe")

    def command(self, path, *arguments):
        return [os.path.join(ROOT, "scripts", "wine-run.sh"), self.wine_arch, path] + list(
            arguments)


def wine_server(action, arch):
    subprocess.run([os.path.join(ROOT, "scripts", "wine-server.sh"), action, arch], check=True)

def summary(rows):
    return {"wall_us": statistics.median(r[0] for r in rows),
            "maxrss_kb": max(r[1] for r in rows),
            "output_bytes": rows[0][3],
            "cpu_us": statistics.median(r[4] for r in rows),
            "runs": len(rows)}


def check_same_calls(bench):
    """The floor is a floor only if it asks the library exactly what the front end does."""
    remote = bench.scenario("check-remote", {"world": make_world.world(1, 3, 20)})
    local = bench.scenario("check-local", {"world": make_world.world(25, 0, 0)})
    for path, kind in ((remote, "remote"), (local, "local")):
        front = bench.call_log(path, [bench.program, "show-" + kind])
        floor = bench.call_log(path, [bench.floor, kind])
        if front != floor:
            raise SystemExit("the floor's calls differ from show-%s's" % kind)
        print("same %d library calls as show-%s" % (front.count("\n"), kind), flush=True)


def measure_listings(bench, largest):
    results = []
    cases = [("remote", c * REMOTE_DEVICES_EACH, c) for c in REMOTE_COMPUTERS]
    cases += [("local", d, 0) for d in LOCAL_DEVICES]
    for kind, devices, computers in cases:
        if devices > largest:
            continue
        world = (make_world.world(1, computers, REMOTE_DEVICES_EACH) if kind == "remote"
                 else make_world.world(devices, 0, 0))
        path = bench.scenario("%s-%d" % (kind, devices), {"world": world})
        runs = bench.runs_for(devices)
        commands = [("front end", [bench.program, "show-" + kind]),
                    ("floor", [bench.floor, kind])]
        if kind == "remote":
            commands.insert(1, ("front end --verbose",
                                [bench.program, "show-remote", "--verbose"]))
        for sink in SINKS:
            # Run after run, each command in turn, so that a change in the
            # machine's load falls on all of them alike.
            rows = {label: [] for label, _ in commands}
            for _ in range(runs):
                for label, command in commands:
                    rows[label] += bench.time(path, command, 1, sink)
            for label, _ in commands:
                row = summary(rows[label])
                row.update(kind=kind, devices=devices, sink=sink, what=label,
                           computers=computers if kind == "remote" else 1)
                results.append(row)
                print("%-6s %6d devices  %-4s  %-19s %9.1f ms  %7d KB" %
                      (kind, devices, sink, label, row["wall_us"] / 1000, row["maxrss_kb"]),
                      flush=True)
        os.unlink(path)
    return results


def measure_action(bench):
    scenario = {"world": make_world.world(LOCK_WORLD_DEVICES, 0, 0)}
    path = bench.scenario("lock", scenario)
    device = "%s-%s" % (make_world.LOCAL_ID, make_world.first_device_id(scenario))
    runs = 7 if not bench.quick else 3
    lock = [bench.program, "lock-device", device]
    traced = bench.time(path, lock, runs, "pipe", trace=True)
    handover = [r[7] - r[6] for r in traced]
    result = {
        "lock_wall_us": summary(bench.time(path, lock, runs, "pipe"))["wall_us"],
        "show_local_wall_us": summary(bench.time(path, [bench.program, "show-local"], runs,
                                                 "pipe"))["wall_us"],
        "traced_wall_us": statistics.median(r[0] for r in traced),
        "request_us": statistics.median(r[5] for r in traced),
        "answer_us": statistics.median(r[6] for r in traced),
        "success_us": statistics.median(r[7] for r in traced),
        "handover_us": statistics.median(handover),
        "handover_max_us": max(handover),
        "exit_after_success_us": statistics.median(r[0] - r[7] for r in traced),
        "runs": runs,
    }
    version_world = bench.scenario("version", {"world": {}})
    version = summary(bench.time(version_world, [bench.program, "version"], runs, "pipe"))
    result["version_wall_us"] = version["wall_us"]
    result["version_maxrss_kb"] = version["maxrss_kb"]
    result["true_wall_us"] = summary(bench.time(version_world, ["/bin/true"], runs,
                                                "pipe"))["wall_us"]
    print(json.dumps(result), flush=True)
    return result


def demo_state(bench, name):
    """A state file that holds the demo world, saved by the build's own program."""
    path = os.path.join(bench.work, name + ".json")
    if os.path.exists(path):
        os.unlink(path)
    env = dict(os.environ, WIRENEST_STATE=path)
    env.pop("WIRENEST_SCENARIO", None)
    env.pop("WIRENEST_CALL_LOG", None)
    for action in ("lock-device", "unlock-device"):
        subprocess.run(bench.command(bench.program, action, DEMO_DEVICE), env=env,
                       stdout=subprocess.DEVNULL, check=True)
    if not os.path.exists(path):
        raise SystemExit("%s saved no state file" % bench.program)
    return path


def check_floor_calls_nothing(bench, state):
    log = os.path.join(bench.work, "calls.log")
    if os.path.exists(log):
        os.unlink(log)
    env = dict(os.environ, WIRENEST_STATE=state, WIRENEST_CALL_LOG=log)
    env.pop("WIRENEST_SCENARIO", None)
    subprocess.run(bench.command(bench.startup_floor), env=env, stdout=subprocess.DEVNULL,
                   check=True)
    if os.path.exists(log):
        raise SystemExit("%s called the library" % bench.startup_floor)


def measure_startup(benches, runs):
    """`version` on the demo world's state file against the start-up floor, for each build.

    Every round runs each build's two commands once, starting one command
    further along each time, so that the machine's load falls on all alike.
    """
    cases = []
    for index, bench in enumerate(benches):
        state = demo_state(bench, "startup-state-%d" % index)
        check_floor_calls_nothing(bench, state)
        cases += [(index, "version", bench.command(bench.program, "version"), state),
                  (index, "floor", bench.command(bench.startup_floor), state)]
    rows = {(index, what): [] for index, what, _, _ in cases}
    for round_index in range(STARTUP_WARMUP + runs):
        start = round_index % len(cases)
        for index, what, command, state in cases[start:] + cases[:start]:
            row = benches[0].time(None, command, 1, "pipe", state_path=state)
            if round_index >= STARTUP_WARMUP:
                rows[(index, what)] += row
    results = []
    for index, bench in enumerate(benches):
        version = summary(rows[(index, "version")])
        floor = summary(rows[(index, "floor")])
        results.append({"build": bench.build, "runs": runs,
                        "version_wall_us": version["wall_us"], "floor_wall_us": floor["wall_us"],
                        "version_cpu_us": version["cpu_us"], "floor_cpu_us": floor["cpu_us"],
                        "version_maxrss_kb": version["maxrss_kb"],
                        "floor_maxrss_kb": floor["maxrss_kb"]})
        print(json.dumps(results[-1]), flush=True)
    return results


def startup_table(startup):
    lines = ["| build | `version` (ms) | floor (ms) | ratio | CPU ratio |",
             "|---|---:|---:|---:|---:|"]
    for row in startup:
        lines.append("| %s | %.2f | %.2f | %.2f | %.2f |" % (
            row["build"], row["version_wall_us"] / 1000, row["floor_wall_us"] / 1000,
            row["version_wall_us"] / row["floor_wall_us"],
            row["version_cpu_us"] / row["floor_cpu_us"]))
    return "\n".join(lines)


def machine():
    model = "unknown"
    with open("/proc/cpuinfo") as info:
        for line in info:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    with open("/proc/meminfo") as info:
        memory_kb = int(info.readline().split()[1])
    with open("/proc/loadavg") as info:
        load = " ".join(info.read().split()[:3])
    return {"nproc": os.cpu_count(), "cpu": model, "memory_gib": round(memory_kb / 2**20, 1),
            "load_average": load}


def find(results, kind, devices, sink, what):
    for row in results:
        if (row["kind"], row["devices"], row["sink"], row["what"]) == (kind, devices, sink,
                                                                        what):
            return row
    return None


def listing_table(results, kind, what):
    lines = ["| devices | computers | output | front end (ms) | floor (ms) | ratio | "
             "front end us/device | floor us/device | CPU ratio | front end peak KB | "
             "floor peak KB |",
             "|---:|---:|---|---:|---:|---:|---:|---:|---:|---:|---:|"]
    sizes = sorted({r["devices"] for r in results if r["kind"] == kind})
    if not sizes:
        return "(not measured)"
    for devices in sizes:
        for sink in SINKS:
            front = find(results, kind, devices, sink, what)
            floor = find(results, kind, devices, sink, "floor")
            lines.append("| %d | %d | %s | %.1f | %.1f | %.2f | %.1f | %.1f | %.2f | %d | %d |" % (
                devices, front["computers"], sink, front["wall_us"] / 1000,
                floor["wall_us"] / 1000, front["wall_us"] / floor["wall_us"],
                front["wall_us"] / devices, floor["wall_us"] / devices,
                front["cpu_us"] / floor["cpu_us"], front["maxrss_kb"], floor["maxrss_kb"]))
    return "\n".join(lines)


def linearity_table(results):
    """Between two sizes: what each further device costs."""
    lines = ["| listing | output | from → to devices | front end us/device | "
             "floor us/device |", "|---|---|---|---:|---:|"]
    for kind, what in (("remote", "front end"), ("remote", "front end --verbose"),
                       ("local", "front end")):
        sizes = sorted({r["devices"] for r in results if r["kind"] == kind})
        for sink in SINKS:
            for small, large in zip(sizes, sizes[1:]):
                cost = []
                for label in (what, "floor"):
                    a, b = find(results, kind, small, sink, label), find(results, kind, large,
                                                                         sink, label)
                    cost.append((b["wall_us"] - a["wall_us"]) / (large - small))
                lines.append("| show-%s%s | %s | %d → %d | %.1f | %.1f |" % (
                    kind, what[len("front end"):], sink, small, large, cost[0], cost[1]))
    return "\n".join(lines)


def measured_tables(results, action):
    """The tables of the listings and of lock-device, as doc/benchmark.md holds them."""
    return ["### show-remote (%d devices per computer)" % REMOTE_DEVICES_EACH, "",
             listing_table(results, "remote", "front end"), "",
             "### show-remote --verbose", "",
             listing_table(results, "remote", "front end --verbose"), "",
             "### show-local", "", listing_table(results, "local", "front end"), "",
             "### What each further device costs", "", linearity_table(results), "",
             "### lock-device and version", "",
             "| measurement | median (ms) |", "|---|---:|",
             "| `lock-device`, whole process | %.2f |" % (action["lock_wall_us"] / 1000),
             "| `show-local`, same world (%d devices) | %.2f |" % (
                 LOCK_WORLD_DEVICES, action["show_local_wall_us"] / 1000),
             "| traced: request sent (from start) | %.2f |" % (action["request_us"] / 1000),
             "| traced: stand-in hands the answer over (from start) | %.2f |" % (
                 action["answer_us"] / 1000),
             "| traced: \"Success\" printed (from start) | %.2f |" % (
                 action["success_us"] / 1000),
             "| traced: answer to \"Success\" (largest of %d runs: %.2f) | %.3f |" % (
                 action["runs"], action["handover_max_us"] / 1000,
                 action["handover_us"] / 1000),
             "| traced: \"Success\" to process end | %.2f |" % (
                 action["exit_after_success_us"] / 1000),
             "| `version` | %.2f |" % (action["version_wall_us"] / 1000),
             "| `/bin/true` | %.2f |" % (action["true_wall_us"] / 1000), ""]


def write_tables(results, action, startup, path):
    parts = measured_tables(results, action) + [
        "### start-up (demo world in a state file, %d runs)" % startup[0]["runs"], "",
        startup_table(startup), ""]
    with open(path, "w") as out:
        out.write("\n".join(parts))


def write_doc_tables(results, action, path):
    """Replaces the measured tables in the document, leaving its text around them."""
    with open(path) as doc:
        lines = doc.read().split("\n")
    first = [r for r in measured_tables(results, action) if r.startswith("### ")]
    try:
        start = lines.index(first[0])
        last = lines.index(first[-1], start)
    except ValueError:
        raise SystemExit("%s: no \"%s\" ... \"%s\" to replace" % (path, first[0], first[-1]))
    end = next((i for i in range(last + 1, len(lines)) if lines[i].startswith("#")),
               len(lines))
    lines[start:end] = measured_tables(results, action)
    with open(path, "w") as doc:
        doc.write("\n".join(lines))


def plot(results, path):
    """Draws the plot to path; False, drawing nothing, without matplotlib."""
    try:
        import matplotlib
    except ImportError:
        return False
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
    import matplotlib.ticker

    figure, axes = plt.subplots(figsize=(9, 5.5), dpi=110)
    series = [("remote", "front end", "file", "show-remote, to a file", "tab:blue", "-", "o"),
              ("remote", "front end", "pipe", "show-remote, to a pipe", "tab:blue", "--", "o"),
              ("remote", "front end --verbose", "file", "show-remote --verbose, to a file",
               "tab:green", "-", "s"),
              ("remote", "front end --verbose", "pipe", "show-remote --verbose, to a pipe",
               "tab:green", "--", "s"),
              ("remote", "floor", "file", "floor of show-remote", "black", ":", "o"),
              ("local", "front end", "file", "show-local, to a file", "tab:red", "-", "^"),
              ("local", "front end", "pipe", "show-local, to a pipe", "tab:red", "--", "^"),
              ("local", "floor", "file", "floor of show-local", "dimgray", ":", "^")]
    for kind, what, sink, label, color, style, marker in series:
        rows = sorted((r for r in results
                       if r["kind"] == kind and r["what"] == what and r["sink"] == sink),
                      key=lambda r: r["devices"])
        axes.plot([r["devices"] for r in rows], [r["wall_us"] / r["devices"] for r in rows],
                  color=color, linestyle=style, marker=marker, label=label)
    axes.set_xscale("log")
    axes.set_yscale("log")
    axes.set_yticks([20, 30, 50, 100, 200, 500, 1000])
    axes.yaxis.set_major_formatter(matplotlib.ticker.ScalarFormatter())
    axes.yaxis.set_minor_formatter(matplotlib.ticker.NullFormatter())
    axes.set_xlabel("devices listed")
    axes.set_ylabel("median wall time per listed device (us)")
    axes.set_title("wnctl64 listings: whole-process time per device, against the floor")
    axes.grid(True, which="both", alpha=0.3)
    axes.legend()
    figure.tight_layout()
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    figure.savefig(path)
    return True


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="/tmp/build-bench")
    parser.add_argument("--work", default="/tmp/bench-work")
    drawn = parser.add_mutually_exclusive_group()
    drawn.add_argument("--plot", help="the plot's file (default WORK/time-per-device.png)")
    drawn.add_argument("--write-doc", action="store_true",
                       help="replace the tables of doc/benchmark.md and its plot")
    parser.add_argument("--quick", action="store_true", help="3 runs per size")
    parser.add_argument("--largest", type=int, default=100000,
                        help="leave out listings of more devices than this")
    parser.add_argument("--startup-only", action="store_true",
                        help="measure only the start-up against its floor")
    parser.add_argument("--startup-runs", type=int, default=None,
                        help="runs of each start-up command (default %d, %d with --quick)" % (
                            STARTUP_RUNS, STARTUP_QUICK_RUNS))
    parser.add_argument("--compare", action="append", default=[], metavar="DIR",
                        help="with --startup-only: another build folder to measure beside")
    parser.add_argument("--windows", action="append", default=[], metavar="DIR",
                        help="with --startup-only: a Windows build folder to measure under Wine")
    options = parser.parse_args()
    if (options.compare or options.windows) and not options.startup_only:
        parser.error("--compare and --windows need --startup-only")
    if options.startup_only and (options.plot or options.write_doc):
        parser.error("--startup-only draws no plot and writes no document")
    doc = os.path.normpath(os.path.join(HERE, "..", "doc", "benchmark.md"))
    if options.write_doc:
        options.plot = os.path.join(os.path.dirname(doc), "benchmark-time-per-device.png")
    elif not options.plot:
        options.plot = os.path.join(options.work, "time-per-device.png")
    os.makedirs(options.work, exist_ok=True)
    bench = Bench(options.build, options.work, options.quick)
    startup_runs = options.startup_runs or (STARTUP_QUICK_RUNS if options.quick
                                            else STARTUP_RUNS)
    before = machine()
    print(json.dumps(before), flush=True)
    if options.startup_only:
        benches = [bench] + [Bench(build, options.work, options.quick, bench.timer)
                             for build in options.compare]
        benches += [WindowsBench(build, options.work, options.quick, bench.timer)
                    for build in options.windows]
        arches = sorted(set(b.wine_arch for b in benches if b.wine_arch))
        for arch in arches:
            wine_server("start", arch)
        try:
            startup = measure_startup(benches, startup_runs)
        finally:
            for arch in arches:
                wine_server("stop", arch)
        with open(os.path.join(options.work, "startup.json"), "w") as out:
            json.dump({"machine": before, "load_average_after": machine()["load_average"],
                       "startup": startup}, out, indent=1)
        print("load average %s before, %s after\n" % (before["load_average"],
                                                      machine()["load_average"]))
        print(startup_table(startup))
        return
    check_same_calls(bench)
    action = measure_action(bench)
    startup = measure_startup([bench], startup_runs)
    results = measure_listings(bench, options.largest)
    with open(os.path.join(options.work, "results.json"), "w") as out:
        json.dump({"machine": before, "load_average_after": machine()["load_average"],
                   "listings": results, "action": action, "startup": startup}, out, indent=1)
    tables = os.path.join(options.work, "results.md")
    write_tables(results, action, startup, tables)
    with open(tables) as written:
        print(written.read())
    if options.write_doc:
        write_doc_tables(results, action, doc)
        print("tables replaced in %s" % doc)
    if plot(results, options.plot):
        print("tables: %s, plot: %s" % (tables, options.plot))
    else:
        print("tables: %s; plot skipped: matplotlib is missing "
              "(apt-get install python3-matplotlib)" % tables)


if __name__ == "__main__":
    main()
