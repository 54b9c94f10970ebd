// Accessible objects of the trees. Providers register with one factory of
// the process; a tree asks it for its objects when an accessibility client
// asks the window. Without a provider a tree has no accessible object.
#pragma once

#include "ui/winapi.h"

#include <oleacc.h>

#include <vector>

namespace ltcontrol {

class TBaseLiveTree;

class ILTAccessibleProvider {
 public:
  virtual ~ILTAccessibleProvider() = default;
  // A new reference to an accessible object for the tree, or nil.
  virtual IAccessible* ProvideAccessible(TBaseLiveTree* tree) = 0;
};

class TLTAccessibilityFactory {
 public:
  // Each provider once, in order of registration.
  void RegisterAccessibleProvider(ILTAccessibleProvider* provider);
  void UnRegisterAccessibleProvider(ILTAccessibleProvider* provider);
  // The object for the tree as a whole (the first provider) while the tree
  // has none, then the object for its items (the most recent provider that
  // answers); a new reference, or nil.
  IAccessible* CreateIAccessible(TBaseLiveTree* tree);
  size_t ProviderCount() const { return FAccessibleProviders.size(); }

 private:
  std::vector<ILTAccessibleProvider*> FAccessibleProviders;
};

TLTAccessibilityFactory& SharedAccessibilityFactory();

// The platform's accessibility library, loaded on first use (its import
// library defines identifiers the uuid library defines too); failures where
// it is missing.
LRESULT LresultFromAccessible(WPARAM wParam, IAccessible* accessible);
HRESULT AccessibleFromWindow(HWND window, DWORD objectId, REFIID riid, void** object);

// The tree's own accessible object: an outline whose items are the shown
// nodes (child identifiers 1, 2, ... in display order) with their texts,
// roles and states.
class TLTDefaultAccessibleProvider : public ILTAccessibleProvider {
 public:
  IAccessible* ProvideAccessible(TBaseLiveTree* tree) override;
};

}  // namespace ltcontrol
