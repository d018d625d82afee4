"""End-to-end tests of what makes a success box trustworthy and a stick safe to hand on: the tool
run from the flash drive itself and letting go of it, a drive that silently corrupts what is
written to it, a stick without room for the set, a real NTFS stick filled to the cluster, a stick
that fills up on the way, a file another program holds for a moment, and a slow drive whose run
the operator can neither cut short nor confuse. Sticks that fail have a module of their own."""
import itertools
import os
import subprocess
import time

from tool_case import (EXE, EXPECTED, MB, SUCCESS, WARNING, ToolCase, close_desktop, files_open_under, open_desktop,
                       room_lacking_box, write_error_box)

CLUSTER = 4096
# Each write to the slow drive waits this long: a run then lasts several seconds.
SLOW_WRITE_MS = 40


def clusters(size):
    return -(-size // CLUSTER)


def fill_to(path, free_clusters):
    """Writes the operator's file at path, grown or cut until the file system it is on has exactly
    free_clusters left; a file system spends clusters of its own on a file beside its data. Gives
    the file's bytes."""
    size = 0
    for _ in range(20):
        content = os.urandom(size)
        path.write_bytes(content)
        status = os.statvfs(path.parent)
        free = status.f_bavail * status.f_frsize // CLUSTER
        if free == free_clusters:
            return content
        size = max(0, size + (free - free_clusters) * CLUSTER)
    raise AssertionError(f"could not leave {free_clusters} clusters free; {free} are")


def setUpModule():
    open_desktop()


def tearDownModule():
    close_desktop()


class WriteCheckTest(ToolCase):
    def staged_in_temp(self):
        return [p.name for p in self.desktop.prefix.glob("drive_c/users/*/Temp/*") if p.name in EXPECTED]

    def test_run_from_the_drive_root_replaces_the_set_and_then_holds_nothing_of_the_stick(self):
        desktop = self.desktop
        for name in EXPECTED:
            (desktop.drive / name).write_bytes(b"old firmware " * 1000)
        self.start(desktop.drive)
        self.wait_for_drives("E:\\")
        self.write_set()
        self.close_success_boxes()
        self.assertEqual(sorted(p.name for p in desktop.drive.iterdir()), sorted([*EXPECTED, EXE.name]))
        for name, content in EXPECTED.items():
            self.assertEqual((desktop.drive / name).read_bytes(), content, name)
        self.assertEqual(self.staged_in_temp(), [])
        # Windows may remove the stick safely: of it the tool holds at most its own image.
        self.assertLessEqual(files_open_under(desktop.drive), {str(desktop.drive / EXE.name)})

    def test_drive_that_alters_one_file_gets_the_error_box_not_the_success_box(self):
        desktop = self.desktop
        backing, log = self.mount_drive(victim="KQ_geo.gel", flush_delay_ms=100)
        self.start()
        form = self.wait_for_drives("E:\\")
        left, top, right, bottom = (int(v) for v in form["savebutton.rect"].split(","))
        desktop.point_at((left + right) // 2, (top + bottom) // 2)
        time.sleep(0.3)
        idle_pointer = desktop.pointer_shape()

        clicked = time.monotonic()
        self.write_set()
        running_pointers = []
        nudges = itertools.cycle((3, -3))
        while not desktop.boxes():
            running_pointers.append(desktop.pointer_shape())
            # Each move over the window asks it for the pointer's shape anew.
            desktop.point_at((left + right) // 2 + next(nudges), (top + bottom) // 2)
            time.sleep(0.1)
        print(f"\n  write run on a slow corrupting drive, click to first box: {time.monotonic() - clicked:.2f} s",
              flush=True)
        # The arrow points with its tip; the wait cursor, shown from the click on, at its centre.
        # By the first box the arrow is back.
        width, height, x_hot, y_hot = idle_pointer
        self.assertLess(max(x_hot, y_hot), min(width, height) // 3, idle_pointer)
        # The first sample may precede the click, the last ones follow the run.
        while running_pointers and running_pointers[-1] == idle_pointer:
            running_pointers.pop()
        self.assertGreaterEqual(len(running_pointers), 4, running_pointers)
        for width, height, x_hot, y_hot in running_pointers[1:]:
            self.assertLessEqual(abs(x_hot - width // 2), 2, running_pointers)
            self.assertLessEqual(abs(y_hot - height // 2), 2, running_pointers)
        self.assertEqual(desktop.pointer_shape(), idle_pointer)
        self.close_box(*write_error_box("different", changed=True), "error")

        # Every other file is on the drive as it should be; the altered one is gone, so that no
        # terminal takes it for firmware.
        self.assertEqual(sorted(p.name for p in backing.iterdir()), sorted(set(EXPECTED) - {"KQ_geo.gel"}))
        for name in EXPECTED.keys() - {"KQ_geo.gel"}:
            self.assertEqual((backing / name).read_bytes(), EXPECTED[name], name)
        self.assert_nothing_staged()

        # Each file was flushed after it was written, and read back only once the whole set was.
        steps = [line.split(" ", 1) for line in log.read_text().splitlines()]
        last_write = max(i for i, (step, _) in enumerate(steps) if step == "write")
        for name in EXPECTED:
            writes = [i for i, (step, file) in enumerate(steps) if file == name and step == "write"]
            flushes = [i for i, (step, file) in enumerate(steps) if file == name and step == "fsync"]
            reads = [i for i, (step, file) in enumerate(steps) if file == name and step == "read"]
            self.assertTrue(writes and flushes and reads, name)
            self.assertGreater(max(flushes), max(writes), name)
            self.assertGreater(min(reads), last_write, name)

    def test_stick_without_room_keeps_its_older_set_and_says_what_it_lacks(self):
        desktop = self.desktop
        # A 12 MB stick. Each older file is smaller than its replacement, so the run would only lose
        # room on its way: it lacks at the end what the new set and the operator's file need beyond it.
        capacity = 12 * MB
        on_stick = {name: b"older " * (60 if name.endswith(".lng") else 30_000) for name in EXPECTED}
        on_stick["Акт сверки.pdf"] = os.urandom(4 * MB)  # the operator's own
        backing, _ = self.mount_drive(free=capacity - CLUSTER * sum(clusters(len(c)) for c in on_stick.values()))
        for name, content in on_stick.items():
            (backing / name).write_bytes(content)
        lacking = sum(map(clusters, map(len, EXPECTED.values()))) + clusters(4 * MB) - capacity // CLUSTER
        self.start()
        self.wait_for_drives("E:\\")
        self.write_set()
        self.close_box(*room_lacking_box(lacking * CLUSTER), "error")
        self.assertEqual(desktop.boxes(), [])
        self.assertEqual(desktop.form()["savebutton.enabled"], "1")
        self.assertEqual(sorted(p.name for p in backing.iterdir()), sorted(on_stick))
        for name, content in on_stick.items():
            self.assertEqual((backing / name).read_bytes(), content, name)
        self.assert_nothing_staged()

    def test_real_ntfs_stick_takes_the_set_in_the_room_the_check_asks_for_and_not_a_cluster_less(self):
        desktop = self.desktop
        operator = "Акт сверки.pdf"
        # The set's clusters, and a file record of 1 KiB for each of its 30 new names with 4 KiB for
        # the root's index: Wine cannot tell the record's size.
        needed = sum(map(clusters, map(len, EXPECTED.values()))) + clusters(30 * 1024 + 4096)
        for lacking in (0, 1):
            mount, unmount = desktop.mount_ntfs()
            self.addCleanup(unmount)
            kept = fill_to(desktop.drive / operator, needed - lacking)
            self.start()
            self.wait_for_drives("E:\\")
            self.write_set()
            if lacking:
                self.close_box(*room_lacking_box(CLUSTER), "error")
            else:
                self.close_success_boxes()
            desktop.stop_tool()
            # What NTFS itself keeps after the tool let go: every file byte for byte.
            unmount()
            mount()
            on_stick = {p.name: p.read_bytes() for p in desktop.drive.iterdir()}
            self.assertEqual(on_stick, {operator: kept} | ({} if lacking else EXPECTED), f"lacking {lacking}")
            self.doCleanups()

    def test_stick_that_fills_up_on_the_way_says_so_and_keeps_only_exact_files(self):
        desktop = self.desktop
        # Another program takes the room while the set is written: the fortieth write finds none.
        backing, _ = self.mount_drive(full_from_write=40)
        self.start()
        self.wait_for_drives("E:\\")
        self.write_set()
        self.close_box("Ошибка записи", 'Недостаточно места на "E:\\": прошивка записана не полностью. '
                                        "Освободите место на USB-Flash и запишите прошивку заново.", "error")
        self.assertEqual(desktop.boxes(), [])
        self.assertEqual(desktop.form()["savebutton.enabled"], "1")
        left = sorted(p.name for p in backing.iterdir())
        self.assertTrue(0 < len(left) < len(EXPECTED), left)
        for name in left:
            self.assertEqual((backing / name).read_bytes(), EXPECTED[name], name)
        self.assert_nothing_staged()

    def test_file_another_program_holds_for_half_a_second_is_waited_for(self):
        desktop = self.desktop
        for name in EXPECTED:
            (desktop.drive / name).write_bytes(b"old firmware " * 1000)
        self.start()
        self.wait_for_drives("E:\\")
        # A scanner sharing everything: the run's delete of the old file stays pending until it
        # lets go, and only then may the new file take the name.
        held = desktop.probe("hold-during-run", desktop.windows_path(desktop.drive / "KQ1769_m.dat"), "500")
        self.assertEqual(held, {"holding": "1", "box_while_held": "0"})
        self.close_success_boxes()
        self.assert_drive_holds_the_set()

    def test_slow_drive_run_keeps_the_window_answering_and_lets_nothing_cut_it_short(self):
        desktop = self.desktop
        backing, log = self.mount_drive(write_delay_ms=SLOW_WRITE_MS)
        self.start()
        self.wait_for_drives("E:\\")
        clicked = time.monotonic()
        self.write_set()

        # The window answers while the files are written, and asks the system to wait with
        # ending the session.
        self.assertEqual(desktop.probe("ping").get("answered"), "1")
        self.assertEqual(desktop.probe("end-session"), {"answered": "1", "allowed": "0"})
        # Neither a click on the write button nor Enter starts a second run or reaches a box.
        self.write_set()
        desktop.key("Return")
        # A close request, as at log-off, is held.
        desktop.ask_tool_to_close()
        self.assertEqual(desktop.boxes(), [], "the run ended before everything was tried: make the drive slower")
        self.assertIsNone(desktop.tool.poll())

        desktop.wait_for_box()
        print(f"\n  write run on a slow drive, click to first box: {time.monotonic() - clicked:.2f} s", flush=True)
        self.close_box(*SUCCESS, "none")
        self.assertIsNone(desktop.tool.poll(), "the program ended before the warning")
        self.close_box(*WARNING, "warning")
        try:
            exit_code = desktop.tool.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.fail(f"the held close was not carried out; boxes: {desktop.boxes()}")
        self.assertEqual(exit_code, 0)
        self.assert_drive_holds_the_set(backing)
        # One run only: a second one would have written again after the first read the set back.
        steps = [line.split(" ", 1)[0] for line in log.read_text().splitlines()]
        self.assertLess(max(i for i, step in enumerate(steps) if step == "write"), steps.index("read"))
