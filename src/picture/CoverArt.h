// A file's cover as a thumbnail shows it: the front cover embedded in the file (each
// container's finder asked in turn), else a picture named "cover", "folder" or "front"
// (.jpg, .jpeg or .png) in the file's own folder. The bytes come back with what their
// first bytes declare (ImageSniff.h): a picture that is no image of a known kind or is
// too large is no cover. The file is opened once; the picture is read in one read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "audio/ByteSpan.h"
#include "picture/ImageSniff.h"
#include "audio/PictureLocation.h"
#include "platform/Platform.h"

namespace plenvox {

class AudioFileReader;

// The largest picture read, embedded or in the folder.
constexpr std::uint32_t kPictureBytesMax = 16 * 1024 * 1024;

enum class TCoverSource { Embedded, Folder };

struct TCoverPicture {
  std::vector<std::uint8_t> Bytes;
  TImageInfo Info;
  TCoverSource Source = TCoverSource::Embedded;
};

// Where the file's embedded front cover lies, asking every container's finder; nothing
// when none has one.
std::optional<TPictureLocation> FindEmbeddedPicture(AudioFileReader& file);
// The picture at location, read and checked; nothing when it is too large, cannot be
// read or is no image within the limits.
std::optional<TCoverPicture> ReadPictureAt(AudioFileReader& file, const TPictureLocation& location);
// The bytes of an unsynchronised picture with each 0xFF 0x00 taken as 0xFF.
std::vector<std::uint8_t> Resynchronised(ByteSpan bytes);

// The folder pictures' names, in the order they are tried.
extern const char* const kFolderPictureNames[9];

// The cover of the file at path (in the encoding given): embedded, else from its folder;
// nothing for a file that cannot be opened.
std::optional<TCoverPicture> ReadCoverArt(Platform& os, TTextEncoding encoding, const std::string& path);

}  // namespace plenvox
