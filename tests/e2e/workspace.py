"""The folder of one scenario, seen by the Windows programs as drive P:

    P:\\plenvox.ini          the settings (the registry value names it)
    P:\\plugin\\             the plug-in copy and settings.exe (a recorder) beside it
    P:\\player\\             winamp.exe (the stand-in), winamp.m3u, standin.log
    P:\\temp\\               TEMP of the host process
    P:\\music\\              audio files of the playlist
    P:\\tools\\              editor.exe and the configured settings program (recorders)
"""

import os
import shutil
import time
from pathlib import Path

from host_output import HostOutput, PlayerLog, recorded_command_lines
from wine_session import SCENARIO_DRIVE

DRIVE = SCENARIO_DRIVE.upper()
INI_PATH = DRIVE + "\\plenvox.ini"
REGISTRY_KEY = r"HKCU\Software\Orrery\Plenvox2"
REGISTRY_VALUE = "IniFileName"
PLAYER_CLASS = "Winamp v1.x"
PLAYER_FOLDER = DRIVE + "\\player\\"
# Where today's player keeps its playlist: the user's settings folder, away from its
# program folder.
SETTINGS_FOLDER = DRIVE + "\\appdata\\Winamp\\"
TEMP_FOLDER = DRIVE + "\\temp"
TEMP_PLAYLIST = TEMP_FOLDER + "\\temp.m3u"
# Time that a program started by the plug-in (and not waited for) gets to leave its log.
# Tables that the unit tests and the scenarios check alike.
REFERENCE_DIR = Path(__file__).resolve().parent.parent / "reference"
STARTED_PROGRAM_LIMIT = 10.0
# FILETIME of 1970-01-01, in 100-nanosecond units since 1601-01-01.
UNIX_EPOCH_FILETIME = 116444736000000000


class Artefacts:
    """The Windows programs of one build folder (build/<preset>)."""

    def __init__(self, build_dir: Path):
        bin_dir = build_dir / "bin"
        plugins = sorted(bin_dir.glob("PlenvoxFast.wfx*"))
        if len(plugins) != 1:
            raise SystemExit("expected one built plug-in in %s, found %s" % (bin_dir, plugins))
        self.plugin = plugins[0]
        self.fixture = bin_dir / ("HostSelfTest" + self.plugin.suffix)
        self.host = bin_dir / "wfxhost.exe"
        self.player = bin_dir / "player-standin.exe"
        self.recorder = bin_dir / "recorder.exe"
        for path in (self.host, self.player, self.recorder, self.fixture):
            if not path.exists():
                raise SystemExit("%s is missing: build the preset first" % path)

    @property
    def plugin_name(self):
        return self.plugin.name

    @property
    def bits(self):
        """The build's width, told by the plug-in's name (PlenvoxFast.wfx64: 64)."""
        return 64 if self.plugin.suffix == ".wfx64" else 32


def filetime_of(unix_seconds: float) -> str:
    """A Unix time as the host's line format writes a FILETIME (16 hex digits)."""
    return "%016x" % (int(round(unix_seconds * 10_000_000)) + UNIX_EPOCH_FILETIME)


class Scenario:
    def __init__(self, session, artefacts: Artefacts, folder: Path, name: str):
        self.session = session
        self.artefacts = artefacts
        self.name = name
        self.folder = folder
        if folder.exists():
            shutil.rmtree(folder)
        for sub in ("plugin", "player", "temp", "music", "tools"):
            (folder / sub).mkdir(parents=True)
        session.map_scenario_drive(folder)
        self.outputs = []

    # --- paths -----------------------------------------------------------------------------
    def path(self, windows_path: str) -> Path:
        """The Linux path of a P: path."""
        assert windows_path.upper().startswith(DRIVE + "\\"), windows_path
        return self.folder / windows_path[3:].replace("\\", "/")

    @property
    def plugin_path(self):
        return DRIVE + "\\plugin\\" + self.artefacts.plugin_name

    @property
    def fixture_path(self):
        return DRIVE + "\\plugin\\" + self.artefacts.fixture.name

    # --- setting up ------------------------------------------------------------------------
    def install(self, player=True, settings_program=True, player_options=None):
        """The plug-in, the settings program beside it and the stand-in player; its
        options (tools/player-standin/README.md) make it today's player."""
        shutil.copy(self.artefacts.plugin, self.folder / "plugin" / self.artefacts.plugin_name)
        if settings_program:
            shutil.copy(self.artefacts.recorder, self.folder / "plugin" / "settings.exe")
        if player:
            shutil.copy(self.artefacts.player, self.folder / "player" / "winamp.exe")
        if player_options:
            lines = ["[standin]"] + ["%s=%s" % item for item in player_options.items()]
            self.write_bytes(PLAYER_FOLDER + "standin.ini",
                             ("\r\n".join(lines) + "\r\n").encode("utf-16"))

    def install_fixture(self):
        """The scripted host's test plug-in, beside the real one."""
        shutil.copy(self.artefacts.fixture, self.folder / "plugin" / self.artefacts.fixture.name)

    def install_recorder(self, windows_path: str):
        target = self.path(windows_path)
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy(self.artefacts.recorder, target)

    def write_ini(self, path=None, winamp_folder=PLAYER_FOLDER, **mode):
        """Writes the INI file. mode holds the keys of the "Mode" section
        (DisplayMode, ExtFilter, BlockDead, DisableMulti) and, as playlist_folder, editor
        and settings, the "Path" keys PlaylistFolder, Editor and Settings; None leaves a
        key out."""
        paths = {"WinampFolder": winamp_folder, "PlaylistFolder": mode.pop("playlist_folder", None),
                 "Editor": mode.pop("editor", None), "Settings": mode.pop("settings", None)}
        lines = ["[Path]"] + ["%s=%s" % (k, v) for k, v in paths.items() if v is not None]
        lines += ["[Mode]"] + ["%s=%s" % (k, v) for k, v in mode.items() if v is not None]
        self.write_bytes(path or INI_PATH, ("\r\n".join(lines) + "\r\n").encode("latin-1"))

    def write_playlist(self, entries, info=True, path=PLAYER_FOLDER + "winamp.m3u",
                       encoding="latin-1", mtime=None):
        """A playlist file as the player writes it: the header, then per entry an
        information line (unless info is false) and the path, with CR LF, in the
        encoding given (the bytes of a latin-1 text are the ANSI code page's); with
        mtime, last written then (a Unix time)."""
        lines = ["#EXTM3U"]
        for i, entry in enumerate(entries):
            if info:
                lines.append("#EXTINF:%d,Title %d" % (i + 1, i))
            lines.append(entry)
        self.write_bytes(path, ("\r\n".join(lines) + "\r\n").encode(encoding), mtime)

    def write_bytes(self, windows_path: str, data: bytes, mtime: float = None):
        target = self.path(windows_path)
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(data)
        if mtime is not None:
            os.utime(target, (mtime, mtime))
        return target

    def exists(self, windows_path: str) -> bool:
        return self.path(windows_path).exists()

    def read_bytes(self, windows_path: str) -> bytes:
        return self.path(windows_path).read_bytes()

    # --- running -----------------------------------------------------------------------------
    def run_host(self, script, env=None, temp=TEMP_FOLDER, close_player=True, limit=None,
                 plugin=None, encoding="latin-1"):
        """Runs the scripted host on the plug-in with the given script lines, written in
        the encoding given (UTF-8 for the texts of W commands). TEMP (and temp) of the
        host process are the scenario's temp folder unless temp says otherwise.
        Afterwards the stand-in player is closed, so that it logs its final playlist and
        no player is left for the next scenario."""
        lines = list(script)
        if close_player:
            lines += ["echo teardown", 'close "%s" 10000' % PLAYER_CLASS]
        script_file = self.folder / ("script%d.txt" % len(self.outputs))
        script_file.write_bytes(("\r\n".join(lines) + "\r\n").encode(encoding))
        args = [self.artefacts.host, "--cwd", DRIVE + "\\"]
        environment = {"TEMP": temp, "TMP": temp}
        environment.update(env or {})
        for name, value in environment.items():
            args += ["--env", "%s=%s" % (name, value)]
        args += ["--script", DRIVE + "\\" + script_file.name, plugin or self.plugin_path]
        kwargs = {"limit": limit} if limit else {}
        result = self.session.run(args, check=False, **kwargs)
        output = HostOutput(result.stdout.decode("latin-1"), result.returncode)
        self.outputs.append(output)
        (self.folder / ("host%d.out" % (len(self.outputs) - 1))).write_text(output.text)
        return output

    def run_program(self, windows_path: str, *arguments):
        """Runs a Windows program of the scenario to its end (output in the result)."""
        return self.session.run([windows_path] + list(arguments), check=False)

    # --- observing ---------------------------------------------------------------------------
    def player_log(self) -> PlayerLog:
        log = self.folder / "player" / "standin.log"
        return PlayerLog(log.read_text("latin-1") if log.exists() else "")

    def recorded(self, windows_path_of_log: str, expect: int = 1, kind: str = "cmdline"):
        """The command lines a recorder logged (as the A function gave them, or as the W
        function did for kind "cmdlinew"); waits (up to a limit) for expect lines, since
        the plug-in does not wait for the programs it starts."""
        log = self.path(windows_path_of_log)
        deadline = time.monotonic() + (STARTED_PROGRAM_LIMIT if expect else 0)
        while True:
            lines = recorded_command_lines(log.read_text("latin-1"), kind) if log.exists() else []
            if len(lines) >= expect or time.monotonic() >= deadline:
                return lines
            time.sleep(0.1)

    def left_programs_behind(self) -> bool:
        """True when a player that a run asked to close did not end."""
        return any(line[-1] == "timeout" for out in self.outputs for line in out.of("close"))

    def diagnostics(self) -> str:
        parts = []
        for i, output in enumerate(self.outputs):
            parts.append("--- host run %d (exit %d)\n%s" % (i, output.returncode, output.text))
        log = self.folder / "player" / "standin.log"
        if log.exists():
            parts.append("--- player log\n" + log.read_text("latin-1"))
        return "\n".join(parts)
