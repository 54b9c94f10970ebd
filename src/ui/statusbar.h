// The status bar on the system's status window: a row of panels, each with
// its text, width, alignment and bevel, or one simple panel across the bar.
#pragma once

#include "classes/collection.h"
#include "ui/controls.h"

class TStatusBar;

enum TStatusPanelStyle { psText, psOwnerDraw };
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
const TTypeInfo& DescribeType(TypeTag<TStatusPanelStyle>);
const TTypeInfo& DescribeType(TypeTag<TStatusPanelBevel>);

class TStatusPanel : public TCollectionItem {
  KST_CLASS(TStatusPanel, TCollectionItem)
 public:
  explicit TStatusPanel(TCollection* collection);
  const String& Text() const { return FText; }
  void SetText(const String& value);
  Integer Width() const { return FWidth; }
  void SetWidth(Integer value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  TStatusPanelStyle Style() const { return FStyle; }
  void SetStyle(TStatusPanelStyle value);
  TStatusPanelBevel Bevel() const { return FBevel; }
  void SetBevel(TStatusPanelBevel value);
  String DisplayName() const override;
  void Assign(const TPersistent* source) override;

 private:
  String FText;
  Integer FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
  TStatusPanelStyle FStyle = psText;
  TStatusPanelBevel FBevel = pbLowered;
};

class TStatusPanels : public TCollection {
  KST_CLASS(TStatusPanels, TCollection)
 public:
  explicit TStatusPanels(TStatusBar* statusBar = nullptr);
  TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
  TStatusPanel* Items(int index) const { return static_cast<TStatusPanel*>(TCollection::Items(index)); }
  TPersistent* GetOwner() const override;

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TStatusBar* FStatusBar;
};

using TDrawPanelEvent = TDelegate<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;
const TTypeInfo& DescribeType(TypeTag<TDrawPanelEvent>);

class TStatusBar : public TWinControl {
  KST_CLASS(TStatusBar, TWinControl)
 public:
  explicit TStatusBar(TComponent* owner);
  ~TStatusBar() override;

  TStatusPanels& Panels() const { return *FPanels; }
  TStatusPanels* GetPanels() const { return FPanels.get(); }
  // One panel across the bar showing SimpleText instead of the panels.
  bool SimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool value);
  const String& SimpleText() const { return FSimpleText; }
  void SetSimpleText(const String& value);
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool value);
  // The text the system's window shows in a panel now.
  String PanelText(int index);
  // The panel's rectangle in the bar's client area.
  TRect PanelRect(int index);
  // Tells the system's window the panels again.
  void UpdatePanels();

  // Paints a panel of style psOwnerDraw on Canvas.
  TDrawPanelEvent OnDrawPanel;
  TCanvas& Canvas() const { return *FCanvas; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& message) override;
  void Loaded() override;

 private:
  std::unique_ptr<TStatusPanels> FPanels;
  std::unique_ptr<TCanvas> FCanvas;
  bool FSimplePanel = false;
  String FSimpleText;
  bool FSizeGrip = true;
};
