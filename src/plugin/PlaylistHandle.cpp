#include "plugin/PlaylistHandle.h"

#include "playlist/IoError.h"

namespace plenvox {

void PlaylistHandle::BindToPlaylistInUse() {
  file_.Bind(state_.PlaylistPath(os_), state_.Encoding);
}

bool PlaylistHandle::BoundToPlaylistInUse() const {
  return file_.Path() == state_.PlaylistPath(os_) && file_.Encoding() == state_.Encoding;
}

void PlaylistHandle::OpenForListing() {
  ForgetEntries();
  BindToPlaylistInUse();
  file_.Open();
  file_.ReadLine();  // the header, whatever it holds
}

void PlaylistHandle::Rebind() {
  ForgetEntries();
  CloseQuietly();
  BindToPlaylistInUse();
}

void PlaylistHandle::CloseQuietly() noexcept {
  try {
    file_.Close();
  } catch (...) {
    // The handle is released either way (see the class comment).
  }
}

std::int32_t PlaylistHandle::Find(const std::string& name) {
  if (!entries_) entries_ = NumberEntries(file_);
  return entries_->Find(name);
}

void PlaylistHandle::ForgetEntries() { entries_.reset(); }

std::int32_t PlaylistHandle::FindOnce(const std::string& name) {
  Rebind();
  try {
    const std::int32_t number = FindEntry(file_, name);
    file_.Close();
    return number;
  } catch (const IoError&) {
    CloseQuietly();  // no file stays open after the lookup
    throw;
  }
}

bool PlaylistHandle::Contains(const std::string& path) {
  try {
    return Find(path) != -1;
  } catch (const IoError&) {
    return false;
  }
}

bool PlaylistHandle::Holds(const std::string& path) {
  if (file_.IsBound()) {
    if (Contains(path)) return true;
    if (BoundToPlaylistInUse()) return false;
  }
  Rebind();
  return Contains(path);
}

}  // namespace plenvox
