#include "livetree/win32/livetreeaccessible.h"

#include <algorithm>
#include <atomic>

#include "livetree/win32/livetreecontrol.h"
#include "rtl/numbers.h"

namespace ltcontrol {

void TLTAccessibilityFactory::RegisterAccessibleProvider(ILTAccessibleProvider* provider) {
  if (provider == nullptr) return;
  if (std::find(FAccessibleProviders.begin(), FAccessibleProviders.end(), provider) == FAccessibleProviders.end())
    FAccessibleProviders.push_back(provider);
}

void TLTAccessibilityFactory::UnRegisterAccessibleProvider(ILTAccessibleProvider* provider) {
  FAccessibleProviders.erase(std::remove(FAccessibleProviders.begin(), FAccessibleProviders.end(), provider),
                             FAccessibleProviders.end());
}

IAccessible* TLTAccessibilityFactory::CreateIAccessible(TBaseLiveTree* tree) {
  if (tree == nullptr || FAccessibleProviders.empty()) return nullptr;
  if (tree->FAccessible == nullptr) return FAccessibleProviders.front()->ProvideAccessible(tree);
  if (tree->FAccessibleItem != nullptr) {
    tree->FAccessibleItem->AddRef();
    return tree->FAccessibleItem;
  }
  for (size_t i = FAccessibleProviders.size(); i-- > 1;)
    if (IAccessible* result = FAccessibleProviders[i]->ProvideAccessible(tree)) return result;
  return FAccessibleProviders.front()->ProvideAccessible(tree);
}

TLTAccessibilityFactory& SharedAccessibilityFactory() {
  static TLTAccessibilityFactory factory;
  return factory;
}

namespace {

HMODULE AccessibilityLibrary() {
  static HMODULE library = LoadLibraryW(L"oleacc.dll");
  return library;
}

template <typename Function>
Function AccessibilityFunction(const char* name) {
  HMODULE library = AccessibilityLibrary();
  return library != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)))
                            : nullptr;
}

}  // namespace

LRESULT LresultFromAccessible(WPARAM wParam, IAccessible* accessible) {
  using TFunction = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
  static TFunction function = AccessibilityFunction<TFunction>("LresultFromObject");
  return function != nullptr ? function(IID_IAccessible, wParam, accessible) : 0;
}

HRESULT AccessibleFromWindow(HWND window, DWORD objectId, REFIID riid, void** object) {
  using TFunction = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
  static TFunction function = AccessibilityFunction<TFunction>("AccessibleObjectFromWindow");
  if (object != nullptr) *object = nullptr;
  return function != nullptr ? function(window, objectId, riid, object) : E_NOTIMPL;
}

namespace {

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// The tree by its identifier: once the tree is gone every call answers that
// the object is no longer connected.
class TLTAccessibleTree : public IAccessible {
 public:
  explicit TLTAccessibleTree(TBaseLiveTree* tree) : FTreeIdentifier(tree->Model().TreeIdentifier()) {}
  virtual ~TLTAccessibleTree() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG count = --FRefCount;
    if (count == 0) delete this;
    return count;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (parent == nullptr) return E_POINTER;
    *parent = nullptr;
    TBaseLiveTree* tree = Tree();
    if (tree == nullptr) return CO_E_OBJNOTCONNECTED;
    return AccessibleFromWindow(tree->Handle(), static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                reinterpret_cast<void**>(parent));
  }

  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (count == nullptr) return E_POINTER;
    TBaseLiveTree* tree = Tree();
    if (tree == nullptr) return CO_E_OBJNOTCONNECTED;
    long result = 0;
    ::TBaseLiveTree& model = tree->Model();
    for (PLiveNode node = model.GetFirstVisible(nullptr, true, false); node; node = model.GetNextVisible(node, true))
      ++result;
    *count = result;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
    if (child == nullptr) return E_POINTER;
    *child = nullptr;
    return S_FALSE;  // the items are simple elements
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (name == nullptr) return E_POINTER;
    *name = nullptr;
    TBaseLiveTree* tree = Tree();
    if (tree == nullptr) return CO_E_OBJNOTCONNECTED;
    String text;
    if (IsSelf(child)) {
      text = tree->AccessibleName().empty() ? tree->Name() : tree->AccessibleName();
    } else {
      PLiveNode node = NodeOf(*tree, child);
      if (node == nullptr) return E_INVALIDARG;
      TLiveTreeFont font = tree->Model().Font();
      TRect r;
      tree->Model().GetTextInfo(node, tree->Model().Header().MainColumn(), font, r, text);
    }
    *name = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (value == nullptr) return E_POINTER;
    *value = nullptr;
    TBaseLiveTree* tree = Tree();
    if (tree == nullptr) return CO_E_OBJNOTCONNECTED;
    if (IsSelf(child)) return S_FALSE;
    PLiveNode node = NodeOf(*tree, child);
    if (node == nullptr) return E_INVALIDARG;
    // As the platform's tree view: the item's level.
    String level = IntToStr(static_cast<Integer>(tree->Model().GetNodeLevel(node)));
    *value = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(level.data()), static_cast<UINT>(level.size()));
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* text) override { return NoText(text); }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* text) override { return NoText(text); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (topic != nullptr) *topic = 0;
    return NoText(file);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* text) override { return NoText(text); }

  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (role == nullptr) return E_POINTER;
    VariantInit(role);
    TBaseLiveTree* tree = Tree();
    if (tree == nullptr) return CO_E_OBJNOTCONNECTED;
    if (!IsSelf(child) && NodeOf(*tree, child) == nullptr) return E_INVALIDARG;
    role->vt = VT_I4;
    role->lVal = IsSelf(child) ? ROLE_SYSTEM_OUTLINE : ROLE_SYSTEM_OUTLINEITEM;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (state == nullptr) return E_POINTER;
    VariantInit(state);
    TBaseLiveTree* tree = Tree();
    if (tree == nullptr) return CO_E_OBJNOTCONNECTED;
    ::TBaseLiveTree& model = tree->Model();
    bool focused = GetFocus() == tree->Handle();
    long result = STATE_SYSTEM_FOCUSABLE;
    if (IsSelf(child)) {
      if (focused) result |= STATE_SYSTEM_FOCUSED;
      if (!IsWindowEnabled(tree->Handle())) result |= STATE_SYSTEM_UNAVAILABLE;
    } else {
      PLiveNode node = NodeOf(*tree, child);
      if (node == nullptr) return E_INVALIDARG;
      result |= STATE_SYSTEM_SELECTABLE;
      if (model.TreeOptions().SelectionOptions().Contains(toMultiSelect)) result |= STATE_SYSTEM_MULTISELECTABLE;
      if (node->Has(vsSelected)) result |= STATE_SYSTEM_SELECTED;
      if (focused && node == model.FocusedNode()) result |= STATE_SYSTEM_FOCUSED;
      if (model.HasChildren(node)) result |= node->Has(vsExpanded) ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED;
      if (node->CheckType != ctNone) {
        if (node->CheckState == csCheckedNormal || node->CheckState == csCheckedPressed) result |= STATE_SYSTEM_CHECKED;
        if (node->CheckState == csMixedNormal || node->CheckState == csMixedPressed) result |= STATE_SYSTEM_MIXED;
      }
      if (node->Has(vsDisabled)) result |= STATE_SYSTEM_UNAVAILABLE;
      if (node == model.HotNode()) result |= STATE_SYSTEM_HOTTRACKED;
    }
    state->vt = VT_I4;
    state->lVal = result;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    if (child == nullptr) return E_POINTER;
    VariantInit(child);
    TBaseLiveTree* tree = Tree();
    if (tree == nullptr) return CO_E_OBJNOTCONNECTED;
    if (GetFocus() != tree->Handle()) return S_FALSE;
    child->vt = VT_I4;
    long id = ChildIdOf(*tree, tree->Model().FocusedNode());
    child->lVal = id > 0 ? id : CHILDID_SELF;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    if (children == nullptr) return E_POINTER;
    VariantInit(children);
    TBaseLiveTree* tree = Tree();
    if (tree == nullptr) return CO_E_OBJNOTCONNECTED;
    long id = ChildIdOf(*tree, tree->Model().GetFirstSelected());
    if (id <= 0) return S_FALSE;
    children->vt = VT_I4;
    children->lVal = id;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (action == nullptr) return E_POINTER;
    *action = nullptr;
    TBaseLiveTree* tree = Tree();
    if (tree == nullptr) return CO_E_OBJNOTCONNECTED;
    if (IsSelf(child)) return S_FALSE;
    PLiveNode node = NodeOf(*tree, child);
    if (node == nullptr) return E_INVALIDARG;
    if (!tree->Model().HasChildren(node)) return S_FALSE;
    *action = SysAllocString(node->Has(vsExpanded) ? L"Collapse" : L"Expand");
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    TBaseLiveTree* tree = Tree();
    if (tree == nullptr) return CO_E_OBJNOTCONNECTED;
    if (IsSelf(child)) {
      if (flags & SELFLAG_TAKEFOCUS) ::SetFocus(tree->Handle());
      return S_OK;
    }
    PLiveNode node = NodeOf(*tree, child);
    if (node == nullptr) return E_INVALIDARG;
    ::TBaseLiveTree& model = tree->Model();
    if (flags & SELFLAG_TAKEFOCUS) model.SetFocusedNode(node);
    if (flags & SELFLAG_TAKESELECTION) {
      model.ClearSelection();
      model.SetSelected(node, true);
    }
    if (flags & SELFLAG_ADDSELECTION) model.SetSelected(node, true);
    if (flags & SELFLAG_REMOVESELECTION) model.SetSelected(node, false);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
    TBaseLiveTree* tree = Tree();
    if (tree == nullptr) return CO_E_OBJNOTCONNECTED;
    RECT r{};
    if (IsSelf(child)) {
      GetClientRect(tree->Handle(), &r);
    } else {
      PLiveNode node = NodeOf(*tree, child);
      if (node == nullptr) return E_INVALIDARG;
      TRect display = tree->Model().GetDisplayRect(node, NoColumn, true);
      r = RECT{display.Left, display.Top, display.Right, display.Bottom};
    }
    MapWindowPoints(tree->Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (end == nullptr) return E_POINTER;
    VariantInit(end);
    TBaseLiveTree* tree = Tree();
    if (tree == nullptr) return CO_E_OBJNOTCONNECTED;
    ::TBaseLiveTree& model = tree->Model();
    PLiveNode result = nullptr;
    if (IsSelf(start)) {
      if (direction == NAVDIR_FIRSTCHILD) result = model.GetFirstVisible(nullptr, true, false);
      if (direction == NAVDIR_LASTCHILD) result = model.GetLastVisible(nullptr, true, false);
    } else {
      PLiveNode node = NodeOf(*tree, start);
      if (node == nullptr) return E_INVALIDARG;
      if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) result = model.GetNextVisible(node, true);
      if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) result = model.GetPreviousVisible(node, true);
    }
    long id = ChildIdOf(*tree, result);
    if (id <= 0) return S_FALSE;
    end->vt = VT_I4;
    end->lVal = id;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    if (child == nullptr) return E_POINTER;
    VariantInit(child);
    TBaseLiveTree* tree = Tree();
    if (tree == nullptr) return CO_E_OBJNOTCONNECTED;
    POINT p{x, y};
    ScreenToClient(tree->Handle(), &p);
    RECT client{};
    GetClientRect(tree->Handle(), &client);
    if (!PtInRect(&client, p)) return S_FALSE;
    long id = ChildIdOf(*tree, tree->Model().GetNodeAt(p.x, p.y));
    child->vt = VT_I4;
    child->lVal = id > 0 ? id : CHILDID_SELF;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    TBaseLiveTree* tree = Tree();
    if (tree == nullptr) return CO_E_OBJNOTCONNECTED;
    if (IsSelf(child)) return DISP_E_MEMBERNOTFOUND;
    PLiveNode node = NodeOf(*tree, child);
    if (node == nullptr) return E_INVALIDARG;
    if (!tree->Model().HasChildren(node)) return DISP_E_MEMBERNOTFOUND;
    tree->Model().ToggleNode(node);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  TBaseLiveTree* Tree() const {
    ::TBaseLiveTree* model = LiveTreeFromIdentifier(FTreeIdentifier);
    auto* tree = model != nullptr ? dynamic_cast<TBaseLiveTree*>(model->Host()) : nullptr;
    return tree != nullptr && tree->HandleAllocated() ? tree : nullptr;
  }
  static bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }
  static HRESULT NoText(BSTR* text) {
    if (text == nullptr) return E_POINTER;
    *text = nullptr;
    return S_FALSE;
  }
  // The shown node with this 1-based position, or nil.
  static PLiveNode NodeOf(TBaseLiveTree& tree, const VARIANT& child) {
    if (child.vt != VT_I4 || child.lVal <= 0) return nullptr;
    ::TBaseLiveTree& model = tree.Model();
    long index = 1;
    for (PLiveNode node = model.GetFirstVisible(nullptr, true, false); node;
         node = model.GetNextVisible(node, true), ++index)
      if (index == child.lVal) return node;
    return nullptr;
  }
  static long ChildIdOf(TBaseLiveTree& tree, PLiveNode target) {
    if (target == nullptr) return 0;
    ::TBaseLiveTree& model = tree.Model();
    long index = 1;
    for (PLiveNode node = model.GetFirstVisible(nullptr, true, false); node;
         node = model.GetNextVisible(node, true), ++index)
      if (node == target) return index;
    return 0;
  }

  std::atomic<ULONG> FRefCount{1};
  Cardinal FTreeIdentifier;
};

#pragma GCC diagnostic pop

}  // namespace

IAccessible* TLTDefaultAccessibleProvider::ProvideAccessible(TBaseLiveTree* tree) {
  return tree != nullptr ? new TLTAccessibleTree(tree) : nullptr;
}

// ---- The tree's side ----

LRESULT TBaseLiveTree::HandleGetObject(const TMessage& message) {
  if (static_cast<LONG>(message.LParam) != static_cast<LONG>(OBJID_CLIENT)) {
    TMessage copy = message;
    TCustomControl::WndProc(copy);
    return copy.Result;
  }
  TLTAccessibilityFactory& factory = SharedAccessibilityFactory();
  if (FAccessible == nullptr) FAccessible = factory.CreateIAccessible(this);
  if (FAccessibleItem == nullptr) FAccessibleItem = factory.CreateIAccessible(this);
  if (FAccessible == nullptr) return 0;
  return LresultFromAccessible(message.WParam, FAccessible);
}

void TBaseLiveTree::ReleaseAccessibleObjects() {
  if (FAccessible != nullptr) FAccessible->Release();
  if (FAccessibleItem != nullptr) FAccessibleItem->Release();
  FAccessible = nullptr;
  FAccessibleItem = nullptr;
}

}  // namespace ltcontrol
