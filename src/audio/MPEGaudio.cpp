#include "audio/MPEGaudio.h"

#include <algorithm>

#include "audio/AudioFileReader.h"

namespace plenvox {

namespace {

using RateRow = std::array<std::uint16_t, 16>;

// Bit rates in kbit/s by bit-rate index; indexes 0 (free format) and 15 are no rate.
constexpr RateRow kNoRates{};
constexpr RateRow kMpeg1Layer1 = {0,   32,  64,  96,  128, 160, 192, 224,
                                  256, 288, 320, 352, 384, 416, 448, 0};
constexpr RateRow kMpeg1Layer2 = {0,   32,  48,  56,  64,  80,  96,  112,
                                  128, 160, 192, 224, 256, 320, 384, 0};
constexpr RateRow kMpeg1Layer3 = {0,   32,  40,  48,  56,  64,  80,  96,
                                  112, 128, 160, 192, 224, 256, 320, 0};
constexpr RateRow kMpeg2Layer1 = {0,   32,  48,  56,  64,  80,  96,  112,
                                  128, 144, 160, 176, 192, 224, 256, 0};
constexpr RateRow kMpeg2Layer23 = {0,  8,  16, 24,  32,  40,  48,  56,
                                   64, 80, 96, 112, 128, 144, 160, 0};

// By version code, then layer code (0 reserved, 1 Layer III, 2 Layer II, 3 Layer I).
// MPEG 2.5 shares the MPEG 2 rates.
constexpr std::array<std::array<RateRow, 4>, 4> BitRateTable = {{
    {{kNoRates, kMpeg2Layer23, kMpeg2Layer23, kMpeg2Layer1}},
    {{kNoRates, kNoRates, kNoRates, kNoRates}},
    {{kNoRates, kMpeg2Layer23, kMpeg2Layer23, kMpeg2Layer1}},
    {{kNoRates, kMpeg1Layer3, kMpeg1Layer2, kMpeg1Layer1}},
}};

// By version code, then sample-rate index (3 is reserved).
constexpr std::array<std::array<std::uint16_t, 4>, 4> SampleRateTable = {{
    {{11025, 12000, 8000, 0}},
    {{0, 0, 0, 0}},
    {{22050, 24000, 16000, 0}},
    {{44100, 48000, 32000, 0}},
}};

// Layer I frames are counted in slots of four bytes.
constexpr std::uint32_t kLayer1SlotBytes = 4;
constexpr std::int64_t kId3v1Size = static_cast<std::int64_t>(TID3v1::kTagSize);
// Zero bytes behind the header that BlankAfterHeader looks at.
constexpr std::size_t kBlankLength = 6;
// The end block is searched over this many frames' worth of bytes.
constexpr std::uint16_t kEncoderTagFrames = 5;

// The end of the file that one read brings in for both the ID3v1 tag and the block
// in front of it that the encoder tag is searched in.
constexpr std::size_t kFileEndBytes = BlockSize + TID3v1::kTagSize;

// Stores up to one block of the file's bytes from offset on at the start of the block;
// the rest of the block keeps what an earlier block left there.
bool CopyBlockAt(AudioFileReader& file, std::int64_t offset, Block& block, std::size_t& got) {
  ByteSpan bytes;
  if (!file.Fetch(offset, BlockSize, bytes)) return false;
  got = std::min(bytes.size(), BlockSize);
  std::copy_n(bytes.data(), got, block.begin());
  return true;
}

}  // namespace

bool HeaderValid(const FrameHeader& header) {
  const FrameHeaderBits bits(header);
  return bits.Sync() == kSyncBits && bits.VersionCode() != kVersionReserved &&
         bits.LayerCode() != kLayerReserved && bits.BitRateIndex() != kBitRateBad &&
         bits.BitRateIndex() != kBitRateFree && bits.SampleRateIndex() != kSampleRateReserved &&
         bits.EmphasisCode() != kEmphasisReserved;
}

void DecodeFrameHeader(const FrameHeader& header, FrameInfo& frame) {
  const FrameHeaderBits bits(header);
  frame.Header = header;
  frame.VersionCode = bits.VersionCode();
  frame.LayerCode = bits.LayerCode();
  frame.Protected = bits.ProtectionBit() == 0;
  frame.BitRateIndex = bits.BitRateIndex();
  frame.SampleRateIndex = bits.SampleRateIndex();
  frame.Padded = bits.PaddingBit() == 1;
  frame.PrivateBit = bits.PrivateBit() == 1;
  frame.ModeCode = bits.ModeCode();
  frame.ModeExtension = bits.ModeExtension();
  frame.Copyrighted = bits.CopyrightBit() == 1;
  frame.Original = bits.OriginalBit() == 1;
  frame.EmphasisCode = bits.EmphasisCode();
}

bool HeaderAt(ByteSpan block, std::size_t index) {
  const std::optional<FrameHeader> header = FrameHeaderAt(block, index);
  return header && HeaderValid(*header);
}

std::uint8_t LengthFactor(const FrameInfo& frame) {
  if (frame.LayerCode == kLayer1) return 48;
  if (frame.LayerCode == kLayer3 && frame.VersionCode != kVersionMpeg1) return 72;
  return 144;
}

std::uint16_t BitRate(const FrameInfo& frame) {
  return BitRateTable[frame.VersionCode & 3][frame.LayerCode & 3][frame.BitRateIndex & 15];
}

std::uint16_t SampleRate(const FrameInfo& frame) {
  return SampleRateTable[frame.VersionCode & 3][frame.SampleRateIndex & 3];
}

std::uint8_t PaddingBytes(const FrameInfo& frame) {
  if (!frame.Padded) return 0;
  return frame.LayerCode == kLayer1 ? static_cast<std::uint8_t>(kLayer1SlotBytes) : 1;
}

std::uint16_t FrameLength(const FrameInfo& frame) {
  const std::uint16_t sampleRate = SampleRate(frame);
  if (sampleRate == 0) return 0;
  const std::uint32_t slotBytes = frame.LayerCode == kLayer1 ? kLayer1SlotBytes : 1;
  const std::uint32_t bitsPerSecondTimesFactor =
      LengthFactor(frame) / slotBytes * std::uint32_t{BitRate(frame)} * 1000;
  const auto slots = static_cast<std::uint32_t>(static_cast<double>(bitsPerSecondTimesFactor) /
                                                sampleRate);
  return static_cast<std::uint16_t>(slots * slotBytes + PaddingBytes(frame));
}

bool BlankAt(ByteSpan block, std::size_t index) {
  if (!block.Has(index, kBlankLength)) return false;
  const ByteSpan blank = block.Sub(index, kBlankLength);
  return std::all_of(blank.data(), blank.data() + blank.size(),
                     [](std::uint8_t byte) { return byte == 0; });
}

FrameInfo FindFirstFrame(const Block& block, VBRData& vbr) {
  FrameInfo frame;
  for (std::size_t position = 0; position <= BlockSize - MaxFrameLength; ++position) {
    const std::optional<FrameHeader> header = FrameHeaderAt(block, position);
    if (!header || !HeaderValid(*header)) continue;
    DecodeFrameHeader(*header, frame);
    const std::uint16_t length = FrameLength(frame);
    if (!HeaderAt(block, position + length)) continue;
    frame.Confirmed = true;
    frame.Offset = static_cast<std::int32_t>(position);
    frame.Length = length;
    frame.BlankAfterHeader = BlankAt(block, position + 4);
    vbr = ReadVbrHeader(block, position + VbrHeaderOffset(frame.VersionCode, frame.ModeCode));
    return frame;
  }
  return frame;
}

TMPEGaudio::TMPEGaudio(Platform& os) : os_(os), id3v2Tag_(os), id3v1Tag_(os) { Clear(); }

void TMPEGaudio::Clear() {
  fileLength_ = 0;
  encoderTag_.clear();
  vbr_ = VBRData{};
  frame_ = FrameInfo{};
  // Codes that stand for no real value.
  frame_.VersionCode = kVersionReserved;
  frame_.SampleRateIndex = 3;
  frame_.ModeCode = kModeUnknown;
  frame_.ModeExtension = 4;
  frame_.EmphasisCode = kEmphasisReserved;
  id3v1Tag_.Clear();
  id3v2Tag_.Clear();
}

bool TMPEGaudio::LoadFromFile(const std::string& fileName) noexcept {
  return LoadFromFile(fileName, os_.TextEncoding());
}

bool TMPEGaudio::LoadFromFile(const std::string& fileName, TTextEncoding encoding) noexcept {
  bool loaded = false;
  try {
    Clear();
    bool closed = false;
    loaded = ReadOpenFile(os_, encoding, fileName,
                          [this](AudioFileReader& file) { return Load(file); }, closed) &&
             closed;
  } catch (...) {
    loaded = false;
  }
  if (!frame_.Confirmed) Clear();
  return loaded;
}

bool TMPEGaudio::Load(AudioFileReader& file, bool tagTexts) {
  Clear();
  const bool loaded = Analyse(file, tagTexts);
  if (!frame_.Confirmed) Clear();
  return loaded;
}

// The ID3v2 tag from the file's start, the ID3v1 tag from its end, then the blocks. The
// first read takes in the tag and, for a tag of common size, the first block; the
// read of the file's end also takes in the block in front of the ID3v1 tag's place.
bool TMPEGaudio::Analyse(AudioFileReader& file, bool tagTexts) {
  ByteSpan end;
  return id3v2Tag_.Load(file, tagTexts) && file.FetchEnd(kFileEndBytes, end) &&
         id3v1Tag_.LoadFromFileEnd(end) && ReadBlocks(file);
}

// Searches the first block behind the ID3v2 tag; when it holds no frame and the file
// goes on, a block from the middle; and for a frame without VBR header the block that
// ends the audio, for the encoder tag. The block is zero-filled once: a block that the
// file's end cuts short leaves the earlier contents behind the bytes it got. A failure
// keeps what was found so far.
bool TMPEGaudio::ReadBlocks(AudioFileReader& file) {
  fileLength_ = file.Length();
  Block block{};
  std::size_t got = 0;
  if (!CopyBlockAt(file, id3v2Tag_.TagSize(), block, got)) return false;
  frame_ = FindFirstFrame(block, vbr_);
  if (!frame_.Confirmed && got == BlockSize) {
    // Half the length behind the tag, counted from the file's start.
    if (!CopyBlockAt(file, (fileLength_ - id3v2Tag_.TagSize()) / 2, block, got)) return false;
    frame_ = FindFirstFrame(block, vbr_);
  }
  if (frame_.Confirmed && !vbr_.Present) {
    // Negative for a file shorter than a block (and the ID3v1 tag): the fetch fails.
    const std::int64_t end = fileLength_ - static_cast<std::int64_t>(BlockSize) -
                             (id3v1Tag_.Present() ? kId3v1Size : 0);
    if (!CopyBlockAt(file, end, block, got)) return false;
    encoderTag_ = FindEncoderTag(block, static_cast<std::uint16_t>(frame_.Length * kEncoderTagFrames));
  }
  return true;
}

double TMPEGaudio::PlayTime() const {
  if (!frame_.Confirmed) return 0.0;
  const std::uint16_t sampleRate = SampleRate(frame_);
  if (vbr_.Present && vbr_.FrameCount > 0 && sampleRate > 0) {
    const std::int64_t samples = std::int64_t{vbr_.FrameCount} * LengthFactor(frame_) * 8;
    return static_cast<double>(samples) / sampleRate;
  }
  const std::uint16_t bitRate = BitRate(frame_);
  if (bitRate == 0) return 0.0;
  const std::int64_t audioBytes = fileLength_ - id3v2Tag_.TagSize() -
                                  (id3v1Tag_.Present() ? kId3v1Size : 0) - frame_.Offset;
  const double seconds = static_cast<double>(audioBytes) / bitRate / 1000 * 8;
  // A frame found inside the trailing tag would give less than no audio.
  return std::max(seconds, 0.0);
}

}  // namespace plenvox
