// The list of component packages the program reads at start-up: the values
// of the section "Packages" of the INI file beside the program.
#pragma once

#include "rtl/stringlist.h"

// The INI file beside a program: its path with the extension ".ini".
String PackageIniFileName(const String& programPath);

// The package paths of the section, in file order, whatever their keys; a
// missing file or section gives an empty list.
void LoadPackageList(const String& iniFileName, TStrings& packages);

// Writes the list under the keys "0", "1", ... after removing the keys "0"
// to "255" a longer list may have left.
void SavePackageList(const String& iniFileName, const TStrings& packages);

// "path=message": a package that could not be read, as the package error
// list keeps it.
String PackageErrorLine(const String& path, const String& message);

// The message of the first line of `errors` for the path (compared without
// regard to case); empty when there is none.
String PackageErrorOf(const TStrings& errors, const String& path);
