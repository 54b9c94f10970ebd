// The single-instance component inside one process: its own notifications,
// copy-data from itself and from other windows.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include "rtl/stringlist.h"
#include "services/win32/servicesuitest.h"
#include "services/win32/svappinst.h"
#include "support/win32/harness.h"

namespace {

class AppInstancesTest : public ServicesUiTest {
 protected:
  void SetUp() override {
    ServicesUiTest::SetUp();
    FInstances = std::make_unique<TSvAppInstances>(nullptr);
    FInstances->OnUserNotify = TUserNotifyEvent([this](TObject*, Integer value) { FNotified.push_back(value); });
    FInstances->OnCmdLineReceived = TCmdLineReceivedEvent([this](TObject*, TStrings* lines) {
      FInSend = InSendMessage() != 0;
      FLines = lines->Text();
      ++FCmdLines;
    });
    FInstances->OnDataAvailable = TDataAvailableEvent([this](TObject*, Integer kind, void* data, Integer size) {
      FDataKind = kind;
      FData.assign(static_cast<const char*>(data), static_cast<size_t>(size));
    });
  }
  void TearDown() override {
    FInstances.reset();
    ServicesUiTest::TearDown();
  }
  LRESULT SendCopyData(HWND from, Integer kind, const void* data, DWORD size) {
    COPYDATASTRUCT record{static_cast<ULONG_PTR>(kind), size, const_cast<void*>(data)};
    return SendMessageW(FInstances->Handle(), WM_COPYDATA, reinterpret_cast<WPARAM>(from),
                        reinterpret_cast<LPARAM>(&record));
  }

  std::unique_ptr<TSvAppInstances> FInstances;
  std::vector<Integer> FNotified;
  String FLines;
  int FCmdLines = 0;
  bool FInSend = true;
  Integer FDataKind = -1;
  std::string FData;
};

TEST_F(AppInstancesTest, TheProcessIsRegisteredOnceAndHearsItsOwnNotifications) {
  TUtAppInstances& shared = *FInstances->AppInstances();
  EXPECT_EQ(shared.IndexOfProcess(GetCurrentProcessId()), 0);
  EXPECT_EQ(shared.InstanceCount(), 1);
  EXPECT_EQ(shared.SessionInstanceCount(), 1);
  EXPECT_EQ(shared.UserInstanceCount(), 1);
  EXPECT_EQ(shared.AppWindowOf(0), FApp->Handle());
  FInstances->Check();  // the first instance runs
  FInstances->UserNotify(42);
  Pump();
  EXPECT_EQ(FNotified, std::vector<Integer>{42});
  // A second component does not register the process again.
  TSvAppInstances another(nullptr);
  EXPECT_EQ(shared.InstanceCount(), 1);
}

TEST_F(AppInstancesTest, ACommandLineFromAnotherWindowArrivesAfterItsMessageReturned) {
  harness::HostWindow other;
  const String text = u"C:\\a.dfm\r\nC:\\b.dfm\r\n";
  EXPECT_EQ(SendCopyData(other.Handle(), 1, text.data(), static_cast<DWORD>(text.size() * 2)), 1);
  EXPECT_EQ(FCmdLines, 0);
  Pump();
  EXPECT_EQ(FCmdLines, 1);
  EXPECT_FALSE(FInSend);
  EXPECT_EQ(FLines, text);
  // Empty: an empty list.
  EXPECT_EQ(SendCopyData(other.Handle(), 1, nullptr, 0), 1);
  Pump();
  EXPECT_EQ(FCmdLines, 2);
  EXPECT_EQ(FLines, u"");
}

TEST_F(AppInstancesTest, CopyDataFromItsOwnWindowIsNoCommandLine) {
  const String text = u"C:\\self.dfm\r\n";
  EXPECT_EQ(SendCopyData(FInstances->Handle(), 1, text.data(), static_cast<DWORD>(text.size() * 2)), 0);
  Pump();
  EXPECT_EQ(FCmdLines, 0);
}

TEST_F(AppInstancesTest, OtherKindsOfDataGoToTheDataEvent) {
  harness::HostWindow other;
  EXPECT_EQ(SendCopyData(other.Handle(), 7, "abc", 3), 1);
  Pump();
  EXPECT_EQ(FDataKind, 7);
  EXPECT_EQ(FData, "abc");
  // Sent through the shared tables to every registered instance's window.
  EXPECT_TRUE(FInstances->AppInstances()->SendData(kSvAppInstancesWindowClass, 9, "xy", 2, other.Handle()));
  Pump();
  EXPECT_EQ(FDataKind, 9);
  EXPECT_EQ(FData, "xy");
}

}  // namespace
