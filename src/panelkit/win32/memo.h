// The system's multi-line edit with an inner horizontal margin, a border in
// the visual style like the kit's edit, and lines appended in one call.
#pragma once

#include <initializer_list>

#include "rtl/format.h"
#include "ui/stdctrls.h"

class TPxMemo : public TMemo {
  KST_CLASS(TPxMemo, TMemo)
 public:
  explicit TPxMemo(TComponent* owner);
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer value);
  // Appends a line.
  void Add(const String& line);
  // Appends the values formatted by the format string as one line.
  void Add(StringView format, std::initializer_list<TVarRec> values);
  // The rectangle the text is laid out in.
  virtual TRect GetEditRect() const;

 protected:
  void CreateWnd() override;
  void Dispatch(TMessage& message) override;

 private:
  void ApplyEditRect();
  Integer FMargin = 0;
};
