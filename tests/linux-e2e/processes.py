"""The programs one run starts, each in a process group of its own, and their time limits.

Everything that a run starts is registered here and stopped by its process id (its group)
at the end of the run, also when the run fails; nothing else is ever signalled."""

import os
import signal
import subprocess
import time

STOP_LIMIT = 10  # seconds a program has to end after SIGTERM before it gets SIGKILL


class StepTimeout(Exception):
    """A step of the run did not finish within its time limit."""


def wait_until(condition, limit, what, poll=0.1):
    """Returns the first true value of condition(), polling until limit seconds passed."""
    deadline = time.monotonic() + limit
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise StepTimeout("%s: not within %.0f s" % (what, limit))
        time.sleep(poll)


def run_step(args, limit, env=None, check=True):
    """Runs a helper program (xdotool, identify ...) to its end within limit seconds."""
    try:
        result = subprocess.run([str(a) for a in args], env=env, stdin=subprocess.DEVNULL,
                                capture_output=True, timeout=limit)
    except subprocess.TimeoutExpired:
        raise StepTimeout("%s did not end within %.0f s" % (" ".join(map(str, args)), limit))
    if check and result.returncode != 0:
        raise RuntimeError("%s failed (%d): %s" % (" ".join(map(str, args)), result.returncode,
                                                   result.stderr.decode("utf-8", "replace")))
    return result


class Processes:
    """The long-running programs of one run (Xvfb, MPD, Double Commander)."""

    def __init__(self, log_dir):
        self.log_dir = log_dir
        self._started = []  # (name, Popen), in the order they were started

    def start(self, name, args, env=None, pass_fds=()):
        """Starts a program whose output goes to <log_dir>/<name>.out."""
        with open(self.log_dir / ("%s.out" % name), "wb") as output:
            process = subprocess.Popen([str(a) for a in args], env=env, stdin=subprocess.DEVNULL,
                                       stdout=output, stderr=subprocess.STDOUT,
                                       pass_fds=pass_fds, start_new_session=True)
        self._started.append((name, process))
        return process

    def stop(self, process, limit=STOP_LIMIT):
        """Ends the program and whatever it started in its group; returns its exit code.
        The group is signalled only while its leader is not yet reaped, so that its id
        cannot have passed to another program."""
        if process.poll() is None:
            self._signal(process, signal.SIGTERM)
            try:
                process.wait(timeout=limit)
            except subprocess.TimeoutExpired:
                self._signal(process, signal.SIGKILL)
                process.wait(timeout=limit)
        return process.returncode

    def stop_all(self):
        """Stops every program of the run, the last started first."""
        while self._started:
            _, process = self._started.pop()
            self.stop(process)

    @staticmethod
    def _signal(process, number):
        try:
            os.killpg(process.pid, number)  # the group that start() created for it
        except (ProcessLookupError, PermissionError):
            pass
