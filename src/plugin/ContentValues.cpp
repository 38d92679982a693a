#include "plugin/ContentValues.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "audio/MPEGaudio.h"
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

std::string TwoDigits(std::int64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); }

TFieldValue Utf8Text(const std::string& text) { return Text(wfx::kFtString, text, TTextEncoding::Utf8); }

TFieldValue NonZero(std::int64_t number) {
  return number > 0 ? Number(wfx::kFtNumeric32, number) : Empty();
}

TFieldValue Choice(std::string_view name) { return Text(wfx::kFtMultipleChoice, std::string(name)); }

std::int64_t WholeSeconds(double seconds) {
  return std::isfinite(seconds) && seconds > 0 && seconds < 1e15 ? static_cast<std::int64_t>(seconds) : 0;
}

// The fields that the description gives. Tags count whether or not audio was found;
// the audio's fields are empty without it, MPEG's without MPEG audio.
TFieldValue AudioField(const TAudioDescription& audio, int field, int unitIndex) {
  const TTagsUtf8& tags = audio.Tags;
  const TMpegDetails& mpeg = audio.Mpeg;
  switch (field) {
    case kFieldTitle: return Utf8Text(tags.Title);
    case kFieldArtist: return Utf8Text(tags.Artist);
    case kFieldAlbum: return Utf8Text(tags.Album);
    case kFieldAlbumArtist: return Utf8Text(tags.AlbumArtist);
    case kFieldYear: return Utf8Text(tags.Year);
    case kFieldComment: return Utf8Text(tags.Comment);
    case kFieldGenre: return Utf8Text(tags.Genre);
    case kFieldComposer: return Utf8Text(tags.Composer);
    case kFieldTrack: return NonZero(tags.Track);
    case kFieldDisc: return NonZero(tags.Disc);
    default: break;
  }
  if (audio.Format.empty()) return Empty();
  switch (field) {
    case kFieldFormat: return Text(wfx::kFtString, std::string(audio.Format));
    case kFieldLength:
      return audio.PlayTime > 0 ? Seconds(WholeSeconds(audio.PlayTime), unitIndex) : Empty();
    case kFieldBitRate: return NonZero(audio.BitRate);
    case kFieldSampleRate: return NonZero(audio.SampleRate);
    case kFieldChannels: return NonZero(audio.Channels);
    case kFieldBitsPerSample: return NonZero(audio.BitsPerSample);
    default: break;
  }
  if (!mpeg.Present) return Empty();
  switch (field) {
    case kFieldChannelMode:
      // Code 4 is the analyser's "Unknown", no choice of the field.
      return mpeg.ModeCode < 4 ? Choice(ModeNames[mpeg.ModeCode]) : Empty();
    case kFieldVbr: return Number(wfx::kFtBoolean, mpeg.Vbr ? 1 : 0);
    case kFieldEncoder: return Text(wfx::kFtString, mpeg.Encoder);
    case kFieldMpegVersion:
      // Code 1 is reserved ("MPEG ?"), layer code 0 likewise ("Layer ?").
      if (mpeg.VersionCode == 1 || mpeg.VersionCode >= VersionNames.size()) return Empty();
      return Text(wfx::kFtString, std::string(VersionNames[mpeg.VersionCode]));
    case kFieldLayer:
      if (mpeg.LayerCode == 0 || mpeg.LayerCode >= LayerNames.size()) return Empty();
      return Choice(LayerNames[mpeg.LayerCode]);
    default: return Empty();
  }
}

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
  if (fieldIndex == kFieldTitle && (!sources.Audio || sources.Audio->Tags.Title.empty())) {
    return sources.Entry ? Text(wfx::kFtString, std::string(sources.Entry->InfoTitle), sources.EntryEncoding)
                         : Empty();
  }
  return sources.Audio ? AudioField(*sources.Audio, fieldIndex, unitIndex) : Empty();
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
