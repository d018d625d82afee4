"""Reads the built executable's tables: with MinGW's objdump which functions it imports, how the
system is told to load it and that no code registers an exception handler; from its resources the
manifest, the version resource and the payloads. Beside it, the tool built from real inputs, and a
small program that registers a handler, which the handler check must find.

Usage: executable_tables_test.py TOOL REAL_INPUTS_TOOL OBJDUMP GENERATED FIRMWARE CHANGE_LOG HANDLER_PROGRAM
"""
import hashlib
import os
import re
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path[:0] = [str(ROOT / folder) for folder in ("cmake", "scripts", "firmware", "payloads")]
import catalogue  # noqa: E402
from executable_imports import frozen_imports, imports_in  # noqa: E402
from executable_resources import (RT_MANIFEST, RT_RCDATA, VS_FF_PRIVATEBUILD, flagged_private_build,  # noqa: E402
                                  resources, version_info)
from generate_payloads import language_table, standin_image  # noqa: E402
from project_version import project_version  # noqa: E402
from run_from_swap import header_offsets, pe_checksum  # noqa: E402
from stand_in_mark import private_build  # noqa: E402

# Windows' known system libraries on Windows 7 SP1 and on Windows 10 and 11 (KnownDLLs of both),
# which it loads from its system folder only, and ntdll, which is always there. Anything else is
# looked for beside the program first, or is missing from Windows 7 (combase, coml2, shcore), so
# the program must not import it.
KNOWN_SYSTEM_LIBRARIES = {
    "advapi32.dll", "clbcatq.dll", "comdlg32.dll", "difxapi.dll", "gdi32.dll", "imagehlp.dll",
    "imm32.dll", "kernel32.dll", "msctf.dll", "msvcrt.dll", "normaliz.dll", "nsi.dll", "ntdll.dll",
    "ole32.dll", "oleaut32.dll", "psapi.dll", "rpcrt4.dll", "sechost.dll", "setupapi.dll",
    "shell32.dll", "shlwapi.dll", "user32.dll", "wldap32.dll", "ws2_32.dll",
}
# The one list of what the tool imports, and how it is written anew.
FROZEN_IMPORTS = ROOT / "tests" / "windows7_imports.txt"
REFREEZE = f"python3 scripts/executable_imports.py build/win/RU_ZadorazUdizav.exe > tests/{FROZEN_IMPORTS.name}"
# The version macros the Windows build sets once, for Windows 7.
WINDOWS_VERSION_MACROS = ("_WIN32_WINNT", "WINVER", "NTDDI_VERSION")
HIGH_ENTROPY_VA, DYNAMIC_BASE, NX_COMPAT, NO_SEH = 0x20, 0x40, 0x100, 0x400
LARGE_ADDRESS_AWARE = 0x20
REMOVABLE_RUN_FROM_SWAP, NET_RUN_FROM_SWAP = 0x400, 0x800
SUPPORTED_OS = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}
# The strings a version resource carries: PrivateBuild and SpecialBuild go only with their flags.
STANDARD_STRINGS = ("Comments", "CompanyName", "FileDescription", "FileVersion", "InternalName", "LegalCopyright",
                    "LegalTrademarks", "OriginalFilename", "ProductName", "ProductVersion")


def objdump(*options, executable=None):
    return subprocess.run([OBJDUMP, *options, executable or TOOL], check=True, stdout=subprocess.PIPE,
                          text=True).stdout


# The registers by the name of each part of them: a write to any part spoils the whole.
REGISTERS = {name: family for family in "abcd" for name in (f"e{family}x", f"{family}x", f"{family}l", f"{family}h")}
REGISTERS |= {name: family for family in ("si", "di", "bp", "sp") for name in (f"e{family}", family, f"{family}l")}
INSTRUCTION = re.compile(r"^\s*[0-9a-f]+:\t(\S+)\s*(.*)$")
# Instructions whose last operand, in memory, is only read.
NOT_STORES = re.compile(r"cmp\w*|test\w*|push\w*|call\w*|j\w+|bt[lw]?|prefetch\w*|nop\w*|fi?ld\w*|fi?com\w*")


def build_sources():
    """The checkout's files a build reads as code or options, outside build folders."""
    for folder, subfolders, names in os.walk(ROOT):
        subfolders[:] = [name for name in subfolders if name not in ("build", ".git")]
        yield from (Path(folder, name) for name in names
                    if name.endswith((".cpp", ".h", ".rc", ".in", ".cmake", ".sh", "CMakeLists.txt")))


def operands_of(text):
    """An instruction's operands, source first; the commas of an address stay inside it."""
    operands, depth, current = [], 0, ""
    for character in text:
        depth += {"(": 1, ")": -1}.get(character, 0)
        if character == "," and depth == 0:
            operands, current = operands + [current], ""
        else:
            current += character
    return operands + [current] if current else operands


def handler_registrations(disassembly):
    """The instructions of objdump -d's listing that may register an exception handler: any use of
    fs but reading the thread block's address from fs:[0x18], and a store through a register just
    loaded with that address (its first word is the head of the handler chain), or a copy of it,
    until the register is loaded with anything else or the code jumps away."""
    found, holding = [], set()
    for line in disassembly.splitlines():
        parsed = INSTRUCTION.match(line)
        if not parsed:
            holding = set()  # a function's start, or a gap between functions
            continue
        mnemonic, operands = parsed[1], operands_of(parsed[2])
        instruction = f"{mnemonic} {','.join(operands)}".strip()
        if "%fs:" in parsed[2]:
            loaded = re.fullmatch(r"mov %fs:0x18,%(e[a-d]x)", instruction)
            if loaded:
                holding.add(REGISTERS[loaded[1]])
            else:
                found.append(instruction)
            continue
        target = operands[-1] if operands else ""
        if "(" in target and not NOT_STORES.fullmatch(mnemonic) and \
                {REGISTERS.get(name) for name in re.findall(r"%(\w+)", target)} & holding:
            found.append(instruction)
        if mnemonic.startswith(("j", "call", "ret")):
            holding = set()
        elif target.startswith("%") and target[1:] in REGISTERS:
            copied = mnemonic == "mov" and operands[0].startswith("%") and REGISTERS.get(operands[0][1:]) in holding
            (holding.add if copied else holding.discard)(REGISTERS[target[1:]])
    return found


def end_of_code():
    """Where the code ends in the code section: the linker puts the tables of exception handling
    after it, and their bytes, read as instructions, say anything. The build's link map tells."""
    link_map = (GENERATED / f"{TOOL.stem}.map").read_text()
    return min(int(address, 16) for address in
               re.findall(r"^ \.gcc_except_table\s+(0x[0-9a-f]+)", link_map, re.M))


class ExecutableTables(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.private_headers = objdump("-p")
        cls.resources = resources(TOOL.read_bytes())
        cls.manifest = cls.resources.get((RT_MANIFEST, 1), b"").decode("utf-8") or None

    def test_imports_only_known_system_libraries_of_windows_7(self):
        imported = {library for library, _ in imports_in(self.private_headers)}
        self.assertIn("kernel32.dll", imported)
        self.assertEqual(imported - KNOWN_SYSTEM_LIBRARIES, set())

    def test_imports_the_functions_of_the_frozen_list_and_no_other(self):
        # Each in the list is one Windows 7 SP1 has; one a later Windows added would keep the tool
        # from starting there, and must be looked up at run time instead.
        imported, frozen = imports_in(self.private_headers), frozen_imports(FROZEN_IMPORTS)
        self.assertGreater(len(frozen), 100)
        changes = [f"imported, not in the list: {library} {function}" for library, function in sorted(imported - frozen)]
        changes += [f"in the list, no longer imported: {library} {function}"
                    for library, function in sorted(frozen - imported)]
        self.assertEqual(changes, [], f"if on purpose, and each new one is in Windows 7 SP1: {REFREEZE}")

    def test_built_for_windows_7_in_one_place(self):
        # Set once for everything built for Windows; a file that raised them could call a function
        # Windows 7 lacks without the compiler saying so.
        setting = re.compile(r"(#\s*(define|undef)\s+|-D|-U|add_compile_definitions\()(%s)\b"
                             % "|".join(WINDOWS_VERSION_MACROS))
        self.assertEqual([f"{path.relative_to(ROOT)}: {line.strip()}" for path in sorted(build_sources())
                          for line in path.read_text(errors="replace").splitlines() if setting.search(line)],
                         ["CMakeLists.txt: add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 NTDDI_VERSION=0x06010000)"])

    def test_an_x86_image_randomised_never_executing_data_with_no_exception_handlers_and_4_gb(self):
        self.assertRegex(objdump("-f"), r"file format pei-i386\b")
        self.assertRegex(self.manifest, r'<assemblyIdentity [^>]*processorArchitecture="x86"')
        flags = int(re.search(r"^DllCharacteristics\s+([0-9a-f]+)", self.private_headers, re.M).group(1), 16)
        # High-entropy randomisation is for 64-bit images; a 32-bit one that claims it is mislinked.
        self.assertEqual(flags & (HIGH_ENTROPY_VA | DYNAMIC_BASE | NX_COMPAT | NO_SEH), DYNAMIC_BASE | NX_COMPAT | NO_SEH)
        characteristics = int(re.search(r"^Characteristics\s+0x([0-9a-f]+)", self.private_headers, re.M).group(1), 16)
        self.assertTrue(characteristics & LARGE_ADDRESS_AWARE, "large-address aware")

    def test_no_code_registers_an_exception_handler_where_the_header_says_there_is_none(self):
        # A handler is registered by writing the head of the thread's handler chain, fs:[0], or the
        # first word of the thread block whose address fs:[0x18] holds. The start-up code only reads
        # that address for its stack's bounds.
        self.assertEqual(handler_registrations(
            objdump("-d", "--no-show-raw-insn", f"--stop-address={end_of_code():#x}")), [])
        # A program that stores through that address is caught, its start-up code's read is not.
        self.assertEqual(handler_registrations(objdump("-d", "--no-show-raw-insn", executable=HANDLER_PROGRAM)),
                         ["mov %esp,(%eax)"])

    def test_image_copied_whole_into_memory_when_started_from_a_stick_or_a_share(self):
        flags = int(re.search(r"^Characteristics\s+0x([0-9a-f]+)", self.private_headers, re.M).group(1), 16)
        for flag, name in ((REMOVABLE_RUN_FROM_SWAP, "run from swap on removable media"),
                           (NET_RUN_FROM_SWAP, "run from swap on network media")):
            self.assertTrue(flags & flag, name)
        # The flags are set after linking: the checksum the linker wrote must still hold.
        declared = int(re.search(r"^CheckSum\s+([0-9a-f]+)", self.private_headers, re.M).group(1), 16)
        image = TOOL.read_bytes()
        self.assertNotEqual(declared, 0, "the linker wrote no checksum")
        self.assertEqual(declared, pe_checksum(image, header_offsets(image)[1]))

    def test_length_a_multiple_of_8_so_that_a_signature_removed_gives_these_bytes_back(self):
        # A signature goes on an 8-byte boundary, after padding that its removal would leave; the
        # checksum it rewrites is the one checked above.
        self.assertEqual(TOOL.stat().st_size % 8, 0)

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

    def test_version_resource_as_built_from_real_inputs_and_marked_where_stand_ins_are_carried(self):
        version = project_version()
        real = version_info(REAL_INPUTS_TOOL.read_bytes())
        self.assertEqual((real.file_version, real.flags, real.translations), (version, 0, [(0x0419, 0x04E3)]))
        self.assertEqual(real.strings, {"041904E3": {**dict.fromkeys(STANDARD_STRINGS, ""),
                                                     "FileVersion": "%d.%d.%d.%d" % version,
                                                     "ProductVersion": "%d.%d" % version[:2]}})
        # The same in a build with stand-ins, which says so where Properties shows it and names
        # them; scripts/sign.sh reads the mark, the window the flag.
        mark = private_build(FIRMWARE, CHANGE_LOG)
        marked = real._replace(flags=real.flags | VS_FF_PRIVATEBUILD, strings={"041904E3": {
            **real.strings["041904E3"], "PrivateBuild": mark,
            "FileDescription": "Загрузочный модуль KQ — ТЕСТОВАЯ СБОРКА, не для терминалов",
            "ProductName": "Загрузочный модуль KQ (ТЕСТ)"}})
        self.assertEqual(version_info(TOOL.read_bytes()), marked if mark else real)
        self.assertEqual((flagged_private_build(TOOL.read_bytes()), flagged_private_build(REAL_INPUTS_TOOL.read_bytes())),
                         (bool(mark), False))

    def test_the_catalogue_table_the_payloads_carried_and_the_generated_files_agree(self):
        entries = catalogue.entries()
        sources = {entry.payload: entry.source(FIRMWARE, ROOT / "payloads") for entry in entries}
        sources["Changes"] = CHANGE_LOG
        expected = [(name, hashlib.sha256(path.read_bytes()).hexdigest()) for name, path in sources.items()]
        carried = {name: hashlib.sha256(data).hexdigest()
                   for (kind, name), data in self.resources.items() if kind == RT_RCDATA}
        self.assertEqual(carried, {name.upper(): digest for name, digest in expected})
        recorded = re.findall(r'\{"(\w+)", \{\{([^}]*)\}\}\}', (GENERATED / "recorded_digests.h").read_text())
        self.assertEqual([(name, bytes(int(b, 16) for b in digest.split(",")).hex()) for name, digest in recorded],
                         expected)
        for table in (entry for entry in entries if entry.kind == "languages"):
            self.assertEqual(sources[table.payload].read_bytes(), language_table(table.family), table.payload)
        cpp = (GENERATED / "catalogue" / "catalogue_entries.inc").read_text()
        self.assertEqual(re.findall(r'\{"(\w+)", "([\w.]+)"\}', cpp), [(entry.payload, entry.file) for entry in entries])


class StandInMark(unittest.TestCase):
    def test_names_the_stand_ins_a_build_carries_wherever_they_came_from(self):
        with tempfile.TemporaryDirectory(prefix="kq-stand-in-mark-") as folder:
            folder = Path(folder)
            real_log, sample_log = folder / "real.pdf", folder / "sample.pdf"
            real_log.write_bytes(b"%PDF-1.4\n%%EOF\n")
            subprocess.run([sys.executable, ROOT / "changelog" / "make_change_log_pdf.py",
                            ROOT / "payloads" / "Changes.txt", sample_log], check=True)
            for case, stand_in, change_log, mark in (
                    ("real inputs", None, real_log, None),
                    ("a stand-in renamed", "Firmware7s", real_log, "Stand-in firmware, not for terminals"),
                    ("the sample change log", None, sample_log, "Sample change log, not for release"),
                    ("both", "Firmware0", sample_log, "Stand-in firmware and sample change log, not for terminals")):
                for entry in catalogue.entries():
                    image = standin_image("Firmware1", 200) if entry.payload == stand_in else b"\x00\x20\x00\x20image"
                    (folder / entry.payload).write_bytes(image)
                self.assertEqual(private_build(folder, change_log), mark, case)


if __name__ == "__main__":
    TOOL, REAL_INPUTS_TOOL, OBJDUMP, GENERATED, FIRMWARE, CHANGE_LOG, HANDLER_PROGRAM = (
        Path(sys.argv.pop(1)) for _ in range(7))
    unittest.main()
