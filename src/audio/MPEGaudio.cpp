#include "audio/MPEGaudio.h"

#include <algorithm>
#include <memory>

#include "audio/ReadFully.h"

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

std::uint8_t Bits(std::uint8_t byte, int shift, std::uint8_t mask) {
  return static_cast<std::uint8_t>((byte >> shift) & mask);
}

bool Fits(std::size_t index, std::size_t length) {
  return index <= BlockSize && length <= BlockSize - index;
}

FrameHeader HeaderBytes(const Block& block, std::size_t index) {
  return {block[index], block[index + 1], block[index + 2], block[index + 3]};
}

// Stores what a read of up to one block gets at the start of the block; the rest of
// the block keeps what an earlier read left there.
bool ReadBlockAt(File& file, std::int64_t offset, Block& block, std::size_t& got) {
  return offset >= 0 && file.Seek(offset) && ReadUpTo(file, block.data(), block.size(), got);
}

}  // namespace

bool HeaderValid(const FrameHeader& header) {
  const std::uint8_t version = Bits(header[1], 3, 3);
  const std::uint8_t layer = Bits(header[1], 1, 3);
  const std::uint8_t bitRateIndex = Bits(header[2], 4, 15);
  const std::uint8_t sampleRateIndex = Bits(header[2], 2, 3);
  const std::uint8_t emphasis = Bits(header[3], 0, 3);
  return header[0] == 0xFF && (header[1] & 0xE0) == 0xE0 && version != kVersionReserved &&
         layer != kLayerReserved && bitRateIndex != 15 && bitRateIndex != 0 &&
         sampleRateIndex != 3 && emphasis != kEmphasisReserved;
}

void DecodeFrameHeader(const FrameHeader& header, FrameInfo& frame) {
  frame.Header = header;
  frame.VersionCode = Bits(header[1], 3, 3);
  frame.LayerCode = Bits(header[1], 1, 3);
  frame.Protected = Bits(header[1], 0, 1) == 0;
  frame.BitRateIndex = Bits(header[2], 4, 15);
  frame.SampleRateIndex = Bits(header[2], 2, 3);
  frame.Padded = Bits(header[2], 1, 1) == 1;
  frame.PrivateBit = Bits(header[2], 0, 1) == 1;
  frame.ModeCode = Bits(header[3], 6, 3);
  frame.ModeExtension = Bits(header[3], 4, 3);
  frame.Copyrighted = Bits(header[3], 3, 1) == 1;
  frame.Original = Bits(header[3], 2, 1) == 1;
  frame.EmphasisCode = Bits(header[3], 0, 3);
}

bool HeaderAt(const Block& block, std::uint16_t index) {
  return Fits(index, 4) && HeaderValid(HeaderBytes(block, index));
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

bool BlankAt(const Block& block, std::uint16_t index) {
  return Fits(index, kBlankLength) &&
         std::all_of(block.begin() + index, block.begin() + index + kBlankLength,
                     [](std::uint8_t byte) { return byte == 0; });
}

FrameInfo FindFirstFrame(const Block& block, VBRData& vbr) {
  FrameInfo frame;
  for (std::size_t position = 0; position <= BlockSize - MaxFrameLength; ++position) {
    const FrameHeader header = HeaderBytes(block, position);
    if (!HeaderValid(header)) continue;
    DecodeFrameHeader(header, frame);
    const std::uint16_t length = FrameLength(frame);
    const auto at = static_cast<std::uint16_t>(position);
    if (!HeaderAt(block, static_cast<std::uint16_t>(at + length))) continue;
    frame.Confirmed = true;
    frame.Offset = at;
    frame.Length = length;
    frame.BlankAfterHeader = BlankAt(block, static_cast<std::uint16_t>(at + 4));
    vbr = ReadVbrHeader(
        block, static_cast<std::uint16_t>(at + VbrHeaderOffset(frame.VersionCode, frame.ModeCode)));
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
  bool loaded = false;
  try {
    Clear();
    loaded = id3v2Tag_.LoadFromFile(fileName) && id3v1Tag_.LoadFromFile(fileName) &&
             ReadBlocks(fileName);
  } catch (...) {
    loaded = false;
  }
  if (!frame_.Confirmed) Clear();
  return loaded;
}

// Reads the first block behind the ID3v2 tag; when it holds no frame and the file goes
// on, a block from the middle; and for a frame without VBR header the block that ends
// the audio, for the encoder tag. The block is zero-filled once: a short read leaves
// the earlier contents behind the bytes it got. A failure keeps what was found so far.
bool TMPEGaudio::ReadBlocks(const std::string& fileName) {
  const auto file = OpenToRead(os_, fileName);
  if (!file || !file->Size(fileLength_)) return false;
  Block block{};
  std::size_t got = 0;
  if (!ReadBlockAt(*file, id3v2Tag_.TagSize(), block, got)) return false;
  frame_ = FindFirstFrame(block, vbr_);
  if (!frame_.Confirmed && got == BlockSize) {
    // Half the length behind the tag, counted from the file's start.
    if (!ReadBlockAt(*file, (fileLength_ - id3v2Tag_.TagSize()) / 2, block, got)) return false;
    frame_ = FindFirstFrame(block, vbr_);
  }
  if (frame_.Confirmed && !vbr_.Present) {
    const std::int64_t end = fileLength_ - static_cast<std::int64_t>(BlockSize) -
                             (id3v1Tag_.Present() ? kId3v1Size : 0);
    if (!ReadBlockAt(*file, end, block, got)) return false;
    encoderTag_ = FindEncoderTag(block, static_cast<std::uint16_t>(frame_.Length * kEncoderTagFrames));
  }
  return file->Close();
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
