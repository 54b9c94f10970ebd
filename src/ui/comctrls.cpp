#include "ui/comctrls.h"

#include <algorithm>
#include <functional>

#include "classes/filer.h"
#include "rtl/codepage.h"
#include "rtl/format.h"
#include "rtl/streams.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TListColumn, "ComCtrls")
KST_CLASS_IMPL(TListColumns, "ComCtrls")
KST_CLASS_IMPL(TListGroup, "ComCtrls")
KST_CLASS_IMPL(TListGroups, "ComCtrls")
KST_CLASS_IMPL(TListItem, "ComCtrls")
KST_CLASS_IMPL(TListItems, "ComCtrls")
KST_CLASS_IMPL(TCustomListView, "ComCtrls")
KST_CLASS_IMPL(TListView, "ComCtrls")
KST_CLASS_IMPL(TIconOptions, "ComCtrls")
KST_CLASS_IMPL(TTreeNode, "ComCtrls")
KST_CLASS_IMPL(TTreeNodes, "ComCtrls")
KST_CLASS_IMPL(TCustomTreeView, "ComCtrls")
KST_CLASS_IMPL(TTreeView, "ComCtrls")
KST_CLASS_IMPL(TTabSheet, "ComCtrls")
KST_CLASS_IMPL(TPageControl, "ComCtrls")

const TTypeInfo& DescribeType(TypeTag<TViewStyle>) {
  static const TEnumTypeInfo t(u"TViewStyle", u"ComCtrls", {u"vsIcon", u"vsSmallIcon", u"vsList", u"vsReport"});
  return t;
}

namespace {


}  // namespace

const TTypeInfo& DescribeType(TypeTag<TLVSelectItemEvent>) {
  static const TMethodTypeInfo t(
      u"TLVSelectItemEvent", u"ComCtrls", mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"Item", u"TListItem"), Param(u"Selected", u"Boolean")});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TTVChangedEvent>) {
  static const TMethodTypeInfo t(u"TTVChangedEvent", u"ComCtrls", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"Node", u"TTreeNode")});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TTVChangingEvent>) {
  static const TMethodTypeInfo t(
      u"TTVChangingEvent", u"ComCtrls", mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"Node", u"TTreeNode"), Param(u"AllowChange", u"Boolean", kVarParam)});
  return t;
}

void InitCommonControl(DWORD classes) {
  INITCOMMONCONTROLSEX icc{sizeof icc, classes};
  InitCommonControlsEx(&icc);
}

namespace {

// A fill of many items or nodes would otherwise repaint the window for each.
void PauseDrawing(TWinControl* owner) {
  if (owner && owner->HandleAllocated()) SendMessageW(owner->Handle(), WM_SETREDRAW, FALSE, 0);
}

void ResumeDrawing(TWinControl* owner) {
  if (!owner || !owner->HandleAllocated()) return;
  SendMessageW(owner->Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(owner->Handle(), nullptr, TRUE);
}

COLORREF SystemColor(TColor color) {
  return static_cast<COLORREF>(ColorToRGB(color)) & 0xFFFFFF;
}

// Reads the item and node records of form files: every count and length is
// checked against the bytes that remain.
class TRecordReader {
 public:
  explicit TRecordReader(TStream& stream) : FData(stream.ReadAllBytes()) {}
  size_t Position() const { return FPos; }
  size_t Remaining() const { return FData.size() - FPos; }
  void Need(size_t count) const {
    if (count > Remaining()) throw EReadError(u"Stream read error");
  }
  Byte ReadByte() {
    Need(1);
    return FData[FPos++];
  }
  Integer ReadInt() {
    Need(4);
    std::uint32_t v = static_cast<std::uint32_t>(FData[FPos]) | static_cast<std::uint32_t>(FData[FPos + 1]) << 8 |
                      static_cast<std::uint32_t>(FData[FPos + 2]) << 16 |
                      static_cast<std::uint32_t>(FData[FPos + 3]) << 24;
    FPos += 4;
    return static_cast<Integer>(v);
  }
  // A count that no record can follow more often than the bytes allow.
  Integer ReadCount(size_t smallestRecord) {
    Integer n = ReadInt();
    if (n < 0 || static_cast<size_t>(n) > Remaining() / smallestRecord) throw EReadError(u"Stream read error");
    return n;
  }
  // A length byte and that many UTF-16 units.
  String ReadWideShort() {
    size_t n = ReadByte();
    Need(n * 2);
    String s(n, u'\0');
    for (size_t i = 0; i < n; ++i)
      s[i] = static_cast<Char>(FData[FPos + 2 * i] | static_cast<Char>(FData[FPos + 2 * i + 1] << 8));
    FPos += n * 2;
    return s;
  }
  // A length byte and that many bytes of the system's ANSI code page.
  String ReadAnsiShort() {
    size_t n = ReadByte();
    Need(n);
    String text = AnsiToString(std::string_view(reinterpret_cast<const char*>(FData.data()) + FPos, n));
    FPos += n;
    return text;
  }
  void SetPosition(size_t position) {
    if (position > FData.size()) throw EReadError(u"Stream read error");
    FPos = position;
  }

 private:
  TBytes FData;
  size_t FPos = 0;
};

class TRecordWriter {
 public:
  void Byte_(Byte b) { FData.push_back(b); }
  void Int(Integer v) {
    auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) FData.push_back(static_cast<Byte>(u >> (8 * i)));
  }
  void PatchInt(size_t at, Integer v) {
    auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) FData[at + i] = static_cast<Byte>(u >> (8 * i));
  }
  // Texts longer than a length byte can say are cut, as the format allows no more.
  void WideShort(const String& s) {
    size_t n = std::min<size_t>(s.size(), 255);
    Byte_(static_cast<Byte>(n));
    for (size_t i = 0; i < n; ++i) {
      Byte_(static_cast<Byte>(s[i] & 0xFF));
      Byte_(static_cast<Byte>(s[i] >> 8));
    }
  }
  size_t Size() const { return FData.size(); }
  void WriteTo(TStream& stream) const { stream.WriteBuffer(FData.data(), static_cast<Int64>(FData.size())); }

 private:
  TBytes FData;
};

constexpr Byte kItemDataVersion = 5;

// A collection counts a new item while the item's own class is still being
// made; the window waits until every item is whole.
template <class Item>
bool EveryItemIsWhole(const TCollection& collection) {
  for (int i = 0; i < collection.Count(); ++i)
    if (!dynamic_cast<const Item*>(collection.Items(i))) return false;
  return true;
}
constexpr Byte kNodeDataVersion = 3;
constexpr int kMaxNodeDepth = 1000;

}  // namespace

// ---------------------------------------------------------------------------
// List columns

void TListColumn::Describe(TClassBuilder<TListColumn>& c) {
  c.Property(u"Alignment", &TListColumn::Alignment, &TListColumn::SetAlignment).Default(taLeftJustify);
  c.Property(u"AutoSize", &TListColumn::AutoSize, &TListColumn::SetAutoSize).Default(0);
  c.Property(u"Caption", &TListColumn::Caption, &TListColumn::SetCaption);
  c.Property(u"ImageIndex", &TListColumn::ImageIndex, &TListColumn::SetImageIndex).Default(-1);
  c.Property(u"MaxWidth", &TListColumn::MaxWidth, &TListColumn::SetMaxWidth).Default(0);
  c.Property(u"MinWidth", &TListColumn::MinWidth, &TListColumn::SetMinWidth).Default(0);
  c.Property(u"Tag", &TListColumn::Tag, &TListColumn::SetTag).Default(0);
  c.Property(u"Width", &TListColumn::Width, &TListColumn::SetWidth).Default(50);
}

TListColumn::TListColumn(TCollection* collection) : TCollectionItem(collection) {
  Changed(false);
}

TCustomListView* TListColumn::ListView() const {
  auto* columns = dynamic_cast<TListColumns*>(Collection());
  return columns ? columns->Owner() : nullptr;
}

String TListColumn::DisplayName() const {
  return FCaption.empty() ? TCollectionItem::DisplayName() : FCaption;
}

Integer TListColumn::Width() const {
  TCustomListView* view = ListView();
  if (view && view->HandleAllocated() && view->ViewStyle() == vsReport && !FAutoSize)
    return static_cast<Integer>(SendMessageW(view->FHandle, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(Index()), 0));
  return FWidth;
}

void TListColumn::SetCaption(const String& value) {
  FCaption = value;
  Changed(false);
}
void TListColumn::SetWidth(Integer value) {
  FWidth = std::max(0, value);
  Changed(false);
}
void TListColumn::SetAlignment(TAlignment value) {
  FAlignment = value;
  Changed(false);
}
void TListColumn::SetAutoSize(bool value) {
  FAutoSize = value;
  Changed(false);
}
void TListColumn::SetImageIndex(Integer value) {
  FImageIndex = value;
  Changed(false);
}

void TListColumn::Assign(const TPersistent* source) {
  if (auto* column = dynamic_cast<const TListColumn*>(source)) {
    FCaption = column->FCaption;
    FWidth = column->Width();
    FAlignment = column->FAlignment;
    FAutoSize = column->FAutoSize;
    FImageIndex = column->FImageIndex;
    FMinWidth = column->FMinWidth;
    FMaxWidth = column->FMaxWidth;
    FTag = column->FTag;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(source);
}

void TListColumns::Describe(TClassBuilder<TListColumns>&) {}

TListColumns::TListColumns(TCustomListView* owner) : TCollection(TListColumn::StaticClass()), FOwner(owner) {}

TPersistent* TListColumns::GetOwner() const {
  return FOwner;
}

void TListColumns::Update(TCollectionItem*) {
  if (FOwner && EveryItemIsWhole<TListColumn>(*this)) FOwner->UpdateColumns();
}

// ---------------------------------------------------------------------------
// List groups

const TTypeInfo& DescribeType(TypeTag<TListGroupState>) {
  static const TEnumTypeInfo t(u"TListGroupState", u"ComCtrls",
                               {u"lgsNormal", u"lgsHidden", u"lgsCollapsed", u"lgsNoHeader", u"lgsCollapsible",
                                u"lgsFocused", u"lgsSelected", u"lgsSubseted", u"lgsSubSetLinkFocused"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TListGroupStateSet>) {
  static const TSetTypeInfo t(u"TListGroupStateSet", u"ComCtrls",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TListGroupState>{})));
  return t;
}

// The IDE writes GroupID, State, both alignments and the images even when
// they hold their first values.
void TListGroup::Describe(TClassBuilder<TListGroup>& c) {
  c.Property(u"Header", &TListGroup::Header, &TListGroup::SetHeader);
  c.Property(u"Footer", &TListGroup::Footer, &TListGroup::SetFooter);
  c.Property(u"GroupID", &TListGroup::GroupID, &TListGroup::SetGroupID);
  c.Property(u"State", &TListGroup::State, &TListGroup::SetState);
  c.Property(u"HeaderAlign", &TListGroup::HeaderAlign, &TListGroup::SetHeaderAlign);
  c.Property(u"FooterAlign", &TListGroup::FooterAlign, &TListGroup::SetFooterAlign);
  c.Property(u"Subtitle", &TListGroup::Subtitle);
  c.Property(u"TopDescription", &TListGroup::TopDescription);
  c.Property(u"BottomDescription", &TListGroup::BottomDescription);
  c.Property(u"TitleImage", &TListGroup::TitleImage);
  c.Property(u"ExtendedImage", &TListGroup::ExtendedImage);
  c.Property(u"SubsetTitle", &TListGroup::SubsetTitle);
}

TListGroup::TListGroup(TCollection* collection) : TCollectionItem(collection) {
  // (The collection may count this group already; its ID of -1 until now
  // leaves it out of the choice.)
  auto* groups = dynamic_cast<TListGroups*>(collection);
  FGroupID = groups ? groups->NextGroupID() : 0;
  Changed(false);
}

String TListGroup::DisplayName() const {
  return FHeader.empty() ? TCollectionItem::DisplayName() : FHeader;
}

void TListGroup::SetHeader(const String& value) {
  FHeader = value;
  Changed(false);
}
void TListGroup::SetFooter(const String& value) {
  FFooter = value;
  Changed(false);
}
void TListGroup::SetGroupID(Integer value) {
  FGroupID = value;
  Changed(false);
}
void TListGroup::SetState(TListGroupStateSet value) {
  FState = value;
  Changed(false);
}
void TListGroup::SetHeaderAlign(TAlignment value) {
  FHeaderAlign = value;
  Changed(false);
}
void TListGroup::SetFooterAlign(TAlignment value) {
  FFooterAlign = value;
  Changed(false);
}

void TListGroup::Assign(const TPersistent* source) {
  if (auto* group = dynamic_cast<const TListGroup*>(source)) {
    FHeader = group->FHeader;
    FFooter = group->FFooter;
    FGroupID = group->FGroupID;
    FState = group->FState;
    FHeaderAlign = group->FHeaderAlign;
    FFooterAlign = group->FFooterAlign;
    Subtitle = group->Subtitle;
    TopDescription = group->TopDescription;
    BottomDescription = group->BottomDescription;
    SubsetTitle = group->SubsetTitle;
    TitleImage = group->TitleImage;
    ExtendedImage = group->ExtendedImage;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(source);
}

void TListGroups::Describe(TClassBuilder<TListGroups>&) {}

TListGroups::TListGroups(TCustomListView* owner) : TCollection(TListGroup::StaticClass()), FOwner(owner) {}

TPersistent* TListGroups::GetOwner() const {
  return FOwner;
}

TListGroup* TListGroups::FindGroup(Integer groupID) const {
  for (int i = 0; i < Count(); ++i)
    if (auto* group = dynamic_cast<TListGroup*>(TCollection::Items(i)); group && group->GroupID() == groupID)
      return group;
  return nullptr;
}

Integer TListGroups::NextGroupID() const {
  Integer next = 0;
  for (int i = 0; i < Count(); ++i)
    if (auto* group = dynamic_cast<TListGroup*>(TCollection::Items(i))) next = std::max(next, group->GroupID() + 1);
  return next;
}

void TListGroups::Update(TCollectionItem*) {
  if (FOwner && EveryItemIsWhole<TListGroup>(*this)) FOwner->UpdateGroups();
}

// ---------------------------------------------------------------------------
// List items

void TListItem::Describe(TClassBuilder<TListItem>&) {}

TListItem::TListItem(TListItems* owner) : FOwner(owner), FSubItems(std::make_unique<TStringList>()) {
  FSubItems->OnChange = [this](TObject* sender) { SubItemsChanged(sender); };
}

TListItem::~TListItem() = default;

TCustomListView* TListItem::ListView() const {
  return FOwner ? FOwner->Owner() : nullptr;
}

int TListItem::Index() const {
  return FOwner ? FOwner->IndexOf(this) : -1;
}

void TListItem::SubItemsChanged(TObject*) {
  if (TCustomListView* view = ListView()) view->UpdateItemWindow(this);
}

void TListItem::SetCaption(const String& value) {
  FCaption = value;
  if (TCustomListView* view = ListView()) view->UpdateItemWindow(this);
}

void TListItem::SetGroupID(Integer value) {
  FGroupID = value;
  if (TCustomListView* view = ListView()) view->UpdateItemGroup(this, Index());
}

void TListItem::SetImageIndex(Integer value) {
  FImageIndex = value;
  if (TCustomListView* view = ListView()) view->UpdateItemWindow(this);
}

bool TListItem::GetState(UINT mask) const {
  TCustomListView* view = ListView();
  int index = Index();
  if (!view || !view->HandleAllocated() || index < 0) return false;
  return (SendMessageW(view->FHandle, LVM_GETITEMSTATE, static_cast<WPARAM>(index), mask) & mask) != 0;
}

void TListItem::SetState(UINT mask, bool on) {
  TCustomListView* view = ListView();
  int index = Index();
  if (!view || !view->HandleAllocated() || index < 0) return;
  LVITEMW item{};
  item.stateMask = mask;
  item.state = on ? mask : 0;
  SendMessageW(view->FHandle, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

bool TListItem::Checked() const {
  TCustomListView* view = ListView();
  int index = Index();
  if (!view || !view->HandleAllocated() || !view->Checkboxes() || index < 0) return FChecked;
  LRESULT state = SendMessageW(view->FHandle, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK);
  return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void TListItem::SetChecked(bool value) {
  FChecked = value;
  TCustomListView* view = ListView();
  int index = Index();
  if (!view || !view->HandleAllocated() || !view->Checkboxes() || index < 0) return;
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(value ? 2 : 1);
  SendMessageW(view->FHandle, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

bool TListItem::Selected() const {
  TCustomListView* view = ListView();
  return view && view->HandleAllocated() ? GetState(LVIS_SELECTED) : FSelected;
}

void TListItem::SetSelected(bool value) {
  FSelected = value;
  SetState(LVIS_SELECTED, value);
}

bool TListItem::Focused() const {
  TCustomListView* view = ListView();
  return view && view->HandleAllocated() ? GetState(LVIS_FOCUSED) : FFocused;
}

void TListItem::SetFocused(bool value) {
  FFocused = value;
  SetState(LVIS_FOCUSED, value);
}

void TListItem::MakeVisible(bool partialOK) {
  TCustomListView* view = ListView();
  int index = Index();
  if (view && view->HandleAllocated() && index >= 0)
    SendMessageW(view->FHandle, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), partialOK);
}

void TListItem::Delete() {
  if (FOwner) FOwner->Delete(Index());
}

void TListItem::Assign(const TPersistent* source) {
  if (auto* item = dynamic_cast<const TListItem*>(source)) {
    FCaption = item->FCaption;
    FImageIndex = item->FImageIndex;
    FGroupID = item->FGroupID;
    FData = item->FData;
    FChecked = item->Checked();
    FSubItems->Assign(*item->FSubItems);  // updates the window
    if (TCustomListView* view = ListView()) {
      view->UpdateItemWindow(this);
      if (view->Checkboxes()) SetChecked(FChecked);
    }
    return;
  }
  TPersistent::Assign(source);
}

void TListItems::Describe(TClassBuilder<TListItems>&) {}

TListItems::TListItems(TCustomListView* owner) : FOwner(owner) {}

TListItems::~TListItems() = default;

TPersistent* TListItems::GetOwner() const {
  return FOwner;
}

TListItem* TListItems::Item(int index) const {
  if (index < 0 || index >= Count()) throw EListError(Format(u"List index out of bounds (%d)", {index}));
  return FItems[static_cast<size_t>(index)].get();
}

int TListItems::IndexOf(const TListItem* item) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].get() == item) return static_cast<int>(i);
  return -1;
}

TListItem* TListItems::Add() {
  return AddItem(nullptr, -1);
}

TListItem* TListItems::Insert(int index) {
  return AddItem(nullptr, index);
}

TListItem* TListItems::AddItem(TListItem* item, int index) {
  std::unique_ptr<TListItem> owned(item ? item : new TListItem(this));
  owned->FOwner = this;
  if (index < 0 || index > Count()) index = Count();
  TListItem* result = owned.get();
  FItems.insert(FItems.begin() + index, std::move(owned));
  if (FOwner) FOwner->InsertItemWindow(result, index);
  return result;
}

void TListItems::Delete(int index) {
  Item(index);  // checks the index
  if (FOwner && FOwner->HandleAllocated()) {
    ++FOwner->FQuiet;
    SendMessageW(FOwner->FHandle, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    --FOwner->FQuiet;
  }
  std::unique_ptr<TListItem> gone = std::move(FItems[static_cast<size_t>(index)]);
  FItems.erase(FItems.begin() + index);
}

void TListItems::Clear() {
  if (FOwner && FOwner->HandleAllocated()) {
    ++FOwner->FQuiet;
    SendMessageW(FOwner->FHandle, LVM_DELETEALLITEMS, 0, 0);
    --FOwner->FQuiet;
  }
  std::vector<std::unique_ptr<TListItem>> gone;
  gone.swap(FItems);
}

void TListItems::BeginUpdate() {
  if (FUpdateCount++ == 0) PauseDrawing(FOwner);
}

void TListItems::EndUpdate() {
  if (FUpdateCount != 0 && --FUpdateCount == 0) ResumeDrawing(FOwner);
}

void TListItems::Assign(const TPersistent* source) {
  if (auto* items = dynamic_cast<const TListItems*>(source)) {
    if (items == this) return;
    BeginUpdate();
    try {
      Clear();
      for (const auto& item : items->FItems) Add()->Assign(item.get());
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

// The record of the IDE's ANSI versions: the size and the count, then for
// each item its image, state image, overlay, sub-item count and data (four
// bytes each), its caption and its sub-items as a length byte and ANSI bytes.
// What may follow the items (the sub-items' images) is not used.
namespace {

void ReadAnsiItemData(TListItems& items, TStream& stream) {
  TRecordReader r(stream);
  r.ReadInt();  // size
  const Integer count = r.ReadCount(21);
  items.BeginUpdate();
  try {
    items.Clear();
    for (Integer i = 0; i < count; ++i) {
      const Integer image = r.ReadInt();
      r.ReadInt();  // state image
      r.ReadInt();  // overlay
      const Integer subCount = r.ReadInt();
      r.ReadInt();  // data: an address of the writing process
      TListItem* item = items.Add();
      item->SetCaption(r.ReadAnsiShort());
      item->SetImageIndex(image);
      if (subCount < 0 || static_cast<size_t>(subCount) > r.Remaining()) throw EReadError(u"Stream read error");
      for (Integer j = 0; j < subCount; ++j) item->SubItems().Add(r.ReadAnsiShort());
    }
  } catch (...) {
    items.EndUpdate();
    throw;
  }
  items.EndUpdate();
}

}  // namespace

void TListItems::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      u"ItemData", [this](TStream& s) { ReadItemData(s); }, [this](TStream& s) { WriteItemData(s); }, Count() > 0);
  // Older IDEs wrote the items as ANSI records; they are read, never written.
  filer.DefineBinaryProperty(u"Data", [this](TStream& s) { ReadAnsiItemData(*this, s); }, nullptr, false);
}

// The record of the IDE's Unicode versions: a version byte, the size and
// the count, then for each item its image, state image, overlay, sub-item
// count, group and data (four bytes each), its caption and sub-items as a
// length byte and UTF-16 units. What may follow the items (the sub-items'
// images) is not used.
void TListItems::ReadItemData(TStream& stream) {
  TRecordReader r(stream);
  Byte version = r.ReadByte();
  if (version != kItemDataVersion) throw EReadError(Format(u"Unsupported list item data version %d", {version}));
  r.ReadInt();  // size
  Integer count = r.ReadCount(25);
  BeginUpdate();
  try {
    Clear();
    for (Integer i = 0; i < count; ++i) {
      Integer image = r.ReadInt();
      r.ReadInt();  // state image
      r.ReadInt();  // overlay
      Integer subCount = r.ReadInt();
      Integer group = r.ReadInt();
      r.ReadInt();  // data: an address of the writing process
      String caption = r.ReadWideShort();
      if (subCount < 0 || static_cast<size_t>(subCount) > r.Remaining()) throw EReadError(u"Stream read error");
      auto item = std::make_unique<TListItem>(this);
      item->FCaption = caption;
      item->FImageIndex = image;
      item->FGroupID = group;
      for (Integer j = 0; j < subCount; ++j) item->FSubItems->Add(r.ReadWideShort());
      AddItem(item.release());
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TListItems::WriteItemData(TStream& stream) {
  TRecordWriter w;
  w.Byte_(kItemDataVersion);
  w.Int(0);
  w.Int(Count());
  for (const auto& item : FItems) {
    w.Int(item->FImageIndex);
    w.Int(-1);
    w.Int(-1);
    w.Int(item->FSubItems->Count());
    w.Int(item->FGroupID);
    w.Int(0);
    w.WideShort(item->FCaption);
    for (Integer j = 0; j < item->FSubItems->Count(); ++j) w.WideShort(item->FSubItems->Get(j));
  }
  w.PatchInt(1, static_cast<Integer>(w.Size()));
  w.WriteTo(stream);
}

// ---------------------------------------------------------------------------
// List view

void TCustomListView::Describe(TClassBuilder<TCustomListView>&) {}

void TListView::Describe(TClassBuilder<TListView>& c) {
  KST_KEPT_PROPERTY(u"ColumnClick", ColumnClick).Default(1);
  KST_KEPT_PROPERTY(u"OwnerData", OwnerData).Default(0);
  publish::ParentDoubleBuffered(c);
  publish::KeptEvent<0>(c, u"OnAdvancedCustomDraw", TKeptEvent::LVAdvancedCustomDraw);
  publish::KeptEvent<1>(c, u"OnAdvancedCustomDrawItem", TKeptEvent::LVAdvancedCustomDrawItem);
  publish::KeptEvent<2>(c, u"OnAdvancedCustomDrawSubItem", TKeptEvent::LVAdvancedCustomDrawSubItem);
  publish::KeptEvent<3>(c, u"OnCustomDrawItem", TKeptEvent::LVCustomDrawItem);
  publish::KeptEvent<4>(c, u"OnData", TKeptEvent::LVData);
  publish::KeptEvent<5>(c, u"OnDeletion", TKeptEvent::LVDeletion);
  publish::KeptEdit(c);
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"BorderStyle", &TListView::BorderStyle, &TListView::SetBorderStyle, &BorderStyleType()).Default(bsSingle);
  c.Property(u"Checkboxes", &TListView::Checkboxes, &TListView::SetCheckboxes).Default(0);
  c.Property(u"Color", &TControl::Color, &TControl::SetColor, &types::Color()).StoredWhen([](const TListView& o) {
    return !o.ParentColor() && o.Color() != clWindow;
  });
  c.Property(u"Columns", &TListView::GetColumns, &TListView::SetColumns);
  publish::Constraints(c);
  publish::DoubleBuffered(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"GridLines", &TListView::GridLines, &TListView::SetGridLines).Default(0);
  c.Property(u"Groups", &TListView::GetGroups, &TListView::SetGroups);
  c.Property(u"HideSelection", &TListView::HideSelection, &TListView::SetHideSelection).Default(1);
  c.Property(u"Items", &TListView::GetItems, &TListView::SetItems);
  c.Property(u"LargeImages", &TListView::LargeImages, &TListView::SetLargeImages);
  c.Property(u"MultiSelect", &TListView::MultiSelect, &TListView::SetMultiSelect).Default(0);
  c.Property(u"ReadOnly", &TListView::ReadOnly, &TListView::SetReadOnly).Default(0);
  c.Property(u"RowSelect", &TListView::RowSelect, &TListView::SetRowSelect).Default(0);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  c.Property(u"ShowColumnHeaders", &TListView::ShowColumnHeaders, &TListView::SetShowColumnHeaders).Default(1);
  publish::ShowHint(c);
  c.Property(u"SmallImages", &TListView::SmallImages, &TListView::SetSmallImages);
  publish::TabOrder(c);
  c.Property(u"TabStop", &TListView::TabStop, &TListView::SetTabStop).Default(1);
  c.Property(u"ViewStyle", &TListView::ViewStyle, &TListView::SetViewStyle).Default(vsIcon);
  publish::Visible(c);
  c.Property(u"GroupView", &TListView::GroupView, &TListView::SetGroupView).Default(0);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
  publish::KeyEvents(c);
  c.Property(u"OnResize", &TListView::OnResize);
  c.Property(u"OnSelectItem", &TListView::OnSelectItem);
  publish::BorderWidth(c);
  c.Property(u"FlatScrollBars", &TListView::FlatScrollBars).Default(0);
  c.Property(u"IconOptions", &TListView::GetIconOptions, &TListView::SetIconOptions);
  c.Property(u"SortType", &TListView::SortType).Default(stNone);
  c.Property(u"OnInfoTip", &TListView::OnInfoTip);
}

const TTypeInfo& DescribeType(TypeTag<TIconArrangement>) {
  static const TEnumTypeInfo t(u"TIconArrangement", u"ComCtrls", {u"iaTop", u"iaLeft"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TSortType>) {
  static const TEnumTypeInfo t(u"TSortType", u"ComCtrls", {u"stNone", u"stData", u"stText", u"stBoth"});
  return t;
}

void TIconOptions::Describe(TClassBuilder<TIconOptions>& c) {
  c.Property(u"Arrangement", &TIconOptions::Arrangement).Default(iaTop);
  c.Property(u"AutoArrange", &TIconOptions::AutoArrange).Default(0);
  c.Property(u"WrapText", &TIconOptions::WrapText).Default(1);
}

TListView::TListView(TComponent* owner) : TCustomListView(owner), FIconOptions(std::make_unique<TIconOptions>(this)) {}
TListView::~TListView() = default;

void TListView::SetIconOptions(const TIconOptions* options) {
  if (!options) return;
  FIconOptions->Arrangement = options->Arrangement;
  FIconOptions->AutoArrange = options->AutoArrange;
  FIconOptions->WrapText = options->WrapText;
}

TCustomListView::TCustomListView(TComponent* owner)
    : TWinControl(owner),
      FColumns(std::make_unique<TListColumns>(this)),
      FItems(std::make_unique<TListItems>(this)),
      FGroups(std::make_unique<TListGroups>(this)),
      FImageChangeLink(std::make_unique<TChangeLink>()) {
  InitCommonControl(ICC_LISTVIEW_CLASSES);
  FControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks};
  FImageChangeLink->OnChange = TNotifyEvent(this, &TCustomListView::ImageListChange);
  SetParentColor(false);
  SetColor(clWindow);
  SetBounds(0, 0, 250, 150);
  SetTabStop(true);
}

TCustomListView::~TCustomListView() {
  Destroying();
  if (FHandle) DestroyWindowHandle();
  if (FSmallImages) FSmallImages->UnRegisterChanges(FImageChangeLink.get());
  if (FLargeImages) FLargeImages->UnRegisterChanges(FImageChangeLink.get());
  FItems->Clear();
}

void TCustomListView::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"SysListView32");
  static const DWORD styles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  params.Style |= styles[FViewStyle] | LVS_SHAREIMAGELISTS;
  if (!FReadOnly) params.Style |= LVS_EDITLABELS;
  if (!FHideSelection) params.Style |= LVS_SHOWSELALWAYS;
  if (!FMultiSelect) params.Style |= LVS_SINGLESEL;
  if (!FShowColumnHeaders) params.Style |= LVS_NOCOLUMNHEADER;
  if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListView::CreateWnd() {
  TWinControl::CreateWnd();
  ++FQuiet;
  try {
    UpdateExtendedStyles();
    UpdateImageLists();
    SendMessageW(FHandle, LVM_SETBKCOLOR, 0, SystemColor(Color()));
    SendMessageW(FHandle, LVM_SETTEXTBKCOLOR, 0, SystemColor(Color()));
    SendMessageW(FHandle, LVM_SETTEXTCOLOR, 0, SystemColor(Font().Color()));
    UpdateColumns();
    if (FItems->FUpdateCount > 0) SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
    SendMessageW(FHandle, LVM_SETITEMCOUNT, static_cast<WPARAM>(FItems->Count()), 0);
    for (int i = 0; i < FItems->Count(); ++i) InsertItemWindow(FItems->Item(i), i);
    // (A new window has no groups: only a grouped view needs telling.)
    if (FGroupView) UpdateGroups();
  } catch (...) {
    --FQuiet;
    throw;
  }
  --FQuiet;
}

void TCustomListView::SaveItemStates() {
  if (!FHandle) return;
  for (auto& item : FItems->FItems) {
    item->FChecked = item->Checked();
    item->FSelected = item->Selected();
    item->FFocused = item->Focused();
  }
  for (int i = 0; i < FColumns->Count(); ++i) {
    TListColumn* column = FColumns->Items(i);
    column->FWidth = column->Width();
  }
}

void TCustomListView::DestroyWnd() {
  SaveItemStates();
  ++FQuiet;
  try {
    TWinControl::DestroyWnd();
  } catch (...) {
    --FQuiet;
    throw;
  }
  --FQuiet;
}

void TCustomListView::UpdateExtendedStyles() {
  if (!FHandle) return;
  DWORD styles = 0;
  if (FCheckboxes) styles |= LVS_EX_CHECKBOXES;
  if (FRowSelect) styles |= LVS_EX_FULLROWSELECT;
  if (FGridLines) styles |= LVS_EX_GRIDLINES;
  DWORD mask = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
  SendMessageW(FHandle, LVM_SETEXTENDEDLISTVIEWSTYLE, mask, styles);
}

void TCustomListView::UpdateImageLists() {
  if (!FHandle) return;
  SendMessageW(FHandle, LVM_SETIMAGELIST, LVSIL_SMALL,
               reinterpret_cast<LPARAM>(FSmallImages ? FSmallImages->Handle() : nullptr));
  SendMessageW(FHandle, LVM_SETIMAGELIST, LVSIL_NORMAL,
               reinterpret_cast<LPARAM>(FLargeImages ? FLargeImages->Handle() : nullptr));
}

void TCustomListView::ImageListChange(TObject*) {
  UpdateImageLists();
  Invalidate();
}

void TCustomListView::UpdateColumns() {
  if (!FHandle) return;
  ++FQuiet;
  while (SendMessageW(FHandle, LVM_DELETECOLUMN, 0, 0)) {
  }
  for (int i = 0; i < FColumns->Count(); ++i) {
    TListColumn* column = FColumns->Items(i);
    static const int formats[] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER};
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    col.fmt = formats[column->FAlignment];
    col.cx = column->FWidth;
    col.pszText = const_cast<wchar_t*>(WStr(column->FCaption));
    col.iSubItem = i;
    if (column->FImageIndex >= 0) {
      col.mask |= LVCF_IMAGE;
      col.iImage = column->FImageIndex;
      col.fmt |= LVCFMT_IMAGE;
    }
    SendMessageW(FHandle, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
  }
  --FQuiet;
  AutoSizeColumns();
}

void TCustomListView::AutoSizeColumns() {
  if (!FHandle || FViewStyle != vsReport || FAutoSizing) return;
  int automatic = 0;
  Integer fixed = 0;
  for (int i = 0; i < FColumns->Count(); ++i) {
    TListColumn* column = FColumns->Items(i);
    if (column->FAutoSize)
      ++automatic;
    else
      fixed += column->Width();
  }
  if (automatic == 0) return;
  FAutoSizing = true;
  RECT client{};
  GetClientRect(FHandle, &client);
  Integer share = std::max<Integer>(0, (client.right - fixed) / automatic);
  for (int i = 0; i < FColumns->Count(); ++i) {
    TListColumn* column = FColumns->Items(i);
    if (!column->FAutoSize) continue;
    Integer width = std::max(share, column->FMinWidth);
    if (column->FMaxWidth > 0) width = std::min(width, column->FMaxWidth);
    column->FWidth = width;
    SendMessageW(FHandle, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), MAKELPARAM(width, 0));
  }
  FAutoSizing = false;
}

void TCustomListView::UpdateGroups() {
  if (!FHandle) return;
  ++FQuiet;
  SendMessageW(FHandle, LVM_REMOVEALLGROUPS, 0, 0);
  SendMessageW(FHandle, LVM_ENABLEGROUPVIEW, FGroupView, 0);
  if (FGroupView) {
    static const UINT headerAligns[] = {LVGA_HEADER_LEFT, LVGA_HEADER_RIGHT, LVGA_HEADER_CENTER};
    static const UINT footerAligns[] = {LVGA_FOOTER_LEFT, LVGA_FOOTER_RIGHT, LVGA_FOOTER_CENTER};
    static const UINT states[] = {LVGS_NORMAL,  LVGS_HIDDEN,  LVGS_COLLAPSED, LVGS_NOHEADER,          LVGS_COLLAPSIBLE,
                                  LVGS_FOCUSED, LVGS_SELECTED, LVGS_SUBSETED, LVGS_SUBSETLINKFOCUSED};
    for (int i = 0; i < FGroups->Count(); ++i) {
      TListGroup* group = FGroups->Items(i);
      LVGROUP info{};
      info.cbSize = sizeof info;
      info.mask = LVGF_HEADER | LVGF_FOOTER | LVGF_GROUPID | LVGF_ALIGN | LVGF_STATE;
      info.pszHeader = const_cast<wchar_t*>(WStr(group->Header()));
      info.pszFooter = const_cast<wchar_t*>(WStr(group->Footer()));
      info.iGroupId = group->GroupID();
      info.uAlign = headerAligns[group->HeaderAlign()] | footerAligns[group->FooterAlign()];
      for (int s = 0; s < static_cast<int>(std::size(states)); ++s)
        if (group->State().Contains(static_cast<TListGroupState>(s))) info.state |= states[s];
      info.stateMask = info.state;
      SendMessageW(FHandle, LVM_INSERTGROUP, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&info));
    }
    for (int i = 0; i < FItems->Count(); ++i) UpdateItemGroup(FItems->Item(i), i);
  }
  --FQuiet;
}

// An item of no known group stands outside the groups, where the window puts it.
void TCustomListView::UpdateItemGroup(const TListItem* item, int index) {
  if (!FHandle || !FGroupView || index < 0) return;
  ++FQuiet;
  LVITEMW it{};
  it.mask = LVIF_GROUPID;
  it.iItem = index;
  it.iGroupId = FGroups->FindGroup(item->FGroupID) ? item->FGroupID : I_GROUPIDNONE;
  SendMessageW(FHandle, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
  --FQuiet;
}

void TCustomListView::SetGroups(TListGroups* value) {
  if (value && value != FGroups.get()) FGroups->Assign(value);
}

void TCustomListView::SetGroupView(bool value) {
  if (value == FGroupView) return;
  FGroupView = value;
  UpdateGroups();
}

void TCustomListView::InsertItemWindow(TListItem* item, int index) {
  if (!FHandle) return;
  ++FQuiet;
  LVITEMW it{};
  it.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
  it.iItem = index;
  it.pszText = const_cast<wchar_t*>(WStr(item->FCaption));
  it.iImage = item->FImageIndex;
  it.lParam = reinterpret_cast<LPARAM>(item);
  it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  it.state = (item->FSelected ? LVIS_SELECTED : 0) | (item->FFocused ? LVIS_FOCUSED : 0);
  int at = static_cast<int>(SendMessageW(FHandle, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it)));
  --FQuiet;
  if (at < 0) throw EOutOfResources(u"Failed to add the item to the list view");
  UpdateItemWindow(item, at);
  UpdateItemGroup(item, at);
}

void TCustomListView::UpdateItemWindow(TListItem* item, int index) {
  if (!FHandle) return;
  if (index < 0) index = FItems->IndexOf(item);
  if (index < 0) return;
  ++FQuiet;
  LVITEMW it{};
  it.mask = LVIF_TEXT | LVIF_IMAGE;
  it.iItem = index;
  it.pszText = const_cast<wchar_t*>(WStr(item->FCaption));
  it.iImage = item->FImageIndex;
  SendMessageW(FHandle, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
  int columns = std::max(FColumns->Count(), item->FSubItems->Count() + 1);
  for (int j = 1; j < columns; ++j) {
    String text = j - 1 < item->FSubItems->Count() ? item->FSubItems->Get(j - 1) : String();
    LVITEMW sub{};
    sub.iSubItem = j;
    sub.pszText = const_cast<wchar_t*>(WStr(text));
    SendMessageW(FHandle, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&sub));
  }
  if (FCheckboxes) {
    LVITEMW state{};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = INDEXTOSTATEIMAGEMASK(item->FChecked ? 2 : 1);
    SendMessageW(FHandle, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
  }
  --FQuiet;
}

void TCustomListView::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_NOTIFY: CNNotify(m); break;
    case WM_ERASEBKGND: DefaultHandler(m); break;
    case WM_SIZE:
      TWinControl::Dispatch(m);
      AutoSizeColumns();
      break;
    case CM_COLORCHANGED:
      TWinControl::Dispatch(m);
      if (FHandle) {
        SendMessageW(FHandle, LVM_SETBKCOLOR, 0, SystemColor(Color()));
        SendMessageW(FHandle, LVM_SETTEXTBKCOLOR, 0, SystemColor(Color()));
      }
      break;
    case CM_FONTCHANGED:
      TWinControl::Dispatch(m);
      if (FHandle) SendMessageW(FHandle, LVM_SETTEXTCOLOR, 0, SystemColor(Font().Color()));
      break;
    default: TWinControl::Dispatch(m); break;
  }
}

void TCustomListView::CNNotify(TMessage& m) {
  auto* header = reinterpret_cast<NMHDR*>(m.LParam);
  m.Result = 0;
  if (!header || ComponentState().Contains(csDestroying)) return;
  switch (header->code) {
    case LVN_ITEMCHANGED: {
      auto* nm = reinterpret_cast<NMLISTVIEW*>(m.LParam);
      if (FQuiet || !(nm->uChanged & LVIF_STATE) || nm->iItem < 0 || nm->iItem >= FItems->Count()) break;
      if ((nm->uOldState ^ nm->uNewState) & LVIS_SELECTED)
        DoSelectItem(FItems->Item(nm->iItem), (nm->uNewState & LVIS_SELECTED) != 0);
      break;
    }
    case LVN_BEGINLABELEDITW:
    case LVN_BEGINLABELEDITA: m.Result = FReadOnly ? TRUE : FALSE; break;
    case LVN_ENDLABELEDITW: {
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(m.LParam);
      if (info->item.pszText && info->item.iItem >= 0 && info->item.iItem < FItems->Count()) {
        FItems->Item(info->item.iItem)->FCaption = FromWStr(info->item.pszText);
        m.Result = TRUE;
      }
      break;
    }
    default: break;
  }
}

void TCustomListView::DoSelectItem(TListItem* item, bool selected) {
  if (CanFireEvents() && OnSelectItem) OnSelectItem(this, item, selected);
}

void TCustomListView::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FSmallImages) SetSmallImages(nullptr);
  if (component == FLargeImages) SetLargeImages(nullptr);
}

void TCustomListView::SetColumns(TListColumns* value) {
  if (value && value != FColumns.get()) FColumns->Assign(value);
}

void TCustomListView::SetItems(TListItems* value) {
  if (value && value != FItems.get()) FItems->Assign(value);
}

void TCustomListView::SetViewStyle(TViewStyle value) {
  if (value == FViewStyle) return;
  FViewStyle = value;
  RecreateWnd();
}

void TCustomListView::SetSmallImages(TCustomImageList* value) {
  if (value == FSmallImages) return;
  if (FSmallImages) {
    FSmallImages->UnRegisterChanges(FImageChangeLink.get());
    if (FSmallImages != FLargeImages) FSmallImages->RemoveFreeNotification(this);
  }
  FSmallImages = value;
  if (value) {
    value->RegisterChanges(FImageChangeLink.get());
    value->FreeNotification(this);
  }
  UpdateImageLists();
}

void TCustomListView::SetLargeImages(TCustomImageList* value) {
  if (value == FLargeImages) return;
  if (FLargeImages) {
    FLargeImages->UnRegisterChanges(FImageChangeLink.get());
    if (FSmallImages != FLargeImages) FLargeImages->RemoveFreeNotification(this);
  }
  FLargeImages = value;
  if (value) {
    value->RegisterChanges(FImageChangeLink.get());
    value->FreeNotification(this);
  }
  UpdateImageLists();
}

void TCustomListView::SetCheckboxes(bool value) {
  if (value == FCheckboxes) return;
  SaveItemStates();
  FCheckboxes = value;
  if (!FHandle) return;
  UpdateExtendedStyles();
  // The system makes every item unchecked when the boxes appear.
  for (int i = 0; i < FItems->Count(); ++i) UpdateItemWindow(FItems->Item(i), i);
}

void TCustomListView::SetRowSelect(bool value) {
  FRowSelect = value;
  UpdateExtendedStyles();
}

void TCustomListView::SetGridLines(bool value) {
  FGridLines = value;
  UpdateExtendedStyles();
}

void TCustomListView::SetReadOnly(bool value) {
  if (value == FReadOnly) return;
  FReadOnly = value;
  RecreateWnd();
}

void TCustomListView::SetHideSelection(bool value) {
  if (value == FHideSelection) return;
  FHideSelection = value;
  RecreateWnd();
}

void TCustomListView::SetMultiSelect(bool value) {
  if (value == FMultiSelect) return;
  FMultiSelect = value;
  RecreateWnd();
}

void TCustomListView::SetShowColumnHeaders(bool value) {
  if (value == FShowColumnHeaders) return;
  FShowColumnHeaders = value;
  RecreateWnd();
}

void TCustomListView::SetBorderStyle(TFormBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  RecreateWnd();
}

TListItem* TCustomListView::Selected() const {
  if (!FHandle) {
    for (const auto& item : FItems->FItems)
      if (item->FSelected) return item.get();
    return nullptr;
  }
  auto index = static_cast<int>(SendMessageW(FHandle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  return index >= 0 && index < FItems->Count() ? FItems->Item(index) : nullptr;
}

void TCustomListView::SetSelected(TListItem* item) {
  if (item && item->ListView() != this) return;
  ClearSelection();
  if (!item) return;
  item->SetSelected(true);
  item->SetFocused(true);
  item->MakeVisible(false);
}

TListItem* TCustomListView::ItemFocused() const {
  if (!FHandle) {
    for (const auto& item : FItems->FItems)
      if (item->FFocused) return item.get();
    return nullptr;
  }
  auto index = static_cast<int>(SendMessageW(FHandle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  return index >= 0 && index < FItems->Count() ? FItems->Item(index) : nullptr;
}

void TCustomListView::SetItemFocused(TListItem* item) {
  if (TListItem* old = ItemFocused(); old && old != item) old->SetFocused(false);
  if (item && item->ListView() == this) item->SetFocused(true);
}

int TCustomListView::SelCount() const {
  if (FHandle) return static_cast<int>(SendMessageW(FHandle, LVM_GETSELECTEDCOUNT, 0, 0));
  return static_cast<int>(
      std::count_if(FItems->FItems.begin(), FItems->FItems.end(), [](const auto& item) { return item->FSelected; }));
}

int TCustomListView::ItemIndex() const {
  TListItem* item = Selected();
  return item ? item->Index() : -1;
}

void TCustomListView::SetItemIndex(int index) {
  SetSelected(index >= 0 && index < FItems->Count() ? FItems->Item(index) : nullptr);
}

void TCustomListView::ClearSelection() {
  for (auto& item : FItems->FItems)
    if (item->Selected()) item->SetSelected(false);
}

TListItem* TCustomListView::GetItemAt(Integer x, Integer y) const {
  if (!FHandle) return nullptr;
  LVHITTESTINFO info{};
  info.pt = POINT{x, y};
  auto index = static_cast<int>(SendMessageW(FHandle, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
  return index >= 0 && index < FItems->Count() && (info.flags & LVHT_ONITEM) ? FItems->Item(index) : nullptr;
}

// ---------------------------------------------------------------------------
// Tree nodes

void TTreeNode::Describe(TClassBuilder<TTreeNode>&) {}

TTreeNode::TTreeNode(TTreeNodes* owner) : FOwner(owner) {}

TTreeNode::~TTreeNode() = default;

TCustomTreeView* TTreeNode::TreeView() const {
  return FOwner ? FOwner->Owner() : nullptr;
}

std::vector<std::unique_ptr<TTreeNode>>& TTreeNode::Siblings() const {
  return FParent ? FParent->FChildren : FOwner->FRoots;
}

TTreeNode* TTreeNode::Item(int index) const {
  if (index < 0 || index >= Count()) throw EListError(Format(u"List index out of bounds (%d)", {index}));
  return FChildren[static_cast<size_t>(index)].get();
}

int TTreeNode::Index() const {
  const auto& siblings = Siblings();
  for (size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i].get() == this) return static_cast<int>(i);
  return -1;
}

int TTreeNode::Level() const {
  int level = 0;
  for (TTreeNode* p = FParent; p; p = p->FParent) ++level;
  return level;
}

int TTreeNode::AbsoluteIndex() const {
  int index = 0;
  for (TTreeNode* n = FOwner->GetFirstNode(); n; n = n->GetNext(), ++index)
    if (n == this) return index;
  return -1;
}

TTreeNode* TTreeNode::GetNext() const {
  if (!FChildren.empty()) return FChildren.front().get();
  for (const TTreeNode* n = this; n; n = n->FParent)
    if (TTreeNode* next = n->GetNextSibling()) return next;
  return nullptr;
}

void TTreeNode::SetText(const String& value) {
  FText = value;
  if (TCustomTreeView* view = TreeView()) view->UpdateNodeWindow(this);
}

void TTreeNode::SetImageIndex(Integer value) {
  FImageIndex = value;
  if (TCustomTreeView* view = TreeView()) view->UpdateNodeWindow(this);
}

void TTreeNode::SetSelectedIndex(Integer value) {
  FSelectedIndex = value;
  if (TCustomTreeView* view = TreeView()) view->UpdateNodeWindow(this);
}

bool TTreeNode::Expanded() const {
  TCustomTreeView* view = TreeView();
  if (!view || !view->HandleAllocated() || !FItemId) return FExpanded;
  return (SendMessageW(view->FHandle, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(FItemId), TVIS_EXPANDED) &
          TVIS_EXPANDED) != 0;
}

void TTreeNode::SetExpanded(bool value) {
  if (value)
    Expand(false);
  else
    Collapse(false);
}

void TTreeNode::Expand(bool recurse) {
  TCustomTreeView* view = TreeView();
  if (!Expanded() && (!view || view->CanExpand(this))) {
    FExpanded = true;
    if (view && view->HandleAllocated() && FItemId) {
      ++view->FQuiet;
      SendMessageW(view->FHandle, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(FItemId));
      --view->FQuiet;
    }
  }
  if (recurse)
    for (auto& child : FChildren) child->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
  TCustomTreeView* view = TreeView();
  if (Expanded() && (!view || view->CanCollapse(this))) {
    FExpanded = false;
    if (view && view->HandleAllocated() && FItemId) {
      ++view->FQuiet;
      SendMessageW(view->FHandle, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(FItemId));
      --view->FQuiet;
    }
  }
  if (recurse)
    for (auto& child : FChildren) child->Collapse(true);
}

void TTreeNode::MakeVisible() {
  std::vector<TTreeNode*> ancestors;
  for (TTreeNode* p = FParent; p; p = p->FParent) ancestors.push_back(p);
  for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) (*it)->Expand(false);
  TCustomTreeView* view = TreeView();
  if (view && view->HandleAllocated() && FItemId)
    SendMessageW(view->FHandle, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(FItemId));
}

bool TTreeNode::Selected() const {
  TCustomTreeView* view = TreeView();
  return view && view->Selected() == this;
}

void TTreeNode::SetSelected(bool value) {
  TCustomTreeView* view = TreeView();
  if (!view) return;
  if (value)
    view->SetSelected(this);
  else if (Selected())
    view->SetSelected(nullptr);
}

void TTreeNode::Delete() {
  FOwner->Delete(this);
}

void TTreeNode::DeleteChildren() {
  while (!FChildren.empty()) FOwner->Delete(FChildren.back().get());
}

void TTreeNode::Assign(const TPersistent* source) {
  if (auto* node = dynamic_cast<const TTreeNode*>(source)) {
    FText = node->FText;
    FData = node->FData;
    FImageIndex = node->FImageIndex;
    FSelectedIndex = node->FSelectedIndex;
    if (TCustomTreeView* view = TreeView()) view->UpdateNodeWindow(this);
    return;
  }
  TPersistent::Assign(source);
}

void TTreeNodes::Describe(TClassBuilder<TTreeNodes>&) {}

TTreeNodes::TTreeNodes(TCustomTreeView* owner) : FOwner(owner) {}

TTreeNodes::~TTreeNodes() = default;

TPersistent* TTreeNodes::GetOwner() const {
  return FOwner;
}

TTreeNode* TTreeNodes::Item(int index) const {
  if (index < 0 || index >= FCount) throw EListError(Format(u"List index out of bounds (%d)", {index}));
  int at = 0;
  TTreeNode* n = GetFirstNode();
  if (FLastNode && FLastIndex <= index) {
    at = FLastIndex;
    n = FLastNode;
  }
  for (; at < index && n; ++at) n = n->GetNext();
  FLastIndex = index;
  FLastNode = n;
  return n;
}

TTreeNode* TTreeNodes::InsertNode(TTreeNode* parent, size_t position, const String& text, void* data) {
  auto& siblings = parent ? parent->FChildren : FRoots;
  position = std::min(position, siblings.size());
  auto node = std::make_unique<TTreeNode>(this);
  node->FParent = parent;
  node->FText = text;
  node->FData = data;
  TTreeNode* result = node.get();
  siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(position), std::move(node));
  if (position > 0) {
    result->FPrevSibling = siblings[position - 1].get();
    result->FPrevSibling->FNextSibling = result;
  }
  if (position + 1 < siblings.size()) {
    result->FNextSibling = siblings[position + 1].get();
    result->FNextSibling->FPrevSibling = result;
  }
  ++FCount;
  FLastNode = nullptr;
  if (FOwner) FOwner->InsertNodeWindow(result, position > 0 ? siblings[position - 1].get() : nullptr);
  return result;
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const String& text, void* data) {
  TTreeNode* parent = sibling ? sibling->FParent : nullptr;
  return InsertNode(parent, static_cast<size_t>(-1), text, data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* sibling, const String& text) {
  return InsertNode(sibling ? sibling->FParent : nullptr, 0, text, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const String& text, void* data) {
  return InsertNode(parent, static_cast<size_t>(-1), text, data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const String& text) {
  return InsertNode(parent, 0, text, nullptr);
}

TTreeNode* TTreeNodes::InsertObject(TTreeNode* sibling, const String& text, void* data) {
  if (!sibling) return InsertNode(nullptr, static_cast<size_t>(-1), text, data);
  return InsertNode(sibling->FParent, static_cast<size_t>(sibling->Index()), text, data);
}

void TTreeNodes::Delete(TTreeNode* node) {
  if (!node || node->FOwner != this) return;
  int gone = 0;
  bool hadSelection = false;
  std::function<void(TTreeNode*)> forget = [&](TTreeNode* n) {
    ++gone;
    if (FOwner && FOwner->FSelected == n) hadSelection = true;
    n->FItemId = nullptr;
    for (auto& child : n->FChildren) forget(child.get());
  };
  if (FOwner && FOwner->HandleAllocated() && node->FItemId) {
    ++FOwner->FQuiet;
    SendMessageW(FOwner->FHandle, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->FItemId));
    --FOwner->FQuiet;
  }
  forget(node);
  if (hadSelection) FOwner->FSelected = nullptr;
  auto& siblings = node->Siblings();
  auto it = std::find_if(siblings.begin(), siblings.end(), [node](const auto& p) { return p.get() == node; });
  std::unique_ptr<TTreeNode> owned = std::move(*it);
  siblings.erase(it);
  if (node->FPrevSibling) node->FPrevSibling->FNextSibling = node->FNextSibling;
  if (node->FNextSibling) node->FNextSibling->FPrevSibling = node->FPrevSibling;
  FCount -= gone;
  FLastNode = nullptr;
}

void TTreeNodes::Clear() {
  if (FOwner && FOwner->HandleAllocated()) {
    ++FOwner->FQuiet;
    SendMessageW(FOwner->FHandle, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    --FOwner->FQuiet;
  }
  if (FOwner) FOwner->FSelected = nullptr;
  std::vector<std::unique_ptr<TTreeNode>> gone;
  gone.swap(FRoots);
  FCount = 0;
  FLastNode = nullptr;
}

void TTreeNodes::BeginUpdate() {
  if (FUpdateCount++ == 0) PauseDrawing(FOwner);
}

void TTreeNodes::EndUpdate() {
  if (FUpdateCount != 0 && --FUpdateCount == 0) ResumeDrawing(FOwner);
}

void TTreeNodes::Assign(const TPersistent* source) {
  if (auto* nodes = dynamic_cast<const TTreeNodes*>(source)) {
    if (nodes == this) return;
    BeginUpdate();
    try {
      Clear();
      std::function<void(const TTreeNode*, TTreeNode*)> copy = [&](const TTreeNode* from, TTreeNode* parent) {
        TTreeNode* to = AddChildObject(parent, from->FText, from->FData);
        to->FImageIndex = from->FImageIndex;
        to->FSelectedIndex = from->FSelectedIndex;
        if (FOwner) FOwner->UpdateNodeWindow(to);
        for (const auto& child : from->FChildren) copy(child.get(), to);
      };
      for (const auto& root : nodes->FRoots) copy(root.get(), nullptr);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

// The record of the IDE's ANSI versions: the number of top-level nodes, then
// each node depth first: the size of its record, its image, selected image,
// state image and overlay, four bytes of data, its child count and its text
// as a length byte and ANSI bytes; its children follow it.
namespace {

void ReadAnsiNodeData(TTreeNodes& nodes, TStream& stream) {
  TRecordReader r(stream);
  constexpr size_t fixed = 25;  // the record after its size field, without the text
  std::function<void(TTreeNode*, int)> readNode = [&](TTreeNode* parent, int depth) {
    if (depth > kMaxNodeDepth) throw EReadError(u"Tree node data nested too deeply");
    const Integer size = r.ReadInt();
    if (size < static_cast<Integer>(fixed)) throw EReadError(u"Stream read error");
    r.Need(static_cast<size_t>(size));
    const size_t end = r.Position() + static_cast<size_t>(size);
    const Integer image = r.ReadInt();
    const Integer selected = r.ReadInt();
    r.ReadInt();  // state image
    r.ReadInt();  // overlay
    r.ReadInt();  // data: an address of the writing process
    const Integer children = r.ReadInt();
    TTreeNode* node = nodes.AddChild(parent, r.ReadAnsiShort());
    node->SetImageIndex(image);
    node->SetSelectedIndex(selected);
    if (r.Position() > end) throw EReadError(u"Stream read error");
    r.SetPosition(end);
    if (children < 0 || static_cast<size_t>(children) > r.Remaining() / (fixed + 4))
      throw EReadError(u"Stream read error");
    for (Integer i = 0; i < children; ++i) readNode(node, depth + 1);
  };
  const Integer count = r.ReadCount(fixed + 4);
  nodes.BeginUpdate();
  try {
    nodes.Clear();
    for (Integer i = 0; i < count; ++i) readNode(nullptr, 0);
  } catch (...) {
    nodes.EndUpdate();
    throw;
  }
  nodes.EndUpdate();
}

}  // namespace

void TTreeNodes::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      u"NodeData", [this](TStream& s) { ReadNodeData(s); }, [this](TStream& s) { WriteNodeData(s); }, FCount > 0);
  // Older IDEs wrote the nodes as ANSI records; they are read, never written.
  filer.DefineBinaryProperty(u"Data", [this](TStream& s) { ReadAnsiNodeData(*this, s); }, nullptr, false);
}

// The record of the IDE's Unicode versions: a version byte and the number of
// top-level nodes, then each node depth first: the size of the rest of its
// record, its image, selected image, state image and overlay, eight bytes of
// data, its child count, an enabled byte and its text as a length byte and
// UTF-16 units; its children follow it.
void TTreeNodes::ReadNodeData(TStream& stream) {
  TRecordReader r(stream);
  Byte version = r.ReadByte();
  if (version != kNodeDataVersion) throw EReadError(Format(u"Unsupported tree node data version %d", {version}));
  constexpr size_t fixed = 30;  // the record after its size field, without the text
  std::function<void(TTreeNode*, int)> readNode = [&](TTreeNode* parent, int depth) {
    if (depth > kMaxNodeDepth) throw EReadError(u"Tree node data nested too deeply");
    size_t start = r.Position();
    Integer size = r.ReadInt();
    if (size < static_cast<Integer>(fixed)) throw EReadError(u"Stream read error");
    r.Need(static_cast<size_t>(size));
    Integer image = r.ReadInt();
    Integer selected = r.ReadInt();
    r.ReadInt();  // state image
    r.ReadInt();  // overlay
    r.ReadInt();  // data: an address of the writing process
    r.ReadInt();
    Integer children = r.ReadInt();
    r.ReadByte();  // enabled
    String text = r.ReadWideShort();
    if (r.Position() > start + 4 + static_cast<size_t>(size)) throw EReadError(u"Stream read error");
    r.SetPosition(start + 4 + static_cast<size_t>(size));
    if (children < 0 || static_cast<size_t>(children) > r.Remaining() / (fixed + 4))
      throw EReadError(u"Stream read error");
    TTreeNode* node = AddChild(parent, text);
    node->FImageIndex = image;
    node->FSelectedIndex = selected;
    if (FOwner) FOwner->UpdateNodeWindow(node);
    for (Integer i = 0; i < children; ++i) readNode(node, depth + 1);
  };
  Integer count = r.ReadCount(fixed + 4);
  BeginUpdate();
  try {
    Clear();
    for (Integer i = 0; i < count; ++i) readNode(nullptr, 0);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TTreeNodes::WriteNodeData(TStream& stream) {
  TRecordWriter w;
  w.Byte_(kNodeDataVersion);
  w.Int(static_cast<Integer>(FRoots.size()));
  std::function<void(const TTreeNode*)> writeNode = [&](const TTreeNode* node) {
    size_t start = w.Size();
    w.Int(0);
    w.Int(node->FImageIndex);
    w.Int(node->FSelectedIndex);
    w.Int(-1);
    w.Int(-1);
    w.Int(0);
    w.Int(0);
    w.Int(node->Count());
    w.Byte_(1);
    w.WideShort(node->FText);
    w.PatchInt(start, static_cast<Integer>(w.Size() - start - 4));
    for (const auto& child : node->FChildren) writeNode(child.get());
  };
  for (const auto& root : FRoots) writeNode(root.get());
  w.WriteTo(stream);
}

// ---------------------------------------------------------------------------
// Tree view

void TCustomTreeView::Describe(TClassBuilder<TCustomTreeView>&) {}

void TTreeView::Describe(TClassBuilder<TTreeView>& c) {
  KST_KEPT_PROPERTY(u"MultiSelect", MultiSelect).Default(0);
  KST_KEPT_PROPERTY(u"MultiSelectStyle", MultiSelectStyle);
  publish::ParentDoubleBuffered(c);
  c.Property(u"SortType", &TTreeView::SortType).Default(stNone);
  publish::KeptEvent<0>(c, u"OnAdvancedCustomDrawItem", TKeptEvent::TVAdvancedCustomDrawItem);
  publish::KeptEvent<1>(c, u"OnCompare", TKeptEvent::TVCompare);
  publish::KeptEvent<2>(c, u"OnCustomDrawItem", TKeptEvent::TVCustomDrawItem);
  publish::KeptEvent<3>(c, u"OnEdited", TKeptEvent::TVEdited);
  publish::KeptEvent<4>(c, u"OnEditing", TKeptEvent::TVEditing);
  publish::KeptEdit(c);
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"AutoExpand", &TTreeView::AutoExpand).Default(0);
  c.Property(u"BorderStyle", &TTreeView::BorderStyle, &TTreeView::SetBorderStyle, &BorderStyleType()).Default(bsSingle);
  c.Property(u"ChangeDelay", &TTreeView::ChangeDelay).Default(0);
  c.Property(u"Color", &TControl::Color, &TControl::SetColor, &types::Color()).StoredWhen([](const TTreeView& o) {
    return !o.ParentColor() && o.Color() != clWindow;
  });
  publish::Constraints(c);
  publish::DoubleBuffered(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"HideSelection", &TTreeView::HideSelection, &TTreeView::SetHideSelection).Default(1);
  c.Property(u"HotTrack", &TTreeView::HotTrack, &TTreeView::SetHotTrack).Default(0);
  c.Property(u"Images", &TTreeView::Images, &TTreeView::SetImages);
  c.Property(u"Indent", &TTreeView::Indent, &TTreeView::SetIndent);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  c.Property(u"ReadOnly", &TTreeView::ReadOnly, &TTreeView::SetReadOnly).Default(0);
  c.Property(u"RightClickSelect", &TTreeView::RightClickSelect).Default(0);
  c.Property(u"RowSelect", &TTreeView::RowSelect, &TTreeView::SetRowSelect).Default(0);
  c.Property(u"ShowButtons", &TTreeView::ShowButtons, &TTreeView::SetShowButtons).Default(1);
  publish::ShowHint(c);
  c.Property(u"ShowLines", &TTreeView::ShowLines, &TTreeView::SetShowLines).Default(1);
  c.Property(u"ShowRoot", &TTreeView::ShowRoot, &TTreeView::SetShowRoot).Default(1);
  publish::TabOrder(c);
  c.Property(u"TabStop", &TTreeView::TabStop, &TTreeView::SetTabStop).Default(1);
  c.Property(u"ToolTips", &TTreeView::ToolTips).Default(1);
  publish::Visible(c);
  c.Property(u"OnChange", &TTreeView::OnChange);
  c.Property(u"OnChanging", &TTreeView::OnChanging);
  publish::MouseEvents(c);
  c.Property(u"OnCollapsed", &TTreeView::OnCollapsed);
  c.Property(u"OnCollapsing", &TTreeView::OnCollapsing);
  publish::FocusEvents(c);
  c.Property(u"OnExpanded", &TTreeView::OnExpanded);
  c.Property(u"OnExpanding", &TTreeView::OnExpanding);
  publish::KeyEvents(c);
  c.Property(u"Items", &TTreeView::GetItems, &TTreeView::SetItems);
}

TCustomTreeView::TCustomTreeView(TComponent* owner)
    : TWinControl(owner),
      FNodes(std::make_unique<TTreeNodes>(this)),
      FImageChangeLink(std::make_unique<TChangeLink>()) {
  InitCommonControl(ICC_TREEVIEW_CLASSES);
  FControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks};
  FImageChangeLink->OnChange = TNotifyEvent(this, &TCustomTreeView::ImageListChange);
  SetParentColor(false);
  SetColor(clWindow);
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
}

TCustomTreeView::~TCustomTreeView() {
  Destroying();
  if (FHandle) DestroyWindowHandle();
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink.get());
  FNodes->Clear();
}

void TCustomTreeView::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"SysTreeView32");
  if (FShowLines) params.Style |= TVS_HASLINES;
  if (FShowRoot) params.Style |= TVS_LINESATROOT;
  if (FShowButtons) params.Style |= TVS_HASBUTTONS;
  if (!FReadOnly) params.Style |= TVS_EDITLABELS;
  if (!FHideSelection) params.Style |= TVS_SHOWSELALWAYS;
  if (FRowSelect) params.Style |= TVS_FULLROWSELECT;
  if (FHotTrack) params.Style |= TVS_TRACKSELECT;
  if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTreeView::CreateWnd() {
  TWinControl::CreateWnd();
  ++FQuiet;
  try {
    SendMessageW(FHandle, TVM_SETINDENT, static_cast<WPARAM>(FIndent), 0);
    SendMessageW(FHandle, TVM_SETIMAGELIST, TVSIL_NORMAL,
                 reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
    SendMessageW(FHandle, TVM_SETBKCOLOR, 0, SystemColor(Color()));
    SendMessageW(FHandle, TVM_SETTEXTCOLOR, 0, SystemColor(Font().Color()));
    if (FNodes->FUpdateCount > 0) SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
    TTreeNode* previous = nullptr;
    for (auto& root : FNodes->FRoots) {
      InsertNodeWindow(root.get(), previous);
      previous = root.get();
    }
    if (FSelected && FSelected->FItemId)
      SendMessageW(FHandle, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FSelected->FItemId));
  } catch (...) {
    --FQuiet;
    throw;
  }
  --FQuiet;
}

void TCustomTreeView::SaveNodeStates() {
  if (!FHandle) return;
  FSelected = Selected();
  for (TTreeNode* n = FNodes->GetFirstNode(); n; n = n->GetNext()) n->FExpanded = n->Expanded();
  FIndent = Indent();
}

void TCustomTreeView::DestroyWnd() {
  SaveNodeStates();
  ++FQuiet;
  try {
    TWinControl::DestroyWnd();
  } catch (...) {
    --FQuiet;
    throw;
  }
  --FQuiet;
  for (TTreeNode* n = FNodes->GetFirstNode(); n; n = n->GetNext()) n->FItemId = nullptr;
}

void TCustomTreeView::InsertNodeWindow(TTreeNode* node, TTreeNode* previous) {
  if (!FHandle) return;
  TVINSERTSTRUCTW is{};
  is.hParent = node->FParent ? node->FParent->FItemId : TVI_ROOT;
  if (node->FParent && !node->FParent->FItemId) return;  // the parent's turn fills it
  is.hInsertAfter = previous && previous->FItemId ? previous->FItemId : TVI_FIRST;
  is.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  is.item.pszText = const_cast<wchar_t*>(WStr(node->FText));
  is.item.iImage = node->FImageIndex;
  is.item.iSelectedImage = node->FSelectedIndex;
  is.item.lParam = reinterpret_cast<LPARAM>(node);
  ++FQuiet;
  node->FItemId = reinterpret_cast<HTREEITEM>(SendMessageW(FHandle, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&is)));
  --FQuiet;
  if (!node->FItemId) throw EOutOfResources(u"Failed to add the node to the tree view");
  TTreeNode* before = nullptr;
  for (auto& child : node->FChildren) {
    InsertNodeWindow(child.get(), before);
    before = child.get();
  }
  if (node->FExpanded && !node->FChildren.empty()) {
    ++FQuiet;
    SendMessageW(FHandle, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node->FItemId));
    --FQuiet;
  }
}

void TCustomTreeView::UpdateNodeWindow(TTreeNode* node) {
  if (!FHandle || !node->FItemId) return;
  TVITEMW item{};
  item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  item.hItem = node->FItemId;
  item.pszText = const_cast<wchar_t*>(WStr(node->FText));
  item.iImage = node->FImageIndex;
  item.iSelectedImage = node->FSelectedIndex;
  SendMessageW(FHandle, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

TTreeNode* TCustomTreeView::NodeOf(const TVITEMW& item) {
  return reinterpret_cast<TTreeNode*>(item.lParam);
}

void TCustomTreeView::ImageListChange(TObject*) {
  if (FHandle)
    SendMessageW(FHandle, TVM_SETIMAGELIST, TVSIL_NORMAL,
                 reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
}

void TCustomTreeView::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_NOTIFY: CNNotify(m); break;
    case WM_ERASEBKGND: DefaultHandler(m); break;
    case CM_COLORCHANGED:
      TWinControl::Dispatch(m);
      if (FHandle) SendMessageW(FHandle, TVM_SETBKCOLOR, 0, SystemColor(Color()));
      break;
    case CM_FONTCHANGED:
      TWinControl::Dispatch(m);
      if (FHandle) SendMessageW(FHandle, TVM_SETTEXTCOLOR, 0, SystemColor(Font().Color()));
      break;
    default: TWinControl::Dispatch(m); break;
  }
}

void TCustomTreeView::CNNotify(TMessage& m) {
  auto* header = reinterpret_cast<NMHDR*>(m.LParam);
  m.Result = 0;
  if (!header || ComponentState().Contains(csDestroying)) return;
  auto* nm = reinterpret_cast<NMTREEVIEWW*>(m.LParam);
  switch (header->code) {
    case TVN_SELCHANGINGW:
    case TVN_SELCHANGINGA: {
      if (FQuiet) break;
      TTreeNode* node = nm->itemNew.hItem ? NodeOf(nm->itemNew) : nullptr;
      m.Result = CanChange(node) ? FALSE : TRUE;
      break;
    }
    case TVN_SELCHANGEDW:
    case TVN_SELCHANGEDA: {
      TTreeNode* node = nm->itemNew.hItem ? NodeOf(nm->itemNew) : nullptr;
      FSelected = node;
      if (!FQuiet) Change(node);
      break;
    }
    case TVN_ITEMEXPANDINGW:
    case TVN_ITEMEXPANDINGA: {
      if (FQuiet) break;
      TTreeNode* node = NodeOf(nm->itemNew);
      if (!node) break;
      bool allowed = nm->action == TVE_COLLAPSE ? CanCollapse(node) : CanExpand(node);
      m.Result = allowed ? FALSE : TRUE;
      break;
    }
    case TVN_ITEMEXPANDEDW:
    case TVN_ITEMEXPANDEDA: {
      TTreeNode* node = NodeOf(nm->itemNew);
      if (!node) break;
      node->FExpanded = (nm->itemNew.state & TVIS_EXPANDED) != 0;
      if (FQuiet || !CanFireEvents()) break;
      if (node->FExpanded) {
        if (OnExpanded) OnExpanded(this, node);
      } else if (OnCollapsed) {
        OnCollapsed(this, node);
      }
      break;
    }
    case TVN_BEGINLABELEDITW:
    case TVN_BEGINLABELEDITA: m.Result = FReadOnly ? TRUE : FALSE; break;
    case TVN_ENDLABELEDITW: {
      auto* info = reinterpret_cast<NMTVDISPINFOW*>(m.LParam);
      if (info->item.pszText) {
        if (TTreeNode* node = NodeOf(info->item)) node->FText = FromWStr(info->item.pszText);
        m.Result = TRUE;
      }
      break;
    }
    default: break;
  }
}

bool TCustomTreeView::CanChange(TTreeNode* node) {
  bool allow = true;
  if (CanFireEvents() && OnChanging) OnChanging(this, node, allow);
  return allow;
}

void TCustomTreeView::Change(TTreeNode* node) {
  if (CanFireEvents() && OnChange) OnChange(this, node);
}

bool TCustomTreeView::CanExpand(TTreeNode* node) {
  bool allow = true;
  if (CanFireEvents() && OnExpanding) OnExpanding(this, node, allow);
  return allow;
}

bool TCustomTreeView::CanCollapse(TTreeNode* node) {
  bool allow = true;
  if (CanFireEvents() && OnCollapsing) OnCollapsing(this, node, allow);
  return allow;
}

void TCustomTreeView::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == FImages) SetImages(nullptr);
}

void TCustomTreeView::SetItems(TTreeNodes* value) {
  if (value && value != FNodes.get()) FNodes->Assign(value);
}

TTreeNode* TCustomTreeView::Selected() const {
  if (!FHandle) return FSelected;
  auto item = reinterpret_cast<HTREEITEM>(SendMessageW(FHandle, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!item) return nullptr;
  TVITEMW info{};
  info.mask = TVIF_HANDLE | TVIF_PARAM;
  info.hItem = item;
  if (!SendMessageW(FHandle, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info))) return nullptr;
  return NodeOf(info);
}

void TCustomTreeView::SetSelected(TTreeNode* node) {
  if (node && node->TreeView() != this) return;
  FSelected = node;
  if (FHandle)
    SendMessageW(FHandle, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->FItemId : nullptr));
}

void TCustomTreeView::SetImages(TCustomImageList* value) {
  if (!SwitchImageList(*this, FImages, value, FImageChangeLink.get())) return;
  ImageListChange(nullptr);
}

void TCustomTreeView::SetReadOnly(bool value) {
  if (value == FReadOnly) return;
  FReadOnly = value;
  RecreateWnd();
}
void TCustomTreeView::SetRowSelect(bool value) {
  if (value == FRowSelect) return;
  FRowSelect = value;
  RecreateWnd();
}
void TCustomTreeView::SetShowRoot(bool value) {
  if (value == FShowRoot) return;
  FShowRoot = value;
  RecreateWnd();
}
void TCustomTreeView::SetShowLines(bool value) {
  if (value == FShowLines) return;
  FShowLines = value;
  RecreateWnd();
}
void TCustomTreeView::SetShowButtons(bool value) {
  if (value == FShowButtons) return;
  FShowButtons = value;
  RecreateWnd();
}
void TCustomTreeView::SetHideSelection(bool value) {
  if (value == FHideSelection) return;
  FHideSelection = value;
  RecreateWnd();
}
void TCustomTreeView::SetHotTrack(bool value) {
  if (value == FHotTrack) return;
  FHotTrack = value;
  RecreateWnd();
}
void TCustomTreeView::SetBorderStyle(TFormBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  RecreateWnd();
}

Integer TCustomTreeView::Indent() const {
  if (FHandle) return static_cast<Integer>(SendMessageW(FHandle, TVM_GETINDENT, 0, 0));
  return FIndent;
}

void TCustomTreeView::SetIndent(Integer value) {
  FIndent = std::max(0, value);
  if (FHandle) SendMessageW(FHandle, TVM_SETINDENT, static_cast<WPARAM>(FIndent), 0);
}

TTreeNode* TCustomTreeView::TopItem() const {
  if (!FHandle) return FNodes->GetFirstNode();
  auto item = reinterpret_cast<HTREEITEM>(SendMessageW(FHandle, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
  if (!item) return nullptr;
  TVITEMW info{};
  info.mask = TVIF_HANDLE | TVIF_PARAM;
  info.hItem = item;
  return SendMessageW(FHandle, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info)) ? NodeOf(info) : nullptr;
}

TTreeNode* TCustomTreeView::GetNodeAt(Integer x, Integer y) const {
  if (!FHandle) return nullptr;
  TVHITTESTINFO hit{};
  hit.pt = POINT{x, y};
  auto item = reinterpret_cast<HTREEITEM>(SendMessageW(FHandle, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (!item || !(hit.flags & (TVHT_ONITEM | TVHT_ONITEMRIGHT | TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON))) return nullptr;
  TVITEMW info{};
  info.mask = TVIF_HANDLE | TVIF_PARAM;
  info.hItem = item;
  return SendMessageW(FHandle, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info)) ? NodeOf(info) : nullptr;
}

void TCustomTreeView::FullExpand() {
  for (auto& root : FNodes->FRoots) root->Expand(true);
}

void TCustomTreeView::FullCollapse() {
  for (auto& root : FNodes->FRoots) root->Collapse(true);
}

// ---------------------------------------------------------------------------
// Tab sheet

void TTabSheet::Describe(TClassBuilder<TTabSheet>& c) {
  KST_KEPT_PROPERTY(u"Highlighted", Highlighted).Default(0);
  publish::KeptEvent<0>(c, u"OnHide", TKeptEvent::Notify);
  publish::KeptEvent<1>(c, u"OnShow", TKeptEvent::Notify);
  publish::KeptWindowed(c);
  publish::Caption(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex).Default(0);
  c.Property(u"PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex).Stored(false);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  c.Property(u"TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible).Default(1);
  publish::MouseEvents(c);
  publish::ResizeEvents(c);
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetVisible(false);
}

TTabSheet::~TTabSheet() {
  if (FPageControl) FPageControl->RemovePage(this);
  FPageControl = nullptr;
}

void TTabSheet::SetParent(TWinControl* parent) {
  auto* control = dynamic_cast<TPageControl*>(parent);
  if (FPageControl && FPageControl != control) {
    TPageControl* old = FPageControl;
    FPageControl = nullptr;
    old->RemovePage(this);
  }
  TWinControl::SetParent(parent);
  if (control && FPageControl != control) {
    FPageControl = control;
    control->InsertPage(this);
  }
}

void TTabSheet::SetPageControl(TPageControl* value) {
  SetParent(value);
}

void TTabSheet::SetImageIndex(Integer value) {
  if (value == FImageIndex) return;
  FImageIndex = value;
  if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::SetTabVisible(bool value) {
  if (value == FTabVisible) return;
  FTabVisible = value;
  if (FPageControl) FPageControl->UpdateTabs();
}

int TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  const auto& pages = FPageControl->FPages;
  auto it = std::find(pages.begin(), pages.end(), this);
  return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

void TTabSheet::SetPageIndex(int value) {
  if (FPageControl) FPageControl->MovePage(this, value);
}

int TTabSheet::TabIndex() const {
  if (!FPageControl || !FTabVisible) return -1;
  int index = 0;
  for (TTabSheet* page : FPageControl->FPages) {
    if (page == this) return index;
    if (page->FTabVisible) ++index;
  }
  return -1;
}

void TTabSheet::Dispatch(TMessage& m) {
  TWinControl::Dispatch(m);
  if (m.Msg == CM_TEXTCHANGED && FPageControl) FPageControl->UpdateTabs();
}

// ---------------------------------------------------------------------------
// Page control

void TPageControl::Describe(TClassBuilder<TPageControl>& c) {
  KST_KEPT_PROPERTY(u"TabIndex", TabIndex).Default(-1);
  publish::KeptEvent<0>(c, u"OnDrawTab", TKeptEvent::DrawTab);
  publish::KeptWindowed(c);
  c.Property(u"ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage);
  publish::Align(c);
  publish::Anchors(c);
  publish::Constraints(c);
  publish::DoubleBuffered(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"HotTrack", &TPageControl::HotTrack, &TPageControl::SetHotTrack).Default(0);
  c.Property(u"Images", &TPageControl::Images, &TPageControl::SetImages);
  c.Property(u"MultiLine", &TPageControl::MultiLine, &TPageControl::SetMultiLine).Default(0);
  c.Property(u"Style", &TPageControl::Style, &TPageControl::SetStyle).Default(tsTabs);
  c.Property(u"TabPosition", &TPageControl::TabPosition, &TPageControl::SetTabPosition).Default(tpTop);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  c.Property(u"TabHeight", &TPageControl::TabHeight, &TPageControl::SetTabHeight).Default(0);
  publish::TabOrder(c);
  c.Property(u"TabStop", &TPageControl::TabStop, &TPageControl::SetTabStop).Default(1);
  c.Property(u"TabWidth", &TPageControl::TabWidth, &TPageControl::SetTabWidth).Default(0);
  publish::Visible(c);
  c.Property(u"OnChange", &TPageControl::OnChange);
  c.Property(u"OnChanging", &TPageControl::OnChanging);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
  publish::KeyEvents(c);
  c.Property(u"OnResize", &TPageControl::OnResize);
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner), FImageChangeLink(std::make_unique<TChangeLink>()) {
  InitCommonControl(ICC_TAB_CLASSES);
  FControlStyle = {csDoubleClicks, csOpaque};
  FImageChangeLink->OnChange = TNotifyEvent(this, &TPageControl::ImageListChange);
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
}

TPageControl::~TPageControl() {
  Destroying();
  for (TTabSheet* page : FPages) page->FPageControl = nullptr;
  FPages.clear();
  FActivePage = nullptr;
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink.get());
}

void TPageControl::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"SysTabControl32");
  params.Style |= WS_CLIPCHILDREN | TCS_TABS;
  if (FMultiLine) params.Style |= TCS_MULTILINE;
  if (FHotTrack) params.Style |= TCS_HOTTRACK;
  if (FTabWidth > 0) params.Style |= TCS_FIXEDWIDTH;
  if (FStyle != tsTabs) params.Style |= TCS_BUTTONS;
  if (FStyle == tsFlatButtons) params.Style |= TCS_FLATBUTTONS;
  if (FTabPosition == tpBottom || FTabPosition == tpRight) params.Style |= TCS_BOTTOM;
  if (FTabPosition == tpLeft || FTabPosition == tpRight) params.Style |= TCS_VERTICAL | TCS_MULTILINE;
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TPageControl::SetStyle(TTabStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  RecreateWnd();
}

void TPageControl::SetTabPosition(TTabPosition value) {
  if (value == FTabPosition) return;
  FTabPosition = value;
  RecreateWnd();
}

void TPageControl::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(FHandle, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
  if (FTabHeight > 0 || FTabWidth > 0) SendMessageW(FHandle, TCM_SETITEMSIZE, 0, MAKELPARAM(FTabWidth, FTabHeight));
  UpdateTabs();
}

void TPageControl::Loaded() {
  TWinControl::Loaded();
  if (!FActivePage)
    for (TTabSheet* page : FPages)
      if (page->FTabVisible) {
        SetActivePage(page);
        break;
      }
  ShowActivePage();
}

void TPageControl::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
  // The sheets in page order, which is their tabs' order.
  for (TTabSheet* page : FPages)
    if (page->Owner() == root) proc(page);
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Owner() == root && std::find(FPages.begin(), FPages.end(), c) == FPages.end()) proc(c);
  }
}

TTabSheet* TPageControl::Pages(int index) const {
  if (index < 0 || index >= PageCount()) throw EListError(Format(u"List index out of bounds (%d)", {index}));
  return FPages[static_cast<size_t>(index)];
}

TTabSheet* TPageControl::TabSheetOfTab(int tabIndex) const {
  if (tabIndex < 0) return nullptr;
  for (TTabSheet* page : FPages)
    if (page->FTabVisible && tabIndex-- == 0) return page;
  return nullptr;
}

int TPageControl::ActivePageIndex() const {
  return FActivePage ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? FPages[static_cast<size_t>(index)] : nullptr);
}

int TPageControl::TabIndex() const {
  if (FHandle) return static_cast<int>(SendMessageW(FHandle, TCM_GETCURSEL, 0, 0));
  return FActivePage ? FActivePage->TabIndex() : -1;
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->FPageControl != this) return;
  if (page == FActivePage) return;
  FActivePage = page;
  ShowActivePage();
}

void TPageControl::ShowActivePage() {
  if (FActivePage) {
    TRect r = ClientRect();
    AdjustClientRect(r);
    FActivePage->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    FActivePage->BringToFront();
    FActivePage->SetVisible(true);
  }
  for (TTabSheet* page : FPages)
    if (page != FActivePage) page->SetVisible(false);
  if (FHandle) {
    ++FQuiet;
    SendMessageW(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(FActivePage ? FActivePage->TabIndex() : -1), 0);
    --FQuiet;
  }
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const {
  if (FPages.empty()) return nullptr;
  auto count = static_cast<int>(FPages.size());
  int start = current ? current->PageIndex() : -1;
  if (start < 0) start = goForward ? count - 1 : 0;
  int i = start;
  for (int n = 0; n < count; ++n) {
    i = goForward ? (i + 1) % count : (i + count - 1) % count;
    TTabSheet* page = FPages[static_cast<size_t>(i)];
    if (!checkTabVisible || page->FTabVisible) return page;
  }
  return nullptr;
}

void TPageControl::SelectNextPage(bool goForward, bool checkTabVisible) {
  TTabSheet* page = FindNextPage(FActivePage, goForward, checkTabVisible);
  if (page && page != FActivePage && CanChange()) {
    SetActivePage(page);
    Change();
  }
}

void TPageControl::InsertPage(TTabSheet* page) {
  if (std::find(FPages.begin(), FPages.end(), page) != FPages.end()) return;
  FPages.push_back(page);
  UpdateTabs();
  if (!FActivePage && !ComponentState().Contains(csLoading))
    SetActivePage(page);
  else
    page->SetVisible(page == FActivePage);
}

void TPageControl::RemovePage(TTabSheet* page) {
  auto it = std::find(FPages.begin(), FPages.end(), page);
  if (it == FPages.end()) return;
  TTabSheet* next = FActivePage == page ? FindNextPage(page, true, true) : FActivePage;
  if (next == page) next = nullptr;
  FPages.erase(it);
  page->FPageControl = nullptr;
  if (ComponentState().Contains(csDestroying)) return;
  UpdateTabs();
  if (FActivePage == page) {
    FActivePage = nullptr;
    SetActivePage(next);
  }
}

void TPageControl::MovePage(TTabSheet* page, int index) {
  auto it = std::find(FPages.begin(), FPages.end(), page);
  if (it == FPages.end()) return;
  FPages.erase(it);
  index = std::clamp(index, 0, static_cast<int>(FPages.size()));
  FPages.insert(FPages.begin() + index, page);
  UpdateTabs();
}

void TPageControl::UpdateTabs() {
  if (!FHandle || ComponentState().Contains(csDestroying)) return;
  ++FQuiet;
  SendMessageW(FHandle, TCM_DELETEALLITEMS, 0, 0);
  int tab = 0;
  for (TTabSheet* page : FPages) {
    if (!page->FTabVisible) continue;
    String caption = page->Caption();
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
    item.pszText = const_cast<wchar_t*>(WStr(caption));
    item.iImage = page->FImageIndex;
    item.lParam = reinterpret_cast<LPARAM>(page);
    SendMessageW(FHandle, TCM_INSERTITEMW, static_cast<WPARAM>(tab++), reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(FActivePage ? FActivePage->TabIndex() : -1), 0);
  --FQuiet;
  // More or fewer rows of tabs move the display area.
  Realign();
}

void TPageControl::UpdateTab(TTabSheet*) {
  UpdateTabs();
}

void TPageControl::AdjustClientRect(TRect& rect) const {
  if (FHandle) {
    RECT r = ToRECT(rect);
    SendMessageW(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    rect = FromRECT(r);
    if (rect.Right < rect.Left) rect.Right = rect.Left;
    if (rect.Bottom < rect.Top) rect.Bottom = rect.Top;
    return;
  }
  // Before there is a window: one row of tabs and the frame.
  rect.Top += (FTabHeight > 0 ? FTabHeight : 18) + 4;
  rect.Inflate(-4, -4);
}

void TPageControl::AlignControls(TControl*, TRect& rect) {
  AdjustClientRect(rect);
  for (TTabSheet* page : FPages) page->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
}

void TPageControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_NOTIFY: CNNotify(m); break;
    case WM_ERASEBKGND: DefaultHandler(m); break;
    case CM_FONTCHANGED:
      TWinControl::Dispatch(m);
      Realign();
      break;
    default: TWinControl::Dispatch(m); break;
  }
}

void TPageControl::CNNotify(TMessage& m) {
  auto* header = reinterpret_cast<NMHDR*>(m.LParam);
  m.Result = 0;
  if (!header || FQuiet || ComponentState().Contains(csDestroying)) return;
  switch (header->code) {
    case TCN_SELCHANGING: m.Result = CanChange() ? FALSE : TRUE; break;
    case TCN_SELCHANGE: {
      TTabSheet* page = TabSheetOfTab(static_cast<int>(SendMessageW(FHandle, TCM_GETCURSEL, 0, 0)));
      if (page && page != FActivePage) {
        SetActivePage(page);
        Change();
      }
      break;
    }
    default: break;
  }
}

bool TPageControl::CanChange() {
  bool allow = true;
  if (CanFireEvents() && OnChanging) OnChanging(this, allow);
  return allow;
}

void TPageControl::Change() {
  if (CanFireEvents() && OnChange) OnChange(this);
}

void TPageControl::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FImages) SetImages(nullptr);
  if (component == FActivePage) FActivePage = nullptr;
}

void TPageControl::ImageListChange(TObject*) {
  if (FHandle) {
    SendMessageW(FHandle, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
    Invalidate();
  }
}

void TPageControl::SetImages(TCustomImageList* value) {
  if (!SwitchImageList(*this, FImages, value, FImageChangeLink.get())) return;
  ImageListChange(nullptr);
}

void TPageControl::SetTabHeight(Integer value) {
  if (value == FTabHeight) return;
  FTabHeight = std::max(0, value);
  RecreateWnd();
}

void TPageControl::SetTabWidth(Integer value) {
  if (value == FTabWidth) return;
  FTabWidth = std::max(0, value);
  RecreateWnd();
}

void TPageControl::SetMultiLine(bool value) {
  if (value == FMultiLine) return;
  FMultiLine = value;
  RecreateWnd();
}

void TPageControl::SetHotTrack(bool value) {
  if (value == FHotTrack) return;
  FHotTrack = value;
  RecreateWnd();
}
