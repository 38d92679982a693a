#!/usr/bin/env python3
"""End-to-end run of a file-system plug-in in a real Double Commander (under Xvfb, driven
with xdotool) with a real MPD.

    run.py --plugin build/native/tests/linux-e2e/WfxFixture.wfx --scenario fixture
           [--run-dir DIR] [--plugin-env NAME=VALUE]...
    run.py --plugin build/linux/tests/linux-e2e/WfxProxy.wfx --scenario plenvox
           --plugin-env PLENVOX_PROXY_TARGET=build/linux/src/plugin/so/plenvox.wfx
           --settings-program build/linux/tools/settings/plenvox-settings

The run folder (default: a folder "run-<scenario>" beside the plug-in) is made afresh
and kept afterwards with the screenshots, the logs and the plug-in's call log."""

import argparse
import sys
import time
import traceback
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, str(Path(__file__).resolve().parent))

import scenario_fixture  # noqa: E402
import scenario_plenvox  # noqa: E402
from checks import Checks  # noqa: E402
from session import Session  # noqa: E402

SCENARIOS = {"fixture": scenario_fixture, "plenvox": scenario_plenvox}


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--plugin", required=True, help="the .wfx shared object to load")
    parser.add_argument("--scenario", choices=sorted(SCENARIOS), default="fixture")
    parser.add_argument("--run-dir", help="the run folder (made afresh)")
    parser.add_argument("--plugin-env", action="append", default=[], metavar="NAME=VALUE",
                        help="an environment variable for the plug-in (the fixture reads "
                             "PLENVOX_FIXTURE_BACKGROUND: its background flags)")
    parser.add_argument("--settings-program", help="plenvox-settings (the plenvox scenario runs it)")
    args = parser.parse_args()
    plugin = Path(args.plugin).resolve()
    if not plugin.is_file():
        parser.error("no plug-in at %s" % plugin)
    run_dir = Path(args.run_dir) if args.run_dir else plugin.parent / ("run-" + args.scenario)
    scenario = SCENARIOS[args.scenario]

    started = time.monotonic()
    checks = Checks()
    plugin_env = dict(setting.partition("=")[::2] for setting in args.plugin_env)
    with Session(run_dir, plugin, scenario.ROOT_NAME, plugin_env) as session:
        try:
            if args.scenario == "plenvox":
                scenario.run(session, checks, Path(args.settings_program).resolve())
            else:
                scenario.run(session, checks)
        except Exception:  # a step that failed or timed out: report it with the checks
            checks.check(False, "the scenario ran to its end:\n" + traceback.format_exc())
    print(checks.report())
    print("run folder %s, %.0f s" % (session.run_dir, time.monotonic() - started))
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main())
