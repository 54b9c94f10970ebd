#include "winbar/win32/categorybuttons.h"

#include <algorithm>

#include "ui/forms.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TBaseItem, "Obrix_CategoryButtons")
KST_CLASS_IMPL(TButtonItem, "Obrix_CategoryButtons")
KST_CLASS_IMPL(TItemCollection, "Obrix_CategoryButtons")
KST_CLASS_IMPL(TButtonCollection, "Obrix_CategoryButtons")
KST_CLASS_IMPL(TButtonCategory, "Obrix_CategoryButtons")
KST_CLASS_IMPL(TButtonCategories, "Obrix_CategoryButtons")
KST_CLASS_IMPL(TCategoryButtonsEx, "Obrix_CategoryButtons")
KST_CLASS_IMPL(TCategoryButtons, "CategoryButtons")

namespace {

const char16_t kUnit[] = u"Obrix_CategoryButtons";

// The next entry of the pale colour table; shared by every category the
// program creates, so that neighbouring categories differ.
Integer gNextCategoryColor = 0;

bool SameTextIgnoringCase(const String& a, const String& b) {
  return a.size() == b.size() &&
         CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, reinterpret_cast<const wchar_t*>(a.data()),
                        static_cast<int>(a.size()), reinterpret_cast<const wchar_t*>(b.data()),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

template <class Collection>
Integer IndexOfCaption(const Collection& items, const String& caption) {
  for (int i = 0; i < items.Count(); ++i)
    if (items.Items(i)->Caption() == caption) return i;
  for (int i = 0; i < items.Count(); ++i)
    if (SameTextIgnoringCase(items.Items(i)->Caption(), caption)) return i;
  return -1;
}

// Fills with a two-colour gradient, one line at a time.
void FillGradient(TCanvas& canvas, const TRect& rect, TColor from, TColor to, TGradientDirection direction) {
  Integer a = ColorToRGB(from), b = ColorToRGB(to);
  bool vertical = direction == gdVertical;
  Integer steps = vertical ? rect.Height() : rect.Width();
  for (Integer i = 0; i < steps; ++i) {
    Integer weight = steps > 1 ? 255 - i * 255 / (steps - 1) : 255;
    canvas.Brush().SetColor(BlendRGB(a, b, weight));
    canvas.FillRect(vertical ? Rect(rect.Left, rect.Top + i, rect.Right, rect.Top + i + 1)
                             : Rect(rect.Left + i, rect.Top, rect.Left + i + 1, rect.Bottom));
  }
}

void FrameWith(TCanvas& canvas, const TRect& rect, TColor color) {
  canvas.Brush().SetColor(color);
  canvas.FrameRect(rect);
}

}  // namespace

// ---------------------------------------------------------------------------
// Types

const TTypeInfo& DescribeType(TypeTag<TCatButtonFlow>) {
  static const TEnumTypeInfo t(u"TCatButtonFlow", kUnit, {u"cbfVertical", u"cbfHorizontal"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCatButtonOption>) {
  static const TEnumTypeInfo t(
      u"TCatButtonOption", kUnit,
      {u"boAllowReorder", u"boAllowCopyingButtons", u"boFullSize", u"boGradientFill", u"boShowCaptions",
       u"boVerticalCategoryCaptions", u"boBoldCaptions", u"boUsePlusMinus", u"boCaptionOnlyBorder"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCatButtonOptions>) {
  static const TSetTypeInfo t(u"TCatButtonOptions", kUnit,
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TCatButtonOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TGradientDirection>) {
  static const TEnumTypeInfo t(u"TGradientDirection", kUnit, {u"gdHorizontal", u"gdVertical"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCatButtonEvent>) {
  static const TMethodTypeInfo t(
      u"TCatButtonEvent", kUnit, mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"Button", u"TButtonItem", ParamFlagBit(pfConst))});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCatButtonCategoryEvent>) {
  static const TMethodTypeInfo t(
      u"TCatButtonCategoryEvent", kUnit, mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"Category", u"TButtonCategory", ParamFlagBit(pfConst))});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCatButtonReorderEvent>) {
  static const TMethodTypeInfo t(u"TCatButtonReorderEvent", kUnit, mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"Button", u"TButtonItem", ParamFlagBit(pfConst)),
                                  Param(u"SourceCategory", u"TButtonCategory", ParamFlagBit(pfConst)),
                                  Param(u"TargetCategory", u"TButtonCategory", ParamFlagBit(pfConst))});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCategoryReorderEvent>) {
  static const TMethodTypeInfo t(
      u"TCategoryReorderEvent", kUnit, mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"SourceCategory", u"TButtonCategory", ParamFlagBit(pfConst)),
       Param(u"TargetCategory", u"TButtonCategory", ParamFlagBit(pfConst))});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCatButtonCopyEvent>) {
  static const TMethodTypeInfo t(
      u"TCatButtonCopyEvent", kUnit, mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"SourceButton", u"TButtonItem", ParamFlagBit(pfConst)),
       Param(u"CopiedButton", u"TButtonItem", ParamFlagBit(pfConst))});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCatButtonEditingEvent>) {
  static const TMethodTypeInfo t(u"TCatButtonEditingEvent", kUnit, mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"Item", u"TBaseItem"),
                                  Param(u"AllowEdit", u"Boolean", ParamFlagBit(pfVar))});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCatButtonEditedEvent>) {
  static const TMethodTypeInfo t(
      u"TCatButtonEditedEvent", kUnit, mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"Item", u"TBaseItem"), Param(u"S", u"string", ParamFlagBit(pfVar))});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCatButtonCancelEditEvent>) {
  static const TMethodTypeInfo t(u"TCatButtonCancelEditEvent", kUnit, mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"Item", u"TBaseItem", ParamFlagBit(pfConst))});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCatButtonDrawEvent>) {
  static const TMethodTypeInfo t(
      u"TCatButtonDrawEvent", kUnit, mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"Button", u"TButtonItem", ParamFlagBit(pfConst)),
       Param(u"Canvas", u"TCanvas"), Param(u"Rect", u"TRect"), Param(u"State", u"TButtonDrawState")});
  return t;
}

// ---------------------------------------------------------------------------
// Items

std::vector<Integer> TItemImages::Valid(Integer count) const {
  std::vector<Integer> valid;
  for (Integer index : {ImageIndex, SecondImageIndex, ThirdImageIndex, FourthImageIndex, FifthImageIndex})
    if (index >= 0 && index < count) valid.push_back(index);
  return valid;
}

template <class T>
static void DescribeImages(TClassBuilder<T>& c) {
  c.Property(u"ImageIndex", &TItemImages::ImageIndex).Default(-1);
  c.Property(u"SecondImageIndex", &TItemImages::SecondImageIndex).Default(-1);
  c.Property(u"ThirdImageIndex", &TItemImages::ThirdImageIndex).Default(-1);
  c.Property(u"FourthImageIndex", &TItemImages::FourthImageIndex).Default(-1);
  c.Property(u"FifthImageIndex", &TItemImages::FifthImageIndex).Default(-1);
  // The spacing has no default: it is always written.
  c.Property(u"ImageSpacing", &TItemImages::ImageSpacing);
}

void TBaseItem::Describe(TClassBuilder<TBaseItem>&) {}

TBaseItem::TBaseItem(TCollection* collection) : TCollectionItem(collection) {}

void TBaseItem::SetCaption(const String& value) {
  if (value == FCaption) return;
  FCaption = value;
  Changed(false);
}

TCategoryButtonsEx* TBaseItem::CategoryButtons() const {
  auto* items = dynamic_cast<TItemCollection*>(Collection());
  return items ? items->CategoryButtons() : nullptr;
}

bool TBaseItem::EditText() {
  TCategoryButtonsEx* control = CategoryButtons();
  return control && control->BeginEdit(this);
}

void TBaseItem::EndEdit(bool cancel) {
  if (TCategoryButtonsEx* control = CategoryButtons()) control->EndEdit(cancel);
}

void TButtonItem::Describe(TClassBuilder<TButtonItem>& c) {
  c.Property(u"Caption", &TBaseItem::Caption, &TBaseItem::SetCaption);
  c.Property(u"Hint", &TButtonItem::Hint, &TButtonItem::SetHint);
  DescribeImages(c);
  c.Property(u"OnClick", &TButtonItem::OnClick);
  c.Property(u"Tag", &TButtonItem::Tag, &TButtonItem::SetTag).Default(0);
}

TButtonItem::TButtonItem(TCollection* collection) : TBaseItem(collection) {}

TButtonCategory* TButtonItem::Category() const {
  auto* items = dynamic_cast<TButtonCollection*>(Collection());
  return items ? items->Category() : nullptr;
}

TRect TButtonItem::Bounds() const {
  TButtonCategory* category = Category();
  TCategoryButtonsEx* control = CategoryButtons();
  if (!category || category->Collapsed() || !control) return Rect(-1, -1, -1, -1);
  return control->GetButtonRect(this);
}

void TButtonItem::ScrollIntoView() {
  if (TCategoryButtonsEx* control = CategoryButtons()) control->ScrollIntoView(this);
}

void TButtonItem::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TButtonItem*>(source)) {
    SetCaption(other->Caption());
    ImageIndex = other->ImageIndex;
    FHint = other->FHint;
    FData = other->FData;
    Changed(false);
    return;
  }
  TBaseItem::Assign(source);
}

void TItemCollection::Describe(TClassBuilder<TItemCollection>&) {}

void TItemCollection::Notify(TCollectionItem* item, bool added) {
  if (!added && FCategoryButtons) FCategoryButtons->ItemRemoved(item);
}

void TButtonCollection::Describe(TClassBuilder<TButtonCollection>&) {}

TButtonCollection::TButtonCollection(TButtonCategory* category)
    : TButtonCollection(category, category ? category->CategoryButtons() : nullptr) {}

TButtonCollection::TButtonCollection(TButtonCategory* category, TCategoryButtonsEx* control)
    : TItemCollection(control, TButtonItem::StaticClass()), FCategory(category) {}

TPersistent* TButtonCollection::GetOwner() const {
  return FCategory;
}

TButtonItem* TButtonCollection::AddItem(TButtonItem* item, Integer index) {
  if (!item)
    item = Add();
  else
    item->SetCollection(this);
  if (index >= 0 && index < Count()) item->SetIndex(index);
  return item;
}

void TButtonCollection::Update(TCollectionItem* item) {
  TCategoryButtonsEx* control = CategoryButtons();
  if (!control || UpdateCount() > 0) return;
  if (FCategory && FCategory->Collection() && FCategory->Collection()->UpdateCount() > 0) return;
  if (item)
    control->ItemChanged(static_cast<TBaseItem*>(item));
  else {
    control->LayOut();
    control->Invalidate();
  }
}

const TColor TButtonCategory::kColors[10] = {0xFFEAFF, 0xF4F4F4, 0xEAEBFF, 0xFFEAFF, 0xFFEAEA,
                                             0xEAFFFF, 0xFFFFEA, 0xEAEBFF, 0xEBFFEA, 0xFFEAEA};

void TButtonCategory::Describe(TClassBuilder<TButtonCategory>& c) {
  c.Property(u"Caption", &TBaseItem::Caption, &TBaseItem::SetCaption);
  c.Property(u"Collapsed", &TButtonCategory::Collapsed, &TButtonCategory::SetCollapsed).Default(0);
  // No default: a category's colour is always written.
  c.Property(u"Color", &TButtonCategory::Color, &TButtonCategory::SetColor, &types::Color());
  c.Property(u"GradientColor", &TButtonCategory::GradientColor, &TButtonCategory::SetGradientColor, &types::Color())
      .Default(clNone);
  c.Property(u"Items", &TButtonCategory::GetItems, &TButtonCategory::SetItems);
  c.Property(u"TextColor", &TButtonCategory::TextColor, &TButtonCategory::SetTextColor, &types::Color())
      .Default(clWindowText);
  DescribeImages(c);
  c.Property(u"Tag", &TButtonCategory::Tag, &TButtonCategory::SetTag).Default(0);
  c.Property(u"Hint", &TButtonCategory::Hint, &TButtonCategory::SetHint);
}

TButtonCategory::TButtonCategory(TCollection* collection)
    : TBaseItem(nullptr),
      FColor(kColors[gNextCategoryColor]),
      FItems(std::make_unique<TButtonCollection>(
          this, dynamic_cast<TItemCollection*>(collection) ? static_cast<TItemCollection*>(collection)->CategoryButtons()
                                                           : nullptr)) {
  gNextCategoryColor = (gNextCategoryColor + 1) % 10;
  // Joined only now: joining lays the control out, which reads the buttons.
  SetCollection(collection);
}

TButtonCategory::~TButtonCategory() {
  FItems->Clear();
}

void TButtonCategory::SetCollapsed(bool value) {
  if (value == FCollapsed) return;
  FCollapsed = value;
  Changed(true);
  TCategoryButtonsEx* control = CategoryButtons();
  if (!control) return;
  if (!value) control->ScrollIntoView(this);
  control->OnCategoryCollapse(control, this);
}

void TButtonCategory::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  Changed(false);
}

void TButtonCategory::SetGradientColor(TColor value) {
  if (value == FGradientColor) return;
  FGradientColor = value;
  Changed(false);
}

void TButtonCategory::SetTextColor(TColor value) {
  if (value == FTextColor) return;
  FTextColor = value;
  Changed(false);
}

void TButtonCategory::MoveTo(Integer index) {
  if (index == Index() || !Collection()) return;
  auto* categories = static_cast<TButtonCategories*>(Collection());
  TButtonCategory* noted = index >= 0 && index < categories->Count() ? categories->Items(index) : nullptr;
  SetIndex(index);
  if (TCategoryButtonsEx* control = CategoryButtons()) {
    control->ScrollIntoView(this);
    control->OnReorderCategory(control, this, noted);
  }
}

TRect TButtonCategory::Bounds() const {
  TCategoryButtonsEx* control = CategoryButtons();
  if (!control) return Rect(-1, -1, -1, -1);
  return control->GetCategoryRect(this, false);
}

void TButtonCategory::ScrollIntoView() {
  if (TCategoryButtonsEx* control = CategoryButtons()) control->ScrollIntoView(this);
}

void TButtonCategory::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TButtonCategory*>(source)) {
    SetCaption(other->Caption());
    FColor = other->FColor;
    FGradientColor = other->FGradientColor;
    FTextColor = other->FTextColor;
    FCollapsed = other->FCollapsed;
    FData = other->FData;
    FItems->Assign(other->FItems.get());
    Changed(true);
    return;
  }
  TBaseItem::Assign(source);
}

Integer TButtonCategory::IndexOf(const String& caption) const {
  return IndexOfCaption(*FItems, caption);
}

void TButtonCategories::Describe(TClassBuilder<TButtonCategories>&) {}

TButtonCategories::TButtonCategories(TCategoryButtonsEx* control)
    : TItemCollection(control, TButtonCategory::StaticClass()) {}

TPersistent* TButtonCategories::GetOwner() const {
  return CategoryButtons();
}

Integer TButtonCategories::VisibleCount() const {
  Integer count = Count();
  for (int i = 0; i < Count(); ++i)
    if (!Items(i)->Collapsed()) count += Items(i)->Items().Count();
  return count;
}

TBaseItem* TButtonCategories::ItemAt(Integer index) const {
  for (int i = 0; i < Count() && index >= 0; ++i) {
    TButtonCategory* category = Items(i);
    if (index == 0) return category;
    --index;
    if (category->Collapsed()) continue;
    if (index < category->Items().Count()) return category->Items().Items(index);
    index -= category->Items().Count();
  }
  return nullptr;
}

Integer TButtonCategories::IndexOf(const String& caption) const {
  return IndexOfCaption(*this, caption);
}

void TButtonCategories::Update(TCollectionItem*) {
  TCategoryButtonsEx* control = CategoryButtons();
  if (!control || control->FIgnoreUpdate) return;
  control->LayOut();
  control->Invalidate();
}

// ---------------------------------------------------------------------------
// The control

namespace {

// The property list of both category lists; the window bar's own adds the
// category images, the edge and glass colours and word wrap, and the
// platform's publishes the drag and bevel properties of its windowed controls.
template <class T>
void DescribeCategoryList(TClassBuilder<T>& c, bool extras) {
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"BackgroundGradientColor", &TCategoryButtonsEx::BackgroundGradientColor,
             &TCategoryButtonsEx::SetBackgroundGradientColor, &types::Color())
      .Default(clNone);
  c.Property(u"BackgroundGradientDirection", &TCategoryButtonsEx::BackgroundGradientDirection,
             &TCategoryButtonsEx::SetBackgroundGradientDirection)
      .Default(gdHorizontal);
  c.Property(u"BorderStyle", &TCategoryButtonsEx::BorderStyle, &TCategoryButtonsEx::SetBorderStyle, &BorderStyleType())
      .Default(bsSingle);
  c.Property(u"ButtonFlow", &TCategoryButtonsEx::ButtonFlow, &TCategoryButtonsEx::SetButtonFlow);
  c.Property(u"ButtonHeight", &TCategoryButtonsEx::ButtonHeight, &TCategoryButtonsEx::SetButtonHeight).Default(24);
  c.Property(u"ButtonWidth", &TCategoryButtonsEx::ButtonWidth, &TCategoryButtonsEx::SetButtonWidth).Default(24);
  c.Property(u"ButtonOptions", &TCategoryButtonsEx::ButtonOptions, &TCategoryButtonsEx::SetButtonOptions)
      .Default(
          static_cast<Integer>(TCatButtonOptions{boGradientFill, boShowCaptions, boVerticalCategoryCaptions}.Bits()));
  if (extras)
    c.Property(u"CategoryImages", &TCategoryButtonsEx::CategoryImages, &TCategoryButtonsEx::SetCategoryImages);
  c.Property(u"Categories", &TCategoryButtonsEx::GetCategories, &TCategoryButtonsEx::SetCategories);
  c.Property(u"Color", &TControl::Color, &TControl::SetColor, &types::Color()).Default(clWindow);
  publish::Constraints(c);
  publish::DoubleBuffered(c);
  // The defaults are the values a new control starts with, so that a stored
  // form reads back as it was written.
  if (extras)
    c.Property(u"EdgeButtonColor", &TCategoryButtonsEx::EdgeButtonColor, &TCategoryButtonsEx::SetEdgeButtonColor,
               &types::Color())
        .Default(clMedGray);
  publish::Enabled(c);
  publish::Font(c);
  if (extras) {
    c.Property(u"GlassButtonColor", &TCategoryButtonsEx::GlassButtonColor, &TCategoryButtonsEx::SetGlassButtonColor,
               &types::Color())
        .Default(clWhite);
    c.Property(u"GlassButtonStyle", &TCategoryButtonsEx::GlassButtonStyle, &TCategoryButtonsEx::SetGlassButtonStyle)
        .Default(0);
  }
  c.Property(u"GradientDirection", &TCategoryButtonsEx::GradientDirection, &TCategoryButtonsEx::SetGradientDirection)
      .Default(gdHorizontal);
  c.Property(u"HotButtonColor", &TCategoryButtonsEx::HotButtonColor, &TCategoryButtonsEx::SetHotButtonColor,
             &types::Color())
      .Default(TCategoryButtonsEx::kInitialHotButtonColor);
  c.Property(u"Images", &TCategoryButtonsEx::Images, &TCategoryButtonsEx::SetImages);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  c.Property(u"RegularButtonColor", &TCategoryButtonsEx::RegularButtonColor, &TCategoryButtonsEx::SetRegularButtonColor,
             &types::Color());
  c.Property(u"SelectedButtonColor", &TCategoryButtonsEx::SelectedButtonColor,
             &TCategoryButtonsEx::SetSelectedButtonColor, &types::Color());
  publish::ShowHint(c);
  publish::TabOrder(c);
  publish::TabStop(c);
  publish::Visible(c);
  if (extras) {
    c.Property(u"WordWrap", &TCategoryButtonsEx::WordWrap, &TCategoryButtonsEx::SetWordWrap);
  } else {
    publish::BevelProperties(c);
    publish::BevelCutProperties(c);
    publish::DragProperties(c);
  }
  c.Property(u"OnAfterDrawButton", &TCategoryButtonsEx::OnAfterDrawButton);
  c.Property(u"OnBeforeDrawButton", &TCategoryButtonsEx::OnBeforeDrawButton);
  c.Property(u"OnButtonClicked", &TCategoryButtonsEx::OnButtonClicked, &GrpButtonEventType());
  c.Property(u"OnCancelEdit", &TCategoryButtonsEx::OnCancelEdit);
  c.Property(u"OnCategoryClicked", &TCategoryButtonsEx::OnCategoryClicked);
  c.Property(u"OnCategoryCollapse", &TCategoryButtonsEx::OnCategoryCollapse);
  c.Property(u"OnCopyButton", &TCategoryButtonsEx::OnCopyButton);
  c.Property(u"OnDrawButton", &TCategoryButtonsEx::OnDrawButton);
  c.Property(u"OnDrawText", &TCategoryButtonsEx::OnDrawText);
  c.Property(u"OnEdited", &TCategoryButtonsEx::OnEdited);
  c.Property(u"OnEditing", &TCategoryButtonsEx::OnEditing);
  c.Property(u"OnHotButton", &TCategoryButtonsEx::OnHotButton);
  c.Property(u"OnReorderButton", &TCategoryButtonsEx::OnReorderButton, &GrpButtonReorderEventType());
  c.Property(u"OnReorderCategory", &TCategoryButtonsEx::OnReorderCategory);
  c.Property(u"OnSelectedCategoryChange", &TCategoryButtonsEx::OnSelectedCategoryChange);
  c.Property(u"OnSelectedItemChange", &TCategoryButtonsEx::OnSelectedItemChange);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
  publish::KeyEvents(c);
  publish::WheelEvents(c);
}

}  // namespace

void TCategoryButtonsEx::Describe(TClassBuilder<TCategoryButtonsEx>& c) {
  DescribeCategoryList(c, true);
}

void TCategoryButtons::Describe(TClassBuilder<TCategoryButtons>& c) {
  DescribeCategoryList(c, false);
}

TCategoryButtonsEx::TCategoryButtonsEx(TComponent* owner)
    : TCustomControl(owner),
      FImageChangeLink(std::make_unique<TChangeLink>()),
      FCatImageChangeLink(std::make_unique<TChangeLink>()),
      FButtonCategories(std::make_unique<TButtonCategories>(this)),
      FSelectedButtonColor(ColorShadow(clBtnFace, -10)),
      FRegularButtonColor(ColorHighlight(clBtnFace, 15)) {
  FControlStyle = {csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
  FImageChangeLink->OnChange = [this](TObject*) { Invalidate(); };
  FCatImageChangeLink->OnChange = [this](TObject*) { Invalidate(); };
  SetColor(clWindow);
  SetParentColor(false);
  SetDoubleBuffered(true);
  SetTabStop(true);
  SetBounds(0, 0, 100, 100);
}

TCategoryButtonsEx::~TCategoryButtonsEx() {
  FDestroying = true;
  FSelectedItem = FFocusedItem = FEditItem = nullptr;
  FDownButton = FDragButton = FHotButton = nullptr;
  FDragCategory = nullptr;
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink.get());
  if (FCatImages) FCatImages->UnRegisterChanges(FCatImageChangeLink.get());
  FButtonCategories->Clear();
}

void TCategoryButtonsEx::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCategoryButtonsEx::CreateWnd() {
  TCustomControl::CreateWnd();
  FScrollBarShown = false;
  UpdateMetrics();
  LayOut();
}

void TCategoryButtonsEx::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TCategoryButtonsEx*>(source)) {
    FButtonCategories->Assign(other->FButtonCategories.get());
    SetButtonHeight(other->FButtonHeight);
    SetButtonWidth(other->FButtonWidth);
    SetButtonOptions(other->FButtonOptions);
    return;
  }
  TCustomControl::Assign(source);
}

void TCategoryButtonsEx::UpdateMetrics() {
  if (!HandleAllocated()) return;
  TBitmap measure(1, 1, pf24bit);
  measure.Canvas().Font().Assign(&Font());
  FCollapsedHeight = measure.Canvas().TextHeight(u"Wg");
  if (FCatImages) FCollapsedHeight = std::max<Integer>(FCollapsedHeight, FCatImages->Height() + 2);
  FGutterSize = FCollapsedHeight + 1;
  FScrollSize = FButtonHeight;
}

TCatLayoutMetrics TCategoryButtonsEx::Metrics() const {
  TCatLayoutMetrics m;
  m.Horizontal = FButtonFlow == cbfHorizontal;
  m.FullSize = FButtonOptions.Contains(boFullSize);
  m.VerticalCaptions = FButtonOptions.Contains(boVerticalCategoryCaptions);
  m.CaptionOnlyBorder = FButtonOptions.Contains(boCaptionOnlyBorder);
  m.ButtonWidth = FButtonWidth;
  m.ButtonHeight = FButtonHeight;
  m.CollapsedHeight = FCollapsedHeight;
  m.ClientWidth = ClientWidth();
  m.ClientHeight = ClientHeight();
  return m;
}

void TCategoryButtonsEx::LayOut() {
  if (!HandleAllocated() || FGutterSize == 0) return;
  TCatLayoutMetrics m = Metrics();
  std::vector<TCatShape> shapes;
  for (int i = 0; i < FButtonCategories->Count(); ++i) {
    TButtonCategory* category = FButtonCategories->Items(i);
    shapes.push_back({category->Items().Count(), category->Collapsed()});
  }
  auto extents = LayOutCategories(m, shapes);
  for (int i = 0; i < FButtonCategories->Count(); ++i) {
    FButtonCategories->Items(i)->FStart = extents[i].Start;
    FButtonCategories->Items(i)->FEnd = extents[i].End;
  }
  Integer total = extents.empty() ? 0 : extents.back().End;
  bool horizontal = FButtonFlow == cbfHorizontal;
  TCatScrollRange range = CategoryScrollRange(total, horizontal ? m.ClientWidth : m.ClientHeight, FScrollSize);
  int bar = horizontal ? SB_HORZ : SB_VERT;
  if (range.Shown) {
    FScrollBarMax = range.Max;
    FPageAmount = range.Page;
    FScrollBarPos = std::min(FScrollBarPos, FScrollBarMax);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = range.Range;
    info.nPage = static_cast<UINT>(range.Page);
    info.nPos = FScrollBarPos;
    SetScrollInfo(FHandle, bar, &info, TRUE);
    if (!FScrollBarShown) {
      FScrollBarShown = true;
      ShowScrollBar(FHandle, bar, TRUE);
    }
  } else {
    FScrollBarPos = FScrollBarMax = 0;
    if (FScrollBarShown) {
      FScrollBarShown = false;
      ShowScrollBar(FHandle, bar, FALSE);
    }
  }
}

void TCategoryButtonsEx::Resize() {
  if (IsEditing()) EndEdit(false);
  LayOut();
  TCustomControl::Resize();
}

void TCategoryButtonsEx::SetButtonFlow(TCatButtonFlow value) {
  if (value == FButtonFlow) return;
  bool hadBar = FScrollBarShown;
  int oldBar = FButtonFlow == cbfHorizontal ? SB_HORZ : SB_VERT;
  FButtonFlow = value;
  UpdateMetrics();
  FScrollBarPos = 0;
  if (hadBar && HandleAllocated()) {
    FScrollBarShown = false;
    ShowScrollBar(FHandle, oldBar, FALSE);
  }
  LayOut();
  Invalidate();
}

void TCategoryButtonsEx::SetButtonOptions(TCatButtonOptions value) {
  if (value == FButtonOptions) return;
  FButtonOptions = value;
  UpdateMetrics();
  LayOut();
  Invalidate();
}

void TCategoryButtonsEx::SetButtonWidth(Integer value) {
  if (value == FButtonWidth || value <= 0) return;
  FButtonWidth = value;
  LayOut();
  Invalidate();
}

void TCategoryButtonsEx::SetButtonHeight(Integer value) {
  if (value == FButtonHeight || value <= 0) return;
  FButtonHeight = value;
  FScrollSize = value;
  LayOut();
  Invalidate();
}

void TCategoryButtonsEx::SetBorderStyle(TBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  if (HandleAllocated()) RecreateWnd();
}

void TCategoryButtonsEx::SetImages(TCustomImageList* value) {
  if (SwitchImageList(*this, FImages, value, FImageChangeLink.get())) Invalidate();
}

void TCategoryButtonsEx::SetCategoryImages(TCustomImageList* value) {
  if (!SwitchImageList(*this, FCatImages, value, FCatImageChangeLink.get())) return;
  UpdateMetrics();
  LayOut();
  Invalidate();
}

void TCategoryButtonsEx::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FImages) SetImages(nullptr);
  if (component == FCatImages) SetCategoryImages(nullptr);
}

TButtonCategory* TCategoryButtonsEx::CurrentCategory() const {
  if (auto* category = dynamic_cast<TButtonCategory*>(FSelectedItem)) return category;
  if (auto* button = dynamic_cast<TButtonItem*>(FSelectedItem)) return button->Category();
  return nullptr;
}

TRect TCategoryButtonsEx::ButtonAreaOf(const TButtonCategory* category) const {
  return Metrics().ButtonArea(category->FStart - ScrollOffset(), category->Items().Count());
}

TRect TCategoryButtonsEx::GetCategoryRect(const TButtonCategory* category, bool buttonOnly) const {
  TCatLayoutMetrics m = Metrics();
  Integer position = category->FStart - ScrollOffset(), extent = category->FEnd - category->FStart;
  Integer buttons = category->Items().Count();
  return buttonOnly ? m.CaptionStrip(position, extent, buttons, category->Collapsed())
                    : m.OuterRect(position, extent, buttons, category->Collapsed());
}

TRect TCategoryButtonsEx::GetButtonRect(const TBaseItem* item) const {
  if (auto* category = dynamic_cast<const TButtonCategory*>(item)) return GetCategoryRect(category, false);
  auto* button = dynamic_cast<const TButtonItem*>(item);
  TButtonCategory* category = button ? button->Category() : nullptr;
  if (!category || category->Collapsed()) return TRect{};
  return Metrics().ButtonRect(ButtonAreaOf(category), button->Index());
}

TButtonCategory* TCategoryButtonsEx::GetCategoryAt(Integer x, Integer y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return nullptr;
  Integer along = (FButtonFlow == cbfHorizontal ? x : y) + ScrollOffset();
  for (int i = 0; i < FButtonCategories->Count(); ++i)
    if (FButtonCategories->Items(i)->FEnd >= along) return FButtonCategories->Items(i);
  return nullptr;
}

TButtonItem* TCategoryButtonsEx::GetButtonAt(Integer x, Integer y, TButtonCategory* category) const {
  if (FGutterSize == 0) return nullptr;
  if (!category) category = GetCategoryAt(x, y);
  if (!category || category->Collapsed()) return nullptr;
  Integer index = Metrics().ButtonIndexAt(ButtonAreaOf(category), category->Items().Count(), x, y);
  return index >= 0 ? category->Items().Items(index) : nullptr;
}

Integer TCategoryButtonsEx::ButtonsPerLine(const TButtonCategory* category) const {
  return Metrics().ButtonsPerLine(ButtonAreaOf(category));
}

void TCategoryButtonsEx::GetTargetAt(Integer x, Integer y, TButtonCategory*& targetCategory,
                                     TButtonItem*& targetButton) const {
  targetCategory = GetCategoryAt(x, y);
  targetButton = targetCategory ? GetButtonAt(x, y, targetCategory) : nullptr;
  if (!targetCategory) return;
  bool horizontal = FButtonFlow == cbfHorizontal;
  Integer perLine = ButtonsPerLine(targetCategory);
  TButtonCollection& items = targetCategory->Items();
  if (targetButton) {
    TRect r = GetButtonRect(targetButton);
    bool byRows = !horizontal && perLine == 1;
    bool pastMiddle = byRows ? y > (r.Top + r.Bottom) / 2 : x > (r.Left + r.Right) / 2;
    if (pastMiddle) {
      Integer next = targetButton->Index() + 1;
      targetButton = next < items.Count() ? items.Items(next) : nullptr;
    }
    return;
  }
  if (items.Count() == 0 || targetCategory->Collapsed()) return;
  if (perLine > 1 || horizontal) {
    Integer along = x + (horizontal ? ScrollOffset() : 0);
    if (along < ClientWidth() / 2) targetButton = items.Items(0);
  } else {
    Integer middle = (targetCategory->FStart + targetCategory->FEnd) / 2 - ScrollOffset();
    if (y < middle) targetButton = items.Items(0);
  }
}

void TCategoryButtonsEx::UpdateButton(const TBaseItem* item) {
  if (!item || !HandleAllocated()) return;
  auto* category = dynamic_cast<const TButtonCategory*>(item);
  TRect r =
      category && FButtonOptions.Contains(boCaptionOnlyBorder) ? GetCategoryRect(category, true) : GetButtonRect(item);
  RECT area{r.Left, r.Top, r.Right, r.Bottom};
  InvalidateRect(FHandle, &area, FALSE);
}

void TCategoryButtonsEx::ItemChanged(TBaseItem* item) {
  if (FIgnoreUpdate) return;
  UpdateButton(item);
}

void TCategoryButtonsEx::ItemRemoved(TCollectionItem* item) {
  if (FEditItem == item) {
    FEditItem = nullptr;
    if (FInplaceEdit) FInplaceEdit->Hide();
  }
  if (FSelectedItem == item) FSelectedItem = nullptr;
  if (FFocusedItem == item) FFocusedItem = nullptr;
  if (FDownButton == item) FDownButton = nullptr;
  if (FDragButton == item) FDragButton = nullptr;
  if (FHotButton == item) FHotButton = nullptr;
  if (FDragCategory == item) FDragCategory = nullptr;
  if (FInsertLeft == item || FInsertTop == item || FInsertRight == item || FInsertBottom == item)
    FInsertLeft = FInsertTop = FInsertRight = FInsertBottom = nullptr;
  // A category takes its buttons with it.
  if (auto* category = dynamic_cast<TButtonCategory*>(item)) {
    auto holds = [category](TBaseItem* other) {
      auto* button = dynamic_cast<TButtonItem*>(other);
      return button && button->Category() == category;
    };
    if (holds(FSelectedItem)) FSelectedItem = nullptr;
    if (holds(FFocusedItem)) FFocusedItem = nullptr;
    if (holds(FEditItem)) FEditItem = nullptr;
    if (holds(FDownButton)) FDownButton = nullptr;
    if (holds(FDragButton)) FDragButton = nullptr;
    if (holds(FHotButton)) FHotButton = nullptr;
    if (holds(FInsertLeft) || holds(FInsertTop) || holds(FInsertRight) || holds(FInsertBottom))
      FInsertLeft = FInsertTop = FInsertRight = FInsertBottom = nullptr;
  }
}

void TCategoryButtonsEx::SetScrollPosition(Integer position) {
  position = std::clamp<Integer>(position, 0, FScrollBarMax);
  if (position == FScrollBarPos) return;
  FScrollBarPos = position;
  if (HandleAllocated()) SetScrollPos(FHandle, FButtonFlow == cbfHorizontal ? SB_HORZ : SB_VERT, position, TRUE);
  Invalidate();
}

void TCategoryButtonsEx::ShowItem(TBaseItem* item, bool alignTop) {
  if (!item || FScrollSize <= 0) return;
  TRect r;
  if (auto* button = dynamic_cast<TButtonItem*>(item)) {
    TButtonCategory* category = button->Category();
    if (!category) return;
    r = category->Collapsed() ? GetCategoryRect(category, !alignTop) : GetButtonRect(button);
  } else {
    r = GetCategoryRect(static_cast<TButtonCategory*>(item), !alignTop);
  }
  bool horizontal = FButtonFlow == cbfHorizontal;
  Integer extent = horizontal ? ClientWidth() : ClientHeight();
  SetScrollPosition(ScrollPositionToShow(FScrollBarPos, FScrollBarMax, FScrollSize, extent, horizontal ? r.Left : r.Top,
                                         horizontal ? r.Right : r.Bottom, alignTop));
}

void TCategoryButtonsEx::SetSelectedItem(TBaseItem* value) {
  if (value == FSelectedItem) return;
  auto repaintWithCollapsedCategory = [this](TBaseItem* item) {
    UpdateButton(item);
    if (auto* button = dynamic_cast<TButtonItem*>(item))
      if (button->Category() && button->Category()->Collapsed()) UpdateButton(button->Category());
  };
  if (FFocusedItem != value) repaintWithCollapsedCategory(FFocusedItem);
  repaintWithCollapsedCategory(FSelectedItem);
  ShowItem(value, false);
  FSelectedItem = value;
  if (value) FFocusedItem = value;
  repaintWithCollapsedCategory(value);
  if (FDestroying) return;
  if (auto* category = dynamic_cast<TButtonCategory*>(value))
    OnSelectedCategoryChange(this, category);
  else
    OnSelectedItemChange(this, static_cast<TButtonItem*>(value));
}

void TCategoryButtonsEx::SetFocusedItem(TBaseItem* value) {
  if (value == FFocusedItem) return;
  FFocusedItem = value;
  Invalidate();
}

void TCategoryButtonsEx::SetHotButton(TButtonItem* button) {
  if (button == FHotButton) return;
  UpdateButton(FHotButton);
  FHotButton = button;
  UpdateButton(FHotButton);
  OnHotButton(this, button);
}

void TCategoryButtonsEx::ClickItem(TBaseItem* item) {
  if (auto* button = dynamic_cast<TButtonItem*>(item)) {
    if (button->OnClick)
      button->OnClick(this);
    else
      OnButtonClicked(this, button);
  } else if (auto* category = dynamic_cast<TButtonCategory*>(item)) {
    OnCategoryClicked(this, category);
  }
}

// ---------------------------------------------------------------------------
// Drawing

void TCategoryButtonsEx::Paint() {
  TCanvas& canvas = Canvas();
  TRect client = ClientRect();
  if (FBackgroundGradientColor == clNone) {
    canvas.Brush().SetColor(Color());
    canvas.FillRect(client);
  } else {
    FillGradient(canvas, client, Color(), FBackgroundGradientColor, FBackGradientDirection);
  }
  if (FGutterSize == 0) return;
  Integer offset = ScrollOffset();
  Integer extent = FButtonFlow == cbfHorizontal ? client.Width() : client.Height();
  for (int i = 0; i < FButtonCategories->Count(); ++i) {
    TButtonCategory* category = FButtonCategories->Items(i);
    if (category->FEnd < offset) continue;
    DrawCategory(category, canvas, category->FStart - offset);
    if (category->FEnd - offset > extent) break;
  }
  canvas.Brush().SetColor(Color());
}

void TCategoryButtonsEx::DrawCategory(TButtonCategory* category, TCanvas& canvas, Integer position) {
  TCatLayoutMetrics m = Metrics();
  bool horizontal = FButtonFlow == cbfHorizontal;
  Integer buttons = category->Items().Count();
  bool expanded = !category->Collapsed() && buttons > 0;
  Integer extent = category->FEnd - category->FStart;
  TRect outer = m.OuterRect(position, extent, buttons, category->Collapsed());
  TRect strip = m.CaptionStrip(position, extent, buttons, category->Collapsed());
  TRect drawn = FButtonOptions.Contains(boCaptionOnlyBorder) ? strip : outer;
  bool selected = category == FSelectedItem;
  TColor fill = selected ? FSelectedButtonColor : (category->Color() == clNone ? Color() : category->Color());
  if (!selected && FButtonOptions.Contains(boGradientFill)) {
    TColor to = category->GradientColor() == clNone ? Color() : category->GradientColor();
    FillGradient(canvas, drawn, fill, to, FGradientDirection);
  } else {
    canvas.Brush().SetColor(fill);
    canvas.FillRect(drawn);
  }
  drawn.Right -= 1;
  Integer l = drawn.Left, t = drawn.Top, r = drawn.Right, b = drawn.Bottom;
  for (TPoint p : {Point(l, t), Point(l + 1, t), Point(l, t + 1), Point(l, b), Point(l + 1, b), Point(l, b - 1)})
    canvas.SetPixels(p.X, p.Y, Color());
  TColor corner = FBackgroundGradientColor == clNone ? Color() : FBackgroundGradientColor;
  for (TPoint p : {Point(r, t), Point(r - 1, t), Point(r, t + 1), Point(r, b), Point(r - 1, b), Point(r, b - 1)})
    canvas.SetPixels(p.X, p.Y, corner);
  canvas.Pen().SetColor(ColorShadow(fill, -10));
  canvas.Polyline({Point(l + 2, t), Point(r - 2, t), Point(r, t + 2), Point(r, b - 2), Point(r - 2, b), Point(l + 2, b),
                   Point(l, b - 2), Point(l, t + 2), Point(l + 2, t)});
  if (selected || (category->Collapsed() && CurrentCategory() == category))
    FrameWith(canvas, Rect(strip.Left + 1, strip.Top + 1, strip.Right, strip.Bottom), ColorShadow(fill, -75));

  // The expand glyph.
  if (buttons > 0) {
    Integer gx = drawn.Left + 2, gy = drawn.Top + 2;
    if (FButtonOptions.Contains(boUsePlusMinus)) {
      Integer x = gx + 2, y = gy + 2;
      canvas.Pen().SetColor(clBtnShadow);
      canvas.Brush().SetColor(clWindow);
      canvas.Rectangle(x, y, x + 9, y + 9);
      canvas.Pen().SetColor(clWindowText);
      canvas.MoveTo(x + 2, y + 4);
      canvas.LineTo(x + 7, y + 4);
      if (category->Collapsed()) {
        canvas.MoveTo(x + 4, y + 2);
        canvas.LineTo(x + 4, y + 7);
      }
    } else {
      canvas.Pen().SetColor(clBtnShadow);
      for (Integer k = 0; k < 2; ++k)
        for (Integer s = 0; s < 2; ++s) {
          if (category->Collapsed()) {
            Integer x = gx + 6 + 3 * k + s, y = gy + 3;
            canvas.Polyline({Point(x, y), Point(x + 3, y + 3), Point(x - 1, y + 7)});
          } else {
            Integer x = gx + 4, y = gy + 5 + 3 * k + s;
            canvas.Polyline({Point(x, y), Point(x + 3, y + 3), Point(x + 7, y - 1)});
          }
        }
    }
  }

  // The caption.
  bool verticalCaption = horizontal ? (FButtonOptions.Contains(boVerticalCategoryCaptions) || !expanded)
                                    : (FButtonOptions.Contains(boVerticalCategoryCaptions) && expanded);
  canvas.Font().Assign(&Font());
  if (FButtonOptions.Contains(boBoldCaptions)) {
    TFontStyles style = canvas.Font().Style();
    style.Include(fsBold);
    canvas.Font().SetStyle(style);
  }
  canvas.Font().SetColor(category->TextColor());
  canvas.Brush().SetStyle(bsClear);
  std::vector<Integer> images = category->Valid(FCatImages ? FCatImages->Count() : 0);
  if (verticalCaption) {
    canvas.Font().SetOrientation(900);
    Integer w = outer.Height() - 16;
    Integer v = std::max<Integer>((w - canvas.TextWidth(category->Caption())) / 2, 2);
    Integer x = outer.Left + 1, y = outer.Bottom - v;
    canvas.TextOut(x, y, category->Caption());
  } else {
    Integer w = outer.Width() - 15;
    Integer x = outer.Left + 17, y = outer.Top + 1;
    if (FCatImages) {
      y += (FCollapsedHeight - canvas.TextHeight(category->Caption())) / 2;
      x += (FCatImages->Width() + category->ImageSpacing) * static_cast<Integer>(images.size()) + 2;
    }
    TRect text = Rect(x, y, x + w, y + canvas.TextHeight(u"Wg"));
    String caption = category->Caption();
    canvas.TextRect(text, caption, {tfEndEllipsis, tfNoClip, tfSingleLine});
  }
  canvas.Font().Assign(&Font());
  canvas.Brush().SetStyle(bsSolid);

  if (!verticalCaption && FCatImages) {
    Integer y = outer.Top + 1 + (FCollapsedHeight - FCatImages->Height()) / 2;
    Integer x = drawn.Left + 17;
    for (Integer index : images) {
      FCatImages->Draw(canvas, x, y, index, true);
      x += FCatImages->Width() + category->ImageSpacing;
    }
  }

  // The buttons.
  if (category->Collapsed()) return;
  TRect area = m.ButtonArea(position, buttons);
  Integer cellWidth =
      !horizontal && FButtonOptions.Contains(boFullSize) ? ClientWidth() - m.SideBufferSize() : FButtonWidth;
  bool narrower = verticalCaption && !FButtonOptions.Contains(boCaptionOnlyBorder);
  Integer x = area.Left, y = area.Top;
  bool focused = Focused();
  for (int i = 0; i < buttons; ++i) {
    if (!horizontal && y > ClientHeight()) break;
    TButtonItem* button = category->Items().Items(i);
    TRect cell = Rect(x, y, x + cellWidth - (narrower ? 3 : 0), y + FButtonHeight);
    if (cell.Bottom >= 0 && cell.Right >= 0) {
      TButtonDrawState state;
      if (button == FHotButton) {
        state.Include(bdsHot);
        if (button == FDownButton) state.Include(bdsDown);
      }
      if (button == FSelectedItem)
        state.Include(bdsSelected);
      else if (button == FFocusedItem && focused && !FDownButton)
        state.Include(bdsFocused);
      if (button == FDragButton && FDragStarted) state.Include(bdsDragged);
      if (button == FInsertTop)
        state.Include(bdsInsertTop);
      else if (button == FInsertBottom)
        state.Include(bdsInsertBottom);
      else if (button == FInsertRight)
        state.Include(bdsInsertRight);
      else if (button == FInsertLeft)
        state.Include(bdsInsertLeft);
      DrawButton(button, canvas, cell, state);
    }
    if (area.Right < x + 2 * cellWidth) {
      x = area.Left;
      y += FButtonHeight;
    } else {
      x += cellWidth;
    }
  }
}

void TCategoryButtonsEx::DrawButton(TButtonItem* button, TCanvas& canvas, TRect rect, TButtonDrawState state) {
  std::vector<Integer> images = button->Valid(FImages ? FImages->Count() : 0);
  if (OnDrawButton && !ComponentState().Contains(csDesigning)) {
    OnDrawButton(this, button, &canvas, rect, state);
    canvas.Brush().SetColor(Color());
    return;
  }
  TRect whole = rect;
  OnBeforeDrawButton(this, button, &canvas, whole, state);
  rect.Inflate(-1, -1);
  canvas.Font().Assign(&Font());
  TColor fill, edge;
  if (state.Contains(bdsHot)) {
    fill = state.Contains(bdsSelected) ? ColorShadow(FHotButtonColor, -10) : FHotButtonColor;
    edge = ColorShadow(fill, -50);
  } else if (state.Contains(bdsSelected)) {
    fill = FSelectedButtonColor;
    edge = ColorShadow(fill, -50);
  } else {
    fill = FRegularButtonColor;
    edge = ColorShadow(state.Contains(bdsFocused) ? FSelectedButtonColor : fill, -50);
  }
  if (FEdgeButtonColor != clNone) edge = FEdgeButtonColor;
  if (fill != clNone) {
    if (FGlassButtonStyle) {
      DrawGlassGradient(canvas, rect, FGlassButtonColor, fill, rect.Height() / 2);
    } else {
      canvas.Brush().SetColor(fill);
      canvas.FillRect(rect);
    }
    FrameWith(canvas, rect, edge);
  }
  if (state.Contains(bdsFocused)) {
    rect.Inflate(-1, -1);
    FrameWith(canvas, rect, edge);
  }
  Integer iconLeft = rect.Left + 3;
  Integer imageWidth = FImages ? FImages->Width() : 0;
  Integer textLeft = rect.Left + 4 + (imageWidth + button->ImageSpacing) * static_cast<Integer>(images.size()) +
                     (FButtonOptions.Contains(boFullSize) ? 4 : 0);
  Integer height = rect.Height();
  Integer textHeight = std::min<Integer>(canvas.TextHeight(u"Wg"), height);
  Integer textTop = std::max<Integer>(rect.Top + (height - textHeight) / 2, rect.Top);
  if (state.Contains(bdsDown)) {
    ++iconLeft;
    ++textTop;
    ++textLeft;
  }
  TRect text = Rect(textLeft, textTop, rect.Right - 2, rect.Bottom - 2);
  if (FImages) {
    Integer iconTop =
        std::max<Integer>(rect.Top + (height - FImages->Height()) / 2, rect.Top) + (state.Contains(bdsDown) ? 1 : 0);
    for (Integer index : images) {
      FImages->Draw(canvas, iconLeft, iconTop, index, true);
      iconLeft += imageWidth + button->ImageSpacing;
    }
  }
  TColor mark = ColorShadow(edge, -50);
  canvas.Brush().SetColor(mark);
  if (state.Contains(bdsInsertLeft)) canvas.FillRect(Rect(rect.Left - 2, rect.Top, rect.Left, rect.Bottom));
  if (state.Contains(bdsInsertTop)) canvas.FillRect(Rect(rect.Left, rect.Top, rect.Right, rect.Top + 2));
  if (state.Contains(bdsInsertRight)) canvas.FillRect(Rect(rect.Right, rect.Top, rect.Right + 2, rect.Bottom));
  if (state.Contains(bdsInsertBottom)) canvas.FillRect(Rect(rect.Left, rect.Bottom - 2, rect.Right, rect.Bottom));
  canvas.Brush().SetColor(fill == clNone ? Color() : fill);
  if (FButtonOptions.Contains(boShowCaptions)) {
    canvas.Brush().SetStyle(bsClear);
    if (OnDrawText) {
      OnDrawText(this, button, &canvas, text, state);
    } else {
      TTextFormat format{tfEndEllipsis, tfVerticalCenter};
      format.Include(FWordWrap ? tfWordBreak : tfSingleLine);
      String caption = button->Caption();
      canvas.TextRect(text, caption, format);
    }
    canvas.Brush().SetStyle(bsSolid);
  }
  OnAfterDrawButton(this, button, &canvas, whole, state);
  canvas.Brush().SetColor(Color());
}

// ---------------------------------------------------------------------------
// Mouse

void TCategoryButtonsEx::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (IsEditing()) EndEdit(false);
  FDragStarted = false;
  if (CanFocus() && !Focused()) SetFocus();
  // Only the left button arms a press and a drag: a right press opens a
  // menu and must not leave a drag waiting for the next mouse move.
  if (button != mbLeft) return;
  TButtonCategory* category = GetCategoryAt(x, y);
  TButtonItem* pressed = category ? GetButtonAt(x, y, category) : nullptr;
  FDownButton = pressed;
  if (pressed) {
    SetSelectedItem(pressed);
    FDragButton = pressed;
    FDragStartPos = Point(x, y);
    UpdateButton(pressed);
  } else if (category) {
    SetSelectedItem(category);
    if (FButtonOptions.Contains(boAllowReorder)) {
      FDragCategory = category;
      FDragStartPos = Point(x, y);
    }
  }
}

void TCategoryButtonsEx::MouseMove(TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseMove(shift, x, y);
  if (FDragStarted) {
    TButtonCategory* category = nullptr;
    TButtonItem* target = nullptr;
    GetTargetAt(x, y, category, target);
    if (FDragButton) {
      if (category && !DropMovesNothing(FDragButton, category, target))
        SetInsertionMarks(category, target);
      else
        RemoveInsertionMarks();
    }
    return;
  }
  if (FButtonOptions.Contains(boAllowReorder) && (FDragButton || FDragCategory) &&
      (std::abs(x - FDragStartPos.X) >= Mouse.DragThreshold() ||
       std::abs(y - FDragStartPos.Y) >= Mouse.DragThreshold())) {
    FDragStartPos = Point(x, y);
    FDownButton = nullptr;
    SetHotButton(nullptr);
    FDragStarted = true;
    Invalidate();
    return;
  }
  SetHotButton(GetButtonAt(x, y));
}

void TCategoryButtonsEx::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseUp(button, shift, x, y);
  bool dragged = FDragStarted;
  FDragStarted = false;
  if (button != mbLeft) return;
  if (dragged) {
    DropAt(x, y, FButtonOptions.Contains(boAllowCopyingButtons) && shift.Contains(ssCtrl));
    FDragButton = nullptr;
    FDragCategory = nullptr;
    RemoveInsertionMarks();
    Invalidate();
    return;
  }
  TButtonItem* pressed = FDownButton;
  FDownButton = nullptr;
  FDragButton = nullptr;
  FDragCategory = nullptr;
  UpdateButton(pressed);
  TButtonCategory* category = GetCategoryAt(x, y);
  if (pressed && GetButtonAt(x, y, category) == pressed) {
    SetSelectedItem(pressed);
    ClickItem(pressed);
  } else if (category) {
    OnCategoryClicked(this, category);
    if (category->Items().Count() > 0 && GetCategoryRect(category, true).Contains(Point(x, y)))
      category->SetCollapsed(!category->Collapsed());
  }
}

// ---------------------------------------------------------------------------
// Drag and drop

void TCategoryButtonsEx::RemoveInsertionMarks() {
  for (TBaseItem** mark : {&FInsertLeft, &FInsertTop, &FInsertRight, &FInsertBottom}) {
    UpdateButton(*mark);
    *mark = nullptr;
  }
}

void TCategoryButtonsEx::SetInsertionMarks(TButtonCategory* category, TButtonItem* target) {
  TBaseItem *left = nullptr, *top = nullptr, *right = nullptr, *bottom = nullptr;
  Integer perLine = ButtonsPerLine(category);
  TButtonCollection& items = category->Items();
  if (!target && items.Count() > 0 && !category->Collapsed()) {
    (perLine == 1 ? bottom : right) = items.Items(items.Count() - 1);
  } else if (target) {
    TBaseItem* before = target->Index() > 0 ? items.Items(target->Index() - 1) : nullptr;
    if (perLine == 1) {
      top = target;
      bottom = before;
    } else {
      left = target;
      right = before;
    }
  }
  if (left == FInsertLeft && top == FInsertTop && right == FInsertRight && bottom == FInsertBottom) return;
  RemoveInsertionMarks();
  FInsertLeft = left;
  FInsertTop = top;
  FInsertRight = right;
  FInsertBottom = bottom;
  for (TBaseItem* mark : {left, top, right, bottom}) UpdateButton(mark);
  if (HandleAllocated()) UpdateWindow(FHandle);
}

void TCategoryButtonsEx::DropAt(Integer x, Integer y, bool copy) {
  RemoveInsertionMarks();
  TButtonCategory* category = nullptr;
  TButtonItem* target = nullptr;
  GetTargetAt(x, y, category, target);
  if (!category || !FDragButton) {
    if (FDragCategory && FDragCategory != category)
      FDragCategory->MoveTo(category ? category->Index() : FButtonCategories->Count() - 1);
    return;
  }
  if (copy) {
    TButtonItem* copied = category->Items().Add();
    if (target) copied->SetIndex(target->Index());
    copied->Assign(FDragButton);
    OnCopyButton(this, FDragButton, copied);
    return;
  }
  if (DropMovesNothing(FDragButton, category, target)) return;
  MoveButton(FDragButton, category, target);
}

bool TCategoryButtonsEx::DropMovesNothing(const TButtonItem* button, const TButtonCategory* category,
                                          const TButtonItem* target) {
  // Onto itself, before the button right after it, or at the end of its own
  // category where it already is the last.
  if (target == button) return true;
  if (button->Category() != category) return false;
  if (target) return target->Category() == category && target->Index() == button->Index() + 1;
  return button->Index() == category->Items().Count() - 1;
}

void TCategoryButtonsEx::MoveButton(TButtonItem* button, TButtonCategory* category, TButtonItem* target) {
  TButtonCategory* source = button->Category();
  FIgnoreUpdate = true;
  try {
    if (target && target->Category() == source) {
      Integer index = target->Index();
      if (button->Index() < index) --index;
      button->SetIndex(index);
    } else if (category == source) {
      button->SetIndex(source->Items().Count() - 1);
    } else {
      button->SetCollection(&category->Items());
      if (target) button->SetIndex(target->Index());
    }
  } catch (...) {
    FIgnoreUpdate = false;
    throw;
  }
  FIgnoreUpdate = false;
  LayOut();
  Invalidate();
  OnReorderButton(this, button, source, category);
}

// ---------------------------------------------------------------------------
// Keyboard

TBaseItem* TCategoryButtonsEx::NextItem(TBaseItem* item, bool forward, Integer step) const {
  TButtonCategories& categories = *FButtonCategories;
  if (!item) return categories.Count() > 0 ? categories.Items(0) : nullptr;
  auto categoryAfter = [&categories](TButtonCategory* category) -> TBaseItem* {
    int next = category->Index() + 1;
    return next < categories.Count() ? categories.Items(next) : nullptr;
  };
  if (auto* button = dynamic_cast<TButtonItem*>(item)) {
    TButtonCategory* category = button->Category();
    if (!category) return nullptr;
    if (!category->Collapsed()) {
      Integer index = button->Index() + (forward ? step : -step);
      if (index >= 0 && index < category->Items().Count()) return category->Items().Items(index);
    }
    return forward ? categoryAfter(category) : category;
  }
  auto* category = static_cast<TButtonCategory*>(item);
  bool open = !category->Collapsed() && category->Items().Count() > 0;
  if (forward) return open ? category->Items().Items(0) : categoryAfter(category);
  if (category->Index() == 0) return nullptr;
  TButtonCategory* previous = categories.Items(category->Index() - 1);
  if (!previous->Collapsed() && previous->Items().Count() > 0)
    return previous->Items().Items(previous->Items().Count() - 1);
  return previous;
}

void TCategoryButtonsEx::KeyDown(Word& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  TBaseItem* current = FSelectedItem ? FSelectedItem : FFocusedItem;
  auto* button = dynamic_cast<TButtonItem*>(current);
  auto* category = dynamic_cast<TButtonCategory*>(current);
  TButtonCategory* own = button ? button->Category() : category;
  TBaseItem* next = nullptr;
  bool moved = false;
  auto go = [&](TBaseItem* item) {
    next = item;
    moved = true;
  };
  switch (key) {
    case VK_RETURN:
      if (IsEditing()) {
        EndEdit(false);
      } else if (button && own) {
        own->SetCollapsed(false);
        SetSelectedItem(button);
        ClickItem(button);
      }
      return;
    case VK_ESCAPE:
      if (IsEditing()) EndEdit(true);
      return;
    case VK_F2:
      if (current) BeginEdit(current);
      return;
    case VK_PRIOR:
    case VK_NEXT:
      if (current) go(PageItem(current, key == VK_NEXT));
      break;
    case VK_HOME:
      if (FButtonCategories->Count() > 0) go(FButtonCategories->Items(0));
      break;
    case VK_END:
      if (Integer count = FButtonCategories->Count()) {
        TButtonCategory* last = FButtonCategories->Items(count - 1);
        Integer buttons = last->Items().Count();
        go(!last->Collapsed() && buttons > 0 ? static_cast<TBaseItem*>(last->Items().Items(buttons - 1)) : last);
      }
      break;
    case VK_LEFT:
      if (button && shift.Contains(ssCtrl)) {
        if (own) own->SetCollapsed(true);
      } else if (button && own && ButtonsPerLine(own) == 1) {
        go(own);
      } else if (category && !category->Collapsed()) {
        category->SetCollapsed(true);
      } else {
        go(NextItem(current, false, 1));
      }
      break;
    case VK_RIGHT:
      if (button && shift.Contains(ssCtrl)) {
        if (own) own->SetCollapsed(false);
      } else if (category && category->Collapsed()) {
        category->SetCollapsed(false);
      } else {
        go(NextItem(current, true, 1));
      }
      break;
    case VK_UP: go(NextItem(current, false, own ? ButtonsPerLine(own) : 1)); break;
    case VK_DOWN: go(NextItem(current, true, own ? ButtonsPerLine(own) : 1)); break;
    case VK_MULTIPLY:
      for (int i = 0; i < FButtonCategories->Count(); ++i) FButtonCategories->Items(i)->SetCollapsed(false);
      break;
    case VK_ADD:
      if (category) category->SetCollapsed(false);
      break;
    case VK_SUBTRACT:
      if (category) category->SetCollapsed(true);
      break;
    default: return;
  }
  if (moved && next) {
    UpdateButton(FHotButton);
    FHotButton = nullptr;
    SetSelectedItem(next);
  }
}

TBaseItem* TCategoryButtonsEx::PageItem(TBaseItem* current, bool down) const {
  TButtonCategories& categories = *FButtonCategories;
  if (categories.Count() == 0) return nullptr;
  const bool horizontal = FButtonFlow == cbfHorizontal;
  const TRect r = GetButtonRect(current);
  Integer position = (horizontal ? r.Left : r.Top) + ScrollOffset() + (down ? ClientHeight() : -ClientHeight());
  position = std::clamp<Integer>(position, 0, std::max<Integer>(categories.Items(categories.Count() - 1)->FEnd - 1, 0));
  for (int i = 0; i < categories.Count(); ++i) {
    TButtonCategory* category = categories.Items(i);
    const Integer count = category->Items().Count();
    if (count == 0 || category->FEnd <= position) continue;
    const TRect area = ButtonAreaOf(category);
    const Integer areaStart = (horizontal ? area.Left : area.Top) + ScrollOffset();
    if (category->Collapsed() || position < areaStart) return category;
    const Integer d = std::max<Integer>(position - areaStart + 1, 0);
    const Integer rowHeight = std::max<Integer>(FButtonHeight, 1);
    Integer index = (d / rowHeight) * ButtonsPerLine(category) + (d % rowHeight != 0 ? 1 : 0);
    index = std::clamp<Integer>(index, 0, count - 1);
    return category->Items().Items(index);
  }
  return nullptr;
}

TButtonItem* TCategoryButtonsEx::WheelNeighbour(TButtonItem* button, bool forward) const {
  if (!button || !button->Category()) return nullptr;
  TButtonCategory* own = button->Category();
  const Integer next = button->Index() + (forward ? 1 : -1);
  if (!own->Collapsed() && next >= 0 && next < own->Items().Count()) return own->Items().Items(next);
  TButtonCategories& categories = *FButtonCategories;
  for (Integer i = own->Index() + (forward ? 1 : -1); i >= 0 && i < categories.Count(); i += forward ? 1 : -1) {
    TButtonCategory* category = categories.Items(i);
    const Integer count = category->Items().Count();
    if (category->Collapsed() || count == 0) continue;
    return category->Items().Items(forward ? 0 : count - 1);
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// Renaming in place

bool TCategoryButtonsEx::IsEditing() const {
  return FInplaceEdit && FInplaceEdit->HandleAllocated() && FInplaceEdit->Visible() && FEditItem;
}

bool TCategoryButtonsEx::BeginEdit(TBaseItem* item) {
  if (IsEditing()) return true;
  if (!item || item->CategoryButtons() != this) return false;
  if (CanFocus() && !Focused()) SetFocus();
  if (!Focused()) return false;
  auto* button = dynamic_cast<TButtonItem*>(item);
  auto* category = dynamic_cast<TButtonCategory*>(item);
  if (button && !(FButtonOptions.Contains(boFullSize) && FButtonOptions.Contains(boShowCaptions))) return false;
  if (category) {
    bool expanded = !category->Collapsed() && category->Items().Count() > 0;
    bool vertical = FButtonFlow == cbfHorizontal ? (FButtonOptions.Contains(boVerticalCategoryCaptions) || !expanded)
                                                 : (FButtonOptions.Contains(boVerticalCategoryCaptions) && expanded);
    if (vertical) return false;
  }
  bool allow = true;
  OnEditing(this, item, allow);
  if (!allow) return false;
  SetSelectedItem(item);
  if (!FInplaceEdit) {
    FInplaceEdit = new TEdit(this);
    FInplaceEdit->SetParent(this);
    FInplaceEdit->SetTabStop(false);
    FInplaceEdit->OnKeyDown = [this](TObject*, Word& key, TShiftState) {
      if (key == VK_RETURN || key == VK_ESCAPE) {
        EndEdit(key == VK_ESCAPE);
        key = 0;
      }
    };
    FInplaceEdit->OnExit = [this](TObject*) { EndEdit(false); };
  }
  TRect r;
  if (button) {
    r = GetButtonRect(button);
    r.Inflate(-3, -3);
    r.Left += 2;
    if (FImages && button->ImageIndex >= 0 && button->ImageIndex < FImages->Count()) r.Left += FImages->Width() + 1;
  } else {
    r = GetCategoryRect(category, true);
    r.Inflate(-3, -1);
    r.Top += 1;
    r.Left += 14;
  }
  FEditItem = item;
  FInplaceEdit->SetBorderStyle(button ? bsSingle : bsNone);
  FInplaceEdit->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  FInplaceEdit->SetColor(FSelectedButtonColor);
  FInplaceEdit->SetText(item->Caption());
  FInplaceEdit->Show();
  FInplaceEdit->SelectAll();
  if (Focused()) FInplaceEdit->SetFocus();
  return true;
}

void TCategoryButtonsEx::EndEdit(bool cancel) {
  if (FDestroying || !FInplaceEdit || !FInplaceEdit->Visible() || !FEditItem) return;
  TBaseItem* item = FEditItem;
  FEditItem = nullptr;
  String text = FInplaceEdit->Text();
  bool hadFocus = FInplaceEdit->Focused();
  FInplaceEdit->Hide();
  if (hadFocus && CanFocus()) SetFocus();
  if (cancel) {
    OnCancelEdit(this, item);
    return;
  }
  OnEdited(this, item, text);
  item->SetCaption(text);
}

// ---------------------------------------------------------------------------
// Messages

void TCategoryButtonsEx::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_ERASEBKGND: message.Result = 1; return;
    case WM_GETDLGCODE: message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case WM_VSCROLL:
    case WM_HSCROLL: {
      Integer position = FScrollBarPos;
      switch (LOWORD(message.WParam)) {
        case SB_LINEUP: --position; break;
        case SB_LINEDOWN: ++position; break;
        case SB_PAGEUP: position -= FPageAmount; break;
        case SB_PAGEDOWN: position += FPageAmount; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: position = HIWORD(message.WParam); break;
        case SB_TOP: position = 0; break;
        case SB_BOTTOM: position = FScrollBarMax; break;
        default: break;
      }
      SetScrollPosition(position);
      message.Result = 0;
      return;
    }
    case WM_MOUSEWHEEL: {
      if (IsEditing()) EndEdit(false);
      SetHotButton(nullptr);
      const Integer delta = static_cast<short>(HIWORD(message.WParam));
      const bool ctrl = LOWORD(message.WParam) & MK_CONTROL;
      const bool shift = LOWORD(message.WParam) & MK_SHIFT;
      const bool range = FScrollBarMax > 0;
      if (range && !ctrl && !shift) {
        SetScrollPosition(FScrollBarPos + (delta < 0 ? 1 : -1));
      } else if (range && ctrl) {
        const Integer page = std::max<Integer>(FPageAmount, 1);
        SetScrollPosition(FScrollBarPos + (delta < 0 ? page : -page));
      } else if (shift && delta != 0) {
        if (TButtonItem* next = WheelNeighbour(dynamic_cast<TButtonItem*>(FSelectedItem), delta < 0))
          SetSelectedItem(next);
      }
      message.Result = 1;
      return;
    }
    case WM_FONTCHANGE:
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(message);
      UpdateMetrics();
      LayOut();
      Invalidate();
      return;
    case WM_CANCELMODE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
      if (IsEditing()) EndEdit(false);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(message);
      UpdateButton(FFocusedItem);
      return;
    case CM_MOUSELEAVE:
      TCustomControl::Dispatch(message);
      SetHotButton(nullptr);
      return;
    case CM_HINTSHOW: {
      auto* info = reinterpret_cast<THintInfo*>(message.LParam);
      TButtonCategory* category = GetCategoryAt(info->CursorPos.X, info->CursorPos.Y);
      TButtonItem* button = category ? GetButtonAt(info->CursorPos.X, info->CursorPos.Y, category) : nullptr;
      if (button) {
        info->HintStr = GetShortHint(button->Hint().empty() ? button->Caption() : button->Hint());
        info->CursorRect = GetButtonRect(button);
      } else if (category) {
        info->HintStr = GetShortHint(category->Hint().empty() ? category->Caption() : category->Hint());
        TRect r = GetCategoryRect(category, false);
        if (!category->Collapsed()) r.Right = r.Left + FGutterSize;
        info->CursorRect = r;
      }
      message.Result = info->HintStr.empty() ? 1 : 0;
      return;
    }
    default: break;
  }
  TCustomControl::Dispatch(message);
}
