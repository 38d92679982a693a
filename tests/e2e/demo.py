"""The demo: a generated playlist of a few MP3 files, listed through the scripted host
in display modes 0, 1 and 2, printed as the host's panel would show it."""

import calendar
import datetime

import mpeg_files
from host_output import UNCHANGED
from workspace import UNIX_EPOCH_FILETIME

MODES = {0: "names only", 1: "file data", 2: "play times"}


def _tracks():
    return [
        ("P:\\music\\Overture.mp3", mpeg_files.constant_bit_rate(mpeg_files.seconds_to_frames(95.3)),
         (2023, 5, 1, 9, 30, 0)),
        ("P:\\music\\Second Movement.mp3",
         mpeg_files.constant_bit_rate(mpeg_files.seconds_to_frames(187.6), 1024, "Second"),
         (2023, 5, 2, 18, 5, 12)),
        ("P:\\music\\Long Live Set.mp3", mpeg_files.xing(130000), (2024, 1, 15, 22, 0, 0)),
        ("P:\\music\\Missing Track.mp3", None, None),
    ]


NO_TIME = 0xFFFFFFFFFFFFFFFE  # the host's mark for a time that is not known

# The demo's host hands in zeroed records, so a field left as passed reads as zero.
def _number(field, base=10):
    return 0 if field == UNCHANGED else int(field, base)


def _date(item):
    filetime = _number(item["write"], 16)
    if filetime in (0, NO_TIME):
        return "-"
    ticks = filetime - UNIX_EPOCH_FILETIME
    when = datetime.datetime.fromtimestamp(ticks / 10_000_000, datetime.timezone.utc)
    return when.strftime("%Y-%m-%d %H:%M")


def _size(item, mode):
    value = (_number(item["size_high"]) << 32) + _number(item["size_low"])
    if mode == 2:  # the plug-in's size field holds whole seconds
        return "%d s (%d:%02d)" % ((value,) + divmod(value, 60))
    return str(value)


def _panel(mode, output):
    title = "Display mode %d (%s)" % (mode, MODES[mode])
    items = output.items()
    width = max([len(item.name) for item in items] + [4])
    header = "%-*s %16s  %s" % (width, "Name", "Play time" if mode == 2 else "Size", "Date")
    rows = ["%-*s %16s  %s" % (width, item.name, _size(item, mode), _date(item))
            for item in items]
    return "\n".join([title, header, "-" * len(header)] + rows)


def run(sc):
    sc.install()
    paths = []
    for path, mpeg, when in _tracks():
        paths.append(path)
        if mpeg is not None:
            sc.write_bytes(path, mpeg.data, calendar.timegm(when))
    sc.write_playlist(paths)
    panels = []
    for mode in MODES:
        sc.write_ini(DisplayMode=mode)
        output = sc.run_host(["fill zero", "list \\"])
        panels.append(_panel(mode, output))
    return "\n\n".join(panels)
