#include "ui/colorctrls.h"

#include <algorithm>

#include "classes/identmaps.h"
#include "rtl/numbers.h"
#include "ui/extctrls.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TColorBox, "ExtCtrls")
KST_CLASS_IMPL(TColorListBox, "ExtCtrls")
KST_CLASS_IMPL(TColorGrid, "ColorGrd")
KST_CLASS_IMPL(TBoundLabel, "ExtCtrls")
KST_CLASS_IMPL(TLabeledEdit, "ExtCtrls")

const TTypeInfo& DescribeType(TypeTag<TColorBoxStyles>) {
  static const TEnumTypeInfo t(u"TColorBoxStyles", u"ExtCtrls",
                               {u"cbStandardColors", u"cbExtendedColors", u"cbSystemColors", u"cbIncludeNone",
                                u"cbIncludeDefault", u"cbCustomColor", u"cbPrettyNames", u"cbCustomColors"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TColorBoxStyle>) {
  static const TSetTypeInfo t(u"TColorBoxStyle", u"ExtCtrls",
                              static_cast<const TEnumTypeInfo&>(DescribeType(TypeTag<TColorBoxStyles>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TGridOrdering>) {
  static const TEnumTypeInfo t(u"TGridOrdering", u"ColorGrd", {u"go16x1", u"go8x2", u"go4x4", u"go2x8", u"go1x16"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLabelPosition>) {
  static const TEnumTypeInfo t(u"TLabelPosition", u"ExtCtrls", {u"lpAbove", u"lpBelow", u"lpLeft", u"lpRight"});
  return t;
}

namespace {

const TColor kStandardColors[] = {clBlack, clMaroon, clGreen,  clOlive, clNavy, clPurple,  clTeal, clGray,
                                  clSilver, clRed,   clLime,   clYellow, clBlue, clFuchsia, clAqua, clWhite};
const TColor kExtendedColors[] = {clMoneyGreen, clSkyBlue, clCream, clMedGray};

String ColorName(TColor color, bool pretty) {
  String name;
  if (!ColorToIdent(color, name)) name = u"$" + IntToHex(color, 8);
  if (pretty && name.starts_with(u"cl")) name.erase(0, 2);
  return name;
}

// The properties both choosers publish, kept in their TColorChoice.
template <class T>
void PublishColorChooser(TClassBuilder<T>& c) {
  c.Property(
       u"DefaultColorColor", [](const T& o) { return o.Choice.DefaultColorColor; },
       [](T& o, TColor v) {
         o.Choice.DefaultColorColor = v;
         o.Invalidate();
       },
       &types::Color())
      .Default(clBlack);
  c.Property(
       u"NoneColorColor", [](const T& o) { return o.Choice.NoneColorColor; },
       [](T& o, TColor v) {
         o.Choice.NoneColorColor = v;
         o.Invalidate();
       },
       &types::Color())
      .Default(clBlack);
  c.Property(u"Selected", &T::Selected, &T::SetSelected, &types::Color()).Default(clBlack);
  c.Property(
      u"Style", [](const T& o) { return o.Choice.Style; }, [](T& o, const TColorBoxStyle& v) { o.SetColorStyle(v); });
}

}  // namespace

std::vector<TNamedColor> ColorBoxColors(TColorBoxStyle style) {
  const bool pretty = style.Contains(cbPrettyNames);
  std::vector<TNamedColor> colors;
  if (style.Contains(cbCustomColor)) colors.push_back({clBlack, u"Custom..."});
  if (style.Contains(cbIncludeNone)) colors.push_back({clNone, ColorName(clNone, pretty)});
  if (style.Contains(cbIncludeDefault)) colors.push_back({clDefault, ColorName(clDefault, pretty)});
  if (style.Contains(cbStandardColors))
    for (TColor color : kStandardColors) colors.push_back({color, ColorName(color, pretty)});
  if (style.Contains(cbExtendedColors))
    for (TColor color : kExtendedColors) colors.push_back({color, ColorName(color, pretty)});
  if (style.Contains(cbSystemColors))
    for (Integer i = 0; i <= 30; ++i) {
      String name;
      const TColor color = clSystemColor | i;
      if (ColorToIdent(color, name)) colors.push_back({color, ColorName(color, pretty)});
    }
  return colors;
}

// ---------------------------------------------------------------------------
// The choice

void TColorChoice::Fill(TStrings& items) {
  FColors = ColorBoxColors(Style);
  items.BeginUpdate();
  items.Clear();
  for (const TNamedColor& color : FColors) items.Add(color.Name);
  items.EndUpdate();
}

Integer TColorChoice::IndexOf(TColor color) const {
  const auto found =
      std::find_if(FColors.begin(), FColors.end(), [color](const TNamedColor& c) { return c.Color == color; });
  return found == FColors.end() ? -1 : static_cast<Integer>(found - FColors.begin());
}

TColor TColorChoice::ColorAt(Integer index) const {
  return index >= 0 && index < static_cast<Integer>(FColors.size()) ? FColors[static_cast<size_t>(index)].Color
                                                                     : clNone;
}

// The swatch, then the name; "none" and "default" show their stand-in colours.
void TColorChoice::DrawItem(const TMessage& message, const TFont& font) const {
  const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
  const Integer index = static_cast<Integer>(item.itemID);
  if (index < 0 || index >= static_cast<Integer>(FColors.size())) return;
  const TNamedColor& entry = FColors[static_cast<size_t>(index)];
  const TColor color =
      entry.Color == clNone ? NoneColorColor : entry.Color == clDefault ? DefaultColorColor : entry.Color;
  TCanvas canvas;
  canvas.SetHandle(item.hDC);
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  TRect box = Rect(item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom);
  canvas.Brush().SetColor(selected ? clHighlight : clWindow);
  canvas.FillRect(box);
  const Integer side = std::max<Integer>(box.Height() - 4, 1);
  const TRect swatch = Rect(box.Left + 2, box.Top + 2, box.Left + 2 + side, box.Top + 2 + side);
  canvas.Brush().SetColor(color);
  canvas.FillRect(swatch);
  canvas.Brush().SetColor(clBlack);
  canvas.FrameRect(swatch);
  canvas.Font().Assign(&font);
  canvas.Font().SetColor(selected ? clHighlightText : clWindowText);
  canvas.Brush().SetStyle(bsClear);
  canvas.TextOut(swatch.Right + 4, box.Top + (box.Height() - canvas.TextHeight(entry.Name)) / 2, entry.Name);
  if (item.itemState & ODS_FOCUS) canvas.DrawFocusRect(box);
  canvas.SetHandle(nullptr);
}

// ---------------------------------------------------------------------------
// Colour box

void TColorBox::Describe(TClassBuilder<TColorBox>& c) {
  PublishColorChooser(c);
}

TColorBox::TColorBox(TComponent* owner) : TComboBox(owner) {
  TComboBox::SetStyle(csOwnerDrawFixed);
  SetBounds(Left(), Top(), 145, 22);
  Choice.Fill(Items());
  SetSelected(Choice.Selected);
}

void TColorBox::SetColorStyle(TColorBoxStyle value) {
  Choice.Style = value;
  if (ComponentState().Contains(csLoading)) return;
  Choice.Fill(Items());
  SetSelected(Choice.Selected);
}

void TColorBox::SetSelected(TColor value) {
  Choice.Selected = value;
  if (!ComponentState().Contains(csLoading)) SetItemIndex(Choice.IndexOf(value));
}

void TColorBox::CreateWnd() {
  TComboBox::CreateWnd();
  SendMessageW(FHandle, CB_SETITEMHEIGHT, 0, ItemHeight());
}

void TColorBox::Loaded() {
  TComboBox::Loaded();
  SetColorStyle(Choice.Style);
}

void TColorBox::Dispatch(TMessage& m) {
  if (m.Msg != CN_DRAWITEM) return TComboBox::Dispatch(m);
  Choice.DrawItem(m, Font());
  m.Result = TRUE;
}

// ---------------------------------------------------------------------------
// Colour list box

void TColorListBox::Describe(TClassBuilder<TColorListBox>& c) {
  PublishColorChooser(c);
}

TColorListBox::TColorListBox(TComponent* owner) : TListBox(owner) {
  Choice.Fill(Items());
  SetSelected(Choice.Selected);
}

void TColorListBox::SetColorStyle(TColorBoxStyle value) {
  Choice.Style = value;
  if (ComponentState().Contains(csLoading)) return;
  Choice.Fill(Items());
  SetSelected(Choice.Selected);
}

void TColorListBox::SetSelected(TColor value) {
  Choice.Selected = value;
  if (!ComponentState().Contains(csLoading)) SetItemIndex(Choice.IndexOf(value));
}

void TColorListBox::CreateParams(TCreateParams& params) {
  TListBox::CreateParams(params);
  params.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
}

void TColorListBox::CreateWnd() {
  TListBox::CreateWnd();
  SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, ItemHeight());
}

void TColorListBox::Loaded() {
  TListBox::Loaded();
  SetColorStyle(Choice.Style);
}

void TColorListBox::Dispatch(TMessage& m) {
  if (m.Msg != CN_DRAWITEM) return TListBox::Dispatch(m);
  Choice.DrawItem(m, Font());
  m.Result = TRUE;
}

// ---------------------------------------------------------------------------
// Colour grid

void TColorGrid::Describe(TClassBuilder<TColorGrid>& c) {
  publish::WinControlBundle(c);
  c.Property(u"BackgroundEnabled", &TColorGrid::BackgroundEnabled).Default(1);
  c.Property(u"BackgroundIndex", &TColorGrid::BackgroundIndex, &TColorGrid::SetBackgroundIndex).Default(0);
  c.Property(u"ClickEnablesColor", &TColorGrid::ClickEnablesColor).Default(0);
  c.Property(u"ForegroundEnabled", &TColorGrid::ForegroundEnabled).Default(1);
  c.Property(u"ForegroundIndex", &TColorGrid::ForegroundIndex, &TColorGrid::SetForegroundIndex).Default(0);
  c.Property(u"GridOrdering", &TColorGrid::GridOrdering, &TColorGrid::SetGridOrdering).Default(go4x4);
  c.Property(u"Selection", &TColorGrid::Selection).Default(0);
  c.Property(u"OnChange", &TColorGrid::OnChange);
}

TColorGrid::TColorGrid(TComponent* owner) : TCustomControl(owner) {
  FControlStyle = {csCaptureMouse, csClickEvents, csOpaque};
  SetBounds(Left(), Top(), 100, 100);
}

TColor TColorGrid::CellColor(Integer index) {
  return kStandardColors[std::clamp<Integer>(index, 0, 15)];
}

Integer TColorGrid::Columns() const {
  static const Integer columns[] = {16, 8, 4, 2, 1};
  return columns[FGridOrdering];
}

TRect TColorGrid::CellRect(Integer index) const {
  const Integer columns = Columns(), rows = 16 / columns;
  const Integer width = ClientWidth() / columns, height = ClientHeight() / rows;
  const Integer col = index % columns, row = index / columns;
  return Rect(col * width, row * height, (col + 1) * width, (row + 1) * height);
}

void TColorGrid::SetGridOrdering(TGridOrdering value) {
  FGridOrdering = value;
  Invalidate();
}
void TColorGrid::SetForegroundIndex(Integer value) {
  FForegroundIndex = std::clamp<Integer>(value, 0, 15);
  Invalidate();
}
void TColorGrid::SetBackgroundIndex(Integer value) {
  FBackgroundIndex = std::clamp<Integer>(value, 0, 15);
  Invalidate();
}

void TColorGrid::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetColor(Color());
  canvas.FillRect(ClientRect());
  canvas.Font().Assign(&Font());
  for (Integer i = 0; i < 16; ++i) {
    TRect cell = CellRect(i);
    Frame3D(canvas, cell, clBtnShadow, clBtnHighlight, 1);
    canvas.Brush().SetColor(CellColor(i));
    canvas.FillRect(cell);
    String mark;
    if (ForegroundEnabled && i == FForegroundIndex) mark = u"FG";
    if (BackgroundEnabled && i == FBackgroundIndex) mark = mark.empty() ? String(u"BG") : String(u"FB");
    if (mark.empty()) continue;
    // The mark in the colour that stands out on the cell.
    const Integer rgb = ColorToRGB(CellColor(i));
    const Integer light = (rgb & 0xFF) * 3 + ((rgb >> 8) & 0xFF) * 6 + ((rgb >> 16) & 0xFF);
    canvas.Font().SetColor(light > 1280 ? clBlack : clWhite);
    canvas.Brush().SetStyle(bsClear);
    canvas.TextOut((cell.Left + cell.Right - canvas.TextWidth(mark)) / 2,
                   (cell.Top + cell.Bottom - canvas.TextHeight(mark)) / 2, mark);
    canvas.Brush().SetStyle(bsSolid);
  }
}

void TColorGrid::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  for (Integer i = 0; i < 16; ++i) {
    const TRect cell = CellRect(i);
    if (x < cell.Left || x >= cell.Right || y < cell.Top || y >= cell.Bottom) continue;
    if (button == mbLeft) {
      if (ClickEnablesColor) ForegroundEnabled = true;
      SetForegroundIndex(i);
    } else if (button == mbRight) {
      if (ClickEnablesColor) BackgroundEnabled = true;
      SetBackgroundIndex(i);
    }
    Selection = i;
    if (OnChange) OnChange(this);
    return;
  }
}

// ---------------------------------------------------------------------------
// Labeled edit

void TBoundLabel::Describe(TClassBuilder<TBoundLabel>&) {}

TBoundLabel::TBoundLabel(TComponent* owner) : TLabel(owner) {
  SetName(u"SubLabel");
  SetSubComponent(true);
}

void TLabeledEdit::Describe(TClassBuilder<TLabeledEdit>& c) {
  c.Property(u"EditLabel", &TLabeledEdit::EditLabel);
  c.Property(u"LabelPosition", &TLabeledEdit::LabelPosition, &TLabeledEdit::SetLabelPosition).Default(lpAbove);
  c.Property(u"LabelSpacing", &TLabeledEdit::LabelSpacing, &TLabeledEdit::SetLabelSpacing).Default(3);
}

TLabeledEdit::TLabeledEdit(TComponent* owner) : TEdit(owner), FEditLabel(new TBoundLabel(this)) {
  FEditLabel->FreeNotification(this);
}

void TLabeledEdit::PlaceLabel() {
  if (!FEditLabel) return;
  Integer x = Left(), y = Top();
  switch (FLabelPosition) {
    case lpAbove: y -= FEditLabel->Height() + FLabelSpacing; break;
    case lpBelow: y += Height() + FLabelSpacing; break;
    case lpLeft:
      x -= FEditLabel->Width() + FLabelSpacing;
      y += (Height() - FEditLabel->Height()) / 2;
      break;
    case lpRight:
      x += Width() + FLabelSpacing;
      y += (Height() - FEditLabel->Height()) / 2;
      break;
  }
  FEditLabel->SetBounds(x, y, FEditLabel->Width(), FEditLabel->Height());
}

void TLabeledEdit::SetLabelPosition(TLabelPosition value) {
  FLabelPosition = value;
  PlaceLabel();
}

void TLabeledEdit::SetLabelSpacing(Integer value) {
  FLabelSpacing = value;
  PlaceLabel();
}

void TLabeledEdit::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  TEdit::SetBounds(left, top, width, height);
  PlaceLabel();
}

void TLabeledEdit::SetParent(TWinControl* parent) {
  TEdit::SetParent(parent);
  if (!FEditLabel) return;
  FEditLabel->SetParent(parent);
  FEditLabel->SetVisible(Visible());
  PlaceLabel();
}

void TLabeledEdit::SetVisible(bool visible) {
  TEdit::SetVisible(visible);
  if (FEditLabel) FEditLabel->SetVisible(visible);
}

void TLabeledEdit::SetEnabled(bool enabled) {
  TEdit::SetEnabled(enabled);
  if (FEditLabel) FEditLabel->SetEnabled(enabled);
}

// The label's size came after the edit's place: it stands beside the edit again.
void TLabeledEdit::Loaded() {
  TEdit::Loaded();
  PlaceLabel();
}

void TLabeledEdit::Notification(TComponent* component, TOperation operation) {
  TEdit::Notification(component, operation);
  if (operation == opRemove && component == FEditLabel) FEditLabel = nullptr;
}

void RegisterColorControlClasses(TClassRegistry& registry) {
  registry.RegisterClasses({&TColorBox::StaticClass(), &TColorListBox::StaticClass(), &TColorGrid::StaticClass(),
                            &TBoundLabel::StaticClass(), &TLabeledEdit::StaticClass()},
                           u"ui");
  for (const TTypeInfo* type : {&DescribeType(TypeTag<TColorBoxStyles>{}), &DescribeType(TypeTag<TColorBoxStyle>{}),
                                &DescribeType(TypeTag<TGridOrdering>{}), &DescribeType(TypeTag<TLabelPosition>{})})
    registry.RegisterType(*type);
}
