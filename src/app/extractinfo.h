// The texts the extraction dialog shows of an executable or package read by
// the image reader: its package information page by page, and the captions.
#pragma once

#include "rtl/stringlist.h"

class TPEReader;

enum class TExtractInfoTab { Header = 0, Classes = 1, Forms = 2, Flags = 3 };

// Fills the lines of one page of the " Info " view: "requires" and
// "contains" with the packages and units indented by two blanks; the class
// names the class scan found; the form names; the three lines of the flags.
void ExtractInfoLines(const TPEReader& reader, TExtractInfoTab tab, TStrings& lines);

// "Options: ...", "Type: ..." and (unless the producer bits say nothing)
// "Producer: ..." of a package flags word.
void PackageFlagLines(Integer flags, TStrings& lines);

// The package page of the preferences dialog: the package's own description
// (empty when it has none or the file cannot be read), and the lines of its
// details tab, 0 "Header", 1 "Classes" or 2 "Flags", as the extraction
// dialog shows those pages (none when the file cannot be read).
String PackageFileDescription(const String& path);
void PackageDetailLines(const String& path, int tab, TStrings& lines);

// " Info " or " <description> " for a package with a description.
String InfoPageCaption(const String& packageDescription);
// " Resources (%d) ".
String ResourcesPageCaption(Integer formCount);
// "Package Information - [%s]" or "Form Resources - [%s]" with the file's name.
String ExtractDialogCaption(bool packageInfoOnly, const String& fileName);
// What the dialog says of a file the reader took for a 16-bit (NE)
// executable, in place of an empty list; empty for any other file.
String SixteenBitImageText(const TPEReader& reader);

// The tab text of a page with a count: "Classes (%d)", "Forms (%d)"; the
// others keep their names.
String ExtractInfoTabCaption(TExtractInfoTab tab, Integer lineCount);
