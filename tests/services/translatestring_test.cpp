#include "services/translatestring.h"

#include <gtest/gtest.h>

#include <memory>

#include "rtl/unicode.h"
#include "services/fake_machine.h"
#include "services/versionblock_builder.h"

namespace svtest {

// Forms are found on the owner chain by their class's ancestry.
class TCustomForm : public TComponent {
  KST_CLASS(TCustomForm, TComponent)
 public:
  using TComponent::TComponent;
  String Caption;
};

class TMainWindow : public TCustomForm {
  KST_CLASS(TMainWindow, TCustomForm)
 public:
  using TCustomForm::TCustomForm;
};

KST_CLASS_IMPL(TCustomForm, "Forms")
KST_CLASS_IMPL(TMainWindow, "Main")

void TCustomForm::Describe(TClassBuilder<TCustomForm>& c) {
  c.Property(u"Caption", &TCustomForm::Caption);
}
void TMainWindow::Describe(TClassBuilder<TMainWindow>&) {}

}  // namespace svtest

namespace {

class TranslateStringTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FMachine.Versions.Files[FMachine.Program] =
        ProgramVersionBlock({{u"CompanyName", u"Obrix"}, {u"ProductName", u"Kestrum"},
                             {u"FileVersion", u"6.1.0.12"}, {u"ProductVersion", u"6.1"}});
    FEngine.SetMachine(&FMachine);
  }

  String Translate(const String& text) {
    bool changed = true;
    const String result = FEngine.TranslateString(text, changed);
    EXPECT_EQ(FEngine.TranslateString(text), result);
    FChanged = changed;
    return result;
  }

  TFakeMachine FMachine;
  TSvTranslateString FEngine{nullptr};
  bool FChanged = false;
};

struct ExpandCase {
  const char* name;
  String text;
  String expected;
  bool changed;
};

class TranslateStringCases : public TranslateStringTest, public ::testing::WithParamInterface<ExpandCase> {};

TEST_P(TranslateStringCases, Expands) {
  EXPECT_EQ(Translate(GetParam().text), GetParam().expected);
  EXPECT_EQ(FChanged, GetParam().changed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TranslateStringCases,
    ::testing::Values(
        ExpandCase{"NoDelimiters", u"Software\\Obrix\\Kestrum\\6.x", u"Software\\Obrix\\Kestrum\\6.x", false},
        ExpandCase{"OldDefaultRoot", u"Software\\%COMPANY_NAME%\\%APPL_NAME%", u"Software\\Obrix\\Kestrum", true},
        ExpandCase{"NamesIgnoreCase", u"%appl_name%", u"Kestrum", true},
        ExpandCase{"NamesTrimmed", u"% DATE %", u"05_03_2024", true},
        ExpandCase{"NoClosingDelimiter", u"100%", u"100%", false},
        ExpandCase{"UnknownNameKeepsClosingDelimiter", u"%FOO% text", u"FOO% text", false},
        // The closing % of FOO opens " and ", which is no macro; its closing % opens DATE.
        ExpandCase{"UnknownThenKnown", u"%FOO% and %DATE%", u"FOO and 05_03_2024", true},
        ExpandCase{"EmptyName", u"%%", u"%", false},
        ExpandCase{"Time", u"%TIME%", u"14_07_09", true},
        ExpandCase{"DateTime", u"%DATETIME%", u"05_03_2024 14_07_09", true},
        ExpandCase{"ExeName", u"%EXENAME%", u"C:\\Program Files\\Obrix\\Kestrum.exe", true},
        ExpandCase{"FileName", u"%FILENAME%", u"Kestrum", true},
        ExpandCase{"FullDirExe", u"%FULLDIREXE%", u"C:\\Program Files\\Obrix", true},
        ExpandCase{"Versions", u"%FILEVERSION%/%PRODUCTVERSION%", u"6.1.0.12/6.1", true},
        ExpandCase{"Screen", u"%SCREENSIZE% %DESKTOPSIZE%", u"1920x1080 3840x1080", true},
        ExpandCase{"NoOwnerForm", u"[%FORMNAME%][%FORMCAPTION%]", u"[][]", true}),
    [](const auto& info) { return info.param.name; });

TEST_F(TranslateStringTest, VersionValuesAreReadOnce) {
  Translate(u"%APPL_NAME%%APPL_NAME%%COMPANY_NAME%");
  const int reads = FMachine.Versions.Reads;
  Translate(u"%APPL_NAME%%COMPANY_NAME%");
  EXPECT_EQ(FMachine.Versions.Reads, reads);
  EXPECT_TRUE(FMachine.Shown.empty());
}

TEST_F(TranslateStringTest, WithoutVersionInformationEachValueFallsBackOnce) {
  FMachine.Versions.Files[FMachine.Program] = {};
  EXPECT_EQ(Translate(u"Software\\%COMPANY_NAME%\\%APPL_NAME%"), u"Software\\MyCompany\\MySvcApplication");
  EXPECT_EQ(Translate(u"%APPL_NAME% %FILEVERSION% %PRODUCTVERSION%"), u"MySvcApplication 0.0.0.0 0.0.0.0");
  ASSERT_EQ(FMachine.Shown.size(), 4u);
  EXPECT_EQ(FMachine.Shown[0],
            u"The Default Root Value \"COMPANY_NAME\" has been replaced with \"MyCompany\".\r\n"
            u"Please change the value in the FileVersionInfo Project Properties.");
  EXPECT_EQ(FMachine.Shown[1],
            u"The Default Root Value \"APPL_NAME\" has been replaced with \"MySvcApplication\".\r\n"
            u"Please change the value in the FileVersionInfo Project Properties.");
}

TEST_F(TranslateStringTest, EmptyProductNameGivesTheProgramName) {
  FMachine.Versions.Files[FMachine.Program] = ProgramVersionBlock({{u"CompanyName", u"Obrix"}});
  EXPECT_EQ(Translate(u"%APPL_NAME%"), u"Kestrum");
  EXPECT_TRUE(FMachine.Shown.empty());
}

TEST_F(TranslateStringTest, ProcessCommandHasTheLastWord) {
  std::vector<String> seen;
  FEngine.OnProcessCommand = [&](TObject* sender, const String& command, String& result, bool& changed) {
    EXPECT_EQ(sender, &FEngine);
    seen.push_back(command);
    if (command == u"USER") {
      result = u"anna";
      changed = true;
    }
    if (command == u"DATE") changed = false;
  };
  bool changed = false;
  // DATE, refused, keeps its closing delimiter, which then opens nothing.
  EXPECT_EQ(FEngine.TranslateString(u"%user%\\%DATE%", changed), u"anna\\DATE%");
  EXPECT_TRUE(changed);
  EXPECT_EQ(seen, (std::vector<String>{u"USER", u"DATE"}));
}

TEST_F(TranslateStringTest, OtherDelimiters) {
  FEngine.SetLeftDelimiter(u"<");
  FEngine.SetRightDelimiter(u">");
  EXPECT_EQ(Translate(u"<FILENAME>.ini and %FILENAME%"), u"Kestrum.ini and %FILENAME%");
  FEngine.SetLeftDelimiter(u"");
  EXPECT_EQ(Translate(u"<FILENAME>"), u"<FILENAME>");
}

TEST(TranslateStringFormats, SettersFindTheSeparators) {
  TSvTranslateString engine(nullptr);
  EXPECT_EQ(engine.DateFormat(), u"dd_mm_yyyy");
  EXPECT_EQ(engine.DateSeparator(), kSvNoSeparator);
  engine.SetDateFormat(u"dd.mm.yyyy");
  EXPECT_EQ(engine.DateSeparator(), u'.');
  // Once set, the separator stays.
  engine.SetDateFormat(u"yyyy-mm-dd");
  EXPECT_EQ(engine.DateSeparator(), u'.');
  engine.SetTimeFormat(u"0123");
  EXPECT_EQ(engine.TimeSeparator(), kSvNoSeparator);
  engine.SetTimeFormat(u"hh:nn");
  EXPECT_EQ(engine.TimeSeparator(), u':');
  engine.SetDateTimeFormat(u"yyyy");
  EXPECT_EQ(engine.DateTimeFormat(), u"yyyy");
}

TEST(TranslateStringOwner, FormOnTheOwnerChain) {
  TFakeMachine machine;
  svtest::TMainWindow form(nullptr);
  form.SetName(u"MainForm");
  form.Caption = u"Kestrum - form editor";
  TComponent* holder = new TComponent(&form);
  auto* engine = new TSvTranslateString(holder);
  engine->SetMachine(&machine);
  EXPECT_EQ(engine->TranslateString(u"%FORMNAME%: %FORMCAPTION%"), u"MainForm: Kestrum - form editor");
  TSvTranslateString orphan(nullptr);
  orphan.SetMachine(&machine);
  EXPECT_EQ(orphan.TranslateString(u"[%FORMNAME%]"), u"[]");
}

TEST(TranslateStringReflection, PublishedProperties) {
  const TClassInfo& cls = TSvTranslateString::StaticClass();
  for (const char16_t* name : {u"DateFormat", u"DateSeparator", u"DateTimeFormat", u"LeftDelimiter",
                               u"RightDelimiter", u"TimeFormat", u"TimeSeparator", u"OnProcessCommand"}) {
    EXPECT_NE(cls.FindProperty(name), nullptr) << StringToUTF8(name);
  }
}

}  // namespace
