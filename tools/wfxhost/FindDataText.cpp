#include "FindDataText.h"

#include <cstring>
#include <string>

#include "EscapedText.h"
#include "Output.h"

namespace plenvox::e2e {

namespace {

template <typename T>
bool Same(const T& field, const T& passed) {
  return std::memcmp(&field, &passed, sizeof field) == 0;
}

std::string Time(const TFileTime& time, const TFileTime& passed) {
  if (Same(time, passed)) return "=";
  return Hex((static_cast<unsigned long long>(time.High) << 32) | time.Low, 16);
}

std::string Word(std::uint32_t value, std::uint32_t passed) { return value == passed ? "=" : Hex(value, 8); }

std::string Number(std::uint32_t value, std::uint32_t passed) {
  return value == passed ? "=" : std::to_string(value);
}

template <std::size_t N>
std::string Name(const char (&name)[N], const char (&passed)[N]) {
  if (Same(name, passed)) return "=";
  const void* zero = std::memchr(name, 0, N);
  const std::size_t length = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - name) : N;
  return EscapedText(std::string(name, length));
}

}  // namespace

void PrintFindData(const TFindData& r, const TFindData& p) {
  PrintLine({"item", Word(r.FileAttributes, p.FileAttributes),
             Time(r.CreationTime, p.CreationTime), Time(r.LastAccessTime, p.LastAccessTime),
             Time(r.LastWriteTime, p.LastWriteTime), Number(r.FileSizeHigh, p.FileSizeHigh),
             Number(r.FileSizeLow, p.FileSizeLow), Word(r.Reserved0, p.Reserved0),
             Word(r.Reserved1, p.Reserved1), Name(r.FileName, p.FileName),
             Name(r.AlternateFileName, p.AlternateFileName)});
}

}  // namespace plenvox::e2e
