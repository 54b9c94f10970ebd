#include "ui/db.h"

#include <algorithm>

#include "classes/reflection.h"

KST_CLASS_IMPL(TParam, "DB")
KST_CLASS_IMPL(TParams, "DB")
KST_CLASS_IMPL(TField, "DB")
KST_CLASS_IMPL(TStringField, "DB")
KST_CLASS_IMPL(TNumericField, "DB")
KST_CLASS_IMPL(TIntegerField, "DB")
KST_CLASS_IMPL(TSmallintField, "DB")
KST_CLASS_IMPL(TWordField, "DB")
KST_CLASS_IMPL(TAutoIncField, "DB")
KST_CLASS_IMPL(TFloatField, "DB")
KST_CLASS_IMPL(TCurrencyField, "DB")
KST_CLASS_IMPL(TBCDField, "DB")
KST_CLASS_IMPL(TBooleanField, "DB")
KST_CLASS_IMPL(TDateTimeField, "DB")
KST_CLASS_IMPL(TDateField, "DB")
KST_CLASS_IMPL(TTimeField, "DB")
KST_CLASS_IMPL(TBinaryField, "DB")
KST_CLASS_IMPL(TBytesField, "DB")
KST_CLASS_IMPL(TVarBytesField, "DB")
KST_CLASS_IMPL(TBlobField, "DB")
KST_CLASS_IMPL(TMemoField, "DB")
KST_CLASS_IMPL(TGraphicField, "DB")
KST_CLASS_IMPL(TDataSet, "DB")
KST_CLASS_IMPL(TDataSource, "DB")
KST_CLASS_IMPL(TBDEDataSet, "DBTables")
KST_CLASS_IMPL(TTable, "DBTables")
KST_CLASS_IMPL(TQuery, "DBTables")
KST_CLASS_IMPL(TStoredProc, "DBTables")
KST_CLASS_IMPL(TNestedTable, "DBTables")
KST_CLASS_IMPL(TDatabase, "DBTables")
KST_CLASS_IMPL(TSession, "DBTables")
KST_CLASS_IMPL(TBatchMove, "DBTables")
KST_CLASS_IMPL(TUpdateSQL, "DBTables")

const TTypeInfo& DescribeType(TypeTag<TFieldType>) {
  static const TEnumTypeInfo t(
      u"TFieldType", u"DB",
      {u"ftUnknown",   u"ftString",    u"ftSmallint",  u"ftInteger",      u"ftWord",       u"ftBoolean",
       u"ftFloat",     u"ftCurrency",  u"ftBCD",       u"ftDate",         u"ftTime",       u"ftDateTime",
       u"ftBytes",     u"ftVarBytes",  u"ftAutoInc",   u"ftBlob",         u"ftMemo",       u"ftGraphic",
       u"ftFmtMemo",   u"ftParadoxOle", u"ftDBaseOle", u"ftTypedBinary",  u"ftCursor",     u"ftFixedChar",
       u"ftWideString", u"ftLargeint", u"ftADT",       u"ftArray",        u"ftReference",  u"ftDataSet",
       u"ftOraBlob",   u"ftOraClob",   u"ftVariant",   u"ftInterface",    u"ftIDispatch",  u"ftGuid",
       u"ftTimeStamp", u"ftFMTBcd",    u"ftFixedWideChar", u"ftWideMemo"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TFieldKind>) {
  static const TEnumTypeInfo t(u"TFieldKind", u"DB",
                               {u"fkData", u"fkCalculated", u"fkLookup", u"fkInternalCalc", u"fkAggregate"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TParamType>) {
  static const TEnumTypeInfo t(u"TParamType", u"DB",
                               {u"ptUnknown", u"ptInput", u"ptOutput", u"ptInputOutput", u"ptResult"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TProviderFlag>) {
  static const TEnumTypeInfo t(u"TProviderFlag", u"DB", {u"pfInUpdate", u"pfInWhere", u"pfInKey", u"pfHidden"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TProviderFlags>) {
  static const TSetTypeInfo t(u"TProviderFlags", u"DB",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TProviderFlag>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TTableType>) {
  static const TEnumTypeInfo t(u"TTableType", u"DBTables",
                               {u"ttDefault", u"ttParadox", u"ttDBase", u"ttFoxPro", u"ttASCII"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TUpdateMode>) {
  static const TEnumTypeInfo t(u"TUpdateMode", u"DB", {u"upWhereAll", u"upWhereChanged", u"upWhereKeyOnly"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TBatchMode>) {
  static const TEnumTypeInfo t(u"TBatchMode", u"DBTables",
                               {u"batAppend", u"batUpdate", u"batAppendUpdate", u"batDelete", u"batCopy"});
  return t;
}

// ---------------------------------------------------------------------------
// Parameters

void TParam::Describe(TClassBuilder<TParam>& c) {
  c.Property(u"DataType", &TParam::DataType).Default(ftUnknown);
  c.Property(u"Name", &TParam::Name);
  c.Property(u"NumericScale", &TParam::NumericScale).Default(0);
  c.Property(u"ParamType", &TParam::ParamType).Default(ptUnknown);
  c.Property(u"Precision", &TParam::Precision).Default(0);
  c.Property(u"Size", &TParam::Size).Default(0);
  c.Property(u"Value", &TParam::Value);
}
void TParams::Describe(TClassBuilder<TParams>&) {}

// ---------------------------------------------------------------------------
// Fields

void TField::Describe(TClassBuilder<TField>& c) {
  c.Property(u"Alignment", &TField::Alignment).Default(taLeftJustify);
  c.Property(u"Calculated", &TField::Calculated).Default(0);
  c.Property(u"ConstraintErrorMessage", &TField::ConstraintErrorMessage);
  c.Property(u"CustomConstraint", &TField::CustomConstraint);
  c.Property(u"DefaultExpression", &TField::DefaultExpression);
  c.Property(u"DisplayLabel", &TField::DisplayLabel);
  c.Property(u"DisplayWidth", &TField::DisplayWidth).Default(0);
  c.Property(u"EditMask", &TField::EditMask);
  c.Property(u"FieldKind", &TField::FieldKind).Default(fkData);
  c.Property(u"FieldName", &TField::FieldName);
  c.Property(u"ImportedConstraint", &TField::ImportedConstraint);
  c.Property(u"Index", &TField::Index).Default(-1);
  c.Property(u"KeyFields", &TField::KeyFields);
  c.Property(u"Lookup", &TField::Lookup).Default(0);
  c.Property(u"LookupCache", &TField::LookupCache).Default(0);
  c.Property(u"LookupDataSet", [](const TField& o) { return o.LookupDataSet; },
             [](TField& o, TDataSet* v) { FollowComponent(o, o.LookupDataSet, v); });
  c.Property(u"LookupKeyFields", &TField::LookupKeyFields);
  c.Property(u"LookupResultField", &TField::LookupResultField);
  c.Property(u"Origin", &TField::Origin);
  c.Property(u"ProviderFlags", &TField::ProviderFlags);
  c.Property(u"ReadOnly", &TField::ReadOnly).Default(0);
  c.Property(u"Required", &TField::Required).Default(0);
  c.Property(u"Visible", &TField::Visible).Default(1);
  c.Property(u"OnChange", &TField::OnChange);
  c.Property(u"OnGetText", &TField::OnGetText);
  c.Property(u"OnSetText", &TField::OnSetText);
  c.Property(u"OnValidate", &TField::OnValidate);
}
void TStringField::Describe(TClassBuilder<TStringField>& c) {
  c.Property(u"FixedChar", &TField::FixedChar).Default(0);
  c.Property(u"Size", &TField::Size);
  c.Property(u"Transliterate", &TField::Transliterate).Default(1);
}
void TNumericField::Describe(TClassBuilder<TNumericField>& c) {
  c.Property(u"DisplayFormat", &TField::DisplayFormat);
  c.Property(u"EditFormat", &TField::EditFormat);
}
void TIntegerField::Describe(TClassBuilder<TIntegerField>& c) {
  c.Property(u"MaxValue", &TField::MaxInteger).Default(0);
  c.Property(u"MinValue", &TField::MinInteger).Default(0);
}
void TSmallintField::Describe(TClassBuilder<TSmallintField>&) {}
void TWordField::Describe(TClassBuilder<TWordField>&) {}
void TAutoIncField::Describe(TClassBuilder<TAutoIncField>&) {}
void TFloatField::Describe(TClassBuilder<TFloatField>& c) {
  c.Property(u"Currency", &TField::Currency).Default(0);
  c.Property(u"MaxValue", &TField::MaxFloat);
  c.Property(u"MinValue", &TField::MinFloat);
  c.Property(u"Precision", &TField::Precision).Default(15);
}
void TCurrencyField::Describe(TClassBuilder<TCurrencyField>&) {}
void TBCDField::Describe(TClassBuilder<TBCDField>& c) {
  c.Property(u"Currency", &TField::Currency).Default(0);
  c.Property(u"MaxValue", &TField::MaxFloat);
  c.Property(u"MinValue", &TField::MinFloat);
  c.Property(u"Precision", &TField::Precision).Default(0);
  c.Property(u"Size", &TField::Size);
}
void TBooleanField::Describe(TClassBuilder<TBooleanField>& c) {
  c.Property(u"DisplayValues", &TField::DisplayValues);
}
void TDateTimeField::Describe(TClassBuilder<TDateTimeField>& c) {
  c.Property(u"DisplayFormat", &TField::DisplayFormat);
}
void TDateField::Describe(TClassBuilder<TDateField>&) {}
void TTimeField::Describe(TClassBuilder<TTimeField>&) {}
void TBinaryField::Describe(TClassBuilder<TBinaryField>& c) {
  c.Property(u"Size", &TField::Size);
}
void TBytesField::Describe(TClassBuilder<TBytesField>&) {}
void TVarBytesField::Describe(TClassBuilder<TVarBytesField>&) {}
void TBlobField::Describe(TClassBuilder<TBlobField>& c) {
  c.Property(u"BlobType", &TField::BlobType);
  c.Property(u"Size", &TField::Size).Default(0);
  c.Property(u"Transliterate", &TField::Transliterate).Default(1);
}
void TMemoField::Describe(TClassBuilder<TMemoField>&) {}
void TGraphicField::Describe(TClassBuilder<TGraphicField>&) {}

TField::TField(TComponent* owner) : TComponent(owner) {}
TField::~TField() {
  SetDataSet(nullptr);
  FollowComponent<TDataSet>(*this, LookupDataSet, nullptr);
}
void TField::SetDataSet(TDataSet* dataSet) {
  if (dataSet == FDataSet) return;
  if (FDataSet) FDataSet->RemoveField(this);
  FDataSet = dataSet;
  if (FDataSet) FDataSet->AddField(this);
}
TComponent* TField::GetParentComponent() const {
  return FDataSet;
}
void TField::SetParentComponent(TComponent* parent) {
  if (auto* dataSet = dynamic_cast<TDataSet*>(parent)) SetDataSet(dataSet);
}
void TField::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == LookupDataSet) LookupDataSet = nullptr;
}

// ---------------------------------------------------------------------------
// Data sets

template <class T>
static void PublishDataSetEvents(TClassBuilder<T>& c) {
#define KST_EVENT(name) c.Property(u## #name, &TDataSet::name)
  KST_EVENT(AfterCancel);
  KST_EVENT(AfterClose);
  KST_EVENT(AfterDelete);
  KST_EVENT(AfterEdit);
  KST_EVENT(AfterInsert);
  KST_EVENT(AfterOpen);
  KST_EVENT(AfterPost);
  KST_EVENT(AfterScroll);
  KST_EVENT(BeforeCancel);
  KST_EVENT(BeforeClose);
  KST_EVENT(BeforeDelete);
  KST_EVENT(BeforeEdit);
  KST_EVENT(BeforeInsert);
  KST_EVENT(BeforeOpen);
  KST_EVENT(BeforePost);
  KST_EVENT(BeforeScroll);
  KST_EVENT(OnCalcFields);
  KST_EVENT(OnNewRecord);
#undef KST_EVENT
}

void TDataSet::Describe(TClassBuilder<TDataSet>&) {}

TDataSet::TDataSet(TComponent* owner) : TComponent(owner) {}
TDataSet::~TDataSet() {
  // The fields stay with their owner; they only forget this data set.
  for (TField* field : std::vector<TField*>(FFields)) field->SetDataSet(nullptr);
}
void TDataSet::AddField(TField* field) {
  FFields.push_back(field);
}
void TDataSet::RemoveField(TField* field) {
  FFields.erase(std::remove(FFields.begin(), FFields.end(), field), FFields.end());
}
void TDataSet::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
  for (TField* field : FFields)
    if (field->Owner() == root) proc(field);
}

void TBDEDataSet::Describe(TClassBuilder<TBDEDataSet>& c) {
  c.Property(u"Active", &TDataSet::Active).Default(0);
  c.Property(u"AutoCalcFields", &TDataSet::AutoCalcFields).Default(1);
  c.Property(u"CachedUpdates", &TBDEDataSet::CachedUpdates).Default(0);
  c.Property(u"DatabaseName", &TBDEDataSet::DatabaseName);
  c.Property(u"Exclusive", &TBDEDataSet::Exclusive).Default(0);
  c.Property(u"Filter", &TDataSet::Filter);
  c.Property(u"Filtered", &TDataSet::Filtered).Default(0);
  c.Property(u"IndexFieldNames", &TBDEDataSet::IndexFieldNames);
  c.Property(u"IndexName", &TBDEDataSet::IndexName);
  c.Property(u"MasterFields", &TBDEDataSet::MasterFields);
  c.Property(u"MasterSource", &TBDEDataSet::MasterSource, &TBDEDataSet::SetMasterSource);
  c.Property(u"ParamData", &TBDEDataSet::GetParams, &TBDEDataSet::SetParams);
  c.Property(u"Params", &TBDEDataSet::GetParams, &TBDEDataSet::SetParams);
  c.Property(u"ReadOnly", &TBDEDataSet::ReadOnly).Default(0);
  c.Property(u"RequestLive", &TBDEDataSet::RequestLive).Default(0);
  c.Property(u"SessionName", &TBDEDataSet::SessionName);
  c.Property(u"SQL", &TBDEDataSet::GetSQL, &TBDEDataSet::SetSQL);
  c.Property(u"StoredProcName", &TBDEDataSet::StoredProcName);
  c.Property(u"TableName", &TBDEDataSet::TableName);
  c.Property(u"TableType", &TBDEDataSet::TableType).Default(ttDefault);
  c.Property(u"UniDirectional", &TBDEDataSet::UniDirectional).Default(0);
  c.Property(u"UpdateMode", &TBDEDataSet::UpdateMode).Default(upWhereAll);
  c.Property(u"UpdateObject", &TBDEDataSet::UpdateObject, &TBDEDataSet::SetUpdateObject);
  PublishDataSetEvents(c);
}
void TTable::Describe(TClassBuilder<TTable>&) {}
void TQuery::Describe(TClassBuilder<TQuery>&) {}
void TStoredProc::Describe(TClassBuilder<TStoredProc>&) {}
void TNestedTable::Describe(TClassBuilder<TNestedTable>&) {}

TBDEDataSet::TBDEDataSet(TComponent* owner)
    : TDataSet(owner), FSQL(std::make_unique<TStringList>()), FParams(std::make_unique<TParams>(this)) {}
TBDEDataSet::~TBDEDataSet() {
  SetMasterSource(nullptr);
  SetUpdateObject(nullptr);
}
void TBDEDataSet::SetMasterSource(TDataSource* source) {
  FollowComponent(*this, FMasterSource, source);
}
void TBDEDataSet::SetUpdateObject(TComponent* object) {
  FollowComponent(*this, FUpdateObject, object);
}
void TBDEDataSet::SetSQL(const TStrings* lines) {
  if (lines) FSQL->Assign(*lines);
}
void TBDEDataSet::SetParams(const TParams* params) {
  if (params) FParams->Assign(params);
}
void TBDEDataSet::Notification(TComponent* component, TOperation operation) {
  TDataSet::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FMasterSource) FMasterSource = nullptr;
  if (component == FUpdateObject) FUpdateObject = nullptr;
}

// ---------------------------------------------------------------------------
// Data source, database, session, batch move, update object

void TDataSource::Describe(TClassBuilder<TDataSource>& c) {
  c.Property(u"AutoEdit", &TDataSource::AutoEdit).Default(1);
  c.Property(u"DataSet", &TDataSource::DataSet, &TDataSource::SetDataSet);
  c.Property(u"Enabled", &TDataSource::Enabled).Default(1);
  c.Property(u"OnDataChange", &TDataSource::OnDataChange);
  c.Property(u"OnStateChange", &TDataSource::OnStateChange);
  c.Property(u"OnUpdateData", &TDataSource::OnUpdateData);
}
TDataSource::~TDataSource() {
  SetDataSet(nullptr);
}
void TDataSource::SetDataSet(TDataSet* dataSet) {
  FollowComponent(*this, FDataSet, dataSet);
}
void TDataSource::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FDataSet) FDataSet = nullptr;
}

void TDatabase::Describe(TClassBuilder<TDatabase>& c) {
  c.Property(u"AliasName", &TDatabase::AliasName);
  c.Property(u"Connected", &TDatabase::Connected).Default(0);
  c.Property(u"DatabaseName", &TDatabase::DatabaseName);
  c.Property(u"DriverName", &TDatabase::DriverName);
  c.Property(u"Exclusive", &TDatabase::Exclusive).Default(0);
  c.Property(u"KeepConnection", &TDatabase::KeepConnection).Default(1);
  c.Property(u"LoginPrompt", &TDatabase::LoginPrompt).Default(1);
  c.Property(u"Params", &TDatabase::GetParams, &TDatabase::SetParams);
  c.Property(u"ReadOnly", &TDatabase::ReadOnly).Default(0);
  c.Property(u"SessionName", &TDatabase::SessionName);
  c.Property(u"AfterConnect", &TDatabase::AfterConnect);
  c.Property(u"AfterDisconnect", &TDatabase::AfterDisconnect);
  c.Property(u"BeforeConnect", &TDatabase::BeforeConnect);
  c.Property(u"BeforeDisconnect", &TDatabase::BeforeDisconnect);
  c.Property(u"OnLogin", &TDatabase::OnLogin);
}
TDatabase::TDatabase(TComponent* owner) : TComponent(owner), FParams(std::make_unique<TStringList>()) {}
TDatabase::~TDatabase() = default;
void TDatabase::SetParams(const TStrings* lines) {
  if (lines) FParams->Assign(*lines);
}

void TSession::Describe(TClassBuilder<TSession>& c) {
  c.Property(u"Active", &TSession::Active).Default(0);
  c.Property(u"AutoSessionName", &TSession::AutoSessionName).Default(0);
  c.Property(u"KeepConnections", &TSession::KeepConnections).Default(1);
  c.Property(u"NetFileDir", &TSession::NetFileDir);
  c.Property(u"PrivateDir", &TSession::PrivateDir);
  c.Property(u"SessionName", &TSession::SessionName);
  c.Property(u"SQLHourGlass", &TSession::SQLHourGlass).Default(1);
  c.Property(u"OnPassword", &TSession::OnPassword);
  c.Property(u"OnStartup", &TSession::OnStartup);
}

void TBatchMove::Describe(TClassBuilder<TBatchMove>& c) {
  c.Property(u"AbortOnKeyViol", &TBatchMove::AbortOnKeyViol).Default(1);
  c.Property(u"AbortOnProblem", &TBatchMove::AbortOnProblem).Default(1);
  c.Property(u"ChangedTableName", &TBatchMove::ChangedTableName);
  c.Property(u"CommitCount", &TBatchMove::CommitCount).Default(0);
  c.Property(u"Destination", &TBatchMove::Destination, &TBatchMove::SetDestination);
  c.Property(u"KeyViolTableName", &TBatchMove::KeyViolTableName);
  c.Property(u"Mappings", &TBatchMove::GetMappings, &TBatchMove::SetMappings);
  c.Property(u"Mode", &TBatchMove::Mode).Default(batAppend);
  c.Property(u"ProblemTableName", &TBatchMove::ProblemTableName);
  c.Property(u"RecordCount", &TBatchMove::RecordCount).Default(0);
  c.Property(u"Source", &TBatchMove::Source, &TBatchMove::SetSource);
  c.Property(u"Transliterate", &TBatchMove::Transliterate).Default(1);
}
TBatchMove::TBatchMove(TComponent* owner) : TComponent(owner), FMappings(std::make_unique<TStringList>()) {}
TBatchMove::~TBatchMove() {
  SetSource(nullptr);
  SetDestination(nullptr);
}
void TBatchMove::SetSource(TDataSet* dataSet) {
  FollowComponent(*this, FSource, dataSet);
}
void TBatchMove::SetDestination(TDataSet* dataSet) {
  FollowComponent(*this, FDestination, dataSet);
}
void TBatchMove::SetMappings(const TStrings* lines) {
  if (lines) FMappings->Assign(*lines);
}
void TBatchMove::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FSource) FSource = nullptr;
  if (component == FDestination) FDestination = nullptr;
}

void TUpdateSQL::Describe(TClassBuilder<TUpdateSQL>& c) {
  c.Property(u"DeleteSQL", &TUpdateSQL::GetDeleteSQL, &TUpdateSQL::SetDeleteSQL);
  c.Property(u"InsertSQL", &TUpdateSQL::GetInsertSQL, &TUpdateSQL::SetInsertSQL);
  c.Property(u"ModifySQL", &TUpdateSQL::GetModifySQL, &TUpdateSQL::SetModifySQL);
}
TUpdateSQL::TUpdateSQL(TComponent* owner)
    : TComponent(owner),
      FModifySQL(std::make_unique<TStringList>()),
      FInsertSQL(std::make_unique<TStringList>()),
      FDeleteSQL(std::make_unique<TStringList>()) {}
TUpdateSQL::~TUpdateSQL() = default;

void RegisterDataClasses(TClassRegistry& registry) {
  registry.RegisterClasses(
      {&TParam::StaticClass(), &TParams::StaticClass(), &TField::StaticClass(), &TStringField::StaticClass(),
       &TIntegerField::StaticClass(), &TSmallintField::StaticClass(), &TWordField::StaticClass(),
       &TAutoIncField::StaticClass(), &TFloatField::StaticClass(), &TCurrencyField::StaticClass(),
       &TBCDField::StaticClass(), &TBooleanField::StaticClass(), &TDateTimeField::StaticClass(),
       &TDateField::StaticClass(), &TTimeField::StaticClass(), &TBytesField::StaticClass(),
       &TVarBytesField::StaticClass(), &TBlobField::StaticClass(), &TMemoField::StaticClass(),
       &TGraphicField::StaticClass(), &TDataSource::StaticClass(), &TTable::StaticClass(), &TQuery::StaticClass(),
       &TStoredProc::StaticClass(), &TNestedTable::StaticClass(), &TDatabase::StaticClass(),
       &TSession::StaticClass(), &TBatchMove::StaticClass(), &TUpdateSQL::StaticClass()},
      u"ui");
  for (const TTypeInfo* type :
       {&DescribeType(TypeTag<TFieldType>{}), &DescribeType(TypeTag<TFieldKind>{}),
        &DescribeType(TypeTag<TParamType>{}), &DescribeType(TypeTag<TProviderFlags>{}),
        &DescribeType(TypeTag<TTableType>{}), &DescribeType(TypeTag<TUpdateMode>{}),
        &DescribeType(TypeTag<TBatchMode>{})})
    registry.RegisterType(*type);
}
