// Fuzzes every parser of an on-disk audio structure with the input as its bytes, the
// way the readers hand them a span of what they read: the ID3v2 header and frame
// header, the ID3v1 tag at the end of the bytes, the MPEG frame header, the Xing and
// VBRI headers and the encoder tag. Short input must give each parser's absent result.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "MemoryPlatform.h"
#include "audio/ByteSpan.h"
#include "audio/Id3v2FrameHeader.h"
#include "audio/Id3v2Header.h"
#include "audio/MPEGaudio.h"

using plenvox::ByteSpan;
using plenvox::fuzz::Check;

namespace {

void CheckId3v2(ByteSpan bytes) {
  const auto header = plenvox::ParseId3v2Header(bytes);
  Check(header.has_value() == (bytes.size() >= plenvox::kId3v2HeaderSize),
        "an ID3v2 header exactly from ten bytes on");
  if (header) {
    const std::int32_t tagSize = header->TagSize(static_cast<std::int64_t>(bytes.size()));
    Check(tagSize >= 0 && static_cast<std::size_t>(tagSize) <= bytes.size(),
          "the tag lies inside the bytes");
  }
  for (const std::uint8_t version : {std::uint8_t{2}, std::uint8_t{3}, std::uint8_t{4}}) {
    const auto frame = plenvox::ParseId3v2FrameHeader(bytes, version);
    if (!frame) continue;
    Check(frame->HeaderSize == plenvox::Id3v2FrameHeaderSize(version) &&
              bytes.Has(0, frame->HeaderSize),
          "a frame header lies inside the bytes");
    Check(frame->IdText().size() == (version > 2 ? 4u : 3u) && frame->Id[0] >= 'A' &&
              frame->Id[0] <= 'Z',
          "a frame ID begins with a capital letter");
    Check(frame->DataSize <= 0x7FFFFFFFu, "a frame size below 2^31");
  }
}

void CheckId3v1(ByteSpan bytes) {
  plenvox::fuzz::MemoryPlatform os({});
  plenvox::TID3v1 tag(os);
  const bool loaded = tag.LoadFromFileEnd(bytes);
  Check(loaded == (bytes.size() >= plenvox::TID3v1::kTagSize),
        "an ID3v1 tag's place exactly in 128 bytes or more");
  Check(tag.Present() == (loaded && bytes.Last(plenvox::TID3v1::kTagSize).LettersAt(0, "TAG")),
        "present exactly when the last 128 bytes begin with TAG");
}

void CheckFrameHeader(ByteSpan bytes) {
  const auto header = plenvox::FrameHeaderAt(bytes, 0);
  Check(header.has_value() == (bytes.size() >= 4), "a frame header exactly from four bytes on");
  if (!header || !plenvox::HeaderValid(*header)) return;
  plenvox::FrameInfo frame;
  plenvox::DecodeFrameHeader(*header, frame);
  Check(plenvox::BitRate(frame) > 0 && plenvox::SampleRate(frame) > 0,
        "a valid header has a bit rate and a sample rate");
  Check(plenvox::FrameLength(frame) > 4, "a valid header's frame is longer than the header");
  Check(plenvox::HeaderAt(bytes, 0), "HeaderAt agrees with HeaderValid");
}

void CheckVbrHeaders(ByteSpan bytes) {
  const plenvox::VBRData xing = plenvox::ReadXingHeader(bytes, 0);
  Check(!xing.Present || (bytes.size() >= 128 && xing.Vendor.size() == 8),
        "a Xing header lies inside the bytes, with 8 vendor characters");
  const plenvox::VBRData vbri = plenvox::ReadVbriHeader(bytes, 0);
  Check(!vbri.Present || (bytes.size() >= 18 && vbri.Vendor.empty()),
        "a VBRI header lies inside the bytes, without vendor");
  const plenvox::VBRData any = plenvox::ReadVbrHeader(bytes, 0);
  Check(!any.Present || bytes.LettersAt(0, "Xing") || bytes.LettersAt(0, "VBRI"),
        "a VBR header only behind its letters");
  const std::string tag = plenvox::FindEncoderTag(bytes, 0xFFFF);
  Check(tag.empty() || tag == "GOGO" || (tag.size() == 8 && tag.compare(0, 4, "LAME") == 0),
        "an encoder tag is GOGO or LAME with four characters");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ByteSpan bytes(data, size);
  CheckId3v2(bytes);
  CheckId3v1(bytes);
  CheckFrameHeader(bytes);
  CheckVbrHeaders(bytes);
  return 0;
}
