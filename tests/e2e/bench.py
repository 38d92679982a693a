"""The listing of a large playlist by the built DLL under Wine, timed by the scripted
host: display modes 0 and 1, and mode 2 twice in one host (the second listing finds
every analysis kept). Each entry is a hard link of its own to one of the files of a
corpus folder (the generated benchmark corpus), so that every entry is a file of its
own. Listings are quiet (the host prints their counts only) and not announced, so that
neither the host's printing nor the player's writing of its playlist is timed."""

import os
import shutil
import statistics
from pathlib import Path

from check import expect_equal


def _link_entries(sc, corpus: Path, count: int):
    sources = sorted(p for p in corpus.iterdir() if p.is_file())
    if not sources:
        raise SystemExit("no files in %s" % corpus)
    music = sc.folder / "music"
    entries = []
    for i in range(count):
        target = music / ("%05d.mp3" % i)
        try:
            os.link(sources[i % len(sources)], target)
        except OSError:  # another file system: a copy serves too
            shutil.copy(sources[i % len(sources)], target)
        entries.append("P:\\music\\%05d.mp3" % i)
    return entries


def _timed(sc, listings: int, count: int):
    script = ["clock"]
    for _ in range(listings):
        script += ["list \\ nostatus quiet", "clock"]
    out = sc.run_host(script, close_player=False)
    expect_equal([int(line[1]) for line in out.lines if line[0] == "list"], [count] * listings,
                 "items listed")
    clocks = [float(line[1]) for line in out.lines if line[0] == "clock"]
    return [(later - earlier) / 1000.0 for earlier, later in zip(clocks, clocks[1:])]


def run(sc, corpus: Path, count: int, repeat: int):
    sc.install(player=False)
    sc.write_playlist(_link_entries(sc, corpus, count))
    times = {"mode 0": [], "mode 1": [], "mode 2, first": [], "mode 2, again": []}
    sc.write_ini(DisplayMode="1")
    _timed(sc, 1, count)  # the files and the playlist into the page cache
    for _ in range(repeat):
        for mode in (0, 1):
            sc.write_ini(DisplayMode=str(mode))
            times["mode %d" % mode] += _timed(sc, 1, count)
        sc.write_ini(DisplayMode="2")
        first, again = _timed(sc, 2, count)
        times["mode 2, first"].append(first)
        times["mode 2, again"].append(again)
    median = {name: statistics.median(values) for name, values in times.items()}
    lines = ["%d entries, %s, median of %d runs" % (count, sc.artefacts.plugin_name, repeat)]
    for name, seconds in median.items():
        ratio = "" if name in ("mode 0", "mode 1") else "  %.2f x mode 1" % (seconds / median["mode 1"])
        lines.append("%-14s %7.2f s%s" % (name + ":", seconds, ratio))
    return "\n".join(lines)
