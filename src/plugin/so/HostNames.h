// The folder's names as Double Commander takes them on Linux. Its root is "/" and an
// item's name follows it ("/name"); the core's root is "\" and an item's name is the
// entry's path, which on Linux is full of "/", a character that no name in a panel may
// hold. Every "/" of a listed name is shown as U+2215 (DIVISION SLASH, "∕"), which
// looks the same, and turned back when the name comes back.
#pragma once

#include <string>

#include "platform/FindData.h"

namespace plenvox {

// A remote path of the host in the core's form: "/" the root "\", "/name" "\" and the
// entry's path.
std::string CoreRemotePath(std::string hostPath);
std::u16string CoreRemotePath(std::u16string hostPath);

// The listed name in the host's record in the host's form.
void ShowNameToHost(TFindData& record);
void ShowNameToHost(TFindDataW& record);

}  // namespace plenvox
