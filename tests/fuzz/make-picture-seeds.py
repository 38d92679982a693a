#!/usr/bin/env python3
"""Writes seeds for fuzz_picture into a folder: small files whose ID3v2 tags (versions
2.2, 2.3 and 2.4, the last unsynchronised with a data length indicator) hold pictures
whose first bytes are a PNG's and a JPEG's structure (no pixel data), so that the fuzzer
starts from inputs that reach the picture reader and the sniffing.

    make-picture-seeds.py FOLDER
"""

import struct
import sys
import zlib
from pathlib import Path


def synchsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


PNG = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 40, 30, 8, 6, 0, 0, 0)) +
       chunk(b"IDAT", b"\x78\x9c\x03\x00\x00\x00\x00\x01") + chunk(b"IEND", b""))
JPEG = (b"\xff\xd8\xff\xe0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00"
        b"\xff\xc0\x00\x0b\x08\x00\x20\x00\x30\x01\x01\x11\x00"
        b"\xff\xda\x00\x08\x01\x01\x00\x00\x3f\x00\x12\xff\x00\x34\xff\xd9")


def tag(version, frames, flags=0):
    return b"ID3" + bytes([version, 0, flags]) + synchsafe(len(frames) + 16) + frames + bytes(16)


def main(folder):
    out = Path(folder)
    out.mkdir(parents=True, exist_ok=True)
    apic = b"\0image/png\0\x04back\0" + PNG
    front = b"\0image/jpeg\0\x03\0" + JPEG
    v23 = b"".join(b"APIC" + struct.pack(">I", len(d)) + b"\0\0" + d for d in (apic, front))
    pic = b"\0JPG\x03cover\0" + JPEG
    v22 = b"PIC" + struct.pack(">I", len(pic))[1:] + pic
    unsynced = front.replace(b"\xff", b"\xff\x00")
    body = struct.pack(">I", len(front)) + unsynced
    v24 = b"APIC" + synchsafe(len(body)) + b"\0\x03" + body
    (out / "v23.mp3").write_bytes(tag(3, v23) + b"\xff\xfb\x90\x00" + bytes(413))
    (out / "v22.mp3").write_bytes(tag(2, v22))
    (out / "v24.mp3").write_bytes(tag(4, v24, 0x80))
    (out / "image.png").write_bytes(PNG)


if __name__ == "__main__":
    main(sys.argv[1])
