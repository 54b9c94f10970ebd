#include "winbar/win32/tabcontrol.h"

#include <commctrl.h>

#include "ui/comctrls.h"

KST_CLASS_IMPL(TCustomTabControl, "ComCtrls")

const TTypeInfo& DescribeType(TypeTag<TDrawTabEvent>) {
  static const TMethodTypeInfo t(
      u"TDrawTabEvent", u"ComCtrls", mkProcedure,
      {TMethodParam{0, u"Control", u"TCustomTabControl"}, TMethodParam{0, u"TabIndex", u"Integer"},
       TMethodParam{ParamFlagBit(pfConst), u"Rect", u"TRect"}, TMethodParam{0, u"Active", u"Boolean"}});
  return t;
}

void TCustomTabControl::Describe(TClassBuilder<TCustomTabControl>&) {}

TCustomTabControl::TCustomTabControl(TComponent* owner)
    : TWinControl(owner),
      FTabs(std::make_unique<TStringList>()),
      FCanvas(std::make_unique<TControlCanvas>(this)),
      FImageChangeLink(std::make_unique<TChangeLink>()) {
  InitCommonControl(ICC_TAB_CLASSES);
  FControlStyle = {csDoubleClicks, csCaptureMouse, csClickEvents};
  FTabs->OnChange = [this](TObject*) { TabsChanged(); };
  FImageChangeLink->OnChange = [this](TObject*) { UpdateTabs(); };
  SetTabStop(true);
  SetBounds(0, 0, 289, 193);
}

TCustomTabControl::~TCustomTabControl() {
  FTabs->OnChange = nullptr;
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink.get());
}

void TCustomTabControl::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, WC_TABCONTROLW);
  params.Style |= WS_CLIPCHILDREN;
  switch (FStyle) {
    case tsTabs: params.Style |= TCS_TABS; break;
    case tsButtons: params.Style |= TCS_BUTTONS; break;
    case tsFlatButtons: params.Style |= TCS_BUTTONS | TCS_FLATBUTTONS; break;
  }
  if (FHotTrack) params.Style |= TCS_HOTTRACK;
  if (FMultiLine) params.Style |= TCS_MULTILINE;
  if (FOwnerDraw) params.Style |= TCS_OWNERDRAWFIXED;
  if (FRaggedRight) params.Style |= TCS_RAGGEDRIGHT;
  if (FScrollOpposite) params.Style |= TCS_SCROLLOPPOSITE;
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTabControl::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(FHandle, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
  UpdateTabs();
}

void TCustomTabControl::Loaded() {
  TWinControl::Loaded();
  if (FTabIndex >= FTabs->Count()) FTabIndex = -1;
  UpdateTabs();
}

void TCustomTabControl::SetTabs(TStrings* value) {
  if (value && value != FTabs.get()) FTabs->Assign(*value);
}

void TCustomTabControl::TabsChanged() {
  if (FTabIndex >= FTabs->Count()) FTabIndex = FTabs->Count() - 1;
  UpdateTabs();
}

void TCustomTabControl::UpdateTabs() {
  if (!HandleAllocated() || FUpdating) return;
  FUpdating = true;
  SendMessageW(FHandle, TCM_DELETEALLITEMS, 0, 0);
  for (Integer i = 0; i < FTabs->Count(); ++i) {
    String text = FTabs->Get(i);
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text.c_str()));
    item.iImage = GetImageIndex(i);
    SendMessageW(FHandle, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(FTabIndex), 0);
  FUpdating = false;
}

Integer TCustomTabControl::TabIndex() const {
  return FTabIndex;
}

void TCustomTabControl::SetTabIndex(Integer value) {
  if (!ComponentState().Contains(csLoading) && (value < -1 || value >= FTabs->Count())) return;
  FTabIndex = value;
  if (HandleAllocated()) SendMessageW(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(value), 0);
}

Integer TCustomTabControl::GetImageIndex(Integer tabIndex) {
  return tabIndex;
}

void TCustomTabControl::SetImages(TCustomImageList* value) {
  if (SwitchImageList(*this, FImages, value, FImageChangeLink.get()) && HandleAllocated())
    SendMessageW(FHandle, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
}

void TCustomTabControl::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == FImages) SetImages(nullptr);
}

#define KST_STYLE_SETTER(Setter, Field, Type)  \
  void TCustomTabControl::Setter(Type value) { \
    if (value == Field) return;                \
    Field = value;                             \
    if (HandleAllocated()) RecreateWnd();      \
  }
KST_STYLE_SETTER(SetStyle, FStyle, TTabStyle)
KST_STYLE_SETTER(SetHotTrack, FHotTrack, bool)
KST_STYLE_SETTER(SetMultiLine, FMultiLine, bool)
KST_STYLE_SETTER(SetOwnerDraw, FOwnerDraw, bool)
KST_STYLE_SETTER(SetRaggedRight, FRaggedRight, bool)
KST_STYLE_SETTER(SetScrollOpposite, FScrollOpposite, bool)
#undef KST_STYLE_SETTER

TRect TCustomTabControl::DisplayRect() {
  RECT r{0, 0, ClientWidth(), ClientHeight()};
  if (HandleAllocated()) SendMessageW(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return Rect(r.left, r.top, r.right, r.bottom);
}

Integer TCustomTabControl::IndexOfTabAt(Integer x, Integer y) {
  if (!HandleAllocated()) return -1;
  TCHITTESTINFO info{};
  info.pt = POINT{x, y};
  return static_cast<Integer>(SendMessageW(Handle(), TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

bool TCustomTabControl::CanChange() {
  bool allow = true;
  if (CanFireEvents()) OnChanging(this, allow);
  return allow;
}

void TCustomTabControl::Change() {
  if (CanFireEvents()) OnChange(this);
}

void TCustomTabControl::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case CN_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(message.LParam);
      message.Result = 0;
      if (!header || FUpdating || ComponentState().Contains(csDestroying)) return;
      if (header->code == TCN_SELCHANGING) {
        message.Result = CanChange() ? FALSE : TRUE;
      } else if (header->code == TCN_SELCHANGE) {
        FTabIndex = static_cast<Integer>(SendMessageW(FHandle, TCM_GETCURSEL, 0, 0));
        Change();
      }
      return;
    }
    case CN_DRAWITEM: {
      auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
      FCanvas->Lock();
      FCanvas->SetHandle(draw->hDC);
      try {
        FCanvas->Font().Assign(&Font());
        FCanvas->Brush().SetColor(Color());
        TRect r = Rect(draw->rcItem.left, draw->rcItem.top, draw->rcItem.right, draw->rcItem.bottom);
        Integer index = static_cast<Integer>(draw->itemID);
        if (OnDrawTab) {
          OnDrawTab(this, index, r, (draw->itemState & ODS_SELECTED) != 0);
        } else {
          FCanvas->FillRect(r);
          String text = FTabs->Get(index);
          FCanvas->TextRect(r, text, {tfSingleLine, tfVerticalCenter, tfCenter});
        }
      } catch (...) {
        FCanvas->SetHandle(nullptr);
        FCanvas->Unlock();
        throw;
      }
      FCanvas->SetHandle(nullptr);
      FCanvas->Unlock();
      message.Result = 1;
      return;
    }
    default: break;
  }
  TWinControl::Dispatch(message);
}
