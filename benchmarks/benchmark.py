"""Figures of the tool under Wine beside the floors of its work, and the native transfer
benchmark beside its floor: medians of several runs and their ratios. Never fails on a figure.

Run by scripts/benchmark.sh, which builds what it needs and sets KQ_EXE, KQ_PROBE, KQ_FLOOR,
KQ_INTEGRITY_CHECK, KQ_FIRMWARE_SOURCE, KQ_PAYLOAD_DIR, KQ_NATIVE_BENCHMARK, KQ_JOURNAL_BENCHMARK and
KQ_CORRUPTING_DRIVE.
"""
import json
import os
import shutil
import statistics
import subprocess
import sys
import threading
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path[:0] = [str(ROOT / "tests" / "e2e"), str(ROOT / "firmware")]
import catalogue  # noqa: E402
from desktop import Desktop, wait_for  # noqa: E402
from run_phases import PHASES, FileEvents, floor_split, split  # noqa: E402
from tool_case import EXPECTED  # noqa: E402
from wine_prefix import wine_loader  # noqa: E402

EXE = Path(os.environ["KQ_EXE"])
PROBE = Path(os.environ["KQ_PROBE"])
FLOOR = Path(os.environ["KQ_FLOOR"])
INTEGRITY_CHECK = Path(os.environ["KQ_INTEGRITY_CHECK"])
FIRMWARE_SOURCE = Path(os.environ["KQ_FIRMWARE_SOURCE"])
PAYLOAD_DIR = Path(os.environ["KQ_PAYLOAD_DIR"])
NATIVE_BENCHMARK = Path(os.environ["KQ_NATIVE_BENCHMARK"])
JOURNAL_BENCHMARK = Path(os.environ["KQ_JOURNAL_BENCHMARK"])
SLOW_DRIVE = Path(os.environ["KQ_CORRUPTING_DRIVE"])
RUNS = 20          # write runs, each beside one run of every floor; also the GDI count's runs
CHECKS = 10        # checks of the stick the runs left, each beside one read of the set and a box
SLOW_RUNS = 3      # write runs on a drive that takes its time over every write
PEAK_RUNS = 5      # write runs watched for their memory peaks, timed apart from the others
SLOW_WRITE_MS = 40
SLOW_ROOT_MS = 3000   # a failing card's root, ahead of the stick in letter order
SILENCE_WATCHED_MS = 20000
STARTS = 5
ARRIVALS = "FGHIJ"  # a new letter each time: a letter listed once stays listed
SET_BYTES = 13_441_213
MB = 1024 * 1024


def median(values):
    return statistics.median(values)


def machine_of(executable):
    """The machine a Windows executable is built for, from its file header."""
    image = executable.read_bytes()
    machine = int.from_bytes(image[int.from_bytes(image[0x3C:0x40], "little") + 4:][:2], "little")
    return {0x014C: "x86", 0x8664: "x64"}.get(machine, hex(machine))


def gather_payloads(folder):
    """The 30 payloads under their payload names, as the floor program reads them."""
    folder.mkdir()
    for entry in catalogue.entries():
        shutil.copy(entry.source(FIRMWARE_SOURCE, PAYLOAD_DIR), folder)
    assert sum(p.stat().st_size for p in folder.iterdir()) == SET_BYTES


class WineProcess:
    """The tool's Wine process as Linux sees it: /proc/PID/status holds its memory figures,
    which Wine's own GetProcessMemoryInfo leaves partly at 0."""

    def __init__(self, windows_path, prefix):
        def matches(pid):
            try:
                command = Path(f"/proc/{pid}/cmdline").read_bytes().split(b"\0")[0].decode()
                environment = Path(f"/proc/{pid}/environ").read_bytes().split(b"\0")
            except OSError:
                return False
            return command == windows_path and f"WINEPREFIX={prefix}".encode() in environment
        self.pid = wait_for("the tool's process", lambda: next(
            (p.name for p in Path("/proc").iterdir() if p.name.isdigit() and matches(p.name)), None))

    def status(self):
        figures = {}
        for line in Path(f"/proc/{self.pid}/status").read_text().splitlines():
            key, _, value = line.partition(":")
            if value.strip().endswith("kB"):
                figures[key] = int(value.split()[0]) * 1024
        return figures

    def reset_peak(self):
        # Writing 5 sets the resident high-water mark back to what is resident now.
        Path(f"/proc/{self.pid}/clear_refs").write_text("5")


class PeakSampler:
    """Samples the private (anonymous) resident memory every 5 ms, for which Linux keeps no
    high-water mark of its own."""

    def __init__(self, process):
        self.process, self.peak, self._stop = process, 0, threading.Event()
        self._thread = threading.Thread(target=self._sample)

    def _sample(self):
        while not self._stop.is_set():
            self.peak = max(self.peak, self.process.status()["RssAnon"])
            time.sleep(0.005)

    def __enter__(self):
        self._thread.start()
        return self

    def __exit__(self, *_):
        self._stop.set()
        self._thread.join()


def probe(desktop, *arguments):
    answer = desktop.probe(*arguments)
    if not answer or "usage" in answer:
        raise RuntimeError(f"the probe could not {' '.join(arguments)}: {answer}")
    return answer


def stop_tool(desktop):
    subprocess.run([wine_loader(EXE), "taskkill", "/f", "/im", EXE.name], env=desktop.env, check=False,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    wait_for("the tool to end", lambda: not desktop.form(), timeout=20)


def wine_figures(desktop, *command, cwd=None):
    """Runs a Win32 program of ours under Wine and reads the "key=value" figures it prints."""
    result = subprocess.run(["wine", *command], cwd=cwd, env=desktop.env, check=True, timeout=120,
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    return {k: float(v) for k, _, v in (line.partition("=") for line in result.stdout.decode().split())}


def floor(desktop, program, payloads, mode):
    return wine_figures(desktop, program.name, desktop.windows_path(payloads), "E:", mode, cwd=program.parent)


def integrity_check(desktop):
    """One fresh process running the tool's check of its embedded payloads (see
    benchmarks/integrity_check_win.cpp)."""
    return wine_figures(desktop, str(INTEGRITY_CHECK))


def native_figures(program=None):
    result = subprocess.run([str(program or NATIVE_BENCHMARK), "--benchmark_repetitions=5",
                             "--benchmark_format=json"], check=True, stdout=subprocess.PIPE, timeout=600)
    return {b["run_name"]: b["real_time"] for b in json.loads(result.stdout)["benchmarks"]
            if b.get("aggregate_name") == "median"}


def slow_runs(desktop, tool):
    """Write runs on a FUSE drive mounted over E: that waits before every write, as a cheap stick
    does: a run lasts seconds, through which the window must keep answering."""
    for file in desktop.drive.iterdir():
        file.unlink()
    _, _, unmount = desktop.mount_drive_stand_in(SLOW_DRIVE, write_delay_ms=SLOW_WRITE_MS)
    try:
        probe(desktop, "time-start", tool, "E:\\")
        runs = [probe(desktop, "time-run", "answers") for _ in range(SLOW_RUNS)]
        for run in runs:
            if run["boxes"] != "Процесс завершен|Предупреждение":
                print(f"  a slow run did not succeed: {run['boxes']}", flush=True)
        stop_tool(desktop)
    finally:
        unmount()
    return runs


def silence_beside_a_slow_root(desktop, tool):
    """The window from start beside a card whose root takes seconds each look, in D: ahead of the
    stick: the longest it goes without answering a message over the time watched."""
    _, _, unmount = desktop.mount_drive_stand_in(SLOW_DRIVE, at=desktop.card_slot, root_delay_ms=SLOW_ROOT_MS)
    try:
        probe(desktop, "time-start", tool, "E:\\")
        answers = probe(desktop, "watch-answers", str(SILENCE_WATCHED_MS), "120000")
        stop_tool(desktop)
    finally:
        unmount()
    return float(answers["longest_unanswered_ms"])


def gdi_count(figures):
    return int(figures["gdi.guiresources"]) or int(figures["gdi.table"])


def line(label, value, unit="ms", note=""):
    print(f"  {label:<46} {value:>9.1f} {unit:<3} {note}".rstrip(), flush=True)


def main():
    desktop = Desktop(PROBE)
    try:
        measure(desktop)
    finally:
        desktop.close()


def measure(desktop):
    app = desktop.root / "app"
    app.mkdir()
    # The floor program stages its files next to itself, as the tool does.
    for program in (EXE, FLOOR):
        shutil.copy(program, app)
    floor_program = app / FLOOR.name
    payloads = desktop.root / "payloads"
    gather_payloads(payloads)
    tool = desktop.windows_path(app / EXE.name)
    print(f"Benchmark under Wine: {RUNS} write runs, {STARTS} starts, {len(ARRIVALS)} drive arrivals; "
          "medians, times in ms", flush=True)
    print(f"{EXE.name}: {machine_of(EXE)}, {EXE.stat().st_size:,} bytes; floor program {machine_of(FLOOR)}", flush=True)

    # A card reader's empty slot: a removable letter whose root cannot be read, beside the stick.
    desktop.plug("S", desktop.root / "empty-slot")
    poll = wine_figures(desktop, FLOOR.name, "-", "-", "poll", cwd=FLOOR.parent)
    desktop.unplug("S")
    checks = [integrity_check(desktop) for _ in range(STARTS)]
    starts = []
    for _ in range(STARTS):
        starts.append(probe(desktop, "time-start", tool, "E:\\"))
        stop_tool(desktop)
    probe(desktop, "time-start", tool, "E:\\")
    process = WineProcess(tool, desktop.prefix)
    time.sleep(2)
    idle = process.status()
    gdi_idle = probe(desktop, "gdi")

    arrivals = []
    for letter in ARRIVALS:
        arrivals.append(float(probe(desktop, "time-arrival", letter, str(desktop.second_drive),
                                    f"{letter}:\\")["listed_ms"]))

    runs, phases, floors, floor_phases, copies, reads, gdi_early = [], [], [], [], [], [], []
    for number in range(RUNS):
        events = FileEvents(app, desktop.drive)
        run = probe(desktop, "time-run")
        phases.append(split(run, events.stop(), set(EXPECTED)))
        if run["boxes"] != "Процесс завершен|Предупреждение":
            print(f"  run {number + 1} did not succeed: {run['boxes']}", flush=True)
        runs.append(float(run["box_ms"]))
        if number < 2:
            gdi_early.append(probe(desktop, "gdi"))
        events = FileEvents(app, desktop.drive)
        floors.append(floor(desktop, floor_program, payloads, "run"))
        floor_phases.append(floor_split(floors[-1], events.stop(), set(EXPECTED)))
        copies.append(floor(desktop, floor_program, payloads, "copy")["copy_ms"])
        reads.append(floor(desktop, floor_program, payloads, "read")["read_ms"])
    gdi_last = probe(desktop, "gdi")
    room = floor(desktop, floor_program, payloads, "room")
    checks_run, check_floors = [], []
    for _ in range(CHECKS):
        check_run = probe(desktop, "time-check")
        if not check_run["box"] == "Проверка USB-Flash":
            print(f"  a check ended in another box: {check_run['box']}", flush=True)
        checks_run.append(float(check_run["box_ms"]))
        check_floors.append(floor(desktop, floor_program, payloads, "readbox")["boxed_ms"])
    # Watched apart: the sampler takes a core of its own, which the timed runs must not lose to it.
    peaks = []
    for _ in range(PEAK_RUNS):
        process.reset_peak()
        with PeakSampler(process) as sampler:
            probe(desktop, "time-run")
        peaks.append((process.status()["VmHWM"], sampler.peak))
    stop_tool(desktop)
    slow = slow_runs(desktop, tool)
    silence = silence_beside_a_slow_root(desktop, tool)

    run_ms = median(runs)
    floor_ms = median(f["total_ms"] for f in floors)
    readback_ms = median(f["readback_ms"] for f in floors)
    read_ms = median(reads)
    copy_ms = median(copies)
    print(f"\nWrite run under Wine, {SET_BYTES:,} bytes (every floor run read back at least "
          f"{min(f['intact'] for f in floors):.0f} of the 30 files intact)")
    boxed_ms = median(f["boxed_ms"] for f in floors)
    line("the tool, click to first box", run_ms,
         note=f"tool / (floor + box) = {run_ms / boxed_ms:.2f} (target <= 1.10); round by round "
              f"{median(r / f['boxed_ms'] for r, f in zip(runs, floors)):.2f}")
    for phase in PHASES:
        beside = f"the floor's {median(f[phase] for f in floor_phases):.1f}" if phase in floor_phases[0] else ""
        line(f"  {phase}", median(p[phase] for p in phases if p), note=beside)
    line("  the room check alone, the tool's code", room["room_ms"],
         note=f"{room['room_ms'] / run_ms:.1%} of a run; timed apart, the first of 20 {room['room_first_ms']:.1f} ms")
    line("floor + box: its I/O pattern, then the box", boxed_ms)
    line("floor: its I/O pattern by a minimal program", floor_ms, note=f"tool / floor = {run_ms / floor_ms:.2f}")
    line("  of which the read-back", readback_ms,
         note=f"read-back / sequential read = {readback_ms / read_ms:.2f} (target <= 1.00)")
    line("one sequential read of the set's bytes", read_ms)
    line("plain copy of the 30 files", copy_ms, note=f"tool / copy = {run_ms / copy_ms:.2f}")
    check_ms, check_floor_ms = median(checks_run), median(check_floors)
    print(f"\nCheck of the stick a run left, under Wine, {CHECKS} checks")
    line("the tool, command to box", check_ms,
         note=f"check / (read + box) = {check_ms / check_floor_ms:.2f} (target <= 1.2)")
    line("floor: one uncached sequential read of the set, then a box", check_floor_ms)
    print(f"\nWrite run on a slow drive under Wine (each write waits {SLOW_WRITE_MS} ms), {SLOW_RUNS} runs")
    line("the tool, click to first box", median(float(r["box_ms"]) for r in slow))
    line("longest the window went without answering", max(float(r["longest_unanswered_ms"]) for r in slow),
         note="the longest of the runs (target < 100 ms)")

    native = native_figures()
    whole, native_floor = native["SetRun/WholeRunWithReadBack"], native["SetRun/FloorOfTheWholeRun"]
    print("\nNative, Google Benchmark (median of 5 repetitions)")
    line("the transfer, a whole run (the tool's logic)", whole,
         note=f"transfer / floor = {whole / native_floor:.2f}")
    line("floor: the same I/O pattern on system calls", native_floor)
    line("  the transfer without the read-back", native["SetRun/CopyAndFlushWithoutReadBack"])
    line("  the read-back alone", native["SetRun/ReadBackAlone"],
         note=f"read-back / sequential read = "
              f"{native['SetRun/ReadBackAlone'] / native['SetRun/OneUncachedSequentialRead']:.2f}")
    line("  one uncached sequential read of the set", native["SetRun/OneUncachedSequentialRead"])

    journal = native_figures(JOURNAL_BENCHMARK)
    print("\nThe journal, native, Google Benchmark (median of 5 repetitions)")
    line("append a run's block to a full journal", journal["AppendToAFullJournal"] * 1000, "ns",
         note="(target well under 1 ms)")
    line("make a run's block", journal["MakeARunsBlock"], "us")

    print("\nDrive watch")
    line("drive arrival to its entry in the list", median(arrivals), note="(target < 100 ms)")
    line("a look, one empty slot and one stick", poll["poll_us"], "us",
         note=f"start to findings, off the window's thread; median of 200, the longest "
              f"{poll['poll_max_us']:.0f} us; {poll['poll_listed']:.0f} found")
    line(f"longest silence beside a {SLOW_ROOT_MS / 1000:.0f} s root", silence,
         note=f"over {SILENCE_WATCHED_MS / 1000:.0f} s from start, the stick listed (target <= 50 ms)")
    line("start to the window shown", median(float(s["shown_ms"]) for s in starts))
    line("start to the window shown with E:\\ listed", median(float(s["listed_ms"]) for s in starts))

    first_check = median(c["first_ms"] for c in checks)
    print(f"\nThe check of the embedded payloads at start: {checks[0]['bytes']:,.0f} bytes hashed with CNG by the tool's\n"
          f"own check code over the same payloads, in a program of its own ({STARTS} fresh processes; "
          f"{'every' if all(c['intact'] for c in checks) else 'NOT every'} check\nfound them intact)")
    line("first check of a fresh process", first_check,
         note=f"loading bcrypt.dll included; {checks[0]['bytes'] / MB / (first_check / 1000):.0f} MB/s")
    line("the same check again", median(c["again_ms"] for c in checks))

    peak_resident = median(p[0] for p in peaks)
    peak_private = median(p[1] for p in peaks)
    print("\nMemory of the tool's process (Linux /proc/PID/status of the Wine process)")
    line("resident (VmRSS) at idle", idle["VmRSS"] / MB, "MB")
    line("private (RssAnon) at idle", idle["RssAnon"] / MB, "MB")
    line("peak resident during a run (VmHWM)", peak_resident / MB, "MB",
         f"idle + {(peak_resident - idle['VmRSS']) / MB:.1f} MB (target <= idle + 4 MB)")
    line("peak private during a run (RssAnon, every 5 ms)", peak_private / MB, "MB",
         f"idle + {(peak_private - idle['RssAnon']) / MB:.1f} MB (target <= idle + 4 MB)")
    print("\nGDI objects of the tool (GetGuiResources; under Wine, where it says 0, the entries in use\n"
          "in the process's own GDI handle table, read by the probe)")
    counted = (("at idle", gdi_idle), ("after 1 run", gdi_early[0]), ("after 2 runs", gdi_early[1]),
               (f"after {RUNS} runs", gdi_last))
    for label, figures in counted:
        print(f"  {label:<46} {gdi_count(figures):>9}", flush=True)
    growth = gdi_count(gdi_last) - gdi_count(gdi_early[1])
    print(f"  {'growth over the last ' + str(RUNS - 2) + ' runs':<46} {growth:>9} (target 0)", flush=True)


if __name__ == "__main__":
    main()
