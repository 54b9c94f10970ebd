// Data-aware controls, grids and lookup controls, shown as the designer shows
// them: each is its plain counterpart (an edit, a label, a list...) that
// also names its data source and field; the data grid shows its column
// titles over an empty row. Nothing is ever fetched from a data set.
#pragma once

#include <memory>

#include "classes/collection.h"
#include "ui/commonctrls.h"
#include "ui/db.h"
#include "ui/extctrls.h"
#include "ui/grids.h"
#include "ui/stdctrls.h"

// The data source and field a data-aware control names, cleared when the
// data source goes.
// The lookup controls add the data source and fields of their list, the
// check box and radio group the values they stand for; all are kept as the
// form names them.
struct TDataLinkRef {
  TDataSource* DataSource = nullptr;
  TDataSource* ListSource = nullptr;
  String DataField, ListField, KeyField, LookupField, LookupDisplay, ValueChecked, ValueUnchecked;
  Integer DropDownRows = 7, ColCount = 1, RowCount = 3, PanelHeight = 72, PanelWidth = 200;
  bool ReadOnly = false, AutoDisplay = true, Center = true, Stretch = false, QuickDraw = true, AllowDelete = true,
       AllowInsert = true;
  std::unique_ptr<TStringList> Values = std::make_unique<TStringList>();
};

// A plain control of the library that also names a data source and field.
#define KST_DATA_CONTROL(name, base)                                        \
  class name : public base {                                                \
    KST_CLASS(name, base)                                                   \
   public:                                                                  \
    explicit name(TComponent* owner) : base(owner) {}                       \
    ~name() override {                                                      \
      SetDataSource(nullptr);                                               \
      SetListSource(nullptr);                                               \
    }                                                                       \
    TDataSource* DataSource() const { return FLink.DataSource; }            \
    void SetDataSource(TDataSource* source) {                               \
      FollowComponent(*this, FLink.DataSource, source);                     \
    }                                                                       \
    TDataSource* ListSource() const { return FLink.ListSource; }            \
    void SetListSource(TDataSource* source) {                               \
      FollowComponent(*this, FLink.ListSource, source);                     \
    }                                                                       \
    TDataLinkRef FLink;                                                     \
                                                                            \
   protected:                                                               \
    void Notification(TComponent* component, TOperation operation) override { \
      base::Notification(component, operation);                             \
      if (operation == opRemove && component == FLink.DataSource) FLink.DataSource = nullptr; \
      if (operation == opRemove && component == FLink.ListSource) FLink.ListSource = nullptr; \
    }                                                                       \
  };

KST_DATA_CONTROL(TDBEdit, TEdit)
KST_DATA_CONTROL(TDBText, TLabel)
KST_DATA_CONTROL(TDBMemo, TMemo)
KST_DATA_CONTROL(TDBListBox, TListBox)
KST_DATA_CONTROL(TDBComboBox, TComboBox)
KST_DATA_CONTROL(TDBCheckBox, TCheckBox)
KST_DATA_CONTROL(TDBRadioGroup, TRadioGroup)
KST_DATA_CONTROL(TDBRichEdit, TRichEdit)
KST_DATA_CONTROL(TDBImage, TPanel)
KST_DATA_CONTROL(TDBLookupListBox, TListBox)
KST_DATA_CONTROL(TDBLookupComboBox, TComboBox)
KST_DATA_CONTROL(TDBLookupList, TListBox)
KST_DATA_CONTROL(TDBLookupCombo, TComboBox)
KST_DATA_CONTROL(TDBCtrlGrid, TPanel)

enum TNavigateBtn { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh };
using TButtonSet = TSet<TNavigateBtn>;
const TTypeInfo& DescribeType(TypeTag<TNavigateBtn>);
const TTypeInfo& DescribeType(TypeTag<TButtonSet>);

// The row of navigation buttons, drawn as the designer draws it.
class TDBNavigator : public TCustomControl {
  KST_CLASS(TDBNavigator, TCustomControl)
 public:
  explicit TDBNavigator(TComponent* owner);
  ~TDBNavigator() override { SetDataSource(nullptr); }
  TDataSource* DataSource() const { return FDataSource; }
  void SetDataSource(TDataSource* source) { FollowComponent(*this, FDataSource, source); }
  TButtonSet VisibleButtons() const { return FVisibleButtons; }
  void SetVisibleButtons(TButtonSet value);
  bool Flat = false, ConfirmDelete = true;
  TNotifyEvent OnNavClick, BeforeAction;

 protected:
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TDataSource* FDataSource = nullptr;
  TButtonSet FVisibleButtons{nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh};
};

class TDBGrid;

// The title of a grid column.
class TColumnTitle : public TPersistent {
  KST_CLASS(TColumnTitle, TPersistent)
 public:
  explicit TColumnTitle(TPersistent* owner);
  ~TColumnTitle() override;
  String Caption;
  TAlignment Alignment = taLeftJustify;
  TColor Color = clBtnFace;
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(const TFont* font);
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
  std::unique_ptr<TFont> FFont;
};

class TColumn : public TCollectionItem {
  KST_CLASS(TColumn, TCollectionItem)
 public:
  explicit TColumn(TCollection* collection);
  ~TColumn() override;
  String FieldName;
  Integer Width = 64, DropDownRows = 7;
  bool Visible = true, ReadOnly = false, Expanded = true;
  TAlignment Alignment = taLeftJustify;
  TColor Color = clWindow;
  TColumnTitle* GetTitle() const { return FTitle.get(); }
  void SetTitle(const TColumnTitle* title);
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(const TFont* font);
  TStrings* GetPickList() const { return FPickList.get(); }
  void SetPickList(const TStrings* lines);
  // The text the title shows: its caption, or the field's name.
  String TitleText() const { return FTitle->Caption.empty() ? FieldName : FTitle->Caption; }
  String DisplayName() const override { return FieldName; }

 private:
  std::unique_ptr<TColumnTitle> FTitle;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TStringList> FPickList;
};

class TDBGridColumns : public TCollection {
  KST_CLASS(TDBGridColumns, TCollection)
 public:
  explicit TDBGridColumns(TDBGrid* grid = nullptr);
  TColumn* Items(int index) const { return static_cast<TColumn*>(TCollection::Items(index)); }
  TPersistent* GetOwner() const override;

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TDBGrid* FGrid;
};

enum TDBGridOption {
  dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs,
  dgRowSelect, dgAlwaysShowSelection, dgConfirmDelete, dgCancelOnExit, dgMultiSelect, dgTitleClick,
  dgTitleHotTrack
};
using TDBGridOptions = TSet<TDBGridOption>;
const TTypeInfo& DescribeType(TypeTag<TDBGridOption>);
const TTypeInfo& DescribeType(TypeTag<TDBGridOptions>);

// The data grid: an indicator column and its columns' titles over one empty
// row, on the library's grid.
class TDBGrid : public TCustomDrawGrid {
  KST_CLASS(TDBGrid, TCustomDrawGrid)
 public:
  explicit TDBGrid(TComponent* owner);
  ~TDBGrid() override;
  TDataSource* DataSource() const { return FDataSource; }
  void SetDataSource(TDataSource* source) { FollowComponent(*this, FDataSource, source); }
  TDBGridColumns& Columns() const { return *FColumns; }
  TDBGridColumns* GetColumns() const { return FColumns.get(); }
  void SetColumns(const TDBGridColumns* columns);
  TDBGridOptions DBOptions() const { return FDBOptions; }
  void SetDBOptions(TDBGridOptions value);
  TFont* GetTitleFont() const { return FTitleFont.get(); }
  void SetTitleFont(const TFont* font);
  bool ReadOnly = false;
  TNotifyEvent OnCellClick, OnColEnter, OnColExit, OnColumnMoved, OnDrawColumnCell, OnDrawDataCell,
      OnEditButtonClick, OnTitleClick;
  // Lays the grid out again after its columns changed.
  void ColumnsChanged();

 protected:
  void DrawCell(Integer col, Integer row, const TRect& rect, TGridDrawState state) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TDataSource* FDataSource = nullptr;
  std::unique_ptr<TDBGridColumns> FColumns;
  std::unique_ptr<TFont> FTitleFont;
  TDBGridOptions FDBOptions{dgEditing,  dgTitles,    dgIndicator,     dgColumnResize,
                            dgColLines, dgRowLines,  dgTabs,          dgConfirmDelete, dgCancelOnExit, dgTitleClick,
                            dgTitleHotTrack};
};

void RegisterDataControlClasses(TClassRegistry& registry);
