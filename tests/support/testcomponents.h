// A small family of components for streaming and inspector tests: a form-like
// root with published fields and handlers, containers that parent children,
// a font-like sub-object, a collection, a string list, component references
// and properties of every kind.
#pragma once

#include <memory>

#include "classes/collection.h"
#include "classes/component.h"
#include "classes/identmaps.h"
#include "rtl/stringlist.h"
#include "rtl/uitypes.h"

enum TTestAlign { talNone, talTop, talBottom, talLeft, talRight, talClient };
enum TTestAnchor { takLeft, takTop, takRight, takBottom };
using TTestAnchors = TSet<TTestAnchor>;

const TTypeInfo& DescribeType(TypeTag<TTestAlign>);
const TTypeInfo& DescribeType(TypeTag<TTestAnchor>);
const TTypeInfo& DescribeType(TypeTag<TTestAnchors>);

class TTestFont : public TPersistent {
  KST_CLASS(TTestFont, TPersistent)
 public:
  explicit TTestFont(TPersistent* owner = nullptr) : FOwner(owner) {}
  TPersistent* GetOwner() const override { return FOwner; }
  String GetNamePath() const override;
  void Assign(const TPersistent* source) override;
  String Name = u"Tahoma";
  Integer Size = 8;
  Integer Color = static_cast<Integer>(0xFF000008);  // clWindowText
  Integer Charset = 1;
  TFontStyles Style;

 private:
  TPersistent* FOwner;
};

// A picture-like object whose data is binary that it streams on its own.
class TTestPicture : public TPersistent {
  KST_CLASS(TTestPicture, TPersistent)
 public:
  TBytes Data;
  void DefineProperties(TFiler& filer) override;
};

class TTestItem : public TCollectionItem {
  KST_CLASS(TTestItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  String Caption;
  Integer Width = 50;
};

// A control: parented by a container, with a font, events and a buddy.
class TTestControl : public TComponent {
  KST_CLASS(TTestControl, TComponent)
 public:
  explicit TTestControl(TComponent* owner);
  ~TTestControl() override;
  TTestControl* ParentControl() const { return FParentControl; }
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;
  void Loaded() override;

  Integer Left = 0, Top = 0, Width = 75, Height = 25;
  TTestAlign Align = talNone;
  TTestAnchors Anchors{takLeft, takTop};
  String Caption;
  Integer Color = static_cast<Integer>(0xFF00000F);  // clBtnFace
  SmallInt Cursor = 0;
  char16_t Accelerator = 0;
  bool Visible = true;
  double Ratio = 0;
  Int64 Big = 0;
  TTestControl* Buddy = nullptr;
  std::unique_ptr<TTestFont> Font;
  TNotifyEvent OnClick;
  int LoadedOrder = -1;
  static int LoadedCounter;

  TTestFont* GetFont() const { return Font.get(); }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TTestContainer;
  TTestControl* FParentControl = nullptr;
};

class TTestContainer : public TTestControl {
  KST_CLASS(TTestContainer, TTestControl)
 public:
  using TTestControl::TTestControl;
  ~TTestContainer() override;
  const std::vector<TTestControl*>& Controls() const { return FControls; }
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;

 private:
  friend class TTestControl;
  std::vector<TTestControl*> FControls;
};

class TTestMemo : public TTestControl {
  KST_CLASS(TTestMemo, TTestControl)
 public:
  explicit TTestMemo(TComponent* owner)
      : TTestControl(owner), Lines(std::make_unique<TStringList>()),
        Columns(std::make_unique<TOwnedCollection>(this, TTestItem::StaticClass())),
        Picture(std::make_unique<TTestPicture>()) {}
  std::unique_ptr<TStringList> Lines;
  std::unique_ptr<TOwnedCollection> Columns;
  TStringList* GetLines() const { return Lines.get(); }
  TOwnedCollection* GetColumns() const { return Columns.get(); }
  std::unique_ptr<TTestPicture> Picture;
  TTestPicture* GetPicture() const { return Picture.get(); }
};

// The root: a form with published component fields and event handlers.
class TTestForm : public TTestContainer {
  KST_CLASS(TTestForm, TTestContainer)
 public:
  using TTestContainer::TTestContainer;
  bool HasParent() const override { return false; }
  TTestContainer* Panel1 = nullptr;
  TTestControl* Button1 = nullptr;
  TTestMemo* Memo1 = nullptr;
  int Clicks = 0;
  void Button1Click(TObject*) { ++Clicks; }
  void FormCreate(TObject*) {}
};

void RegisterTestComponents(TClassRegistry& registry);
