"""What must be true of the host's calls in each step of the fixture scenario, and the
facts the run observed on the way (printed with the report)."""

from call_log import OP_LIST, base_name, calls_named, operations

ROOT = "/"
COPY_OUT_ITEM = "big.mp3"
# Double Commander converts the times of a listing to its own date type and back.
TIME_TOLERANCE = 10000  # 100 ns units: 1 ms
MIN_COLOURS = 16  # a blank screen has one


def listed_items(records):
    """The find-data records the fixture filled, by name."""
    return {r["name"]: r for r in records
            if base_name(r["call"]) in ("FsFindFirst", "FsFindNext") and r.get("result") == 1}


def relisted(records, operation):
    return any(op.number == OP_LIST and op.end is not None and op.start > operation.end
               for op in operations(records))


def check_listing(checks, records, items):
    listings = [op for op in operations(records) if op.number == OP_LIST and op.end is not None]
    if not checks.check(listings, "open: a listing between FsStatusInfo start and end"):
        return
    listing = listings[0]
    checks.equal(listing.directory, ROOT, "open: the listing's folder")
    checks.equal([r["path"] for r in calls_named(listing.calls, "FsFindFirst")], [ROOT],
                 "open: FsFindFirst's path")
    checks.equal(list(listed_items(listing.calls)), items, "open: the items listed")
    checks.check(calls_named(listing.calls, "FsFindClose"), "open: FsFindClose ends the listing")


def the_operation(checks, records, step, number):
    """The step's one operation other than listings; None when there is not exactly one."""
    edits = [op for op in operations(records) if op.number != OP_LIST and op.end is not None]
    if not checks.equal(len(edits), 1, "%s: operations other than listings" % step):
        return None
    checks.equal(edits[0].number, number, "%s: the operation's number" % step)
    checks.equal(edits[0].directory, ROOT, "%s: the operation's folder" % step)
    return edits[0]


def check_edit(checks, records, step, number, call, fields, expected):
    """The calls named `call` inside the step's operation, as tuples of `fields`, equal
    `expected` in any order; the host lists the folder again afterwards. Returns the
    calls in the order the host made them."""
    operation = the_operation(checks, records, step, number)
    if operation is None:
        return []
    made = [tuple(r.get(f) for f in fields) for r in calls_named(operation.calls, call)]
    checks.equal(sorted(made), sorted(expected), "%s: %s calls (%s)" % (step, call, ", ".join(fields)))
    checks.check(relisted(records, operation), "%s: the folder is listed again after it" % step)
    return made


def check_copy_out(checks, records, listing_records, number, local_path):
    operation = the_operation(checks, records, "copy out", number)
    if operation is None:
        return None
    gets = calls_named(operation.calls, "FsGetFile")
    checks.equal([(g["remote"], g["local"], g["flags"]) for g in gets],
                 [(ROOT + COPY_OUT_ITEM, str(local_path), 0)], "copy out: FsGetFile calls")
    listed = listed_items(listing_records).get(COPY_OUT_ITEM)
    if not gets or listed is None:
        return None
    got = gets[0]
    # What the host hands back was read from the find-data record the fixture filled:
    # equal values show that both agree on where each field lies.
    checks.equal((got.get("riSizeHigh"), got.get("riSizeLow")), divmod(listed["size"], 1 << 32),
                 "copy out: the remote size (high, low words) equals the listed one")
    difference = got.get("riWriteTime", 0) - listed["writeTime"]
    checks.check(abs(difference) <= TIME_TOLERANCE,
                 "copy out: the remote write time is the listed one (off by %d x 100 ns)" % difference)
    checks.equal(got.get("riAttr"), listed["attributes"], "copy out: the remote attributes")
    checks.equal(local_path.read_text(encoding="utf-8") if local_path.exists() else None,
                 "fixture copy of /%s\n" % COPY_OUT_ITEM, "copy out: the local file FsGetFile wrote")
    return difference


def check_open(checks, records, step, number, item, request_type, returned=None):
    """Enter on an item: FsExecuteFile "open" inside the operation, the fixture's request
    answered (non-zero) by the harness, and a listing afterwards."""
    check_edit(checks, records, step, number, "FsExecuteFile", ("remote", "verb"),
               [(ROOT + item, "open")])
    requests = calls_named(records, "Request")
    if not checks.equal([r["type"] for r in requests], [request_type], "%s: requests" % step):
        return None
    checks.check(requests[0]["result"] != 0, "%s: the answered request returns true (%d)"
                 % (step, requests[0]["result"]))
    if returned is not None:
        checks.equal(requests[0]["returnedText"], returned, "%s: the text the user typed" % step)
    return requests[0]


def check_screenshot(checks, x, path):
    if checks.check(path.exists(), "screenshot %s exists" % path.name):
        colours = x.colour_count(path)
        checks.check(colours >= MIN_COLOURS, "screenshot %s is not blank (%d colours)"
                     % (path.name, colours))
