"""Splits a write run under Wine into its phases without asking anything of the tool: Linux sees
the files the run creates, deletes, opens and closes in the staging folder and on the drive
(inotify), and the probe times the click, the button's disabling and the first box on the
performance counter, which Wine takes from CLOCK_MONOTONIC_RAW, the clock the events are
stamped with here.

Phases: the click to the run's handler (the button disabled); the handler to the first staging
file (the worker's start, the wait for the check of the embedded payloads and the room check);
the copy phase, to the last staging file deleted; the read-back, to the last file read back
closed; and the result posted to the box shown.
"""
import ctypes
import ctypes.util
import os
import re
import select
import struct
import threading
import time

IN_OPEN, IN_CLOSE_NOWRITE, IN_CREATE, IN_DELETE = 0x20, 0x10, 0x100, 0x200
PHASES = ("click to handler", "handler to first staging file", "copy phase", "read-back",
          "result to box shown")

# The tool stages each file under a name of its own; the floor program under the set's names.
_TOOLS_STAGING = re.compile(r"~KQ\d+-\d+\.tmp$")
_libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
_EVENT = struct.Struct("iIII")


def _now():
    return time.clock_gettime(time.CLOCK_MONOTONIC_RAW)


class FileEvents:
    """Notes (time, folder, event, name) for the files of two folders until stopped."""

    def __init__(self, staging, drive):
        self._fd = _libc.inotify_init1(os.O_NONBLOCK | os.O_CLOEXEC)
        mask = IN_OPEN | IN_CLOSE_NOWRITE | IN_CREATE | IN_DELETE
        self._folders = {_libc.inotify_add_watch(self._fd, str(folder).encode(), mask): role
                         for role, folder in (("staging", staging), ("drive", drive))}
        self.events, self._stop = [], threading.Event()
        self._thread = threading.Thread(target=self._read, daemon=True)
        self._thread.start()

    def _read(self):
        while not self._stop.is_set():
            if not select.select([self._fd], [], [], 0.05)[0]:
                continue
            stamp, data = _now(), os.read(self._fd, 65536)
            at = 0
            while at < len(data):
                watch, mask, _, length = _EVENT.unpack_from(data, at)
                name = data[at + _EVENT.size:at + _EVENT.size + length].rstrip(b"\0").decode()
                self.events.append((stamp, self._folders[watch], mask, name))
                at += _EVENT.size + length

    def stop(self):
        self._stop.set()
        self._thread.join()
        os.close(self._fd)
        return self.events


def file_marks(events, names):
    """When the first staging file was created, the last one deleted (the copy phase's end) and
    the last file of the set's names read back closed; None when the run wrote no file."""
    def times(folder, mask):
        return [t for t, where, kind, name in events if where == folder and kind & mask
                and (name in names or folder == "staging" and _TOOLS_STAGING.match(name))]
    staged, unstaged, read = times("staging", IN_CREATE), times("staging", IN_DELETE), times("drive", IN_CLOSE_NOWRITE)
    return (min(staged), max(unstaged), max(read)) if staged and unstaged and read else None


def split(run, events, names):
    """The phases of one run of the tool in ms, from the probe's answers and the file events;
    None when the run did not go through them all."""
    marks = file_marks(events, names)
    if not marks:
        return None
    clicked = float(run["clicked_s"])
    points = (clicked, clicked + float(run["disabled_ms"]) / 1000, *marks, clicked + float(run["box_ms"]) / 1000)
    return {phase: 1000 * (end - start) for phase, start, end in zip(PHASES, points, points[1:])}


def floor_split(figures, events, names):
    """The floor program's copy phase and read-back, seen as the tool's are, and its box from the
    end of its I/O to the box seen, in ms."""
    staged, unstaged, read = file_marks(events, names)
    return {"copy phase": 1000 * (unstaged - staged), "read-back": 1000 * (read - unstaged),
            "result to box shown": figures["boxed_ms"] - figures["total_ms"]}
