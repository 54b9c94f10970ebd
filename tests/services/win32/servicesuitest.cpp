#include "services/win32/servicesuitest.h"

#include <shlobj.h>

#include <cstring>

#include "services/win32/appservices.h"
#include "support/win32/harness.h"
#include "ui/registration.h"

void ServicesUiTest::SetUp() {
  RegisterUiClasses(FRegistry);
  RegisterAppServiceClasses(FRegistry);
  FApp = std::make_unique<TApplication>(nullptr, FRegistry);
  FApp->OnException = TExceptionEvent([this](TObject*, const Exception& e) { FExceptions.push_back(e.Message()); });
}

void ServicesUiTest::TearDown() {
  FApp.reset();
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

void ServicesUiTest::Pump() {
  FApp->ProcessMessages();
}

CLIPFORMAT RegisteredFormat(const wchar_t* name) {
  return static_cast<CLIPFORMAT>(RegisterClipboardFormatW(name));
}

TestDataObject::~TestDataObject() = default;

void TestDataObject::AddFiles(const std::vector<String>& names) {
  std::vector<Byte> bytes(sizeof(DROPFILES), 0);
  auto* header = reinterpret_cast<DROPFILES*>(bytes.data());
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  for (const String& name : names) {
    const auto* raw = reinterpret_cast<const Byte*>(name.c_str());
    bytes.insert(bytes.end(), raw, raw + (name.size() + 1) * 2);
  }
  bytes.insert(bytes.end(), 2, 0);
  AddBytes(CF_HDROP, bytes);
}

void TestDataObject::AddText(const String& text) {
  const auto* raw = reinterpret_cast<const Byte*>(text.c_str());
  AddBytes(CF_UNICODETEXT, std::vector<Byte>(raw, raw + (text.size() + 1) * 2));
}

void TestDataObject::AddBytes(CLIPFORMAT format, const std::vector<Byte>& bytes) {
  FEntries.push_back({format, bytes});
}

int TestDataObject::Requests(CLIPFORMAT format) const {
  for (const auto& [f, n] : FRequests) {
    if (f == format) return n;
  }
  return 0;
}

HRESULT TestDataObject::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
    *object = static_cast<IDataObject*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT TestDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
  if (!format || !medium) return E_INVALIDARG;
  bool counted = false;
  for (auto& [f, n] : FRequests) {
    if (f == format->cfFormat) {
      ++n;
      counted = true;
    }
  }
  if (!counted) FRequests.push_back({format->cfFormat, 1});
  if (format->cfFormat == RegisteredFormat(L"FileContents") && (format->tymed & TYMED_ISTREAM)) {
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return E_OUTOFMEMORY;
    ULONG written = 0;
    if (!FContents.empty()) stream->Write(FContents.data(), static_cast<ULONG>(FContents.size()), &written);
    medium->tymed = TYMED_ISTREAM;
    medium->pstm = stream;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  for (const Entry& entry : FEntries) {
    if (entry.Format != format->cfFormat || !(format->tymed & TYMED_HGLOBAL)) continue;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, entry.Bytes.size());
    if (!memory) return E_OUTOFMEMORY;
    std::memcpy(GlobalLock(memory), entry.Bytes.data(), entry.Bytes.size());
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  return DV_E_FORMATETC;
}

HRESULT TestDataObject::QueryGetData(FORMATETC* format) {
  if (!format) return E_INVALIDARG;
  for (const Entry& entry : FEntries) {
    if (entry.Format == format->cfFormat) return S_OK;
  }
  return DV_E_FORMATETC;
}

HRESULT TestDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) {
  if (direction != DATADIR_GET || !formats) return E_NOTIMPL;
  std::vector<FORMATETC> list;
  for (const Entry& entry : FEntries) list.push_back({entry.Format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
  return SHCreateStdEnumFmtEtc(static_cast<UINT>(list.size()), list.data(), formats);
}

HRESULT TestDropSource::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource)) {
    *object = static_cast<IDropSource*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

void SaveScreenForInspection(HWND window, const wchar_t* name) {
  const wchar_t* folder = _wgetenv(L"KESTRUM_SCREENSHOTS");
  if (!folder || !*folder || !window) return;
  RECT r{};
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  harness::PaintInto(w, h, [&](HDC dc) {
    HDC screen = GetDC(nullptr);
    BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
  }).SaveBmp(std::wstring(folder) + L"\\" + name);
}
