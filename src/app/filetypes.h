// The shell's file types: an extension tied to a program that opens it. The
// associations are written to the user's own classes key, so that the
// program needs no rights beyond the user's.
#pragma once

#include "services/rawregistry.h"

// Where the file types live: a root key and the path below it.
struct TFileTypeKey {
  TRawRegistry& Registry;
  TRegHandle Root = kHKeyCurrentUser;
  String Path = u"Software\\Classes";
};

// Ties the extension (its dots ignored) to the program: the extension's key
// names the type (by default the extension and "_auto_file"), the type's key
// holds the description, the icon and the open command (the program and
// "%1" in double quotes). Nothing happens for an empty extension or program.
void RegisterFileType(const TFileTypeKey& where, const String& extension, const String& typeName,
                      const String& description, const String& program, const String& icon);
// Removes the extension's key and its type's key.
void UnregisterFileType(const TFileTypeKey& where, const String& extension);
// The program of the extension's open command: the text between the first
// two double quotes when the command begins with one, else the text before
// the first double quote, trimmed; empty when there is none.
String GetFileTypeCommand(const TFileTypeKey& where, const String& extension);
