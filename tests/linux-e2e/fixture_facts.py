"""The facts of the host's behaviour that a run observes beyond its checks: the order of
the start-up calls, the entry-point forms, the threads, and per step the operation and
its calls. They go with the report, so that each run shows them again."""

from itertools import groupby

from call_log import OP_LIST, base_name, operations


def _runs(names):
    """"A, B, B, C" as "A, B x2, C"."""
    parts = []
    for name, group in groupby(names):
        count = len(list(group))
        parts.append(name if count == 1 else "%s x%d" % (name, count))
    return ", ".join(parts)


def _step_fact(name, records, main_pid):
    described = []
    for op in operations(records):
        calls = [base_name(r["call"]) for r in op.calls]
        if op.number == OP_LIST:
            calls = ["FsFindFirst/Next x%d" % sum(c in ("FsFindFirst", "FsFindNext") for c in calls)]
        threads = {r["tid"] for r in records[op.start:(op.end or op.start) + 1]}
        where = "main thread" if threads == {main_pid} else "other threads %s" % sorted(threads)
        described.append("op %d on %r [%s] (%s)" % (op.number, op.directory, _runs(calls), where))
    return "%s: %s" % (name, "; then ".join(described) or "no operation")


def observe(checks, records, spans, main_pid):
    starts = [i for i, r in enumerate(records) if base_name(r["call"]) == "FsStatusInfo"]
    before = records[:starts[0]] if starts else records
    checks.fact("before the first operation: " + _runs(r["call"] for r in before))
    checks.fact("entry points called: " + ", ".join(sorted({r["call"] for r in records
                                                             if r["call"].startswith("Fs")})))
    checks.fact("most other entry points running during one call: %d"
                % max((r.get("others", 0) for r in records), default=0))
    for params in [r for r in records if r["call"] == "FsSetDefaultParams"][:1]:
        checks.fact("FsSetDefaultParams: size %d, version %d.%d, ini %s" % (
            params["size"], params["versionHigh"], params["versionLow"], params["iniName"]))
    for name, (first, end) in spans.items():
        checks.fact(_step_fact(name, records[first:end], main_pid))
    for record in records:
        if base_name(record["call"]) in ("FsPutFile", "FsDeleteFile", "FsExecuteFile"):
            checks.fact("  %s %s" % (record["call"], " ".join(
                "%s=%r" % (k, record[k]) for k in ("local", "remote", "flags", "verb", "window")
                if k in record)))
        elif record["call"] == "Request":
            checks.fact("  request type %d via %s: result %d, returned %r" % (
                record["type"], record["via"], record["result"], record["returnedText"]))
