// MP4/M4A (ISO base media and QuickTime): the boxes walked by their headers alone (32-
// and 64-bit sizes, a size of 0 running to the end of its parent), the sound track's
// media header and sample description, and the iTunes items under moov/udta/meta/ilst.
#include <algorithm>

#include "audio/FormatReaders.h"
#include "audio/LittleEndian.h"

namespace plenvox {

namespace {

constexpr std::uint32_t kMaxBoxes = 4096;
constexpr int kMaxDepth = 10;
constexpr std::size_t kItemMax = 64 * 1024;

struct Box {
  char Type[4] = {};
  std::int64_t Offset = 0;
  std::int64_t Body = 0;
  std::int64_t End = 0;

  bool Is(std::string_view type) const { return std::string_view(Type, 4) == type; }
};

// The box header at the span's start, for a box at offset inside a parent that ends at
// end; false when it cannot be one.
bool ParseBoxHeader(ByteSpan bytes, std::int64_t offset, std::int64_t end, Box& box) {
  if (!bytes.Has(0, 8)) return false;
  std::uint64_t size = BigEndian32(bytes, 0);
  std::size_t header = 8;
  if (size == 1) {
    if (!bytes.Has(8, 8)) return false;
    size = BigEndian64(bytes, 8);
    header = 16;
  } else if (size == 0) {
    size = static_cast<std::uint64_t>(end - offset);
  }
  if (size < header || size > static_cast<std::uint64_t>(end - offset)) {
    // A box said to run past its parent stops at the parent's end.
    if (size < header) return false;
    size = static_cast<std::uint64_t>(end - offset);
  }
  for (int i = 0; i < 4; ++i) box.Type[i] = static_cast<char>(bytes.At(4 + static_cast<std::size_t>(i)));
  box.Offset = offset;
  box.Body = offset + static_cast<std::int64_t>(header);
  box.End = offset + static_cast<std::int64_t>(size);
  return box.Body <= box.End;
}

struct Mp4State {
  explicit Mp4State(TFormatReading& reading) : Reading(reading) {}
  TFormatReading& Reading;
  std::uint32_t Boxes = 0;
  bool SoundTrack = false;   // the current trak's handler is "soun"
  bool HaveSound = false;    // a sound track's media header was taken
  bool InItems = false;      // walking the children of ilst
  std::int64_t MediaBytes = 0;  // of the top-level mdat boxes
  double TrackSeconds = 0;
  double MovieSeconds = 0;
  std::string_view Codec;
};

// Seconds from a media or movie header's body (version 0: 32-bit times, 1: 64-bit).
double HeaderSeconds(ByteSpan body) {
  const bool wide = body.At(0) == 1;
  const std::uint32_t scale = BigEndian32(body, wide ? 20 : 12);
  const std::uint64_t duration = wide ? BigEndian64(body, 24) : BigEndian32(body, 16);
  if (!body.Has(0, wide ? 32 : 20) || scale == 0) return 0;
  if (!wide && duration == 0xFFFFFFFF) return 0;
  return static_cast<double>(duration) / scale;
}

void ParseSampleEntry(ByteSpan entry, Mp4State& state) {
  TAudioDescription& description = state.Reading.Description;
  const std::string_view type = entry.Text(4, 4);
  if (!entry.Has(0, 36)) return;
  description.Channels = BigEndian16(entry, 24);
  description.BitsPerSample = BigEndian16(entry, 26);
  description.SampleRate = BigEndian16(entry, 32);
  const std::uint16_t version = BigEndian16(entry, 16);
  std::size_t children = version == 1 ? 52 : version == 2 ? 72 : 36;
  if (type == "mp4a") {
    state.Codec = format::kAac;
    description.BitsPerSample = 0;
  } else if (type == "alac") {
    state.Codec = format::kAlac;
  } else if (type == "fLaC") {
    state.Codec = format::kFlac;
  } else if (type == "Opus") {
    state.Codec = format::kOpus;
    description.BitsPerSample = 0;
  } else {
    return;
  }
  // The codec's own box among the entry's children: esds (AAC) or alac.
  while (entry.Has(children, 8)) {
    const std::uint32_t size = BigEndian32(entry, children);
    const std::string_view child = entry.Text(children + 4, 4);
    const ByteSpan body = entry.Sub(children + 8, size > 8 ? size - 8 : 0);
    if (child == "esds") {
      // The descriptors: ES (tag 3), then DecoderConfig (tag 4) with its average bit rate.
      for (std::size_t at = 4; at + 1 < body.size(); ++at) {
        if (body.At(at) != 4) continue;
        std::size_t length = at + 1;
        while (length < at + 5 && (body.At(length) & 0x80)) ++length;
        const std::size_t config = length + 1;
        if (body.Has(config, 13) && body.At(config) >= 0x40 && body.At(config) <= 0x6B) {
          description.BitRate = (BigEndian32(body, config + 9) + 500) / 1000;
          break;
        }
      }
    } else if (child == "alac" && body.Has(4, 24)) {
      description.BitsPerSample = body.At(9);
      description.Channels = body.At(13);
      description.BitRate = (BigEndian32(body, 20) + 500) / 1000;
      description.SampleRate = BigEndian32(body, 24);
    } else if (child == "dfLa" && body.Has(8, 18)) {
      description.SampleRate = (BigEndian24(body, 8 + 10) >> 4) & 0xFFFFF;
    }
    if (size < 8) break;
    children += size;
  }
}

// One iTunes item (©nam, trkn, covr...) from its data boxes.
void ParseItem(const Box& item, ByteSpan body, Mp4State& state) {
  TAudioDescription& description = state.Reading.Description;
  TTagsUtf8& tags = description.Tags;
  const std::string_view type(item.Type, 4);
  std::size_t at = 0;
  while (body.Has(at, 16)) {
    const std::uint32_t size = BigEndian32(body, at);
    if (size < 16 || !body.LettersAt(at + 4, "data")) {
      if (size < 8) return;
      at += size;
      continue;
    }
    const std::uint32_t code = BigEndian32(body, at + 8) & 0xFFFFFF;
    const ByteSpan payload = body.Sub(at + 16, size - 16);
    const std::int64_t payloadOffset = item.Body + static_cast<std::int64_t>(at + 16);
    std::string text;
    if (code == 1) text = TrimmedText(Utf8TagText(payload.Text(0, payload.size())));
    if (code == 2) text = TrimmedText(Utf16TagText(payload, true));
    if (type == "\xA9nam") tags.Title = text;
    else if (type == "\xA9" "ART") tags.Artist = text;
    else if (type == "\xA9" "alb") tags.Album = text;
    else if (type == "aART") tags.AlbumArtist = text;
    else if (type == "\xA9" "day") tags.Year = YearOf(text);
    else if (type == "\xA9gen") tags.Genre = text;
    else if (type == "\xA9" "cmt") tags.Comment = text;
    else if (type == "\xA9wrt") tags.Composer = text;
    else if (type == "trkn" && payload.Has(0, 4)) tags.Track = BigEndian16(payload, 2);
    else if (type == "disk" && payload.Has(0, 4)) tags.Disc = BigEndian16(payload, 2);
    else if (type == "gnre" && payload.Has(0, 2) && tags.Genre.empty()) {
      const std::uint16_t number = BigEndian16(payload, 0);
      if (number > 0) tags.Genre = std::string(NamedGenre(number - 1u));
    } else if (type == "covr") {
      TPictureLocation picture;
      picture.Offset = payloadOffset;
      picture.Size = size - 16;
      picture.Mime = code == 14 ? "image/png" : code == 27 ? "image/bmp" : "image/jpeg";
      picture.Type = 3;
      description.OfferPicture(picture);
    }
    at += size;
  }
}

bool WalkBoxes(Mp4State& state, std::int64_t start, std::int64_t end, int depth);

bool VisitBox(Mp4State& state, const Box& box, int depth) {
  AudioFileReader& file = state.Reading.File;
  ByteSpan bytes;
  const auto body = [&](std::size_t want) {
    want = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(want), box.End - box.Body));
    if (!file.Fetch(box.Body, want, bytes)) return false;
    bytes = bytes.Sub(0, want);
    return true;
  };
  if (state.InItems) {
    if (!body(kItemMax)) return false;
    ParseItem(box, bytes, state);
    return true;
  }
  if (box.Is("ilst")) {
    state.InItems = true;
    const bool walked = WalkBoxes(state, box.Body, box.End, depth + 1);
    state.InItems = false;
    return walked;
  }
  if (box.Is("moov") || box.Is("udta") || box.Is("mdia") || box.Is("minf") || box.Is("stbl")) {
    return WalkBoxes(state, box.Body, box.End, depth + 1);
  }
  if (box.Is("trak")) {
    state.SoundTrack = false;
    return WalkBoxes(state, box.Body, box.End, depth + 1);
  }
  if (box.Is("meta")) {
    // A full box in ISO files, a plain one in QuickTime files: a known child type
    // right after the header tells the latter.
    if (!body(8)) return false;
    const std::string_view next = bytes.Text(4, 4);
    const bool plain = next == "hdlr" || next == "ilst" || next == "mhdr" || next == "ctry" || next == "lang";
    return WalkBoxes(state, box.Body + (plain ? 0 : 4), box.End, depth + 1);
  }
  if (box.Is("hdlr")) {
    if (!body(12)) return false;
    if (bytes.LettersAt(8, "soun")) state.SoundTrack = true;
    return true;
  }
  if (box.Is("mvhd")) {
    if (!body(32)) return false;
    state.MovieSeconds = HeaderSeconds(bytes);
    return true;
  }
  if (box.Is("mdhd")) {
    if (!body(32)) return false;
    // The handler follows the media header, so the track counts once both were seen.
    state.TrackSeconds = HeaderSeconds(bytes);
    return true;
  }
  if (box.Is("stsd")) {
    if (!state.SoundTrack || state.HaveSound) return true;
    if (!body(4096)) return false;
    const std::uint32_t size = BigEndian32(bytes, 8);
    if (BigEndian32(bytes, 4) > 0) ParseSampleEntry(bytes.Sub(8, size), state);
    if (!state.Codec.empty()) {
      state.HaveSound = true;
      state.Reading.Description.PlayTime = state.TrackSeconds;
    }
    return true;
  }
  return true;
}

bool WalkBoxes(Mp4State& state, std::int64_t start, std::int64_t end, int depth) {
  if (depth > kMaxDepth) return true;
  std::int64_t position = start;
  while (position + 8 <= end && state.Boxes++ < kMaxBoxes) {
    ByteSpan bytes;
    if (!state.Reading.File.Fetch(position, 16, bytes)) return false;
    Box box;
    if (!ParseBoxHeader(bytes, position, end, box)) break;
    if (depth == 0 && box.Is("mdat")) state.MediaBytes += box.End - box.Body;
    if (!VisitBox(state, box, depth)) return false;
    position = box.End;
  }
  return true;
}

}  // namespace

bool ReadMp4(TFormatReading& reading) {
  Mp4State state(reading);
  if (!WalkBoxes(state, 0, reading.File.Length(), 0)) return false;
  TAudioDescription& description = reading.Description;
  if (state.Codec.empty()) {
    description.Channels = description.BitsPerSample = 0;
    description.SampleRate = description.BitRate = 0;
    return true;
  }
  description.Format = state.Codec;
  if (!(description.PlayTime > 0)) description.PlayTime = state.MovieSeconds;
  // Without a bit rate in the sample entry (Opus, FLAC): the media's average.
  if (description.BitRate == 0 && description.PlayTime > 0) {
    description.BitRate = static_cast<std::uint32_t>(
        std::min(static_cast<double>(state.MediaBytes) * 8 / description.PlayTime / 1000 + 0.5, 4.0e9));
  }
  return true;
}

}  // namespace plenvox
