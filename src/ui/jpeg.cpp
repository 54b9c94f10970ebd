#include "ui/jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "rtl/format.h"

extern "C" {
#include <jpeglib.h>
// clang-format off
#include <jerror.h>
// clang-format on
}

KST_CLASS_IMPL(TJPEGImage, "jpeg")

const TTypeInfo& DescribeType(TypeTag<TJPEGPixelFormat>) {
  static const TEnumTypeInfo t(u"TJPEGPixelFormat", u"jpeg", {u"jf24Bit", u"jf8Bit"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TJPEGScale>) {
  static const TEnumTypeInfo t(u"TJPEGScale", u"jpeg", {u"jsFullSize", u"jsHalf", u"jsQuarter", u"jsEighth"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TJPEGPerformance>) {
  static const TEnumTypeInfo t(u"TJPEGPerformance", u"jpeg", {u"jpBestQuality", u"jpBestSpeed"});
  return t;
}

namespace {


// libjpeg reports errors by calling back; the callback leaves the library
// for the frame that set the jump buffer, which then raises the error.
struct ErrorTrap {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  int code;
};

void OnError(j_common_ptr info) {
  auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
  trap->code = trap->pub.msg_code;
  std::longjmp(trap->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
  auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
  // Data that ends before the picture does is damage, not a remark.
  if (level < 0 && trap->pub.msg_code == JWRN_JPEG_EOF) {
    trap->code = trap->pub.msg_code;
    std::longjmp(trap->jump, 1);
  }
}

void Fail(int code) {
  throw EInvalidGraphic(Format(u"JPEG error #%d", {code}));
}

int ScaleDenominator(TJPEGScale scale) {
  return 1 << static_cast<int>(scale);
}

// Decodes the header (and the pixels when `rows` is given, as RGB rows).
// Returns false with the library's code on failure.
bool Decode(const TBytes& data, TJPEGScale scale, bool grayscale, Integer& width, Integer& height,
            std::vector<unsigned char>* rgb, int& code) {
  jpeg_decompress_struct info{};
  ErrorTrap trap{};
  info.err = jpeg_std_error(&trap.pub);
  trap.pub.error_exit = OnError;
  trap.pub.emit_message = OnMessage;
  if (setjmp(trap.jump)) {
    code = trap.code;
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  info.mem->max_memory_to_use = 512L * 1024 * 1024;
  jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  info.scale_num = 1;
  info.scale_denom = static_cast<unsigned>(ScaleDenominator(scale));
  info.out_color_space = grayscale ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_calc_output_dimensions(&info);
  if (info.output_width == 0 || info.output_height == 0 || info.output_width > kMaxPictureDimension ||
      info.output_height > kMaxPictureDimension || Int64{info.output_width} * info.output_height > kMaxPicturePixels) {
    code = JERR_IMAGE_TOO_BIG;
    jpeg_destroy_decompress(&info);
    return false;
  }
  width = static_cast<Integer>(info.output_width);
  height = static_cast<Integer>(info.output_height);
  if (rgb) {
    jpeg_start_decompress(&info);
    size_t stride = static_cast<size_t>(info.output_width) * info.output_components;
    rgb->assign(stride * info.output_height, 0);
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = rgb->data() + stride * info.output_scanline;
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
  }
  jpeg_destroy_decompress(&info);
  return true;
}

bool Encode(const std::vector<unsigned char>& rgb, Integer width, Integer height, int quality, bool grayscale,
            TBytes& out, int& code) {
  jpeg_compress_struct info{};
  ErrorTrap trap{};
  info.err = jpeg_std_error(&trap.pub);
  trap.pub.error_exit = OnError;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  if (setjmp(trap.jump)) {
    code = trap.code;
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  if (grayscale) jpeg_set_colorspace(&info, JCS_GRAYSCALE);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  size_t stride = static_cast<size_t>(width) * 3;
  while (info.next_scanline < info.image_height) {
    auto row = const_cast<JSAMPROW>(rgb.data() + stride * info.next_scanline);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  out.assign(buffer, buffer + size);
  std::free(buffer);
  return true;
}

}  // namespace

void TJPEGImage::Describe(TClassBuilder<TJPEGImage>&) {}

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::SetWidth(Integer) {
  throw EInvalidGraphicOperation(u"Cannot change the size of a JPEG image");
}
void TJPEGImage::SetHeight(Integer) {
  throw EInvalidGraphicOperation(u"Cannot change the size of a JPEG image");
}

void TJPEGImage::ReadHeader() {
  int code = 0;
  Integer w = 0, h = 0;
  if (!Decode(FData, FScale, FGrayscale, w, h, nullptr, code)) Fail(code);
  FWidth = w;
  FHeight = h;
}

void TJPEGImage::LoadFromStream(TStream& stream) {
  Int64 remaining = stream.Size() - stream.Position();
  if (remaining < 0) remaining = 0;
  if (remaining > (Int64{256} << 20)) throw EInvalidGraphic(u"Graphic too large");
  TBytes data(static_cast<size_t>(remaining));
  if (remaining) stream.ReadBuffer(data.data(), remaining);
  TBytes old = std::move(FData);
  FData = std::move(data);
  try {
    ReadHeader();
  } catch (...) {
    FData = std::move(old);
    throw;
  }
  FBitmap.reset();
  Changed();
}

void TJPEGImage::DIBNeeded() {
  if (FBitmap || FData.empty()) return;
  std::vector<unsigned char> pixels;
  Integer w = 0, h = 0;
  int code = 0;
  if (!Decode(FData, FScale, FGrayscale, w, h, &pixels, code)) Fail(code);
  auto bitmap = std::make_unique<TBitmap>(w, h, pf24bit);
  int components = FGrayscale ? 1 : 3;
  for (Integer y = 0; y < h; ++y) {
    auto* dst = static_cast<unsigned char*>(bitmap->ScanLine(y));
    const unsigned char* src = pixels.data() + static_cast<size_t>(y) * w * components;
    for (Integer x = 0; x < w; ++x) {
      if (components == 1) {
        dst[x * 3] = dst[x * 3 + 1] = dst[x * 3 + 2] = src[x];
      } else {
        dst[x * 3] = src[x * 3 + 2];
        dst[x * 3 + 1] = src[x * 3 + 1];
        dst[x * 3 + 2] = src[x * 3];
      }
    }
  }
  FWidth = w;
  FHeight = h;
  FBitmap = std::move(bitmap);
}

TBitmap& TJPEGImage::Bitmap() {
  DIBNeeded();
  if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
  return *FBitmap;
}

void TJPEGImage::Draw(TCanvas& canvas, const TRect& r) {
  if (Empty()) return;
  DIBNeeded();
  if (FBitmap) canvas.StretchDraw(r, *FBitmap);
}

void TJPEGImage::Compress() {
  if (!FBitmap || FBitmap->Empty()) return;
  TBitmap source;
  source.Assign(FBitmap.get());
  source.SetPixelFormat(pf24bit);
  Integer w = source.Width(), h = source.Height();
  std::vector<unsigned char> rgb(static_cast<size_t>(w) * h * 3);
  for (Integer y = 0; y < h; ++y) {
    auto* src = static_cast<const unsigned char*>(source.ScanLine(y));
    unsigned char* dst = rgb.data() + static_cast<size_t>(y) * w * 3;
    for (Integer x = 0; x < w; ++x) {
      dst[x * 3] = src[x * 3 + 2];
      dst[x * 3 + 1] = src[x * 3 + 1];
      dst[x * 3 + 2] = src[x * 3];
    }
  }
  TBytes out;
  int code = 0;
  if (!Encode(rgb, w, h, FQuality, FGrayscale, out, code)) Fail(code);
  FData = std::move(out);
}

void TJPEGImage::SaveToStream(TStream& stream) {
  if (FData.empty() && FBitmap) Compress();
  if (!FData.empty()) stream.WriteBuffer(FData.data(), static_cast<Int64>(FData.size()));
}

void TJPEGImage::ReadData(TStream& stream) {
  // Forms store the size first, then the JPEG data.
  Integer size = 0;
  stream.ReadBuffer(&size, 4);
  if (size < 0 || size > stream.Size() - stream.Position()) throw EInvalidGraphic(u"JPEG error #1");
  TBytes data(static_cast<size_t>(size));
  if (size) stream.ReadBuffer(data.data(), size);
  TBytesStream inner(std::move(data));
  LoadFromStream(inner);
}

void TJPEGImage::WriteData(TStream& stream) {
  if (FData.empty() && FBitmap) Compress();
  Integer size = static_cast<Integer>(FData.size());
  stream.WriteBuffer(&size, 4);
  if (size) stream.WriteBuffer(FData.data(), size);
}

void TJPEGImage::Assign(const TPersistent* source) {
  if (source == this) return;
  if (!source) {
    FData.clear();
    FBitmap.reset();
    FWidth = FHeight = 0;
    Changed();
    return;
  }
  if (auto* other = dynamic_cast<const TJPEGImage*>(source)) {
    FData = other->FData;
    FBitmap.reset();
    if (other->FBitmap) {
      FBitmap = std::make_unique<TBitmap>();
      FBitmap->Assign(other->FBitmap.get());
    }
    FWidth = other->FWidth;
    FHeight = other->FHeight;
    FQuality = other->FQuality;
    FGrayscale = other->FGrayscale;
    FScale = other->FScale;
    Changed();
    return;
  }
  if (auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
    FBitmap = std::make_unique<TBitmap>();
    FBitmap->Assign(bitmap);
    FWidth = bitmap->Width();
    FHeight = bitmap->Height();
    FData.clear();
    Compress();
    Changed();
    return;
  }
  TGraphic::Assign(source);
}

void TJPEGImage::SetGrayscale(bool value) {
  if (value == FGrayscale) return;
  FGrayscale = value;
  FBitmap.reset();
  if (!FData.empty()) ReadHeader();
  Changed();
}

void TJPEGImage::SetScale(TJPEGScale value) {
  if (value == FScale) return;
  FScale = value;
  FBitmap.reset();
  if (!FData.empty()) ReadHeader();
  Changed();
}

void RegisterJPEGFormat() {
  for (const char16_t* ext : {u"jpg", u"jpeg", u"jpe", u"jfif"})
    TPicture::RegisterFileFormat(ext, u"JPEG Image File", TJPEGImage::StaticClass());
}
