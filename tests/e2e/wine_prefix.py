"""Makes a Wine prefix in which the tool looks and behaves as on a classic Windows desktop.

The classic colour scheme, standard scroll-bar metrics, Wine's own fonts (Debian's Wine does
not find them by itself) with the Cyrillic bitmap face as "MS Sans Serif", as on Windows, immediate window hiding without a window manager, and drive letters
mapped to folders with the types given. Also usable from the shell: wine_prefix.py PREFIX LETTER=TYPE:FOLDER ...
"""
import os
import shutil
import subprocess
import sys
from pathlib import Path

CLASSIC_COLOURS = {
    "ActiveBorder": "212 208 200", "ActiveTitle": "10 36 106", "AppWorkSpace": "128 128 128",
    "Background": "58 110 165", "ButtonAlternateFace": "181 181 181", "ButtonDkShadow": "64 64 64",
    "ButtonFace": "212 208 200", "ButtonHilight": "255 255 255", "ButtonLight": "212 208 200",
    "ButtonShadow": "128 128 128", "ButtonText": "0 0 0", "GradientActiveTitle": "166 202 240",
    "GradientInactiveTitle": "192 192 192", "GrayText": "128 128 128", "Hilight": "10 36 106",
    "HilightText": "255 255 255", "HotTrackingColor": "0 0 128", "InactiveBorder": "212 208 200",
    "InactiveTitle": "128 128 128", "InactiveTitleText": "212 208 200", "InfoText": "0 0 0",
    "InfoWindow": "255 255 225", "Menu": "212 208 200", "MenuBar": "212 208 200",
    "MenuHilight": "10 36 106", "MenuText": "0 0 0", "Scrollbar": "212 208 200",
    "TitleText": "255 255 255", "Window": "255 255 255", "WindowFrame": "0 0 0", "WindowText": "0 0 0",
}
# Wine's names for the drive types: "floppy" is what programs see as removable.
DRIVE_TYPES = {"removable": "floppy", "fixed": "hd"}
# Wine's mount manager, a 64-bit part of Wine, reads the drive types from the 64-bit view of the
# registry; where 32-bit Wine is installed, plain "wine" runs the 32-bit regedit, whose
# HKLM\Software lands in the 32-bit view.
WINE64_LOADER = "/usr/lib/wine/wine64"


def wine_loader(exe):
    """The loader that runs the program as Windows would: one of its own bitness. Where 32-bit Wine
    is installed, plain "wine" is the 32-bit loader, which runs a 64-bit program under a 32-bit
    start.exe that holds the starting folder open, and whose taskkill sees no 64-bit program."""
    head = Path(exe).read_bytes()[:4096]
    header = int.from_bytes(head[0x3C:0x40], "little")
    x64 = int.from_bytes(head[header + 4:header + 6], "little") == 0x8664
    return WINE64_LOADER if x64 and Path(WINE64_LOADER).exists() else "wine"


def wine_environment(prefix, base=None):
    return dict(base or os.environ, WINEPREFIX=str(prefix), WINEDEBUG="-all",
                WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")


def make_prefix(prefix, drives, env=None, dpi=96, colours=None, template=None):
    """drives: {letter: (type, folder)}, the type one of DRIVE_TYPES; dpi: the display's pixels per
    inch (96 is 100 %, 144 is 150 %); colours: scheme colours in place of the classic ones
    ({"ButtonFace": "0 0 0", ...}); template: a prefix made by this function before, copied rather
    than booted anew."""
    env = wine_environment(prefix, env)
    quiet = dict(env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=180)
    if template:
        copy_prefix(template, prefix, env["HOME"])
    else:
        subprocess.run(["wineboot", "-i"], **quiet)
        subprocess.run(["wineserver", "-w"], **quiet)
        fonts = Path(prefix) / "drive_c/windows/Fonts"
        for font in Path("/usr/share/wine/fonts").glob("*"):
            shutil.copy(font, fonts / font.name)
    lines = ["REGEDIT4", "",
             r"[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\ThemeManager]",
             '"ThemeActive"="0"', "", r"[HKEY_CURRENT_USER\Control Panel\Colors]"]
    lines += [f'"{name}"="{value}"' for name, value in (CLASSIC_COLOURS | (colours or {})).items()]
    lines += ["", r"[HKEY_CURRENT_USER\Control Panel\Desktop]", f'"LogPixels"=dword:{dpi:08x}']
    # Wine registers the bitmap faces of the prefix's code page only, a Western one under a UTF-8
    # locale; a Cyrillic request for "MS Sans Serif" then falls on a wider TrueType face. Its
    # Cyrillic bitmap face is the one Windows shows the window in.
    lines += ["", r"[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Fonts]",
              '"MS Sans Serif"="sserifer.fon"']
    # Standard metrics: a fresh prefix makes scroll bars 17 pixels wide, Windows 16 (in twips).
    lines += ["", r"[HKEY_CURRENT_USER\Control Panel\Desktop\WindowMetrics]",
              '"ScrollWidth"="-240"', '"ScrollHeight"="-240"']
    # Arial, which the version label asks for, is no face of Wine's: it would fall on whichever
    # sans-serif the machine has (Liberation Sans where a browser brought it, else DejaVu Sans), and
    # the pixels the tests compare would change with it.
    lines += ["", r"[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]", '"Arial"="DejaVu Sans"']
    lines += ["", r"[HKEY_CURRENT_USER\Software\Wine\X11 Driver]", '"Managed"="N"',
              "", r"[HKEY_LOCAL_MACHINE\Software\Wine\Drives]"]
    lines += [f'"{letter.lower()}:"="{DRIVE_TYPES[kind]}"' for letter, (kind, _) in drives.items()]
    registry = Path(prefix) / "classic.reg"
    registry.write_text("\r\n".join(lines + [""]), encoding="ascii")
    loader = WINE64_LOADER if Path(WINE64_LOADER).exists() else "wine"
    subprocess.run([loader, "regedit", "/S", str(registry)], **quiet)
    # Drive types are read when the server starts; the next program starts a fresh one.
    subprocess.run(["wineserver", "-k"], env=env, check=False)
    subprocess.run(["wineserver", "-w"], env=env, check=False)
    for letter, (_, folder) in drives.items():
        link = Path(prefix) / "dosdevices" / f"{letter.lower()}:"
        if link.is_symlink() or link.exists():
            link.unlink()
        link.symlink_to(Path(folder).resolve())


def copy_prefix(template, prefix, home):
    """Copies a prefix in a fraction of a second instead of a boot's seconds of CPU: libraries, programs
    and code-page tables, which Wine only reads, are hard links; the rest, its registry among them, is
    copied. The user's folders, linked by wineboot to an empty home folder, are linked to this one."""
    def link_or_copy(source, target):
        if Path(source).suffix.lower() in (".dll", ".exe", ".nls"):
            os.link(source, target)
        else:
            shutil.copy2(source, target)
    shutil.copytree(template, prefix, symlinks=True, copy_function=link_or_copy)
    for folder in (Path(prefix) / "drive_c/users").glob("*/*"):
        if folder.is_symlink():
            folder.unlink()
            folder.symlink_to(home)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    wanted = {}
    for argument in sys.argv[2:]:
        letter, _, rest = argument.partition("=")
        kind, _, folder = rest.partition(":")
        wanted[letter] = (kind, folder)
    make_prefix(sys.argv[1], wanted)
