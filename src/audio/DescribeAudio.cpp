#include "audio/DescribeAudio.h"

#include <algorithm>
#include <cmath>

#include "audio/FormatReaders.h"
#include "audio/ID3v1.h"
#include "audio/MPEGaudio.h"
#include "audio/TagTrim.h"
#include "common/Utf8.h"

namespace plenvox {

namespace {

constexpr std::uint8_t kAsfHeaderGuid[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                             0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};

// The printable text of the eight bytes behind a Xing header (LAME writes its name and
// version there), or nothing.
std::string VendorText(const std::string& vendor) {
  const std::string text = TrimTagTrailing(vendor);
  for (const char c : text) {
    if (c < 0x20 || c > 0x7E) return {};
  }
  return text;
}

// kbit/s of the first frame; of a file with a VBR header the average, from the header's
// byte count (else the audio's bytes) over the play time.
std::uint32_t MpegBitRate(const TMPEGaudio& audio) {
  const VBRData& vbr = audio.VBR();
  const double seconds = audio.PlayTime();
  if (!vbr.Present || vbr.FrameCount <= 0 || !(seconds > 0)) return BitRate(audio.Frame());
  std::int64_t bytes = vbr.ByteCount;
  if (bytes <= 0) {
    bytes = audio.FileLength() - audio.ID3v2Tag().TagSize() -
            (audio.ID3v1Tag().Present() ? static_cast<std::int64_t>(TID3v1::kTagSize) : 0);
  }
  return bytes > 0 ? static_cast<std::uint32_t>(std::llround(static_cast<double>(bytes) * 8 / seconds / 1000)) : 0;
}

void DescribeMpeg(const TMPEGaudio& audio, TAudioDescription& description) {
  const FrameInfo& frame = audio.Frame();
  if (!frame.Confirmed) return;
  static constexpr std::string_view kByLayer[4] = {{}, format::kMp3, format::kMp2, format::kMp1};
  description.Format = kByLayer[frame.LayerCode & 3];
  description.PlayTime = audio.PlayTime();
  description.BitRate = MpegBitRate(audio);
  description.SampleRate = SampleRate(frame);
  description.Channels = frame.ModeCode == kModeMono ? 1 : 2;
  TMpegDetails& mpeg = description.Mpeg;
  mpeg.Present = true;
  mpeg.VersionCode = frame.VersionCode;
  mpeg.LayerCode = frame.LayerCode;
  mpeg.ModeCode = frame.ModeCode;
  mpeg.Vbr = audio.VBR().Present;
  mpeg.Encoder = audio.EncoderTag().empty() ? VendorText(audio.VBR().Vendor) : TrimTag(audio.EncoderTag());
}

bool ReadMpeg(Platform& os, TFormatReading& reading) {
  TMPEGaudio audio(os);
  // The tags' texts come from the Unicode readers; the analyser needs the tag's size only.
  const bool loaded = audio.Load(reading.File, false);
  DescribeMpeg(audio, reading.Description);
  ByteSpan end;
  if (!reading.File.FetchEnd(TID3v1::kTagSize, end)) return false;
  TTagsUtf8 v1;
  ReadId3v1Tags(end, reading.Text, v1);
  reading.Description.Tags.FillFrom(v1);
  return loaded;
}

}  // namespace

bool DescribeAudio(Platform& os, AudioFileReader& file, const TTagTextDecoder& text,
                   TAudioDescription& description) {
  description = TAudioDescription{};
  TFormatReading reading{file, text, description};
  ByteSpan start;
  if (!file.Fetch(0, 16, start)) return false;
  if (start.LettersAt(0, "ID3")) {
    std::int64_t tagEnd = 0;
    TTagsUtf8 id3;
    if (!ReadId3v2Tags(reading, 0, id3, tagEnd)) return false;
    ByteSpan behind;
    if (!file.Fetch(tagEnd, 4, behind)) return false;
    bool read = true;
    if (behind.LettersAt(0, "fLaC")) {
      read = ReadFlac(reading, tagEnd);
    } else {
      read = ReadMpeg(os, reading);
    }
    // The tag in front counts first for MPEG, after the stream's own comments for FLAC.
    if (description.Format == format::kFlac) {
      description.Tags.FillFrom(id3);
    } else {
      TTagsUtf8 v1 = description.Tags;
      description.Tags = id3;
      description.Tags.FillFrom(v1);
    }
    return read;
  }
  if (start.LettersAt(0, "fLaC")) return ReadFlac(reading, 0);
  if (start.LettersAt(0, "OggS")) return ReadOgg(reading);
  if ((start.LettersAt(0, "RIFF") || start.LettersAt(0, "RF64") || start.LettersAt(0, "BW64")) &&
      start.LettersAt(8, "WAVE")) {
    return ReadWav(reading);
  }
  if (start.LettersAt(0, "FORM") && (start.LettersAt(8, "AIFF") || start.LettersAt(8, "AIFC"))) {
    return ReadAiff(reading);
  }
  if (start.LettersAt(4, "ftyp")) return ReadMp4(reading);
  if (start.Has(0, 16) && std::equal(std::begin(kAsfHeaderGuid), std::end(kAsfHeaderGuid), start.data())) {
    return ReadAsf(reading);
  }
  return ReadMpeg(os, reading);
}

TAudioDescription DescribeAudioFile(Platform& os, TTextEncoding encoding, const std::string& path,
                                    const TTagTextDecoder& text, bool* read) noexcept {
  TAudioDescription description;
  bool described = false;
  try {
    bool closed = false;
    described = ReadOpenFile(os, encoding, path, [&](AudioFileReader& file) {
      return DescribeAudio(os, file, text, description);
    }, closed);
  } catch (...) {
    description = TAudioDescription{};
    described = false;
  }
  if (read) *read = described;
  return description;
}

// Many taggers (and ffmpeg in WAV's INFO list) wrote UTF-8 where the format has 8-bit
// text: a text whose bytes above 0x7F form valid UTF-8 is taken as UTF-8, which text in
// a code page hardly ever does by chance.
std::string TCodePageTagText::EightBit(std::string_view bytes) const {
  const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii) return std::string(bytes);
  const std::u16string wide = Utf8ToUtf16(bytes);
  if (wide.find(u'\uFFFD') == std::u16string::npos) return std::string(bytes);
  return Utf16ToUtf8(os_.CodePageToWide(codePage_, bytes));
}

}  // namespace plenvox
