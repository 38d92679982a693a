#include "plugin/dll/WicThumbnail.h"

#include <objbase.h>
#include <wincodec.h>

#include <algorithm>
#include <cstring>

#include "picture/ImageSniff.h"

namespace plenvox::dll {

namespace {

// CLSID_WICImagingFactory1, named explicitly: with newer SDK settings the plain name
// means the version-2 factory, which Vista and an unpatched Windows 7 lack.
constexpr GUID kWicImagingFactory1 = {
    0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
constexpr GUID kIidWicImagingFactory = {
    0xec5ec8a9, 0xc395, 0x4314, {0x9c, 0x77, 0x54, 0xd7, 0xa9, 0x35, 0xff, 0x70}};
constexpr GUID kPixelFormat32bppBgra = {
    0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0f}};

// The most bytes of decoded pixels asked of the decoder at once (at least one row).
constexpr UINT kStripeBytes = 1 << 20;

// One COM interface pointer, released when it goes.
template <typename Interface>
class ComRef {
 public:
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() {
    if (pointer_) pointer_->Release();
  }
  Interface** Out() { return &pointer_; }
  Interface* operator->() const { return pointer_; }
  Interface* Get() const { return pointer_; }

 private:
  Interface* pointer_ = nullptr;
};

// COM on the calling thread for the scope of one call: initialised (multithreaded)
// unless the thread has it already in either model; uninitialised at the end only when
// this scope's initialisation counted (S_OK or S_FALSE).
class ComScope {
 public:
  ComScope() : result_(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

HBITMAP Bitmap(const std::vector<std::uint8_t>& pixels, TPixelSize size) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(size.Width);
  info.bmiHeader.biHeight = -static_cast<LONG>(size.Height);  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) ::DeleteObject(bitmap);
    return nullptr;
  }
  std::memcpy(bits, pixels.data(), pixels.size());
  return bitmap;
}

}  // namespace

HBITMAP DecodeThumbnail(const std::vector<std::uint8_t>& bytes, TPixelSize box) {
  if (bytes.empty() || bytes.size() > 0xFFFFFFFFu) return nullptr;
  const ComScope com;
  if (!com.Usable()) return nullptr;
  ComRef<IWICImagingFactory> factory;
  if (FAILED(::CoCreateInstance(kWicImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, kIidWicImagingFactory,
                                reinterpret_cast<void**>(factory.Out())))) {
    return nullptr;
  }
  ComRef<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.Out())) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())))) {
    return nullptr;
  }
  ComRef<IWICBitmapDecoder> decoder;
  ComRef<IWICBitmapFrameDecode> frame;
  if (FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.Out())) ||
      FAILED(decoder->GetFrame(0, frame.Out()))) {
    return nullptr;
  }
  // The decoder's own view of the dimensions, read from the header: checked again before
  // the pixels are decoded, whatever the sniffing of the bytes found.
  UINT width = 0, height = 0;
  if (FAILED(frame->GetSize(&width, &height)) || !WithinImageLimits(width, height)) return nullptr;
  ComRef<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(frame.Get(), kPixelFormat32bppBgra, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom))) {
    return nullptr;
  }
  const TPixelSize from{width, height};
  const TPixelSize to = FitInside(from, box);
  TDownScaler scaler(from, to);
  if (!scaler.Valid()) return nullptr;
  // The pixels come in stripes of rows, so that no more than a stripe of the picture is
  // held here whatever its size.
  const std::size_t stride = std::size_t{width} * 4;
  const UINT stripeRows = std::max<UINT>(1, std::min<UINT>(height, kStripeBytes / static_cast<UINT>(stride)));
  std::vector<std::uint8_t> stripe(stride * stripeRows);
  for (UINT top = 0; top < height; top += stripeRows) {
    const UINT rows = std::min(stripeRows, height - top);
    const WICRect rect{0, static_cast<INT>(top), static_cast<INT>(width), static_cast<INT>(rows)};
    if (FAILED(converter->CopyPixels(&rect, static_cast<UINT>(stride), static_cast<UINT>(stride * rows),
                                     stripe.data()))) {
      return nullptr;
    }
    for (UINT row = 0; row < rows; ++row) scaler.AddRow(stripe.data() + stride * row);
  }
  const std::vector<std::uint8_t> scaled = scaler.Result();
  if (scaled.empty()) return nullptr;
  return Bitmap(scaled, to);
}

}  // namespace plenvox::dll
