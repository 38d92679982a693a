"""Double Commander 1.0.10 for one run: a configuration folder written before it starts
(--config-dir) that registers the plug-in and binds the few keys the scenarios press,
and the program itself with its main window.

doublecmd.xml registers a file-system plug-in under <Plugins><WfxPlugins> by the name
that its wfx:// path uses. The keys live in a second file, shortcuts.scf (named by
<NameShortcutFile> in doublecmd.xml): when it exists it replaces every default key, so
it lists each key that a scenario presses. Double Commander rewrites both files when it
exits."""

import xml.etree.ElementTree as ET

from processes import StepTimeout, wait_until

DC_VERSION = "1.0.10"
CONFIG_VERSION = "13"  # what 1.0.10 writes into a new doublecmd.xml
HOTKEYS_VERSION = "53"  # what 1.0.10 writes into a new shortcuts.scf
WINDOW = (0, 0, 1024, 700)  # left, top, width, height of the main window
MAIN_WINDOW_NAME = "^Double Commander"  # "... - ROOT PRIVILEGES" when run as root
START_LIMIT = 60
EXIT_LIMIT = 10

# xdotool key names of the bound commands.
KEY_OPEN_PLUGIN = "ctrl+F12"
KEY_COPY = "F5"
KEY_VIEW = "F3"
KEY_CLOSE_VIEWER = "Escape"
KEY_DELETE = "F8"
KEY_SELECT_ALL = "ctrl+a"
KEY_EXIT = "alt+x"
KEY_REFRESH = "ctrl+r"


def hotkeys(root_name):
    """(shortcut as Double Commander writes it, command, parameter, control)."""
    return [
        ("Ctrl+F12", "cm_ChangeDir", "wfx://%s/" % root_name, None),
        ("F3", "cm_View", None, None),
        ("F5", "cm_Copy", None, None),
        ("F8", "cm_Delete", None, None),
        ("Alt+X", "cm_Exit", None, None),
        ("Ctrl+A", "cm_MarkMarkAll", None, "Files Panel"),
        ("Ctrl+R", "cm_Refresh", None, "Files Panel"),
    ]


def _element(parent, tag, text=None, **attributes):
    child = ET.SubElement(parent, tag, attributes)
    if text is not None:
        child.text = str(text)
    return child


def _write(root, path):
    ET.indent(root)
    ET.ElementTree(root).write(path, encoding="UTF-8", xml_declaration=True)


def write_main_config(path, root_name, plugin_path):
    root = ET.Element("doublecmd", DCVersion=DC_VERSION, ConfigVersion=CONFIG_VERSION)
    position = _element(_element(root, "MainWindow"), "Position", Save="False")
    for tag, value in zip(("Left", "Top", "Width", "Height"), WINDOW):
        _element(position, tag, value)
    _element(position, "Maximized", "False")
    plugin = _element(_element(_element(root, "Plugins"), "WfxPlugins"), "WfxPlugin",
                      Enabled="True")
    _element(plugin, "Name", root_name)
    _element(plugin, "Path", plugin_path)
    _write(root, path)


def write_hotkeys(path, root_name):
    root = ET.Element("doublecmd", DCVersion=DC_VERSION)
    form = _element(_element(root, "Hotkeys", Version=HOTKEYS_VERSION), "Form", Name="Main")
    for shortcut, command, parameter, control in hotkeys(root_name):
        key = _element(form, "Hotkey")
        _element(key, "Shortcut", shortcut)
        _element(key, "Command", command)
        if parameter is not None:
            _element(key, "Param", parameter)
        if control is not None:
            _element(key, "Control", control)
    # The viewer's own keys are replaced too: Escape closes it.
    viewer = _element(_element(root.find("Hotkeys"), "Form", Name="Viewer"), "Hotkey")
    _element(viewer, "Shortcut", "Esc")
    _element(viewer, "Command", "cm_ExitViewer")
    _write(root, path)


class DoubleCommander:
    def __init__(self, folder, root_name, plugin_path):
        self.config_dir = folder
        self.root_name = root_name
        self.plugin_path = plugin_path
        self.process = None
        self.window = None

    def start(self, processes, env, left, right, x):
        """Starts it with the two panels on the given folders; returns the main window."""
        self.config_dir.mkdir(parents=True, exist_ok=True)
        write_main_config(self.config_dir / "doublecmd.xml", self.root_name, self.plugin_path)
        write_hotkeys(self.config_dir / "shortcuts.scf", self.root_name)
        self.process = processes.start("doublecmd", [
            "doublecmd", "--config-dir=%s" % self.config_dir, "-L", left, "-R", right], env=env)
        self.window = wait_until(self._main_window(x), START_LIMIT, "Double Commander's window",
                                 poll=0.3)
        return self.window

    def _main_window(self, x):
        def found():
            if self.process.poll() is not None:
                raise RuntimeError("Double Commander ended at start (%d); see doublecmd.out"
                                   % self.process.returncode)
            windows = x.windows(MAIN_WINDOW_NAME)
            return windows[0] if windows else None
        return found

    @property
    def running(self):
        return self.process is not None and self.process.poll() is None

    def exit(self, x, attempts=3):
        """Closes it as a user does (Alt+X); True when it ended so."""
        for _ in range(attempts):
            if not self.running:
                break
            x.keys(self.window, KEY_EXIT)
            try:
                wait_until(lambda: not self.running, EXIT_LIMIT, "Double Commander ending")
            except StepTimeout:
                continue
        return not self.running
