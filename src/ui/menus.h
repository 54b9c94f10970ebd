// Menus: the menu bar of a form, pop-up menus and their items on menus of
// the system, short-cut keys, owner-drawn items with images, and the menus
// of MDI documents merged into the frame's bar by group index.
//
// A menu's items are components owned by the form like any other; the
// form file lists them as children of the menu and of each other, and the
// reader gives each its parent item through SetParentComponent.
#pragma once

#include <memory>
#include <vector>

#include "classes/component.h"
#include "rtl/geometry.h"
#include "ui/imglist.h"
#include "ui/messages.h"

KST_DECLARE_EXCEPTION(EMenuError, Exception);

class TControl;
class TMenu;
class TBitmap;

// Where an item starts a new column of its menu.
enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
const TTypeInfo& DescribeType(TypeTag<TMenuBreak>);
// Whether a menu gives its items access keys of their own.
enum TMenuAutoFlag { maAutomatic, maManual, maParent };
const TTypeInfo& DescribeType(TypeTag<TMenuAutoFlag>);
class TMenuItem;
class TBasicAction;
class TBasicActionLink;

// TShortCut as forms store it: an integer type of its own.
const TOrdinalTypeInfo& ShortCutType();

// ShortCut, ShortCutToKey and ShortCutToText are the run-time library's.
// The reverse of ShortCutToText ("Ctrl+O", "Alt+BkSp"), without regard to case; also takes the long key names
// ("Backspace", "Insert", "Delete", "PageUp"). 0 when the text names none.
TShortCut TextToShortCut(const String& text);
// The short-cut a key-down message stands for (the modifiers held now).
TShortCut ShortCutFromMessage(const TMessage& message);

// The caption without its accelerator marks ("&&" stays one "&").
String StripHotkey(const String& caption);

class TMenuItem : public TComponent {
  KST_CLASS(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& value);
  bool IsLine() const { return FCaption == u"-"; }
  bool Checked() const { return FChecked; }
  void SetChecked(bool value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  bool Default() const { return FDefault; }
  void SetDefault(bool value);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool value);
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool value) { FAutoCheck = value; }
  Byte GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Byte value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& value) { FHint = value; }
  Integer HelpContext() const { return FHelpContext; }
  void SetHelpContext(Integer value) { FHelpContext = value; }

  // The action whose caption, state, image and short-cut the item shows and
  // which a click runs.
  TBasicAction* Action() const;
  void SetAction(TBasicAction* action);

  // ---- The tree ----
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int index) const;
  TMenuItem* Parent() const { return FParent; }
  // The menu whose tree this item is in (nullptr when it is in none).
  TMenu* GetParentMenu() const;
  int MenuIndex() const;
  void SetMenuIndex(int index);
  int IndexOf(const TMenuItem* item) const;
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  // Takes the item out (the caller or its owner then frees it).
  void Remove(TMenuItem* item);
  // Frees the item at the index.
  void Delete(int index);
  // Frees every sub-item.
  void Clear();
  // The first sub-item with that caption (accelerator marks ignored).
  TMenuItem* Find(const String& caption) const;

  // The command number of the item on menus of the system.
  Word Command() const { return FCommand; }
  // The system's sub-menu of the item, made on first use (only items with sub-items have one).
  HMENU Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }

  // What a click on the item does: the action, or OnClick; a check item
  // with AutoCheck changes its state first.
  virtual void Click();
  // Updates the item's action and those of the sub-items (before the item opens).
  void InitiateActions();

  TNotifyEvent OnClick;

  // Streaming: sub-items owned by the root are listed under their parent item.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;

 protected:
  friend class TMenu;
  friend class TMainMenu;
  friend class TPopupMenu;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  // The action changed: the item takes what it shows from it.
  virtual void ActionChange(TBasicAction* action);
  // Something the system's menu shows changed: the parent's menu is made again.
  void MenuChanged(bool rebuild);
  // Puts the sub-items (visible ones) into the system's menu.
  void RebuildHandle();
  // The text the system's menu shows: caption, then the short-cut after a tab.
  TMenuBreak Break() const { return FBreak; }
  void SetBreak(TMenuBreak value);
  // The picture shown beside the caption when no image list gives one.
  TBitmap* GetBitmap() const;
  void SetBitmap(const TBitmap* bitmap);
  String ImageName;
  TMenuAutoFlag AutoHotkeys = maParent, AutoLineReduction = maParent;
  TNotifyEvent OnDrawItem, OnMeasureItem, OnAdvancedDrawItem;

  String MenuText() const;

 protected:
  // The oldest IDE wrote the short-cut as its text ("Ctrl+I").
  void DefineProperties(TFiler& filer) override;

 private:
  void ActionLinkChanged(TObject*);
  void ReleaseHandle();
  String FCaption;
  TMenuBreak FBreak = mbNone;
  std::unique_ptr<TBitmap> FBitmap;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FDefault = false;
  bool FRadioItem = false;
  bool FAutoCheck = false;
  Byte FGroupIndex = 0;
  Integer FImageIndex = -1;
  TShortCut FShortCut = 0;
  String FHint;
  Integer FHelpContext = 0;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on the root item of a menu only
  std::vector<TMenuItem*> FItems;
  HMENU FHandle = nullptr;
  Word FCommand = 0;
  std::unique_ptr<TBasicActionLink> FActionLink;
};

class TMenu : public TComponent {
  KST_CLASS(TMenu, TComponent)
 public:
  explicit TMenu(TComponent* owner);
  TMenuAutoFlag AutoHotkeys = maAutomatic, AutoLineReduction = maAutomatic;
  ~TMenu() override;

  // The root item: its sub-items are the menu's entries.
  TMenuItem* Items() const { return FItems.get(); }
  // The system's menu (a bar for a main menu, a pop-up menu otherwise).
  HMENU Handle() { return FItems->Handle(); }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* images);
  // Items draw themselves, with their images.
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool value);

  // Runs the item whose short-cut the key-down message stands for; true
  // when one did.
  virtual bool IsShortCut(const TMessage& message);
  // The item of a command number, or nullptr.
  TMenuItem* FindItem(UINT command) const;
  // Whether the item is one of this menu's (searched through the tree).
  bool ContainsItem(const TMenuItem* item) const;
  // Runs the item of the command; true when there was one.
  bool DispatchCommand(UINT command);
  // The system asks an owner-drawn item's size or has it drawn; true when
  // the item is one of this menu's.
  bool MeasureItem(MEASUREITEMSTRUCT& measure);
  bool DrawItem(const DRAWITEMSTRUCT& draw);
  // A sub-menu of this menu is about to open: its items' actions update.
  bool InitMenuPopup(HMENU menu);

  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;

 protected:
  friend class TMenuItem;
  // An item of the first level changed what the system shows.
  virtual void MenuChanged(TMenuItem* source, bool rebuild);
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  std::unique_ptr<TMenuItem> FItems;

 private:
  void ImageListChange(TObject*);
  TCustomImageList* FImages = nullptr;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  bool FOwnerDraw = false;
};

// The menu bar of a form. An MDI document's main menu is not shown on the
// document: its items join the frame's bar while the document is active.
class TMainMenu : public TMenu {
  KST_CLASS(TMainMenu, TMenu)
 public:
  explicit TMainMenu(TComponent* owner);
  ~TMainMenu() override;
  // The window whose bar this menu is (set by the form).
  HWND WindowHandle() const { return FWindowHandle; }
  void SetWindowHandle(HWND window);
  // Puts the items of another menu into the bar: they replace the items of
  // the same group index and stand among the others in group order.
  void Merge(TMainMenu* menu);
  void Unmerge(TMainMenu* menu);
  TMainMenu* Merged() const { return FMerged; }
  bool AutoMerge() const { return FAutoMerge; }
  void SetAutoMerge(bool value) { FAutoMerge = value; }
  // The entries of the bar as it stands, merged ones included.
  std::vector<TMenuItem*> BarItems() const;
  // A sub-item of the bar's entries, or of the merged menu's.
  TMenuItem* FindBarItem(UINT command) const;
  // Called when the bar changed: the window shows it again.
  TNotifyEvent OnChange;

 protected:
  void MenuChanged(TMenuItem* source, bool rebuild) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TMenuItem;
  void RebuildBar();
  HWND FWindowHandle = nullptr;
  TMainMenu* FMerged = nullptr;
  TMainMenu* FMergedInto = nullptr;
  bool FAutoMerge = false;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
  KST_CLASS(TPopupMenu, TMenu)
 public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;
  // Shows the menu at a screen point (after OnPopup) and runs the chosen item.
  virtual void Popup(Integer x, Integer y);
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool value) { FAutoPopup = value; }
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment value) { FAlignment = value; }
  // The control the menu was last shown for.
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* component);
  TPoint PopupPoint() const { return FPopupPoint; }
  // The hidden window that owns the menu while it is shown (its owner-draw
  // and menu messages come there).
  HWND WindowHandle();
  // Chooses the command the next Popup returns instead of showing the menu (tests).
  std::function<UINT(TPopupMenu& menu)> TrackHook;
  TNotifyEvent OnPopup;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  virtual void DoPopup(TObject* sender);

 private:
  void WndProc(TMessage& message);
  bool FAutoPopup = true;
  TPopupAlignment FAlignment = paLeft;
  TComponent* FPopupComponent = nullptr;
  TPoint FPopupPoint;
  HWND FWindow = nullptr;
};

const TTypeInfo& DescribeType(TypeTag<TPopupAlignment>);
