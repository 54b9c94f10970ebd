// The program's main window under Wine as the program's entry makes it: the
// libraries' classes and the start-up class table registered, the package
// set beside them, the application with its boxes and common dialogs
// answered by the test (every box is recorded and answered Yes or OK; an
// open dialog takes FChosenFile when one is set).
#pragma once

#include "ui/winapi.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/classtable.h"
#include "app/win32/mainform.h"
#include "classes/reflection.h"
#include "rtl/unicode.h"
#include "services/win32/utwin32.h"
#include "support/win32/harness.h"
#include "ui/dialogs.h"

namespace apptest {

#ifdef KST_APP_FIXTURES
inline const String kFixtures = FromWStr(L"" KST_APP_FIXTURES);
#else
inline const String kFixtures;
#endif

// The component package built here by the MinGW compiler; empty when it was not built.
inline String PackageFixture() {
  return kFixtures.empty() ? String() : kFixtures + u"kstpkg.bpl";
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterKestrumClasses(FRegistry);
    FPackages = std::make_unique<TPackageSet>(FPreviewClasses);
    RegisterStartupClasses(FPreviewClasses, FRegistry, *FPackages, ModulePath(nullptr));
    FApp = std::make_unique<TApplication>(nullptr, FRegistry);
    FApp->OnException = TExceptionEvent([this](TObject*, const Exception& e) { FBoxes.push_back(e.Message()); });
    FApp->MessageBoxHook = [this](const TMessageBoxRequest& request) {
      FBoxes.push_back(request.Text);
      return IDYES;
    };
    FApp->MessageDlgHook = [this](const TMessageDlgRequest& request) {
      FBoxes.push_back(request.Msg);
      return mrNo;
    };
    FApp->CommonDialogHook = [this](TCommonDialog& dialog) {
      auto* open = dynamic_cast<TOpenDialog*>(&dialog);
      if (!open || FChosenFile.empty()) return false;
      open->SetFileName(FChosenFile);
      return true;
    };
    FMain = CreateForm<Twnd_kst_Main>(FApp.get());
    FMain->Packages = FPackages.get();
    FApp->SetMainForm(FMain);
    FMain->SetBounds(0, 0, 1000, 700);
    FMain->Show();
    Pump();
  }

  void TearDown() override {
    if (FMain) FMain->Free();
    FMain = nullptr;
    FApp.reset();
    harness::PumpMessages();
    FPackages.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Obrix\\Kestrum\\6.x");
  }

  void Pump() {
    for (int i = 0; i < 3; ++i) FApp->ProcessMessages();
  }

  TClassRegistry FRegistry;
  TClassRegistry FPreviewClasses;
  std::unique_ptr<TPackageSet> FPackages;
  std::unique_ptr<TApplication> FApp;
  Twnd_kst_Main* FMain = nullptr;
  // The texts of the boxes shown and of the failures that reached the application.
  std::vector<String> FBoxes;
  String FChosenFile;
};

}  // namespace apptest
