"""Reading the line formats of the scripted host (tools/wfxhost/README.md), of the
stand-in player's log and of the recorder's log."""

import re
from dataclasses import dataclass

ITEM_FIELDS = ("attributes", "creation", "access", "write", "size_high", "size_low",
               "reserved0", "reserved1", "name", "short_name")

UNCHANGED = "="  # a field that the plug-in left as the host passed it
LAST_ERROR_MARKER = 12345  # the host's last error before every plug-in call

_ESCAPE = re.compile(r"\\x([0-9a-f]{2})")


def unescape(text: str) -> str:
    """The bytes of an escaped field, as a latin-1 string (one character per byte)."""
    return _ESCAPE.sub(lambda m: chr(int(m.group(1), 16)), text)


def utf8(text: str) -> str:
    """The text of an unescaped field whose bytes are UTF-8 (a Unicode record's name,
    the Unicode stand-in's paths)."""
    return text.encode("latin-1").decode("utf-8")


def split_lines(text: str):
    return [line.split("\t") for line in text.splitlines() if line]


@dataclass
class Item:
    fields: dict

    def __getitem__(self, name):
        return self.fields[name]

    @property
    def name(self):
        return unescape(self.fields["name"])

    @property
    def wide_name(self):
        """The name of a Unicode record (written in UTF-8)."""
        return utf8(self.name)

    def row(self):
        return [self.fields[f] for f in ITEM_FIELDS]


class HostOutput:
    def __init__(self, text: str, returncode: int):
        self.text = text
        self.returncode = returncode
        self.lines = split_lines(text)

    def of(self, kind):
        """Every line of one kind, without its kind field."""
        return [line[1:] for line in self.lines if line[0] == kind]

    def kinds(self, *kinds):
        """The lines of the given kinds, in order, each joined back with tabs."""
        return ["\t".join(line) for line in self.lines if line[0] in kinds]

    def items(self):
        """The records that the plug-in's listing filled."""
        return [item for owner, _, item in self._records() if owner in ("findfirst", "findnext")]

    def wide_items(self):
        """The records that the plug-in's Unicode listing filled (FsFindFirstW, FsFindNextW)."""
        return [item for owner, _, item in self._records() if owner in ("findfirstw", "findnextw")]

    def wide_listings(self):
        """The names of each Unicode listing (FsFindFirstW and the FsFindNextW after it),
        in order."""
        listings = []
        for owner, _, item in self._records():
            if owner == "findfirstw":
                listings.append([])
            if owner in ("findfirstw", "findnextw") and listings:
                listings[-1].append(item.wide_name)
        return listings

    def stats(self):
        """The host's own look-ups: path -> record, or None for a path not found (the
        paths of "statw" decoded from UTF-8)."""
        found = {tuple(args): item for owner, args, item in self._records()
                 if owner in ("stat", "statw")}
        return {(utf8 if l[0] == "statw" else str)(unescape(l[2])): found.get(tuple(l[1:]))
                for l in self.lines if l[0] in ("stat", "statw")}

    def _records(self):
        """Each item line with the line it belongs to: (kind, fields, item)."""
        records, owner = [], None
        for line in self.lines:
            if line[0] == "item" and owner is not None:
                records.append((owner[0], owner[1:], Item(dict(zip(ITEM_FIELDS, line[1:])))))
            elif line[0] != "item":
                owner = line
        return records

    def exports(self):
        return {line[1]: line[2] for line in self.lines if line[0] == "export"}

    def from_last(self, kind):
        """The output from the last line of the kind on (all of it without such a line)."""
        starts = [i for i, line in enumerate(self.lines) if line[0] == kind]
        tail = self.lines[starts[-1]:] if starts else self.lines
        return HostOutput("\n".join("\t".join(line) for line in tail), self.returncode)


class PlayerLog:
    """The stand-in player's log: requests in order and, after its window was closed,
    its final playlist."""

    def __init__(self, text: str):
        self.lines = split_lines(text)

    def requests(self):
        """Each request as (message, wParam, lParam, name)."""
        return [(int(l[1]), int(l[2]), int(l[3]), l[4]) for l in self.lines if l[0] == "request"]

    def answers(self, name=None):
        """The answers to the requests (of one name, such as "write", when given)."""
        return [int(l[5]) for l in self.lines if l[0] == "request" and name in (None, l[4])]

    def events(self):
        """Starts, hand-overs, additions and requests in order, as short texts."""
        out = []
        for l in self.lines:
            if l[0] == "request":
                out.append("%s %s %s %s" % (l[4], l[1], l[2], l[3]))
            elif l[0] in ("start", "handoff", "add", "error"):
                out.append(" ".join([l[0]] + [unescape(f) for f in l[1:]]))
        return out

    def starts(self):
        """Each start as (arguments, show code)."""
        return [(unescape(l[1]), l[2]) for l in self.lines if l[0] == "start"]

    def final_playlist(self):
        """(position, [paths]) as logged when the player was closed, or None."""
        exits = [l for l in self.lines if l[0] == "exit"]
        if not exits:
            return None
        last_exit = max(i for i, l in enumerate(self.lines) if l[0] == "exit")
        paths = [unescape(l[2]) for l in self.lines[last_exit:] if l[0] == "entry"]
        return int(exits[-1][1]), paths


def recorded_command_lines(text: str, kind: str = "cmdline"):
    """The command lines that a recorder logged, in order: as GetCommandLineA gave them
    ("cmdline"), or as GetCommandLineW gave them ("cmdlinew", decoded from UTF-8)."""
    lines = [unescape(l[1]) if len(l) > 1 else "" for l in split_lines(text) if l[0] == kind]
    return [utf8(line) for line in lines] if kind == "cmdlinew" else lines
