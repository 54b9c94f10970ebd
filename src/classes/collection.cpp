#include "classes/collection.h"

#include <algorithm>

#include "rtl/unicode.h"

KST_CLASS_IMPL(TCollectionItem, "Classes")
KST_CLASS_IMPL(TCollection, "Classes")
KST_CLASS_IMPL(TOwnedCollection, "Classes")

namespace {

[[noreturn]] void IndexError(int index) {
  throw EListError(u"List index out of bounds (" + UTF8ToString(std::to_string(index)) + u")");
}

}  // namespace

void TCollectionItem::Describe(TClassBuilder<TCollectionItem>&) {}
void TCollection::Describe(TClassBuilder<TCollection>&) {}
void TOwnedCollection::Describe(TClassBuilder<TOwnedCollection>&) {}

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem() {
  if (FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* collection) {
  if (collection == FCollection) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (collection) collection->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!FCollection) return -1;
  auto& items = FCollection->FItems;
  return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int index) {
  int current = Index();
  if (current < 0 || index == current) return;
  auto& items = FCollection->FItems;
  if (index < 0) index = 0;
  if (index >= static_cast<int>(items.size())) index = static_cast<int>(items.size()) - 1;
  items.erase(items.begin() + current);
  items.insert(items.begin() + index, this);
  Changed(true);
}

String TCollectionItem::DisplayName() const { return ClassName(); }

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

String TCollectionItem::GetNamePath() const {
  if (!FCollection) return ClassName();
  return FCollection->GetNamePath() + u"[" + UTF8ToString(std::to_string(Index())) + u"]";
}

void TCollectionItem::Changed(bool allItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(allItems ? nullptr : this);
}

TCollection::TCollection(const TClassInfo& itemClass) : FItemClass(&itemClass) {}

TCollection::~TCollection() {
  FUpdateCount = 1;  // no change notifications into a class that is half gone
  Clear();
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return FItems[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::Add() {
  auto* item = dynamic_cast<TCollectionItem*>(FItemClass->CreateItem(*this));
  if (!item) throw EInvalidOperation(u"Invalid collection item class " + FItemClass->ClassName());
  return item;
}

TCollectionItem* TCollection::Insert(int index) {
  TCollectionItem* item = Add();
  item->SetIndex(index);
  return item;
}

void TCollection::Delete(int index) { delete Items(index); }

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  while (!FItems.empty()) delete FItems.back();
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(Integer id) const {
  for (TCollectionItem* item : FItems)
    if (item->FID == id) return item;
  return nullptr;
}

void TCollection::Exchange(int index1, int index2) {
  Items(index1);
  Items(index2);
  std::swap(FItems[static_cast<size_t>(index1)], FItems[static_cast<size_t>(index2)]);
  Changed();
}

void TCollection::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item) {
  FItems.push_back(item);
  item->FCollection = this;
  item->FID = FNextID++;
  Notify(item, true);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
  Notify(item, false);
  FItems.erase(std::remove(FItems.begin(), FItems.end(), item), FItems.end());
  item->FCollection = nullptr;
  Changed();
}

void TCollection::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TCollection*>(source)) {
    BeginUpdate();
    try {
      Clear();
      for (TCollectionItem* item : other->FItems) Add()->Assign(item);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

String TCollection::PropName() const {
  TPersistent* owner = GetOwner();
  if (!owner) return {};
  for (const TPropInfo* p : owner->ClassType()->AllProperties())
    if (p->Kind() == tkClass && p->IsReadable() && p->Access().GetObject(*owner) == this) return p->Name();
  return {};
}

String TCollection::GetNamePath() const {
  TPersistent* owner = GetOwner();
  if (!owner) return ClassName();
  String path = owner->GetNamePath();
  String prop = PropName();
  if (path.empty() || prop.empty()) return ClassName();
  return path + u"." + prop;
}
