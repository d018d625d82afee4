"""Reads the built executable's tables with MinGW's objdump: which libraries it imports, how the
system is told to load it, and the manifest it carries.

Usage: executable_tables_test.py EXECUTABLE OBJDUMP
"""
import re
import subprocess
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "cmake"))
from run_from_swap import header_offsets, pe_checksum  # noqa: E402

# Windows' known system libraries (KnownDLLs of Windows 10 and 11), which it loads from its system
# folder only, and ntdll, which is always there. Anything else is looked for beside the program
# first, so the program must not import it.
KNOWN_SYSTEM_LIBRARIES = {
    "advapi32.dll", "clbcatq.dll", "combase.dll", "comdlg32.dll", "coml2.dll", "difxapi.dll",
    "gdi32.dll", "gdiplus.dll", "imagehlp.dll", "imm32.dll", "kernel32.dll", "msctf.dll",
    "msvcrt.dll", "normaliz.dll", "nsi.dll", "ntdll.dll", "ole32.dll", "oleaut32.dll", "psapi.dll",
    "rpcrt4.dll", "sechost.dll", "setupapi.dll", "shcore.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "wldap32.dll", "ws2_32.dll",
}
HIGH_ENTROPY_VA, DYNAMIC_BASE, NX_COMPAT = 0x20, 0x40, 0x100
REMOVABLE_RUN_FROM_SWAP, NET_RUN_FROM_SWAP = 0x400, 0x800
RT_MANIFEST = 0x18
SUPPORTED_OS = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}


def objdump(*options):
    return subprocess.run([OBJDUMP, *options, EXECUTABLE], check=True, stdout=subprocess.PIPE,
                          text=True).stdout


def manifest(private_headers, section_headers):
    """The manifest resource's text, found through the resource directory objdump prints."""
    lines = private_headers.splitlines()
    type_entry = next((i for i, line in enumerate(lines)
                       if re.match(rf"^[0-9a-f]+   Entry: ID: 0x0*{RT_MANIFEST:x},", line)), None)
    if type_entry is None:
        return None
    leaf = next(line for line in lines[type_entry:] if "Leaf: Addr:" in line)
    address, size = (int(v, 16) for v in re.search(r"Addr: (0x[0-9a-f]+), Size: (0x[0-9a-f]+)", leaf).groups())
    image_base = int(re.search(r"^ImageBase\s+([0-9a-f]+)", private_headers, re.M).group(1), 16)
    for match in re.finditer(r"^\s*\d+\s+\S+\s+([0-9a-f]+)\s+([0-9a-f]+)\s+[0-9a-f]+\s+([0-9a-f]+)",
                             section_headers, re.M):
        length, start, offset = (int(v, 16) for v in match.groups())
        if start <= image_base + address < start + length:
            with open(EXECUTABLE, "rb") as image:
                image.seek(offset + image_base + address - start)
                return image.read(size).decode("utf-8")
    raise AssertionError("the manifest lies in no section")


class ExecutableTables(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.private_headers = objdump("-p")
        cls.manifest = manifest(cls.private_headers, objdump("-h"))

    def test_imports_only_known_system_libraries(self):
        imported = {line.split(":", 1)[1].strip().lower()
                    for line in self.private_headers.splitlines() if "DLL Name:" in line}
        self.assertIn("kernel32.dll", imported)
        self.assertEqual(imported - KNOWN_SYSTEM_LIBRARIES, set())

    def test_layout_randomised_with_high_entropy_and_data_never_executed(self):
        flags = int(re.search(r"^DllCharacteristics\s+([0-9a-f]+)", self.private_headers, re.M).group(1), 16)
        for flag, name in ((HIGH_ENTROPY_VA, "high-entropy ASLR"), (DYNAMIC_BASE, "ASLR"), (NX_COMPAT, "DEP")):
            self.assertTrue(flags & flag, name)

    def test_image_copied_whole_into_memory_when_started_from_a_stick_or_a_share(self):
        flags = int(re.search(r"^Characteristics\s+0x([0-9a-f]+)", self.private_headers, re.M).group(1), 16)
        for flag, name in ((REMOVABLE_RUN_FROM_SWAP, "run from swap on removable media"),
                           (NET_RUN_FROM_SWAP, "run from swap on network media")):
            self.assertTrue(flags & flag, name)
        # The flags are set after linking: the checksum the linker wrote must still hold.
        declared = int(re.search(r"^CheckSum\s+([0-9a-f]+)", self.private_headers, re.M).group(1), 16)
        image = Path(EXECUTABLE).read_bytes()
        self.assertNotEqual(declared, 0, "the linker wrote no checksum")
        self.assertEqual(declared, pe_checksum(image, header_offsets(image)[1]))

    def test_manifest_runs_as_invoker_on_windows_7_to_11_with_the_classic_controls(self):
        self.assertIsNotNone(self.manifest, "no manifest resource")
        self.assertRegex(self.manifest, r'<requestedExecutionLevel level="asInvoker" uiAccess="false"/>')
        declared = set(re.findall(r'<supportedOS Id="(\{[0-9a-f-]+\})"/>', self.manifest))
        self.assertEqual(declared, set(SUPPORTED_OS), "supported systems")
        self.assertNotIn("Microsoft.Windows.Common-Controls", self.manifest)

    def test_manifest_declares_per_monitor_awareness_version_2_with_fallbacks(self):
        self.assertIsNotNone(self.manifest, "no manifest resource")
        awareness = re.search(r"<dpiAwareness[^>]*>([^<]*)</dpiAwareness>", self.manifest)
        self.assertIsNotNone(awareness, "no dpiAwareness")
        self.assertEqual([v.strip() for v in awareness.group(1).split(",")][0], "PerMonitorV2")
        # Windows 8.1 reads per monitor from here, Windows 7 and 8 system-wide awareness.
        self.assertRegex(self.manifest, r"<dpiAware[^>]*>true/pm</dpiAware>")


if __name__ == "__main__":
    EXECUTABLE, OBJDUMP = sys.argv.pop(1), sys.argv.pop(1)
    unittest.main()
