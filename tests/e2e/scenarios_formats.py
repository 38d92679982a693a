"""Every format a player of today plays, listed in display mode 2 through the Unicode
entry points with today's player ("winamp.m3u8"): FLAC, Ogg Vorbis, Opus, Ogg FLAC, AAC and
ALAC in MP4, WAV, RF64, AIFF, AIFF-C, WMA and MP3, tagged in Latin, Cyrillic, Greek and
Japanese (ID3v2 in all four text encodings), the edge files of each container, a truncated
file of each format and an empty one (audio_formats.py makes them). The size field holds
each file's play time; every column through the W call, a few through the ANSI call ("?"
for what code page 1252 lacks, never a look-alike letter). A second scenario reads 8-bit
tags in the code page that [Mode] TagCodePage names. Expected values come from mutagen,
ffprobe and the file system (audio_formats.expected)."""

import audio_formats
from check import expect, expect_clean, expect_equal, scenario
from host_output import unescape, utf8
from scenarios_columns import EMPTY, FIELDS, INDEX, near, values_of
from scenarios_unicode import TODAYS_PLAYER, UNICODE_PLAYLIST

MUSIC = "P:\\music\\formats\\"
TEXT_FIELDS = {"Title": "title", "Artist": "artist", "Album": "album", "Album artist": "album_artist",
               "Year": "year", "Genre": "genre", "Comment": "comment", "Composer": "composer"}
NUMBER_FIELDS = {"Track": "track", "Disc": "disc"}
MPEG_ONLY = ("Channel mode", "VBR", "Encoder", "MPEG version", "Layer")
AUDIO_FIELDS = [name for name, *_ in FIELDS if name not in
                ("Position", "EXTINF length", "EXTINF title", "Exists", "Size", "Modified")]
# The ANSI call for a few files: their texts in code page 1252.
ANSI_CHECKED = ("cyrillic.flac", "greek.ogg", "latin_alac.m4a", "japanese_v24_utf16be.mp3")


def wide_text(text):
    return ["11", text] if text else [EMPTY]


def ansi_text(text):
    return ["8", text.encode("cp1252", errors="replace").decode("latin-1")] if text else [EMPTY]


def whole(value):
    return ["1", str(value)] if value else [EMPTY]


def expected_wide(want, info_title):
    """Field name -> the W call's value (or a checker) for a file with expectations."""
    tags = want["tags"]
    out = {name: wide_text(tags[key]) for name, key in TEXT_FIELDS.items()}
    out["Title"] = wide_text(tags["title"] or info_title)
    out.update({name: whole(tags[key]) for name, key in NUMBER_FIELDS.items()})
    out["Format"] = wide_text(want["format"])
    out["Length"] = near(3, want["length"], 1) if want["length"] else [EMPTY]
    out["Bit rate"] = near(1, *want["bitrate"]) if want["bitrate"] else [EMPTY]
    out["Sample rate"] = whole(want["rate"])
    out["Channels"] = whole(want["channels"])
    out["Bits per sample"] = whole(want["bits"])
    if want["format"] not in ("MP3", "MP2", "MP1"):
        out.update({name: [EMPTY] for name in MPEG_ONLY})
    return out


def decoded(fields):
    """A W value line's fields with the text of a string (11) decoded from UTF-8."""
    return [fields[0], utf8(fields[1])] if fields and fields[0] == "11" else fields


def check_wide_values(values, want, info_title, what):
    for name, expected in expected_wide(want, info_title).items():
        got = decoded(values.get(INDEX[name]))
        label = "%s: %s" % (what, name)
        if callable(expected):
            expect(got is not None and expected(got), "%s: expected %s, got %r" % (label, expected.description, got))
        else:
            expect_equal(got, expected, label)


def check_truncated(values, source_format, what):
    """A truncated file: whatever its reader still found, of the right kind (a format
    only of its source's), and every value well formed."""
    fmt = decoded(values.get(INDEX["Format"]))
    expect(fmt in ([EMPTY], ["11", source_format]), "%s: Format %r" % (what, fmt))
    for name in AUDIO_FIELDS:
        got = values.get(INDEX[name])
        expect(got is not None and got[0] in (EMPTY, str(FIELDS[INDEX[name]][1]), "11"),
               "%s: %s answered %r" % (what, name, got))


@scenario("formats")
def every_format_listed_in_mode_2_with_every_column(sc):
    sc.install(player_options=TODAYS_PLAYER)
    sc.write_ini(DisplayMode=2)
    corpus = audio_formats.Corpus(sc.path(MUSIC + "x").parent)
    files = corpus.make()
    entries = [MUSIC + name for name in files] + [MUSIC + "missing.flac"]
    sc.write_playlist(entries, path=UNICODE_PLAYLIST, encoding="utf-8")
    script = ["initw", "listw \\"]
    for entry in entries[:-1]:
        script += ['valuew "\\%s" %d 0 0' % (entry, INDEX[name]) for name in AUDIO_FIELDS]
    for name in ANSI_CHECKED:
        script += ['value "\\%s%s" %d 0 0' % (MUSIC, name, INDEX[field]) for field in ("Title", "Artist", "Album")]
    out = sc.run_host(script, encoding="utf-8")
    expect_clean(out)

    items = {item.wide_name: item for item in out.wide_items()}
    expect_equal(sorted(items), sorted(entries), "the items listed")
    runs = values_of(out, "valuew")
    expect_equal(len(runs), len(files), "a run of values per file")
    for position, ((name, (path, kind, original)), values) in enumerate(zip(files.items(), runs)):
        entry = MUSIC + name
        seconds = int(items[entry]["size_low"])
        want = audio_formats.expected(path, kind, original)
        if want is None:
            source = name[len("cut_"):]
            source_format = audio_formats.expected(*files[source]).get("format")
            check_truncated(values, source_format, name)
            continue
        # Mode 2's size field: the play time in whole seconds, 0 without one.
        if want["length"]:
            expect(abs(seconds - want["length"]) <= 1, "%s: size %d for %.2f s" % (name, seconds, want["length"]))
        else:
            expect_equal(seconds, 0, name + ": size without a play time")
        check_wide_values(values, want, "Title %d" % position, name)
    expect_equal(items[entries[-1]]["size_low"], "0", "a missing file's size")

    ansi = values_of(out, "value")
    expect_equal(len(ansi), len(ANSI_CHECKED), "the ANSI calls")
    for name, values in zip(ANSI_CHECKED, ansi):
        tags = audio_formats.expected(*files[name])["tags"]
        for field in ("Title", "Artist", "Album"):
            expect_equal([unescape(f) for f in values[INDEX[field]]] if values.get(INDEX[field]) else None,
                         ansi_text(tags[field.lower()]), "%s through the ANSI call: %s" % (name, field))


CP1251_TITLE = "Группа крови"
CP1251_ARTIST = "Кино"


@scenario("formats")
def eight_bit_tags_in_the_tag_code_page(sc):
    """An ID3v1 tag and ID3v2.3 ISO-8859-1 frames written by an old tagger in code page
    1251: read in the ANSI code page (1252) by default, in 1251 with TagCodePage=1251."""
    sc.install(player_options=TODAYS_PLAYER)
    folder = sc.path(MUSIC + "x").parent
    folder.mkdir(parents=True, exist_ok=True)
    work = folder / "originals"
    work.mkdir()
    audio_formats.tone(work / "tone.wav", 4.2)
    v1 = folder / "cp1251_id3v1.mp3"
    audio_formats.encode(work / "tone.wav", v1, "-c:a", "libmp3lame", "-b:a", "96k")
    v2 = folder / "cp1251_id3v2.mp3"
    v2.write_bytes(v1.read_bytes())

    def cp1251(text, size=None):
        data = text.encode("cp1251")
        return data.ljust(size, b"\0") if size else data

    with open(v1, "ab") as f:
        f.write(b"TAG" + cp1251(CP1251_TITLE, 30) + cp1251(CP1251_ARTIST, 30) + cp1251("", 30) +
                b"1987" + cp1251("", 30) + bytes([17]))
    # mutagen writes ISO-8859-1 frames from the characters whose numbers are the bytes.
    as_bytes = {k: cp1251(v).decode("latin-1") for k, v in (("title", CP1251_TITLE), ("artist", CP1251_ARTIST))}
    tag = audio_formats.id3.ID3()
    tag.add(audio_formats.id3.TIT2(encoding=0, text=as_bytes["title"]))
    tag.add(audio_formats.id3.TPE1(encoding=0, text=as_bytes["artist"]))
    tag.save(str(v2), v2_version=3)
    entries = [MUSIC + v1.name, MUSIC + v2.name]
    sc.write_playlist(entries, path=UNICODE_PLAYLIST, encoding="utf-8")
    script = ["initw", "listw \\"]
    for entry in entries:
        script += ['valuew "\\%s" %d 0 0' % (entry, INDEX[name]) for name in ("Title", "Artist")]

    for code_page, title, artist in (
            (None, cp1251(CP1251_TITLE).decode("cp1252", errors="replace"),
             cp1251(CP1251_ARTIST).decode("cp1252", errors="replace")),
            (1251, CP1251_TITLE, CP1251_ARTIST)):
        sc.write_ini(DisplayMode=2, TagCodePage=code_page)
        out = sc.run_host(script, encoding="utf-8")
        expect_clean(out)
        runs = values_of(out, "valuew")
        for entry, values in zip(entries, runs):
            expect_equal([decoded(values[INDEX["Title"]]), decoded(values[INDEX["Artist"]])],
                         [["11", title], ["11", artist]], "%s, TagCodePage=%s" % (entry, code_page))
