// Fuzzes the MPEG audio analyser (and with it both tag readers) with the input as the
// whole file, through LoadFromFile and PlayTime as the listing uses them.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "MemoryPlatform.h"
#include "audio/MPEGaudio.h"

using plenvox::fuzz::Check;

namespace {

void CheckCleared(const plenvox::TMPEGaudio& audio) {
  Check(audio.FileLength() == 0 && audio.EncoderTag().empty() && !audio.VBR().Present &&
            !audio.ID3v1Tag().Present() && !audio.ID3v2Tag().Present(),
        "cleared when no frame was found");
}

void CheckFrame(const plenvox::TMPEGaudio& audio, std::size_t size) {
  const plenvox::FrameInfo& frame = audio.Frame();
  Check(plenvox::HeaderValid(frame.Header), "the frame's header is valid");
  Check(frame.Offset >= 0 && frame.Offset <= static_cast<std::int32_t>(plenvox::MaxFrameLength),
        "the frame starts in the searched half of its block");
  Check(frame.Length == plenvox::FrameLength(frame), "the frame's length follows its header");
  Check(audio.FileLength() == static_cast<std::int64_t>(size), "the file length is the file's");
  Check(audio.VBR().Present || audio.VBR().Vendor.empty(), "no vendor without a VBR header");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  plenvox::fuzz::MemoryPlatform os(plenvox::fuzz::AsText(data, size));
  const std::string& name = plenvox::fuzz::MemoryPlatform::FileName();
  plenvox::TMPEGaudio audio(os);
  const bool loaded = audio.LoadFromFile(name);
  const double playTime = audio.PlayTime();

  Check(std::isfinite(playTime), "the play time is a number");
  Check(size >= 10 || !loaded, "files under 10 bytes do not load");
  if (audio.Frame().Confirmed) {
    CheckFrame(audio, size);
  } else {
    Check(playTime == 0, "no play time without a frame");
    CheckCleared(audio);
  }

  // Every load starts from the cleared state: the same file again gives the same result.
  Check(audio.LoadFromFile(name) == loaded && audio.PlayTime() == playTime,
        "a second load of the same file gives the same result");
  return 0;
}
