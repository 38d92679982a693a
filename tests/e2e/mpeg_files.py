"""Small MPEG audio files built from scratch: MPEG 1 Layer III frames at 128 kbit/s and
44100 Hz (silent: a valid header, then zero bytes), optionally with an ID3v2 tag in
front, an ID3v1 tag at the end, or a Xing header in the first frame. Each file comes
with the play time that its structure implies."""

import struct

BIT_RATE = 128000
SAMPLE_RATE = 44100
SAMPLES_PER_FRAME = 1152
FRAME_LENGTH = 144 * BIT_RATE // SAMPLE_RATE  # 417 bytes, no padding
# Sync, MPEG 1, Layer III, no CRC | bit-rate index 9 (128), 44100 Hz, no padding | stereo.
FRAME_HEADER = bytes([0xFF, 0xFB, 0x90, 0x00])
XING_OFFSET = 4 + 32  # after the header and the side information of a stereo MPEG 1 frame
ID3V1_LENGTH = 128


def frame(payload: bytes = b"") -> bytes:
    body = FRAME_HEADER + payload
    return body + bytes(FRAME_LENGTH - len(body))


def id3v2_tag(total_length: int) -> bytes:
    """An ID3v2.3 tag of total_length bytes (header included) holding only padding."""
    size = total_length - 10
    synchsafe = bytes([(size >> 21) & 0x7F, (size >> 14) & 0x7F, (size >> 7) & 0x7F, size & 0x7F])
    return b"ID3\x03\x00\x00" + synchsafe + bytes(size)


def id3v1_tag(title: str) -> bytes:
    text = title.encode("latin-1")[:30]
    return b"TAG" + text + bytes(ID3V1_LENGTH - 3 - len(text))


class MpegFile:
    """The bytes of one file and the play time in seconds that it stands for."""

    def __init__(self, data: bytes, play_time: float):
        self.data = data
        self.play_time = play_time

    @property
    def whole_seconds(self) -> int:
        return int(self.play_time)


def constant_bit_rate(frames: int, id3v2_length: int = 0, id3v1_title: str = None) -> MpegFile:
    """Frames without a VBR header: the play time follows from the audio's length."""
    audio = frame() * frames
    head = id3v2_tag(id3v2_length) if id3v2_length else b""
    tail = id3v1_tag(id3v1_title) if id3v1_title is not None else b""
    return MpegFile(head + audio + tail, len(audio) / (BIT_RATE / 1000) / 1000 * 8)


def xing(frame_count: int, frames_present: int = 12) -> MpegFile:
    """A first frame with a Xing header giving frame_count frames (whatever the file
    holds): the play time follows from the count."""
    xing_header = b"Xing" + struct.pack(">I", 1) + struct.pack(">I", frame_count)
    first = frame(bytes(XING_OFFSET - 4) + xing_header)
    data = first + frame() * (frames_present - 1)
    return MpegFile(data, frame_count * SAMPLES_PER_FRAME / SAMPLE_RATE)


def not_audio(length: int = 5000) -> MpegFile:
    return MpegFile(bytes((i * 7 + 3) % 251 for i in range(length)), 0.0)


def seconds_to_frames(seconds: float) -> int:
    return int(seconds * BIT_RATE / 8 / FRAME_LENGTH) + 1
