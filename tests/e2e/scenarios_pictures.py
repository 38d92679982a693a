"""The items' pictures through the built plug-in: covers in the host's thumbnail view
(FsGetPreviewBitmap) and the icons of the entries' states (FsExtractCustomIcon).

Covers: an MP3 whose tag (ID3v2.3, 2.4, 2.2) holds its front cover among other
pictures, one with only a picture of another type, and a file with only a folder image;
each bitmap must fit the asked box with the picture's aspect ratio kept, and match
ImageMagick's own decode of the same picture, scaled to the same size with its box
filter, within a mean difference of MEAN_DIFFERENCE_MAX per colour channel (of 255).
Bad pictures (a frame whose declared size passes the tag's end, bytes that are no image,
a PNG and a JPEG that declare huge dimensions, a truncated JPEG and PNG) answer "none".
Icons: the playing entry's, a missing file's and a stream address's, compared with the
pixel sources in src/plugin/dll/icons; every other entry keeps the host's icon. Names in
Cyrillic and CJK through the W calls with today's player's UTF-8 playlist."""

import struct
import subprocess
import sys
import tempfile
from pathlib import Path

import mpeg_files
from check import expect, expect_clean, expect_equal, scenario
from scenarios_unicode import CJK, CYRILLIC, prepare
from scenarios_unicode import run as unicode_run

try:
    import mutagen.id3 as id3
except ImportError:  # an interpreter without Debian's python3-mutagen (scripts/setup.sh)
    sys.path.append("/usr/lib/python3/dist-packages")
    import mutagen.id3 as id3

MEAN_DIFFERENCE_MAX = 2.0
BITMAP_EXTRACTED_CACHE = "257"  # FS_BITMAP_EXTRACTED + FS_BITMAP_CACHE
BITMAP_NONE = "0"
ICON_USE_DEFAULT, ICON_EXTRACTED, ICON_DELAYED = "0", "1", "3"
ICON_SMALL, ICON_BACKGROUND = 1, 2
ICONS = Path(__file__).resolve().parents[2] / "src" / "plugin" / "dll" / "icons"


# --- Pictures made by ImageMagick -------------------------------------------------------------

def picture(target: Path, width, height, colours, kind=None):
    """A picture of the size: a diagonal gradient between two colours with a disc and a
    bar of the other colours, so that a wrong crop, flip or stretch shows."""
    first, second, third, fourth = colours
    subprocess.run(["convert", "-size", "%dx%d" % (width, height), "gradient:%s-%s" % (first, second),
                    "-fill", third, "-draw", "circle %d,%d %d,%d" % (width // 3, height // 2, width // 3,
                                                                    height // 2 + min(width, height) // 4),
                    "-fill", fourth, "-draw", "rectangle %d,%d %d,%d" % (width * 2 // 3, height // 8,
                                                                         width * 5 // 6, height * 7 // 8),
                    "-quality", "92", "%s%s" % (kind + ":" if kind else "", target)], check=True)
    return target.read_bytes()


def rgb_of(source: bytes, width, height):
    """ImageMagick's decode of the picture, scaled to width x height with its box filter,
    as red, green, blue bytes."""
    return subprocess.run(["convert", "-", "-background", "white", "-flatten", "-filter", "box",
                           "-resize", "%dx%d!" % (width, height), "-depth", "8", "rgb:-"],
                          input=source, capture_output=True, check=True).stdout


def read_ppm(path: Path):
    data = path.read_bytes()
    fields = data.split(b"\n", 3)
    width, height = (int(x) for x in fields[1].split())
    return width, height, fields[3]


def mean_difference(first: bytes, second: bytes):
    expect(len(first) == len(second), "pixel counts differ: %d, %d" % (len(first), len(second)))
    return sum(abs(a - b) for a, b in zip(first, second)) / len(first)


def size_of(source: bytes):
    out = subprocess.run(["identify", "-format", "%w %h", "-"], input=source, capture_output=True,
                         check=True).stdout.split()
    return int(out[0]), int(out[1])


# --- Tagged files ------------------------------------------------------------------------------

def audio():
    return mpeg_files.constant_bit_rate(40).data


def tagged(target: Path, pictures, version):
    """An MP3 whose ID3v2 tag (version 3 or 4, written by mutagen) holds the pictures
    (type, MIME, data) in order."""
    target.write_bytes(audio())
    tags = id3.ID3()
    tags.add(id3.TIT2(encoding=3, text="Covered"))
    for i, (kind, mime, data) in enumerate(pictures):
        tags.add(id3.APIC(encoding=1 if i % 2 else 0, mime=mime, type=kind, desc="picture %d" % i,
                          data=data))
    tags.save(str(target), v2_version=version)


def frame22(frame_id: bytes, data: bytes):
    return frame_id + struct.pack(">I", len(data))[1:] + data


def frame23(frame_id: bytes, data: bytes, declared=None):
    return frame_id + struct.pack(">I", len(data) if declared is None else declared) + b"\0\0" + data


def tag_bytes(version, frames: bytes, padding=64):
    size = len(frames) + padding
    synchsafe = bytes([(size >> 21) & 0x7F, (size >> 14) & 0x7F, (size >> 7) & 0x7F, size & 0x7F])
    return b"ID3" + bytes([version, 0, 0]) + synchsafe + frames + bytes(padding)


def pic22(kind, fmt: bytes, data: bytes):
    """A version 2.2 PIC frame: encoding, three-letter format, type, description, data."""
    return frame22(b"PIC", b"\0" + fmt + bytes([kind]) + b"cover\0" + data)


def apic23(kind, mime: bytes, data: bytes, declared=None):
    body = b"\0" + mime + b"\0" + bytes([kind]) + b"\0" + data
    return frame23(b"APIC", body, None if declared is None else declared)


# --- Covers --------------------------------------------------------------------------------------

def cover_cases(sc):
    """(remote name, box, the picture expected or None) for every case, with the files made."""
    music = sc.path("P:\\music\\x").parent
    (music / "tagged").mkdir(parents=True)
    (music / "folder").mkdir()
    (music / "bad").mkdir()
    front = picture(music / "front-src.jpg", 600, 400, ("#d02020", "#2040d0", "#f0e040", "#20a040"))
    back = picture(music / "back-src.png", 300, 300, ("#202020", "#e0e0e0", "#ff00ff", "#00ffff"))
    other = picture(music / "other-src.jpg", 200, 500, ("#40c0c0", "#804000", "#ffffff", "#000000"))
    folder = picture(music / "folder" / "folder.png", 250, 500, ("#a0a0ff", "#004000", "#ff8000", "#400040"))
    for name in ("front-src.jpg", "back-src.png", "other-src.jpg"):
        (music / name).unlink()
    tagged(music / "tagged" / "v23.mp3", [(4, "image/png", back), (3, "image/jpeg", front),
                                         (0, "image/jpeg", other)], 3)
    tagged(music / "tagged" / "v24.mp3", [(0, "image/jpeg", other), (3, "image/jpeg", front)], 4)
    tagged(music / "tagged" / "nofront.mp3", [(4, "image/png", back), (0, "image/jpeg", other)], 3)
    (music / "tagged" / "v22.mp3").write_bytes(
        tag_bytes(2, pic22(0, b"PNG", back) + pic22(3, b"JPG", front)) + audio())
    (music / "folder" / "only.mp3").write_bytes(audio())

    huge_png = bytearray(back)
    huge_png[16:24] = struct.pack(">II", 100000, 100000)
    jpeg = bytearray(front)
    sof = jpeg.index(b"\xff\xc0")
    huge_jpeg = jpeg[:sof + 5] + struct.pack(">HH", 60000, 60000) + jpeg[sof + 9:]
    bad = {
        "past-end.mp3": tag_bytes(3, apic23(3, b"image/jpeg", front, declared=len(front) + 5000)) + audio(),
        "not-image.mp3": tag_bytes(3, apic23(3, b"image/jpeg", b"no picture here " * 200)) + audio(),
        "huge-png.mp3": tag_bytes(3, apic23(3, b"image/png", bytes(huge_png))) + audio(),
        "huge-jpeg.mp3": tag_bytes(3, apic23(3, b"image/jpeg", bytes(huge_jpeg))) + audio(),
        "cut-jpeg.mp3": tag_bytes(3, apic23(3, b"image/jpeg", front[:len(front) // 2])) + audio(),
        "cut-png.mp3": tag_bytes(3, apic23(3, b"image/png", back[:len(back) // 2])) + audio(),
        "no-picture.mp3": audio(),
    }
    for name, data in bad.items():
        (music / "bad" / name).write_bytes(data)

    cases = [("P:\\music\\tagged\\v23.mp3", (96, 96), front),
             ("P:\\music\\tagged\\v23.mp3", (200, 50), front),
             ("P:\\music\\tagged\\v24.mp3", (160, 160), front),
             ("P:\\music\\tagged\\v22.mp3", (128, 128), front),
             ("P:\\music\\tagged\\nofront.mp3", (100, 100), back),
             ("P:\\music\\folder\\only.mp3", (120, 120), folder),
             # A box larger than the picture: the picture at its own size.
             ("P:\\music\\folder\\only.mp3", (1000, 1000), folder)]
    cases += [("P:\\music\\bad\\" + name, (96, 96), None) for name in bad]
    return cases


@scenario("pictures")
def covers_fit_the_box_and_match_an_independent_decode(sc):
    sc.install()
    sc.write_ini(DisplayMode=1)
    cases = cover_cases(sc)
    entries = list(dict.fromkeys(remote for remote, _box, _picture in cases))
    sc.write_playlist(entries)
    script = ["init", "list \\ quiet"]
    for i, (remote, (width, height), _picture) in enumerate(cases):
        script.append('preview "\\%s" %d %d P:\\temp\\thumb%d.ppm' % (remote, width, height, i))
    # The W form, four threads at once on one entry, an item that is no entry; COM on the
    # host's thread as the calls left it: none, then the host's own in either model.
    script += ['previeww "\\%s" 96 96 P:\\temp\\wide.ppm' % cases[0][0],
               'previewthreads 4 "\\%s" 96 96' % cases[0][0],
               'preview "\\P:\\music\\never listed.mp3" 96 96', "comstate",
               "com sta", 'preview "\\%s" 96 96' % cases[0][0], "comstate"]
    out = sc.run_host(script)
    expect_clean(out)
    previews = out.of("preview")
    expect_equal(len(previews), len(cases) + 2, "preview lines")
    for i, ((remote, (box_w, box_h), source), line) in enumerate(zip(cases, previews)):
        if source is None:
            expect_equal(line, [BITMAP_NONE], "the preview of %s" % remote)
            continue
        expect_equal(line[0], BITMAP_EXTRACTED_CACHE, "the result for %s" % remote)
        width, height, bits = int(line[1]), int(line[2]), int(line[3])
        pic_w, pic_h = size_of(source)
        expect(width <= box_w and height <= box_h, "%s: %dx%d outside the box %dx%d"
               % (remote, width, height, box_w, box_h))
        expect(width <= pic_w and height <= pic_h, "%s: enlarged" % remote)
        expect(width == min(box_w, pic_w) or height == min(box_h, pic_h),
               "%s: %dx%d does not fill the box %dx%d" % (remote, width, height, box_w, box_h))
        expect(abs(width * pic_h - height * pic_w) <= max(pic_w, pic_h),
               "%s: aspect %dx%d against the picture's %dx%d" % (remote, width, height, pic_w, pic_h))
        expect_equal(bits, 32, "bits per pixel")
        ppm_w, ppm_h, pixels = read_ppm(sc.path("P:\\temp\\thumb%d.ppm" % i))
        expect_equal((ppm_w, ppm_h), (width, height), "the written bitmap's size")
        difference = mean_difference(pixels, rgb_of(source, width, height))
        expect(difference <= MEAN_DIFFERENCE_MAX, "%s at %dx%d: mean difference %.2f against ImageMagick"
               % (remote, width, height, difference))
    expect_equal(previews[-2], [BITMAP_NONE], "an item that is no entry")
    expect_equal(previews[-1], previews[0][:5], "the bitmap on a thread that has COM already")
    expect_equal(out.of("comstate"), [["none"], ["sta"]],
                 "COM on the host's thread after the calls: undone where they made it, the host's kept")
    expect_equal(out.of("previeww")[0][:5], previews[0][:5], "the W form's bitmap")
    threads = out.of("previewthreads")[0]
    expect_equal(threads[1:], [BITMAP_EXTRACTED_CACHE + ":%sx%s:%s" % tuple(previews[0][1:3] + previews[0][4:5])] * 4,
                 "four threads at once")


# --- Icons ---------------------------------------------------------------------------------------

def icon_checksum(name, size):
    """The FNV-1a checksum of the icon's colour pixels as the host prints it: red, green,
    blue per pixel, rows top-down, transparent pixels black; each source pixel doubled
    for the 32x32 image."""
    palette = {".": (0, 0, 0)}
    rows = []
    for line in (ICONS / (name + ".txt")).read_text().splitlines():
        line = line.rstrip()
        if not line or line.startswith("#"):
            continue
        if "=" in line:
            letter, colour = (part.strip() for part in line.split("=", 1))
            palette[letter] = tuple(bytes.fromhex(colour))
        else:
            rows.append(line)
    factor = size // 16
    data = b"".join(bytes(palette[c]) for row in rows for _ in range(factor) for c in row for _ in range(factor))
    value = 2166136261
    for byte in data:
        value = ((value ^ byte) * 16777619) & 0xFFFFFFFF
    return "%08x" % value


def icon(name, size):
    return [ICON_EXTRACTED, "PlenvoxFast." + name, "%dx%d" % (size, size), icon_checksum(name, size)]


@scenario("pictures")
def icons_of_the_playing_missing_and_stream_entries(sc):
    sc.install()
    music = sc.path("P:\\music\\x").parent
    music.mkdir(parents=True, exist_ok=True)
    for name in ("a.mp3", "b.mp3"):
        (music / name).write_bytes(audio())
    entries = ["P:\\music\\a.mp3", "P:\\music\\b.mp3", "P:\\music\\gone.mp3", "http://radio.example/live"]
    sc.write_playlist(entries)
    sc.write_ini(DisplayMode=0)
    icons = []
    for entry in entries:
        icons += ['icon "\\%s" %d' % (entry, ICON_SMALL), 'icon "\\%s" %d' % (entry, ICON_SMALL | ICON_BACKGROUND)]
    script = ["init", "list \\ quiet"] + icons
    # Enter on b plays it; the next listing shows it playing, in both sizes and forms.
    script += ['exec "\\%s" open' % entries[1], "list \\ quiet",
               'icon "\\%s" %d' % (entries[1], ICON_SMALL | ICON_BACKGROUND),
               'icon "\\%s" %d' % (entries[1], ICON_BACKGROUND),
               'iconw "\\%s" %d' % (entries[1], ICON_BACKGROUND),
               'icon "\\%s" %d' % (entries[0], ICON_SMALL | ICON_BACKGROUND),
               'icon "\\P:\\music\\never listed.mp3" %d' % ICON_BACKGROUND]
    out = sc.run_host(script)
    expect_clean(out)
    got = [line if line[0] == ICON_EXTRACTED else [line[0]] for line in out.of("icon")]
    expect_equal(got, [
        # Display mode 0 looked no file up: in the foreground each file's look-up is put
        # off; from the background it is made.
        [ICON_DELAYED], [ICON_USE_DEFAULT],
        [ICON_DELAYED], [ICON_USE_DEFAULT],
        [ICON_DELAYED], icon("missing", 16),
        icon("stream", 16), icon("stream", 16),
        # After Enter on b.
        icon("playing", 16), icon("playing", 32), [ICON_USE_DEFAULT], [ICON_USE_DEFAULT],
    ], "icons")
    expect_equal(out.of("iconw"), [icon("playing", 32)], "the W form's icon")
    # Asking for icons left the player as it was: it was asked only whether and what it plays.
    asked = {name for (_m, _w, _l, name) in sc.player_log().requests()}
    expect("status" in asked and "listpos" in asked, "the player was asked what it plays: %s" % asked)


@scenario("pictures")
def icons_from_the_listings_look_ups(sc):
    """In display mode 1 the listing looked every file up: the missing file's icon comes
    at once, also in the foreground; no player running, no entry plays. A file's URL keeps
    the host's icon."""
    sc.install()
    music = sc.path("P:\\music\\x").parent
    music.mkdir(parents=True, exist_ok=True)
    (music / "a.mp3").write_bytes(audio())
    entries = ["P:\\music\\a.mp3", "P:\\music\\gone.mp3", "mms://radio.example/live", "file://P:/music/a.mp3"]
    sc.write_playlist(entries)
    sc.write_ini(DisplayMode=1)
    out = sc.run_host(["init", "list \\ quiet", 'close "Winamp v1.x" 10000']
                      + ['icon "\\%s" 0' % entry for entry in entries])
    expect_clean(out)
    got = [line if line[0] == ICON_EXTRACTED else [line[0]] for line in out.of("icon")]
    expect_equal(got, [[ICON_USE_DEFAULT], icon("missing", 32), icon("stream", 32), [ICON_USE_DEFAULT]],
                 "icons in display mode 1")


@scenario("pictures")
def unicode_names_through_the_w_calls(sc):
    """Today's player with a UTF-8 playlist: a cover and an icon for names in Cyrillic and
    CJK, asked through the W entry points."""
    prepare(sc, [CYRILLIC, CJK], files={}, DisplayMode=1)
    target = sc.path(CYRILLIC)
    target.parent.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        front = picture(Path(work) / "front.jpg", 300, 200, ("#30a0a0", "#a03030", "#ffffff", "#000000"))
    tagged(target, [(3, "image/jpeg", front)], 4)
    out = unicode_run(sc, ["initw", "listw \\ quiet",
                           'previeww "\\%s" 90 90 P:\\temp\\cyrillic.ppm' % CYRILLIC,
                           'iconw "\\%s" 2' % CJK, 'iconw "\\%s" 2' % CYRILLIC])
    expect_clean(out)
    preview = out.of("previeww")[0]
    expect_equal(preview[:3], [BITMAP_EXTRACTED_CACHE, "90", "60"], "the Cyrillic entry's cover")
    width, height, pixels = read_ppm(sc.path("P:\\temp\\cyrillic.ppm"))
    difference = mean_difference(pixels, rgb_of(front, width, height))
    expect(difference <= MEAN_DIFFERENCE_MAX, "mean difference %.2f against ImageMagick" % difference)
    got = [line if line[0] == ICON_EXTRACTED else [line[0]] for line in out.of("iconw")]
    expect_equal(got, [icon("missing", 32), [ICON_USE_DEFAULT]], "the CJK entry is missing")
