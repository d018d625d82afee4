"""Runs the end-to-end tests, or those named as arguments (module, class or test), and ends with a
line counting them: "e2e: N passed, M failed".

Without arguments every test module runs in a process of its own, KQ_E2E_JOBS of them side by side
(4 by default), each with an X display and a Wine prefix of its own, copied from one booted first.
A module's time is nearly all spent waiting on Wine and on the tool's own pauses, and the probe
answers its quick questions from one process, so four overlap well on two cores. Named tests run in
this process.
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
    print(f"== {module}: {time.monotonic() - started:.0f} s\n{done.stdout}", flush=True)
    counts = COUNTS.findall(done.stdout)
    # A module whose process died before counting counts as one failure.
    return tuple(map(int, counts[-1])) if counts else (0, 1)


def run_side_by_side():
    template = Path(tempfile.mkdtemp(prefix="kq-e2e-template-"))
    try:
        (template / "home").mkdir()
        make_prefix(template / "prefix", {}, dict(os.environ, HOME=str(template / "home")))
        os.environ["KQ_E2E_PREFIX_TEMPLATE"] = str(template / "prefix")
        loader = unittest.defaultTestLoader
        modules = {path.stem: loader.loadTestsFromName(path.stem).countTestCases() for path in HERE.glob("test_*.py")}
        with ThreadPoolExecutor(max_workers=int(os.environ.get("KQ_E2E_JOBS", "4"))) as pool:
            # The modules with the most tests start first, so that no long one is left to run alone at the end.
            runs = [pool.submit(run_module, module) for module in sorted(modules, key=modules.get, reverse=True)]
            counts = [run.result() for run in as_completed(runs)]
        return sum(passed for passed, _ in counts), sum(failed for _, failed in counts)
    finally:
        shutil.rmtree(template, ignore_errors=True)


if __name__ == "__main__":
    passed, failed = run_here(sys.argv[1:]) if sys.argv[1:] else run_side_by_side()
    print(f"e2e: {passed} passed, {failed} failed")
    sys.exit(1 if failed else 0)
