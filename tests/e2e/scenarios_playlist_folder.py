"""Where the plug-in reads the player's playlist: in the folder of the INI key
[Path] PlaylistFolder when it is set; else in the folder that the running player
reports (338, else 337, read from the player's memory); else in WinampFolder. Each
folder here holds a playlist of its own, so the listing shows which one was read."""

import player_events as ev
from check import expect_clean, expect_equal, scenario
from workspace import PLAYER_CLASS, PLAYER_FOLDER, SETTINGS_FOLDER

PROGRAM_FOLDER_ENTRY = "P:\\music\\in the program folder.mp3"
SETTINGS_FOLDER_ENTRY = "P:\\music\\in the settings folder.mp3"
KEY_FOLDER = "P:\\chosen\\"
KEY_FOLDER_ENTRY = "P:\\music\\in the chosen folder.mp3"


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
    sc.write_playlist([SETTINGS_FOLDER_ENTRY], path=SETTINGS_FOLDER + "winamp.m3u")
    sc.write_playlist([PROGRAM_FOLDER_ENTRY], path=PLAYER_FOLDER + "winamp.m3u")
    sc.write_playlist([KEY_FOLDER_ENTRY], path=KEY_FOLDER + "winamp.m3u")


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
def the_ini_key_wins_over_the_players_answer(sc):
    prepare(sc, answers="337 338", playlist_folder=KEY_FOLDER.rstrip("\\"))
    expect_read_from(sc, KEY_FOLDER_ENTRY, [ev.WRITE, ev.WRITE], "with the key, no question")


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
