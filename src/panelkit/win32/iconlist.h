// The icon list: one horizontal row of large icons with captions under
// them, scrolled by a flat bar of its own along the bottom; the item under
// the pointer and the selected one are drawn enlarged.
#pragma once

#include "ui/winapi.h"

#include <memory>

#include "rtl/stringlist.h"
#include "ui/controls.h"
#include "ui/imglist.h"

class TPxIconList : public TCustomControl {
  KST_CLASS(TPxIconList, TCustomControl)
 public:
  // The track's inset from the client edges, and the least thumb width.
  static constexpr Integer kTrackInset = 5;
  static constexpr Integer kLeastThumbWidth = 10;
  // How much the hover and selected icons grow on each side.
  static constexpr Integer kExpansion = 5;

  explicit TPxIconList(TComponent* owner);
  ~TPxIconList() override;

  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor value);
  // Watched: a freed image list is let go of.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* value);
  TStrings& Items() const { return *FItems; }
  TStrings* GetItems() const { return FItems.get(); }
  void SetItems(const TStrings* value);
  Integer ItemIndex() const { return FItemIndex; }
  // Not applied while the list is read from a form.
  void SetItemIndex(Integer value);
  TColor ScrollBarColor() const { return FScrollBarColor; }
  void SetScrollBarColor(TColor value);
  Integer ScrollBarHeight() const { return FScrollBarHeight; }
  void SetScrollBarHeight(Integer value);
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer value);
  Integer HoverIndex() const { return FHoverIndex; }
  // Scroll offset of the items and of the thumb, in pixels.
  Integer Indent() const { return FIndent; }
  Integer Position() const { return FPosition; }

  Integer GetItemAtPos(Integer x, Integer y);
  TRect GetItemRect(Integer index, bool expand);

  virtual Integer CalcThumbWidth() const;
  virtual Integer GetThumbWidth() const;
  virtual TRect GetScrollTrackRect() const;
  virtual Integer GetContentWidth() const;
  virtual TRect GetThumbRect() const;
  virtual TRect GetItemsRect() const;
  virtual void RefreshItem(Integer index, bool expand);
  virtual void ScrollThumb(Integer deltaX);
  virtual void ScrollItems(Integer deltaX);

  TNotifyEvent OnChange;

 protected:
  void Paint() override;
  void Dispatch(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  void KeyDown(Word& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void CMMouseLeave(TMessage& message) override;

 private:
  // An item's icon rectangle and the height it takes with its caption.
  struct TItemPlace {
    Integer Left;
    Integer Top;
    Integer Height;
  };
  TItemPlace PlaceOf(Integer index, TCanvas& canvas) const;
  Integer ImageWidth() const;
  Integer ImageHeight() const;
  Integer TrackWidth() const { return ClientWidth() - 2 * kTrackInset; }
  Integer ItemPitch() const { return ImageWidth() + 2 * FSpacing; }
  void DragThumb(Integer x);
  void ScrollArea(const TRect& rect, Integer deltaX);

  Integer FHoverIndex = -1;
  TCustomImageList* FImages = nullptr;
  std::unique_ptr<TStringList> FItems;
  Integer FOldPosition = 0;
  Integer FIndent = 0;
  Integer FPosition = 0;
  Integer FSpacing = 20;
  bool FThumbPressed = false;
  Integer FThumbMousePos = 0;
  TColor FBorderColor = clGrayText;
  Integer FItemIndex = 0;
  TColor FScrollBarColor = clHighlight;
  Integer FScrollBarHeight = 16;
};
