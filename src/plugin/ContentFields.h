// The content columns that the folder offers the host, in the order of their indexes,
// and the default view of the folder. Names and units are ANSI and hold no ".", "|" or
// ":" (the host's column syntax uses them); several units are separated by "|", and the
// units of a choice field are its choices.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "plugin/HostInterface.h"

namespace plenvox {

// What a field's value needs: the playlist entry alone (answered at once), the file's
// record (a look-up), or the file's analysis (tags and audio, read once per file).
enum class TFieldNeed : std::uint8_t { Entry, File, Audio };

enum TFieldIndex : int {
  kFieldPosition,
  kFieldTitle,
  kFieldArtist,
  kFieldAlbum,
  kFieldTrack,
  kFieldYear,
  kFieldGenre,
  kFieldComment,
  kFieldLength,
  kFieldBitRate,
  kFieldSampleRate,
  kFieldChannelMode,
  kFieldVbr,
  kFieldEncoder,
  kFieldMpegVersion,
  kFieldLayer,
  kFieldInfoLength,
  kFieldInfoTitle,
  kFieldExists,
  kFieldSize,
  kFieldModified,
  kFieldFormat,
  kFieldAlbumArtist,
  kFieldDisc,
  kFieldBitsPerSample,
  kFieldChannels,
  kFieldComposer,
  kFieldCount,
};

struct TContentField {
  std::string_view Name;
  int Type;
  std::string_view Units;
  TFieldNeed Need;
  int SortOrder;  // 1 ascending, -1 descending, as the host first sorts the column
  int Flags;
};

// The units of the two play-time fields: whole seconds, m:ss and h:mm:ss.
inline constexpr std::string_view kTimeUnits = "seconds|minutes|hours";
inline constexpr std::string_view kSizeUnits = "bytes|kbytes|Mbytes";
// The channel modes and layers as the analyser names them (audio/MPEGaudio.h).
inline constexpr std::string_view kChannelModeChoices = "Stereo|Joint Stereo|Dual Channel|Mono";
inline constexpr std::string_view kLayerChoices = "Layer I|Layer II|Layer III";

inline constexpr std::array<TContentField, kFieldCount> kContentFields = {{
    {"Position", wfx::kFtNumeric32, "", TFieldNeed::Entry, 1, 0},
    {"Title", wfx::kFtString, "", TFieldNeed::Audio, 1, 0},
    {"Artist", wfx::kFtString, "", TFieldNeed::Audio, 1, 0},
    {"Album", wfx::kFtString, "", TFieldNeed::Audio, 1, 0},
    {"Track", wfx::kFtNumeric32, "", TFieldNeed::Audio, 1, 0},
    {"Year", wfx::kFtString, "", TFieldNeed::Audio, 1, 0},
    {"Genre", wfx::kFtString, "", TFieldNeed::Audio, 1, 0},
    {"Comment", wfx::kFtString, "", TFieldNeed::Audio, 1, 0},
    {"Length", wfx::kFtNumericFloating, kTimeUnits, TFieldNeed::Audio, 1, wfx::kContentFlagSubstSize},
    {"Bit rate", wfx::kFtNumeric32, "", TFieldNeed::Audio, -1, 0},
    {"Sample rate", wfx::kFtNumeric32, "", TFieldNeed::Audio, -1, 0},
    {"Channel mode", wfx::kFtMultipleChoice, kChannelModeChoices, TFieldNeed::Audio, 1, 0},
    {"VBR", wfx::kFtBoolean, "", TFieldNeed::Audio, 1, 0},
    {"Encoder", wfx::kFtString, "", TFieldNeed::Audio, 1, 0},
    {"MPEG version", wfx::kFtString, "", TFieldNeed::Audio, 1, 0},
    {"Layer", wfx::kFtMultipleChoice, kLayerChoices, TFieldNeed::Audio, 1, 0},
    {"EXTINF length", wfx::kFtNumericFloating, kTimeUnits, TFieldNeed::Entry, 1, 0},
    {"EXTINF title", wfx::kFtString, "", TFieldNeed::Entry, 1, 0},
    {"Exists", wfx::kFtBoolean, "", TFieldNeed::File, 1, 0},
    {"Size", wfx::kFtNumeric64, kSizeUnits, TFieldNeed::File, -1, 0},
    {"Modified", wfx::kFtDateTime, "", TFieldNeed::File, -1, 0},
    {"Format", wfx::kFtString, "", TFieldNeed::Audio, 1, 0},
    {"Album artist", wfx::kFtString, "", TFieldNeed::Audio, 1, 0},
    {"Disc", wfx::kFtNumeric32, "", TFieldNeed::Audio, 1, 0},
    {"Bits per sample", wfx::kFtNumeric32, "", TFieldNeed::Audio, -1, 0},
    {"Channels", wfx::kFtNumeric32, "", TFieldNeed::Audio, -1, 0},
    {"Composer", wfx::kFtString, "", TFieldNeed::Audio, 1, 0},
}};

// The default view: the host's name and extension columns, then position, title,
// artist, album, length (m:ss) and bit rate, the numbers aligned right (negative
// widths). Columns and headers are separated by the two characters "\" and "n".
inline constexpr std::string_view kDefaultViewContents =
    "[=<fs>.Position]\\n[=<fs>.Title]\\n[=<fs>.Artist]\\n[=<fs>.Album]\\n"
    "[=<fs>.Length.minutes]\\n[=<fs>.Bit rate]";
inline constexpr std::string_view kDefaultViewHeaders = "#\\nTitle\\nArtist\\nAlbum\\nLength\\nBit rate";
inline constexpr std::string_view kDefaultViewWidths = "160,30,-30,180,130,130,-50,-50";
inline constexpr std::string_view kDefaultViewOptions = "-1|0";

}  // namespace plenvox
