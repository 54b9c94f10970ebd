// The header panel: a container with a strip across its top that shows a
// caption, a glyph and a collapse button. Collapsing narrows the panel to a
// fixed width; expanding gives back the width it had.
#pragma once

#include "ui/winapi.h"

#include <memory>

#include "panelkit/colorschemes.h"
#include "panelkit/pxclasses.h"
#include "panelkit/win32/collection.h"
#include "panelkit/win32/pagecontrol.h"
#include "ui/graphics.h"

enum TPxHeaderStyle { psFlat, psNormal, psSectionHeader, psVista, psWindowsLive };
// The image lists' drawing styles already take the name dsNormal: the
// panel's display styles are spelt with their scope (headerdisplay::dsNormal).
namespace headerdisplay {
enum TDisplayStyle { dsNormal, dsHeaderOnly, dsPanelOnly };
}
using TDisplayStyle = headerdisplay::TDisplayStyle;
enum THeaderOption { hoClickOnBodyExpand, hoColorSchemeFont, hoCollapseButton };
using THeaderOptions = TSet<THeaderOption>;
using TCollapseEvent = TDelegate<void(TObject* Sender, bool& Accept)>;

const TTypeInfo& DescribeType(TypeTag<TPxHeaderStyle>);
const TTypeInfo& DescribeType(TypeTag<TDisplayStyle>);
const TTypeInfo& DescribeType(TypeTag<THeaderOption>);
const TTypeInfo& DescribeType(TypeTag<THeaderOptions>);
const TTypeInfo& DescribeType(TypeTag<TDirection>);
// The same C++ type as other (Sender, var Boolean) events: the properties name this one.
const TMethodTypeInfo& CollapseEventType();

class TPxHeaderPanel : public TPxCollectionControl {
  KST_CLASS(TPxHeaderPanel, TPxCollectionControl)
 public:
  // A panel this narrow or narrower counts as collapsed.
  static constexpr Integer kCollapsedLimit = 33;

  explicit TPxHeaderPanel(TComponent* owner);
  ~TPxHeaderPanel() override;

  bool AdaptiveColors() const { return FAdaptiveColors; }
  void SetAdaptiveColors(bool value);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor value);
  Integer BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(Integer value);
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& value);
  Integer CollapseWidth() const { return FCollapseWidth; }
  void SetCollapseWidth(Integer value) { FCollapseWidth = value; }
  TColorScheme ColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme value);
  TDisplayStyle DisplayStyle() const { return FDisplayStyle; }
  void SetDisplayStyle(TDisplayStyle value);
  TDirection DrawDirection() const { return FDrawDirection; }
  void SetDrawDirection(TDirection value);
  bool Expanded() const { return FExpanded; }
  void SetExpanded(bool value);
  // The width an expansion gives back.
  Integer FullWidth() const { return FFullWidth; }
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(const TBitmap* value);
  TColor HeaderColor() const { return FHeaderColor; }
  void SetHeaderColor(TColor value);
  TFont* GetHeaderFont() const { return FHeaderFont.get(); }
  void SetHeaderFont(const TFont* value);
  Integer HeaderSize() const { return FHeaderSize; }
  void SetHeaderSize(Integer value);
  TPxHeaderStyle HeaderStyle() const { return FHeaderStyle; }
  void SetHeaderStyle(TPxHeaderStyle value);
  Integer Indent() const { return FIndent; }
  void SetIndent(Integer value);
  TPxMargins* GetInnerMargins() const { return FInnerMargins.get(); }
  void SetInnerMargins(const TPxMargins* value);
  THeaderOptions Options() const { return FOptions; }
  void SetOptions(THeaderOptions value);
  TPxPanelStyle PanelStyle() const { return FPanelStyle; }
  void SetPanelStyle(TPxPanelStyle value);
  bool ParentHeaderFont() const { return FParentHeaderFont; }
  void SetParentHeaderFont(bool value);
  TPicture* GetPicture() const { return FPicture.get(); }
  void SetPicture(const TPicture* value);
  TButtonState ButtonState() const { return FBtnState; }

  // The collapse button, in client coordinates.
  TRect GetButtonRect() const;
  TRect HeaderRect() const;
  TRect BodyRect() const;
  TRect GlyphRect() const;
  void AdjustClientRect(TRect& rect) const override;

  TNotifyEvent OnChange;
  TNotifyEvent OnGlyphClick;
  TNotifyEvent OnHeaderClick;
  TCollapseEvent OnCollapse;
  TCollapseEvent OnExpand;

 protected:
  void DefineProperties(TFiler& filer) override;
  void Paint() override;
  void Dispatch(TMessage& message) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void CMMouseLeave(TMessage& message) override;
  void CMParentFontChanged(TMessage& message) override;
  void CMTextChanged(TMessage& message) override;

  virtual void DrawButton(const TRect& rect);
  virtual void DrawButtonFace(const TRect& rect);
  virtual void DrawFlatHeader(const TRect& rect);
  virtual void DrawNormalHeader(const TRect& rect);
  virtual void DrawSectionHeader(const TRect& rect);
  virtual void DrawVistaHeader(const TRect& rect);
  virtual void DrawWindowsLiveHeader(const TRect& rect);
  virtual void DrawBorder();
  virtual void DoCollapse(bool& accept);
  virtual void DoExpand(bool& accept);
  virtual void DoGlyphClick();
  virtual void DoHeaderClick();

 private:
  void FillBody(const TRect& rect);
  void SetButtonState(TButtonState value);
  void GlyphChanged(TObject*);
  void HeaderFontChanged(TObject*);
  void MarginsChanged(TObject*);
  void PictureChanged(TObject*);
  void CopyFontToHeaderFont();
  void Resized();
  void RefreshFrame();
  TColor SchemeRole(Byte role) const { return SchemeColor(role, FColorScheme); }

  bool FAdaptiveColors = true;
  TColor FBorderColor = 0;
  Integer FBorderWidth = 1;
  TButtonState FBtnState;
  String FCaption;
  Integer FCollapseWidth = kCollapsedLimit;
  TColorScheme FColorScheme = csDefault;
  TDisplayStyle FDisplayStyle = headerdisplay::dsNormal;
  TDirection FDrawDirection = diLeftToRight;
  bool FExpanded = true;
  bool FExpanding = false;
  Integer FFullWidth = 245;
  std::unique_ptr<TBitmap> FGlyph;
  TColor FHeaderColor = clActiveCaption;
  std::unique_ptr<TFont> FHeaderFont;
  bool FCopyingHeaderFont = false;
  bool FHeaderMouseDown = false;
  Integer FHeaderSize = 27;
  TPxHeaderStyle FHeaderStyle = psNormal;
  Integer FIndent = 9;
  std::unique_ptr<TPxMargins> FInnerMargins;
  THeaderOptions FOptions{hoColorSchemeFont};
  TPxPanelStyle FPanelStyle = ptDefault;
  bool FParentHeaderFont = true;
  std::unique_ptr<TPicture> FPicture;
};
