#include "ui/controls.h"

#include <algorithm>

#include "classes/filer.h"
#include "classes/identmaps.h"
#include "rtl/format.h"
#include "ui/actnlist.h"
#include "ui/forms.h"
#include "ui/menus.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TSizeConstraints, "Controls")
KST_CLASS_IMPL(TControl, "Controls")
KST_CLASS_IMPL(TWinControl, "Controls")
KST_CLASS_IMPL(TCustomControl, "Controls")
KST_CLASS_IMPL(TGraphicControl, "Controls")

namespace {

const wchar_t kControlProperty[] = L"KestrumControl";

// The control whose window is being made: its first message binds the two.
thread_local TWinControl* creatingControl = nullptr;
TControl* captureControl = nullptr;
std::vector<TControlCanvas*> canvasList;

HINSTANCE ModuleInstance() {
  return GetModuleHandleW(nullptr);
}


}  // namespace

// ---------------------------------------------------------------------------
// Shift states

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState s;
  if (keys & MK_SHIFT) s.Include(ssShift);
  if (keys & MK_CONTROL) s.Include(ssCtrl);
  if (keys & MK_LBUTTON) s.Include(ssLeft);
  if (keys & MK_RBUTTON) s.Include(ssRight);
  if (keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (keyData & 0x20000000) s.Include(ssAlt);
  return s;
}

TShiftState KeyboardStateToShiftState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  if (GetKeyState(VK_LBUTTON) < 0) s.Include(ssLeft);
  if (GetKeyState(VK_RBUTTON) < 0) s.Include(ssRight);
  if (GetKeyState(VK_MBUTTON) < 0) s.Include(ssMiddle);
  return s;
}

String GetShortHint(const String& hint) {
  size_t bar = hint.find(u'|');
  return bar == String::npos ? hint : hint.substr(0, bar);
}

String GetLongHint(const String& hint) {
  size_t bar = hint.find(u'|');
  return bar == String::npos ? hint : hint.substr(bar + 1);
}

// ---------------------------------------------------------------------------
// Type descriptions

const TTypeInfo& DescribeType(TypeTag<TAlign>) {
  static const TEnumTypeInfo t(u"TAlign", u"Controls",
                               {u"alNone", u"alTop", u"alBottom", u"alLeft", u"alRight", u"alClient", u"alCustom"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TAnchorKind>) {
  static const TEnumTypeInfo t(u"TAnchorKind", u"Controls", {u"akLeft", u"akTop", u"akRight", u"akBottom"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TAnchors>) {
  static const TSetTypeInfo t(u"TAnchors", u"Controls",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TAnchorKind>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TFormBorderStyle>) {
  static const TEnumTypeInfo t(u"TFormBorderStyle", u"Forms",
                               {u"bsNone", u"bsSingle", u"bsSizeable", u"bsDialog", u"bsToolWindow", u"bsSizeToolWin"});
  return t;
}
const TEnumTypeInfo& BorderStyleType() {
  static const TEnumTypeInfo t(u"TBorderStyle", u"Forms",
                               static_cast<const TEnumTypeInfo&>(DescribeType(TypeTag<TFormBorderStyle>{})), 0, 1);
  return t;
}
const TOrdinalTypeInfo& ModalResultType() {
  static const TOrdinalTypeInfo t(tkInteger, u"TModalResult", u"Controls", otSLong, -2147483647 - 1, 2147483647);
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TBevelCut>) {
  static const TEnumTypeInfo t(u"TBevelCut", u"Controls", {u"bvNone", u"bvLowered", u"bvRaised", u"bvSpace"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TMouseButton>) {
  static const TEnumTypeInfo t(u"TMouseButton", u"Controls", {u"mbLeft", u"mbRight", u"mbMiddle"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TMouseEvent>) {
  static const TMethodTypeInfo t(u"TMouseEvent", u"Controls", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"Button", u"TMouseButton"),
                                  Param(u"Shift", u"TShiftState"), Param(u"X", u"Integer"), Param(u"Y", u"Integer")});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TMouseMoveEvent>) {
  static const TMethodTypeInfo t(u"TMouseMoveEvent", u"Controls", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"Shift", u"TShiftState"),
                                  Param(u"X", u"Integer"), Param(u"Y", u"Integer")});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TKeyEvent>) {
  static const TMethodTypeInfo t(
      u"TKeyEvent", u"Controls", mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"Key", u"Word", kVarParam), Param(u"Shift", u"TShiftState")});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TKeyPressEvent>) {
  static const TMethodTypeInfo t(u"TKeyPressEvent", u"Controls", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"Key", u"Char", kVarParam)});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TMouseWheelEvent>) {
  static const TMethodTypeInfo t(
      u"TMouseWheelEvent", u"Controls", mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"Shift", u"TShiftState"), Param(u"WheelDelta", u"Integer"),
       Param(u"MousePos", u"TPoint"), Param(u"Handled", u"Boolean", kVarParam)});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TMouseWheelUpDownEvent>) {
  static const TMethodTypeInfo t(u"TMouseWheelUpDownEvent", u"Controls", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"Shift", u"TShiftState"),
                                  Param(u"MousePos", u"TPoint"), Param(u"Handled", u"Boolean", kVarParam)});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TContextPopupEvent>) {
  static const TMethodTypeInfo t(
      u"TContextPopupEvent", u"Controls", mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"MousePos", u"TPoint"), Param(u"Handled", u"Boolean", kVarParam)});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCanResizeEvent>) {
  static const TMethodTypeInfo t(u"TCanResizeEvent", u"Controls", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"NewWidth", u"Integer", kVarParam),
                                  Param(u"NewHeight", u"Integer", kVarParam), Param(u"Resize", u"Boolean", kVarParam)});
  return t;
}

// ---------------------------------------------------------------------------
// Size constraints

void TSizeConstraints::Describe(TClassBuilder<TSizeConstraints>& c) {
  c.Property(u"MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight).Default(0);
  c.Property(u"MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth).Default(0);
  c.Property(u"MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight).Default(0);
  c.Property(u"MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth).Default(0);
}

TPersistent* TSizeConstraints::GetOwner() const {
  return FControl;
}

void TSizeConstraints::Changed() {
  OnChange(this);
}

void TSizeConstraints::SetMinWidth(Integer v) {
  if (v == FMinWidth) return;
  FMinWidth = v;
  if (FMaxWidth > 0 && FMinWidth > FMaxWidth) FMaxWidth = FMinWidth;
  Changed();
}
void TSizeConstraints::SetMinHeight(Integer v) {
  if (v == FMinHeight) return;
  FMinHeight = v;
  if (FMaxHeight > 0 && FMinHeight > FMaxHeight) FMaxHeight = FMinHeight;
  Changed();
}
void TSizeConstraints::SetMaxWidth(Integer v) {
  if (v == FMaxWidth) return;
  FMaxWidth = v;
  if (FMaxWidth > 0 && FMinWidth > FMaxWidth) FMinWidth = FMaxWidth;
  Changed();
}
void TSizeConstraints::SetMaxHeight(Integer v) {
  if (v == FMaxHeight) return;
  FMaxHeight = v;
  if (FMaxHeight > 0 && FMinHeight > FMaxHeight) FMinHeight = FMaxHeight;
  Changed();
}

void TSizeConstraints::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TSizeConstraints*>(source)) {
    FMinWidth = other->FMinWidth;
    FMinHeight = other->FMinHeight;
    FMaxWidth = other->FMaxWidth;
    FMaxHeight = other->FMaxHeight;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

// ---------------------------------------------------------------------------
// Window procedure chain

struct TWndProcNext::Node {
  TWndProcHook Hook;
  bool Removed = false;
};

void TWndProcNext::operator()(TMessage& message) const {
  size_t i = FIndex;
  while (i < FChain->size() && (*FChain)[i]->Removed) ++i;
  if (i >= FChain->size()) {
    FControl->InvokeWindowProc(message);
    return;
  }
  TWndProcNext rest = *this;
  rest.FIndex = i + 1;
  std::shared_ptr<Node> node = (*FChain)[i];
  node->Hook(message, rest);
}

// ---------------------------------------------------------------------------
// TControl

void TControl::Describe(TClassBuilder<TControl>& c) {
  c.Property(u"Left", &TControl::Left, &TControl::SetLeft);
  c.Property(u"Top", &TControl::Top, &TControl::SetTop);
  c.Property(u"Width", &TControl::Width, &TControl::SetWidth);
  c.Property(u"Height", &TControl::Height, &TControl::SetHeight);
  c.Property(u"Cursor", &TControl::Cursor, &TControl::SetCursor, &types::Cursor()).Default(crDefault);
  c.Property(u"Hint", &TControl::Hint, &TControl::SetHint);
  c.Property(
       u"HelpType", [](const TControl& o) { return o.Kept.HelpType; },
       [](TControl& o, const THelpType& v) { o.Kept.HelpType = v; })
      .Default(htContext);
  c.Property(
      u"HelpKeyword", [](const TControl& o) { return o.Kept.HelpKeyword; },
      [](TControl& o, const String& v) { o.Kept.HelpKeyword = v; });
  c.Property(u"HelpContext", &TControl::HelpContext, &TControl::SetHelpContext).Default(0);
  // Every control of newer IDEs can keep a margin clear around itself when
  // it is aligned.
  c.Property(
       u"AlignWithMargins", [](const TControl& o) { return o.Kept.AlignWithMargins; },
       [](TControl& o, bool v) {
         if (o.Kept.AlignWithMargins == v) return;
         o.Kept.AlignWithMargins = v;
         o.RequestAlign();
       })
      .Default(0);
  c.Property(u"Margins", [](const TControl& o) { return o.Kept.Margins.get(); });
}

void TControl::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  for (StringView name : {u"IsControl", u"DesignSize", u"ExplicitLeft", u"ExplicitTop", u"ExplicitWidth",
                          u"ExplicitHeight"})
    filer.DefineProperty(name, [](TReader& reader) { reader.SkipValue(); }, nullptr, false);
}

TControl::TControl(TComponent* owner)
    : TComponent(owner), FConstraints(std::make_unique<TSizeConstraints>(this)), FFont(std::make_unique<TFont>()) {
  FFont->SetOwner(this);
  FFont->OnChange = TNotifyEvent(this, &TControl::FontChanged);
  FConstraints->OnChange = TNotifyEvent(this, &TControl::ConstraintsChanged);
  FWindowProc = TWndMethod(this, &TControl::WndProc);
}

TControl::~TControl() {
  if (Application) Application->ControlDestroyed(this);
  if (captureControl == this) captureControl = nullptr;
  if (FParent) FParent->RemoveControl(this);
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
}

bool TControl::CanFireEvents() const {
  if (ComponentState().Contains(csDestroying)) return false;
  const TComponent* owner = Owner();
  return !(owner && owner->ComponentState().Contains(csDestroying));
}

TComponent* TControl::GetParentComponent() const {
  return FParent;
}

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* wc = dynamic_cast<TWinControl*>(parent)) SetParent(wc);
}

void TControl::SetParent(TWinControl* parent) {
  if (FParent == parent) return;
  if (parent == this) throw EInvalidOperation(u"A control cannot have itself as its parent");
  if (parent) parent->ValidateInsert(this);
  if (FParent) FParent->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::SetName(const String& name) {
  // A caption that was the old name follows the name, as designers expect.
  bool changeText = FControlStyle.Contains(csSetCaption) && !ComponentState().Contains(csLoading) &&
                    Name() == GetText() && (!Owner() || !Owner()->ComponentState().Contains(csLoading));
  TComponent::SetName(name);
  if (changeText) SetText(name);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FPopupMenu) FPopupMenu = nullptr;
  if (operation == opRemove && component == Kept.Images) Kept.Images = nullptr;
  if (operation == opRemove && component == Kept.HotImages) Kept.HotImages = nullptr;
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (!FAnchorsRecorded) UpdateAnchorRules();
}

// ---- Bounds, alignment, anchors ----

void TControl::ConstrainedResize(Integer& width, Integer& height) {
  const TSizeConstraints& c = *FConstraints;
  if (c.MaxWidth() > 0 && width > c.MaxWidth()) width = c.MaxWidth();
  if (c.MinWidth() > 0 && width < c.MinWidth()) width = c.MinWidth();
  if (c.MaxHeight() > 0 && height > c.MaxHeight()) height = c.MaxHeight();
  if (c.MinHeight() > 0 && height < c.MinHeight()) height = c.MinHeight();
}

bool TControl::CanResize(Integer& newWidth, Integer& newHeight) {
  bool resize = true;
  if (OnCanResize && CanFireEvents()) OnCanResize(this, newWidth, newHeight, resize);
  return resize;
}

void TControl::ConstraintsChanged(TObject*) {
  SetBounds(FLeft, FTop, FWidth, FHeight);
}

void TControl::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  width = std::max(0, width);
  height = std::max(0, height);
  ConstrainedResize(width, height);
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  bool sized = width != FWidth || height != FHeight;
  if (sized && !CanResize(width, height)) {
    width = FWidth;
    height = FHeight;
    sized = false;
  }
  Invalidate();
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  Invalidate();
  if (!FControlState.Contains(csAligning)) {
    UpdateAnchorRules();
    if (FAlign != alNone) RequestAlign();
  }
  if (sized && !ComponentState().Contains(csLoading)) Resize();
}

void TControl::SetAlignedBounds(Integer left, Integer top, Integer width, Integer height) {
  bool was = FControlState.Contains(csAligning);
  FControlState.Include(csAligning);
  try {
    SetBounds(left, top, width, height);
  } catch (...) {
    if (!was) FControlState.Exclude(csAligning);
    throw;
  }
  if (!was) FControlState.Exclude(csAligning);
}

void TControl::SetBoundsFromWindow(const TRect& r) {
  bool sized = r.Width() != FWidth || r.Height() != FHeight;
  FLeft = r.Left;
  FTop = r.Top;
  FWidth = r.Width();
  FHeight = r.Height();
  if (sized) {
    if (auto* wc = dynamic_cast<TWinControl*>(this)) wc->AlignControl(nullptr);
    if (!ComponentState().Contains(csLoading)) Resize();
  }
}

void TControl::Resize() {
  if (CanFireEvents()) OnResize(this);
}

void TControl::RequestAlign() {
  if (FParent) FParent->AlignControl(this);
}

void TControl::SetAlign(TAlign align) {
  if (align == FAlign) return;
  TAlign old = FAlign;
  FAlign = align;
  // A control that leaves alignment keeps the size the alignment gave it.
  if (FParent && old != alNone && align == alNone) UpdateAnchorRules();
  RequestAlign();
}

void TControl::SetAnchors(TAnchors anchors) {
  if (anchors == FAnchors) return;
  FAnchors = anchors;
  UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (!FParent || FControlState.Contains(csAligning)) return;
  TRect pr = FParent->ClientRect();
  FAnchorBounds = BoundsRect();
  FAnchorParentSize = {pr.Width(), pr.Height()};
  FAnchorsRecorded = true;
}

void TControl::ApplyAnchorRules() {
  if (!FParent) return;
  if (!FAnchorsRecorded) {
    UpdateAnchorRules();
    return;
  }
  if (FAnchors == TAnchors{akLeft, akTop}) return;
  TRect pr = FParent->ClientRect();
  Integer dx = pr.Width() - FAnchorParentSize.cx;
  Integer dy = pr.Height() - FAnchorParentSize.cy;
  const TRect& o = FAnchorBounds;
  Integer left = o.Left, top = o.Top, width = o.Width(), height = o.Height();
  bool l = FAnchors.Contains(akLeft), r = FAnchors.Contains(akRight);
  if (l && r) {
    width = std::max(0, width + dx);
  } else if (r) {
    left += dx;
  } else if (!l && FAnchorParentSize.cx > 0) {
    left = MulDiv(o.Left + o.Width() / 2, pr.Width(), FAnchorParentSize.cx) - o.Width() / 2;
  }
  bool t = FAnchors.Contains(akTop), b = FAnchors.Contains(akBottom);
  if (t && b) {
    height = std::max(0, height + dy);
  } else if (b) {
    top += dy;
  } else if (!t && FAnchorParentSize.cy > 0) {
    top = MulDiv(o.Top + o.Height() / 2, pr.Height(), FAnchorParentSize.cy) - o.Height() / 2;
  }
  SetAlignedBounds(left, top, width, height);
}

TRect TControl::ClientRect() const {
  return Rect(0, 0, FWidth, FHeight);
}

void TControl::SetClientWidth(Integer value) {
  SetWidth(FWidth - ClientWidth() + value);
}
void TControl::SetClientHeight(Integer value) {
  SetHeight(FHeight - ClientHeight() + value);
}

TPoint TControl::ClientOrigin() const {
  if (!FParent) return {FLeft, FTop};
  TPoint p = FParent->ClientOrigin();
  return {p.X + FLeft, p.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint p) const {
  TPoint o = ClientOrigin();
  return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
  TPoint o = ClientOrigin();
  return {p.X - o.X, p.Y - o.Y};
}

TPoint TControl::ClientToParent(TPoint p, TWinControl* ancestor) const {
  if (!ancestor) ancestor = FParent;
  if (!ancestor) throw EInvalidOperation(Format(u"Control '%s' has no parent window", {Name()}));
  TPoint s = ClientToScreen(p);
  return ancestor->ScreenToClient(s);
}

// ---- State ----

void TControl::SetVisible(bool visible) {
  if (visible == FVisible) return;
  if (!visible) Invalidate();
  FVisible = visible;
  Perform(CM_VISIBLECHANGED, visible, 0);
  RequestAlign();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

String TControl::GetText() const {
  return FText;
}

void TControl::SetText(const String& text) {
  if (text == FText) return;
  FText = text;
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetColor(TColor color) {
  if (color == FColor) {
    FParentColor = false;
    return;
  }
  FColor = color;
  FParentColor = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool value) {
  if (value == FParentColor) return;
  FParentColor = value;
  if (value && FParent && !ComponentState().Contains(csReading)) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::FontChanged(TObject*) {
  if (!FUpdatingParentFont) FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool value) {
  if (value == FParentFont) return;
  FParentFont = value;
  if (value && FParent && !ComponentState().Contains(csReading)) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetShowHint(bool value) {
  FParentShowHint = false;
  if (value == FShowHint) return;
  FShowHint = value;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool value) {
  if (value == FParentShowHint) return;
  FParentShowHint = value;
  if (value && FParent && !ComponentState().Contains(csReading)) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor cursor) {
  if (cursor == FCursor) return;
  FCursor = cursor;
  Perform(CM_CURSORCHANGED, 0, 0);
  if (Application && Application->MouseControl() == this && Screen && Screen->Cursor() == crDefault)
    ::SetCursor(Screen->Cursors(cursor));
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (menu == FPopupMenu) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = menu;
  if (menu) menu->FreeNotification(this);
}

bool TControl::MouseCapture() const {
  return captureControl == this;
}

void TControl::SetMouseCapture(bool capture) {
  if (capture == MouseCapture()) return;
  SetCaptureControl(capture ? this : nullptr);
}

// ---- Painting ----

void TControl::Invalidate() {
  if (FParent && FParent->HandleAllocated() && FVisible) {
    RECT r = ToRECT(BoundsRect());
    InvalidateRect(FParent->FHandle, &r, !FControlStyle.Contains(csOpaque));
  }
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  if (FParent && FParent->HandleAllocated() && FVisible) {
    Invalidate();
    FParent->Update();
  }
}

void TControl::BringToFront() {
  SetZOrder(true);
}

void TControl::SendToBack() {
  SetZOrder(false);
}

void TControl::SetZOrder(bool topMost) {
  if (!FParent) return;
  if (auto* windowed = dynamic_cast<TWinControl*>(this)) {
    // Windowed children keep their z-order in their list and in the window system.
    FParent->SetChildOrder(windowed, topMost ? FParent->WinControlCount() : 0);
    return;
  }
  auto& list = FParent->FControls;
  auto it = std::find(list.begin(), list.end(), this);
  if (it != list.end()) {
    list.erase(it);
    if (topMost)
      list.push_back(this);
    else
      list.insert(list.begin(), this);
  }
  Invalidate();
}

void TControl::Changed() {
  Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this));
}

// ---- Messages ----

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  MainWndProc(m);
  return m.Result;
}

void TControl::MainWndProc(TMessage& message) {
  if (FHooks.empty()) {
    FWindowProc(message);
    return;
  }
  // The chain as it stands now: hooks removed meanwhile are skipped.
  std::vector<std::shared_ptr<TWndProcNext::Node>> chain = FHooks;
  TWndProcNext next;
  next.FControl = this;
  next.FChain = &chain;
  next.FIndex = 0;
  next(message);
}

void TControl::SetWindowProc(const TWndMethod& method) {
  FWindowProc = method ? method : TWndMethod(this, &TControl::WndProc);
}

void TControl::AddWindowProcHook(const TWndProcHook& hook) {
  if (!hook) return;
  auto node = std::make_shared<TWndProcNext::Node>();
  node->Hook = hook;
  FHooks.insert(FHooks.begin(), node);
}

void TControl::RemoveWindowProcHook(const TWndProcHook& hook) {
  for (auto it = FHooks.begin(); it != FHooks.end(); ++it) {
    if ((*it)->Hook == hook) {
      (*it)->Removed = true;
      FHooks.erase(it);
      return;
    }
  }
}

void TControl::WndProc(TMessage& message) {
  if (message.Msg == WM_MOUSEMOVE && Application) Application->HintMouseMessage(this, message);
  Dispatch(message);
}

void TControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(m); break;
    case WM_LBUTTONUP: WMLButtonUp(m); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(m); break;
    case WM_RBUTTONDOWN: WMRButtonDown(m); break;
    case WM_RBUTTONUP: WMRButtonUp(m); break;
    case WM_RBUTTONDBLCLK: WMRButtonDblClk(m); break;
    case WM_MBUTTONDOWN: WMMButtonDown(m); break;
    case WM_MBUTTONUP: WMMButtonUp(m); break;
    case WM_MBUTTONDBLCLK: WMMButtonDblClk(m); break;
    case WM_MOUSEMOVE: WMMouseMove(m); break;
    case WM_MOUSEWHEEL: WMMouseWheel(m); break;
    case WM_CANCELMODE: WMCancelMode(m); break;
    case WM_CONTEXTMENU: WMContextMenu(m); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(m); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(m); break;
    case CM_FONTCHANGED: CMFontChanged(m); break;
    case CM_COLORCHANGED: CMColorChanged(m); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(m); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(m); break;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(m); break;
    case CM_TEXTCHANGED: CMTextChanged(m); break;
    case CM_MOUSEENTER: CMMouseEnter(m); break;
    case CM_MOUSELEAVE: CMMouseLeave(m); break;
    case CM_HINTSHOW: CMHintShow(m); break;
    case CM_MOUSEWHEEL: CMMouseWheel(m); break;
    default: DefaultHandler(m); break;
  }
}

void TControl::DefaultHandler(TMessage& m) {
  // A control without a window answers the text messages itself.
  switch (m.Msg) {
    case WM_GETTEXT: {
      if (m.WParam == 0 || !m.LParam) break;
      size_t n = std::min<size_t>(FText.size(), m.WParam - 1);
      std::copy_n(FText.data(), n, reinterpret_cast<char16_t*>(m.LParam));
      reinterpret_cast<char16_t*>(m.LParam)[n] = 0;
      m.Result = static_cast<LRESULT>(n);
      break;
    }
    case WM_GETTEXTLENGTH: m.Result = static_cast<LRESULT>(FText.size()); break;
    case WM_SETTEXT: {
      String text = FromWStr(reinterpret_cast<const wchar_t*>(m.LParam));
      if (text != FText) {
        FText = text;
        Perform(CM_TEXTCHANGED, 0, 0);
      }
      m.Result = TRUE;
      break;
    }
    default: break;
  }
}

void TControl::Click() {
  if (!CanFireEvents()) return;
  TBasicAction* action = Action();
  if (action && (!OnClick || OnClick == action->OnExecute))
    FActionLink->Execute(this);
  else
    OnClick(this);
}

TBasicAction* TControl::Action() const {
  return FActionLink ? FActionLink->Action() : nullptr;
}

void TControl::SetAction(TBasicAction* action) {
  if (!action) {
    FActionLink.reset();
    return;
  }
  if (!FActionLink) {
    FActionLink = std::make_unique<TBasicActionLink>();
    FActionLink->OnChange = TNotifyEvent(this, &TControl::ActionLinkChanged);
  }
  FActionLink->SetAction(action);
}

void TControl::ActionLinkChanged(TObject*) {
  if (TBasicAction* action = Action()) ActionChange(action);
}

void TControl::ActionChange(TBasicAction* action) {
  auto* a = dynamic_cast<TCustomAction*>(action);
  if (!a) return;
  SetCaption(a->Caption());
  SetEnabled(a->Enabled());
  SetHint(a->Hint());
  SetVisible(a->Visible());
}

void TControl::DblClick() {
  if (CanFireEvents()) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (CanFireEvents()) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (CanFireEvents()) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, Integer x, Integer y) {
  if (CanFireEvents()) OnMouseMove(this, shift, x, y);
}

void TControl::DoMouseDown(TMessage& m, TMouseButton button, TShiftState shift) {
  if (!FControlStyle.Contains(csNoStdEvents)) MouseDown(button, KeysToShiftState(m.WParam) + shift, m.XPos(), m.YPos());
}

void TControl::DoMouseUp(TMessage& m, TMouseButton button) {
  if (!FControlStyle.Contains(csNoStdEvents)) MouseUp(button, KeysToShiftState(m.WParam), m.XPos(), m.YPos());
}

void TControl::WMLButtonDown(TMessage& m) {
  DefaultHandler(m);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
  DoMouseDown(m, mbLeft, {});
}

void TControl::WMLButtonUp(TMessage& m) {
  DefaultHandler(m);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
  if (FControlState.Contains(csClicked)) {
    FControlState.Exclude(csClicked);
    if (ClientRect().Contains(m.Pos())) Click();
  }
  DoMouseUp(m, mbLeft);
}

void TControl::WMLButtonDblClk(TMessage& m) {
  DefaultHandler(m);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) DblClick();
  DoMouseDown(m, mbLeft, {ssDouble});
}

void TControl::WMRButtonDown(TMessage& m) {
  DefaultHandler(m);
  DoMouseDown(m, mbRight, {});
}
void TControl::WMRButtonUp(TMessage& m) {
  DefaultHandler(m);
  DoMouseUp(m, mbRight);
}
void TControl::WMRButtonDblClk(TMessage& m) {
  DefaultHandler(m);
  DoMouseDown(m, mbRight, {ssDouble});
}
void TControl::WMMButtonDown(TMessage& m) {
  DefaultHandler(m);
  DoMouseDown(m, mbMiddle, {});
}
void TControl::WMMButtonUp(TMessage& m) {
  DefaultHandler(m);
  DoMouseUp(m, mbMiddle);
}
void TControl::WMMButtonDblClk(TMessage& m) {
  DefaultHandler(m);
  DoMouseDown(m, mbMiddle, {ssDouble});
}

void TControl::WMMouseMove(TMessage& m) {
  DefaultHandler(m);
  if (Application) Application->MouseMovedOver(this);
  if (!FControlStyle.Contains(csNoStdEvents)) MouseMove(KeysToShiftState(m.WParam), m.XPos(), m.YPos());
}

void TControl::WMMouseWheel(TMessage& m) {
  m.Result = Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
  if (m.Result == 0) DefaultHandler(m);
}

void TControl::CMMouseWheel(TMessage& m) {
  TShiftState shift = KeysToShiftState(LOWORD(m.WParam));
  Integer delta = static_cast<SmallInt>(HIWORD(m.WParam));
  m.Result = 0;
  if (DoMouseWheel(shift, delta, m.Pos()))
    m.Result = 1;
  else if (FParent)
    m.Result = FParent->Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
}

bool TControl::DoMouseWheel(TShiftState shift, Integer wheelDelta, TPoint mousePos) {
  bool handled = false;
  if (OnMouseWheel && CanFireEvents()) OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
  if (!handled && wheelDelta != 0)
    handled = wheelDelta < 0 ? DoMouseWheelDown(shift, mousePos) : DoMouseWheelUp(shift, mousePos);
  return handled;
}

bool TControl::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
  bool handled = false;
  if (OnMouseWheelDown && CanFireEvents()) OnMouseWheelDown(this, shift, mousePos, handled);
  return handled;
}

bool TControl::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
  bool handled = false;
  if (OnMouseWheelUp && CanFireEvents()) OnMouseWheelUp(this, shift, mousePos, handled);
  return handled;
}

void TControl::WMCancelMode(TMessage& m) {
  DefaultHandler(m);
  if (MouseCapture()) SetMouseCapture(false);
}

void TControl::DoContextPopup(TPoint mousePos, bool& handled) {
  if (OnContextPopup && CanFireEvents()) OnContextPopup(this, mousePos, handled);
}

void TControl::WMContextMenu(TMessage& m) {
  if (m.Result != 0) return;
  TPoint screen = m.Pos();
  bool fromKeyboard = screen.X == -1 && screen.Y == -1;
  TPoint local = fromKeyboard ? TPoint{-1, -1} : ScreenToClient(screen);
  bool handled = false;
  DoContextPopup(local, handled);
  m.Result = handled ? 1 : 0;
  if (handled) return;
  if (FPopupMenu && FPopupMenu->AutoPopup()) {
    FPopupMenu->SetPopupComponent(this);
    if (fromKeyboard) screen = ClientToScreen({0, 0});
    FPopupMenu->Popup(screen.X, screen.Y);
    m.Result = 1;
    return;
  }
  DefaultHandler(m);
}

void TControl::CMEnabledChanged(TMessage&) {
  Invalidate();
}
void TControl::CMVisibleChanged(TMessage&) {
  Invalidate();
}
void TControl::CMFontChanged(TMessage&) {
  Invalidate();
}
void TControl::CMColorChanged(TMessage&) {
  Invalidate();
}
void TControl::CMTextChanged(TMessage&) {
  Invalidate();
}

void TControl::CMParentFontChanged(TMessage&) {
  if (!FParentFont || !FParent) return;
  FUpdatingParentFont = true;
  try {
    FFont->Assign(&FParent->Font());
  } catch (...) {
    FUpdatingParentFont = false;
    throw;
  }
  FUpdatingParentFont = false;
}

void TControl::CMParentColorChanged(TMessage&) {
  if (!FParentColor || !FParent) return;
  SetColor(FParent->Color());
  FParentColor = true;
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (!FParentShowHint || !FParent) return;
  SetShowHint(FParent->ShowHint());
  FParentShowHint = true;
}

void TControl::CMMouseEnter(TMessage& m) {
  if (FParent) FParent->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(this));
  if (m.LParam == 0 && CanFireEvents()) OnMouseEnter(this);
}

void TControl::CMMouseLeave(TMessage& m) {
  if (FParent) FParent->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(this));
  if (m.LParam == 0 && CanFireEvents()) OnMouseLeave(this);
}

void TControl::CMHintShow(TMessage& m) {
  m.Result = 0;
}

// ---------------------------------------------------------------------------
// TWinControl

void TWinControl::Describe(TClassBuilder<TWinControl>&) {}

TWinControl::TWinControl(TComponent* owner) : TControl(owner), FBrush(std::make_unique<TBrush>()) {
  FBrush->SetColor(Color());
  FDefWndProc = DefWindowProcW;
}

TWinControl::~TWinControl() {
  Destroying();
  // Leave the parent while still a window control: by ~TControl the parent
  // could no longer tell it from a graphic child and would keep it listed.
  if (Parent()) Parent()->RemoveControl(this);
  if (TCustomForm* form = GetParentForm(this); form && form != this) form->DefocusControl(this, true);
  if (FHandle) DestroyWindowHandle();
  // Children go with their parent, whoever owns them.
  while (!FControls.empty() || !FWinControls.empty()) {
    TControl* child = !FWinControls.empty() ? static_cast<TControl*>(FWinControls.back()) : FControls.back();
    RemoveControl(child);
    delete child;
  }
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (Parent()) Parent()->HandleNeeded();
  CreateHandle();
}

void TWinControl::SetParentWindow(HWND parent) {
  if (parent == FParentWindow) return;
  if (Parent()) return;  // a control of ours parents it already
  if (FHandle && parent) {
    FParentWindow = parent;
    ::SetParent(FHandle, parent);
  } else {
    DestroyHandle();
    FParentWindow = parent;
  }
  UpdateControlState();
}

void TWinControl::ValidateInsert(TControl*) {}

void TWinControl::SetParent(TWinControl* parent) {
  if (parent == Parent()) return;
  if (parent && FParentWindow) FParentWindow = nullptr;
  TControl::SetParent(parent);
}

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount()) throw EListError(Format(u"List index out of bounds (%d)", {index}));
  size_t i = static_cast<size_t>(index);
  return i < FControls.size() ? FControls[i] : FWinControls[i - FControls.size()];
}

bool TWinControl::ContainsControl(const TControl* control) const {
  while (control && control != this) control = control->Parent();
  return control == this;
}

TControl* TWinControl::ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls) const {
  auto hit = [&](TControl* c) {
    return c->Visible() && (allowDisabled || c->Enabled()) && c->BoundsRect().Contains(pos) &&
           c->Perform(CM_HITTEST, 0, MAKELPARAM(pos.X - c->Left(), pos.Y - c->Top())) == 0;
  };
  if (allowWinControls)
    for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it)
      if (hit(*it)) return *it;
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
    if (hit(*it)) return *it;
  return nullptr;
}

void TWinControl::InsertControl(TControl* control) {
  control->FParent = this;
  if (auto* wc = dynamic_cast<TWinControl*>(control)) {
    FWinControls.push_back(wc);
    FTabList.push_back(wc);
  } else {
    FControls.push_back(control);
  }
  if (!control->ComponentState().Contains(csDestroying)) {
    control->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    control->Perform(CM_PARENTFONTCHANGED, 0, 0);
    control->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
  }
  control->UpdateAnchorRules();
  if (auto* wc = dynamic_cast<TWinControl*>(control)) {
    wc->UpdateControlState();
  } else {
    control->Invalidate();
  }
  AlignControl(control);
}

void TWinControl::RemoveControl(TControl* control) {
  if (control->FParent != this) return;
  if (auto* wc = dynamic_cast<TWinControl*>(control)) {
    if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(wc, true);
    wc->DestroyHandle();
    FWinControls.erase(std::remove(FWinControls.begin(), FWinControls.end(), wc), FWinControls.end());
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), wc), FTabList.end());
  } else {
    control->Invalidate();
    FControls.erase(std::remove(FControls.begin(), FControls.end(), control), FControls.end());
  }
  control->FParent = nullptr;
  if (!ComponentState().Contains(csDestroying)) Realign();
}

TRect TWinControl::ClientRect() const {
  if (FHandle) {
    RECT r{};
    GetClientRect(FHandle, &r);
    return FromRECT(r);
  }
  // Without a window: the size less the frame the window will have.
  TCreateParams params;
  try {
    const_cast<TWinControl*>(this)->CreateParams(params);
  } catch (const Exception&) {
    return Rect(0, 0, FWidth, FHeight);
  }
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, params.Style & ~static_cast<DWORD>(WS_VSCROLL | WS_HSCROLL), FALSE, params.ExStyle);
  Integer w = FWidth - (frame.right - frame.left);
  Integer h = FHeight - (frame.bottom - frame.top);
  if (params.Style & WS_VSCROLL) w -= GetSystemMetrics(SM_CXVSCROLL);
  if (params.Style & WS_HSCROLL) h -= GetSystemMetrics(SM_CYHSCROLL);
  return Rect(0, 0, std::max(0, w), std::max(0, h));
}

TPoint TWinControl::ClientOrigin() const {
  if (FHandle) {
    POINT p{0, 0};
    ::ClientToScreen(FHandle, &p);
    return FromPOINT(p);
  }
  return TControl::ClientOrigin();
}

void TWinControl::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  width = std::max(0, width);
  height = std::max(0, height);
  ConstrainedResize(width, height);
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  bool sized = width != FWidth || height != FHeight;
  if (sized && !CanResize(width, height)) {
    width = FWidth;
    height = FHeight;
    sized = false;
  }
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  if (FHandle) {
    if (!Parent() && !FParentWindow && (IsIconic(FHandle) || IsZoomed(FHandle))) {
      WINDOWPLACEMENT wp{};
      wp.length = sizeof wp;
      GetWindowPlacement(FHandle, &wp);
      wp.rcNormalPosition = ToRECT(Bounds(left, top, width, height));
      SetWindowPlacement(FHandle, &wp);
    } else {
      SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (!FControlState.Contains(csAligning)) {
    UpdateAnchorRules();
    if (Align() != alNone) RequestAlign();
  }
  if (sized) {
    AlignControl(nullptr);
    if (!ComponentState().Contains(csLoading)) Resize();
  }
}

void TWinControl::UpdateBounds() {
  if (!FHandle || IsIconic(FHandle)) return;
  RECT r{};
  GetWindowRect(FHandle, &r);
  if (GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD) {
    HWND parent = GetParent(FHandle);
    if (parent) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  }
  TRect bounds = FromRECT(r);
  if (bounds != BoundsRect()) SetBoundsFromWindow(bounds);
}

void TWinControl::DisableAlign() {
  ++FAlignLevel;
}

void TWinControl::EnableAlign() {
  if (FAlignLevel > 0) --FAlignLevel;
  if (FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() {
  AlignControl(nullptr);
}

void TWinControl::AlignControl(TControl* control) {
  if (ComponentState().Contains(csDestroying)) return;
  if (FAlignLevel != 0 || ComponentState().Contains(csLoading)) {
    FControlState.Include(csAlignmentNeeded);
    return;
  }
  DisableAlign();
  try {
    TRect rect = ClientRect();
    AlignControls(control, rect);
  } catch (...) {
    FControlState.Exclude(csAlignmentNeeded);
    --FAlignLevel;
    throw;
  }
  FControlState.Exclude(csAlignmentNeeded);
  --FAlignLevel;
}

void TWinControl::AdjustClientRect(TRect&) const {}

namespace {

bool InsertBefore(const TControl* c1, const TControl* c2, TAlign align) {
  switch (align) {
    case alTop: return c1->Top() < c2->Top();
    case alBottom: return c1->Top() + c1->Height() >= c2->Top() + c2->Height();
    case alLeft: return c1->Left() < c2->Left();
    case alRight: return c1->Left() + c1->Width() >= c2->Left() + c2->Width();
    default: return false;
  }
}

}  // namespace

void TWinControl::AlignControls(TControl* control, TRect& rect) {
  AdjustClientRect(rect);
  std::vector<TControl*> all(FControls.begin(), FControls.end());
  all.insert(all.end(), FWinControls.begin(), FWinControls.end());
  // The platform's order: top, bottom, left, right, client; within each the
  // position decides, and the control being moved wins a tie.
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> list;
    if (control && control->Align() == align && control->Visible()) list.push_back(control);
    for (TControl* c : all) {
      if (c == control || c->Align() != align || !c->Visible()) continue;
      size_t j = 0;
      while (j < list.size() && !InsertBefore(c, list[j], align)) ++j;
      list.insert(list.begin() + static_cast<std::ptrdiff_t>(j), c);
    }
    for (TControl* c : list) {
      // A control aligned with margins keeps them clear around itself
      // inside the space its alignment gives it.
      TRect m{0, 0, 0, 0};
      if (c->Kept.AlignWithMargins && c->Kept.Margins) {
        const TMargins& margins = *c->Kept.Margins;
        m = TRect{margins.Left, margins.Top, margins.Right, margins.Bottom};
      }
      const Integer w = c->Width(), h = c->Height();
      const Integer spanW = std::max(0, rect.Width() - m.Left - m.Right);
      const Integer spanH = std::max(0, rect.Height() - m.Top - m.Bottom);
      switch (align) {
        case alTop:
          c->SetAlignedBounds(rect.Left + m.Left, rect.Top + m.Top, spanW, h);
          rect.Top += c->Height() + m.Top + m.Bottom;
          break;
        case alBottom:
          c->SetAlignedBounds(rect.Left + m.Left, rect.Bottom - m.Bottom - h, spanW, h);
          rect.Bottom -= c->Height() + m.Top + m.Bottom;
          break;
        case alLeft:
          c->SetAlignedBounds(rect.Left + m.Left, rect.Top + m.Top, w, spanH);
          rect.Left += c->Width() + m.Left + m.Right;
          break;
        case alRight:
          c->SetAlignedBounds(rect.Right - m.Right - w, rect.Top + m.Top, w, spanH);
          rect.Right -= c->Width() + m.Left + m.Right;
          break;
        default: c->SetAlignedBounds(rect.Left + m.Left, rect.Top + m.Top, spanW, spanH); break;
      }
    }
  }
  for (TControl* c : all)
    if (c->Align() == alNone && c->Visible()) c->ApplyAnchorRules();
}

// ---- Window ----

void TWinControl::CreateParams(TCreateParams& params) {
  params.Caption = FText;
  params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FControlStyle.Contains(csAcceptsControls)) params.Style |= WS_CLIPCHILDREN;
  if (!Enabled()) params.Style |= WS_DISABLED;
  if (FTabStop) params.Style |= WS_TABSTOP;
  params.ExStyle = 0;
  params.X = FLeft;
  params.Y = FTop;
  params.Width = FWidth;
  params.Height = FHeight;
  if (Parent())
    params.WndParent = Parent()->FHandle;
  else
    params.WndParent = FParentWindow;
  params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  params.WindowClass.lpfnWndProc = DefWindowProcW;
  params.WindowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  params.WindowClass.hbrBackground = nullptr;
  params.WindowClass.hInstance = ModuleInstance();
  params.WinClassName = ClassName();
}

void TWinControl::SetAcceptFiles(bool value) {
  if (value == FAcceptFiles) return;
  FAcceptFiles = value;
  if (FHandle) DragAcceptFiles(FHandle, value ? TRUE : FALSE);
}

void TWinControl::WMDropFiles(TMessage& m) {
  auto drop = reinterpret_cast<HDROP>(m.WParam);
  // The drop's memory is the receiver's to free, whatever the handler does.
  struct Finish {
    HDROP Drop;
    ~Finish() { DragFinish(Drop); }
  } finish{drop};
  TStringList files;
  UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::vector<wchar_t> name(length + 1, L'\0');
    UINT copied = DragQueryFileW(drop, i, name.data(), length + 1);
    if (copied > 0) files.Add(FromWStr(name.data(), std::min(copied, length)));
  }
  POINT point{};
  DragQueryPoint(drop, &point);
  m.Result = 0;
  if (OnDropFiles && CanFireEvents()) OnDropFiles(this, files, FromPOINT(point));
}

void TWinControl::CreateSubClass(TCreateParams& params, const wchar_t* controlClassName) {
  WNDCLASSW system{};
  if (GetClassInfoW(nullptr, controlClassName, &system) || GetClassInfoW(ModuleInstance(), controlClassName, &system)) {
    DWORD keepStyle = params.WindowClass.style & CS_DBLCLKS;
    params.WindowClass = system;
    params.WindowClass.style |= keepStyle;
    params.WindowClass.hInstance = ModuleInstance();
  }
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  // (A document window of an MDI frame gets its parent from the frame's client.)
  if (!params.WndParent && (params.Style & WS_CHILD) && !(params.ExStyle & WS_EX_MDICHILD))
    throw EInvalidOperation(Format(u"Control '%s' has no parent window", {Name()}));
  FDefWndProc = params.WindowClass.lpfnWndProc ? params.WindowClass.lpfnWndProc : DefWindowProcW;
  WNDCLASSW existing{};
  bool registered = GetClassInfoW(params.WindowClass.hInstance, WStr(params.WinClassName), &existing);
  if (!registered || existing.lpfnWndProc != ControlWindowProc) {
    if (registered) UnregisterClassW(WStr(params.WinClassName), params.WindowClass.hInstance);
    WNDCLASSW wc = params.WindowClass;
    wc.lpfnWndProc = ControlWindowProc;
    wc.lpszClassName = WStr(params.WinClassName);
    if (!RegisterClassW(&wc)) throw EOSError(u"Error creating window class");
  }
  CreateWindowHandle(params);
  if (!FHandle) throw EOSError(Format(u"Error creating window: %s", {Name()}));
  if ((GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD) && GetWindowLongPtrW(FHandle, GWLP_ID) == 0)
    SetWindowLongPtrW(FHandle, GWLP_ID, reinterpret_cast<LONG_PTR>(FHandle) & 0xFFFF);
  UpdateBounds();
  SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), 0);
  if (FAcceptFiles) DragAcceptFiles(FHandle, TRUE);
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
  creatingControl = this;
  HWND handle = CreateWindowExW(params.ExStyle, WStr(params.WinClassName), WStr(params.Caption), params.Style, params.X,
                                params.Y, params.Width, params.Height, params.WndParent, nullptr,
                                params.WindowClass.hInstance, params.Param);
  creatingControl = nullptr;
  if (handle && !FHandle) {
    FHandle = handle;
    SetPropW(handle, kControlProperty, this);
  }
}

void TWinControl::SetCreationControl(TWinControl* control) {
  creatingControl = control;
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  CreateWnd();
  if (Parent())
    SetWindowPos(FHandle, Parent()->PrecedingWindow(this), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Realign();
}

HWND TWinControl::PrecedingWindow(const TWinControl* control) const {
  auto it = std::find(FWinControls.begin(), FWinControls.end(), control);
  if (it != FWinControls.end())
    for (++it; it != FWinControls.end(); ++it)
      if ((*it)->FHandle) return (*it)->FHandle;
  return HWND_TOP;
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TWinControl* child : FWinControls) child->DestroyHandle();
  DestroyWnd();
}

void TWinControl::DestroyWnd() {
  FText = GetText();
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  FControlState.Include(csDestroyingHandle);
  HWND handle = FHandle;
  if (handle) DestroyWindow(handle);
  FControlState.Exclude(csDestroyingHandle);
  if (FHandle == handle && handle) {
    RemovePropW(handle, kControlProperty);
    FHandle = nullptr;
  }
  FShowing = false;
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  bool focused = Focused();
  DestroyHandle();
  UpdateControlState();
  if (focused && FHandle) ::SetFocus(FHandle);
}

void TWinControl::CMRecreateWnd(TMessage&) {
  RecreateWnd();
}

void TWinControl::UpdateShowing() {
  bool show = Visible();
  if (show) {
    if (!FHandle) CreateHandle();
    std::vector<TWinControl*> children = FWinControls;
    for (TWinControl* child : children) child->UpdateShowing();
  }
  if (FHandle && FShowing != show) {
    FShowing = show;
    try {
      Perform(CM_SHOWINGCHANGED, 0, 0);
    } catch (...) {
      FShowing = !show;
      throw;
    }
  }
}

void TWinControl::UpdateControlState() {
  const TWinControl* top = this;
  while (top->Parent()) {
    top = top->Parent();
    if (!top->Showing()) return;
  }
  if (dynamic_cast<const TCustomForm*>(top) || top->FParentWindow) UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage&) {
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMVisibleChanged(TMessage&) {
  if (!Visible() && Parent()) {
    if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, false);
  }
  UpdateControlState();
}

void TWinControl::CMEnabledChanged(TMessage&) {
  if (!Enabled() && Parent()) {
    if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, false);
  }
  if (FHandle) EnableWindow(FHandle, Enabled());
}

void TWinControl::SetEnabled(bool enabled) {
  TControl::SetEnabled(enabled);
}

void TWinControl::CMFontChanged(TMessage&) {
  if (FHandle) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), 0);
  NotifyControls(CM_PARENTFONTCHANGED);
  Invalidate();
}

void TWinControl::CMColorChanged(TMessage&) {
  FBrush->SetColor(Color());
  NotifyControls(CM_PARENTCOLORCHANGED);
  Invalidate();
}

void TWinControl::CMTextChanged(TMessage&) {}

String TWinControl::GetText() const {
  if (!FHandle) return FText;
  int length = GetWindowTextLengthW(FHandle);
  String text(static_cast<size_t>(length) + 1, u'\0');
  int n = GetWindowTextW(FHandle, WBuf(text), length + 1);
  text.resize(static_cast<size_t>(std::max(0, n)));
  return text;
}

void TWinControl::SetText(const String& text) {
  if (text == GetText()) return;
  if (FHandle) {
    SetWindowTextW(FHandle, WStr(text));  // WM_SETTEXT keeps FText and announces the change
  } else {
    FText = text;
    Perform(CM_TEXTCHANGED, 0, 0);
  }
}

void TWinControl::SetParentBackground(bool value) {
  if (value == ParentBackground()) return;
  if (value)
    FControlStyle.Include(csParentBackground);
  else
    FControlStyle.Exclude(csParentBackground);
  Invalidate();
}

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::Broadcast(TMessage& message) {
  std::vector<TControl*> all(FControls.begin(), FControls.end());
  all.insert(all.end(), FWinControls.begin(), FWinControls.end());
  for (TControl* c : all) {
    c->MainWndProc(message);
    if (message.Result != 0) return;
  }
}

void TWinControl::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Owner() == root) proc(c);
  }
}

void TWinControl::SetChildOrder(TComponent* child, int order) {
  auto move = [order](auto& list, auto* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) return false;
    list.erase(it);
    size_t index = std::min<size_t>(static_cast<size_t>(std::max(order, 0)), list.size());
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(index), item);
    return true;
  };
  if (auto* wc = dynamic_cast<TWinControl*>(child)) {
    if (move(FWinControls, wc) && wc->FHandle)
      SetWindowPos(wc->FHandle, PrecedingWindow(wc), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  } else if (auto* c = dynamic_cast<TControl*>(child)) {
    if (move(FControls, c)) c->Invalidate();
  }
}

void TWinControl::NotifyControls(UINT msg) {
  TMessage m{msg, 0, 0, 0};
  std::vector<TControl*> all(FControls.begin(), FControls.end());
  all.insert(all.end(), FWinControls.begin(), FWinControls.end());
  for (TControl* c : all) {
    m.Result = 0;
    c->MainWndProc(m);
  }
}

void TWinControl::ScrollBy(Integer deltaX, Integer deltaY) {
  if (deltaX == 0 && deltaY == 0) return;
  DisableAlign();
  for (TControl* c : FControls) {
    c->FLeft += deltaX;
    c->FTop += deltaY;
  }
  for (TWinControl* c : FWinControls) {
    c->FLeft += deltaX;
    c->FTop += deltaY;
  }
  if (FHandle)
    ScrollWindowEx(FHandle, deltaX, deltaY, nullptr, nullptr, nullptr, nullptr,
                   SW_INVALIDATE | SW_ERASE | SW_SCROLLCHILDREN);
  for (TWinControl* c : FWinControls)
    if (c->FHandle) c->UpdateBounds();
  FControlState.Exclude(csAlignmentNeeded);
  --FAlignLevel;
}

// ---- Focus ----

bool TWinControl::CanFocus() const {
  const TControl* c = this;
  TCustomForm* form = GetParentForm(this);
  while (c && c != form) {
    if (!c->Visible() || !c->Enabled()) return false;
    c = c->Parent();
  }
  if (form) return form->Visible() && form->Enabled();
  // On a window of the system: what the windows say.
  const TWinControl* top = this;
  while (top->Parent()) top = top->Parent();
  return top->FParentWindow != nullptr;
}

bool TWinControl::Focused() const {
  return FHandle && GetFocus() == FHandle;
}

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this)) {
    form->FocusControl(this);
  } else {
    const TWinControl* top = this;
    while (top->Parent()) top = top->Parent();
    if (!top->FParentWindow) throw EInvalidOperation(Format(u"Control '%s' has no parent window", {Name()}));
    ::SetFocus(Handle());
  }
}

TTabOrder TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<TTabOrder>(it - list.begin());
}

void TWinControl::SetTabOrder(TTabOrder order) {
  if (ComponentState().Contains(csLoading)) FLoadedTabOrder = order;
  if (!Parent()) return;
  auto& list = Parent()->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  size_t index = order < 0 ? list.size() : std::min<size_t>(static_cast<size_t>(order), list.size());
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(index), this);
}

void TWinControl::SetTabStop(bool value) {
  if (value == FTabStop) return;
  FTabStop = value;
  if (FHandle) {
    LONG style = GetWindowLongW(FHandle, GWL_STYLE);
    SetWindowLongW(FHandle, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
  }
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* c : FTabList) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  auto found = std::find(list.begin(), list.end(), current);
  size_t start = found == list.end() ? (goForward ? list.size() - 1 : 0) : static_cast<size_t>(found - list.begin());
  size_t i = start;
  do {
    if (goForward) {
      i = i + 1 == list.size() ? 0 : i + 1;
    } else {
      i = i == 0 ? list.size() - 1 : i - 1;
    }
    TWinControl* c = list[i];
    if (c->CanFocus() && (!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this)) return c;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop)) next->SetFocus();
}

void TWinControl::DoEnter() {
  if (CanFireEvents()) OnEnter(this);
}

void TWinControl::DoExit() {
  if (CanFireEvents()) OnExit(this);
}

void TWinControl::CMEnter(TMessage&) {
  DoEnter();
}
void TWinControl::CMExit(TMessage&) {
  DoExit();
}

void TWinControl::KeyDown(Word& key, TShiftState shift) {
  if (CanFireEvents()) OnKeyDown(this, key, shift);
}
void TWinControl::KeyUp(Word& key, TShiftState shift) {
  if (CanFireEvents()) OnKeyUp(this, key, shift);
}
void TWinControl::KeyPress(Char& key) {
  if (CanFireEvents()) OnKeyPress(this, key);
}

bool TWinControl::DoKeyDown(TMessage& m) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKeyDown(m)) return true;
  Word key = static_cast<Word>(m.WParam);
  TShiftState shift = KeyDataToShiftState(m.LParam);
  if (!FControlStyle.Contains(csNoStdEvents)) {
    KeyDown(key, shift);
    if (key == 0) return true;
    m.WParam = key;
  }
  return false;
}

bool TWinControl::DoKeyUp(TMessage& m) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKeyUp(m)) return true;
  Word key = static_cast<Word>(m.WParam);
  TShiftState shift = KeyDataToShiftState(m.LParam);
  if (!FControlStyle.Contains(csNoStdEvents)) {
    KeyUp(key, shift);
    if (key == 0) return true;
    m.WParam = key;
  }
  return false;
}

bool TWinControl::DoKeyPress(TMessage& m) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKeyPress(m)) return true;
  Char key = static_cast<Char>(m.WParam);
  if (!FControlStyle.Contains(csNoStdEvents)) {
    KeyPress(key);
    if (key == 0) return true;
    m.WParam = key;
  }
  return false;
}

void TWinControl::WMKeyDown(TMessage& m) {
  if (!DoKeyDown(m)) DefaultHandler(m);
}
void TWinControl::WMKeyUp(TMessage& m) {
  if (!DoKeyUp(m)) DefaultHandler(m);
}
void TWinControl::WMChar(TMessage& m) {
  if (!DoKeyPress(m)) DefaultHandler(m);
}

void TWinControl::CNKeyDown(TMessage& m) {
  m.Result = 1;
  if (TCustomForm* form = GetParentForm(this); form && form->IsShortCut(m)) return;
  Word key = static_cast<Word>(m.WParam);
  if (Perform(CM_CHILDKEY, key, reinterpret_cast<LPARAM>(this)) != 0) return;
  UINT mask = 0;
  switch (key) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: break;
  }
  if (mask != 0 && Perform(CM_WANTSPECIALKEY, key, 0) == 0 &&
      (static_cast<UINT>(Perform(WM_GETDLGCODE, 0, 0)) & mask) == 0) {
    if (TCustomForm* form = GetParentForm(this); form && form->Perform(CM_DIALOGKEY, key, m.LParam) != 0) return;
  }
  m.Result = 0;
}

void TWinControl::CNChar(TMessage& m) {
  m.Result = 1;
  if ((static_cast<UINT>(Perform(WM_GETDLGCODE, 0, 0)) & DLGC_WANTCHARS) == 0) {
    if (TCustomForm* form = GetParentForm(this); form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0) return;
  }
  m.Result = 0;
}

void TWinControl::CMDialogKey(TMessage& m) {
  Broadcast(m);
}
void TWinControl::CMDialogChar(TMessage& m) {
  Broadcast(m);
}
void TWinControl::CMFocusChanged(TMessage& m) {
  Broadcast(m);
}

// ---- Window messages ----

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS: {
      TCustomForm* form = GetParentForm(this);
      if (form && !form->SetFocusedControl(this)) return;
      break;
    }
    case WM_KILLFOCUS:
      if (FControlState.Contains(csFocusing)) return;
      break;
    default:
      if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && m.Msg != WM_MOUSEWHEEL) {
        // A graphic child under the mouse (or holding the capture) gets it.
        TControl* target = nullptr;
        if (FHandle && GetCapture() == FHandle) {
          if (captureControl && captureControl->Parent() == this && !dynamic_cast<TWinControl*>(captureControl))
            target = captureControl;
        } else {
          target = ControlAtPos(m.Pos(), false);
        }
        if (target) {
          UINT msg = m.Msg;
          if (msg == WM_LBUTTONDBLCLK && !target->ControlStyle().Contains(csDoubleClicks)) msg = WM_LBUTTONDOWN;
          TPoint p{m.XPos() - target->Left(), m.YPos() - target->Top()};
          if (msg == WM_MOUSEMOVE && Application) Application->HintMouseMessage(this, m);
          m.Result = target->Perform(msg, m.WParam, MAKELPARAM(static_cast<WORD>(p.X), static_cast<WORD>(p.Y)));
          if (m.Result == 0 && FHandle) DefWindowProcW(FHandle, m.Msg, m.WParam, m.LParam);
          return;
        }
      }
      break;
  }
  TControl::WndProc(m);
}

void TWinControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: WMPaint(m); break;
    case WM_PRINTCLIENT: WMPrintClient(m); break;
    case WM_ERASEBKGND: WMEraseBkgnd(m); break;
    case WM_SIZE: WMSize(m); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(m); break;
    case WM_SETFOCUS: WMSetFocus(m); break;
    case WM_KILLFOCUS: WMKillFocus(m); break;
    case WM_SETCURSOR: WMSetCursor(m); break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: WMKeyDown(m); break;
    case WM_KEYUP:
    case WM_SYSKEYUP: WMKeyUp(m); break;
    case WM_CHAR: WMChar(m); break;
    case WM_COMMAND: WMCommand(m); break;
    case WM_NOTIFY: WMNotify(m); break;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: WMCtlColor(m); break;
    case WM_DRAWITEM: WMDrawItem(m); break;
    case WM_MEASUREITEM: WMMeasureItem(m); break;
    case WM_HSCROLL:
    case WM_VSCROLL: WMScroll(m); break;
    case WM_COMPAREITEM:
      if (!ReflectToChild(m, reinterpret_cast<COMPAREITEMSTRUCT*>(m.LParam)->hwndItem, CN_COMPAREITEM))
        DefaultHandler(m);
      break;
    case WM_DELETEITEM:
      if (!ReflectToChild(m, reinterpret_cast<DELETEITEMSTRUCT*>(m.LParam)->hwndItem, CN_DELETEITEM)) DefaultHandler(m);
      break;
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
      if (!ReflectToChild(m, reinterpret_cast<HWND>(m.LParam), CN_BASE + m.Msg)) DefaultHandler(m);
      break;
    case WM_NCDESTROY: WMNCDestroy(m); break;
    case WM_DROPFILES: WMDropFiles(m); break;
    case WM_SETTEXT: {
      String old = FText;
      DefaultHandler(m);
      FText = FromWStr(reinterpret_cast<const wchar_t*>(m.LParam));
      if (FText != old) Perform(CM_TEXTCHANGED, 0, 0);
      break;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      if (FHandle)
        DefaultHandler(m);  // the window holds the text
      else
        TControl::DefaultHandler(m);
      break;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: CNKeyDown(m); break;
    case CN_CHAR:
    case CN_SYSCHAR: CNChar(m); break;
    case CN_KEYUP: m.Result = 0; break;
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: CNCtlColor(m); break;
    case CM_DIALOGKEY: CMDialogKey(m); break;
    case CM_DIALOGCHAR: CMDialogChar(m); break;
    case CM_FOCUSCHANGED: CMFocusChanged(m); break;
    case CM_SHOWINGCHANGED: CMShowingChanged(m); break;
    case CM_ENTER: CMEnter(m); break;
    case CM_EXIT: CMExit(m); break;
    case CM_RECREATEWND: CMRecreateWnd(m); break;
    case CM_CHILDKEY: m.Result = Parent() ? Parent()->Perform(CM_CHILDKEY, m.WParam, m.LParam) : 0; break;
    case CM_SHOWHINTCHANGED: NotifyControls(CM_PARENTSHOWHINTCHANGED); break;
    default: TControl::Dispatch(m); break;
  }
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (FHandle) {
    m.Result = CallWindowProcW(FDefWndProc, FHandle, m.Msg, m.WParam, m.LParam);
    return;
  }
  TControl::DefaultHandler(m);
}

bool TWinControl::ReflectToChild(TMessage& m, HWND child, UINT reflected) {
  TWinControl* control = FindControl(child);
  if (!control || control == this) return false;
  m.Result = control->Perform(reflected, m.WParam, m.LParam);
  return true;
}

void TWinControl::WMCommand(TMessage& m) {
  if (!m.LParam || !ReflectToChild(m, reinterpret_cast<HWND>(m.LParam), CN_COMMAND)) DefaultHandler(m);
}

void TWinControl::WMNotify(TMessage& m) {
  auto* header = reinterpret_cast<NMHDR*>(m.LParam);
  if (!header || !ReflectToChild(m, header->hwndFrom, CN_NOTIFY)) DefaultHandler(m);
}

void TWinControl::WMCtlColor(TMessage& m) {
  if (!ReflectToChild(m, reinterpret_cast<HWND>(m.LParam), CN_BASE + m.Msg)) DefaultHandler(m);
}

void TWinControl::WMDrawItem(TMessage& m) {
  auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  if (!item || item->CtlType == ODT_MENU || !ReflectToChild(m, item->hwndItem, CN_DRAWITEM)) DefaultHandler(m);
}

void TWinControl::WMMeasureItem(TMessage& m) {
  auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  if (item && item->CtlType != ODT_MENU && FHandle) {
    for (TWinControl* c : FWinControls)
      if (c->FHandle && static_cast<UINT>(GetWindowLongPtrW(c->FHandle, GWLP_ID)) == item->CtlID) {
        m.Result = c->Perform(CN_MEASUREITEM, m.WParam, m.LParam);
        return;
      }
  }
  DefaultHandler(m);
}

void TWinControl::WMScroll(TMessage& m) {
  if (!m.LParam || !ReflectToChild(m, reinterpret_cast<HWND>(m.LParam), CN_BASE + m.Msg)) DefaultHandler(m);
}

void TWinControl::CNCtlColor(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font().Color())) & 0xFFFFFF);
  SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(FBrush->Color())) & 0xFFFFFF);
  m.Result = reinterpret_cast<LRESULT>(FBrush->Handle());
}

void TWinControl::WMNCDestroy(TMessage& m) {
  HWND handle = FHandle;
  DefaultHandler(m);
  if (handle) RemovePropW(handle, kControlProperty);
  FHandle = nullptr;
  FShowing = false;
}

void TWinControl::WMSize(TMessage& m) {
  DefaultHandler(m);
  UpdateBounds();
}

void TWinControl::WMWindowPosChanged(TMessage& m) {
  DefaultHandler(m);
  if (!FControlState.Contains(csDestroyingHandle)) UpdateBounds();
}

void TWinControl::WMSetFocus(TMessage& m) {
  DefaultHandler(m);
}
void TWinControl::WMKillFocus(TMessage& m) {
  DefaultHandler(m);
}

void TWinControl::WMSetCursor(TMessage& m) {
  if (LOWORD(m.LParam) == HTCLIENT && reinterpret_cast<HWND>(m.WParam) == FHandle && Screen) {
    TCursor cursor = Screen->Cursor();
    if (cursor == crDefault) {
      POINT p{};
      GetCursorPos(&p);
      TControl* control = ControlAtPos(ScreenToClient(FromPOINT(p)), false);
      if (control) cursor = control->Cursor();
      if (cursor == crDefault) cursor = Cursor();
    }
    if (cursor != crDefault) {
      ::SetCursor(Screen->Cursors(cursor));
      m.Result = 1;
      return;
    }
  }
  DefaultHandler(m);
}

// ---- Painting ----

void TWinControl::PaintWindow(HDC dc) {
  TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
  DefaultHandler(m);
}

void TWinControl::EraseBackground(HDC dc) {
  if (IsTransparent() && Parent()) {
    Parent()->PaintBackgroundOf(*this, dc);
    return;
  }
  if (Color() == clNone) return;
  RECT r = ToRECT(ClientRect());
  FillRect(dc, &r, FBrush->Handle());
}

void TWinControl::WMEraseBkgnd(TMessage& m) {
  EraseBackground(reinterpret_cast<HDC>(m.WParam));
  m.Result = 1;
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  auto it = first ? std::find(FControls.begin(), FControls.end(), first) : FControls.begin();
  for (; it != FControls.end(); ++it) {
    TControl* c = *it;
    if (!c->Visible()) continue;
    RECT clip{};
    RECT bounds = ToRECT(c->BoundsRect());
    RECT box{};
    GetClipBox(dc, &box);
    if (!IntersectRect(&clip, &bounds, &box)) continue;
    int saved = SaveDC(dc);
    POINT org{};
    GetViewportOrgEx(dc, &org);
    SetViewportOrgEx(dc, org.x + c->Left(), org.y + c->Top(), nullptr);
    ::IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
  }
}

void TWinControl::PaintHandler(HDC dc, bool erase) {
  // What shows through a transparent control is painted first, always.
  if (IsTransparent() && Parent())
    Parent()->PaintBackgroundOf(*this, dc);
  else if (erase)
    EraseBackground(dc);
  if (FControls.empty()) {
    PaintWindow(dc);
  } else {
    int saved = SaveDC(dc);
    int clip = SIMPLEREGION;
    for (TControl* c : FControls) {
      if (c->Visible() && c->ControlStyle().Contains(csOpaque)) {
        clip = ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
        if (clip == NULLREGION) break;
      }
    }
    if (clip != NULLREGION) PaintWindow(dc);
    RestoreDC(dc, saved);
  }
  PaintControls(dc, nullptr);
}

void TWinControl::WMPaint(TMessage& m) {
  bool custom = FControlState.Contains(csCustomPaint) || !FControls.empty() || IsTransparent();
  if (m.WParam) {
    if (!custom)
      DefaultHandler(m);
    else
      PaintHandler(reinterpret_cast<HDC>(m.WParam), false);
    return;
  }
  if (!custom) {
    DefaultHandler(m);
    return;
  }
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(FHandle, &ps);
  if (FDoubleBuffered) {
    TRect client = ClientRect();
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, std::max(1, client.Width()), std::max(1, client.Height()));
    HGDIOBJ old = SelectObject(memory, bitmap);
    ::IntersectClipRect(memory, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
    try {
      PaintHandler(memory, true);
    } catch (...) {
      SelectObject(memory, old);
      DeleteObject(bitmap);
      DeleteDC(memory);
      EndPaint(FHandle, &ps);
      throw;
    }
    BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left, ps.rcPaint.bottom - ps.rcPaint.top,
           memory, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
  } else {
    try {
      PaintHandler(dc, false);
    } catch (...) {
      EndPaint(FHandle, &ps);
      throw;
    }
  }
  EndPaint(FHandle, &ps);
}

void TWinControl::WMPrintClient(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (FDefWndProc != DefWindowProcW && FControls.empty()) {
    DefaultHandler(m);
    return;
  }
  PaintHandler(dc, (m.LParam & PRF_ERASEBKGND) != 0);
  if (m.LParam & PRF_CHILDREN)
    for (TWinControl* c : FWinControls)
      if (c->Visible() && c->FHandle) c->PaintTo(dc, c->Left(), c->Top());
  m.Result = 0;
}

void TWinControl::PaintTo(HDC dc, Integer x, Integer y) {
  int saved = SaveDC(dc);
  POINT org{};
  GetViewportOrgEx(dc, &org);
  SetViewportOrgEx(dc, org.x + x, org.y + y, nullptr);
  ::IntersectClipRect(dc, 0, 0, FWidth, FHeight);
  if (FHandle && FDefWndProc != DefWindowProcW && FControls.empty()) {
    // A window of the system paints itself at the origin of a context of its
    // own (not all of them honour a moved origin), which is then copied.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, std::max<Integer>(1, FWidth), std::max<Integer>(1, FHeight));
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(FHandle, WM_PRINT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
    BitBlt(dc, 0, 0, FWidth, FHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
  } else {
    // The frame first, then the client area moved to where it lies in the window.
    TPoint offset{0, 0};
    if (FHandle) {
      RECT window{};
      GetWindowRect(FHandle, &window);
      POINT client{0, 0};
      ::ClientToScreen(FHandle, &client);
      offset = {client.x - window.left, client.y - window.top};
      if (offset.X || offset.Y || GetWindowLongW(FHandle, GWL_STYLE) & (WS_BORDER | WS_THICKFRAME))
        SendMessageW(FHandle, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT);
    }
    GetViewportOrgEx(dc, &org);
    SetViewportOrgEx(dc, org.x + offset.X, org.y + offset.Y, nullptr);
    TRect client = ClientRect();
    ::IntersectClipRect(dc, 0, 0, client.Width(), client.Height());
    PaintHandler(dc, true);
    for (TWinControl* c : FWinControls)
      if (c->Visible()) c->PaintTo(dc, c->Left(), c->Top());
  }
  RestoreDC(dc, saved);
}

void TWinControl::PaintBackgroundOf(const TControl& child, HDC dc) {
  int saved = SaveDC(dc);
  POINT org{};
  GetViewportOrgEx(dc, &org);
  SetViewportOrgEx(dc, org.x - child.Left(), org.y - child.Top(), nullptr);
  ::IntersectClipRect(dc, child.Left(), child.Top(), child.Left() + child.Width(), child.Top() + child.Height());
  EraseBackground(dc);
  PaintWindow(dc);
  RestoreDC(dc, saved);
}

void TWinControl::Resize() {
  TControl::Resize();
}

void TWinControl::Loaded() {
  TControl::Loaded();
  // Tab orders read before all siblings existed: now they can be honoured.
  std::stable_sort(FTabList.begin(), FTabList.end(), [](const TWinControl* a, const TWinControl* b) {
    auto key = [](const TWinControl* c) { return c->FLoadedTabOrder < 0 ? 0x7FFF : c->FLoadedTabOrder; };
    return key(a) < key(b);
  });
  if (FControlState.Contains(csAlignmentNeeded)) Realign();
}

// ---------------------------------------------------------------------------
// The window procedure of every window of the library

LRESULT CALLBACK ControlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* control = static_cast<TWinControl*>(GetPropW(window, kControlProperty));
  if (!control) {
    control = creatingControl;
    if (!control) return DefWindowProcW(window, msg, wParam, lParam);
    creatingControl = nullptr;
    control->FHandle = window;
    SetPropW(window, kControlProperty, control);
  }
  TMessage m{msg, wParam, lParam, 0};
  try {
    control->MainWndProc(m);
  } catch (...) {
    // Nothing crosses into the system: the application reports it.
    try {
      if (Application) Application->HandleException(control);
    } catch (...) {
    }
  }
  FreeDeviceContexts();
  return m.Result;
}

TMouse Mouse;

TPoint TMouse::CursorPos() const {
  POINT p{};
  GetCursorPos(&p);
  return FromPOINT(p);
}

void TMouse::SetCursorPos(TPoint p) {
  ::SetCursorPos(p.X, p.Y);
}

Integer TMouse::WheelScrollLines() const {
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  return lines == WHEEL_PAGESCROLL ? -1 : static_cast<Integer>(lines);
}

TWinControl* FindControl(HWND window) {
  if (!window) return nullptr;
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId()) return nullptr;
  return static_cast<TWinControl*>(GetPropW(window, kControlProperty));
}

TWinControl* FindWindowControl(TPoint screenPos) {
  HWND window = WindowFromPoint(ToPOINT(screenPos));
  while (window) {
    if (TWinControl* c = FindControl(window)) return c;
    window = GetParent(window);
  }
  return nullptr;
}

TControl* FindDragTarget(TPoint screenPos, bool allowDisabled) {
  TWinControl* window = FindControl(WindowFromPoint(ToPOINT(screenPos)));
  if (!window) return nullptr;
  if (TControl* c = window->ControlAtPos(window->ScreenToClient(screenPos), allowDisabled)) return c;
  return window;
}

TControl* GetCaptureControl() {
  if (captureControl) {
    HWND capture = GetCapture();
    TWinControl* owner = dynamic_cast<TWinControl*>(captureControl);
    if (!owner) owner = captureControl->Parent();
    if (!owner || !owner->HandleAllocated() || capture != owner->Handle()) captureControl = nullptr;
  }
  if (!captureControl) return FindControl(GetCapture());
  return captureControl;
}

void SetCaptureControl(TControl* control) {
  ReleaseCapture();
  captureControl = nullptr;
  if (!control) return;
  if (auto* wc = dynamic_cast<TWinControl*>(control)) {
    SetCapture(wc->Handle());
  } else if (control->Parent()) {
    SetCapture(control->Parent()->Handle());
  } else {
    return;
  }
  captureControl = control;
}

TCustomForm* GetParentForm(const TControl* control, bool topForm) {
  TCustomForm* found = nullptr;
  for (const TControl* c = control; c; c = c->Parent()) {
    if (auto* form = dynamic_cast<TCustomForm*>(const_cast<TControl*>(c))) {
      found = form;
      if (!topForm) return found;
    }
  }
  return found;
}

// ---------------------------------------------------------------------------
// Hidden windows for methods

namespace {

const wchar_t kUtilityClass[] = L"KestrumUtilityWindow";

LRESULT CALLBACK UtilityWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!method) return DefWindowProcW(window, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  try {
    (*method)(m);
  } catch (...) {
    try {
      if (Application) Application->HandleException(nullptr);
    } catch (...) {
    }
  }
  return m.Result;
}

}  // namespace

HWND AllocateHWnd(const TWndMethod& method, const wchar_t* className) {
  if (!className) className = kUtilityClass;
  WNDCLASSW existing{};
  if (!GetClassInfoW(ModuleInstance(), className, &existing)) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = UtilityWindowProc;
    wc.hInstance = ModuleInstance();
    wc.lpszClassName = className;
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      throw EOSError(u"Error creating window class");
  }
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, className, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                ModuleInstance(), nullptr);
  if (!window) throw EOSError(u"Error creating window");
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new TWndMethod(method)));
  return window;
}

void DeallocateHWnd(HWND window) {
  if (!window) return;
  auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
  delete method;
}

// ---------------------------------------------------------------------------
// Control canvases, custom and graphic controls

TControlCanvas::~TControlCanvas() {
  FreeHandle();
}

void TControlCanvas::CreateHandle() {
  if (!FControl) return;
  HWND window = nullptr;
  Integer dx = 0, dy = 0;
  if (auto* wc = dynamic_cast<TWinControl*>(FControl)) {
    window = wc->Handle();
  } else if (FControl->Parent()) {
    window = FControl->Parent()->Handle();
    dx = FControl->Left();
    dy = FControl->Top();
  }
  if (!window) return;
  HDC dc = GetDCEx(window, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
  if (!dc) return;
  if (dx || dy) SetViewportOrgEx(dc, dx, dy, nullptr);
  if (!dynamic_cast<TWinControl*>(FControl)) ::IntersectClipRect(dc, 0, 0, FControl->Width(), FControl->Height());
  FWindow = window;
  FContext = dc;
  canvasList.push_back(this);
  SetHandle(dc);
}

void TControlCanvas::FreeHandle() {
  SetHandle(nullptr);
  if (FContext) {
    ReleaseDC(FWindow, FContext);
    FContext = nullptr;
    FWindow = nullptr;
    canvasList.erase(std::remove(canvasList.begin(), canvasList.end(), this), canvasList.end());
  }
}

void FreeDeviceContexts() {
  std::vector<TControlCanvas*> list = canvasList;
  for (TControlCanvas* canvas : list)
    if (canvas->LockCount() == 0) canvas->FreeHandle();
}

void TCustomControl::Describe(TClassBuilder<TCustomControl>&) {}

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TCustomControl::~TCustomControl() {
  FCanvas->FreeHandle();
}

void TCustomControl::Paint() {}

void TCustomControl::PaintWindow(HDC dc) {
  FCanvas->Lock();
  FCanvas->FreeHandle();
  FCanvas->SetHandle(dc);
  try {
    Paint();
  } catch (...) {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    throw;
  }
  FCanvas->SetHandle(nullptr);
  FCanvas->Unlock();
}

void TCustomControl::WMPaint(TMessage& m) {
  FControlState.Include(csCustomPaint);
  try {
    TWinControl::WMPaint(m);
  } catch (...) {
    FControlState.Exclude(csCustomPaint);
    throw;
  }
  FControlState.Exclude(csCustomPaint);
}

void TGraphicControl::Describe(TClassBuilder<TGraphicControl>&) {}

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() {
  FCanvas->FreeHandle();
}

void TGraphicControl::Paint() {}

void TGraphicControl::Dispatch(TMessage& m) {
  if (m.Msg == WM_PAINT && m.WParam) {
    FCanvas->Lock();
    FCanvas->FreeHandle();
    FCanvas->SetHandle(reinterpret_cast<HDC>(m.WParam));
    try {
      Paint();
    } catch (...) {
      FCanvas->SetHandle(nullptr);
      FCanvas->Unlock();
      throw;
    }
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    return;
  }
  TControl::Dispatch(m);
}
