"""One MPD for one run: its own configuration, local socket, music directory, database
and state under the run folder, and a "null" audio output, so that it plays without
sound hardware."""

from mpd_client import MpdClient, quote
from processes import wait_until

START_LIMIT = 30
UPDATE_LIMIT = 30
SOCKET_PATH_MAX = 107  # sun_path of a Unix socket address, without the closing zero


class MpdServer:
    def __init__(self, folder, music_directory):
        self.folder = folder
        self.music_directory = music_directory
        self.socket_path = folder / "socket"
        self.config_path = folder / "mpd.conf"
        if len(str(self.socket_path).encode()) > SOCKET_PATH_MAX:
            raise RuntimeError("the run folder's path is too long for MPD's socket: %s"
                               % self.socket_path)
        self.process = None

    def start(self, processes):
        (self.folder / "playlists").mkdir(parents=True, exist_ok=True)
        self.config_path.write_text(self._config(), encoding="utf-8")
        self.process = processes.start("mpd", ["mpd", "--no-daemon", self.config_path])
        wait_until(self._answers, START_LIMIT, "MPD answering on %s" % self.socket_path, poll=0.2)

    def update_database(self):
        with self.client() as client:
            client.command("update")
            wait_until(lambda: "updating_db" not in client.status(), UPDATE_LIMIT,
                       "MPD's database update", poll=0.2)

    def client(self):
        return MpdClient(self.socket_path)

    def _answers(self):
        if self.process.poll() is not None:
            raise RuntimeError("MPD ended at start (%d); see mpd.out and %s"
                               % (self.process.returncode, self.folder / "log"))
        try:
            with self.client() as client:
                client.command("ping")
            return True
        except OSError:
            return False

    def _config(self):
        settings = [
            ("music_directory", self.music_directory),
            ("playlist_directory", self.folder / "playlists"),
            ("db_file", self.folder / "database"),
            ("state_file", self.folder / "state"),
            ("log_file", self.folder / "log"),
            ("bind_to_address", self.socket_path),
            ("auto_update", "no"),
            ("zeroconf_enabled", "no"),
        ]
        lines = ["%s %s" % (key, quote(value)) for key, value in settings]
        lines += ["audio_output {", '  type "null"', '  name "null"', "}"]
        return "\n".join(lines) + "\n"
