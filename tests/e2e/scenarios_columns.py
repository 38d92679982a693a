"""The content columns through the built plug-in: the field list, the default view, every
field's value for generated files (made with sox and lame, tagged with mutagen) and for
files of the shared corpus, for a missing and a non-audio file, ft_delayed and then the
value from a second thread, stopping and unloading, and a Unicode name through the W
call. The expected values come from mutagen and the file system, not from the plug-in's
own readers."""

import os
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

from check import expect, expect_clean, expect_equal, scenario
from host_output import unescape, utf8
from scenarios_unicode import CJK, UNICODE_PLAYLIST, prepare
from workspace import UNIX_EPOCH_FILETIME

try:
    import mutagen.id3 as id3
    import mutagen.mp3 as mp3
except ImportError:  # an interpreter without Debian's python3-mutagen (scripts/setup.sh)
    sys.path.append("/usr/lib/python3/dist-packages")
    import mutagen.id3 as id3
    import mutagen.mp3 as mp3

CORPUS = Path(__file__).resolve().parents[3] / "shared" / "corpus"
CORPUS = Path(os.environ.get("PLENVOX_CORPUS_DIR", CORPUS))

# The fields by index, as the plug-in lists them (name, type, units, flags, sort order).
FIELDS = [
    ("Position", 1, "", 0, 1), ("Title", 8, "", 0, 1), ("Artist", 8, "", 0, 1),
    ("Album", 8, "", 0, 1), ("Track", 1, "", 0, 1), ("Year", 8, "", 0, 1),
    ("Genre", 8, "", 0, 1), ("Comment", 8, "", 0, 1),
    ("Length", 3, "seconds|minutes|hours", 2, 1), ("Bit rate", 1, "", 0, -1),
    ("Sample rate", 1, "", 0, -1),
    ("Channel mode", 7, "Stereo|Joint Stereo|Dual Channel|Mono", 0, 1), ("VBR", 6, "", 0, 1),
    ("Encoder", 8, "", 0, 1), ("MPEG version", 8, "", 0, 1),
    ("Layer", 7, "Layer I|Layer II|Layer III", 0, 1),
    ("EXTINF length", 3, "seconds|minutes|hours", 0, 1), ("EXTINF title", 8, "", 0, 1),
    ("Exists", 6, "", 0, 1), ("Size", 2, "bytes|kbytes|Mbytes", 0, -1), ("Modified", 10, "", 0, -1),
    ("Format", 8, "", 0, 1), ("Album artist", 8, "", 0, 1), ("Disc", 1, "", 0, 1),
    ("Bits per sample", 1, "", 0, -1), ("Channels", 1, "", 0, -1), ("Composer", 8, "", 0, 1),
]
AUDIO_ONLY = ("Artist", "Album", "Track", "Year", "Genre", "Comment", "Length", "Bit rate",
              "Sample rate", "Channel mode", "VBR", "Encoder", "MPEG version", "Layer", "Format",
              "Album artist", "Disc", "Bits per sample", "Channels", "Composer")
FORMATS = {1: "MP1", 2: "MP2", 3: "MP3"}
INDEX = {name: i for i, (name, *_rest) in enumerate(FIELDS)}
DEFAULT_VIEW = ["[=<fs>.Position]\\n[=<fs>.Title]\\n[=<fs>.Artist]\\n[=<fs>.Album]\\n"
                "[=<fs>.Length.minutes]\\n[=<fs>.Bit rate]",
                "#\\nTitle\\nArtist\\nAlbum\\nLength\\nBit rate",
                "160,30,-30,180,130,130,-50,-50", "-1|0"]
DELAYED, FILE_ERROR, EMPTY = "0", "-2", "-3"
DELAY_IF_SLOW = 1
MODES = ["Stereo", "Joint Stereo", "Dual Channel", "Mono"]
LAYERS = {1: "Layer I", 2: "Layer II", 3: "Layer III"}
VERSIONS = {1: "MPEG 1", 2: "MPEG 2", 2.5: "MPEG 2.5"}
CORPUS_PREFIXES = ("mutagen_", "taglib_", "mp3agic_")


# --- Files ---------------------------------------------------------------------------------

def encode(target: Path, seconds, *lame_options, rate=44100, channels=2):
    """A sine tone of the given length, encoded by lame with the options."""
    with tempfile.TemporaryDirectory() as work:
        wav = Path(work) / "tone.wav"
        subprocess.run(["sox", "-n", "-r", str(rate), "-c", str(channels), str(wav), "synth",
                        str(seconds), "sine", "440"], check=True)
        subprocess.run(["lame", "--quiet", *lame_options, str(wav), str(target)], check=True)


def tag(target: Path, version, encoding, v1=0, **frames):
    """ID3v2 frames in the given version and text encoding (and an ID3v1 tag of the
    same texts with v1=2), written by mutagen."""
    tags = id3.ID3()
    kinds = {"title": id3.TIT2, "artist": id3.TPE1, "album": id3.TALB, "track": id3.TRCK,
             "year": id3.TYER if version == 3 else id3.TDRC, "genre": id3.TCON}
    for key, text in frames.items():
        if key == "comment":
            tags.add(id3.COMM(encoding=encoding, lang="eng", desc="", text=text))
        else:
            tags.add(kinds[key](encoding=encoding, text=text))
    tags.save(str(target), v2_version=version, v1=v1)


def id3v1(title, artist, album, year, comment, track, genre):
    """An ID3v1.1 tag, written by hand."""
    def field(text, size):
        return text.encode("latin-1")[:size].ljust(size, b"\0")
    return (b"TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4) +
            field(comment, 28) + b"\0" + bytes([track, genre]))


# --- Expected values ------------------------------------------------------------------------

def v2_text(tags, frame_id):
    """A text frame of ID3v2 as the plug-in reads it, in any of its encodings: the last
    of several (which mutagen joins into one frame of several texts)."""
    frames = tags.getall(frame_id) if tags is not None else []
    return str(frames[-1].text[-1]).strip() if frames and frames[-1].text else ""


def v1_fields(path: Path):
    data = path.read_bytes()
    frames = id3.ParseID3v1(data[-128:]) if len(data) >= 128 else None
    if not frames:
        return {}
    fields = {key: str(frames[fid].text[0]) for key, fid in
              (("title", "TIT2"), ("artist", "TPE1"), ("album", "TALB"), ("year", "TDRC"))
              if fid in frames}
    if "TCON" in frames and frames["TCON"].genres:
        fields["genre"] = frames["TCON"].genres[0]
    if "COMM" in frames:
        fields["comment"] = str(frames["COMM"].text[0])
    if "TRCK" in frames:
        fields["track"] = str(frames["TRCK"].text[0])
    return fields


def text_value(text):
    """A text through the ANSI call: code page 1252, "?" for what it lacks."""
    return ["8", text.encode("cp1252", errors="replace").decode("latin-1")] if text else [EMPTY]


def lame_version():
    """The name and version of the lame that made the generated files ("LAME 3.100")."""
    first = subprocess.run(["lame", "--version"], capture_output=True, text=True).stdout.split()
    return "LAME " + first[first.index("version") + 1]


def expected_values(path: Path, position, info_length, info_title, encoder=""):
    """Field index -> the value line's fields after the result, or a checker."""
    expected = {INDEX["Position"]: ["1", str(position)],
                INDEX["EXTINF length"]: ["3", "%d.000" % info_length, str(info_length)],
                INDEX["EXTINF title"]: text_value(info_title)}
    if not path.exists():
        expected.update({INDEX["Exists"]: ["6", "false"], INDEX["Size"]: [EMPTY],
                         INDEX["Modified"]: [EMPTY], INDEX["Title"]: text_value(info_title)})
        for name in AUDIO_ONLY:
            expected[INDEX[name]] = [EMPTY]
        return expected
    stat = path.stat()
    expected.update({INDEX["Exists"]: ["6", "true"], INDEX["Size"]: ["2", str(stat.st_size)],
                     INDEX["Modified"]: ["10", "%016x" % (stat.st_mtime_ns // 100 + UNIX_EPOCH_FILETIME)]})
    try:
        audio = mp3.MP3(str(path))
        info = audio.info
    except Exception:  # not MPEG audio: mutagen finds no frame
        audio, info = None, None
    if info is None:
        # No audio, and in these files no tag either.
        for name in AUDIO_ONLY:
            expected[INDEX[name]] = [EMPTY]
        expected[INDEX["Title"]] = text_value(info_title)
        return expected
    try:
        tags = id3.ID3(str(path), load_v1=False)
    except id3.ID3NoHeaderError:
        tags = None
    v1 = v1_fields(path)
    title = v2_text(tags, "TIT2") or v1.get("title", "") or info_title
    expected[INDEX["Title"]] = text_value(title)
    for name, frame_id, key in (("Artist", "TPE1", "artist"), ("Album", "TALB", "album")):
        expected[INDEX[name]] = text_value(v2_text(tags, frame_id) or v1.get(key, ""))
    genres = tags.getall("TCON") if tags is not None else []
    genre = genres[-1].genres[-1] if genres and genres[-1].genres else ""
    expected[INDEX["Genre"]] = text_value(genre or v1.get("genre", ""))
    expected[INDEX["Album artist"]] = text_value(v2_text(tags, "TPE2"))
    expected[INDEX["Composer"]] = text_value(v2_text(tags, "TCOM"))
    disc = v2_text(tags, "TPOS").split("/")[0]
    expected[INDEX["Disc"]] = ["1", str(int(disc))] if disc and int(disc) else [EMPTY]
    expected[INDEX["Format"]] = ["8", FORMATS[info.layer]]
    expected[INDEX["Channels"]] = ["1", str(info.channels)]
    expected[INDEX["Bits per sample"]] = [EMPTY]
    year = v2_text(tags, "TYER") or v2_text(tags, "TDRC")[:4] or v1.get("year", "")
    expected[INDEX["Year"]] = text_value(year)
    comments = tags.getall("COMM") if tags is not None else []
    comment = str(comments[-1].text[0]) if comments else v1.get("comment", "")
    expected[INDEX["Comment"]] = text_value(comment)
    track = (v2_text(tags, "TRCK") or v1.get("track", "")).split("/")[0]
    expected[INDEX["Track"]] = ["1", str(int(track))] if track and int(track) else [EMPTY]
    seconds = int(info.length)
    expected[INDEX["Length"]] = near(3, seconds, 1)
    expected[INDEX["Bit rate"]] = near(1, round(info.bitrate / 1000), 1)
    expected[INDEX["Sample rate"]] = ["1", str(info.sample_rate)]
    expected[INDEX["Channel mode"]] = ["7", MODES[info.mode]]
    vbr = info.bitrate_mode == mp3.BitrateMode.VBR
    expected[INDEX["VBR"]] = ["6", "true" if vbr else "false"]
    expected[INDEX["Encoder"]] = encoder_of(info.encoder_info or encoder)
    expected[INDEX["MPEG version"]] = ["8", VERSIONS[info.version]]
    expected[INDEX["Layer"]] = ["7", LAYERS[info.layer]]
    return expected


def near(result, value, tolerance):
    """A number within the tolerance of mutagen's (its play time and bit rate are its
    own estimates): a checker of the line's fields."""
    def check(fields):
        return bool(fields) and fields[0] == str(result) and abs(float(fields[1]) - value) <= tolerance
    check.description = "%d, %s +- %s" % (result, value, tolerance)
    return check


def encoder_of(encoder_info):
    """The encoder's name and version as mutagen reads them ("LAME 3.100"); the plug-in
    gives the eight characters the file holds ("LAME3.10"), or nothing."""
    def check(fields):
        if fields == [EMPTY]:
            return True
        return fields[0] == "8" and encoder_info.replace(" ", "").startswith(unescape(fields[1]))
    check.description = "empty or the start of %r" % encoder_info
    return check


def expect_values(values, expected, what):
    """values: field index -> the value line's fields after the result."""
    for index, want in expected.items():
        got = values.get(index)
        name = "%s: %s" % (what, FIELDS[index][0])
        if callable(want):
            expect(got is not None and want(got), "%s: expected %s, got %r" % (name, want.description, got))
        else:
            expect_equal(got, want, name)


def value_script(remote, flags=0, form="value"):
    lines = ['%s "%s" %d 0 %d' % (form, remote, i, flags) for i in range(len(FIELDS))]
    return lines


def values_of(out, kind="value"):
    """The values asked in order, one dictionary per remote name asked for."""
    runs, current = [], {}
    for fields in out.of(kind):
        index = int(fields[0])
        if index in current or (index == 0 and current):
            runs.append(current)
            current = {}
        current[index] = [unescape(f) for f in fields[2:]]
    if current:
        runs.append(current)
    return runs


# --- Scenarios -------------------------------------------------------------------------------

@scenario("columns")
def field_list_and_default_view(sc):
    sc.install()
    sc.write_ini()
    # Before FsInit, as some hosts ask.
    out = sc.run_host(["fields", "defaultview 1024", "defaultvieww 1024", "defaultview 8",
                       "init", "fields"])
    expect_clean(out)
    listed = [[f[0], f[1], f[2], f[3], f[4], f[5]] for f in out.of("field")]
    expected = [[str(i), str(t), n, u, str(fl), str(o)] for i, (n, t, u, fl, o) in enumerate(FIELDS)]
    expect_equal(listed, expected * 2, "the fields, before and after FsInit")
    expect_equal(out.of("fields"), [[str(len(FIELDS)), "2"]] * 2, "the count and all flags")
    expect_equal(out.of("defaultview"), [["-1"] + DEFAULT_VIEW,
                                         ["-1"] + [text[:7] for text in DEFAULT_VIEW]],
                 "the default view, whole and cut to 8 bytes")
    expect_equal(out.of("defaultvieww"), [["-1"] + DEFAULT_VIEW], "the W default view")


def columns_playlist(sc):
    """Generated and corpus files, a missing and a non-audio file: path -> file."""
    music = sc.path("P:\\music\\x").parent
    files = {}

    def made(name):
        files["P:\\music\\" + name] = music / name
        return music / name

    encode(made("cbr_v23_utf16.mp3"), 7.3, "-b", "128")
    tag(music / "cbr_v23_utf16.mp3", 3, 1, title="Café au lait", artist="Élodie", album="Nuits",
        track="3/12", year="2019", genre="Jazz", comment="première prise")
    encode(made("vbr_xing_v24_utf8.mp3"), 9.6, "-V", "4")
    tag(music / "vbr_xing_v24_utf8.mp3", 4, 3, v1=2, title="Straße", artist="Kraft", album="Werk",
        track="7", year="2004", genre="Electronic")
    encode(made("id3v1_only_mono.mp3"), 5.2, "-t", "-b", "96", "-m", "m", channels=1)
    with open(music / "id3v1_only_mono.mp3", "ab") as f:
        f.write(id3v1("One tag", "Anon", "Old", "1999", "v1.1 note", 4, 17))
    encode(made("no_tag_32k.mp3"), 6.1, "-t", "-b", "160", "--resample", "32", rate=32000)
    encode(made("mpeg2_22k.mp3"), 4.4, "-b", "64", "--resample", "22.05", rate=22050)
    for name in ("mutagen_vbri.mp3", "taglib_lame_vbr.mp3", "mutagen_silence-44-s.mp3",
                 "mutagen_silence-44-s-mpeg25.mp3", "mutagen_id3v22-test.mp3"):
        source = CORPUS / name
        files["P:\\music\\" + name] = music / name
        (music / name).write_bytes(source.read_bytes())
    made("not_audio.txt").write_bytes(bytes((i * 7 + 3) % 251 for i in range(5000)))
    files["P:\\music\\missing.mp3"] = music / "missing.mp3"
    return files


@scenario("columns")
def values_of_every_field_through_both_calls(sc):
    sc.install()
    sc.write_ini(DisplayMode=2)
    files = columns_playlist(sc)
    entries = list(files)
    sc.write_playlist(entries)  # "#EXTINF:n,Title n-1" before entry n
    script = ["init", "list \\ quiet"]
    for remote in entries:
        script += value_script("\\" + remote)
    script += value_script("\\" + entries[0], form="valuew")
    length = INDEX["Length"]
    script += ['value "\\%s" %d 1 0' % (entries[0], length), 'value "\\%s" %d 2 0' % (entries[0], length),
               'value "\\P:\\music\\never listed.mp3" 1 0 0', 'value "\\%s" 99 0 0' % entries[0]]
    out = sc.run_host(script)
    expect_clean(out)
    runs = values_of(out)[:len(entries)]
    lame = lame_version()
    for position, (remote, run) in enumerate(zip(entries, runs), start=1):
        # The files made here carry lame's version even without a LAME header.
        encoder = "" if files[remote].name.startswith(CORPUS_PREFIXES) else lame
        expect_values(run, expected_values(files[remote], position, position, "Title %d" % (position - 1),
                                           encoder), remote)
    # The W call: texts in UTF-16 (ft_stringw), the rest as the ANSI call answers.
    wide = values_of(out, "valuew")[0]
    for index, fields in runs[0].items():
        if fields[0] == "8":
            expect_equal([wide[index][0], utf8(wide[index][1])],
                         ["11", fields[1].encode("latin-1").decode("cp1252")], "W: " + FIELDS[index][0])
        else:
            expect_equal(wide[index], fields, "W: " + FIELDS[index][0])
    seconds = int(float(runs[0][length][1]))
    extra = out.of("value")[-4:]
    expect_equal(extra[0][2:], ["3", "%d.000" % seconds, "%d:%02d" % (seconds // 60, seconds % 60)], "m:ss")
    expect_equal(extra[1][2:], ["3", "%d.000" % seconds, "0:%02d:%02d" % (seconds // 60, seconds % 60)],
                 "h:mm:ss")
    expect_equal(extra[2][2:], [FILE_ERROR], "a name that the listing did not show")
    expect_equal(extra[3][2:], ["-1"], "no such field")


@scenario("columns")
def delayed_values_then_the_background_thread(sc):
    sc.install()
    sc.write_ini(DisplayMode=0)
    files = columns_playlist(sc)
    first = "\\P:\\music\\cbr_v23_utf16.mp3"
    sc.write_playlist(list(files))
    title, position, info = INDEX["Title"], INDEX["Position"], INDEX["EXTINF length"]
    out = sc.run_host([
        "init", "list \\ quiet",
        # Mode 0 looked at no file: what needs one waits for the background thread.
        'value "%s" %d 0 1' % (first, title), 'value "%s" %d 0 1' % (first, INDEX["Size"]),
        'value "%s" %d 0 1' % (first, position), 'value "%s" %d 0 1' % (first, info),
        'valuethread "%s" %d 0 0' % (first, title),
        # The analysis made there serves the other columns at once.
        'value "%s" %d 0 1' % (first, INDEX["Artist"]),
        # A stop request with no value being got changes nothing.
        'stopvalue "%s"' % first, 'valuethread "%s" %d 0 0' % (first, INDEX["Album"]),
        "unloading", 'value "%s" %d 0 0' % (first, title), 'value "%s" %d 0 1' % (first, position),
    ])
    expect_clean(out)
    expect_equal([[unescape(f) for f in v[2:]] for v in out.of("value")],
                 [[DELAYED], [DELAYED], ["1", "1"], ["3", "1.000", "1"], ["8", "\xc9lodie"],
                  [EMPTY], [EMPTY]],
                 "delayed, then answered; nothing after unloading")
    expect_equal([[unescape(f) for f in v[2:]] for v in out.of("valuethread")],
                 [["8", "Caf\xe9 au lait"], ["8", "Nuits"]], "the values on a second thread")

    # A listing in mode 2 analysed every file: nothing waits.
    sc.write_ini(DisplayMode=2)
    out = sc.run_host(["init", "list \\ quiet"] + value_script(first, DELAY_IF_SLOW))
    expect_clean(out)
    expect(all(v[2] != DELAYED for v in out.of("value")), "a value waited after a mode 2 listing")
    expect_values(values_of(out)[0], expected_values(files[first[1:]], 1, 1, "Title 0"), first)


@scenario("columns")
def unicode_name_through_the_w_call(sc):
    prepare(sc, [CJK], files={}, DisplayMode=1)
    target = sc.path(CJK)
    target.parent.mkdir(parents=True, exist_ok=True)
    encode(target, 3.5, "-b", "128")
    tag(target, 3, 1, title="群青日和", artist="東京事変")
    lines = ["#EXTM3U", "#EXTINF:3,東京事変 - 群青日和", CJK]
    sc.write_bytes(UNICODE_PLAYLIST, ("\r\n".join(lines) + "\r\n").encode("utf-8"))
    remote = "\\" + CJK
    out = sc.run_host(["initw", "listw \\"] + value_script(remote, form="valuew"),
                      encoding="utf-8")
    expect_clean(out)
    values = values_of(out, "valuew")[0]
    # The tags' texts are Unicode: the W call shows them exactly.
    expect_equal([values[INDEX["Title"]][0], utf8(values[INDEX["Title"]][1])], ["11", "群青日和"],
                 "the tag's title")
    expect_equal([values[INDEX["Artist"]][0], utf8(values[INDEX["Artist"]][1])], ["11", "東京事変"],
                 "the tag's artist")
    expect_equal([values[INDEX["EXTINF title"]][0], utf8(values[INDEX["EXTINF title"]][1])],
                 ["11", "東京事変 - 群青日和"], "the EXTINF title in UTF-16")
    expect_equal(values[INDEX["Position"]], ["1", "1"], "the position")
    expect_equal(values[INDEX["Exists"]], ["6", "true"], "the file exists")
    expect_equal(values[INDEX["Size"]], ["2", str(target.stat().st_size)], "its size")
