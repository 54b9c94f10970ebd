// A small program built with the single-instance component, which the
// services' tests start twice. It writes what it sees, one line at a time,
// to the file KESTRUM_PROBE_LOG names:
//   ready <pid>                  its main form shows
//   created <pid> / destroyed <pid>   another instance came or went
//   cmdline <insend> <count>: <line>|<line>...   a command line arrived
//   box <text>                   it would show a message box
//   busy / hanging               it stops answering messages (see below)
// With the argument --max2 it allows two instances (its component made in
// code); otherwise the component comes from its form. Once shown, with
// --busy it works for eighteen seconds (longer than a hung instance is
// waited for) without looking at its messages; with --hang it waits for
// ever.
#include "ui/winapi.h"

#include <cstdio>

#include "classes/reflection.h"
#include "rtl/format.h"
#include "rtl/stringlist.h"
#include "rtl/unicode.h"
#include "services/instancetable.h"
#include "services/win32/appservices.h"
#include "services/win32/svappinst.h"
#include "ui/forms.h"
#include "ui/registration.h"
#include "ui/stdctrls.h"

namespace {

void Log(const String& line) {
  const wchar_t* path = _wgetenv(L"KESTRUM_PROBE_LOG");
  if (!path) return;
  if (std::FILE* file = _wfopen(path, L"ab")) {
    const UTF8String text = StringToUTF8(line + u"\n");
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
}

enum class TMode { Normal, Busy, Hang };
TMode mode = TMode::Normal;

void StopAnswering() {
  if (mode == TMode::Busy) {
    Log(u"busy");
    const DWORD end = GetTickCount() + 18000;
    volatile unsigned spin = 0;
    while (GetTickCount() < end) spin = spin + 1;
  } else if (mode == TMode::Hang) {
    Log(u"hanging");
    Sleep(INFINITE);
  }
}

}  // namespace

class TProbeForm : public TForm {
  KST_CLASS(TProbeForm, TForm)
 public:
  using TForm::TForm;
  TLabel* LabelReceived = nullptr;
  TSvAppInstances* AppInstances = nullptr;

  void FormShow(TObject*) {
    Log(Format(u"ready %u", {static_cast<Cardinal>(GetCurrentProcessId())}));
    if (mode != TMode::Normal) SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      StopAnswering();
    });
  }
  void AppInstancesInstanceCreated(TObject*, Cardinal processId) { Log(Format(u"created %u", {processId})); }
  void AppInstancesInstanceDestroyed(TObject*, Cardinal processId) { Log(Format(u"destroyed %u", {processId})); }
  void AppInstancesCmdLineReceived(TObject*, TStrings* cmdLine) {
    String joined;
    for (int i = 0; i < cmdLine->Count(); ++i) joined += (i ? u"|" : u"") + cmdLine->Strings(i);
    // The sender must have been let go before the files are opened.
    Log(Format(u"cmdline %d %d: ", {InSendMessage() ? 1 : 0, cmdLine->Count()}) + joined);
    if (LabelReceived) LabelReceived->SetCaption(u"Received: " + joined);
  }
};

KST_CLASS_IMPL(TProbeForm, "ProbeMain")

void TProbeForm::Describe(TClassBuilder<TProbeForm>& c) {
  c.Field(u"LabelReceived", &TProbeForm::LabelReceived);
  c.Field(u"AppInstances", &TProbeForm::AppInstances);
  c.Method(u"FormShow", &TProbeForm::FormShow);
  c.Method(u"AppInstancesInstanceCreated", &TProbeForm::AppInstancesInstanceCreated);
  c.Method(u"AppInstancesInstanceDestroyed", &TProbeForm::AppInstancesInstanceDestroyed);
  c.Method(u"AppInstancesCmdLineReceived", &TProbeForm::AppInstancesCmdLineReceived);
}

int main() {
  TClassRegistry registry;
  RegisterUiClasses(registry);
  RegisterAppServiceClasses(registry);
  registry.RegisterClass(TProbeForm::StaticClass());
  TApplication app(nullptr, registry);
  app.OnException = TExceptionEvent([](TObject*, const Exception& e) { Log(u"exception " + e.Message()); });
  const auto arguments = SplitCommandLine(FromWStr(GetCommandLineW()));
  const bool allowTwo = arguments.size() > 1 && arguments[1] == u"--max2";
  if (arguments.size() > 1 && arguments[1] == u"--busy") mode = TMode::Busy;
  if (arguments.size() > 1 && arguments[1] == u"--hang") mode = TMode::Hang;
  app.MessageBoxHook = [](const TMessageBoxRequest& request) {
    Log(u"box " + request.Text);
    return IDOK;
  };
  // Ends a probe that a failed test left behind.
  SetTimer(nullptr, 0, 60000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(3); });
  try {
    if (allowTwo) {
      TForm* form = nullptr;
      app.CreateForm(form);
      form->SetCaption(u"Instance probe (two allowed)");
      form->SetBounds(160, 130, 300, 100);
      auto* instances = new TSvAppInstances(form);
      instances->SetMaxInstances(2);
      instances->OnInstanceCreated =
          TInstanceChangeEvent([](TObject*, Cardinal id) { Log(Format(u"created %u", {id})); });
      instances->OnInstanceDestroyed =
          TInstanceChangeEvent([](TObject*, Cardinal id) { Log(Format(u"destroyed %u", {id})); });
      form->OnShow =
          TNotifyEvent([](TObject*) { Log(Format(u"ready %u", {static_cast<Cardinal>(GetCurrentProcessId())})); });
      instances->Check();
    } else {
      TProbeForm* form = nullptr;
      app.CreateForm(form);
    }
    app.Run();
  } catch (const Exception& e) {
    Log(u"exception " + e.Message());
    return 2;
  }
  return 0;
}
