#include "plugin/ContentValues.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "audio/TagTrim.h"
#include "common/Utf8.h"
#include "plugin/ContentFields.h"

namespace plenvox {

namespace {

TFieldValue Empty() { return TFieldValue{wfx::kFtFieldEmpty}; }

TFieldValue Number(int type, std::int64_t number) {
  TFieldValue value{type};
  value.Number = number;
  return value;
}

TFieldValue Text(int type, std::string text, TTextEncoding encoding = TTextEncoding::Ansi) {
  if (text.empty()) return Empty();
  TFieldValue value{type};
  value.Text = std::move(text);
  value.TextEncoding = encoding;
  return value;
}

TFieldValue Seconds(std::int64_t seconds, int unitIndex) {
  TFieldValue value{wfx::kFtNumericFloating};
  value.Floating = static_cast<double>(seconds);
  value.Text = TimeText(seconds, unitIndex);
  return value;
}

const std::string& FirstOf(const std::string& first, const std::string& second) {
  return first.empty() ? second : first;
}

std::string TwoDigits(std::int64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// The printable text of the eight bytes behind a Xing header (LAME writes its name and
// version there), or nothing.
std::string VendorText(const std::string& vendor) {
  const std::string text = TrimTagTrailing(vendor);
  for (const char c : text) {
    if (c < 0x20 || c > 0x7E) return {};
  }
  return text;
}

// The fields that the analysis gives: empty when the file could not be analysed or holds
// no MPEG audio (the analyser then holds no tags either).
class AudioFields {
 public:
  explicit AudioFields(const TMPEGaudio& audio) : audio_(audio), v1_(audio.ID3v1Tag()), v2_(audio.ID3v2Tag()) {}

  TFieldValue Get(int field, int unitIndex) const {
    switch (field) {
      case kFieldArtist: return Text(wfx::kFtString, FirstOf(v2_.Artist(), v1_.Artist()));
      case kFieldAlbum: return Text(wfx::kFtString, FirstOf(v2_.Album(), v1_.Album()));
      case kFieldYear: return Text(wfx::kFtString, FirstOf(v2_.Year(), v1_.Year()));
      case kFieldComment: return Text(wfx::kFtString, FirstOf(v2_.Comment(), v1_.Comment()));
      case kFieldGenre: return Text(wfx::kFtString, FirstOf(v2_.Genre(), V1Genre()));
      case kFieldTrack: return Track();
      case kFieldLength: return Seconds(WholeSeconds(), unitIndex);
      case kFieldBitRate: return NonZero(BitRateKbps());
      case kFieldSampleRate: return NonZero(SampleRate(frame()));
      case kFieldChannelMode:
        // Code 4 is the analyser's "Unknown", no choice of the field.
        return frame().ModeCode < 4 ? Choice(ModeNames[frame().ModeCode]) : Empty();
      case kFieldVbr: return Number(wfx::kFtBoolean, audio_.VBR().Present ? 1 : 0);
      case kFieldEncoder:
        return Text(wfx::kFtString, audio_.EncoderTag().empty() ? VendorText(audio_.VBR().Vendor)
                                                               : TrimTag(audio_.EncoderTag()));
      case kFieldMpegVersion:
        // Code 1 is reserved ("MPEG ?"), layer code 0 likewise ("Layer ?").
        if (frame().VersionCode == 1 || frame().VersionCode >= VersionNames.size()) return Empty();
        return Text(wfx::kFtString, std::string(VersionNames[frame().VersionCode]));
      case kFieldLayer:
        if (frame().LayerCode == 0 || frame().LayerCode >= LayerNames.size()) return Empty();
        return Choice(LayerNames[frame().LayerCode]);
      default: return Empty();
    }
  }

  std::string Title() const { return FirstOf(v2_.Title(), v1_.Title()); }

 private:
  const FrameInfo& frame() const { return audio_.Frame(); }

  static TFieldValue NonZero(std::int64_t number) {
    return number > 0 ? Number(wfx::kFtNumeric32, number) : Empty();
  }

  static TFieldValue Choice(std::string_view name) {
    return Text(wfx::kFtMultipleChoice, std::string(name));
  }

  std::string V1Genre() const {
    if (!v1_.Present() || v1_.GenreNumber() >= GenreCount) return {};
    return std::string(GenreNames[v1_.GenreNumber()]);
  }

  TFieldValue Track() const {
    if (v2_.Track() != 0) return Number(wfx::kFtNumeric32, v2_.Track());
    if (v1_.Present() && v1_.TagVersion() == 2 && v1_.Track() != 0) {
      return Number(wfx::kFtNumeric32, v1_.Track());
    }
    return Empty();
  }

  std::int64_t WholeSeconds() const {
    const double seconds = audio_.PlayTime();
    return std::isfinite(seconds) && seconds > 0 && seconds < 1e15 ? static_cast<std::int64_t>(seconds) : 0;
  }

  std::int64_t BitRateKbps() const {
    const VBRData& vbr = audio_.VBR();
    const double seconds = audio_.PlayTime();
    if (!vbr.Present || vbr.FrameCount <= 0 || !(seconds > 0)) return BitRate(frame());
    std::int64_t bytes = vbr.ByteCount;
    if (bytes <= 0) {
      bytes = audio_.FileLength() - v2_.TagSize() -
              (v1_.Present() ? static_cast<std::int64_t>(TID3v1::kTagSize) : 0);
    }
    return bytes > 0 ? std::llround(static_cast<double>(bytes) * 8 / seconds / 1000) : 0;
  }

  const TMPEGaudio& audio_;
  const TID3v1& v1_;
  const TID3v2& v2_;
};

TFieldValue EntryField(const TFieldSources& sources, int field, int unitIndex) {
  const TColumnEntry* entry = sources.Entry;
  if (!entry) return Empty();
  switch (field) {
    case kFieldPosition: return Number(wfx::kFtNumeric32, entry->Position);
    case kFieldInfoLength: return entry->HasInfoLength ? Seconds(entry->InfoLength, unitIndex) : Empty();
    case kFieldInfoTitle: return Text(wfx::kFtString, std::string(entry->InfoTitle), sources.EntryEncoding);
    default: return Empty();
  }
}

TFieldValue FileField(const TFieldSources& sources, int field, int unitIndex) {
  if (field == kFieldExists) return Number(wfx::kFtBoolean, sources.Found ? 1 : 0);
  if (!sources.Found || !sources.File) return Empty();
  const TFileRecord& file = *sources.File;
  if (field == kFieldModified) {
    TFieldValue value{wfx::kFtDateTime};
    value.Time = file.LastWriteTime;
    return value;
  }
  const std::uint64_t size = (std::uint64_t{file.FileSizeHigh} << 32) | file.FileSizeLow;
  return Number(wfx::kFtNumeric64, static_cast<std::int64_t>(size >> (10 * unitIndex)));
}

// Copies text and its terminating zero into units of room, cut to fit.
template <typename Char>
void WriteText(const std::basic_string<Char>& text, void* buffer, std::size_t room) {
  Char* out = static_cast<Char*>(buffer);
  out[text.copy(out, room - 1)] = Char{};
}

}  // namespace

std::string TimeText(std::int64_t seconds, int unitIndex) {
  switch (unitIndex) {
    case 1: return std::to_string(seconds / 60) + ":" + TwoDigits(seconds % 60);
    case 2:
      return std::to_string(seconds / 3600) + ":" + TwoDigits(seconds / 60 % 60) + ":" +
             TwoDigits(seconds % 60);
    default: return std::to_string(seconds);
  }
}

TFieldValue FieldValue(const TFieldSources& sources, int fieldIndex, int unitIndex) {
  if (fieldIndex < 0 || fieldIndex >= kFieldCount) return TFieldValue{wfx::kFtNoSuchField};
  const TContentField& field = kContentFields[static_cast<std::size_t>(fieldIndex)];
  const int units = field.Units.empty() ? 1 : 1 + static_cast<int>(std::count(field.Units.begin(), field.Units.end(), '|'));
  if (field.Type != wfx::kFtMultipleChoice && (unitIndex < 0 || unitIndex >= units)) unitIndex = 0;
  switch (field.Need) {
    case TFieldNeed::Entry: return EntryField(sources, fieldIndex, unitIndex);
    case TFieldNeed::File: return FileField(sources, fieldIndex, unitIndex);
    case TFieldNeed::Audio: break;
  }
  const bool analysed = sources.Audio && sources.Audio->Frame().Confirmed;
  if (fieldIndex == kFieldTitle) {
    const std::string tagTitle = analysed ? AudioFields(*sources.Audio).Title() : std::string();
    if (!tagTitle.empty()) return Text(wfx::kFtString, tagTitle);
    return sources.Entry ? Text(wfx::kFtString, std::string(sources.Entry->InfoTitle), sources.EntryEncoding)
                         : Empty();
  }
  return analysed ? AudioFields(*sources.Audio).Get(fieldIndex, unitIndex) : Empty();
}

int WriteFieldValue(Platform& os, const TFieldValue& value, bool wide, void* buffer, int maxlen) {
  if (value.Type <= 0) return value.Type;
  if (!buffer || maxlen <= 0) return wfx::kFtFieldEmpty;
  const auto room = static_cast<std::size_t>(maxlen);
  const auto fixed = [&](const void* data, std::size_t size) {
    if (room < size) return false;
    std::memcpy(buffer, data, size);
    return true;
  };
  switch (value.Type) {
    case wfx::kFtNumeric32:
    case wfx::kFtBoolean: {
      const auto number = static_cast<std::int32_t>(value.Number);
      return fixed(&number, sizeof number) ? value.Type : wfx::kFtFieldEmpty;
    }
    case wfx::kFtNumeric64:
      return fixed(&value.Number, sizeof value.Number) ? value.Type : wfx::kFtFieldEmpty;
    case wfx::kFtDateTime:
      return fixed(&value.Time, sizeof value.Time) ? value.Type : wfx::kFtFieldEmpty;
    case wfx::kFtNumericFloating:
      if (!fixed(&value.Floating, sizeof value.Floating)) return wfx::kFtFieldEmpty;
      // The display text behind the number, when there is room for it.
      if (room > sizeof(double)) {
        WriteText(value.Text, static_cast<char*>(buffer) + sizeof(double), room - sizeof(double));
      }
      return value.Type;
    case wfx::kFtMultipleChoice:
      WriteText(value.Text, buffer, room);
      return value.Type;
    default:
      break;
  }
  const bool utf8 = value.TextEncoding == TTextEncoding::Utf8;
  if (!wide) {
    WriteText(utf8 ? os.WideToAnsi(Utf8ToUtf16(value.Text)) : value.Text, buffer, room);
    return wfx::kFtString;
  }
  if (room < 2) return wfx::kFtFieldEmpty;
  const std::u16string text = utf8 ? Utf8ToUtf16(value.Text) : os.AnsiToWide(value.Text);
  WriteText(std::u16string(Utf16Prefix(text, room / 2 - 1)), buffer, room / 2);
  return wfx::kFtStringW;
}

}  // namespace plenvox
