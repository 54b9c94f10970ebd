// The common root of the class hierarchy. The reflection library gives it
// class information; here it is only what the run-time library needs: a type
// that string lists and other containers can hold and that deletes properly.
#pragma once

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = default;
  TObject& operator=(const TObject&) = default;
  virtual ~TObject() = default;
};
