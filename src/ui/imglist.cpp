#include "ui/imglist.h"

#include <algorithm>
#include <cstring>

#include "classes/filer.h"
#include "classes/identmaps.h"
#include "rtl/format.h"

KST_CLASS_IMPL(TCustomImageList, "ImgList")
KST_CLASS_IMPL(TImageList, "Controls")

const TTypeInfo& DescribeType(TypeTag<TDrawingStyle>) {
  static const TEnumTypeInfo t(u"TDrawingStyle", u"ImgList",
                               {u"dsFocus", u"dsSelected", u"dsNormal", u"dsTransparent"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TImageType>) {
  static const TEnumTypeInfo t(u"TImageType", u"ImgList", {u"itImage", u"itMask"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TColorDepth>) {
  static const TEnumTypeInfo t(u"TColorDepth", u"ImgList",
                               {u"cdDeviceDependent", u"cd4Bit", u"cd8Bit", u"cd16Bit", u"cd24Bit", u"cd32Bit"});
  return t;
}

namespace {

COLORREF ListColor(TColor color) {
  if (color == clNone) return CLR_NONE;
  if (color == clDefault) return CLR_DEFAULT;
  return static_cast<COLORREF>(ColorToRGB(color)) & 0xFFFFFF;
}

// An IStream over memory, for the system's image list reader and writer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class MemoryIStream : public IStream {
 public:
  explicit MemoryIStream(TBytes data = {}) : FData(std::move(data)) {}
  virtual ~MemoryIStream() = default;
  const TBytes& Data() const { return FData; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IStream) || IsEqualIID(riid, IID_ISequentialStream)) {
      *object = static_cast<IStream*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG count, ULONG* read) override {
    size_t n = std::min<size_t>(count, FData.size() - std::min(FPosition, FData.size()));
    if (n) std::memcpy(buffer, FData.data() + FPosition, n);
    FPosition += n;
    if (read) *read = static_cast<ULONG>(n);
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG count, ULONG* written) override {
    if (FPosition + count > FData.size()) FData.resize(FPosition + count);
    std::memcpy(FData.data() + FPosition, buffer, count);
    FPosition += count;
    if (written) *written = count;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override {
    Int64 base = origin == STREAM_SEEK_SET   ? 0
                 : origin == STREAM_SEEK_CUR ? static_cast<Int64>(FPosition)
                                             : static_cast<Int64>(FData.size());
    Int64 pos = base + move.QuadPart;
    if (pos < 0) return STG_E_INVALIDFUNCTION;
    FPosition = static_cast<size_t>(pos);
    if (newPosition) newPosition->QuadPart = static_cast<ULONGLONG>(pos);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override {
    FData.resize(static_cast<size_t>(size.QuadPart));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
    std::memset(stat, 0, sizeof *stat);
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = FData.size();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

 private:
  TBytes FData;
  size_t FPosition = 0;
};
#pragma GCC diagnostic pop

}  // namespace

TChangeLink::~TChangeLink() {
  if (FSender) FSender->UnRegisterChanges(this);
}

void TCustomImageList::Describe(TClassBuilder<TCustomImageList>&) {}

void TImageList::Describe(TClassBuilder<TImageList>& c) {
  c.Property(u"AllocBy", &TImageList::AllocBy, &TImageList::SetAllocBy).Default(4);
  c.Property(u"BlendColor", &TImageList::BlendColor, &TImageList::SetBlendColor, &types::Color()).Default(clNone);
  c.Property(u"BkColor", &TImageList::BkColor, &TImageList::SetBkColor, &types::Color()).Default(clNone);
  c.Property(u"ColorDepth", &TImageList::ColorDepth, &TImageList::SetColorDepth).Default(cdDeviceDependent);
  c.Property(u"DrawingStyle", &TImageList::DrawingStyle, &TImageList::SetDrawingStyle).Default(dsNormal);
  c.Property(u"Height", &TImageList::Height, &TImageList::SetHeight).Default(16);
  c.Property(u"ImageType", &TImageList::ImageType, &TImageList::SetImageType).Default(itImage);
  c.Property(u"Masked", &TImageList::Masked, &TImageList::SetMasked).Default(1);
  c.Property(u"Width", &TImageList::Width, &TImageList::SetWidth).Default(16);
  c.Property(u"OnChange", &TImageList::OnChange);
}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList() {
  for (TChangeLink* link : FLinks) link->FSender = nullptr;
  FreeHandle();
}

UINT TCustomImageList::Flags() const {
  static const UINT depths[] = {ILC_COLOR32, ILC_COLOR4, ILC_COLOR8, ILC_COLOR16, ILC_COLOR24, ILC_COLOR32};
  return depths[FColorDepth] | (FMasked ? ILC_MASK : 0);
}

void TCustomImageList::CreateImageList() {
  FHandle = ImageList_Create(FWidth, FHeight, Flags(), FAllocBy, FAllocBy);
  if (!FHandle) throw EInvalidOperation(u"Failed to create image list");
  ImageList_SetBkColor(FHandle, ListColor(FBkColor));
}

void TCustomImageList::FreeHandle() {
  if (FHandle) ImageList_Destroy(FHandle);
  FHandle = nullptr;
}

HIMAGELIST TCustomImageList::Handle() {
  if (!FHandle) CreateImageList();
  return FHandle;
}

void TCustomImageList::SetHandle(HIMAGELIST handle) {
  FreeHandle();
  FHandle = handle;
  if (handle) {
    int w = 0, h = 0;
    ImageList_GetIconSize(handle, &w, &h);
    FWidth = w;
    FHeight = h;
  }
  Change();
}

Integer TCustomImageList::Count() const {
  return FHandle ? ImageList_GetImageCount(FHandle) : 0;
}

void TCustomImageList::SetWidth(Integer value) {
  if (value == FWidth || value <= 0) return;
  FWidth = value;
  FreeHandle();
  Change();
}

void TCustomImageList::SetHeight(Integer value) {
  if (value == FHeight || value <= 0) return;
  FHeight = value;
  FreeHandle();
  Change();
}

void TCustomImageList::SetBkColor(TColor value) {
  FBkColor = value;
  if (FHandle) ImageList_SetBkColor(FHandle, ListColor(value));
  Change();
}

void TCustomImageList::SetMasked(bool value) {
  if (value == FMasked) return;
  FMasked = value;
  FreeHandle();
  Change();
}

void TCustomImageList::SetColorDepth(TColorDepth value) {
  if (value == FColorDepth) return;
  FColorDepth = value;
  FreeHandle();
  Change();
}

Integer TCustomImageList::Add(TBitmap* image, TBitmap* mask) {
  if (!image || image->Empty()) return -1;
  TBitmap copy;
  copy.Assign(image);
  copy.SetPixelFormat(pf32bit);
  HBITMAP maskHandle = nullptr;
  TBitmap maskCopy;
  if (mask && !mask->Empty()) {
    maskCopy.Assign(mask);
    maskCopy.SetPixelFormat(pf1bit);
    maskHandle = maskCopy.Handle();
  }
  int result = ImageList_Add(Handle(), copy.Handle(), maskHandle);
  Change();
  return result;
}

Integer TCustomImageList::AddMasked(TBitmap& image, TColor maskColor) {
  if (image.Empty()) return -1;
  TBitmap copy;
  copy.Assign(&image);
  copy.SetPixelFormat(pf24bit);
  COLORREF key = maskColor == clDefault ? static_cast<COLORREF>(image.TransparentColor()) & 0xFFFFFF
                                        : static_cast<COLORREF>(ColorToRGB(maskColor)) & 0xFFFFFF;
  int result;
  if (FMasked) {
    result = ImageList_AddMasked(Handle(), copy.Handle(), key);
  } else {
    result = ImageList_Add(Handle(), copy.Handle(), nullptr);
  }
  Change();
  return result;
}

Integer TCustomImageList::AddIcon(TIcon& icon) {
  if (icon.Empty()) return -1;
  int result = ImageList_AddIcon(Handle(), icon.Handle());
  Change();
  return result;
}

void TCustomImageList::Replace(Integer index, TBitmap* image, TBitmap* mask) {
  if (!FHandle || index < 0 || index >= Count()) throw EInvalidOperation(u"Invalid ImageList Index");
  TBitmap copy;
  copy.Assign(image);
  copy.SetPixelFormat(pf32bit);
  TBitmap maskCopy;
  if (mask) {
    maskCopy.Assign(mask);
    maskCopy.SetPixelFormat(pf1bit);
  }
  if (!ImageList_Replace(FHandle, index, copy.Handle(), mask ? maskCopy.Handle() : nullptr))
    throw EInvalidOperation(u"Failed to replace image");
  Change();
}

void TCustomImageList::ReplaceMasked(Integer index, TBitmap& image, TColor maskColor) {
  if (!FHandle || index < 0 || index >= Count()) throw EInvalidOperation(u"Invalid ImageList Index");
  TImageList temp(nullptr);
  temp.SetWidth(FWidth);
  temp.SetHeight(FHeight);
  temp.AddMasked(image, maskColor);
  HICON icon = ImageList_GetIcon(temp.Handle(), 0, ILD_NORMAL);
  if (icon) {
    ImageList_ReplaceIcon(FHandle, index, icon);
    DestroyIcon(icon);
  }
  Change();
}

void TCustomImageList::Delete(Integer index) {
  if (!FHandle || index >= Count()) throw EInvalidOperation(u"Invalid ImageList Index");
  ImageList_Remove(FHandle, index);
  Change();
}

void TCustomImageList::Clear() {
  Delete(-1);
}

void TCustomImageList::Move(Integer currentIndex, Integer newIndex) {
  if (currentIndex == newIndex) return;
  Integer n = Count();
  if (currentIndex < 0 || currentIndex >= n || newIndex < 0 || newIndex >= n)
    throw EInvalidOperation(u"Invalid ImageList Index");
  Integer step = newIndex > currentIndex ? 1 : -1;
  for (Integer i = currentIndex; i != newIndex; i += step) ImageList_Copy(FHandle, i, FHandle, i + step, ILCF_SWAP);
  Change();
}

void TCustomImageList::DoDraw(Integer index, TCanvas& canvas, Integer x, Integer y, UINT style, bool enabled) {
  if (!FHandle || index < 0 || index >= Count()) return;
  HDC dc = canvas.Handle();
  if (enabled) {
    ImageList_DrawEx(FHandle, index, dc, x, y, 0, 0, ListColor(FBkColor), ListColor(FBlendColor), style);
    return;
  }
  // Greyed: the image's shape in the highlight colour, then in the shadow
  // colour one pixel up and left of it.
  // The shape is where the image covers a white and a black ground alike
  // (a mask drawn on its own is not kept by every image list).
  HBITMAP mono = CreateBitmap(FWidth, FHeight, 1, 1, nullptr);
  HDC monoDC = CreateCompatibleDC(nullptr);
  HGDIOBJ oldMono = SelectObject(monoDC, mono);
  HBITMAP colour = CreateCompatibleBitmap(dc, FWidth, FHeight);
  HDC colourDC = CreateCompatibleDC(dc);
  HGDIOBJ oldColour = SelectObject(colourDC, colour);
  PatBlt(colourDC, 0, 0, FWidth, FHeight, WHITENESS);
  ImageList_DrawEx(FHandle, index, colourDC, 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
  HBITMAP ground = CreateCompatibleBitmap(dc, FWidth, FHeight);
  HDC groundDC = CreateCompatibleDC(dc);
  HGDIOBJ oldGround = SelectObject(groundDC, ground);
  PatBlt(groundDC, 0, 0, FWidth, FHeight, BLACKNESS);
  ImageList_DrawEx(FHandle, index, groundDC, 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
  // Light pixels of the image count as background.
  for (Integer py = 0; py < FHeight; ++py)
    for (Integer px = 0; px < FWidth; ++px) {
      COLORREF c = GetPixel(colourDC, px, py);
      int luminance = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
      bool opaque = c == GetPixel(groundDC, px, py);
      // White marks where the brush goes (the raster operation paints where the source is set).
      SetPixel(monoDC, px, py, opaque && luminance < 200 ? RGB(255, 255, 255) : RGB(0, 0, 0));
    }
  SelectObject(groundDC, oldGround);
  DeleteObject(ground);
  DeleteDC(groundDC);
  constexpr DWORD kRopDSPDxax = 0x00E20746;
  COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
  HBRUSH highlight = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(clBtnHighlight)) & 0xFFFFFF);
  HGDIOBJ oldBrush = SelectObject(dc, highlight);
  BitBlt(dc, x + 1, y + 1, FWidth, FHeight, monoDC, 0, 0, kRopDSPDxax);
  HBRUSH shadow = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(clBtnShadow)) & 0xFFFFFF);
  SelectObject(dc, shadow);
  BitBlt(dc, x, y, FWidth, FHeight, monoDC, 0, 0, kRopDSPDxax);
  SelectObject(dc, oldBrush);
  DeleteObject(highlight);
  DeleteObject(shadow);
  SetTextColor(dc, oldText);
  ::SetBkColor(dc, oldBack);
  SelectObject(colourDC, oldColour);
  DeleteObject(colour);
  DeleteDC(colourDC);
  SelectObject(monoDC, oldMono);
  DeleteObject(mono);
  DeleteDC(monoDC);
}

void TCustomImageList::Draw(TCanvas& canvas, Integer x, Integer y, Integer index, bool enabled) {
  Draw(canvas, x, y, index, FDrawingStyle, FImageType, enabled);
}

void TCustomImageList::Draw(TCanvas& canvas, Integer x, Integer y, Integer index, TDrawingStyle style, TImageType type,
                            bool enabled) {
  static const UINT styles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
  UINT flags = styles[style];
  if (type == itMask) flags |= ILD_MASK;
  DoDraw(index, canvas, x, y, flags, enabled);
}

void TCustomImageList::DrawOverlay(TCanvas& canvas, Integer x, Integer y, Integer imageIndex, Integer overlay,
                                   bool enabled) {
  if (overlay < 0 || overlay > 3) return;
  static const UINT styles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
  DoDraw(imageIndex, canvas, x, y, styles[FDrawingStyle] | INDEXTOOVERLAYMASK(overlay + 1), enabled);
}

bool TCustomImageList::Overlay(Integer imageIndex, Integer overlay) {
  if (!FHandle || overlay < 0 || overlay > 3) return false;
  return ImageList_SetOverlayImage(FHandle, imageIndex, overlay + 1) != 0;
}

bool TCustomImageList::GetBitmap(Integer index, TBitmap& image) {
  if (!FHandle || index < 0 || index >= Count()) return false;
  image.SetPixelFormat(pf32bit);
  image.SetSize(FWidth, FHeight);
  image.Canvas().Brush().SetColor(FBkColor == clNone ? clWhite : FBkColor);
  image.Canvas().FillRect(Rect(0, 0, FWidth, FHeight));
  ImageList_Draw(FHandle, index, image.Canvas().Handle(), 0, 0, ILD_TRANSPARENT);
  return true;
}

void TCustomImageList::GetIcon(Integer index, TIcon& icon) {
  if (!FHandle || index < 0 || index >= Count()) return;
  icon.SetHandle(ImageList_GetIcon(FHandle, index, ILD_NORMAL));
}

void TCustomImageList::RegisterChanges(TChangeLink* link) {
  if (!link) return;
  link->FSender = this;
  if (std::find(FLinks.begin(), FLinks.end(), link) == FLinks.end()) FLinks.push_back(link);
}

bool SwitchImageList(TComponent& client, TCustomImageList*& field, TCustomImageList* images, TChangeLink* link) {
  if (images == field) return false;
  if (field) {
    field->UnRegisterChanges(link);
    field->RemoveFreeNotification(&client);
  }
  field = images;
  if (images) {
    images->RegisterChanges(link);
    images->FreeNotification(&client);
  }
  return true;
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link) {
  auto it = std::find(FLinks.begin(), FLinks.end(), link);
  if (it == FLinks.end()) return;
  (*it)->FSender = nullptr;
  FLinks.erase(it);
}

void TCustomImageList::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  if (FUpdateCount == 0 && FChanged) Change();
}

void TCustomImageList::Change() {
  if (FUpdateCount > 0) {
    FChanged = true;
    return;
  }
  FChanged = false;
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  std::vector<TChangeLink*> links = FLinks;
  for (TChangeLink* link : links) link->OnChange(this);
  OnChange(this);
}

void TCustomImageList::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TCustomImageList*>(source);
  if (!other) {
    TComponent::Assign(source);
    return;
  }
  FreeHandle();
  FWidth = other->FWidth;
  FHeight = other->FHeight;
  FAllocBy = other->FAllocBy;
  FBkColor = other->FBkColor;
  FBlendColor = other->FBlendColor;
  FDrawingStyle = other->FDrawingStyle;
  FImageType = other->FImageType;
  FMasked = other->FMasked;
  FColorDepth = other->FColorDepth;
  if (other->FHandle) FHandle = ImageList_Duplicate(other->FHandle);
  Change();
}

void TCustomImageList::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      u"Bitmap", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); }, Count() > 0);
}

void TCustomImageList::ReadData(TStream& stream) {
  MemoryIStream source(stream.ReadAllBytes());
  HIMAGELIST list = ImageList_Read(&source);
  if (!list) throw EReadError(u"Failed to read ImageList data from stream");
  FreeHandle();
  FHandle = list;
  int w = 0, h = 0;
  ImageList_GetIconSize(list, &w, &h);
  FWidth = w;
  FHeight = h;
  ImageList_SetBkColor(FHandle, ListColor(FBkColor));
  Change();
}

void TCustomImageList::WriteData(TStream& stream) {
  if (!FHandle) return;
  MemoryIStream target;
  if (!ImageList_Write(FHandle, &target)) throw EWriteError(u"Failed to write ImageList data to stream");
  stream.WriteBuffer(target.Data().data(), static_cast<Int64>(target.Data().size()));
}
