// JPEG pictures: kept as their compressed data, decoded into a bitmap when
// drawn. A damaged picture raises EInvalidGraphic, it never crashes.
#pragma once

#include <memory>

#include "ui/graphics.h"

enum TJPEGPixelFormat { jf24Bit, jf8Bit };
enum TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };
enum TJPEGPerformance { jpBestQuality, jpBestSpeed };

const TTypeInfo& DescribeType(TypeTag<TJPEGPixelFormat>);
const TTypeInfo& DescribeType(TypeTag<TJPEGScale>);
const TTypeInfo& DescribeType(TypeTag<TJPEGPerformance>);

class TJPEGImage : public TGraphic {
  KST_CLASS(TJPEGImage, TGraphic)
 public:
  TJPEGImage();
  ~TJPEGImage() override;

  void Draw(TCanvas& canvas, const TRect& r) override;
  bool Empty() const override { return FData.empty() && !FBitmap; }
  Integer Width() const override { return FWidth; }
  Integer Height() const override { return FHeight; }
  void SetWidth(Integer) override;
  void SetHeight(Integer) override;
  // Reads the rest of the stream; the header is checked at once, the pixels
  // when first needed (DIBNeeded).
  void LoadFromStream(TStream& stream) override;
  // The compressed data as read, or the bitmap compressed anew.
  void SaveToStream(TStream& stream) override;
  void Assign(const TPersistent* source) override;
  void ReadData(TStream& stream) override;
  void WriteData(TStream& stream) override;

  // Decodes the picture now (EInvalidGraphic "JPEG error #%d" when damaged).
  void DIBNeeded();
  // The decoded picture.
  TBitmap& Bitmap();
  // Compresses the bitmap into new data at CompressionQuality.
  void Compress();
  Integer CompressionQuality() const { return FQuality; }
  void SetCompressionQuality(Integer value) { FQuality = std::clamp(value, 1, 100); }
  bool Grayscale() const { return FGrayscale; }
  void SetGrayscale(bool value);
  TJPEGScale Scale() const { return FScale; }
  void SetScale(TJPEGScale value);
  TJPEGPixelFormat PixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TJPEGPixelFormat value) { FPixelFormat = value; }
  TJPEGPerformance Performance() const { return FPerformance; }
  void SetPerformance(TJPEGPerformance value) { FPerformance = value; }

 private:
  void ReadHeader();
  TBytes FData;
  std::unique_ptr<TBitmap> FBitmap;
  Integer FWidth = 0;
  Integer FHeight = 0;
  Integer FQuality = 90;
  bool FGrayscale = false;
  TJPEGScale FScale = jsFullSize;
  TJPEGPixelFormat FPixelFormat = jf24Bit;
  TJPEGPerformance FPerformance = jpBestQuality;
};

// Makes JPEG pictures known to TPicture (the extensions jpg, jpeg, jpe, jfif).
void RegisterJPEGFormat();
