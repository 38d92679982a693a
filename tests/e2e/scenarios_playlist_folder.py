"""Where the plug-in reads the player's playlist: the one that the player has just
written. In the folder of the INI key [Path] PlaylistFolder when the player has just
written it there; else in the folder that the running player reports (338, else 337,
read from the player's memory); else in WinampFolder. Each folder here holds a playlist
of its own, written long ago, so the listing shows which one was read; a delete batch
hands the player nothing when no folder holds a playlist that it has just written."""

import calendar

import player_events as ev
from check import expect, expect_clean, expect_equal, scenario
from scenarios_edits import REFRESH
from workspace import PLAYER_CLASS, PLAYER_FOLDER, SETTINGS_FOLDER, TEMP_PLAYLIST

PROGRAM_FOLDER_ENTRY = "P:\\music\\in the program folder.mp3"
SETTINGS_FOLDER_ENTRY = "P:\\music\\in the settings folder.mp3"
KEY_FOLDER = "P:\\chosen\\"
KEY_FOLDER_ENTRY = "P:\\music\\in the chosen folder.mp3"
LONG_AGO = calendar.timegm((2021, 3, 4, 22, 59, 7))


def prepare(sc, answers=None, unicode=False, **ini):
    """The stand-in keeps its playlist in the settings folder (and answers the given
    requests; as a Unicode player when unicode); the program folder and the key's folder
    hold playlists of their own."""
    options = {"PlaylistFolder": SETTINGS_FOLDER}
    if answers:
        options["Answers"] = answers
    if unicode:
        options["Unicode"] = "1"
    sc.install(player_options=options)
    sc.write_ini(DisplayMode=0, **ini)
    sc.write_playlist([SETTINGS_FOLDER_ENTRY], path=SETTINGS_FOLDER + "winamp.m3u", mtime=LONG_AGO)
    sc.write_playlist([PROGRAM_FOLDER_ENTRY], path=PLAYER_FOLDER + "winamp.m3u", mtime=LONG_AGO)
    sc.write_playlist([KEY_FOLDER_ENTRY], path=KEY_FOLDER + "winamp.m3u", mtime=LONG_AGO)


def listed(out):
    return [item.name for item in out.from_last("findfirst").items()]


def expect_read_from(sc, entry, events, what):
    """FsInit and a listing read the playlist of entry, with the player's requests."""
    out = sc.run_host(["init", "list \\"])
    expect_clean(out)
    expect_equal(listed(out), [entry], "the playlist read")
    expect_equal(sc.player_log().events(), [ev.STARTED] + events, "the player's requests: " + what)


@scenario("folder")
def the_players_answer_to_338_wins_over_winamp_folder(sc):
    prepare(sc, answers="337 338")
    expect_read_from(sc, SETTINGS_FOLDER_ENTRY, [ev.WRITE, "folderw 1024 0 338"] * 2,
                     "338 is known, 337 not asked")


@scenario("folder")
def a_player_that_knows_only_337_is_read_in_ansi(sc):
    prepare(sc, answers="337")
    expect_read_from(sc, SETTINGS_FOLDER_ENTRY, ev.WRITE_ASKED * 2, "338, then 337")
    expect_equal(sc.player_log().answers("folderw"), [1, 1], "338 is not known")


@scenario("folder")
def the_ini_key_naming_where_the_player_writes_needs_no_question(sc):
    prepare(sc, answers="337 338", playlist_folder=SETTINGS_FOLDER.rstrip("\\"))
    expect_read_from(sc, SETTINGS_FOLDER_ENTRY, [ev.WRITE, ev.WRITE], "with the key, no question")


@scenario("folder")
def the_players_answer_wins_over_a_key_naming_an_older_playlist(sc):
    prepare(sc, answers="337 338", playlist_folder=KEY_FOLDER.rstrip("\\"))
    expect_read_from(sc, SETTINGS_FOLDER_ENTRY, [ev.WRITE, "folderw 1024 0 338"] * 2,
                     "the key's playlist is older than the request: the player is asked")


@scenario("folder")
def an_old_player_falls_back_to_winamp_folder(sc):
    prepare(sc)
    # The stand-in writes its playlist to the settings folder, but says nothing of it.
    expect_read_from(sc, PROGRAM_FOLDER_ENTRY, ev.WRITE_ASKED * 2, "both asked")
    expect_equal(sc.player_log().answers("folderw") + sc.player_log().answers("folder"),
                 [1] * 4, "the old player's answers")


@scenario("folder")
def a_player_that_is_not_running_is_started_then_asked(sc):
    """Today's Unicode player, closed after FsInitW and again after a listing: the next
    announcement of a listing starts it (in the UTF-8 session through CreateProcessW),
    then asks it; each form of the entry points reads its own playlist file there."""
    prepare(sc, answers="338", unicode=True)
    sc.write_playlist([SETTINGS_FOLDER_ENTRY], path=SETTINGS_FOLDER + "winamp.m3u8", encoding="utf-8")
    out = sc.run_host(["initw", 'close "%s" 10000' % PLAYER_CLASS, "listw \\",
                       'close "%s" 10000' % PLAYER_CLASS, "list \\"], encoding="utf-8")
    expect_clean(out)
    expect_equal([item.wide_name for item in out.wide_items()], [SETTINGS_FOLDER_ENTRY],
                 "the playlist read through the W entry points")
    expect_equal(listed(out), [SETTINGS_FOLDER_ENTRY], "the playlist read through the ANSI ones")
    asked = [ev.WRITE, "folderw 1024 0 338"]
    expect_equal([e for e in sc.player_log().events() if e.startswith(("start", "write", "folder"))],
                 ([ev.STARTED] + asked) * 3, "each start, then the write, then the question")


# The key names a folder with a playlist left from another installation: four entries of
# the player's own, two of them in the old playlist too, and one only there.
PLAYERS_OWN = ["P:\\music\\own %d.mp3" % i for i in range(4)]
LEFT_OVER = [PLAYERS_OWN[0], "P:\\music\\left over.mp3", PLAYERS_OWN[2]]


def expect_nothing_of_the_old_playlist_handed_over(sc, answers, listed):
    """A delete batch of an entry that only the old playlist lists (as a listing of it
    shows it). The player's playlist stays byte for byte as it was."""
    prepare(sc, answers=answers, playlist_folder=KEY_FOLDER.rstrip("\\"))
    sc.write_playlist(PLAYERS_OWN, path=SETTINGS_FOLDER + "winamp.m3u", mtime=LONG_AGO)
    sc.write_playlist(LEFT_OVER, path=KEY_FOLDER + "winamp.m3u", mtime=LONG_AGO)
    before = sc.read_bytes(SETTINGS_FOLDER + "winamp.m3u")
    out = sc.run_host(["init", "list \\", "status start 8", "delete \\" + LEFT_OVER[1],
                       "status end 8"])
    expect_clean(out)
    expect_equal([item.name for item in out.items()], listed, "the listing")
    events = sc.player_log().events()
    expect(not [e for e in events if e.startswith(("clear", "handoff", "add", "position"))],
           "nothing handed over: %r" % events)
    expect_equal(out.kinds("posted"), [REFRESH], "the host's refresh")
    expect_equal(sc.player_log().final_playlist(), (0, PLAYERS_OWN), "the player's playlist afterwards")
    expect_equal(sc.read_bytes(SETTINGS_FOLDER + "winamp.m3u"), before,
                 "the player's playlist file byte for byte")
    expect(not sc.exists(TEMP_PLAYLIST), "the temporary playlist was left behind")


@scenario("folder")
def a_key_naming_an_older_playlist_with_the_old_player(sc):
    """The old player says nothing of where it writes: no folder holds a playlist that it
    has just written, so the listing shows the key's (as before) and the batch hands the
    player nothing."""
    expect_nothing_of_the_old_playlist_handed_over(sc, None, LEFT_OVER)


@scenario("folder")
def a_key_naming_an_older_playlist_with_todays_player(sc):
    """Today's player tells its folder: the listing and the batch read its playlist,
    which lacks the entry, so nothing is removed and nothing handed over."""
    expect_nothing_of_the_old_playlist_handed_over(sc, "337 338", PLAYERS_OWN)
