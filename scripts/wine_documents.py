"""Makes a Wine prefix open documents as a Windows PC with a PDF reader does: a .pdf in this
machine's PDF viewer (mupdf, which scripts/run-tool.sh installs), a .txt in Wine's Notepad (Wine maps
no .txt to its own class for text files). Run on every start of the tool, on a prefix old or new.

Without the viewer .pdf is left to no program. Wine's own association hands it to its browser helper,
which counts as opened as soon as it starts, whatever comes after; the tool's box for a PC without a
PDF reader would never show. Also usable from the shell: wine_documents.py PREFIX
"""
import os
import shlex
import shutil
import subprocess
import sys
from pathlib import Path

VIEWER = "mupdf"


def associate_documents(prefix, env=None, search_path=None):
    """Looks for the viewer on search_path (the PATH when None) and gives where it found it, or None."""
    env = dict(env or os.environ, WINEPREFIX=str(prefix))
    viewer = shutil.which(VIEWER, path=env.get("PATH") if search_path is None else search_path)
    lines = ["REGEDIT4", "", r"[HKEY_CLASSES_ROOT\.txt]", '@="txtfile"', ""]
    if viewer:
        # Wine starts a Linux program as it would a Windows one, with the document's Windows path.
        opener = Path(prefix) / "open-in-viewer.sh"
        opener.write_text(f'#!/bin/sh\nexec {shlex.quote(viewer)} "$(winepath -u "$1")"\n', encoding="utf-8")
        opener.chmod(0o755)
        command = '"Z:' + str(opener).replace("/", "\\") + '" "%1"'
        lines += [r"[HKEY_CLASSES_ROOT\.pdf]", '@="pdffile"', "", r"[HKEY_CLASSES_ROOT\pdffile\shell\open\command]",
                  '@="' + command.replace("\\", "\\\\").replace('"', '\\"') + '"', ""]
    else:
        lines += [r"[-HKEY_CLASSES_ROOT\.pdf]", ""]
    registry = Path(prefix) / "documents.reg"
    registry.write_text("\r\n".join(lines), encoding="utf-8")
    subprocess.run(["wine", "regedit", "/S", str(registry)], env=env, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=180)
    return viewer


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    found = associate_documents(sys.argv[1])
    print(f"PDF documents open in {found}, text files in Wine's Notepad" if found else
          f"No {VIEWER} here: the tool's box for a PC without a PDF reader shows in place of the list of changes")
