// Search and replace in an editor's lines over its search engine: the area
// searched, the direction, which matches count, the prompt for each
// replacement, and replace-all as one undo step.
#pragma once

#include "codeedit/editcore.h"
#include "rtl/exceptions.h"

KST_DECLARE_EXCEPTION(ECodeEditError, Exception);

using TReplaceTextEvent = TDelegate<void(TObject* Sender, const String& ASearch, const String& AReplace, Integer Line,
                                         Integer Column, TCodeReplaceAction& Action)>;

// The number of matches found and not skipped. Raises ECodeEditError
// "No search engine has been assigned" without an engine.
Integer SearchReplace(TCodeEditCore& core, const String& search, const String& replace, TCodeSearchOptions options,
                      const TReplaceTextEvent& onReplaceText = {});
