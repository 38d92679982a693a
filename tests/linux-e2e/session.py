"""One end-to-end run: a fresh run folder, a private Xvfb display, one MPD and one Double
Commander that has the plug-in registered, all stopped by process id when the run ends,
also when it fails.

The run folder (kept afterwards as the run's artefacts):
    music/            the MP3 files of the other panel; also MPD's music_directory
    mpd/              MPD's configuration, socket, database, state and log
    config/           Double Commander's --config-dir (doublecmd.xml, shortcuts.scf)
    home/             HOME and the XDG folders of Double Commander
    calls.jsonl       the fixture plug-in's log of the host's calls
    *.png             screenshots
    *.out             the output of Xvfb, MPD and Double Commander"""

import os
import shutil
import sys
from pathlib import Path

from call_log import CallLog
from doublecmd import DoubleCommander
from mpd_server import MpdServer
from processes import Processes
from x_driver import XDriver
from xvfb import start_display

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))
import mpeg_files  # noqa: E402  (the silent MPEG audio frames of the Wine end-to-end tests)

# Enough frames for a few seconds of play, so that MPD is seen playing.
MP3_FRAMES = 400


class Session:
    def __init__(self, run_dir, plugin_path, root_name, plugin_env=None):
        self.run_dir = Path(run_dir).resolve()
        self.plugin_path = Path(plugin_path).resolve()
        self.root_name = root_name
        self.plugin_env = dict(plugin_env or {})
        self.music = self.run_dir / "music"
        self.calls = CallLog(self.run_dir / "calls.jsonl")
        self.processes = None
        self.x = None
        self.mpd = None
        self.dc = None

    def __enter__(self):
        if self.run_dir.exists():
            shutil.rmtree(self.run_dir)
        for folder in ("music", "home", "config"):
            (self.run_dir / folder).mkdir(parents=True)
        self.processes = Processes(self.run_dir)
        try:
            self.x = XDriver(self._x_env(start_display(self.processes)))
        except BaseException:
            self.processes.stop_all()
            raise
        return self

    def __exit__(self, *exc):
        self.processes.stop_all()

    def write_music(self, names, seconds=None):
        """Writes one small MP3 file per name into the music folder (of about ten seconds,
        or of the seconds given); returns their paths."""
        frames = mpeg_files.seconds_to_frames(seconds) if seconds else MP3_FRAMES
        paths = []
        for name in names:
            path = self.music / name
            path.write_bytes(mpeg_files.constant_bit_rate(frames).data)
            paths.append(path)
        return paths

    def start_mpd(self):
        """Starts MPD on the music folder and has it read the files there into its
        database: MPD adds a file inside its music directory only when it knows it."""
        self.mpd = MpdServer(self.run_dir / "mpd", self.music)
        self.mpd.start(self.processes)
        self.mpd.update_database()
        return self.mpd

    def start_doublecmd(self, left, right):
        self.dc = DoubleCommander(self.run_dir / "config", self.root_name, self.plugin_path)
        return self.dc.start(self.processes, self._doublecmd_env(), left, right, self.x)

    def drive(self, checks, steps):
        """Runs the steps that drive Double Commander; a step that fails leaves
        failure.png. Double Commander is closed with Alt+X afterwards either way."""
        try:
            steps()
        except BaseException:
            self.screenshot("failure.png")
            raise
        finally:
            if self.dc is not None:
                checks.check(self.dc.exit(self.x), "Double Commander ends on Alt+X")

    def screenshot(self, name):
        return self.x.screenshot(self.run_dir / name)

    def _x_env(self, display):
        env = dict(os.environ)
        env["DISPLAY"] = display
        env.pop("XAUTHORITY", None)
        return env

    def user_env(self):
        """The environment of a program that the run's user starts beside Double
        Commander: its display, home and XDG folders."""
        env = self._doublecmd_env()
        for name in ("PLENVOX_FIXTURE_LOG", "MPD_HOST"):
            env.pop(name, None)
        return env

    def _doublecmd_env(self):
        home = self.run_dir / "home"
        env = dict(self.x.env)
        env.update({
            "HOME": str(home),
            "XDG_CONFIG_HOME": str(home / ".config"),
            "XDG_CACHE_HOME": str(home / ".cache"),
            "XDG_DATA_HOME": str(home / ".local" / "share"),
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
            "NO_AT_BRIDGE": "1",  # no accessibility bus to look for
            "PLENVOX_FIXTURE_LOG": str(self.calls.path),
            # The run's MPD, for a plug-in that talks to it (libmpdclient reads MPD_HOST).
            "MPD_HOST": str(self.mpd.socket_path),
        })
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        env.update(self.plugin_env)
        return env
