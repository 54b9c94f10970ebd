// The action manager family: an action list that also describes its bars
// (which actions stand on which tool bar or menu bar, nested for menus), the
// tool bar and the main menu bar drawn from that description, and the
// pop-up menu of the family. A previewed manager never reads the file its
// FileName names.
#pragma once

#include <memory>

#include "classes/collection.h"
#include "rtl/stringlist.h"
#include "ui/actnlist.h"
#include "ui/controls.h"
#include "ui/menus.h"
#include "ui/toolbar.h"

class TCustomActionBar;
class TActionManager;

namespace actnman {
enum TChangesAllowed { caModify, caMove, caDelete };
enum TCommandStyle { csStandard, csSeparator, csMenu, csButton, csComboBox, csControl, csText };
enum TActionManagerState { asNormal, asSuspended, asSuspendedEnabled };
enum TBarOrientation { boLeftToRight, boRightToLeft, boTopToBottom, boBottomToTop };
}  // namespace actnman
using actnman::TActionManagerState;
using actnman::TBarOrientation;
using actnman::TChangesAllowed;
using actnman::TCommandStyle;
using TChangesAllowedSet = TSet<TChangesAllowed>;
const TTypeInfo& DescribeType(TypeTag<TChangesAllowed>);
const TTypeInfo& DescribeType(TypeTag<TChangesAllowedSet>);
const TTypeInfo& DescribeType(TypeTag<TCommandStyle>);
const TTypeInfo& DescribeType(TypeTag<TActionManagerState>);
const TTypeInfo& DescribeType(TypeTag<TBarOrientation>);

class TActionClients;

// What an entry shown as a control (a combo box or an edit on the bar)
// stores of that control; kept as read, since a preview places no control.
class TCommandProperties : public TPersistent {
  KST_CLASS(TCommandProperties, TPersistent)
 public:
  Integer Width = 0, LabelWidth = 0;
  void Assign(const TPersistent* source) override;
};

// One entry of a bar: an action (or a caption of its own) and, for a menu,
// the entries below it.
class TActionClientItem : public TCollectionItem {
  KST_CLASS(TActionClientItem, TCollectionItem)
 public:
  explicit TActionClientItem(TCollection* collection);
  ~TActionClientItem() override;
  TContainedAction* Action() const { return FAction; }
  void SetAction(TContainedAction* action);
  String Caption, KeyTip, LastSession;
  Integer ImageIndex = -1, Tag = 0, UsageCount = 0, ShortCut = 0;
  bool Visible = true, ShowCaption = true, ShowGlyph = true, ShowShortCut = true;
  TChangesAllowedSet ChangesAllowed{actnman::caModify, actnman::caMove, actnman::caDelete};
  TCommandStyle CommandStyle = actnman::csStandard;
  TActionClients* GetItems() const { return FItems.get(); }
  void SetItems(const TActionClients* items);
  TCommandProperties* CommandProperties() const { return FCommandProperties.get(); }
  // What the entry shows: its own caption, else its action's.
  String ShownCaption() const;
  String DisplayName() const override;
  void Assign(const TPersistent* source) override;
  // The manager forgets an action that goes.
  void ActionGone(TComponent* action);

 private:
  TContainedAction* FAction = nullptr;
  std::unique_ptr<TActionClients> FItems;
  std::unique_ptr<TCommandProperties> FCommandProperties;
};

class TActionClients : public TOwnedCollection {
  KST_CLASS(TActionClients, TOwnedCollection)
 public:
  explicit TActionClients(TPersistent* owner = nullptr);
  TActionClientItem* Items(int index) const { return static_cast<TActionClientItem*>(TCollection::Items(index)); }
};

// One bar of the manager and what stands on it.
class TActionBarItem : public TCollectionItem {
  KST_CLASS(TActionBarItem, TCollectionItem)
 public:
  explicit TActionBarItem(TCollection* collection);
  ~TActionBarItem() override;
  TCustomActionBar* ActionBar() const { return FActionBar; }
  void SetActionBar(TCustomActionBar* bar);
  String Caption;
  bool AutoSize = true, Visible = true;
  TColor Color = clDefault;
  TChangesAllowedSet ChangesAllowed{actnman::caModify, actnman::caMove, actnman::caDelete};
  TActionClients* GetItems() const { return FItems.get(); }
  void SetItems(const TActionClients* items);
  TActionClients* GetContextItems() const { return FContextItems.get(); }
  void SetContextItems(const TActionClients* items);
  void Assign(const TPersistent* source) override;
  void BarGone() { FActionBar = nullptr; }

 private:
  TCustomActionBar* FActionBar = nullptr;
  std::unique_ptr<TActionClients> FItems, FContextItems;
};

class TActionBars : public TOwnedCollection {
  KST_CLASS(TActionBars, TOwnedCollection)
 public:
  explicit TActionBars(TActionManager* manager = nullptr);
  TActionBarItem* Items(int index) const { return static_cast<TActionBarItem*>(TCollection::Items(index)); }

 protected:
  void Update(TCollectionItem* item) override;
};

// An action list of another form part the manager takes actions from.
class TActionListItem : public TCollectionItem {
  KST_CLASS(TActionListItem, TCollectionItem)
 public:
  explicit TActionListItem(TCollection* collection) : TCollectionItem(collection) {}
  TCustomActionList* ActionList = nullptr;
  String Caption;
};

class TActionListCollection : public TOwnedCollection {
  KST_CLASS(TActionListCollection, TOwnedCollection)
 public:
  explicit TActionListCollection(TActionManager* manager = nullptr);
};

class TActionManager : public TActionList {
  KST_CLASS(TActionManager, TActionList)
 public:
  explicit TActionManager(TComponent* owner);
  ~TActionManager() override;
  TActionBars* GetActionBars() const { return FActionBars.get(); }
  void SetActionBars(const TActionBars* bars);
  TActionListCollection* GetLinkedActionLists() const { return FLinkedActionLists.get(); }
  void SetLinkedActionLists(const TActionListCollection* lists);
  TStrings* GetPrioritySchedule() const { return FPrioritySchedule.get(); }
  void SetPrioritySchedule(const TStrings* schedule);
  // Kept as the form names it; never read.
  String FileName, StyleName;
  TActionManagerState State = actnman::asNormal;
  TCustomImageList* LargeImages = nullptr;
  // The bar item that describes a bar (null when none does).
  TActionBarItem* FindItemFor(const TCustomActionBar* bar) const;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::unique_ptr<TActionBars> FActionBars;
  std::unique_ptr<TActionListCollection> FLinkedActionLists;
  std::unique_ptr<TStringList> FPrioritySchedule;
};

// The colours a bar of the family draws with.
class TActionBarColorMap : public TPersistent {
  KST_CLASS(TActionBarColorMap, TPersistent)
 public:
  TColor BtnFrameColor = clDefault, BtnSelectedColor = clBtnFace, BtnSelectedFont = clWindowText;
  TColor Color = clBtnFace, DisabledColor = clDefault, DisabledFontColor = clGrayText;
  TColor DisabledFontShadow = clBtnHighlight, FontColor = clWindowText, FrameBottomRightInner = clBtnShadow;
  TColor FrameBottomRightOuter = clBtnShadow, FrameTopLeftInner = clBtnHighlight, FrameTopLeftOuter = clBtnHighlight;
  TColor HighlightColor = clHighlight, HotColor = clDefault, HotFontColor = clDefault, MenuColor = clMenu;
  TColor SelectedColor = clHighlight, SelectedFontColor = clHighlightText, ShadowColor = clBtnShadow;
  TColor UnusedColor = clWhite;
};

// A bar drawn from the manager's description of it: the entries one after
// another, each its caption (and image).
class TCustomActionBar : public TCustomControl {
  KST_CLASS(TCustomActionBar, TCustomControl)
 public:
  explicit TCustomActionBar(TComponent* owner);
  ~TCustomActionBar() override;
  TActionManager* ActionManager() const { return FActionManager; }
  void SetActionManager(TActionManager* manager);
  TActionBarColorMap* GetColorMap() const { return FColorMap.get(); }
  void SetColorMap(const TActionBarColorMap* map);
  bool AllowHiding = true, PersistentHotKeys = false;
  Integer HorzMargin = 1, VertMargin = 1, Spacing = 0;
  TBarOrientation Orientation = actnman::boLeftToRight;
  TEdgeBorders EdgeBorders;
  TEdgeStyle EdgeInner = esRaised, EdgeOuter = esLowered;
  // Where each entry stands, in the order of the bar's description.
  std::vector<std::pair<TRect, TActionClientItem*>> Entries();

 protected:
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;
  // The room around an entry's caption.
  virtual Integer EntryPadding() const { return 12; }

 private:
  TActionManager* FActionManager = nullptr;
  std::unique_ptr<TActionBarColorMap> FColorMap;
};

class TActionToolBar : public TCustomActionBar {
  KST_CLASS(TActionToolBar, TCustomActionBar)
 public:
  explicit TActionToolBar(TComponent* owner);
};

class TActionMainMenuBar : public TCustomActionBar {
  KST_CLASS(TActionMainMenuBar, TCustomActionBar)
 public:
  explicit TActionMainMenuBar(TComponent* owner);
  // The menu font of the system instead of the form's (kept; the preview
  // draws with the bar's font).
  bool UseSystemFont = true;

 protected:
  Integer EntryPadding() const override { return 14; }
  void Paint() override;
};

// The pop-up menu of the family: a pop-up menu of the form's items.
class TPopupActionBar : public TPopupMenu {
  KST_CLASS(TPopupActionBar, TPopupMenu)
 public:
  using TPopupMenu::TPopupMenu;
};

void RegisterActionManagerClasses(TClassRegistry& registry);
