// Reading a component tree from a binary form stream: the root's class and
// children are found by name, created and owned as the stream says, every
// property record is applied through the reflection registry, component
// references are resolved once the whole tree is there, and every component
// read is told it has been loaded.
#pragma once

#include <any>
#include <functional>
#include <vector>

#include "classes/component.h"
#include "classes/filer.h"

class TCollection;
class TCollectionItem;

class TComponentReader : public TReader {
 public:
  TComponentReader(TStream& stream, const TClassRegistry& registry, Integer bufSize = kFilerBufferSize);
  ~TComponentReader() override;

  // Reads the whole stream into the given root (its class name is read and
  // not used; its name is made unique among the application's forms), or,
  // without one, into a new instance of the root's registered class that
  // the caller then owns.
  TComponent* ReadRootComponent(TComponent* root = nullptr);

  // Offered every error while reading a property or creating a component;
  // setting handled goes on with the next property or object.
  TDelegate<void(TComponentReader& reader, const String& message, bool& handled)> OnError;
  // Asked when an event names a method the root's class does not publish:
  // it may supply a delegate (in the std::any) or clear error to declare the
  // name harmless.
  TDelegate<void(TComponentReader& reader, const String& methodName, std::any& method, bool& error)> OnFindMethod;
  // Whether a name is taken among the application's global components (the
  // root's name is made unique against it); by default the components of
  // the application object.
  std::function<bool(StringView name, const TComponent* root)> GlobalNameInUse;

  TComponent* Root() const { return FRoot; }
  // The component and parent that children read now are given.
  TComponent* Owner() const { return FOwner; }
  TComponent* Parent() const { return FParent; }

  void DefineProperty(StringView name, const TReaderProc& readData, const TWriterProc& writeData,
                      bool hasData) override;
  void DefineBinaryProperty(StringView name, const TStreamProc& readData, const TStreamProc& writeData,
                            bool hasData) override;

 private:
  struct Fixup {
    TObject* Instance;
    const TPropInfo* Prop;
    String Name;
    // The collection items the reference was read within, outermost first:
    // clearing their collection frees the instance with them.
    std::vector<const TCollectionItem*> Items;
  };

  String UniqueRootName(const String& name, const TComponent* root) const;
  // Reads one child record; returns the component or null when it was skipped.
  TComponent* ReadComponent(int depth);
  void ReadComponentData(TComponent& component, int depth);
  void ReadProperties(TObject& instance, const String& displayName);
  void ReadProperty(TObject& instance, const String& displayName);
  void ReadPropValue(TObject& instance, const TPropInfo& prop);
  void ReadCollectionInto(TCollection& collection, int depth);
  // Forgets the queued references into the collection's items.
  void DropFixupsOf(const TCollection& collection);
  std::any FindMethod(const String& name);
  // Offers a failure to the error hook; false when it is not handled.
  bool Error(const String& message);
  void SkipComponentRest(int depth);
  const TClassInfo& FindComponentClass(const String& className) const;
  void ResolveFixups();

  const TClassRegistry& FRegistry;
  TComponent* FRoot = nullptr;
  TComponent* FOwner = nullptr;
  TComponent* FParent = nullptr;
  String FPropName;  // the last part of the property being read, for defined properties
  std::vector<TComponent*> FLoaded;
  std::vector<Fixup> FFixups;
  int FCollectionDepth = 0;
  std::vector<const TCollectionItem*> FItemChain;  // the items being read now, outermost first
};
