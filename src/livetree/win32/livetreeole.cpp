#include "livetree/win32/livetreeole.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "livetree/win32/livetreecontrol.h"

namespace ltcontrol {

namespace {

struct TRegisteredFormats {
  CLIPFORMAT Data = 0, Reference = 0, HTML = 0, RTF = 0, RTFNoObjects = 0, CSV = 0;
};

TRegisteredFormats& Formats() {
  static TRegisteredFormats formats;
  return formats;
}

// A copy of an HGLOBAL block, or nil.
HGLOBAL CloneGlobal(HGLOBAL source) {
  SIZE_T size = GlobalSize(source);
  const void* from = GlobalLock(source);
  if (from == nullptr) return nullptr;
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  if (copy != nullptr) {
    void* to = GlobalLock(copy);
    if (to != nullptr) std::memcpy(to, from, size);
    GlobalUnlock(copy);
  }
  GlobalUnlock(source);
  return copy;
}

bool SameFormatEtc(const FORMATETC& a, const FORMATETC& b) {
  return a.cfFormat == b.cfFormat && a.ptd == b.ptd && a.dwAspect == b.dwAspect && a.lindex == b.lindex &&
         (a.tymed & b.tymed) != 0;
}

}  // namespace

void RegisterTreeClipboardFormats() {
  static std::once_flag once;
  std::call_once(once, [] {
    TRegisteredFormats& f = Formats();
    f.Data = static_cast<CLIPFORMAT>(RegisterTreeClipboardFormat(u"Live Tree Data", ltcBaseTree, 50));
    f.HTML = static_cast<CLIPFORMAT>(RegisterTreeClipboardFormat(u"HTML Format", ltcStringTree, 80));
    f.RTFNoObjects =
        static_cast<CLIPFORMAT>(RegisterTreeClipboardFormat(u"Rich Text Format Without Objects", ltcStringTree, 84));
    f.RTF = static_cast<CLIPFORMAT>(RegisterTreeClipboardFormat(u"Rich Text Format", ltcStringTree, 85));
    f.CSV = static_cast<CLIPFORMAT>(RegisterTreeClipboardFormat(u"CSV", ltcStringTree, 90));
    RegisterTreeClipboardFormat(CF_UNICODETEXT, ltcStringTree, 95);
    RegisterTreeClipboardFormat(CF_TEXT, ltcStringTree, 100);
    f.Reference = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"Live Tree Reference"));
  });
}

CLIPFORMAT LiveTreeDataFormat() {
  RegisterTreeClipboardFormats();
  return Formats().Data;
}
CLIPFORMAT LiveTreeReferenceFormat() {
  RegisterTreeClipboardFormats();
  return Formats().Reference;
}
CLIPFORMAT HTMLFormat() {
  RegisterTreeClipboardFormats();
  return Formats().HTML;
}
CLIPFORMAT RTFFormat() {
  RegisterTreeClipboardFormats();
  return Formats().RTF;
}
CLIPFORMAT RTFNoObjectsFormat() {
  RegisterTreeClipboardFormats();
  return Formats().RTFNoObjects;
}
CLIPFORMAT CSVFormat() {
  RegisterTreeClipboardFormats();
  return Formats().CSV;
}

Word RegisterTreeClipboardFormat(const String& name, TLiveTreeClass treeClass, Cardinal priority, Cardinal tymed) {
  Word format = static_cast<Word>(RegisterClipboardFormatW(reinterpret_cast<const wchar_t*>(name.c_str())));
  TreeClipboardFormats().Add(name, treeClass, priority, TLTFormatEtc{format, DVASPECT_CONTENT, -1, tymed});
  return format;
}

void RegisterTreeClipboardFormat(Word format, TLiveTreeClass treeClass, Cardinal priority) {
  String description = StandardClipboardFormatDescription(format);
  if (description.empty()) {
    wchar_t name[2048] = {};
    int length = GetClipboardFormatNameW(format, name, 2048);
    description.assign(reinterpret_cast<const Char*>(name), static_cast<size_t>(std::max(length, 0)));
  }
  TreeClipboardFormats().Add(description, treeClass, priority,
                             TLTFormatEtc{format, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
}

FORMATETC ToFormatEtc(const TLTFormatEtc& format) {
  return FORMATETC{static_cast<CLIPFORMAT>(format.cfFormat), nullptr, format.dwAspect, format.lindex, format.tymed};
}

// ---------------------------------------------------------------------------
// The data object

TLTDataObject::TLTDataObject(TBaseLiveTree* owner, bool forClipboard)
    : FOwnerIdentifier(owner->Model().TreeIdentifier()), FForClipboard(forClipboard) {
  for (const TLTFormatEtc& format : owner->CollectClipboardFormats()) FFormatEtcArray.push_back(ToFormatEtc(format));
}

TLTDataObject::~TLTDataObject() {
  TBaseLiveTree* owner = Owner();
  if (owner != nullptr && owner->FClipboardDataObject == this) {
    owner->FClipboardDataObject = nullptr;
    // The clipboard received other data: the marks of this copy go.
    if (!owner->Model().TreeStates().Contains(tsClipboardFlushing)) owner->CancelCutOrCopy();
  }
  for (TStoredMedium& stored : FStored) ReleaseStgMedium(&stored.Medium);
  if (FAdviseHolder != nullptr) FAdviseHolder->Release();
}

TBaseLiveTree* TLTDataObject::Owner() const {
  ::TBaseLiveTree* model = LiveTreeFromIdentifier(FOwnerIdentifier);
  return model != nullptr ? dynamic_cast<TBaseLiveTree*>(model->Host()) : nullptr;
}

HRESULT TLTDataObject::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
    *object = static_cast<IDataObject*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG TLTDataObject::AddRef() {
  return ++FRefCount;
}

ULONG TLTDataObject::Release() {
  ULONG count = --FRefCount;
  if (count == 0) delete this;
  return count;
}

Integer TLTDataObject::IndexOfFormatEtc(const FORMATETC& format) const {
  for (size_t i = 0; i < FFormatEtcArray.size(); ++i) {
    const FORMATETC& entry = FFormatEtcArray[i];
    if (entry.cfFormat == format.cfFormat && entry.dwAspect == format.dwAspect && entry.lindex == format.lindex &&
        entry.tymed == format.tymed)
      return static_cast<Integer>(i);
  }
  return -1;
}

HRESULT TLTDataObject::GetData(FORMATETC* formatEtcIn, STGMEDIUM* medium) {
  if (formatEtcIn == nullptr || medium == nullptr) return E_INVALIDARG;
  *medium = STGMEDIUM{};
  try {
    TBaseLiveTree* owner = Owner();
    if (formatEtcIn->cfFormat == LiveTreeReferenceFormat()) {
      // A flushed clipboard keeps no reference to a tree.
      if (owner == nullptr || owner->Model().TreeStates().Contains(tsClipboardFlushing)) return E_FAIL;
      auto bytes = EncodeTreeReference(GetCurrentProcessId(), FOwnerIdentifier);
      HGLOBAL block = GlobalAlloc(GHND | GMEM_SHARE, bytes.size());
      if (block == nullptr) return E_OUTOFMEMORY;
      std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
      GlobalUnlock(block);
      medium->tymed = TYMED_HGLOBAL;
      medium->hGlobal = block;
      return S_OK;
    }
    HRESULT query = QueryGetData(formatEtcIn);
    if (query != S_OK) return query;
    for (const TStoredMedium& stored : FStored)
      if (SameFormatEtc(stored.Format, *formatEtcIn) && stored.Medium.tymed != TYMED_NULL)
        return RenderStoredMedium(stored, *medium);
    if (owner == nullptr) return E_FAIL;
    HRESULT result = owner->RenderFormat(*formatEtcIn, *medium, FForClipboard);
    if (FAILED(result)) *medium = STGMEDIUM{};
    return result;
  } catch (...) {
    *medium = STGMEDIUM{};
    return E_FAIL;
  }
}

HRESULT TLTDataObject::RenderStoredMedium(const TStoredMedium& stored, STGMEDIUM& medium) {
  medium = stored.Medium;
  switch (stored.Medium.tymed) {
    case TYMED_HGLOBAL:
    case TYMED_GDI:
    case TYMED_MFPICT:
    case TYMED_ENHMF:
      // Shared: the medium stays this object's, which lives as long as the
      // receiver holds it.
      medium.pUnkForRelease = static_cast<IDataObject*>(this);
      AddRef();
      break;
    case TYMED_ISTREAM: medium.pstm->AddRef(); break;
    case TYMED_ISTORAGE: medium.pstg->AddRef(); break;
    case TYMED_FILE: {
      size_t length = std::wcslen(stored.Medium.lpszFileName) + 1;
      medium.lpszFileName = static_cast<LPOLESTR>(CoTaskMemAlloc(length * sizeof(wchar_t)));
      if (medium.lpszFileName == nullptr) return E_OUTOFMEMORY;
      std::memcpy(medium.lpszFileName, stored.Medium.lpszFileName, length * sizeof(wchar_t));
      break;
    }
    default: return DV_E_TYMED;
  }
  return S_OK;
}

HRESULT TLTDataObject::QueryGetData(FORMATETC* formatEtc) {
  if (formatEtc == nullptr) return E_INVALIDARG;
  HRESULT result = DV_E_FORMATETC;
  for (const FORMATETC& entry : FFormatEtcArray) {
    if (entry.cfFormat != formatEtc->cfFormat) continue;
    if ((entry.tymed & formatEtc->tymed) == 0)
      result = DV_E_TYMED;
    else if (entry.dwAspect != formatEtc->dwAspect)
      result = DV_E_DVASPECT;
    else if (entry.lindex != formatEtc->lindex)
      result = DV_E_LINDEX;
    else
      return S_OK;
  }
  return result;
}

HRESULT TLTDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
  if (out != nullptr) out->ptd = nullptr;
  return DATA_S_SAMEFORMATETC;
}

HRESULT TLTDataObject::SetData(FORMATETC* formatEtc, STGMEDIUM* medium, BOOL release) {
  if (formatEtc == nullptr || medium == nullptr) return E_INVALIDARG;
  STGMEDIUM own = *medium;
  if (!release) {
    // This object keeps a copy of its own.
    switch (medium->tymed) {
      case TYMED_HGLOBAL:
        own.hGlobal = CloneGlobal(medium->hGlobal);
        if (own.hGlobal == nullptr) return E_OUTOFMEMORY;
        break;
      case TYMED_FILE: {
        size_t length = std::wcslen(medium->lpszFileName) + 1;
        own.lpszFileName = static_cast<LPOLESTR>(CoTaskMemAlloc(length * sizeof(wchar_t)));
        if (own.lpszFileName == nullptr) return E_OUTOFMEMORY;
        std::memcpy(own.lpszFileName, medium->lpszFileName, length * sizeof(wchar_t));
        break;
      }
      case TYMED_ISTREAM: own.pstm->AddRef(); break;
      case TYMED_ISTORAGE: own.pstg->AddRef(); break;
      default: return DV_E_TYMED;
    }
    if (own.pUnkForRelease != nullptr) {
      // A medium that this object itself keeps alive would keep it alive
      // for ever.
      IUnknown* identity = nullptr;
      own.pUnkForRelease->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
      if (identity == static_cast<IUnknown*>(static_cast<IDataObject*>(this))) {
        own.pUnkForRelease = nullptr;
      } else {
        own.pUnkForRelease->AddRef();
      }
      if (identity != nullptr) identity->Release();
    }
  }
  Integer index = IndexOfFormatEtc(*formatEtc);
  if (index < 0) {
    FFormatEtcArray.push_back(*formatEtc);
    FFormatEtcArray.back().ptd = nullptr;
  }
  auto stored = std::find_if(FStored.begin(), FStored.end(), [&](const TStoredMedium& s) {
    return s.Format.cfFormat == formatEtc->cfFormat && s.Format.tymed == formatEtc->tymed &&
           s.Format.dwAspect == formatEtc->dwAspect && s.Format.lindex == formatEtc->lindex;
  });
  if (stored == FStored.end()) {
    FStored.push_back({*formatEtc, {}});
    FStored.back().Format.ptd = nullptr;
    stored = FStored.end() - 1;
  } else {
    ReleaseStgMedium(&stored->Medium);
  }
  stored->Medium = own;
  if (FAdviseHolder != nullptr) FAdviseHolder->SendOnDataChange(this, 0, 0);
  return S_OK;
}

HRESULT TLTDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) {
  if (enumerator == nullptr) return E_INVALIDARG;
  *enumerator = nullptr;
  if (direction != DATADIR_GET) return OLE_S_USEREG;
  *enumerator = new TEnumFormatEtc(FFormatEtcArray);
  return S_OK;
}

HRESULT TLTDataObject::DAdvise(FORMATETC* formatEtc, DWORD flags, IAdviseSink* sink, DWORD* connection) {
  if (FAdviseHolder == nullptr && FAILED(CreateDataAdviseHolder(&FAdviseHolder))) return E_FAIL;
  return FAdviseHolder->Advise(this, formatEtc, flags, sink, connection);
}

HRESULT TLTDataObject::DUnadvise(DWORD connection) {
  if (FAdviseHolder == nullptr) return E_NOTIMPL;
  return FAdviseHolder->Unadvise(connection);
}

HRESULT TLTDataObject::EnumDAdvise(IEnumSTATDATA** enumerator) {
  if (FAdviseHolder == nullptr) return OLE_E_ADVISENOTSUPPORTED;
  return FAdviseHolder->EnumAdvise(enumerator);
}

// ---------------------------------------------------------------------------
// The format enumerator

HRESULT TEnumFormatEtc::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumFORMATETC)) {
    *object = static_cast<IEnumFORMATETC*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG TEnumFormatEtc::Release() {
  ULONG count = --FRefCount;
  if (count == 0) delete this;
  return count;
}

HRESULT TEnumFormatEtc::Next(ULONG celt, FORMATETC* elt, ULONG* fetched) {
  if (elt == nullptr) return E_INVALIDARG;
  ULONG copied = 0;
  while (copied < celt && FCurrentIndex < FFormatEtcArray.size()) elt[copied++] = FFormatEtcArray[FCurrentIndex++];
  if (fetched != nullptr) *fetched = copied;
  return copied == celt ? S_OK : S_FALSE;
}

HRESULT TEnumFormatEtc::Skip(ULONG celt) {
  if (static_cast<size_t>(FCurrentIndex) + celt > FFormatEtcArray.size()) return S_FALSE;
  FCurrentIndex += celt;
  return S_OK;
}

HRESULT TEnumFormatEtc::Clone(IEnumFORMATETC** enumerator) {
  if (enumerator == nullptr) return E_INVALIDARG;
  try {
    *enumerator = new TEnumFormatEtc(FFormatEtcArray, FCurrentIndex);
    return S_OK;
  } catch (...) {
    *enumerator = nullptr;
    return E_FAIL;
  }
}

// ---------------------------------------------------------------------------
// The drag manager

TLTDragManager::TLTDragManager(TBaseLiveTree* owner) : FOwner(owner) {
  if (FAILED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDropTargetHelper,
                              reinterpret_cast<void**>(&FDropTargetHelper))))
    FDropTargetHelper = nullptr;
}

TLTDragManager::~TLTDragManager() {
  ReleaseDataObject();
  if (FDropTargetHelper != nullptr) FDropTargetHelper->Release();
}

HRESULT TLTDragManager::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
    *object = static_cast<IDropTarget*>(this);
  } else if (IsEqualIID(riid, IID_IDropSource)) {
    *object = static_cast<IDropSource*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG TLTDragManager::Release() {
  ULONG count = --FRefCount;
  if (count == 0) delete this;
  return count;
}

void TLTDragManager::ReleaseDataObject() {
  if (FDataObject != nullptr) FDataObject->Release();
  FDataObject = nullptr;
}

TBaseLiveTree* TLTDragManager::DragSourceTree() const {
  ::TBaseLiveTree* model = LiveTreeFromIdentifier(FDragSourceIdentifier);
  return model != nullptr ? dynamic_cast<TBaseLiveTree*>(model->Host()) : nullptr;
}

HRESULT TLTDragManager::DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) {
  if (effect == nullptr) return E_INVALIDARG;
  if (FOwner == nullptr) {
    *effect = DROPEFFECT_NONE;
    return S_OK;
  }
  ReleaseDataObject();
  FDataObject = data;
  if (FDataObject != nullptr) FDataObject->AddRef();
  FIsDropTarget = true;
  BOOL full = FALSE;
  SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
  FFullDragging = full != FALSE;
  if (!FFullDragging) LockWindowUpdate(nullptr);
  if (FDropTargetHelper != nullptr && FFullDragging) {
    POINT p{pt.x, pt.y};
    FDropTargetHelper->DragEnter(FOwner->Handle(), data, &p, *effect);
  }
  TBaseLiveTree* source = data != nullptr ? FOwner->SourceTreeOf(data) : nullptr;
  FDragSourceIdentifier = source != nullptr ? source->Model().TreeIdentifier() : 0;
  return FOwner->HandleOleDragEnter(data, keyState, pt, *effect);
}

HRESULT TLTDragManager::DragOver(DWORD keyState, POINTL pt, DWORD* effect) {
  if (effect == nullptr) return E_INVALIDARG;
  if (FOwner == nullptr) {
    *effect = DROPEFFECT_NONE;
    return S_OK;
  }
  if (FDropTargetHelper != nullptr && FFullDragging) {
    POINT p{pt.x, pt.y};
    FDropTargetHelper->DragOver(&p, *effect);
  }
  return FOwner->HandleOleDragOver(DragSourceTree(), keyState, *effect, pt, dsDragMove);
}

HRESULT TLTDragManager::DragLeave() {
  if (FDropTargetHelper != nullptr && FFullDragging) FDropTargetHelper->DragLeave();
  if (FOwner != nullptr) FOwner->HandleOleDragLeave();
  FIsDropTarget = false;
  FDragSourceIdentifier = 0;
  ReleaseDataObject();
  return S_OK;
}

HRESULT TLTDragManager::Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) {
  if (effect == nullptr) return E_INVALIDARG;
  if (FDropTargetHelper != nullptr && FFullDragging) {
    POINT p{pt.x, pt.y};
    FDropTargetHelper->Drop(data, &p, *effect);
  }
  HRESULT result = E_FAIL;
  if (FOwner != nullptr) {
    if (FDragSourceIdentifier == 0 && data != nullptr) {
      TBaseLiveTree* source = FOwner->SourceTreeOf(data);
      FDragSourceIdentifier = source != nullptr ? source->Model().TreeIdentifier() : 0;
    }
    result = FOwner->HandleOleDrop(data, keyState, pt, *effect);
  } else {
    *effect = DROPEFFECT_NONE;
  }
  FIsDropTarget = false;
  FDragSourceIdentifier = 0;
  ReleaseDataObject();
  return result;
}

HRESULT TLTDragManager::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
  bool left = (keyState & MK_LBUTTON) != 0, right = (keyState & MK_RBUTTON) != 0;
  if (escapePressed || (left && right)) return DRAGDROP_S_CANCEL;
  if (left || right) return S_OK;
  return DRAGDROP_S_DROP;
}

void TLTDragManager::ForceDragLeave() {
  if (FDropTargetHelper != nullptr && FFullDragging) FDropTargetHelper->DragLeave();
}

}  // namespace ltcontrol
