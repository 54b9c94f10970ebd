#include "classes/reader.h"

#include <algorithm>

#include "classes/collection.h"
#include "classes/propaccess.h"
#include "rtl/format.h"
#include "rtl/stringlist.h"
#include "rtl/sysstr.h"

namespace {

const String kPropertyNotFound = u"Property %s does not exist";
const String kInvalidPath = u"Invalid property path";
const String kReadOnly = u"Property is read-only";
const String kAncestorNotFound = u"Ancestor for '%s' not found";
const String kClassNotFound = u"Class %s not found";
const String kPropertyException = u"Error reading %s%s%s: %s";

// Children of children deeper than this are refused: the stream comes from outside.
constexpr int kMaxComponentDepth = kMaxFormNesting;

bool IsIndexTag(TValueType tag) { return tag == vaInt8 || tag == vaInt16 || tag == vaInt32; }

}  // namespace

TComponentReader::TComponentReader(TStream& stream, const TClassRegistry& registry, Integer bufSize)
    : TReader(stream, bufSize), FRegistry(registry) {
  GlobalNameInUse = [](StringView name, const TComponent* root) {
    // A sibling of the same owner counts too: a second document window of
    // one main window is read under a name of its own.
    if (root && root->Owner())
      if (TComponent* sibling = root->Owner()->FindComponent(name); sibling && sibling != root) return true;
    TComponent* application = ApplicationComponent();
    if (!application) return false;
    TComponent* found = application->FindComponent(name);
    return found && found != root;
  };
}

TComponentReader::~TComponentReader() = default;

bool TComponentReader::Error(const String& message) {
  bool handled = false;
  if (OnError) OnError(*this, message, handled);
  return handled;
}

String TComponentReader::UniqueRootName(const String& name, const TComponent* root) const {
  if (name.empty() || !GlobalNameInUse) return name;
  String result = name;
  for (int i = 1; GlobalNameInUse(result, root); ++i) result = Format(u"%s_%d", {name, i});
  return result;
}

const TClassInfo& TComponentReader::FindComponentClass(const String& className) const {
  const TClassInfo* cls = FRoot ? ClassOf(*FRoot).FindFieldClass(className) : nullptr;
  if (!cls) cls = FRegistry.FindClass(className);
  if (!cls || !cls->IsComponentClass()) throw EClassNotFound(Format(kClassNotFound, {className}));
  return *cls;
}

TComponent* TComponentReader::ReadRootComponent(TComponent* root) {
  ReadSignature();
  TFilerFlags flags = 0;
  Integer position = -1;
  ReadPrefix(flags, position);
  String className = ReadStr();
  String name = ReadStr();
  std::unique_ptr<TComponent> created;
  if (!root) {
    const TClassInfo& cls = FRegistry.GetClass(className);
    if (!cls.IsComponentClass()) throw EClassNotFound(Format(kClassNotFound, {className}));
    created.reset(static_cast<TComponent*>(cls.Create(nullptr)));
    root = created.get();
  }
  FRoot = root;
  FOwner = root;
  FParent = root;
  FLoaded.clear();
  FFixups.clear();
  root->IncludeState(csLoading);
  root->IncludeState(csReading);
  try {
    String unique = created ? name : UniqueRootName(name, root);
    if (!unique.empty()) root->SetName(unique);
    FLoaded.push_back(root);
    ReadComponentData(*root, 0);
  } catch (...) {
    root->ExcludeState(csReading);
    root->ExcludeState(csLoading);
    FLoaded.clear();
    FFixups.clear();
    throw;
  }
  root->ExcludeState(csReading);
  ResolveFixups();
  // Every component read learns that its properties are all there, in reading order.
  std::vector<TComponent*> loaded;
  loaded.swap(FLoaded);
  for (TComponent* component : loaded) component->Loaded();
  created.release();
  return root;
}

void TComponentReader::ReadComponentData(TComponent& component, int depth) {
  ReadProperties(component, component.Name().empty() ? component.ClassName() : component.Name());
  // Children: owned by whom the container says, parented by the container.
  TComponent* savedOwner = FOwner;
  TComponent* savedParent = FParent;
  TComponent* childOwner = component.GetChildOwner();
  FOwner = childOwner ? childOwner : FRoot;
  FParent = component.GetChildParent();
  try {
    while (!EndOfList()) ReadComponent(depth + 1);
    ReadListEnd();
  } catch (...) {
    FOwner = savedOwner;
    FParent = savedParent;
    throw;
  }
  FOwner = savedOwner;
  FParent = savedParent;
}

void TComponentReader::SkipComponentRest(int depth) {
  // Properties, then children, each child a whole record.
  while (!EndOfList()) {
    ReadStrBytes();
    SkipValue();
  }
  ReadListEnd();
  while (!EndOfList()) {
    if (depth > kMaxComponentDepth) FormatError();
    TFilerFlags flags = 0;
    Integer position = -1;
    ReadPrefix(flags, position);
    ReadStrBytes();
    ReadStrBytes();
    SkipComponentRest(depth + 1);
  }
  ReadListEnd();
}

TComponent* TComponentReader::ReadComponent(int depth) {
  if (depth > kMaxComponentDepth) FormatError();
  TFilerFlags flags = 0;
  Integer position = -1;
  ReadPrefix(flags, position);
  String className = ReadStr();
  String name = ReadStr();
  size_t fixupMark = FFixups.size();
  size_t loadedMark = FLoaded.size();
  TComponent* component = nullptr;
  bool createdHere = false;
  bool readingData = false;
  try {
    if (flags & ffInherited) {
      component = FRoot->FindComponent(name);
      if (!component) throw EReadError(Format(kAncestorNotFound, {name}));
    } else {
      const TClassInfo& cls = FindComponentClass(className);
      component = static_cast<TComponent*>(cls.Create(FOwner));
      createdHere = true;
      component->IncludeState(csLoading);
      component->IncludeState(csReading);
      if (!name.empty()) component->SetName(name);
      if (const TFieldInfo* field = ClassOf(*FRoot).FindField(name)) field->Set(*FRoot, component);
    }
    component->IncludeState(csLoading);
    component->IncludeState(csReading);
    if (component->HasParent() && FParent) component->SetParentComponent(FParent);
    if ((flags & ffChildPos) && FParent) FParent->SetChildOrder(component, position);
    FLoaded.push_back(component);
    readingData = true;
    ReadComponentData(*component, depth);
    component->ExcludeState(csReading);
    return component;
  } catch (const Exception& e) {
    // What was read of the failed component goes with it.
    // A cleared collection may have dropped references from before the mark.
    if (FFixups.size() > fixupMark) FFixups.resize(fixupMark);
    FLoaded.resize(loadedMark);
    if (component && createdHere) {
      if (const TFieldInfo* field = ClassOf(*FRoot).FindField(name); field && field->Get(*FRoot) == component)
        field->Set(*FRoot, nullptr);
      delete component;
    } else if (component) {
      component->ExcludeState(csReading);
    }
    // A failure inside the record's data was offered to the hook where it
    // happened; one while making the component is offered here, and when
    // handled the rest of the record is skipped so that reading goes on.
    if (readingData || !Error(e.Message())) throw;
    SkipComponentRest(depth);
    return nullptr;
  }
}

void TComponentReader::ReadProperties(TObject& instance, const String& displayName) {
  while (!EndOfList()) ReadProperty(instance, displayName);
  ReadListEnd();
}

void TComponentReader::ReadProperty(TObject& instance, const String& displayName) {
  String path = ReadStr();
  FPropName.clear();
  try {
    TObject* target = &instance;
    size_t start = 0;
    for (size_t dot = path.find(u'.'); dot != String::npos; dot = path.find(u'.', start)) {
      const TPropInfo* part = ClassOf(*target).FindProperty(StringView(path).substr(start, dot - start));
      TObject* value = part && part->Kind() == tkClass ? GetObjectProp(*target, *part) : nullptr;
      if (!value || !(dynamic_cast<TPersistent*>(value) || dynamic_cast<TStrings*>(value))) {
        SkipValue();
        throw EReadError(kInvalidPath);
      }
      target = value;
      start = dot + 1;
    }
    String last = path.substr(start);
    if (const TPropInfo* prop = ClassOf(*target).FindProperty(last)) {
      ReadPropValue(*target, *prop);
      return;
    }
    // Not published: perhaps data the object streams on its own.
    FPropName = last;
    if (auto* persistent = dynamic_cast<TPersistent*>(target)) {
      persistent->DefineProperties(*this);
    } else if (auto* strings = dynamic_cast<TStrings*>(target)) {
      DefineProperty(
          u"Strings",
          [strings](TReader& reader) {
            reader.ReadListBegin();
            strings->BeginUpdate();
            strings->Clear();
            while (!reader.EndOfList()) strings->Add(reader.ReadString());
            strings->EndUpdate();
            reader.ReadListEnd();
          },
          nullptr, false);
    }
    if (!FPropName.empty()) {
      FPropName.clear();
      SkipValue();
      throw EReadError(Format(kPropertyNotFound, {last}));
    }
  } catch (const Exception& e) {
    FPropName.clear();
    String message = Format(kPropertyException, {displayName, u".", path, e.Message()});
    if (!Error(message)) throw EReadError(message);
  }
}

void TComponentReader::DefineProperty(StringView name, const TReaderProc& readData, const TWriterProc&, bool) {
  if (!FPropName.empty() && readData && SameText(name, FPropName)) {
    FPropName.clear();
    readData(*this);
  }
}

void TComponentReader::DefineBinaryProperty(StringView name, const TStreamProc& readData, const TStreamProc&, bool) {
  if (FPropName.empty() || !readData || !SameText(name, FPropName)) return;
  FPropName.clear();
  TBytes data = ReadBinary();
  TBytesStream stream(data);
  readData(stream);
}

std::any TComponentReader::FindMethod(const String& name) {
  if (const TMethodInfo* method = ClassOf(*FRoot).FindMethod(name)) return method->Bind(*FRoot);
  std::any supplied;
  bool error = true;
  if (OnFindMethod) OnFindMethod(*this, name, supplied, error);
  if (supplied.has_value()) return supplied;
  if (error) PropValueError();
  return {};
}

void TComponentReader::DropFixupsOf(const TCollection& collection) {
  std::vector<const TCollectionItem*> items;
  for (int i = 0; i < collection.Count(); ++i) items.push_back(collection.Items(i));
  std::erase_if(FFixups, [&](const Fixup& fixup) {
    return std::any_of(fixup.Items.begin(), fixup.Items.end(), [&](const TCollectionItem* within) {
      return std::find(items.begin(), items.end(), within) != items.end();
    });
  });
}

void TComponentReader::ReadCollectionInto(TCollection& collection, int depth) {
  collection.BeginUpdate();
  const size_t chainMark = FItemChain.size();
  try {
    if (!EndOfList()) {
      DropFixupsOf(collection);
      collection.Clear();
    }
    while (!EndOfList()) {
      if (IsIndexTag(NextValue())) ReadInteger();  // the item's index: not used
      ReadListBegin();
      TCollectionItem* item = collection.Add();
      // An item is no component: errors name it by its class.
      const String itemName = item->ClassName();
      FItemChain.push_back(item);
      while (!EndOfList()) {
        if (depth > kMaxComponentDepth) FormatError();
        ReadProperty(*item, itemName);
      }
      FItemChain.pop_back();
      ReadListEnd();
    }
    ReadListEnd();
  } catch (...) {
    FItemChain.resize(chainMark);
    collection.EndUpdate();
    throw;
  }
  collection.EndUpdate();
}

void TComponentReader::ReadPropValue(TObject& instance, const TPropInfo& prop) {
  TTypeKind kind = prop.Kind();
  if (kind == tkClass) {
    TValueType tag = NextValue();
    if (tag == vaCollection) {
      ReadValue();
      auto* collection = dynamic_cast<TCollection*>(GetObjectProp(instance, prop));
      if (!collection) {
        // The data is there but nothing can take it: skip the items.
        while (!EndOfList()) {
          if (IsIndexTag(NextValue())) ReadInteger();
          ReadListBegin();
          while (!EndOfList()) {
            ReadStrBytes();
            SkipValue();
          }
          ReadListEnd();
        }
        ReadListEnd();
        PropValueError();
      }
      // The nesting count comes back however the reading ends.
      struct DepthScope {
        int& Depth;
        ~DepthScope() { --Depth; }
      } depthScope{++FCollectionDepth};
      ReadCollectionInto(*collection, FCollectionDepth);
      return;
    }
    if (!prop.IsWritable()) {
      auto* current = dynamic_cast<TComponent*>(GetObjectProp(instance, prop));
      SkipValue();
      if (current && current->ComponentStyle().Contains(csSubComponent)) return;
      throw EReadError(kReadOnly);
    }
    if (tag == vaNil) {
      ReadValue();
      SetObjectProp(instance, prop, nullptr);
      return;
    }
    FFixups.push_back({&instance, &prop, ReadIdent(), FItemChain});
    return;
  }
  if (!prop.IsWritable()) {
    SkipValue();
    throw EReadError(kReadOnly);
  }
  switch (kind) {
    case tkInteger: {
      if (NextValue() == vaIdent) {
        String ident = ReadIdent();
        Integer value = 0;
        const auto& type = static_cast<const TOrdinalTypeInfo&>(prop.PropType());
        if (!type.IdentToInt(ident, value)) PropValueError();
        SetOrdProp(instance, prop, value);
      } else {
        SetOrdProp(instance, prop, ReadInteger());
      }
      break;
    }
    case tkChar: SetOrdProp(instance, prop, ReadChar()); break;
    case tkWChar: SetOrdProp(instance, prop, ReadWideChar()); break;
    case tkEnumeration: {
      Int64 value = GetEnumValue(prop.PropType(), ReadIdent());
      if (value < 0) PropValueError();
      SetOrdProp(instance, prop, value);
      break;
    }
    case tkFloat: SetFloatProp(instance, prop, ReadFloat()); break;
    case tkString:
    case tkLString: SetStrProp(instance, prop, ReadString()); break;
    case tkWString:
    case tkUString: SetStrProp(instance, prop, ReadWideString()); break;
    case tkSet: {
      const auto& type = static_cast<const TSetTypeInfo&>(prop.PropType());
      Cardinal bits = ReadSet([&](StringView name) { return static_cast<int>(GetEnumValue(type.CompType(), name)); });
      SetOrdProp(instance, prop, bits);
      break;
    }
    case tkInt64: SetOrdProp(instance, prop, ReadInt64()); break;
    case tkVariant: SetVariantProp(instance, prop, ReadVariant()); break;
    case tkMethod: {
      if (NextValue() == vaNil) {
        ReadValue();
        SetMethodProp(instance, prop, std::any());
      } else {
        SetMethodProp(instance, prop, FindMethod(ReadIdent()));
      }
      break;
    }
    case tkInterface:
      if (NextValue() == vaNil) {
        ReadValue();
      } else {
        ReadIdent();
      }
      break;
    default:
      SkipValue();
      PropValueError();
  }
}

void TComponentReader::ResolveFixups() {
  std::vector<Fixup> fixups;
  fixups.swap(FFixups);
  for (const auto& fixup : fixups) {
    TComponent* target = nullptr;
    size_t dot = fixup.Name.find(u'.');
    if (dot == String::npos) {
      target = SameText(fixup.Name, FRoot->Name()) ? FRoot : FRoot->FindComponent(fixup.Name);
    } else if (TComponent* application = ApplicationComponent()) {
      StringView name(fixup.Name);
      TComponent* form = application->FindComponent(name.substr(0, dot));
      if (form) target = form->FindComponent(name.substr(dot + 1));
    }
    // A reference to nothing that exists stays unset, as a missing form leaves it.
    if (!target) continue;
    try {
      SetObjectProp(*fixup.Instance, *fixup.Prop, target);
    } catch (const Exception& e) {
      if (!Error(e.Message())) throw;
    }
  }
}
