"""A picture of the host's thumbnail view and list of the playlist folder, drawn by
ImageMagick from what the scripted host got from the built plug-in: the bitmaps of
FsGetPreviewBitmap (written by the host) in a grid, each centred in its cell as the host
centres it, and a list whose icons are those that FsExtractCustomIcon answered (the
plug-in's own icons, or a stand-in for the host's icon of the file type)."""

import subprocess
from pathlib import Path

from check import expect_clean
from scenarios_pictures import audio, picture, tagged

CELL = 128
PLUGIN_ICONS = {"PlenvoxFast.playing": "playing", "PlenvoxFast.missing": "missing",
                "PlenvoxFast.stream": "stream"}


def _files(sc):
    music = sc.folder / "music"
    (music / "Album").mkdir(parents=True, exist_ok=True)
    covers = [("Dawn.mp3", 500, 500, ("#f4a261", "#264653", "#e9c46a", "#2a9d8f")),
              ("Harbour.mp3", 600, 400, ("#1d3557", "#a8dadc", "#e63946", "#f1faee")),
              ("Meadow.mp3", 400, 600, ("#606c38", "#fefae0", "#dda15e", "#283618")),
              ("Night Drive.mp3", 500, 500, ("#03071e", "#9d0208", "#ffba08", "#370617"))]
    entries = []
    for name, width, height, colours in covers:
        data = picture(music / "cover-src.jpg", width, height, colours)
        tagged(music / name, [(4, "image/jpeg", data), (3, "image/jpeg", data)], 3)
        entries.append("P:\\music\\" + name)
    picture(music / "Album" / "folder.jpg", 450, 450, ("#5e548e", "#e0b1cb", "#fff3b0", "#231942"))
    (music / "Album" / "Track 1.mp3").write_bytes(audio())
    (music / "cover-src.jpg").unlink()
    (music / "No Cover.mp3").write_bytes(audio())
    entries += ["P:\\music\\Album\\Track 1.mp3", "P:\\music\\No Cover.mp3", "P:\\music\\Gone.mp3",
                "http://radio.example/live"]
    return entries


def run(sc, icons_folder: Path, target: Path):
    sc.install()
    sc.write_ini(DisplayMode=1)
    entries = _files(sc)
    sc.write_playlist(entries)
    script = ["init", "list \\ quiet", 'exec "\\%s" open' % entries[1], "list \\ quiet"]
    for i, entry in enumerate(entries):
        script += ['preview "\\%s" %d %d P:\\temp\\thumb%d.ppm' % (entry, CELL - 8, CELL - 8, i),
                   'icon "\\%s" 3' % entry]
    out = sc.run_host(script)
    expect_clean(out)
    work = sc.folder / "view"
    work.mkdir(exist_ok=True)
    cells = []
    for i, (entry, preview) in enumerate(zip(entries, out.of("preview"))):
        name = entry.split("://", 1)[1] if "://" in entry else entry.rsplit("\\", 1)[-1]
        cell = work / ("cell%d.png" % i)
        if preview[0] == "257":
            source = ["(", str(sc.folder / "temp" / ("thumb%d.ppm" % i)), ")"]
        else:  # the host's default: a grey sheet
            source = ["(", "-size", "56x72", "xc:#f4f4f4", "-fill", "none", "-stroke", "#9a9a9a",
                      "-draw", "rectangle 0,0 55,71", ")"]
        subprocess.run(["convert", "-size", "%dx%d" % (CELL, CELL), "xc:white", *source, "-gravity", "center",
                        "-composite", "-gravity", "south", "-background", "white", "-splice", "0x18",
                        "-stroke", "none", "-fill", "black",
                        "-font", "DejaVu-Sans", "-pointsize", "11", "-annotate", "+0+2", name, str(cell)], check=True)
        cells.append(str(cell))
    grid = work / "grid.png"
    subprocess.run(["montage", *cells, "-tile", "4x", "-geometry", "+6+6", "-background", "#e8e8e8",
                    str(grid)], check=True)
    rows = []
    for i, (entry, icon) in enumerate(zip(entries, out.of("icon"))):
        row = work / ("row%d.png" % i)
        kind = PLUGIN_ICONS.get(icon[1]) if icon[0] == "1" else None
        if kind:
            glyph = ["(", "%s[0]" % (icons_folder / (kind + ".ico")), "-background", "white", "-flatten", ")"]
        else:  # the host's icon for an audio file
            glyph = ["(", "-size", "16x16", "xc:white", "-fill", "#d8d8d8", "-stroke", "#808080",
                     "-draw", "rectangle 2,1 13,14", ")"]
        subprocess.run(["convert", "-size", "520x20", "xc:white", *glyph, "-geometry", "+4+2", "-composite",
                        "-stroke", "none", "-fill", "black", "-font", "DejaVu-Sans", "-pointsize", "12",
                        "-annotate", "+26+15", entry.replace("\\", "\\\\"), str(row)], check=True)
        rows.append(str(row))
    listing = work / "list.png"
    subprocess.run(["convert", *rows, "-append", "-bordercolor", "#b0b0b0", "-border", "1", str(listing)],
                   check=True)
    subprocess.run(["convert", str(grid), str(listing), "-background", "#e8e8e8", "-gravity", "center",
                    "-append", str(target)], check=True)
    return target
