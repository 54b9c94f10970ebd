// The scroll bar, the header control with its sections and the older drawn
// header, the page scroller, the spin button and the tab set's scroller.
#pragma once

#include <memory>

#include "classes/collection.h"
#include "rtl/stringlist.h"
#include "ui/commonctrls.h"
#include "ui/forms.h"
#include "ui/graphics.h"

class TCustomImageList;

enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = TDelegate<void(TObject* Sender, TScrollCode ScrollCode, Integer& ScrollPos)>;
enum THeaderSectionStyle { hsText, hsOwnerDraw };
// In a namespace of its own: the panel kit's headers have a style of the same name.
namespace comctrls {
enum THeaderStyle { hsButtons, hsFlat };
}  // namespace comctrls
enum TPageScrollerOrientation { soHorizontal, soVertical };
const TTypeInfo& DescribeType(TypeTag<TScrollCode>);
const TTypeInfo& DescribeType(TypeTag<TScrollEvent>);
const TTypeInfo& DescribeType(TypeTag<THeaderSectionStyle>);
const TTypeInfo& DescribeType(TypeTag<comctrls::THeaderStyle>);
const TTypeInfo& DescribeType(TypeTag<TPageScrollerOrientation>);

// The system's scroll bar; the thumb follows the arrows, the page area and
// dragging, and OnScroll may change where it lands.
class TScrollBar : public TWinControl {
  KST_CLASS(TScrollBar, TWinControl)
 public:
  explicit TScrollBar(TComponent* owner);
  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind value);
  Integer Min() const { return FMin; }
  void SetMin(Integer value) { SetParams(FPosition, value, FMax); }
  Integer Max() const { return FMax; }
  void SetMax(Integer value) { SetParams(FPosition, FMin, value); }
  Integer Position() const { return FPosition; }
  void SetPosition(Integer value) { SetParams(value, FMin, FMax); }
  Integer PageSize() const { return FPageSize; }
  void SetPageSize(Integer value);
  // Sets the range and the position at once (the position kept inside).
  void SetParams(Integer position, Integer min, Integer max);
  Integer LargeChange = 1, SmallChange = 1;
  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& message) override;

 private:
  void ApplyScrollInfo();
  void Scroll(TScrollCode code, Integer position);
  TScrollBarKind FKind = sbHorizontal;
  Integer FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0;
};

class THeaderControl;

class THeaderSection : public TCollectionItem {
  KST_CLASS(THeaderSection, TCollectionItem)
 public:
  explicit THeaderSection(TCollection* collection);
  String Text;
  Integer Width() const { return FWidth; }
  void SetWidth(Integer value);
  Integer MinWidth = 0, MaxWidth = 10000, ImageIndex = -1;
  TAlignment Alignment = taLeftJustify;
  bool AllowClick = true, AutoSize = false;
  THeaderSectionStyle Style = hsText;
  // The left edge of the section in the header.
  Integer Left() const;
  String DisplayName() const override;
  void Assign(const TPersistent* source) override;

 private:
  Integer FWidth = 50;
};

class THeaderSections : public TCollection {
  KST_CLASS(THeaderSections, TCollection)
 public:
  explicit THeaderSections(THeaderControl* header = nullptr);
  THeaderSection* Add() { return static_cast<THeaderSection*>(TCollection::Add()); }
  THeaderSection* Items(int index) const { return static_cast<THeaderSection*>(TCollection::Items(index)); }
  TPersistent* GetOwner() const override;

 protected:
  void Update(TCollectionItem* item) override;

 private:
  THeaderControl* FHeader;
};

using TSectionNotifyEvent = TDelegate<void(THeaderControl* HeaderControl, THeaderSection* Section)>;
const TTypeInfo& DescribeType(TypeTag<TSectionNotifyEvent>);

// The system's header control: one item per section.
class THeaderControl : public TCommonControl {
  KST_CLASS(THeaderControl, TCommonControl)
 public:
  explicit THeaderControl(TComponent* owner);
  ~THeaderControl() override;
  THeaderSections& Sections() const { return *FSections; }
  THeaderSections* GetSections() const { return FSections.get(); }
  void SetSections(const THeaderSections* sections);
  bool DragReorder = false, FullDrag = true, HotTrack = false;
  comctrls::THeaderStyle Style = comctrls::hsButtons;
  TCustomImageList* Images = nullptr;
  TSectionNotifyEvent OnSectionClick, OnSectionResize;
  // Tells the system's window the sections again.
  void UpdateSections();
  // The number of items the system's window holds.
  Integer ItemCount();

 protected:
  void CreateParams(TCreateParams& params) override;
  void ApplyToWindow() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::unique_ptr<THeaderSections> FSections;
};

using TSectionEvent = TDelegate<void(TObject* Sender, Integer ASection, Integer AWidth)>;
// Given with each property: the signature is the classes' integer-pair event.
const TMethodTypeInfo& SectionEventType();

// The header of older forms: a row of captions drawn by the library, each
// as wide as its text.
class THeader : public TCustomControl {
  KST_CLASS(THeader, TCustomControl)
 public:
  explicit THeader(TComponent* owner);
  ~THeader() override;
  TStrings* GetSections() const { return FSections.get(); }
  void SetSections(const TStrings* sections);
  bool AllowResize = true;
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value);
  // The width of a section: its text's, the last one taking what is left.
  Integer SectionWidth(Integer index);
  TSectionEvent OnSized, OnSizing;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;

 private:
  std::unique_ptr<TStringList> FSections;
  TFormBorderStyle FBorderStyle = bsSingle;
};

// The system's pager: it holds its child control and scrolls it, with
// buttons at its ends while the child is larger than the pager.
class TPageScroller : public TCommonControl {
  KST_CLASS(TPageScroller, TCommonControl)
 public:
  explicit TPageScroller(TComponent* owner);
  bool AutoScroll = false, DragScroll = true;
  Integer ButtonSize = 12, Margin = 0;
  TPageScrollerOrientation Orientation = soHorizontal;
  TWinControl* Control() const { return FControl; }
  void SetControl(TWinControl* control);
  // How far the child is scrolled, in pixels.
  Integer Position() const;
  void SetPosition(Integer value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void ApplyToWindow() override;
  void Notification(TComponent* component, TOperation operation) override;
  void CMShowingChanged(TMessage& message) override;
  void Dispatch(TMessage& message) override;

 private:
  // Gives the pager its child once both windows exist.
  void AttachControl();
  TWinControl* FControl = nullptr;
  Integer FPosition = 0;
};

// Two arrow buttons on top of each other, drawn as the system's scroll
// arrows; a click reports OnUpClick or OnDownClick.
class TSpinButton : public TCustomControl {
  KST_CLASS(TSpinButton, TCustomControl)
 public:
  explicit TSpinButton(TComponent* owner);
  ~TSpinButton() override;
  TBitmap* GetUpGlyph() const { return FUpGlyph.get(); }
  void SetUpGlyph(const TBitmap* glyph);
  TBitmap* GetDownGlyph() const { return FDownGlyph.get(); }
  void SetDownGlyph(const TBitmap* glyph);
  Integer UpNumGlyphs = 1, DownNumGlyphs = 1;
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* control);
  TNotifyEvent OnUpClick, OnDownClick;
  // The halves of the button.
  TRect UpRect() const;
  TRect DownRect() const;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::unique_ptr<TBitmap> FUpGlyph, FDownGlyph;
  TWinControl* FFocusControl = nullptr;
  Integer FPressed = 0;  // 1 up, 2 down
};

// The two arrows a tab set shows when its tabs do not fit: a click moves
// Position by Change between Min and Max.
class TScroller : public TCustomControl {
  KST_CLASS(TScroller, TCustomControl)
 public:
  explicit TScroller(TComponent* owner);
  Integer Min = 0, Max = 0, Change = 1;
  Integer Position() const { return FPosition; }
  void SetPosition(Integer value);

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;

 private:
  Integer FPosition = 0;
};

void RegisterScrollControlClasses(TClassRegistry& registry);
