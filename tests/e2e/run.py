#!/usr/bin/env python3
"""End-to-end runner: the built plug-in of one Windows build folder, loaded by the
scripted host under Wine, with the stand-in player and recorders.

    run.py test --build build/mingw32 [--group G]... [--only NAME]... [-v]
    run.py demo --build build/mingw32
    run.py bench --build build/mingw32 --corpus FOLDER [--entries 10000] [--repeat 3]
    run.py thumbnails --build build/mingw64 [--entries 500] [--repeat 3]
    run.py screenshot --build build/mingw64 --out docs/thumbnail-view.png
    run.py probe --build build/mingw32

A build whose Wine loader cannot run on this machine (the 32-bit one, where the kernel
runs no 32-bit program) is not tested: `test` says why in one line and exits with
SKIPPED, which CTest reports as a skipped test; `probe` exits 1 with the same line.

Scenario folders stay in <build>/e2e/runs/<scenario> for inspection."""

import argparse
import sys
import time
import traceback
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, str(Path(__file__).resolve().parent))

import bench  # noqa: E402
import bench_pictures  # noqa: E402
import thumbnail_view  # noqa: E402
import check  # noqa: E402
import demo  # noqa: E402
import scenarios_columns  # noqa: E402,F401  (each registers its scenarios)
import scenarios_commands  # noqa: E402,F401
import scenarios_copyout  # noqa: E402,F401
import scenarios_formats  # noqa: E402,F401
import scenarios_edits  # noqa: E402,F401
import scenarios_faults  # noqa: E402,F401
import scenarios_host  # noqa: E402,F401
import scenarios_listing  # noqa: E402,F401
import scenarios_playlist_folder  # noqa: E402,F401
import scenarios_load  # noqa: E402,F401
import scenarios_pictures  # noqa: E402,F401
import scenarios_settings  # noqa: E402,F401
import scenarios_unicode  # noqa: E402,F401
from wine_session import StepTimeout, WineSession, probe_loader  # noqa: E402
from workspace import INI_PATH, REGISTRY_KEY, REGISTRY_VALUE, Artefacts, Scenario  # noqa: E402


class RegistryState:
    """Sets or removes the registry value that names the INI file, only when a scenario
    needs the other state than the current one."""

    def __init__(self, session):
        self.session = session
        self.present = None

    def ensure(self, present):
        if present == self.present:
            return
        if present:
            self.session.set_registry_value(REGISTRY_KEY, REGISTRY_VALUE, INI_PATH)
        else:
            self.session.delete_registry_key(REGISTRY_KEY)
        self.present = present


# The exit code of a test run that could not start here (tests/e2e/CMakeLists.txt tells
# CTest: SKIP_RETURN_CODE).
SKIPPED = 77


def select(groups, names):
    chosen = [s for s in check.SCENARIOS
              if (not groups or s.group in groups) and (not names or any(n in s.name for n in names))]
    # Scenarios without the registry value first: the value is then set once.
    return sorted(chosen, key=lambda s: s.registry)


def run_tests(args):
    build = Path(args.build).resolve()
    artefacts = Artefacts(build)
    scenarios = select(args.group, args.only)
    if not scenarios:
        print("no scenario selected")
        return 1
    why = probe_loader(artefacts.bits)
    if why is not None:
        print("skipped: %d-bit build not run: %s" % (artefacts.bits, why))
        return SKIPPED
    runs = build / "e2e" / "runs"
    failures = []
    started = time.monotonic()
    with WineSession(build / "e2e", artefacts.bits, verbose=args.verbose) as session:
        registry = RegistryState(session)
        for entry in scenarios:
            begin = time.monotonic()
            registry.ensure(entry.registry)
            sc = Scenario(session, artefacts, runs / entry.name, entry.name)
            try:
                entry.run(sc)
                status = "ok"
            except check.ScenarioFailure as failure:
                status = "FAILED"
                failures.append((entry, str(failure), sc.diagnostics()))
            except StepTimeout as timeout:
                status = "TIMEOUT"
                failures.append((entry, str(timeout), sc.diagnostics()))
                session.restart_server()
                registry.present = None
            except Exception:  # a fault of the runner itself: report it with the scenario
                status = "ERROR"
                failures.append((entry, traceback.format_exc(), sc.diagnostics()))
            if status != "TIMEOUT" and sc.left_programs_behind():
                session.restart_server()
                registry.present = None
            print("%-8s %-10s %-55s %5.1f s" % (status, entry.group, entry.name,
                                                time.monotonic() - begin), flush=True)
    for entry, message, diagnostics in failures:
        print("\n=== %s/%s (%s)\n%s\n%s" % (entry.group, entry.name, artefacts.plugin_name,
                                           message, diagnostics))
    print("\n%d scenarios, %d failed, %.0f s (%s)" % (len(scenarios), len(failures),
                                                   time.monotonic() - started,
                                                   artefacts.plugin_name))
    return 1 if failures else 0


def _in_session(args, name, body):
    """Runs body(scenario) in a Wine session of the build, in the run folder name, and
    prints what it answers."""
    build = Path(args.build).resolve()
    artefacts = Artefacts(build)
    with WineSession(build / "e2e", artefacts.bits, verbose=args.verbose) as session:
        RegistryState(session).ensure(True)
        print(body(Scenario(session, artefacts, build / "e2e" / "runs" / name, name)))
    return 0


def run_demo(args):
    return _in_session(args, "demo", demo.run)


def run_bench(args):
    return _in_session(args, "bench", lambda sc: bench.run(sc, Path(args.corpus), args.entries, args.repeat))


def run_thumbnails(args):
    return _in_session(args, "thumbnails", lambda sc: bench_pictures.run(sc, args.entries, args.repeat))


def run_screenshot(args):
    icons = Path(args.build).resolve() / "src" / "plugin" / "dll" / "icons"
    return _in_session(args, "thumbnail-view",
                       lambda sc: thumbnail_view.run(sc, icons, Path(args.out).resolve()))


def run_probe(args):
    bits = Artefacts(Path(args.build).resolve()).bits
    why = probe_loader(bits)
    print(why or "the %d-bit build runs on this machine" % bits)
    return 0 if why is None else 1


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = parser.add_subparsers(dest="command", required=True)
    test = sub.add_parser("test", help="run the scenarios")
    test.add_argument("--build", required=True, help="a Windows build folder (build/mingw32)")
    test.add_argument("--group", action="append", help="only scenarios of this group")
    test.add_argument("--only", action="append", help="only scenarios whose name contains this")
    test.add_argument("-v", "--verbose", action="store_true")
    show = sub.add_parser("demo", help="list a generated playlist in display modes 0, 1 and 2")
    show.add_argument("--build", required=True, help="a Windows build folder (build/mingw32)")
    show.add_argument("-v", "--verbose", action="store_true")
    timing = sub.add_parser("bench", help="time the listing of a large playlist in modes 0, 1, 2")
    timing.add_argument("--build", required=True, help="a Windows build folder (build/mingw32)")
    timing.add_argument("--corpus", required=True, help="a folder of audio files to link to")
    timing.add_argument("--entries", type=int, default=10000)
    timing.add_argument("--repeat", type=int, default=3)
    timing.add_argument("-v", "--verbose", action="store_true")
    thumbs = sub.add_parser("thumbnails", help="time the thumbnails and icons of entries with covers")
    thumbs.add_argument("--build", required=True, help="a Windows build folder (build/mingw64)")
    thumbs.add_argument("--entries", type=int, default=500)
    thumbs.add_argument("--repeat", type=int, default=3)
    thumbs.add_argument("-v", "--verbose", action="store_true")
    shot = sub.add_parser("screenshot", help="draw the thumbnail view from the host's bitmaps and icons")
    shot.add_argument("--build", required=True, help="a Windows build folder (build/mingw64)")
    shot.add_argument("--out", required=True, help="the PNG file to write")
    shot.add_argument("-v", "--verbose", action="store_true")
    probe = sub.add_parser("probe", help="tell whether this build's Wine loader runs here")
    probe.add_argument("--build", required=True, help="a Windows build folder (build/mingw32)")
    args = parser.parse_args()
    commands = {"test": run_tests, "demo": run_demo, "bench": run_bench, "thumbnails": run_thumbnails,
                "screenshot": run_screenshot,
                "probe": run_probe}
    return commands[args.command](args)


if __name__ == "__main__":
    sys.exit(main())
