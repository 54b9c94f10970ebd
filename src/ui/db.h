// Data access as forms store it: data sets with their fields, parameters and
// data sources, and the database, session, table, query, stored procedure,
// batch move and update objects. They are kept inert: a previewed form is
// untrusted, so no database, file or server a form names is ever opened;
// Active and Connected are kept as the form says and connect nothing.
#pragma once

#include <memory>
#include <vector>

#include "classes/collection.h"
#include "classes/component.h"
#include "rtl/stringlist.h"
#include "rtl/variant.h"
#include "ui/controls.h"
#include "ui/stdctrls.h"

enum TFieldType {
  ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD, ftDate, ftTime,
  ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic, ftFmtMemo, ftParadoxOle, ftDBaseOle,
  ftTypedBinary, ftCursor, ftFixedChar, ftWideString, ftLargeint, ftADT, ftArray, ftReference, ftDataSet,
  ftOraBlob, ftOraClob, ftVariant, ftInterface, ftIDispatch, ftGuid, ftTimeStamp, ftFMTBcd, ftFixedWideChar,
  ftWideMemo
};
enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };
enum TParamType { ptUnknown, ptInput, ptOutput, ptInputOutput, ptResult };
enum TProviderFlag { pfInUpdate, pfInWhere, pfInKey, pfHidden };
using TProviderFlags = TSet<TProviderFlag>;
enum TTableType { ttDefault, ttParadox, ttDBase, ttFoxPro, ttASCII };
enum TUpdateMode { upWhereAll, upWhereChanged, upWhereKeyOnly };
enum TBatchMode { batAppend, batUpdate, batAppendUpdate, batDelete, batCopy };
const TTypeInfo& DescribeType(TypeTag<TFieldType>);
const TTypeInfo& DescribeType(TypeTag<TFieldKind>);
const TTypeInfo& DescribeType(TypeTag<TParamType>);
const TTypeInfo& DescribeType(TypeTag<TProviderFlag>);
const TTypeInfo& DescribeType(TypeTag<TProviderFlags>);
const TTypeInfo& DescribeType(TypeTag<TTableType>);
const TTypeInfo& DescribeType(TypeTag<TUpdateMode>);
const TTypeInfo& DescribeType(TypeTag<TBatchMode>);

class TDataSet;
class TDataSource;

// One parameter of a query or stored procedure: its name, type and the
// value the form stores (kept as text).
class TParam : public TCollectionItem {
  KST_CLASS(TParam, TCollectionItem)
 public:
  explicit TParam(TCollection* collection) : TCollectionItem(collection) {}
  String Name;
  Variant Value;
  Integer Precision = 0, NumericScale = 0;
  TFieldType DataType = ftUnknown;
  TParamType ParamType = ptUnknown;
  Integer Size = 0;
  String DisplayName() const override { return Name; }
};

class TParams : public TCollection {
  KST_CLASS(TParams, TCollection)
 public:
  explicit TParams(TPersistent* owner = nullptr) : TCollection(TParam::StaticClass()), FOwner(owner) {}
  TParam* Items(int index) const { return static_cast<TParam*>(TCollection::Items(index)); }
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
};

// A field of a data set: which column it shows and how. Fields stand in the
// form file inside their data set.
class TField : public TComponent {
  KST_CLASS(TField, TComponent)
 public:
  explicit TField(TComponent* owner);
  ~TField() override;
  TDataSet* DataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* dataSet);
  TFieldType DataType() const { return FDataType; }
  String FieldName, DisplayLabel, Origin, EditMask, DefaultExpression, CustomConstraint, ConstraintErrorMessage,
      ImportedConstraint, KeyFields, LookupKeyFields, LookupResultField, DisplayFormat, EditFormat, DisplayValues;
  Integer MinInteger = 0, MaxInteger = 0;
  double MinFloat = 0, MaxFloat = 0;
  TFieldKind FieldKind = fkData;
  Integer DisplayWidth = 0, Size = 0, Precision = 15, Index = -1;
  TAlignment Alignment = taLeftJustify;
  bool Required = false, ReadOnly = false, Visible = true, LookupCache = false, Calculated = false,
       Lookup = false, Currency = false, Transliterate = true, FixedChar = false;
  TProviderFlags ProviderFlags{pfInUpdate, pfInWhere};
  TFieldType BlobType = ftBlob;
  TDataSet* LookupDataSet = nullptr;
  TNotifyEvent OnChange, OnValidate;
  TNotifyEvent OnGetText, OnSetText;

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  TFieldType FDataType = ftUnknown;

 private:
  TDataSet* FDataSet = nullptr;
};

#define KST_FIELD_CLASS(name, base, type)            \
  class name : public base {                         \
    KST_CLASS(name, base)                            \
   public:                                           \
    explicit name(TComponent* owner) : base(owner) { \
      FDataType = type;                              \
    }                                                \
  };
KST_FIELD_CLASS(TStringField, TField, ftString)
KST_FIELD_CLASS(TNumericField, TField, ftUnknown)
KST_FIELD_CLASS(TIntegerField, TNumericField, ftInteger)
KST_FIELD_CLASS(TSmallintField, TIntegerField, ftSmallint)
KST_FIELD_CLASS(TWordField, TIntegerField, ftWord)
KST_FIELD_CLASS(TAutoIncField, TIntegerField, ftAutoInc)
KST_FIELD_CLASS(TFloatField, TNumericField, ftFloat)
KST_FIELD_CLASS(TCurrencyField, TFloatField, ftCurrency)
KST_FIELD_CLASS(TBCDField, TNumericField, ftBCD)
KST_FIELD_CLASS(TBooleanField, TField, ftBoolean)
KST_FIELD_CLASS(TDateTimeField, TField, ftDateTime)
KST_FIELD_CLASS(TDateField, TDateTimeField, ftDate)
KST_FIELD_CLASS(TTimeField, TDateTimeField, ftTime)
KST_FIELD_CLASS(TBinaryField, TField, ftUnknown)
KST_FIELD_CLASS(TBytesField, TBinaryField, ftBytes)
KST_FIELD_CLASS(TVarBytesField, TBytesField, ftVarBytes)
KST_FIELD_CLASS(TBlobField, TField, ftBlob)
KST_FIELD_CLASS(TMemoField, TBlobField, ftMemo)
KST_FIELD_CLASS(TGraphicField, TBlobField, ftGraphic)
#undef KST_FIELD_CLASS

// A set of records, never opened: Active is kept as the form stores it.
class TDataSet : public TComponent {
  KST_CLASS(TDataSet, TComponent)
 public:
  explicit TDataSet(TComponent* owner);
  ~TDataSet() override;
  bool Active = false, AutoCalcFields = true, Filtered = false;
  String Filter;
  // Whether anything was ever connected to (never, in this library).
  bool Opened() const { return false; }
  const std::vector<TField*>& Fields() const { return FFields; }
  void AddField(TField* field);
  void RemoveField(TField* field);
  TNotifyEvent AfterOpen, AfterClose, BeforeOpen, BeforeClose, AfterPost, BeforePost, AfterScroll,
      BeforeScroll, AfterInsert, BeforeInsert, AfterEdit, BeforeEdit, AfterDelete, BeforeDelete, AfterCancel,
      BeforeCancel, OnCalcFields, OnNewRecord;
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

 private:
  std::vector<TField*> FFields;
};

// The database-engine data sets: they name a database or a path, a session
// and a table, a query text or a procedure.
class TBDEDataSet : public TDataSet {
  KST_CLASS(TBDEDataSet, TDataSet)
 public:
  explicit TBDEDataSet(TComponent* owner);
  ~TBDEDataSet() override;
  String DatabaseName, SessionName, TableName, IndexName, IndexFieldNames, MasterFields, StoredProcName;
  TTableType TableType = ttDefault;
  bool ReadOnly = false, Exclusive = false, RequestLive = false, CachedUpdates = false, UniDirectional = false;
  TUpdateMode UpdateMode = upWhereAll;
  TDataSource* MasterSource() const { return FMasterSource; }
  void SetMasterSource(TDataSource* source);
  TComponent* UpdateObject() const { return FUpdateObject; }
  void SetUpdateObject(TComponent* object);
  TStrings* GetSQL() const { return FSQL.get(); }
  void SetSQL(const TStrings* lines);
  TParams* GetParams() const { return FParams.get(); }
  void SetParams(const TParams* params);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::unique_ptr<TStringList> FSQL;
  std::unique_ptr<TParams> FParams;
  TDataSource* FMasterSource = nullptr;
  TComponent* FUpdateObject = nullptr;
};

class TTable : public TBDEDataSet {
  KST_CLASS(TTable, TBDEDataSet)
 public:
  using TBDEDataSet::TBDEDataSet;
};
class TQuery : public TBDEDataSet {
  KST_CLASS(TQuery, TBDEDataSet)
 public:
  using TBDEDataSet::TBDEDataSet;
};
class TStoredProc : public TBDEDataSet {
  KST_CLASS(TStoredProc, TBDEDataSet)
 public:
  using TBDEDataSet::TBDEDataSet;
};
class TNestedTable : public TBDEDataSet {
  KST_CLASS(TNestedTable, TBDEDataSet)
 public:
  using TBDEDataSet::TBDEDataSet;
};

// Links data-aware controls to a data set.
class TDataSource : public TComponent {
  KST_CLASS(TDataSource, TComponent)
 public:
  explicit TDataSource(TComponent* owner) : TComponent(owner) {}
  ~TDataSource() override;
  TDataSet* DataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* dataSet);
  bool AutoEdit = true, Enabled = true;
  TNotifyEvent OnDataChange, OnStateChange, OnUpdateData;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TDataSet* FDataSet = nullptr;
};

// A database connection as the form names it; Connected connects nothing.
class TDatabase : public TComponent {
  KST_CLASS(TDatabase, TComponent)
 public:
  explicit TDatabase(TComponent* owner);
  ~TDatabase() override;
  String AliasName, DatabaseName, DriverName, SessionName;
  bool Connected = false, LoginPrompt = true, KeepConnection = true, ReadOnly = false, Exclusive = false;
  TStrings* GetParams() const { return FParams.get(); }
  void SetParams(const TStrings* lines);
  TNotifyEvent AfterConnect, AfterDisconnect, BeforeConnect, BeforeDisconnect, OnLogin;

 private:
  std::unique_ptr<TStringList> FParams;
};

class TSession : public TComponent {
  KST_CLASS(TSession, TComponent)
 public:
  using TComponent::TComponent;
  String SessionName, NetFileDir, PrivateDir;
  bool Active = false, AutoSessionName = false, KeepConnections = true, SQLHourGlass = true;
  TNotifyEvent OnStartup, OnPassword;
};

class TBatchMove : public TComponent {
  KST_CLASS(TBatchMove, TComponent)
 public:
  explicit TBatchMove(TComponent* owner);
  ~TBatchMove() override;
  TBatchMode Mode = batAppend;
  Integer RecordCount = 0, CommitCount = 0;
  bool AbortOnKeyViol = true, AbortOnProblem = true, Transliterate = true;
  String ChangedTableName, KeyViolTableName, ProblemTableName;
  TDataSet* Source() const { return FSource; }
  void SetSource(TDataSet* dataSet);
  TDataSet* Destination() const { return FDestination; }
  void SetDestination(TDataSet* dataSet);
  TStrings* GetMappings() const { return FMappings.get(); }
  void SetMappings(const TStrings* lines);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::unique_ptr<TStringList> FMappings;
  TDataSet *FSource = nullptr, *FDestination = nullptr;
};

class TUpdateSQL : public TComponent {
  KST_CLASS(TUpdateSQL, TComponent)
 public:
  explicit TUpdateSQL(TComponent* owner);
  ~TUpdateSQL() override;
  TStrings* GetModifySQL() const { return FModifySQL.get(); }
  void SetModifySQL(const TStrings* lines) { FModifySQL->Assign(*lines); }
  TStrings* GetInsertSQL() const { return FInsertSQL.get(); }
  void SetInsertSQL(const TStrings* lines) { FInsertSQL->Assign(*lines); }
  TStrings* GetDeleteSQL() const { return FDeleteSQL.get(); }
  void SetDeleteSQL(const TStrings* lines) { FDeleteSQL->Assign(*lines); }

 private:
  std::unique_ptr<TStringList> FModifySQL, FInsertSQL, FDeleteSQL;
};

// Follows a reference to another component of the form: the reference is
// cleared when that one goes.
template <class C>
void FollowComponent(TComponent& self, C*& field, C* value) {
  if (field == value) return;
  if (field) field->RemoveFreeNotification(&self);
  field = value;
  if (field) field->FreeNotification(&self);
}

void RegisterDataClasses(TClassRegistry& registry);
