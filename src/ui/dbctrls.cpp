#include "ui/dbctrls.h"

#include "classes/reflection.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TDBEdit, "DBCtrls")
KST_CLASS_IMPL(TDBText, "DBCtrls")
KST_CLASS_IMPL(TDBMemo, "DBCtrls")
KST_CLASS_IMPL(TDBListBox, "DBCtrls")
KST_CLASS_IMPL(TDBComboBox, "DBCtrls")
KST_CLASS_IMPL(TDBCheckBox, "DBCtrls")
KST_CLASS_IMPL(TDBRadioGroup, "DBCtrls")
KST_CLASS_IMPL(TDBRichEdit, "DBCtrls")
KST_CLASS_IMPL(TDBImage, "DBCtrls")
KST_CLASS_IMPL(TDBLookupListBox, "DBCtrls")
KST_CLASS_IMPL(TDBLookupComboBox, "DBCtrls")
KST_CLASS_IMPL(TDBLookupList, "dblookup")
KST_CLASS_IMPL(TDBLookupCombo, "dblookup")
KST_CLASS_IMPL(TDBCtrlGrid, "DBCGrids")
KST_CLASS_IMPL(TDBNavigator, "DBCtrls")
KST_CLASS_IMPL(TColumnTitle, "DBGrids")
KST_CLASS_IMPL(TColumn, "DBGrids")
KST_CLASS_IMPL(TDBGridColumns, "DBGrids")
KST_CLASS_IMPL(TDBGrid, "DBGrids")

const TTypeInfo& DescribeType(TypeTag<TNavigateBtn>) {
  static const TEnumTypeInfo t(u"TNavigateBtn", u"DBCtrls",
                               {u"nbFirst", u"nbPrior", u"nbNext", u"nbLast", u"nbInsert", u"nbDelete", u"nbEdit",
                                u"nbPost", u"nbCancel", u"nbRefresh"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TButtonSet>) {
  static const TSetTypeInfo t(u"TButtonSet", u"DBCtrls",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TNavigateBtn>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TDBGridOption>) {
  static const TEnumTypeInfo t(
      u"TDBGridOption", u"DBGrids",
      {u"dgEditing", u"dgAlwaysShowEditor", u"dgTitles", u"dgIndicator", u"dgColumnResize", u"dgColLines",
       u"dgRowLines", u"dgTabs", u"dgRowSelect", u"dgAlwaysShowSelection", u"dgConfirmDelete", u"dgCancelOnExit",
       u"dgMultiSelect", u"dgTitleClick", u"dgTitleHotTrack"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TDBGridOptions>) {
  static const TSetTypeInfo t(u"TDBGridOptions", u"DBGrids",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TDBGridOption>{})));
  return t;
}

namespace {

#define KST_LINK_PROPERTY(name, member)                        \
  c.Property(                                                  \
      name, [](const T& o) { return o.FLink.member; },         \
      [](T& o, const decltype(TDataLinkRef::member)& v) { o.FLink.member = v; })

// What every data-aware control adds to its plain counterpart.
template <class T>
void DataLink(TClassBuilder<T>& c) {
  KST_LINK_PROPERTY(u"DataField", DataField);
  c.Property(u"DataSource", &T::DataSource, &T::SetDataSource);
  KST_LINK_PROPERTY(u"ReadOnly", ReadOnly).Default(0);
}

// The list side of the lookup controls, under the names of both generations.
template <class T>
void Lookup(TClassBuilder<T>& c, bool older) {
  DataLink(c);
  KST_LINK_PROPERTY(u"DropDownRows", DropDownRows).Default(7);
  if (older) {
    KST_LINK_PROPERTY(u"LookupDisplay", LookupDisplay);
    KST_LINK_PROPERTY(u"LookupField", LookupField);
    c.Property(u"LookupSource", &T::ListSource, &T::SetListSource);
  } else {
    KST_LINK_PROPERTY(u"KeyField", KeyField);
    KST_LINK_PROPERTY(u"ListField", ListField);
    c.Property(u"ListSource", &T::ListSource, &T::SetListSource);
  }
}

}  // namespace

void TDBEdit::Describe(TClassBuilder<TDBEdit>& c) {
  DataLink(c);
}
void TDBText::Describe(TClassBuilder<TDBText>& c) {
  DataLink(c);
}
void TDBMemo::Describe(TClassBuilder<TDBMemo>& c) {
  using T = TDBMemo;
  DataLink(c);
  KST_LINK_PROPERTY(u"AutoDisplay", AutoDisplay).Default(1);
}
void TDBListBox::Describe(TClassBuilder<TDBListBox>& c) {
  DataLink(c);
}
void TDBComboBox::Describe(TClassBuilder<TDBComboBox>& c) {
  DataLink(c);
}
void TDBCheckBox::Describe(TClassBuilder<TDBCheckBox>& c) {
  using T = TDBCheckBox;
  DataLink(c);
  KST_LINK_PROPERTY(u"ValueChecked", ValueChecked);
  KST_LINK_PROPERTY(u"ValueUnchecked", ValueUnchecked);
}
void TDBRadioGroup::Describe(TClassBuilder<TDBRadioGroup>& c) {
  DataLink(c);
  c.Property(
      u"Values", [](const TDBRadioGroup& o) { return static_cast<TStrings*>(o.FLink.Values.get()); },
      [](TDBRadioGroup& o, const TStrings* v) {
        if (v) o.FLink.Values->Assign(*v);
      });
}
void TDBRichEdit::Describe(TClassBuilder<TDBRichEdit>& c) {
  DataLink(c);
}
void TDBImage::Describe(TClassBuilder<TDBImage>& c) {
  using T = TDBImage;
  DataLink(c);
  KST_LINK_PROPERTY(u"Center", Center).Default(1);
  KST_LINK_PROPERTY(u"QuickDraw", QuickDraw).Default(1);
  KST_LINK_PROPERTY(u"Stretch", Stretch).Default(0);
}
void TDBLookupListBox::Describe(TClassBuilder<TDBLookupListBox>& c) {
  Lookup(c, false);
}
void TDBLookupComboBox::Describe(TClassBuilder<TDBLookupComboBox>& c) {
  Lookup(c, false);
}
void TDBLookupList::Describe(TClassBuilder<TDBLookupList>& c) {
  Lookup(c, true);
}
void TDBLookupCombo::Describe(TClassBuilder<TDBLookupCombo>& c) {
  Lookup(c, true);
}
void TDBCtrlGrid::Describe(TClassBuilder<TDBCtrlGrid>& c) {
  using T = TDBCtrlGrid;
  c.Property(u"DataSource", &T::DataSource, &T::SetDataSource);
  KST_LINK_PROPERTY(u"AllowDelete", AllowDelete).Default(1);
  KST_LINK_PROPERTY(u"AllowInsert", AllowInsert).Default(1);
  KST_LINK_PROPERTY(u"ColCount", ColCount);
  KST_LINK_PROPERTY(u"PanelHeight", PanelHeight);
  KST_LINK_PROPERTY(u"PanelWidth", PanelWidth);
  KST_LINK_PROPERTY(u"RowCount", RowCount);
}
#undef KST_LINK_PROPERTY

// ---------------------------------------------------------------------------
// Navigator

void TDBNavigator::Describe(TClassBuilder<TDBNavigator>& c) {
  publish::WinControlBundle(c);
  c.Property(u"ConfirmDelete", &TDBNavigator::ConfirmDelete).Default(1);
  c.Property(u"DataSource", &TDBNavigator::DataSource, &TDBNavigator::SetDataSource);
  c.Property(u"Flat", &TDBNavigator::Flat).Default(0);
  c.Property(u"VisibleButtons", &TDBNavigator::VisibleButtons, &TDBNavigator::SetVisibleButtons);
  c.Property(u"BeforeAction", &TDBNavigator::BeforeAction);
  c.Property(u"OnClick", &TDBNavigator::OnNavClick);
}

TDBNavigator::TDBNavigator(TComponent* owner) : TCustomControl(owner) {
  SetBounds(Left(), Top(), 240, 25);
}
void TDBNavigator::SetVisibleButtons(TButtonSet value) {
  FVisibleButtons = value;
  Invalidate();
}
void TDBNavigator::Paint() {
  int count = 0;
  for (int b = nbFirst; b <= nbRefresh; ++b) count += FVisibleButtons.Contains(static_cast<TNavigateBtn>(b));
  Canvas().Brush().SetColor(clBtnFace);
  Canvas().FillRect(ClientRect());
  if (count == 0) return;
  const Integer width = ClientWidth() / count;
  for (int i = 0; i < count; ++i) {
    TRect box = Rect(i * width, 0, i == count - 1 ? ClientWidth() : (i + 1) * width, ClientHeight());
    RECT edge = ToRECT(box);
    if (!Flat) DrawEdge(Canvas().Handle(), &edge, EDGE_RAISED, BF_RECT);
  }
}
void TDBNavigator::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == FDataSource) FDataSource = nullptr;
}

// ---------------------------------------------------------------------------
// Grid columns

void TColumnTitle::Describe(TClassBuilder<TColumnTitle>& c) {
  c.Property(u"Alignment", &TColumnTitle::Alignment).Default(taLeftJustify);
  c.Property(u"Caption", &TColumnTitle::Caption);
  c.Property(u"Color", &TColumnTitle::Color, &types::Color()).Default(clBtnFace);
  c.Property(u"Font", &TColumnTitle::GetFont, &TColumnTitle::SetFont);
}
TColumnTitle::TColumnTitle(TPersistent* owner) : FOwner(owner), FFont(std::make_unique<TFont>()) {}
TColumnTitle::~TColumnTitle() = default;
void TColumnTitle::SetFont(const TFont* font) {
  if (font) FFont->Assign(font);
}

void TColumn::Describe(TClassBuilder<TColumn>& c) {
  c.Property(u"Alignment", &TColumn::Alignment).Default(taLeftJustify);
  c.Property(u"Color", &TColumn::Color, &types::Color()).Default(clWindow);
  c.Property(u"DropDownRows", &TColumn::DropDownRows).Default(7);
  c.Property(u"Expanded", &TColumn::Expanded).Default(1);
  c.Property(u"FieldName", &TColumn::FieldName);
  c.Property(u"Font", &TColumn::GetFont, &TColumn::SetFont);
  c.Property(u"PickList", &TColumn::GetPickList, &TColumn::SetPickList);
  c.Property(u"ReadOnly", &TColumn::ReadOnly).Default(0);
  c.Property(u"Title", &TColumn::GetTitle, &TColumn::SetTitle);
  c.Property(u"Visible", &TColumn::Visible).Default(1);
  c.Property(u"Width", &TColumn::Width);
}
TColumn::TColumn(TCollection* collection)
    : TCollectionItem(collection),
      FTitle(std::make_unique<TColumnTitle>(this)),
      FFont(std::make_unique<TFont>()),
      FPickList(std::make_unique<TStringList>()) {}
TColumn::~TColumn() = default;
void TColumn::SetTitle(const TColumnTitle* title) {
  if (!title) return;
  FTitle->Caption = title->Caption;
  FTitle->Alignment = title->Alignment;
  FTitle->Color = title->Color;
  FTitle->SetFont(title->GetFont());
}
void TColumn::SetFont(const TFont* font) {
  if (font) FFont->Assign(font);
}
void TColumn::SetPickList(const TStrings* lines) {
  if (lines) FPickList->Assign(*lines);
}

void TDBGridColumns::Describe(TClassBuilder<TDBGridColumns>&) {}
TDBGridColumns::TDBGridColumns(TDBGrid* grid) : TCollection(TColumn::StaticClass()), FGrid(grid) {}
TPersistent* TDBGridColumns::GetOwner() const {
  return FGrid;
}
void TDBGridColumns::Update(TCollectionItem*) {
  if (FGrid) FGrid->ColumnsChanged();
}

// ---------------------------------------------------------------------------
// Grid

void TDBGrid::Describe(TClassBuilder<TDBGrid>& c) {
  publish::WinControlBundle(c);
  publish::ImeProperties(c);
  c.Property(u"BorderStyle", &TDBGrid::BorderStyle, &TDBGrid::SetBorderStyle, &BorderStyleType()).Default(bsSingle);
  c.Property(u"Columns", &TDBGrid::GetColumns, &TDBGrid::SetColumns);
  c.Property(u"DataSource", &TDBGrid::DataSource, &TDBGrid::SetDataSource);
  c.Property(u"DefaultDrawing", &TDBGrid::DefaultDrawing, &TDBGrid::SetDefaultDrawing).Default(1);
  c.Property(u"DrawingStyle", &TDBGrid::DrawingStyle, &TDBGrid::SetDrawingStyle).Default(gdsThemed);
  c.Property(u"FixedColor", &TDBGrid::FixedColor, &TDBGrid::SetFixedColor, &types::Color()).Default(clBtnFace);
  c.Property(u"Options", &TDBGrid::DBOptions, &TDBGrid::SetDBOptions);
  c.Property(u"ReadOnly", &TDBGrid::ReadOnly).Default(0);
  c.Property(u"TitleFont", &TDBGrid::GetTitleFont, &TDBGrid::SetTitleFont);
#define KST_EVENT(name) c.Property(u## #name, &TDBGrid::name)
  KST_EVENT(OnCellClick);
  KST_EVENT(OnColEnter);
  KST_EVENT(OnColExit);
  KST_EVENT(OnColumnMoved);
  KST_EVENT(OnDrawColumnCell);
  KST_EVENT(OnDrawDataCell);
  KST_EVENT(OnEditButtonClick);
  KST_EVENT(OnTitleClick);
#undef KST_EVENT
}

TDBGrid::TDBGrid(TComponent* owner)
    : TCustomDrawGrid(owner), FColumns(std::make_unique<TDBGridColumns>(this)), FTitleFont(std::make_unique<TFont>()) {
  SetDefaultRowHeight(17);
  ColumnsChanged();
}
TDBGrid::~TDBGrid() {
  SetDataSource(nullptr);
}
void TDBGrid::SetColumns(const TDBGridColumns* columns) {
  if (columns) FColumns->Assign(columns);
}
void TDBGrid::SetTitleFont(const TFont* font) {
  if (font) FTitleFont->Assign(font);
  Invalidate();
}
void TDBGrid::SetDBOptions(TDBGridOptions value) {
  FDBOptions = value;
  ColumnsChanged();
}
void TDBGrid::ColumnsChanged() {
  const Integer indicator = FDBOptions.Contains(dgIndicator) ? 1 : 0;
  const Integer titles = FDBOptions.Contains(dgTitles) ? 1 : 0;
  std::vector<TColumn*> shown;
  for (int i = 0; i < FColumns->Count(); ++i)
    if (FColumns->Items(i)->Visible) shown.push_back(FColumns->Items(i));
  // Without columns the designer shows one empty data column.
  SetColCount(indicator + std::max<Integer>(1, static_cast<Integer>(shown.size())));
  SetRowCount(titles + 1);
  SetFixedCols(indicator);
  SetFixedRows(titles);
  if (indicator) SetColWidths(0, 11);
  for (size_t i = 0; i < shown.size(); ++i) SetColWidths(indicator + static_cast<Integer>(i), shown[i]->Width);
  Invalidate();
}
void TDBGrid::DrawCell(Integer col, Integer row, const TRect& rect, TGridDrawState state) {
  const Integer indicator = FDBOptions.Contains(dgIndicator) ? 1 : 0;
  if (row == 0 && FDBOptions.Contains(dgTitles) && col >= indicator) {
    int index = -1;
    for (int i = 0, shown = 0; i < FColumns->Count(); ++i) {
      if (!FColumns->Items(i)->Visible) continue;
      if (shown++ == col - indicator) {
        index = i;
        break;
      }
    }
    if (index >= 0) {
      Canvas().Font().Assign(FTitleFont.get());
      Canvas().Brush().SetStyle(bsClear);
      Canvas().TextRect(rect, rect.Left + 2, rect.Top + 2, FColumns->Items(index)->TitleText());
      Canvas().Brush().SetStyle(bsSolid);
    }
  }
  TCustomDrawGrid::DrawCell(col, row, rect, state);
}
void TDBGrid::Notification(TComponent* component, TOperation operation) {
  TCustomDrawGrid::Notification(component, operation);
  if (operation == opRemove && component == FDataSource) FDataSource = nullptr;
}

void RegisterDataControlClasses(TClassRegistry& registry) {
  registry.RegisterClasses(
      {&TDBEdit::StaticClass(), &TDBText::StaticClass(), &TDBMemo::StaticClass(), &TDBListBox::StaticClass(),
       &TDBComboBox::StaticClass(), &TDBCheckBox::StaticClass(), &TDBRadioGroup::StaticClass(),
       &TDBRichEdit::StaticClass(), &TDBImage::StaticClass(), &TDBLookupListBox::StaticClass(),
       &TDBLookupComboBox::StaticClass(), &TDBLookupList::StaticClass(), &TDBLookupCombo::StaticClass(),
       &TDBCtrlGrid::StaticClass(), &TDBNavigator::StaticClass(), &TColumnTitle::StaticClass(),
       &TColumn::StaticClass(), &TDBGridColumns::StaticClass(), &TDBGrid::StaticClass()},
      u"ui");
  for (const TTypeInfo* type : {&DescribeType(TypeTag<TButtonSet>{}), &DescribeType(TypeTag<TDBGridOptions>{})})
    registry.RegisterType(*type);
}
