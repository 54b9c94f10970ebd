// Collections: ordered lists of items of one item class, owned by the
// collection and streamed as the items' published properties.
#pragma once

#include <memory>
#include <vector>

#include "classes/persistent.h"

class TCollection;

class TCollectionItem : public TPersistent {
  KST_CLASS(TCollectionItem, TPersistent)
 public:
  // The item adds itself to the collection, which then owns it.
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;
  TCollectionItem(const TCollectionItem&) = delete;
  TCollectionItem& operator=(const TCollectionItem&) = delete;

  TCollection* Collection() const { return FCollection; }
  // Moves the item to another collection (or out of any, when null; the
  // caller then owns it).
  void SetCollection(TCollection* collection);
  Integer ID() const { return FID; }
  int Index() const;
  void SetIndex(int index);
  virtual String DisplayName() const;
  virtual void SetDisplayName(const String&) {}

  TPersistent* GetOwner() const override;
  String GetNamePath() const override;

 protected:
  void Changed(bool allItems);

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  Integer FID = 0;
};

class TCollection : public TPersistent {
  KST_CLASS(TCollection, TPersistent)
 public:
  explicit TCollection(const TClassInfo& itemClass);
  ~TCollection() override;
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;

  const TClassInfo& ItemClass() const { return *FItemClass; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TCollectionItem* Items(int index) const;
  TCollectionItem* Add();
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();
  TCollectionItem* FindItemID(Integer id) const;
  void Exchange(int index1, int index2);

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  void Assign(const TPersistent* source) override;
  String GetNamePath() const override;
  // The name of the property of the owner that holds this collection, for name paths.
  String PropName() const;

 protected:
  // A change to one item (or to the whole collection when item is null).
  virtual void Update(TCollectionItem*) {}
  virtual void Notify(TCollectionItem*, bool /*added*/) {}
  void Changed();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);

  const TClassInfo* FItemClass;
  std::vector<TCollectionItem*> FItems;  // owned
  Integer FNextID = 0;
  int FUpdateCount = 0;
};

class TOwnedCollection : public TCollection {
  KST_CLASS(TOwnedCollection, TCollection)
 public:
  TOwnedCollection(TPersistent* owner, const TClassInfo& itemClass) : TCollection(itemClass), FOwner(owner) {}
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
};
