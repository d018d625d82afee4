"""End-to-end test of the tool as released: signed by scripts/sign.sh, the signature appended last."""
import os
from pathlib import Path

from signing import signed_with_a_throwaway_root
from tool_case import EXE, ToolCase, close_desktop, open_desktop


def setUpModule():
    open_desktop()


def tearDownModule():
    close_desktop()


class SignedCopyTest(ToolCase):
    def test_signed_copy_passes_its_check_at_start_writes_the_set_and_opens_the_change_log(self):
        signed = signed_with_a_throwaway_root(Path(os.environ["KQ_SCRIPTS"]), EXE, self.desktop.root / "signing")
        signed.rename(self.app_dir / EXE.name)
        self.write_set_and_open_the_change_log(self.start())
