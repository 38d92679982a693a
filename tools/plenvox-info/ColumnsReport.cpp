#include "ColumnsReport.h"

#include <cstdint>
#include <cstdio>
#include <ctime>

#include "plugin/ContentFields.h"
#include "plugin/ContentValues.h"
#include "plugin/HostInterface.h"

namespace plenvox::info {

namespace {

// A FILETIME (100 ns since 1601, UTC) as "YYYY-MM-DD hh:mm:ss UTC".
std::string TimeText(const TFileTime& time) {
  constexpr std::uint64_t kUnixEpoch = 116444736000000000ull;
  const std::uint64_t ticks = (std::uint64_t{time.High} << 32) | time.Low;
  if (ticks < kUnixEpoch) return "before 1970";
  const auto seconds = static_cast<std::time_t>((ticks - kUnixEpoch) / 10000000ull);
  std::tm parts{};
#if defined(_WIN32)
  gmtime_s(&parts, &seconds);
#else
  gmtime_r(&seconds, &parts);
#endif
  char text[40];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &parts);
  return text;
}

std::string Shown(const TFieldSources& sources, int field) {
  const TFieldValue value = FieldValue(sources, field, 0);
  switch (value.Type) {
    case wfx::kFtNumeric32:
    case wfx::kFtNumeric64: return std::to_string(value.Number);
    case wfx::kFtNumericFloating:
      // The play times: seconds and m:ss.
      return value.Text + " (" + FieldValue(sources, field, 1).Text + ")";
    case wfx::kFtBoolean: return value.Number ? "yes" : "no";
    case wfx::kFtDateTime: return TimeText(value.Time);
    case wfx::kFtMultipleChoice:
    case wfx::kFtString: return value.Text;
    default: return "(empty)";
  }
}

}  // namespace

std::string ColumnsReport(Platform& os, const std::string& fileName, const TAudioDescription& audio) {
  TFileRecord record;
  const bool found = os.FindFile(fileName, record);
  const TFieldSources sources{nullptr, os.TextEncoding(), found, &record, found ? &audio : nullptr};
  std::string text = fileName + "\n";
  for (int field = 0; field < kFieldCount; ++field) {
    const TContentField& info = kContentFields[static_cast<std::size_t>(field)];
    if (info.Need == TFieldNeed::Entry) continue;
    text += "  " + std::string(info.Name) + ": " + Shown(sources, field) + "\n";
  }
  return text;
}

}  // namespace plenvox::info
