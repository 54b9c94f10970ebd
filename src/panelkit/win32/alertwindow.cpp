#include "panelkit/win32/alertwindow.h"
#include "panelkit/win32/lifeguard.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "classes/identmaps.h"
#include "panelkit/colormath.h"
#include "panelkit/win32/checkboxes.h"
#include "panelkit/win32/edits.h"
#include "panelkit/win32/htmldraw.h"
#include "panelkit/win32/providers.h"
#include "panelkit/win32/shareddraw.h"
#include "panelkit/win32/themes.h"
#include "ui/forms.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPxAlertWindow, "PxCollection")

const TTypeInfo& DescribeType(TypeTag<TBackgroundStyle>) {
  static const TEnumTypeInfo t(u"TBackgroundStyle", u"PxCollection", {u"btAuto", u"btSolid", u"btCustom"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TGlyphPosition>) {
  static const TEnumTypeInfo t(u"TGlyphPosition", u"PxCollection", {u"gpLeft", u"gpLeftTop", u"gpTop"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TPopupLocation>) {
  static const TEnumTypeInfo t(u"TPopupLocation", u"PxCollection", {u"plLeft", u"plRight"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TMessageBeepSound>) {
  static const TEnumTypeInfo t(
      u"TMessageBeepSound", u"PxCollection",
      {u"msNone", u"msIconExclamation", u"msIconHand", u"msOk", u"msIconQuestion", u"msIconAsterisk"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TAlertOption>) {
  static const TEnumTypeInfo t(u"TAlertOption", u"PxCollection",
                               {u"aoAutoSize", u"aoCloseButton", u"aoHtmlText", u"aoOptionsLink"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TAlertOptions>) {
  static const TSetTypeInfo t(u"TAlertOptions", u"PxCollection",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TAlertOption>{})));
  return t;
}
const TMethodTypeInfo& CustomDrawEventType() {
  static const TMethodTypeInfo t(u"TCustomDrawEvent", u"PxCollection", mkProcedure,
                                 {{0, u"Sender", u"TObject"}, {ParamFlagBit(pfConst), u"DrawRect", u"TRect"}});
  return t;
}

namespace {

constexpr Integer kSlideStep = 5;
constexpr Integer kScreenGap = 16;
constexpr TColor kLime = static_cast<TColor>(0x00FF00);

std::vector<Integer>& Stack() {
  static std::vector<Integer> stack;
  return stack;
}

// An 8 x 8 diagonal cross on lime, the lime shown as transparent.
void PaintCloseCross(TBitmap& bitmap, TColor cross) {
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(8, 8);
  TCanvas& c = bitmap.Canvas();
  c.Brush().SetColor(kLime);
  c.FillRect(Rect(0, 0, 8, 8));
  c.Brush().SetColor(cross);
  for (Integer i = 0; i < 8; ++i) {
    c.FillRect(Rect(i, i, i + 1, i + 1));
    c.FillRect(Rect(7 - i, i, 8 - i, i + 1));
  }
}

}  // namespace

const std::vector<Integer>& AlertStackEntries() {
  return Stack();
}

TRect AlertBounds(const TAlertTaskbar& taskbar, TSize screen, TPopupLocation location, Integer width, Integer height,
                  Integer indent, bool fullHeight) {
  const Integer left = location == plLeft ? kScreenGap : screen.cx - width - kScreenGap;
  Integer top = 0;
  if (taskbar.Edge == ABE_TOP) {
    top = taskbar.Bounds.Bottom + indent;
  } else if (taskbar.Edge == ABE_BOTTOM) {
    top = fullHeight ? screen.cy - taskbar.Bounds.Height() - height - indent : taskbar.Bounds.Top - height - indent;
  } else {
    // A taskbar at a side: the alert stands on the screen's bottom edge.
    top = screen.cy - height - indent;
  }
  return Bounds(left, top, width, height);
}

void TPxAlertWindow::Describe(TClassBuilder<TPxAlertWindow>& c) {
  using A = TPxAlertWindow;
  c.Property(u"AdaptiveColors", &A::AdaptiveColors, &A::SetAdaptiveColors).Default(1);
  c.Property(u"Alignment", &A::Alignment, &A::SetAlignment).Default(taLeftJustify);
  c.Property(u"BackgroundStyle", &A::BackgroundStyle, &A::SetBackgroundStyle).Default(btAuto);
  publish::BiDiProperties(c);
  c.Property(u"Caption", &A::AlertCaption, &A::SetAlertCaption);
  c.Property(u"CloseDelay", &A::CloseDelay, &A::SetCloseDelay).Default(5000);
  c.Property(u"CloseGlyph", &A::GetCloseGlyph, &A::SetCloseGlyph);
  c.Property(u"Color", &TControl::Color, &TControl::SetColor, &types::Color()).Default(clWindow);
  publish::Font(c);
  c.Property(u"ForegroundColor", &A::ForegroundColor, &A::SetForegroundColor, &types::Color()).Default(0xF0CAA6);
  c.Property(u"GlyphPosition", &A::GlyphPosition, &A::SetGlyphPosition).Default(gpLeft);
  c.Property(u"HeaderFont", &A::GetHeaderFont, &A::SetHeaderFont);
  c.Property(u"HeaderSize", &A::HeaderSize, &A::SetHeaderSize).Default(22);
  c.Property(u"LargeGlyph", &A::GetLargeGlyph, &A::SetLargeGlyph);
  c.Property(u"Options", &A::Options, &A::SetOptions)
      .Default(static_cast<Integer>(TAlertOptions{aoCloseButton, aoOptionsLink}.Bits()));
  c.Property(u"OptionsText", &A::OptionsText, &A::SetOptionsText);
  c.Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(0);
  publish::ParentFont(c);
  c.Property(u"PopupLocation", &A::PopupLocation, &A::SetPopupLocation).Default(plRight);
  c.Property(u"PopupSound", &A::PopupSound, &A::SetPopupSound).Default(msNone);
  c.Property(u"SmallGlyph", &A::GetSmallGlyph, &A::SetSmallGlyph);
  c.Property(u"Text", &A::Text, &A::SetText);
  c.Property(u"TextMargins", &A::GetTextMargins, &A::SetTextMargins);
  c.Property(u"VerticalAlignment", &A::VerticalAlignment, &A::SetVerticalAlignment).Default(taVerticalCenter);
  c.Property(u"WordWrap", &A::WordWrap, &A::SetWordWrap).Default(0);
  c.Property(u"OnClose", &A::OnClose);
  c.Property(u"OnCloseClick", &A::OnCloseClick);
  c.Property(u"OnCustomDrawHeader", &A::OnCustomDrawHeader, &CustomDrawEventType());
  c.Property(u"OnCustomDrawMessage", &A::OnCustomDrawMessage, &CustomDrawEventType());
  c.Property(u"OnLinkClick", &A::OnLinkClick);
  c.Property(u"OnOptionsClick", &A::OnOptionsClick);
  c.Property(u"OnPopup", &A::OnPopup);
  publish::MouseEvents(c);
  publish::DragEvents(c);
}

TPxAlertWindow::TPxAlertWindow(TComponent* owner)
    : TCustomControl(owner),
      FCloseGlyph(std::make_unique<TPxActiveGlyphSettings>()),
      FHeaderFont(std::make_unique<TFont>()),
      FLargeGlyph(std::make_unique<TPxGlyphSettings>()),
      FSmallGlyph(std::make_unique<TPxGlyphSettings>()),
      FTextMargins(std::make_unique<TPxMargins>()) {
  FControlStyle.Include(csAcceptsControls).Include(csSetCaption).Include(csReplicatable);
  SetParentColor(false);
  SetColor(clWindow);
  SetBounds(Left(), Top(), 211, 116);
  // Only the designer shows it where it lies; at run time it waits for Popup.
  SetVisible(ComponentState().Contains(csDesigning));
  FPopupTimer = new TTimer(this);
  FPopupTimer->SetEnabled(false);
  FPopupTimer->SetInterval(1);
  FPopupTimer->SetOnTimer(TNotifyEvent(this, &TPxAlertWindow::AnimationTick));
  FDelayTimer = new TTimer(this);
  FDelayTimer->SetEnabled(false);
  FDelayTimer->SetInterval(static_cast<Cardinal>(FCloseDelay));
  FDelayTimer->SetOnTimer(TNotifyEvent(this, &TPxAlertWindow::DelayTick));
  FCloseGlyph->OnChange = TNotifyEvent(this, &TPxAlertWindow::SettingsChanged);
  FLargeGlyph->OnChange = TNotifyEvent(this, &TPxAlertWindow::SettingsChanged);
  FSmallGlyph->OnChange = TNotifyEvent(this, &TPxAlertWindow::SettingsChanged);
  FHeaderFont->OnChange = TNotifyEvent(this, &TPxAlertWindow::SettingsChanged);
  FTextMargins->OnChange = TNotifyEvent(this, &TPxAlertWindow::MarginsChanged);
  FFixedHeight = Height();
  LoadCloseGlyphs();
}

TPxAlertWindow::~TPxAlertWindow() {
  FPopupTimer->SetEnabled(false);
  FDelayTimer->SetEnabled(false);
  if (FInProgress) {
    try {
      DoClose();
    } catch (...) {
    }
  }
  // A window never shown to the end still gives its band back.
  LeaveStack();
  FCloseGlyph->OnChange = {};
  FLargeGlyph->OnChange = {};
  FSmallGlyph->OnChange = {};
  FHeaderFont->OnChange = {};
  FTextMargins->OnChange = {};
}

void TPxAlertWindow::LoadCloseGlyphs() {
  PaintCloseCross(*FCloseGlyph->GetNormalGlyph(), static_cast<TColor>(0x808080));
  PaintCloseCross(*FCloseGlyph->GetHoverGlyph(), static_cast<TColor>(0xFF0000));
  FCloseGlyph->SetTransparentColor(kLime);
  FCloseGlyph->SetTransparent(true);
}

void TPxAlertWindow::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (ComponentState().Contains(csDesigning)) return;
  // A window of the desktop, above the others, in no task list.
  params.Style = WS_POPUP | WS_CLIPSIBLINGS;
  params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  params.WndParent = nullptr;
  params.WindowClass.style |= CS_DBLCLKS | CS_SAVEBITS;
}

void TPxAlertWindow::Loaded() {
  TCustomControl::Loaded();
  FFixedHeight = Height();
  AutoSizeRule();
  if (!ComponentState().Contains(csDesigning)) SetVisible(false);
}

void TPxAlertWindow::SettingsChanged(TObject*) {
  Invalidate();
}

void TPxAlertWindow::MarginsChanged(TObject*) {
  AutoSizeRule();
  Invalidate();
}

void TPxAlertWindow::SetCloseDelay(Integer value) {
  FCloseDelay = value;
  if (value > 0) FDelayTimer->SetInterval(static_cast<Cardinal>(value));
}

void TPxAlertWindow::SetCloseGlyph(const TPxActiveGlyphSettings* value) {
  FCloseGlyph->Assign(value);
  if (value) FCloseGlyph->SetHoverGlyph(value->GetHoverGlyph());
}

void TPxAlertWindow::SetLargeGlyph(const TPxGlyphSettings* value) {
  FLargeGlyph->Assign(value);
  Invalidate();
}

void TPxAlertWindow::SetSmallGlyph(const TPxGlyphSettings* value) {
  FSmallGlyph->Assign(value);
  Invalidate();
}

void TPxAlertWindow::SetHeaderSize(Integer value) {
  FHeaderSize = std::clamp(value, 0, 10000);
  Invalidate();
}

void TPxAlertWindow::SetOptions(TAlertOptions value) {
  FOptions = value;
  AutoSizeRule();
  Invalidate();
}

void TPxAlertWindow::SetOptionsText(const String& value) {
  FOptionsText = value;
  AutoSizeRule();
  Invalidate();
}

void TPxAlertWindow::SetText(const String& value) {
  FText = value;
  AutoSizeRule();
  Invalidate();
}

void TPxAlertWindow::SetWordWrap(bool value) {
  FWordWrap = value;
  AutoSizeRule();
  Invalidate();
}

TColor TPxAlertWindow::CurrentForegroundColor() const {
  return FAdaptiveColors ? SchemeColor(3, csDefault) : FForegroundColor;
}

TRect TPxAlertWindow::HeaderRect() const {
  return Rect(2, 2, ClientWidth() - 2, FHeaderSize + 2);
}

TRect TPxAlertWindow::MessageRect() const {
  return Rect(2, FHeaderSize + 2, ClientWidth() - 2, FFixedHeight - 2);
}

TRect TPxAlertWindow::TextRect() const {
  return Rect(FTextMargins->Left() + 2, FHeaderSize + FTextMargins->Top() + 2,
              ClientWidth() - FTextMargins->Right() - 2, FFixedHeight - FTextMargins->Bottom() - 2);
}

TRect TPxAlertWindow::CloseButtonRect() const {
  const TBitmap& glyph = *FCloseGlyph->GetNormalGlyph();
  const Integer x = Width() - glyph.Width() - 7;
  const Integer y = FHeaderSize / 2 - glyph.Height() / 2 + 2;
  return Bounds(x, y, glyph.Width(), glyph.Height());
}

TRect TPxAlertWindow::OptionsLinkRect() {
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(&Font());
  const TSize size = GetWideTextExtent(canvas, FOptionsText);
  const Integer right = ClientWidth();
  const Integer bottom = FFixedHeight - 4;
  return Rect(right - size.cx - 4, bottom - size.cy, right, bottom);
}

void TPxAlertWindow::AutoSizeRule() {
  if (!FOptions.Contains(aoAutoSize) || FPreparing || FInProgress || FAutoResizing) return;
  if (ComponentState().Contains(csLoading)) return;
  FitHeightToText();
}

void TPxAlertWindow::FitHeightToText() {
  FAutoResizing = true;
  struct TDone {
    bool& Flag;
    ~TDone() { Flag = false; }
  } done{FAutoResizing};
  // Before the window exists the text is measured on a scratch bitmap in
  // the same font, so that the size is right from the start.
  std::unique_ptr<TBitmap> scratch;
  TCanvas* target = nullptr;
  if (HandleAllocated()) {
    target = &Canvas();
  } else {
    scratch = std::make_unique<TBitmap>();
    scratch->SetSize(1, 1);
    target = &scratch->Canvas();
  }
  TCanvas& canvas = *target;
  canvas.Font().Assign(&Font());
  const TRect text = TextRect();
  Integer textHeight = 0;
  if (FOptions.Contains(aoHtmlText)) {
    THtmlInfo info;
    DrawHtmlText(canvas, text, FText, info, wkWordWrap, hmMeasure);
    textHeight = info.Size.cy;
  } else if (FWordWrap) {
    textHeight = MeasureWrappedText(canvas, text, FText).cy;
  } else {
    textHeight = GetWideTextHeight(canvas, FText);
  }
  Integer height = FTextMargins->Top() + FTextMargins->Bottom() + FHeaderSize + textHeight;
  if (FOptions.Contains(aoOptionsLink)) height += GetWideTextHeight(canvas, FOptionsText);
  if (height != Height()) {
    SetBounds(Left(), Top(), Width(), height);
    FFixedHeight = height;
  }
}

TAlertTaskbar TPxAlertWindow::Taskbar() {
  TAlertTaskbar bar;
  APPBARDATA data{};
  data.cbSize = sizeof data;
  data.hWnd = FindWindowW(L"Shell_TrayWnd", nullptr);
  if (data.hWnd && SHAppBarMessage(ABM_GETTASKBARPOS, &data) != 0 && data.uEdge <= ABE_BOTTOM) {
    bar.Edge = data.uEdge;
    bar.Bounds = FromRECT(data.rc);
    return bar;
  }
  const Integer width = GetSystemMetrics(SM_CXSCREEN);
  const Integer height = GetSystemMetrics(SM_CYSCREEN);
  bar.Edge = ABE_BOTTOM;
  bar.Bounds = Rect(0, height, width, height);
  return bar;
}

void TPxAlertWindow::LeaveStack() {
  if (!FStackEntry) return;
  auto& stack = Stack();
  const auto it = std::find(stack.begin(), stack.end(), *FStackEntry);
  if (it != stack.end()) stack.erase(it);
  FStackEntry.reset();
}

void TPxAlertWindow::Popup() {
  FPreparing = true;
  if (HandleAllocated()) ShowWindow(FHandle, SW_HIDE);
  if (FAlertDirection != adNone) {
    SetBounds(Left(), Top(), Width(), FRealHeight);
    FAlertDirection = adNone;
  }
  // The text may have changed without the rule (Popup with a text): the
  // window pops up at the height its text needs now.
  if (FOptions.Contains(aoAutoSize) && !ComponentState().Contains(csLoading)) {
    FFixedHeight = Height();
    FitHeightToText();
  }
  FRealHeight = Height();
  FFullOpen = false;
  FPopupTimer->SetEnabled(false);
  FDelayTimer->SetEnabled(false);
  FFixedHeight = Height();
  // A window already in the stack keeps its band; each holds at most one.
  if (!FStackEntry) {
    const auto& stack = Stack();
    FIndent = stack.empty() ? 0 : *std::max_element(stack.begin(), stack.end());
    FStackEntry = FIndent + FFixedHeight;
    Stack().push_back(*FStackEntry);
  }
  FCloseButtonState = {};
  FPreparing = false;
  FInProgress = true;
  PlaceAt(0, false);
  FAlertDirection = adUp;
  FPopupTimer->SetEnabled(true);
}

void TPxAlertWindow::Popup(const String& text, Integer closeDelay) {
  if (!text.empty()) FText = text;
  if (closeDelay != 0) SetCloseDelay(closeDelay);
  Popup();
}

void TPxAlertWindow::Close() {
  if (!FInProgress) return;
  FDelayTimer->SetEnabled(false);
  FAlertDirection = adDown;
  FPopupTimer->SetEnabled(true);
}

void TPxAlertWindow::PlaceAt(Integer height, bool fullHeight) {
  const TSize screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const TRect r = AlertBounds(Taskbar(), screen, FPopupLocation, Width(), height, FIndent, fullHeight);
  SetBounds(r.Left, r.Top, r.Width(), r.Height());
  SetWindowPos(Handle(), HWND_TOPMOST, r.Left, r.Top, r.Width(), r.Height(),
               SWP_NOACTIVATE | (height > 0 ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TPxAlertWindow::AnimationTick(TObject*) {
  if (FAlertDirection == adUp) {
    const Integer next = Height() + kSlideStep;
    if (next >= FRealHeight) {
      PlaceAt(FRealHeight, true);
      // Fully open is no slide: a tick still queued must not pop it up twice.
      FAlertDirection = adNone;
      FPopupTimer->SetEnabled(false);
      if (FCloseDelay != -1) FDelayTimer->SetEnabled(true);
      FFullOpen = true;
      Invalidate();
      DoPopup();
      static constexpr UINT kBeeps[] = {0, MB_ICONEXCLAMATION, MB_ICONHAND, MB_OK, MB_ICONQUESTION, MB_ICONASTERISK};
      if (FPopupSound != msNone) MessageBeep(kBeeps[FPopupSound]);
    } else {
      PlaceAt(next, false);
    }
  } else if (FAlertDirection == adDown) {
    if (Height() <= 0)
      DoClose();
    else
      PlaceAt(std::max(0, Height() - kSlideStep), false);
  }
}

void TPxAlertWindow::DelayTick(TObject*) {
  if (HandleAllocated()) {
    POINT p{};
    RECT r{};
    GetCursorPos(&p);
    GetWindowRect(FHandle, &r);
    if (PtInRect(&r, p)) return;
  }
  FDelayTimer->SetEnabled(false);
  FFullOpen = false;
  FAlertDirection = adDown;
  FPopupTimer->SetEnabled(true);
}

void TPxAlertWindow::DoClose() {
  FAlertDirection = adNone;
  FPopupTimer->SetEnabled(false);
  FDelayTimer->SetEnabled(false);
  if (HandleAllocated()) ShowWindow(FHandle, SW_HIDE);
  if (FRealHeight > 0) SetBounds(Left(), Top(), Width(), FRealHeight);
  FInProgress = false;
  FFullOpen = false;
  LeaveStack();
  if (ComponentState().Contains(csDestroying)) return;
  if (OnClose) OnClose(this);
  if (OnClosing) OnClosing(this);
}

void TPxAlertWindow::DoCloseClick() {
  if (OnCloseClick) OnCloseClick(this);
}

void TPxAlertWindow::DoLinkClick(const String& href) {
  if (OnLinkClick) OnLinkClick(this, href);
}

void TPxAlertWindow::DoOptionsClick() {
  if (OnOptionsClick) OnOptionsClick(this);
}

void TPxAlertWindow::DoPopup() {
  if (OnPopup) OnPopup(this);
}

void TPxAlertWindow::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TPxAlertWindow*>(source);
  if (!other) {
    TCustomControl::Assign(source);
    return;
  }
  FAdaptiveColors = other->FAdaptiveColors;
  FAlignment = other->FAlignment;
  FBackgroundStyle = other->FBackgroundStyle;
  FCaption = other->FCaption;
  SetCloseDelay(other->FCloseDelay);
  SetCloseGlyph(other->FCloseGlyph.get());
  FForegroundColor = other->FForegroundColor;
  FGlyphPosition = other->FGlyphPosition;
  FHeaderFont->Assign(other->FHeaderFont.get());
  FHeaderSize = other->FHeaderSize;
  SetBounds(Left(), Top(), Width(), other->Height());
  FLargeGlyph->Assign(other->FLargeGlyph.get());
  FOptions = other->FOptions;
  FOptionsText = other->FOptionsText;
  FPopupLocation = other->FPopupLocation;
  FPopupSound = other->FPopupSound;
  FSmallGlyph->Assign(other->FSmallGlyph.get());
  FText = other->FText;
  FTextMargins->Assign(other->FTextMargins.get());
  FVerticalAlignment = other->FVerticalAlignment;
  SetBounds(Left(), Top(), other->Width(), Height());
  FWordWrap = other->FWordWrap;
  OnClick = other->OnClick;
  OnClose = other->OnClose;
  OnCloseClick = other->OnCloseClick;
  OnCustomDrawHeader = other->OnCustomDrawHeader;
  OnCustomDrawMessage = other->OnCustomDrawMessage;
  OnLinkClick = other->OnLinkClick;
  OnOptionsClick = other->OnOptionsClick;
  OnPopup = other->OnPopup;
  Invalidate();
}

void TPxAlertWindow::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; break;
    case WM_SIZE:
      TCustomControl::Dispatch(m);
      AutoSizeRule();
      break;
    case CM_TEXTCHANGED:
      TCustomControl::Dispatch(m);
      Invalidate();
      break;
    default: TCustomControl::Dispatch(m);
  }
}

void TPxAlertWindow::Paint() {
  TCanvas& canvas = Canvas();
  if (ComponentState().Contains(csDesigning)) FFixedHeight = Height();
  const TColor foreground = CurrentForegroundColor();
  const TRect client = ClientRect();
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(ShiftBrightness(foreground, -53));
  canvas.FrameRect(client);
  canvas.Brush().SetColor(clWhite);
  canvas.FrameRect(Rect(client.Left + 1, client.Top + 1, client.Right - 1, client.Bottom - 1));
  const TRect header = HeaderRect();
  DrawHeaderBackground(canvas, header);
  DrawHeaderContent(canvas, header);
  const TRect message = MessageRect();
  DrawMessageBackground(canvas, message);
  DrawMessageContent(canvas, message);
  if (FOptions.Contains(aoOptionsLink)) {
    const TRect link = OptionsLinkRect();
    canvas.Font().Assign(&Font());
    canvas.Font().SetColor(clHighlight);
    canvas.Brush().SetStyle(bsClear);
    graphicsprovider::DrawTextRect(canvas, link, taLeftJustify, FOptionsText, bdLeftToRight);
    canvas.Brush().SetStyle(bsSolid);
  }
  if (FOptions.Contains(aoCloseButton)) DrawCloseButton(canvas);
}

void TPxAlertWindow::DrawCloseButton(TCanvas& canvas) {
  TBitmap& glyph =
      FCloseButtonState.Contains(btHover) ? *FCloseGlyph->GetHoverGlyph() : *FCloseGlyph->GetNormalGlyph();
  if (glyph.Empty()) return;
  const TRect r = CloseButtonRect();
  DrawAlphaBitmap(canvas, r.Left, r.Top, glyph);
}

void TPxAlertWindow::DrawHeaderBackground(TCanvas& canvas, const TRect& rect) {
  const TRect r = Rect(rect.Left, rect.Top, rect.Right, rect.Bottom - 2);
  const TColor foreground = CurrentForegroundColor();
  switch (FBackgroundStyle) {
    case btAuto: FillVertGradient(canvas, r, foreground, clWhite); break;
    case btSolid:
      canvas.Brush().SetColor(clWhite);
      canvas.FillRect(r);
      break;
    case btCustom:
      if (ComponentState().Contains(csDesigning)) {
        canvas.Brush().SetColor(clBtnFace);
        canvas.FillRect(r);
      } else if (OnCustomDrawHeader) {
        OnCustomDrawHeader(this, r);
      }
      break;
  }
  const Integer w = ClientWidth();
  canvas.Pen().SetColor(foreground);
  canvas.MoveTo(2, r.Bottom);
  canvas.LineTo(w - 2, r.Bottom);
  canvas.Pen().SetColor(clWhite);
  canvas.MoveTo(2, r.Bottom + 1);
  canvas.LineTo(w - 2, r.Bottom + 1);
}

void TPxAlertWindow::DrawHeaderContent(TCanvas& canvas, const TRect& rect) {
  canvas.Font().Assign(FHeaderFont.get());
  TBitmap& small = *FSmallGlyph->GetNormalGlyph();
  Integer textLeft = 10;
  if (!small.Empty()) {
    DrawAlphaBitmap(canvas, 5, rect.Top + FHeaderSize / 2 - small.Height() / 2 - 1, small);
    textLeft += small.Width();
  }
  // The close button keeps its corner.
  const Integer right = FOptions.Contains(aoCloseButton) ? CloseButtonRect().Left - 2 : ClientWidth();
  canvas.Brush().SetStyle(bsClear);
  DrawEllipsisText(canvas, Rect(textLeft, 2, right, FHeaderSize + 2), FCaption, bdLeftToRight);
  canvas.Brush().SetStyle(bsSolid);
}

void TPxAlertWindow::DrawMessageBackground(TCanvas& canvas, const TRect& rect) {
  switch (FBackgroundStyle) {
    case btAuto: {
      const TColor foreground = CurrentForegroundColor();
      const Integer span = std::max(1, FFixedHeight - FHeaderSize);
      for (Integer y = rect.Top; y <= rect.Bottom; ++y) {
        const double ratio = std::abs(span / 2 - y) / static_cast<double>(span) * 0.5;
        canvas.Pen().SetColor(BlendRatio(ResolveColor(Color()), ResolveColor(foreground), ratio));
        canvas.MoveTo(rect.Left, y);
        canvas.LineTo(rect.Right, y);
      }
      break;
    }
    case btSolid:
      canvas.Brush().SetColor(Color());
      canvas.FillRect(rect);
      break;
    case btCustom:
      if (ComponentState().Contains(csDesigning)) {
        canvas.Brush().SetColor(clBtnFace);
        canvas.FillRect(rect);
      }
      break;
  }
  if (OnCustomDrawMessage) OnCustomDrawMessage(this, rect);
}

void TPxAlertWindow::DrawMessageContent(TCanvas& canvas, const TRect&) {
  TBitmap& large = *FLargeGlyph->GetNormalGlyph();
  const TRect text = TextRect();
  if (!large.Empty()) {
    Integer x = 10;
    Integer y = FHeaderSize + (FFixedHeight - FHeaderSize) / 2 - large.Height() / 2;
    if (FGlyphPosition == gpLeftTop) {
      y = text.Top;
    } else if (FGlyphPosition == gpTop) {
      x = ClientWidth() / 2 - large.Width() / 2;
      y = FHeaderSize + 5;
    }
    DrawAlphaBitmap(canvas, x, y, large);
  }
  if (ComponentState().Contains(csDesigning)) {
    canvas.Brush().SetColor(clGrayText);
    DrawFocusFrame(canvas, text);
  }
  canvas.Font().Assign(&Font());
  canvas.Brush().SetColor(Color());
  if (FOptions.Contains(aoHtmlText)) {
    THtmlInfo info;
    DrawHtmlText(canvas, text, FText, info, wkWordWrap, hmPaint);
  } else {
    DrawTextInRect(canvas, text, FText, FAlignment, FVerticalAlignment, FWordWrap ? wkWordWrap : wkNone, false,
                   false);
  }
}

String TPxAlertWindow::LinkAt(Integer x, Integer y) {
  if (!FOptions.Contains(aoHtmlText) || !HandleAllocated()) return {};
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(&Font());
  THtmlInfo info;
  DrawHtmlText(canvas, TextRect(), FText, info, wkWordWrap, hmHitTest, {}, Point(x, y));
  return info.TagValue;
}

void TPxAlertWindow::MouseMove(TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseMove(shift, x, y);
  if (FOptions.Contains(aoHtmlText)) Screen->SetCursor(LinkAt(x, y).empty() ? Cursor() : crHandPoint);
  const bool inside = CloseButtonRect().Contains(Point(x, y));
  if (inside != FCloseButtonState.Contains(btHover)) {
    if (inside)
      FCloseButtonState.Include(btHover);
    else
      FCloseButtonState.Exclude(btHover);
    InvalidateWithoutErase(*this, CloseButtonRect());
  }
}

void TPxAlertWindow::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxLifeGuard guard(this);
  TCustomControl::MouseUp(button, shift, x, y);
  if (guard.Gone()) return;
  const TPoint p = Point(x, y);
  if (FOptions.Contains(aoOptionsLink) && OptionsLinkRect().Contains(p)) DoOptionsClick();
  if (guard.Gone()) return;
  if (FOptions.Contains(aoHtmlText)) {
    const String href = LinkAt(x, y);
    if (!href.empty()) DoLinkClick(href);
    if (guard.Gone()) return;
  }
  if (FOptions.Contains(aoCloseButton) && CloseButtonRect().Contains(p)) {
    DoCloseClick();
    if (guard.Gone()) return;
    DoClose();
  }
}
