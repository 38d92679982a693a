// The script's commands for the items' pictures: FsExtractCustomIcon(W), which prints the
// icon that came back, and FsGetPreviewBitmap(W), which writes the returned bitmap to a
// file and prints its size and a checksum, also from several threads at once. README.md
// beside this file has their lines. And COM on the host's thread: what a host has before
// the call, and what the plug-in leaves of it.
#include <windows.h>

#include <objbase.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "EscapedText.h"
#include "Interpreter.h"
#include "Output.h"
#include "ScriptLine.h"

namespace plenvox::e2e {

namespace {

constexpr int kIconExtractedDestroy = 2;
constexpr int kBitmapExtracted = 1;
constexpr int kBitmapResultMask = 255;
constexpr int kThreadsMax = 16;

// FNV-1a over bytes, as 8 hex digits.
std::string Checksum(const std::vector<std::uint8_t>& bytes) {
  std::uint32_t hash = 2166136261u;
  for (const std::uint8_t byte : bytes) hash = (hash ^ byte) * 16777619u;
  return Hex(hash, 8);
}

// A bitmap's size and its pixels as red, green, blue bytes, rows top-down; empty when
// the handle is no bitmap.
struct Pixels {
  int Width = 0;
  int Height = 0;
  int BitsPerPixel = 0;
  std::vector<std::uint8_t> Rgb;
};

Pixels PixelsOf(HBITMAP bitmap) {
  Pixels pixels;
  BITMAP info{};
  if (!bitmap || ::GetObjectW(bitmap, sizeof info, &info) != sizeof info) return pixels;
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof request.bmiHeader;
  request.bmiHeader.biWidth = info.bmWidth;
  request.bmiHeader.biHeight = -info.bmHeight;
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint8_t> bgra(static_cast<std::size_t>(info.bmWidth) * info.bmHeight * 4);
  HDC screen = ::GetDC(nullptr);
  const int rows = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), bgra.data(), &request,
                               DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  if (rows != info.bmHeight) return pixels;
  pixels.Width = info.bmWidth;
  pixels.Height = info.bmHeight;
  pixels.BitsPerPixel = info.bmBitsPixel;
  for (std::size_t at = 0; at + 3 < bgra.size(); at += 4) {
    pixels.Rgb.insert(pixels.Rgb.end(), {bgra[at + 2], bgra[at + 1], bgra[at]});
  }
  return pixels;
}

// A binary PPM (P6) of the pixels, which ImageMagick and a few lines of Python read.
bool WritePpm(const std::string& path, const Pixels& pixels) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  std::fprintf(file, "P6\n%d %d\n255\n", pixels.Width, pixels.Height);
  const bool written = std::fwrite(pixels.Rgb.data(), 1, pixels.Rgb.size(), file) == pixels.Rgb.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

template <typename Form>
bool Interpreter::Icon(const Words& w) {
  const std::string entry = EntryPoint<Form>("FsExtractCustomIcon");
  const std::string kind = LineKind<Form>("icon");
  if (!Require(entry, kind)) return true;
  int flags = 0;
  if (w.size() > 2 && !ScriptNumber(w[2], flags)) return Fail(kind + " REMOTE [FLAGS]");
  auto remote = Form::Text(w[1]);
  HICON icon = nullptr;
  const int result = Guarded([&] { return plugin_.Call<int>(entry, remote.data(), flags, &icon); });
  std::vector<std::string> line = {kind, std::to_string(result), Form::Printed(remote.data())};
  ICONINFO info{};
  if (icon && ::GetIconInfo(icon, &info)) {
    const Pixels colour = PixelsOf(info.hbmColor);
    line.push_back(std::to_string(colour.Width) + "x" + std::to_string(colour.Height));
    line.push_back(Checksum(colour.Rgb));
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
  }
  if (icon && result == kIconExtractedDestroy) ::DestroyIcon(icon);
  PrintLine(line);
  return true;
}

template <typename Form>
bool Interpreter::Preview(const Words& w) {
  const std::string entry = EntryPoint<Form>("FsGetPreviewBitmap");
  const std::string kind = LineKind<Form>("preview");
  if (!Require(entry, kind)) return true;
  int width = 0, height = 0;
  if (!ScriptNumber(w[2], width) || !ScriptNumber(w[3], height)) return Fail(kind + " REMOTE WIDTH HEIGHT [PPMFILE]");
  auto remote = Form::Text(w[1]);
  HBITMAP bitmap = nullptr;
  const int result = Guarded([&] { return plugin_.Call<int>(entry, remote.data(), width, height, &bitmap); });
  std::vector<std::string> line = {kind, std::to_string(result)};
  if ((result & kBitmapResultMask) == kBitmapExtracted) {
    const Pixels pixels = PixelsOf(bitmap);
    line.insert(line.end(), {std::to_string(pixels.Width), std::to_string(pixels.Height),
                             std::to_string(pixels.BitsPerPixel), Checksum(pixels.Rgb)});
    if (w.size() > 4) line.push_back(WritePpm(w[4], pixels) ? "written" : "not-written");
  }
  // The bitmap is the host's: it deletes it when done.
  if (bitmap) ::DeleteObject(bitmap);
  PrintLine(line);
  return true;
}

template <typename Form>
bool Interpreter::PreviewThreads(const Words& w) {
  const std::string entry = EntryPoint<Form>("FsGetPreviewBitmap");
  const std::string kind = LineKind<Form>("previewthreads");
  if (!Require(entry, kind)) return true;
  int count = 0, width = 0, height = 0;
  if (!ScriptNumber(w[1], count) || count < 1 || count > kThreadsMax || !ScriptNumber(w[3], width) ||
      !ScriptNumber(w[4], height)) {
    return Fail(kind + " COUNT REMOTE WIDTH HEIGHT");
  }
  // Every thread starts its call together with the others and keeps what came back.
  struct Outcome {
    int Result = 0;
    std::string Text;
  };
  std::vector<Outcome> outcomes(static_cast<std::size_t>(count));
  HANDLE start = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::vector<std::thread> threads;
  for (Outcome& outcome : outcomes) {
    threads.emplace_back([&, start] {
      auto remote = Form::Text(w[2]);
      HBITMAP bitmap = nullptr;
      ::WaitForSingleObject(start, INFINITE);
      outcome.Result = plugin_.Call<int>(entry, remote.data(), width, height, &bitmap);
      const Pixels pixels = PixelsOf(bitmap);
      outcome.Text = std::to_string(pixels.Width) + "x" + std::to_string(pixels.Height) + ":" + Checksum(pixels.Rgb);
      if (bitmap) ::DeleteObject(bitmap);
    });
  }
  ::SetEvent(start);
  for (std::thread& thread : threads) thread.join();
  ::CloseHandle(start);
  std::vector<std::string> line = {kind, std::to_string(count)};
  for (const Outcome& outcome : outcomes) line.push_back(std::to_string(outcome.Result) + ":" + outcome.Text);
  PrintLine(line);
  return true;
}

// COM on the host's thread, as a host that uses it has it before it calls the plug-in.
bool Interpreter::Com(const Words& w) {
  if (w[1] != "sta" && w[1] != "mta") return Fail("com sta|mta");
  const HRESULT result =
      ::CoInitializeEx(nullptr, w[1] == "sta" ? COINIT_APARTMENTTHREADED : COINIT_MULTITHREADED);
  PrintLine({"com", w[1], Hex(static_cast<unsigned long>(result), 8)});
  return true;
}

// What COM the host's thread has now: a probe in the single-threaded model answers
// S_OK (none; undone), S_FALSE (single-threaded; the probe's count undone) or
// RPC_E_CHANGED_MODE (multithreaded).
bool Interpreter::ComState(const Words&) {
  const HRESULT probe = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (SUCCEEDED(probe)) ::CoUninitialize();
  const char* state = probe == S_OK ? "none" : probe == S_FALSE ? "sta" : probe == RPC_E_CHANGED_MODE ? "mta" : "error";
  PrintLine({"comstate", state});
  return true;
}

template bool Interpreter::Icon<AnsiForm>(const Words&);
template bool Interpreter::Icon<WideForm>(const Words&);
template bool Interpreter::Preview<AnsiForm>(const Words&);
template bool Interpreter::Preview<WideForm>(const Words&);
template bool Interpreter::PreviewThreads<AnsiForm>(const Words&);
template bool Interpreter::PreviewThreads<WideForm>(const Words&);

}  // namespace plenvox::e2e
