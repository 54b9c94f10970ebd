// Keeps an update bracket (BeginUpdate ... EndUpdate) of a string list, a
// collection, a store or a tree open for a scope, also when an error passes.
#pragma once

template <class T>
class TUpdateScope {
 public:
  explicit TUpdateScope(T& target) : FTarget(target) { FTarget.BeginUpdate(); }
  ~TUpdateScope() { FTarget.EndUpdate(); }
  TUpdateScope(const TUpdateScope&) = delete;
  TUpdateScope& operator=(const TUpdateScope&) = delete;

 private:
  T& FTarget;
};
