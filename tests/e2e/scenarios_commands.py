"""Commands on the folder and its entries: open plays the entry, properties starts the
editor or the settings program, save copies the playlist to the folder picked in the
real folder picker."""

import player_events as ev
from check import expect, expect_clean, expect_equal, scenario
from scenarios_edits import music, prepare
from scenarios_load import empty_command_lines

EDITOR = "P:\\tools\\editor.exe"
SETTINGS_PROGRAM = "P:\\tools\\setprog.exe"
PLAYLIST = "P:\\player\\winamp.m3u"


def played(number):
    return [ev.WRITE, ev.position(number), ev.STOP, ev.PLAY]


@scenario("commands")
def open_plays_the_entry(sc):
    a, b = music("a.mp3"), music("b.mp3")
    prepare(sc, [a, b, a])
    out = sc.run_host([
        "init", "list \\",
        "exec \\%s open" % b,
        "exec \\%s open" % a,                  # twice in the playlist: the first one
        "exec \\%s open" % music("zzz.mp3"),   # not there: position -1
        "exec \\%s Open" % b,                  # verbs are compared exactly
        "findfirst \\x",                       # no entries outside the root
        "exec \\%s open" % b,
    ])
    expect_clean(out)
    expect_equal([line[0] for line in out.of("exec")], ["0"] * 5, "FsExecuteFile answers")
    expect_equal(sc.player_log().events(),
                 [ev.STARTED] + ev.WRITE_ASKED * 2 + played(1) + played(0) + played(-1),
                 "the player's requests")


@scenario("commands")
def properties_start_the_editor_and_the_settings_program(sc):
    entry = music("a b.mp3")
    prepare(sc, [entry], editor=EDITOR, settings=SETTINGS_PROGRAM)
    sc.install_recorder(EDITOR)
    sc.install_recorder(SETTINGS_PROGRAM)
    out = sc.run_host(["init", "list \\", 'exec "\\%s" properties' % entry, "exec \\ properties"])
    expect_clean(out)
    expect_equal(out.of("exec"), [["0", "\\" + entry], ["0", "\\"]], "FsExecuteFile answers")
    # The editor gets the entry's name as the host passed it, blank and all, unquoted.
    expect_equal(sc.recorded("P:\\tools\\editor.log"), ["\\" + entry], "the editor's command line")
    started = sc.recorded("P:\\tools\\setprog.log")
    expect(len(started) == 1 and started[0] in empty_command_lines(SETTINGS_PROGRAM),
           "the settings program's command lines: %r" % started)
    # The folder command has the player write its playlist first.
    expect_equal(sc.player_log().events(), [ev.STARTED] + ev.WRITE_ASKED * 2 + [ev.WRITE],
                 "the player's requests")

    sc.write_ini(DisplayMode=0, editor=EDITOR)  # no settings program any more
    out = sc.run_host(["init", "list \\", "exec \\ properties"])
    expect_clean(out)
    expect_equal(out.of("exec"), [["1", "\\"]], "properties of the folder without a program")


@scenario("commands")
def save_copies_the_playlist_to_the_chosen_folder(sc):
    prepare(sc, [music("a.mp3"), music("b.mp3")])
    sc.write_bytes("P:\\lists\\Plenvox.m3u", b"an older copy\r\n")
    out = sc.run_host([
        "init", "list \\",
        "picker choose P:\\lists", 'exec \\ "quote save"',
        "picker choose P:\\", 'exec \\ "Quote SAVE"',
    ])
    expect_clean(out)
    pickers = out.of("picker")
    expect_equal([(p[0], p[3], p[4]) for p in pickers],
                 [("host", "choose", "P:\\lists"), ("host", "choose", "P:\\")],
                 "the pickers: owner and choice")
    expect(all("Save playlist" in p[2].split("|") for p in pickers),
           "the picker's title: %r" % pickers)
    expect_equal(out.of("exec"), [["0", "\\"]] * 2, "FsExecuteFile answers")
    playlist = sc.read_bytes(PLAYLIST)
    expect_equal(sc.read_bytes("P:\\lists\\Plenvox.m3u"), playlist, "the copy in P:\\lists")
    expect_equal(sc.read_bytes("P:\\Plenvox.m3u"), playlist, "the copy in the drive's root")
    # Each save has the player write first; the folder command then writes once more.
    expect_equal(sc.player_log().events(), [ev.STARTED] + ev.WRITE_ASKED * 2 + [ev.WRITE] * 4,
                 "the player's requests")

    for copy in ("P:\\lists\\Plenvox.m3u", "P:\\Plenvox.m3u"):
        sc.path(copy).unlink()
    out = sc.run_host(["init", "list \\", "picker cancel", "exec \\ save",
                       "picker choose P:\\lists", 'exec \\ "quote  save"'])
    expect_clean(out)
    expect_equal([(p[3], p[4]) for p in out.of("picker")], [("cancel", "")],
                 "pickers: one cancelled, none for two blanks after quote")
    expect_equal(out.of("exec"), [["0", "\\"]] * 2, "FsExecuteFile answers")
    expect(not sc.exists("P:\\lists\\Plenvox.m3u") and not sc.exists("P:\\Plenvox.m3u"),
           "a copy was made without a chosen folder")


@scenario("commands", registry=False)
def commands_without_settings_answer_one(sc):
    sc.install()
    sc.write_playlist([music("a.mp3")])
    out = sc.run_host(["init", "exec \\ properties", "exec \\x open", 'exec \\ "quote save"',
                       "exec \\x properties", "exec \\ open"])
    expect_clean(out)
    expect_equal(out.of("exec"), [["1", "\\"], ["1", "\\x"], ["1", "\\"], ["1", "\\x"],
                                  ["1", "\\"]], "FsExecuteFile answers")
    expect_equal(out.kinds("picker", "msgbox"), [], "pickers and message boxes")
    expect_equal(sc.player_log().events(), [], "the player's requests")
