// Components that reach outside the program, read from form files as the IDE
// writes them: data sets with their fields and parameters, data-aware
// controls shown as their plain counterparts, the data grid with its
// columns, the chart's frame, and a form naming a database path, a host and
// port and a URL that opens none of them.
#include "ui/winapi.h"

#include <winsock2.h>

#include <gtest/gtest.h>

#include <string>

#include "rtl/unicode.h"
#include "ui/chart.h"
#include "ui/db.h"
#include "ui/dbctrls.h"
#include "ui/olectrls.h"
#include "ui/sockets.h"
#include "ui/uitest.h"
#include "ui/webcomps.h"

namespace {

class TDataCtrlsForm : public TForm {
  KST_CLASS(TDataCtrlsForm, TForm)
 public:
  using TForm::TForm;
  TDBGrid* Grid = nullptr;
  TDBEdit* NameEdit = nullptr;
  TDBText* CityText = nullptr;
  TDBNavigator* Navigator = nullptr;
  TDBCheckBox* Active = nullptr;
  TDBLookupComboBox* Lookup = nullptr;
  TChart* Chart = nullptr;
  TTable* Table = nullptr;
  TStringField* TableNAME = nullptr;
  TAutoIncField* TableID = nullptr;
  TCurrencyField* TableAMOUNT = nullptr;
  TDataSource* Source = nullptr;
  TQuery* Query = nullptr;
  TDatabase* Database = nullptr;
  int CellClicks = 0;
  void GridCellClick(TObject*) { ++CellClicks; }
};

}  // namespace

KST_CLASS_IMPL(TDataCtrlsForm, "UiTests")

void TDataCtrlsForm::Describe(TClassBuilder<TDataCtrlsForm>& c) {
#define KST_FIELD(name) c.Field(u## #name, &TDataCtrlsForm::name)
  KST_FIELD(Grid);
  KST_FIELD(NameEdit);
  KST_FIELD(CityText);
  KST_FIELD(Navigator);
  KST_FIELD(Active);
  KST_FIELD(Lookup);
  KST_FIELD(Chart);
  KST_FIELD(Table);
  KST_FIELD(TableNAME);
  KST_FIELD(TableID);
  KST_FIELD(TableAMOUNT);
  KST_FIELD(Source);
  KST_FIELD(Query);
  KST_FIELD(Database);
#undef KST_FIELD
  c.Method(u"GridCellClick", &TDataCtrlsForm::GridCellClick);
}

namespace {

using DataCtrlsTest = UiTest;

TEST_F(DataCtrlsTest, LoadsAndShowsAsTheDesignerShowsIt) {
  auto* form = CreateForm<TDataCtrlsForm>(FApp.get());
  form->Show();
  Pump();
  UpdateWindow(form->Handle());
  Pump();
  EXPECT_TRUE(FExceptions.empty());

  // The data set keeps what the form names and opens nothing.
  EXPECT_EQ(form->Table->DatabaseName, u"C:\\Data\\Shop");
  EXPECT_TRUE(form->Table->Active) << "kept as stored";
  EXPECT_FALSE(form->Table->Opened());
  ASSERT_EQ(form->Table->Fields().size(), 3u);
  EXPECT_EQ(form->TableNAME->DataSet(), form->Table);
  EXPECT_EQ(form->TableNAME->Size, 30);
  EXPECT_TRUE(form->TableNAME->Required);
  EXPECT_EQ(form->TableAMOUNT->DisplayFormat, u"#,##0.00");
  EXPECT_EQ(form->TableAMOUNT->MaxFloat, 1000000.0);
  EXPECT_EQ(form->Source->DataSet(), form->Table);
  EXPECT_EQ(form->Query->GetSQL()->Count(), 2);
  ASSERT_EQ(form->Query->GetParams()->Count(), 1);
  EXPECT_EQ(form->Query->GetParams()->Items(0)->Name, u"ID");
  EXPECT_EQ(form->Query->GetParams()->Items(0)->DataType, ftInteger);
  EXPECT_FALSE(form->Database->Connected);
  EXPECT_EQ(form->Database->GetParams()->Count(), 1);

  // Data-aware controls are their plain counterparts with a data link.
  EXPECT_EQ(form->NameEdit->DataSource(), form->Source);
  EXPECT_EQ(form->NameEdit->FLink.DataField, u"NAME");
  EXPECT_TRUE(IsWindowVisible(form->NameEdit->Handle()));
  EXPECT_EQ(form->Active->FLink.ValueChecked, u"Y");
  EXPECT_EQ(form->Lookup->ListSource(), form->Source);
  EXPECT_EQ(form->Lookup->FLink.ListField, u"NAME");
  EXPECT_EQ(form->Navigator->VisibleButtons(), (TButtonSet{nbFirst, nbPrior, nbNext, nbLast}));

  // The grid: the indicator and the two visible columns under their titles.
  EXPECT_EQ(form->Grid->Columns().Count(), 3);
  EXPECT_EQ(form->Grid->ColCount(), 3);
  EXPECT_EQ(form->Grid->FixedRows(), 1);
  EXPECT_EQ(form->Grid->ColWidths(1), 140);
  EXPECT_EQ(form->Grid->Columns().Items(0)->TitleText(), u"Customer");
  EXPECT_EQ(form->Grid->Columns().Items(1)->TitleText(), u"CITY");

  // The chart: its frame and legend box drawn in black.
  const harness::Bitmap32 chart = CaptureScreen(form->Chart->Handle());
  const TRect plot = form->Chart->PlotRect();
  const TRect legend = form->Chart->LegendRect();
  EXPECT_FALSE(legend.IsEmpty());
  EXPECT_EQ(chart.PixelColor(plot.Left, (plot.Top + plot.Bottom) / 2), RGB(0, 0, 0));
  EXPECT_EQ(chart.PixelColor(legend.Left, (legend.Top + legend.Bottom) / 2), RGB(0, 0, 0));
  SaveForInspection(CaptureScreen(form->Handle()), L"datactrls.bmp");

  // Dropping the data source leaves no dangling link behind.
  delete form->Source;
  EXPECT_EQ(form->NameEdit->DataSource(), nullptr);
  EXPECT_EQ(form->Grid->DataSource(), nullptr);
  EXPECT_EQ(form->Lookup->ListSource(), nullptr);
}

// A listening socket on the loopback, and a named pipe: whatever connects to
// either is seen.
class Witnesses {
 public:
  Witnesses() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    FListener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(FListener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(FListener, 4);
    int length = sizeof address;
    getsockname(FListener, reinterpret_cast<sockaddr*>(&address), &length);
    Port = ntohs(address.sin_port);
    u_long nonBlocking = 1;
    ioctlsocket(FListener, FIONBIO, &nonBlocking);
    PipeName = L"\\\\.\\pipe\\kestrum-inert-" + std::to_wstring(GetCurrentProcessId());
    FPipe = CreateNamedPipeW(PipeName.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED, PIPE_TYPE_BYTE, 4, 0, 0, 0,
                             nullptr);
    FEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    FOverlapped.hEvent = FEvent;
    ConnectNamedPipe(FPipe, &FOverlapped);
  }
  ~Witnesses() {
    CloseHandle(FPipe);
    CloseHandle(FEvent);
    closesocket(FListener);
    WSACleanup();
  }
  bool SocketConnected() const {
    sockaddr_in peer{};
    int length = sizeof peer;
    SOCKET accepted = accept(FListener, reinterpret_cast<sockaddr*>(&peer), &length);
    if (accepted == INVALID_SOCKET) return false;
    closesocket(accepted);
    return true;
  }
  bool PipeOpened() const { return WaitForSingleObject(FEvent, 0) == WAIT_OBJECT_0; }
  // Whether nothing listens on the port (a server socket would).
  static bool PortFree(int port) {
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(static_cast<u_short>(port));
    const bool free = bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    closesocket(probe);
    return free;
  }
  int Port = 0;
  std::wstring PipeName;

 private:
  SOCKET FListener = INVALID_SOCKET;
  HANDLE FPipe = INVALID_HANDLE_VALUE;
  HANDLE FEvent = nullptr;
  OVERLAPPED FOverlapped{};
};

std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

// The bytes of a control-data block naming a URL, as hexadecimal text.
std::string HexOf(const std::string& text) {
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char c : text) {
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex;
}

TEST_F(DataCtrlsTest, AFormNamingAPathAHostAndAUrlOpensNothing) {
  Witnesses witnesses;
  const std::string pipe = Narrow(witnesses.PipeName);
  const std::string url = "http://127.0.0.1:" + std::to_string(witnesses.Port) + "/";
  const int serverPort = witnesses.Port + 1;
  const std::string text =
      "object Inert: TForm\n"
      "  Caption = 'Inert'\n"
      "  object Table: TTable\n"
      "    DatabaseName = '" + pipe + "'\n"
      "    TableName = 'orders.db'\n"
      "    Active = True\n"
      "  end\n"
      "  object Database: TDatabase\n"
      "    DatabaseName = 'Shop'\n"
      "    Connected = True\n"
      "    Params.Strings = (\n"
      "      'PATH=" + pipe + "')\n"
      "  end\n"
      "  object Xml: TXMLDocument\n"
      "    FileName = '" + pipe + "'\n"
      "    Active = True\n"
      "  end\n"
      "  object Client: TClientSocket\n"
      "    Active = True\n"
      "    Host = '127.0.0.1'\n"
      "    Port = " + std::to_string(witnesses.Port) + "\n"
      "  end\n"
      "  object Tcp: TTcpClient\n"
      "    Active = True\n"
      "    RemoteHost = '127.0.0.1'\n"
      "    RemotePort = '" + std::to_string(witnesses.Port) + "'\n"
      "  end\n"
      "  object Server: TServerSocket\n"
      "    Active = True\n"
      "    Port = " + std::to_string(serverPort) + "\n"
      "  end\n"
      "  object Player: TMediaPlayer\n"
      "    Left = 8\n"
      "    Top = 8\n"
      "    AutoOpen = True\n"
      "    FileName = '" + pipe + "'\n"
      "  end\n"
      "  object Browser: TWebBrowser\n"
      "    Left = 8\n"
      "    Top = 48\n"
      "    Width = 200\n"
      "    Height = 100\n"
      "    TabOrder = 0\n"
      "    ControlData = {" + HexOf(url) + "}\n"
      "  end\n"
      "end\n";
  auto* form = new TForm(FApp.get());
  const std::vector<String> errors = ReadFormText(text, *form, FRegistry);
  std::string report;
  for (const String& error : errors) report += "\n  " + std::string(StringToUTF8(error));
  EXPECT_TRUE(errors.empty()) << report;
  form->Show();
  Pump();
  UpdateWindow(form->Handle());
  Pump();
  Sleep(50);
  Pump();

  auto* client = static_cast<TClientSocket*>(form->FindComponent(u"Client"));
  auto* browser = static_cast<TWebBrowser*>(form->FindComponent(u"Browser"));
  ASSERT_NE(client, nullptr);
  ASSERT_NE(browser, nullptr);
  EXPECT_TRUE(client->Active) << "kept as stored";
  EXPECT_EQ(client->Port, witnesses.Port);
  EXPECT_EQ(browser->StoredData().size(), url.size());
  EXPECT_FALSE(witnesses.SocketConnected()) << "no socket connected";
  EXPECT_FALSE(witnesses.PipeOpened()) << "no file opened";
  EXPECT_TRUE(Witnesses::PortFree(serverPort)) << "no socket listens";
  EXPECT_FALSE(client->SocketCreated());
  EXPECT_FALSE(browser->Navigated());
  delete form;
}

}  // namespace
