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

std::string Time(const FILETIME& time, const FILETIME& passed) {
  if (Same(time, passed)) return "=";
  return Hex((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime, 16);
}

std::string Word(DWORD value, DWORD passed) { return value == passed ? "=" : Hex(value, 8); }

std::string Number(DWORD value, DWORD passed) {
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

void PrintFindData(const WIN32_FIND_DATAA& r, const WIN32_FIND_DATAA& p) {
  PrintLine({"item", Word(r.dwFileAttributes, p.dwFileAttributes),
             Time(r.ftCreationTime, p.ftCreationTime), Time(r.ftLastAccessTime, p.ftLastAccessTime),
             Time(r.ftLastWriteTime, p.ftLastWriteTime), Number(r.nFileSizeHigh, p.nFileSizeHigh),
             Number(r.nFileSizeLow, p.nFileSizeLow), Word(r.dwReserved0, p.dwReserved0),
             Word(r.dwReserved1, p.dwReserved1), Name(r.cFileName, p.cFileName),
             Name(r.cAlternateFileName, p.cAlternateFileName)});
}

}  // namespace plenvox::e2e
