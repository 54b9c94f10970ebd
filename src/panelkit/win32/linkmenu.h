// The link menu: a task pane of sections, each a header (glyph, bold
// caption, expand button) over a list of link items while expanded.
// Clicking a header folds or unfolds its section, clicking an item reports
// it; the content scrolls vertically. Sections and items are read from
// forms.
#pragma once

#include "ui/winapi.h"

#include <uxtheme.h>

#include <memory>
#include <vector>

#include "classes/collection.h"
#include "panelkit/navlayout.h"
#include "panelkit/win32/collection.h"
#include "panelkit/win32/vertscroll.h"
#include "ui/imglist.h"

enum TShowingItem { siLink, siShowImage };
using TShowingItems = TSet<TShowingItem>;
const TTypeInfo& DescribeType(TypeTag<TShowingItem>);
const TTypeInfo& DescribeType(TypeTag<TShowingItems>);

class TPxLinkMenu;
class TPxSection;
class TPxSectionItem;

using TItemClickEvent = TDelegate<void(TObject* Sender, TPxSectionItem* Item)>;
const TTypeInfo& DescribeType(TypeTag<TItemClickEvent>);
using TPxSectionClickEvent = TDelegate<void(TObject* Sender, Integer Section)>;
const TMethodTypeInfo& SectionClickEventType();

class TPxSectionItem : public TCollectionItem {
  KST_CLASS(TPxSectionItem, TCollectionItem)
 public:
  explicit TPxSectionItem(TCollection* collection);
  ~TPxSectionItem() override;
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer value);
  TShowingItems Options() const { return FOptions; }
  void SetOptions(TShowingItems value);
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(const TFont* value) { FFont->Assign(value); }
  // The section whose list holds the item.
  TPxSection* Section() const;
  TPxLinkMenu* Menu() const;
  void Assign(const TPersistent* source) override;
  virtual void Refresh();

 private:
  void FontChanged(TObject*) { Refresh(); }
  String FCaption;
  Integer FImageIndex = -1;
  TShowingItems FOptions{siLink, siShowImage};
  std::unique_ptr<TFont> FFont;
};

class TPxSectionItems : public TCollection {
  KST_CLASS(TPxSectionItems, TCollection)
 public:
  explicit TPxSectionItems(TPxSection* owner = nullptr);
  TPxSectionItem* Items(int index) const { return static_cast<TPxSectionItem*>(TCollection::Items(index)); }
  TPxSectionItem* Add() { return static_cast<TPxSectionItem*>(TCollection::Add()); }
  TPersistent* GetOwner() const override;
  TPxSection* Section() const { return FOwner; }

 protected:
  void Notify(TCollectionItem* item, bool added) override;

 private:
  TPxSection* FOwner;
};

class TPxSection : public TCollectionItem {
  KST_CLASS(TPxSection, TCollectionItem)
 public:
  explicit TPxSection(TCollection* collection);
  ~TPxSection() override;
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& value) { FCaption = value; }
  bool Expanded() const { return FExpanded; }
  void SetExpanded(bool value);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(const TBitmap* value);
  TPxSectionItems& Items() const { return *FItems; }
  TPxSectionItems* GetItems() const { return FItems.get(); }
  void SetItems(const TPxSectionItems* value) { FItems->Assign(value); }
  TPxMargins* GetSectionMargins() const { return FSectionMargins.get(); }
  void SetSectionMargins(const TPxMargins* value) { FSectionMargins->Assign(value); }
  bool Special() const { return FSpecial; }
  void SetSpecial(bool value) { FSpecial = value; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor value);
  TPxLinkMenu* Menu() const;
  void Assign(const TPersistent* source) override;

 private:
  void ApplyTransparency();
  void GlyphChanged(TObject*);
  String FCaption;
  bool FExpanded = true;
  std::unique_ptr<TBitmap> FGlyph;
  std::unique_ptr<TPxSectionItems> FItems;
  std::unique_ptr<TPxMargins> FSectionMargins;
  bool FTransparent = false;
  TColor FTransparentColor = clNone;
  bool FSpecial = false;
};

class TPxSections : public TCollection {
  KST_CLASS(TPxSections, TCollection)
 public:
  explicit TPxSections(TPxLinkMenu* owner = nullptr);
  TPxSection* Items(int index) const { return static_cast<TPxSection*>(TCollection::Items(index)); }
  TPxSection* Add() { return static_cast<TPxSection*>(TCollection::Add()); }
  TPersistent* GetOwner() const override;
  TPxLinkMenu* Menu() const { return FOwner; }

 protected:
  void Notify(TCollectionItem* item, bool added) override;

 private:
  TPxLinkMenu* FOwner;
};

class TPxLinkMenu : public TPxVertScrollControl {
  KST_CLASS(TPxLinkMenu, TPxVertScrollControl)
 public:
  explicit TPxLinkMenu(TComponent* owner);
  ~TPxLinkMenu() override;

  Integer HeaderSize() const { return FHeaderSize; }
  void SetHeaderSize(Integer value);
  // Watched: a freed image list is let go of.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* value);
  TPxMargins* GetInnerMargins() const { return FInnerMargins.get(); }
  void SetInnerMargins(const TPxMargins* value) { FInnerMargins->Assign(value); }
  Integer ItemSize() const { return FItemSize; }
  void SetItemSize(Integer value);
  TPxSections& Sections() const { return *FSections; }
  TPxSections* GetSections() const { return FSections.get(); }
  void SetSections(const TPxSections* value) { FSections->Assign(value); }
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer value) { FSpacing = value; }
  TPxSection* HoverSection() const { return FHoverSection; }
  TPxSectionItem* HoverSectionItem() const { return FHoverSectionItem; }

  Integer GetItemsHeight(const TPxSection* section) const;
  TRect GetSectionHeaderRect(const TPxSection* section) const;
  TRect GetSectionRect(const TPxSection* section) const;
  TPxSection* GetSectionAtPos(Integer x, Integer y) const;
  TPxSectionItem* GetSectionItemAtPos(Integer x, Integer y) const;
  TPxSectionItem* GetSectionItem(Integer section, Integer item) const;
  Integer GetSectionItemLeft(const TPxSectionItem* item);
  TRect GetSectionItemRefreshRect(const TPxSectionItem* item);
  TRect GetButtonRect(const TRect& headerRect) const;
  Integer GetTotalHeigth() const;

  virtual void RefreshItem(const TPxSectionItem* item);
  virtual void RefreshSection(const TPxSection* section);
  // Moves what lies below a section that has just been folded or unfolded.
  virtual void ScrollSection(bool expanded, Integer index);
  // Forgets a section or an item on its way out.
  void EntryRemoved(const TCollectionItem* entry);

  TItemClickEvent OnItemClick;
  TPxSectionClickEvent OnSectionClick;

 protected:
  void CreateWnd() override;
  void DestroyWnd() override;
  void Paint() override;
  void Dispatch(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void CMMouseLeave(TMessage& message) override;
  virtual void DoItemClick(TPxSectionItem* item);
  virtual void DoSectionClick(Integer index);
  virtual void DrawArrows(TCanvas& canvas, Integer x, Integer y, bool expanded, bool special);
  virtual void DrawSectionButton(TCanvas& canvas, const TPxSection* section, const TRect& headerRect);

 private:
  std::vector<TLinkSectionShape> Shapes() const;
  TLinkMenuMetrics Metrics() const;
  Integer SectionTop(const TPxSection* section) const;
  void UpdateScrollRange();
  void DrawHeader(TCanvas& canvas, const TPxSection* section, Integer y);
  void DrawItem(TCanvas& canvas, const TPxSectionItem* item, TRect r);
  void MarginsChanged(TObject*) { Invalidate(); }
  // The explorer bar's parts over the rectangle.
  void DrawPart(TCanvas& canvas, const TRect& rect, int part);
  void CloseTheme();

  Integer FHeaderSize = 25;
  TPxSection* FHoverSection = nullptr;
  TPxSectionItem* FHoverSectionItem = nullptr;
  TCustomImageList* FImages = nullptr;
  std::unique_ptr<TPxMargins> FInnerMargins;
  Integer FItemSize = 20;
  TPxSectionItem* FOldHoverItem = nullptr;
  TPxSection* FOldHoverSection = nullptr;
  std::unique_ptr<TPxSections> FSections;
  Integer FSpacing = 10;
  // The "explorerbar" styles while the window lives; null without them
  // (also where the styles in force lack that class): the classic look.
  HTHEME FTheme = nullptr;
};
