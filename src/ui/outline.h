// Controls of the oldest palettes: the outline (an indented list of lines
// that fold), the directory outline (the path of a folder as an outline,
// read from the form only) and the tabbed notebook (pages under rows of tabs).
#pragma once

#include <memory>
#include <vector>

#include "rtl/stringlist.h"
#include "ui/controls.h"
#include "ui/graphics.h"
#include "ui/stdctrls.h"

enum TOutlineStyle {
  osText,
  osPlusMinusText,
  osPictureText,
  osPlusMinusPictureText,
  osTreeText,
  osTreePictureText
};
enum TOutlineOption { ooDrawTreeRoot, ooDrawFocusRect, ooStretchBitmaps };
using TOutlineOptions = TSet<TOutlineOption>;
enum TOutlineType { otStandard, otOwnerDraw };
// The directory outline's own text case (the drive combo box has one of two values).
namespace diroutln {
enum TTextCase { tcLowerCase, tcUpperCase, tcAsIs };
}  // namespace diroutln
const TTypeInfo& DescribeType(TypeTag<TOutlineStyle>);
const TTypeInfo& DescribeType(TypeTag<TOutlineOption>);
const TTypeInfo& DescribeType(TypeTag<TOutlineOptions>);
const TTypeInfo& DescribeType(TypeTag<TOutlineType>);
const TTypeInfo& DescribeType(TypeTag<diroutln::TTextCase>);

// One line of an outline: its text and how deep it stands.
class TOutlineNode : public TPersistent {
  KST_CLASS(TOutlineNode, TPersistent)
 public:
  TOutlineNode() = default;
  TOutlineNode(String text, Integer level) : Text(std::move(text)), Level(level) {}
  String Text;
  Integer Level = 1;
  bool Expanded = false;
};

class TOutline : public TCustomControl {
  KST_CLASS(TOutline, TCustomControl)
 public:
  explicit TOutline(TComponent* owner);
  ~TOutline() override;
  TStrings* GetLines() const { return FLines.get(); }
  void SetLines(const TStrings* lines);
  TOutlineStyle OutlineStyle = osTreePictureText;
  TOutlineOptions Options{ooDrawTreeRoot, ooDrawFocusRect};
  TOutlineType Style = otStandard;
  Integer ItemHeight = 0;
  String ItemSeparator = u"\\";
  TScrollStyle ScrollBars = ssBoth;
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value);
  TNotifyEvent OnChange;
  // The lines as nodes: the level counts the tabs (or spaces) before the text.
  const std::vector<TOutlineNode>& Nodes() const { return FNodes; }
  // The nodes shown: those whose parents are all unfolded.
  std::vector<const TOutlineNode*> ShownNodes() const;
  Integer RowHeight();

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  // The nodes are made again from the lines.
  virtual void LinesChanged();
  std::vector<TOutlineNode> FNodes;

 private:
  std::unique_ptr<TStringList> FLines;
  TFormBorderStyle FBorderStyle = bsSingle;
};

// The folder Directory as an outline of its path, each part one level deeper.
class TDirectoryOutline : public TOutline {
  KST_CLASS(TDirectoryOutline, TOutline)
 public:
  explicit TDirectoryOutline(TComponent* owner);
  const String& Directory() const { return FDirectory; }
  void SetDirectory(const String& value);
  diroutln::TTextCase TextCase() const { return FTextCase; }
  void SetTextCase(diroutln::TTextCase value);

 protected:
  void Loaded() override;

 private:
  void ShowPath();
  String FDirectory;
  diroutln::TTextCase FTextCase = diroutln::tcLowerCase;
};

// A page of a tabbed notebook; its caption names its tab.
class TTabPage : public TCustomControl {
  KST_CLASS(TTabPage, TCustomControl)
 public:
  explicit TTabPage(TComponent* owner);

 protected:
  void Paint() override;
};

using TPageChangeEvent = TDelegate<void(TObject* Sender, Integer NewTab, bool& AllowChange)>;
// Given with the property: the tab set's change event has the same signature.
const TMethodTypeInfo& PageChangeEventType();

class TTabbedNotebook : public TCustomControl {
  KST_CLASS(TTabbedNotebook, TCustomControl)
 public:
  explicit TTabbedNotebook(TComponent* owner);
  ~TTabbedNotebook() override;
  Integer PageIndex() const { return FPageIndex; }
  void SetPageIndex(Integer index);
  String ActivePage() const;
  void SetActivePage(const String& caption);
  Integer TabsPerRow() const { return FTabsPerRow; }
  void SetTabsPerRow(Integer value);
  TFont* GetTabFont() const { return FTabFont.get(); }
  void SetTabFont(const TFont* font);
  std::vector<TTabPage*> Pages() const;
  TComponent* GetChildOwner() override { return this; }
  TPageChangeEvent OnChange;
  // The rectangle of a tab, and the height of the rows of tabs.
  TRect TabRect(Integer index) const;
  Integer TabsHeight() const;

 protected:
  void Loaded() override;
  void Paint() override;
  void AlignControls(TControl* control, TRect& rect) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;

 private:
  void ShowPage();
  Integer FPageIndex = 0, FTabsPerRow = 3;
  String FActivePage;  // while loading
  std::unique_ptr<TFont> FTabFont;
};

void RegisterOutlineClasses(TClassRegistry& registry);
