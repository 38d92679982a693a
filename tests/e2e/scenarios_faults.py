"""Faults around the plug-in: a temporary folder that cannot be written, a playlist file
that cannot be read, a player that is not there. The host gets its normal answers, the
player's playlist stays as it was, and nothing crashes."""

import player_events as ev
from check import expect, expect_clean, expect_equal, scenario
from scenarios_edits import REFRESH, expect_batch_done, music, prepare

EDIT_BATCHES = ["status start 5", "put %s" % music("c.mp3"), "status end 5",
                "status start 8", "delete \\%s" % music("a.mp3"), "status end 8"]


def expect_normal_answers(out, refreshes):
    expect_equal(out.of("put"), [["0"]], "FsPutFile answer")
    expect_equal(out.of("delete"), [["-1"]], "FsDeleteFile answer")
    expect_equal(out.kinds("posted"), [REFRESH] * refreshes, "the host's refreshes")


@scenario("faults")
def temporary_folder_that_cannot_be_written(sc):
    a, b = music("a.mp3"), music("b.mp3")
    prepare(sc, [a, b], [music("c.mp3")])
    out = sc.run_host(["init", "list \\"] + EDIT_BATCHES + ["list \\"],
                      temp="P:\\no such folder")
    expect_normal_answers(out, refreshes=2)
    # Without its temporary playlist a batch sends the player nothing: the start of the
    # delete batch has asked for the position, and that is all.
    expect_equal(sc.player_log().events(),
                 [ev.STARTED] + ev.WRITE_ASKED * 4, "the player's requests")
    expect_equal([item.name for item in out.from_last("findfirst").items()], [a, b],
                 "the listing afterwards")
    expect_batch_done(sc, out, [a, b])


@scenario("faults")
def playlist_file_that_cannot_be_read(sc):
    a, b = music("a.mp3"), music("b.mp3")
    prepare(sc, [a, b])
    playlist = "P:\\player\\winamp.m3u"
    out = sc.run_host([
        "init", "list \\", "lock " + playlist,
        "list \\",
        "status start 8", "delete \\" + a, "status end 8",
        "exec \\%s open" % a,
        "unlock " + playlist, "list \\",
    ])
    expect_equal(out.kinds("lock", "unlock"), ["lock\t%s\tok" % playlist,
                                               "unlock\t%s\tok" % playlist], "the lock")
    expect_equal(out.of("findfirst"), [["0", "0"], ["-1", "18"], ["0", "0"]],
                 "listings before, during and after the lock")
    expect_equal(out.of("delete"), [["-1"]], "FsDeleteFile answer")
    expect_equal(out.of("exec"), [["0", "\\" + a]], "FsExecuteFile answer")
    expect_equal(out.kinds("posted"), [REFRESH], "the host's refresh")
    log = sc.player_log()
    # The player cannot write the locked file either; the plug-in sends nothing that
    # would change the playlist (no clear, no position, no buttons).
    expect_equal(log.requests(), ev.REQUESTS_ASKED * 4 + [(1024, 0, 120, "write")] +
                 ev.REQUESTS_ASKED, "the player's requests")
    expect_equal(len([l for l in log.lines if l[0] == "error"]), 3,
                 "writes that failed during the lock")
    expect_batch_done(sc, out, [a, b])


@scenario("faults")
def player_that_is_not_there(sc):
    a, b = music("a.mp3"), music("b.mp3")
    prepare(sc, [a, b], [music("c.mp3")], winamp_folder="P:\\noplayer\\")
    playlist = "P:\\noplayer\\winamp.m3u"
    sc.write_playlist([a, b], path=playlist)
    before = sc.read_bytes(playlist)
    out = sc.run_host(["init", "list \\"] + EDIT_BATCHES + [
        "exec \\%s open" % a, "picker cancel", 'exec \\ "quote save"', "list \\"])
    expect_clean(out)
    expect_equal(out.of("init"), [["0"]], "FsInit answer")
    expect_normal_answers(out, refreshes=2)
    expect_equal(out.of("exec"), [["0", "\\" + a], ["0", "\\"]], "FsExecuteFile answers")
    expect_equal([item.name for item in out.from_last("findfirst").items()], [a, b],
                 "the listing afterwards")
    expect_equal(sc.read_bytes(playlist), before, "the playlist file")
    expect(not sc.exists("P:\\temp\\temp.m3u"), "the temporary playlist was left behind")
    expect_equal(sc.player_log().events(), [], "requests that reached a player")


@scenario("faults")
def delete_batch_keeps_a_playlist_with_a_ctrl_z_whole(sc):
    """The player's playlist holds an entry with a Ctrl-Z inside: reading stops there,
    so a filtered copy would lose the entries behind it; the batch changes nothing."""
    a, b, c = music("a.mp3"), music("b.mp3"), music("c.mp3")
    playlist = [a, b, music("half\x1arest.mp3"), c]
    prepare(sc, playlist)
    out = sc.run_host(["init", "list \\", "status start 8", "delete \\" + a, "status end 8"])
    expect_equal([item.name for item in out.items()], [a, b, music("half")],
                 "the listing ends at the Ctrl-Z")
    expect_equal(sc.player_log().events(), [ev.STARTED] + ev.WRITE_ASKED * 3,
                 "the player's requests")
    expect_equal(out.kinds("posted"), [REFRESH], "the host's refresh")
    expect_batch_done(sc, out, playlist)
