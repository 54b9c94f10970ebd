// The tree control's OLE data transfer and accessibility under the real
// platform: the clipboard, the data object, dragging between trees, hostile
// data objects and the accessible object.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <cstring>
#include <map>
#include <memory>
#include <thread>

#include "livetree/win32/livetreecontrol.h"
#include "rtl/unicode.h"
#include "support/win32/harness.h"
#include "support/win32/realinput.h"
#include "ui/forms.h"
#include "ui/registration.h"

namespace {

using ltcontrol::TLiveStringTree;

// A tree whose nodes carry names; the caption chunk carries them along.
struct NamedTree {
  TLiveStringTree* Control = nullptr;
  std::map<PLiveNode, String> Names;

  NamedTree(TForm* form, int left) {
    Control = new TLiveStringTree(form);
    Control->SetParent(form);
    Control->SetBounds(left, 10, 180, 200);
    ::TLiveStringTree& model = Control->StringModel();
    model.TreeOptions().SetAutoOptions(model.TreeOptions().AutoOptions() - TLTAutoOptions{toAutoSort});
    model.TreeOptions().SetSelectionOptions(model.TreeOptions().SelectionOptions() +
                                            TLTSelectionOptions{toMultiSelect});
    model.OnGetText = [this](::TBaseLiveTree*, PLiveNode node, TColumnIndex, TLSTTextType, String& text) {
      auto found = Names.find(node);
      text = found == Names.end() ? String() : found->second;
    };
    model.OnNewText = [this](::TBaseLiveTree*, PLiveNode node, TColumnIndex, const String& text) {
      Names[node] = text;
    };
    model.OnFreeNode = [this](::TBaseLiveTree*, PLiveNode node) { Names.erase(node); };
    TStringList formats;
    for (const char16_t* name :
         {u"Live Tree Data", u"HTML Format", u"CSV", u"Unicode text", u"Plain text", u"Rich Text Format"})
      formats.Add(name);
    Control->GetClipboardFormats()->SetStrings(&formats);
  }
  // Lets go of the events that refer to this object.
  void Detach() {
    if (Control == nullptr) return;
    ::TLiveStringTree& model = Control->StringModel();
    model.OnFreeNode = nullptr;
  }
  ::TLiveStringTree& Model() const { return Control->StringModel(); }
  PLiveNode Add(const String& name, PLiveNode parent = nullptr) {
    PLiveNode node = Model().AddChild(parent);
    Names[node] = name;
    return node;
  }
  PLiveNode Find(const String& name) {
    for (auto& [node, text] : Names)
      if (text == name) return node;
    return nullptr;
  }
  String Describe(PLiveNode parent = nullptr) {
    String result;
    if (parent == nullptr) parent = Model().RootNode();
    for (PLiveNode child = parent->FirstChild; child; child = child->NextSibling) {
      if (!result.empty()) result += u',';
      result += Names[child];
      if (child->FirstChild != nullptr) result += u"(" + Describe(child) + u")";
    }
    return result;
  }
  POINTL ScreenPointOf(PLiveNode node) {
    TRect r = Model().GetDisplayRect(node, NoColumn, true);
    POINT p{r.Left + 3, (r.Top + r.Bottom) / 2};
    ClientToScreen(Control->Handle(), &p);
    return POINTL{p.x, p.y};
  }
  // Drops go where the mode says, through the tree's own import.
  void AcceptDrops() {
    Control->OnDragOver = [](ltcontrol::TBaseLiveTree*, ltcontrol::TBaseLiveTree*, TShiftState, TDragState, TPoint,
                             TDropMode, DWORD&, bool& accept) { accept = true; };
    Control->OnDragDrop = [](ltcontrol::TBaseLiveTree* sender, ltcontrol::TBaseLiveTree*, IDataObject* data,
                             const std::vector<Word>&, TShiftState, TPoint, DWORD& effect, TDropMode mode) {
      TLTNodeAttachMode attach = mode == dmAbove ? amInsertBefore : mode == dmBelow ? amInsertAfter : amAddChildLast;
      sender->ProcessDrop(data, sender->Model().DropTargetNode(), effect, attach);
    };
  }
};

String ClipboardUnicode() {
  String text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const Char*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

std::string ClipboardBytes(UINT format) {
  std::string bytes;
  if (!OpenClipboard(nullptr)) return bytes;
  if (HANDLE data = GetClipboardData(format)) {
    if (const auto* chars = static_cast<const char*>(GlobalLock(data))) {
      bytes.assign(chars, strnlen(chars, GlobalSize(data)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return bytes;
}

HGLOBAL GlobalOf(const void* bytes, size_t size) {
  HGLOBAL block = GlobalAlloc(GHND, size);
  if (size > 0) std::memcpy(GlobalLock(block), bytes, size);
  GlobalUnlock(block);
  return block;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// A data object that says what it is told: "Live Tree Data" and "Live Tree
// Reference" blocks of any size and content.
class THostileDataObject : public IDataObject {
 public:
  std::string Data, Reference;
  bool OfferReference = false;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
      *object = static_cast<IDataObject*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FCount; }
  ULONG STDMETHODCALLTYPE Release() override { return --FCount; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    *medium = STGMEDIUM{};
    const std::string* source = nullptr;
    if (format->cfFormat == ltcontrol::LiveTreeDataFormat()) source = &Data;
    if (format->cfFormat == ltcontrol::LiveTreeReferenceFormat() && OfferReference) source = &Reference;
    if (source == nullptr || (format->tymed & TYMED_HGLOBAL) == 0) return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = GlobalOf(source->data(), source->size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format->cfFormat == ltcontrol::LiveTreeDataFormat() && (format->tymed & TYMED_HGLOBAL) ? S_OK
                                                                                                  : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC** formats) override {
    *formats = new ltcontrol::TEnumFormatEtc(
        {FORMATETC{ltcontrol::LiveTreeDataFormat(), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}});
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

 private:
  ULONG FCount = 1;
};
#pragma GCC diagnostic pop

std::string Le32(Cardinal value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>(value >> (8 * i));
  return bytes;
}

class LiveTreeOleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterUiClasses(FRegistry);
    RegisterLiveTreeClasses(FRegistry);
    FApp = std::make_unique<TApplication>(nullptr, FRegistry);
    FApp->OnException = TExceptionEvent([this](TObject*, const Exception& e) { FExceptions.push_back(e.Message()); });
    FForm = new TForm(FApp.get());
    FForm->SetBounds(30, 30, 420, 260);
    FSource = std::make_unique<NamedTree>(FForm, 10);
    FTarget = std::make_unique<NamedTree>(FForm, 210);
    FForm->Show();
    SetForegroundWindow(FForm->Handle());
    Pump();
    OleSetClipboard(nullptr);
  }
  void TearDown() override {
    EXPECT_TRUE(FExceptions.empty());
    OleSetClipboard(nullptr);
    if (FSource) FSource->Detach();
    if (FTarget) FTarget->Detach();
    FApp.reset();
    harness::PumpMessages();
  }
  void Pump() { FApp->ProcessMessages(); }
  // Source: Alpha(Alpha 1), Beta, Gamma with Alpha and Gamma selected;
  // target: X, Y.
  void Fill() {
    PLiveNode alpha = FSource->Add(u"Alpha");
    FSource->Add(u"Alpha 1", alpha);
    FSource->Add(u"Beta");
    PLiveNode gamma = FSource->Add(u"Gamma");
    FSource->Model().SetSelected(alpha, true);
    FSource->Model().SetSelected(gamma, true);
    FTarget->Add(u"X");
    FTarget->Add(u"Y");
  }

  TClassRegistry FRegistry;
  std::unique_ptr<TApplication> FApp;
  std::vector<String> FExceptions;
  TForm* FForm = nullptr;
  std::unique_ptr<NamedTree> FSource, FTarget;
};

TEST_F(LiveTreeOleTest, CopiedNodesPasteIntoASecondTreeAndTheTextsAreOnTheClipboard) {
  Fill();
  ASSERT_TRUE(FSource->Control->CopyToClipboard());
  EXPECT_TRUE(FSource->Find(u"Alpha")->Has(vsCutOrCopy));
  EXPECT_TRUE(FSource->Model().TreeStates().Contains(tsCopyPending));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  String text = ClipboardUnicode();
  EXPECT_NE(text.find(u"Alpha"), String::npos);
  EXPECT_NE(text.find(u"Gamma"), String::npos);
  EXPECT_EQ(text.find(u"Beta"), String::npos);
  std::string html = ClipboardBytes(ltcontrol::HTMLFormat());
  EXPECT_EQ(html.rfind("Version:1.0", 0), 0u) << html;
  EXPECT_NE(html.find("Alpha"), std::string::npos);
  std::string csv = ClipboardBytes(ltcontrol::CSVFormat());
  EXPECT_NE(csv.find("Gamma"), std::string::npos) << csv;
  EXPECT_NE(ClipboardBytes(CF_TEXT).find("Alpha"), std::string::npos);

  FTarget->Model().SetFocusedNode(FTarget->Find(u"X"));
  FTarget->Model().SetDefaultPasteMode(amInsertAfter);
  ASSERT_TRUE(FTarget->Control->PasteFromClipboard());
  EXPECT_EQ(FTarget->Describe(), u"X,Alpha(Alpha 1),Gamma,Y");
  EXPECT_EQ(FSource->Describe(), u"Alpha(Alpha 1),Beta,Gamma") << "a copy stays";
  // Other data on the clipboard ends the copy: the marks go.
  OleSetClipboard(nullptr);
  EXPECT_FALSE(FSource->Find(u"Alpha")->Has(vsCutOrCopy));
  EXPECT_FALSE(FSource->Model().TreeStates().Contains(tsCopyPending));
}

// The edit commands other programs send reach the tree's clipboard
// operations.
TEST_F(LiveTreeOleTest, CopyCutAndPasteMessagesRunTheClipboardOperations) {
  Fill();
  FSource->Model().TreeOptions().SetMiscOptions(FSource->Model().TreeOptions().MiscOptions() -
                                                TLTMiscOptions{toReadOnly});
  FTarget->Model().TreeOptions().SetMiscOptions(FTarget->Model().TreeOptions().MiscOptions() -
                                                TLTMiscOptions{toReadOnly});
  SendMessageW(FSource->Control->Handle(), WM_COPY, 0, 0);
  EXPECT_TRUE(FSource->Model().TreeStates().Contains(tsCopyPending));
  EXPECT_NE(ClipboardUnicode().find(u"Gamma"), String::npos);
  SendMessageW(FSource->Control->Handle(), WM_CUT, 0, 0);
  EXPECT_TRUE(FSource->Model().TreeStates().Contains(tsCutPending));
  FTarget->Model().SetFocusedNode(FTarget->Find(u"Y"));
  FTarget->Model().SetDefaultPasteMode(amInsertAfter);
  SendMessageW(FTarget->Control->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(FTarget->Describe(), u"X,Y,Alpha(Alpha 1),Gamma");
  EXPECT_EQ(FSource->Describe(), u"Beta") << "the cut moved them";
}

TEST_F(LiveTreeOleTest, ACutMovesOnPasteAndAFlushedOrDestroyedTreeLeavesItsDataBehind) {
  Fill();
  ASSERT_TRUE(FSource->Control->CutToClipboard());
  ASSERT_TRUE(FTarget->Control->PasteFromClipboard());
  EXPECT_EQ(FTarget->Describe(), u"X,Y,Alpha(Alpha 1),Gamma");
  EXPECT_EQ(FSource->Describe(), u"Beta");
  EXPECT_FALSE(FSource->Model().TreeStates().Contains(tsCutPending));

  // Flushing keeps the data on the clipboard and no marks on the tree.
  FSource->Model().SetSelected(FSource->Find(u"Beta"), true);
  ASSERT_TRUE(FSource->Control->CopyToClipboard());
  FSource->Control->FlushClipboard();
  EXPECT_FALSE(FSource->Find(u"Beta")->Has(vsCutOrCopy));
  EXPECT_EQ(ClipboardUnicode().find(u"Beta"), 0u);

  // A tree that goes while its copy is on the clipboard leaves the data.
  ASSERT_TRUE(FSource->Control->CopyToClipboard());
  FSource->Detach();
  delete FSource->Control;
  FSource->Control = nullptr;
  EXPECT_EQ(ClipboardUnicode().find(u"Beta"), 0u);
  ASSERT_TRUE(FTarget->Control->PasteFromClipboard());
  EXPECT_EQ(FTarget->Describe(), u"X,Y,Alpha(Alpha 1),Gamma,Beta");
  FSource.reset();
}

// A form that goes with its tree's copy on the clipboard: the tree is freed
// after the form's own destructor ran, so the clipboard is rendered without
// calling the form's handlers.
TEST_F(LiveTreeOleTest, ATreeWhoseFormGoesCallsNoHandlerOfTheFormWhenTheClipboardIsRendered) {
  struct DyingForm : TForm {
    using TForm::TForm;
    bool* Gone = nullptr;
    ~DyingForm() override { *Gone = true; }
  };
  bool gone = false;
  int lateCalls = 0, calls = 0;
  auto* form = new DyingForm(FApp.get());
  form->Gone = &gone;
  auto* tree = new TLiveStringTree(form);
  tree->SetParent(form);
  TStringList formats;
  for (const char16_t* name : {u"Live Tree Data", u"Unicode text", u"Plain text"}) formats.Add(name);
  tree->GetClipboardFormats()->SetStrings(&formats);
  tree->SetOnGetText(ltcontrol::TLSTGetTextEvent(
      [&](ltcontrol::TBaseLiveTree*, PLiveNode, TColumnIndex, TLSTTextType, String& text) {
        ++calls;
        if (gone) ++lateCalls;
        text = u"Named";
      }));
  form->Show();
  Pump();
  PLiveNode node = tree->StringModel().AddChild(nullptr);
  tree->StringModel().SetSelected(node, true);
  ASSERT_TRUE(tree->CopyToClipboard());
  delete form;
  EXPECT_TRUE(gone);
  EXPECT_EQ(lateCalls, 0);
}

TEST_F(LiveTreeOleTest, ADataObjectThatOutlivesItsTreeReachesNothing) {
  Fill();
  IDataObject* data = FSource->Control->DragDataObject();
  FORMATETC reference{ltcontrol::LiveTreeReferenceFormat(), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  FORMATETC nodes{ltcontrol::LiveTreeDataFormat(), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  // The reference is served but never offered.
  EXPECT_NE(data->QueryGetData(&reference), S_OK);
  STGMEDIUM medium{};
  ASSERT_EQ(data->GetData(&reference, &medium), S_OK);
  ReleaseStgMedium(&medium);
  EXPECT_EQ(FTarget->Control->SourceTreeOf(data), FSource->Control);
  FSource->Detach();
  delete FSource->Control;
  FSource->Control = nullptr;
  EXPECT_EQ(data->QueryGetData(&nodes), S_OK);
  EXPECT_EQ(data->GetData(&nodes, &medium), E_FAIL);
  EXPECT_EQ(data->GetData(&reference, &medium), E_FAIL);
  EXPECT_EQ(FTarget->Control->SourceTreeOf(data), nullptr);
  data->Release();
  FSource.reset();
}

TEST_F(LiveTreeOleTest, TheDataObjectOffersTheListedFormatsInPriorityOrder) {
  Fill();
  IDataObject* data = FSource->Control->DragDataObject();
  IEnumFORMATETC* formats = nullptr;
  ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &formats), S_OK);
  std::vector<CLIPFORMAT> offered;
  FORMATETC format{};
  while (formats->Next(1, &format, nullptr) == S_OK) offered.push_back(format.cfFormat);
  std::vector<CLIPFORMAT> expected{ltcontrol::LiveTreeDataFormat(), ltcontrol::HTMLFormat(), ltcontrol::RTFFormat(),
                                   ltcontrol::CSVFormat(),          CF_UNICODETEXT,          CF_TEXT};
  EXPECT_EQ(offered, expected);
  formats->Reset();
  EXPECT_EQ(formats->Skip(6), S_OK) << "exactly to the end";
  formats->Reset();
  EXPECT_EQ(formats->Skip(7), S_FALSE);
  EXPECT_EQ(formats->Next(1, &format, nullptr), S_OK) << "a failed skip leaves the position";
  formats->Release();
  IEnumFORMATETC* none = nullptr;
  EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &none), OLE_S_USEREG);
  FORMATETC asStorage{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTORAGE};
  EXPECT_EQ(data->QueryGetData(&asStorage), DV_E_TYMED);
  FORMATETC unknown{CF_DIB, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  EXPECT_EQ(data->QueryGetData(&unknown), DV_E_FORMATETC);
  // A medium set by a caller is kept as a copy of its own and handed out.
  FORMATETC custom{static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"Tree test format")), nullptr, DVASPECT_CONTENT,
                   -1, TYMED_HGLOBAL};
  STGMEDIUM given{};
  given.tymed = TYMED_HGLOBAL;
  given.hGlobal = GlobalOf("kept", 5);
  ASSERT_EQ(data->SetData(&custom, &given, FALSE), S_OK);
  ReleaseStgMedium(&given);
  EXPECT_EQ(data->QueryGetData(&custom), S_OK);
  STGMEDIUM taken{};
  ASSERT_EQ(data->GetData(&custom, &taken), S_OK);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(taken.hGlobal)), "kept");
  GlobalUnlock(taken.hGlobal);
  EXPECT_NE(taken.pUnkForRelease, nullptr) << "shared with the data object";
  ReleaseStgMedium(&taken);
  data->Release();
  // Only registered formats the tree's class renders enter the list.
  auto* base = new ltcontrol::TBaseLiveTree(FForm);
  EXPECT_EQ(base->GetClipboardFormats()->Add(u"CSV"), -1);
  EXPECT_GE(base->GetClipboardFormats()->Add(u"live tree data"), 0);
  EXPECT_GE(FSource->Control->GetClipboardFormats()->Add(u"csv"), 0);
  EXPECT_EQ(FSource->Control->GetClipboardFormats()->Add(u"No such format"), -1);
}

TEST_F(LiveTreeOleTest, ADragToAnotherTreeMovesTheNodesThroughItsDropTarget) {
  Fill();
  FTarget->AcceptDrops();
  ASSERT_TRUE(FTarget->Control->DropTargetRegistered());
  EXPECT_EQ(RegisterDragDrop(FTarget->Control->Handle(), FTarget->Control->DragManager()),
            DRAGDROP_E_ALREADYREGISTERED);
  FSource->Model().BeginOleDrag();
  IDataObject* data = FSource->Control->DragDataObject();
  IDropTarget* target = FTarget->Control->DragManager();
  POINTL over = FTarget->ScreenPointOf(FTarget->Find(u"X"));
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  ASSERT_EQ(target->DragEnter(data, MK_LBUTTON, over, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY)) << "between trees a drag copies";
  EXPECT_EQ(FTarget->Model().DropTargetNode(), FTarget->Find(u"X"));
  effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  ASSERT_EQ(target->DragOver(MK_LBUTTON | MK_SHIFT, over, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE)) << "Shift moves";
  harness::SaveForInspection(harness::PaintClient(FTarget->Control->Handle()), L"tree_drop_target");
  effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  ASSERT_EQ(target->Drop(data, MK_SHIFT, over, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE)) << "the moved nodes are not deleted again";
  FSource->Model().EndOleDrag(static_cast<Integer>(effect));
  data->Release();
  EXPECT_EQ(FTarget->Describe(), u"X(Alpha(Alpha 1),Gamma),Y");
  EXPECT_EQ(FSource->Describe(), u"Beta");
  EXPECT_EQ(FTarget->Model().DropTargetNode(), nullptr);
  // Switched off, the window is no drop target any more.
  auto& options = FTarget->Model().TreeOptions();
  options.SetMiscOptions(options.MiscOptions() - TLTMiscOptions{toAcceptOLEDrop});
  EXPECT_FALSE(FTarget->Control->DropTargetRegistered());
}

TEST_F(LiveTreeOleTest, ARealDragDropsWhereTheCursorIsWhenTheButtonIsUp) {
  Fill();
  FTarget->AcceptDrops();
  FSource->Model().SetDragOperations({doCopy});
  POINTL over = FTarget->ScreenPointOf(FTarget->Find(u"Y"));
  SetCursorPos(over.x, over.y);
  Pump();
  FSource->Control->BeginDrag(true);
  EXPECT_FALSE(FSource->Control->Dragging());
  EXPECT_EQ(FSource->Model().LastDragEffect(), DropEffectCopy);
  EXPECT_EQ(FTarget->Describe(), u"X,Y(Alpha(Alpha 1),Gamma)");
  EXPECT_EQ(FSource->Describe(), u"Alpha(Alpha 1),Beta,Gamma");
}

// The drop's handler frees the tree the drag came from: the drag loop ends
// without touching it.
TEST_F(LiveTreeOleTest, FreeingTheSourceTreeDuringItsOwnDragEndsTheDragSafely) {
  Fill();
  FTarget->AcceptDrops();
  FSource->Model().SetDragOperations({doCopy});
  POINTL over = FTarget->ScreenPointOf(FTarget->Find(u"Y"));
  SetCursorPos(over.x, over.y);
  Pump();
  auto drop = FTarget->Control->OnDragDrop;
  FTarget->Control->OnDragDrop = [&](ltcontrol::TBaseLiveTree* sender, ltcontrol::TBaseLiveTree* source,
                                     IDataObject* data, const std::vector<Word>& formats, TShiftState shift,
                                     TPoint p, DWORD& effect, TDropMode mode) {
    drop(sender, source, data, formats, shift, p, effect, mode);
    FSource->Detach();
    delete FSource->Control;
    FSource->Control = nullptr;
  };
  ltcontrol::TLiveStringTree* source = FSource->Control;
  source->BeginDrag(true);
  EXPECT_EQ(FSource->Control, nullptr);
  EXPECT_EQ(FTarget->Describe(), u"X,Y(Alpha(Alpha 1),Gamma)");
  FSource.reset();
}

TEST_F(LiveTreeOleTest, PressingAndMovingTheMouseOnANodeStartsTheDragWhenAllowed) {
  Fill();
  FTarget->AcceptDrops();
  HWND source = FSource->Control->Handle();
  TRect label = FSource->Model().GetDisplayRect(FSource->Find(u"Beta"), NoColumn, true);
  int x = label.Left + 3, y = (label.Top + label.Bottom) / 2;
  POINTL over = FTarget->ScreenPointOf(FTarget->Find(u"X"));
  SetCursorPos(over.x, over.y);
  Pump();
  // Refused by default: moving with the button down drags nothing.
  SendMessageW(source, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(source, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 30, y + 30));
  SendMessageW(source, WM_LBUTTONUP, 0, MAKELPARAM(x + 30, y + 30));
  EXPECT_EQ(FTarget->Describe(), u"X,Y");
  FSource->Model().OnDragAllowed = [](::TBaseLiveTree*, PLiveNode, TColumnIndex, bool& allowed) { allowed = true; };
  SendMessageW(source, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  EXPECT_TRUE(FSource->Control->Dragging());
  SendMessageW(source, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 1, y));
  EXPECT_TRUE(FSource->Model().TreeStates().Contains(tsOLEDragPending)) << "not yet beyond the threshold";
  SendMessageW(source, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 30, y + 30));
  EXPECT_FALSE(FSource->Control->Dragging());
  EXPECT_EQ(FTarget->Describe(), u"X(Beta),Y");
  FSource->Model().OnDragAllowed = nullptr;
}

// The real mouse, through the system's input queue: the button goes down
// on a node that is already part of a multi-selection, the mouse moves to
// the other tree and the button comes up there (from another thread, since
// the drag loop owns this one meanwhile). The whole selection moves.
void MouseInput(DWORD flags, POINTL screen = {0, 0}) {
  // Buttons act where the cursor is; only a move names a point.
  POINT at{screen.x, screen.y};
  if (!(flags & MOUSEEVENTF_MOVE)) GetCursorPos(&at);
  harness::InputMouseAtScreen(at, flags & ~MOUSEEVENTF_MOVE);
}

TEST_F(LiveTreeOleTest, PressingASelectedNodeOfAMultiSelectionDragsTheWholeSelection) {
  Fill();
  FTarget->AcceptDrops();
  FSource->Model().OnDragAllowed = [](::TBaseLiveTree*, PLiveNode, TColumnIndex, bool& allowed) { allowed = true; };
  FSource->Model().SetDragOperations({doCopy});
  POINTL start = FSource->ScreenPointOf(FSource->Find(u"Gamma"));
  POINTL over = FTarget->ScreenPointOf(FTarget->Find(u"Y"));
  MouseInput(MOUSEEVENTF_MOVE, start);
  Pump();
  MouseInput(MOUSEEVENTF_LEFTDOWN);
  for (int i = 0; i < 20 && !FSource->Model().TreeStates().Contains(tsOLEDragPending); ++i) {
    Sleep(20);
    Pump();
  }
  ASSERT_TRUE(FSource->Model().TreeStates().Contains(tsOLEDragPending));
  EXPECT_TRUE(FSource->Model().Selected(FSource->Find(u"Alpha"))) << "the press keeps the selection";
  std::thread release([over] {
    for (int step = 1; step <= 5; ++step) {
      Sleep(60);
      MouseInput(MOUSEEVENTF_MOVE, POINTL{over.x, over.y - 10 + 2 * step});
    }
    Sleep(150);
    MouseInput(MOUSEEVENTF_LEFTUP);
  });
  for (int i = 0; i < 100 && FTarget->Describe() == u"X,Y"; ++i) {
    Sleep(20);
    Pump();
  }
  release.join();
  Pump();
  EXPECT_EQ(FTarget->Describe(), u"X,Y(Alpha(Alpha 1),Gamma)");
  FSource->Model().OnDragAllowed = nullptr;
}

TEST_F(LiveTreeOleTest, HostileDataObjectsAreRefusedWithoutHarm) {
  Fill();
  THostileDataObject hostile;
  // A count far beyond the block: clamped, the few bytes are no node.
  hostile.Data = Le32(0x7FFFFFFF) + std::string(16, '\x01');
  DWORD effect = DROPEFFECT_COPY;
  EXPECT_FALSE(FTarget->Control->ProcessDrop(&hostile, nullptr, effect, amAddChildLast));
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(FTarget->Describe(), u"X,Y");
  EXPECT_THROW(FTarget->Control->ProcessOLEData(nullptr, &hostile, nullptr, amAddChildLast, false), ELiveTreeError);
  EXPECT_EQ(FTarget->Describe(), u"X,Y");
  // A count of 0 imports nothing and succeeds.
  hostile.Data = Le32(0);
  EXPECT_TRUE(FTarget->Control->ProcessOLEData(nullptr, &hostile, nullptr, amAddChildLast, false));

  // References: another process, a tree that is gone, a short block.
  hostile.OfferReference = true;
  Cardinal pid = GetCurrentProcessId();
  Cardinal live = FSource->Model().TreeIdentifier();
  Cardinal dead = 0;
  {
    ::TBaseLiveTree gone;
    dead = gone.TreeIdentifier();
  }
  struct Case {
    std::string Reference;
    bool Resolves;
  } cases[] = {{Le32(pid) + Le32(live), true},
               {Le32(pid + 1) + Le32(live), false},
               {Le32(pid) + Le32(dead), false},
               {Le32(pid), false},
               {"", false}};
  for (const Case& c : cases) {
    hostile.Reference = c.Reference;
    EXPECT_EQ(FTarget->Control->SourceTreeOf(&hostile) != nullptr, c.Resolves);
  }
  // A foreign reference with real node data: the nodes come as copies and
  // the named tree is not touched.
  IDataObject* real = FSource->Control->DragDataObject();
  FORMATETC nodes{ltcontrol::LiveTreeDataFormat(), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  ASSERT_EQ(real->GetData(&nodes, &medium), S_OK);
  hostile.Data.assign(static_cast<const char*>(GlobalLock(medium.hGlobal)), GlobalSize(medium.hGlobal));
  GlobalUnlock(medium.hGlobal);
  ReleaseStgMedium(&medium);
  real->Release();
  hostile.Reference = Le32(pid + 1) + Le32(live);
  effect = DROPEFFECT_MOVE;
  EXPECT_TRUE(FTarget->Control->ProcessDrop(&hostile, nullptr, effect, amAddChildLast));
  EXPECT_EQ(FTarget->Describe(), u"X,Y,Alpha(Alpha 1),Gamma");
  EXPECT_EQ(FSource->Describe(), u"Alpha(Alpha 1),Beta,Gamma");
  // On the clipboard the same data pastes as copies too.
  ASSERT_EQ(OleSetClipboard(&hostile), S_OK);
  hostile.Data = Le32(1000) + std::string(40, '\x02');
  EXPECT_THROW(FTarget->Control->PasteFromClipboard(), ELiveTreeError);
  OleSetClipboard(nullptr);
}

class TCountingProvider : public ltcontrol::ILTAccessibleProvider {
 public:
  int Calls = 0;
  IAccessible* ProvideAccessible(ltcontrol::TBaseLiveTree* tree) override {
    ++Calls;
    return FDefault.ProvideAccessible(tree);
  }

 private:
  ltcontrol::TLTDefaultAccessibleProvider FDefault;
};

TEST_F(LiveTreeOleTest, TheAccessibleObjectReportsTheNamesAndStatesOfTheNodes) {
  Fill();
  HWND window = FTarget->Control->Handle();
  // Without a provider there is no accessible object.
  EXPECT_EQ(SendMessageW(window, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT)), 0);
  TCountingProvider provider;
  auto& factory = ltcontrol::SharedAccessibilityFactory();
  factory.RegisterAccessibleProvider(&provider);
  factory.RegisterAccessibleProvider(&provider);
  EXPECT_EQ(factory.ProviderCount(), 1u);
  PLiveNode x = FTarget->Find(u"X");
  FTarget->Add(u"X 1", x);
  FTarget->Model().SetCheckType(FTarget->Find(u"Y"), ctCheckBox);
  FTarget->Model().SetCheckState(FTarget->Find(u"Y"), csCheckedNormal);
  FTarget->Model().SetSelected(FTarget->Find(u"Y"), true);
  FTarget->Control->SetAccessibleName(u"Objects");
  IAccessible* accessible = nullptr;
  ASSERT_EQ(ltcontrol::AccessibleFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                            reinterpret_cast<void**>(&accessible)),
            S_OK);
  ASSERT_NE(accessible, nullptr);
  EXPECT_EQ(provider.Calls, 2) << "one object for the tree, one for its items";
  long count = 0;
  EXPECT_EQ(accessible->get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, 2);
  auto name = [&](long id) {
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = id;
    BSTR text = nullptr;
    accessible->get_accName(child, &text);
    String result = text != nullptr ? String(reinterpret_cast<const Char*>(text)) : String();
    SysFreeString(text);
    return result;
  };
  auto state = [&](long id) {
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = id;
    VARIANT result{};
    accessible->get_accState(child, &result);
    return result.lVal;
  };
  EXPECT_EQ(name(CHILDID_SELF), u"Objects");
  EXPECT_EQ(name(1), u"X");
  EXPECT_EQ(name(2), u"Y");
  EXPECT_TRUE(state(1) & STATE_SYSTEM_COLLAPSED);
  EXPECT_FALSE(state(1) & STATE_SYSTEM_SELECTED);
  EXPECT_TRUE(state(2) & STATE_SYSTEM_SELECTED);
  EXPECT_TRUE(state(2) & STATE_SYSTEM_CHECKED);
  FTarget->Model().ToggleNode(x);
  EXPECT_TRUE(state(1) & STATE_SYSTEM_EXPANDED);
  EXPECT_EQ(name(2), u"X 1");
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  VARIANT role{};
  EXPECT_EQ(accessible->get_accRole(self, &role), S_OK);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_OUTLINE);
  // Once the tree is gone the object answers that it is not connected.
  FTarget->Detach();
  delete FTarget->Control;
  FTarget->Control = nullptr;
  EXPECT_EQ(accessible->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
  accessible->Release();
  factory.UnRegisterAccessibleProvider(&provider);
  factory.UnRegisterAccessibleProvider(&provider);
  EXPECT_EQ(factory.ProviderCount(), 0u);
  FTarget.reset();
}

}  // namespace
