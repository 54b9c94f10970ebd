// The form wallpaper: fills its area (by default the form's whole client
// area) with a picture, centred or tiled with every second row or column
// shifted, over a background colour, optionally with one colour see-through.
#pragma once

#include <memory>

#include "ui/controls.h"
#include "winbar/graphutils.h"

const TTypeInfo& DescribeType(TypeTag<TOffsetMode>);

class TFormWallpaper : public TGraphicControl {
  KST_CLASS(TFormWallpaper, TGraphicControl)
 public:
  explicit TFormWallpaper(TComponent* owner);
  ~TFormWallpaper() override;

  const String& About() const { return FAbout; }
  TPicture* Image() const { return FImage.get(); }
  void SetImage(const TPicture* value);
  Integer Offset() const { return FOffset; }
  void SetOffset(Integer value);
  TOffsetMode OffsetMode() const { return FOffsetMode; }
  void SetOffsetMode(TOffsetMode value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  TColor WallColor() const { return FColor; }
  void SetWallColor(TColor value);
  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor value);
  // Paints the wallpaper on a canvas at (0, 0).
  void PaintOn(TCanvas& canvas);

 protected:
  void Paint() override;
  void Loaded() override;

 private:
  void PictureChanged(TObject*);
  void ClampOffset();
  // What lies behind a see-through wallpaper.
  TColor BackgroundColor() const;

  String FAbout;
  std::unique_ptr<TPicture> FImage;
  Integer FOffset = 0;
  TOffsetMode FOffsetMode = omCenter;
  bool FTransparent = false;
  TColor FColor;
  TColor FTransparentColor = clNone;
};
