// The outlook bar: a container whose upper area holds the selected item's
// page and whose lower part shows the items as large glass buttons above a
// toolbar row of small ones. Dragging the splitter between the page area
// and the buttons chooses how many are large; the rest sit right-aligned in
// the toolbar row. Items are read from forms.
#pragma once

#include "ui/winapi.h"

#include <memory>
#include <vector>

#include "classes/collection.h"
#include "panelkit/colorschemes.h"
#include "panelkit/navlayout.h"
#include "panelkit/win32/collection.h"
#include "ui/controls.h"
#include "ui/imglist.h"

enum TOutlookBarStyle { osOffice2007, osWindowsLive };
enum TOutlookBarOption { boOptionsMenu };
using TOutlookBarOptions = TSet<TOutlookBarOption>;
// The tool box unit's own item states and order of drawing options, apart
// from the image lists' and the shared classes' names alike.
namespace pxtoolbox {
enum TItemDrawStyleItem { dsDown, dsHover, dsSelected };
enum TDrawingOptions { doBackgroundOnly, doNormal, doCustom, doCustomOnly };
}  // namespace pxtoolbox
using TItemDrawStyle = TSet<pxtoolbox::TItemDrawStyleItem>;
const TTypeInfo& DescribeType(TypeTag<TOutlookBarStyle>);
const TTypeInfo& DescribeType(TypeTag<TOutlookBarOption>);
const TTypeInfo& DescribeType(TypeTag<TOutlookBarOptions>);
const TTypeInfo& DescribeType(TypeTag<pxtoolbox::TDrawingOptions>);

class TPxOutlookBar;
class TPxOutlookBarItem;

using TCustomDrawItemEvent =
    TDelegate<void(TObject* Sender, TPxOutlookBarItem* Item, const TRect& ItemRect, TItemDrawStyle DrawStyle)>;

class TPxOutlookBarItem : public TCollectionItem {
  KST_CLASS(TPxOutlookBarItem, TCollectionItem)
 public:
  explicit TPxOutlookBarItem(TCollection* collection);
  ~TPxOutlookBarItem() override;
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& value);
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  TObject* ObjectReference() const { return FObjectReference; }
  void SetObjectReference(TObject* value) { FObjectReference = value; }
  TPxOutlookBar* Bar() const;
  void Assign(const TPersistent* source) override;

 private:
  void Refresh();
  bool FVisible = true;
  String FCaption;
  Integer FImageIndex = -1;
  TObject* FObjectReference = nullptr;
  TColor FColor = clBtnFace;
};

class TPxOutlookBarItems : public TCollection {
  KST_CLASS(TPxOutlookBarItems, TCollection)
 public:
  explicit TPxOutlookBarItems(TPxOutlookBar* owner = nullptr);
  TPxOutlookBarItem* Items(int index) const { return static_cast<TPxOutlookBarItem*>(TCollection::Items(index)); }
  TPxOutlookBarItem* Add();
  TPersistent* GetOwner() const override;
  TPxOutlookBar* Bar() const { return FOwner; }
  Integer VisibleCount() const { return FVisibleCount; }

 protected:
  void Notify(TCollectionItem* item, bool added) override;

 private:
  friend class TPxOutlookBarItem;
  TPxOutlookBar* FOwner;
  Integer FVisibleCount = 0;
};

class TPxOutlookBar : public TCustomControl {
  KST_CLASS(TPxOutlookBar, TCustomControl)
 public:
  explicit TPxOutlookBar(TComponent* owner);
  ~TPxOutlookBar() override;

  bool AdaptiveColors() const { return FAdaptiveColors; }
  void SetAdaptiveColors(bool value);
  TColorScheme ColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme value);
  Integer DisplayCount() const { return FDisplayCount; }
  void SetDisplayCount(Integer value);
  pxtoolbox::TDrawingOptions DrawingOptions() const { return FDrawingOptions; }
  void SetDrawingOptions(pxtoolbox::TDrawingOptions value);
  TPxMargins* GetInnerMargins() const { return FInnerMargins.get(); }
  void SetInnerMargins(const TPxMargins* value) { FInnerMargins->Assign(value); }
  Integer ItemHeight() const { return FItemHeight; }
  void SetItemHeight(Integer value);
  Integer ItemIndex() const { return FItemIndex; }
  void SetItemIndex(Integer value);
  TPxOutlookBarItems& Items() const { return *FItems; }
  TPxOutlookBarItems* GetItems() const { return FItems.get(); }
  void SetItems(const TPxOutlookBarItems* value) { FItems->Assign(value); }
  // Watched: a freed image list is let go of.
  TCustomImageList* LargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* value);
  TCustomImageList* SmallImages() const { return FSmallImages; }
  void SetSmallImages(TCustomImageList* value);
  TOutlookBarOptions Options() const { return FOptions; }
  void SetOptions(TOutlookBarOptions value);
  Integer SplitterHeight() const { return FSplitterHeight; }
  void SetSplitterHeight(Integer value);
  TOutlookBarStyle Style() const { return FStyle; }
  void SetStyle(TOutlookBarStyle value);
  Integer TextIndent() const { return FTextIndent; }
  void SetTextIndent(Integer value);
  Integer ToolbarHeight() const { return FToolbarHeight; }
  void SetToolbarHeight(Integer value);
  TPxOutlookBarItem* Selected() const { return FSelected; }
  void SetSelected(TPxOutlookBarItem* value);
  TPxOutlookBarItem* HoverItem() const { return FHoverItem; }
  TPxOutlookBarItem* DownItem() const { return FDownItem; }
  bool Sizing() const { return FSizing; }
  Integer ButtonsHeight() const { return FButtonsHeight; }

  TRect GetSplitterRect() const;
  TPxOutlookBarItem* GetItemAtPos(Integer x, Integer y) const;
  TRect GetItemRect(const TPxOutlookBarItem* item) const;
  // Whether the item sits in the toolbar row now.
  bool IsToolButton(const TPxOutlookBarItem* item) const;
  void RefreshItem(const TPxOutlookBarItem* item);
  void RefreshHorzItems();
  void UpdateHeight();
  // Forgets an item on its way out.
  void ItemRemoved(const TPxOutlookBarItem* item);

  // Shrunk by the inner margins and by the lower part.
  void AdjustClientRect(TRect& rect) const override;

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;

 protected:
  void Loaded() override;
  void CreateWnd() override;
  void Paint() override;
  void Dispatch(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  void KeyDown(Word& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void CMMouseLeave(TMessage& message) override;
  virtual Integer GetToolButtonWidth() const;
  virtual void DrawItemBackground(TCanvas& canvas, TColor color, const TRect& rect, bool isToolButton,
                                  TItemDrawStyle state);
  virtual void DrawItemContent(TCanvas& canvas, const TRect& rect, const TPxOutlookBarItem* item, bool isToolButton,
                               TItemDrawStyle state);
  virtual void DrawSplitter(TCanvas& canvas, const TRect& rect);
  virtual void DrawToolbar(TCanvas& canvas, const TRect& rect);
  virtual void GetItemColors(TItemDrawStyle state, TColorScheme scheme, TColor& bottomColor, TColor& topColor) const;
  virtual void DoChange();
  virtual void DoSelect();

 private:
  TOutlookMetrics Metrics() const;
  std::vector<TPxOutlookBarItem*> VisibleItems() const;
  void DrawOneItem(TCanvas& canvas, TPxOutlookBarItem* item, const TRect& rect, bool isToolButton);
  void MarginsChanged(TObject*);
  void SetHover(TPxOutlookBarItem* item);
  void SetDown(TPxOutlookBarItem* item);

  bool FAdaptiveColors = true;
  Integer FButtonsHeight = 0;
  TColorScheme FColorScheme = csDefault;
  Integer FDisplayCount = 0;
  TPxOutlookBarItem* FDownItem = nullptr;
  pxtoolbox::TDrawingOptions FDrawingOptions = pxtoolbox::doNormal;
  TPxOutlookBarItem* FHoverItem = nullptr;
  std::unique_ptr<TPxMargins> FInnerMargins;
  Integer FItemHeight = 31;
  Integer FItemIndex = 0;
  std::unique_ptr<TPxOutlookBarItems> FItems;
  TCustomImageList* FLargeImages = nullptr;
  TOutlookBarOptions FOptions{boOptionsMenu};
  TPxOutlookBarItem* FSelected = nullptr;
  bool FSizing = false;
  TPoint FSizingPoint;
  TCustomImageList* FSmallImages = nullptr;
  Integer FSplitterHeight = 9;
  TOutlookBarStyle FStyle = osOffice2007;
  Integer FTextIndent = 35;
  Integer FToolbarHeight = 30;
};
