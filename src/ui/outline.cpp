#include "ui/outline.h"

#include <algorithm>

#include "rtl/sysstr.h"
#include "ui/extctrls.h"
#include "ui/publish.h"
#include "ui/tabs.h"

KST_CLASS_IMPL(TOutlineNode, "Outline")
KST_CLASS_IMPL(TOutline, "Outline")
KST_CLASS_IMPL(TDirectoryOutline, "DirOutln")
KST_CLASS_IMPL(TTabPage, "TabNotBk")
KST_CLASS_IMPL(TTabbedNotebook, "TabNotBk")

const TTypeInfo& DescribeType(TypeTag<TOutlineStyle>) {
  static const TEnumTypeInfo t(u"TOutlineStyle", u"Outline",
                               {u"osText", u"osPlusMinusText", u"osPictureText", u"osPlusMinusPictureText",
                                u"osTreeText", u"osTreePictureText"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TOutlineOption>) {
  static const TEnumTypeInfo t(u"TOutlineOption", u"Outline",
                               {u"ooDrawTreeRoot", u"ooDrawFocusRect", u"ooStretchBitmaps"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TOutlineOptions>) {
  static const TSetTypeInfo t(u"TOutlineOptions", u"Outline",
                              static_cast<const TEnumTypeInfo&>(DescribeType(TypeTag<TOutlineOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TOutlineType>) {
  static const TEnumTypeInfo t(u"TOutlineType", u"Outline", {u"otStandard", u"otOwnerDraw"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<diroutln::TTextCase>) {
  static const TEnumTypeInfo t(u"TTextCase", u"DirOutln", {u"tcLowerCase", u"tcUpperCase", u"tcAsIs"});
  return t;
}
const TMethodTypeInfo& PageChangeEventType() {
  static const TMethodTypeInfo t(u"TPageChangeEvent", u"TabNotBk", mkProcedure,
                                 {TMethodParam{0, u"Sender", u"TObject"}, TMethodParam{0, u"NewTab", u"Integer"},
                                  TMethodParam{ParamFlagBit(pfVar), u"AllowChange", u"Boolean"}});
  return t;
}

// ---------------------------------------------------------------------------
// Outline

void TOutlineNode::Describe(TClassBuilder<TOutlineNode>&) {}

void TOutline::Describe(TClassBuilder<TOutline>& c) {
  publish::WinControlBundle(c);
  c.Property(u"BorderStyle", &TOutline::BorderStyle, &TOutline::SetBorderStyle, &BorderStyleType()).Default(bsSingle);
  c.Property(u"ItemHeight", &TOutline::ItemHeight).Default(0);
  c.Property(u"ItemSeparator", &TOutline::ItemSeparator);
  c.Property(u"Lines", &TOutline::GetLines, &TOutline::SetLines);
  c.Property(u"Options", &TOutline::Options);
  c.Property(u"OutlineStyle", &TOutline::OutlineStyle).Default(osTreePictureText);
  c.Property(u"ScrollBars", &TOutline::ScrollBars).Default(ssBoth);
  c.Property(u"Style", &TOutline::Style).Default(otStandard);
  c.Property(u"OnChange", &TOutline::OnChange);
}

TOutline::TOutline(TComponent* owner) : TCustomControl(owner), FLines(std::make_unique<TStringList>()) {
  FControlStyle = {csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
  SetColor(clWindow);
  SetBounds(Left(), Top(), 121, 97);
  FLines->OnChange = TNotifyEvent([this](TObject*) { LinesChanged(); });
}

TOutline::~TOutline() = default;

void TOutline::SetLines(const TStrings* lines) {
  if (lines) FLines->Assign(*lines);
}

void TOutline::SetBorderStyle(TFormBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  RecreateWnd();
}

void TOutline::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TOutline::LinesChanged() {
  FNodes.clear();
  for (Integer i = 0; i < FLines->Count(); ++i) {
    const String line = FLines->Get(i);
    const size_t text = std::min(line.find_first_not_of(u"\t "), line.size());
    // A line may stand at most one level below the one before it.
    const Integer previous = FNodes.empty() ? 0 : FNodes.back().Level;
    FNodes.emplace_back(line.substr(text), std::min<Integer>(static_cast<Integer>(text) + 1, previous + 1));
  }
  Invalidate();
}

std::vector<const TOutlineNode*> TOutline::ShownNodes() const {
  std::vector<const TOutlineNode*> shown;
  Integer hiddenBelow = 0;  // levels deeper than this are folded away (0: none)
  for (const TOutlineNode& node : FNodes) {
    if (hiddenBelow != 0 && node.Level > hiddenBelow) continue;
    hiddenBelow = 0;
    shown.push_back(&node);
    if (!node.Expanded) hiddenBelow = node.Level;
  }
  return shown;
}

Integer TOutline::RowHeight() {
  Canvas().Font().Assign(&Font());
  return ItemHeight > 0 ? ItemHeight : Canvas().TextHeight(u"Ag") + 2;
}

void TOutline::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetColor(Color());
  canvas.FillRect(ClientRect());
  const Integer row = RowHeight();
  const std::vector<const TOutlineNode*> shown = ShownNodes();
  const bool tree = OutlineStyle == osTreeText || OutlineStyle == osTreePictureText;
  const bool plusMinus = OutlineStyle != osText && OutlineStyle != osPictureText;
  for (size_t i = 0; i < shown.size(); ++i) {
    const TOutlineNode& node = *shown[i];
    const Integer y = static_cast<Integer>(i) * row;
    const Integer indent = (node.Level - 1) * 16 + 4;
    // A node with children shows whether it is folded.
    const size_t index = static_cast<size_t>(&node - FNodes.data());
    const bool parent = index + 1 < FNodes.size() && FNodes[index + 1].Level > node.Level;
    if (tree && node.Level > 1) {
      canvas.Pen().SetColor(clGray);
      canvas.MoveTo(indent - 12, y);
      canvas.LineTo(indent - 12, y + row / 2);
      canvas.LineTo(indent - 2, y + row / 2);
    }
    if (plusMinus && parent) {
      const TRect box = Rect(indent, y + row / 2 - 4, indent + 9, y + row / 2 + 5);
      canvas.Brush().SetColor(clWindow);
      canvas.Pen().SetColor(clGray);
      canvas.Rectangle(box);
      canvas.Pen().SetColor(clWindowText);
      canvas.MoveTo(box.Left + 2, y + row / 2);
      canvas.LineTo(box.Right - 2, y + row / 2);
      if (!node.Expanded) {
        canvas.MoveTo(box.Left + 4, box.Top + 2);
        canvas.LineTo(box.Left + 4, box.Bottom - 2);
      }
    }
    canvas.Font().Assign(&Font());
    canvas.Brush().SetStyle(bsClear);
    canvas.TextOut(indent + 14, y + (row - canvas.TextHeight(node.Text)) / 2, node.Text);
    canvas.Brush().SetStyle(bsSolid);
  }
}

void TOutline::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  const std::vector<const TOutlineNode*> shown = ShownNodes();
  const Integer index = y / std::max<Integer>(RowHeight(), 1);
  if (index < 0 || index >= static_cast<Integer>(shown.size())) return;
  auto& node = const_cast<TOutlineNode&>(*shown[static_cast<size_t>(index)]);
  node.Expanded = !node.Expanded;
  Invalidate();
}

// ---------------------------------------------------------------------------
// Directory outline

void TDirectoryOutline::Describe(TClassBuilder<TDirectoryOutline>& c) {
  c.Property(u"Directory", &TDirectoryOutline::Directory, &TDirectoryOutline::SetDirectory);
  c.Property(u"TextCase", &TDirectoryOutline::TextCase, &TDirectoryOutline::SetTextCase).Default(diroutln::tcLowerCase);
}

TDirectoryOutline::TDirectoryOutline(TComponent* owner) : TOutline(owner) {
  OutlineStyle = osTreeText;
}

void TDirectoryOutline::SetDirectory(const String& value) {
  FDirectory = value;
  if (!ComponentState().Contains(csLoading)) ShowPath();
}

void TDirectoryOutline::SetTextCase(diroutln::TTextCase value) {
  FTextCase = value;
  if (!ComponentState().Contains(csLoading)) ShowPath();
}

void TDirectoryOutline::Loaded() {
  TOutline::Loaded();
  ShowPath();
}

// Each part of the path one level below the one before, all unfolded.
void TDirectoryOutline::ShowPath() {
  String path = FTextCase == diroutln::tcLowerCase ? LowerCase(FDirectory) : FTextCase == diroutln::tcUpperCase ? UpperCase(FDirectory) : FDirectory;
  GetLines()->BeginUpdate();
  GetLines()->Clear();
  Integer level = 0;
  size_t start = 0;
  while (start < path.size()) {
    size_t end = path.find_first_of(u"\\/", start);
    if (end == String::npos) end = path.size();
    String part = path.substr(start, end - start);
    // The drive keeps its separator: "c:\".
    if (level == 0 && end < path.size()) part += u"\\";
    if (!part.empty()) GetLines()->Add(String(static_cast<size_t>(level++), u'\t') + part);
    start = end + 1;
  }
  GetLines()->EndUpdate();
  for (TOutlineNode& node : FNodes) node.Expanded = true;
}

// ---------------------------------------------------------------------------
// Tabbed notebook

void TTabPage::Describe(TClassBuilder<TTabPage>& c) {
  publish::Caption(c);
  c.Property(u"HelpContext", &TControl::HelpContext, &TControl::SetHelpContext).Default(0);
}

TTabPage::TTabPage(TComponent* owner) : TCustomControl(owner) {
  FControlStyle = {csAcceptsControls};
  SetParentColor(true);
  SetVisible(false);
}

void TTabPage::Paint() {
  Canvas().Brush().SetColor(Color());
  Canvas().FillRect(ClientRect());
}

void TTabbedNotebook::Describe(TClassBuilder<TTabbedNotebook>& c) {
  publish::WinControlBundle(c);
  c.Property(u"ActivePage", &TTabbedNotebook::ActivePage, &TTabbedNotebook::SetActivePage).Stored(false);
  c.Property(u"PageIndex", &TTabbedNotebook::PageIndex, &TTabbedNotebook::SetPageIndex).Default(0);
  c.Property(u"TabFont", &TTabbedNotebook::GetTabFont, &TTabbedNotebook::SetTabFont);
  c.Property(u"TabsPerRow", &TTabbedNotebook::TabsPerRow, &TTabbedNotebook::SetTabsPerRow).Default(3);
  c.Property(u"OnChange", &TTabbedNotebook::OnChange, &PageChangeEventType());
}

TTabbedNotebook::TTabbedNotebook(TComponent* owner) : TCustomControl(owner), FTabFont(std::make_unique<TFont>()) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque};
  SetColor(clBtnFace);
  SetBounds(Left(), Top(), 300, 250);
  FTabFont->OnChange = TNotifyEvent([this](TObject*) { Invalidate(); });
}

TTabbedNotebook::~TTabbedNotebook() = default;

std::vector<TTabPage*> TTabbedNotebook::Pages() const {
  std::vector<TTabPage*> pages;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* page = dynamic_cast<TTabPage*>(Controls(i))) pages.push_back(page);
  return pages;
}

void TTabbedNotebook::SetTabFont(const TFont* font) {
  if (font) FTabFont->Assign(font);
}

void TTabbedNotebook::SetTabsPerRow(Integer value) {
  FTabsPerRow = std::max<Integer>(value, 1);
  Realign();
  Invalidate();
}

void TTabbedNotebook::SetPageIndex(Integer index) {
  if (ComponentState().Contains(csLoading)) {
    FPageIndex = index;
    return;
  }
  const std::vector<TTabPage*> pages = Pages();
  if (index < 0 || index >= static_cast<Integer>(pages.size()) || index == FPageIndex) return;
  bool allow = true;
  if (OnChange) OnChange(this, index, allow);
  if (!allow) return;
  FPageIndex = index;
  ShowPage();
}

String TTabbedNotebook::ActivePage() const {
  const std::vector<TTabPage*> pages = Pages();
  return FPageIndex >= 0 && FPageIndex < static_cast<Integer>(pages.size()) ? pages[static_cast<size_t>(FPageIndex)]->Caption()
                                                                            : FActivePage;
}

void TTabbedNotebook::SetActivePage(const String& caption) {
  FActivePage = caption;
  const std::vector<TTabPage*> pages = Pages();
  for (size_t i = 0; i < pages.size(); ++i)
    if (pages[i]->Caption() == caption) SetPageIndex(static_cast<Integer>(i));
}

void TTabbedNotebook::ShowPage() {
  const std::vector<TTabPage*> pages = Pages();
  for (size_t i = 0; i < pages.size(); ++i) pages[i]->SetVisible(static_cast<Integer>(i) == FPageIndex);
  Invalidate();
}

void TTabbedNotebook::Loaded() {
  TCustomControl::Loaded();
  Realign();
  ShowPage();
}

Integer TTabbedNotebook::TabsHeight() const {
  const Integer count = static_cast<Integer>(Pages().size());
  const Integer rows = std::max<Integer>((count + FTabsPerRow - 1) / FTabsPerRow, 1);
  return rows * 20 + 2;
}

// The tab of the page shown stands in the row next to the pages.
TRect TTabbedNotebook::TabRect(Integer index) const {
  const Integer count = static_cast<Integer>(Pages().size());
  const Integer rows = std::max<Integer>((count + FTabsPerRow - 1) / FTabsPerRow, 1);
  const Integer width = std::max<Integer>((ClientWidth() - 4) / FTabsPerRow, 1);
  const Integer selectedRow = FPageIndex / FTabsPerRow;
  Integer row = index / FTabsPerRow;
  // Rows turn so the selected one comes last (nearest the page).
  row = (row - selectedRow - 1 + 2 * rows) % rows;
  const Integer col = index % FTabsPerRow;
  return Rect(2 + col * width, 2 + row * 20, 2 + (col + 1) * width, 2 + (row + 1) * 20);
}

void TTabbedNotebook::AlignControls(TControl* control, TRect& rect) {
  TCustomControl::AlignControls(control, rect);
  const Integer top = TabsHeight() + 2;
  for (TTabPage* page : Pages()) page->SetBounds(4, top, std::max<Integer>(ClientWidth() - 8, 0), std::max<Integer>(ClientHeight() - top - 4, 0));
}

void TTabbedNotebook::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetColor(Color());
  canvas.FillRect(ClientRect());
  TRect frame = Rect(0, TabsHeight(), ClientWidth(), ClientHeight());
  Frame3D(canvas, frame, clBtnHighlight, clBtnShadow, 1);
  const std::vector<TTabPage*> pages = Pages();
  canvas.Font().Assign(FTabFont.get());
  for (size_t i = 0; i < pages.size(); ++i) {
    TRect tab = TabRect(static_cast<Integer>(i));
    const bool selected = static_cast<Integer>(i) == FPageIndex;
    if (selected) tab.Bottom += 2;
    canvas.Pen().SetColor(clBtnHighlight);
    canvas.MoveTo(tab.Left, tab.Bottom);
    canvas.LineTo(tab.Left, tab.Top);
    canvas.LineTo(tab.Right - 1, tab.Top);
    canvas.Pen().SetColor(clBtnShadow);
    canvas.LineTo(tab.Right - 1, tab.Bottom);
    canvas.Brush().SetStyle(bsClear);
    const String caption = pages[i]->Caption();
    canvas.TextOut((tab.Left + tab.Right - canvas.TextWidth(caption)) / 2, tab.Top + 3, caption);
    canvas.Brush().SetStyle(bsSolid);
  }
}

void TTabbedNotebook::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  const Integer count = static_cast<Integer>(Pages().size());
  for (Integer i = 0; i < count; ++i) {
    const TRect tab = TabRect(i);
    if (x >= tab.Left && x < tab.Right && y >= tab.Top && y < tab.Bottom) {
      SetPageIndex(i);
      return;
    }
  }
}

void RegisterOutlineClasses(TClassRegistry& registry) {
  registry.RegisterClasses({&TOutlineNode::StaticClass(), &TOutline::StaticClass(),
                            &TDirectoryOutline::StaticClass(), &TTabPage::StaticClass(),
                            &TTabbedNotebook::StaticClass()},
                           u"ui");
  for (const TTypeInfo* type :
       {&DescribeType(TypeTag<TOutlineStyle>{}), &DescribeType(TypeTag<TOutlineOption>{}),
        &DescribeType(TypeTag<TOutlineOptions>{}), &DescribeType(TypeTag<TOutlineType>{}),
        static_cast<const TTypeInfo*>(&PageChangeEventType())})
    registry.RegisterType(*type);
}
