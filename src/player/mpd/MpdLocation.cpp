#include "player/mpd/MpdLocation.h"

#include "common/Text.h"

namespace plenvox {

namespace {

constexpr const char* kFileScheme = "file://";
constexpr std::int32_t kPortMax = 65535;

unsigned PortValue(const std::string& text) {
  std::int32_t port = 0;
  return ParseInt32(text, port) && port > 0 && port <= kPortMax ? static_cast<unsigned>(port) : 0;
}

// The music directory with exactly one "/" at its end, or empty.
std::string DirectoryPrefix(const std::string& musicDirectory) {
  std::string prefix = musicDirectory;
  while (prefix.size() > 1 && prefix.back() == '/') prefix.pop_back();
  if (prefix.empty() || prefix == "/") return prefix;
  return prefix + '/';
}

}  // namespace

TMpdAddress ResolveMpdAddress(const std::string& settingsHost, int settingsPort,
                              const std::optional<std::string>& environmentHost,
                              const std::optional<std::string>& environmentPort) {
  TMpdAddress address;
  address.Host = !settingsHost.empty() ? settingsHost : environmentHost.value_or("");
  if (settingsPort > 0 && settingsPort <= kPortMax) {
    address.Port = static_cast<unsigned>(settingsPort);
  } else if (environmentPort) {
    address.Port = PortValue(*environmentPort);
  }
  const auto at = address.Host.rfind('@');
  if (at != std::string::npos && at > 0) {
    address.Password = address.Host.substr(0, at);
    address.Host.erase(0, at + 1);
  }
  return address;
}

std::string DescribeMpdAddress(const TMpdAddress& address) {
  if (address.Host.empty()) return "its default address (localhost, port 6600)";
  if (address.Host[0] == '/' || address.Host[0] == '@') return "the socket " + address.Host;
  return address.Host + ", port " + std::to_string(address.Port != 0 ? address.Port : 6600u);
}

bool HasUriScheme(const std::string& uri) {
  const auto colon = uri.find("://");
  if (colon == std::string::npos || colon == 0) return false;
  for (std::size_t i = 0; i < colon; ++i) {
    const char c = uri[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    if (!letter && !(i > 0 && other)) return false;
  }
  return true;
}

std::string PathOfQueueUri(const std::string& musicDirectory, const std::string& uri) {
  if (uri.compare(0, std::char_traits<char>::length(kFileScheme), kFileScheme) == 0) {
    return uri.substr(std::char_traits<char>::length(kFileScheme));
  }
  if (uri.empty() || uri[0] == '/' || HasUriScheme(uri)) return uri;
  const std::string prefix = DirectoryPrefix(musicDirectory);
  return prefix.empty() ? uri : prefix + uri;
}

std::string QueueUriOfPath(const std::string& musicDirectory, const std::string& path) {
  const std::string prefix = DirectoryPrefix(musicDirectory);
  if (prefix.size() > 1 && path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0) {
    return path.substr(prefix.size());
  }
  return path;
}

}  // namespace plenvox
