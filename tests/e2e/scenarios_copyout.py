"""Copying entries out of the folder (FsGetFile, FsGetFileW): the entry's audio file goes
to the host's target byte for byte with its last-write time, the host's progress callback
sees 0, 100 and steps between, an existing target is answered "exists" until the host
asks again with the overwrite flag, an abort or a failure leaves no partial file and an
old target as it was, and moving out takes the entries out of the player's playlist in
one batch while the user's files stay where they are."""

import os
import shutil
import subprocess

import mpeg_files
import player_events as ev
from check import expect, expect_equal, scenario
from host_output import unescape, utf8
from scenarios_unicode import (CYRILLIC, EMOJI, GREEK, TODAYS_PLAYER, UNICODE_PLAYLIST,
                               final_playlist)
from workspace import PLAYER_CLASS

OUT = "P:\\out\\"
# FsGetFile's results and copy flags, by the interface's names.
OK, EXISTS, NOT_FOUND, READ_ERROR, WRITE_ERROR, USER_ABORT, NOT_SUPPORTED = range(7)
OVERWRITE, MOVE = 1, 4
GET_MULTI = 3
# A time of the sources that no copy made today could have by chance.
SOURCE_MTIME = 1_000_000_000.5


def music(name):
    return "P:\\music\\" + name


def content(i, size=5000):
    """Bytes of one file, different for every i."""
    return bytes((i * 7 + n) % 251 for n in range(size))


def prepare(sc, entries, sizes=None, missing=(), player_options=None, playlist=None, **ini):
    """The plug-in, the player with the entries as its playlist, every entry's file (but
    the missing ones) with its own bytes and an old time, and the empty target folder."""
    sc.install(player_options=player_options)
    sc.write_ini(DisplayMode=0, **ini)
    files = {}
    for i, path in enumerate(entries):
        if path in missing or "://" in path:
            continue
        files[path] = content(i, (sizes or {}).get(path, 5000))
        sc.write_bytes(path, files[path], mtime=SOURCE_MTIME)
    if playlist:
        sc.write_playlist(entries, path=playlist, encoding="utf-8")
    else:
        sc.write_playlist(entries)
    sc.path(OUT).mkdir(parents=True, exist_ok=True)
    return files


def expect_ran(out):
    """No crash, script error or calling-convention fault; callbacks only of progress."""
    for kind in ("crash", "error", "abi"):
        expect(not out.of(kind), "the host reported %s: %s" % (kind, out.of(kind)))
    kinds = {line[0] for line in out.of("callback")}
    expect(kinds <= {"progress", "progressw"}, "callbacks other than progress: %s" % kinds)
    expect(out.returncode == 0 and out.of("end") == [["0"]], "the host did not end normally")


def gets(out, wide=False):
    """Each getfile line as (result, local name after the call, progress calls, first
    percent, last percent)."""
    kind = "getfilew" if wide else "getfile"
    return [(int(l[0]), text(l[1], wide), int(l[2]), int(l[3]), int(l[4])) for l in out.of(kind)]


def text(printed, wide):
    """A text of the host's lines: a W call's in UTF-8, an ANSI call's in the code page."""
    return utf8(unescape(printed)) if wide else unescape(printed)


def progress_of(out, target):
    """The percents that the progress callback was given for a target, in order."""
    return [int(l[3]) for l in out.of("callback") if l[0].startswith("progress")
            and text(l[2], l[0] == "progressw") == target]


def expect_copy(sc, source, target, files, what):
    expect_equal(sc.read_bytes(target), files[source], what + ": the copy's bytes")
    expect_equal(os.stat(sc.path(target)).st_mtime, SOURCE_MTIME, what + ": the copy's write time")


def expect_sources_untouched(sc, files):
    for path, data in files.items():
        expect(sc.read_bytes(path) == data, "the source %s changed" % path)
        expect_equal(os.stat(sc.path(path)).st_mtime, SOURCE_MTIME, "the source's time " + path)


def leftovers(sc, folder=OUT):
    """Temporary copies that stayed in a folder."""
    return sorted(n for n in os.listdir(sc.path(folder)) if n.startswith("~plenvox"))


@scenario("copyout")
def copy_out_one_and_several_entries(sc):
    a, b, c = music("a.mp3"), music("b b.mp3"), music("c.mp3")
    # c is large enough for percents between 0 and 100.
    files = prepare(sc, [a, b, c], sizes={c: 6 * 1024 * 1024 + 17})
    out = sc.run_host(["init", "list \\",
                       "status start 2", "getfile \\%s %sa.mp3" % (a, OUT), "status end 2",
                       "status start %d" % GET_MULTI,
                       'getfile "\\%s" "%sb b.mp3"' % (b, OUT), "getfile \\%s %sc.mp3" % (c, OUT),
                       "status end %d" % GET_MULTI])
    expect_ran(out)
    results = gets(out)
    expect_equal([r[:2] for r in results], [(OK, OUT + "a.mp3"), (OK, OUT + "b b.mp3"),
                                            (OK, OUT + "c.mp3")], "results and targets")
    for source, target in ((a, "a.mp3"), (b, "b b.mp3"), (c, "c.mp3")):
        expect_copy(sc, source, OUT + target, files, target)
    # Small files: 0 at the start, 100 at the end; the large one steps between.
    expect_equal(progress_of(out, OUT + "a.mp3"), [0, 100], "progress of a small file")
    steps = progress_of(out, OUT + "c.mp3")
    expect(steps[0] == 0 and steps[-1] == 100 and len(steps) >= 6 and steps == sorted(steps),
           "progress of the large file: %s" % steps)
    expect_equal(out.of("callback")[0][:3], ["progress", a, OUT + "a.mp3"],
                 "the progress callback names the entry's file and the target")
    expect_equal(leftovers(sc), [], "temporary copies left")
    expect_sources_untouched(sc, files)
    # Copying changes nothing in the player: only the listing's requests.
    expect_equal(sc.player_log().events(), [ev.STARTED] + ev.WRITE_ASKED * 2, "the player's requests")
    expect_equal(sc.player_log().final_playlist(), (0, [a, b, c]), "the player's playlist")


@scenario("copyout")
def copy_out_unicode_and_300_character_names(sc):
    # Folders of their own: no name of a Linux file system holds more than 255 bytes.
    folder = "P:\\music\\" + "Очень длинное имя папки\\" * 10
    long_entry = folder + "я" * (300 - len(folder) - 4) + ".mp3"
    expect_equal(len(long_entry), 300, "length of the long entry")
    entries = [CYRILLIC, GREEK, EMOJI, long_entry]
    files = prepare(sc, entries, player_options=TODAYS_PLAYER, playlist=UNICODE_PLAYLIST)
    cut = long_entry[:259]  # as the host's record shows it
    targets = [OUT + "Кино.mp3", OUT + "Ελληνικά τραγούδια.mp3", OUT + "🎵 party 🎉.mp3",
               OUT + "длинное.mp3"]
    script = ["initw", "listw \\", "statusw start %d" % GET_MULTI]
    script += ['getfilew "\\%s" "%s"' % (name, target)
               for name, target in zip([CYRILLIC, GREEK, EMOJI, cut], targets)]
    script += ["statusw end %d" % GET_MULTI]
    out = sc.run_host(script, encoding="utf-8")
    expect_ran(out)
    expect_equal([r[:2] for r in gets(out, wide=True)], [(OK, t) for t in targets],
                 "results and targets")
    for source, target in zip(entries, targets):
        expect_copy(sc, source, target, files, target)
    expect_equal([(l[0], text(l[1], True)) for l in out.of("callback")][:1], [("progressw", CYRILLIC)],
                 "the W progress callback names the file in UTF-16")
    expect_equal(leftovers(sc), [], "temporary copies left")
    expect_sources_untouched(sc, files)


@scenario("copyout")
def existing_target_is_replaced_only_when_the_host_asks_again(sc):
    a = music("a.mp3")
    files = prepare(sc, [a])
    old = sc.write_bytes(OUT + "a.mp3", b"the old target").read_bytes()
    out = sc.run_host(["init", "list \\", "status start 2",
                       "getfile \\%s %sa.mp3" % (a, OUT), "status end 2"])
    expect_equal(gets(out)[0][:3], (EXISTS, OUT + "a.mp3", 0), "first call: exists, no copy begun")
    expect_equal(sc.read_bytes(OUT + "a.mp3"), old, "the old target after the first call")
    out = sc.run_host(["init", "list \\", "status start 2",
                       "getfile \\%s %sa.mp3 %d" % (a, OUT, OVERWRITE),
                       "getfile \\%s %sa.mp3 2" % (a, OUT),  # resume is not offered
                       "status end 2"])
    expect_ran(out)
    expect_equal([r[0] for r in gets(out)], [OK, NOT_SUPPORTED], "overwrite, then resume")
    expect_copy(sc, a, OUT + "a.mp3", files, "the replaced target")
    expect_equal(leftovers(sc), [], "temporary copies left")


@scenario("copyout")
def abort_at_half_leaves_no_partial_file_and_the_old_target(sc):
    big, other = music("big.mp3"), music("other.mp3")
    files = prepare(sc, [big, other], sizes={big: 40 * 1024 * 1024, other: 40 * 1024 * 1024})
    old = sc.write_bytes(OUT + "other.mp3", b"the old target").read_bytes()
    out = sc.run_host(["init", "list \\", "progress abort 50", "status start %d" % GET_MULTI,
                       "getfile \\%s %sbig.mp3" % (big, OUT),
                       "getfile \\%s %sother.mp3 %d" % (other, OUT, OVERWRITE),
                       "status end %d" % GET_MULTI])
    expect_ran(out)
    results = gets(out)
    expect_equal([r[0] for r in results], [USER_ABORT, USER_ABORT], "results")
    # The abort is taken at the first call that says so: no call after it.
    expect_equal([r[4] for r in results], [50, 50], "the last percent given")
    expect(not sc.exists(OUT + "big.mp3"), "an aborted copy left its target")
    expect_equal(sc.read_bytes(OUT + "other.mp3"), old, "the old target after an abort")
    expect_equal(leftovers(sc), [], "temporary copies left")
    expect_sources_untouched(sc, files)


def make_unwritable(path):
    """A folder that cannot be written to, also by root (immutable), as a user's
    read-only folder on a stick; returns how to undo it."""
    if os.geteuid() == 0 and shutil.which("chattr"):
        subprocess.run(["chattr", "+i", str(path)], check=True)
        return lambda: subprocess.run(["chattr", "-i", str(path)], check=True)
    os.chmod(path, 0o555)
    return lambda: os.chmod(path, 0o755)


@scenario("copyout")
def failures_answer_the_interface_codes(sc):
    a, gone, stream = music("a.mp3"), music("gone.mp3"), "http://radio.example/stream"
    files = prepare(sc, [a, gone, stream], missing=[gone])
    locked = "P:\\locked\\"
    sc.path(locked).mkdir()
    sc.write_bytes(locked + "a.mp3", b"the old target")
    undo = make_unwritable(sc.path(locked))
    try:
        out = sc.run_host(["init", "list \\", "status start %d" % GET_MULTI,
                           "getfile \\%s %sa.mp3" % (a, locked),
                           "getfile \\%s %sa.mp3 %d" % (a, locked, OVERWRITE),
                           'getfile \\%s "P:\\no such folder\\a.mp3"' % a,
                           "getfile \\%s %sgone.mp3" % (gone, OUT),
                           "getfile \\%s %sstream.mp3" % (stream, OUT),
                           "status end %d" % GET_MULTI])
    finally:
        undo()
    expect_ran(out)
    expect_equal([r[0] for r in gets(out)],
                 [EXISTS, WRITE_ERROR, WRITE_ERROR, NOT_FOUND, NOT_SUPPORTED], "results")
    expect_equal(sc.read_bytes(locked + "a.mp3"), b"the old target", "the target in the locked folder")
    expect_equal(leftovers(sc, locked) + leftovers(sc), [], "temporary copies left")
    expect_equal(os.listdir(sc.path(OUT)), [], "nothing copied for a missing file or a stream")
    expect_sources_untouched(sc, files)


@scenario("copyout")
def move_out_takes_the_entries_out_in_one_batch(sc):
    a, b, c, d = (music(n) for n in ("a.mp3", "b.mp3", "c.mp3", "d.mp3"))
    files = prepare(sc, [a, b, c, d])
    out = sc.run_host(["init", 'send "%s" 1024 1 121' % PLAYER_CLASS, "list \\",
                       "status start %d" % GET_MULTI,
                       "getfile \\%s %sc.mp3 %d" % (c, OUT, MOVE),
                       "getfile \\%s %sd.mp3 %d" % (d, OUT, MOVE),
                       "status end %d" % GET_MULTI, "list \\"])
    expect_ran(out)
    expect_equal([r[0] for r in gets(out)], [OK, OK], "results")
    expect_copy(sc, c, OUT + "c.mp3", files, "c")
    expect_copy(sc, d, OUT + "d.mp3", files, "d")
    expect_sources_untouched(sc, files)
    events = sc.player_log().events()
    expect_equal(len([e for e in events if e.startswith("handoff") or e.startswith("start /ADD")]), 1,
                 "hand-overs to the player for the whole operation")
    expect_equal(sc.player_log().final_playlist(), (1, [a, b]),
                 "the player's position and playlist afterwards")
    expect_equal([i.name for i in out.from_last("findfirst").items()], [a, b], "the listing afterwards")


@scenario("copyout")
def numbered_copies_carry_the_playlist_position(sc):
    entries = [music("%s.mp3" % chr(ord("a") + i)) for i in range(12)]
    files = prepare(sc, entries, NumberCopies=1)
    # The second target as a host makes it that puts the item's whole name (the entry's
    # path) behind the folder: the copy takes the file's own name.
    out = sc.run_host(["init", "list \\", "status start %d" % GET_MULTI,
                       "getfile \\%s %sc.mp3" % (entries[2], OUT),
                       "getfile \\%s %s%s" % (entries[11], OUT, entries[11]),
                       "status end %d" % GET_MULTI])
    expect_ran(out)
    expect_equal([r[:2] for r in gets(out)], [(OK, OUT + "03 - c.mp3"), (OK, OUT + "12 - l.mp3")],
                 "results and the renamed targets handed back")
    expect_copy(sc, entries[2], OUT + "03 - c.mp3", files, "03 - c.mp3")
    expect_copy(sc, entries[11], OUT + "12 - l.mp3", files, "12 - l.mp3")
    expect_equal(sorted(os.listdir(sc.path(OUT))), ["03 - c.mp3", "12 - l.mp3"], "the target folder")
