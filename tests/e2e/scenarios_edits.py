"""Adding by copying into the folder and removing by deleting from it, through the real
player link: the stand-in's log shows the exact requests in order, its playlist
afterwards is right, the temporary playlist is gone and the host got its refresh."""

import player_events as ev
from check import expect, expect_clean, expect_equal, scenario
from workspace import PLAYER_CLASS, TEMP_PLAYLIST

REFRESH = "posted\t1075\t540\t0"


def music(name):
    return "P:\\music\\" + name


def prepare(sc, playlist, other_files=(), **ini):
    """The plug-in, the stand-in player with the playlist, and the files that exist."""
    sc.install()
    sc.write_ini(DisplayMode=0, **ini)
    for path in set(playlist) | set(other_files):
        sc.write_bytes(path, b"not really audio")
    sc.write_playlist(playlist)


def expect_batch_done(sc, out, playlist, position=0):
    """The end of the story of every batch: no fault, the temporary playlist gone, and
    the player's playlist (logged when it was closed) as expected."""
    expect_clean(out)
    expect(not sc.exists(TEMP_PLAYLIST), "the temporary playlist was left behind")
    expect_equal(sc.player_log().final_playlist(), (position, playlist),
                 "the player's position and playlist afterwards")


def names_listed_last(out):
    """The names of the last listing of the run."""
    return [item.name for item in out.from_last("findfirst").items()]


@scenario("edits")
def add_batch_filters_duplicates_and_dead_files(sc):
    a, b, c, d = music("a.mp3"), music("b.mp3"), music("c.mp3"), music("d.MP3")
    prepare(sc, [a, b], [c, d, music("song.wav"), music("noext"), music("dir.x\\file")])
    out = sc.run_host([
        "init", "list \\", "status start 5",
        "put " + c,
        "put " + a,                     # already an entry
        "put " + music("song.wav"),     # refused by the filter "mp3"
        "put " + music("noext"),
        "put " + music("dir.x\\file"),  # the dot is the folder's: no extension
        "put " + music("dead.mp3"),     # no such file
        "put " + d,                     # the filter ignores the letter case
        "status end 5", "list \\",
    ])
    expect_equal(out.of("put"), [["0"]] * 7, "FsPutFile answers")
    expect_equal(out.kinds("status", "posted"), [
        "status\tstart\t1", "status\tend\t1", "status\tstart\t5", REFRESH, "status\tend\t5",
        "status\tstart\t1", "status\tend\t1"], "notifications and the host's refresh")
    expect_equal(sc.player_log().events(),
                 [ev.STARTED] + ev.WRITE_ASKED * 2 + ev.add_batch(2) + ev.WRITE_ASKED,
                 "the player's requests")
    expect_equal(names_listed_last(out), [a, b, c, d], "the listing after the batch")
    expect_batch_done(sc, out, [a, b, c, d])


@scenario("edits")
def add_batch_with_the_switches_off(sc):
    a, b = music("a.mp3"), music("b.mp3")
    wav, dead = music("song.WAV"), music("dead.mp3")
    prepare(sc, [a, b], [wav, music("noext")], ExtFilter="mp3:wav:", BlockDead=0,
            DisableMulti=0)
    out = sc.run_host(["init", "list \\", "status start 5", "put " + a, "put " + wav,
                       "put " + dead, "put " + music("noext"), "status end 5"])
    expect_equal(sc.player_log().events(),
                 [ev.STARTED] + ev.WRITE_ASKED * 2 + ev.add_batch(3), "the player's requests")
    expect_equal(out.kinds("posted"), [REFRESH], "the host's refresh")
    expect_batch_done(sc, out, [a, b, a, wav, dead])


@scenario("edits")
def add_batch_refusing_everything(sc):
    a = music("a.mp3")
    prepare(sc, [a], [music("song.wav")])
    out = sc.run_host(["init", "list \\", "status start 5", "put " + music("song.wav"),
                       "status end 5"])
    # The header-only playlist still goes to the player, and the host still refreshes.
    expect_equal(sc.player_log().events(),
                 [ev.STARTED] + ev.WRITE_ASKED * 2 + ev.add_batch(0), "the player's requests")
    expect_equal(out.kinds("posted"), [REFRESH], "the host's refresh")
    expect_batch_done(sc, out, [a])


@scenario("edits")
def delete_batch_keeps_the_current_song(sc):
    a, b, c, d = (music(n) for n in ("a.mp3", "b.mp3", "c.mp3", "d.mp3"))
    prepare(sc, [a, b, c, d, b])
    out = sc.run_host([
        "init", 'send "%s" 1024 2 121' % PLAYER_CLASS, "list \\", "status start 8",
        "delete \\" + a,
        "delete \\" + b,
        "delete \\" + b,                # the same path again: still its first entry
        "delete \\" + music("zzz.mp3"),  # not in the playlist
        "status end 8", "list \\",
    ])
    expect_equal(out.of("delete"), [["-1"]] * 4, "FsDeleteFile answers (true)")
    expect_equal(out.kinds("status", "posted")[2:], [
        "status\tstart\t8", REFRESH, "status\tend\t8", "status\tstart\t1", "status\tend\t1"],
        "notifications and the host's refresh")
    # c was current at 2; the two entries before it went, so it is current at 0.
    expect_equal(sc.player_log().events(),
                 [ev.STARTED] + ev.WRITE_ASKED + [ev.position(2)] + ev.WRITE_ASKED * 2 +
                 ev.delete_batch(kept=3, saved_position=0) + ev.WRITE_ASKED,
                 "the player's requests")
    expect_equal(sc.player_log().answers("write")[-1], 0, "the position the player reports last")
    expect_equal(names_listed_last(out), [c, d, b], "the listing after the batch")
    expect_batch_done(sc, out, [c, d, b], position=0)


# Delete batches one after the other on the same playlist, each from the current entry
# (set first when given): what goes, and the entry that is current afterwards.
SONGS = [music(n + ".mp3") for n in "abcdefgh"]
DELETE_CASES = [
    # (what, the entry made current first, the entries deleted, the entry current afterwards)
    ("an entry before the current one", "d", "b", "d"),
    ("an entry after it", None, "g", "d"),
    ("entries before and after it", None, "af", "d"),
    ("the current entry itself: the one after it", None, "d", "e"),
    ("the last entry, current: the first", "h", "h", "c"),
]


@scenario("edits")
def delete_batches_keep_the_same_song_current(sc):
    playlist = list(SONGS)
    prepare(sc, playlist)
    script, positions = ["init"], []
    current = None
    for what, make_current, deleted, expected in DELETE_CASES:
        if make_current:
            current = playlist.index(music(make_current + ".mp3"))
            script.append('send "%s" 1024 %d 121' % (PLAYER_CLASS, current))
            positions.append(current)
        script += ["list \\", "status start 8"] + ["delete \\" + music(n + ".mp3") for n in deleted]
        script.append("status end 8")
        playlist = [p for p in playlist if p not in [music(n + ".mp3") for n in deleted]]
        current = playlist.index(music(expected + ".mp3"))
        positions.append(current)
    out = sc.run_host(script)
    expect_clean(out)
    log = sc.player_log()
    expect_equal([e for e in log.events() if e.startswith("position")],
                 [ev.position(p) for p in positions],
                 "the positions set: the same song each time (%s)" % ", ".join(c[0] for c in DELETE_CASES))
    expect_equal(log.events().count(ev.CLEAR), len(DELETE_CASES), "one hand-over per batch")
    expect_batch_done(sc, out, playlist, position=current)


@scenario("edits")
def delete_batch_finding_nothing_hands_the_player_nothing(sc):
    a, b = music("a.mp3"), music("b.mp3")
    prepare(sc, [a, b])
    out = sc.run_host(["init", 'send "%s" 1024 1 121' % PLAYER_CLASS, "list \\",
                       "status start 8", "delete \\" + music("zzz.mp3"), "status end 8"])
    expect_equal(sc.player_log().events(),
                 [ev.STARTED] + ev.WRITE_ASKED + [ev.position(1)] + ev.WRITE_ASKED * 2,
                 "the player's requests: no clear, no playlist, no position")
    expect_equal(out.kinds("posted"), [REFRESH], "the host's refresh")
    expect_batch_done(sc, out, [a, b], position=1)


@scenario("edits")
def single_copy_and_delete_outside_a_batch(sc):
    """The host wraps the copy of a single file in operation 4, which opens no batch:
    the plug-in applies the one change at once, as a batch of its own. A delete without
    its batch is applied the same way."""
    a, b, c = music("a.mp3"), music("b.mp3"), music("c.mp3")
    prepare(sc, [a, b], [c])
    out = sc.run_host(["init", "list \\", "status start 4", "put " + c, "status end 4",
                       "delete \\" + a])
    expect_equal(out.kinds("status", "put", "delete", "posted")[2:], [
        "status\tstart\t4", REFRESH, "put\t0", "status\tend\t4", REFRESH, "delete\t-1"],
        "answers and refreshes")
    expect_equal(sc.player_log().events(),
                 [ev.STARTED] + ev.WRITE_ASKED * 2 + ev.add_batch(1) +
                 ev.WRITE_ASKED + ev.delete_batch(kept=2, saved_position=0),
                 "the player's requests")
    expect_batch_done(sc, out, [b, c])


@scenario("edits")
def temporary_folder_with_a_blank(sc):
    """The temporary playlist's path has a blank: the player still receives it whole."""
    a, c = music("a.mp3"), music("c.mp3")
    prepare(sc, [a], [c])
    sc.path("P:\\temp dir").mkdir()
    temp_playlist = "P:\\temp dir\\temp.m3u"
    out = sc.run_host(["init", "list \\", "status start 5", "put " + c, "status end 5"],
                      temp="P:\\temp dir")
    expect_equal(sc.player_log().events(),
                 [ev.STARTED] + ev.WRITE_ASKED * 2 + ev.add_batch(1, temp_playlist),
                 "the player's requests")
    expect(not sc.exists(temp_playlist), "the temporary playlist was left behind")
    expect_batch_done(sc, out, [a, c])


@scenario("edits")
def add_batch_after_the_player_was_closed(sc):
    """The player was closed between the listing and the end of the copy: "/ADD" starts
    it again with its playlist plus the additions, and the write after it reaches the
    new instance."""
    a, c = music("a.mp3"), music("c.mp3")
    prepare(sc, [a], [c])
    out = sc.run_host(["init", "list \\", 'close "%s" 10000' % PLAYER_CLASS,
                       "status start 5", "put " + c, "status end 5"])
    expect_equal(out.of("close")[0], [PLAYER_CLASS, "closed"], "the player closed")
    expect_equal(sc.player_log().events(),
                 [ev.STARTED] + ev.WRITE_ASKED * 2 +
                 [ev.started_adding(), ev.added(1), ev.WRITE],
                 "the player's requests")
    expect_batch_done(sc, out, [a, c])


@scenario("edits")
def entries_of_255_characters(sc):
    """An entry whose path has 255 characters is found by its name in the folder (a
    backslash and the path) both to play it and to delete it."""
    folder = "P:\\music\\" + "d" * 100 + "\\"
    long_entry = folder + "f" * (255 - len(folder) - 4) + ".mp3"
    b = music("b.mp3")
    prepare(sc, [b, long_entry])
    out = sc.run_host(["init", "list \\", 'exec "\\%s" open' % long_entry,
                       "status start 8", 'delete "\\%s"' % long_entry, "status end 8"])
    expect_equal([item.name for item in out.items()], [b, long_entry], "the listing")
    expect_equal(sc.player_log().events(),
                 [ev.STARTED] + ev.WRITE_ASKED * 2 + [ev.WRITE, ev.position(1), ev.STOP, ev.PLAY] +
                 ev.WRITE_ASKED + ev.delete_batch(kept=1, saved_position=0),
                 "the player's requests")
    # The current (and last) entry went: the first one is current.
    expect_batch_done(sc, out, [b], position=0)
