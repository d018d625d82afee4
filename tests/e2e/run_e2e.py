"""Runs the end-to-end tests, or those named as arguments (module, class or test), and ends with a
line counting them: "e2e: N passed, M failed"."""
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
loader = unittest.defaultTestLoader
suite = (loader.loadTestsFromNames(sys.argv[1:]) if sys.argv[1:]
         else loader.discover(str(Path(__file__).parent), pattern="test_*.py"))
result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
failed = len(result.failures) + len(result.errors) + len(result.unexpectedSuccesses)
print(f"e2e: {result.testsRun - failed} passed, {failed} failed")
sys.exit(1 if failed else 0)
