"""Listing the playlist through the real file system and INI reader: display modes 0, 1,
2 and an unknown one, the playlist file's line rules, long paths and paths other than
the root."""

import calendar

import mpeg_files
import player_events as ev
from check import expect, expect_clean, expect_equal, scenario
from host_output import LAST_ERROR_MARKER, UNCHANGED
from workspace import filetime_of

NO_TIME = "%016x" % 0xFFFFFFFFFFFFFFFE  # the host's mark for a time that is not known
MARCH_2021 = calendar.timegm((2021, 3, 4, 5, 6, 7))
JUNE_2019 = calendar.timegm((2019, 6, 30, 23, 59, 58))
# Fields compared with the host's own FindFirstFileA record (the reserved words of that
# record are not defined and are left out).
FILE_FIELDS = ("attributes", "creation", "access", "write", "size_high", "size_low",
               "short_name")


def no_file_item(name, size=0):
    """An item that shows no file (mode 0, or an entry without a file): every field
    written, as "none" (no attributes, no time, no size, no short name), the size field
    holding a play time in mode 2."""
    return ["00000000", NO_TIME, NO_TIME, NO_TIME, "0", str(size), "00000000", "00000000",
            name, ""]


def stat_script(paths):
    """The host's own look-up of each path, after the listing."""
    return ['stat "%s"' % p for p in paths]


def expect_file_fields(listed, stat, what, play_time=None):
    """The listed item carries the file's own record, as the host's look-up gives it;
    with a play time, that stands in the size fields instead."""
    expect(stat is not None, "the host cannot find " + what)
    for field in FILE_FIELDS:
        expected = stat[field]
        if play_time is not None and field in ("size_high", "size_low"):
            expected = "0" if field == "size_high" else str(play_time)
        expect_equal(listed[field], expected, "%s: %s" % (what, field))


@scenario("listing")
def mode0_names_only(sc):
    sc.install()
    sc.write_ini(DisplayMode=0)
    names = ["P:\\music\\one.mp3", "P:\\music\\two words.mp3", "P:\\music\\not there.mp3"]
    sc.write_bytes(names[0], b"x" * 10, MARCH_2021)
    sc.write_playlist(names)
    out = sc.run_host(["init", "list \\"])
    expect_clean(out)
    expect_equal([i.row() for i in out.items()],
                 [no_file_item(n) for n in names], "mode 0 items")
    expect_equal(out.of("findnext"), [["-1"], ["-1"], ["0"]], "FsFindNext answers")
    expect_equal(out.of("list"), [["3"]], "items listed")
    # FsInit and the announced listing each have the player write its playlist first.
    expect_equal(sc.player_log().requests(), ev.REQUESTS_ASKED * 2, "player requests")


@scenario("listing")
def mode1_file_data(sc):
    sc.install()
    sc.write_ini(DisplayMode=1)
    one, two = "P:\\music\\one.mp3", "P:\\music\\two words.mp3"
    missing, folder = "P:\\music\\missing.mp3", "P:\\music"
    big = "P:\\music\\big.bin"
    sc.write_bytes(one, b"1" * 1000, MARCH_2021)
    sc.write_bytes(two, b"2" * 123457, JUNE_2019)
    with open(sc.path(big), "wb") as sparse:  # 5 GiB without using the space
        sparse.truncate(5 * 1024 ** 3 + 17)
    entries = [one, two, missing, folder, big]
    sc.write_playlist(entries)
    out = sc.run_host(["init", "list \\"] + stat_script(entries))
    expect_clean(out)
    items = out.items()
    expect_equal([i.name for i in items], entries, "names")
    listed = dict(zip(entries, items))
    stats = out.stats()
    for path in (one, two, folder, big):
        expect_file_fields(listed[path], stats[path], path)
    # The host's look-up agrees with the files as they are on disk.
    expect_equal((listed[one]["size_low"], listed[one]["write"]),
                 ("1000", filetime_of(MARCH_2021)), "size and time of " + one)
    expect_equal((listed[two]["size_low"], listed[two]["write"]),
                 ("123457", filetime_of(JUNE_2019)), "size and time of " + two)
    expect_equal((listed[big]["size_high"], listed[big]["size_low"]), ("1", str(1024 ** 3 + 17)),
                 "size of " + big)
    expect_equal(listed[folder]["attributes"], "00000010", "attributes of a folder entry")
    expect_equal(listed[missing].row(), no_file_item(missing), "a missing file: no file's data")


@scenario("listing")
def mode2_play_times(sc):
    sc.install()
    sc.write_ini(DisplayMode="2")
    files = {
        "P:\\music\\cbr.mp3": mpeg_files.constant_bit_rate(480),
        "P:\\music\\tagged.mp3": mpeg_files.constant_bit_rate(800, 2048, "Tagged"),
        "P:\\music\\xing.mp3": mpeg_files.xing(10000),
        "P:\\music\\noise.mp3": mpeg_files.not_audio(),
    }
    for path, mpeg in files.items():
        sc.write_bytes(path, mpeg.data, MARCH_2021)
    missing = "P:\\music\\gone.mp3"
    entries = list(files) + [missing]
    sc.write_playlist(entries)
    # The records as the host finds them before the listing: the plug-in shows each
    # file's record as it found it, before its own read of the file for the play time.
    out = sc.run_host(stat_script(files) + ["init", "list \\"])
    expect_clean(out)
    items = out.items()
    expect_equal([i.name for i in items], entries, "names")
    stats = out.stats()
    for item, (path, mpeg) in zip(items, files.items()):
        expect_file_fields(item, stats[path], path, play_time=mpeg.whole_seconds)
    expect_equal(items[-1].row(), no_file_item(missing), "a missing file: a play time of 0")


@scenario("listing")
def no_record_carries_another_entrys_data(sc):
    """A stream entry after a file, listed in each mode through both entry points, into
    records that the host fills with its marker before each call: every field of every
    record is written, and the stream's show no file."""
    sc.install()
    one, stream = "P:\\music\\one.mp3", "http://stream.invalid/live.mp3"
    sc.write_bytes(one, mpeg_files.constant_bit_rate(480).data, MARCH_2021)
    sc.write_playlist([one, stream])
    for mode in (0, 1, 2):
        sc.write_ini(DisplayMode=mode)
        out = sc.run_host(["init", "list \\", "initw", "listw \\"], encoding="utf-8")
        expect_clean(out)
        for form, items in (("ANSI", out.items()), ("Unicode", out.wide_items())):
            rows = [i.row() for i in items]
            expect_equal([r[-2] for r in rows], [one, stream], "mode %d, %s: names" % (mode, form))
            expect(all(UNCHANGED not in r for r in rows),
                   "mode %d, %s: a field left as passed: %r" % (mode, form, rows))
            expect_equal(rows[1], no_file_item(stream), "mode %d, %s: the stream" % (mode, form))
            if mode == 0:
                expect_equal(rows[0], no_file_item(one), "mode 0, %s: the file" % form)
            else:
                expect_equal(rows[0][3], filetime_of(MARCH_2021), "mode %d, %s: the file's time" % (mode, form))


@scenario("listing")
def unknown_mode_writes_nothing(sc):
    sc.install()
    sc.write_ini(DisplayMode=3)
    sc.write_playlist(["P:\\music\\a.mp3", "P:\\music\\b.mp3"])
    out = sc.run_host(["init", "list \\"])
    expect_clean(out)
    expect_equal([i.row() for i in out.items()], [[UNCHANGED] * 10] * 2,
                 "records of mode 3 (the name the host passed counts as an item)")


@scenario("listing")
def long_paths(sc):
    sc.install()
    sc.write_ini(DisplayMode=1)
    folder = "P:\\music\\" + "d" * 100 + "\\"
    exact = folder + "f" * (255 - len(folder) - 4) + ".mp3"
    too_long = "P:\\music\\" + "L" * 290
    expect_equal(len(exact), 255, "length of the long path")
    sc.write_bytes(exact, b"7" * 777, MARCH_2021)
    sc.write_playlist([exact, too_long, "P:\\music\\after.mp3"])
    out = sc.run_host(["init", "list \\"])
    expect_clean(out)
    items = out.items()
    expect_equal([i.name for i in items], [exact, too_long[:255], "P:\\music\\after.mp3"],
                 "names of 255 characters")
    expect_equal((items[0]["size_low"], items[0]["write"]), ("777", filetime_of(MARCH_2021)),
                 "file data behind a 255-character path")


@scenario("listing")
def playlist_line_rules(sc):
    """The playlist file as written by hand, read without asking the player."""
    sc.install()
    sc.write_ini(DisplayMode=0)
    raw = (b"whatever header\n"
           b"#EXTINF:1,first\r\nP:\\a.mp3\r\n"
           b"P:\\b\rc.mp3\n"          # a lone CR is dropped, the line goes on
           b"\r\n"                      # an empty entry among later entries
           b"#comment line\n"
           b"P:\\last.mp3\n"
           b"\x1aP:\\after-ctrl-z.mp3\n")
    sc.write_bytes("P:\\player\\winamp.m3u", raw)
    out = sc.run_host(["list \\ nostatus"])
    expect_clean(out)
    expect_equal([i.name for i in out.items()],
                 ["P:\\a.mp3", "P:\\bc.mp3", "", "#comment line", "P:\\last.mp3"],
                 "entries by the line rules")
    expect_equal(sc.player_log().events(), [], "a listing alone does not ask the player")


@scenario("listing")
def empty_and_missing_playlists(sc):
    sc.install()
    sc.write_ini(DisplayMode=1)
    playlist = sc.path("P:\\player\\winamp.m3u")
    cases = [("header only", b"#EXTM3U\r\n"),
             ("an empty first entry", b"#EXTM3U\r\n\r\nP:\\later.mp3\r\n"),
             ("no playlist file", None)]
    for what, content in cases:
        if content is None:
            playlist.unlink()
        else:
            playlist.write_bytes(content)
        out = sc.run_host(["list \\ nostatus", "findnext", "lasterror"])
        expect_clean(out)
        expect_equal(out.kinds("findfirst", "item", "findnext", "lasterror"),
                     ["findfirst\t-1\t18", "findnext\t0", "lasterror\t%d" % LAST_ERROR_MARKER],
                     "listing of a playlist with " + what)


@scenario("listing")
def paths_other_than_the_root(sc):
    sc.install()
    sc.write_ini(DisplayMode=0)
    sc.write_playlist(["P:\\music\\a.mp3", "P:\\music\\b.mp3"])
    out = sc.run_host([
        "findfirst \\", "findfirst \\x", "findnext",     # an open listing ends with \x
        "findfirst \\\\", 'findfirst ""', "findfirst /", "findclose",
        "findfirst \\", "findnext", "findnext", "findclose",
    ])
    expect_clean(out)
    # After a listing that opens, the last error is not defined; the empty ones leave 18.
    answers = ["findfirst\t0" if line.startswith("findfirst\t0\t") else line
               for line in out.kinds("findfirst", "findnext")]
    expect_equal(answers, [
        "findfirst\t0", "findfirst\t-1\t18", "findnext\t0",
        "findfirst\t-1\t18", "findfirst\t-1\t18", "findfirst\t-1\t18",
        "findfirst\t0", "findnext\t-1", "findnext\t0",
    ], "listings of the root and of other paths")


@scenario("listing")
def settings_through_the_ini_reader(sc):
    """The real private-profile reader: section and key names in any case, blanks and
    quotation marks around values, a hexadecimal display mode, and the
    %commander_path% placeholder filled from the host's environment at load (lower-cased;
    the file system finds the folder whatever its case)."""
    sc.install()
    sc.write_bytes("P:\\plenvox.ini", (
        "[PATH]\r\n"
        "  winampfolder =  \"%commander_path%\\player\\\"  \r\n"
        "[mode]\r\n"
        "DISPLAYMODE = 0x0\r\n").encode("latin-1"))
    sc.write_playlist(["P:\\music\\a.mp3"], path="P:\\Host\\player\\winamp.m3u")
    out = sc.run_host(["list \\ nostatus"], env={"commander_path": "P:\\Host"})
    expect_clean(out)
    expect_equal([i.row() for i in out.items()], [no_file_item("P:\\music\\a.mp3")],
                 "listing with the settings read through the placeholder")
    out = sc.run_host(["list \\ nostatus"])
    expect_clean(out)
    expect_equal(out.kinds("findfirst", "msgbox"), ["findfirst\t-1\t18"],
                 "without commander_path the player's folder is \\player\\, which has no playlist")
