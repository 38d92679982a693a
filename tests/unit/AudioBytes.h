// Builders for the tiny audio files that the reader tests write into a temporary
// folder: raw byte lists, ID3v2 headers and frames, ID3v1 tags and MPEG frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace plenvox::test {

inline std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int value : values) bytes += static_cast<char>(value);
  return bytes;
}

inline std::string Zeros(std::size_t count) { return std::string(count, '\0'); }

inline std::string BigEndianBytes(std::uint32_t value, int count) {
  std::string bytes;
  for (int shift = 8 * (count - 1); shift >= 0; shift -= 8) {
    bytes += static_cast<char>((value >> shift) & 0xFF);
  }
  return bytes;
}

inline std::string SynchSafeBytes(std::uint32_t value) {
  return Bytes({static_cast<int>((value >> 21) & 0x7F), static_cast<int>((value >> 14) & 0x7F),
                static_cast<int>((value >> 7) & 0x7F), static_cast<int>(value & 0x7F)});
}

// "ID3", major version, revision 0, flags, then the four size bytes as given.
inline std::string Id3v2Header(int version, int flags, const std::string& sizeBytes) {
  return "ID3" + Bytes({version, 0, flags}) + sizeBytes;
}

// A whole tag around body, its size synch-safe.
inline std::string Id3v2Tag(int version, const std::string& body) {
  return Id3v2Header(version, 0, SynchSafeBytes(static_cast<std::uint32_t>(body.size()))) + body;
}

// A frame of version 3 (size plain) or 4 (size synch-safe), flags 00 secondFlags.
inline std::string Id3v2Frame(const std::string& id, const std::string& data, int version = 3,
                              int secondFlags = 0) {
  const auto size = static_cast<std::uint32_t>(data.size());
  return id + (version == 4 ? SynchSafeBytes(size) : BigEndianBytes(size, 4)) +
         Bytes({0, secondFlags}) + data;
}

inline std::string Id3v2Frame2(const std::string& id, const std::string& data) {
  return id + BigEndianBytes(static_cast<std::uint32_t>(data.size()), 3) + data;
}

// text as UTF-16 little-endian with its byte-order mark (ASCII letters only).
inline std::string Utf16Le(const std::string& text) {
  std::string bytes = Bytes({0xFF, 0xFE});
  for (char c : text) bytes += std::string(1, c) + '\0';
  return bytes;
}

// A 128-byte ID3v1 tag: "TAG", then the 125 bytes given, cut or zero-padded.
inline std::string Id3v1Block(std::string fields) {
  fields.resize(125, '\0');
  return "TAG" + fields;
}

// A frame of the given length: the four header bytes, then zero bytes.
inline std::string MpegFrame(const std::string& header, std::size_t length) {
  return header + Zeros(length - header.size());
}

inline std::string Repeat(const std::string& piece, std::size_t times) {
  std::string bytes;
  for (std::size_t i = 0; i < times; ++i) bytes += piece;
  return bytes;
}

// Headers used throughout: MPEG 1 Layer III 128 kbit/s 44100 Hz joint stereo (417 bytes,
// 418 padded) and MPEG 2 Layer III 40 kbit/s 24000 Hz mono (120 bytes).
inline const std::string kMpeg1Header = Bytes({0xFF, 0xFB, 0x90, 0x64});
inline const std::string kMpeg1PaddedHeader = Bytes({0xFF, 0xFB, 0x92, 0x64});
inline const std::string kMpeg2MonoHeader = Bytes({0xFF, 0xF3, 0x54, 0xC4});

}  // namespace plenvox::test
