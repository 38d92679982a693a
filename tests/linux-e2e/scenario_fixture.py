"""The fixture scenario: a user opens the fixture plug-in's folder in Double Commander,
copies MP3 files into it (several, then one), copies an item out, deletes one item and
then two, and opens two items whose opening asks the host for an answer (a message and a
target folder). The checks read the calls that the fixture logged and ask MPD, which
the run fills with the same MP3 files.

The fixture lists the items of FIXTURE_ITEMS and never changes its folder, so the host's
cursor positions below stay valid from step to step."""

import time
from contextlib import contextmanager

import fixture_checks as fc
from call_log import (OP_DELETE, OP_EXEC, OP_GET_SINGLE, OP_LIST, OP_PUT_MULTI,
                      OP_PUT_MULTI_THREAD, OP_PUT_SINGLE, calls_named)
from doublecmd import KEY_COPY, KEY_DELETE, KEY_OPEN_PLUGIN, KEY_SELECT_ALL
from fixture_facts import observe
from processes import StepTimeout, wait_until

ROOT_NAME = "Fixture"
# In the order Double Commander sorts them, in any letter case and collation.
GENERATED = ["one.mp3", "three \u00e9.mp3", "two.mp3"]
FIXTURE_ITEMS = ["alpha.mp3", "big.mp3", "message.txt", "target.txt", "vox \u010caj \u00fc.mp3"]
PICKED_FOLDER = "/picked \u00e9"
REQUEST_MSG_OK, REQUEST_TARGET_DIR = 8, 6
BG_UPLOAD = 2
OPERATION_LIMIT = 20  # seconds from a key press to the end of the host's operation
SETTLE = 1.5  # seconds to wait for a listing that may follow an operation
PLAY_LIMIT = 10  # seconds for MPD to report that it plays
OPEN_ATTEMPTS, OPEN_WAIT = 30, 2  # presses of the key that opens the folder, seconds each

COPY_DIALOG = r"^Copy file\(s\)$"
DELETE_DIALOG = r"^Double Commander$"  # a question box under the program's name
REQUEST_DIALOG = r"^Fixture request$"  # the title that the fixture passes


class Run:
    """Drives one Double Commander and notes which calls each step produced."""

    def __init__(self, session):
        self.session = session
        self.x = session.x
        self.calls = session.calls
        self.main = None
        self.spans = {}  # step name -> (first, end) positions in the call log

    @contextmanager
    def step(self, name):
        first = self.calls.mark()
        yield first
        self.spans[name] = (first, self.calls.mark())

    def records(self, name):
        first, end = self.spans[name]
        return self.calls.records()[first:end]

    def press(self, *keys):
        self.x.keys(self.main, *keys)

    def press_until_called(self, key, since, attempts=OPEN_ATTEMPTS):
        for _ in range(attempts):
            self.press(key)
            try:
                return self.calls.wait_for(bool, OPEN_WAIT, "a call after %s" % key, since)
            except StepTimeout:
                continue
        raise StepTimeout("no call of the plug-in after %d presses of %s" % (attempts, key))

    def answer(self, pattern, *keys, screenshot=None):
        dialog = self.x.wait_window(pattern, exclude=(self.main,))
        if screenshot:
            self.session.screenshot(screenshot)
        self.x.keys(dialog, *keys)
        self.x.wait_gone(dialog)
        return dialog

    def wait_end(self, numbers, since, relisted=True):
        self.calls.wait_operation_end(numbers, OPERATION_LIMIT, since, relisted=relisted)


def drive(run, session):
    music = session.music
    run.main = session.start_doublecmd(music, music)
    with run.step("open") as since:
        # In the left panel, active at start. The window shows before the program takes
        # keys, so the key is pressed again until the listing starts.
        run.press_until_called(KEY_OPEN_PLUGIN, since)
        run.wait_end({OP_LIST}, since, relisted=False)
    # The panels take keys only after a click: into the right one, the MP3 folder.
    run.x.click(run.main, 0.75, 0.5)
    with run.step("copy several") as since:
        run.press(KEY_SELECT_ALL, KEY_COPY)
        run.answer(COPY_DIALOG, "Return")
        run.wait_end({OP_PUT_MULTI, OP_PUT_MULTI_THREAD}, since)
    with run.step("copy one") as since:
        run.press("Home", "Down", KEY_COPY)
        run.answer(COPY_DIALOG, "Return")
        run.wait_end({OP_PUT_SINGLE, OP_PUT_MULTI_THREAD}, since)
    run.press("Tab")  # to the plug-in's panel
    with run.step("copy out") as since:
        run.press("Home", "Down", "Down", KEY_COPY)  # big.mp3
        run.answer(COPY_DIALOG, "Return")
        run.wait_end({OP_GET_SINGLE}, since, relisted=False)
        time.sleep(SETTLE)  # room for a listing, should the host make one
    with run.step("delete one") as since:
        run.press("Home", "Down", KEY_DELETE)  # alpha.mp3
        run.answer(DELETE_DIALOG, "Return")
        run.wait_end({OP_DELETE}, since)
    with run.step("delete two") as since:
        run.press("Home", "Down", "Down", "Insert", "Insert", KEY_DELETE)  # big, message
        run.answer(DELETE_DIALOG, "Return")
        run.wait_end({OP_DELETE}, since)
    with run.step("open message") as since:
        run.press("Home", "Down", "Down", "Down", "Return")  # message.txt
        run.answer(REQUEST_DIALOG, "Return", screenshot="request.png")
        run.wait_end({OP_EXEC}, since)
    with run.step("open target") as since:
        run.press("Home", "Down", "Down", "Down", "Down", "Return")  # target.txt
        dialog = run.x.wait_window(REQUEST_DIALOG, exclude=(run.main,))
        run.x.keys(dialog, "ctrl+a")
        run.x.type_text(dialog, PICKED_FOLDER)
        run.x.keys(dialog, "Return")
        run.x.wait_gone(dialog)
        run.wait_end({OP_EXEC}, since)
    session.screenshot("doublecmd.png")


def seed_mpd(session, paths, checks):
    """Queues the MP3 files by absolute path and plays the first: MPD accepts the files
    the harness makes. Returns the queue."""
    with session.mpd.client() as mpd:
        checks.equal(mpd.music_directory(), str(session.music), "MPD: its music directory")
        mpd.command("clear")
        for path in paths:
            # MPD takes the path after "file://" as it is, without percent-decoding.
            mpd.command("add", "file://" + str(path))
        queue = mpd.queue_files()
        checks.equal(queue, [p.name for p in paths],
                     "MPD: the queue holds the files, relative to the music directory")
        mpd.command("play", 0)
        try:
            wait_until(lambda: _elapsed(mpd.status()) > 0, PLAY_LIMIT, "MPD playing")
            checks.check(True, "MPD: plays the first file (null output)")
        except StepTimeout as timeout:
            checks.check(False, "MPD: plays the first file: %s (status %r)" % (timeout, mpd.status()))
    return queue


def _elapsed(status):
    return float(status.get("elapsed", 0)) if status.get("state") == "play" else 0


def put_operations(records):
    """The operation numbers of a copy of several files and of one file into the folder:
    with BG_UPLOAD among the plug-in's background flags the host copies in a thread of
    its own, operation 20 for both."""
    flags = [r["result"] for r in calls_named(records, "FsGetBackgroundFlags")]
    if flags and flags[-1] & BG_UPLOAD:
        return OP_PUT_MULTI_THREAD, OP_PUT_MULTI_THREAD
    return OP_PUT_MULTI, OP_PUT_SINGLE


def check_steps(checks, run, session, queue):
    music = session.music
    all_records = run.calls.records()
    several, one = put_operations(all_records)
    fc.check_listing(checks, run.records("open"), FIXTURE_ITEMS)
    init = calls_named(all_records, "FsInit")
    checks.check(init and all(r.get("MPD_HOST") == str(session.mpd.socket_path) for r in init),
                 "the plug-in's environment names the run's MPD (MPD_HOST)")
    put = ("local", "remote", "flags")
    fc.check_edit(checks, run.records("copy several"), "copy several", several, "FsPutFile",
                  put, [(str(music / n), "/" + n, 0) for n in GENERATED])
    fc.check_edit(checks, run.records("copy one"), "copy one", one, "FsPutFile",
                  put, [(str(music / GENERATED[0]), "/" + GENERATED[0], 0)])
    fc.check_copy_out(checks, run.records("copy out"), run.records("open"), OP_GET_SINGLE,
                      music / fc.COPY_OUT_ITEM)
    fc.check_edit(checks, run.records("delete one"), "delete one", OP_DELETE, "FsDeleteFile",
                  ("remote",), [("/" + FIXTURE_ITEMS[0],)])
    fc.check_edit(checks, run.records("delete two"), "delete two", OP_DELETE, "FsDeleteFile",
                  ("remote",), [("/" + FIXTURE_ITEMS[1],), ("/" + FIXTURE_ITEMS[2],)])
    fc.check_open(checks, run.records("open message"), "open message", OP_EXEC, FIXTURE_ITEMS[2],
                  REQUEST_MSG_OK)
    fc.check_open(checks, run.records("open target"), "open target", OP_EXEC, FIXTURE_ITEMS[3],
                  REQUEST_TARGET_DIR, PICKED_FOLDER)
    for name in ("request.png", "doublecmd.png"):
        fc.check_screenshot(checks, session.x, session.run_dir / name)
    with session.mpd.client() as mpd:
        checks.equal(mpd.queue_files(), queue, "MPD: the queue is as the run left it")
    observe(checks, all_records, run.spans, session.dc.process.pid)


def run(session, checks):
    paths = session.write_music(GENERATED)
    session.start_mpd()
    queue = seed_mpd(session, paths, checks)
    fixture_run = Run(session)
    session.drive(checks, lambda: drive(fixture_run, session))
    check_steps(checks, fixture_run, session, queue)
