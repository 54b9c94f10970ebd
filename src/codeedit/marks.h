// Marks: glyphs attached to lines of the editor and shown in the gutter.
// Bookmarks are the marks numbered 0 to 9; other marks carry no number.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "rtl/events.h"
#include "rtl/object.h"
#include "rtl/types.h"

class TCodeEditMark;
class TCodeEditMarkList;

// The editor as its marks see it.
class ICodeEditMarkHost {
 public:
  virtual ~ICodeEditMarkHost() = default;
  virtual TCodeEditMarkList& MarkList() = 0;
  virtual void InvalidateGutterLines(Integer firstLine, Integer lastLine) = 0;
  // The editor's OnPlaceBookmark: may replace the mark or cancel it (nil).
  virtual void FirePlaceBookmark(std::unique_ptr<TCodeEditMark>& mark) = 0;
};

class TCodeEditMark : public TObject {
 public:
  explicit TCodeEditMark(ICodeEditMarkHost* edit) : fEdit(edit) {}

  Integer Line() const noexcept { return fLine; }
  virtual void SetLine(Integer value);
  Integer Char() const noexcept { return fChar; }
  virtual void SetChar(Integer value) { fChar = value; }
  Integer ImageIndex() const noexcept { return fImage; }
  virtual void SetImageIndex(Integer value);
  bool Visible() const noexcept { return fVisible; }
  void SetVisible(bool value);
  bool InternalImage() const noexcept { return fInternalImage; }
  void SetInternalImage(bool value);
  Integer BookmarkNumber() const noexcept { return fBookmarkNum; }
  void SetBookmarkNumber(Integer value) noexcept { fBookmarkNum = value; }
  bool IsBookmark() const noexcept { return fBookmarkNum >= 0; }
  ICodeEditMarkHost* Edit() const noexcept { return fEdit; }

  // The editor, while its mark list holds this mark; otherwise the mark
  // forgets it and the answer is nil. A list that takes the mark in gives it
  // the list's editor again.
  virtual ICodeEditMarkHost* ValidatedEdit();

 private:
  friend class TCodeEditMarkList;

  void InvalidateOwnLine();

  Integer fLine = 0;
  Integer fChar = 0;
  Integer fImage = 0;
  ICodeEditMarkHost* fEdit;
  bool fVisible = false;
  bool fInternalImage = false;
  Integer fBookmarkNum = -1;
};

// The marks of one line, in list order; the rest nil.
using TCodeEditMarks = std::array<TCodeEditMark*, 16>;

// Owns its marks: removing one frees it, unless it is extracted.
class TCodeEditMarkList : public TObject {
 public:
  explicit TCodeEditMarkList(ICodeEditMarkHost* edit) : fEdit(edit) {}

  Integer Count() const noexcept { return static_cast<Integer>(FItems.size()); }
  TCodeEditMark* Items(Integer index) const;
  TCodeEditMark* First() const { return FItems.empty() ? nullptr : FItems.front().get(); }
  TCodeEditMark* Last() const { return FItems.empty() ? nullptr : FItems.back().get(); }
  Integer IndexOf(const TCodeEditMark* mark) const;

  TCodeEditMark* Add(std::unique_ptr<TCodeEditMark> mark);
  void Delete(Integer index);
  // Removes and frees the mark; -1 when it is not listed.
  Integer Remove(TCodeEditMark* mark);
  // Removes the mark without freeing it.
  std::unique_ptr<TCodeEditMark> Extract(TCodeEditMark* mark);
  void Clear();
  // Frees every mark of the line that is not a bookmark.
  void ClearLine(Integer line);
  void GetMarksForLine(Integer line, TCodeEditMarks& marks) const;
  // Asks the editor (OnPlaceBookmark) and lists what remains.
  void Place(std::unique_ptr<TCodeEditMark> mark);

  ICodeEditMarkHost* Edit() const noexcept { return fEdit; }
  TNotifyEvent OnChange;

 private:
  ICodeEditMarkHost* fEdit;
  std::vector<std::unique_ptr<TCodeEditMark>> FItems;
};
