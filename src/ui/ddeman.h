// The DDE conversation components, kept inert: a previewed form names
// services and topics of other programs, and no conversation is ever opened.
#pragma once

#include "classes/component.h"
#include "rtl/stringlist.h"

enum TDataMode { ddeAutomatic, ddeManual };
const TTypeInfo& DescribeType(TypeTag<TDataMode>);

class TDdeServerConv : public TComponent {
  KST_CLASS(TDdeServerConv, TComponent)
 public:
  using TComponent::TComponent;
  TNotifyEvent OnOpen, OnClose, OnExecuteMacro;
};

class TDdeServerItem : public TComponent {
  KST_CLASS(TDdeServerItem, TComponent)
 public:
  explicit TDdeServerItem(TComponent* owner);
  ~TDdeServerItem() override;
  String Text;
  TStrings* GetLines() const { return FLines.get(); }
  void SetLines(const TStrings* lines);
  TDdeServerConv* ServerConv() const { return FServerConv; }
  void SetServerConv(TDdeServerConv* conv);
  TNotifyEvent OnChange, OnPokeData;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::unique_ptr<TStringList> FLines;
  TDdeServerConv* FServerConv = nullptr;
};

class TDdeClientConv : public TComponent {
  KST_CLASS(TDdeClientConv, TComponent)
 public:
  using TComponent::TComponent;
  String DdeService, DdeTopic, ServiceApplication;
  TDataMode ConnectMode = ddeAutomatic;
  bool FormatChars = false;
  TNotifyEvent OnOpen, OnClose;
};

class TDdeClientItem : public TComponent {
  KST_CLASS(TDdeClientItem, TComponent)
 public:
  explicit TDdeClientItem(TComponent* owner);
  ~TDdeClientItem() override;
  String DdeItem;
  TStrings* GetLines() const { return FLines.get(); }
  void SetLines(const TStrings* lines);
  TDdeClientConv* DdeConv() const { return FDdeConv; }
  void SetDdeConv(TDdeClientConv* conv);
  TNotifyEvent OnChange;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::unique_ptr<TStringList> FLines;
  TDdeClientConv* FDdeConv = nullptr;
};
