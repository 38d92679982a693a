// The MPEG audio analyser: finds the first MPEG audio frame of a file (behind its ID3v2
// tag, confirmed by a valid header right after it), decodes its four-byte header,
// reads the VBR header inside it and, for files without one, the encoder tag near the
// end, and computes the play time from these.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "audio/AudioBlock.h"
#include "audio/ByteSpan.h"
#include "audio/FrameHeader.h"
#include "audio/ID3v1.h"
#include "audio/ID3v2.h"
#include "audio/VbrHeader.h"
#include "platform/Platform.h"

namespace plenvox {

class AudioFileReader;

inline constexpr std::array<std::string_view, 4> VersionNames = {"MPEG 2.5", "MPEG ?", "MPEG 2",
                                                                 "MPEG 1"};
inline constexpr std::array<std::string_view, 4> LayerNames = {"Layer ?", "Layer III", "Layer II",
                                                               "Layer I"};
inline constexpr std::array<std::string_view, 5> ModeNames = {"Stereo", "Joint Stereo",
                                                              "Dual Channel", "Mono", "Unknown"};
inline constexpr std::array<std::string_view, 4> EmphasisNames = {"None", "50/15 ms", "Unknown",
                                                                  "CCIT J.17"};

// One frame: where it was found and its decoded header.
struct FrameInfo {
  bool Confirmed = false;    // a valid header stands at Offset + Length
  std::int32_t Offset = 0;   // within the block in which it was found, not the file
  std::uint16_t Length = 0;  // from FrameLength
  bool BlankAfterHeader = false;  // the six bytes behind the header are zero
  FrameHeader Header{};
  std::uint8_t VersionCode = 0;
  std::uint8_t LayerCode = 0;
  bool Protected = false;  // a checksum follows the header
  std::uint16_t BitRateIndex = 0;
  std::uint16_t SampleRateIndex = 0;
  bool Padded = false;
  bool PrivateBit = false;
  std::uint8_t ModeCode = 0;
  std::uint8_t ModeExtension = 0;
  bool Copyrighted = false;
  bool Original = false;
  std::uint8_t EmphasisCode = 0;
};

// Sync bits, and no reserved or free-format code in version, layer, bit rate, sample
// rate or emphasis. No other bit is tested.
bool HeaderValid(const FrameHeader& header);
// Copies the bytes into Header and fills the decoded fields; Confirmed, Offset, Length
// and BlankAfterHeader stay as they are.
void DecodeFrameHeader(const FrameHeader& header, FrameInfo& frame);
// HeaderValid of the four bytes at index; false when they do not all lie in the block.
bool HeaderAt(ByteSpan block, std::size_t index);
// Samples per frame / 8: Layer I 48, Layer II 144, Layer III 144 (MPEG 1) or 72.
std::uint8_t LengthFactor(const FrameInfo& frame);
// kbit/s; 0 for free format and reserved codes.
std::uint16_t BitRate(const FrameInfo& frame);
// Hz; 0 for reserved codes.
std::uint16_t SampleRate(const FrameInfo& frame);
// The padding slot: 4 bytes in Layer I, 1 byte in Layers II and III.
std::uint8_t PaddingBytes(const FrameInfo& frame);
// Bytes, header included. Layer I counts in 4-byte slots.
std::uint16_t FrameLength(const FrameInfo& frame);
// The six bytes from index on are all zero (and inside the block).
bool BlankAt(ByteSpan block, std::size_t index);
// The first position (0 to BlockSize - MaxFrameLength) holding a valid header that the
// header one frame length further confirms. vbr is replaced by the frame's VBR header
// (or the empty record) only when a frame is confirmed.
FrameInfo FindFirstFrame(const Block& block, VBRData& vbr);

class TMPEGaudio {
 public:
  explicit TMPEGaudio(Platform& os);

  void Clear();
  // True when both tag readers loaded the file and it could be read to the end of the
  // analysis, whether or not a frame was found. Without a confirmed frame the analyser
  // is left cleared. Never throws.
  bool LoadFromFile(const std::string& fileName) noexcept;
  // The same with the file's name in the encoding given, whatever the encoding in force
  // (for a reader on another thread than the one that sets it).
  bool LoadFromFile(const std::string& fileName, TTextEncoding encoding) noexcept;
  // The same over a file that the caller has open (the describer's one open); without
  // tagTexts the ID3v2 tag's frames are not read (its size still is). May throw.
  bool Load(AudioFileReader& file, bool tagTexts = true);
  // Seconds; 0 when no frame was found. From the VBR header's frame count when it has
  // one above 0, otherwise from the audio's byte count and the first frame's bit rate.
  double PlayTime() const;

  std::int64_t FileLength() const { return fileLength_; }
  // Only for files without a VBR header.
  const std::string& EncoderTag() const { return encoderTag_; }
  const VBRData& VBR() const { return vbr_; }
  const FrameInfo& Frame() const { return frame_; }
  const TID3v1& ID3v1Tag() const { return id3v1Tag_; }
  const TID3v2& ID3v2Tag() const { return id3v2Tag_; }

 private:
  bool Analyse(AudioFileReader& file, bool tagTexts);
  bool ReadBlocks(AudioFileReader& file);

  Platform& os_;
  std::int64_t fileLength_ = 0;
  std::string encoderTag_;
  VBRData vbr_;
  FrameInfo frame_;
  TID3v2 id3v2Tag_;
  TID3v1 id3v1Tag_;
};

}  // namespace plenvox
