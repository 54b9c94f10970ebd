// Common controls: the list view, the tree view and the page control with
// its tab sheets, built on the system's list view, tree view and tab control
// classes.
//
// The items of a list view and the nodes of a tree view live in our own
// objects; the system's window is only their view, filled from them when it
// is made, so they survive a re-created window. Forms store them as the
// binary properties Items.ItemData and Items.NodeData.
#pragma once

#include <memory>
#include <vector>

#include "classes/collection.h"
#include "rtl/stringlist.h"
#include "ui/commonctrls.h"
#include "ui/controls.h"
#include "ui/forms.h"
#include "ui/imglist.h"
#include "ui/stdctrls.h"

class TCustomListView;
class TListView;
class TListItem;
class TListItems;
class TCustomTreeView;
class TTreeView;
class TTreeNode;
class TTreeNodes;
class TPageControl;
class TTabSheet;

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

using TLVSelectItemEvent = TDelegate<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TTVChangedEvent = TDelegate<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = TDelegate<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
// (The same signature as TTVChangingEvent: one delegate type serves all three.)
using TTVExpandingEvent = TTVChangingEvent;
using TTVCollapsingEvent = TTVChangingEvent;
// (The signature of the forms' close query: the type is described there.)
using TTabChangingEvent = TDelegate<void(TObject* Sender, bool& AllowChange)>;

const TTypeInfo& DescribeType(TypeTag<TViewStyle>);
const TTypeInfo& DescribeType(TypeTag<TLVSelectItemEvent>);
const TTypeInfo& DescribeType(TypeTag<TTVChangedEvent>);
const TTypeInfo& DescribeType(TypeTag<TTVChangingEvent>);

// Makes sure the system's common control classes are registered.
void InitCommonControl(DWORD classes);

// ---------------------------------------------------------------------------
// List view

class TListColumn : public TCollectionItem {
  KST_CLASS(TListColumn, TCollectionItem)
 public:
  explicit TListColumn(TCollection* collection);

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& value);
  // What the window shows once the user has dragged the divider.
  Integer Width() const;
  void SetWidth(Integer value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  // Takes the width the fixed columns leave.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer value);
  Integer MinWidth() const { return FMinWidth; }
  void SetMinWidth(Integer value) { FMinWidth = value; }
  Integer MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(Integer value) { FMaxWidth = value; }
  Integer Tag() const { return FTag; }
  void SetTag(Integer value) { FTag = value; }
  String DisplayName() const override;
  void Assign(const TPersistent* source) override;

 private:
  friend class TCustomListView;
  TCustomListView* ListView() const;
  String FCaption;
  Integer FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = false;
  Integer FImageIndex = -1;
  Integer FMinWidth = 0;
  Integer FMaxWidth = 0;
  Integer FTag = 0;
};

class TListColumns : public TCollection {
  KST_CLASS(TListColumns, TCollection)
 public:
  explicit TListColumns(TCustomListView* owner);
  TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
  TListColumn* Items(int index) const { return static_cast<TListColumn*>(TCollection::Items(index)); }
  TCustomListView* Owner() const { return FOwner; }
  TPersistent* GetOwner() const override;

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TCustomListView* FOwner;
};

// The groups of a list view: with GroupView on, the items stand under the
// header of the group whose GroupID they name.
enum TListGroupState {
  lgsNormal,
  lgsHidden,
  lgsCollapsed,
  lgsNoHeader,
  lgsCollapsible,
  lgsFocused,
  lgsSelected,
  lgsSubseted,
  lgsSubSetLinkFocused
};
using TListGroupStateSet = TSet<TListGroupState>;
const TTypeInfo& DescribeType(TypeTag<TListGroupState>);
const TTypeInfo& DescribeType(TypeTag<TListGroupStateSet>);

class TListGroup : public TCollectionItem {
  KST_CLASS(TListGroup, TCollectionItem)
 public:
  explicit TListGroup(TCollection* collection);
  const String& Header() const { return FHeader; }
  void SetHeader(const String& value);
  const String& Footer() const { return FFooter; }
  void SetFooter(const String& value);
  // Unique in its list view: a new group takes the next free one.
  Integer GroupID() const { return FGroupID; }
  void SetGroupID(Integer value);
  TListGroupStateSet State() const { return FState; }
  void SetState(TListGroupStateSet value);
  TAlignment HeaderAlign() const { return FHeaderAlign; }
  void SetHeaderAlign(TAlignment value);
  TAlignment FooterAlign() const { return FFooterAlign; }
  void SetFooterAlign(TAlignment value);
  // Shown by newer systems only; kept as the form says.
  String Subtitle, TopDescription, BottomDescription, SubsetTitle;
  Integer TitleImage = -1, ExtendedImage = -1;
  String DisplayName() const override;
  void Assign(const TPersistent* source) override;

 private:
  String FHeader, FFooter;
  Integer FGroupID = -1;
  TListGroupStateSet FState{lgsNormal};
  TAlignment FHeaderAlign = taLeftJustify, FFooterAlign = taLeftJustify;
};

class TListGroups : public TCollection {
  KST_CLASS(TListGroups, TCollection)
 public:
  explicit TListGroups(TCustomListView* owner);
  TListGroup* Add() { return static_cast<TListGroup*>(TCollection::Add()); }
  TListGroup* Items(int index) const { return static_cast<TListGroup*>(TCollection::Items(index)); }
  // The group with this ID, nullptr when none has it.
  TListGroup* FindGroup(Integer groupID) const;
  Integer NextGroupID() const;
  TCustomListView* Owner() const { return FOwner; }
  TPersistent* GetOwner() const override;

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TCustomListView* FOwner;
};

class TListItem : public TPersistent {
  KST_CLASS(TListItem, TPersistent)
 public:
  explicit TListItem(TListItems* owner);
  ~TListItem() override;

  TListItems* Owner() const { return FOwner; }
  TCustomListView* ListView() const;
  int Index() const;
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& value);
  // The texts of the columns after the first.
  TStrings& SubItems() const { return *FSubItems; }
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer value);
  bool Checked() const;
  void SetChecked(bool value);
  bool Selected() const;
  void SetSelected(bool value);
  bool Focused() const;
  void SetFocused(bool value);
  void* Data() const { return FData; }
  void SetData(void* value) { FData = value; }
  // The group the item stands in (-1: none).
  Integer GroupID() const { return FGroupID; }
  void SetGroupID(Integer value);
  void MakeVisible(bool partialOK);
  void Delete();
  void Assign(const TPersistent* source) override;

 private:
  friend class TListItems;
  friend class TCustomListView;
  bool GetState(UINT mask) const;
  void SetState(UINT mask, bool on);
  void SubItemsChanged(TObject*);
  TListItems* FOwner;
  String FCaption;
  std::unique_ptr<TStringList> FSubItems;
  Integer FImageIndex = -1;
  Integer FGroupID = -1;
  bool FChecked = false;
  bool FSelected = false;
  bool FFocused = false;
  void* FData = nullptr;
};

class TListItems : public TPersistent {
  KST_CLASS(TListItems, TPersistent)
 public:
  explicit TListItems(TCustomListView* owner);
  ~TListItems() override;

  TCustomListView* Owner() const { return FOwner; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TListItem* Item(int index) const;
  TListItem* operator[](int index) const { return Item(index); }
  TListItem* Add();
  TListItem* AddItem(TListItem* item, int index = -1);
  TListItem* Insert(int index);
  void Delete(int index);
  void Clear();
  int IndexOf(const TListItem* item) const;
  // Turns the window's drawing off until the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  void Assign(const TPersistent* source) override;
  TPersistent* GetOwner() const override;
  void DefineProperties(TFiler& filer) override;

 private:
  friend class TListItem;
  friend class TCustomListView;
  void ReadItemData(TStream& stream);
  void WriteItemData(TStream& stream);
  TCustomListView* FOwner;
  std::vector<std::unique_ptr<TListItem>> FItems;
  int FUpdateCount = 0;
};

class TCustomListView : public TWinControl {
  KST_CLASS(TCustomListView, TWinControl)
 public:
  explicit TCustomListView(TComponent* owner);
  ~TCustomListView() override;

  TListColumns& Columns() const { return *FColumns; }
  TListColumns* GetColumns() const { return FColumns.get(); }
  void SetColumns(TListColumns* value);
  TListColumn* Column(int index) const { return FColumns->Items(index); }
  TListItems& Items() const { return *FItems; }
  TListItems* GetItems() const { return FItems.get(); }
  void SetItems(TListItems* value);
  TListGroups& Groups() const { return *FGroups; }
  TListGroups* GetGroups() const { return FGroups.get(); }
  void SetGroups(TListGroups* value);
  // Shows the items under their groups' headers.
  bool GroupView() const { return FGroupView; }
  void SetGroupView(bool value);
  TViewStyle ViewStyle() const { return FViewStyle; }
  void SetViewStyle(TViewStyle value);
  TCustomImageList* SmallImages() const { return FSmallImages; }
  void SetSmallImages(TCustomImageList* value);
  TCustomImageList* LargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* value);
  bool Checkboxes() const { return FCheckboxes; }
  void SetCheckboxes(bool value);
  bool RowSelect() const { return FRowSelect; }
  void SetRowSelect(bool value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool value);
  bool GridLines() const { return FGridLines; }
  void SetGridLines(bool value);
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool value);
  bool ShowColumnHeaders() const { return FShowColumnHeaders; }
  void SetShowColumnHeaders(bool value);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value);

  // The first selected item (nullptr: none); setting it selects only it.
  TListItem* Selected() const;
  void SetSelected(TListItem* item);
  TListItem* ItemFocused() const;
  void SetItemFocused(TListItem* item);
  int SelCount() const;
  // The index of the selected item, -1 when none.
  int ItemIndex() const;
  void SetItemIndex(int index);
  void Clear() { FItems->Clear(); }
  void ClearSelection();
  TListItem* GetItemAt(Integer x, Integer y) const;

  TLVSelectItemEvent OnSelectItem;

 protected:
  friend class TListItem;
  friend class TListItems;
  friend class TListColumn;
  friend class TListColumns;
  friend class TListGroups;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void DoSelectItem(TListItem* item, bool selected);

 private:
  void CNNotify(TMessage& message);
  void UpdateExtendedStyles();
  void UpdateImageLists();
  void ImageListChange(TObject* sender);
  void UpdateColumns();
  void UpdateColumn(int index);
  // Gives the window the groups and each item its group.
  void UpdateGroups();
  void UpdateItemGroup(const TListItem* item, int index);
  void AutoSizeColumns();
  void InsertItemWindow(TListItem* item, int index);
  // The index when the caller knows it (-1: looked up).
  void UpdateItemWindow(TListItem* item, int index = -1);
  void SaveItemStates();

  std::unique_ptr<TListColumns> FColumns;
  std::unique_ptr<TListItems> FItems;
  std::unique_ptr<TListGroups> FGroups;
  bool FGroupView = false;
  TViewStyle FViewStyle = vsIcon;
  TCustomImageList* FSmallImages = nullptr;
  TCustomImageList* FLargeImages = nullptr;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  bool FCheckboxes = false;
  bool FRowSelect = false;
  bool FReadOnly = false;
  bool FHideSelection = true;
  bool FGridLines = false;
  bool FMultiSelect = false;
  bool FShowColumnHeaders = true;
  TFormBorderStyle FBorderStyle = bsSingle;
  int FQuiet = 0;  // while we fill the window ourselves: no events
  bool FAutoSizing = false;
};

enum TIconArrangement { iaTop, iaLeft };
enum TSortType { stNone, stData, stText, stBoth };
const TTypeInfo& DescribeType(TypeTag<TIconArrangement>);
const TTypeInfo& DescribeType(TypeTag<TSortType>);

// How the icon views arrange their items; kept as the form says.
class TIconOptions : public TPersistent {
  KST_CLASS(TIconOptions, TPersistent)
 public:
  explicit TIconOptions(TPersistent* owner) : FOwner(owner) {}
  TIconArrangement Arrangement = iaTop;
  bool AutoArrange = false, WrapText = true;
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
};

class TListView : public TCustomListView {
  KST_CLASS(TListView, TCustomListView)
 public:
  explicit TListView(TComponent* owner);
  ~TListView() override;
  TIconOptions* GetIconOptions() const { return FIconOptions.get(); }
  void SetIconOptions(const TIconOptions* options);
  bool FlatScrollBars = false;
  TSortType SortType = stNone;
  TNotifyEvent OnInfoTip;

 private:
  std::unique_ptr<TIconOptions> FIconOptions;
};

// ---------------------------------------------------------------------------
// Tree view

class TTreeNode : public TPersistent {
  KST_CLASS(TTreeNode, TPersistent)
 public:
  explicit TTreeNode(TTreeNodes* owner);
  ~TTreeNode() override;

  TTreeNodes* Owner() const { return FOwner; }
  TCustomTreeView* TreeView() const;
  TTreeNode* Parent() const { return FParent; }
  const String& Text() const { return FText; }
  void SetText(const String& value);
  void* Data() const { return FData; }
  void SetData(void* value) { FData = value; }
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer value);
  Integer SelectedIndex() const { return FSelectedIndex; }
  void SetSelectedIndex(Integer value);
  int Count() const { return static_cast<int>(FChildren.size()); }
  TTreeNode* Item(int index) const;
  bool HasChildren() const { return !FChildren.empty(); }
  // The position among the siblings, and the depth (0 at the top).
  int Index() const;
  int Level() const;
  // The position in the whole tree, top to bottom with every node counted.
  int AbsoluteIndex() const;
  bool Expanded() const;
  void SetExpanded(bool value);
  void Expand(bool recurse);
  void Collapse(bool recurse);
  // Expands every ancestor and scrolls the node into view.
  void MakeVisible();
  bool Selected() const;
  void SetSelected(bool value);
  bool Focused() const { return Selected(); }
  void SetFocused(bool value) { SetSelected(value); }
  TTreeNode* GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front().get(); }
  TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back().get(); }
  TTreeNode* GetNextSibling() const { return FNextSibling; }
  TTreeNode* GetPrevSibling() const { return FPrevSibling; }
  // The next node top to bottom, expanded or not.
  TTreeNode* GetNext() const;
  void Delete();
  void DeleteChildren();
  HTREEITEM ItemId() const { return FItemId; }
  void Assign(const TPersistent* source) override;

 private:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  std::vector<std::unique_ptr<TTreeNode>>& Siblings() const;
  TTreeNodes* FOwner;
  TTreeNode* FParent = nullptr;
  std::vector<std::unique_ptr<TTreeNode>> FChildren;
  String FText;
  void* FData = nullptr;
  Integer FImageIndex = -1;
  Integer FSelectedIndex = -1;
  bool FExpanded = false;
  HTREEITEM FItemId = nullptr;
  // The neighbours, so that walking the siblings costs nothing per step.
  TTreeNode* FPrevSibling = nullptr;
  TTreeNode* FNextSibling = nullptr;
};

class TTreeNodes : public TPersistent {
  KST_CLASS(TTreeNodes, TPersistent)
 public:
  explicit TTreeNodes(TCustomTreeView* owner);
  ~TTreeNodes() override;

  TCustomTreeView* Owner() const { return FOwner; }
  // Every node of the tree, at all levels.
  int Count() const { return FCount; }
  // By absolute index (top to bottom, every level).
  TTreeNode* Item(int index) const;
  TTreeNode* operator[](int index) const { return Item(index); }
  TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front().get(); }
  // A node after the last sibling of `sibling` (at the top when it is nullptr).
  TTreeNode* Add(TTreeNode* sibling, const String& text) { return AddObject(sibling, text, nullptr); }
  TTreeNode* AddObject(TTreeNode* sibling, const String& text, void* data);
  TTreeNode* AddFirst(TTreeNode* sibling, const String& text);
  // A node after the last child of `parent` (at the top when it is nullptr).
  TTreeNode* AddChild(TTreeNode* parent, const String& text) { return AddChildObject(parent, text, nullptr); }
  TTreeNode* AddChildObject(TTreeNode* parent, const String& text, void* data);
  TTreeNode* AddChildFirst(TTreeNode* parent, const String& text);
  // A node just before `sibling` (at the end of the top level when it is nullptr).
  TTreeNode* Insert(TTreeNode* sibling, const String& text) { return InsertObject(sibling, text, nullptr); }
  TTreeNode* InsertObject(TTreeNode* sibling, const String& text, void* data);
  void Delete(TTreeNode* node);
  void Clear();
  // Turns the window's drawing off until the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  void Assign(const TPersistent* source) override;
  TPersistent* GetOwner() const override;
  void DefineProperties(TFiler& filer) override;

 private:
  friend class TTreeNode;
  friend class TCustomTreeView;
  TTreeNode* InsertNode(TTreeNode* parent, size_t position, const String& text, void* data);
  void ReadNodeData(TStream& stream);
  void WriteNodeData(TStream& stream);
  TCustomTreeView* FOwner;
  std::vector<std::unique_ptr<TTreeNode>> FRoots;
  int FCount = 0;
  int FUpdateCount = 0;
  // The node found by the last Item(), so that walking by index is linear.
  mutable int FLastIndex = -1;
  mutable TTreeNode* FLastNode = nullptr;
};

class TCustomTreeView : public TWinControl {
  KST_CLASS(TCustomTreeView, TWinControl)
 public:
  explicit TCustomTreeView(TComponent* owner);
  ~TCustomTreeView() override;

  TTreeNodes& Items() const { return *FNodes; }
  TTreeNodes* GetItems() const { return FNodes.get(); }
  void SetItems(TTreeNodes* value);
  TTreeNode* Selected() const;
  void SetSelected(TTreeNode* node);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value);
  bool RowSelect() const { return FRowSelect; }
  void SetRowSelect(bool value);
  bool ShowRoot() const { return FShowRoot; }
  void SetShowRoot(bool value);
  bool ShowLines() const { return FShowLines; }
  void SetShowLines(bool value);
  bool ShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool value);
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool value);
  Integer Indent() const;
  void SetIndent(Integer value);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value);
  TTreeNode* TopItem() const;
  TTreeNode* GetNodeAt(Integer x, Integer y) const;
  void FullExpand();
  void FullCollapse();

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandingEvent OnExpanding;
  TTVCollapsingEvent OnCollapsing;
  TTVChangedEvent OnExpanded;
  TTVChangedEvent OnCollapsed;

 protected:
  friend class TTreeNode;
  friend class TTreeNodes;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void Change(TTreeNode* node);
  virtual bool CanChange(TTreeNode* node);
  virtual bool CanExpand(TTreeNode* node);
  virtual bool CanCollapse(TTreeNode* node);

 private:
  void CNNotify(TMessage& message);
  // The node and its subtree, after `previous` (first when nullptr).
  void InsertNodeWindow(TTreeNode* node, TTreeNode* previous);
  void UpdateNodeWindow(TTreeNode* node);
  void SaveNodeStates();
  void ImageListChange(TObject* sender);
  static TTreeNode* NodeOf(const TVITEMW& item);

  std::unique_ptr<TTreeNodes> FNodes;
  TTreeNode* FSelected = nullptr;  // kept while there is no window
  TCustomImageList* FImages = nullptr;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  bool FReadOnly = false;
  bool FRowSelect = false;
  bool FShowRoot = true;
  bool FShowLines = true;
  bool FShowButtons = true;
  bool FHideSelection = true;
  bool FHotTrack = false;
  Integer FIndent = 19;
  TFormBorderStyle FBorderStyle = bsSingle;
  int FQuiet = 0;  // while we fill the window ourselves: no events
};

class TTreeView : public TCustomTreeView {
  KST_CLASS(TTreeView, TCustomTreeView)
 public:
  using TCustomTreeView::TCustomTreeView;
  // Kept as forms store them; the preview acts on none.
  bool AutoExpand = false, RightClickSelect = false, ToolTips = true;
  Integer ChangeDelay = 0;
  TSortType SortType = stNone;
};

// ---------------------------------------------------------------------------
// Page control

// One page of a page control; the form file stores it as a child of the page control.
class TTabSheet : public TWinControl {
  KST_CLASS(TTabSheet, TWinControl)
 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer value);
  // Whether the sheet has a tab (a sheet without one can still be made active).
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool value);
  int PageIndex() const;
  void SetPageIndex(int value);
  // The index of the sheet's tab, -1 when it has none.
  int TabIndex() const;
  void SetParent(TWinControl* parent) override;

 protected:
  void Dispatch(TMessage& message) override;

 private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  Integer FImageIndex = -1;
  bool FTabVisible = true;
};

class TPageControl : public TWinControl {
  KST_CLASS(TPageControl, TWinControl)
 public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;

  TTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);
  int PageCount() const { return static_cast<int>(FPages.size()); }
  TTabSheet* Pages(int index) const;
  // The sheet of a tab of the window, nullptr when there is none.
  TTabSheet* TabSheetOfTab(int tabIndex) const;
  TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
  void SelectNextPage(bool goForward, bool checkTabVisible = true);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* value);
  Integer TabHeight() const { return FTabHeight; }
  void SetTabHeight(Integer value);
  Integer TabWidth() const { return FTabWidth; }
  void SetTabWidth(Integer value);
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool value);
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool value);
  TTabStyle Style() const { return FStyle; }
  void SetStyle(TTabStyle value);
  TTabPosition TabPosition() const { return FTabPosition; }
  void SetTabPosition(TTabPosition value);
  // The index of the selected tab, -1 when none.
  int TabIndex() const;

  // The sheets take the tab control's display area.
  void AdjustClientRect(TRect& rect) const override;
  void AlignControls(TControl* control, TRect& rect) override;
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

 protected:
  friend class TTabSheet;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Loaded() override;
  void Dispatch(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual bool CanChange();
  virtual void Change();

 private:
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void MovePage(TTabSheet* page, int index);
  void UpdateTabs();
  void UpdateTab(TTabSheet* page);
  void ShowActivePage();
  void CNNotify(TMessage& message);
  void ImageListChange(TObject* sender);

  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
  TTabStyle FStyle = tsTabs;
  TTabPosition FTabPosition = tpTop;
  TCustomImageList* FImages = nullptr;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  Integer FTabHeight = 0;
  Integer FTabWidth = 0;
  bool FMultiLine = false;
  bool FHotTrack = false;
  int FQuiet = 0;
};
