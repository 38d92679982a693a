#include "plugin/so/RequestHost.h"

#include <algorithm>
#include <vector>

#include "common/Utf8.h"

namespace plenvox {

namespace {

// A text in a buffer of the answer's room, zero-terminated, cut to fit.
template <typename Unit>
std::vector<Unit> AnswerBuffer(const std::basic_string<Unit>& prefill) {
  std::vector<Unit> buffer(kRequestAnswerUnits, Unit{0});
  std::copy_n(prefill.begin(), std::min<std::size_t>(prefill.size(), buffer.size() - 1), buffer.begin());
  return buffer;
}

}  // namespace

void RequestHost::Keep(int pluginNumber, wfx::TRequestProc request) {
  pluginNumber_ = pluginNumber;
  request_ = request;
}

void RequestHost::Keep(int pluginNumber, wfx::TRequestProcW request) {
  pluginNumber_ = pluginNumber;
  requestW_ = request;
}

std::optional<std::string> RequestHost::Ask(int type, const std::string& title,
                                            const std::string& text, const std::string& prefill) {
  // The core's texts are UTF-8 on Linux, in either encoding of texts.
  if (requestW_) {
    std::u16string wideTitle = Utf8ToUtf16(title);
    std::u16string wideText = Utf8ToUtf16(text);
    std::vector<char16_t> answer = AnswerBuffer(Utf8ToUtf16(prefill));
    if (!requestW_(pluginNumber_, type, wideTitle.data(), wideText.data(), answer.data(),
                   kRequestAnswerUnits)) {
      return std::nullopt;
    }
    answer.back() = 0;
    return Utf16ToUtf8(std::u16string(answer.data()));
  }
  if (request_) {
    std::string ansiTitle = title;
    std::string ansiText = text;
    std::vector<char> answer = AnswerBuffer(prefill);
    if (!request_(pluginNumber_, type, ansiTitle.data(), ansiText.data(), answer.data(),
                  kRequestAnswerUnits)) {
      return std::nullopt;
    }
    answer.back() = 0;
    return std::string(answer.data());
  }
  return std::nullopt;
}

void RequestHost::ShowMessage(const std::string& text, const std::string& caption) {
  Ask(kRequestMsgOk, caption, text, "");
}

std::optional<std::string> RequestHost::ChooseFolder(const std::string& title) {
  return Ask(kRequestTargetDir, title, title, os_.GetEnv("HOME").value_or("/"));
}

}  // namespace plenvox
