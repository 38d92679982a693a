"""The Unicode entry points with today's player: its playlist in a settings folder that
it reports (337, 338), the UTF-8 playlist "winamp.m3u8" beside "winamp.m3u", entries
named in Cyrillic, Greek, CJK and emoji. Wine's ANSI code page in the prefix is 1252
(Western), so "café" is ANSI text and the others are not: "winamp.m3u" has "?" for
them, and only the UTF-8 playlist names them right."""

import mpeg_files
import player_events as ev
from check import expect, expect_clean, expect_equal, scenario
from host_output import unescape, utf8
from scenarios_listing import expect_file_fields, no_file_item, stat_script
from workspace import PLAYER_CLASS, SETTINGS_FOLDER, TEMP_FOLDER

WESTERN_CODE_PAGE = ["1252", "437"]
TODAYS_PLAYER = {"PlaylistFolder": SETTINGS_FOLDER, "Answers": "337 338", "Unicode": "1"}
UNICODE_PLAYLIST = SETTINGS_FOLDER + "winamp.m3u8"
ANSI_PLAYLIST = SETTINGS_FOLDER + "winamp.m3u"
UNICODE_TEMP = TEMP_FOLDER + "\\temp.m3u8"

CYRILLIC = "P:\\music\\Кино — Группа крови.mp3"
GREEK = "P:\\music\\Ελληνικά τραγούδια.mp3"
CJK = "P:\\music\\東京事変 群青日和.mp3"
EMOJI = "P:\\music\\🎵 party 🎉.mp3"
WESTERN = "P:\\music\\café crème.mp3"
NAMES = [CYRILLIC, GREEK, CJK, EMOJI, WESTERN]
# Today's player asks 338 first and knows it: no 337.
WRITE_ASKED = [ev.WRITE, "folderw 1024 0 338"]


def as_ansi(path):
    """A path as "winamp.m3u" holds it: "?" for what code page 1252 lacks (an emoji
    is one character, two UTF-16 units, and takes two)."""
    out = ""
    for c in path:
        try:
            c.encode("cp1252")
            out += c
        except UnicodeEncodeError:
            out += "??" if ord(c) > 0xFFFF else "?"
    return out


def prepare(sc, playlist, files=None, **ini):
    """The plug-in, today's player with the playlist in its settings folder, and the
    files that exist (default: each entry, as a small MPEG file of its own length)."""
    sc.install(player_options=TODAYS_PLAYER)
    sc.write_ini(**ini)
    if files is None:
        files = {path: mpeg_files.constant_bit_rate(100 + 40 * i) for i, path in enumerate(playlist)}
    for path, mpeg in files.items():
        sc.write_bytes(path, mpeg.data)
    sc.write_playlist(playlist, path=UNICODE_PLAYLIST, encoding="utf-8")
    return files


def run(sc, script, **kwargs):
    return sc.run_host(["codepage"] + script, encoding="utf-8", **kwargs)


def expect_code_page(out):
    expect_equal(out.of("codepage"), [WESTERN_CODE_PAGE], "the prefix's code pages")


def final_playlist(sc):
    """The Unicode player's position and entries when it was closed."""
    position, paths = sc.player_log().final_playlist()
    return position, [utf8(p) for p in paths]


def names_listed(out):
    """The names of the last Unicode listing of the run."""
    return [item.wide_name for item in out.from_last("findfirstw").wide_items()]


@scenario("unicode")
def listing_modes_through_the_unicode_entry_points(sc):
    files = prepare(sc, NAMES, DisplayMode=2)
    stat_script = ['statw "%s"' % p for p in NAMES]
    # The records as the host finds them before the listing, which reads each file for
    # its play time after taking its record.
    out = run(sc, stat_script + ["initw", "listw \\", "list \\"])
    expect_clean(out)
    expect_code_page(out)
    expect_equal(names_listed(out), NAMES, "the names in UTF-16")
    for item, path in zip(out.wide_items(), NAMES):
        expect_file_fields(item, out.stats()[path], path, files[path].whole_seconds)
    # The ANSI entry points read "winamp.m3u", as an old host would: "?" for what the
    # code page lacks, "café" and the dash as code page 1252 has them.
    expect_equal([item.name for item in out.from_last("findfirst").items()],
                 [as_ansi(p).encode("cp1252").decode("latin-1") for p in NAMES],
                 "the names through the ANSI entry points")
    expect_equal(sc.player_log().events(), [ev.STARTED] + WRITE_ASKED * 3, "the player's requests")

    sc.write_ini(DisplayMode=1)
    out = run(sc, stat_script + ["initw", "listw \\"])
    expect_clean(out)
    expect_equal(names_listed(out), NAMES, "mode 1 names")
    for item, path in zip(out.wide_items(), NAMES):
        expect_file_fields(item, out.stats()[path], path)

    sc.write_ini(DisplayMode=0)
    out = run(sc, ["initw", "listw \\"])
    expect_clean(out)
    expect_equal([item.row()[:8] + [item.wide_name, item["short_name"]] for item in out.wide_items()],
                 [no_file_item(p) for p in NAMES], "mode 0 items")


@scenario("unicode")
def add_batch_of_files_with_unicode_names(sc):
    playlist = [CYRILLIC, GREEK]
    added = [CJK, EMOJI]
    wav = "P:\\music\\Ωδή.wav"
    files = {p: mpeg_files.constant_bit_rate(50) for p in playlist + added + [wav]}
    prepare(sc, playlist, files)
    out = run(sc, ["initw", "listw \\", "statusw start 5",
                   'putw "%s"' % CJK,
                   'putw "%s"' % CYRILLIC,        # already an entry
                   'putw "%s"' % wav,             # refused by the filter "mp3"
                   'putw "P:\\music\\Мёртвый.mp3"',  # no such file
                   'putw "%s"' % EMOJI,
                   "statusw end 5", "listw \\"])
    expect_clean(out)
    expect_equal(out.of("putw"), [["0"]] * 5, "FsPutFileW answers")
    expect_equal(sc.player_log().events(),
                 [ev.STARTED] + WRITE_ASKED * 2 + ev.add_batch(2, UNICODE_TEMP) + WRITE_ASKED,
                 "the player's requests: the additions as temp.m3u8")
    expect_equal(names_listed(out), playlist + added, "the listing after the batch")
    expect(not sc.exists(UNICODE_TEMP), "the temporary playlist was left behind")
    expect_equal(final_playlist(sc), (0, playlist + added), "the player's playlist afterwards")


@scenario("unicode")
def delete_batch_of_unicode_entries_keeps_the_current_song(sc):
    prepare(sc, NAMES + [GREEK])
    out = run(sc, ["initw", 'send "%s" 1024 3 121' % PLAYER_CLASS, "listw \\", "statusw start 8",
                   'deletew "\\%s"' % CYRILLIC, 'deletew "\\%s"' % GREEK,
                   'deletew "\\%s"' % GREEK,      # its first entry again
                   'deletew "\\P:\\music\\Нет.mp3"', "statusw end 8", "listw \\"])
    expect_clean(out)
    expect_equal(out.of("deletew"), [["-1"]] * 4, "FsDeleteFileW answers")
    expect_equal(sc.player_log().events(),
                 [ev.STARTED] + WRITE_ASKED + [ev.position(3)] + WRITE_ASKED * 2 +
                 ev.delete_batch(kept=4, saved_position=1, path=UNICODE_TEMP) + WRITE_ASKED,
                 "the player's requests")
    kept = [CJK, EMOJI, WESTERN, GREEK]
    expect_equal(names_listed(out), kept, "the listing after the batch")
    expect(not sc.exists(UNICODE_TEMP), "the temporary playlist was left behind")
    # The emoji entry was current at 3, behind the two removed entries: it is current at 1.
    expect_equal(final_playlist(sc), (1, kept), "the player's position and playlist afterwards")


@scenario("unicode")
def commands_on_unicode_entries(sc):
    """Open plays the right entry; properties start the editor with the entry's name
    and the settings program, both through the W process functions; save copies
    "winamp.m3u8" as "Plenvox.m3u8" into a folder chosen with the W folder picker."""
    editor, program = "P:\\tools\\editor.exe", "P:\\tools\\setprog.exe"
    prepare(sc, NAMES, editor=editor, settings=program)
    sc.install_recorder(editor)
    sc.install_recorder(program)
    lists = "P:\\списки"
    sc.path(lists).mkdir()
    out = run(sc, ["initw", "listw \\", 'execw "\\%s" open' % EMOJI,
                   'execw "\\%s" properties' % CJK, "execw \\ properties",
                   "picker choose " + lists, 'execw \\ "quote save"'])
    expect_clean(out)
    expect_equal([line[0] for line in out.of("execw")], ["0"] * 4, "FsExecuteFileW answers")
    expect_equal(sc.recorded("P:\\tools\\editor.log", kind="cmdlinew"), ["\\" + CJK],
                 "the editor's command line")
    expect_equal(len(sc.recorded("P:\\tools\\setprog.log", kind="cmdlinew")), 1,
                 "starts of the settings program")
    expect_equal([(p[3], utf8(unescape(p[4]))) for p in out.of("picker")], [("choose", lists)],
                 "the picker")
    expect_equal(sc.read_bytes(lists + "\\Plenvox.m3u8"), sc.read_bytes(UNICODE_PLAYLIST),
                 "the saved copy, byte for byte the player's playlist")
    expect(not sc.exists(lists + "\\Plenvox.m3u"), "an ANSI copy was saved")
    expect_equal(sc.player_log().events(),
                 [ev.STARTED] + WRITE_ASKED * 2 +
                 [ev.WRITE, ev.position(3), ev.STOP, ev.PLAY] + [ev.WRITE] * 3,
                 "the player's requests")


@scenario("unicode")
def names_of_300_characters_are_shown_cut_and_found_by_their_cut(sc):
    """A Cyrillic path of 300 characters (545 bytes of UTF-8) is one line of the UTF-8
    playlist; the host's record holds its first 259 UTF-16 units, and that cut name
    plays and deletes the entry. The ANSI playlist's line of the same entry is cut at
    255 bytes."""
    folder = "P:\\music\\" + "Очень длинное имя папки " * 4 + "\\"
    long_entry = folder + "я" * (300 - len(folder) - 4) + ".mp3"
    expect_equal(len(long_entry), 300, "length of the long entry")
    prepare(sc, [GREEK, long_entry], files={GREEK: mpeg_files.constant_bit_rate(10)},
            DisplayMode=0)
    cut = long_entry[:259]
    out = run(sc, ["initw", "listw \\", 'execw "\\%s" open' % cut,
                   "statusw start 8", 'deletew "\\%s"' % cut, "statusw end 8"])
    expect_clean(out)
    expect_equal(names_listed(out), [GREEK, cut], "the names, the long one cut")
    expect_equal(sc.player_log().events(),
                 [ev.STARTED] + WRITE_ASKED * 2 + [ev.WRITE, ev.position(1), ev.STOP, ev.PLAY] +
                 WRITE_ASKED + ev.delete_batch(kept=1, saved_position=0, path=UNICODE_TEMP),
                 "the player's requests")
    # The current (and last) entry went: the first one is current.
    expect_equal(final_playlist(sc), (0, [GREEK]), "the player's playlist afterwards")


# --- Faults, through the Unicode entry points ------------------------------------------

def edit_batches(add, remove):
    return ["statusw start 5", 'putw "%s"' % add, "statusw end 5",
            "statusw start 8", 'deletew "\\%s"' % remove, "statusw end 8"]


def expect_normal_answers(out, refreshes):
    expect_equal(out.of("putw"), [["0"]], "FsPutFileW answer")
    expect_equal(out.of("deletew"), [["-1"]], "FsDeleteFileW answer")
    expect_equal(out.kinds("posted"), ["posted\t1075\t540\t0"] * refreshes, "the host's refreshes")


@scenario("unicode")
def unicode_temporary_folder_that_cannot_be_written(sc):
    prepare(sc, [CYRILLIC, GREEK], {p: mpeg_files.not_audio() for p in (CYRILLIC, GREEK, CJK)})
    out = run(sc, ["initw", "listw \\"] + edit_batches(CJK, CYRILLIC) + ["listw \\"],
              temp="P:\\no such folder")
    expect_clean(out)
    expect_normal_answers(out, refreshes=2)
    # Without its temporary playlist a batch sends the player nothing.
    expect_equal(sc.player_log().events(), [ev.STARTED] + WRITE_ASKED * 4, "the player's requests")
    expect_equal(names_listed(out), [CYRILLIC, GREEK], "the listing afterwards")
    expect_equal(final_playlist(sc), (0, [CYRILLIC, GREEK]), "the player's playlist afterwards")


@scenario("unicode")
def unicode_playlist_that_cannot_be_read(sc):
    """Both playlist files locked: the player cannot write either, the UTF-8 one stays
    the one to read, and the plug-in cannot read it."""
    prepare(sc, [CYRILLIC, GREEK])
    locks = [ANSI_PLAYLIST, UNICODE_PLAYLIST]
    out = run(sc, ["initw", "listw \\"] + ["lock " + p for p in locks] + ["listw \\",
                   "statusw start 8", 'deletew "\\%s"' % CYRILLIC, "statusw end 8",
                   'execw "\\%s" open' % GREEK] + ["unlock " + p for p in locks] + ["listw \\"])
    expect_clean(out)
    expect_equal(out.of("findfirstw"), [["0", "0"], ["-1", "18"], ["0", "0"]],
                 "listings before, during and after the lock")
    expect_equal(out.of("deletew"), [["-1"]], "FsDeleteFileW answer")
    expect_equal([line[0] for line in out.of("execw")], ["0"], "FsExecuteFileW answer")
    # Nothing that would change the playlist reaches the player: no clear, no position.
    # The player cannot write its files during the lock either ("error" lines).
    failed = "error write 32"
    expect_equal(sc.player_log().events(),
                 [ev.STARTED] + WRITE_ASKED * 2 + ([failed] + WRITE_ASKED) * 2 +
                 [failed, ev.WRITE] + WRITE_ASKED, "the player's requests")
    expect_equal(final_playlist(sc), (0, [CYRILLIC, GREEK]), "the player's playlist afterwards")


@scenario("unicode")
def unicode_player_that_is_not_there(sc):
    sc.install(player=False)
    sc.write_ini(winamp_folder="P:\\noplayer\\", DisplayMode=0)
    for name, encoding in (("winamp.m3u", "cp1252"), ("winamp.m3u8", "utf-8")):
        entries = [as_ansi(p) for p in (CYRILLIC, GREEK)] if encoding == "cp1252" else [CYRILLIC, GREEK]
        sc.write_playlist(entries, path="P:\\noplayer\\" + name, encoding=encoding)
    before = sc.read_bytes("P:\\noplayer\\winamp.m3u8")
    out = run(sc, ["initw", "listw \\"] + edit_batches(CJK, CYRILLIC) +
              ['execw "\\%s" open' % GREEK, "picker cancel", 'execw \\ "quote save"', "listw \\"])
    expect_clean(out)
    expect_normal_answers(out, refreshes=2)
    expect_equal(names_listed(out), [CYRILLIC, GREEK], "the listing of the UTF-8 playlist")
    expect_equal(sc.read_bytes("P:\\noplayer\\winamp.m3u8"), before, "the playlist file")
    expect(not sc.exists(UNICODE_TEMP), "the temporary playlist was left behind")
    expect_equal(sc.player_log().events(), [], "requests that reached a player")


@scenario("unicode")
def unicode_delete_batch_keeps_a_playlist_with_a_ctrl_z_whole(sc):
    """The player's playlist holds an entry with a Ctrl-Z inside: reading stops there,
    so a filtered copy would lose the entries behind it; the batch changes nothing."""
    with_ctrl_z = "P:\\music\\Звук\x1aспуск.mp3"
    playlist = [CYRILLIC, GREEK, with_ctrl_z, CJK]
    prepare(sc, playlist, {p: mpeg_files.not_audio() for p in (CYRILLIC, GREEK, CJK)}, DisplayMode=0)
    out = run(sc, ["initw", "listw \\", "statusw start 8", 'deletew "\\%s"' % GREEK,
                   "statusw end 8"])
    expect_clean(out)
    expect_equal(names_listed(out), [CYRILLIC, GREEK, "P:\\music\\Звук"],
                 "the listing ends at the Ctrl-Z")
    expect_equal(sc.player_log().events(), [ev.STARTED] + WRITE_ASKED * 3, "the player's requests")
    expect_equal(out.kinds("posted"), ["posted\t1075\t540\t0"], "the host's refresh")
    expect(not sc.exists(UNICODE_TEMP), "the temporary playlist was left behind")
    expect_equal(final_playlist(sc), (0, playlist), "the player's playlist afterwards")


# --- Without today's player or without settings -----------------------------------------

@scenario("unicode")
def unicode_entry_points_with_an_old_player_read_the_ansi_playlist(sc):
    """No "winamp.m3u8": the W entry points give what the ANSI ones give, through code
    page 1252 ("café" stays, a CJK file's name cannot reach the ANSI playlist)."""
    western2 = "P:\\music\\Über Straße.mp3"
    playlist = [WESTERN, "P:\\music\\plain.mp3"]
    sc.install()
    sc.write_ini(DisplayMode=0)
    for path in playlist + [western2, CJK]:
        sc.write_bytes(path, b"not really audio")
    sc.write_playlist(playlist, encoding="cp1252")
    out = run(sc, ["initw", "listw \\", "statusw start 5", 'putw "%s"' % western2,
                   'putw "%s"' % CJK, "statusw end 5", "statusw start 8",
                   'deletew "\\%s"' % WESTERN, "statusw end 8", "listw \\"])
    expect_clean(out)
    expect_equal(names_listed(out), ["P:\\music\\plain.mp3", western2], "the listing afterwards")
    expect_equal(sc.player_log().events(),
                 [ev.STARTED] + ev.WRITE_ASKED * 2 + ev.add_batch(1) + ev.WRITE_ASKED +
                 ev.delete_batch(kept=2, saved_position=0) + ev.WRITE_ASKED,
                 "the player's requests, with the ANSI temporary playlist")
    position, paths = sc.player_log().final_playlist()
    expect_equal([p.encode("latin-1").decode("cp1252") for p in paths],
                 ["P:\\music\\plain.mp3", western2], "the player's playlist afterwards")


@scenario("unicode", registry=False)
def unicode_first_run(sc):
    sc.install()
    out = run(sc, ["initw", "listw \\"])
    expect_clean(out)
    expect_equal(out.kinds("msgbox", "findfirstw"),
                 ["msgbox\thost\tinformation\tOK\tFirst run message\t"
                  "Main settings file not found or empty. Please, run SETTINGS.EXE",
                  "findfirstw\t-1\t18"], "the first-run message and an empty folder")
    expect_equal(len(sc.recorded("P:\\plugin\\settings.log")), 1, "starts of settings.exe")


# --- Names that the ANSI code page cannot hold ------------------------------------------------

# Settings folders of users whose account names are not in a Western script.
SETTINGS_FOLDERS_IN_OTHER_SCRIPTS = {
    "cyrillic": "P:\\Users\\Иван\\AppData\\Roaming\\Winamp\\",
    "japanese": "P:\\Users\\山田太郎\\AppData\\Roaming\\Winamp\\",
}


def settings_folder_in_another_script(sc, folder):
    """Today's player keeps its playlist in the folder and reports it (338): the W entry
    points list, add, delete, open and save there. The program folder holds an old
    playlist of its own, which must not be what is read."""
    sc.install(player_options=dict(TODAYS_PLAYER, PlaylistFolder=folder))
    sc.write_ini(DisplayMode=0)
    playlist = [CYRILLIC, GREEK, CJK]
    for path in playlist + [EMOJI]:
        sc.write_bytes(path, mpeg_files.constant_bit_rate(50).data)
    sc.write_playlist(playlist, path=folder + "winamp.m3u8", encoding="utf-8")
    sc.write_playlist(["P:\\music\\in the program folder.mp3"])
    lists = "P:\\списки"
    sc.path(lists).mkdir()
    out = run(sc, ["initw", "listw \\", "statusw start 5", 'putw "%s"' % EMOJI, "statusw end 5",
                   "listw \\", "statusw start 8", 'deletew "\\%s"' % GREEK, "statusw end 8",
                   "listw \\", 'execw "\\%s" open' % CJK,
                   "picker choose " + lists, 'execw \\ "quote save"'])
    expect_clean(out)
    expect_equal(out.wide_listings(),
                 [playlist, playlist + [EMOJI], [CYRILLIC, CJK, EMOJI]],
                 "the listings before and after the add and the delete batch")
    expect_equal(sc.player_log().events(),
                 [ev.STARTED] + WRITE_ASKED * 2 + ev.add_batch(1, UNICODE_TEMP) + WRITE_ASKED * 2 +
                 ev.delete_batch(kept=3, saved_position=0, path=UNICODE_TEMP) + WRITE_ASKED +
                 [ev.WRITE, ev.position(1), ev.STOP, ev.PLAY] + [ev.WRITE] * 2,
                 "the player's requests: the batches as temp.m3u8, the entry played")
    expect_equal(sc.read_bytes(lists + "\\Plenvox.m3u8"), sc.read_bytes(folder + "winamp.m3u8"),
                 "the saved copy, byte for byte the playlist in the settings folder")
    expect_equal(final_playlist(sc), (1, [CYRILLIC, CJK, EMOJI]), "the player's playlist afterwards")


for _script, _folder in SETTINGS_FOLDERS_IN_OTHER_SCRIPTS.items():
    def _scenario(sc, folder=_folder):
        settings_folder_in_another_script(sc, folder)
    _scenario.__name__ = "settings_folder_named_in_%s" % _script
    scenario("unicode")(_scenario)


@scenario("unicode")
def names_that_the_ansi_code_page_cannot_hold_never_become_look_alikes(sc):
    """An old player (its ANSI playlist only) and files named in characters that code
    page 1252 lacks: the add batch refuses them (BlockDead and DisableMulti off, so
    nothing else would stop "Lodz.mp3" or "????.mp3"), deleting them removes nothing,
    also not the look-alike entry "Lodz.mp3", opening one plays no entry, and its content
    column is no entry's (the host's file error), not the look-alike's."""
    import scenarios_columns  # here: it imports this module's names
    unheld = ["P:\\music\\Łódź.mp3", "P:\\music\\Кино.mp3", "P:\\music\\東京事変.mp3"]
    look_alike = "P:\\music\\Lodz.mp3"
    playlist = [look_alike, WESTERN]
    sc.install()
    sc.write_ini(DisplayMode=0, BlockDead=0, DisableMulti=0)
    for path in playlist + unheld:
        sc.write_bytes(path, b"not really audio")
    sc.write_playlist(playlist, encoding="cp1252")
    out = run(sc, ["initw", "listw \\", "statusw start 5"] + ['putw "%s"' % p for p in unheld] +
              ["statusw end 5", "statusw start 8"] + ['deletew "\\%s"' % p for p in unheld] +
              ["statusw end 8", 'execw "\\%s" open' % unheld[0], "listw \\",
               'valuew "\\%s" %d 0 0' % (unheld[0], scenarios_columns.INDEX["Exists"]),
               'valuew "\\%s" %d 0 0' % (look_alike, scenarios_columns.INDEX["Exists"])])
    expect_clean(out)
    expect_equal([f[2:] for f in out.of("valuew")], [["-2"], ["6", "true"]],
                 "the column Exists of the name and of its look-alike")
    expect_equal(out.of("putw"), [["0"]] * 3, "FsPutFileW answers")
    expect_equal(out.of("deletew"), [["-1"]] * 3, "FsDeleteFileW answers")
    expect_equal(sc.player_log().events(),
                 # The delete batch removes nothing, so it hands the player nothing.
                 [ev.STARTED] + ev.WRITE_ASKED * 2 + ev.add_batch(0) + ev.WRITE_ASKED +
                 [ev.WRITE, ev.position(-1), ev.STOP, ev.PLAY] + ev.WRITE_ASKED,
                 "the player's requests: nothing added, nothing removed, no entry played")
    expect_equal(names_listed(out), [look_alike, WESTERN], "the listing afterwards")
    position, paths = sc.player_log().final_playlist()
    expect_equal([p.encode("latin-1").decode("cp1252") for p in paths], playlist,
                 "the player's playlist afterwards")


@scenario("unicode")
def an_old_host_never_shows_the_file_that_a_lost_characters_question_marks_match(sc):
    """An old host reads today's player's ANSI playlist, where the CJK entry is
    "P:\\music\\??.mp3"; "P:\\music\\ab.mp3" is what that pattern would match. The entry
    shows as a missing file in every display mode, and its content column and its icon
    (looked up from the host's background thread) say so; the entry beside it shows its
    own file."""
    cjk, matched = "P:\\music\\東京.mp3", "P:\\music\\ab.mp3"
    files = {cjk: mpeg_files.constant_bit_rate(100), WESTERN: mpeg_files.constant_bit_rate(60),
             matched: mpeg_files.constant_bit_rate(300)}
    prepare(sc, [cjk, WESTERN], files)
    lost = as_ansi(cjk)
    expect_equal(lost, "P:\\music\\??.mp3", "the entry in the ANSI playlist")
    western = WESTERN.encode("cp1252").decode("latin-1")
    # Here: both import this module's names.
    import scenarios_columns
    import scenarios_pictures as pictures
    asked = ['value "\\%s" %d 0 0' % (lost, scenarios_columns.INDEX["Exists"]),
             'icon "\\%s" %d' % (lost, pictures.ICON_SMALL | pictures.ICON_BACKGROUND)]
    # A missing file's record: every field "none", in mode 2 a play time of 0.
    missing_item = {1: no_file_item(lost), 2: no_file_item(lost)}
    for mode in (1, 2, 0):
        sc.write_ini(DisplayMode=mode)
        # The host's own record of the file beside it, taken before the listing reads it.
        out = sc.run_host(stat_script([western]) + ["init", "list \\"] + asked)
        expect_clean(out)
        items = out.items()
        expect_equal([item.name for item in items], [lost, western], "mode %d names" % mode)
        if mode in missing_item:
            expect_equal(items[0].row(), missing_item[mode], "mode %d: the entry whose characters were lost" % mode)
            expect_file_fields(items[1], out.stats()[western], western,
                               files[WESTERN].whole_seconds if mode == 2 else None)
        expect_equal([f[2:] for f in out.of("value")], [["6", "false"]],
                     "mode %d: its column Exists" % mode)
        expect_equal(out.of("icon"), [pictures.icon("missing", 16)], "mode %d: its icon" % mode)
