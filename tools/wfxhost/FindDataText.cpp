#include "FindDataText.h"

#include <cstring>
#include <string>

#include "EscapedText.h"
#include "Output.h"
#include "common/Utf8.h"

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

template <typename Char, std::size_t N>
std::basic_string<Char> UpToZero(const Char (&name)[N]) {
  std::size_t length = 0;
  while (length < N && name[length] != Char{}) ++length;
  return std::basic_string<Char>(name, length);
}

template <std::size_t N>
std::string Name(const char (&name)[N], const char (&passed)[N]) {
  return Same(name, passed) ? "=" : EscapedText(UpToZero(name));
}

template <std::size_t N>
std::string Name(const char16_t (&name)[N], const char16_t (&passed)[N]) {
  return Same(name, passed) ? "=" : EscapedText(Utf16ToUtf8(UpToZero(name)));
}

template <typename Record>
void PrintRecord(const Record& r, const Record& p) {
  PrintLine({"item", Word(r.FileAttributes, p.FileAttributes),
             Time(r.CreationTime, p.CreationTime), Time(r.LastAccessTime, p.LastAccessTime),
             Time(r.LastWriteTime, p.LastWriteTime), Number(r.FileSizeHigh, p.FileSizeHigh),
             Number(r.FileSizeLow, p.FileSizeLow), Word(r.Reserved0, p.Reserved0),
             Word(r.Reserved1, p.Reserved1), Name(r.FileName, p.FileName),
             Name(r.AlternateFileName, p.AlternateFileName)});
}

}  // namespace

void PrintFindData(const TFindData& record, const TFindData& passed) { PrintRecord(record, passed); }
void PrintFindData(const TFindDataW& record, const TFindDataW& passed) { PrintRecord(record, passed); }

}  // namespace plenvox::e2e
