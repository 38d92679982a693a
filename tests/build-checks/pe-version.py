"""Reads the version resource of a PE file from objdump's dump of its .rsrc section
(standard input) and checks that it names the expected version (argument: 1.2.3) as the
file's and the product's, in numbers (VS_FIXEDFILEINFO) and in text (the string table)."""

import re
import struct
import sys

FIXED_SIGNATURE = 0xFEEF04BD


def fail(why):
    sys.exit("version resource: " + why)


def section_bytes(dump):
    data = bytearray()
    for line in dump:
        match = re.match(r"^ [0-9a-f]+ ((?:[0-9a-f]{2,8} ){1,4})", line)
        if match:
            data += bytes.fromhex(match.group(1).replace(" ", ""))
    return data


def string_value(data, name, start):
    """The text of the string-table entry name: its key in UTF-16 with its terminator,
    zero padding to a 32-bit boundary, then the value up to its terminator."""
    key = (name + "\0").encode("utf-16-le")
    at = data.find(key, start)
    if at < 0:
        fail("no " + name)
    at += len(key)
    while data[at:at + 2] == b"\0\0":
        at += 2
    end = at
    while end + 2 <= len(data) and data[end:end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16-le", "replace")


def main():
    expected = sys.argv[1]
    data = section_bytes(sys.stdin)
    key = data.find("VS_VERSION_INFO".encode("utf-16-le"))
    if key < 0:
        fail("no VS_VERSION_INFO")
    fixed = data.find(struct.pack("<I", FIXED_SIGNATURE), key)
    if fixed < 0 or fixed + 52 > len(data):
        fail("no VS_FIXEDFILEINFO")
    numbers = struct.unpack_from("<4I", data, fixed + 8)  # file MS, LS; product MS, LS
    major, minor, patch = (int(n) for n in expected.split("."))
    want = ((major << 16) | minor, patch << 16)
    if numbers != want + want:
        fail("numbers %x.%x / %x.%x, expected %s" % (numbers + (expected,)))
    for name in ("FileVersion", "ProductVersion"):
        value = string_value(data, name, fixed)
        if value != expected:
            fail("%s is \"%s\", expected %s" % (name, value, expected))
    print("version resource: " + expected)


main()
