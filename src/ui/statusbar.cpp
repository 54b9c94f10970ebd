#include "ui/statusbar.h"

#include <vector>

#include "rtl/format.h"
#include "ui/publish.h"
#include "ui/stdctrls.h"

KST_CLASS_IMPL(TStatusPanel, "ComCtrls")
KST_CLASS_IMPL(TStatusPanels, "ComCtrls")
KST_CLASS_IMPL(TStatusBar, "ComCtrls")

const TTypeInfo& DescribeType(TypeTag<TStatusPanelStyle>) {
  static const TEnumTypeInfo t(u"TStatusPanelStyle", u"ComCtrls", {u"psText", u"psOwnerDraw"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TStatusPanelBevel>) {
  static const TEnumTypeInfo t(u"TStatusPanelBevel", u"ComCtrls", {u"pbNone", u"pbLowered", u"pbRaised"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TDrawPanelEvent>) {
  static const TMethodTypeInfo t(
      u"TDrawPanelEvent", u"ComCtrls", mkProcedure,
      {TMethodParam{0, u"StatusBar", u"TStatusBar"}, TMethodParam{0, u"Panel", u"TStatusPanel"},
       TMethodParam{ParamFlagBit(pfConst), u"Rect", u"TRect"}});
  return t;
}

// ---------------------------------------------------------------------------
// Panels

void TStatusPanel::Describe(TClassBuilder<TStatusPanel>& c) {
  c.Property(u"Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment).Default(taLeftJustify);
  c.Property(u"Bevel", &TStatusPanel::Bevel, &TStatusPanel::SetBevel).Default(pbLowered);
  c.Property(u"Style", &TStatusPanel::Style, &TStatusPanel::SetStyle).Default(psText);
  c.Property(u"Text", &TStatusPanel::Text, &TStatusPanel::SetText);
  c.Property(u"Width", &TStatusPanel::Width, &TStatusPanel::SetWidth);
}

TStatusPanel::TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}

void TStatusPanel::SetText(const String& value) {
  if (value == FText) return;
  FText = value;
  Changed(false);
}

void TStatusPanel::SetWidth(Integer value) {
  if (value == FWidth) return;
  FWidth = value;
  Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel value) {
  if (value == FBevel) return;
  FBevel = value;
  Changed(false);
}

String TStatusPanel::DisplayName() const {
  return FText.empty() ? TCollectionItem::DisplayName() : FText;
}

void TStatusPanel::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TStatusPanel*>(source)) {
    FText = other->FText;
    FWidth = other->FWidth;
    FAlignment = other->FAlignment;
    FStyle = other->FStyle;
    FBevel = other->FBevel;
    Changed(true);
    return;
  }
  TCollectionItem::Assign(source);
}

void TStatusPanels::Describe(TClassBuilder<TStatusPanels>&) {}

TStatusPanels::TStatusPanels(TStatusBar* statusBar) : TCollection(TStatusPanel::StaticClass()), FStatusBar(statusBar) {}

TPersistent* TStatusPanels::GetOwner() const {
  return FStatusBar;
}

void TStatusPanels::Update(TCollectionItem*) {
  if (FStatusBar) FStatusBar->UpdatePanels();
}

// ---------------------------------------------------------------------------
// The bar

void TStatusBar::Describe(TClassBuilder<TStatusBar>& c) {
  KST_KEPT_PROPERTY(u"AutoHint", AutoHint).Default(0);
  KST_KEPT_PROPERTY(u"UseSystemFont", UseSystemFont).Default(1);
  publish::Action(c);
  publish::Align(c);
  publish::Anchors(c);
  publish::Color(c);
  publish::Constraints(c);
  publish::DoubleBuffered(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"Panels", &TStatusBar::GetPanels);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  c.Property(u"SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel).Default(0);
  c.Property(u"SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText);
  c.Property(u"SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip).Default(1);
  publish::Visible(c);
  c.Property(u"OnClick", &TStatusBar::OnClick);
  c.Property(u"OnContextPopup", &TStatusBar::OnContextPopup);
  c.Property(u"OnDblClick", &TStatusBar::OnDblClick);
  c.Property(u"OnDrawPanel", &TStatusBar::OnDrawPanel);
  c.Property(u"OnMouseDown", &TStatusBar::OnMouseDown);
  c.Property(u"OnMouseMove", &TStatusBar::OnMouseMove);
  c.Property(u"OnMouseUp", &TStatusBar::OnMouseUp);
  publish::ResizeEvents(c);
}

TStatusBar::TStatusBar(TComponent* owner)
    : TWinControl(owner), FPanels(std::make_unique<TStatusPanels>(this)), FCanvas(std::make_unique<TCanvas>()) {
  FControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  SetColor(clBtnFace);
  SetBounds(0, 0, 200, 19);
  SetAlign(alBottom);
}

TStatusBar::~TStatusBar() {
  // Panel changes no longer reach a bar that is going.
  FPanels->BeginUpdate();
}

void TStatusBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, STATUSCLASSNAMEW);
  // Our alignment places the bar; the system would put it at its parent's bottom itself.
  params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
  if (FSizeGrip) params.Style |= SBARS_SIZEGRIP;
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TStatusBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdatePanels();
}

void TStatusBar::Loaded() {
  TWinControl::Loaded();
  UpdatePanels();
}

void TStatusBar::SetSimplePanel(bool value) {
  if (value == FSimplePanel) return;
  FSimplePanel = value;
  UpdatePanels();
}

void TStatusBar::SetSimpleText(const String& value) {
  if (value == FSimpleText) return;
  FSimpleText = value;
  if (FSimplePanel && HandleAllocated())
    SendMessageW(FHandle, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(WStr(FSimpleText)));
}

void TStatusBar::SetSizeGrip(bool value) {
  if (value == FSizeGrip) return;
  FSizeGrip = value;
  RecreateWnd();
}

void TStatusBar::UpdatePanels() {
  if (!HandleAllocated() || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  HWND handle = FHandle;
  SendMessageW(handle, SB_SIMPLE, FSimplePanel ? TRUE : FALSE, 0);
  if (FSimplePanel) {
    SendMessageW(handle, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(WStr(FSimpleText)));
    return;
  }
  int count = FPanels->Count();
  std::vector<int> edges;
  Integer right = 0;
  for (int i = 0; i < count; ++i) {
    right += FPanels->Items(i)->Width();
    // The last panel reaches the end of the bar.
    edges.push_back(i == count - 1 ? -1 : right);
  }
  if (edges.empty()) edges.push_back(-1);
  SendMessageW(handle, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  if (count == 0) {
    SendMessageW(handle, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
    return;
  }
  for (int i = 0; i < count; ++i) {
    TStatusPanel* panel = FPanels->Items(i);
    WPARAM flags = static_cast<WPARAM>(i);
    if (panel->Bevel() == pbNone) flags |= SBT_NOBORDERS;
    if (panel->Bevel() == pbRaised) flags |= SBT_POPOUT;
    if (panel->Style() == psOwnerDraw) {
      SendMessageW(handle, SB_SETTEXTW, flags | SBT_OWNERDRAW, reinterpret_cast<LPARAM>(panel));
      continue;
    }
    // The system centres the text after one tab and right-aligns it after two.
    String text = panel->Alignment() == taCenter         ? u"\t" + panel->Text()
                  : panel->Alignment() == taRightJustify ? u"\t\t" + panel->Text()
                                                         : panel->Text();
    SendMessageW(handle, SB_SETTEXTW, flags, reinterpret_cast<LPARAM>(WStr(text)));
  }
}

String TStatusBar::PanelText(int index) {
  if (!HandleAllocated()) return {};
  // In simple mode the system answers with the simple panel whatever part is asked.
  WPARAM part = FSimplePanel ? 0 : static_cast<WPARAM>(index);
  LRESULT info = SendMessageW(Handle(), SB_GETTEXTLENGTHW, part, 0);
  std::wstring text(static_cast<size_t>(LOWORD(info)) + 1, L'\0');
  SendMessageW(Handle(), SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
  return FromWStr(text.c_str());
}

TRect TStatusBar::PanelRect(int index) {
  RECT r{};
  SendMessageW(Handle(), SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  return FromRECT(r);
}

void TStatusBar::Dispatch(TMessage& m) {
  if (m.Msg == CN_DRAWITEM) {
    auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    int index = static_cast<int>(draw->itemID);
    if (index >= 0 && index < FPanels->Count() && OnDrawPanel) {
      FCanvas->SetHandle(draw->hDC);
      try {
        OnDrawPanel(this, FPanels->Items(index), FromRECT(draw->rcItem));
      } catch (...) {
        FCanvas->SetHandle(nullptr);
        throw;
      }
      FCanvas->SetHandle(nullptr);
    }
    m.Result = 1;
    return;
  }
  TWinControl::Dispatch(m);
}
