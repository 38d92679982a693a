"""The thumbnails of a playlist of files with embedded covers, by the built DLL under Wine,
timed by the scripted host: every entry's FsGetPreviewBitmap once (first), then again
(the files and the system's decoder warm; a host that caches the bitmaps, as the plug-in
asks with FS_BITMAP_CACHE, does not call again at all), then every entry's
FsExtractCustomIcon from the background. Each entry is a hard link of its own to one of a
few tagged files whose covers ImageMagick made (JPEG 500x500 and 1000x1000, PNG 600x600)."""

import os
import statistics
import tempfile
from pathlib import Path

from check import expect_equal
from scenarios_pictures import audio, picture, tagged

COVERS = [(500, 500, None), (1000, 1000, None), (600, 600, "png")]
BOX = 96


def _entries(sc, count):
    music = sc.folder / "music"
    music.mkdir(parents=True, exist_ok=True)
    sources = []
    with tempfile.TemporaryDirectory() as work:
        for i, (width, height, kind) in enumerate(COVERS * 3):
            colours = ("#%02x2020" % (40 * i % 256), "#2040d0", "#f0e0%02x" % (30 * i % 256), "#20a040")
            data = picture(Path(work) / ("c%d.%s" % (i, kind or "jpg")), width, height, colours, kind)
            source = music / ("source%d.mp3" % i)
            tagged(source, [(3, "image/%s" % (kind or "jpeg"), data)], 3)
            sources.append(source)
    entries = []
    for i in range(count):
        target = music / ("%05d.mp3" % i)
        os.link(sources[i % len(sources)], target)
        entries.append("P:\\music\\%05d.mp3" % i)
    for source in sources:
        source.unlink()
    return entries


def _timed(sc, entries):
    script = ["init", "list \\ nostatus quiet", "clock"]
    for _ in range(2):
        script += ['preview "\\%s" %d %d' % (entry, BOX, BOX) for entry in entries] + ["clock"]
    script += ['icon "\\%s" 3' % entry for entry in entries] + ["clock"]
    out = sc.run_host(script)
    results = [line[0] for line in out.of("preview")]
    expect_equal(results, ["257"] * (2 * len(entries)), "every entry's thumbnail")
    clocks = [float(line[1]) for line in out.lines if line[0] == "clock"]
    return [(later - earlier) / len(entries) for earlier, later in zip(clocks, clocks[1:])]


def run(sc, count: int, repeat: int):
    sc.install()
    sc.write_ini(DisplayMode=1)
    entries = _entries(sc, count)
    sc.write_playlist(entries)
    runs = [_timed(sc, entries) for _ in range(repeat)]
    names = ["thumbnail, first", "thumbnail, again", "icon"]
    lines = ["%d entries with embedded covers, box %dx%d, %s, median of %d runs (ms per entry)"
             % (count, BOX, BOX, sc.artefacts.plugin_name, repeat)]
    for i, name in enumerate(names):
        lines.append("%-18s %7.2f ms" % (name + ":", statistics.median(run[i] for run in runs)))
    return "\n".join(lines)
