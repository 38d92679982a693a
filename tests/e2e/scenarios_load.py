"""Loading the plug-in, its root name and about box, the first run without settings,
and the start of the player by FsInit."""

import player_events as ev
from check import expect, expect_clean, expect_equal, scenario
from workspace import PLAYER_CLASS

# The entry points the built plug-in exports, all found by their undecorated names.
ENTRY_POINTS = ["FsInit", "FsGetDefRootName", "FsFindFirst", "FsFindNext", "FsFindClose",
                "FsGetFile", "FsStatusInfo", "FsPutFile", "FsDeleteFile", "FsExecuteFile"]
# Their Unicode forms, beside them.
WIDE_ENTRY_POINTS = ["FsInitW", "FsFindFirstW", "FsFindNextW", "FsGetFileW", "FsStatusInfoW",
                     "FsPutFileW", "FsDeleteFileW", "FsExecuteFileW"]
# The content columns' entry points.
CONTENT_ENTRY_POINTS = ["FsContentGetSupportedField", "FsContentGetSupportedFieldFlags",
                        "FsContentGetDefaultSortOrder", "FsContentGetDefaultView",
                        "FsContentGetDefaultViewW", "FsContentGetValue", "FsContentGetValueW",
                        "FsContentStopGetValue", "FsContentStopGetValueW",
                        "FsContentPluginUnloading"]
# The items' icons and thumbnails.
PICTURE_ENTRY_POINTS = ["FsExtractCustomIcon", "FsExtractCustomIconW", "FsGetPreviewBitmap",
                        "FsGetPreviewBitmapW"]

ABOUT_BOX = "msgbox\thost\tinformation\tOK\tInformation\tPlenvox2 (Fast) version 1.0 by Quorlan."
FIRST_RUN_BOX = ("msgbox\thost\tinformation\tOK\tFirst run message\t"
                 "Main settings file not found or empty. Please, run SETTINGS.EXE")
EMPTY_FOLDER = "findfirst\t-1\t18"


def empty_command_lines(program):
    """What a program started with an empty command line receives: under Wine its own
    quoted path (Windows would give it an empty line)."""
    return ("", '"%s"' % program)


@scenario("load")
def exports_root_name_and_about_box(sc):
    sc.install()
    sc.write_ini()
    out = sc.run_host(["rootname 260", "rootname 12", "rootname 11", "rootname 5", "rootname 1",
                       "getfile \\P:\\music\\a.mp3 P:\\temp\\copy.mp3"])
    expect_clean(out)
    found = sorted(name for name, state in out.exports().items() if state == "found")
    expect_equal(found, sorted(ENTRY_POINTS + WIDE_ENTRY_POINTS + CONTENT_ENTRY_POINTS +
                        PICTURE_ENTRY_POINTS),
                 "exports found by name")
    expect_equal(out.kinds("msgbox", "rootname"), [
        ABOUT_BOX, "rootname\t260\tPlenvoxFast\tintact",
        ABOUT_BOX, "rootname\t12\tPlenvoxFast\tintact",
        ABOUT_BOX, "rootname\t11\tPlenvoxFas\tintact",
        ABOUT_BOX, "rootname\t5\tPlen\tintact",
        ABOUT_BOX, "rootname\t1\t\tintact",
    ], "root names and about boxes")
    # Before FsInit, and for a file that does not exist: nothing is copied.
    expect_equal(out.of("getfile")[0][0], "2", "FsGetFile of a missing file: not found")
    expect(not sc.exists("P:\\temp\\copy.mp3"), "FsGetFile made a target for a missing file")
    # Loading and the about box leave the player alone.
    expect_equal(sc.player_log().events(), [], "player log")


@scenario("load", registry=False)
def unconfigured_first_run(sc):
    sc.install()
    # The player's program without a folder is looked for in the current folder.
    sc.install_recorder("P:\\winamp.exe")
    out = sc.run_host(["init", "list \\", "findfirst \\x", 'findfirst ""', "findnext"])
    expect_clean(out)
    expect_equal(out.kinds("init", "msgbox", "findfirst", "findnext"), [
        "init\t0",
        FIRST_RUN_BOX, EMPTY_FOLDER,
        FIRST_RUN_BOX, EMPTY_FOLDER,
        FIRST_RUN_BOX, EMPTY_FOLDER,
        "findnext\t0",
    ], "first-run messages and empty listings")
    started = sc.recorded("P:\\plugin\\settings.log", expect=3)
    expect_equal(len(started), 3, "starts of settings.exe beside the plug-in")
    expect(all(line in empty_command_lines("P:\\plugin\\settings.exe") for line in started),
           "settings.exe started with a command line: %r" % started)
    # FsInit still asks the player, whose program is then plain "winamp.exe".
    expect(len(sc.recorded("P:\\winamp.log", expect=1)) >= 1, "winamp.exe was not started")


@scenario("load")
def init_starts_the_player(sc):
    sc.install()
    sc.write_ini()
    sc.write_playlist(["P:\\music\\a.mp3"])
    out = sc.run_host(["init", 'waitwindow "%s" 10000' % PLAYER_CLASS])
    expect_clean(out)
    expect_equal(out.kinds("init", "window"), ["init\t0", "window\t%s\tfound" % PLAYER_CLASS],
                 "FsInit and the player's window")
    log = sc.player_log()
    expect_equal(log.starts(), [("", "5")], "player starts (WinampExe, SW_SHOW)")
    expect_equal(log.requests(), ev.REQUESTS_ASKED, "requests that reached the player")


@scenario("load")
def init_with_the_player_running(sc):
    sc.install()
    sc.write_ini()
    sc.write_playlist(["P:\\music\\a.mp3"])
    out = sc.run_host(["init", 'waitwindow "%s" 10000' % PLAYER_CLASS, "init"])
    expect_clean(out)
    log = sc.player_log()
    expect_equal(log.starts(), [("", "5")], "player starts")
    expect_equal(log.requests(), ev.REQUESTS_ASKED * 2,
                 "one request per FsInit, no second start")
    expect_equal(out.kinds("posted", "sent", "msgbox"), [], "messages to the host, boxes")
