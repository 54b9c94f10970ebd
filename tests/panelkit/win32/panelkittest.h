// What the panel kit's window tests share: an application whose registry
// knows the window library's and the panel kit's classes, the test form read
// from its resource, exceptions recorded, and pictures saved for a person.
#pragma once

#include "ui/winapi.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "panelkit/win32/pagecontrol.h"
#include "panelkit/win32/registration.h"
#include "panelkit/win32/themes.h"
#include "ui/forms.h"
#include "ui/imglist.h"
#include "ui/registration.h"

#include "support/win32/harness.h"

class TPageKitForm : public TForm {
  KST_CLASS(TPageKitForm, TForm)
 public:
  using TForm::TForm;
  TPxPageControl* pc = nullptr;
  TPxTabSheet* PxTabSheet1 = nullptr;
  TPxTabSheet* PxTabSheet2 = nullptr;
  TPxTabSheet* PxTabSheet3 = nullptr;
  TPxGlyphPageControl* gpc = nullptr;
  TPxTabSheet* GlyphSheet1 = nullptr;
  TPxTabSheet* GlyphSheet2 = nullptr;
  TPxNotebook* nb = nullptr;
  TPxColorScheme* Scheme = nullptr;

  // Every event in the order it came, as "name:argument".
  std::vector<std::string> Events;
  // Those that came while the form was read and shown.
  std::vector<std::string> LoadEvents;
  bool RefuseChange = false;

  void pcChange(TObject*) { Events.push_back("change:" + std::to_string(pc->ActivePageIndex())); }
  void pcChanging(TObject*, Integer index, bool& allow) {
    Events.push_back("changing:" + std::to_string(index));
    allow = !RefuseChange;
  }
  void pcTabClick(TObject*, Integer index) { Events.push_back("tabclick:" + std::to_string(index)); }
  void PageHide(TObject* sender) { Events.push_back("hide:" + Name(sender)); }
  void PageShow(TObject* sender) { Events.push_back("show:" + Name(sender)); }
  void gpcChange(TObject*) { Events.push_back("glyphchange:" + std::to_string(gpc->ActivePageIndex())); }

 private:
  static std::string Name(TObject* sender);
};

class PanelKitTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  void Pump();
  // The test form, shown.
  TPageKitForm& Form();

  TClassRegistry FRegistry;
  std::unique_ptr<TApplication> FApp;
  std::vector<String> FExceptions;
  TPageKitForm* FForm = nullptr;
};

// Saves a picture for a person to look at when KESTRUM_SCREENSHOTS names a folder.
void SavePicture(const harness::Bitmap32& picture, const wchar_t* name);
// The centre of a rectangle.
TPoint Centre(const TRect& r);
// Square icons of the given size, each a colour of its own.
std::unique_ptr<TImageList> MakeIcons(Integer count, Integer size = 32);
