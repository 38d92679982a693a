#include "PluginLibrary.h"

#include "EscapedText.h"
#include "Output.h"

namespace plenvox::e2e {

PluginLibrary::~PluginLibrary() { Unload(); }

bool PluginLibrary::Load(const std::string& path) {
  module_ = ::LoadLibraryA(path.c_str());
  if (!module_) {
    PrintLine({"load", "failed", std::to_string(::GetLastError()), EscapedText(path)});
    return false;
  }
  PrintLine({"load", "ok", "0", EscapedText(path)});
  for (std::size_t i = 0; i < kEntryPointNames.size(); ++i) {
    entries_[i] = ::GetProcAddress(module_, kEntryPointNames[i]);
    PrintLine({"export", kEntryPointNames[i], entries_[i] ? "found" : "missing"});
  }
  return true;
}

void PluginLibrary::Unload() {
  if (!module_) return;
  entries_.fill(nullptr);
  const BOOL freed = ::FreeLibrary(module_);
  module_ = nullptr;
  PrintLine({"unload", freed ? "ok" : "failed"});
}

FARPROC PluginLibrary::Find(const std::string& name) const {
  for (std::size_t i = 0; i < kEntryPointNames.size(); ++i) {
    if (name == kEntryPointNames[i]) return entries_[i];
  }
  return nullptr;
}

}  // namespace plenvox::e2e
