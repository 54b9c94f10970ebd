#include "ui/pngimage.h"

#include <wincodec.h>

#include <cstring>
#include <utility>

#include "rtl/streams.h"

KST_CLASS_IMPL(TPngImage, "pngimage")

void TPngImage::Describe(TClassBuilder<TPngImage>&) {}

namespace {

constexpr Byte kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
// Far beyond any picture a form holds; a hostile header asks no more memory.
constexpr UINT kLargestSide = 16384;
constexpr UINT64 kLargestPixels = 64ull * 1024 * 1024;

[[noreturn]] void Invalid() {
  throw EInvalidGraphic(u"PNG image is not valid");
}

// Releases a COM interface when it goes.
template <typename T>
class TComRef {
 public:
  TComRef() = default;
  TComRef(const TComRef&) = delete;
  TComRef& operator=(const TComRef&) = delete;
  ~TComRef() {
    if (FPointer) FPointer->Release();
  }
  T** operator&() { return &FPointer; }
  T* operator->() const { return FPointer; }
  T* Get() const { return FPointer; }

 private:
  T* FPointer = nullptr;
};

// The imaging component needs COM on this thread; the program has it, a
// tool or a test may not.
class TComOnThread {
 public:
  TComOnThread() : FStarted(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~TComOnThread() {
    if (FStarted) CoUninitialize();
  }
  TComOnThread(const TComOnThread&) = delete;
  TComOnThread& operator=(const TComOnThread&) = delete;

 private:
  bool FStarted;
};

std::unique_ptr<TBitmap> Decode(const TBytes& data) {
  TComOnThread com;
  TComRef<IWICImagingFactory> factory;
  TComRef<IWICStream> stream;
  TComRef<IWICBitmapDecoder> decoder;
  TComRef<IWICBitmapFrameDecode> frame;
  TComRef<IWICFormatConverter> converter;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(&factory))))
    throw EInvalidGraphic(u"PNG images cannot be shown on this system");
  if (FAILED(factory->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data.data()), static_cast<DWORD>(data.size()))) ||
      FAILED(factory->CreateDecoderFromStream(stream.Get(), &GUID_ContainerFormatPng, WICDecodeMetadataCacheOnDemand,
                                              &decoder)) ||
      FAILED(decoder->GetFrame(0, &frame)) || FAILED(factory->CreateFormatConverter(&converter)) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)))
    Invalid();
  UINT width = 0, height = 0;
  if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > kLargestSide ||
      height > kLargestSide || UINT64{width} * height > kLargestPixels)
    Invalid();
  const UINT stride = width * 4;
  std::vector<Byte> pixels(static_cast<size_t>(stride) * height);
  if (FAILED(converter->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size()), pixels.data()))) Invalid();
  auto bitmap = std::make_unique<TBitmap>(static_cast<Integer>(width), static_cast<Integer>(height), pf32bit);
  for (UINT row = 0; row < height; ++row)
    std::memcpy(bitmap->ScanLine(static_cast<Integer>(row)), pixels.data() + static_cast<size_t>(row) * stride, stride);
  return bitmap;
}

}  // namespace

TPngImage::TPngImage() = default;
TPngImage::~TPngImage() = default;

void TPngImage::Draw(TCanvas& canvas, const TRect& r) {
  if (!FBitmap) return;
  TBitmap& bitmap = *FBitmap;
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(canvas.Handle(), r.Left, r.Top, r.Width(), r.Height(), bitmap.Canvas().Handle(), 0, 0, FWidth, FHeight,
             blend);
}

void TPngImage::LoadFromStream(TStream& stream) {
  const Int64 rest = stream.Size() - stream.Position();
  if (rest < static_cast<Int64>(sizeof kSignature)) Invalid();
  TBytes data(static_cast<size_t>(rest));
  stream.ReadBuffer(data.data(), static_cast<Integer>(rest));
  if (std::memcmp(data.data(), kSignature, sizeof kSignature) != 0) Invalid();
  std::unique_ptr<TBitmap> bitmap = Decode(data);
  FWidth = bitmap->Width();
  FHeight = bitmap->Height();
  FBitmap = std::move(bitmap);
  FData = std::move(data);
  Changed();
}

void TPngImage::SaveToStream(TStream& stream) {
  if (!FData.empty()) stream.WriteBuffer(FData.data(), static_cast<Integer>(FData.size()));
}

void TPngImage::Assign(const TPersistent* source) {
  if (source == this) return;
  if (auto* other = dynamic_cast<const TPngImage*>(source)) {
    FData = other->FData;
    FWidth = other->FWidth;
    FHeight = other->FHeight;
    FBitmap.reset();
    if (other->FBitmap) {
      FBitmap = std::make_unique<TBitmap>();
      FBitmap->Assign(other->FBitmap.get());
    }
    Changed();
    return;
  }
  TGraphic::Assign(source);
}

void RegisterPNGFormat() {
  TPicture::RegisterFileFormat(u"png", u"Portable Network Graphics", TPngImage::StaticClass());
}
