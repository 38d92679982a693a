// The exported entry points of the items' pictures: FsExtractCustomIcon(W), the icon of an
// entry's state, and FsGetPreviewBitmap(W), the entry's cover in the host's thumbnail
// view. Like Exports.cpp, each only translates the host's C arguments and forwards to
// the front end (plugin/EntryPictures.h), catching everything; the host may call them
// from its background thread.
#include <windows.h>

#include <string_view>
#include <type_traits>

#include "plugin/HostInterface.h"
#include "plugin/dll/ExportForward.h"
#include "plugin/dll/IconResources.h"
#include "plugin/dll/WicThumbnail.h"

namespace {

using plenvox::TEntryIcon;
using plenvox::dll::Forward;
using plenvox::dll::Text;

// FsExtractCustomIcon's flags and results.
constexpr int kIconFlagSmall = 1;
constexpr int kIconFlagBackground = 2;
constexpr int kIconUseDefault = 0;
constexpr int kIconExtracted = 1;
constexpr int kIconDelayed = 3;
// FsGetPreviewBitmap's results.
constexpr int kBitmapNone = 0;
constexpr int kBitmapExtracted = 1;
constexpr int kBitmapCache = 256;

// The host's remote names are at most MAX_PATH units long, the terminating zero included.
constexpr std::size_t kRemoteNameRoom = MAX_PATH;

HMODULE ThisModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

int IconResource(TEntryIcon icon) {
  switch (icon) {
    case TEntryIcon::Playing: return PLENVOX_ICON_PLAYING;
    case TEntryIcon::Missing: return PLENVOX_ICON_MISSING;
    case TEntryIcon::Stream: return PLENVOX_ICON_STREAM;
    default: return 0;
  }
}

// The name written over the host's remote name, so that it caches each icon once.
template <typename Char>
void WriteName(Char* remoteName, std::string_view name) {
  std::size_t i = 0;
  for (; i < name.size() && i + 1 < kRemoteNameRoom; ++i) remoteName[i] = static_cast<Char>(name[i]);
  remoteName[i] = Char{};
}

std::string_view HostName(const std::string& text) { return text; }
std::string_view HostName(const std::u16string& text) { return plenvox::BytesOfWide(text); }

template <typename Char>
int ExtractIconOf(Char* remoteName, int flags, HICON* icon) {
  if (!remoteName || !icon) return kIconUseDefault;
  return Forward(kIconUseDefault, [&](plenvox::Plugin& front) {
    const auto name = Text(remoteName);
    constexpr bool wide = !std::is_same_v<Char, char>;
    const TEntryIcon state = front.Pictures().Icon(HostName(name), wide, (flags & kIconFlagBackground) != 0);
    if (state == TEntryIcon::Delayed) return kIconDelayed;
    const int resource = IconResource(state);
    if (resource == 0) return kIconUseDefault;
    const int size = ::GetSystemMetrics((flags & kIconFlagSmall) ? SM_CXSMICON : SM_CXICON);
    // Shared: the system keeps it as long as the library is loaded; the host must not
    // destroy it.
    const auto handle = static_cast<HICON>(
        ::LoadImageW(ThisModule(), MAKEINTRESOURCEW(resource), IMAGE_ICON, size, size, LR_SHARED));
    if (!handle) return kIconUseDefault;
    WriteName(remoteName, plenvox::IconCacheName(state));
    *icon = handle;
    return kIconExtracted;
  });
}

template <typename Char>
int PreviewBitmapOf(Char* remoteName, int width, int height, HBITMAP* bitmap) {
  if (!remoteName || !bitmap || width <= 0 || height <= 0) return kBitmapNone;
  return Forward(kBitmapNone, [&](plenvox::Plugin& front) {
    const auto name = Text(remoteName);
    constexpr bool wide = !std::is_same_v<Char, char>;
    const auto cover = front.Pictures().Cover(HostName(name), wide);
    if (!cover) return kBitmapNone;
    const plenvox::TPixelSize box{static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
    HBITMAP made = plenvox::dll::DecodeThumbnail(cover->Bytes, box);
    if (!made) return kBitmapNone;
    // The host owns the bitmap from here on, and keeps it in its cache.
    *bitmap = made;
    return kBitmapExtracted | kBitmapCache;
  });
}

}  // namespace

extern "C" {

__declspec(dllexport) int WINAPI FsExtractCustomIcon(char* remoteName, int flags, HICON* icon) {
  return ExtractIconOf(remoteName, flags, icon);
}

__declspec(dllexport) int WINAPI FsExtractCustomIconW(WCHAR* remoteName, int flags, HICON* icon) {
  return ExtractIconOf(remoteName, flags, icon);
}

__declspec(dllexport) int WINAPI FsGetPreviewBitmap(char* remoteName, int width, int height, HBITMAP* bitmap) {
  return PreviewBitmapOf(remoteName, width, height, bitmap);
}

__declspec(dllexport) int WINAPI FsGetPreviewBitmapW(WCHAR* remoteName, int width, int height,
                                                     HBITMAP* bitmap) {
  return PreviewBitmapOf(remoteName, width, height, bitmap);
}

}  // extern "C"
