#include "winbar/win32/thumbnail.h"

#include "ui/jpeg.h"
#include "ui/publish.h"
#include "winbar/graphutils.h"
#include "winbar/win32/buttongroup.h"

KST_CLASS_IMPL(TThumbnail, "Obrix_ThumbnailCtrl")
KST_CLASS_IMPL(TImageThumbnail, "Obrix_ThumbnailCtrl")

const TTypeInfo& DescribeType(TypeTag<bitbuttons::TButtonStyle>) {
  static const TEnumTypeInfo t(u"TButtonStyle", u"Buttons", {u"bsAutoDetect", u"bsWin31", u"bsNew"});
  return t;
}

namespace {

template <class T>
void PublishThumbnail(TClassBuilder<T>& c) {
  c.Property(u"About", &T::About);
  publish::Action(c);
  publish::Anchors(c);
  publish::BiDiProperties(c);
  c.Property(u"BorderColor", &T::BorderColor, &T::SetBorderColor, &types::Color());
  publish::Caption(c);
  c.Property(u"Checkbox", &T::Checkbox, &T::SetCheckbox).Default(0);
  c.Property(u"Checked", &T::Checked, &T::SetChecked).Default(0);
  publish::Color(c);
  publish::Constraints(c);
  publish::Enabled(c);
  c.Property(u"Index", &T::Index, &T::SetIndex).Default(0);
  c.Property(u"Layout", &T::Layout, &T::SetLayout).Default(blGlyphLeft);
  c.Property(u"Margin", &T::Margin, &T::SetMargin).Default(-1);
  c.Property(u"OnMouseColor", &T::OnMouseColor, &T::SetOnMouseColor, &types::Color()).Default(0xC0C0C0);
  publish::ParentShowHint(c);
  c.Property(u"PressColor", &T::PressColor, &T::SetPressColor, &types::Color()).Default(0xF0CAA6);
  c.Property(u"Selected", &T::Selected, &T::SetSelected).Default(0);
  c.Property(u"SelectedColor", &T::SelectedColor, &T::SetSelectedColor, &types::Color()).Default(0xF0CAA6);
  publish::ShowHint(c);
  c.Property(u"Style", &T::Style, &T::SetStyle).Default(bitbuttons::bsAutoDetect);
  publish::TabOrder(c);
  publish::TabStop(c);
  publish::Visible(c);
  c.Property(u"OnChecked", &T::OnChecked);
  c.Property(u"OnClick", &T::OnClick);
  c.Property(u"OnRightClick", &T::OnRightClick);
  publish::FocusEvents(c);
}

}  // namespace

void TThumbnail::Describe(TClassBuilder<TThumbnail>& c) {
  PublishThumbnail(c);
}

TThumbnail::TThumbnail(TComponent* owner) : TButton(owner), FAbout(kWinbarAbout) {
  FControlStyle.Include(csAcceptsControls);
  FControlStyle.Include(csReflector);
  SetShowHint(true);
  SetCursor(crHandPoint);
  SetColor(clBtnFace);
}

TThumbnail::~TThumbnail() = default;

void TThumbnail::CreateParams(TCreateParams& params) {
  TButton::CreateParams(params);
  params.Style = (params.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TThumbnail::SetMargin(Integer value) {
  if (value < -1) return;
  Change(FMargin, value);
}

void TThumbnail::SetCheckbox(bool value) {
  if (value == Checkbox()) return;
  if (!value) {
    delete FCB;
    FCB = nullptr;
    return;
  }
  FCB = new TCheckBox(this);
  FCB->SetBounds(-1, -1, 15, 15);
  FCB->SetColor(Color());
  FCB->SetCursor(Cursor());
  FCB->OnClick = TNotifyEvent([this](TObject*) {
    if (OnChecked && CanFireEvents()) OnChecked(this);
  });
  FCB->SetParent(this);
  FCB->SetVisible(true);
}

void TThumbnail::Notification(TComponent* component, TOperation operation) {
  TButton::Notification(component, operation);
  if (operation == opRemove && component == FCB) FCB = nullptr;
}

bool TThumbnail::Checked() const {
  return FCB && FCB->Checked();
}

void TThumbnail::SetChecked(bool value) {
  if (FCB) FCB->SetChecked(value);
}

void TThumbnail::SetButtonStyle(bool isDefault) {
  if (isDefault == FIsFocused) return;
  FIsFocused = isDefault;
  if (HandleAllocated()) Repaint();
}

void TThumbnail::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_DRAWITEM:
      if (auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam)) {
        TCanvas canvas;
        canvas.SetHandle(item->hDC);
        PaintOn(canvas, (item->itemState & ODS_SELECTED) != 0, (item->itemState & ODS_FOCUS) != 0);
        canvas.SetHandle(nullptr);
      }
      m.Result = TRUE;
      break;
    case CN_MEASUREITEM:
      if (auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)) {
        item->itemWidth = static_cast<UINT>(Width());
        item->itemHeight = static_cast<UINT>(Height());
      }
      m.Result = TRUE;
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TButton::Dispatch(m);
      FOnMouse = m.Msg == CM_MOUSEENTER;
      if (HandleAllocated()) Repaint();
      break;
    case WM_RBUTTONDOWN:
      if (OnRightClick && CanFireEvents()) OnRightClick(this);
      break;
    case WM_LBUTTONDBLCLK:
      // A quick second press is a press like the first.
      m.Msg = WM_LBUTTONDOWN;
      TButton::Dispatch(m);
      break;
    case WM_KEYUP:
      if (m.WParam != VK_SPACE) {
        TButton::Dispatch(m);
        break;
      }
      // Space ticks the box instead of clicking; the button lets go of the
      // press that its key-down began.
      SetChecked(!Checked());
      SendMessageW(Handle(), BM_SETSTATE, FALSE, 0);
      if (GetCapture() == Handle()) ReleaseCapture();
      break;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
      TButton::Dispatch(m);
      Invalidate();
      break;
    default: TButton::Dispatch(m); break;
  }
}

void TThumbnail::PaintOn(TCanvas& canvas, bool pressed, bool focus) {
  const TRect client = ClientRect();
  TRect r = client;
  canvas.Pen().SetWidth(1);
  if (FIsFocused || focus) {
    canvas.Pen().SetColor(0x808080);
    canvas.Brush().SetStyle(bsClear);
  }
  canvas.Brush().SetStyle(bsSolid);
  if (pressed || FSelected) {
    canvas.Pen().SetColor(clBtnShadow);
    canvas.Brush().SetColor(FSelected ? FSelectedColor : FPressColor);
    canvas.Rectangle(r);
    r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
  } else if (FOnMouse) {
    canvas.Pen().SetColor(clBtnShadow);
    canvas.Brush().SetColor(FOnMouseColor);
    canvas.Rectangle(r);
    r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
  } else {
    canvas.Pen().SetColor(FBorderColor);
    canvas.Brush().SetColor(Color());
    canvas.Rectangle(r);
  }
  if (FIsFocused) r = Rect(client.Left + 1, client.Top + 1, client.Right - 1, client.Bottom - 1);
  canvas.Font().Assign(&Font());
  if (pressed) r = Rect(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
  DrawContent(canvas);
  if (FIsFocused && focus) {
    canvas.Pen().SetColor(clWindowFrame);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.DrawFocusRect(Rect(client.Left + 2, client.Top + 2, client.Right - 2, client.Bottom - 2));
  }
  TRect line = Rect(client.Left + 3, client.Top + 3, client.Right - 3, client.Bottom - 3);
  line.Top = line.Bottom - canvas.TextHeight(u"W");
  canvas.Brush().SetStyle(bsClear);
  String caption = Caption();
  canvas.DrawText(caption, line, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP | DT_END_ELLIPSIS | DT_NOPREFIX);
  canvas.Brush().SetStyle(bsSolid);
}

// ---------------------------------------------------------------------------

void TImageThumbnail::Describe(TClassBuilder<TImageThumbnail>& c) {
  c.Property(u"FileName", &TImageThumbnail::FileName, &TImageThumbnail::SetFileName);
  // Made again from the file, so never stored.
  c.Property(u"Glyph", &TImageThumbnail::GetGlyph).Stored(false);
  c.Property(u"ThumbnailSize", &TImageThumbnail::ThumbnailSize, &TImageThumbnail::SetThumbnailSize,
             &types::Byte());
}

TImageThumbnail::TImageThumbnail(TComponent* owner) : TThumbnail(owner), FGlyph(std::make_unique<TBitmap>()) {
  SetThumbnailSize(100);
}

TImageThumbnail::~TImageThumbnail() = default;

void TImageThumbnail::SetThumbnailSize(Integer value) {
  FThumbSize = std::clamp<Integer>(value, 0, 255);
  SetBounds(Left(), Top(), FThumbSize + 4, FThumbSize + 22);
}

void TImageThumbnail::SetFileName(const String& value) {
  FFilename = value;
  // While a form is read, the size may still follow: the picture waits for Loaded.
  if (ComponentState().Contains(csLoading)) return;
  LoadPicture();
}

void TImageThumbnail::Loaded() {
  TThumbnail::Loaded();
  if (!FFilename.empty()) LoadPicture();
}

void TImageThumbnail::LoadPicture() {
  FGlyph = std::make_unique<TBitmap>();
  FIW = FIH = FICD = 0;
  FLoadError.clear();
  if (!FFilename.empty()) {
    try {
      // The loader reads the header at once and refuses sizes no picture
      // should have before any pixel is allocated; the pixels are decoded
      // at the smallest scale that still fills the square.
      TJPEGImage jpeg;
      jpeg.LoadFromFile(FFilename);
      const Integer width = jpeg.Width(), height = jpeg.Height();
      const TPoint fit = ThumbnailFit(width, height, FThumbSize);
      jpeg.SetScale(static_cast<TJPEGScale>(ThumbnailDecodeScale(width, height, fit)));
      jpeg.DIBNeeded();
      auto glyph = std::make_unique<TBitmap>(fit.X, fit.Y, pf24bit);
      glyph->Canvas().StretchDraw(Rect(0, 0, fit.X, fit.Y), jpeg);
      FGlyph = std::move(glyph);
      FIW = width;
      FIH = height;
      FICD = jpeg.PixelFormat() == jf24Bit ? 24 : 8;
    } catch (const Exception& e) {
      FLoadError = e.Message();
    }
  }
  Invalidate();
}

void TImageThumbnail::DrawContent(TCanvas& canvas) {
  if (FGlyph->Empty()) return;
  const TRect client = ClientRect();
  canvas.Draw((client.Right - FGlyph->Width()) / 2, (client.Bottom - (FGlyph->Height() + 18)) / 2, *FGlyph);
}
