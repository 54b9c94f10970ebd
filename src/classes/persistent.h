// TPersistent: objects that can be assigned to each other and streamed.
#pragma once

#include "classes/reflection.h"

class TFiler;

class TPersistent : public TObject {
 public:
  using inherited = TObject;
  static const TClassInfo& StaticClass();
  static void Describe(TClassBuilder<TPersistent>&) {}
  virtual const TClassInfo* ClassType() const { return &StaticClass(); }

  const String& ClassName() const { return ClassType()->ClassName(); }

  // Copies the source's state: the source's AssignTo decides, and without
  // one that knows this class EConvertError "Cannot assign a %s to a %s".
  virtual void Assign(const TPersistent* source);
  // The owner for name paths and streaming: none unless a class says so.
  virtual TPersistent* GetOwner() const { return nullptr; }
  // "Owner.Property" style name for messages and the inspector.
  virtual String GetNamePath() const;
  // Data a class streams on its own, under property names that are no
  // published property (pictures, string lists' "Strings").
  virtual void DefineProperties(TFiler& filer);

 protected:
  virtual void AssignTo(TPersistent* dest) const;
  [[noreturn]] void AssignError(const TPersistent* source) const;
};

// A persistent whose state lives in an owning object, with its owner
// known for name paths (fonts, margins, options).
class TOwnedPersistent : public TPersistent {
 public:
  explicit TOwnedPersistent(TPersistent* owner = nullptr) : FOwner(owner) {}
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
};
