#include "app/filetypes.h"

#include "rtl/sysstr.h"
#include "services/registryaccess.h"

namespace {

String KeyOf(const TFileTypeKey& where, const String& name) {
  return where.Path.empty() ? name : where.Path + u"\\" + name;
}

String DottedExtension(const String& extension) {
  String bare;
  for (Char c : extension)
    if (c != u'.') bare += c;
  return bare.empty() ? bare : u"." + bare;
}

String DefaultValue(const TFileTypeKey& where, const String& key) {
  String value;
  if (!RegistryKeyExists(where.Registry, where.Root, key)) return value;
  ReadRegistryStringEx(where.Registry, where.Root, key, u"", false, value);
  return value;
}

}  // namespace

void RegisterFileType(const TFileTypeKey& where, const String& extension, const String& typeName,
                      const String& description, const String& program, const String& icon) {
  const String dotted = DottedExtension(extension);
  if (dotted.empty() || program.empty()) return;
  const String type = typeName.empty() ? dotted.substr(1) + u"_auto_file" : typeName;
  WriteRegistryString(where.Registry, where.Root, KeyOf(where, dotted), u"", type);
  WriteRegistryString(where.Registry, where.Root, KeyOf(where, type), u"", description);
  if (!icon.empty()) WriteRegistryString(where.Registry, where.Root, KeyOf(where, type + u"\\DefaultIcon"), u"", icon);
  WriteRegistryString(where.Registry, where.Root, KeyOf(where, type + u"\\shell\\open\\command"), u"",
                      // Quoted, so a program path with blanks names the program, not its first word.
                      u"\"" + program + u"\" \"%1\"");
}

void UnregisterFileType(const TFileTypeKey& where, const String& extension) {
  const String dotted = DottedExtension(extension);
  if (dotted.empty() || !RegistryKeyExists(where.Registry, where.Root, KeyOf(where, dotted))) return;
  const String type = DefaultValue(where, KeyOf(where, dotted));
  DeleteRegistryKeyTree(where.Registry, where.Root, KeyOf(where, dotted));
  if (!type.empty() && RegistryKeyExists(where.Registry, where.Root, KeyOf(where, type)))
    DeleteRegistryKeyTree(where.Registry, where.Root, KeyOf(where, type));
}

String GetFileTypeCommand(const TFileTypeKey& where, const String& extension) {
  const String dotted = DottedExtension(extension);
  if (dotted.empty()) return String();
  const String type = DefaultValue(where, KeyOf(where, dotted));
  if (type.empty()) return String();
  const String command = DefaultValue(where, KeyOf(where, type + u"\\shell\\open\\command"));
  if (!command.empty() && command.front() == u'"') {
    const size_t close = command.find(u'"', 1);
    return close == String::npos ? command.substr(1) : command.substr(1, close - 1);
  }
  const size_t quote = command.find(u'"');
  return quote == String::npos ? String() : Trim(StringView(command).substr(0, quote));
}
