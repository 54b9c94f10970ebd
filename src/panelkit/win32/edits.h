// The kit's single-line edit: the system's edit window with an info area at
// its left edge (a glyph and a small preview box), text margins that keep
// the text clear of that area and of buttons, typed views of the text, the
// hooks through which a grid drives it as a cell editor, and a border drawn
// in the visual style.
#pragma once

#include "ui/winapi.h"

#include <memory>

#include "rtl/datetime.h"
#include "ui/controls.h"
#include "ui/graphics.h"
#include "ui/stdctrls.h"

class TPxCustomEdit;

// The screen cursor the edits show over their info area: the program's
// "REVERSEDARROW" cursor, an arrow pointing up and to the right.
inline constexpr TCursor crReversedArrow = 1000;

using TCustomPreviewDrawEvent = TDelegate<void(TObject* Sender, const TRect& PreviewRect)>;
const TTypeInfo& DescribeType(TypeTag<TCustomPreviewDrawEvent>);

// Extra text margins; a change rebuilds the edit's window.
class TPxEditMargins : public TPersistent {
  KST_CLASS(TPxEditMargins, TPersistent)
 public:
  explicit TPxEditMargins(TPxCustomEdit* owner = nullptr) : FOwner(owner) {}
  Integer Left() const { return FLeft; }
  void SetLeft(Integer value);
  Integer Right() const { return FRight; }
  void SetRight(Integer value);
  void Assign(const TPersistent* source) override;
  TPersistent* GetOwner() const override;

 private:
  TPxCustomEdit* FOwner;
  Integer FLeft = 0;
  Integer FRight = 0;
};

// The glyph and the preview box, a child window at the edit's top left.
class TPxEditInfo : public TCustomControl {
  KST_CLASS(TPxEditInfo, TCustomControl)
 public:
  explicit TPxEditInfo(TComponent* owner);
  TPxCustomEdit* Edit() const { return FOwner; }

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void WMEraseBkgnd(TMessage& message) override;

 private:
  TPxCustomEdit* FOwner;
};

class TPxCustomEdit : public TCustomEdit {
  KST_CLASS(TPxCustomEdit, TCustomEdit)
 public:
  explicit TPxCustomEdit(TComponent* owner);
  ~TPxCustomEdit() override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  TPxEditMargins* GetEditMargins() const { return FEditMargins.get(); }
  void SetEditMargins(const TPxEditMargins* value);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(const TBitmap* value);
  bool PreviewBorder() const { return FPreviewBorder; }
  void SetPreviewBorder(bool value);
  bool ShowPreview() const { return FShowPreview; }
  void SetShowPreview(bool value);
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool value) { FWantTabs = value; }
  // Shown for every character when not #0 (a password).
  Char PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(Char value);

  bool Editing() const { return FEditing; }
  bool InplaceEditor() const { return FInplaceEditor; }
  void SetInplaceEditor(bool value) { FInplaceEditor = value; }
  bool EditorUpdating() const { return FEditorUpdating; }
  void SetEditorUpdating(bool value) { FEditorUpdating = value; }
  TPxEditInfo& Info() const { return *FInfo; }

  bool ValueAsBoolean() const { return GetValueAsBoolean(); }
  void SetValueAsBoolean(bool value) { SetValueAsBooleanImpl(value); }
  TDateTime ValueAsDateTime() const { return GetValueAsDateTime(); }
  void SetValueAsDateTime(TDateTime value) { SetValueAsDateTimeImpl(value); }
  double ValueAsFloat() const { return GetValueAsFloat(); }
  void SetValueAsFloat(double value) { SetValueAsFloatImpl(value); }
  Integer ValueAsInteger() const { return GetValueAsInteger(); }
  void SetValueAsInteger(Integer value) { SetValueAsIntegerImpl(value); }
  String ValueAsString() const { return GetValueAsString(); }
  void SetValueAsString(const String& value) { SetValueAsStringImpl(value); }

  // Sends the window the character as if typed.
  void PressKey(Char key);
  void RefreshPreview();
  // The left and right text margins the window has now.
  TPoint AppliedMargins() const { return FAppliedMargins; }

  // The hooks a grid calls when it uses the edit as its cell editor.
  virtual void ApplyEditing() {}
  virtual void BeginEditing() {}
  virtual bool CanDispatchKey(Word /*key*/) { return true; }
  virtual void EndEditing() {}
  // True when the window shows and edits its own text.
  virtual bool CanEditText() const { return true; }
  virtual TRect GetPreviewRect() const;
  virtual void DrawPreview(TCanvas& canvas, const TRect& rect);
  virtual void InfoMouseDown(TObject* sender, TMouseButton button, TShiftState shift, Integer x, Integer y);

  TCustomPreviewDrawEvent OnCustomPreviewDraw;
  TNotifyEvent OnGlyphClick;

  // Sends the margins to the window (after any change that moves them).
  void ApplyMargins();
  void UpdateInfoBounds();

 protected:
  virtual bool GetValueAsBoolean() const;
  virtual TDateTime GetValueAsDateTime() const;
  virtual double GetValueAsFloat() const;
  virtual Integer GetValueAsInteger() const;
  virtual String GetValueAsString() const;
  virtual void SetValueAsBooleanImpl(bool value);
  virtual void SetValueAsDateTimeImpl(TDateTime value);
  virtual void SetValueAsFloatImpl(double value);
  virtual void SetValueAsIntegerImpl(Integer value);
  virtual void SetValueAsStringImpl(const String& value);
  virtual void PaintDisplay() {}
  // Adds the room the info area and any buttons need to the configured margins.
  virtual void AdjustEditMargins(Integer& left, Integer& right);
  virtual void DoCustomPreviewDraw(const TRect& rect);
  virtual void DoGlyphClick();
  void SetEditing(bool value) { FEditing = value; }

  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& message) override;
  void CMEnabledChanged(TMessage& message) override;
  // The glyph's bottom-left pixel becomes its transparent colour.
  void GlyphChanged(TObject* sender);
  // A canvas on the edit window, for descendants that paint over it.
  TCanvas& EditCanvas() const { return *FCanvas; }

 private:
  friend class TPxEditInfo;
  std::unique_ptr<TControlCanvas> FCanvas;
  TAlignment FAlignment = taLeftJustify;
  std::unique_ptr<TPxEditMargins> FEditMargins;
  bool FEditing = false;
  bool FEditorUpdating = false;
  TPxEditInfo* FInfo = nullptr;
  std::unique_ptr<TBitmap> FGlyph;
  bool FInplaceEditor = false;
  bool FPreviewBorder = true;
  bool FShowPreview = false;
  bool FWantTabs = false;
  Char FPasswordChar = 0;
  TPoint FAppliedMargins;
};

// The edit placed on forms, and the base of the button, popup, number and spin edits.
class TPxEdit : public TPxCustomEdit {
  KST_CLASS(TPxEdit, TPxCustomEdit)
 public:
  explicit TPxEdit(TComponent* owner);
  void BeginEditing() override;

 protected:
  void SetValueAsStringImpl(const String& value) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void Dispatch(TMessage& message) override;
  void Change() override;
  // Called after every change of the text.
  virtual void TextChanged() {}
  // The window's edge in the visual style, when styles are on.
  void PaintThemedBorder();

 private:
  bool OverInfoArea(Integer x) const;
};

// What a filtered paste works on: the clipboard's plain text (else empty),
// the edit's text with its selection taken out, and where the selection began.
struct TPasteParts {
  String Pasted;
  String Text;
  Integer Start = 0;
};
TPasteParts TakePasteParts(const TCustomEdit& edit);

// The keys that delete text (Backspace, Clear, Delete): what an edit with
// typing switched off swallows.
inline bool IsDeletionKey(Word key) {
  return key == VK_BACK || key == VK_CLEAR || key == VK_DELETE;
}

// Paints the outer two pixels of a window's frame as the styled edit border.
void PaintThemedEditFrame(HWND window);

// The platform's reading of a Boolean word: "True" or "False" in any case,
// or a number (non-zero is True); anything else raises EConvertError.
bool TextToBoolean(const String& text);
