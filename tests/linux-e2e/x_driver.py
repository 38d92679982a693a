"""Drives the windows of the run's display with xdotool, and takes its screenshots with
ImageMagick.

The display has no window manager: a window gets the keyboard only when it is given the
input focus (xdotool windowfocus), and a dialog that appears is focused before it is
answered. Double Commander's panels get the keyboard only after a click into one."""

import re

from processes import run_step, wait_until

STEP_LIMIT = 20  # seconds for one xdotool or ImageMagick call, or one wait for a window
KEY_DELAY_MS = 60
UNMAPPED_KEY_DELAY_MS = 500


class XDriver:
    def __init__(self, env):
        self.env = env

    def _xdotool(self, *args, check=True):
        return run_step(["xdotool"] + list(args), STEP_LIMIT, env=self.env, check=check)

    # --- windows ----------------------------------------------------------------------
    def windows(self, name_pattern):
        """The visible windows whose name matches the regular expression."""
        result = self._xdotool("search", "--onlyvisible", "--name", name_pattern, check=False)
        return [int(w) for w in result.stdout.split()]

    def window_name(self, window):
        return self._xdotool("getwindowname", str(window)).stdout.decode("utf-8", "replace").strip()

    def wait_window(self, name_pattern, exclude=(), limit=STEP_LIMIT):
        """Waits for a visible window named by the pattern (other than those excluded)."""
        def found():
            return [w for w in self.windows(name_pattern) if w not in exclude]
        return wait_until(found, limit, "a window named %s" % name_pattern)[0]

    def wait_gone(self, window, limit=STEP_LIMIT):
        wait_until(lambda: window not in self.windows("."), limit, "window %d closing" % window)

    def geometry(self, window):
        """(x, y, width, height) of the window on the screen."""
        text = self._xdotool("getwindowgeometry", "--shell", str(window)).stdout.decode()
        values = dict(re.findall(r"(\w+)=(\d+)", text))
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    # --- input ------------------------------------------------------------------------
    def focus(self, window):
        self._xdotool("windowfocus", "--sync", str(window))

    def keys(self, window, *names):
        """Focuses the window, then presses the keys one after another."""
        self.focus(window)
        self._xdotool("key", "--delay", str(KEY_DELAY_MS), *names)

    def type_text(self, window, text):
        self.focus(window)
        for run in re.findall(r"[\x00-\x7e]+|[^\x00-\x7e]+", text):
            # A character that the display's US map lacks (é) is bound to a spare key only
            # while xdotool presses it: a slower pace gives a busy program the time to read
            # it before the binding is undone.
            ascii_run = run[0] <= "\x7e"
            delay = KEY_DELAY_MS if ascii_run else UNMAPPED_KEY_DELAY_MS
            self._xdotool("type", "--delay", str(delay), run)

    def click(self, window, x_fraction, y_fraction):
        """Clicks the left button at a point given as fractions of the window's size."""
        x, y, width, height = self.geometry(window)
        self._xdotool("mousemove", str(x + int(width * x_fraction)),
                      str(y + int(height * y_fraction)), "click", "1")

    # --- screenshots ------------------------------------------------------------------
    def screenshot(self, path):
        run_step(["import", "-window", "root", path], STEP_LIMIT, env=self.env)
        return path

    def colour_count(self, path):
        """The number of distinct colours of an image: 1 for a blank screen."""
        result = run_step(["identify", "-format", "%k", path], STEP_LIMIT, env=self.env)
        return int(result.stdout.decode().strip() or 0)
