"""The scenario registry and the assertions the scenarios use."""

import difflib
from dataclasses import dataclass
from typing import Callable


class ScenarioFailure(AssertionError):
    pass


@dataclass
class ScenarioEntry:
    group: str
    name: str
    run: Callable
    # False: the registry value that names the INI file is absent while it runs.
    registry: bool = True


SCENARIOS = []


def scenario(group, registry=True):
    def register(function):
        SCENARIOS.append(ScenarioEntry(group, function.__name__, function, registry))
        return function
    return register


def expect(condition, message):
    if not condition:
        raise ScenarioFailure(message)


def expect_equal(actual, expected, what):
    if actual == expected:
        return
    if isinstance(actual, list) and isinstance(expected, list):
        diff = "\n".join(difflib.unified_diff([str(x) for x in expected],
                                              [str(x) for x in actual],
                                              "expected", "actual", lineterm=""))
        raise ScenarioFailure("%s differs:\n%s" % (what, diff))
    raise ScenarioFailure("%s: expected %r, got %r" % (what, expected, actual))


def expect_clean(output):
    """No crash, no script error, no calling-convention fault, no host callback used,
    and the host ended normally."""
    for kind in ("crash", "error", "abi", "callback"):
        expect(not output.of(kind), "the host reported %s: %s" % (kind, output.of(kind)))
    expect(output.returncode == 0 and output.of("end") == [["0"]],
           "the host did not end normally (exit %d)" % output.returncode)
