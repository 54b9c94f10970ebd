#include "panelkit/win32/edits.h"
#include "panelkit/win32/lifeguard.h"

#include <algorithm>
#include <cmath>

#include "panelkit/win32/editpublish.h"
#include "panelkit/win32/themes.h"
#include "rtl/exceptions.h"
#include "rtl/floattext.h"
#include "rtl/numbers.h"
#include "rtl/sysstr.h"
#include "ui/clipbrd.h"
#include "ui/forms.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPxEditMargins, "PxEdit")
KST_CLASS_IMPL(TPxEditInfo, "PxEdit")
KST_CLASS_IMPL(TPxCustomEdit, "PxEdit")
KST_CLASS_IMPL(TPxEdit, "PxEdit")

const TTypeInfo& DescribeType(TypeTag<TCustomPreviewDrawEvent>) {
  static const TMethodTypeInfo t(
      u"TCustomPreviewDrawEvent", u"PxEdit", mkProcedure,
      {editpublish::Param(u"Sender", u"TObject"), editpublish::Param(u"PreviewRect", u"TRect", editpublish::kConst)});
  return t;
}

bool TextToBoolean(const String& text) {
  if (CompareText(text, u"True") == 0) return true;
  if (CompareText(text, u"False") == 0) return false;
  long double number = 0;
  if (TryStrToFloat(text, number)) return number != 0;
  throw EConvertError(u"'" + text + u"' is not a valid boolean value");
}

void PaintThemedEditFrame(HWND window) {
  HDC dc = GetWindowDC(window);
  if (!dc) return;
  RECT bounds{};
  GetWindowRect(window, &bounds);
  const TRect r(0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top);
  ExcludeClipRect(dc, r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
  DrawThemeElement(window, dc, r, u"edit", 1, 0);
  ReleaseDC(window, dc);
}

// ---- Margins ----

void TPxEditMargins::Describe(TClassBuilder<TPxEditMargins>& c) {
  c.Property(u"Left", &TPxEditMargins::Left, &TPxEditMargins::SetLeft).Default(0);
  c.Property(u"Right", &TPxEditMargins::Right, &TPxEditMargins::SetRight).Default(0);
}

void TPxEditMargins::SetLeft(Integer value) {
  FLeft = value;
  if (FOwner) FOwner->RecreateWnd();
}

void TPxEditMargins::SetRight(Integer value) {
  FRight = value;
  if (FOwner) FOwner->RecreateWnd();
}

void TPxEditMargins::Assign(const TPersistent* source) {
  if (auto* margins = dynamic_cast<const TPxEditMargins*>(source)) {
    FLeft = margins->FLeft;
    FRight = margins->FRight;
    if (FOwner) FOwner->RecreateWnd();
    return;
  }
  TPersistent::Assign(source);
}

TPersistent* TPxEditMargins::GetOwner() const {
  return FOwner;
}

// ---- Info area ----

void TPxEditInfo::Describe(TClassBuilder<TPxEditInfo>&) {}

TPxEditInfo::TPxEditInfo(TComponent* owner) : TCustomControl(owner), FOwner(dynamic_cast<TPxCustomEdit*>(owner)) {
  SetBounds(0, 0, 0, 0);
}

void TPxEditInfo::WMEraseBkgnd(TMessage& m) {
  m.Result = 1;
}

void TPxEditInfo::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetColor(FOwner ? FOwner->Color() : clWindow);
  canvas.FillRect(ClientRect());
  if (!FOwner) return;
  TBitmap& glyph = *FOwner->FGlyph;
  Integer boxLeft = 0;
  if (!glyph.Empty()) {
    const Integer y = static_cast<Integer>(std::nearbyint(Height() / 2.0 - glyph.Height() / 2.0));
    canvas.Draw(0, y, glyph);
    boxLeft = glyph.Width() + 2;
  }
  if (!FOwner->FShowPreview) return;
  TRect box(boxLeft, 0, boxLeft + 20, Height());
  if (FOwner->FPreviewBorder) {
    canvas.Brush().SetColor(static_cast<TColor>(0x808080));
    canvas.FrameRect(box);
    box.Inflate(-1, -1);
  }
  FOwner->DrawPreview(canvas, box);
}

void TPxEditInfo::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxLifeGuard guard(this);
  TCustomControl::MouseDown(button, shift, x, y);
  if (guard.Gone() || !FOwner) return;
  FOwner->InfoMouseDown(this, button, shift, x, y);
  if (guard.Gone()) return;
  const TBitmap& glyph = *FOwner->FGlyph;
  if (!glyph.Empty() && x >= 0 && y >= 0 && x < glyph.Width() && y < Height()) FOwner->DoGlyphClick();
}

// ---- The edit base ----

void TPxCustomEdit::Describe(TClassBuilder<TPxCustomEdit>& c) {
  editpublish::Base(c);
}

TPxCustomEdit::TPxCustomEdit(TComponent* owner)
    : TCustomEdit(owner),
      FCanvas(std::make_unique<TControlCanvas>(this)),
      FEditMargins(std::make_unique<TPxEditMargins>(this)),
      FGlyph(std::make_unique<TBitmap>()) {
  FInfo = new TPxEditInfo(this);
  FInfo->SetVisible(false);
  FInfo->SetParent(this);
  FInfo->OnMouseDown = TMouseEvent(this, &TPxCustomEdit::InfoMouseDown);
  FGlyph->OnChange = TNotifyEvent(this, &TPxCustomEdit::GlyphChanged);
  SetBounds(Left(), Top(), 121, 20);
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  // The program's cursor resource, shared and never freed; a program without
  // it shows the standard arrow for that number.
  if (HCURSOR reversed = LoadCursorW(GetModuleHandleW(nullptr), L"REVERSEDARROW"); reversed && Screen)
    Screen->SetCursors(crReversedArrow, reversed);
}

TPxCustomEdit::~TPxCustomEdit() {
  FGlyph->OnChange = {};
  delete FInfo;
  FInfo = nullptr;
}

void TPxCustomEdit::CreateParams(TCreateParams& params) {
  TCustomEdit::CreateParams(params);
  static const DWORD alignments[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  params.Style |= WS_CLIPCHILDREN | ES_AUTOHSCROLL | ES_AUTOVSCROLL | alignments[FAlignment];
  if (FPasswordChar) params.Style |= ES_PASSWORD;
}

void TPxCustomEdit::CreateWnd() {
  TCustomEdit::CreateWnd();
  if (FPasswordChar) SendMessageW(FHandle, EM_SETPASSWORDCHAR, static_cast<WPARAM>(FPasswordChar), 0);
  ApplyMargins();
}

void TPxCustomEdit::SetPasswordChar(Char value) {
  if (value == FPasswordChar) return;
  FPasswordChar = value;
  RecreateWnd();
}

void TPxCustomEdit::SetAlignment(TAlignment value) {
  FAlignment = value;
  RecreateWnd();
}

void TPxCustomEdit::SetEditMargins(const TPxEditMargins* value) {
  if (value) FEditMargins->Assign(value);
}

void TPxCustomEdit::SetGlyph(const TBitmap* value) {
  if (value)
    FGlyph->Assign(value);
  else
    FGlyph->Assign(nullptr);
  GlyphChanged(FGlyph.get());
}

void TPxCustomEdit::GlyphChanged(TObject*) {
  TBitmap& glyph = *FGlyph;
  if (!glyph.Empty()) {
    glyph.OnChange = {};
    glyph.SetTransparentColor(glyph.Canvas().Pixels(0, glyph.Height() - 1));
    glyph.SetTransparent(true);
    glyph.OnChange = TNotifyEvent(this, &TPxCustomEdit::GlyphChanged);
  }
  UpdateInfoBounds();
  ApplyMargins();
  RecreateWnd();
}

void TPxCustomEdit::SetPreviewBorder(bool value) {
  FPreviewBorder = value;
  RefreshPreview();
}

void TPxCustomEdit::SetShowPreview(bool value) {
  FShowPreview = value;
  ApplyMargins();
  UpdateInfoBounds();
  Invalidate();
}

void TPxCustomEdit::AdjustEditMargins(Integer& left, Integer& /*right*/) {
  if (FShowPreview) left = left * 2 + 25;
  if (!FGlyph->Empty()) left += FGlyph->Width() + 4;
}

void TPxCustomEdit::ApplyMargins() {
  Integer left = FEditMargins->Left();
  Integer right = FEditMargins->Right();
  AdjustEditMargins(left, right);
  FAppliedMargins = Point(left, right);
  if (HandleAllocated())
    SendMessageW(FHandle, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                 MAKELONG(static_cast<WORD>(left), static_cast<WORD>(right)));
}

void TPxCustomEdit::UpdateInfoBounds() {
  if (!FInfo) return;
  Integer width = FGlyph->Empty() ? 0 : FGlyph->Width() + 4;
  if (FShowPreview) width += 20;
  FInfo->SetBounds(0, 0, width, ClientHeight());
  FInfo->SetVisible(FShowPreview || !FGlyph->Empty());
}

TRect TPxCustomEdit::GetPreviewRect() const {
  TRect r = ClientRect();
  r.Left += FGlyph->Empty() ? 0 : FGlyph->Width() + 4;
  r.Right = r.Left + 20;
  return r;
}

void TPxCustomEdit::RefreshPreview() {
  (void)GetPreviewRect();
  if (FInfo) FInfo->Invalidate();
}

void TPxCustomEdit::DrawPreview(TCanvas& /*canvas*/, const TRect& rect) {
  DoCustomPreviewDraw(rect);
}

void TPxCustomEdit::InfoMouseDown(TObject*, TMouseButton, TShiftState, Integer, Integer) {}

void TPxCustomEdit::DoCustomPreviewDraw(const TRect& rect) {
  if (OnCustomPreviewDraw && CanFireEvents()) OnCustomPreviewDraw(this, TRect(rect));
}

void TPxCustomEdit::DoGlyphClick() {
  if (OnGlyphClick && CanFireEvents()) OnGlyphClick(this);
}

void TPxCustomEdit::PressKey(Char key) {
  if (HandleAllocated()) SendMessageW(FHandle, WM_CHAR, static_cast<WPARAM>(key), 0);
}

bool TPxCustomEdit::GetValueAsBoolean() const {
  return TextToBoolean(Text());
}

TDateTime TPxCustomEdit::GetValueAsDateTime() const {
  const String text = Text();
  return text.empty() ? TDateTime(0) : StrToDateTime(text);
}

double TPxCustomEdit::GetValueAsFloat() const {
  const String text = Text();
  return text.empty() ? 0.0 : static_cast<double>(StrToFloat(text));
}

Integer TPxCustomEdit::GetValueAsInteger() const {
  const String text = Text();
  return text.empty() ? 0 : StrToInt(text);
}

String TPxCustomEdit::GetValueAsString() const {
  return Text();
}

void TPxCustomEdit::SetValueAsBooleanImpl(bool value) {
  SetText(value ? u"True" : u"False");
}

void TPxCustomEdit::SetValueAsDateTimeImpl(TDateTime value) {
  SetText(DateTimeToStr(value));
}

void TPxCustomEdit::SetValueAsFloatImpl(double value) {
  SetText(FloatToStr(value));
}

void TPxCustomEdit::SetValueAsIntegerImpl(Integer value) {
  SetText(IntToStr(value));
}

void TPxCustomEdit::SetValueAsStringImpl(const String& value) {
  SetText(value);
}

void TPxCustomEdit::CMEnabledChanged(TMessage& m) {
  TCustomEdit::CMEnabledChanged(m);
  for (Integer i = 0; i < ComponentCount(); ++i)
    if (auto* control = dynamic_cast<TControl*>(Components(i))) control->Invalidate();
}

void TPxCustomEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE:
      TCustomEdit::Dispatch(m);
      m.Result |= DLGC_WANTARROWS;
      if (FWantTabs)
        m.Result |= DLGC_WANTTAB;
      else
        m.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomEdit::Dispatch(m);
      if (FInfo && FInfo->Visible()) FInfo->Invalidate();
      return;
    case WM_ERASEBKGND:
      if (CanEditText()) {
        TCustomEdit::Dispatch(m);
      }
      m.Result = 1;
      return;
    default: TCustomEdit::Dispatch(m); return;
  }
}

// ---- The concrete edit ----

void TPxEdit::Describe(TClassBuilder<TPxEdit>&) {}

TPxEdit::TPxEdit(TComponent* owner) : TPxCustomEdit(owner) {}

void TPxEdit::Change() {
  TPxCustomEdit::Change();
  TextChanged();
}

void TPxEdit::BeginEditing() {
  SetSelStart(static_cast<Integer>(Text().size()));
}

void TPxEdit::SetValueAsStringImpl(const String& value) {
  SetText(value);
}

bool TPxEdit::OverInfoArea(Integer x) const {
  const Integer right = Info().Visible() ? Info().Left() + Info().Width() : 0;
  return x <= right + 2 && Info().Visible();
}

void TPxEdit::MouseMove(TShiftState shift, Integer x, Integer y) {
  SetCursor(OverInfoArea(x) ? crReversedArrow : crDefault);
  TPxCustomEdit::MouseMove(shift, x, y);
}

void TPxEdit::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxCustomEdit::MouseDown(button, shift, x, y);
  if (OverInfoArea(x)) SelectAll();
}

void TPxEdit::PaintThemedBorder() {
  if (IsThemed() && BorderStyle() == bsSingle && HandleAllocated()) PaintThemedEditFrame(FHandle);
}

void TPxEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT:
      TPxCustomEdit::Dispatch(m);
      PaintThemedBorder();
      return;
    case WM_PAINT:
      TPxCustomEdit::Dispatch(m);
      if (!CanEditText()) PaintDisplay();
      return;
    case WM_SIZE:
      TPxCustomEdit::Dispatch(m);
      ApplyMargins();
      UpdateInfoBounds();
      return;
    case WM_WINDOWPOSCHANGED:
      TPxCustomEdit::Dispatch(m);
      if (!ComponentState().Contains(csDestroying)) {
        Invalidate();
        UpdateInfoBounds();
        Info().Invalidate();
      }
      return;
    case CM_FONTCHANGED:
      TPxCustomEdit::Dispatch(m);
      ApplyMargins();
      return;
    default: TPxCustomEdit::Dispatch(m); return;
  }
}

TPasteParts TakePasteParts(const TCustomEdit& edit) {
  TPasteParts parts;
  if (Clipboard().HasFormat(CF_UNICODETEXT) || Clipboard().HasFormat(CF_TEXT)) parts.Pasted = Clipboard().AsText();
  parts.Text = edit.Text();
  const auto size = static_cast<Integer>(parts.Text.size());
  parts.Start = std::clamp<Integer>(edit.SelStart(), 0, size);
  const Integer length = std::clamp<Integer>(edit.SelLength(), 0, size - parts.Start);
  parts.Text.erase(static_cast<size_t>(parts.Start), static_cast<size_t>(length));
  return parts;
}
