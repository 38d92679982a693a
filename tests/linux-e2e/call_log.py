"""The fixture plug-in's log: one JSON object per call of the host, in call order.

The fixture writes a UTF-16 text (the W entry points) unit by unit and an ANSI text byte
by byte; texts() gives both as Python strings, decoding the ANSI bytes as UTF-8 (what
Double Commander passes on Linux), so that checks compare names alike."""

import json
from dataclasses import dataclass, field

from processes import wait_until

STATUS_START, STATUS_END = 0, 1
OP_LIST, OP_GET_SINGLE, OP_GET_MULTI, OP_PUT_SINGLE, OP_PUT_MULTI = 1, 2, 3, 4, 5
OP_DELETE, OP_EXEC, OP_PUT_MULTI_THREAD = 8, 11, 20
TEXT_KEYS = ("path", "name", "dir", "local", "remote", "verb", "returnedText", "iniName")


def base_name(call):
    """FsPutFileW and FsPutFile are the same call for the checks."""
    return call[:-1] if call.startswith("Fs") and call.endswith("W") else call


def _decoded(record):
    if record["call"].endswith("W") or record.get("via") == "W":
        return record
    for key in TEXT_KEYS:
        value = record.get(key)
        if isinstance(value, str):
            try:
                record[key] = value.encode("latin-1").decode("utf-8")
            except (UnicodeEncodeError, UnicodeDecodeError):
                pass  # kept as logged: not UTF-8
    return record


@dataclass
class Operation:
    """The calls between one pair of FsStatusInfo start and end notifications."""
    number: int
    directory: str
    start: int  # index of the start notification in the log
    end: int  # index of the end notification, or None while it runs
    calls: list = field(default_factory=list)


class CallLog:
    def __init__(self, path):
        self.path = path

    def records(self):
        if not self.path.exists():
            return []
        with open(self.path, encoding="utf-8") as log:
            return [_decoded(json.loads(line)) for line in log if line.strip()]

    def mark(self):
        """The position after the last call so far: the start of the next step's calls."""
        return len(self.records())

    def wait_for(self, condition, limit, what, since=0):
        """Waits until condition(records since the mark) is true; returns its value."""
        return wait_until(lambda: condition(self.records()[since:]), limit, what, poll=0.1)

    def wait_operation_end(self, numbers, limit, since, relisted=False):
        """Waits until an operation with one of the numbers has ended after `since` (and,
        with relisted, until a listing after it has ended too)."""
        def done(records):
            ended = [op for op in operations(records) if op.number in numbers and op.end is not None]
            if not ended:
                return None
            if not relisted:
                return True
            return any(op.number == OP_LIST and op.end is not None and op.start > ended[0].end
                       for op in operations(records))
        what = "operation %s ending%s" % ("/".join(map(str, numbers)),
                                          " and a listing after it" if relisted else "")
        self.wait_for(done, limit, what, since)


def operations(records):
    """The operations among the records, in order; inner calls keep their order."""
    found, running = [], None
    for index, record in enumerate(records):
        if base_name(record["call"]) == "FsStatusInfo":
            if record["startEnd"] == STATUS_START:
                running = Operation(record["operation"], record["dir"], index, None)
                found.append(running)
            elif running is not None and record["operation"] == running.number:
                running.end = index
                running = None
        elif running is not None:
            running.calls.append(record)
    return found


def calls_named(records, name):
    return [r for r in records if base_name(r["call"]) == name]
