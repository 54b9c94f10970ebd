// XML documents, web dispatchers and page producers, kept inert: a previewed
// form names files and data sets, and none is read, parsed or served.
#pragma once

#include <memory>

#include "classes/collection.h"
#include "classes/component.h"
#include "rtl/stringlist.h"
#include "ui/db.h"

// An XML document as the form stores it: its file, or its text.
class TXMLDocument : public TComponent {
  KST_CLASS(TXMLDocument, TComponent)
 public:
  explicit TXMLDocument(TComponent* owner);
  ~TXMLDocument() override;
  bool Active = false;
  String FileName, DOMVendor, NodeIndentStr = u"  ";
  TStrings* GetXML() const { return FXML.get(); }
  void SetXML(const TStrings* lines);
  TNotifyEvent AfterOpen, AfterClose, BeforeOpen, BeforeClose, AfterNodeChange, BeforeNodeChange, OnAsyncLoad;

 private:
  std::unique_ptr<TStringList> FXML;
};

enum TMethodType { mtAny, mtGet, mtPut, mtPost, mtHead };
const TTypeInfo& DescribeType(TypeTag<TMethodType>);

class TWebActionItem : public TCollectionItem {
  KST_CLASS(TWebActionItem, TCollectionItem)
 public:
  explicit TWebActionItem(TCollection* collection) : TCollectionItem(collection) {}
  ~TWebActionItem() override;
  String Name, PathInfo;
  bool Default = false, Enabled = true;
  TMethodType MethodType = mtAny;
  TComponent* Producer() const { return FProducer; }
  void SetProducer(TComponent* producer);
  TNotifyEvent OnAction;
  String DisplayName() const override { return Name; }

 private:
  TComponent* FProducer = nullptr;
};

class TWebActionItems : public TCollection {
  KST_CLASS(TWebActionItems, TCollection)
 public:
  explicit TWebActionItems(TPersistent* owner = nullptr)
      : TCollection(TWebActionItem::StaticClass()), FOwner(owner) {}
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
};

class TWebDispatcher : public TComponent {
  KST_CLASS(TWebDispatcher, TComponent)
 public:
  explicit TWebDispatcher(TComponent* owner);
  ~TWebDispatcher() override;
  TWebActionItems* GetActions() const { return FActions.get(); }
  void SetActions(const TWebActionItems* actions);
  TNotifyEvent AfterDispatch, BeforeDispatch;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::unique_ptr<TWebActionItems> FActions;
};

// The page and table producers: a document or file and, for the data-set
// ones, the data set and the table's texts.
class TPageProducer : public TComponent {
  KST_CLASS(TPageProducer, TComponent)
 public:
  explicit TPageProducer(TComponent* owner);
  ~TPageProducer() override;
  String HTMLFile, TableAttributesText, RowAttributesText;
  Integer MaxRows = 20;
  TStrings* GetHTMLDoc() const { return FHTMLDoc.get(); }
  void SetHTMLDoc(const TStrings* lines) { FHTMLDoc->Assign(*lines); }
  TStrings* GetHeader() const { return FHeader.get(); }
  void SetHeader(const TStrings* lines) { FHeader->Assign(*lines); }
  TStrings* GetFooter() const { return FFooter.get(); }
  void SetFooter(const TStrings* lines) { FFooter->Assign(*lines); }
  TDataSet* DataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* dataSet) { FollowComponent(*this, FDataSet, dataSet); }
  String Caption;
  TNotifyEvent OnHTMLTag, OnFormatCell, OnCreateContent;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::unique_ptr<TStringList> FHTMLDoc, FHeader, FFooter;
  TDataSet* FDataSet = nullptr;
};

class TDataSetPageProducer : public TPageProducer {
  KST_CLASS(TDataSetPageProducer, TPageProducer)
 public:
  using TPageProducer::TPageProducer;
};
class TDataSetTableProducer : public TPageProducer {
  KST_CLASS(TDataSetTableProducer, TPageProducer)
 public:
  using TPageProducer::TPageProducer;
};
class TQueryTableProducer : public TPageProducer {
  KST_CLASS(TQueryTableProducer, TPageProducer)
 public:
  using TPageProducer::TPageProducer;
};
class TSQLQueryTableProducer : public TPageProducer {
  KST_CLASS(TSQLQueryTableProducer, TPageProducer)
 public:
  using TPageProducer::TPageProducer;
};

void RegisterWebClasses(TClassRegistry& registry);
