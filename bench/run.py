#!/usr/bin/env python3
"""Times every Oradel conversion end to end, against the I/O floor and GPSBabel.

    python3 bench/run.py                 # build (Release), generate, measure, print
    python3 bench/run.py --quick         # small and medium sizes only, fewer runs
    python3 bench/run.py --markdown FILE # also write the tables as Markdown
    python3 bench/run.py --modes 15      # only the given modes
    python3 bench/run.py --long-line     # only the page of one ever longer line of "["

Every measurement runs a whole process: one warm-up, then --runs timed runs; the
median wall time is reported with the peak resident memory of the child
(GNU time's getrusage). The I/O floor of a job reads its input and writes an output of the
same size as the job's, through user space in 64 KiB blocks, into a temporary
file renamed over the target (as the job does); `oradel-bench-gen --floor` does
exactly that. GNU cat is timed too, but it copies with copy_file_range and never
brings the bytes into user space, so it is shown for reference only.
Only the Python standard library is used.
"""

import argparse
import os
import platform
import shutil
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TIME = "/usr/bin/time"  # GNU time, for the peak resident memory
SIZES = {"small": 10_000, "medium": 100_000, "large": 1_000_000}

# Mode, input kind, output suffix, and the GPSBabel job that does the same work.
JOBS = [
    (1, "xctrack.wpt", "xctrack.txt", None),
    (15, "navitel.gpx", "navitel_nav.txt", ("gpx", "navitel.gpx", "unicsv", "csv")),
    (2, "list.txt", "list.wpt", None),
    (3, "list.txt", "list_nav.wpt", ("unicsv", "gpsbabel.csv", "ozi", "wpt")),
    (4, "list.txt", "list.htm", None),
    # GPSBabel 1.8 has no CompeGPS writer; SeeYou .cup is the other file LK8000 reads.
    (5, "list.txt", "list_lk8.wpt", ("unicsv", "gpsbabel.csv", "cup", "cup")),
    (6, "list.txt", "list.cup", ("unicsv", "gpsbabel.csv", "cup", "cup")),
    (7, "list.txt", "list_wpt.gpx", ("unicsv", "gpsbabel.csv", "gpx", "gpx")),
    (8, "list.txt", "list.kml", ("unicsv", "gpsbabel.csv", "kml", "kml")),
    # The CUP file of mode 6, under another name, so that its list is not the input list.
    (16, "seeyou.cup", "seeyou.txt", ("cup", "seeyou.cup", "unicsv", "csv")),
]


class Measurement:
    def __init__(self, times, rss_kb, note=""):
        self.times = times
        self.rss_kb = rss_kb
        self.note = note

    @property
    def median(self):
        return statistics.median(self.times) if self.times else None


def run_once(command, timeout):
    """Wall time in seconds and peak RSS in KiB of one run; None on timeout.

    The peak comes from GNU time, whose own small process forks the command:
    a child forked straight from Python would carry Python's resident size.
    """
    report = os.path.join(os.environ.get("TMPDIR", "/tmp"), f"oradel-bench-{os.getpid()}.rss")
    start = time.perf_counter()
    try:
        finished = subprocess.run([TIME, "-f", "%M", "-o", report] + command,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                  timeout=timeout)
    except subprocess.TimeoutExpired:
        return None, None
    elapsed = time.perf_counter() - start
    if finished.returncode != 0:
        errors = finished.stderr.decode("utf-8", "replace")
        raise RuntimeError(f"{' '.join(command)} failed ({finished.returncode}): {errors}")
    with open(report) as text:
        rss_kb = int(text.read().split()[-1])
    os.remove(report)
    return elapsed, rss_kb


def measure(command, runs, timeout, slow_after=20.0):
    """One warm-up, then `runs` timed runs; a run slower than `slow_after`
    seconds counts as the only sample, so slow tools do not take hours."""
    return measure_together([command], runs, timeout, slow_after)[0]


def measure_together(commands, runs, timeout, slow_after=20.0):
    """The same for several commands whose runs take turns, so that a change
    in the machine's load falls on all of them alike."""
    results = []
    for command in commands:
        warm, rss = run_once(command, timeout)
        if warm is None:
            results.append(Measurement([], None, f"> {timeout:.0f} s"))
        elif warm > slow_after:
            results.append(Measurement([warm], rss, "1 run"))
        else:
            results.append(Measurement([], rss))
    for _ in range(runs):
        for command, result in zip(commands, results):
            if result.note:
                continue
            elapsed, rss = run_once(command, timeout)
            result.times.append(elapsed)
            result.rss_kb = max(result.rss_kb, rss)
    return results


def build(build_dir):
    configure = ["cmake", "-S", ROOT, "-B", build_dir, "-DCMAKE_BUILD_TYPE=Release",
                 "-DORADEL_BUILD_TESTS=OFF", "-DORADEL_BUILD_UI=OFF"]
    subprocess.run(configure, check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build_dir, "-j", str(os.cpu_count() or 2), "--target",
                    "oradel-convert", "oradel-bench-gen"], check=True, stdout=subprocess.DEVNULL)


def generate(generator, data_dir, sizes):
    os.makedirs(data_dir, exist_ok=True)
    for name in sizes:
        stamp = os.path.join(data_dir, f"{name}.stamp")
        if os.path.exists(stamp) and os.path.getmtime(stamp) >= os.path.getmtime(generator):
            continue
        print(f"generating {name} inputs ({SIZES[name]:,} points)", flush=True)
        subprocess.run([generator, data_dir, name, str(SIZES[name])], check=True)
        for extension, kind in (("txt", "list.txt"), ("wpt", "xctrack.wpt"),
                                ("gpx", "navitel.gpx"), ("csv", "gpsbabel.csv")):
            os.replace(os.path.join(data_dir, f"{name}.{extension}"),
                       os.path.join(data_dir, f"{name}-{kind}"))
        open(stamp, "w").close()


def megabytes(size):
    return size / 1e6


def fmt(value, digits=2):
    return "-" if value is None else f"{value:.{digits}f}"


def prepare_cup_input(tools, data_dir, name):
    """The input of mode 16: the list's CUP file, made by mode 6 when missing."""
    cup = os.path.join(data_dir, f"{name}-seeyou.cup")
    if not os.path.exists(cup):
        subprocess.run([tools["convert"], "--mode", "6", os.path.join(data_dir, f"{name}-list.txt")],
                       check=True, stdout=subprocess.DEVNULL)
        shutil.copyfile(os.path.join(data_dir, f"{name}-list.cup"), cup)


def bench_size(args, tools, data_dir, name, previous):
    rows = []
    prepare_cup_input(tools, data_dir, name)
    for mode, input_kind, output_kind, babel in JOBS:
        if args.modes and mode not in args.modes:
            continue
        source = os.path.join(data_dir, f"{name}-{input_kind}")
        target = os.path.join(data_dir, f"{name}-{output_kind}")
        # An import replaces the list of the previous run (with the same bytes: unchanged).
        jobs = measure_together([[convert, "--replace-lists", "--mode", str(mode), source]
                                 for _, convert in tools["builds"]], args.runs, args.timeout)
        job = jobs[0]
        in_size, out_size = os.path.getsize(source), os.path.getsize(target)
        floor_out = os.path.join(data_dir, "floor.out")
        floor = measure([tools["gen"], "--floor", source, floor_out, str(out_size)], args.runs,
                        args.timeout)
        cat = measure(["sh", "-c", 'cat "$1" > "$2"', "cat", source, floor_out], args.runs,
                      args.timeout)
        babel_result = None
        if babel and tools["gpsbabel"]:
            babel_result = measure_gpsbabel(args, tools, data_dir, name, mode, babel, previous)
        os.remove(floor_out)
        others = [(label, result) for (label, _), result in zip(tools["builds"][1:], jobs[1:])]
        rows.append(dict(size=name, points=SIZES[name], mode=mode, in_size=in_size,
                         out_size=out_size, job=job, floor=floor, cat=cat, babel=babel_result,
                         label=tools["builds"][0][0], others=others))
        print_row(rows[-1], flush=True)
    return rows


def measure_gpsbabel(args, tools, data_dir, name, mode, babel, previous):
    in_format, in_kind, out_format, extension = babel
    before = previous.get(mode)
    if before is not None and before.median is not None:
        # Linear extrapolation from the size before; GPSBabel grows faster than that.
        expected = before.median * SIZES[name] / before.points
        if expected > args.timeout:
            result = Measurement([], None, f"skipped: > {expected:.0f} s expected")
            result.points = SIZES[name]
            return result
    source = os.path.join(data_dir, f"{name}-{in_kind}")
    target = os.path.join(data_dir, f"{name}-gpsbabel-out.{extension}")
    result = measure([tools["gpsbabel"], "-i", in_format, "-f", source, "-o", out_format, "-F",
                      target], args.runs, args.timeout)
    if os.path.exists(target):
        os.remove(target)
    result.points = SIZES[name]
    previous[mode] = result if result.median is not None else None
    return result


HEADER = ("size    mode build   in MB  out MB  median s  in MB/s  out MB/s  RSS MB  floor s"
          "  x floor  cat s  gpsbabel s  x faster")


def row_cells(row, job):
    """The figures of one build's job in a row, as texts."""
    floor, babel = row["floor"], row["babel"]
    t = job.median
    babel_text, speedup = "-", "-"
    if babel is not None:
        babel_text = fmt(babel.median) if babel.median is not None else babel.note
        if babel.median is not None:
            speedup = fmt(babel.median / t, 1)
            if babel.note:
                babel_text += f" ({babel.note})"
    return dict(median=f"{t:.3f}", in_rate=f"{megabytes(row['in_size']) / t:.0f}",
                out_rate=f"{megabytes(row['out_size']) / t:.0f}", rss=f"{job.rss_kb / 1024:.1f}",
                floor=f"{floor.median:.3f}", x_floor=f"{t / floor.median:.1f}",
                cat=f"{row['cat'].median:.3f}", babel=babel_text, x_babel=speedup)


def builds_of(row):
    return [(row["label"], row["job"])] + row["others"]


def print_row(row, flush=False):
    for label, job in builds_of(row):
        c = row_cells(row, job)
        print(f"{row['size']:<7} {row['mode']:>4} {label:<6} {megabytes(row['in_size']):>6.1f} "
              f"{megabytes(row['out_size']):>7.1f} {c['median']:>9} {c['in_rate']:>8} "
              f"{c['out_rate']:>9} {c['rss']:>7} {c['floor']:>8} {c['x_floor']:>8} "
              f"{c['cat']:>6} {c['babel']:>11} {c['x_babel']:>9}", flush=flush)


def growth(rows):
    """Microseconds per point for each mode and size, and the growth factors."""
    lines = []
    by_mode = {}
    for row in rows:
        by_mode.setdefault(row["mode"], []).append(row)
    for mode, series in by_mode.items():
        parts = []
        for row in series:
            parts.append(f"{row['size']} {row['job'].median / row['points'] * 1e6:.2f}")
        factors = []
        for a, b in zip(series, series[1:]):
            growth_factor = b["job"].median / a["job"].median
            factors.append(f"x{growth_factor:.1f} for x{b['points'] // a['points']}")
        line = f"mode {mode:>2}: us/point " + ", ".join(parts)
        if factors:
            line += "; time " + ", ".join(factors)
        lines.append(line)
    return lines


def machine():
    model = "unknown"
    with open("/proc/cpuinfo") as info:
        for line in info:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    memory = "unknown"
    with open("/proc/meminfo") as info:
        for line in info:
            if line.startswith("MemTotal"):
                memory = f"{int(line.split()[1]) / 1024 / 1024:.1f} GiB"
    return (f"{os.cpu_count()} CPUs, {model}, {memory} RAM, {platform.system()} "
            f"{platform.release()}, Python {platform.python_version()}")


def write_markdown(path, rows, growth_lines, machine_text):
    with open(path, "w") as out:
        out.write(f"Machine: {machine_text}\n\n")
        out.write("| size | mode | build | in MB | out MB | median s | in MB/s | out MB/s "
                  "| peak RSS MB | floor s | x floor | cat s | GPSBabel s "
                  "| x faster than GPSBabel |\n")
        out.write("|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n")
        for row in rows:
            for label, job in builds_of(row):
                c = row_cells(row, job)
                out.write(f"| {row['size']} | {row['mode']} | {label} | "
                          f"{megabytes(row['in_size']):.1f} | {megabytes(row['out_size']):.1f} | "
                          f"{c['median']} | {c['in_rate']} | {c['out_rate']} | {c['rss']} | "
                          f"{c['floor']} | {c['x_floor']} | {c['cat']} | {c['babel']} | "
                          f"{c['x_babel']} |\n")
        out.write("\n")
        for line in growth_lines:
            out.write(f"- {line}\n")


def bench_long_line(args, tools, data_dir):
    """Mode 4 on a list whose one comment is N MB of "[": the page is 31 times
    the line, but memory must stay a small multiple of the line and time linear."""
    print("Long line: mode 4, one comment of N MB of '[' (the page is 31 times longer)")
    print(f"{'line MB':>8} {'time s':>8} {'peak MB':>8} {'peak/line':>10}")
    os.makedirs(data_dir, exist_ok=True)
    lines = []
    for megabytes_of_line in (5, 10, 20):
        size = megabytes_of_line << 20
        path = os.path.join(data_dir, f"long-line-{megabytes_of_line}.txt")
        with open(path, "wb") as out:
            out.write(b"A\r\n1 2\r\n" + b"[" * size + b"\r\n")
        result = measure([tools["convert"], "--mode", "4", path], min(args.runs, 3), args.timeout)
        os.remove(os.path.splitext(path)[0] + ".htm")
        peak_mb = result.rss_kb / 1024
        line = (f"{megabytes_of_line:>8} {fmt(result.median):>8} {peak_mb:>8.0f} "
                f"{peak_mb / megabytes_of_line:>10.1f}")
        print(line, flush=True)
        lines.append(line)
    return lines


def bench_check(args, tools, data_dir, sizes):
    """--check on each size's list: one pass, nothing written; a pilot's list of
    100,000 points checks in under a second."""
    print("List check: oradel-convert --check on the list")
    print(f"{'size':<7} {'points':>8} {'median s':>9} {'RSS MB':>7}")
    lines = []
    for name in sizes:
        path = os.path.join(data_dir, f"{name}-list.txt")
        # Status 1 says the list has errors; only 2 and above are failures here.
        command = ["sh", "-c", '"$@"; [ $? -le 1 ]', "sh", tools["convert"], "--check", path]
        result = measure(command, args.runs, args.timeout)
        line = (f"{name:<7} {SIZES[name]:>8} {fmt(result.median, 3):>9} "
                f"{(result.rss_kb or 0) / 1024:>7.1f}")
        print(line, flush=True)
        lines.append(line)
    return lines


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build-bench"))
    parser.add_argument("--data", help="folder of the inputs (default: BUILD/bench-data)")
    parser.add_argument("--sizes", default="small,medium,large")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--timeout", type=float, default=300.0)
    parser.add_argument("--quick", action="store_true", help="small and medium, 3 runs")
    parser.add_argument("--no-build", action="store_true")
    parser.add_argument("--modes", type=lambda text: [int(m) for m in text.split(",") if m],
                        help="only these modes, for example 15 or 1,15 (default: all)")
    parser.add_argument("--markdown", help="also write the tables to this file")
    parser.add_argument("--long-line", action="store_true",
                        help="only the memory and time of mode 4 on one long line")
    parser.add_argument("--label", default="this", help="the name of this build in the tables")
    parser.add_argument("--against", action="append", default=[], metavar="LABEL=BUILD",
                        help="also time the oradel-convert of another build folder (of another "
                             "checkout, built already), its runs taking turns with this one's")
    args = parser.parse_args()
    if not os.access(TIME, os.X_OK):
        sys.exit(f"{TIME} (GNU time, Debian package 'time') is needed for the peak memory")
    if args.quick:
        args.sizes, args.runs = "small,medium", 3
    sizes = [size for size in args.sizes.split(",") if size]
    if not args.no_build:
        build(args.build)
    builds = [(args.label, os.path.join(args.build, "src", "cli", "oradel-convert"))]
    for other in args.against:
        label, _, folder = other.partition("=")
        builds.append((label, os.path.join(os.path.abspath(folder), "src", "cli",
                                           "oradel-convert")))
    tools = {
        "builds": builds,
        "convert": builds[0][1],
        "gen": os.path.join(args.build, "bench", "oradel-bench-gen"),
        "gpsbabel": shutil.which("gpsbabel"),
    }
    data_dir = args.data or os.path.join(args.build, "bench-data")
    if args.long_line:
        bench_long_line(args, tools, data_dir)
        return 0
    generate(tools["gen"], data_dir, sizes)
    machine_text = machine()
    print(machine_text)
    if not tools["gpsbabel"]:
        print("gpsbabel not found: its column stays empty")
    print(HEADER)
    rows, previous = [], {}
    for name in sizes:
        rows += bench_size(args, tools, data_dir, name, previous)
    growth_lines = growth(rows)
    print()
    for line in growth_lines:
        print(line)
    print()
    growth_lines += [""] + bench_check(args, tools, data_dir, sizes)
    if args.markdown:
        write_markdown(args.markdown, rows, growth_lines, machine_text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
