// Reading a small file whole, and replacing a file whole so that no reader and no
// crash ever sees half of it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace plenvox {

// Largest file that ReadWholeFile takes; settings files are a few hundred bytes.
constexpr std::int64_t kWholeFileMax = 16 * 1024 * 1024;

// What ReadWholeFile found.
enum class ReadOutcome { Read, Missing, Failed };

// Reads the whole file into bytes. A file that does not exist (or whose folder does
// not) is Missing, with bytes empty; a file that cannot be opened or read, or is
// larger than kWholeFileMax, is Failed with the system error code in error.
ReadOutcome ReadWholeFile(Platform& os, const std::string& path, std::string& bytes,
                          std::uint32_t& error);

// The temporary file that WriteFileAtomically writes beside path.
std::string TemporaryBeside(const std::string& path);

// Writes bytes to a temporary file in path's folder and then puts it in place of path
// in one step. A path marked read-only is refused with kErrorAccessDenied. On failure the temporary file is removed, path is left exactly as it
// was, and error holds the system error code.
bool WriteFileAtomically(Platform& os, const std::string& path, std::string_view bytes,
                         std::uint32_t& error);

}  // namespace plenvox
