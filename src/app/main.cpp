// The program's entry: the application, the system facts, the main window
// from its form, and the message loop until the main window closes.
#include "ui/winapi.h"

#include "app/classtable.h"
#include "app/win32/mainform.h"
#include "app/win32/sysinfo_win32.h"
#include "classes/reflection.h"
#include "services/win32/utwin32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  GatherSystemRecord();
  TClassRegistry registry;
  RegisterKestrumClasses(registry);
  // Previews build from a registry of their own, so a form text can never
  // name one of the program's windows or services.
  TClassRegistry previewClasses;
  TPackageSet packages(previewClasses);
  RegisterStartupClasses(previewClasses, registry, packages, ModulePath(nullptr));
  TApplication application(nullptr, registry);
  application.SetTitle(u"Kestrum");
  try {
    Twnd_kst_Main* main = nullptr;
    application.CreateForm(main);
    main->Packages = &packages;
    application.Run();
    ReleaseSystemRecord();
  } catch (const Exception& e) {
    application.ShowException(e);
    return 1;
  }
  return 0;
}
