// The tree control's clipboard and drag and drop through OLE.
#include <algorithm>
#include <cstring>

#include "livetree/win32/livetreecontrol.h"
#include "rtl/streams.h"
#include "ui/messages.h"

namespace ltcontrol {

namespace {

// The most a stream medium may hand over; clipboard data beyond this is
// refused rather than read into memory.
constexpr Int64 MaxStreamData = Int64{256} * 1024 * 1024;

// The platform's drag key state, which carries Alt as a flag of its own.
TShiftState DragKeysToShiftState(DWORD keyState) {
  TShiftState shift = KeysToShiftState(keyState);
  if (keyState & MK_ALT) shift.Include(ssAlt);
  return shift;
}

// Reads a whole "Live Tree Data" medium into memory: an HGLOBAL's count is
// clamped to the block, a stream is read to its end.
bool ReadTreeData(const STGMEDIUM& medium, TMemoryStream& target) {
  if (medium.tymed == TYMED_HGLOBAL) {
    SIZE_T size = GlobalSize(medium.hGlobal);
    const auto* data = static_cast<const Byte*>(GlobalLock(medium.hGlobal));
    if (data == nullptr) return false;
    size_t payload = TreeDataPayloadSize(data, size);
    if (payload > 0) target.WriteBuffer(data + 4, static_cast<Int64>(payload));
    GlobalUnlock(medium.hGlobal);
    return true;
  }
  if (medium.tymed == TYMED_ISTREAM && medium.pstm != nullptr) {
    Byte block[65536];
    for (;;) {
      ULONG read = 0;
      HRESULT result = medium.pstm->Read(block, sizeof block, &read);
      if (FAILED(result)) return false;
      if (read == 0) break;
      if (target.Size() + read > MaxStreamData) return false;
      target.WriteBuffer(block, read);
    }
    return true;
  }
  return false;
}

TLTClipboardContent ContentOfFormat(CLIPFORMAT format) {
  if (format == CF_TEXT) return ccText;
  if (format == CF_UNICODETEXT) return ccUnicodeText;
  if (format == CSVFormat()) return ccCSV;
  if (format == RTFFormat() || format == RTFNoObjectsFormat()) return ccRichText;
  if (format == HTMLFormat()) return ccHTML;
  return ccOther;
}

}  // namespace

// ---- Clipboard ----

TFormatEtcArray TBaseLiveTree::CollectClipboardFormats() {
  RegisterTreeClipboardFormats();
  TFormatEtcArray formats =
      TreeClipboardFormats().EnumerateFormats(FModel->ClipboardClass(), FClipboardFormats->GetStrings());
  if (OnGetUserClipboardFormats) OnGetUserClipboardFormats(this, formats);
  return formats;
}

bool TBaseLiveTree::CopyToClipboard() {
  return PutOnClipboard(false);
}

bool TBaseLiveTree::CutToClipboard() {
  return !FModel->TreeOptions().MiscOptions().Contains(toReadOnly) && PutOnClipboard(true);
}

bool TBaseLiveTree::PutOnClipboard(bool cut) {
  if (FModel->SelectedCount() == 0) return false;
  auto* data = new TLTDataObject(this, true);
  HRESULT result = OleSetClipboard(data);
  if (SUCCEEDED(result)) FClipboardDataObject = data;
  data->Release();
  if (FAILED(result)) return false;
  FModel->MarkCutOrCopy(cut);
  return true;
}

void TBaseLiveTree::FlushClipboard() {
  TLiveTreeStates states = FModel->TreeStates();
  if (!states.Contains(tsCutPending) && !states.Contains(tsCopyPending)) return;
  FModel->SetClipboardFlushing(true);
  if (FClipboardDataObject != nullptr && OleIsCurrentClipboard(FClipboardDataObject) == S_OK) OleFlushClipboard();
  FModel->CancelCutOrCopy();
  FModel->SetClipboardFlushing(false);
}

bool TBaseLiveTree::PasteFromClipboard() {
  if (FModel->TreeOptions().MiscOptions().Contains(toReadOnly)) return false;
  IDataObject* data = nullptr;
  if (FAILED(OleGetClipboard(&data)) || data == nullptr) throw ELiveTreeError(u"Clipboard operation failed.", 2007);
  bool result = false;
  TBaseLiveTree* source = nullptr;
  try {
    source = SourceTreeOf(data);
    bool optimized = source != nullptr && source->Model().TreeStates().Contains(tsCutPending);
    result = ProcessOLEData(source, data, FModel->FocusedNode(), FModel->DefaultPasteMode(), optimized);
  } catch (...) {
    data->Release();
    throw;
  }
  data->Release();
  if (source == this)
    FModel->CancelCutOrCopy();
  else if (source != nullptr)
    source->FinishCutOrCopy();
  return result;
}

HRESULT TBaseLiveTree::RenderFormat(const FORMATETC& formatEtcIn, STGMEDIUM& medium, bool forClipboard) {
  medium = STGMEDIUM{};
  if (formatEtcIn.cfFormat == LiveTreeDataFormat() && (formatEtcIn.tymed & (TYMED_ISTREAM | TYMED_HGLOBAL))) {
    TMemoryStream stream;
    FModel->StreamDataNodes(stream, forClipboard);
    if (formatEtcIn.tymed & TYMED_ISTREAM) {
      IStream* target = nullptr;
      if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &target))) return E_FAIL;
      ULONG written = 0;
      if (stream.Size() > 0) target->Write(stream.Memory(), static_cast<ULONG>(stream.Size()), &written);
      LARGE_INTEGER start{};
      target->Seek(start, STREAM_SEEK_SET, nullptr);
      medium.tymed = TYMED_ISTREAM;
      medium.pstm = target;
      return S_OK;
    }
    if (stream.Size() == 0) return E_FAIL;
    auto size = static_cast<Cardinal>(stream.Size());
    HGLOBAL block = GlobalAlloc(GHND | GMEM_SHARE, size + 4);
    if (block == nullptr) return E_OUTOFMEMORY;
    auto* bytes = static_cast<Byte*>(GlobalLock(block));
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<Byte>(size >> (8 * i));
    std::memcpy(bytes + 4, stream.Memory(), size);
    GlobalUnlock(block);
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = block;
    return S_OK;
  }
  HRESULT result = E_FAIL;
  if (OnRenderOLEData) OnRenderOLEData(this, formatEtcIn, medium, forClipboard, result);
  return result;
}

HRESULT TLiveStringTree::RenderFormat(const FORMATETC& formatEtcIn, STGMEDIUM& medium, bool forClipboard) {
  HRESULT result = TBaseLiveTree::RenderFormat(formatEtcIn, medium, forClipboard);
  if (SUCCEEDED(result) || (formatEtcIn.tymed & TYMED_HGLOBAL) == 0) return result;
  try {
    TBytes content = StringModel().ContentToClipboard(ContentOfFormat(formatEtcIn.cfFormat),
                                                      forClipboard ? tstCutCopySet : tstSelected);
    if (content.empty()) return result;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, content.size());
    if (block == nullptr) return E_OUTOFMEMORY;
    std::memcpy(GlobalLock(block), content.data(), content.size());
    GlobalUnlock(block);
    medium = STGMEDIUM{};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = block;
    return S_OK;
  } catch (...) {
    medium = STGMEDIUM{};
    return E_FAIL;
  }
}

// ---- Importing ----

TBaseLiveTree* TBaseLiveTree::SourceTreeOf(IDataObject* dataObject) {
  if (dataObject == nullptr) return nullptr;
  FORMATETC format{LiveTreeReferenceFormat(), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (FAILED(dataObject->GetData(&format, &medium))) return nullptr;
  ::TBaseLiveTree* model = nullptr;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal != nullptr) {
    SIZE_T size = GlobalSize(medium.hGlobal);
    const auto* bytes = static_cast<const Byte*>(GlobalLock(medium.hGlobal));
    if (bytes != nullptr) {
      model = ResolveTreeReference(bytes, size, GetCurrentProcessId());
      GlobalUnlock(medium.hGlobal);
    }
  }
  ReleaseStgMedium(&medium);
  return model != nullptr ? dynamic_cast<TBaseLiveTree*>(model->Host()) : nullptr;
}

bool TBaseLiveTree::ProcessOLEData(TBaseLiveTree* source, IDataObject* dataObject, PLiveNode targetNode,
                                   TLTNodeAttachMode mode, bool optimized) {
  if (dataObject == nullptr) return false;
  FORMATETC format{LiveTreeDataFormat(), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  if (dataObject->QueryGetData(&format) != S_OK) {
    format.tymed = TYMED_ISTREAM;
    if (dataObject->QueryGetData(&format) != S_OK) return false;
  }
  if (FModel->TreeOptions().MiscOptions().Contains(toReadOnly)) return true;
  if (optimized && source != nullptr) {
    FModel->MoveDataNodes(source->Model(), targetNode, mode);
    return true;
  }
  STGMEDIUM medium{};
  if (FAILED(dataObject->GetData(&format, &medium))) return false;
  TMemoryStream stream;
  bool read = false;
  try {
    read = ReadTreeData(medium, stream);
  } catch (...) {
    ReleaseStgMedium(&medium);
    throw;
  }
  ReleaseStgMedium(&medium);
  if (!read) return false;
  stream.SetPosition(0);
  FModel->InsertDataNodes(stream, targetNode, mode, source != nullptr ? &source->Model() : nullptr);
  return true;
}

bool TBaseLiveTree::ProcessDrop(IDataObject* dataObject, PLiveNode targetNode, DWORD& effect, TLTNodeAttachMode mode) {
  if (mode == amNoWhere) {
    effect = DROPEFFECT_NONE;
    return false;
  }
  TBaseLiveTree* source = SourceTreeOf(dataObject);
  bool result = false;
  FModel->BeginUpdate();
  if (source != nullptr && source != this) source->Model().BeginUpdate();
  try {
    if ((effect & DROPEFFECT_MOVE) && source != nullptr) {
      result = ProcessOLEData(source, dataObject, targetNode, mode, (effect & DROPEFFECT_COPY) == 0);
      // The nodes have moved already: the source must not delete them.
      effect = DROPEFFECT_NONE;
    } else if (effect & (DROPEFFECT_COPY | DROPEFFECT_MOVE)) {
      result = ProcessOLEData(source, dataObject, targetNode, mode, false);
    }
  } catch (...) {
    effect = DROPEFFECT_NONE;
    result = false;
  }
  if (source != nullptr && source != this) source->Model().EndUpdate();
  FModel->EndUpdate();
  return result;
}

// ---- The drop target ----

TShiftState TBaseLiveTree::DragShiftState(DWORD keyState) const {
  TShiftState shift = DragKeysToShiftState(keyState);
  TLiveTreeStates states = FModel->TreeStates();
  if (states.Contains(tsLeftButtonDown)) shift.Include(ssLeft);
  if (states.Contains(tsMiddleButtonDown)) shift.Include(ssMiddle);
  if (states.Contains(tsRightButtonDown)) shift.Include(ssRight);
  return shift;
}

bool TBaseLiveTree::AskDragOver(TBaseLiveTree* source, TShiftState shift, TDragState state, TPoint pt, DWORD& effect) {
  bool accept = false;
  if (OnDragOver) OnDragOver(this, source, shift, state, pt, FModel->LastDropMode(), effect, accept);
  return accept;
}

HRESULT TBaseLiveTree::HandleOleDragEnter(IDataObject*, DWORD keyState, POINTL pt, DWORD& effect) {
  try {
    FModel->ResetDragScroll();
    return HandleOleDragOver(DragManager()->DragSourceTree(), keyState, effect, pt, dsDragEnter);
  } catch (...) {
    effect = DROPEFFECT_NONE;
    return E_UNEXPECTED;
  }
}

HRESULT TBaseLiveTree::HandleOleDragOver(TBaseLiveTree* source, DWORD keyState, DWORD& effect, POINTL pt,
                                         TDragState state) {
  try {
    TPoint client = ScreenToClient(Point(pt.x, pt.y));
    bool scrolled =
        state == dsDragMove && FModel->DragAutoScroll(client, GetTickCount(), FScrollBarOptions->HorizontalIncrement(),
                                                      FScrollBarOptions->VerticalIncrement());
    THitInfo hit;
    FModel->GetHitTestInfoAt(client.X, client.Y, true, hit);
    TRect rect = hit.HitNode != nullptr ? FModel->GetDisplayRect(hit.HitNode, NoColumn, false) : TRect{};
    TDropMode mode = FModel->ComputeDropMode(client, hit, rect);
    FModel->SetDropTarget(mode == dmNowhere ? nullptr : hit.HitNode, mode);
    if (TWinControl::HandleAllocated()) UpdateWindow(Handle());
    DWORD proposed =
        static_cast<DWORD>(ProposeDropEffect(source == this, DragShiftState(keyState), static_cast<Integer>(effect)));
    if (!AskDragOver(source, DragShiftState(keyState), state, client, proposed)) proposed = DROPEFFECT_NONE;
    if (scrolled) proposed |= DROPEFFECT_SCROLL;
    effect = proposed;
    return S_OK;
  } catch (...) {
    effect = DROPEFFECT_NONE;
    return E_UNEXPECTED;
  }
}

void TBaseLiveTree::HandleOleDragLeave() {
  FModel->ClearDropTarget();
  if (TWinControl::HandleAllocated()) UpdateWindow(Handle());
  DWORD none = DROPEFFECT_NONE;
  try {
    AskDragOver(nullptr, {}, dsDragLeave, Point(0, 0), none);
  } catch (...) {
    // Leaving cannot fail.
  }
}

HRESULT TBaseLiveTree::HandleOleDrop(IDataObject* dataObject, DWORD keyState, POINTL pt, DWORD& effect) {
  HRESULT result = S_OK;
  TBaseLiveTree* source = DragManager()->DragSourceTree();
  if (HandleOleDragOver(source, keyState, effect, pt, dsDragMove) != S_OK ||
      (effect & ~static_cast<DWORD>(DROPEFFECT_SCROLL)) == DROPEFFECT_NONE) {
    effect = DROPEFFECT_NONE;
    result = E_FAIL;
  } else {
    effect &= ~static_cast<DWORD>(DROPEFFECT_SCROLL);
    try {
      std::vector<Word> formats;
      IEnumFORMATETC* enumerator = nullptr;
      if (dataObject != nullptr && SUCCEEDED(dataObject->EnumFormatEtc(DATADIR_GET, &enumerator)) &&
          enumerator != nullptr) {
        enumerator->Reset();
        FORMATETC format{};
        ULONG fetched = 0;
        while (enumerator->Next(1, &format, &fetched) == S_OK && fetched == 1) {
          formats.push_back(format.cfFormat);
          if (format.ptd != nullptr) CoTaskMemFree(format.ptd);
        }
        enumerator->Release();
      }
      TPoint client = ScreenToClient(Point(pt.x, pt.y));
      if (OnDragDrop)
        OnDragDrop(this, source, dataObject, formats, DragShiftState(keyState), client, effect, FModel->LastDropMode());
    } catch (...) {
      effect = DROPEFFECT_NONE;
      result = E_UNEXPECTED;
    }
  }
  FModel->ClearDropTarget();
  return result;
}

// ---- The drag source ----

TLTDragManager* TBaseLiveTree::DragManager() {
  if (FDragManager == nullptr) FDragManager = new TLTDragManager(this);
  return FDragManager;
}

IDataObject* TBaseLiveTree::DragDataObject() {
  IDataObject* data = nullptr;
  if (OnCreateDataObject) OnCreateDataObject(this, data);
  if (data == nullptr) data = new TLTDataObject(this, false);
  return data;
}

bool TBaseLiveTree::Dragging() const {
  TLiveTreeStates states = FModel->TreeStates();
  return states.Contains(tsOLEDragging) || states.Contains(tsOLEDragPending);
}

void TBaseLiveTree::BeginDrag(bool immediate, Integer) {
  if (Dragging()) return;
  if (immediate) RunOleDrag();
}

void TBaseLiveTree::RunOleDrag() {
  FModel->BeginOleDrag();
  if (TWinControl::HandleAllocated()) UpdateWindow(Handle());
  DWORD effect = DROPEFFECT_NONE;
  IDataObject* data = nullptr;
  std::shared_ptr<bool> alive = FAlive;
  try {
    data = DragDataObject();
    PrepareDragImage(data);
    auto allowed = static_cast<DWORD>(AllowedDropEffects(FModel->DragOperations()));
    HRESULT result = DoDragDrop(data, static_cast<IDropSource*>(DragManager()), allowed, &effect);
    if (result != DRAGDROP_S_DROP) effect = DROPEFFECT_NONE;
  } catch (...) {
    if (data != nullptr) data->Release();
    if (!*alive) throw;
    DragManager()->ForceDragLeave();
    FModel->EndOleDrag(DROPEFFECT_NONE);
    throw;
  }
  if (!*alive) {
    // A handler freed this tree during the drag: only the data object is ours.
    if (data != nullptr) data->Release();
    return;
  }
  DragManager()->ForceDragLeave();
  if (data != nullptr) data->Release();
  FModel->EndOleDrag(static_cast<Integer>(effect));
}

// ---- Registration ----

void TBaseLiveTree::RegisterDropTarget() {
  if (FDropRegistered || !TWinControl::HandleAllocated() || !FOleInitialized) return;
  if (ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading)) return;
  if (!FModel->TreeOptions().MiscOptions().Contains(toAcceptOLEDrop)) return;
  FDropRegistered = SUCCEEDED(RegisterDragDrop(Handle(), static_cast<IDropTarget*>(DragManager())));
}

void TBaseLiveTree::RevokeDropTarget() {
  if (!FDropRegistered) return;
  if (TWinControl::HandleAllocated()) RevokeDragDrop(Handle());
  FDropRegistered = false;
}

void TBaseLiveTree::AcceptDropsChanged(bool accept) {
  if (accept)
    RegisterDropTarget();
  else
    RevokeDropTarget();
}

}  // namespace ltcontrol
