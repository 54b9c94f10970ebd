// The calendar grids, the thumbnail buttons and the wheel scroll box: read
// from a form as the IDE writes it, shown, drawn and driven.
#include <cstdio>
#include <string>

#include "rtl/exceptions.h"
#include "rtl/streams.h"
#include "ui/jpeg.h"
#include "winbar/win32/winbartest.h"

namespace {

// Today is 12 June 2024, a Wednesday, for every calendar of these tests.
class FixedClock : public IDateTimeClock {
 public:
  TDateTime Now() const override { return EncodeDate(2024, 6, 12) + 0.5; }
};

class GridsTest : public WinbarTest {
 protected:
  void SetUp() override {
    WinbarTest::SetUp();
    FOldClock = SetDateTimeClock(&FClock);
  }
  void TearDown() override {
    for (const std::wstring& file : FFiles) DeleteFileW(file.c_str());
    WinbarTest::TearDown();
    SetDateTimeClock(FOldClock);
  }
  // A file in the temporary folder, removed after the test.
  std::wstring TempFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH]{};
    GetTempPathW(MAX_PATH, folder);
    FFiles.push_back(std::wstring(folder) + name);
    return FFiles.back();
  }
  // A JPEG of the given size: red left half, blue right half.
  TBytes MakeJpeg(Integer width, Integer height) {
    TBitmap picture(width, height, pf24bit);
    picture.Canvas().Brush().SetColor(clRed);
    picture.Canvas().FillRect(Rect(0, 0, width, height));
    picture.Canvas().Brush().SetColor(clBlue);
    picture.Canvas().FillRect(Rect(width / 2, 0, width, height));
    TJPEGImage jpeg;
    jpeg.Assign(&picture);
    TBytesStream out;
    jpeg.SaveToStream(out);
    return out.Bytes();
  }
  String WriteFile(const wchar_t* name, const TBytes& bytes) {
    const std::wstring path = TempFile(name);
    TFileStream file(String(path.begin(), path.end()), fmCreate);
    file.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    return String(path.begin(), path.end());
  }

  FixedClock FClock;
  const IDateTimeClock* FOldClock = nullptr;
  std::vector<std::wstring> FFiles;
};

}  // namespace

TEST_F(GridsTest, TheFormLoadsAndShowsEveryControl) {
  auto form = MakeForm<TWinbarGridsForm>(FApp.get());
  ASSERT_TRUE(form->Calendar && form->WeekView && form->DrawGrid && form->Thumb && form->Plain && form->Box);
  const String jpeg = WriteFile(L"kestrum-thumb.jpg", MakeJpeg(400, 200));
  form->Thumb->SetFileName(jpeg);
  form->Calendar->OnGetCellParams = TOnCalendarGetCellParams(
      [](TObject*, Integer, Integer, TDateTime date, TColor&, TColor&, String& text, bool&) {
        if (date == EncodeDate(2024, 6, 14)) text = u"Team lunch at the harbour";
        if (date == -1) text = u"3 h";
      });
  form->Show();
  Pump();

  // June 2024 starts on a Saturday: with Sunday first it needs six week rows.
  TMCalendar& calendar = *form->Calendar;
  EXPECT_EQ(calendar.StartOfWeek(), 0);
  EXPECT_EQ(calendar.RowCount(), 7);
  EXPECT_EQ(calendar.ColCount(), 9) << "week numbers, seven days, notes";
  EXPECT_EQ(calendar.CellText(7, 1), u"1");
  EXPECT_EQ(calendar.CellText(1, 6), u"30");
  EXPECT_EQ(calendar.CellText(1, 0), u"Sun");
  EXPECT_EQ(calendar.CellText(8, 0), u"Notes");
  EXPECT_EQ(calendar.CellText(0, 0), u"#");
  EXPECT_EQ(calendar.CellText(0, 6), u"26") << "ISO week of 30 June";
  EXPECT_EQ(calendar.Col(), 4) << "today, Wednesday";
  EXPECT_EQ(calendar.Row(), 3);
  EXPECT_EQ(calendar.CellToDate(8, 2), -1);
  EXPECT_EQ(calendar.CellToDate(1, 1), 0) << "before the month";
  EXPECT_EQ(calendar.DateToRow(EncodeDate(2024, 6, 30)), 6);
  EXPECT_EQ(calendar.DateToCol(EncodeDate(2024, 7, 1)), -1);
  EXPECT_TRUE(calendar.CellInnerBorder());
  // The last week row is on screen: the rows share the client height.
  EXPECT_LE(calendar.CellRect(1, 6).Bottom, calendar.ClientHeight());
  EXPECT_GT(calendar.CellRect(1, 6).Bottom, calendar.ClientHeight() - 10);

  TMWeekView& week = *form->WeekView;
  EXPECT_EQ(week.ColCount(), 8);
  EXPECT_EQ(week.RowCount(), 2);
  EXPECT_EQ(week.CellToDate(1, 1), EncodeDate(2024, 6, 10)) << "Monday";
  EXPECT_EQ(week.CellText(3, 0), u"Wednesday 6/12/2024");
  EXPECT_EQ(week.CellText(0, 1), u"24");
  EXPECT_EQ(week.Col(), 3);

  EXPECT_EQ(form->DrawGrid->HighlightColor(), clAqua);
  EXPECT_EQ(form->DrawGrid->ColCount(), 4);

  TImageThumbnail& thumb = *form->Thumb;
  EXPECT_EQ(thumb.Caption(), u"Sea & sky");
  EXPECT_TRUE(thumb.Checkbox());
  EXPECT_TRUE(thumb.Selected());
  EXPECT_EQ(thumb.ImageWidth(), 400);
  EXPECT_EQ(thumb.Glyph().Width(), 100);
  EXPECT_EQ(thumb.Glyph().Height(), 50);
  EXPECT_EQ(form->Plain->Index(), 7);
  EXPECT_EQ(form->Plain->BorderColor(), clNavy);
  EXPECT_EQ(form->Plain->SelectedColor(), 0xF0EEED) << "not in the form: the initial value";
  EXPECT_EQ(form->Box->VertScrollBar().Increment(), 20);

  // A selected thumbnail keeps its colour; the caption shows its ampersand.
  harness::Bitmap32 thumbPicture = harness::PaintInto(thumb.Width(), thumb.Height(), [&](HDC dc) {
    TCanvas canvas;
    canvas.SetHandle(dc);
    thumb.PaintOn(canvas, false, false);
    canvas.SetHandle(nullptr);
  });
  EXPECT_EQ(thumbPicture.PixelColor(thumb.Width() - 4, 10), static_cast<COLORREF>(0xF0CAA6));
  const COLORREF red = thumbPicture.PixelColor(thumb.Width() / 4, 12 + 25);
  EXPECT_TRUE(GetRValue(red) > 230 && GetGValue(red) < 30 && GetBValue(red) < 30) << std::hex << red
                                                                                  << " the red half of the glyph";

  form->Repaint();
  Pump();
  const harness::Bitmap32 screen = CaptureScreen(form->Handle());
  SaveForInspection(screen, L"winbar-grids.bmp");
  // Today's date band (1 June is Saturday; 12 June in row 3, column 4).
  const TRect today = calendar.CellRect(4, 3);
  POINT band{today.Left + 10, today.Top + 4};
  MapWindowPoints(calendar.Handle(), form->Handle(), &band, 1);
  RECT client{}, window{};
  GetWindowRect(form->Handle(), &window);
  POINT origin{0, 0};
  ClientToScreen(form->Handle(), &origin);
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(screen.PixelColor(band.x + origin.x - window.left, band.y + origin.y - window.top),
            static_cast<COLORREF>(0x0080FF))
      << "today's band";
}

TEST_F(GridsTest, TheCalendarMovesByMonthsYearsAndParts) {
  TMCalendar calendar(FApp.get());
  int changes = 0;
  calendar.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  calendar.SetCalendarDate(EncodeDate(2024, 2, 29));
  calendar.NextYear();
  EXPECT_EQ(calendar.CalendarDate(), EncodeDate(2025, 2, 28));
  calendar.SetCalendarDate(EncodeDate(2026, 1, 31));
  EXPECT_THROW(calendar.SetMonth(2), EConvertError);
  EXPECT_EQ(calendar.CalendarDate(), EncodeDate(2026, 1, 31)) << "unchanged";
  calendar.NextMonth();
  EXPECT_EQ(calendar.CalendarDate(), EncodeDate(2026, 2, 28));
  // February 2026 starts on a Sunday: with Monday first, day 1 is in the
  // last column of the first week, and four full weeks follow.
  calendar.SetDay(1);
  EXPECT_FALSE(calendar.UseCurrentDate());
  EXPECT_EQ(calendar.Col(), 7);
  EXPECT_EQ(calendar.Row(), 1);
  EXPECT_EQ(calendar.RowCount(), 6);
  calendar.SetWeekNumbers(false);
  EXPECT_EQ(calendar.ColCount(), 7);
  EXPECT_EQ(calendar.FixedCols(), 0);
  EXPECT_EQ(calendar.Col(), 6);
  calendar.SetWeek(10);
  EXPECT_EQ(calendar.CalendarDate(), EncodeDate(2026, 3, 2));
  calendar.SetUseCurrentDate(true);
  EXPECT_EQ(calendar.CalendarDate(), EncodeDate(2024, 6, 12));
  EXPECT_EQ(changes, 6) << "back to today without a change event";
  // Rows of a fixed height set the calendar's height.
  calendar.SetFixedCellHeight(20);
  EXPECT_EQ(calendar.RowHeights(1), 20);
  EXPECT_EQ(calendar.RowCount(), 6);
  const Integer fiveWeeks = calendar.Height();
  calendar.SetStartOfWeek(0);
  EXPECT_EQ(calendar.RowCount(), 7) << "June 2024 with Sunday first";
  EXPECT_EQ(calendar.Height(), fiveWeeks + 21) << "one week row more";
}

TEST_F(GridsTest, ClicksSelectDaysAndTheWeekViewFollowsItsDate) {
  auto form = MakeForm<TWinbarGridsForm>(FApp.get());
  form->Show();
  Pump();
  TMCalendar& calendar = *form->Calendar;
  std::vector<TDateTime> selected;
  calendar.OnSelectCell = TOnCalendarSelectCell(
      [&](TObject*, Integer, Integer, TDateTime date) { selected.push_back(date); });
  // A click on an empty cell before the month selects nothing.
  TRect empty = calendar.CellRect(2, 1);
  harness::SendClick(calendar.Handle(), empty.Left + 5, empty.Top + 5);
  Pump();
  EXPECT_EQ(calendar.Day(), 12);
  EXPECT_TRUE(selected.empty());
  TRect cell = calendar.CellRect(3, 5);  // Tuesday 25 June
  harness::SendClick(calendar.Handle(), cell.Left + 5, cell.Top + 5);
  Pump();
  EXPECT_EQ(calendar.Day(), 25);
  ASSERT_EQ(selected.size(), 1u);
  EXPECT_EQ(selected[0], EncodeDate(2024, 6, 25));

  // The week of 27 May to 2 June: Thursday is 30 May; Sunday is in June.
  TMWeekView& week = *form->WeekView;
  week.SetWeekDate(EncodeDate(2024, 5, 29));
  TRect sunday = week.CellRect(7, 1);
  harness::SendClick(week.Handle(), sunday.Left + 5, sunday.Top + 5);
  Pump();
  EXPECT_EQ(week.WeekDate(), EncodeDate(2024, 6, 2));
  EXPECT_FALSE(week.UseCurrentDate());
  week.NextWeek();
  EXPECT_EQ(week.CellToDate(4, 1), EncodeDate(2024, 6, 6));
}

TEST_F(GridsTest, ThumbnailsFitTheirPicturesAndADamagedFileLeavesThemEmpty) {
  TImageThumbnail thumb(FApp.get());
  EXPECT_EQ(thumb.Width(), 104);
  EXPECT_EQ(thumb.Height(), 122);
  thumb.SetFileName(WriteFile(L"kestrum-small.jpg", MakeJpeg(50, 30)));
  EXPECT_EQ(thumb.Glyph().Width(), 50);
  EXPECT_EQ(thumb.Glyph().Height(), 30);
  EXPECT_EQ(thumb.ImageColorDepth(), 24);
  const String wide = WriteFile(L"kestrum-wide.jpg", MakeJpeg(1600, 10));
  thumb.SetFileName(wide);
  EXPECT_EQ(thumb.ImageWidth(), 1600);
  EXPECT_EQ(thumb.Glyph().Width(), 100);
  EXPECT_EQ(thumb.Glyph().Height(), 1) << "at least one pixel";
  thumb.SetThumbnailSize(40);
  EXPECT_EQ(thumb.Width(), 44);
  EXPECT_EQ(thumb.Glyph().Width(), 100) << "kept until the file is set again";
  thumb.SetFileName(wide);
  EXPECT_EQ(thumb.Glyph().Width(), 40);

  // Damaged: cut short, garbage, a header claiming 60000 x 60000 pixels,
  // and no file at all. Each leaves an empty glyph and raises nothing.
  TBytes good = MakeJpeg(64, 64);
  TBytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 3));
  TBytes garbage(500, 0x5A);
  garbage[0] = 0xFF;
  garbage[1] = 0xD8;
  TBytes huge = good;
  for (size_t i = 0; i + 8 < huge.size(); ++i) {
    if (huge[i] == 0xFF && (huge[i + 1] == 0xC0 || huge[i + 1] == 0xC2)) {
      huge[i + 5] = 0xEA;  // height 60000
      huge[i + 6] = 0x60;
      huge[i + 7] = 0xEA;  // width 60000
      huge[i + 8] = 0x60;
      break;
    }
  }
  const String files[] = {WriteFile(L"kestrum-cut.jpg", cut), WriteFile(L"kestrum-garbage.jpg", garbage),
                          WriteFile(L"kestrum-huge.jpg", huge), u"C:\\no such folder\\none.jpg"};
  for (const String& file : files) {
    thumb.SetFileName(wide);
    ASSERT_FALSE(thumb.Glyph().Empty());
    EXPECT_NO_THROW(thumb.SetFileName(file));
    EXPECT_TRUE(thumb.Glyph().Empty()) << std::string(file.begin(), file.end());
    EXPECT_EQ(thumb.ImageWidth(), 0);
    EXPECT_FALSE(thumb.LoadError().empty());
  }
  // An empty thumbnail still draws its frame and caption.
  thumb.SetCaption(u"Broken");
  EXPECT_NO_THROW(harness::PaintInto(thumb.Width(), thumb.Height(), [&](HDC dc) {
    TCanvas canvas;
    canvas.SetHandle(dc);
    thumb.PaintOn(canvas, true, false);
    canvas.SetHandle(nullptr);
  }));
}

TEST_F(GridsTest, ThumbnailCheckBoxRightClickAndPressedColour) {
  auto form = MakeForm<TWinbarGridsForm>(FApp.get());
  form->Show();
  Pump();
  TThumbnail& plain = *form->Plain;
  int rightClicks = 0, checks = 0;
  plain.OnRightClick = TNotifyEvent([&](TObject*) { ++rightClicks; });
  plain.OnChecked = TNotifyEvent([&](TObject*) { ++checks; });
  harness::SendClick(plain.Handle(), 20, 20, harness::MouseButton::Right);
  Pump();
  EXPECT_EQ(rightClicks, 1);
  EXPECT_FALSE(plain.Checked());
  plain.SetChecked(true);
  EXPECT_FALSE(plain.Checked()) << "no box, nothing to tick";
  plain.SetCheckbox(true);
  ASSERT_TRUE(plain.CheckBoxControl());
  harness::SendClick(plain.CheckBoxControl()->Handle(), 5, 5);
  Pump();
  EXPECT_TRUE(plain.Checked());
  EXPECT_EQ(checks, 1);
  harness::SendKey(plain.Handle(), VK_SPACE);
  Pump();
  EXPECT_FALSE(plain.Checked()) << "releasing Space ticks the box";
  plain.SetChecked(true);
  plain.SetCheckbox(false);
  EXPECT_FALSE(plain.Checked());
  EXPECT_EQ(plain.CheckBoxControl(), nullptr);
  harness::Bitmap32 pressed = harness::PaintInto(plain.Width(), plain.Height(), [&](HDC dc) {
    TCanvas canvas;
    canvas.SetHandle(dc);
    plain.PaintOn(canvas, true, false);
    canvas.SetHandle(nullptr);
  });
  EXPECT_EQ(pressed.PixelColor(5, 5), static_cast<COLORREF>(plain.PressColor()));
}

TEST_F(GridsTest, TheWheelScrollsTheBoxInWholeNotches) {
  auto form = MakeForm<TWinbarGridsForm>(FApp.get());
  form->Show();
  Pump();
  TWheelScrollBox& box = *form->Box;
  ASSERT_GT(box.VertScrollBar().Range(), box.ClientHeight());
  RECT r{};
  GetWindowRect(box.Handle(), &r);
  auto wheel = [&](int delta, WORD keys, POINT at) {
    return SendMessageW(box.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(static_cast<short>(delta))),
                        MAKELPARAM(at.x, at.y));
  };
  const POINT inside{r.left + 20, r.top + 20};
  EXPECT_EQ(wheel(-120, 0, inside), 1);
  EXPECT_EQ(box.VertScrollBar().Position(), 20);
  wheel(-60, 0, inside);
  EXPECT_EQ(box.VertScrollBar().Position(), 20);
  wheel(-60, 0, inside);
  EXPECT_EQ(box.VertScrollBar().Position(), 40) << "two half notches make one";
  EXPECT_EQ(wheel(-120, MK_CONTROL, inside), 0);
  EXPECT_EQ(box.VertScrollBar().Position(), 40) << "Ctrl held";
  wheel(-120, 0, POINT{r.right + 30, r.top + 20});
  EXPECT_EQ(box.VertScrollBar().Position(), 40) << "pointer outside the box";
  EXPECT_EQ(box.WheelAccumulator(), 0);
  wheel(120, 0, inside);
  EXPECT_EQ(box.VertScrollBar().Position(), 20);
  // The bar's own limits stop the movement at the end of the range.
  wheel(-120 * 100, 0, inside);
  EXPECT_EQ(box.VertScrollBar().Position(), box.VertScrollBar().Range() - box.ClientHeight());
  // The child's top moved up with the scrolling.
  EXPECT_EQ(form->Box->Controls(0)->Top(), -box.VertScrollBar().Position());
  form->Repaint();
  Pump();
  SaveForInspection(CaptureScreen(form->Handle()), L"winbar-grids-scrolled.bmp");
}

TEST_F(GridsTest, DrawGridCellColoursAndCalendarResizing) {
  auto form = MakeForm<TWinbarGridsForm>(FApp.get());
  form->DrawGrid->OnGetCellParams = TOnGetCellParams([](TObject*, Integer col, Integer row, TColor& color) {
    if (col == 2 && row == 2) color = clLime;
  });
  form->Show();
  Pump();
  const TRect lime = form->DrawGrid->CellRect(2, 2);
  const harness::Bitmap32 grid = harness::PaintClient(form->DrawGrid->Handle());
  EXPECT_EQ(grid.PixelColor(lime.Left + 5, lime.Top + 5), static_cast<COLORREF>(RGB(0, 255, 0)));
  // The current cell (1, 1) takes the highlight colour in its gradient frame.
  const TRect current = form->DrawGrid->CellRect(1, 1);
  EXPECT_EQ(grid.PixelColor(current.Left, current.Top + 5), static_cast<COLORREF>(RGB(0, 255, 255)));
  // Each drawing style marks the current cell: classic fills it with the
  // highlight colour, gradient frames it in that colour, themed draws the
  // hot menu item (or the fill where there is no theme).
  for (TGridDrawingStyle style : {gdsClassic, gdsGradient, gdsThemed}) {
    form->DrawGrid->SetDrawingStyle(style);
    const harness::Bitmap32 styled = harness::PaintClient(form->DrawGrid->Handle());
    const COLORREF centre = styled.PixelColor((current.Left + current.Right) / 2, (current.Top + current.Bottom) / 2);
    const COLORREF plain = styled.PixelColor((lime.Left + lime.Right) / 2 + 70, (lime.Top + lime.Bottom) / 2);
    EXPECT_NE(centre, plain) << style;
    if (style == gdsClassic) {
      EXPECT_EQ(centre, static_cast<COLORREF>(RGB(0, 255, 255)));
    }
  }
  // A narrower calendar shares the new width among its columns.
  TMCalendar& calendar = *form->Calendar;
  const Integer wide = calendar.DefaultColWidth();
  calendar.SetBounds(calendar.Left(), calendar.Top(), 300, calendar.Height());
  Pump();
  EXPECT_LT(calendar.DefaultColWidth(), wide);
  EXPECT_LE(calendar.CellRect(8, 1).Right, calendar.ClientWidth());
}
