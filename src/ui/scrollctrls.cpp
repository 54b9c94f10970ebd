#include "ui/scrollctrls.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/buttons.h"
#include "ui/db.h"
#include "ui/extctrls.h"
#include "ui/imglist.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TScrollBar, "StdCtrls")
KST_CLASS_IMPL(THeaderSection, "ComCtrls")
KST_CLASS_IMPL(THeaderSections, "ComCtrls")
KST_CLASS_IMPL(THeaderControl, "ComCtrls")
KST_CLASS_IMPL(THeader, "ExtCtrls")
KST_CLASS_IMPL(TPageScroller, "ComCtrls")
KST_CLASS_IMPL(TSpinButton, "Spin")
KST_CLASS_IMPL(TScroller, "Tabs")

const TTypeInfo& DescribeType(TypeTag<TScrollCode>) {
  static const TEnumTypeInfo t(u"TScrollCode", u"StdCtrls",
                               {u"scLineUp", u"scLineDown", u"scPageUp", u"scPageDown", u"scPosition", u"scTrack",
                                u"scTop", u"scBottom", u"scEndScroll"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TScrollEvent>) {
  static const TMethodTypeInfo t(u"TScrollEvent", u"StdCtrls", mkProcedure,
                                 {TMethodParam{0, u"Sender", u"TObject"}, TMethodParam{0, u"ScrollCode", u"TScrollCode"},
                                  TMethodParam{ParamFlagBit(pfVar), u"ScrollPos", u"Integer"}});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<THeaderSectionStyle>) {
  static const TEnumTypeInfo t(u"THeaderSectionStyle", u"ComCtrls", {u"hsText", u"hsOwnerDraw"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<comctrls::THeaderStyle>) {
  static const TEnumTypeInfo t(u"THeaderStyle", u"ComCtrls", {u"hsButtons", u"hsFlat"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TPageScrollerOrientation>) {
  static const TEnumTypeInfo t(u"TPageScrollerOrientation", u"ComCtrls", {u"soHorizontal", u"soVertical"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TSectionNotifyEvent>) {
  static const TMethodTypeInfo t(
      u"TSectionNotifyEvent", u"ComCtrls", mkProcedure,
      {TMethodParam{0, u"HeaderControl", u"THeaderControl"}, TMethodParam{0, u"Section", u"THeaderSection"}});
  return t;
}
const TMethodTypeInfo& SectionEventType() {
  static const TMethodTypeInfo t(u"TSectionEvent", u"ExtCtrls", mkProcedure,
                                 {TMethodParam{0, u"Sender", u"TObject"}, TMethodParam{0, u"ASection", u"Integer"},
                                  TMethodParam{0, u"AWidth", u"Integer"}});
  return t;
}

// ---------------------------------------------------------------------------
// Scroll bar

void TScrollBar::Describe(TClassBuilder<TScrollBar>& c) {
  publish::WinControlBundle(c);
  c.Property(u"Kind", &TScrollBar::Kind, &TScrollBar::SetKind).Default(sbHorizontal);
  c.Property(u"LargeChange", &TScrollBar::LargeChange).Default(1);
  c.Property(u"Max", &TScrollBar::Max, &TScrollBar::SetMax).Default(100);
  c.Property(u"Min", &TScrollBar::Min, &TScrollBar::SetMin).Default(0);
  c.Property(u"PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize);
  c.Property(u"Position", &TScrollBar::Position, &TScrollBar::SetPosition).Default(0);
  c.Property(u"SmallChange", &TScrollBar::SmallChange).Default(1);
  c.Property(u"OnChange", &TScrollBar::OnChange);
  c.Property(u"OnScroll", &TScrollBar::OnScroll);
}

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(Left(), Top(), 121, GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
}

void TScrollBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"SCROLLBAR");
  params.Style |= FKind == sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::CreateWnd() {
  TWinControl::CreateWnd();
  ApplyScrollInfo();
}

void TScrollBar::ApplyScrollInfo() {
  if (!HandleAllocated()) return;
  SCROLLINFO info{sizeof info, SIF_ALL | SIF_DISABLENOSCROLL, FMin, FMax, static_cast<UINT>(FPageSize), FPosition, 0};
  SetScrollInfo(FHandle, SB_CTL, &info, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind value) {
  if (value == FKind) return;
  FKind = value;
  // A form turns a bar upright by its kind: the sizes swap unless it is loading.
  if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TScrollBar::SetParams(Integer position, Integer min, Integer max) {
  // While a form loads, Min may come after Max: the range is checked when both stand.
  if (max < min && !ComponentState().Contains(csLoading)) max = min;
  const bool changed = position != FPosition;
  FMin = min;
  FMax = max;
  FPosition = ComponentState().Contains(csLoading) ? position : std::clamp(position, FMin, std::max(FMin, FMax));
  ApplyScrollInfo();
  if (changed && FPosition == position && OnChange && !ComponentState().Contains(csLoading)) OnChange(this);
}

void TScrollBar::SetPageSize(Integer value) {
  FPageSize = std::max<Integer>(0, value);
  ApplyScrollInfo();
}

void TScrollBar::Scroll(TScrollCode code, Integer position) {
  Integer next = FPosition;
  switch (code) {
    case scLineUp: next -= SmallChange; break;
    case scLineDown: next += SmallChange; break;
    case scPageUp: next -= LargeChange; break;
    case scPageDown: next += LargeChange; break;
    case scPosition:
    case scTrack: next = position; break;
    case scTop: next = FMin; break;
    case scBottom: next = FMax; break;
    case scEndScroll: break;
  }
  next = std::clamp(next, FMin, std::max(FMin, FMax - std::max<Integer>(FPageSize - 1, 0)));
  if (OnScroll) OnScroll(this, code, next);
  SetPosition(next);
}

void TScrollBar::Dispatch(TMessage& m) {
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
    GetScrollInfo(FHandle, SB_CTL, &info);
    Scroll(static_cast<TScrollCode>(std::min<Integer>(LOWORD(m.WParam), scEndScroll)), info.nTrackPos);
    m.Result = 0;
    return;
  }
  TWinControl::Dispatch(m);
}

// ---------------------------------------------------------------------------
// Header control

void THeaderSection::Describe(TClassBuilder<THeaderSection>& c) {
  c.Property(u"Alignment", &THeaderSection::Alignment).Default(taLeftJustify);
  c.Property(u"AllowClick", &THeaderSection::AllowClick).Default(1);
  c.Property(u"AutoSize", &THeaderSection::AutoSize).Default(0);
  c.Property(u"ImageIndex", &THeaderSection::ImageIndex).Default(-1);
  c.Property(u"MaxWidth", &THeaderSection::MaxWidth).Default(10000);
  c.Property(u"MinWidth", &THeaderSection::MinWidth).Default(0);
  c.Property(u"Style", &THeaderSection::Style).Default(hsText);
  c.Property(u"Text", &THeaderSection::Text);
  c.Property(u"Width", &THeaderSection::Width, &THeaderSection::SetWidth);
}

THeaderSection::THeaderSection(TCollection* collection) : TCollectionItem(collection) {}

void THeaderSection::SetWidth(Integer value) {
  FWidth = std::max<Integer>(0, value);
  Changed(true);
}

Integer THeaderSection::Left() const {
  Integer left = 0;
  for (int i = 0; i < Index(); ++i) left += static_cast<THeaderSection*>(Collection()->Items(i))->Width();
  return left;
}

String THeaderSection::DisplayName() const {
  return Text.empty() ? TCollectionItem::DisplayName() : Text;
}

void THeaderSection::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const THeaderSection*>(source)) {
    Text = other->Text;
    FWidth = other->FWidth;
    MinWidth = other->MinWidth;
    MaxWidth = other->MaxWidth;
    ImageIndex = other->ImageIndex;
    Alignment = other->Alignment;
    AllowClick = other->AllowClick;
    AutoSize = other->AutoSize;
    Style = other->Style;
    Changed(true);
    return;
  }
  TCollectionItem::Assign(source);
}

void THeaderSections::Describe(TClassBuilder<THeaderSections>&) {}

THeaderSections::THeaderSections(THeaderControl* header) : TCollection(THeaderSection::StaticClass()), FHeader(header) {}

TPersistent* THeaderSections::GetOwner() const {
  return FHeader;
}

void THeaderSections::Update(TCollectionItem*) {
  if (FHeader) FHeader->UpdateSections();
}

void THeaderControl::Describe(TClassBuilder<THeaderControl>& c) {
  publish::WinControlBundle(c);
  c.Property(u"DragReorder", &THeaderControl::DragReorder).Default(0);
  c.Property(u"FullDrag", &THeaderControl::FullDrag).Default(1);
  c.Property(u"HotTrack", &THeaderControl::HotTrack).Default(0);
  c.Property(
      u"Images", [](const THeaderControl& o) { return o.Images; },
      [](THeaderControl& o, TCustomImageList* v) { FollowComponent(o, o.Images, v); });
  c.Property(u"Sections", &THeaderControl::GetSections, &THeaderControl::SetSections);
  c.Property(u"Style", &THeaderControl::Style).Default(comctrls::hsButtons);
  c.Property(u"OnSectionClick", &THeaderControl::OnSectionClick);
  c.Property(u"OnSectionResize", &THeaderControl::OnSectionResize);
  publish::ResizeEvents(c);
}

THeaderControl::THeaderControl(TComponent* owner)
    : TCommonControl(owner, WC_HEADERW, ICC_LISTVIEW_CLASSES), FSections(std::make_unique<THeaderSections>(this)) {
  SetBounds(Left(), Top(), 200, 17);
  SetAlign(alTop);
}

THeaderControl::~THeaderControl() = default;

void THeaderControl::SetSections(const THeaderSections* sections) {
  if (sections) FSections->Assign(sections);
}

void THeaderControl::CreateParams(TCreateParams& params) {
  TCommonControl::CreateParams(params);
  params.Style |= HDS_HORZ | HDS_FULLDRAG;
  if (Style == comctrls::hsButtons) params.Style |= HDS_BUTTONS;
  if (HotTrack) params.Style |= HDS_HOTTRACK;
  if (DragReorder) params.Style |= HDS_DRAGDROP;
}

void THeaderControl::ApplyToWindow() {
  UpdateSections();
}

void THeaderControl::UpdateSections() {
  if (!HandleAllocated()) return;
  for (LRESULT count = Send(HDM_GETITEMCOUNT); count > 0; --count)
    if (!Send(HDM_DELETEITEM, 0)) break;
  static const int formats[] = {HDF_LEFT, HDF_RIGHT, HDF_CENTER};
  for (int i = 0; i < FSections->Count(); ++i) {
    THeaderSection* section = FSections->Items(i);
    std::wstring text = WStr(section->Text);
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.cxy = section->Width();
    item.pszText = text.data();
    item.fmt = (section->Style == hsOwnerDraw ? HDF_OWNERDRAW : HDF_STRING) | formats[section->Alignment];
    Send(HDM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
}

Integer THeaderControl::ItemCount() {
  return static_cast<Integer>(Send(HDM_GETITEMCOUNT));
}

void THeaderControl::Notification(TComponent* component, TOperation operation) {
  TCommonControl::Notification(component, operation);
  if (operation == opRemove && component == Images) Images = nullptr;
}

// ---------------------------------------------------------------------------
// The older header

void THeader::Describe(TClassBuilder<THeader>& c) {
  publish::WinControlBundle(c);
  c.Property(u"AllowResize", &THeader::AllowResize).Default(1);
  c.Property(u"BorderStyle", &THeader::BorderStyle, &THeader::SetBorderStyle, &BorderStyleType()).Default(bsSingle);
  c.Property(u"Sections", &THeader::GetSections, &THeader::SetSections);
  c.Property(u"OnSized", &THeader::OnSized, &SectionEventType());
  c.Property(u"OnSizing", &THeader::OnSizing, &SectionEventType());
}

THeader::THeader(TComponent* owner) : TCustomControl(owner), FSections(std::make_unique<TStringList>()) {
  SetBounds(Left(), Top(), 250, 25);
  FSections->OnChange = TNotifyEvent([this](TObject*) { Invalidate(); });
}

THeader::~THeader() = default;

void THeader::SetSections(const TStrings* sections) {
  if (sections) FSections->Assign(*sections);
}

void THeader::SetBorderStyle(TFormBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  RecreateWnd();
}

void THeader::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (FBorderStyle == bsSingle) params.Style |= WS_BORDER;
}

Integer THeader::SectionWidth(Integer index) {
  if (index < 0 || index >= FSections->Count()) return 0;
  Canvas().Font().Assign(&Font());
  if (index == FSections->Count() - 1) {
    Integer left = 0;
    for (Integer i = 0; i < index; ++i) left += SectionWidth(i);
    return std::max<Integer>(ClientWidth() - left, 0);
  }
  return Canvas().TextWidth(FSections->Get(index)) + 12;
}

void THeader::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetColor(clBtnFace);
  canvas.FillRect(ClientRect());
  Integer left = 0;
  for (Integer i = 0; i < FSections->Count(); ++i) {
    const Integer width = SectionWidth(i);
    TRect box = Rect(left, 0, left + width, ClientHeight());
    Frame3D(canvas, box, clBtnHighlight, clBtnShadow, 1);
    canvas.Font().Assign(&Font());
    canvas.Brush().SetStyle(bsClear);
    canvas.TextRect(box, box.Left + 4, (ClientHeight() - canvas.TextHeight(u"Ag")) / 2, FSections->Get(i));
    canvas.Brush().SetStyle(bsSolid);
    left += width;
  }
}

// ---------------------------------------------------------------------------
// Page scroller

void TPageScroller::Describe(TClassBuilder<TPageScroller>& c) {
  publish::WinControlBundle(c);
  c.Property(u"AutoScroll", &TPageScroller::AutoScroll).Default(0);
  c.Property(u"ButtonSize", &TPageScroller::ButtonSize).Default(12);
  c.Property(u"Control", &TPageScroller::Control, &TPageScroller::SetControl);
  c.Property(u"DragScroll", &TPageScroller::DragScroll).Default(1);
  c.Property(u"Margin", &TPageScroller::Margin).Default(0);
  c.Property(u"Orientation", &TPageScroller::Orientation).Default(soHorizontal);
  c.Property(u"Position", &TPageScroller::Position, &TPageScroller::SetPosition).Default(0);
  publish::ResizeEvents(c);
}

TPageScroller::TPageScroller(TComponent* owner) : TCommonControl(owner, WC_PAGESCROLLERW, ICC_PAGESCROLLER_CLASS) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks};
  SetBounds(Left(), Top(), 150, 45);
}

void TPageScroller::SetControl(TWinControl* control) {
  FollowComponent(*this, FControl, control);
  AttachControl();
}

Integer TPageScroller::Position() const {
  return HandleAllocated() ? static_cast<Integer>(SendMessageW(FHandle, PGM_GETPOS, 0, 0)) : FPosition;
}

void TPageScroller::SetPosition(Integer value) {
  FPosition = std::max<Integer>(0, value);
  Send(PGM_SETPOS, 0, FPosition);
}

void TPageScroller::CreateParams(TCreateParams& params) {
  TCommonControl::CreateParams(params);
  params.Style |= Orientation == soHorizontal ? PGS_HORZ : PGS_VERT;
  if (AutoScroll) params.Style |= PGS_AUTOSCROLL;
  if (DragScroll) params.Style |= PGS_DRAGNDROP;
}

void TPageScroller::ApplyToWindow() {
  Send(PGM_SETBUTTONSIZE, 0, ButtonSize);
  Send(PGM_SETBORDER, 0, Margin);
  AttachControl();
}

// The children's windows are made after the pager's; the pager takes its
// child when they are shown.
void TPageScroller::CMShowingChanged(TMessage& m) {
  TCommonControl::CMShowingChanged(m);
  AttachControl();
}

// A child that is not the pager's own window child cannot be paged.
void TPageScroller::AttachControl() {
  if (!HandleAllocated()) return;
  HWND child = FControl && FControl->Parent() == this && FControl->HandleAllocated() ? FControl->Handle() : nullptr;
  Send(PGM_SETCHILD, 0, reinterpret_cast<LPARAM>(child));
  if (child) Send(PGM_SETPOS, 0, FPosition);
}

void TPageScroller::Dispatch(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    if (header && header->code == PGN_CALCSIZE) {
      // The child's own size is what there is to scroll.
      auto* size = reinterpret_cast<NMPGCALCSIZE*>(m.LParam);
      if (FControl) {
        if (size->dwFlag == PGF_CALCWIDTH) size->iWidth = FControl->Width();
        if (size->dwFlag == PGF_CALCHEIGHT) size->iHeight = FControl->Height();
      }
      m.Result = 0;
      return;
    }
  }
  TCommonControl::Dispatch(m);
}

void TPageScroller::Notification(TComponent* component, TOperation operation) {
  TCommonControl::Notification(component, operation);
  if (operation == opRemove && component == FControl) {
    FControl = nullptr;
    Send(PGM_SETCHILD, 0, 0);
  }
}

// ---------------------------------------------------------------------------
// Spin button

void TSpinButton::Describe(TClassBuilder<TSpinButton>& c) {
  publish::WinControlBundle(c);
  c.Property(u"DownGlyph", &TSpinButton::GetDownGlyph, &TSpinButton::SetDownGlyph);
  c.Property(u"DownNumGlyphs", &TSpinButton::DownNumGlyphs, &NumGlyphsType()).Default(1);
  c.Property(u"FocusControl", &TSpinButton::FocusControl, &TSpinButton::SetFocusControl);
  c.Property(u"UpGlyph", &TSpinButton::GetUpGlyph, &TSpinButton::SetUpGlyph);
  c.Property(u"UpNumGlyphs", &TSpinButton::UpNumGlyphs, &NumGlyphsType()).Default(1);
  c.Property(u"OnDownClick", &TSpinButton::OnDownClick);
  c.Property(u"OnUpClick", &TSpinButton::OnUpClick);
}

TSpinButton::TSpinButton(TComponent* owner)
    : TCustomControl(owner), FUpGlyph(std::make_unique<TBitmap>()), FDownGlyph(std::make_unique<TBitmap>()) {
  FControlStyle = {csCaptureMouse, csClickEvents, csOpaque};
  SetBounds(Left(), Top(), 20, 25);
}

TSpinButton::~TSpinButton() = default;

void TSpinButton::SetUpGlyph(const TBitmap* glyph) {
  if (glyph) FUpGlyph->Assign(glyph);
  Invalidate();
}
void TSpinButton::SetDownGlyph(const TBitmap* glyph) {
  if (glyph) FDownGlyph->Assign(glyph);
  Invalidate();
}
void TSpinButton::SetFocusControl(TWinControl* control) {
  FollowComponent(*this, FFocusControl, control);
}

TRect TSpinButton::UpRect() const {
  return Rect(0, 0, Width(), Height() / 2);
}
TRect TSpinButton::DownRect() const {
  return Rect(0, Height() / 2, Width(), Height());
}

namespace {

// A glyph of the form's when it has one, else the system's arrow.
void DrawArrowButton(TCanvas& canvas, const TRect& box, TBitmap& glyph, Integer numGlyphs, UINT arrow, bool pressed) {
  RECT r{box.Left, box.Top, box.Right, box.Bottom};
  if (glyph.Empty()) {
    DrawFrameControl(canvas.Handle(), &r, DFC_SCROLL, arrow | (pressed ? DFCS_PUSHED : 0));
    return;
  }
  DrawFrameControl(canvas.Handle(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  const Integer width = glyph.Width() / std::clamp<Integer>(numGlyphs, 1, 4);
  const TRect source = Rect(0, 0, width, glyph.Height());
  const Integer x = (box.Left + box.Right - width) / 2, y = (box.Top + box.Bottom - glyph.Height()) / 2;
  canvas.CopyRect(Rect(x, y, x + width, y + glyph.Height()), glyph.Canvas(), source);
}

}  // namespace

void TSpinButton::Paint() {
  DrawArrowButton(Canvas(), UpRect(), *FUpGlyph, UpNumGlyphs, DFCS_SCROLLUP, FPressed == 1);
  DrawArrowButton(Canvas(), DownRect(), *FDownGlyph, DownNumGlyphs, DFCS_SCROLLDOWN, FPressed == 2);
}

void TSpinButton::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  if (FFocusControl && FFocusControl->CanFocus()) FFocusControl->SetFocus();
  const bool up = y < Height() / 2;
  if (up && OnUpClick) OnUpClick(this);
  if (!up && OnDownClick) OnDownClick(this);
}

void TSpinButton::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

// ---------------------------------------------------------------------------
// Scroller

void TScroller::Describe(TClassBuilder<TScroller>& c) {
  c.Property(u"Change", &TScroller::Change).Default(1);
  c.Property(u"Max", &TScroller::Max).Default(0);
  c.Property(u"Min", &TScroller::Min).Default(0);
  c.Property(u"Position", &TScroller::Position, &TScroller::SetPosition).Default(0);
  c.Property(u"OnClick", &TScroller::OnClick);
}

TScroller::TScroller(TComponent* owner) : TCustomControl(owner) {
  FControlStyle = {csCaptureMouse, csClickEvents, csOpaque};
  SetBounds(Left(), Top(), 35, 17);
}

void TScroller::SetPosition(Integer value) {
  FPosition = ComponentState().Contains(csLoading) ? value : std::clamp(value, Min, std::max(Min, Max));
  Invalidate();
}

void TScroller::Paint() {
  const Integer half = Width() / 2;
  RECT left{0, 0, half, Height()}, right{half, 0, Width(), Height()};
  DrawFrameControl(Canvas().Handle(), &left, DFC_SCROLL, DFCS_SCROLLLEFT | (FPosition <= Min ? DFCS_INACTIVE : 0));
  DrawFrameControl(Canvas().Handle(), &right, DFC_SCROLL, DFCS_SCROLLRIGHT | (FPosition >= Max ? DFCS_INACTIVE : 0));
}

void TScroller::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  SetPosition(FPosition + (x < Width() / 2 ? -Change : Change));
}

void RegisterScrollControlClasses(TClassRegistry& registry) {
  registry.RegisterClasses({&TScrollBar::StaticClass(), &THeaderSection::StaticClass(),
                            &THeaderSections::StaticClass(), &THeaderControl::StaticClass(), &THeader::StaticClass(),
                            &TPageScroller::StaticClass(), &TSpinButton::StaticClass(), &TScroller::StaticClass()},
                           u"ui");
  for (const TTypeInfo* type :
       {&DescribeType(TypeTag<TScrollCode>{}), &DescribeType(TypeTag<TScrollEvent>{}),
        &DescribeType(TypeTag<THeaderSectionStyle>{}), &DescribeType(TypeTag<comctrls::THeaderStyle>{}),
        &DescribeType(TypeTag<TPageScrollerOrientation>{}), &DescribeType(TypeTag<TSectionNotifyEvent>{}),
        static_cast<const TTypeInfo*>(&SectionEventType())})
    registry.RegisterType(*type);
}
