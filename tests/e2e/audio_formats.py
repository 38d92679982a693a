"""A multi-format corpus made at test time: tones encoded by sox and ffmpeg into FLAC, Ogg
(Vorbis, Opus, FLAC), MP4 (AAC, ALAC), WAV, AIFF, WMA and MP3, tagged by mutagen in Latin,
Cyrillic, Greek and Japanese; the edge files that mature readers handle (FLAC without a
sample count or behind an ID3v2 tag, an Ogg last page with granule -1, MP4 boxes of 64-bit
size and of size 0, WAV data sizes 0 and 0xFFFFFFFF, RF64, chunks past the end of the
file), a truncated file of each format and an empty file.

The expected values come from mutagen and ffprobe (and the file system), read back from
the files made, never from the plug-in's readers."""

import json
import shutil
import struct
import subprocess
import sys
from pathlib import Path

try:
    import mutagen
except ImportError:  # an interpreter without Debian's python3-mutagen (scripts/setup.sh)
    sys.path.append("/usr/lib/python3/dist-packages")
    import mutagen
import mutagen.aiff
import mutagen.asf
import mutagen.flac
import mutagen.id3 as id3
import mutagen.mp3
import mutagen.mp4
import mutagen.ogg
import mutagen.oggflac
import mutagen.oggopus
import mutagen.oggvorbis
import mutagen.wave

LATIN = dict(title="Café au lait", artist="Élodie Frégé", album="Nuits d'été", album_artist="Les Étoiles",
             track=3, disc=1, year="2019", genre="Jazz", comment="première prise", composer="Gérard")
CYRILLIC = dict(title="Группа крови", artist="Кино", album="Звезда по имени Солнце",
                album_artist="Виктор Цой", track=1, disc=2, year="1988", genre="Rock",
                comment="песня", composer="Цой")
GREEK = dict(title="Καλημέρα", artist="Μίκης", album="Ελληνικά τραγούδια", album_artist="Θεοδωράκης",
             track=7, disc=1, year="1965", genre="Folk", comment="μουσική", composer="Μίκης Θεοδωράκης")
JAPANESE = dict(title="群青日和", artist="東京事変", album="教育", album_artist="椎名林檎", track=2,
                disc=3, year="2004", genre="J-Pop", comment="日本語のコメント", composer="椎名林檎")

TAG_KEYS = ("title", "artist", "album", "album_artist", "year", "genre", "comment", "composer")
NUMBER_KEYS = ("track", "disc")


# --- Making files ----------------------------------------------------------------------------

def run(*command):
    subprocess.run([str(c) for c in command], check=True, capture_output=True)


def tone(target: Path, seconds, rate=44100, channels=2, bits=16):
    run("sox", "-n", "-r", rate, "-c", channels, "-b", bits, target, "synth", seconds, "sine", 440)


def encode(source: Path, target: Path, *options):
    run("ffmpeg", "-loglevel", "error", "-y", "-i", source, "-map_metadata", "-1", *options, target)


def vorbis_tags(audio, tags):
    audio["title"], audio["artist"], audio["album"] = tags["title"], tags["artist"], tags["album"]
    audio["albumartist"], audio["date"], audio["genre"] = tags["album_artist"], tags["year"], tags["genre"]
    audio["comment"], audio["composer"] = tags["comment"], tags["composer"]
    audio["tracknumber"], audio["discnumber"] = "%d/9" % tags["track"], str(tags["disc"])
    audio.save()


def mp4_tags(path, tags):
    audio = mutagen.mp4.MP4(str(path))
    for key, name in (("\xa9nam", "title"), ("\xa9ART", "artist"), ("\xa9alb", "album"),
                      ("aART", "album_artist"), ("\xa9day", "year"), ("\xa9gen", "genre"),
                      ("\xa9cmt", "comment"), ("\xa9wrt", "composer")):
        audio[key] = [tags[name]]
    audio["trkn"], audio["disk"] = [(tags["track"], 12)], [(tags["disc"], 3)]
    audio.save()


def asf_tags(path, tags):
    audio = mutagen.asf.ASF(str(path))
    audio["Title"], audio["Author"], audio["Description"] = tags["title"], tags["artist"], tags["comment"]
    audio["WM/AlbumTitle"], audio["WM/AlbumArtist"] = tags["album"], tags["album_artist"]
    audio["WM/Year"], audio["WM/Genre"], audio["WM/Composer"] = tags["year"], tags["genre"], tags["composer"]
    audio["WM/TrackNumber"] = mutagen.asf.ASFDWordAttribute(tags["track"])
    audio["WM/PartOfSet"] = str(tags["disc"])
    audio.save()


def id3_frames(tags, version, encoding):
    frames = [id3.TIT2, id3.TPE1, id3.TALB, id3.TPE2, id3.TCON, id3.TCOM]
    out = [kind(encoding=encoding, text=tags[key]) for kind, key in
           zip(frames, ("title", "artist", "album", "album_artist", "genre", "composer"))]
    out.append((id3.TYER if version == 3 else id3.TDRC)(encoding=encoding, text=tags["year"]))
    out.append(id3.TRCK(encoding=encoding, text="%d/12" % tags["track"]))
    out.append(id3.TPOS(encoding=encoding, text=str(tags["disc"])))
    out.append(id3.COMM(encoding=encoding, lang="eng", desc="", text=tags["comment"]))
    return out


def id3_tag(target: Path, tags, version=3, encoding=1, v1=0):
    """ID3v2 frames (in front of the file, or for WAV and AIFF in their chunk) by mutagen."""
    if target.suffix in (".wav", ".aiff", ".aif"):
        kind = mutagen.wave.WAVE if target.suffix == ".wav" else mutagen.aiff.AIFF
        audio = kind(str(target))
        audio.add_tags()
        for frame in id3_frames(tags, version, encoding):
            audio.tags.add(frame)
        audio.save(v2_version=version)
        return
    tag = id3.ID3()
    for frame in id3_frames(tags, version, encoding):
        tag.add(frame)
    tag.save(str(target), v2_version=version, v1=v1)


def ogg_page(serial, sequence, granule, packet_bytes, complete):
    page = mutagen.ogg.OggPage()
    page.serial, page.sequence, page.position = serial, sequence, granule
    page.packets, page.complete = [packet_bytes], complete
    return page.write()


class Corpus:
    """The files made in folder: name -> (path, kind of expectation)."""

    def __init__(self, folder: Path):
        self.folder = folder
        self.files = {}
        # The sources and the untouched originals of edited files, not listed.
        self.work = folder / "originals"

    def add(self, name, kind="audio", original=None):
        self.files[name] = (self.folder / name, kind, original)
        return self.folder / name

    def make(self):
        self.work.mkdir(parents=True, exist_ok=True)
        wav16 = self.work / "tone16.wav"
        tone(wav16, 7.4)
        wav24 = self.work / "tone24.wav"
        tone(wav24, 8.6, rate=48000, bits=24)
        mono = self.work / "mono.wav"
        tone(mono, 6.2, rate=22050, channels=1)

        flac = self.add("cyrillic.flac")
        encode(wav24, flac, "-c:a", "flac")
        vorbis_tags(mutagen.flac.FLAC(str(flac)), CYRILLIC)
        front = self.add("id3_in_front.flac")
        encode(wav16, front, "-c:a", "flac")
        id3_tag(front, GREEK, version=4, encoding=3)
        unknown = self.add("no_sample_count.flac", original=self.work / "counted.flac")
        encode(mono, self.work / "counted.flac", "-c:a", "flac")
        data = bytearray((self.work / "counted.flac").read_bytes())
        assert data[:4] == b"fLaC" and data[4] & 0x7F == 0
        data[8 + 13] &= 0xF0
        data[8 + 14:8 + 18] = b"\0\0\0\0"
        unknown.write_bytes(bytes(data))
        really = self.add("really_flac.mp3", original=flac)
        shutil.copy(flac, really)

        ogg_flac = self.add("ogg_flac.oga")
        encode(wav16, ogg_flac, "-c:a", "flac", "-f", "ogg")
        vorbis_tags(mutagen.oggflac.OggFLAC(str(ogg_flac)), LATIN)
        vorbis = self.add("greek.ogg")
        encode(wav16, vorbis, "-c:a", "libvorbis", "-q:a", "3")
        vorbis_tags(mutagen.oggvorbis.OggVorbis(str(vorbis)), GREEK)
        unfinished = self.add("last_page_unfinished.ogg")
        shutil.copy(vorbis, unfinished)
        serial = mutagen.oggvorbis.OggVorbis(str(vorbis)).info.serial
        with open(unfinished, "ab") as f:
            # A page of the stream that finishes no packet: granule -1.
            f.write(ogg_page(serial, 9999, -1, b"\x55" * 300, complete=False))
        opus = self.add("japanese.opus")
        encode(wav16, opus, "-c:a", "libopus", "-b:a", "96k")
        vorbis_tags(mutagen.oggopus.OggOpus(str(opus)), JAPANESE)
        opus_in_ogg = self.add("opus_named.ogg")
        shutil.copy(opus, opus_in_ogg)
        webm = self.add("really_webm.opus", kind="unknown")
        encode(wav16, webm, "-c:a", "libopus", "-f", "webm")

        aac = self.add("cyrillic_moov_at_end.m4a")
        encode(wav16, aac, "-c:a", "aac", "-b:a", "128k")
        mp4_tags(aac, CYRILLIC)
        alac = self.add("latin_alac.m4a")
        encode(wav16, alac, "-c:a", "alac", "-movflags", "+faststart")
        mp4_tags(alac, LATIN)
        for name, codec in (("opus_in.mp4", "libopus"), ("flac_in.mp4", "flac")):
            target = self.add(name)
            encode(wav16, target, "-c:a", codec, "-strict", "-2")
            mp4_tags(target, JAPANESE)
        wide = self.add("mdat_64bit.m4a")
        data = aac.read_bytes()
        at = data.index(b"mdat") - 4
        size = struct.unpack(">I", data[at:at + 4])[0]
        wide.write_bytes(data[:at] + struct.pack(">I4sQ", 1, b"mdat", size + 8) + data[at + 8:])
        to_end = self.add("mdat_to_end.m4a")
        data = alac.read_bytes()
        at = data.index(b"mdat") - 4
        assert at + struct.unpack(">I", data[at:at + 4])[0] == len(data)
        to_end.write_bytes(data[:at] + b"\0\0\0\0" + data[at + 4:])

        info = self.add("info_list.wav")
        run("ffmpeg", "-loglevel", "error", "-y", "-i", wav16, "-metadata", "title=" + LATIN["title"],
            "-metadata", "artist=" + CYRILLIC["artist"], "-metadata", "album=" + LATIN["album"],
            "-metadata", "genre=Jazz", "-metadata", "date=2019", "-metadata", "comment=INFO list", info)
        wav_id3 = self.add("japanese_id3.wav")
        shutil.copy(wav24, wav_id3)
        id3_tag(wav_id3, JAPANESE, version=4, encoding=1)
        for name, size in (("data_size_unknown.wav", 0xFFFFFFFF), ("data_size_zero.wav", 0)):
            target = self.add(name, original=wav16)
            data = bytearray(wav16.read_bytes())
            at = data.index(b"data")
            data[at + 4:at + 8] = struct.pack("<I", size)
            target.write_bytes(bytes(data))
        rf64 = self.add("rf64.wav", kind="probe")
        run("ffmpeg", "-loglevel", "error", "-y", "-i", mono, "-rf64", "always", rf64)
        past_end = self.add("chunk_past_end.wav", kind="cut_wav")
        data = wav16.read_bytes()
        past_end.write_bytes(data[:len(data) // 2 + 1])

        aiff = self.add("greek.aiff")
        encode(wav16, aiff)
        id3_tag(aiff, GREEK, version=3, encoding=1)
        aifc = self.add("sowt.aifc")
        encode(mono, aifc, "-c:a", "pcm_s16le", "-f", "aiff")

        wma = self.add("cyrillic.wma")
        encode(wav16, wma, "-c:a", "wmav2", "-b:a", "128k")
        asf_tags(wma, CYRILLIC)

        mp3s = (("cyrillic_v23_utf16.mp3", CYRILLIC, 3, 1), ("greek_v24_utf8.mp3", GREEK, 4, 3),
                ("japanese_v24_utf16be.mp3", JAPANESE, 4, 2), ("latin_v23_latin1.mp3", LATIN, 3, 0))
        for name, tags, version, encoding in mp3s:
            target = self.add(name)
            encode(wav16, target, "-c:a", "libmp3lame", "-b:a", "128k")
            id3_tag(target, tags, version=version, encoding=encoding)
        v1 = self.add("id3v1_genre_baroque.mp3")
        encode(mono, v1, "-c:a", "libmp3lame", "-b:a", "64k")
        with open(v1, "ab") as f:
            f.write(b"TAG" + b"Old song".ljust(30, b"\0") + b"Anon".ljust(30, b"\0") +
                    b"Album".ljust(30, b"\0") + b"1999" + b"note".ljust(28, b"\0") + bytes([0, 5, 150]))
        two = self.add("two_id3v2_tags.mp3")
        encode(wav16, self.work / "plain.mp3", "-c:a", "libmp3lame", "-b:a", "128k")
        shutil.copy(self.work / "plain.mp3", two)
        id3_tag(two, LATIN, version=3, encoding=0)
        shutil.copy(two, self.work / "second.mp3")
        id3_tag(self.work / "second.mp3", CYRILLIC, version=3, encoding=1)
        first = self.work / "second.mp3"
        first_tag = first.read_bytes()[:10 + id3_size(first.read_bytes())]
        two.write_bytes(first_tag + two.read_bytes())
        tag_only = self.add("tag_only.mp3", kind="tags_only")
        tag_only.write_bytes(b"")
        id3_tag(tag_only, GREEK, version=4, encoding=3)

        for source in ("cyrillic.flac", "greek.ogg", "japanese.opus", "latin_alac.m4a",
                       "japanese_id3.wav", "greek.aiff", "cyrillic.wma", "cyrillic_v23_utf16.mp3"):
            path = self.folder / source
            cut = self.add("cut_" + source, kind="truncated")
            cut.write_bytes(path.read_bytes()[:3000])
        self.add("empty.flac", kind="empty").write_bytes(b"")
        return self.files


def id3_size(data):
    return (data[6] << 21) | (data[7] << 14) | (data[8] << 7) | data[9]


# --- Expected values -------------------------------------------------------------------------

def ffprobe(path: Path):
    out = subprocess.run(["ffprobe", "-v", "error", "-of", "json", "-show_format", "-show_streams",
                          str(path)], capture_output=True, text=True).stdout
    return json.loads(out or "{}")


FORMAT_NAMES = {"FLAC": "FLAC", "OggFLAC": "FLAC", "OggVorbis": "Vorbis", "OggOpus": "Opus",
                "WAVE": "WAV", "AIFF": "AIFF", "ASF": "WMA", "MP3": "MP3"}


def first(values):
    values = list(values or [])
    return str(values[0]).strip() if values else ""


def number(text):
    digits = ""
    for c in str(text).strip():
        if not c.isdigit():
            break
        digits += c
    return int(digits) if digits else 0


def id3_fields(tags):
    """Our fields from mutagen's ID3 frames (the last of each kind)."""
    def text(frame_id):
        frames = tags.getall(frame_id) if tags is not None else []
        return str(frames[-1].text[0]).strip() if frames and frames[-1].text else ""
    genres = tags.getall("TCON") if tags is not None else []
    comments = tags.getall("COMM") if tags is not None else []
    year = text("TYER") or text("TDRC")[:4]
    return dict(title=text("TIT2"), artist=text("TPE1"), album=text("TALB"), album_artist=text("TPE2"),
                year=year, genre=genres[-1].genres[0] if genres and genres[-1].genres else "",
                comment=str(comments[-1].text[0]).strip() if comments else "", composer=text("TCOM"),
                track=number(text("TRCK")), disc=number(text("TPOS")))


def vorbis_fields(tags):
    get = lambda key: first(tags.get(key)) if tags is not None else ""  # noqa: E731
    return dict(title=get("title"), artist=get("artist"), album=get("album"),
                album_artist=get("albumartist"), year=get("date")[:4], genre=get("genre"),
                comment=get("comment"), composer=get("composer"), track=number(get("tracknumber")),
                disc=number(get("discnumber")))


def mp4_fields(tags):
    get = lambda key: first(tags.get(key)) if tags is not None else ""  # noqa: E731
    pair = lambda key: tags[key][0][0] if tags is not None and key in tags else 0  # noqa: E731
    return dict(title=get("\xa9nam"), artist=get("\xa9ART"), album=get("\xa9alb"), album_artist=get("aART"),
                year=get("\xa9day")[:4], genre=get("\xa9gen"), comment=get("\xa9cmt"), composer=get("\xa9wrt"),
                track=pair("trkn"), disc=pair("disk"))


def asf_fields(tags):
    get = lambda key: first(tags.get(key)) if tags is not None else ""  # noqa: E731
    return dict(title=get("Title"), artist=get("Author"), album=get("WM/AlbumTitle"),
                album_artist=get("WM/AlbumArtist"), year=get("WM/Year")[:4], genre=get("WM/Genre"),
                comment=get("Description"), composer=get("WM/Composer"), track=number(get("WM/TrackNumber")),
                disc=number(get("WM/PartOfSet")))


def ffprobe_fields(probe):
    tags = probe.get("format", {}).get("tags", {})
    return dict(title=tags.get("title", ""), artist=tags.get("artist", ""), album=tags.get("album", ""),
                album_artist="", year=tags.get("date", "")[:4], genre=tags.get("genre", ""),
                comment=tags.get("comment", ""), composer="", track=number(tags.get("track", "")), disc=0)


def no_fields():
    return dict({k: "" for k in TAG_KEYS}, **{k: 0 for k in NUMBER_KEYS})


def expected(path: Path, kind, original=None):
    """What the folder should show for the file: format, length (seconds, or None),
    bit rate (kbit/s, tolerance) or None, sample rate, channels, bits per sample, and the
    tag fields. None for a file whose values cannot be known beforehand (a truncated one)."""
    if kind in ("truncated",):
        return None
    out = dict(format="", length=None, bitrate=None, rate=0, channels=0, bits=0, tags=no_fields())
    if kind in ("empty", "unknown"):
        return out
    if kind == "tags_only":
        out["tags"] = id3_fields(id3.ID3(str(path)))
        return out
    if kind == "cut_wav":
        probe = ffprobe(path)["streams"][0]
        data = path.read_bytes()
        audio_bytes = len(data) - (data.index(b"data") + 8)
        rate, channels, bits = int(probe["sample_rate"]), probe["channels"], probe["bits_per_sample"]
        out.update(format="WAV", length=audio_bytes / (channels * bits // 8) / rate,
                   bitrate=(rate * channels * bits / 1000, 1), rate=rate, channels=channels, bits=bits)
        return out
    if kind == "probe":  # RF64, which mutagen does not read
        stream, probe = ffprobe(path)["streams"][0], ffprobe(path)["format"]
        out.update(format="WAV", length=float(probe["duration"]),
                   bitrate=(int(stream["bit_rate"]) / 1000, 1), rate=int(stream["sample_rate"]),
                   channels=stream["channels"], bits=stream["bits_per_sample"])
        return out
    audio = mutagen.File(str(original or path))
    info = audio.info
    name = type(audio).__name__
    if name == "MP4":
        out["format"] = {"alac": "ALAC", "Opus": "Opus", "fLaC": "FLAC"}.get(info.codec, "AAC")
        out["tags"] = mp4_fields(audio.tags)
    else:
        out["format"] = FORMAT_NAMES[name]
    out["length"] = info.length
    out["rate"] = getattr(info, "sample_rate", 0) or 0
    out["channels"] = info.channels
    lossless = out["format"] in ("FLAC", "ALAC", "WAV", "AIFF")
    if name == "MP4" and info.codec == "Opus":
        out["rate"] = 48000
    out["bits"] = getattr(info, "bits_per_sample", 0) if lossless else 0
    bitrate = getattr(info, "bitrate", 0) or 0
    if name == "OggOpus":
        out["rate"] = int(ffprobe(path)["streams"][0]["sample_rate"])
    if not bitrate:  # mutagen has none for Opus, Ogg FLAC and MP4 without esds: ffprobe's
        probe = ffprobe(path)  # the stream's where it tells one (MP4), else the file's average
        bitrate = int(probe["streams"][0].get("bit_rate") or probe["format"]["bit_rate"])
    out["bitrate"] = (bitrate / 1000, max(2, bitrate / 1000 * 0.03)) if bitrate else None
    if name in ("FLAC", "OggFLAC", "OggVorbis", "OggOpus"):
        out["tags"] = vorbis_fields(audio.tags)
        if name == "FLAC" and not out["tags"]["title"]:
            try:
                out["tags"] = id3_fields(id3.ID3(str(path)))
            except id3.ID3NoHeaderError:
                pass
    elif name in ("WAVE", "AIFF", "MP3"):
        out["tags"] = id3_fields(audio.tags)
        if name == "WAVE" and audio.tags is None:
            out["tags"] = ffprobe_fields(ffprobe(path))
        if name == "MP3":
            v1 = path.read_bytes()[-128:]
            if audio.tags is None and v1[:3] == b"TAG":
                frames = id3.ParseID3v1(v1)
                fields = id3_fields(None)
                fields.update(title=str(frames["TIT2"].text[0]), artist=str(frames["TPE1"].text[0]),
                              album=str(frames["TALB"].text[0]), year=str(frames["TDRC"].text[0]),
                              comment=str(frames["COMM"].text[0]), track=number(frames["TRCK"].text[0]),
                              genre=frames["TCON"].genres[0])
                out["tags"] = fields
    elif name == "ASF":
        out["tags"] = asf_fields(audio.tags)
    return out
