// Portable Network Graphics pictures, as forms of newer IDEs hold them. The
// file as read is kept and written back unchanged; the system's imaging
// component decodes it for drawing, transparency included.
#pragma once

#include <memory>

#include "ui/graphics.h"

class TPngImage : public TGraphic {
  KST_CLASS(TPngImage, TGraphic)
 public:
  TPngImage();
  ~TPngImage() override;

  void Draw(TCanvas& canvas, const TRect& r) override;
  bool Empty() const override { return FData.empty(); }
  Integer Width() const override { return FWidth; }
  Integer Height() const override { return FHeight; }
  // The size is the file's own.
  void SetWidth(Integer) override {}
  void SetHeight(Integer) override {}
  // Reads the rest of the stream and decodes it at once, so that a damaged
  // file is reported where it is read (EInvalidGraphic).
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;
  void Assign(const TPersistent* source) override;

  // The decoded picture: 32 bits per pixel, alpha premultiplied.
  const TBitmap* Bitmap() const { return FBitmap.get(); }

 private:
  TBytes FData;
  std::unique_ptr<TBitmap> FBitmap;
  Integer FWidth = 0;
  Integer FHeight = 0;
};

// Adds "png" to the picture file formats.
void RegisterPNGFormat();
