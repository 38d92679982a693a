// Where MPD is and how its queue's URIs meet the paths of this machine: the address
// that MPD's own clients would use, and the two directions between a queue entry's URI
// and the path that the plug-in's playlist holds.
#pragma once

#include <optional>
#include <string>

namespace plenvox {

// A daemon's address: a local socket's path (or "@name" for an abstract one) or a host
// name; Port 0 is MPD's default (6600); an empty Host is libmpdclient's default.
struct TMpdAddress {
  std::string Host;
  unsigned Port = 0;
  std::string Password;
};

// The address from the settings' Host and Port where they are set, else from MPD_HOST
// and MPD_PORT (as the environment holds them, or nothing), as MPD's clients read them:
// "password@host" carries a password (a leading "@" is an abstract socket's name, no
// password); a port that is no number from 1 to 65535 counts as not set.
TMpdAddress ResolveMpdAddress(const std::string& settingsHost, int settingsPort,
                              const std::optional<std::string>& environmentHost,
                              const std::optional<std::string>& environmentPort);

// How the address is named in messages to the user.
std::string DescribeMpdAddress(const TMpdAddress& address);

// True for a URI that names a stream or another resource by its scheme ("http://...").
bool HasUriScheme(const std::string& uri);

// The path that a queue entry's URI names: a URI relative to the music directory joined
// to it (a trailing "/" of the directory counted once); a "file://" URI without its
// scheme; an absolute path or a URI of another scheme as it is. Without a known music
// directory a relative URI stays as it is.
std::string PathOfQueueUri(const std::string& musicDirectory, const std::string& uri);

// The URI under which MPD takes a path back into its queue: a path inside the music
// directory relative to it (what MPD's database knows, and what a client over TCP may
// add); any other text as it is.
std::string QueueUriOfPath(const std::string& musicDirectory, const std::string& path);

}  // namespace plenvox
