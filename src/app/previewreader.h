// Building the live preview of a form text: the text is read into a plain
// root component through the component reader, with the classes registered
// by name. A previewed form is untrusted: no event handler named in it is
// bound, and an object or property that cannot be read becomes a message line
// while the rest of the form is still built.
#pragma once

#include "rtl/stringlist.h"

class TClassRegistry;
class TComponent;

// The text as the preview reads it: the root's own ActiveControl line goes,
// its FormStyle becomes fsNormal and its BorderStyle bsSizeable (the first
// line of each, written at the root's indentation of two blanks), so the
// preview is never a window of a kind of its own and moves no focus.
void AdjustPreviewText(TStrings& lines);

// Reads the form text into the root, adding "ERROR=" message lines to the
// errors: one per object or property that could not be read, and
// "ERROR=Reader: %s" for a failure that ends the reading (what was read
// before it stays). Names of event handlers are accepted and left unbound.
void ReadPreview(const TStrings& formText, TComponent& root, const TClassRegistry& registry, TStrings& errors);
