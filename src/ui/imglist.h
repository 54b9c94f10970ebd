// Image lists: many images of one size in one system image list, drawn by
// index, enabled or greyed, with overlays. Forms store the images as the
// binary property "Bitmap" in the system's image list format.
#pragma once

#include <vector>

#include "classes/component.h"
#include "ui/graphics.h"

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };
enum TColorDepth { cdDeviceDependent, cd4Bit, cd8Bit, cd16Bit, cd24Bit, cd32Bit };

const TTypeInfo& DescribeType(TypeTag<TDrawingStyle>);
const TTypeInfo& DescribeType(TypeTag<TImageType>);
const TTypeInfo& DescribeType(TypeTag<TColorDepth>);

class TCustomImageList;

// A client's registration for an image list's changes.
class TChangeLink : public TObject {
 public:
  TChangeLink() = default;
  TChangeLink(const TChangeLink&) = delete;
  TChangeLink& operator=(const TChangeLink&) = delete;
  ~TChangeLink() override;
  TCustomImageList* Sender() const { return FSender; }
  TNotifyEvent OnChange;

 private:
  friend class TCustomImageList;
  TCustomImageList* FSender = nullptr;
};

class TCustomImageList : public TComponent {
  KST_CLASS(TCustomImageList, TComponent)
 public:
  explicit TCustomImageList(TComponent* owner);
  ~TCustomImageList() override;

  HIMAGELIST Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  // Takes over a system image list (its size becomes the list's).
  void SetHandle(HIMAGELIST handle);

  Integer Width() const { return FWidth; }
  void SetWidth(Integer value);
  Integer Height() const { return FHeight; }
  void SetHeight(Integer value);
  Integer Count() const;
  Integer AllocBy() const { return FAllocBy; }
  void SetAllocBy(Integer value) { FAllocBy = value; }
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor value);
  TColor BlendColor() const { return FBlendColor; }
  void SetBlendColor(TColor value) { FBlendColor = value; }
  TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle value) { FDrawingStyle = value; }
  TImageType ImageType() const { return FImageType; }
  void SetImageType(TImageType value) { FImageType = value; }
  bool Masked() const { return FMasked; }
  void SetMasked(bool value);
  TColorDepth ColorDepth() const { return FColorDepth; }
  void SetColorDepth(TColorDepth value);

  // Adds the image (its width may hold several images side by side) with an
  // optional mask; returns the index of the first one added, -1 on failure.
  Integer Add(TBitmap* image, TBitmap* mask);
  // Adds the image with the pixels of the mask colour transparent.
  Integer AddMasked(TBitmap& image, TColor maskColor);
  Integer AddIcon(TIcon& icon);
  void Replace(Integer index, TBitmap* image, TBitmap* mask);
  void ReplaceMasked(Integer index, TBitmap& image, TColor maskColor);
  void Delete(Integer index);
  void Clear();
  void Move(Integer currentIndex, Integer newIndex);

  void Draw(TCanvas& canvas, Integer x, Integer y, Integer index, bool enabled = true);
  void Draw(TCanvas& canvas, Integer x, Integer y, Integer index, TDrawingStyle style, TImageType type,
            bool enabled = true);
  // The image with overlay image number `overlay` (0-3) on top.
  void DrawOverlay(TCanvas& canvas, Integer x, Integer y, Integer imageIndex, Integer overlay, bool enabled = true);
  // Makes image `imageIndex` the overlay image number `overlay` (0-3).
  bool Overlay(Integer imageIndex, Integer overlay);
  bool GetBitmap(Integer index, TBitmap& image);
  void GetIcon(Integer index, TIcon& icon);

  void RegisterChanges(TChangeLink* link);
  void UnRegisterChanges(TChangeLink* link);
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  TNotifyEvent OnChange;

  void Assign(const TPersistent* source) override;
  void DefineProperties(TFiler& filer) override;

 protected:
  virtual void Change();
  virtual void DoDraw(Integer index, TCanvas& canvas, Integer x, Integer y, UINT style, bool enabled);

 private:
  void CreateImageList();
  void FreeHandle();
  UINT Flags() const;
  void ReadData(TStream& stream);
  void WriteData(TStream& stream);

  HIMAGELIST FHandle = nullptr;
  Integer FWidth = 16;
  Integer FHeight = 16;
  Integer FAllocBy = 4;
  TColor FBkColor = clNone;
  TColor FBlendColor = clNone;
  TDrawingStyle FDrawingStyle = dsNormal;
  TImageType FImageType = itImage;
  bool FMasked = true;
  TColorDepth FColorDepth = cdDeviceDependent;
  std::vector<TChangeLink*> FLinks;
  int FUpdateCount = 0;
  bool FChanged = false;
};

// Points a client's image list field at another list: the client's change
// link and free notification move with it. Answers whether anything changed.
bool SwitchImageList(TComponent& client, TCustomImageList*& field, TCustomImageList* images, TChangeLink* link);

class TImageList : public TCustomImageList {
  KST_CLASS(TImageList, TCustomImageList)
 public:
  using TCustomImageList::TCustomImageList;
};
