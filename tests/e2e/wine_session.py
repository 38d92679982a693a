"""One Wine session of the end-to-end runner: a private X server, a Wine prefix inside
the build folder (created once, then reused) and one persistent wineserver for the
whole run, so that the many short Windows programs of the scenarios start quickly.

Each session runs the programs of one build through Wine's loader of that build's
width: a 64-bit build through the 64-bit loader in a 64-bit prefix (which needs no
32-bit support from the machine), a 32-bit build through the 32-bit loader. Debian's
`wine` command would pick the 32-bit loader for both whenever it is installed.
Whether the machine can run the 32-bit loader at all is found out by running it
(`probe_loader`): kernels and containers without 32-bit support are common.

The session stops only what it started, by process id; `wineserver -k` is used only on
the prefix that this runner created (it carries the marker file PREFIX_MARKER)."""

import fcntl
import os
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path

PREFIX_MARKER = ".plenvox-e2e-prefix"  # holds PREFIX_SETTINGS_VERSION
PREFIX_SETTINGS_VERSION = "2"
PREFIX_SETTINGS = [
    # A crash of a scenario program must end it, not open a dialog.
    (r"HKCU\Software\Wine\WineDbg", "ShowCrashDialog", "REG_DWORD", "0"),
    # Xvfb has no window manager: Wine would wait two seconds for one at every hidden
    # window (each closed message box) unless its windows are unmanaged.
    (r"HKCU\Software\Wine\X11 Driver", "Managed", "REG_SZ", "N"),
]
PREFIX_CREATE_LIMIT = 600  # seconds; a fresh prefix takes about half a minute
STEP_LIMIT = 60  # seconds for one Windows program of a scenario
SERVER_READY_LIMIT = 30

# The drive letter under which every scenario sees its own folder, so that paths in
# expectations stay short and do not depend on where the build folder lies.
SCENARIO_DRIVE = "p:"


# Wine's loaders as Debian installs them; the environment may name others (a loader that
# cannot start makes the 32-bit groups skip, which is how that case is tried on a machine
# that does run 32-bit programs).
LOADERS = {
    32: ("PLENVOX_WINE32", "/usr/lib/wine/wine"),
    64: ("PLENVOX_WINE64", "/usr/lib/wine/wine64"),
}
PROBE_LIMIT = 60


def loader_for(bits: int) -> str:
    variable, default = LOADERS[bits]
    return os.environ.get(variable) or default


def probe_loader(bits: int):
    """Runs the loader of this width once (`--version` needs no prefix and no display).
    None when it ran; else one line that says why it cannot run here."""
    loader = loader_for(bits)
    try:
        result = subprocess.run([loader, "--version"], stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                timeout=PROBE_LIMIT)
    except OSError as error:  # "Exec format error" where the kernel runs no i386 program
        return "%s cannot run on this machine: %s" % (loader, error.strerror or error)
    except subprocess.TimeoutExpired:
        return "%s did not answer within %d s" % (loader, PROBE_LIMIT)
    if result.returncode != 0:
        return "%s cannot run on this machine: exit code %d" % (loader, result.returncode)
    return None


class StepTimeout(Exception):
    """A Windows program of a scenario did not finish within its time limit."""


class WineSession:
    def __init__(self, work_dir: Path, bits: int, verbose: bool = False):
        self.work_dir = work_dir
        self.bits = bits
        self.loader = loader_for(bits)
        self.prefix = work_dir / "prefix"
        self.verbose = verbose
        self.display = None
        self._xvfb = None
        self._server = None
        self._session_lock = None
        self.env = None

    # --- start and stop --------------------------------------------------------------
    def __enter__(self):
        # One session at a time per prefix: a second run on the same build folder waits.
        self.work_dir.mkdir(parents=True, exist_ok=True)
        self._session_lock = open(self.work_dir / "session.lock", "w")
        fcntl.flock(self._session_lock, fcntl.LOCK_EX)
        try:
            self._start_display()
            # Programs and a server left running by an aborted earlier run end first.
            self._kill_prefix_programs()
            self._prepare_prefix()
            # The drive must exist before Wine's services start: the shell's folder
            # picker only knows the drives that were there when they started.
            self.map_scenario_drive(self.work_dir)
            self._start_server()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        if self._server is not None:
            self._stop_server()
        if self._xvfb is not None:
            _stop_process(self._xvfb)
            self._xvfb = None
        if self._session_lock is not None:
            self._session_lock.close()
            self._session_lock = None

    def restart_server(self):
        """Ends every program of the prefix and starts a fresh wineserver; used after a
        scenario that timed out or left programs behind."""
        self._stop_server()
        self._start_server()

    def _start_display(self):
        read_end, write_end = os.pipe()
        try:
            self._xvfb = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                 "-nolisten", "tcp"],
                pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            os.close(write_end)
            write_end = None
            number = _read_line(read_end, timeout=30)
        finally:
            if write_end is not None:
                os.close(write_end)
            os.close(read_end)
        if not number.strip().isdigit():
            raise RuntimeError("Xvfb did not report its display")
        self.display = ":" + number.strip()
        self.env = dict(os.environ)
        self.env.update({
            "DISPLAY": self.display,
            "WINEPREFIX": str(self.prefix),
            "WINEDEBUG": "-all",
            # No Mono/Gecko installers, no menu entries on the build machine.
            "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
            # The locale decides Wine's ANSI code page and how Unix file names read:
            # with C.UTF-8 the code page is 1252 (Western) and file names are UTF-8, which
            # the Unicode scenarios rely on (they check the code page first).
            "LANG": "C.UTF-8",
        })
        for name in ("LC_ALL", "LC_CTYPE", "LANGUAGE"):
            self.env.pop(name, None)
        # The plug-in reads these from its host's environment; scenarios set them.
        for name in ("WINEARCH", "WINESERVER", "WINELOADER", "commander_path",
                     "COMMANDER_PATH"):
            self.env.pop(name, None)
        if self.bits == 64:
            # A 64-bit prefix, and the programs that Wine itself starts (its services,
            # cmd's children) through the same 64-bit loader.
            self.env.update({"WINEARCH": "win64", "WINELOADER": self.loader})

    def _prepare_prefix(self):
        """Creates the prefix when it is missing, and applies PREFIX_SETTINGS when they
        are newer than the prefix (the session lock keeps other runs out meanwhile)."""
        marker = self.prefix / PREFIX_MARKER
        if not marker.exists():
            if self.prefix.exists():
                shutil.rmtree(self.prefix)  # an earlier creation that did not finish
            self._log("creating the Wine prefix (once) in %s" % self.prefix)
            self.run(["wineboot", "--init"], limit=PREFIX_CREATE_LIMIT)
        elif marker.read_text().strip() == PREFIX_SETTINGS_VERSION:
            return
        for key, name, kind, value in PREFIX_SETTINGS:
            self.run(["reg", "add", key, "/v", name, "/t", kind, "/d", value, "/f"])
        # The registry reaches the prefix's files when the server ends.
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=PREFIX_CREATE_LIMIT)
        marker.write_text(PREFIX_SETTINGS_VERSION + "\n")

    def _start_server(self):
        self._server = subprocess.Popen(["wineserver", "-f", "-p"], env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + SERVER_READY_LIMIT
        # The first program of the session also starts Wine's own services.
        while True:
            result = self.run(["cmd", "/c", "exit"], check=False)
            if result.returncode == 0 or time.monotonic() > deadline:
                break
            time.sleep(0.5)

    def _stop_server(self):
        self._kill_prefix_programs()
        if self._server is not None:
            _stop_process(self._server)
            self._server = None

    def _kill_prefix_programs(self):
        if not (self.prefix / PREFIX_MARKER).exists():
            return
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=SERVER_READY_LIMIT,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if self._server is not None:
            try:
                self._server.wait(timeout=SERVER_READY_LIMIT)
            except subprocess.TimeoutExpired:
                pass

    # --- programs ------------------------------------------------------------------------
    def command(self, args):
        """The command line that starts a Windows program (or a Wine built-in such as
        reg) through this session's loader."""
        return [self.loader] + [str(a) for a in args]

    def run(self, args, limit=STEP_LIMIT, check=True):
        """Runs a Windows program (or a Wine built-in such as reg) to its end. Its output
        goes to files, not pipes: Wine's own services, started by whichever program
        needs them first, inherit the handles and outlive the program."""
        command = self.command(args)
        self._log("$ " + " ".join(command))
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            process = subprocess.Popen(command, env=self.env, stdin=subprocess.DEVNULL,
                                       stdout=out, stderr=err)
            try:
                process.wait(timeout=limit)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
                raise StepTimeout("%s did not end within %d s\n%s" % (
                    args[0], limit, _read(out).decode("latin-1")))
            result = subprocess.CompletedProcess(command, process.returncode, _read(out),
                                                 _read(err))
        if check and result.returncode != 0:
            raise RuntimeError("%s failed (%d): %s" % (
                " ".join(command), result.returncode, result.stderr.decode("latin-1")))
        return result

    def set_registry_value(self, key, name, value):
        self.run(["reg", "add", key, "/v", name, "/t", "REG_SZ", "/d", value, "/f"])

    def delete_registry_key(self, key):
        self.run(["reg", "delete", key, "/f"], check=False)

    def map_scenario_drive(self, folder: Path):
        """Points the scenario drive at folder; Wine resolves the link at every open."""
        link = self.prefix / "dosdevices" / SCENARIO_DRIVE
        if link.is_symlink() or link.exists():
            link.unlink()
        link.symlink_to(folder.resolve())

    def _log(self, text):
        if self.verbose:
            print("  [wine] " + text, flush=True)


def _read_line(fd, timeout):
    deadline = time.monotonic() + timeout
    data = b""
    os.set_blocking(fd, False)
    while not data.endswith(b"\n") and time.monotonic() < deadline:
        try:
            chunk = os.read(fd, 64)
            if not chunk:
                break
            data += chunk
        except BlockingIOError:
            time.sleep(0.05)
    return data.decode("ascii", "replace")


def _read(file):
    file.seek(0)
    return file.read()


def _stop_process(process):
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
