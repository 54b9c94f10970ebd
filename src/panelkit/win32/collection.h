// What the panel kit's stand-alone controls share: their base control and
// the indent and margin objects they own.
#pragma once

#include "ui/winapi.h"

#include "ui/controls.h"

// A left and top amount in pixels; every set notifies, changed or not.
class TPxIndent : public TPersistent {
  KST_CLASS(TPxIndent, TPersistent)
 public:
  TPxIndent() = default;
  Integer Left() const { return FLeft; }
  void SetLeft(Integer value);
  Integer Top() const { return FTop; }
  void SetTop(Integer value);
  void Assign(const TPersistent* source) override;
  TNotifyEvent OnChange;

 protected:
  virtual void DoChange();

 private:
  Integer FLeft = 0;
  Integer FTop = 0;
};

class TPxMargins : public TPxIndent {
  KST_CLASS(TPxMargins, TPxIndent)
 public:
  TPxMargins() = default;
  Integer Bottom() const { return FBottom; }
  void SetBottom(Integer value);
  Integer Right() const { return FRight; }
  void SetRight(Integer value);
  // (Left, Top, width - Right, height - Bottom).
  TRect AsRect(Integer width, Integer height) const;
  // All four at once, with one notification.
  void SetRect(Integer left, Integer top, Integer right, Integer bottom);
  void Assign(const TPersistent* source) override;

 private:
  Integer FBottom = 0;
  Integer FRight = 0;
};

class TPxCollectionControl : public TCustomControl {
  KST_CLASS(TPxCollectionControl, TCustomControl)
 public:
  explicit TPxCollectionControl(TComponent* owner);
};
