#include "winbar/win32/formwallpaper.h"

#include "ui/forms.h"
#include "ui/publish.h"
#include "winbar/win32/buttongroup.h"

KST_CLASS_IMPL(TFormWallpaper, "Obrix_FormWallpaper")

const TTypeInfo& DescribeType(TypeTag<TOffsetMode>) {
  static const TEnumTypeInfo t(u"TOffsetMode", u"Obrix_FormWallpaper", {u"omCenter", u"omRows", u"omColumns"});
  return t;
}

void TFormWallpaper::Describe(TClassBuilder<TFormWallpaper>& c) {
  c.Property(u"About", &TFormWallpaper::About);
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"Color", &TFormWallpaper::WallColor, &TFormWallpaper::SetWallColor, &types::Color());
  publish::Constraints(c);
  c.Property(u"Image", &TFormWallpaper::Image, &TFormWallpaper::SetImage);
  c.Property(u"Offset", &TFormWallpaper::Offset, &TFormWallpaper::SetOffset).Default(0);
  c.Property(u"OffsetMode", &TFormWallpaper::OffsetMode, &TFormWallpaper::SetOffsetMode).Default(omCenter);
  publish::PopupMenu(c);
  c.Property(u"Transparent", &TFormWallpaper::Transparent, &TFormWallpaper::SetTransparent);
  c.Property(u"TransparentColor", &TFormWallpaper::TransparentColor, &TFormWallpaper::SetTransparentColor,
             &types::Color());
  publish::Visible(c);
  publish::MouseEvents(c);
}

TFormWallpaper::TFormWallpaper(TComponent* owner)
    : TGraphicControl(owner), FAbout(kWinbarAbout), FImage(std::make_unique<TPicture>()) {
  // Without an owning control (a wallpaper made alone) the background is the face colour.
  auto* ownerControl = dynamic_cast<TControl*>(owner);
  FColor = ownerControl ? ownerControl->Color() : clBtnFace;
  FImage->OnChange = TNotifyEvent(this, &TFormWallpaper::PictureChanged);
  SetAlign(alClient);
}

TFormWallpaper::~TFormWallpaper() {
  FImage->OnChange = nullptr;
}

void TFormWallpaper::SetImage(const TPicture* value) {
  FImage->Assign(value);
}

void TFormWallpaper::PictureChanged(TObject*) {
  ClampOffset();
  auto* form = dynamic_cast<TCustomForm*>(Parent());
  if (form && form->FormStyle() == fsMDIForm) form->Realign();
  Invalidate();
}

void TFormWallpaper::ClampOffset() {
  FOffset = ClampWallpaperOffset(FOffset, FOffsetMode, FImage->Width(), FImage->Height());
}

void TFormWallpaper::Loaded() {
  TGraphicControl::Loaded();
  ClampOffset();
}

void TFormWallpaper::SetOffset(Integer value) {
  FOffset = value;
  if (!ComponentState().Contains(csLoading)) ClampOffset();
  Invalidate();
}

void TFormWallpaper::SetOffsetMode(TOffsetMode value) {
  FOffsetMode = value;
  if (!ComponentState().Contains(csLoading)) ClampOffset();
  Invalidate();
}

void TFormWallpaper::SetTransparent(bool value) {
  FTransparent = value;
  Invalidate();
}

void TFormWallpaper::SetWallColor(TColor value) {
  FColor = value;
  Invalidate();
}

void TFormWallpaper::SetTransparentColor(TColor value) {
  FTransparentColor = value;
  Invalidate();
}

TColor TFormWallpaper::BackgroundColor() const {
  auto* ownerControl = dynamic_cast<TControl*>(Owner());
  return ownerControl ? ownerControl->Color() : FColor;
}

void TFormWallpaper::Paint() {
  PaintOn(Canvas());
}

void TFormWallpaper::PaintOn(TCanvas& targetCanvas) {
  TGraphic* picture = FImage->Graphic();
  Integer pw = FImage->Width(), ph = FImage->Height();
  Integer w = Width(), h = Height();
  if (!picture || pw <= 0 || ph <= 0 || w <= 0 || h <= 0) return;

  TBitmap surface(w, h, pf32bit);
  TCanvas& canvas = surface.Canvas();
  TColor key = clNone;
  if (FTransparent) {
    key = FTransparentColor;
    if (key == clNone) {
      canvas.Draw(0, 0, *picture);
      key = canvas.Pixels(0, 0);
    }
  }
  canvas.Brush().SetColor(FTransparent ? BackgroundColor() : FColor);
  canvas.FillRect(Rect(0, 0, w, h));

  if (FOffsetMode == omCenter) {
    canvas.Draw((w - pw) / 2, (h - ph) / 2, *picture);
  } else {
    // One period of the pattern (two rows or two columns, the second
    // shifted) repeated by a pattern brush: as cheap for a one-pixel tile
    // as for a large one.
    bool rows = FOffsetMode == omRows;
    TBitmap pattern(rows ? pw : 2 * pw, rows ? 2 * ph : ph, pf32bit);
    TCanvas& cell = pattern.Canvas();
    cell.Brush().SetColor(FTransparent ? BackgroundColor() : FColor);
    cell.FillRect(Rect(0, 0, pattern.Width(), pattern.Height()));
    cell.Draw(0, 0, *picture);
    if (rows) {
      Integer dx = FOffset - pw;
      cell.Draw(dx, ph, *picture);
      cell.Draw(dx + pw, ph, *picture);
    } else {
      Integer dy = FOffset - ph;
      cell.Draw(pw, dy, *picture);
      cell.Draw(pw, dy + ph, *picture);
    }
    HBRUSH brush = CreatePatternBrush(pattern.Handle());
    HDC dc = canvas.Handle();
    SetBrushOrgEx(dc, 0, 0, nullptr);
    RECT all{0, 0, w, h};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
  }

  HDC target = targetCanvas.Handle();
  if (FTransparent) {
    TransparentBlt(target, 0, 0, w, h, canvas.Handle(), 0, 0, w, h, static_cast<UINT>(ColorToRGB(key)));
  } else {
    BitBlt(target, 0, 0, w, h, canvas.Handle(), 0, 0, SRCCOPY);
  }
}
