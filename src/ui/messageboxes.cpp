#include "ui/messageboxes.h"

namespace {

int openBoxCount = 0;

int ShowBox(const String& text, const String& caption, TBoxCaption kind, UINT flags, bool restore) {
  if (!Application) throw EInvalidOperation(u"No application to show the box");
  if (restore) Application->Restore();
  String title = caption.empty() ? DefaultBoxCaption(kind) : caption;
  HWND owner = GetOwnerWindow();
  ++openBoxCount;
  struct Lower {
    ~Lower() { --openBoxCount; }
  } lower;
  return Application->MessageBox(text, title, flags, owner);
}

}  // namespace

String DefaultBoxCaption(TBoxCaption kind) {
  switch (kind) {
    case TBoxCaption::Confirmation: return u"Confirmation";
    case TBoxCaption::Warning: return u"Warning";
    case TBoxCaption::Information: return u"Information";
    case TBoxCaption::Error: return u"Error";
    case TBoxCaption::Debug: return u"Debug message";
  }
  return {};
}

int OpenBoxCount() {
  return openBoxCount;
}

HWND GetOwnerWindow() {
  if (Screen) {
    TCustomForm* active = Screen->ActiveForm();
    if (active && active->HandleAllocated()) return active->Handle();
  }
  if (!Application) return nullptr;
  try {
    TCustomForm* main = Application->MainForm();
    if (main && main->HandleAllocated()) return main->Handle();
  } catch (const Exception&) {
    // Asking for the main form's window failed: fall back to the application's.
  }
  return Application->Handle();
}

bool Confirmation(const String& text, const String& caption, bool restore) {
  return ShowBox(text, caption, TBoxCaption::Confirmation, MB_YESNO | MB_ICONQUESTION, restore) == IDYES;
}

void Warning(const String& text, const String& caption, bool restore) {
  ShowBox(text, caption, TBoxCaption::Warning, MB_OK | MB_ICONWARNING, restore);
}

void Information(const String& text, const String& caption, bool restore) {
  ShowBox(text, caption, TBoxCaption::Information, MB_OK | MB_ICONINFORMATION, restore);
}
