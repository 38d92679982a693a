"""The Linux edition's scenario: a user opens Plenvox's folder in Double Commander over a
real MPD, is told at the first run to set it up, sets it up with plenvox-settings, lists
MPD's queue in the three display modes (the queue also holds a FLAC, an Opus and an M4A
file outside the music directory, tagged in Cyrillic, Japanese and Greek: mode 2 shows
every format's play time as MPD reads it), copies two MP3 files into the folder, deletes an
entry before the playing one and one after it (the song plays on), plays one with Enter
and deletes it while it plays (the next one plays), saves the queue with "save" on the
command line, lists a stream entry in modes 2 and 0, and opens the folder once more after
MPD has stopped.

Double Commander loads the recording proxy (proxy/), which loads plenvox.wfx and logs
what the host and the plug-in say to each other; the checks read that log and ask MPD."""

import subprocess
import sys
from pathlib import Path
import fixture_checks as fc
from call_log import (OP_DELETE, OP_EXEC, OP_GET_MULTI, OP_LIST, OP_PUT_MULTI, calls_named,
                      operations)
from doublecmd import KEY_CLOSE_VIEWER, KEY_COPY, KEY_DELETE, KEY_OPEN_PLUGIN, KEY_REFRESH, KEY_VIEW
from processes import StepTimeout, wait_until
from scenario_fixture import COPY_DIALOG, DELETE_DIALOG, PLAY_LIMIT, Run, _elapsed

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))
import audio_formats  # noqa: E402  (the multi-format files of the Wine end-to-end tests)

ROOT_NAME = "Plenvox"
MUSIC = ["a one.mp3", "b two.mp3", "c three \u00e9.mp3", "d four.mp3", "e five.mp3"]
QUEUED = MUSIC[:3]  # what MPD holds when the run starts; it plays the second
PLAYING = 1
COPIED = MUSIC[3:]
SHOWN_SLASH = "\u2215"  # how the plug-in shows the "/" of a path in a name
REQUEST_MSG_OK = 8
FIRST_RUN_DIALOG = r"^First run message$"
MPD_DIALOG = r"^Plenvox: MPD$"
SAVE_DIALOG = r"^Save playlist$"
REQUEST_TARGET_DIR = 6
COMMAND_LINE_Y = 0.947  # of the main window's height (690 of 728 pixels)
ARCHIVE = 0x20
SETTINGS_LIMIT = 20
SONG_SECONDS = 90  # long enough that no song ends during the run
STREAM = "http://stream.invalid/live.mp3"
NO_TIME = -2  # the host's mark for a time that is not known (0xFFFFFFFFFFFFFFFE, signed)
VIEWER_WINDOW = r"e five\.mp3"  # the viewer is titled by the viewed copy


class PlenvoxRun(Run):
    def __init__(self, session, settings_program):
        super().__init__(session)
        self.settings_program = settings_program

    def settings(self, *assignments):
        """plenvox-settings /set, as a user runs it in a terminal of the same session."""
        result = subprocess.run([str(self.settings_program), "/set"] + list(assignments),
                                env=self.session.user_env(), capture_output=True,
                                timeout=SETTINGS_LIMIT)
        with (self.session.run_dir / "settings.out").open("ab") as out:
            out.write(result.stdout + result.stderr)
        return result.returncode

    def relist(self, name):
        with self.step(name) as since:
            self.press(KEY_REFRESH)
            self.wait_end({OP_LIST}, since, relisted=False)


def shown_name(path):
    return str(path).replace("/", SHOWN_SLASH)


def drive(run, session, checks):
    music = session.music
    run.main = session.start_doublecmd(music, music)
    with run.step("first run") as since:
        run.press_until_called(KEY_OPEN_PLUGIN, since)
        run.answer(FIRST_RUN_DIALOG, "Return", screenshot="first-run.png")
        run.wait_end({OP_LIST}, since, relisted=False)
    cache = session.run_dir / "home" / ".cache" / "plenvox"
    checks.equal(run.settings("Path.WinampFolder=%s/" % cache, "Mode.DisplayMode=0"), 0,
                 "plenvox-settings /set: the player's folder and mode 0 saved")
    run.x.click(run.main, 0.25, 0.5)  # into the plug-in's panel, so that it takes keys
    run.relist("mode 0")
    for mode in (1, 2):
        run.settings("Mode.DisplayMode=%d" % mode)
        run.relist("mode %d" % mode)
    run.press("Tab")  # to the MP3 folder: d four.mp3 and e five.mp3
    with run.step("copy two") as since:
        run.press("Home", "Down", "Down", "Down", "Down", "Insert", "Insert", KEY_COPY)
        run.answer(COPY_DIALOG, "Return")
        run.wait_end({OP_PUT_MULTI}, since)
    with session.mpd.client() as mpd:
        check_mpd(checks, mpd, "copy two", QUEUED + run.formats + COPIED, PLAYING)
    run.press("Tab")
    with session.mpd.client() as mpd:
        playing = mpd.status()
    with run.step("delete two") as since:
        # The panel sorts the items by name, which is the order of their paths: a, b, c, d, e.
        run.press("Home", "Down", "Insert", "Down", "Down", "Insert", KEY_DELETE)  # a and d
        run.answer(DELETE_DIALOG, "Return")
        run.wait_end({OP_DELETE}, since)
    left = [MUSIC[1], MUSIC[2]] + run.formats + [MUSIC[4]]
    with session.mpd.client() as mpd:
        # The song that played (b) plays on, now the first entry, uninterrupted.
        check_mpd(checks, mpd, "delete two", left, 0)
        check_plays_on(checks, mpd, "delete two", playing)
    with run.step("play") as since:
        run.press("Home", "Down", "Down", "Return")  # c three é.mp3, the second
        run.wait_end({OP_EXEC}, since)
    with session.mpd.client() as mpd:
        check_mpd(checks, mpd, "Enter on c three é.mp3", left, 1)
        next_id = song_ids(mpd)[2]
    with run.step("delete the playing one") as since:
        run.press("Home", "Down", "Down", KEY_DELETE)
        run.answer(DELETE_DIALOG, "Return")
        run.wait_end({OP_DELETE}, since)
    left = [MUSIC[1]] + run.formats + [MUSIC[4]]
    with session.mpd.client() as mpd:
        # The entry that followed it (the first of the other formats) plays.
        check_mpd(checks, mpd, "deleting the playing entry", left, 1)
        checks.equal(mpd.status().get("songid"), next_id,
                     "MPD after deleting the playing entry: the song that followed it plays")
    with run.step("copy out two") as since:
        # The first two items, b and e (the panel shows the MP3 files before the other
        # formats), to the other panel's folder, the music folder: Double Commander names
        # each copy by the item's name, the entry's path with its "/" shown as U+2215.
        run.press("Home", "Down", "Insert", "Insert", KEY_COPY)  # ".." comes first
        run.answer(COPY_DIALOG, "Return")
        run.wait_end({OP_GET_MULTI}, since, relisted=False)
    with session.mpd.client() as mpd:
        check_mpd(checks, mpd, "copy out two", left, 1)
    with run.step("view") as since:
        # F3 on e five.mp3, the second item: the host fetches a copy through FsGetFileW
        # and shows it.
        run.press("Home", "Down", "Down", KEY_VIEW)
        run.calls.wait_for(lambda records: calls_named(records, "FsGetFile"), SETTINGS_LIMIT,
                           "FsGetFileW of the viewed entry", since)
        run.answer(VIEWER_WINDOW, KEY_CLOSE_VIEWER, screenshot="viewer.png")
    session.screenshot("doublecmd.png")
    with run.step("save") as since:
        # Typed into the command line (below the panels), which hands it to the folder of
        # the active panel, the plug-in's.
        run.x.click(run.main, 0.5, COMMAND_LINE_Y)
        run.x.type_text(run.main, "save")
        run.press("Return")
        dialog = run.x.wait_window(SAVE_DIALOG, exclude=(run.main,))
        run.x.keys(dialog, "ctrl+a")
        run.x.type_text(dialog, str(session.run_dir / "saved"))
        run.x.keys(dialog, "Return")
        run.x.wait_gone(dialog)
        run.calls.wait_for(lambda records: calls_named(records, "FsExecuteFile"), SETTINGS_LIMIT,
                           "FsExecuteFile of the command", since)
    with session.mpd.client() as mpd:
        mpd.command("add", STREAM)
    run.relist("stream, mode 2")
    run.settings("Mode.DisplayMode=0")
    run.relist("stream, mode 0")
    session.screenshot("stream.png")
    session.processes.stop(session.mpd.process)
    with run.step("mpd stopped") as since:
        run.press(KEY_REFRESH)
        run.answer(MPD_DIALOG, "Return", screenshot="mpd-stopped.png")
        run.wait_end({OP_LIST}, since, relisted=False)


def write_formats(session):
    """A FLAC, an Opus and an M4A file beside the music directory: MPD takes them by
    their absolute paths from a client on its local socket."""
    # Named to sort after "music", so that the panel's items of the MP3 files come first.
    folder = session.run_dir / "outside-music"
    folder.mkdir()
    tone = folder / "tone.wav"
    audio_formats.tone(tone, 6.6)
    made = []
    for name, options, tag in (("cyrillic.flac", ("-c:a", "flac"), audio_formats.CYRILLIC),
                               ("japanese.opus", ("-c:a", "libopus"), audio_formats.JAPANESE),
                               ("greek.m4a", ("-c:a", "aac"), audio_formats.GREEK)):
        target = folder / name
        audio_formats.encode(tone, target, *options)
        if target.suffix == ".m4a":
            audio_formats.mp4_tags(target, tag)
        else:
            audio_formats.vorbis_tags(audio_formats.mutagen.File(str(target)), tag)
        made.append(str(target))
    tone.unlink()
    return made


def seed_mpd(session, checks, formats):
    with session.mpd.client() as mpd:
        mpd.command("clear")
        for name in QUEUED + formats:
            mpd.command("add", name)
        # The entry repeats, so that the position that MPD plays stays what the plug-in
        # made it, whatever the run's pace.
        mpd.command("repeat", 1)
        mpd.command("single", 1)
        mpd.command("play", PLAYING)
        try:
            wait_until(lambda: _elapsed(mpd.status()) > 0, PLAY_LIMIT, "MPD playing")
        except StepTimeout as timeout:
            checks.check(False, "MPD: plays at the start: %s" % timeout)
        # MPD's own play time of each file, in whole seconds (of the files outside its
        # music directory as its queue shows them).
        durations = {name: int(float(dict(mpd.command("lsinfo", name))["duration"])) for name in QUEUED}
        info, song = [], {}
        for key, value in mpd.command("playlistinfo"):
            if key == "file" and song:
                info.append(song)
                song = {}
            song[key] = value
        info.append(song)
        durations.update({s["file"]: int(float(s["duration"])) for s in info if s.get("file") in formats})
        return durations


def the_listing(run, step):
    listings = [op for op in operations(run.records(step)) if op.number == OP_LIST and op.end is not None]
    return listings[-1] if listings else None


def listed_records(run, step):
    listing = the_listing(run, step)
    return [r for r in listing.calls if r["call"] in ("FsFindFirstW", "FsFindNextW")
            and r.get("result") == 1] if listing else None


def check_mode(checks, run, step, expected):
    """The items of the step's listing in the plug-in's order: (name, size, attributes)."""
    listing = the_listing(run, step)
    if not checks.check(listing, "%s: a listing" % step):
        return
    checks.equal([r["path"] for r in calls_named(listing.calls, "FsFindFirst")], ["/"],
                 "%s: FsFindFirstW of the root" % step)
    items = [(r["name"], r["size"], r["attributes"]) for r in listed_records(run, step)]
    checks.equal(items, expected, "%s: the items (name, size, attributes) in the queue's order" % step)


def no_file(record):
    """What the record shows of a file: nothing, when it carries no other entry's data."""
    return (record["name"], record["size"], record["attributes"], record["creationTime"],
            record["accessTime"], record["writeTime"])


def check_no_file(checks, run, step, names):
    """The records of names in the step's listing show no file: size 0, no attributes,
    no time."""
    records = {r["name"]: r for r in listed_records(run, step) or []}
    checks.equal([no_file(records[n]) if n in records else None for n in names],
                 [(n, 0, 0, NO_TIME, NO_TIME, NO_TIME) for n in names],
                 "%s: records without another entry's data (name, size, attributes, times)" % step)


def check_steps(checks, run, session, durations):
    music = session.music
    records = run.calls.records()
    first = [r for r in calls_named(run.records("first run"), "Request")]
    checks.equal([(r["via"], r["type"], "plenvox-settings /set Path.WinampFolder=" in r["text"])
                  for r in first], [("W", REQUEST_MSG_OK, True)],
                 "first run: one message through the W request callback, how to run plenvox-settings")
    paths = [music / n for n in QUEUED] + [Path(f) for f in run.formats]
    check_mode(checks, run, "mode 0", [(shown_name(p), 0, 0) for p in paths])
    check_no_file(checks, run, "mode 0", [shown_name(p) for p in paths])
    check_mode(checks, run, "mode 1", [(shown_name(p), p.stat().st_size, ARCHIVE) for p in paths])
    check_mode(checks, run, "mode 2", [(shown_name(music / n), durations[n], ARCHIVE) for n in QUEUED] +
               [(shown_name(f), durations[f], ARCHIVE) for f in run.formats])
    fc.check_edit(checks, run.records("copy two"), "copy two", OP_PUT_MULTI, "FsPutFile",
                  ("local", "remote"), [(str(music / n), "/" + n) for n in COPIED])
    fc.check_edit(checks, run.records("delete two"), "delete two", OP_DELETE, "FsDeleteFile",
                  ("remote",), [("/" + shown_name(music / n),) for n in (MUSIC[0], MUSIC[3])])
    fc.check_edit(checks, run.records("play"), "play", OP_EXEC, "FsExecuteFile", ("remote", "verb"),
                  [("/" + shown_name(music / MUSIC[2]), "open")])
    fc.check_edit(checks, run.records("delete the playing one"), "delete the playing one", OP_DELETE,
                  "FsDeleteFile", ("remote",), [("/" + shown_name(music / MUSIC[2]),)])
    kept = [music / MUSIC[1]] + [Path(f) for f in run.formats] + [music / MUSIC[4]]
    # The MP3 files are equally long.
    check_mode(checks, run, "stream, mode 2",
               [(shown_name(p), durations.get(str(p), durations[MUSIC[1]]), ARCHIVE) for p in kept] +
               [(shown_name(STREAM), 0, 0)])
    kept = [shown_name(p) for p in kept]
    check_no_file(checks, run, "stream, mode 2", [shown_name(STREAM)])
    check_no_file(checks, run, "stream, mode 0", kept + [shown_name(STREAM)])
    check_copy_out(checks, run, music, [music / MUSIC[1], music / MUSIC[4]])
    viewed = calls_named(run.records("view"), "FsGetFile")
    checks.equal([(g["remote"], g["flags"], g.get("result")) for g in viewed],
                 [("/" + shown_name(music / MUSIC[4]), 0, 0)], "view: FsGetFileW of the entry answers 0")
    checks.check(viewed and viewed[0]["local"].endswith(shown_name(music / MUSIC[4])),
                 "view: the host's temporary copy is named by the item (%r)"
                 % [g["local"] for g in viewed])
    save = calls_named(run.records("save"), "FsExecuteFile")
    checks.equal([(r["remote"], r["verb"]) for r in save], [("/", "quote save")],
                 "save: FsExecuteFileW of the folder with the command line's text")
    asked = calls_named(run.records("save"), "Request")
    checks.equal([(r["type"], r.get("returnedText")) for r in asked],
                 [(REQUEST_TARGET_DIR, str(session.run_dir / "saved"))],
                 "save: the folder asked through RT_TargetDir")
    saved = session.run_dir / "saved" / "Plenvox.m3u8"
    checks.equal(saved.read_text(encoding="utf-8").split("\n")[1:-1] if saved.exists() else None,
                 [str(music / MUSIC[1])] + run.formats + [str(music / MUSIC[4])],
                 "save: Plenvox.m3u8 holds the queue's paths")
    down = calls_named(run.records("mpd stopped"), "Request")
    checks.check(len(down) == 1 and str(session.mpd.socket_path) in down[0]["text"],
                 "MPD stopped: one message that names MPD's socket (%r)"
                 % [r.get("text") for r in down])
    listing = the_listing(run, "mpd stopped")
    checks.check(listing and not [r for r in listing.calls if r.get("result") == 1],
                 "MPD stopped: the folder lists nothing")
    for name in ("first-run.png", "viewer.png", "doublecmd.png", "stream.png", "mpd-stopped.png"):
        fc.check_screenshot(checks, session.x, session.run_dir / name)
    checks.fact("%d calls logged" % len(records))


def song_ids(mpd):
    return [value for key, value in mpd.command("playlistinfo") if key == "Id"]


def check_plays_on(checks, mpd, step, before):
    """MPD plays the song that it played before the step, from where it was: the same
    song id, and an elapsed time that went on (not back to the start)."""
    after = mpd.status()
    checks.equal(after.get("songid"), before.get("songid"), "MPD after %s: the same song plays" % step)
    checks.check(_elapsed(after) >= _elapsed(before) > 0,
                 "MPD after %s: the song went on from %s s (now %s s), no restart"
                 % (step, before.get("elapsed"), after.get("elapsed")))


def check_copy_out(checks, run, music, sources):
    """F5 out of the folder: one FsGetFileW per item with no flags, each answered 0, and
    each copy in the other panel's folder (music), under the name the host chose, byte
    for byte its entry's file."""
    gets = calls_named(run.records("copy out two"), "FsGetFile")
    expected = [("/" + shown_name(p), str(music / shown_name(p)), 0, 0) for p in sources]
    checks.equal(sorted((g["remote"], g["local"], g["flags"], g.get("result")) for g in gets),
                 sorted(expected), "copy out two: FsGetFileW calls (remote, local, flags, result)")
    for source in sources:
        copy = music / shown_name(source)
        checks.equal(copy.read_bytes() if copy.exists() else None, source.read_bytes(),
                     "copy out two: the copy of %s byte for byte" % source.name)


def check_mpd(checks, mpd, step, queue, song):
    checks.equal(mpd.queue_files(), queue, "MPD after %s: the queue" % step)
    status = mpd.status()
    checks.equal((status.get("song"), status.get("state")), (str(song), "play"),
                 "MPD after %s: the entry it plays" % step)


def run(session, checks, settings_program):
    session.write_music(MUSIC, SONG_SECONDS)
    session.plugin_env["TMPDIR"] = str(session.run_dir / "tmp")
    (session.run_dir / "tmp").mkdir()
    (session.run_dir / "saved").mkdir()
    formats = write_formats(session)
    session.start_mpd()
    durations = seed_mpd(session, checks, formats)
    plenvox_run = PlenvoxRun(session, settings_program)
    plenvox_run.formats = formats
    session.drive(checks, lambda: drive(plenvox_run, session, checks))
    check_steps(checks, plenvox_run, session, durations)

