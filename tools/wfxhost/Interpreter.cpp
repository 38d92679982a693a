#include "Interpreter.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "EscapedText.h"
#include "FindDataText.h"
#include "HostWindow.h"
#include "Output.h"
#include "common/Path.h"

namespace plenvox::e2e {

namespace {

constexpr BYTE kMarkerByte = 0xA5;
// A listing that has not ended after this many items is reported and closed.
constexpr int kListingLimit = 100000;

// How the progress callbacks answer (the script's `progress` command) and what they saw
// during the current getfile.
struct ProgressScript {
  bool Quiet = false;     // count the calls without a line each
  int AbortAt = -1;       // answer "abort" from the first call at this percent on
  int Calls = 0;
  int First = -1;
  int Last = -1;
  bool Aborted = false;
};
ProgressScript g_progress;

int ProgressAnswer(const char* kind, const std::string& source, const std::string& target,
                   int percent) {
  if (g_progress.First < 0) g_progress.First = percent;
  g_progress.Last = percent;
  ++g_progress.Calls;
  if (g_progress.AbortAt >= 0 && percent >= g_progress.AbortAt) g_progress.Aborted = true;
  if (!g_progress.Quiet) {
    PrintLine({"callback", kind, source, target, std::to_string(percent),
               g_progress.Aborted ? "abort" : "continue"});
  }
  return g_progress.Aborted ? wfx::kProgressAbort : 0;
}

// The host's other callbacks are reported and answered as a host that has nothing to say
// would answer them.
int PLENVOX_WFX_CALL ProgressCallback(int, char* source, char* target, int percent) {
  return ProgressAnswer("progress", EscapedText(source ? source : ""), EscapedText(target ? target : ""),
                        percent);
}

void PLENVOX_WFX_CALL LogCallback(int, int type, char* text) {
  PrintLine({"callback", "log", std::to_string(type), EscapedText(text ? text : "")});
}

int PLENVOX_WFX_CALL RequestCallback(int, int type, char* title, char* text, char*, int) {
  PrintLine({"callback", "request", std::to_string(type), EscapedText(title ? title : ""),
             EscapedText(text ? text : "")});
  return FALSE;
}

// The same callbacks of FsInitW, their texts printed in UTF-8.
std::string Printed(const char16_t* text) { return text ? WideForm::Printed(text) : ""; }

int PLENVOX_WFX_CALL ProgressCallbackW(int, char16_t* source, char16_t* target, int percent) {
  return ProgressAnswer("progressw", Printed(source), Printed(target), percent);
}

void PLENVOX_WFX_CALL LogCallbackW(int, int type, char16_t* text) {
  PrintLine({"callback", "logw", std::to_string(type), Printed(text)});
}

int PLENVOX_WFX_CALL RequestCallbackW(int, int type, char16_t* title, char16_t* text, char16_t*,
                                      int) {
  PrintLine({"callback", "requestw", std::to_string(type), Printed(title), Printed(text)});
  return FALSE;
}

bool ParseNumber(const std::string& text, long long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtoll(text.c_str(), &end, 0);
  return end && *end == '\0';
}

std::string Signed(long long value) { return std::to_string(value); }

std::string HandleText(HANDLE handle) {
  return Signed(static_cast<long long>(reinterpret_cast<LONG_PTR>(handle)));
}

}  // namespace

Interpreter::Interpreter(PluginLibrary& plugin, HWND host)
    : plugin_(plugin), host_(host), dialogs_(host) {
  std::memset(&passed_, kMarkerByte, sizeof passed_);
  std::memset(&passedW_, kMarkerByte, sizeof passedW_);
}

template <>
TFindData& Interpreter::Passed<AnsiForm>() {
  return passed_;
}

template <>
TFindDataW& Interpreter::Passed<WideForm>() {
  return passedW_;
}

bool Interpreter::Run(const Words& w) {
  struct Command {
    const char* Name;
    std::size_t MinimumWords;
    bool (Interpreter::*Run)(const Words&);
  };
  static const Command kCommands[] = {
      {"init", 1, &Interpreter::Init},
      {"initw", 1, &Interpreter::InitW},
      {"rootname", 2, &Interpreter::RootName},
      {"findfirst", 2, &Interpreter::FindFirst<AnsiForm>},
      {"findfirstw", 2, &Interpreter::FindFirst<WideForm>},
      {"findnext", 1, &Interpreter::FindNext<AnsiForm>},
      {"findnextw", 1, &Interpreter::FindNext<WideForm>},
      {"findclose", 1, &Interpreter::FindClose},
      {"list", 2, &Interpreter::List<AnsiForm>},
      {"listw", 2, &Interpreter::List<WideForm>},
      {"status", 3, &Interpreter::Status<AnsiForm>},
      {"statusw", 3, &Interpreter::Status<WideForm>},
      {"put", 2, &Interpreter::Put<AnsiForm>},
      {"putw", 2, &Interpreter::Put<WideForm>},
      {"delete", 2, &Interpreter::Delete<AnsiForm>},
      {"deletew", 2, &Interpreter::Delete<WideForm>},
      {"exec", 3, &Interpreter::Execute<AnsiForm>},
      {"execw", 3, &Interpreter::Execute<WideForm>},
      {"getfile", 3, &Interpreter::GetFile<AnsiForm>},
      {"getfilew", 3, &Interpreter::GetFile<WideForm>},
      {"progress", 2, &Interpreter::Progress},
      {"stat", 2, &Interpreter::Stat<AnsiForm>},
      {"statw", 2, &Interpreter::Stat<WideForm>},
      {"lasterror", 1, &Interpreter::LastError},
      {"codepage", 1, &Interpreter::CodePage},
      {"fill", 2, &Interpreter::Fill},
      {"picker", 2, &Interpreter::Picker},
      {"send", 5, &Interpreter::Send},
      {"waitwindow", 3, &Interpreter::WaitWindow},
      {"close", 3, &Interpreter::CloseWindow},
      {"sleep", 2, &Interpreter::Sleep},
      {"echo", 1, &Interpreter::Echo},
      {"lock", 2, &Interpreter::Lock},
      {"unlock", 2, &Interpreter::Unlock},
      {"clock", 1, &Interpreter::Clock},
      {"fields", 1, &Interpreter::Fields},
      {"value", 4, &Interpreter::Value<AnsiForm>},
      {"valuew", 4, &Interpreter::Value<WideForm>},
      {"valuethread", 4, &Interpreter::ValueOnThread<AnsiForm>},
      {"valuethreadw", 4, &Interpreter::ValueOnThread<WideForm>},
      {"stopvalue", 2, &Interpreter::StopValue<AnsiForm>},
      {"stopvaluew", 2, &Interpreter::StopValue<WideForm>},
      {"unloading", 1, &Interpreter::Unloading},
      {"defaultview", 2, &Interpreter::DefaultView<AnsiForm>},
      {"defaultvieww", 2, &Interpreter::DefaultView<WideForm>},
      {"icon", 2, &Interpreter::Icon<AnsiForm>},
      {"iconw", 2, &Interpreter::Icon<WideForm>},
      {"preview", 4, &Interpreter::Preview<AnsiForm>},
      {"previeww", 4, &Interpreter::Preview<WideForm>},
      {"previewthreads", 5, &Interpreter::PreviewThreads<AnsiForm>},
      {"previewthreadsw", 5, &Interpreter::PreviewThreads<WideForm>},
      {"com", 2, &Interpreter::Com},
      {"comstate", 1, &Interpreter::ComState},
  };
  if (w.empty()) return true;
  for (const Command& command : kCommands) {
    if (w[0] != command.Name) continue;
    if (w.size() < command.MinimumWords) return Fail("too few arguments: " + w[0]);
    return (this->*command.Run)(w);
  }
  return Fail("unknown command: " + w[0]);
}

bool Interpreter::Require(const std::string& entryPoint, const std::string& command) {
  if (plugin_.Has(entryPoint)) return true;
  PrintLine({command, "missing", entryPoint});
  return false;
}

bool Interpreter::Init(const Words&) {
  if (!Require("FsInit", "init")) return true;
  const int result = Guarded([&] {
    return plugin_.Call<int>("FsInit", 1, &ProgressCallback, &LogCallback, &RequestCallback);
  });
  PrintLine({"init", Signed(result)});
  return true;
}

bool Interpreter::InitW(const Words&) {
  if (!Require("FsInitW", "initw")) return true;
  const int result = Guarded([&] {
    return plugin_.Call<int>("FsInitW", 1, &ProgressCallbackW, &LogCallbackW, &RequestCallbackW);
  });
  PrintLine({"initw", Signed(result)});
  return true;
}

bool Interpreter::RootName(const Words& w) {
  long long size = 0;
  if (!ParseNumber(w[1], size) || size < 0 || size > 65536) return Fail("bad size: " + w[1]);
  if (!Require("FsGetDefRootName", "rootname")) return true;
  constexpr std::size_t kGuard = 16;
  constexpr char kUnwritten = '\xCC';
  std::vector<char> buffer(static_cast<std::size_t>(size) + kGuard, kUnwritten);
  Guarded([&] {
    plugin_.Call<void>("FsGetDefRootName", buffer.data(), static_cast<int>(size));
  });
  const auto zero = std::find(buffer.begin(), buffer.end(), '\0');
  const std::string text(buffer.begin(), zero);
  std::string rest = "unterminated";
  if (zero != buffer.end()) {
    const bool untouched = std::all_of(zero + 1, buffer.end(), [&](char c) { return c == kUnwritten; });
    rest = untouched ? "intact" : "written";
  }
  PrintLine({"rootname", std::to_string(size), EscapedText(text), rest});
  return true;
}

template <typename Form>
HANDLE Interpreter::CallFindFirst(const std::string& path) {
  auto text = Form::Text(path);
  typename Form::Record record = Passed<Form>();
  const HANDLE search = Guarded([&] {
    return plugin_.Call<HANDLE>(EntryPoint<Form>("FsFindFirst"), text.data(), &record);
  });
  if (!quiet_) {
    PrintLine({LineKind<Form>("findfirst"), HandleText(search), std::to_string(plugin_.LastError())});
    if (search != INVALID_HANDLE_VALUE) PrintFindData(record, Passed<Form>());
  }
  lastSearch_ = search;
  return search;
}

template <typename Form>
BOOL Interpreter::CallFindNext(HANDLE search) {
  typename Form::Record record = Passed<Form>();
  const BOOL more = Guarded([&] {
    return plugin_.Call<BOOL>(EntryPoint<Form>("FsFindNext"), search, &record);
  });
  if (!quiet_) {
    PrintLine({LineKind<Form>("findnext"), Signed(more)});
    if (more) PrintFindData(record, Passed<Form>());
  }
  return more;
}

int Interpreter::CallFindClose(HANDLE search) {
  const int result = Guarded([&] { return plugin_.Call<int>("FsFindClose", search); });
  PrintLine({"findclose", Signed(result)});
  return result;
}

template <typename Form>
void Interpreter::CallStatus(const std::string& path, int startEnd, int operation) {
  auto text = Form::Text(path);
  Guarded([&] {
    plugin_.Call<void>(EntryPoint<Form>("FsStatusInfo"), text.data(), startEnd, operation);
  });
  PrintLine({LineKind<Form>("status"), startEnd == 0 ? "start" : "end", std::to_string(operation)});
}

template <typename Form>
bool Interpreter::FindFirst(const Words& w) {
  const std::string entryPoint = EntryPoint<Form>("FsFindFirst");
  if (Require(entryPoint, LineKind<Form>("findfirst"))) CallFindFirst<Form>(w[1]);
  return true;
}

template <typename Form>
bool Interpreter::FindNext(const Words&) {
  if (Require(EntryPoint<Form>("FsFindNext"), LineKind<Form>("findnext"))) {
    CallFindNext<Form>(lastSearch_);
  }
  return true;
}

bool Interpreter::FindClose(const Words&) {
  if (Require("FsFindClose", "findclose")) CallFindClose(lastSearch_);
  return true;
}

// A listing the way the host makes one: announced with FsStatusInfo (when the plug-in
// has it, unless the script says "nostatus"), the first item, further items until
// FsFindNext says no more, closed only when FsFindFirst gave a search handle.
template <typename Form>
bool Interpreter::List(const Words& w) {
  const std::string& path = w[1];
  const std::string kind = LineKind<Form>("list");
  bool announce = plugin_.Has(EntryPoint<Form>("FsStatusInfo"));
  bool quiet = false;
  for (std::size_t i = 2; i < w.size(); ++i) {
    if (w[i] == "nostatus") {
      announce = false;
    } else if (w[i] == "quiet") {
      quiet = true;
    } else {
      return Fail(kind + " PATH [nostatus] [quiet]");
    }
  }
  if (!Require(EntryPoint<Form>("FsFindFirst"), kind) ||
      !Require(EntryPoint<Form>("FsFindNext"), kind) || !Require("FsFindClose", kind)) {
    return true;
  }
  quiet_ = quiet;
  if (announce) CallStatus<Form>(path, 0, wfx::kOpList);
  int items = 0;
  const HANDLE search = CallFindFirst<Form>(path);
  if (search != INVALID_HANDLE_VALUE) {
    ++items;
    while (CallFindNext<Form>(search)) {
      if (++items >= kListingLimit) {
        PrintLine({"error", "listing does not end"});
        break;
      }
    }
    CallFindClose(search);
  }
  quiet_ = false;
  if (announce) CallStatus<Form>(path, 1, wfx::kOpList);
  PrintLine({kind, std::to_string(items)});
  return true;
}

template <typename Form>
bool Interpreter::Status(const Words& w) {
  long long operation = 0;
  if ((w[1] != "start" && w[1] != "end") || !ParseNumber(w[2], operation)) {
    return Fail(LineKind<Form>("status") + " start|end OPERATION [PATH]");
  }
  if (Require(EntryPoint<Form>("FsStatusInfo"), LineKind<Form>("status"))) {
    CallStatus<Form>(w.size() > 3 ? w[3] : "\\", w[1] == "start" ? 0 : 1,
                     static_cast<int>(operation));
  }
  return true;
}

template <typename Form>
bool Interpreter::Put(const Words& w) {
  const std::string& local = w[1];
  const std::string remote = w.size() > 2 ? w[2] : "\\" + NameOf(local);
  long long flags = 0;
  if (w.size() > 3 && !ParseNumber(w[3], flags)) return Fail("bad flags: " + w[3]);
  if (!Require(EntryPoint<Form>("FsPutFile"), LineKind<Form>("put"))) return true;
  auto localText = Form::Text(local);
  auto remoteText = Form::Text(remote);
  const int result = Guarded([&] {
    return plugin_.Call<int>(EntryPoint<Form>("FsPutFile"), localText.data(), remoteText.data(),
                             static_cast<int>(flags));
  });
  PrintLine({LineKind<Form>("put"), Signed(result)});
  return true;
}

template <typename Form>
bool Interpreter::Delete(const Words& w) {
  if (!Require(EntryPoint<Form>("FsDeleteFile"), LineKind<Form>("delete"))) return true;
  auto remote = Form::Text(w[1]);
  const BOOL result = Guarded([&] {
    return plugin_.Call<BOOL>(EntryPoint<Form>("FsDeleteFile"), remote.data());
  });
  PrintLine({LineKind<Form>("delete"), Signed(result)});
  return true;
}

template <typename Form>
bool Interpreter::Execute(const Words& w) {
  if (!Require(EntryPoint<Form>("FsExecuteFile"), LineKind<Form>("exec"))) return true;
  auto remote = Form::Text(w[1]);
  auto verb = Form::Text(w[2]);
  const int result = Guarded([&] {
    return plugin_.Call<int>(EntryPoint<Form>("FsExecuteFile"), host_, remote.data(), verb.data());
  });
  PrintLine({LineKind<Form>("exec"), Signed(result), Form::Printed(remote.data())});
  return true;
}

template <typename Form>
bool Interpreter::GetFile(const Words& w) {
  long long flags = 0;
  if (w.size() > 3 && !ParseNumber(w[3], flags)) return Fail("bad flags: " + w[3]);
  if (!Require(EntryPoint<Form>("FsGetFile"), LineKind<Form>("getfile"))) return true;
  wfx::TRemoteInfo info{};
  auto remote = Form::Text(w[1]);
  auto local = Form::Text(w[2]);
  const bool quiet = g_progress.Quiet;
  const int abortAt = g_progress.AbortAt;
  g_progress = ProgressScript{quiet, abortAt};
  const int result = Guarded([&] {
    return plugin_.Call<int>(EntryPoint<Form>("FsGetFile"), remote.data(), local.data(),
                             static_cast<int>(flags), &info);
  });
  PrintLine({LineKind<Form>("getfile"), Signed(result), Form::Printed(local.data()),
             std::to_string(g_progress.Calls), std::to_string(g_progress.First),
             std::to_string(g_progress.Last)});
  return true;
}

bool Interpreter::Progress(const Words& w) {
  long long percent = -1;
  if (w[1] == "log" || w[1] == "quiet") {
    g_progress.Quiet = w[1] == "quiet";
  } else if (w[1] == "abort" && w.size() > 2 && ParseNumber(w[2], percent)) {
    g_progress.AbortAt = static_cast<int>(percent);
  } else if (w[1] == "continue") {
    g_progress.AbortAt = -1;
  } else {
    return Fail("progress log|quiet|continue|abort PERCENT, not: " + w[1]);
  }
  PrintLine({"progress", w[1], w.size() > 2 ? w[2] : ""});
  return true;
}

bool Interpreter::LastError(const Words&) {
  PrintLine({"lasterror", std::to_string(plugin_.LastError())});
  return true;
}

bool Interpreter::CodePage(const Words&) {
  PrintLine({"codepage", std::to_string(::GetACP()), std::to_string(::GetOEMCP())});
  return true;
}

bool Interpreter::Fill(const Words& w) {
  if (w[1] == "marker" || w[1] == "zero") {
    const int byte = w[1] == "marker" ? kMarkerByte : 0;
    std::memset(&passed_, byte, sizeof passed_);
    std::memset(&passedW_, byte, sizeof passedW_);
  } else {
    return Fail("fill marker|zero");
  }
  return true;
}

bool Interpreter::Picker(const Words& w) {
  if (w[1] == "cancel") {
    dialogs_.SetPickerChoice(std::nullopt);
  } else if (w[1] == "choose" && w.size() > 2) {
    dialogs_.SetPickerChoice(w[2]);
  } else {
    return Fail("picker choose FOLDER | picker cancel");
  }
  return true;
}

bool Interpreter::Send(const Words& w) {
  long long message = 0, wParam = 0, lParam = 0;
  if (!ParseNumber(w[2], message) || !ParseNumber(w[3], wParam) || !ParseNumber(w[4], lParam)) {
    return Fail("send CLASS MESSAGE WPARAM LPARAM");
  }
  HWND window = ::FindWindowA(w[1].c_str(), nullptr);
  if (!window) {
    PrintLine({"send", "no-window"});
    return true;
  }
  DWORD_PTR answer = 0;
  constexpr UINT kSendTimeout = 10000;
  if (!::SendMessageTimeoutA(window, static_cast<UINT>(message), static_cast<WPARAM>(wParam),
                             static_cast<LPARAM>(lParam), SMTO_NORMAL, kSendTimeout, &answer)) {
    PrintLine({"send", "timeout"});
    return true;
  }
  PrintLine({"send", Signed(static_cast<long long>(static_cast<LONG_PTR>(answer)))});
  return true;
}

bool Interpreter::WaitWindow(const Words& w) {
  long long limit = 0;
  if (!ParseNumber(w[2], limit)) return Fail("waitwindow CLASS MILLISECONDS");
  const ULONGLONG until = ::GetTickCount64() + static_cast<ULONGLONG>(limit);
  bool found = false;
  while (!(found = ::FindWindowA(w[1].c_str(), nullptr) != nullptr) &&
         ::GetTickCount64() < until) {
    ::Sleep(20);
  }
  PrintLine({"window", EscapedText(w[1]), found ? "found" : "missing"});
  return true;
}

// Asks the window to close and waits until its process has ended.
bool Interpreter::CloseWindow(const Words& w) {
  long long limit = 0;
  if (!ParseNumber(w[2], limit)) return Fail("close CLASS MILLISECONDS");
  HWND window = ::FindWindowA(w[1].c_str(), nullptr);
  if (!window) {
    PrintLine({"close", EscapedText(w[1]), "no-window"});
    return true;
  }
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
  ::PostMessageA(window, WM_CLOSE, 0, 0);
  bool ended = false;
  if (process) {
    ended = ::WaitForSingleObject(process, static_cast<DWORD>(limit)) == WAIT_OBJECT_0;
    ::CloseHandle(process);
  }
  PrintLine({"close", EscapedText(w[1]), ended ? "closed" : "timeout"});
  return true;
}

// The host's own look-up of a file, for comparison with what the plug-in lists: through
// FindFirstFileA, or FindFirstFileW for "statw" (the path read as UTF-8).
template <typename Form>
bool Interpreter::Stat(const Words& w) {
  using Record = typename Form::Record;
  using Found = std::conditional_t<std::is_same_v<Form, WideForm>, WIN32_FIND_DATAW, WIN32_FIND_DATAA>;
  static_assert(sizeof(Found) == sizeof(Record), "the system's record");
  Found found;
  std::memcpy(&found, &Passed<Form>(), sizeof found);
  const auto path = Form::Text(w[1]);
  HANDLE search = INVALID_HANDLE_VALUE;
  if constexpr (std::is_same_v<Form, WideForm>) {
    search = ::FindFirstFileW(reinterpret_cast<const wchar_t*>(path.data()), &found);
  } else {
    search = ::FindFirstFileA(path.data(), &found);
  }
  PrintLine({LineKind<Form>("stat"), search == INVALID_HANDLE_VALUE ? "missing" : "found",
             EscapedText(w[1])});
  if (search == INVALID_HANDLE_VALUE) return true;
  ::FindClose(search);
  Record record;
  std::memcpy(&record, &found, sizeof record);
  PrintFindData(record, Passed<Form>());
  return true;
}

// Holds the file open with no sharing, so that every other open of it fails (also the
// plug-in's and the player's) until it is unlocked or the host ends.
bool Interpreter::Lock(const Words& w) {
  HANDLE file = ::CreateFileA(w[1].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    PrintLine({"lock", EscapedText(w[1]), "failed", std::to_string(::GetLastError())});
    return true;
  }
  locks_.push_back({w[1], file});
  PrintLine({"lock", EscapedText(w[1]), "ok"});
  return true;
}

bool Interpreter::Unlock(const Words& w) {
  for (auto lock = locks_.begin(); lock != locks_.end(); ++lock) {
    if (lock->first != w[1]) continue;
    ::CloseHandle(lock->second);
    locks_.erase(lock);
    PrintLine({"unlock", EscapedText(w[1]), "ok"});
    return true;
  }
  PrintLine({"unlock", EscapedText(w[1]), "not-locked"});
  return true;
}

Interpreter::~Interpreter() {
  for (const auto& lock : locks_) ::CloseHandle(lock.second);
}

bool Interpreter::Sleep(const Words& w) {
  long long milliseconds = 0;
  if (!ParseNumber(w[1], milliseconds) || milliseconds < 0) return Fail("sleep MILLISECONDS");
  ::Sleep(static_cast<DWORD>(milliseconds));
  HostWindow::PumpMessages();
  return true;
}

bool Interpreter::Clock(const Words&) {
  LARGE_INTEGER now, frequency;
  ::QueryPerformanceCounter(&now);
  ::QueryPerformanceFrequency(&frequency);
  char text[32];
  std::snprintf(text, sizeof text, "%.3f",
                static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart));
  PrintLine({"clock", text});
  return true;
}

bool Interpreter::Echo(const Words& w) {
  std::string text;
  for (std::size_t i = 1; i < w.size(); ++i) text += (i > 1 ? " " : "") + w[i];
  PrintLine({"echo", EscapedText(text)});
  return true;
}

}  // namespace plenvox::e2e
