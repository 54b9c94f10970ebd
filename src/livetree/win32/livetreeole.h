// The tree's OLE data transfer: its data object (for the clipboard and for
// dragging), the format enumerator, the drag manager (drop target and drop
// source) and the registered clipboard formats. The objects refer to their
// tree by its identifier, so an object that outlives its tree reaches
// nothing.
#pragma once

#include "ui/winapi.h"

#include <objidl.h>
#include <oleidl.h>
#include <shlobj.h>

#include <atomic>
#include <vector>

#include "livetree/livetreetransfer.h"

namespace ltcontrol {

class TBaseLiveTree;

// The registered formats of the tree unit; the first call registers them
// all (the registry of formats, the reference format) with the platform.
void RegisterTreeClipboardFormats();
CLIPFORMAT LiveTreeDataFormat();
CLIPFORMAT LiveTreeReferenceFormat();
CLIPFORMAT HTMLFormat();
CLIPFORMAT RTFFormat();
CLIPFORMAT RTFNoObjectsFormat();
CLIPFORMAT CSVFormat();
// Registers a format by name with the platform and in the registry, with
// the default FORMATETC fields; returns the platform's number.
Word RegisterTreeClipboardFormat(const String& name, TLiveTreeClass treeClass, Cardinal priority,
                                 Cardinal tymed = TymedHGlobal);
// Adds a standard format (CF_TEXT and the like) to the registry.
void RegisterTreeClipboardFormat(Word format, TLiveTreeClass treeClass, Cardinal priority);

FORMATETC ToFormatEtc(const TLTFormatEtc& format);

// The platform's interfaces have no virtual destructor; nothing deletes
// through them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

class TLTDataObject : public IDataObject {
 public:
  TLTDataObject(TBaseLiveTree* owner, bool forClipboard);
  TLTDataObject(const TLTDataObject&) = delete;
  TLTDataObject& operator=(const TLTDataObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* formatEtcIn, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* formatEtc) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC* formatEtc, STGMEDIUM* medium, BOOL release) override;
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* formatEtc, DWORD flags, IAdviseSink* sink, DWORD* connection) override;
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD connection) override;
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** enumerator) override;

  bool ForClipboard() const { return FForClipboard; }
  // The tree that renders the data; nil once it is gone.
  TBaseLiveTree* Owner() const;

 private:
  struct TStoredMedium {
    FORMATETC Format{};
    STGMEDIUM Medium{};
  };
  virtual ~TLTDataObject();
  Integer IndexOfFormatEtc(const FORMATETC& format) const;
  HRESULT RenderStoredMedium(const TStoredMedium& stored, STGMEDIUM& medium);

  std::atomic<ULONG> FRefCount{1};
  Cardinal FOwnerIdentifier;
  bool FForClipboard;
  std::vector<FORMATETC> FFormatEtcArray;
  std::vector<TStoredMedium> FStored;
  IDataAdviseHolder* FAdviseHolder = nullptr;
};

class TEnumFormatEtc : public IEnumFORMATETC {
 public:
  explicit TEnumFormatEtc(std::vector<FORMATETC> formats, ULONG index = 0)
      : FFormatEtcArray(std::move(formats)), FCurrentIndex(index) {}
  virtual ~TEnumFormatEtc() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Next(ULONG celt, FORMATETC* elt, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override;
  HRESULT STDMETHODCALLTYPE Reset() override {
    FCurrentIndex = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** enumerator) override;

 private:
  std::atomic<ULONG> FRefCount{1};
  std::vector<FORMATETC> FFormatEtcArray;
  ULONG FCurrentIndex;
};

// The tree's drop target and drop source. The tree holds one reference and
// lets go of it when it is destroyed (the registration of the window holds
// another until it is revoked).
class TLTDragManager : public IDropTarget, public IDropSource {
 public:
  explicit TLTDragManager(TBaseLiveTree* owner);
  virtual ~TLTDragManager();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefCount; }
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL pt, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;

  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

  // The shell's drop helper is told that the drag left.
  void ForceDragLeave();
  IDataObject* DragDataObject() const { return FDataObject; }
  // The tree of this process the running drag over the owner came from.
  TBaseLiveTree* DragSourceTree() const;
  bool UsesDropHelper() const { return FDropTargetHelper != nullptr; }
  bool IsDropTargetNow() const { return FIsDropTarget; }
  // The owner is going: nothing reaches it any more.
  void Detach() { FOwner = nullptr; }

 private:
  void ReleaseDataObject();

  std::atomic<ULONG> FRefCount{1};
  TBaseLiveTree* FOwner;
  Cardinal FDragSourceIdentifier = 0;
  bool FIsDropTarget = false;
  bool FFullDragging = false;
  IDataObject* FDataObject = nullptr;
  IDropTargetHelper* FDropTargetHelper = nullptr;
};

#pragma GCC diagnostic pop

}  // namespace ltcontrol
