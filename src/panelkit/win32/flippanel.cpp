#include "panelkit/win32/flippanel.h"

#include <algorithm>
#include <functional>

#include "classes/filer.h"
#include "classes/identmaps.h"
#include "classes/reader.h"
#include "panelkit/win32/shareddraw.h"
#include "panelkit/win32/themes.h"
#include "ui/publish.h"
#include "ui/stdctrls.h"

KST_CLASS_IMPL(TPxFlipContainer, "PxCollection")
KST_CLASS_IMPL(TPxFlipPanel, "PxCollection")

const TTypeInfo& DescribeType(TypeTag<TFlipBackgroundStyle>) {
  static const TEnumTypeInfo t(u"TFlipBackgroundStyle", u"PxCollection",
                               {u"bsSolid", u"bsVertGradient", u"bsTransparent"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TFlipKind>) {
  static const TEnumTypeInfo t(u"TFlipKind", u"PxCollection", {u"fkNone", u"fkButton", u"fkHeaderAndButton"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<THeaderStyle>) {
  static const TEnumTypeInfo t(u"THeaderStyle", u"PxCollection",
                               {u"hsAuto", u"hsFadeAway", u"hsGradient", u"hsInverseGradient", u"hsOffice2007",
                                u"hsSolid", u"hsTopGradient", u"hsTransparent", u"hsVista", u"hsWindowsLive"});
  return t;
}
namespace {

constexpr Integer kButtonSize = 9;

// Takes the border's width off every side of the client area being
// computed (WM_NCCALCSIZE, after the default handling).
void ShrinkClientByBorder(TMessage& m, Integer width) {
  auto* r = reinterpret_cast<RECT*>(m.LParam);
  InflateRect(r, -width, -width);
  if (r->right < r->left) r->right = r->left;
  if (r->bottom < r->top) r->bottom = r->top;
}

// Has the system ask the window for its frame again.
void RecalculateFrame(TWinControl& control) {
  if (control.HandleAllocated())
    SetWindowPos(control.Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Draws into the whole window (frame included), the rectangle at (0, 0).
void PaintWindowFrame(TWinControl& control, const std::function<void(HDC, RECT)>& paint) {
  if (!control.HandleAllocated()) return;
  HDC dc = GetWindowDC(control.Handle());
  if (!dc) return;
  RECT window;
  GetWindowRect(control.Handle(), &window);
  paint(dc, RECT{0, 0, window.right - window.left, window.bottom - window.top});
  ReleaseDC(control.Handle(), dc);
}

}  // namespace

// ---------------------------------------------------------------------------
// Container

void TPxFlipContainer::Describe(TClassBuilder<TPxFlipContainer>& c) {
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"AutoScroll", &TPxFlipContainer::AutoScroll, &TPxFlipContainer::SetAutoScroll).Default(1);
  c.Property(u"BorderStyle", &TPxFlipContainer::BorderStyle, &TPxFlipContainer::SetBorderStyle, &BorderStyleType())
      .Default(bsSingle);
  c.Property(u"BorderWidth", &TPxFlipContainer::BorderWidth, &TPxFlipContainer::SetBorderWidth).Default(2);
  c.Property(u"Color", &TControl::Color, &TControl::SetColor, &types::Color()).Default(clWindow);
  publish::Constraints(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"HorzScrollBar", &TPxFlipContainer::GetHorzScrollBar);
  c.Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(0);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  publish::TabOrder(c);
  publish::TabStop(c);
  c.Property(u"VertScrollBar", &TPxFlipContainer::GetVertScrollBar);
  publish::Visible(c);
  publish::MouseEvents(c);
  publish::WheelEvents(c);
  publish::ResizeEvents(c);
}

TPxFlipContainer::TPxFlipContainer(TComponent* owner) : TScrollingWinControl(owner) {
  FControlStyle.Include(csAcceptsControls);
  FControlStyle.Include(csSetCaption);
  FControlStyle.Include(csReplicatable);
  SetAutoScroll(true);
  SetParentColor(false);
  SetColor(clWindow);
  SetBounds(Left(), Top(), 200, 300);
}

void TPxFlipContainer::SetBorderStyle(TFormBorderStyle value) {
  FBorderStyle = value == bsNone ? bsNone : bsSingle;
  SetBorderWidth(FBorderStyle == bsNone ? 0 : 2);
}

void TPxFlipContainer::SetBorderWidth(Integer value) {
  FBorderWidth = std::clamp(value, 0, 100);
  RecalculateFrame(*this);
}

void TPxFlipContainer::CollapseAll() {
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* panel = dynamic_cast<TPxFlipPanel*>(Controls(i))) panel->SetExpanded(false);
}

void TPxFlipContainer::ExpandAll() {
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* panel = dynamic_cast<TPxFlipPanel*>(Controls(i))) {
      panel->SetExpanded(true);
      panel->ExpandAll();
    }
}

bool TPxFlipContainer::DoMouseWheel(TShiftState shift, Integer wheelDelta, TPoint mousePos) {
  TScrollingWinControl::DoMouseWheel(shift, wheelDelta, mousePos);
  TControlScrollBar& bar = VertScrollBar();
  bar.SetPosition(bar.Position() + (wheelDelta < 0 ? 10 : -10));
  return false;
}

void TPxFlipContainer::PaintBorder() {
  if (FBorderStyle != bsSingle) return;
  PaintWindowFrame(*this, [this](HDC dc, RECT outer) {
    if (IsThemed()) {
      ExcludeClipRect(dc, outer.left + 2, outer.top + 2, outer.right - 2, outer.bottom - 2);
      DrawThemeElement(Handle(), dc, Rect(outer.left, outer.top, outer.right, outer.bottom), u"listview", 1, 0);
      return;
    }
    HBRUSH grey = CreateSolidBrush(ResolveColor(clGrayText));
    HBRUSH face = CreateSolidBrush(ResolveColor(clBtnFace));
    FrameRect(dc, &outer, grey);
    InflateRect(&outer, -1, -1);
    FrameRect(dc, &outer, face);
    DeleteObject(grey);
    DeleteObject(face);
  });
}

void TPxFlipContainer::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_NCCALCSIZE:
      TScrollingWinControl::Dispatch(m);
      ShrinkClientByBorder(m, FBorderWidth);
      return;
    case WM_NCPAINT:
      TScrollingWinControl::Dispatch(m);
      PaintBorder();
      return;
    default: break;
  }
  TScrollingWinControl::Dispatch(m);
}

// ---------------------------------------------------------------------------
// Flip panel

void TPxFlipPanel::Describe(TClassBuilder<TPxFlipPanel>& c) {
  c.Property(u"AdaptiveColors", &TPxFlipPanel::AdaptiveColors, &TPxFlipPanel::SetAdaptiveColors).Default(1);
  publish::Align(c);
  c.Property(u"AllowFlip", &TPxFlipPanel::AllowFlip, &TPxFlipPanel::SetAllowFlip).Default(1);
  publish::Anchors(c);
  c.Property(u"AutoCollapse", &TPxFlipPanel::AutoCollapse, &TPxFlipPanel::SetAutoCollapse).Default(0);
  c.Property(u"BackgroundColor", &TPxFlipPanel::BackgroundColor, &TPxFlipPanel::SetBackgroundColor, &types::Color())
      .Default(clBtnFace);
  c.Property(u"BackgroundStyle", &TPxFlipPanel::BackgroundStyle, &TPxFlipPanel::SetBackgroundStyle).Default(fbSolid);
  c.Property(u"BorderColor", &TPxFlipPanel::BorderColor, &TPxFlipPanel::SetBorderColor, &types::Color()).Default(0);
  c.Property(u"BorderWidth", &TPxFlipPanel::BorderWidth, &TPxFlipPanel::SetBorderWidth).Default(0);
  c.Property(u"Caption", &TPxFlipPanel::PanelCaption, &TPxFlipPanel::SetPanelCaption);
  c.Property(u"CaptionCollapsed", &TPxFlipPanel::CaptionCollapsed, &TPxFlipPanel::SetCaptionCollapsed);
  c.Property(u"CollapseGlyph", &TPxFlipPanel::GetCollapseGlyph, &TPxFlipPanel::SetCollapseGlyph);
  c.Property(u"Color", &TControl::Color, &TControl::SetColor, &types::Color()).Default(clWindow);
  c.Property(u"ColorScheme", &TPxFlipPanel::ColorScheme, &TPxFlipPanel::SetColorScheme).Default(csDefault);
  publish::Constraints(c);
  c.Property(u"DrawDirection", &TPxFlipPanel::DrawDirection, &TPxFlipPanel::SetDrawDirection).Default(diLeftToRight);
  publish::Enabled(c);
  c.Property(u"Expanded", &TPxFlipPanel::Expanded, &TPxFlipPanel::SetExpanded).Default(1);
  c.Property(u"ExpandGlyph", &TPxFlipPanel::GetExpandGlyph, &TPxFlipPanel::SetExpandGlyph);
  c.Property(u"FlipKind", &TPxFlipPanel::FlipKind, &TPxFlipPanel::SetFlipKind).Default(fkHeaderAndButton);
  publish::Font(c);
  c.Property(u"Glyph", &TPxFlipPanel::GetGlyph, &TPxFlipPanel::SetGlyph);
  c.Property(u"HeaderColor", &TPxFlipPanel::HeaderColor, &TPxFlipPanel::SetHeaderColor, &types::Color())
      .Default(clBtnFace);
  c.Property(u"HeaderFont", &TPxFlipPanel::GetHeaderFont, &TPxFlipPanel::SetHeaderFont);
  c.Property(u"HeaderHeight", &TPxFlipPanel::HeaderHeight, &TPxFlipPanel::SetHeaderHeight).Default(18);
  c.Property(u"HeaderStyle", &TPxFlipPanel::HeaderStyle, &TPxFlipPanel::SetHeaderStyle).Default(hsSolid);
  c.Property(u"Indent", &TPxFlipPanel::Indent, &TPxFlipPanel::SetIndent).Default(4);
  c.Property(u"InnerMargins", &TPxFlipPanel::GetInnerMargins, &TPxFlipPanel::SetInnerMargins);
  c.Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(0);
  publish::ParentFont(c);
  c.Property(u"ParentHeaderFont", &TPxFlipPanel::ParentHeaderFont, &TPxFlipPanel::SetParentHeaderFont).Default(1);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  c.Property(u"ShowButtons", &TPxFlipPanel::ShowButtons, &TPxFlipPanel::SetShowButtons).Default(1);
  c.Property(u"ShowGlyph", &TPxFlipPanel::ShowGlyph, &TPxFlipPanel::SetShowGlyph).Default(1);
  publish::ShowHint(c);
  publish::TabOrder(c);
  publish::TabStop(c);
  c.Property(u"TransparentButtons", &TPxFlipPanel::TransparentButtons, &TPxFlipPanel::SetTransparentButtons).Default(0);
  c.Property(u"TransparentGlyph", &TPxFlipPanel::TransparentGlyph, &TPxFlipPanel::SetTransparentGlyph).Default(0);
  publish::Visible(c);
  c.Property(u"OnChange", &TPxFlipPanel::OnChange);
  publish::MouseEvents(c);
  publish::ResizeEvents(c);
}

TPxFlipPanel::TPxFlipPanel(TComponent* owner)
    : TCustomControl(owner),
      FCollapseGlyph(std::make_unique<TBitmap>()),
      FExpandGlyph(std::make_unique<TBitmap>()),
      FGlyph(std::make_unique<TBitmap>()),
      FHeaderFont(std::make_unique<TFont>()),
      FInnerMargins(std::make_unique<TPxAreaMargins>()) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csReplicatable};
  LoadButtonGlyph(*FExpandGlyph, u"FLIPPLUS", true);
  LoadButtonGlyph(*FCollapseGlyph, u"COLLAPSE", false);
  FExpandGlyph->OnChange = TNotifyEvent([this](TObject*) { Invalidate(); });
  FCollapseGlyph->OnChange = TNotifyEvent([this](TObject*) { Invalidate(); });
  FGlyph->OnChange = TNotifyEvent([this](TObject*) { Invalidate(); });
  FHeaderFont->Assign(&Font());
  FHeaderFont->OnChange = TNotifyEvent(this, &TPxFlipPanel::HeaderFontChanged);
  FInnerMargins->OnChange = TNotifyEvent([this](TObject*) {
    Invalidate();
    Realign();
  });
  SetParentColor(false);
  SetColor(clWindow);
  SetBounds(Left(), Top(), 200, 200);
  FFullHeight = 200;
  AddToRepaintList(this);
}

TPxFlipPanel::~TPxFlipPanel() {
  FHeaderFont->OnChange = {};
  RemoveFromRepaintList(this);
}

void TPxFlipPanel::StoreAndRepaint(bool& field, bool value) {
  field = value;
  Invalidate();
}

void TPxFlipPanel::SetBackgroundColor(TColor value) {
  FBackgroundColor = value;
  Invalidate();
}

void TPxFlipPanel::SetBackgroundStyle(TFlipBackgroundStyle value) {
  FBackgroundStyle = value;
  Invalidate();
}

void TPxFlipPanel::SetBorderColor(TColor value) {
  FBorderColor = value;
  DrawBorder();
}

void TPxFlipPanel::SetBorderWidth(Integer value) {
  FBorderWidth = std::clamp(value, 0, 100);
  RecalculateFrame(*this);
}

void TPxFlipPanel::SetPanelCaption(const String& value) {
  FCaption = value;
  Invalidate();
}

void TPxFlipPanel::SetCaptionCollapsed(const String& value) {
  FCaptionCollapsed = value;
  if (!FExpanded) Invalidate();
}

void TPxFlipPanel::SetExpandGlyph(const TBitmap* value) {
  FExpandGlyph->Assign(value);
  if (HandleAllocated()) InvalidateWithoutErase(*this, HeaderRect());
}

void TPxFlipPanel::SetColorScheme(TColorScheme value) {
  FColorScheme = value;
  Invalidate();
}

void TPxFlipPanel::SetDrawDirection(TDirection value) {
  FDrawDirection = value;
  Invalidate();
}

void TPxFlipPanel::SetHeaderColor(TColor value) {
  FHeaderColor = value;
  if (HandleAllocated()) InvalidateWithoutErase(*this, HeaderRect());
}

void TPxFlipPanel::SetHeaderHeight(Integer value) {
  FHeaderHeight = std::clamp(value, 0, 10000);
  Realign();
  Invalidate();
}

void TPxFlipPanel::SetHeaderStyle(THeaderStyle value) {
  FHeaderStyle = value;
  if (HandleAllocated()) InvalidateWithoutErase(*this, HeaderRect());
}

void TPxFlipPanel::SetIndent(Integer value) {
  FIndent = std::clamp(value, -10000, 10000);
  Invalidate();
}

void TPxFlipPanel::SetParentHeaderFont(bool value) {
  if (value == FParentHeaderFont) return;
  FParentHeaderFont = value;
  if (!value) return;
  FHeaderFontUpdating = true;
  FHeaderFont->Assign(&Font());
  FHeaderFontUpdating = false;
}

void TPxFlipPanel::HeaderFontChanged(TObject*) {
  if (FHeaderFontUpdating) return;
  FParentHeaderFont = false;
  Invalidate();
}

void TPxFlipPanel::SetTransparentGlyph(bool value) {
  FTransparentGlyph = value;
  if (value)
    MakeTransparentByCorner(*FGlyph);
  else
    FGlyph->SetTransparent(false);
  Invalidate();
}

void TPxFlipPanel::ResizeEnclosing(Integer delta) {
  for (auto* outer = dynamic_cast<TPxFlipPanel*>(Parent()); outer; outer = dynamic_cast<TPxFlipPanel*>(outer->Parent()))
    outer->SetHeight(outer->Height() + delta);
}

void TPxFlipPanel::SetExpanded(bool value) {
  if (value == FExpanded || !FAllowFlip) return;
  FExpanding = true;
  const Integer collapsedHeight = FInnerMargins->Top() + FHeaderHeight;
  if (value) {
    ResizeEnclosing(FFullHeight - Height());
    SetHeight(FFullHeight);
  } else {
    FFullHeight = std::max(Height(), collapsedHeight);
    if (!Loading()) {
      const Integer delta = Height() - collapsedHeight;
      SetHeight(collapsedHeight);
      ResizeEnclosing(-delta);
    }
  }
  FExpanded = value;
  DoChange();
  if (HandleAllocated()) InvalidateWithoutErase(*this, ButtonRect());
  if (value) {
    if (FAutoCollapse && Parent()) {
      TWinControl* parent = Parent();
      for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* sibling = dynamic_cast<TPxFlipPanel*>(parent->Controls(i));
        if (sibling && sibling != this) sibling->SetExpanded(false);
      }
    }
    Realign();
  }
  FExpanding = false;
}

void TPxFlipPanel::DoChange() {
  if (OnChange) OnChange(this);
}

void TPxFlipPanel::ExpandAll() {
  if (!FExpanded) return;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* panel = dynamic_cast<TPxFlipPanel*>(Controls(i))) {
      panel->SetExpanded(true);
      panel->ExpandAll();
    }
}

void TPxFlipPanel::CollapseAll() {
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* panel = dynamic_cast<TPxFlipPanel*>(Controls(i))) {
      panel->SetExpanded(false);
      panel->CollapseAll();
    }
}

void TPxFlipPanel::RefreshBody() {
  if (HandleAllocated()) InvalidateWithoutErase(*this, BodyRect());
}

TRect TPxFlipPanel::ButtonRect() const {
  const Integer x = FDrawDirection == diLeftToRight ? FIndent : ClientWidth() - FExpandGlyph->Width() - 4;
  if (IsThemed()) {
    const Integer top = FHeaderHeight / 2 - FExpandGlyph->Height() / 2 - 1;
    return Rect(x, top, x + FExpandGlyph->Width(), top + FExpandGlyph->Height());
  }
  const Integer top = FHeaderHeight / 2 - 5;
  return Rect(x, top, x + kButtonSize, top + kButtonSize);
}

void TPxFlipPanel::AdjustClientRect(TRect& rect) const {
  TCustomControl::AdjustClientRect(rect);
  rect.Left += FInnerMargins->Left();
  rect.Top += FInnerMargins->Top() + FHeaderHeight;
  rect.Right -= FInnerMargins->Right();
  rect.Bottom -= FInnerMargins->Bottom();
}

TColor TPxFlipPanel::HeaderColour() const {
  if (!FAdaptiveColors) return FHeaderColor;
  if (dynamic_cast<TPxFlipPanel*>(Parent())) return Color();
  return IsThemed() ? SchemeColor(18, FColorScheme) : clBtnFace;
}

void TPxFlipPanel::DrawHeader() {
  TCanvas& c = Canvas();
  const TColor hc = HeaderColour();
  c.Brush().SetColor(hc);
  const TRect r = HeaderRect();
  switch (FHeaderStyle) {
    case hsAuto:
      if (IsThemed())
        DrawThemeElement(Handle(), c.Handle(), r, u"explorerbar", 0, 1);
      else
        c.FillRect(r);
      break;
    case hsFadeAway: FillHorzGradient(c, r, hc, Color()); break;
    case hsGradient: FillVertGradient(c, r, Color(), hc); break;
    case hsInverseGradient: FillVertGradient(c, r, hc, Color()); break;
    case hsOffice2007:
      DrawGlass(c, r, SchemeColor(4, FColorScheme), SchemeColor(3, FColorScheme), FHeaderHeight / 2);
      break;
    case hsSolid: c.FillRect(r); break;
    case hsTopGradient:
      FillVertGradient(c, Rect(0, 0, ClientWidth(), 4), hc, Color());
      c.Brush().SetColor(Color());
      c.FillRect(Rect(0, 4, ClientWidth(), ClientHeight()));
      break;
    case hsTransparent: DrawParentBackground(*this, c); break;
    case hsVista:
      c.Brush().SetColor(clBlack);
      c.FillRect(r);
      DrawTopSheen(c, r);
      break;
    case hsWindowsLive: {
      c.FrameRect(r);
      TRect inner = r;
      inner.Inflate(-1, -1);
      c.Brush().SetColor(Color());
      c.FrameRect(inner);
      inner.Inflate(-1, -1);
      DrawGlassCentred(c, inner, hc, Color(), inner.Height() / 2);
      break;
    }
  }
}

void TPxFlipPanel::DrawBody() {
  TCanvas& c = Canvas();
  switch (FBackgroundStyle) {
    case fbSolid:
      c.Brush().SetColor(Color());
      c.FillRect(BodyRect());
      break;
    case fbVertGradient: FillVertGradient(c, BodyRect(), Color(), FBackgroundColor); break;
    case fbTransparent:
      if (FHeaderStyle != hsTransparent && FHeaderStyle != hsVista && Parent() && Parent()->HandleAllocated())
        DrawParentBackground(*this, c);
      break;
  }
}

void TPxFlipPanel::DrawButton(Integer x, Integer y) {
  TCanvas& c = Canvas();
  if (IsThemed()) {
    if (FTransparentButtons) {
      MakeTransparentByCorner(*FCollapseGlyph);
      MakeTransparentByCorner(*FExpandGlyph);
    }
    TBitmap& glyph = FExpanded ? *FCollapseGlyph : *FExpandGlyph;
    if (!glyph.Empty()) c.Draw(x, y, glyph);
    return;
  }
  c.Pen().SetColor(clBlack);
  c.Brush().SetColor(clGrayText);
  c.FrameRect(Rect(x, y, x + kButtonSize, y + kButtonSize));
  c.Polyline({{x + 2, y + 4}, {x + 7, y + 4}});
  if (!FExpanded) c.Polyline({{x + 4, y + 2}, {x + 4, y + 7}});
}

void TPxFlipPanel::Paint() {
  TCanvas& c = Canvas();
  c.Font().Assign(&Font());
  DrawHeader();
  if (Focused()) c.DrawFocusRect(HeaderRect());
  DrawBody();
  c.Font().Assign(FHeaderFont.get());
  Integer textLeft = FIndent;
  if (FShowButtons) {
    const TRect button = ButtonRect();
    if (FDrawDirection == diLeftToRight) textLeft = FIndent + FExpandGlyph->Width() + 4;
    DrawButton(button.Left, button.Top);
  }
  if (FShowGlyph && !FGlyph->Empty()) {
    const Integer y = FHeaderHeight / 2 - FGlyph->Height() / 2;
    if (FDrawDirection == diLeftToRight) {
      DrawAlphaBitmap(c, ClientWidth() - FGlyph->Width() - 2, y, *FGlyph);
    } else {
      DrawAlphaBitmap(c, textLeft, y, *FGlyph);
      textLeft += FGlyph->Width() + 2;
    }
  }
  const String& caption = !FExpanded && !FCaptionCollapsed.empty() ? FCaptionCollapsed : FCaption;
  c.Brush().SetStyle(bsClear);
  DrawCaptionText(c, Rect(textLeft, 0, ClientWidth(), FHeaderHeight), taLeftJustify, caption, false);
  c.Brush().SetStyle(bsSolid);
  if (ComponentState().Contains(csDesigning) && FExpanded) {
    TRect area = Rect(FInnerMargins->Left(), FHeaderHeight + FInnerMargins->Top(),
                      ClientWidth() - FInnerMargins->Right(), ClientHeight() - FInnerMargins->Bottom());
    area.Inflate(1, 1);
    c.Brush().SetColor(clBtnFace);
    c.FrameRect(area);
  }
}

void TPxFlipPanel::DrawBorder() {
  if (FBorderWidth <= 0) return;
  PaintWindowFrame(*this, [this](HDC dc, RECT r) {
    HBRUSH brush = CreateSolidBrush(ResolveColor(FAdaptiveColors ? SchemeColor(2, FColorScheme) : FBorderColor));
    for (Integer i = 0; i < FBorderWidth && r.right > r.left && r.bottom > r.top; ++i) {
      FrameRect(dc, &r, brush);
      InflateRect(&r, -1, -1);
    }
    DeleteObject(brush);
  });
}

void TPxFlipPanel::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  FMouseDown = true;
  FOldX = x;
  FOldY = y;
}

void TPxFlipPanel::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseUp(button, shift, x, y);
  FMouseDown = false;
  if (button != mbLeft) return;
  const TPoint p = Point(x, y);
  switch (FFlipKind) {
    case fkNone: return;
    case fkButton:
      if (FShowButtons && ButtonRect().Contains(p)) Flip();
      return;
    case fkHeaderAndButton:
      if (HeaderRect().Contains(p)) Flip();
      return;
  }
}

void TPxFlipPanel::DefineProperties(TFiler& filer) {
  TCustomControl::DefineProperties(filer);
  filer.DefineProperty(
      u"FullHeight", [this](TReader& reader) { SetFullHeight(reader.ReadInteger()); },
      [this](TWriter& writer) { writer.WriteInteger(FFullHeight); }, true);
}

void TPxFlipPanel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; return;
    case CM_DIALOGCHAR:
      TCustomControl::Dispatch(m);
      if (m.Result == 0 && IsAccel(static_cast<Word>(m.WParam), FCaption)) {
        Flip();
        m.Result = 1;
      }
      return;
    case CM_TEXTCHANGED:
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(m);
      if (FParentHeaderFont) {
        FHeaderFontUpdating = true;
        FHeaderFont->Assign(&Font());
        FHeaderFontUpdating = false;
      }
      return;
    case WM_SIZE:
      TCustomControl::Dispatch(m);
      if (!Loading() && FBackgroundStyle == fbVertGradient) RefreshBody();
      return;
    case WM_WINDOWPOSCHANGED:
      TCustomControl::Dispatch(m);
      if ((FHeaderStyle == hsTransparent || FHeaderStyle == hsVista) && !FExpanding) Invalidate();
      return;
    case WM_NCCALCSIZE:
      TCustomControl::Dispatch(m);
      ShrinkClientByBorder(m, FBorderWidth);
      return;
    case WM_NCPAINT:
      TCustomControl::Dispatch(m);
      DrawBorder();
      return;
    default: break;
  }
  TCustomControl::Dispatch(m);
}
