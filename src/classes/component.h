// TComponent: named objects owned by other components, the unit of form
// streaming. An owner deletes what it owns when it goes; components that
// refer to each other ask for free notification, so nothing dangles.
#pragma once

#include <functional>
#include <vector>

#include "classes/persistent.h"

enum TComponentStateItem {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

enum TComponentStyleItem { csInheritable, csCheckPropAvail, csSubComponent, csTransient };
using TComponentStyle = TSet<TComponentStyleItem>;

enum TOperation { opInsert, opRemove };

// The application object, owner of the top-level forms: set by the window
// library when it starts (none in portable programs and tests that set none).
class TComponent;
TComponent* ApplicationComponent();
void SetApplicationComponent(TComponent* application);

class TComponent : public TPersistent {
  KST_CLASS(TComponent, TPersistent)
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  const String& Name() const { return FName; }
  // A valid identifier (or empty), unique among the owner's components
  // without regard to case; raises EComponentError otherwise.
  virtual void SetName(const String& name);
  Integer Tag() const { return FTag; }
  void SetTag(Integer tag) { FTag = tag; }
  // Where a designer shows a component that is no control: left in the low
  // word, top in the high word; forms store it as "Left" and "Top".
  Integer DesignInfo() const { return FDesignInfo; }
  void SetDesignInfo(Integer value) { FDesignInfo = value; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int index) const;
  int ComponentIndex() const;
  TComponent* FindComponent(StringView name) const;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Deletes every owned component.
  void DestroyComponents();

  // Asks to be told (Notification with opRemove) when the other component
  // goes; the request is mutual.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  TComponentState ComponentState() const { return FComponentState; }
  TComponentStyle ComponentStyle() const { return FComponentStyle; }
  void SetSubComponent(bool isSubComponent);
  // Streaming sets and clears the loading states.
  void IncludeState(TComponentStateItem item) { FComponentState.Include(item); }
  void ExcludeState(TComponentStateItem item) { FComponentState.Exclude(item); }
  void SetDesigning(bool designing, bool setChildren = true);

  // Called once after streaming has set every property of the tree.
  virtual void Loaded();
  // Marks this component and its owned components as being destroyed.
  virtual void Destroying();

  // Streaming structure: parent/child relations beyond ownership (controls).
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent*) {}
  virtual void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root);
  virtual TComponent* GetChildOwner() { return nullptr; }
  virtual TComponent* GetChildParent() { return this; }
  virtual void SetChildOrder(TComponent*, int) {}

  TPersistent* GetOwner() const override { return FOwner; }
  String GetNamePath() const override { return FName; }
  void DefineProperties(TFiler& filer) override;

 protected:
  virtual void Notification(TComponent* component, TOperation operation);
  virtual void ValidateRename(TComponent* component, const String& currentName, const String& newName);

 private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);
  void RemoveNotification(TComponent* component);

  TComponent* FOwner = nullptr;
  String FName;
  Integer FTag = 0;
  Integer FDesignInfo = 0;
  std::vector<TComponent*> FComponents;    // owned
  std::vector<TComponent*> FFreeNotifies;  // told when this one goes
  TComponentState FComponentState;
  TComponentStyle FComponentStyle{csInheritable};
};
