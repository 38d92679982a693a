"""The stand-in player's log lines as PlayerLog.events() gives them, for expectations."""

from workspace import TEMP_PLAYLIST

STARTED = "start  5"  # started without arguments, shown (SW_SHOW), as a request starts it
WRITE = "write 1024 0 120"
CLEAR = "clear 1024 0 101"
STOP = "stop 273 40047 0"
PLAY = "play 273 40045 0"
# Where the plug-in talks to the player anyway (FsInit, the start of a listing, the start
# of a delete batch) it asks it for its playlist folder right after the write: 338, then
# 337 when the player does not know 338 (as the old player knows neither).
ASKED = ["folderw 1024 0 338", "folder 1024 0 337"]
WRITE_ASKED = [WRITE] + ASKED
# The same as PlayerLog.requests() gives them.
REQUESTS_ASKED = [(1024, 0, 120, "write"), (1024, 0, 338, "folderw"), (1024, 0, 337, "folder")]


def position(number):
    return "position 1024 %d 121" % number


def handed_over(path=TEMP_PLAYLIST):
    """A second instance, started with "/ADD path" and SW_SHOWNORMAL, handed the path to
    the running one."""
    return "handoff %s 1" % path


def started_adding(path=TEMP_PLAYLIST):
    """An instance started with "/ADD path" and SW_SHOWNORMAL while none was running."""
    return "start /ADD %s 1" % path


def added(count, path=TEMP_PLAYLIST):
    return "add %s %d" % (path, count)


def add_batch(count, path=TEMP_PLAYLIST):
    """What the end of an add batch sends a running player: the additions, then a write."""
    return [handed_over(path), added(count, path), WRITE]


def delete_batch(kept, saved_position, path=TEMP_PLAYLIST):
    """What the end of a delete batch sends a running player."""
    return [CLEAR, WRITE, handed_over(path), added(kept, path), position(saved_position), WRITE]
