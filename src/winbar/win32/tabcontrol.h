// The tab control: a row of tabs of the system's common controls, each with
// a text and an object, one of them selected; no pages of its own.
#pragma once

#include <memory>

#include "rtl/stringlist.h"
#include "ui/commonctrls.h"
#include "ui/controls.h"
#include "ui/imglist.h"

using TTabChangingEvent = TDelegate<void(TObject* Sender, bool& AllowChange)>;
using TDrawTabEvent = TDelegate<void(TObject* Control, Integer TabIndex, const TRect& Rect, bool Active)>;

const TTypeInfo& DescribeType(TypeTag<TDrawTabEvent>);

class TCustomTabControl : public TWinControl {
  KST_CLASS(TCustomTabControl, TWinControl)
 public:
  explicit TCustomTabControl(TComponent* owner);
  ~TCustomTabControl() override;

  TStrings& Tabs() const { return *FTabs; }
  TStrings* GetTabs() const { return FTabs.get(); }
  void SetTabs(TStrings* value);
  // The selected tab, -1 for none.
  Integer TabIndex() const;
  void SetTabIndex(Integer value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* value);
  TTabStyle Style() const { return FStyle; }
  void SetStyle(TTabStyle value);
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool value);
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool value);
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool value);
  bool RaggedRight() const { return FRaggedRight; }
  void SetRaggedRight(bool value);
  bool ScrollOpposite() const { return FScrollOpposite; }
  void SetScrollOpposite(bool value);
  // The area below the tabs.
  TRect DisplayRect();
  TCanvas& Canvas() const { return *FCanvas; }
  // The tab under a client point by the system's hit test, -1 for none.
  Integer IndexOfTabAt(Integer x, Integer y);
  // The image a tab shows.
  virtual Integer GetImageIndex(Integer tabIndex);

  TTabChangingEvent OnChanging;
  TNotifyEvent OnChange;
  TDrawTabEvent OnDrawTab;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void Dispatch(TMessage& message) override;
  virtual bool CanChange();
  // The selection changed (by the user or by SetTabIndex).
  virtual void Change();
  // Puts the tabs into the window again (texts and images).
  void UpdateTabs();

 private:
  void TabsChanged();

  std::unique_ptr<TStringList> FTabs;
  std::unique_ptr<TControlCanvas> FCanvas;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  TCustomImageList* FImages = nullptr;
  Integer FTabIndex = -1;
  TTabStyle FStyle = tsTabs;
  bool FHotTrack = false;
  bool FMultiLine = false;
  bool FOwnerDraw = false;
  bool FRaggedRight = false;
  bool FScrollOpposite = false;
  bool FUpdating = false;
};
