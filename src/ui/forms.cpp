#include "ui/forms.h"

#include <algorithm>
#include <span>

#include "classes/reader.h"
#include "rtl/files.h"
#include "rtl/format.h"
#include "rtl/sysstr.h"
#include "rtl/unicode.h"
#include "ui/actnlist.h"
#include "ui/menus.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TControlScrollBar, "Forms")
KST_CLASS_IMPL(TScrollingWinControl, "Forms")
KST_CLASS_IMPL(TScrollBox, "Forms")
KST_CLASS_IMPL(TCustomForm, "Forms")
KST_CLASS_IMPL(TForm, "Forms")
KST_CLASS_IMPL(TFrame, "Forms")
KST_CLASS_IMPL(THintWindow, "Forms")
KST_CLASS_IMPL(TApplication, "Forms")
KST_CLASS_IMPL(TScreen, "Forms")

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

const wchar_t kMDIFormProperty[] = L"KestrumMDIForm";
constexpr UINT_PTR kHintTimer = 1;
enum HintTimerMode { htmNone, htmShow, htmHide, htmReshow };
WNDPROC mdiClientProc = nullptr;

const char16_t kCannotFocus[] = u"Cannot focus a disabled or invisible window";

}  // namespace

// ---------------------------------------------------------------------------
// Types

const TTypeInfo& DescribeType(TypeTag<TScrollBarKind>) {
  static const TEnumTypeInfo t(u"TScrollBarKind", u"Forms", {u"sbHorizontal", u"sbVertical"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TFormStyle>) {
  static const TEnumTypeInfo t(u"TFormStyle", u"Forms", {u"fsNormal", u"fsMDIChild", u"fsMDIForm", u"fsStayOnTop"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TBorderIcon>) {
  static const TEnumTypeInfo t(u"TBorderIcon", u"Forms", {u"biSystemMenu", u"biMinimize", u"biMaximize", u"biHelp"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TBorderIcons>) {
  static const TSetTypeInfo t(u"TBorderIcons", u"Forms",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TBorderIcon>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TPosition>) {
  static const TEnumTypeInfo t(u"TPosition", u"Forms",
                               {u"poDesigned", u"poDefault", u"poDefaultPosOnly", u"poDefaultSizeOnly",
                                u"poScreenCenter", u"poDesktopCenter", u"poMainFormCenter", u"poOwnerFormCenter"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TWindowState>) {
  static const TEnumTypeInfo t(u"TWindowState", u"Forms", {u"wsNormal", u"wsMinimized", u"wsMaximized"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCloseAction>) {
  static const TEnumTypeInfo t(u"TCloseAction", u"Forms", {u"caNone", u"caHide", u"caFree", u"caMinimize"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TTileMode>) {
  static const TEnumTypeInfo t(u"TTileMode", u"Forms", {u"tbHorizontal", u"tbVertical"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCloseEvent>) {
  static const TMethodTypeInfo t(
      u"TCloseEvent", u"Forms", mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"Action", u"TCloseAction", ParamFlagBit(pfVar))});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCloseQueryEvent>) {
  static const TMethodTypeInfo t(u"TCloseQueryEvent", u"Forms", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"CanClose", u"Boolean", ParamFlagBit(pfVar))});
  return t;
}

// ---------------------------------------------------------------------------
// Scroll bars and scrolling controls

void TControlScrollBar::Describe(TClassBuilder<TControlScrollBar>& c) {
  c.Property(u"Increment", &TControlScrollBar::Increment, &TControlScrollBar::SetIncrement).Default(8);
  c.Property(u"Position", &TControlScrollBar::Position, &TControlScrollBar::SetPosition).Default(0);
  c.Property(u"Range", &TControlScrollBar::Range, &TControlScrollBar::SetRange).Default(0);
  c.Property(u"Tracking", &TControlScrollBar::Tracking, &TControlScrollBar::SetTracking).Default(0);
  c.Property(u"Visible", &TControlScrollBar::Visible, &TControlScrollBar::SetVisible).Default(1);
}

TPersistent* TControlScrollBar::GetOwner() const {
  return FControl;
}

void TControlScrollBar::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TControlScrollBar*>(source)) {
    FIncrement = other->FIncrement;
    FTracking = other->FTracking;
    FVisible = other->FVisible;
    SetRange(other->FRange);
    SetPosition(other->FPosition);
    return;
  }
  TPersistent::Assign(source);
}

Integer TControlScrollBar::ControlSize() const {
  if (!FControl) return 0;
  TRect r = FControl->ClientRect();
  return FKind == sbHorizontal ? r.Width() : r.Height();
}

bool TControlScrollBar::IsScrollBarVisible() const {
  return FVisible && FRange > ControlSize();
}

void TControlScrollBar::SetPosition(Integer value) {
  Integer maximum = std::max(0, FRange - ControlSize());
  value = std::clamp(value, 0, maximum);
  if (FControl && FControl->ComponentState().Contains(csLoading)) {
    FPosition = value;
    return;
  }
  if (value == FPosition) return;
  Integer delta = FPosition - value;
  FPosition = value;
  if (FControl) {
    if (FKind == sbHorizontal)
      FControl->ScrollBy(delta, 0);
    else
      FControl->ScrollBy(0, delta);
  }
  Update();
}

void TControlScrollBar::SetRange(Integer value) {
  FRange = std::max(0, value);
  if (FControl && !FControl->ComponentState().Contains(csLoading)) SetPosition(FPosition);
  Update();
}

void TControlScrollBar::SetVisible(bool value) {
  FVisible = value;
  Update();
}

void TControlScrollBar::Update() {
  if (!FControl || !FControl->HandleAllocated()) return;
  int bar = FKind == sbHorizontal ? SB_HORZ : SB_VERT;
  bool show = IsScrollBarVisible();
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  if (show) {
    si.nMax = FRange - 1;
    si.nPage = static_cast<UINT>(ControlSize());
    si.nPos = FPosition;
  }
  HWND handle = FControl->Handle();
  SetScrollInfo(handle, bar, &si, TRUE);
  if (show != FShown) {
    FShown = show;
    ShowScrollBar(handle, bar, show);
  }
}

void TControlScrollBar::ScrollMessage(TMessage& m) {
  Integer pos = FPosition;
  switch (LOWORD(m.WParam)) {
    case SB_LINEUP: pos -= FIncrement; break;
    case SB_LINEDOWN: pos += FIncrement; break;
    case SB_PAGEUP: pos -= ControlSize(); break;
    case SB_PAGEDOWN: pos += ControlSize(); break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = FRange; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      if (LOWORD(m.WParam) == SB_THUMBTRACK && !FTracking) return;
      SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(FControl->Handle(), FKind == sbHorizontal ? SB_HORZ : SB_VERT, &si);
      pos = si.nTrackPos;
      break;
    }
    default: return;
  }
  SetPosition(pos);
}

void TScrollingWinControl::Describe(TClassBuilder<TScrollingWinControl>&) {}

TScrollingWinControl::TScrollingWinControl(TComponent* owner)
    : TWinControl(owner),
      FHorzScrollBar(std::make_unique<TControlScrollBar>(this, sbHorizontal)),
      FVertScrollBar(std::make_unique<TControlScrollBar>(this, sbVertical)) {}

TScrollingWinControl::~TScrollingWinControl() = default;

void TScrollingWinControl::SetAutoScroll(bool value) {
  if (value == FAutoScroll) return;
  FAutoScroll = value;
  if (!value) {
    FHorzScrollBar->SetRange(0);
    FVertScrollBar->SetRange(0);
  }
  Realign();
}

void TScrollingWinControl::AdjustClientRect(TRect& rect) const {
  rect = Bounds(-FHorzScrollBar->Position(), -FVertScrollBar->Position(),
                std::max(FHorzScrollBar->Range(), rect.Width()), std::max(FVertScrollBar->Range(), rect.Height()));
}

void TScrollingWinControl::CalcAutoRange() {
  Integer right = 0, bottom = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible() || c->Align() == alClient) continue;
    if (c->Align() != alTop && c->Align() != alBottom)
      right = std::max(right, c->Left() + c->Width() + FHorzScrollBar->Position());
    if (c->Align() != alLeft && c->Align() != alRight)
      bottom = std::max(bottom, c->Top() + c->Height() + FVertScrollBar->Position());
  }
  FHorzScrollBar->FRange = right;
  FVertScrollBar->FRange = bottom;
}

void TScrollingWinControl::UpdateScrollBars() {
  if (FUpdatingScrollBars) return;
  FUpdatingScrollBars = true;
  try {
    FHorzScrollBar->Update();
    FVertScrollBar->Update();
  } catch (...) {
    FUpdatingScrollBars = false;
    throw;
  }
  FUpdatingScrollBars = false;
}

void TScrollingWinControl::AlignControls(TControl* control, TRect& rect) {
  TWinControl::AlignControls(control, rect);
  if (FAutoScroll && !FUpdatingScrollBars) {
    CalcAutoRange();
    UpdateScrollBars();
  }
}

void TScrollingWinControl::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateScrollBars();
}

void TScrollingWinControl::ScrollInView(TControl* control) {
  if (!control || !ContainsControl(control)) return;
  TRect r = control->BoundsRect();
  TRect client = ClientRect();
  if (r.Left < 0)
    FHorzScrollBar->SetPosition(FHorzScrollBar->Position() + r.Left);
  else if (r.Right > client.Width())
    FHorzScrollBar->SetPosition(FHorzScrollBar->Position() + std::min(r.Left, r.Right - client.Width()));
  if (r.Top < 0)
    FVertScrollBar->SetPosition(FVertScrollBar->Position() + r.Top);
  else if (r.Bottom > client.Height())
    FVertScrollBar->SetPosition(FVertScrollBar->Position() + std::min(r.Top, r.Bottom - client.Height()));
}

void TScrollingWinControl::Dispatch(TMessage& m) {
  if ((m.Msg == WM_HSCROLL || m.Msg == WM_VSCROLL) && m.LParam == 0) {
    (m.Msg == WM_HSCROLL ? FHorzScrollBar : FVertScrollBar)->ScrollMessage(m);
    m.Result = 0;
    return;
  }
  TWinControl::Dispatch(m);
}

void TScrollBox::Describe(TClassBuilder<TScrollBox>& c) {
  publish::KeptWindowed(c);
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"AutoScroll", &TScrollBox::AutoScroll, &TScrollBox::SetAutoScroll).Default(1);
  c.Property(u"BorderStyle", &TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle, &BorderStyleType())
      .Default(bsSingle);
  publish::Color(c);
  publish::Constraints(c);
  publish::DoubleBuffered(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"HorzScrollBar", &TScrollBox::GetHorzScrollBar);
  publish::ParentBackground(c);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  publish::TabOrder(c);
  publish::TabStop(c);
  c.Property(u"VertScrollBar", &TScrollBox::GetVertScrollBar);
  publish::Visible(c);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
  publish::WheelEvents(c);
  publish::ResizeEvents(c);
}

TScrollBox::TScrollBox(TComponent* owner) : TScrollingWinControl(owner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetAutoScroll(true);
  SetBounds(0, 0, 185, 41);
}

void TScrollBox::SetBorderStyle(TFormBorderStyle style) {
  if (style == FBorderStyle) return;
  FBorderStyle = style;
  RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& params) {
  TScrollingWinControl::CreateParams(params);
  if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

// ---------------------------------------------------------------------------
// Form resources

namespace {

// The loader finds a named resource by a binary search in its own order of
// names, while the linker sorts them another way where "_" meets a letter
// ("TDLG_KST_EXTRACT" beside "TDLGABOUT"), so the search can miss a resource
// that is there. Walking the module's resource directory finds it anyway;
// the handle of a resource is the address of its data entry.
HRSRC FindModuleResource(HINSTANCE instance, const String& name, const wchar_t* type) {
  if (HRSRC resource = FindResourceW(instance, WStr(name), type)) return resource;
  if (!instance || !IS_INTRESOURCE(type) || (reinterpret_cast<UINT_PTR>(instance) & 3) != 0) return nullptr;
  const auto* base = reinterpret_cast<const BYTE*>(instance);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE) return nullptr;
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE];
  if (directory.VirtualAddress == 0) return nullptr;
  const BYTE* root = base + directory.VirtualAddress;
  auto entries = [&](const BYTE* dir) {
    const auto* header = reinterpret_cast<const IMAGE_RESOURCE_DIRECTORY*>(dir);
    return std::span(reinterpret_cast<const IMAGE_RESOURCE_DIRECTORY_ENTRY*>(header + 1),
                     header->NumberOfNamedEntries + header->NumberOfIdEntries);
  };
  for (const IMAGE_RESOURCE_DIRECTORY_ENTRY& typeEntry : entries(root)) {
    if (typeEntry.NameIsString || typeEntry.Id != reinterpret_cast<UINT_PTR>(type) || !typeEntry.DataIsDirectory)
      continue;
    for (const IMAGE_RESOURCE_DIRECTORY_ENTRY& nameEntry : entries(root + typeEntry.OffsetToDirectory)) {
      if (!nameEntry.NameIsString || !nameEntry.DataIsDirectory) continue;
      const auto* text = reinterpret_cast<const IMAGE_RESOURCE_DIR_STRING_U*>(root + nameEntry.NameOffset);
      if (!SameText(String(reinterpret_cast<const Char*>(text->NameString), text->Length), name)) continue;
      for (const IMAGE_RESOURCE_DIRECTORY_ENTRY& language : entries(root + nameEntry.OffsetToDirectory))
        if (!language.DataIsDirectory)
          return reinterpret_cast<HRSRC>(const_cast<BYTE*>(root + language.OffsetToData));
    }
  }
  return nullptr;
}

}  // namespace

TResourceStream::TResourceStream(HINSTANCE instance, const String& name, const wchar_t* type) {
  HRSRC resource = FindModuleResource(instance, name, type);
  if (!resource) throw EResNotFound(Format(u"Resource %s not found", {name}));
  HGLOBAL global = LoadResource(instance, resource);
  void* data = global ? LockResource(global) : nullptr;
  if (!data) throw EResNotFound(Format(u"Resource %s not found", {name}));
  SetPointer(static_cast<Byte*>(data), SizeofResource(instance, resource));
}

bool ReadComponentResource(TComponent& instance, const String& resourceName) {
  if (!Application) throw EInvalidOperation(u"No application to read forms with");
  HINSTANCE module = Application->ResourceModule();
  if (!FindModuleResource(module, resourceName, MAKEINTRESOURCEW(10))) return false;
  TResourceStream stream(module, resourceName, MAKEINTRESOURCEW(10));
  TComponentReader reader(stream, Application->ClassRegistry());
  reader.ReadRootComponent(&instance);
  return true;
}

bool InitInheritedComponent(TComponent& instance, const TClassInfo& base) {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = instance.ClassType(); c && c != &base; c = c->ClassParent()) chain.push_back(c);
  bool found = false;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    if (ReadComponentResource(instance, UpperCase((*it)->ClassName()))) found = true;
  return found;
}

// ---------------------------------------------------------------------------
// Forms

void TCustomForm::Describe(TClassBuilder<TCustomForm>&) {}

TCustomForm::TCustomForm(TComponent* owner) : TScrollingWinControl(owner), FIcon(std::make_unique<TIcon>()) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FCanvas = std::make_unique<TControlCanvas>(this);
  FPixelsPerInch = Screen ? Screen->PixelsPerInch() : ScreenLogPixels();
  TControl::SetVisible(false);
  SetColor(clBtnFace);
  SetParentFont(false);
  Font().SetName(u"Tahoma");
  Font().SetHeight(-11);
  SetBounds(0, 0, 320, 240);
  if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  FInDestructor = true;
  Destroying();
  if (Application) {
    Application->ControlDestroyed(this);
    if (Application->MainForm() == this) Application->SetMainForm(nullptr);
  }
  if (Screen) Screen->RemoveForm(this);
  FCanvas->FreeHandle();
  DestroyHandle();
}

void TCustomForm::Destroying() {
  if (!FDestroyFired && !FInDestructor && !ComponentState().Contains(csDestroying)) {
    FDestroyFired = true;
    try {
      DoDestroy();
    } catch (...) {
      if (Application) Application->HandleException(this);
    }
  }
  TScrollingWinControl::Destroying();
}

namespace {
void OwnedNonControls(TComponent& owner, const std::function<void(TComponent*)>& proc) {
  for (int i = 0; i < owner.ComponentCount(); ++i)
    if (TComponent* c = owner.Components(i); !c->HasParent()) proc(c);
}
}  // namespace

void TCustomForm::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
  TScrollingWinControl::GetChildren(proc, root);
  if (root == this) OwnedNonControls(*this, proc);
}

void TFrame::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
  TScrollingWinControl::GetChildren(proc, root);
  if (root == this) OwnedNonControls(*this, proc);
}

void TCustomForm::Free() {
  Destroying();
  delete this;
}

void TCustomForm::Release() {
  if (FHandle)
    PostMessageW(FHandle, CM_RELEASE, 0, 0);
  else
    Free();
}

void TCustomForm::AfterConstruction() {
  FFormState.Include(fsCreating);
  try {
    const TClassInfo* cls = ClassType();
    if (cls != &TForm::StaticClass() && cls != &TCustomForm::StaticClass()) {
      DisableAlign();
      bool found = false;
      try {
        found = InitInheritedComponent(*this, TForm::StaticClass());
      } catch (...) {
        EnableAlign();
        throw;
      }
      EnableAlign();
      if (!found) throw EResNotFound(Format(u"Resource %s not found", {ClassName()}));
    }
  } catch (...) {
    FFormState.Exclude(fsCreating);
    throw;
  }
  FFormState.Exclude(fsCreating);
  DoCreate();
  if (FFormState.Contains(fsVisible) || FFormStyle == fsMDIChild) Show();
}

void TCustomForm::DoCreate() {
  if (CanFireEvents()) OnCreate(this);
}
void TCustomForm::DoDestroy() {
  OnDestroy(this);
}
void TCustomForm::DoShow() {
  if (CanFireEvents()) OnShow(this);
}
void TCustomForm::DoHide() {
  if (CanFireEvents()) OnHide(this);
}
void TCustomForm::DoClose(TCloseAction& action) {
  if (CanFireEvents()) OnClose(this, action);
}
void TCustomForm::Activate() {
  if (CanFireEvents()) OnActivate(this);
}
void TCustomForm::Deactivate() {
  if (CanFireEvents()) OnDeactivate(this);
}

void TCustomForm::Loaded() {
  TScrollingWinControl::Loaded();
  Integer w = FPendingClientWidth, h = FPendingClientHeight;
  FPendingClientWidth = FPendingClientHeight = -1;
  if (w >= 0) SetClientWidth(w);
  if (h >= 0) SetClientHeight(h);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TScrollingWinControl::Notification(component, operation);
  if (operation == opRemove) {
    if (component == FActiveControl) FActiveControl = nullptr;
    if (component == FFocusedControl) FFocusedControl = nullptr;
    if (component == FMenu) FMenu = nullptr;
    if (component == FWindowMenu) FWindowMenu = nullptr;
  }
}

// ---- Menus ----

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == FMenu) return;
  if (FMenu) {
    MergeMenu(false);
    if (FHandle && FFormStyle != fsMDIChild && FMenu->Items()->HandleAllocated() &&
        ::GetMenu(FHandle) == FMenu->Items()->Handle())
      ::SetMenu(FHandle, nullptr);
    FMenu->SetWindowHandle(nullptr);
    FMenu->RemoveFreeNotification(this);
  }
  FMenu = menu;
  if (menu) menu->FreeNotification(this);
  if (FHandle && !ComponentState().Contains(csLoading)) ApplyMenu();
}

void TCustomForm::SetWindowMenu(TMenuItem* item) {
  if (item == FWindowMenu) return;
  if (FWindowMenu) FWindowMenu->RemoveFreeNotification(this);
  FWindowMenu = item;
  if (item) item->FreeNotification(this);
  if (FHandle && !ComponentState().Contains(csLoading)) ApplyMenu();
}

void TCustomForm::ApplyMenu() {
  if (!FHandle) return;
  if (FFormStyle == fsMDIChild) {
    if (FActive) MergeMenu(true);
    return;
  }
  if (FMenu) {
    FMenu->SetWindowHandle(FHandle);
    HMENU bar = FMenu->Handle();
    if (::GetMenu(FHandle) != bar) ::SetMenu(FHandle, bar);
  }
  if (FClientHandle && FFormStyle == fsMDIForm) {
    // The system lists the documents under the window menu.
    HMENU windowMenu = FWindowMenu && FMenu && FMenu->ContainsItem(FWindowMenu) ? FWindowMenu->Handle() : nullptr;
    SendMessageW(FClientHandle, WM_MDISETMENU, reinterpret_cast<WPARAM>(FMenu ? FMenu->Handle() : nullptr),
                 reinterpret_cast<LPARAM>(windowMenu));
  }
  DrawMenuBar(FHandle);
}

void TCustomForm::MergeMenu(bool merge) {
  if (FFormStyle != fsMDIChild || !FMenu || !Application) return;
  TCustomForm* main = Application->MainForm();
  if (!main || main == this || !main->FMenu) return;
  if (merge)
    main->FMenu->Merge(FMenu);
  else
    main->FMenu->Unmerge(FMenu);
}

bool TCustomForm::MenuMessage(TMessage& m) {
  if (!FMenu) return false;
  TMainMenu* menus[] = {FMenu, FMenu->Merged()};
  for (TMainMenu* menu : menus) {
    if (!menu) continue;
    switch (m.Msg) {
      case WM_COMMAND:
        if (TMenuItem* item = menu->FindItem(LOWORD(m.WParam))) {
          item->Click();
          m.Result = 0;
          return true;
        }
        break;
      case WM_MEASUREITEM:
        if (menu->MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam))) {
          m.Result = 1;
          return true;
        }
        break;
      case WM_DRAWITEM:
        if (menu->DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam))) {
          m.Result = 1;
          return true;
        }
        break;
      case WM_INITMENUPOPUP:
        // Told, then the system does its own part.
        if (menu->InitMenuPopup(reinterpret_cast<HMENU>(m.WParam))) return false;
        break;
      default: return false;
    }
  }
  return false;
}

bool TCustomForm::IsShortCutHere(const TMessage& message) {
  if (FMenu && FMenu->IsShortCut(message)) return true;
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* list = dynamic_cast<TCustomActionList*>(Components(i)); list && list->IsShortCut(message)) return true;
  return false;
}

bool TCustomForm::IsShortCut(const TMessage& message) {
  if (message.Msg != CN_KEYDOWN && message.Msg != CN_SYSKEYDOWN && message.Msg != WM_KEYDOWN &&
      message.Msg != WM_SYSKEYDOWN)
    return false;
  if (FFormStyle == fsMDIChild) {
    if (IsShortCutHere(message)) return true;
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    return main && main != this && main->FFormStyle == fsMDIForm && main->IsShortCutHere(message);
  }
  if (FFormStyle == fsMDIForm)
    if (TCustomForm* child = ActiveMDIChild(); child && child != this && child->IsShortCutHere(message)) return true;
  return IsShortCutHere(message);
}

TRect TCustomForm::ClientRect() const {
  TRect r = TScrollingWinControl::ClientRect();
  if (!FHandle) {
    if (FPendingClientWidth >= 0) r.Right = r.Left + FPendingClientWidth;
    if (FPendingClientHeight >= 0) r.Bottom = r.Top + FPendingClientHeight;
  }
  return r;
}

void TCustomForm::SetClientWidth(Integer value) {
  if (ComponentState().Contains(csLoading)) {
    FPendingClientWidth = value;
    return;
  }
  TScrollingWinControl::SetClientWidth(value);
}

void TCustomForm::SetClientHeight(Integer value) {
  if (ComponentState().Contains(csLoading)) {
    FPendingClientHeight = value;
    return;
  }
  TScrollingWinControl::SetClientHeight(value);
}

void TCustomForm::SetVisible(bool visible) {
  if (ComponentState().Contains(csLoading) || FFormState.Contains(fsCreating)) {
    if (visible)
      FFormState.Include(fsVisible);
    else
      FFormState.Exclude(fsVisible);
    return;
  }
  if (!visible && FFormStyle == fsMDIChild && !ComponentState().Contains(csDestroying))
    throw EInvalidOperation(u"Cannot hide an MDI Child Form");
  TScrollingWinControl::SetVisible(visible);
}

void TCustomForm::Show() {
  SetVisible(true);
  if (FHandle && !Parent()) {
    if (FFormStyle == fsMDIChild) {
      if (HWND client = GetParent(FHandle)) SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(FHandle), 0);
    } else {
      SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
  }
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == FBorderStyle) return;
  FBorderStyle = style;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
  if (icons == FBorderIcons) return;
  FBorderIcons = icons;
  RecreateWnd();
}

void TCustomForm::SetPosition(TPosition position) {
  FPosition = position;
}

void TCustomForm::SetFormStyle(TFormStyle style) {
  if (style == FFormStyle) return;
  if (FHandle && (style == fsMDIChild || FFormStyle == fsMDIChild || style == fsMDIForm || FFormStyle == fsMDIForm))
    throw EInvalidOperation(u"Cannot change the form style of a form that is shown");
  FFormStyle = style;
  if (style == fsMDIChild && !ComponentState().Contains(csLoading)) FFormState.Include(fsVisible);
  RecreateWnd();
}

TWindowState TCustomForm::WindowState() const {
  if (FHandle && FShowing) {
    if (IsIconic(FHandle)) return wsMinimized;
    if (IsZoomed(FHandle)) return wsMaximized;
    return wsNormal;
  }
  return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState state) {
  FWindowState = state;
  if (!FHandle || !FShowing || ComponentState().Contains(csLoading)) return;
  if (FFormStyle == fsMDIChild) {
    HWND client = GetParent(FHandle);
    if (state == wsMaximized)
      SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(FHandle), 0);
    else if (state == wsMinimized)
      ShowWindow(FHandle, SW_MINIMIZE);
    else
      SendMessageW(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(FHandle), 0);
    return;
  }
  ShowWindow(FHandle, state == wsMaximized ? SW_MAXIMIZE : state == wsMinimized ? SW_MINIMIZE : SW_RESTORE);
}

void TCustomForm::CreateParams(TCreateParams& params) {
  TScrollingWinControl::CreateParams(params);
  params.Style &= ~static_cast<DWORD>(WS_TABSTOP);
  if (!Parent() && !ParentWindow()) {
    params.Style &= ~static_cast<DWORD>(WS_CHILD | WS_CLIPSIBLINGS);
    params.WndParent = nullptr;
    if (FFormStyle == fsMDIChild) {
      params.Style |= WS_CHILD | WS_CLIPSIBLINGS;
      params.ExStyle |= WS_EX_MDICHILD;
    } else if (Application && Application->MainForm() && Application->MainForm() != this &&
               Application->MainForm()->HandleAllocated()) {
      params.WndParent = Application->MainForm()->FHandle;
    }
    bool defaultPos = FPosition == poDefault || FPosition == poDefaultPosOnly;
    bool defaultSize = FPosition == poDefault || FPosition == poDefaultSizeOnly;
    if (defaultPos) params.X = params.Y = static_cast<Integer>(CW_USEDEFAULT);
    if (defaultSize) params.Width = params.Height = static_cast<Integer>(CW_USEDEFAULT);
  }
  switch (FBorderStyle) {
    case bsNone:
      if (!Parent() && !ParentWindow() && FFormStyle != fsMDIChild) params.Style |= WS_POPUP;
      break;
    case bsSingle:
    case bsToolWindow: params.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable:
    case bsSizeToolWin: params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      params.Style |= WS_CAPTION;
      if (!Parent() && !ParentWindow() && FFormStyle != fsMDIChild) params.Style |= WS_POPUP;
      params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
  }
  if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) params.ExStyle |= WS_EX_TOOLWINDOW;
  if (FBorderStyle != bsNone) {
    if (FBorderIcons.Contains(biSystemMenu)) params.Style |= WS_SYSMENU;
    if (FBorderStyle != bsDialog && FBorderStyle != bsToolWindow && FBorderStyle != bsSizeToolWin) {
      if (FBorderIcons.Contains(biMinimize)) params.Style |= WS_MINIMIZEBOX;
      if (FBorderIcons.Contains(biMaximize)) params.Style |= WS_MAXIMIZEBOX;
    }
    if (FBorderIcons.Contains(biHelp)) params.ExStyle |= WS_EX_CONTEXTHELP;
  }
  if (FFormStyle == fsStayOnTop && !Parent()) params.ExStyle |= WS_EX_TOPMOST;
  params.WindowClass.style |= CS_DBLCLKS;
}

void TCustomForm::CreateWindowHandle(const TCreateParams& params) {
  if (FFormStyle == fsMDIChild && !Parent() && !ParentWindow()) {
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (!main || main->FormStyle() != fsMDIForm || !main->HandleAllocated() || !main->ClientHandle())
      throw EInvalidOperation(u"Cannot create form. No MDI forms are currently active");
    MDICREATESTRUCTW create{};
    create.szClass = WStr(params.WinClassName);
    create.szTitle = WStr(params.Caption);
    create.hOwner = params.WindowClass.hInstance;
    create.x = params.X;
    create.y = params.Y;
    create.cx = params.Width;
    create.cy = params.Height;
    create.style = params.Style & ~static_cast<DWORD>(WS_VISIBLE);
    create.lParam = reinterpret_cast<LPARAM>(params.Param);
    SetCreationControl(this);
    HWND handle =
        reinterpret_cast<HWND>(SendMessageW(main->ClientHandle(), WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    SetCreationControl(nullptr);
    if (handle) FFormState.Include(fsCreatedMDIChild);
    return;
  }
  TScrollingWinControl::CreateWindowHandle(params);
}

void TCustomForm::DestroyWindowHandle() {
  MergeMenu(false);
  // The system would destroy the bar with the window; the bar is the menu's.
  if (FHandle && FMenu && FFormStyle != fsMDIChild && FMenu->Items()->HandleAllocated() &&
      ::GetMenu(FHandle) == FMenu->Items()->Handle())
    ::SetMenu(FHandle, nullptr);
  if (FFormState.Contains(fsCreatedMDIChild) && FHandle) {
    FFormState.Exclude(fsCreatedMDIChild);
    if (HWND client = GetParent(FHandle)) {
      SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(FHandle), 0);
      FShowing = false;
      if (!FHandle) return;
    }
  }
  TScrollingWinControl::DestroyWindowHandle();
}

LRESULT CALLBACK TCustomForm::ClientWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* form = static_cast<TCustomForm*>(GetPropW(window, kMDIFormProperty));
  try {
    if (form) {
      switch (msg) {
        case WM_ERASEBKGND: {
          RECT r{};
          GetClientRect(window, &r);
          FillRect(reinterpret_cast<HDC>(wParam), &r, form->Brush().Handle());
          return 1;
        }
        case WM_NCDESTROY:
          RemovePropW(window, kMDIFormProperty);
          form->FClientHandle = nullptr;
          break;
        default: break;
      }
    }
  } catch (...) {
    try {
      if (Application) Application->HandleException(form);
    } catch (...) {
    }
    return 0;
  }
  return CallWindowProcW(mdiClientProc, window, msg, wParam, lParam);
}

void TCustomForm::CreateClientWindow() {
  TRect r = ClientRect();
  CLIENTCREATESTRUCT create{nullptr, 0xFF00};
  FClientHandle = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                  WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE,
                                  0, 0, r.Width(), r.Height(), FHandle, nullptr, GetModuleHandleW(nullptr), &create);
  if (!FClientHandle) throw EOSError(u"Error creating window");
  SetPropW(FClientHandle, kMDIFormProperty, this);
  WNDPROC old = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(FClientHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TCustomForm::ClientWindowProc)));
  if (!mdiClientProc) mdiClientProc = old;
}

void TCustomForm::CreateWnd() {
  TScrollingWinControl::CreateWnd();
  if (FFormStyle == fsMDIForm && !Parent()) {
    CreateClientWindow();
    Realign();
  }
  if (FMenu && !Parent() && !ParentWindow()) {
    // The form file's client size is the size below the bar.
    TRect before = ClientRect();
    ApplyMenu();
    if (FFormStyle != fsMDIChild && ClientHeight() != before.Height()) SetClientHeight(before.Height());
  } else if (FFormStyle == fsMDIForm && FClientHandle && FWindowMenu) {
    ApplyMenu();
  }
  if (!FIcon->Empty()) SendMessageW(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FIcon->Handle()));
}

void TCustomForm::AlignControls(TControl* control, TRect& rect) {
  TScrollingWinControl::AlignControls(control, rect);
  if (FClientHandle)
    SetWindowPos(FClientHandle, nullptr, rect.Left, rect.Top, std::max(0, rect.Width()), std::max(0, rect.Height()),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomForm::PaintWindow(HDC dc) {
  FCanvas->Lock();
  FCanvas->FreeHandle();
  FCanvas->SetHandle(dc);
  try {
    if (CanFireEvents()) OnPaint(this);
  } catch (...) {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    throw;
  }
  FCanvas->SetHandle(nullptr);
  FCanvas->Unlock();
}

void TCustomForm::ApplyPosition() {
  TRect work = Screen ? Screen->WorkAreaRect() : Rect(0, 0, 800, 600);
  auto centreOn = [&](const TRect& area) {
    SetBounds(area.Left + (area.Width() - FWidth) / 2, area.Top + (area.Height() - FHeight) / 2, FWidth, FHeight);
  };
  switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter: centreOn(work); break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TCustomForm* other = FPosition == poOwnerFormCenter ? dynamic_cast<TCustomForm*>(Owner()) : nullptr;
      if (!other && Application) other = Application->MainForm();
      if (other && other != this && other->HandleAllocated()) {
        RECT r{};
        GetWindowRect(other->FHandle, &r);
        centreOn(FromRECT(r));
      } else {
        centreOn(work);
      }
      break;
    }
    default: break;
  }
}

void TCustomForm::CMShowingChanged(TMessage&) {
  if (FShowing) {
    try {
      DoShow();
    } catch (...) {
      FShowing = false;
      throw;
    }
    if (Parent() || ParentWindow()) {
      ShowWindow(FHandle, SW_SHOWNA);
      return;
    }
    if (FFormStyle != fsMDIChild) ApplyPosition();
    int command = FWindowState == wsMaximized   ? SW_SHOWMAXIMIZED
                  : FWindowState == wsMinimized ? SW_SHOWMINIMIZED
                                                : SW_SHOWNORMAL;
    ShowWindow(FHandle, command);
    if (FFormStyle == fsMDIChild) {
      HWND client = GetParent(FHandle);
      if (FWindowState == wsMaximized) SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(FHandle), 0);
      SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(FHandle), 0);
    }
    FFormState.Include(fsShowing);
  } else {
    DoHide();
    ShowWindow(FHandle, SW_HIDE);
    FFormState.Exclude(fsShowing);
  }
}

void TCustomForm::SetActive(bool active) {
  FActive = active;
  if (active) {
    if (!FActiveControl && !ComponentState().Contains(csDesigning)) {
      TWinControl* first = FindNextControl(nullptr, true, true, false);
      if (first) FActiveControl = first;
    }
    SetWindowFocus();
  }
}

void TCustomForm::SetWindowFocus() {
  if (!FHandle) return;
  if (FActiveControl && FActiveControl->CanFocus()) {
    ::SetFocus(FActiveControl->Handle());
  } else if (FFormStyle == fsMDIForm && ActiveMDIChild()) {
    return;
  } else if (GetFocus() != FHandle) {
    ::SetFocus(FHandle);
  }
}

void TCustomForm::SetFocus() {
  if (!FActive) {
    if (!(Visible() && Enabled())) throw EInvalidOperation(kCannotFocus);
    SetWindowFocus();
  }
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == FActiveControl) return;
  bool loading = ComponentState().Contains(csLoading);
  if (control && !(control != this && GetParentForm(control) == this && (loading || control->CanFocus())))
    throw EInvalidOperation(kCannotFocus);
  FActiveControl = control;
  if (!loading && FActive) SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* control) {
  bool wasActive = FActive;
  SetActiveControl(control);
  if (!wasActive) SetFocus();
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
  if (!control) return;
  if (removing && FFocusedControl && control->ContainsControl(FFocusedControl)) FFocusedControl = control->Parent();
  // Nor may the screen keep a control that goes.
  if (removing && Screen && control->ContainsControl(Screen->FActiveControl)) Screen->FActiveControl = nullptr;
  if (FActiveControl && control->ContainsControl(FActiveControl)) {
    FActiveControl = nullptr;
    if (FActive && !ComponentState().Contains(csDestroying) && FHandle && !removing) SetWindowFocus();
  }
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
  if (ComponentState().Contains(csDestroying) || !control) return false;
  ++FFocusCount;
  FActiveControl = control != this ? control : nullptr;
  if (Screen) Screen->UpdateActive(this, control);
  if (control->ControlState().Contains(csFocusing)) return true;
  TControlState state = control->ControlState();
  control->SetControlState(state + TControlState{csFocusing});
  struct Restore {
    TWinControl* c;
    ~Restore() { c->SetControlState(c->ControlState() - TControlState{csFocusing}); }
  } restore{control};
  // Each message may move the focus elsewhere; then this change is over.
  auto send = [this](TControl* target, UINT msg) {
    int count = FFocusCount;
    target->Perform(msg, 0, 0);
    return count == FFocusCount;
  };
  if (Screen && Screen->FocusedForm() != this) {
    if (TCustomForm* previous = Screen->FocusedForm()) {
      Screen->SetFocusedForm(nullptr);
      if (!send(previous, CM_DEACTIVATE)) return false;
    }
    Screen->SetFocusedForm(this);
    if (!send(this, CM_ACTIVATE)) return false;
  }
  if (!FFocusedControl) FFocusedControl = this;
  if (FFocusedControl != control) {
    while (FFocusedControl && !FFocusedControl->ContainsControl(control)) {
      TWinControl* leaving = FFocusedControl;
      FFocusedControl = FFocusedControl->Parent();
      if (!send(leaving, CM_EXIT)) return false;
    }
    while (FFocusedControl != control) {
      TWinControl* entering = control;
      while (entering->Parent() != FFocusedControl) entering = entering->Parent();
      FFocusedControl = entering;
      if (!send(entering, CM_ENTER)) return false;
    }
    for (TWinControl* p = control->Parent(); p; p = p->Parent())
      if (auto* scrolling = dynamic_cast<TScrollingWinControl*>(p); scrolling && scrolling->AutoScroll())
        scrolling->ScrollInView(control);
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
  }
  return true;
}

void TCustomForm::CMDialogKey(TMessage& m) {
  if (GetKeyState(VK_MENU) >= 0) {
    switch (m.WParam) {
      case VK_TAB:
        if (GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
          m.Result = 1;
          return;
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        if (FActiveControl && FActiveControl->Parent()) {
          FActiveControl->Parent()->SelectNext(FActiveControl, m.WParam == VK_RIGHT || m.WParam == VK_DOWN, false);
          m.Result = 1;
        }
        return;
      default: break;
    }
  }
  TScrollingWinControl::CMDialogKey(m);
}

bool TCustomForm::CloseQuery() {
  if (FFormStyle == fsMDIForm)
    for (int i = 0; i < MDIChildCount(); ++i)
      if (!MDIChildren(i)->CloseQuery()) return false;
  bool canClose = true;
  if (OnCloseQuery && CanFireEvents()) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (FFormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  if (FFormStyle == fsMDIChild) action = FBorderIcons.Contains(biMinimize) ? caMinimize : caNone;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else {
    Release();
  }
}

void TCustomForm::CloseModal() {
  TCloseAction action = caNone;
  if (CloseQuery()) {
    action = caHide;
    DoClose(action);
  }
  switch (action) {
    case caNone: FModalResult = mrNone; break;
    case caFree: Release(); break;
    default: break;
  }
}

namespace {

struct DisabledWindows {
  std::vector<HWND> windows;
};

BOOL CALLBACK DisableWindow(HWND window, LPARAM data) {
  auto* list = reinterpret_cast<std::pair<HWND, DisabledWindows*>*>(data);
  if (window != list->first && IsWindowVisible(window) && IsWindowEnabled(window)) {
    list->second->windows.push_back(window);
    EnableWindow(window, FALSE);
  }
  return TRUE;
}

}  // namespace

TModalResult TCustomForm::ShowModal() {
  if (!Application) throw EInvalidOperation(u"No application to run the dialog");
  if (Visible() || !Enabled() || FFormState.Contains(fsModal) || FFormStyle == fsMDIChild)
    throw EInvalidOperation(u"Cannot make a visible window modal");
  if (GetCapture()) SendMessageW(GetCapture(), WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  if (Application) Application->CancelHint();
  FFormState.Include(fsModal);
  HWND activeWindow = GetActiveWindow();
  HandleNeeded();
  DisabledWindows disabled;
  std::pair<HWND, DisabledWindows*> data{FHandle, &disabled};
  EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&data));
  auto restore = [&] {
    for (HWND w : disabled.windows)
      if (IsWindow(w)) EnableWindow(w, TRUE);
    if (activeWindow && IsWindow(activeWindow)) SetActiveWindow(activeWindow);
    FFormState.Exclude(fsModal);
  };
  try {
    Show();
    try {
      FModalResult = mrNone;
      do {
        Application->HandleMessage();
        if (Application->Terminated())
          FModalResult = mrCancel;
        else if (FModalResult != mrNone)
          CloseModal();
      } while (FModalResult == mrNone);
    } catch (...) {
      Hide();
      throw;
    }
    if (!ComponentState().Contains(csDestroying)) Hide();
  } catch (...) {
    restore();
    throw;
  }
  restore();
  return FModalResult;
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
  if (FFormStyle != fsMDIForm || !FClientHandle) return nullptr;
  auto active = reinterpret_cast<HWND>(SendMessageW(FClientHandle, WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<TCustomForm*>(FindControl(active));
}

int TCustomForm::MDIChildCount() const {
  int count = 0;
  if (FClientHandle)
    for (HWND w = GetWindow(FClientHandle, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
      if (auto* form = dynamic_cast<TCustomForm*>(FindControl(w)); form && form->FormStyle() == fsMDIChild) ++count;
  return count;
}

TCustomForm* TCustomForm::MDIChildren(int index) const {
  if (FClientHandle)
    for (HWND w = GetWindow(FClientHandle, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
      if (auto* form = dynamic_cast<TCustomForm*>(FindControl(w)); form && form->FormStyle() == fsMDIChild) {
        if (index == 0) return form;
        --index;
      }
  throw EListError(Format(u"List index out of bounds (%d)", {index}));
}

void TCustomForm::Cascade() {
  if (FClientHandle) SendMessageW(FClientHandle, WM_MDICASCADE, 0, 0);
}
void TCustomForm::Tile() {
  if (FClientHandle)
    SendMessageW(FClientHandle, WM_MDITILE, FTileMode == tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL, 0);
}
void TCustomForm::ArrangeIcons() {
  if (FClientHandle) SendMessageW(FClientHandle, WM_MDIICONARRANGE, 0, 0);
}
void TCustomForm::Next() {
  if (FClientHandle) SendMessageW(FClientHandle, WM_MDINEXT, 0, 0);
}
void TCustomForm::Previous() {
  if (FClientHandle) SendMessageW(FClientHandle, WM_MDINEXT, 0, 1);
}

void TCustomForm::DefaultHandler(TMessage& m) {
  if (FHandle && FClientHandle) {
    if (m.Msg == WM_SIZE)
      m.Result = DefWindowProcW(FHandle, m.Msg, m.WParam, m.LParam);
    else
      m.Result = DefFrameProcW(FHandle, FClientHandle, m.Msg, m.WParam, m.LParam);
    return;
  }
  if (FHandle && FFormState.Contains(fsCreatedMDIChild)) {
    m.Result = DefMDIChildProcW(FHandle, m.Msg, m.WParam, m.LParam);
    return;
  }
  TScrollingWinControl::DefaultHandler(m);
}

void TCustomForm::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      m.Result = 0;
      return;
    case WM_ACTIVATE: {
      // The system focuses the form itself first, which would clear the
      // active control the form (or its settings) chose before it showed.
      TWinControl* chosen = FActiveControl;
      DefaultHandler(m);
      if (LOWORD(m.WParam) != WA_INACTIVE && !FActiveControl && chosen && chosen->CanFocus()) FActiveControl = chosen;
      if (FFormStyle != fsMDIForm) SetActive(LOWORD(m.WParam) != WA_INACTIVE);
      return;
    }
    case WM_MDIACTIVATE:
      DefaultHandler(m);
      if (FFormStyle == fsMDIChild) {
        bool active = reinterpret_cast<HWND>(m.LParam) == FHandle;
        SetActive(active);
        MergeMenu(active);
      }
      return;
    case WM_COMMAND:
      // From a menu (no control, no accelerator): the item of that command.
      if (HIWORD(m.WParam) == 0 && m.LParam == 0 && MenuMessage(m)) return;
      break;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (m.WParam == 0 && MenuMessage(m)) return;
      break;
    case WM_INITMENUPOPUP: MenuMessage(m); break;
    case CM_ACTIVATE: Activate(); return;
    case CM_DEACTIVATE: Deactivate(); return;
    case CM_RELEASE: Free(); return;
    case WM_QUERYENDSESSION: m.Result = CloseQuery(); return;
    case WM_GETMINMAXINFO: {
      DefaultHandler(m);
      auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
      const TSizeConstraints& c = Constraints();
      if (c.MinWidth() > 0) info->ptMinTrackSize.x = c.MinWidth();
      if (c.MinHeight() > 0) info->ptMinTrackSize.y = c.MinHeight();
      if (c.MaxWidth() > 0) info->ptMaxTrackSize.x = c.MaxWidth();
      if (c.MaxHeight() > 0) info->ptMaxTrackSize.y = c.MaxHeight();
      return;
    }
    case WM_NCDESTROY:
      if (FHandle) {
        // The document windows of an MDI frame go with it.
        FClientHandle = nullptr;
      }
      break;
    default: break;
  }
  TScrollingWinControl::Dispatch(m);
}

void TForm::Describe(TClassBuilder<TForm>& c) {
  // A form with no parent keeps the order the IDE gave it among siblings.
  KST_KEPT_PROPERTY(u"TabOrder", FormTabOrder).Default(-1);
  c.Property(
      u"TransparentColorValue", [](const TForm& o) { return o.Kept.TransparentColorValue; },
      [](TForm& o, Integer v) { o.Kept.TransparentColorValue = v; }, &types::Color())
      .Default(0);
  publish::UseDockManager(c);
  publish::KeptEvent<0>(c, u"OnAfterMonitorDpiChanged", TKeptEvent::MonitorDpiChanged);
  publish::KeptEvent<1>(c, u"OnConstrainedResize", TKeptEvent::ConstrainedResize);
  publish::KeptEvent<2>(c, u"OnShortCut", TKeptEvent::ShortCut);
  publish::KeptWindowed(c);
  publish::BorderWidth(c);
  c.Property(u"ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl);
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"AutoScroll", &TForm::AutoScroll, &TForm::SetAutoScroll);
  c.Property(u"BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons);
  c.Property(u"BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle).Default(bsSizeable);
  publish::Caption(c);
  c.Property(u"ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight);
  c.Property(u"ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth);
  publish::Color(c);
  publish::Constraints(c);
  publish::DoubleBuffered(c);
  publish::Enabled(c);
  publish::ParentFont(c);
  publish::Font(c);
  c.Property(u"FormStyle", &TForm::FormStyle, &TForm::SetFormStyle).Default(fsNormal);
  c.Property(u"HorzScrollBar", &TForm::GetHorzScrollBar);
  c.Property(u"Icon", &TForm::GetIcon);
  c.Property(u"KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview).Default(0);
  c.Property(u"Menu", &TForm::Menu, &TForm::SetMenu);
  c.Property(u"OldCreateOrder", &TForm::OldCreateOrder, &TForm::SetOldCreateOrder);
  publish::ParentBackground(c);
  c.Property(u"PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch);
  publish::PopupMenu(c);
  c.Property(u"Position", &TForm::Position, &TForm::SetPosition).Default(poDefaultPosOnly);
  c.Property(u"Scaled", &TForm::Scaled, &TForm::SetScaled).Default(1);
  publish::ShowHint(c);
  c.Property(u"TextHeight", &TForm::TextHeight, &TForm::SetTextHeight);
  c.Property(u"VertScrollBar", &TForm::GetVertScrollBar);
  publish::Visible(c);
  c.Property(u"WindowMenu", &TForm::WindowMenu, &TForm::SetWindowMenu);
  c.Property(u"WindowState", &TForm::WindowState, &TForm::SetWindowState).Default(wsNormal);
  c.Property(u"OnActivate", &TForm::OnActivate);
  c.Property(u"OnClose", &TForm::OnClose);
  c.Property(u"OnCloseQuery", &TForm::OnCloseQuery);
  c.Property(u"OnCreate", &TForm::OnCreate);
  c.Property(u"OnDeactivate", &TForm::OnDeactivate);
  c.Property(u"OnDestroy", &TForm::OnDestroy);
  c.Property(u"OnHide", &TForm::OnHide);
  c.Property(u"OnPaint", &TForm::OnPaint);
  c.Property(u"OnShow", &TForm::OnShow);
  publish::MouseEvents(c);
  publish::KeyEvents(c);
  publish::WheelEvents(c);
  publish::ResizeEvents(c);
}

void TFrame::Describe(TClassBuilder<TFrame>& c) {
  publish::KeptWindowed(c);
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"AutoScroll", &TFrame::AutoScroll, &TFrame::SetAutoScroll);
  publish::Color(c);
  publish::Constraints(c);
  publish::DoubleBuffered(c);
  publish::Enabled(c);
  publish::Font(c);
  publish::ParentBackground(c);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  publish::TabOrder(c);
  publish::TabStop(c);
  publish::Visible(c);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
  publish::WheelEvents(c);
  publish::ResizeEvents(c);
}

TFrame::TFrame(TComponent* owner) : TScrollingWinControl(owner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 320, 240);
}

void TFrame::AfterConstruction() {
  if (ClassType() == &TFrame::StaticClass()) return;
  DisableAlign();
  bool found = false;
  try {
    found = InitInheritedComponent(*this, TFrame::StaticClass());
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
  if (!found) throw EResNotFound(Format(u"Resource %s not found", {ClassName()}));
}

// ---------------------------------------------------------------------------
// Hint window

void THintWindow::Describe(TClassBuilder<THintWindow>&) {}

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
  SetColor(Application ? Application->HintColor() : clInfoBk);
  if (Screen) Font().Assign(&Screen->HintFont());
  Font().SetColor(clInfoText);
  TControl::SetVisible(false);
}

void THintWindow::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style = WS_POPUP | WS_BORDER;
  params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  params.WndParent = nullptr;
  params.WindowClass.style |= CS_SAVEBITS;
}

void THintWindow::Dispatch(TMessage& m) {
  if (m.Msg == WM_NCHITTEST) {
    m.Result = HTTRANSPARENT;
    return;
  }
  TCustomControl::Dispatch(m);
}

void THintWindow::Paint() {
  TRect r = ClientRect();
  r.Inflate(-2, -2);
  Canvas().Font().Assign(&Font());
  Canvas().Brush().SetStyle(bsClear);
  String text = Caption();
  Canvas().DrawText(text, r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}

TRect THintWindow::CalcHintRect(Integer maxWidth, const String& hint, void*) {
  if (hint.empty()) return {};
  TBitmap measure(1, 1);
  measure.Canvas().Font().Assign(&Font());
  TRect r = Rect(0, 0, maxWidth, 0);
  measure.Canvas().DrawText(hint, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  r.Right += 6;
  r.Bottom += 2;
  return r;
}

void THintWindow::ActivateHint(TRect rect, const String& hint) {
  SetCaption(hint);
  rect.Bottom += 4;
  TRect work = Screen ? Screen->WorkAreaRect() : rect;
  if (rect.Bottom > work.Bottom) rect.Offset(0, work.Bottom - rect.Bottom);
  if (rect.Right > work.Right) rect.Offset(work.Right - rect.Right, 0);
  if (rect.Left < work.Left) rect.Offset(work.Left - rect.Left, 0);
  if (rect.Top < work.Top) rect.Offset(0, work.Top - rect.Top);
  FLeft = rect.Left;
  FTop = rect.Top;
  FWidth = rect.Width();
  FHeight = rect.Height();
  SetWindowPos(Handle(), HWND_TOPMOST, rect.Left, rect.Top, rect.Width(), rect.Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THintWindow::ActivateHintData(TRect rect, const String& hint, void*) {
  ActivateHint(rect, hint);
}

bool THintWindow::IsHintMsg(const MSG& msg) {
  UINT m = msg.message;
  return (m >= WM_KEYFIRST && m <= WM_KEYLAST) || m == CM_ACTIVATE || m == CM_DEACTIVATE || m == CM_APPKEYDOWN ||
         m == CM_APPSYSCOMMAND || m == WM_COMMAND || (m > WM_MOUSEMOVE && m <= WM_MOUSELAST) || m == WM_NCMOUSEMOVE;
}

void THintWindow::ReleaseHandle() {
  DestroyHandle();
}

// ---------------------------------------------------------------------------
// Application

void TApplication::Describe(TClassBuilder<TApplication>&) {}

TApplication::TApplication(TComponent* owner, const TClassRegistry& registry)
    : TComponent(owner), FRegistry(&registry), FResourceModule(GetModuleHandleW(nullptr)) {
  if (Application) throw EInvalidOperation(u"The application exists already");
  Application = this;
  SetApplicationComponent(this);
  FScreen = std::make_unique<TScreen>(nullptr);
  Screen = FScreen.get();
  wchar_t path[MAX_PATH]{};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  String name = ExtractFileName(FromWStr(path));
  FTitle = name.substr(0, name.rfind(u'.'));
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  // Other instances of the program find the running one by this window, so
  // it is there from the start. Failing to make it only costs that: Handle
  // tries again when a message box needs it.
  try {
    Handle();
  } catch (const Exception&) {
  }
}

TApplication::~TApplication() {
  StopHintTimer();
  Destroying();
  DestroyComponents();
  FHintWindow = nullptr;
  FMainForm = nullptr;
  if (FHandle) DeallocateHWnd(FHandle);
  FHandle = nullptr;
  Screen = nullptr;
  FScreen.reset();
  if (Application == this) Application = nullptr;
  if (ApplicationComponent() == this) SetApplicationComponent(nullptr);
}

HWND TApplication::Handle() {
  if (!FHandle) {
    FHandle = AllocateHWnd(TWndMethod(this, &TApplication::WndProc), L"TApplication");
    SetWindowTextW(FHandle, WStr(FTitle));
  }
  return FHandle;
}

void TApplication::SetTitle(const String& title) {
  FTitle = title;
  if (FHandle) SetWindowTextW(FHandle, WStr(title));
}

void TApplication::WndProc(TMessage& m) {
  if (m.Msg == WM_TIMER && m.WParam == kHintTimer) {
    HintTimerExpired();
    return;
  }
  // The hidden window stands for the program: another process restores or
  // minimises it, or brings it to the front, and the main form follows.
  if (m.Msg == WM_SYSCOMMAND && ((m.WParam & 0xFFF0) == SC_RESTORE || (m.WParam & 0xFFF0) == SC_MINIMIZE)) {
    if ((m.WParam & 0xFFF0) == SC_RESTORE)
      Restore();
    else
      Minimize();
    m.Result = 0;
    return;
  }
  if (m.Msg == WM_ACTIVATE && LOWORD(m.WParam) != WA_INACTIVE) {
    // Activation is handed on once the system has finished activating this window.
    PostMessageW(FHandle, CM_ACTIVATE, 0, 0);
  } else if (m.Msg == CM_ACTIVATE) {
    TCustomForm* form = Screen && Screen->FocusedForm() ? Screen->FocusedForm() : FMainForm;
    if (form && form->HandleAllocated() && IsWindowVisible(form->Handle()) && IsWindowEnabled(form->Handle()))
      SetForegroundWindow(form->Handle());
    m.Result = 0;
    return;
  }
  m.Result = DefWindowProcW(FHandle, m.Msg, m.WParam, m.LParam);
}

void TApplication::Run() {
  if (FMainForm) {
    if (FMainForm->FWindowState == wsMinimized)
      Minimize();
    else
      FMainForm->SetVisible(true);
  }
  do {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  } while (!FTerminated);
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  IsHintMsg(msg);
  if (!IsMDIMsg(msg) && !IsKeyMsg(msg) && !IsDlgMsg(msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) Idle(msg);
}

void TApplication::Terminate() {
  PostQuitMessage(0);
}

void TApplication::Minimize() {
  if (FMainForm && FMainForm->HandleAllocated()) ShowWindow(FMainForm->Handle(), SW_MINIMIZE);
}

void TApplication::Restore() {
  if (FMainForm && FMainForm->HandleAllocated() && IsIconic(FMainForm->Handle()))
    ShowWindow(FMainForm->Handle(), SW_RESTORE);
}

bool TApplication::IsHintMsg(MSG& msg) {
  if (FHintWindow && FHintWindow->HandleAllocated() && IsWindowVisible(FHintWindow->Handle()) &&
      FHintWindow->IsHintMsg(msg))
    CancelHint();
  return false;
}

bool TApplication::IsMDIMsg(MSG& msg) {
  if (!FMainForm || FMainForm->FormStyle() != fsMDIForm || !FMainForm->ClientHandle()) return false;
  TCustomForm* active = Screen ? Screen->ActiveForm() : nullptr;
  if (!active || active->FormStyle() != fsMDIChild) return false;
  return TranslateMDISysAccel(FMainForm->ClientHandle(), &msg) != 0;
}

bool TApplication::IsDlgMsg(MSG& msg) {
  return FDialogHandle && IsWindow(FDialogHandle) && IsDialogMessageW(FDialogHandle, &msg);
}

bool TApplication::IsKeyMsg(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND window = GetCapture();
  if (!window) {
    window = msg.hwnd;
    if (FMainForm && window == FMainForm->ClientHandle()) {
      window = FMainForm->Handle();
    } else {
      // The nearest window of ours: others do not know the reflected messages.
      // The search stays inside the top-level window: a window of the system
      // (a modeless common dialog) has its keys, not the form that owns it.
      while (window && !FindControl(window))
        window = (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : nullptr;
      if (!window) return false;
    }
  } else if (!FindControl(window)) {
    return false;
  }
  return SendMessageW(window, CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

Word TApplication::AllocateMenuCommand() {
  // Below the system's commands and the numbers of the MDI window list.
  constexpr size_t kLast = 0xEFFF;
  if (FMenuCommands.empty()) FMenuCommands.assign(kLast + 1, false);
  for (size_t n = 0; n < kLast; ++n) {
    size_t id = 1 + (FNextMenuCommand + n) % kLast;
    if (!FMenuCommands[id]) {
      FMenuCommands[id] = true;
      FNextMenuCommand = id;
      return static_cast<Word>(id);
    }
  }
  return 0;
}

void TApplication::ReleaseMenuCommand(Word command) {
  if (command < FMenuCommands.size()) FMenuCommands[command] = false;
}

void TApplication::AddIdleHandler(const TIdleEvent& handler) {
  if (handler) FIdleHandlers.push_back(handler);
}

void TApplication::RemoveIdleHandler(const TIdleEvent& handler) {
  auto it = std::find(FIdleHandlers.begin(), FIdleHandlers.end(), handler);
  if (it != FIdleHandlers.end()) FIdleHandlers.erase(it);
}

void TApplication::DoMouseIdle() {
  POINT p{};
  if (!GetCursorPos(&p)) return;
  TControl* control = FindDragTarget(FromPOINT(p), true);
  MouseMovedOver(control);
  if (FShowHint && !FMouseControl) CancelHint();
  SetHint(control ? GetLongHint([&] {
    for (TControl* c = control; c; c = c->Parent())
      if (!c->Hint().empty()) return c->Hint();
    return String();
  }())
                  : String());
}

void TApplication::Idle(const MSG&) {
  DoMouseIdle();
  bool done = true;
  try {
    if (OnIdle) OnIdle(this, done);
    std::vector<TIdleEvent> handlers = FIdleHandlers;
    for (const TIdleEvent& handler : handlers) {
      if (std::find(FIdleHandlers.begin(), FIdleHandlers.end(), handler) == FIdleHandlers.end()) continue;
      handler(this, done);
    }
  } catch (...) {
    HandleException(this);
  }
  if (done) WaitMessage();
}

void TApplication::MouseMovedOver(TControl* control) {
  if (control == FMouseControl) return;
  TControl* old = FMouseControl;
  FMouseControl = control;
  if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
  if (control && control == FMouseControl) control->Perform(CM_MOUSEENTER, 0, 0);
}

void TApplication::ControlDestroyed(TControl* control) {
  if (FMainForm == control) FMainForm = nullptr;
  if (FMouseControl == control) FMouseControl = nullptr;
  if (FHintControl == control) {
    FHintControl = nullptr;
    FHintActive = false;
    StopHintTimer();
  }
  if (FHintWindow == control) FHintWindow = nullptr;
}

void TApplication::HandleException(TObject* sender) {
  auto report = [&](const Exception& e) {
    try {
      if (OnException)
        OnException(sender, e);
      else
        ShowException(e);
    } catch (...) {
      // The handler itself failed: nothing more can be told.
    }
  };
  try {
    throw;
  } catch (const EAbort&) {
  } catch (const Exception& e) {
    report(e);
  } catch (const std::exception& e) {
    report(Exception(UTF8ToString(e.what())));
  } catch (...) {
    report(Exception(u"Unknown exception"));
  }
}

void TApplication::ShowException(const Exception& e) {
  String text = e.Message();
  if (!text.empty() && text.back() > u'.') text += u'.';
  MessageBox(text, FTitle, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const String& text, const String& caption, UINT flags) {
  HWND owner = GetActiveWindow();
  if (!FindControl(owner)) owner = Handle();
  return MessageBox(text, caption, flags, owner);
}

int TApplication::MessageBox(const String& text, const String& caption, UINT flags, HWND owner) {
  if (MessageBoxHook) return MessageBoxHook(TMessageBoxRequest{owner, text, caption, flags});
  return MessageBoxW(owner, WStr(text), WStr(caption), flags);
}

// ---- Hints ----

void TApplication::SetShowHint(bool value) {
  if (value == FShowHint) return;
  FShowHint = value;
  if (!value) CancelHint();
}

void TApplication::SetHint(const String& hint) {
  if (hint == FHint) return;
  FHint = hint;
  OnHint(this);
}

void TApplication::StartHintTimer(Integer pause, int mode) {
  StopHintTimer();
  FHintTimerMode = mode;
  SetTimer(Handle(), kHintTimer, static_cast<UINT>(std::max(pause, 1)), nullptr);
}

void TApplication::StopHintTimer() {
  if (FHintTimerMode != htmNone && FHandle) KillTimer(FHandle, kHintTimer);
  FHintTimerMode = htmNone;
}

void TApplication::HintTimerExpired() {
  int mode = FHintTimerMode;
  StopHintTimer();
  POINT p{};
  switch (mode) {
    case htmShow:
    case htmReshow:
      GetCursorPos(&p);
      ActivateHint(FromPOINT(p));
      break;
    case htmHide:
      HideHint();
      FHintActive = false;
      break;
    default: break;
  }
}

void TApplication::HintMouseMessage(TControl* control, const TMessage& message) {
  TPoint screen = control->ClientToScreen(message.Pos());
  TControl* target = FindDragTarget(screen, true);
  if (!target) target = control;
  TControl* hintControl = target;
  while (hintControl && !hintControl->ShowHint()) hintControl = hintControl->Parent();
  if (!FShowHint || !hintControl) {
    CancelHint();
    return;
  }
  if (hintControl != FHintControl || !FHintCursorRect.Contains(screen)) {
    bool wasActive = FHintActive;
    CancelHint();
    FHintControl = hintControl;
    Integer pause = wasActive ? FHintShortPause : FHintPause;
    hintControl->Perform(CM_HINTSHOWPAUSE, wasActive, reinterpret_cast<LPARAM>(&pause));
    StartHintTimer(pause, htmShow);
  }
}

void TApplication::HideHint() {
  if (FHintWindow && FHintWindow->HandleAllocated() && IsWindowVisible(FHintWindow->Handle()))
    FHintWindow->ReleaseHandle();
}

void TApplication::CancelHint() {
  if (!FHintControl) return;
  HideHint();
  FHintControl = nullptr;
  FHintActive = false;
  StopHintTimer();
}

void TApplication::ActivateHint(TPoint cursorPos) {
  StopHintTimer();
  if (!FHintControl) {
    // Asked directly: the control under the point.
    TControl* c = FindDragTarget(cursorPos, true);
    while (c && !c->ShowHint()) c = c->Parent();
    FHintControl = c;
  }
  if (!FHintControl || !FHintControl->ShowHint() || !FShowHint) return;
  THintInfo info;
  info.HintControl = FHintControl;
  info.HintPos = cursorPos;
  info.HintPos.Y += GetSystemMetrics(SM_CYCURSOR) / 2 + 4;
  info.HintMaxWidth = Screen ? Screen->Width() : 640;
  info.HintColor = FHintColor;
  info.CursorRect = FHintControl->ClientRect();
  info.CursorPos = FHintControl->ScreenToClient(cursorPos);
  for (TControl* c = FHintControl; c; c = c->Parent())
    if (!c->Hint().empty()) {
      info.HintStr = GetShortHint(c->Hint());
      break;
    }
  info.HideTimeout = FHintHidePause;
  info.HintWindowClass = HintWindowClass;
  bool canShow = FHintControl->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
  if (canShow && OnShowHint) OnShowHint(info.HintStr, canShow, info);
  FHintActive = canShow && FHintControl;
  if (FHintActive && !info.HintStr.empty()) {
    if (!FHintWindow || info.HintWindowClassId != FHintWindowClassId) {
      if (FHintWindow) {
        THintWindow* old = FHintWindow;
        FHintWindow = nullptr;
        delete old;
      }
      FHintWindow = info.HintWindowClass ? info.HintWindowClass() : new THintWindow(this);
      FHintWindowClassId = info.HintWindowClassId;
    }
    TRect r = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    r.Offset(info.HintPos.X, info.HintPos.Y);
    TPoint topLeft = FHintControl->ClientToScreen(info.CursorRect.TopLeft());
    TPoint bottomRight = FHintControl->ClientToScreen(info.CursorRect.BottomRight());
    FHintCursorRect = {topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y};
    FHintWindow->SetColor(info.HintColor);
    FHintWindow->ActivateHintData(r, info.HintStr, info.HintData);
    if (info.ReshowTimeout > 0)
      StartHintTimer(info.ReshowTimeout, htmReshow);
    else
      StartHintTimer(info.HideTimeout, htmHide);
    return;
  }
  if (info.ReshowTimeout > 0)
    StartHintTimer(info.ReshowTimeout, htmReshow);
  else
    HideHint();
}

// ---------------------------------------------------------------------------
// Screen

void TScreen::Describe(TClassBuilder<TScreen>&) {}

namespace {

std::unique_ptr<TFont> FontFrom(const LOGFONTW& lf) {
  auto font = std::make_unique<TFont>();
  HFONT handle = CreateFontIndirectW(&lf);
  font->SetHandle(handle);
  DeleteObject(handle);
  return font;
}

}  // namespace

TScreen::TScreen(TComponent* owner) : TComponent(owner), FPixelsPerInch(ScreenLogPixels()) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    FHintFont = FontFrom(metrics.lfStatusFont);
    FMenuFont = FontFrom(metrics.lfMenuFont);
  } else {
    FHintFont = std::make_unique<TFont>();
    FMenuFont = std::make_unique<TFont>();
  }
  LOGFONTW icon{};
  if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof icon, &icon, 0))
    FIconFont = FontFrom(icon);
  else
    FIconFont = std::make_unique<TFont>();
}

TScreen::~TScreen() = default;

namespace {

struct StandardCursor {
  TCursor Id;
  LPCWSTR System;
};

const StandardCursor kStandardCursors[] = {
    {crDefault, IDC_ARROW},
    {crArrow, IDC_ARROW},
    {crCross, IDC_CROSS},
    {crIBeam, IDC_IBEAM},
    {crSizeNESW, IDC_SIZENESW},
    {crSizeNS, IDC_SIZENS},
    {crSizeNWSE, IDC_SIZENWSE},
    {crSizeWE, IDC_SIZEWE},
    {crUpArrow, IDC_UPARROW},
    {crHourGlass, IDC_WAIT},
    {crDrag, IDC_ARROW},
    {crNoDrop, IDC_NO},
    {crHSplit, IDC_SIZEWE},
    {crVSplit, IDC_SIZENS},
    {crMultiDrag, IDC_ARROW},
    {crSQLWait, IDC_WAIT},
    {crNo, IDC_NO},
    {crAppStart, IDC_APPSTARTING},
    {crHelp, IDC_HELP},
    {crHandPoint, IDC_HAND},
    {crSizeAll, IDC_SIZEALL},
};

}  // namespace

HCURSOR TScreen::Cursors(Integer index) const {
  for (const auto& [id, handle] : FCursors)
    if (id == index) return handle;
  if (index == crNone) return nullptr;
  for (const auto& c : kStandardCursors)
    if (c.Id == index) return LoadCursorW(nullptr, c.System);
  return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
}

void TScreen::SetCursors(Integer index, HCURSOR cursor) {
  for (auto& entry : FCursors)
    if (entry.first == index) {
      entry.second = cursor;
      return;
    }
  FCursors.emplace_back(index, cursor);
}

void TScreen::SetCursor(TCursor cursor) {
  FCursor = cursor;
  POINT p{};
  if (cursor == crDefault && GetCursorPos(&p)) {
    HWND window = WindowFromPoint(p);
    if (window && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
      LRESULT code = SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
      SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(code, WM_MOUSEMOVE));
      return;
    }
  }
  ::SetCursor(Cursors(cursor));
}

namespace {

int CALLBACK AddFontFamily(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM data) {
  String name = FromWStr(lf->lfFaceName);
  if (!name.empty() && name[0] != u'@') reinterpret_cast<TStringList*>(data)->Add(name);
  return 1;
}

}  // namespace

TStrings& TScreen::Fonts() {
  if (!FFonts) {
    FFonts = std::make_unique<TStringList>(dupIgnore, true);
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(dc, &lf, AddFontFamily, reinterpret_cast<LPARAM>(FFonts.get()), 0);
    ReleaseDC(nullptr, dc);
  }
  return *FFonts;
}

TRect TScreen::WorkAreaRect() const {
  RECT r{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) r = {0, 0, Width(), Height()};
  return FromRECT(r);
}

Integer TScreen::Width() const {
  return GetSystemMetrics(SM_CXSCREEN);
}
Integer TScreen::Height() const {
  return GetSystemMetrics(SM_CYSCREEN);
}

void TScreen::AddForm(TCustomForm* form) {
  FForms.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), form), FForms.end());
  if (FActiveForm == form) FActiveForm = nullptr;
  if (FFocusedForm == form) FFocusedForm = nullptr;
  if (FActiveControl && (FActiveControl == form || form->ContainsControl(FActiveControl))) FActiveControl = nullptr;
}

void TScreen::SetFocusedForm(TCustomForm* form) {
  FFocusedForm = form;
}

void TScreen::UpdateActive(TCustomForm* form, TWinControl* control) {
  bool formChanged = FActiveForm != form;
  bool controlChanged = FActiveControl != control;
  FActiveForm = form;
  FActiveControl = control;
  auto it = std::find(FForms.begin(), FForms.end(), form);
  if (it != FForms.end()) {
    FForms.erase(it);
    FForms.insert(FForms.begin(), form);
  }
  if (controlChanged) OnActiveControlChange(this);
  if (formChanged) OnActiveFormChange(this);
}
