#!/usr/bin/env python3
"""Runs plenvox-info over every file of a folder and checks what it prints.

usage: check_corpus_json.py PLENVOX_INFO FOLDER [--reference FILE | --write-reference FILE]

Each file is run alone in JSON mode: exit code 0, nothing on standard error (where the
sanitizers report), exactly one line holding one JSON object with every expected key and
value type. Then all files go through one process, in JSON and in text mode: the JSON
lines must equal the single runs (one analyser serves every file, so nothing may carry
over from one load to the next). With --reference, the JSON lines of that run (files named
relative to FOLDER) must equal FILE byte for byte: the readers' results do not change when
their code is reshaped. --write-reference writes FILE from this build instead. Exits 1 and
names the file on the first problem.
"""
import json
import os
import subprocess
import sys

FRAME_FIELDS = {
    "Confirmed": bool, "Offset": int, "Length": int, "BlankAfterHeader": bool, "Header": list,
    "VersionCode": int, "LayerCode": int, "Protected": bool, "BitRateIndex": int,
    "SampleRateIndex": int, "Padded": bool, "PrivateBit": bool, "ModeCode": int,
    "ModeExtension": int, "Copyrighted": bool, "Original": bool, "EmphasisCode": int,
    "BitRate": int, "SampleRate": int, "FrameLength": int,
}
VBR_FIELDS = {
    "Present": bool, "HeaderId": str, "FrameCount": int, "ByteCount": int, "Quality": int,
    "Vendor": str,
}
ID3V1_FIELDS = {
    "Present": bool, "TagVersion": int, "Title": str, "Artist": str, "Album": str, "Year": str,
    "Comment": str, "Track": int, "GenreNumber": int,
}
ID3V2_FIELDS = {
    "Present": bool, "TagVersion": int, "TagSize": int, "Title": str, "Artist": str,
    "Album": str, "Track": int, "TrackText": str, "Year": str, "Genre": str, "Comment": str,
    "Composer": str, "EncodedBy": str, "Copyright": str, "Language": str, "UrlLink": str,
}
TOP_FIELDS = {
    "file": str, "loaded": bool, "PlayTime": (int, float), "FileLength": int,
    "EncoderTag": str, "Frame": dict, "VBR": dict, "ID3v1": dict, "ID3v2": dict,
}


class Problem(Exception):
    pass


def reject_constant(name):
    raise Problem(f"not JSON: {name}")


def check_fields(where, obj, fields):
    if not isinstance(obj, dict):
        raise Problem(f"{where} is not an object")
    if set(obj) != set(fields):
        raise Problem(f"{where} keys differ: missing {sorted(set(fields) - set(obj))}, "
                      f"extra {sorted(set(obj) - set(fields))}")
    for key, kind in fields.items():
        value = obj[key]
        # bool is an int in Python: a Boolean must not stand where a number belongs.
        if isinstance(value, bool) != (kind is bool) or not isinstance(value, kind):
            raise Problem(f"{where}.{key} has the wrong type: {value!r}")
        if isinstance(value, str) and any(ord(c) > 0xFF for c in value):
            raise Problem(f"{where}.{key} holds a character above U+00FF: {value!r}")


def check_report(path, report):
    check_fields("report", report, TOP_FIELDS)
    check_fields("Frame", report["Frame"], FRAME_FIELDS)
    check_fields("VBR", report["VBR"], VBR_FIELDS)
    check_fields("ID3v1", report["ID3v1"], ID3V1_FIELDS)
    check_fields("ID3v2", report["ID3v2"], ID3V2_FIELDS)
    if report["file"] != path:
        raise Problem(f"file is {report['file']!r}")
    header = report["Frame"]["Header"]
    if len(header) != 4 or any(type(b) is not int or not 0 <= b <= 255 for b in header):
        raise Problem(f"Header is not four bytes: {header!r}")
    vbr = report["VBR"]
    if len(vbr["HeaderId"]) != 4:
        raise Problem(f"HeaderId is not four characters: {vbr['HeaderId']!r}")
    if len(vbr["Vendor"]) not in (0, 8):
        raise Problem(f"Vendor is neither empty nor eight characters: {vbr['Vendor']!r}")
    if not report["Frame"]["Confirmed"] and report["PlayTime"] != 0:
        raise Problem(f"PlayTime {report['PlayTime']} without a frame")


def run(tool, args, cwd=None):
    result = subprocess.run([tool] + args, capture_output=True, timeout=120, cwd=cwd)
    if result.returncode != 0:
        raise Problem(f"exit code {result.returncode}\n{result.stderr.decode(errors='replace')}")
    if result.stderr:
        raise Problem(f"wrote to standard error:\n{result.stderr.decode(errors='replace')}")
    return result.stdout


def parse_lines(text):
    return [json.loads(line, parse_constant=reject_constant) for line in text.splitlines()]


def compare_reference(tool, folder, names, reference, write):
    """The JSON lines over every file, named relative to the folder so that the reference
    holds no path of the machine that wrote it."""
    lines = run(os.path.abspath(tool), ["--json"] + names, cwd=folder)
    if write:
        with open(reference, "wb") as out:
            out.write(lines)
        return
    with open(reference, "rb") as expected_file:
        expected = expected_file.read()
    if lines == expected:
        return
    for name, want, got in zip(names, expected.splitlines(True), lines.splitlines(True)):
        if want != got:
            raise Problem(f"{name} differs from the reference:\nreference: {want!r}\nnow:       {got!r}")
    raise Problem("the reference holds a different number of lines")


def main():
    args = sys.argv[1:]
    reference, write = None, False
    if len(args) == 4 and args[2] in ("--reference", "--write-reference"):
        reference, write = args[3], args[2] == "--write-reference"
        args = args[:2]
    if len(args) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    tool, folder = args
    if not os.path.isdir(folder):
        print(f"no corpus folder {folder}", file=sys.stderr)
        return 1
    paths = sorted(os.path.join(folder, name) for name in os.listdir(folder)
                   if os.path.isfile(os.path.join(folder, name)))
    single = []
    for path in paths:
        try:
            output = run(tool, ["--json", path]).decode("utf-8")
            if not output.endswith("\n") or output.count("\n") != 1:
                raise Problem(f"not exactly one line: {output!r}")
            report = parse_lines(output)[0]
            check_report(path, report)
            single.append(output)
        except (Problem, ValueError, subprocess.TimeoutExpired) as problem:
            print(f"FAIL {path}: {problem}")
            return 1
    try:
        together = run(tool, ["--json"] + paths).decode("utf-8")
        if together != "".join(single):
            for path, alone, line in zip(paths, single, together.splitlines(True)):
                if alone != line:
                    raise Problem(f"{path} reads differently after other files:\n"
                                  f"alone:    {alone}after others: {line}")
            raise Problem("the run over all files printed a different number of lines")
        # The readable summary: tag texts pass through in their own code page.
        run(tool, paths)
        if reference:
            compare_reference(tool, folder, [os.path.basename(p) for p in paths], reference, write)
    except (Problem, ValueError, subprocess.TimeoutExpired) as problem:
        print(f"FAIL: {problem}")
        return 1
    loaded = sum(parse_lines(line)[0]["loaded"] for line in single)
    frames = sum(parse_lines(line)[0]["Frame"]["Confirmed"] for line in single)
    print(f"{len(paths)} files: valid JSON, {loaded} loaded, {frames} with a frame")
    return 0


if __name__ == "__main__":
    sys.exit(main())
