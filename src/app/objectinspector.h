// The object inspector: lists the published properties and events of one
// object with their type names, kinds and values as text, and sets values by
// name from text. The editor window fills its property and event views with
// it and hooks the preview's controls through it.
#pragma once

#include <memory>
#include <vector>

#include "classes/component.h"
#include "rtl/stringlist.h"

using TExceptionEvent = TDelegate<void(TObject* Sender, const Exception& E)>;

// Descriptors of an object's published properties whose kind is in a filter,
// sorted by name.
class TPropInfoList {
 public:
  TPropInfoList(const TObject& instance, TTypeKinds filter);
  int Count() const { return static_cast<int>(FList.size()); }
  const TPropInfo* Items(int index) const;
  // An entry with the same property type and, without regard to case, the same name.
  bool Contains(const TPropInfo& prop) const;
  const TPropInfo* Find(StringView name) const;
  void Delete(int index);
  // Removes, from the last entry to the first, every entry the other list lacks.
  void Intersect(const TPropInfoList& other);

 private:
  std::vector<const TPropInfo*> FList;
};

class TMObjectInspector : public TComponent {
  KST_CLASS(TMObjectInspector, TComponent)
 public:
  explicit TMObjectInspector(TComponent* owner);
  ~TMObjectInspector() override;

  const String& About() const { return FAbout; }
  TTypeKinds Filter() const { return FFilter; }
  void SetFilter(TTypeKinds filter) { FFilter = filter; }
  // The inspected object when it is a component, else none.
  TComponent* Component() const;
  // Inspects any object (collections and items too); none keeps the lists.
  void SetComponent(TObject* instance);
  TObject* InspectedObject() const { return FObject; }

  TStrings* Properties() const { return FProperties.get(); }
  TStrings* Types() const { return FTypes.get(); }
  TStrings* Values() const { return FValues.get(); }
  TStrings* Kinds() const { return FKinds.get(); }
  TStrings* Declarations() const { return FDecl.get(); }
  const String& ObjectType() const { return FCompType; }
  const String& ObjectName() const { return FCompName; }
  TExceptionEvent OnException;

  const TPropInfo* GetProperty(StringView name) const;
  String GetPropertyType(StringView name) const;
  // Clears the list and fills it with the property's value lines.
  void GetPropertyValue(StringView name, TStrings& lines) const;
  bool SetPropertyValue(StringView name, const TStrings& lines);
  bool SetPropertyValue(StringView name, const String& text);
  // Sets an event property to a delegate (in a std::any, as TMethodInfo::Bind gives).
  bool SetEventValue(StringView name, const std::any& method);
  // "procedure OnClick (Sender :TObject)"; empty when the property is no event.
  String GetMethodDecl(StringView name) const;

  // The component a path names: "Form.Component" among the application's
  // forms, else a component of the inspected object's owner.
  TComponent* FindComponentByPath(StringView path) const;

  // Display precision by float type: single 7, double 15, extended 18, comp 18, currency 19.
  static int FloatPrecision(TFloatType type);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void ReadValue(const TPropInfo& prop, TStrings& lines) const;
  void WriteText(const TPropInfo& prop, const String& text);
  void Report(const Exception& e);

  TObject* FObject = nullptr;
  String FCompName;
  String FAbout;
  String FCompType;
  TTypeKinds FFilter = tkAny;
  std::unique_ptr<TPropInfoList> FPropList;
  std::unique_ptr<TStringList> FProperties, FTypes, FValues, FKinds, FDecl;
  TComponent* FOwner = nullptr;
};

// "procedure Name (Sender :TObject)", "function Name (...) :Result": a
// method as the inspector and the class browser show its declaration.
String MethodDeclaration(StringView name, const TMethodTypeInfo& type);

// The class-registry entries of this unit.
void RegisterObjectInspectorClasses(TClassRegistry& registry);
