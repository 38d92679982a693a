"""A small client of MPD's text protocol over its local socket: one command, one answer
of "key: value" lines closed by OK (or an ACK error)."""

import socket

TIMEOUT = 10  # seconds for one answer


class MpdError(Exception):
    """MPD answered a command with ACK."""


def quote(argument):
    text = str(argument)
    return '"%s"' % text.replace("\\", "\\\\").replace('"', '\\"')


class MpdClient:
    def __init__(self, socket_path):
        self._socket = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self._socket.settimeout(TIMEOUT)
        try:
            self._socket.connect(str(socket_path))
            self._file = self._socket.makefile("rwb")
            greeting = self._file.readline().decode("utf-8")
        except OSError:
            self._socket.close()
            raise
        if not greeting.startswith("OK MPD "):
            self.close()
            raise MpdError("not an MPD greeting: %r" % greeting)
        self.protocol_version = greeting.split()[2]

    def close(self):
        self._socket.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def command(self, name, *arguments):
        """Sends one command; returns its answer as a list of (key, value) pairs."""
        line = " ".join([name] + [quote(a) for a in arguments]) + "\n"
        self._file.write(line.encode("utf-8"))
        self._file.flush()
        pairs = []
        while True:
            answer = self._file.readline().decode("utf-8")
            if not answer:
                raise MpdError("MPD closed the connection after %r" % name)
            answer = answer.rstrip("\n")
            if answer == "OK":
                return pairs
            if answer.startswith("ACK "):
                raise MpdError("%s: %s" % (name, answer))
            key, _, value = answer.partition(": ")
            pairs.append((key, value))

    # --- the answers the checks read --------------------------------------------------
    def status(self):
        return dict(self.command("status"))

    def queue_files(self):
        """The queue's URIs in order (relative to the music directory, or absolute)."""
        return [value for key, value in self.command("playlistinfo") if key == "file"]

    def music_directory(self):
        return dict(self.command("config")).get("music_directory")
