"""The listing of a large playlist by the built DLL under Wine, timed by the scripted
host: display modes 0, 1 and 2, each listed twice in one host (in mode 2 the second
listing finds every analysis kept). Each entry is a hard link of its own to one of the files of a
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
    times = {}
    sc.write_ini(DisplayMode="1")
    _timed(sc, 1, count)  # the files and the playlist into the page cache
    for _ in range(repeat):
        for mode in (0, 1, 2):
            sc.write_ini(DisplayMode=str(mode))
            first, again = _timed(sc, 2, count)
            times.setdefault("mode %d, first" % mode, []).append(first)
            times.setdefault("mode %d, again" % mode, []).append(again)
    median = {name: statistics.median(values) for name, values in times.items()}
    lines = ["%d entries, %s, median of %d runs; each mode listed twice in one host"
             % (count, sc.artefacts.plugin_name, repeat)]
    for name, seconds in median.items():
        ratio = ""
        if name.startswith("mode 2"):
            ratio = "  %.2f x %s" % (seconds / median[name.replace("2", "1", 1)],
                                     name.replace("2", "1", 1))
        lines.append("%-15s %7.2f s%s" % (name + ":", seconds, ratio))
    return "\n".join(lines)
