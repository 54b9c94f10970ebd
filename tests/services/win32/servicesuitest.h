// What the services' window tests share: an application with the window
// library's classes and the services' components, exceptions recorded, and
// a data object and drag source as another program hands them to OLE.
#pragma once

#include "ui/winapi.h"

#include <ole2.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "classes/reflection.h"
#include "ui/forms.h"

class ServicesUiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  void Pump();

  TClassRegistry FRegistry;
  std::unique_ptr<TApplication> FApp;
  std::vector<String> FExceptions;
};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// Data of a drag: global-memory formats and, optionally, virtual-file
// content as a stream. Counts the requests it answers.
class TestDataObject : public IDataObject {
 public:
  TestDataObject() = default;
  virtual ~TestDataObject();
  // A shell file list of these names.
  void AddFiles(const std::vector<String>& names);
  void AddText(const String& text);
  void AddBytes(CLIPFORMAT format, const std::vector<Byte>& bytes);
  // The content of every virtual file, as a stream.
  void SetContents(const std::vector<Byte>& bytes) { FContents = bytes; }
  ULONG References() const { return FReferences; }
  int Requests(CLIPFORMAT format) const;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FReferences; }
  ULONG STDMETHODCALLTYPE Release() override { return --FReferences; }  // owned by the test
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    if (out) out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  struct Entry {
    CLIPFORMAT Format;
    std::vector<Byte> Bytes;
  };
  ULONG FReferences = 1;
  std::vector<Entry> FEntries;
  std::vector<Byte> FContents;
  std::vector<std::pair<CLIPFORMAT, int>> FRequests;
};

// Drops after a few rounds of the drag loop, whatever the mouse does.
class TestDropSource : public IDropSource {
 public:
  virtual ~TestDropSource() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
    if (escape) return DRAGDROP_S_CANCEL;
    return ++FRounds >= 6 ? DRAGDROP_S_DROP : S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  int FRounds = 0;
};
#pragma GCC diagnostic pop

CLIPFORMAT RegisteredFormat(const wchar_t* name);

// What the screen shows of the window, saved for a person to look at when
// KESTRUM_SCREENSHOTS names a folder.
void SaveScreenForInspection(HWND window, const wchar_t* name);
