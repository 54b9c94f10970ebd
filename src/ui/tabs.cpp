#include "ui/tabs.h"

#include <algorithm>

#include "ui/publish.h"

KST_CLASS_IMPL(TTabSet, "Tabs")

namespace {

// How far a tab's sides lean in, and the room beside its text.
constexpr Integer kSlant = 4;
constexpr Integer kTextMargin = 6;

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TTabChangeEvent>) {
  static const TMethodTypeInfo t(u"TTabChangeEvent", u"Tabs", mkProcedure,
                                 {TMethodParam{0, u"Sender", u"TObject"}, TMethodParam{0, u"NewTab", u"Integer"},
                                  TMethodParam{ParamFlagBit(pfVar), u"AllowChange", u"Boolean"}});
  return t;
}

void TTabSet::Describe(TClassBuilder<TTabSet>& c) {
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"BackgroundColor", &TTabSet::BackgroundColor, &TTabSet::SetBackgroundColor, &types::Color())
      .Default(clBtnFace);
  publish::Constraints(c);
  publish::Enabled(c);
  c.Property(u"EndMargin", &TTabSet::EndMargin, &TTabSet::SetEndMargin).Default(5);
  publish::Font(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  c.Property(u"SelectedColor", &TTabSet::SelectedColor, &TTabSet::SetSelectedColor, &types::Color()).Default(clBtnFace);
  publish::ShowHint(c);
  c.Property(u"StartMargin", &TTabSet::StartMargin, &TTabSet::SetStartMargin).Default(5);
  c.Property(u"TabHeight", &TTabSet::TabHeight, &TTabSet::SetTabHeight).Default(20);
  c.Property(u"Tabs", &TTabSet::GetTabs, &TTabSet::SetTabs);
  c.Property(u"TabIndex", &TTabSet::TabIndex, &TTabSet::SetTabIndex).Default(-1);
  c.Property(u"UnselectedColor", &TTabSet::UnselectedColor, &TTabSet::SetUnselectedColor, &types::Color())
      .Default(clWindow);
  publish::Visible(c);
  c.Property(u"OnChange", &TTabSet::OnChange);
  publish::MouseEvents(c);
}

TTabSet::TTabSet(TComponent* owner) : TCustomControl(owner), FTabs(std::make_unique<TStringList>()) {
  FControlStyle = {csCaptureMouse, csOpaque, csDoubleClicks};  // a click that changes the tab is the click
  FTabs->OnChange = [this](TObject* sender) { TabsChanged(sender); };
  SetBounds(0, 0, 185, 21);
}

TTabSet::~TTabSet() {
  FTabs->OnChange = nullptr;
}

void TTabSet::SetTabs(TStrings* value) {
  if (value && value != FTabs.get()) FTabs->Assign(*value);
}

void TTabSet::TabsChanged(TObject*) {
  if (FTabIndex >= FTabs->Count()) FTabIndex = FTabs->Count() - 1;
  Invalidate();
}

void TTabSet::Loaded() {
  TCustomControl::Loaded();
  if (FTabIndex >= FTabs->Count()) FTabIndex = -1;
}

void TTabSet::SetTabIndex(Integer value) {
  if (value == FTabIndex) return;
  // While loading the tabs may come after the index.
  if (!ComponentState().Contains(csLoading) && (value < -1 || value >= FTabs->Count())) return;
  FTabIndex = value;
  Invalidate();
}

bool TTabSet::SelectTab(Integer index) {
  if (index < 0 || index >= FTabs->Count() || index == FTabIndex) return false;
  bool allow = true;
  if (CanFireEvents() && OnChange) OnChange(this, index, allow);
  if (!allow) return false;
  SetTabIndex(index);
  return true;
}

std::vector<TTabSet::TabPlace> TTabSet::Layout() {
  std::vector<TabPlace> places;
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(&Font());
  Integer x = FStartMargin;
  Integer limit = Width() - FEndMargin;
  for (Integer i = 0; i < FTabs->Count(); ++i) {
    Integer width = canvas.TextWidth(FTabs->Get(i)) + 2 * (kSlant + kTextMargin);
    // A tab that does not fit is not shown (nor any after it).
    if (x + width > limit && i > 0) break;
    places.push_back({x, x + width});
    x += width - kSlant;
  }
  return places;
}

Integer TTabSet::ItemAtPos(TPoint pos) {
  if (pos.Y < 0 || pos.Y >= std::min(Height(), FTabHeight + 1)) return -1;
  std::vector<TabPlace> places = Layout();
  // The selected tab lies over its neighbours' slanted sides.
  if (FTabIndex >= 0 && FTabIndex < static_cast<Integer>(places.size())) {
    const TabPlace& p = places[static_cast<size_t>(FTabIndex)];
    if (pos.X >= p.Left + kSlant / 2 && pos.X < p.Right - kSlant / 2) return FTabIndex;
  }
  for (size_t i = 0; i < places.size(); ++i)
    if (pos.X >= places[i].Left + kSlant / 2 && pos.X < places[i].Right - kSlant / 2) return static_cast<Integer>(i);
  return -1;
}

TRect TTabSet::ItemRect(Integer index) {
  std::vector<TabPlace> places = Layout();
  if (index < 0 || index >= static_cast<Integer>(places.size())) return TRect{};
  const TabPlace& p = places[static_cast<size_t>(index)];
  return TRect{p.Left, 0, p.Right, FTabHeight};
}

void TTabSet::Paint() {
  TCanvas& canvas = Canvas();
  TRect client = ClientRect();
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(FBackgroundColor);
  canvas.FillRect(client);
  std::vector<TabPlace> places = Layout();
  Integer bottom = std::min(client.Bottom, FTabHeight) - 1;
  canvas.Font().Assign(&Font());
  auto drawTab = [&](size_t i) {
    bool selected = static_cast<Integer>(i) == FTabIndex;
    const TabPlace& p = places[i];
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(selected ? FSelectedColor : FUnselectedColor);
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetColor(clWindowFrame);
    canvas.Pen().SetWidth(1);
    canvas.Polygon({{p.Left, 0}, {p.Left + kSlant, bottom}, {p.Right - kSlant, bottom}, {p.Right, 0}});
    if (selected) {
      // Open at the top: joined to the page above.
      canvas.Pen().SetColor(FSelectedColor);
      canvas.MoveTo(p.Left + 1, 0);
      canvas.LineTo(p.Right, 0);
    }
    canvas.Brush().SetStyle(bsClear);
    TRect text{p.Left + kSlant, 0, p.Right - kSlant, bottom};
    canvas.DrawText(FTabs->Get(static_cast<Integer>(i)), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  };
  // The edge the tabs hang from.
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetColor(clWindowFrame);
  canvas.MoveTo(0, 0);
  canvas.LineTo(client.Right, 0);
  for (size_t i = 0; i < places.size(); ++i)
    if (static_cast<Integer>(i) != FTabIndex) drawTab(i);
  if (FTabIndex >= 0 && FTabIndex < static_cast<Integer>(places.size())) drawTab(static_cast<size_t>(FTabIndex));
}

void TTabSet::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (button == mbLeft) {
    Integer index = ItemAtPos({x, y});
    if (index >= 0 && SelectTab(index)) Click();
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TTabSet::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; break;  // Paint covers it all
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(m);
      Invalidate();
      break;
    default: TCustomControl::Dispatch(m); break;
  }
}

void TTabSet::SetBackgroundColor(TColor value) {
  FBackgroundColor = value;
  Invalidate();
}
void TTabSet::SetSelectedColor(TColor value) {
  FSelectedColor = value;
  Invalidate();
}
void TTabSet::SetUnselectedColor(TColor value) {
  FUnselectedColor = value;
  Invalidate();
}
void TTabSet::SetStartMargin(Integer value) {
  FStartMargin = std::max(0, value);
  Invalidate();
}
void TTabSet::SetEndMargin(Integer value) {
  FEndMargin = std::max(0, value);
  Invalidate();
}
void TTabSet::SetTabHeight(Integer value) {
  FTabHeight = std::max(0, value);
  Invalidate();
}
