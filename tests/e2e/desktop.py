"""A Wine prefix on its own X display, for driving the real tool as an operator would.

The prefix has the classic colour scheme, Wine's own fonts, and these removable drives: A:, D:, a
card reader's slot that stays empty unless a test puts a stick in it, and E:, the operator's flash
drive, a folder of the test.
"""
import ctypes
import os
import re
import select
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

from wine_prefix import make_prefix, wine_environment, wine_loader

SCREEN = (1024, 768)
# The probe's quick questions, asked of one probe kept running (its command "serve"): each new Wine
# process would cost a tenth of a second.
SERVED = {"form", "boxes", "hint", "scheme", "acp", "attributes", "command", "close", "press", "plug", "unplug",
          "ping", "watch-answers", "end-session", "gdi"}


class _CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


class TimedOut(AssertionError):
    pass


def wait_for(what, probe, timeout=10.0, interval=0.05):
    """Polls probe() until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TimedOut(f"timed out waiting for {what}")
        time.sleep(interval)


class Screenshot:
    def __init__(self, rgb, width):
        self.rgb, self.width = rgb, width

    def pixel(self, x, y):
        at = (y * self.width + x) * 3
        return tuple(self.rgb[at:at + 3])

    def pixels(self, left, top, right, bottom):
        return [self.pixel(x, y) for y in range(top, bottom) for x in range(left, right)]


class Desktop:
    def __init__(self, probe_exe, keep=False, dpi=96, colours=None):
        self.root = Path(tempfile.mkdtemp(prefix="kq-e2e-"))
        self.keep = keep
        self.prefix = self.root / "prefix"
        self.drive = self.root / "usb-e"           # the flash drive, E:
        self.second_drive = self.root / "usb-f"    # plugged in while the tool runs, F:
        self.card_slot = self.root / "slot-d"      # D:, no folder while no card is in
        for folder in (self.drive, self.second_drive, self.root / "floppy-a", self.root / "home"):
            folder.mkdir()
        self.probe_exe = probe_exe
        self.opened_log = self.root / "opened.txt"
        self.xvfb, self.display = self._start_display()
        # A UTF-8 locale that is no Russian one: the system's code page is then a Western one.
        self.env = wine_environment(self.prefix, dict(os.environ, HOME=str(self.root / "home"),
                                                      DISPLAY=f":{self.display}", LANG="C.UTF-8", LC_ALL="C.UTF-8"))
        self.tool = None
        self._served_probe = None
        self.tool_loader = "wine"
        self.dpi = dpi
        self.colours = colours
        self._make_prefix()

    @staticmethod
    def _start_display():
        """Starts Xvfb on a display number it picks itself: it takes the number's lock file or
        tries the next, so suites run side by side never share a display."""
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24",
                                 "-nolisten", "tcp"], pass_fds=(write_end,),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as answer:
            # Written once the display accepts connections; nothing if Xvfb ends first.
            if not select.select([answer], [], [], 30)[0] or not (number := answer.readline().strip()):
                xvfb.kill()
                raise RuntimeError("Xvfb did not start")
        return xvfb, int(number)

    def _run(self, *command, timeout=120, check=True, env=None):
        return subprocess.run(command, env=env or self.env, timeout=timeout, check=check,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

    def _make_prefix(self):
        make_prefix(self.prefix, {"a": ("removable", self.root / "floppy-a"), "d": ("removable", self.card_slot),
                                  "e": ("removable", self.drive)}, self.env, self.dpi, self.colours,
                    template=os.environ.get("KQ_E2E_PREFIX_TEMPLATE"))
        for extension in (".pdf", ".txt"):
            self.register_viewer(extension)
        # A server kept alive between programs makes each start take a fraction of a second.
        self.server = subprocess.Popen(["wineserver", "-p", "-f"], env=self.env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._run("wine", "cmd", "/c", "exit")

    def register_viewer(self, extension=".pdf"):
        """The probe stands in for the program that opens such files (Wine has none for text files):
        it notes down each document it is given."""
        def reg_string(text):
            return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'
        command = f'"{self.windows_path(self.probe_exe)}" record "{self.windows_path(self.opened_log)}" "%1"'
        lines = ["REGEDIT4", "", f"[HKEY_CLASSES_ROOT\\{extension}]", "@=" + reg_string("KQTest.Document"), "",
                 r"[HKEY_CLASSES_ROOT\KQTest.Document\shell\open\command]", "@=" + reg_string(command), ""]
        registry = self.root / "viewer.reg"
        registry.write_text("\r\n".join(lines), encoding="utf-8")
        self._run("wine", "regedit", "/S", str(registry))

    def forget_viewer(self, extension=".pdf"):
        """Leaves such files to no program at all, as on a PC without a PDF reader."""
        self._run("wine", "reg", "delete", f"HKCR\\{extension}", "/f")

    def open_system_menu(self):
        """Alt+Space, as the operator opens the window's system menu; waits until it shows."""
        self.key("alt+space")
        wait_for("the system menu", lambda: self.form().get("menu.visible") == "1")

    def system_command(self, command):
        """Picks an item of the tool's system menu as another program could: WM_SYSCOMMAND, posted."""
        assert self.probe("command", str(command)).get("posted") == "1"

    @staticmethod
    def windows_path(path):
        return "Z:" + str(path).replace("/", "\\")

    def opened_documents(self):
        return self.opened_log.read_text(encoding="utf-8").splitlines() if self.opened_log.exists() else []

    def close(self):
        self.stop_tool()
        if self._served_probe:
            self._served_probe.stdin.close()
            self._served_probe.kill()
            self._served_probe.wait(timeout=10)
        subprocess.run(["wineserver", "-k"], env=self.env, check=False)
        try:
            self.server.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.server.kill()
        self.xvfb.terminate()
        self.xvfb.wait(timeout=10)
        if not self.keep:
            # Folders a test made read-only are opened up; files need no mode to be removed, and
            # the prefix's files are shared with the other prefixes made from its template.
            for path in self.root.rglob("*"):
                if path.is_dir() and not path.is_symlink():
                    path.chmod(0o700)
            shutil.rmtree(self.root, ignore_errors=True)

    # --- the tool -------------------------------------------------------------------------------

    def env_with(self, dll_overrides):
        """The environment, with Wine told how to load more libraries ("comctl32,uxtheme=n,b")."""
        if not dll_overrides:
            return self.env
        return dict(self.env, WINEDLLOVERRIDES=self.env["WINEDLLOVERRIDES"] + ";" + dll_overrides)

    def russian_environment(self, env):
        """env with a Russian locale, as on a technician's PC: Wine shows its own texts, the system
        menu's among them, in Russian. The locale is compiled here, for this desktop only."""
        locales = self.root / "locales"
        if not locales.exists():
            locales.mkdir()
            self._run("localedef", "-i", "ru_RU", "-f", "UTF-8", str(locales / "ru_RU.UTF-8"))
        return dict(env, LOCPATH=str(locales), LANG="ru_RU.UTF-8", LC_ALL="ru_RU.UTF-8")

    def start_tool(self, exe, wait_until_shown=True, dll_overrides=None, russian=False):
        # Started in its own folder, as Explorer starts a program.
        self.tool_loader = wine_loader(exe)
        env = self.env_with(dll_overrides)
        self.tool = subprocess.Popen([self.tool_loader, str(exe)], env=self.russian_environment(env) if russian else env,
                                     cwd=exe.parent, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not wait_until_shown:
            return None
        return wait_for("the main window", lambda: (lambda f: f if f.get("visible") == "1" else None)(self.form()),
                        timeout=20)

    def ask_tool_to_close(self):
        """A plain taskkill: a close request to every window of the tool, as at log-off."""
        self._run(self.tool_loader, "taskkill", "/im", "RU_ZadorazUdizav.exe", check=False, timeout=60)

    def stop_tool(self):
        if self.tool and self.tool.poll() is None:
            self._run(self.tool_loader, "taskkill", "/f", "/im", "RU_ZadorazUdizav.exe", check=False)
            try:
                self.tool.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.tool.kill()
        self.tool = None

    # --- reading windows ------------------------------------------------------------------------

    def probe(self, *arguments, exe=None, dll_overrides=None):
        """Runs the probe (or a copy of it at exe) and gives its answers."""
        if exe or dll_overrides or arguments[0] not in SERVED:
            output = self._run("wine", str(exe or self.probe_exe), *arguments, check=False, timeout=30,
                               env=self.env_with(dll_overrides)).stdout
        else:
            output = self._ask_served_probe(arguments)
        values = {}
        for line in output.decode("utf-8").splitlines():
            key, _, value = line.partition("=")
            values[key] = value
        return values

    def _ask_served_probe(self, arguments, timeout=30):
        """The answer of the probe kept running, started at the first question and again once it has
        ended; one that does not answer in time is ended."""
        if not self._served_probe or self._served_probe.poll() is not None:
            self._served_probe = subprocess.Popen(["wine", str(self.probe_exe), "serve"], env=self.env, cwd=self.root,
                                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                                  stderr=subprocess.DEVNULL)
        served = self._served_probe
        served.stdin.write(("\t".join(arguments) + "\n").encode("utf-8"))
        served.stdin.flush()
        answer, deadline = b"", time.monotonic() + timeout
        while answer != b".\n" and not answer.endswith(b"\n.\n"):
            if not select.select([served.stdout], [], [], max(0, deadline - time.monotonic()))[0]:
                served.kill()
                raise subprocess.TimeoutExpired(["probe", *arguments], timeout)
            chunk = os.read(served.stdout.fileno(), 65536)
            if not chunk:
                raise RuntimeError(f"the probe ended while answering {arguments}")
            answer += chunk
        return answer[:-2]

    def form(self):
        return self.probe("form")

    def boxes(self):
        found = self.probe("boxes")
        boxes = [{key.split(".", 1)[1]: value for key, value in found.items() if key.startswith(f"box{i}.")}
                 for i in range(int(found.get("boxes", "0")))]
        for box in boxes:  # the probe writes a text of several lines on one line
            box["text"] = re.sub(r"\\(.)", lambda m: {"r": "\r", "n": "\n"}.get(m[1], m[1]), box["text"])
        return boxes

    def wait_for_box(self, timeout=30):
        return wait_for("a message box", lambda: (self.boxes() or [None])[0], timeout=timeout)

    def attributes(self, path, set_to=None):
        """A file's attributes as the system tells them (FILE_ATTRIBUTE_* flags), set first when told."""
        answer = self.probe("attributes", self.windows_path(path), *([f"{set_to:x}"] if set_to is not None else []))
        return int(answer["attributes"], 16)

    def system_colors(self):
        """The running scheme: colour name ("btnface", "highlight" ...) -> (red, green, blue)."""
        return {key: tuple(int(v) for v in value.split(","))
                for key, value in self.probe("scheme").items() if "," in value}

    def plug(self, letter, folder):
        """Plugs a drive in and announces it; gives what the tool lists once it has heard."""
        answer = self.probe("plug", letter, str(folder))
        assert answer.get("defined") == "1"
        return answer

    def unplug(self, letter, must_be_there=True):
        defined = self.probe("unplug", letter).get("defined") == "1"
        assert defined or not must_be_there, f"{letter}: was not plugged in"

    def mount_drive_stand_in(self, program, at=None, **faults):
        """Mounts over the folder Wine maps as E: (or the folder at) the FUSE drive of
        tests/e2e/corrupting_drive.cpp, given its faults by name: victim="KQ_geo.gel",
        flush_delay_ms=100, write_delay_ms, free (bytes), full_from_write, dies_after_files,
        dies_in="KQ_arm.amd@65536", root_delay_ms, read_only=1. Gives the folder that backs it, its
        log of steps and a function that unmounts it and clears both away."""
        mount_point = at or self.drive
        made = not mount_point.exists()
        mount_point.mkdir(exist_ok=True)
        backing = self.root / f"{mount_point.name}-backing"
        backing.mkdir()
        log = self.root / f"{mount_point.name}-log.txt"
        options = [f"{name.replace('_', '-')}={value}" for name, value in faults.items()]
        drive = subprocess.Popen([str(program), str(backing), str(mount_point), str(log), *options],
                                 stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)

        def unmount():
            # Lazily: a call still waiting on a slow drive would keep a plain unmount busy.
            subprocess.run(["fusermount3", "-u", "-z", str(mount_point)], check=False)
            try:
                _, errors = drive.communicate(timeout=30)
            except subprocess.TimeoutExpired:
                drive.kill()
                _, errors = drive.communicate()
            shutil.rmtree(backing)
            log.unlink(missing_ok=True)
            assert not os.path.ismount(mount_point), errors
            if made:  # an empty slot again
                mount_point.rmdir()
        wait_for("the drive to be mounted", lambda: os.path.ismount(mount_point) or drive.poll() is not None,
                 timeout=10)
        if drive.poll() is not None:
            raise AssertionError(f"the FUSE drive did not mount: {drive.stderr.read().decode(errors='replace')}")
        return backing, log, unmount

    def mount_ntfs(self, megabytes=64):
        """Makes a real NTFS file system of 4 KiB clusters in an image file and mounts it with
        ntfs-3g over the folder Wine maps as E:. Gives functions that unmount and mount it again."""
        image = self.root / "ntfs-stick.img"
        with open(image, "wb") as file:
            file.truncate(megabytes << 20)
        mkntfs = shutil.which("mkntfs", path=os.environ.get("PATH", "") + ":/usr/sbin:/sbin")
        subprocess.run([mkntfs, "-Q", "-F", "-c", "4096", str(image)], check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

        def mount():
            subprocess.run(["ntfs-3g", str(image), str(self.drive)], check=True)

        def unmount():
            subprocess.run(["fusermount3", "-u", str(self.drive)], check=True)
        mount()
        return mount, unmount

    # --- input and screen -----------------------------------------------------------------------

    def point_at(self, x, y):
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], env=self.env, check=True)

    def click(self, x, y):
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], env=self.env, check=True)

    def click_rect(self, rect):
        left, top, right, bottom = (int(v) for v in rect.split(","))
        self.click((left + right) // 2, (top + bottom) // 2)

    def type_text(self, text):
        subprocess.run(["xdotool", "type", "--delay", "50", text], env=self.env, check=True)

    def wheel(self, notches):
        """Turns the mouse wheel where the pointer is: positive notches down, negative up."""
        for _ in range(abs(notches)):
            subprocess.run(["xdotool", "click", "5" if notches > 0 else "4"], env=self.env, check=True)

    def double_click(self, x, y):
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "--repeat", "2", "--delay", "100", "1"],
                       env=self.env, check=True)

    def press(self, x, y):
        """Moves to (x, y) and holds the left button down there until release()."""
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "mousedown", "1"], env=self.env, check=True)

    def release(self):
        subprocess.run(["xdotool", "mouseup", "1"], env=self.env, check=True)

    def key(self, *keys, action="key"):
        """Types keys by their X names ("Tab", "shift+Tab", "space"); action "keydown" or "keyup" holds
        or lets go of them."""
        subprocess.run(["xdotool", action, *keys], env=self.env, check=True)

    def screenshot(self):
        raw = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], env=self.env,
                             check=True, stdout=subprocess.PIPE).stdout
        return Screenshot(raw, SCREEN[0])

    def save_screenshot(self, path):
        subprocess.run(["import", "-window", "root", str(path)], env=self.env, check=True)

    def pointer_shape(self):
        """The pointer as X shows it on screen: width, height and hot spot."""
        x11, xfixes = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXfixes.so.3")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        x11.XFree.argtypes = [ctypes.c_void_p]
        xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(_CursorImage)
        xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
        display = x11.XOpenDisplay(f":{self.display}".encode())
        try:
            found = xfixes.XFixesGetCursorImage(display)
            image = found.contents
            shape = (image.width, image.height, image.xhot, image.yhot)
            x11.XFree(found)
            return shape
        finally:
            x11.XCloseDisplay(display)
