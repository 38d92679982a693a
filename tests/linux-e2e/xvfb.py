"""A private X display for one run: Xvfb on a free display number that it picks itself
and reports through -displayfd."""

import os
import select
import time

from processes import StepTimeout

SCREEN = (1280, 800)
START_LIMIT = 30


def start_display(processes):
    """Starts Xvfb and returns its display name (":N")."""
    read_end, write_end = os.pipe()
    try:
        processes.start("xvfb", ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                 "%dx%dx24" % SCREEN, "-nolisten", "tcp", "-noreset"],
                        pass_fds=(write_end,))
        os.close(write_end)
        write_end = None
        return ":" + _read_number(read_end)
    finally:
        if write_end is not None:
            os.close(write_end)
        os.close(read_end)


def _read_number(fd):
    deadline = time.monotonic() + START_LIMIT
    text = b""
    while not text.endswith(b"\n"):
        remaining = deadline - time.monotonic()
        ready, _, _ = select.select([fd], [], [], max(remaining, 0))
        if not ready:
            raise StepTimeout("Xvfb reported no display within %d s" % START_LIMIT)
        chunk = os.read(fd, 32)
        if not chunk:
            break
        text += chunk
    number = text.decode("ascii", "replace").strip()
    if not number.isdigit():
        raise RuntimeError("Xvfb did not report its display (got %r)" % number)
    return number
