// The three message boxes of the maker's shared dialog unit: modal boxes of
// the system with a default caption, owned by the window the user looks at.
#pragma once

#include "ui/forms.h"

// The default captions, in their order (the last two are not used by the program).
enum class TBoxCaption { Confirmation, Warning, Information, Error, Debug };
String DefaultBoxCaption(TBoxCaption kind);

// How many of these boxes are open now (0 at start-up).
int OpenBoxCount();

// The application's active form window; else the main form's window; else
// the application's own window.
HWND GetOwnerWindow();

// A question box with Yes and No: true exactly when Yes was chosen. An empty
// caption becomes "Confirmation"; with `restore` the application is first
// restored from the minimised state.
bool Confirmation(const String& text, const String& caption = {}, bool restore = false);
// A warning box with OK (default caption "Warning").
void Warning(const String& text, const String& caption = {}, bool restore = false);
// An information box with OK (default caption "Information").
void Information(const String& text, const String& caption = {}, bool restore = false);
