#include "services/win32/dragdrop.h"

#include <shlobj.h>

#include <algorithm>

#include "rtl/files.h"
#include "rtl/stringlist.h"
#include "services/componentref.h"
#include "ui/controls.h"
#include "ui/forms.h"

KST_CLASS_IMPL(TSvDropTarget, "SvDragDrop")

namespace {

constexpr HRESULT kUnexpected = static_cast<HRESULT>(0x8000FFFF);
constexpr ULONG kCopyBlock = 102400;

// The formats asked for; the registered numbers are the system's for the
// whole session, so they are looked up once.
FORMATETC FileNamesFormat() {
  return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, 0, TYMED_HGLOBAL};
}

FORMATETC FileDescriptorFormat() {
  static const CLIPFORMAT format = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"FileGroupDescriptorW"));
  return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

FORMATETC FileContentsFormat(Integer index) {
  static const CLIPFORMAT format = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"FileContents"));
  return FORMATETC{format, nullptr, DVASPECT_CONTENT, index, TYMED_ISTREAM | TYMED_ISTORAGE};
}

TShiftState KeyboardShift() {
  TShiftState shift;
  if (GetKeyState(VK_SHIFT) < 0) shift.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) shift.Include(ssCtrl);
  return shift;
}

// Releases a storage medium at the end of the scope.
struct TMediumScope {
  STGMEDIUM Medium{};
  ~TMediumScope() { ReleaseStgMedium(&Medium); }
};

// Copies `size` bytes read by `read` into the stream at its position, which
// first grows by that much.
template <typename Read>
bool CopyInto(TStream& stream, ULONGLONG size, Read read) {
  if (size == 0) return true;
  const Int64 position = stream.Position();
  stream.SetSize(stream.Size() + static_cast<Int64>(size));
  stream.SetPosition(position);
  std::vector<Byte> block(kCopyBlock);
  ULONGLONG done = 0;
  while (done < size) {
    const ULONG want = static_cast<ULONG>(std::min<ULONGLONG>(kCopyBlock, size - done));
    ULONG got = 0;
    if (FAILED(read(done, block.data(), want, &got)) || got == 0) return false;
    stream.WriteBuffer(block.data(), got);
    done += got;
  }
  return true;
}

}  // namespace

// The system's interface, answered by the component; its lifetime is the
// component's, so the reference counts count nothing. (The system's
// interfaces have no virtual destructor; nothing deletes through them.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class TSvDropTarget::TTarget : public IDropTarget {
 public:
  explicit TTarget(TSvDropTarget& owner) : FOwner(owner) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
      *object = static_cast<IDropTarget*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    if (!effect) return E_INVALIDARG;
    try {
      FOwner.HoldData(data);
      if (FOwner.DoDragAccept()) {
        Cardinal value = kDropEffectCopy;
        FOwner.DoDragEnter(value);
        *effect = value;
      } else {
        FOwner.ReleaseData();
        *effect = DROPEFFECT_NONE;
      }
      return S_OK;
    } catch (...) {
      FOwner.ReleaseData();
      *effect = DROPEFFECT_NONE;
      return kUnexpected;
    }
  }

  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    if (!effect) return E_INVALIDARG;
    try {
      if (FOwner.FDataObject) {
        Cardinal value = kDropEffectCopy;
        FOwner.DoDragOver(value);
        *effect = value;
      } else {
        *effect = DROPEFFECT_NONE;
      }
      return S_OK;
    } catch (...) {
      *effect = DROPEFFECT_NONE;
      return kUnexpected;
    }
  }

  HRESULT STDMETHODCALLTYPE DragLeave() override {
    HRESULT result = S_OK;
    try {
      FOwner.DoDragLeave();
    } catch (...) {
      result = kUnexpected;
    }
    FOwner.ReleaseData();
    return result;
  }

  HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL point, DWORD* effect) override {
    if (!effect) return E_INVALIDARG;
    if (!FOwner.FDataObject) {
      *effect = DROPEFFECT_NONE;
      return S_OK;
    }
    HRESULT result = S_OK;
    try {
      Cardinal value = kDropEffectCopy;
      FOwner.DoDragDrop(value, KeyboardShift(), point.x, point.y);
      *effect = value;
      FOwner.QueueDroppedFiles();
    } catch (...) {
      *effect = DROPEFFECT_NONE;
      result = kUnexpected;
    }
    FOwner.ReleaseData();
    return result;
  }

 private:
  TSvDropTarget& FOwner;
};
#pragma GCC diagnostic pop

const TTypeInfo& DescribeType(TypeTag<TSvDropEffect>) {
  static const TEnumTypeInfo type(u"TSvDropEffect", u"SvDragDrop",
                                  {u"deNone", u"deCopy", u"deMove", u"deLink", u"deScroll"});
  return type;
}

const TTypeInfo& DescribeType(TypeTag<TSvDragDropEvent>) {
  static const TMethodTypeInfo type(u"TSvDragDropEvent", u"SvDragDrop", mkProcedure,
                                    {{0, u"Sender", u"TSvDropTarget"},
                                     {ParamFlagBit(pfVar), u"Effect", u"TSvDropEffect"},
                                     {0, u"Shift", u"TShiftState"},
                                     {0, u"X", u"Integer"},
                                     {0, u"Y", u"Integer"}});
  return type;
}

const TTypeInfo& DescribeType(TypeTag<TSvDragAcceptEvent>) {
  static const TMethodTypeInfo type(u"TSvDragAcceptEvent", u"SvDragDrop", mkProcedure,
                                    {{0, u"Sender", u"TSvDropTarget"}, {ParamFlagBit(pfVar), u"Accept", u"Boolean"}});
  return type;
}

const TTypeInfo& DescribeType(TypeTag<TSvDragEvent>) {
  static const TMethodTypeInfo type(
      u"TSvDragEvent", u"SvDragDrop", mkProcedure,
      {{0, u"Sender", u"TSvDropTarget"}, {ParamFlagBit(pfVar), u"Effect", u"TSvDropEffect"}});
  return type;
}

const TTypeInfo& DescribeType(TypeTag<TSvDragLeaveEvent>) {
  static const TMethodTypeInfo type(u"TSvDragLeaveEvent", u"SvDragDrop", mkProcedure,
                                    {{0, u"Sender", u"TSvDropTarget"}});
  return type;
}

const TTypeInfo& DescribeType(TypeTag<TSvFilesDroppedEvent>) {
  static const TMethodTypeInfo type(u"TSvFilesDroppedEvent", u"SvDragDrop", mkProcedure,
                                    {{0, u"Sender", u"TSvDropTarget"}, {0, u"FileNames", u"TStrings"}});
  return type;
}

void TSvDropTarget::Describe(TClassBuilder<TSvDropTarget>& c) {
  using S = TSvDropTarget;
  c.Property(u"AcceptDrag", &S::AcceptDrag, &S::SetAcceptDrag).Default(1);
  c.Property(u"Control", &S::Control, &S::SetControl);
  c.Property(u"OnDragDrop", &S::OnDragDrop);
  c.Property(u"OnDragAccept", &S::OnDragAccept);
  c.Property(u"OnDragEnter", &S::OnDragEnter);
  c.Property(u"OnDragOver", &S::OnDragOver);
  c.Property(u"OnDragLeave", &S::OnDragLeave);
  c.Property(u"OnFilesDropped", &S::OnFilesDropped);
}

TSvDropTarget::TSvDropTarget(TComponent* owner) : TSvComponent(owner), FTarget(std::make_unique<TTarget>(*this)) {
  // The thread's OLE is counted: each target takes a share and gives it back.
  FOleInitialized = SUCCEEDED(OleInitialize(nullptr));
}

TSvDropTarget::~TSvDropTarget() {
  try {
    RevokeTarget();
  } catch (...) {
  }
  ReleaseData();
  WatchControl(false);
  if (FControl) FControl->RemoveFreeNotification(this);
  if (FNotifyWindow) DeallocateHWnd(FNotifyWindow);
  if (FOleInitialized) OleUninitialize();
}

IDropTarget* TSvDropTarget::DropTargetInterface() {
  return FTarget.get();
}

bool TSvDropTarget::Registrable() const {
  return FAcceptDrag && FControl && !ComponentState().Contains(csDesigning);
}

void TSvDropTarget::RegisterTarget() {
  if (!Registrable()) return;
  // Making the window registers it (WatchWindow).
  HWND window = FControl->Handle();
  if (window == FRegisteredWindow) return;
  const HRESULT result = RegisterDragDrop(window, FTarget.get());
  if (FAILED(result))
    RaiseLastOSError(result == DRAGDROP_E_ALREADYREGISTERED ? ERROR_ALREADY_EXISTS : static_cast<int>(GetLastError()));
  FRegisteredWindow = window;
}

void TSvDropTarget::RevokeTarget() {
  if (!FRegisteredWindow) return;
  RevokeDragDrop(FRegisteredWindow);
  FRegisteredWindow = nullptr;
}

void TSvDropTarget::WatchControl(bool watch) {
  if (!FControl || watch == FWatching || ComponentState().Contains(csDesigning)) return;
  if (watch)
    FControl->AddWindowProcHook(TWndProcHook(this, &TSvDropTarget::WatchWindow));
  else if (!FControl->ComponentState().Contains(csDestroying))
    FControl->RemoveWindowProcHook(TWndProcHook(this, &TSvDropTarget::WatchWindow));
  // (A control far into its destruction has no hooks left to remove.)
  FWatching = watch;
}

void TSvDropTarget::WatchWindow(TMessage& message, const TWndProcNext& next) {
  if (message.Msg == WM_DESTROY) RevokeTarget();
  next(message);
  if (message.Msg == WM_CREATE && !FRegisteredWindow && Registrable() && FControl->HandleAllocated() &&
      SUCCEEDED(RegisterDragDrop(FControl->Handle(), FTarget.get())))
    FRegisteredWindow = FControl->Handle();
}

void TSvDropTarget::SetControl(TWinControl* control) {
  if (control == FControl) return;
  RevokeTarget();
  WatchControl(false);
  SwapComponentReference(this, control, FControl);
  WatchControl(true);
  RegisterTarget();
}

void TSvDropTarget::SetAcceptDrag(bool value) {
  if (ComponentState().Contains(csLoading)) {
    FStreamedAcceptDrag = value;
    return;
  }
  if (value == FAcceptDrag) return;
  RevokeTarget();
  FAcceptDrag = value;
  RegisterTarget();
}

void TSvDropTarget::Loaded() {
  TSvComponent::Loaded();
  SetAcceptDrag(FStreamedAcceptDrag);
}

void TSvDropTarget::Notification(TComponent* component, TOperation operation) {
  TSvComponent::Notification(component, operation);
  if (operation == opRemove && component == FControl) {
    // The window is going: nothing is left to revoke.
    FWatching = false;
    FRegisteredWindow = nullptr;
    FControl = nullptr;
  }
}

void TSvDropTarget::HoldData(IDataObject* data) {
  ReleaseData();
  FDataObject = data;
  if (FDataObject) FDataObject->AddRef();
}

void TSvDropTarget::ReleaseData() {
  if (FDataObject) {
    FDataObject->Release();
    FDataObject = nullptr;
  }
}

bool TSvDropTarget::DoDragAccept() {
  bool accept = true;
  OnDragAccept(this, accept);
  return accept;
}

void TSvDropTarget::DoDragEnter(Cardinal& effect) {
  TSvDropEffect value = DropEffectFromPlatform(effect);
  OnDragEnter(this, value);
  effect = DropEffectToPlatform(value);
}

void TSvDropTarget::DoDragOver(Cardinal& effect) {
  TSvDropEffect value = DropEffectFromPlatform(effect);
  OnDragOver(this, value);
  effect = DropEffectToPlatform(value);
}

void TSvDropTarget::DoDragLeave() {
  OnDragLeave(this);
}

void TSvDropTarget::DoDragDrop(Cardinal& effect, TShiftState shift, Integer x, Integer y) {
  TSvDropEffect value = DropEffectFromPlatform(effect);
  OnDragDrop(this, value, shift, x, y);
  effect = DropEffectToPlatform(value);
}

std::vector<Byte> TSvDropTarget::GlobalData(const FORMATETC& format) {
  std::vector<Byte> bytes;
  if (!FDataObject) return bytes;
  FORMATETC asked = format;
  TMediumScope medium;
  if (FAILED(FDataObject->GetData(&asked, &medium.Medium)) || medium.Medium.tymed != TYMED_HGLOBAL ||
      !medium.Medium.hGlobal)
    return bytes;
  const SIZE_T size = GlobalSize(medium.Medium.hGlobal);
  if (const void* memory = GlobalLock(medium.Medium.hGlobal)) {
    bytes.assign(static_cast<const Byte*>(memory), static_cast<const Byte*>(memory) + size);
    GlobalUnlock(medium.Medium.hGlobal);
  }
  return bytes;
}

std::vector<String> TSvDropTarget::DroppedNames() {
  try {
    const auto bytes = GlobalData(FileNamesFormat());
    return DroppedFileNames(bytes.data(), bytes.size());
  } catch (const Exception&) {
    return {};
  }
}

Integer TSvDropTarget::GetFilenames(TStrings* list) {
  const auto names = DroppedNames();
  if (list) {
    for (const String& name : names) list->Add(name);
  }
  return static_cast<Integer>(names.size());
}

Integer TSvDropTarget::GetFilenamesW(TStrings* list) {
  const auto names = DroppedNames();
  if (list) {
    for (const String& name : names) list->Append(name);
  }
  return static_cast<Integer>(names.size());
}

Integer TSvDropTarget::GetFileDescrCount() {
  const auto bytes = GlobalData(FileDescriptorFormat());
  return static_cast<Integer>(FileDescriptorCount(bytes.data(), bytes.size()));
}

Integer TSvDropTarget::GetFileDescrNames(TStrings* list) {
  try {
    const auto bytes = GlobalData(FileDescriptorFormat());
    const auto names = FileDescriptorNames(bytes.data(), bytes.size());
    if (list) {
      for (const String& name : names) list->Add(name);
    }
    return static_cast<Integer>(names.size());
  } catch (const Exception&) {
    return 0;
  }
}

bool TSvDropTarget::GetFileContent(Integer index, TStream* stream) {
  if (!stream || index < 0 || index >= GetFileDescrCount() || !FDataObject) return false;
  try {
    FORMATETC format = FileContentsFormat(index);
    TMediumScope medium;
    if (FAILED(FDataObject->GetData(&format, &medium.Medium))) return false;
    if (medium.Medium.tymed == TYMED_ISTREAM && medium.Medium.pstm) {
      IStream* source = medium.Medium.pstm;
      STATSTG stat{};
      if (FAILED(source->Stat(&stat, STATFLAG_NONAME))) return false;
      LARGE_INTEGER start{};
      source->Seek(start, STREAM_SEEK_SET, nullptr);
      return CopyInto(*stream, stat.cbSize.QuadPart,
                      [&](ULONGLONG, Byte* buffer, ULONG want, ULONG* got) { return source->Read(buffer, want, got); });
    }
    if (medium.Medium.tymed == TYMED_ISTORAGE && medium.Medium.pstg) {
      ILockBytes* bytes = nullptr;
      if (FAILED(CreateILockBytesOnHGlobal(nullptr, TRUE, &bytes))) return false;
      IStorage* copy = nullptr;
      bool done = false;
      if (SUCCEEDED(
              StgCreateDocfileOnILockBytes(bytes, STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE, 0, &copy))) {
        STATSTG stat{};
        if (SUCCEEDED(medium.Medium.pstg->CopyTo(0, nullptr, nullptr, copy)) && SUCCEEDED(copy->Commit(STGC_DEFAULT)) &&
            SUCCEEDED(bytes->Stat(&stat, STATFLAG_NONAME))) {
          done = CopyInto(*stream, stat.cbSize.QuadPart, [&](ULONGLONG offset, Byte* buffer, ULONG want, ULONG* got) {
            ULARGE_INTEGER at;
            at.QuadPart = offset;
            return bytes->ReadAt(at, buffer, want, got);
          });
        }
        copy->Release();
      }
      bytes->Release();
      return done;
    }
    return false;
  } catch (const Exception&) {
    return false;
  }
}

void TSvDropTarget::QueueDroppedFiles() {
  if (!OnFilesDropped) return;
  std::vector<String> names = DroppedNames();
  if (names.empty()) return;
  if (!FNotifyWindow) FNotifyWindow = AllocateHWnd(TWndMethod(this, &TSvDropTarget::DeliverDroppedFiles));
  FDroppedFiles.push_back(std::move(names));
  PostMessageW(FNotifyWindow, CM_RELEASE, 0, 0);
}

void TSvDropTarget::DeliverDroppedFiles(TMessage& message) {
  if (message.Msg != CM_RELEASE) {
    message.Result = DefWindowProcW(FNotifyWindow, message.Msg, message.WParam, message.LParam);
    return;
  }
  while (!FDroppedFiles.empty()) {
    TStringList files;
    for (const String& name : FDroppedFiles.front()) files.Add(name);
    FDroppedFiles.erase(FDroppedFiles.begin());
    OnFilesDropped(this, &files);
  }
}
