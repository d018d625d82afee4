"""Runs the end-to-end tests, or those named as arguments (module, class or test), and ends with a
line counting them: "e2e: N passed, M failed".

Without arguments every test module runs in a process of its own, KQ_E2E_JOBS of them side by side
(2 by default): each module has a Wine prefix, copied from one booted first, and an X display of
its own, and most of a module's time is spent waiting on Wine, so modules overlap well. More of
them at once crowd each other's first second after start, which some tests look at. Named tests
run in this process.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
from concurrent.futures import ThreadPoolExecutor, as_completed
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
from wine_prefix import make_prefix  # noqa: E402
COUNTS = re.compile(r"^e2e: (\d+) passed, (\d+) failed$", re.M)


def run_here(names):
    loader = unittest.defaultTestLoader
    result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(loader.loadTestsFromNames(names))
    # A test that failed and then failed to tear down counts once.
    failed = {test.id() for test, _ in result.failures + result.errors} | {test.id() for test in result.unexpectedSuccesses}
    return max(result.testsRun - len(failed), 0), len(failed)


def run_module(module):
    started = time.monotonic()
    done = subprocess.run([sys.executable, __file__, module], stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, text=True, errors="replace")
    counts = COUNTS.findall(done.stdout)
    # A module whose process died before counting counts as one failure.
    passed, failed = (int(n) for n in counts[-1]) if counts else (0, 1)
    return module, done.stdout, passed, failed, time.monotonic() - started


def run_side_by_side():
    # One prefix booted here, which each module's prefix copies instead of booting its own.
    template = Path(tempfile.mkdtemp(prefix="kq-e2e-template-"))
    try:
        (template / "home").mkdir()
        started = time.monotonic()
        make_prefix(template / "prefix", {}, dict(os.environ, HOME=str(template / "home")))
        print(f"== the Wine prefix the modules copy: {time.monotonic() - started:.0f} s", flush=True)
        os.environ["KQ_E2E_PREFIX_TEMPLATE"] = str(template / "prefix")
        counts = run_modules()
        print(f"== all the modules: {time.monotonic() - started:.0f} s", flush=True)
        return counts
    finally:
        shutil.rmtree(template, ignore_errors=True)


def run_modules():
    loader = unittest.defaultTestLoader
    modules = {path.stem: loader.loadTestsFromName(path.stem).countTestCases()
               for path in sorted(HERE.glob("test_*.py"))}
    # The modules with the most tests start first, so that no long one is left to run alone at the end.
    ordered = sorted(modules, key=modules.get, reverse=True)
    passed = failed = 0
    with ThreadPoolExecutor(max_workers=int(os.environ.get("KQ_E2E_JOBS", "2"))) as pool:
        runs = [pool.submit(run_module, module) for module in ordered]
        for module, output, module_passed, module_failed, seconds in (run.result() for run in as_completed(runs)):
            print(f"== {module}: {seconds:.0f} s", flush=True)
            print(output, flush=True)
            passed, failed = passed + module_passed, failed + module_failed
    return passed, failed


if __name__ == "__main__":
    passed, failed = run_here(sys.argv[1:]) if sys.argv[1:] else run_side_by_side()
    print(f"e2e: {passed} passed, {failed} failed")
    sys.exit(1 if failed else 0)
