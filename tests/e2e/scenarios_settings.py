"""The settings program settings.exe under Wine: its command line writes the INI file
and the registry value that the plug-in then loads, "/show" prints what the plug-in
sees, a read-only INI file is refused and left whole, and its dialog, worked from
outside by its control ids (settings-dialog-driver.exe), saves what was entered or,
on Cancel, nothing. A screenshot of the dialog lands in <build>/e2e/settings-dialog.png."""

import os
import shutil
import stat
import subprocess

from check import expect, expect_clean, expect_equal, scenario
from wine_session import STEP_LIMIT
from workspace import DRIVE, INI_PATH, PLAYER_FOLDER, REFERENCE_DIR, REGISTRY_KEY, SETTINGS_FOLDER

SETTINGS = DRIVE + "\\setup\\settings.exe"
DRIVER = DRIVE + "\\setup\\settings-dialog-driver.exe"
FIRST_RUN_CAPTION = "First run message"
SCREENSHOT = "settings-dialog.png"

# Control ids of the dialog (tools/settings/SettingsControls.h).
OK, CANCEL = 1, 2
INI_FILE, WINAMP_FOLDER, EDITOR, SETTINGS_PROGRAM, EXT_FILTER = 1001, 1002, 1004, 1006, 1011
PLAYLIST_FOLDER, PLAYLIST_IN_USE = 1014, 1016
MODE_NAME, MODE_DATA, MODE_TIME, BLOCK_DEAD, DISABLE_MULTI = 1008, 1009, 1010, 1012, 1013
NUMBER_COPIES = 1020
# The extension filter of a new settings file: every format the folder reads.
PROPOSED_EXT_FILTER = "mp3:mp2:mp1:flac:ogg:oga:opus:m4a:m4b:mp4:aac:wav:aif:aiff:aifc:wma"
# Message-box buttons.
BOX_OK = 1

DEFAULT_FIELDS = {
    "Valid": "false", "WinampFolder": "", "PlaylistFolder": "", "WinampExe": "winamp.exe",
    "WinampPlaylist": "winamp.m3u", "Editor": "", "SettingsProgram": "", "DisplayMode": "1",
    "ExtFilter": "mp3", "BlockDead": "true", "DisableMulti": "true", "TagCodePage": "0", "NumberCopies": "false",
    "PlaylistInUse": "",
}


def install_settings(sc):
    """settings.exe and the dialog driver in P:\\setup (the plug-in's own folder keeps
    the recorder, so that a first-run start opens no dialog)."""
    bin_dir = sc.artefacts.plugin.parent
    setup = sc.folder / "setup"
    setup.mkdir(exist_ok=True)
    for name in ("settings.exe", "settings-dialog-driver.exe"):
        shutil.copy(bin_dir / name, setup / name)


def run_settings(sc, *arguments):
    result = sc.session.run([SETTINGS] + list(arguments), check=False)
    return result.returncode, result.stdout.decode("latin-1"), result.stderr.decode("latin-1")


def shown(sc):
    code, out, err = run_settings(sc, "/show")
    expect_equal(code, 0, "exit code of /show (%s)" % err)
    fields = dict(line.split("=", 1) for line in out.splitlines() if line)
    expect(fields.pop("TempPlaylist", "").endswith("\\temp.m3u"), "TempPlaylist in %r" % out)
    return fields


def linux_path(sc, windows_path):
    """The Linux path of a C: path inside the session's prefix."""
    drive, rest = windows_path.split(":\\", 1)
    expect_equal(drive.upper(), "C", "drive of " + windows_path)
    return sc.session.prefix / "drive_c" / rest.replace("\\", "/")


def listed_names(out):
    return [item.name for item in out.items()]


@scenario("settings", registry=False)
def set_writes_what_the_plugin_then_loads(sc):
    sc.install()
    install_settings(sc)
    sc.write_playlist(["P:\\music\\a.mp3", "P:\\music\\b.mp3"])
    before = sc.run_host(["list \\"])
    expect_clean(before)
    expect_equal([box[3] for box in before.of("msgbox")], [FIRST_RUN_CAPTION],
                 "message boxes before the settings are written")
    expect_equal(shown(sc), DEFAULT_FIELDS, "/show without settings")

    code, out, err = run_settings(sc, "/set", "path.winampfolder=" + PLAYER_FOLDER.rstrip("\\"),
                                  "Mode.DisplayMode=0")
    expect_equal(code, 0, "exit code of /set (%s)" % err)
    saved = [line[len("Saved "):] for line in out.splitlines() if line.startswith("Saved ")]
    expect_equal(len(saved), 1, "the saved INI file in %r" % out)
    ini = linux_path(sc, saved[0])
    try:
        expect(saved[0].endswith("\\Plenvox\\plenvox.ini"), "proposed INI file " + saved[0])
        query = sc.session.run(["reg", "query", REGISTRY_KEY, "/v", "IniFileName"], check=False)
        expect("REG_SZ" in query.stdout.decode("latin-1") and
               saved[0] in query.stdout.decode("latin-1"),
               "registry value: %s" % query.stdout.decode("latin-1"))
        text = ini.read_bytes().decode("latin-1")
        expect("WinampFolder=" + PLAYER_FOLDER + "\r\n" in text, "INI text:\n" + text)

        after = sc.run_host(["list \\"])
        expect_clean(after)
        expect_equal(after.of("msgbox"), [], "message boxes once the settings are written")
        expect_equal(listed_names(after), ["P:\\music\\a.mp3", "P:\\music\\b.mp3"], "listing")
        expect_equal(shown(sc), dict(DEFAULT_FIELDS, Valid="true", WinampFolder=PLAYER_FOLDER,
                                     WinampExe=PLAYER_FOLDER + "winamp.exe",
                                     WinampPlaylist=PLAYER_FOLDER + "winamp.m3u",
                                     DisplayMode="0", PlaylistInUse=PLAYER_FOLDER,
                                     ExtFilter=PROPOSED_EXT_FILTER),
                     "/show after /set (a new file: every format's extension proposed)")
    finally:
        # The runner keeps the registry without the value for the scenarios that need that.
        sc.session.delete_registry_key(REGISTRY_KEY)
        shutil.rmtree(ini.parent, ignore_errors=True)


@scenario("settings")
def show_prints_what_the_plugin_sees(sc):
    install_settings(sc)
    sc.write_ini(winamp_folder="P:\\player", editor='" P:\\tools\\ed.exe "',
                 DisplayMode="258", ExtFilter="", BlockDead="false", DisableMulti="0")
    expect_equal(shown(sc), {
        "Valid": "true", "WinampFolder": "P:\\player", "PlaylistFolder": "",
        "WinampExe": "P:\\playerwinamp.exe",
        "WinampPlaylist": "P:\\playerwinamp.m3u", "Editor": " P:\\tools\\ed.exe ",
        "SettingsProgram": "", "DisplayMode": "2", "ExtFilter": "", "BlockDead": "true",
        "DisableMulti": "false", "TagCodePage": "0", "NumberCopies": "false", "PlaylistInUse": "P:\\player",
    }, "/show")


@scenario("settings")
def set_round_trips_quotes_and_blanks(sc):
    install_settings(sc)
    sc.write_ini(DisplayMode="1")
    code, _, err = run_settings(sc, "/set", 'Path.Editor=" P:\\tools\\ed.exe "',
                                "Mode.ExtFilter= mp3:ogg ", "Mode.BlockDead=off")
    expect_equal(code, 0, "exit code of /set (%s)" % err)
    fields = shown(sc)
    expect_equal((fields["Editor"], fields["ExtFilter"], fields["BlockDead"],
                  fields["DisplayMode"], fields["WinampFolder"]),
                 ('" P:\\tools\\ed.exe "', " mp3:ogg ", "false", "1", PLAYER_FOLDER),
                 "values read back by the plug-in's loader")


@scenario("settings")
def set_refuses_a_read_only_ini_and_changes_nothing(sc):
    install_settings(sc)
    sc.write_ini(DisplayMode="1")
    ini = sc.path(INI_PATH)
    before = ini.read_bytes()
    ini.chmod(stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)
    try:
        code, out, err = run_settings(sc, "/set", "Mode.DisplayMode=2")
    finally:
        ini.chmod(stat.S_IRUSR | stat.S_IWUSR | stat.S_IRGRP | stat.S_IROTH)
    expect_equal(code, 1, "exit code of /set on a read-only INI file")
    expect("settings: Cannot write P:\\plenvox.ini: " in err and "error 5" in err,
           "error message: %r" % err)
    expect_equal(out, "", "standard output")
    expect_equal(ini.read_bytes(), before, "INI file bytes")
    expect(not sc.exists(INI_PATH + ".tmp"), "a temporary file was left")


@scenario("settings")
def set_refuses_bad_values_and_changes_nothing(sc):
    install_settings(sc)
    sc.write_ini(DisplayMode="1")
    before = sc.read_bytes(INI_PATH)
    for arguments, code in ((["Mode.DisplayMode=0", "Path.Editor=" + "e" * 256], 1),
                            (["Mode.DisplayMode=3"], 1), (["Mode.Colour=red"], 2), ([], 2)):
        result, _, err = run_settings(sc, "/set", *arguments)
        expect_equal(result, code, "exit code of /set %s" % arguments)
        expect(err.startswith("settings: "), "message for /set %s: %r" % (arguments, err))
    expect_equal(sc.read_bytes(INI_PATH), before, "INI file bytes")


class Dialog:
    """settings.exe with its dialog open, started in the background."""

    def __init__(self, sc):
        self.sc = sc
        # No pipes: Wine's services, started by whichever program needs them first,
        # would inherit them and outlive the program.
        self.process = subprocess.Popen(sc.session.command([SETTINGS]), env=sc.session.env,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)

    def drive(self, *actions):
        result = self.sc.session.run([DRIVER] + list(actions), check=False)
        expect_equal(result.returncode, 0, "driver %s (%s)" % (
            " ".join(actions), result.stderr.decode("latin-1")))
        return [line.split("\t") for line in result.stdout.decode("latin-1").splitlines()]

    def exit_code(self):
        try:
            self.process.wait(timeout=STEP_LIMIT)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            expect(False, "settings.exe did not end after its dialog closed")
        return self.process.returncode

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def screenshot(sc):
    target = sc.artefacts.plugin.parent.parent / "e2e" / SCREENSHOT
    subprocess.run(["import", "-display", sc.session.display, "-window", "root", "-trim",
                    "+repage", str(target)], check=True, timeout=STEP_LIMIT)
    expect(target.stat().st_size > 0, "empty screenshot")


@scenario("settings")
def dialog_shows_the_settings_and_saves_what_was_entered(sc):
    sc.install()
    install_settings(sc)
    sc.write_ini(ExtFilter="mp3:wav")
    dialog = Dialog(sc)
    try:
        shown_controls = {(kind, int(i)): value for kind, i, value in dialog.drive("dump")}
        expect_equal([shown_controls[("text", i)] for i in (INI_FILE, WINAMP_FOLDER, PLAYLIST_FOLDER,
                                                            PLAYLIST_IN_USE, EXT_FILTER)],
                     [INI_PATH, PLAYER_FOLDER, "", PLAYER_FOLDER, "mp3:wav"],
                     "texts the dialog shows")
        expect_equal([shown_controls[("check", i)] for i in (MODE_NAME, MODE_DATA, MODE_TIME,
                                                             BLOCK_DEAD, DISABLE_MULTI)],
                     ["0", "1", "0", "1", "1"], "buttons the dialog shows")
        screenshot(sc)
        boxes = dialog.drive("text=%d:P:\\tools\\ed.exe" % EDITOR,
                             "text=%d: mp3:ogg " % EXT_FILTER,
                             "click=%d" % MODE_TIME, "check=%d:0" % DISABLE_MULTI,
                             "check=%d:1" % NUMBER_COPIES,
                             "text=%d:%s" % (SETTINGS_PROGRAM, "s" * 300),
                             "click=%d" % OK, "box=%d" % BOX_OK,
                             "text=%d:%%commander_path%%\\s.exe" % SETTINGS_PROGRAM,
                             "click=%d" % OK, "closed")
        expect_equal(boxes[0][:2], ["box", "Plenvox settings"], "the refusal of a long value")
        expect("at most 255" in boxes[0][2], "refusal text: %r" % boxes[0][2])
        expect_equal(boxes[-1], ["closed"], "the dialog closed after OK")
        expect_equal(dialog.exit_code(), 0, "exit code after OK")
    finally:
        dialog.close()
    text = sc.read_bytes(INI_PATH).decode("latin-1")
    for line in ("Editor=P:\\tools\\ed.exe", 'ExtFilter=" mp3:ogg "', "DisplayMode=2",
                 "DisableMulti=0", "NumberCopies=1", "BlockDead=1", "Settings=%commander_path%\\s.exe",
                 "WinampFolder=" + PLAYER_FOLDER):
        expect(line + "\r\n" in text, "%s in the INI file:\n%s" % (line, text))


@scenario("settings")
def dialog_cancel_changes_nothing(sc):
    install_settings(sc)
    sc.write_ini(DisplayMode="0")
    before = sc.read_bytes(INI_PATH)
    dialog = Dialog(sc)
    try:
        dialog.drive("text=%d:P:\\elsewhere\\" % WINAMP_FOLDER, "click=%d" % MODE_TIME,
                     "click=%d" % CANCEL, "closed")
        expect_equal(dialog.exit_code(), 1, "exit code after Cancel")
    finally:
        dialog.close()
    expect_equal(sc.read_bytes(INI_PATH), before, "INI file bytes")


@scenario("settings", registry=False)
def system_ini_reader_answers_as_the_table(sc):
    """The table of INI reader cases (tests/reference/ini-lookup.cases) that the
    portable reader of the POSIX platform and the tests' fake is checked against, here
    against GetPrivateProfileStringA itself."""
    probe = sc.artefacts.plugin.parent / "ini-probe.exe"
    shutil.copy(probe, sc.folder / "tools" / probe.name)
    table = REFERENCE_DIR / "ini-lookup.cases"
    shutil.copy(table, sc.folder / "tools" / table.name)
    result = sc.session.run([DRIVE + "\\tools\\" + probe.name, DRIVE + "\\tools\\" + table.name,
                             DRIVE + "\\temp\\probe.ini"], check=False)
    expect_equal(result.returncode, 0, "the reader's answers:\n" + result.stdout.decode("latin-1"))


@scenario("settings")
def playlist_folder_key_and_the_folder_in_use(sc):
    """/show tells the folder whose playlist the plug-in reads: WinampFolder while no
    player runs, the folder a running player reports (it is not started), and the key
    once /set has stored it (which then wins)."""
    sc.install(player_options={"PlaylistFolder": SETTINGS_FOLDER, "Answers": "338"})
    install_settings(sc)
    sc.write_ini(DisplayMode="1")
    expect_equal(shown(sc)["PlaylistInUse"], PLAYER_FOLDER, "without a running player")
    out = sc.run_host(["init"], close_player=False)
    expect_clean(out)
    try:
        expect_equal(shown(sc)["PlaylistInUse"], SETTINGS_FOLDER, "with the running player")
        chosen = "P:\\chosen"
        sc.path(chosen).mkdir()
        code, _, err = run_settings(sc, "/set", "Path.PlaylistFolder=" + chosen)
        expect_equal(code, 0, "exit code of /set (%s)" % err)
        expect("winamp.m3u is not in the folder" in err, "the warning: %r" % err)
        fields = shown(sc)
        expect_equal((fields["PlaylistFolder"], fields["WinampPlaylist"], fields["PlaylistInUse"]),
                     (chosen + "\\", chosen + "\\winamp.m3u", chosen + "\\"), "/show with the key")
    finally:
        sc.run_host([], close_player=True)
    expect_equal(len(sc.player_log().starts()), 1, "/show started no player")
