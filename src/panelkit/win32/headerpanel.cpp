#include "panelkit/win32/headerpanel.h"
#include "panelkit/win32/lifeguard.h"

#include <algorithm>

#include "classes/filer.h"
#include "panelkit/win32/shareddraw.h"
#include "panelkit/win32/themes.h"
#include "ui/forms.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPxHeaderPanel, "PxCollection")

using headerdisplay::dsHeaderOnly;
using headerdisplay::dsPanelOnly;

namespace {

// Repaints the header strip after the panel's text changed.
constexpr UINT kRepaintMessage = WM_USER + 100;

// The collapse arrow: a dark double chevron pointing left, 8 x 7 pixels.
constexpr const char* kLeftChevrons[] = {"...X...X", "..XX..XX", ".XX..XX.", "XX..XX..",
                                         ".XX..XX.", "..XX..XX", "...X...X"};
constexpr TColor kChevronColor = 0x404040;

void DrawChevrons(TCanvas& canvas, Integer x, Integer y, bool pointsLeft) {
  for (Integer row = 0; row < 7; ++row)
    for (Integer column = 0; column < 8; ++column) {
      const Integer source = pointsLeft ? column : 7 - column;
      if (kLeftChevrons[row][source] == 'X') canvas.SetPixels(x + column, y + row, kChevronColor);
    }
}

bool Inside(const TRect& r, Integer x, Integer y) {
  return r.Contains(TPoint{x, y});
}

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TPxHeaderStyle>) {
  static const TEnumTypeInfo t(u"TPxHeaderStyle", u"PxCollection",
                               {u"psFlat", u"psNormal", u"psSectionHeader", u"psVista", u"psWindowsLive"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TDisplayStyle>) {
  static const TEnumTypeInfo t(u"TDisplayStyle", u"PxCollection", {u"dsNormal", u"dsHeaderOnly", u"dsPanelOnly"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<THeaderOption>) {
  static const TEnumTypeInfo t(u"THeaderOption", u"PxCollection",
                               {u"hoClickOnBodyExpand", u"hoColorSchemeFont", u"hoCollapseButton"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<THeaderOptions>) {
  static const TSetTypeInfo t(u"THeaderOptions", u"PxCollection",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<THeaderOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TDirection>) {
  static const TEnumTypeInfo t(u"TDirection", u"PxClasses", {u"diLeftToRight", u"diRightToLeft"});
  return t;
}
const TMethodTypeInfo& CollapseEventType() {
  static const TMethodTypeInfo t(u"TCollapseEvent", u"PxCollection", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"Accept", u"Boolean", ParamFlagBit(pfVar))});
  return t;
}

void TPxHeaderPanel::Describe(TClassBuilder<TPxHeaderPanel>& c) {
  using P = TPxHeaderPanel;
  c.Property(u"AdaptiveColors", &P::AdaptiveColors, &P::SetAdaptiveColors).Default(1);
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"BorderColor", &P::BorderColor, &P::SetBorderColor, &types::Color()).Default(0);
  c.Property(u"BorderWidth", &P::BorderWidth, &P::SetBorderWidth).Default(1);
  c.Property(u"Caption", &P::Caption, &P::SetCaption);
  c.Property(u"CollapseWidth", &P::CollapseWidth, &P::SetCollapseWidth).Default(kCollapsedLimit);
  publish::Color(c);
  c.Property(u"ColorScheme", &P::ColorScheme, &P::SetColorScheme).Default(csDefault);
  publish::Constraints(c);
  c.Property(u"DisplayStyle", &P::DisplayStyle, &P::SetDisplayStyle).Default(headerdisplay::dsNormal);
  c.Property(u"DrawDirection", &P::DrawDirection, &P::SetDrawDirection).Default(diLeftToRight);
  c.Property(u"Expanded", &P::Expanded, &P::SetExpanded).Default(1);
  publish::Font(c);
  c.Property(u"Glyph", &P::GetGlyph, &P::SetGlyph);
  c.Property(u"HeaderColor", &P::HeaderColor, &P::SetHeaderColor, &types::Color()).Default(clActiveCaption);
  c.Property(u"HeaderFont", &P::GetHeaderFont, &P::SetHeaderFont).StoredWhen([](const P& p) {
    return !p.ParentHeaderFont();
  });
  c.Property(u"HeaderSize", &P::HeaderSize, &P::SetHeaderSize).Default(27);
  c.Property(u"HeaderStyle", &P::HeaderStyle, &P::SetHeaderStyle).Default(psNormal);
  c.Property(u"Indent", &P::Indent, &P::SetIndent).Default(9);
  c.Property(u"InnerMargins", &P::GetInnerMargins, &P::SetInnerMargins);
  c.Property(u"Options", &P::Options, &P::SetOptions)
      .Default(static_cast<Integer>(THeaderOptions{hoColorSchemeFont}.Bits()));
  c.Property(u"PanelStyle", &P::PanelStyle, &P::SetPanelStyle).Default(ptDefault);
  c.Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(0);
  publish::ParentFont(c);
  c.Property(u"ParentHeaderFont", &P::ParentHeaderFont, &P::SetParentHeaderFont).Default(1);
  c.Property(u"Picture", &P::GetPicture, &P::SetPicture);
  publish::TabOrder(c);
  publish::TabStop(c);
  publish::Visible(c);
  c.Property(u"OnChange", &P::OnChange);
  c.Property(u"OnCollapse", &P::OnCollapse, &CollapseEventType());
  c.Property(u"OnExpand", &P::OnExpand, &CollapseEventType());
  c.Property(u"OnGlyphClick", &P::OnGlyphClick);
  c.Property(u"OnHeaderClick", &P::OnHeaderClick);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
}

TPxHeaderPanel::TPxHeaderPanel(TComponent* owner)
    : TPxCollectionControl(owner),
      FGlyph(std::make_unique<TBitmap>()),
      FHeaderFont(std::make_unique<TFont>()),
      FInnerMargins(std::make_unique<TPxMargins>()),
      FPicture(std::make_unique<TPicture>()) {
  FControlStyle.Include(csAcceptsControls)
      .Include(csCaptureMouse)
      .Include(csClickEvents)
      .Include(csSetCaption)
      .Include(csDoubleClicks)
      .Include(csReplicatable);
  FHeaderFont->Assign(&Font());
  FHeaderFont->OnChange = TNotifyEvent(this, &TPxHeaderPanel::HeaderFontChanged);
  FGlyph->OnChange = TNotifyEvent(this, &TPxHeaderPanel::GlyphChanged);
  FPicture->OnChange = TNotifyEvent(this, &TPxHeaderPanel::PictureChanged);
  FInnerMargins->OnChange = TNotifyEvent(this, &TPxHeaderPanel::MarginsChanged);
  SetParentColor(false);
  SetColor(clWindow);
  SetBounds(Left(), Top(), 245, 245);
  AddToRepaintList(this);
}

TPxHeaderPanel::~TPxHeaderPanel() {
  RemoveFromRepaintList(this);
  FGlyph->OnChange = {};
  FHeaderFont->OnChange = {};
  FPicture->OnChange = {};
  FInnerMargins->OnChange = {};
}

// ---------------------------------------------------------------------------
// Properties

void TPxHeaderPanel::SetAdaptiveColors(bool value) {
  FAdaptiveColors = value;
  Invalidate();
}

void TPxHeaderPanel::SetBorderColor(TColor value) {
  FBorderColor = value;
  if (HandleAllocated()) DrawBorder();
}

void TPxHeaderPanel::SetBorderWidth(Integer value) {
  FBorderWidth = std::clamp(value, 0, 100);
  RefreshFrame();
}

void TPxHeaderPanel::RefreshFrame() {
  if (!HandleAllocated()) return;
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Realign();
  Invalidate();
}

void TPxHeaderPanel::SetCaption(const String& value) {
  FCaption = value;
  Invalidate();
}

void TPxHeaderPanel::SetColorScheme(TColorScheme value) {
  FColorScheme = value;
  Invalidate();
}

void TPxHeaderPanel::SetDisplayStyle(TDisplayStyle value) {
  FDisplayStyle = value;
  if (FDisplayStyle == dsHeaderOnly && !ComponentState().Contains(csLoading)) SetClientHeight(FHeaderSize);
  Invalidate();
  Realign();
}

void TPxHeaderPanel::SetDrawDirection(TDirection value) {
  FDrawDirection = value;
  Invalidate();
}

void TPxHeaderPanel::SetExpanded(bool value) {
  if (!value && Width() < kCollapsedLimit) SetWidth(kCollapsedLimit);
  if (value == FExpanded) return;
  FExpanding = true;
  try {
    if (value) {
      SetWidth(FFullWidth);
    } else {
      // A panel already at or below the limit (dragged there) keeps the
      // last width worth expanding to.
      if (Width() > kCollapsedLimit) FFullWidth = Width();
      if (!ComponentState().Contains(csLoading)) SetWidth(FCollapseWidth);
    }
    FExpanded = value;
    if (OnChange && CanFireEvents()) OnChange(this);
    if (value) Realign();
  } catch (...) {
    FExpanding = false;
    throw;
  }
  FExpanding = false;
  Invalidate();
}

void TPxHeaderPanel::SetGlyph(const TBitmap* value) {
  FGlyph->Assign(value);
}

void TPxHeaderPanel::SetHeaderColor(TColor value) {
  FHeaderColor = value;
  Invalidate();
}

void TPxHeaderPanel::SetHeaderFont(const TFont* value) {
  FHeaderFont->Assign(value);
  Invalidate();
}

void TPxHeaderPanel::SetHeaderSize(Integer value) {
  FHeaderSize = std::clamp(value, 0, 10000);
  Realign();
  Invalidate();
}

void TPxHeaderPanel::SetHeaderStyle(TPxHeaderStyle value) {
  FHeaderStyle = value;
  Invalidate();
}

void TPxHeaderPanel::SetIndent(Integer value) {
  FIndent = value;
  Invalidate();
}

void TPxHeaderPanel::SetInnerMargins(const TPxMargins* value) {
  if (value) FInnerMargins->Assign(value);
}

void TPxHeaderPanel::SetOptions(THeaderOptions value) {
  FOptions = value;
  Invalidate();
}

void TPxHeaderPanel::SetPanelStyle(TPxPanelStyle value) {
  FPanelStyle = value;
  Invalidate();
}

void TPxHeaderPanel::SetParentHeaderFont(bool value) {
  FParentHeaderFont = value;
  if (value) CopyFontToHeaderFont();
}

void TPxHeaderPanel::SetPicture(const TPicture* value) {
  FPicture->Assign(value);
}

void TPxHeaderPanel::CopyFontToHeaderFont() {
  FCopyingHeaderFont = true;
  FHeaderFont->Assign(&Font());
  FCopyingHeaderFont = false;
}

void TPxHeaderPanel::GlyphChanged(TObject*) {
  Invalidate();
  if (FGlyph->Empty() || FGlyph->Height() < 1) return;
  const TNotifyEvent watcher = FGlyph->OnChange;
  FGlyph->OnChange = {};
  FGlyph->SetTransparentColor(FGlyph->Canvas().Pixels(0, FGlyph->Height() - 1));
  FGlyph->SetTransparent(true);
  FGlyph->OnChange = watcher;
}

void TPxHeaderPanel::HeaderFontChanged(TObject*) {
  Invalidate();
  if (!FCopyingHeaderFont) FParentHeaderFont = false;
}

void TPxHeaderPanel::MarginsChanged(TObject*) {
  Invalidate();
  Realign();
}

void TPxHeaderPanel::PictureChanged(TObject*) {
  Invalidate();
}

void TPxHeaderPanel::DefineProperties(TFiler& filer) {
  TPxCollectionControl::DefineProperties(filer);
  filer.DefineProperty(
      u"FullWidth", [this](TReader& reader) { FFullWidth = std::max<Integer>(reader.ReadInteger(), 0); },
      [this](TWriter& writer) { writer.WriteInteger(FFullWidth); }, true);
}

// ---------------------------------------------------------------------------
// Geometry

TRect TPxHeaderPanel::GetButtonRect() const {
  const Integer left = !FExpanded && FDrawDirection == diRightToLeft ? 4 : ClientWidth() - 21;
  return Rect(left, FHeaderSize / 2 - 9, left + 18, FHeaderSize / 2 + 9);
}

TRect TPxHeaderPanel::HeaderRect() const {
  return Rect(0, 0, ClientWidth(), FHeaderSize);
}

TRect TPxHeaderPanel::BodyRect() const {
  return Rect(0, FHeaderSize, ClientWidth(), ClientHeight());
}

TRect TPxHeaderPanel::GlyphRect() const {
  if (FGlyph->Empty()) return TRect{};
  return Bounds(5, FHeaderSize / 2 - FGlyph->Height() / 2, FGlyph->Width(), FGlyph->Height());
}

void TPxHeaderPanel::AdjustClientRect(TRect& rect) const {
  TPxCollectionControl::AdjustClientRect(rect);
  if (FDisplayStyle != dsPanelOnly) rect.Top += FHeaderSize;
  rect.Left += FInnerMargins->Left();
  rect.Top += FInnerMargins->Top();
  rect.Right -= FInnerMargins->Right();
  rect.Bottom -= FInnerMargins->Bottom();
}

// ---------------------------------------------------------------------------
// Messages and the mouse

void TPxHeaderPanel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; return;
    case WM_NCCALCSIZE: {
      TPxCollectionControl::Dispatch(m);
      auto* r = reinterpret_cast<RECT*>(m.LParam);
      if (r) InflateRect(r, -FBorderWidth, -FBorderWidth);
      return;
    }
    case WM_NCPAINT:
      DrawBorder();
      m.Result = 0;
      return;
    case WM_SIZE:
      TPxCollectionControl::Dispatch(m);
      Resized();
      return;
    case kRepaintMessage:
      TPxCollectionControl::Dispatch(m);
      Invalidate();
      return;
    default: break;
  }
  TPxCollectionControl::Dispatch(m);
}

void TPxHeaderPanel::Resized() {
  if (FDisplayStyle == dsHeaderOnly && ClientHeight() != FHeaderSize) SetClientHeight(FHeaderSize);
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csReading) || FExpanding) return;
  if (Width() <= kCollapsedLimit) {
    SetExpanded(false);
  } else {
    FFullWidth = Width();
    SetExpanded(true);
  }
}

void TPxHeaderPanel::CMParentFontChanged(TMessage& m) {
  TPxCollectionControl::CMParentFontChanged(m);
  if (ParentFont() && FParentHeaderFont) CopyFontToHeaderFont();
}

void TPxHeaderPanel::CMTextChanged(TMessage& m) {
  TPxCollectionControl::CMTextChanged(m);
  if (HandleAllocated()) InvalidateWithoutErase(*this, HeaderRect());
}

void TPxHeaderPanel::CMMouseLeave(TMessage& m) {
  TPxCollectionControl::CMMouseLeave(m);
  TButtonState state = FBtnState;
  SetButtonState(state.Exclude(btHover));
}

void TPxHeaderPanel::SetButtonState(TButtonState value) {
  if (value == FBtnState) return;
  FBtnState = value;
  if (HandleAllocated()) InvalidateWithoutErase(*this, GetButtonRect());
}

void TPxHeaderPanel::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxCollectionControl::MouseDown(button, shift, x, y);
  if (Inside(HeaderRect(), x, y)) FHeaderMouseDown = true;
  TButtonState state = FBtnState;
  if (Inside(GetButtonRect(), x, y)) SetButtonState(state.Include(btDown));
}

void TPxHeaderPanel::MouseMove(TShiftState shift, Integer x, Integer y) {
  TPxCollectionControl::MouseMove(shift, x, y);
  TButtonState state = FBtnState;
  if (Inside(GetButtonRect(), x, y))
    state.Include(btHover);
  else
    state.Exclude(btHover);
  SetButtonState(state);
}

void TPxHeaderPanel::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxLifeGuard guard(this);
  TPxCollectionControl::MouseUp(button, shift, x, y);
  if (guard.Gone()) return;
  if (Inside(HeaderRect(), x, y) && FHeaderMouseDown) {
    DoHeaderClick();
    if (guard.Gone()) return;
    if (Inside(GlyphRect(), x, y)) DoGlyphClick();
    if (guard.Gone()) return;
  }
  if (FOptions.Contains(hoCollapseButton) && Inside(GetButtonRect(), x, y)) {
    bool accept = true;
    if (FExpanded) {
      DoCollapse(accept);
      if (guard.Gone()) return;
      if (accept) SetExpanded(false);
    } else {
      DoExpand(accept);
      if (guard.Gone()) return;
      if (accept) SetExpanded(true);
      if (guard.Gone()) return;
      if (CanFocus()) SetFocus();
    }
    if (guard.Gone()) return;
  } else if (FOptions.Contains(hoClickOnBodyExpand) && Inside(BodyRect(), x, y)) {
    SetExpanded(true);
    if (guard.Gone()) return;
  }
  SetButtonState(TButtonState{});
  FHeaderMouseDown = false;
}

void TPxHeaderPanel::DoCollapse(bool& accept) {
  if (OnCollapse) OnCollapse(this, accept);
}

void TPxHeaderPanel::DoExpand(bool& accept) {
  if (OnExpand) OnExpand(this, accept);
}

void TPxHeaderPanel::DoGlyphClick() {
  if (OnGlyphClick) OnGlyphClick(this);
}

void TPxHeaderPanel::DoHeaderClick() {
  if (OnHeaderClick) OnHeaderClick(this);
}

// ---------------------------------------------------------------------------
// Painting

void TPxHeaderPanel::FillBody(const TRect& rect) {
  TCanvas& canvas = Canvas();
  switch (FPanelStyle) {
    case ptDefault:
      canvas.Brush().SetColor(Color());
      canvas.FillRect(rect);
      break;
    case ptGradient: FillVertGradient(canvas, rect, clWindow, SchemeColor(3, csDefault)); break;
    case ptInverseGradient: FillVertGradient(canvas, rect, SchemeColor(3, csDefault), clWindow); break;
  }
}

void TPxHeaderPanel::Paint() {
  TPxCollectionControl::Paint();
  TCanvas& canvas = Canvas();
  if (FDisplayStyle == dsPanelOnly) {
    FillBody(ClientRect());
    return;
  }
  if (FDisplayStyle != dsHeaderOnly) {
    canvas.Brush().SetColor(Color());
    TGraphic* picture = FPicture->Graphic();
    if (picture && !picture->Empty())
      canvas.StretchDraw(BodyRect(), *picture);
    else
      FillBody(BodyRect());
    if (ComponentState().Contains(csDesigning)) {
      TRect frame = Rect(FInnerMargins->Left(), FHeaderSize + FInnerMargins->Top(),
                         ClientWidth() - FInnerMargins->Right(), ClientHeight() - FInnerMargins->Bottom());
      frame.Inflate(1, 1);
      canvas.Brush().SetColor(clBtnFace);
      canvas.FrameRect(frame);
    }
  }
  canvas.Font().Assign(FHeaderFont.get());
  if (FOptions.Contains(hoColorSchemeFont)) canvas.Font().SetColor(SchemeColor(9, csDefault));
  const TRect header = HeaderRect();
  switch (FHeaderStyle) {
    case psFlat: DrawFlatHeader(header); break;
    case psNormal: DrawNormalHeader(header); break;
    case psSectionHeader: DrawSectionHeader(header); break;
    case psVista: DrawVistaHeader(header); break;
    case psWindowsLive: DrawWindowsLiveHeader(header); break;
  }
  TRect caption = Rect(FIndent, 0, ClientWidth(), FHeaderSize);
  if (FOptions.Contains(hoCollapseButton)) {
    const TRect button = GetButtonRect();
    DrawButton(button);
    caption.Right = button.Left;
  }
  if (FExpanded && !FGlyph->Empty()) {
    const TRect glyph = GlyphRect();
    DrawAlphaBitmap(canvas, glyph.Left, glyph.Top, *FGlyph);
    caption.Left += FGlyph->Width() + 7;
  }
  if (FExpanded) DrawEllipsisText(canvas, caption, FCaption, bdLeftToRight);
}

void TPxHeaderPanel::DrawFlatHeader(const TRect& r) {
  Canvas().Brush().SetColor(FHeaderColor);
  Canvas().FillRect(r);
}

void TPxHeaderPanel::DrawNormalHeader(const TRect& r) {
  TCanvas& canvas = Canvas();
  canvas.Pen().SetColor(clWhite);
  canvas.Polyline({TPoint{0, r.Bottom}, TPoint{0, r.Top}, TPoint{ClientWidth(), r.Top}});
  canvas.Pen().SetColor(SchemeRole(13));
  canvas.MoveTo(0, r.Bottom - 1);
  canvas.LineTo(ClientWidth(), r.Bottom - 1);
  TRect fill = r;
  fill.Top += 1;
  fill.Bottom -= 1;
  fill.Left += 1;
  if (FAdaptiveColors)
    FillVertGradient(canvas, fill, SchemeRole(12), SchemeRole(11));
  else
    FillVertGradient(canvas, fill, clWindow, FHeaderColor);
}

void TPxHeaderPanel::DrawSectionHeader(const TRect& r) {
  TCanvas& canvas = Canvas();
  if (IsThemed()) {
    if (FAdaptiveColors)
      FillVertGradient(canvas, r, BlendWeighted(clHighlight, clInactiveCaption, 112),
                       BlendWeighted(clActiveCaption, clBlack, 170));
    else
      FillVertGradient(canvas, r, FHeaderColor, BlendWeighted(FHeaderColor, clBlack, 170));
  } else if (FAdaptiveColors) {
    canvas.Brush().SetColor(clGrayText);
    canvas.FillRect(r);
  } else {
    FillVertGradient(canvas, r, FHeaderColor, BlendWeighted(FHeaderColor, clBlack, 170));
  }
}

void TPxHeaderPanel::DrawVistaHeader(const TRect& r) {
  Canvas().Brush().SetColor(clBlack);
  Canvas().FillRect(r);
  DrawTopSheen(Canvas(), r);
}

void TPxHeaderPanel::DrawWindowsLiveHeader(const TRect& r) {
  TCanvas& canvas = Canvas();
  const TColor header = FAdaptiveColors ? SchemeRole(18) : FHeaderColor;
  canvas.Pen().SetColor(clWhite);
  canvas.MoveTo(0, r.Top);
  canvas.LineTo(ClientWidth(), r.Top);
  canvas.MoveTo(0, r.Bottom - 2);
  canvas.LineTo(ClientWidth(), r.Bottom - 2);
  canvas.Pen().SetColor(FAdaptiveColors ? SchemeRole(18) : FBorderColor);
  canvas.MoveTo(0, r.Bottom - 1);
  canvas.LineTo(ClientWidth(), r.Bottom - 1);
  const TRect glass = Rect(r.Left, r.Top + 1, r.Right, r.Bottom - 2);
  DrawGlassCentred(canvas, glass, header, Color(), glass.Height() / 2);
}

void TPxHeaderPanel::DrawButtonFace(const TRect& r) {
  if (FBtnState.Contains(btDown))
    FillVertGradient(Canvas(), r, 0x087FE8, 0x7AD9F7);
  else if (FBtnState.Contains(btHover))
    FillVertGradient(Canvas(), r, 0xDCFFFF, 0x5FC2F8);
}

void TPxHeaderPanel::DrawButton(const TRect& r) {
  DrawButtonFace(r);
  // Expanded panels show the collapse arrow; mirrored drawing swaps the two.
  const bool pointsLeft = FExpanded == (FDrawDirection == diLeftToRight);
  DrawChevrons(Canvas(), r.Left + r.Width() / 2 - 4, r.Top + r.Height() / 2 - 3, pointsLeft);
}

void TPxHeaderPanel::DrawBorder() {
  if (!HandleAllocated() || FBorderWidth <= 0) return;
  HDC dc = GetWindowDC(Handle());
  if (!dc) return;
  RECT window;
  GetWindowRect(Handle(), &window);
  OffsetRect(&window, -window.left, -window.top);
  const TColor color = ResolveColor(FAdaptiveColors ? SchemeRole(2) : FBorderColor);
  HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(color));
  for (Integer i = 0; i < FBorderWidth; ++i) {
    FrameRect(dc, &window, brush);
    InflateRect(&window, -1, -1);
  }
  DeleteObject(brush);
  ReleaseDC(Handle(), dc);
}
