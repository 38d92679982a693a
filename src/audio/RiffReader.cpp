// WAV (RIFF and RF64, little-endian) and AIFF/AIFF-C (big-endian): the chunks behind the
// form header, walked by their headers alone; "fmt "/COMM, the audio's size, the INFO
// list and the text chunks, and an ID3v2 tag in an "id3 " or "ID3 " chunk.
#include <algorithm>
#include <cmath>

#include "audio/FormatReaders.h"
#include "audio/LittleEndian.h"

namespace plenvox {

namespace {

constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::size_t kFormHeaderSize = 12;
constexpr std::uint32_t kMaxChunks = 1024;
constexpr std::size_t kTextChunkMax = 64 * 1024;
constexpr std::uint32_t kUnknownSize = 0xFFFFFFFF;

struct WaveFormat {
  std::uint16_t Tag = 0;
  std::uint16_t Channels = 0;
  std::uint32_t SampleRate = 0;
  std::uint32_t BytesPerSecond = 0;
  std::uint16_t BlockAlign = 0;
  std::uint16_t BitsPerSample = 0;
};

WaveFormat ParseWaveFormat(ByteSpan chunk) {
  WaveFormat format;
  if (!chunk.Has(0, 16)) return format;
  format.Tag = LittleEndian16(chunk, 0);
  format.Channels = LittleEndian16(chunk, 2);
  format.SampleRate = LittleEndian32(chunk, 4);
  format.BytesPerSecond = LittleEndian32(chunk, 8);
  format.BlockAlign = LittleEndian16(chunk, 12);
  format.BitsPerSample = LittleEndian16(chunk, 14);
  // WAVE_FORMAT_EXTENSIBLE: the real tag opens the sub-format GUID.
  if (format.Tag == 0xFFFE && chunk.Has(24, 2)) format.Tag = LittleEndian16(chunk, 24);
  return format;
}

// The INFO list's sub-chunks (behind "INFO"): zero-terminated 8-bit texts.
void ParseInfoList(ByteSpan list, const TTagTextDecoder& decoder, TTagsUtf8& tags) {
  std::size_t at = 0;
  while (list.Has(at, kChunkHeaderSize)) {
    const std::string_view id = list.Text(at, 4);
    const std::uint32_t size = LittleEndian32(list, at + 4);
    const std::string_view raw = list.Text(at + kChunkHeaderSize, size);
    const std::string text = TrimmedText(decoder.EightBit(raw.substr(0, raw.find('\0'))));
    if (id == "INAM") tags.Title = text;
    else if (id == "IART") tags.Artist = text;
    else if (id == "IPRD") tags.Album = text;
    else if (id == "ICRD") tags.Year = YearOf(text);
    else if (id == "IGNR") tags.Genre = text;
    else if (id == "ICMT") tags.Comment = text;
    else if (id == "IMUS") tags.Composer = text;
    else if (id == "ITRK" || id == "IPRT") tags.Track = LeadingNumber(text);
    at += kChunkHeaderSize + size + (size & 1);
  }
}

// An 80-bit IEEE extended number (AIFF's sample rate); 0 for what is no finite positive value.
double Extended80(ByteSpan bytes, std::size_t at) {
  const int exponent = ((bytes.At(at) & 0x7F) << 8) | bytes.At(at + 1);
  const std::uint64_t mantissa = BigEndian64(bytes, at + 2);
  if ((bytes.At(at) & 0x80) || exponent == 0x7FFF || mantissa == 0) return 0;
  return std::ldexp(static_cast<double>(mantissa), exponent - 16383 - 63);
}

struct Chunk {
  std::string_view Id;
  std::uint64_t Size = 0;  // cut at the file's end
  std::uint32_t Declared = 0;  // as the header says
  std::int64_t Body = 0;
};

template <typename Visit>
bool WalkChunks(AudioFileReader& file, bool bigEndian, Visit&& visit) {
  std::int64_t position = kFormHeaderSize;
  for (std::uint32_t count = 0; count < kMaxChunks && position + 8 <= file.Length(); ++count) {
    ByteSpan bytes;
    if (!file.Fetch(position, kChunkHeaderSize, bytes)) return false;
    if (!bytes.Has(0, kChunkHeaderSize)) break;
    Chunk chunk;
    const std::string id(bytes.Text(0, 4));
    chunk.Id = id;
    chunk.Declared = bigEndian ? BigEndian32(bytes, 4) : LittleEndian32(bytes, 4);
    chunk.Size = chunk.Declared;
    chunk.Body = position + static_cast<std::int64_t>(kChunkHeaderSize);
    // A size that runs past the end of the file stops at it.
    chunk.Size = std::min<std::uint64_t>(chunk.Size, static_cast<std::uint64_t>(file.Length() - chunk.Body));
    if (!visit(chunk)) return false;
    position = chunk.Body + static_cast<std::int64_t>(chunk.Size) + static_cast<std::int64_t>(chunk.Size & 1);
  }
  return true;
}

bool ReadTextChunk(TFormatReading& reading, const Chunk& chunk, ByteSpan& bytes) {
  const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.Size, kTextChunkMax));
  if (!reading.File.Fetch(chunk.Body, want, bytes)) return false;
  bytes = bytes.Sub(0, want);
  return true;
}

}  // namespace

bool ReadWav(TFormatReading& reading) {
  AudioFileReader& file = reading.File;
  TAudioDescription& description = reading.Description;
  ByteSpan bytes;
  if (!file.Fetch(0, kFormHeaderSize, bytes)) return false;
  const bool rf64 = bytes.LettersAt(0, "RF64") || bytes.LettersAt(0, "BW64");
  WaveFormat format;
  std::uint64_t dataSize = 0, ds64DataSize = 0, factSamples = 0;
  bool haveFormat = false, haveData = false;
  TTagsUtf8 info, id3;
  const bool walked = WalkChunks(file, false, [&](const Chunk& chunk) {
    if (chunk.Id == "fmt " && !haveFormat) {
      if (!file.Fetch(chunk.Body, 40, bytes)) return false;
      format = ParseWaveFormat(bytes.Sub(0, static_cast<std::size_t>(chunk.Size)));
      haveFormat = true;
    } else if (chunk.Id == "ds64" && rf64) {
      if (!file.Fetch(chunk.Body, 28, bytes)) return false;
      if (bytes.Has(0, 16) && chunk.Size >= 16) ds64DataSize = LittleEndian64(bytes, 8);
    } else if (chunk.Id == "fact") {
      if (!file.Fetch(chunk.Body, 4, bytes)) return false;
      if (bytes.Has(0, 4) && chunk.Size >= 4) factSamples = LittleEndian32(bytes, 0);
    } else if (chunk.Id == "data" && !haveData) {
      haveData = true;
      const std::uint32_t declared = chunk.Declared;
      const auto toEnd = static_cast<std::uint64_t>(file.Length() - chunk.Body);
      // RF64 keeps the real size in ds64; 0 and 0xFFFFFFFF (streamed) mean "to the end".
      dataSize = rf64 && declared == kUnknownSize && ds64DataSize > 0 ? ds64DataSize
                 : declared == 0 || declared == kUnknownSize       ? toEnd
                                                                    : declared;
      dataSize = std::min(dataSize, toEnd);
      // Audio after a size that said "to the end" leaves no room for further chunks.
      if (declared == 0 || declared == kUnknownSize) return true;
    } else if (chunk.Id == "LIST") {
      if (!ReadTextChunk(reading, chunk, bytes)) return false;
      if (bytes.LettersAt(0, "INFO")) ParseInfoList(bytes.Sub(4), reading.Text, info);
    } else if (chunk.Id == "id3 " || chunk.Id == "ID3 ") {
      std::int64_t end = 0;
      if (!ReadId3v2Tags(reading, chunk.Body, id3, end)) return false;
    }
    return true;
  });
  if (!walked) return false;
  description.Tags = id3;
  description.Tags.FillFrom(info);
  if (!haveFormat || format.SampleRate == 0 || format.Channels == 0) return true;
  description.Format = format::kWav;
  description.SampleRate = format.SampleRate;
  description.Channels = format.Channels;
  description.BitsPerSample = format.BitsPerSample;
  description.BitRate = static_cast<std::uint32_t>(std::llround(format.BytesPerSecond * 8.0 / 1000));
  constexpr std::uint16_t kPcm = 1, kFloat = 3;
  const std::uint32_t frameBytes = format.Channels * ((format.BitsPerSample + 7u) / 8u);
  double samples = 0;
  if ((format.Tag == kPcm || format.Tag == kFloat) && frameBytes > 0) {
    samples = static_cast<double>(dataSize / frameBytes);
  } else if (factSamples > 0) {
    samples = static_cast<double>(factSamples);
  } else if (format.BytesPerSecond > 0) {
    samples = static_cast<double>(dataSize) / format.BytesPerSecond * format.SampleRate;
  }
  SetLength(description, samples, format.SampleRate, static_cast<std::int64_t>(dataSize));
  return true;
}

bool ReadAiff(TFormatReading& reading) {
  AudioFileReader& file = reading.File;
  TAudioDescription& description = reading.Description;
  ByteSpan bytes;
  std::uint16_t channels = 0, bits = 0;
  std::uint32_t frames = 0;
  double rate = 0;
  TTagsUtf8 texts, id3;
  const bool walked = WalkChunks(file, true, [&](const Chunk& chunk) {
    if (chunk.Id == "COMM") {
      if (!file.Fetch(chunk.Body, 18, bytes)) return false;
      if (!bytes.Has(0, 18) || chunk.Size < 18) return true;
      channels = BigEndian16(bytes, 0);
      frames = BigEndian32(bytes, 2);
      bits = BigEndian16(bytes, 6);
      rate = Extended80(bytes, 8);
    } else if (chunk.Id == "ID3 " || chunk.Id == "id3 ") {
      std::int64_t end = 0;
      if (!ReadId3v2Tags(reading, chunk.Body, id3, end)) return false;
    } else if (chunk.Id == "NAME" || chunk.Id == "AUTH" || chunk.Id == "ANNO") {
      if (!ReadTextChunk(reading, chunk, bytes)) return false;
      const std::string_view raw = bytes.Text(0, bytes.size());
      std::string text = TrimmedText(reading.Text.EightBit(raw.substr(0, raw.find('\0'))));
      std::string& field = chunk.Id == "NAME" ? texts.Title : chunk.Id == "AUTH" ? texts.Artist : texts.Comment;
      if (field.empty()) field = std::move(text);
    }
    return true;
  });
  if (!walked) return false;
  description.Tags = id3;
  description.Tags.FillFrom(texts);
  if (channels == 0 || !(rate >= 1 && rate < 1e7)) return true;
  description.Format = format::kAiff;
  description.SampleRate = static_cast<std::uint32_t>(std::lround(rate));
  description.Channels = channels;
  description.BitsPerSample = bits;
  description.BitRate = static_cast<std::uint32_t>(std::llround(rate * channels * bits / 1000));
  SetLength(description, frames, rate, 0);
  return true;
}

}  // namespace plenvox
