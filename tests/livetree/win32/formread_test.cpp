// Trees read from forms as the IDE writes them: every property and event the
// tree classes publish reads without an error, keeps its value and is stored
// again exactly when the form had it.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classes/propaccess.h"
#include "classes/reader.h"
#include "formfile/formconvert.h"
#include "formfile/formresource.h"
#include "livetree/win32/livetreecontrol.h"
#include "rtl/streams.h"
#include "rtl/unicode.h"
#include "ui/forms.h"
#include "ui/imglist.h"
#include "ui/menus.h"
#include "ui/registration.h"

namespace {

class TLiveTreeIdeForm : public TForm {
  KST_CLASS(TLiveTreeIdeForm, TForm)
 public:
  using TForm::TForm;
  ltcontrol::TLiveStringTree* Tree = nullptr;
  std::vector<std::string> Calls;

  void TreeHeaderClick(ltcontrol::TLTHeader*, const TLTHeaderHitInfo&) { Calls.push_back("header click"); }
  void TreeEditing(ltcontrol::TBaseLiveTree*, PLiveNode, TColumnIndex, bool& allowed) {
    Calls.push_back("editing");
    allowed = false;
  }
  void TreeBeforeCellPaint(ltcontrol::TBaseLiveTree*, TCanvas*, PLiveNode, TColumnIndex, TLTCellPaintMode, TRect,
                           TRect&) {}
  void TreeAfterCellPaint(ltcontrol::TBaseLiveTree*, TCanvas*, PLiveNode, TColumnIndex, TRect) {}
  void TreeGetHint(ltcontrol::TBaseLiveTree*, PLiveNode, TColumnIndex, TLTTooltipLineBreakStyle&, String& text) {
    text = u"hint";
  }
  void TreeCreateEditor(ltcontrol::TBaseLiveTree*, PLiveNode, TColumnIndex, void*&) {}
};

}  // namespace

KST_CLASS_IMPL(TLiveTreeIdeForm, "LiveTreeTests")

void TLiveTreeIdeForm::Describe(TClassBuilder<TLiveTreeIdeForm>& c) {
  c.Field(u"Tree", &TLiveTreeIdeForm::Tree);
  c.Method(u"TreeHeaderClick", &TLiveTreeIdeForm::TreeHeaderClick);
  c.Method(u"TreeEditing", &TLiveTreeIdeForm::TreeEditing);
  c.Method(u"TreeBeforeCellPaint", &TLiveTreeIdeForm::TreeBeforeCellPaint);
  c.Method(u"TreeAfterCellPaint", &TLiveTreeIdeForm::TreeAfterCellPaint);
  c.Method(u"TreeGetHint", &TLiveTreeIdeForm::TreeGetHint);
  c.Method(u"TreeCreateEditor", &TLiveTreeIdeForm::TreeCreateEditor);
}

namespace {

// As the IDE writes it: the tree's stored properties in their order, the
// events bound to the form's methods, the column captions by their plain
// names and the clipboard formats as a string list.
const char* const kIdeForm = R"(object LiveTreeIdeForm: TLiveTreeIdeForm
  Left = 0
  Top = 0
  Caption = 'Trees'
  ClientHeight = 300
  ClientWidth = 400
  object Tree: TLiveStringTree
    Left = 8
    Top = 8
    Width = 380
    Height = 280
    AutoScrollDelay = 500
    ClipboardFormats.Strings = (
      'CSV'
      'HTML Format'
      'Plain text'
      'Rich Text Format'
      'Unicode text')
    DragImageKind = diMainColumnOnly
    DragMode = dmAutomatic
    DragOperations = [doCopy]
    DragType = dtVCL
    EditDelay = 300
    Header.AutoSizeIndex = 0
    Header.Images = Images1
    Header.Options = [hoColumnResize, hoDrag, hoShowImages, hoVisible]
    Header.PopupMenu = HeaderMenu
    HotCursor = crHandPoint
    IncrementalSearchTimeout = 700
    SelectionBlendFactor = 96
    TabOrder = 0
    WantTabs = True
    OnAfterCellPaint = TreeAfterCellPaint
    OnBeforeCellPaint = TreeBeforeCellPaint
    OnCreateEditor = TreeCreateEditor
    OnEditing = TreeEditing
    OnGetHint = TreeGetHint
    OnHeaderClick = TreeHeaderClick
    Columns = <
      item
        Position = 0
        Text = 'Name'
        Width = 200
      end
      item
        Hint = 'The value'
        Position = 1
        Text = 'Value'
        Width = 150
      end>
  end
  object Images1: TImageList
    Left = 16
    Top = 16
  end
  object HeaderMenu: TPopupMenu
    Left = 48
    Top = 16
  end
end
)";

class LiveTreeFormReadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterUiClasses(FRegistry);
    RegisterLiveTreeClasses(FRegistry);
    FRegistry.RegisterClasses({&TLiveTreeIdeForm::StaticClass()});
    FApp = std::make_unique<TApplication>(nullptr, FRegistry);
  }
  void TearDown() override { FApp.reset(); }

  std::vector<String> Read(const std::string& text, TComponent& root) {
    std::vector<String> errors;
    try {
      TBytesStream textStream(TBytes(text.begin(), text.end()));
      TBytesStream resource;
      FormTextToResource(textStream, resource);
      resource.SetPosition(0);
      ReadResHeader(resource);
      TComponentReader reader(resource, FRegistry);
      reader.OnError = [&errors](TComponentReader&, const String& message, bool& handled) {
        errors.push_back(message);
        handled = true;
      };
      reader.ReadRootComponent(&root);
    } catch (const Exception& e) {
      errors.push_back(e.Message());
    }
    return errors;
  }

  TClassRegistry FRegistry;
  std::unique_ptr<TApplication> FApp;
};

std::string Utf8(const String& text) {
  return std::string(reinterpret_cast<const char*>(StringToUTF8(text).c_str()));
}

TEST_F(LiveTreeFormReadTest, AFormAsTheIdeWritesItReadsWithoutErrorAndKeepsEveryValue) {
  auto* form = new TLiveTreeIdeForm(FApp.get());
  std::vector<String> errors = Read(kIdeForm, *form);
  for (const String& error : errors) ADD_FAILURE() << Utf8(error);
  ASSERT_NE(form->Tree, nullptr);
  ltcontrol::TLiveStringTree& tree = *form->Tree;
  ::TLiveStringTree& model = tree.StringModel();

  const ::TLiveTreeColumns& columns = model.Header().Columns();
  ASSERT_EQ(columns.Count(), 2);
  EXPECT_EQ(columns[0]->Text(), u"Name");
  EXPECT_EQ(columns[1]->Text(), u"Value");
  EXPECT_EQ(columns[1]->Hint(), u"The value");
  TStrings* formats = tree.GetClipboardFormats()->GetStrings();
  ASSERT_EQ(formats->GetCount(), 5);
  EXPECT_EQ(formats->Get(0), u"CSV");
  EXPECT_EQ(formats->Get(4), u"Unicode text");
  EXPECT_EQ(model.AutoScrollDelay(), 500u);
  EXPECT_EQ(model.EditDelay(), 300u);
  EXPECT_EQ(model.IncrementalSearchTimeout(), 700u);
  EXPECT_EQ(model.SelectionBlendFactor(), 96);
  EXPECT_TRUE(model.WantTabs());
  EXPECT_EQ(tree.DragMode(), dmAutomatic);
  EXPECT_TRUE(model.DragAutomatic());
  EXPECT_EQ(model.DragOperations(), TDragOperations{doCopy});
  EXPECT_EQ(tree.DragType(), dtVCL);
  EXPECT_EQ(tree.DragImageKind(), diMainColumnOnly);
  EXPECT_EQ(tree.HotCursor(), crHandPoint);
  EXPECT_EQ(tree.GetHeader()->Images(), form->FindComponent(u"Images1"));
  EXPECT_EQ(tree.GetHeader()->PopupMenu(), form->FindComponent(u"HeaderMenu"));

  // The events reach the form's methods, with the header as the Sender of
  // the header's events.
  ASSERT_TRUE(model.OnHeaderClick);
  model.OnHeaderClick(&model.Header(), TLTHeaderHitInfo{});
  ASSERT_TRUE(model.OnEditing);
  bool allowed = true;
  model.OnEditing(&model, nullptr, 0, allowed);
  EXPECT_FALSE(allowed);
  EXPECT_EQ(form->Calls, (std::vector<std::string>{"header click", "editing"}));
  ASSERT_TRUE(model.OnGetHint);

  // What the form had is stored again, and nothing else: a writer gives the
  // same form back.
  const TClassInfo& info = *tree.ClassType();
  const std::vector<const char16_t*> stored{
      u"AutoScrollDelay", u"ClipboardFormats", u"DragImageKind", u"DragMode", u"DragOperations", u"DragType",
      u"EditDelay", u"HotCursor", u"IncrementalSearchTimeout", u"SelectionBlendFactor", u"WantTabs",
      u"OnAfterCellPaint", u"OnBeforeCellPaint", u"OnCreateEditor", u"OnEditing", u"OnGetHint", u"OnHeaderClick"};
  for (const char16_t* name : stored) {
    const TPropInfo* prop = info.FindProperty(name);
    ASSERT_NE(prop, nullptr) << Utf8(name);
    EXPECT_TRUE(prop->Kind() == tkMethod ? prop->Access().IsMethodAssigned(tree) : IsStoredProp(tree, *prop))
        << Utf8(name);
  }
  for (const char16_t* name : {u"AutoExpandDelay", u"AutoScrollInterval", u"BottomSpace", u"ChangeDelay",
                               u"DefaultPasteMode", u"DragHeight", u"DragWidth", u"IncrementalSearchDirection",
                               u"IncrementalSearchStart", u"AnimationDuration", u"DragKind", u"DragCursor"}) {
    const TPropInfo* prop = info.FindProperty(name);
    ASSERT_NE(prop, nullptr) << Utf8(name);
    EXPECT_EQ(GetOrdProp(tree, *prop), prop->Default()) << Utf8(name) << " keeps its default";
  }
  for (const char16_t* name : {u"OnAfterItemErase", u"OnBeforeItemPaint", u"OnGetPopupMenu", u"OnShowScrollBar",
                               u"OnDragOver", u"OnDragDrop", u"OnNewText", u"OnStartDock", u"OnMouseWheel"}) {
    const TPropInfo* prop = info.FindProperty(name);
    ASSERT_NE(prop, nullptr) << Utf8(name);
    EXPECT_FALSE(prop->Access().IsMethodAssigned(tree)) << Utf8(name);
  }
  const TClassInfo& columnInfo = *tree.GetHeader()->GetColumns()->Items(0)->ClassType();
  EXPECT_FALSE(IsStoredProp(*tree.GetHeader()->GetColumns()->Items(0), *columnInfo.FindProperty(u"Text")))
      << "the caption is written as WideText";
}

// Older forms name the caption WideText; the clipboard formats the tree
// cannot render are left out.
TEST_F(LiveTreeFormReadTest, WideCaptionsAndUnknownClipboardFormatsRead) {
  auto* form = new TLiveTreeIdeForm(FApp.get());
  std::vector<String> errors = Read(R"(object LiveTreeIdeForm: TLiveTreeIdeForm
  object Tree: TLiveStringTree
    ClipboardFormats.Strings = (
      'No such format'
      'CSV')
    Columns = <
      item
        Position = 0
        WideText = 'Wide'
        WideHint = 'Wide hint'
      end>
  end
end
)",
                                     *form);
  for (const String& error : errors) ADD_FAILURE() << Utf8(error);
  ASSERT_NE(form->Tree, nullptr);
  EXPECT_EQ(form->Tree->Model().Header().Columns()[0]->Text(), u"Wide");
  EXPECT_EQ(form->Tree->Model().Header().Columns()[0]->Hint(), u"Wide hint");
  TStrings* formats = form->Tree->GetClipboardFormats()->GetStrings();
  ASSERT_EQ(formats->GetCount(), 1);
  EXPECT_EQ(formats->Get(0), u"CSV");
}

}  // namespace
