// The button group, the gauge, the switches and the wallpaper: read from a
// form as the IDE writes it, drawn, and driven by mouse and keys.
#include "winbar/win32/winbartest.h"

#include <limits>

#include "classes/reflection.h"
#include "rtl/numbers.h"
#include "rtl/unicode.h"
#include "support/win32/realinput.h"

TEST_F(WinbarTest, TheExtrasFormLoadsWithEveryControlAsStored) {
  auto form = MakeForm<TWinbarExtrasForm>(FApp.get());
  ASSERT_TRUE(form->Group && form->Gauge && form->Pie && form->Needle && form->Switch && form->Round &&
              form->Wallpaper);
  EXPECT_EQ(form->Group->Items().Count(), 3);
  EXPECT_EQ(form->Group->Items().Items(1)->Caption(), u"Beta\tsecond line");
  EXPECT_EQ(form->Group->Items().Items(0)->Hint(), u"First");
  EXPECT_EQ(form->Group->ItemIndex(), 1);
  form->Show();
  Pump();
  EXPECT_EQ(form->Group->Height(), 2 + 34) << "auto-sized to one row of three";
  EXPECT_FALSE(form->Group->ScrollBarShown());
  EXPECT_FALSE(GetWindowLongW(form->Group->Handle(), GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(form->Group->SelectedButtonColor(), clYellow);
  EXPECT_EQ(form->Group->EdgeButtonColor(), clMedGray) << "not stored, so the initial value";
  EXPECT_EQ(form->Group->HotButtonColor(), TButtonGroupEx::kInitialHotButtonColor);
  EXPECT_EQ(form->Gauge->MaxValue(), Int64{1} << 40);
  EXPECT_EQ(form->Gauge->PercentDone(), 75);
  EXPECT_EQ(form->Gauge->DisplayText(), u"Done: 75%");
  EXPECT_EQ(form->Pie->Kind(), gkPie);
  EXPECT_TRUE(form->Switch->Checked());
  EXPECT_EQ(form->Switch->Caption(), u"ON");
  EXPECT_FALSE(form->Round->Checked());
  EXPECT_EQ(form->Wallpaper->OffsetMode(), omRows);
  EXPECT_EQ(form->Wallpaper->Offset(), 0) << "kept within the (empty) picture after loading";

  // A picture of two colours for the wallpaper.
  TBitmap tile(32, 16, pf24bit);
  tile.Canvas().Brush().SetColor(clSilver);
  tile.Canvas().FillRect(Rect(0, 0, 32, 16));
  tile.Canvas().Brush().SetColor(clTeal);
  tile.Canvas().FillRect(Rect(0, 0, 16, 16));
  TPicture picture;
  picture.SetGraphic(&tile);
  form->Wallpaper->SetImage(&picture);
  form->Wallpaper->SetOffset(8);
  form->Show();
  Pump();
  form->Repaint();
  Pump();
  SaveForInspection(CaptureScreen(form->Handle()), L"winbar-extras.bmp");
}

TEST_F(WinbarTest, StreamDefaultsAreTheValuesANewGroupStartsWith) {
  auto* group = new TButtonGroupEx(FApp.get());
  const TClassInfo& info = TButtonGroupEx::StaticClass();
  // A value equal to the stream default is not written: a new group writes
  // neither colour and reads back as it was.
  EXPECT_EQ(info.FindProperty(u"EdgeButtonColor")->Default(), group->EdgeButtonColor());
  EXPECT_EQ(info.FindProperty(u"HotButtonColor")->Default(), group->HotButtonColor());
  EXPECT_EQ(group->EdgeButtonColor(), clMedGray);
  EXPECT_EQ(group->HotButtonColor(), 0xEFD3C6);
  EXPECT_EQ(group->HotButtonIndex(), 0);
  EXPECT_EQ(group->TextIndent(), 5);
  EXPECT_EQ(group->About(), String(kWinbarAbout));
}

TEST_F(WinbarTest, BlendingRejectsWeightsOutsideTheByte) {
  EXPECT_EQ(BlendColors(clWhite, clBlack, 255), 0xFEFEFE);
  EXPECT_THROW(BlendColors(clWhite, clBlack, 256), EAssertionFailed);
  EXPECT_THROW(BlendColors(clWhite, clBlack, -1), EAssertionFailed);
  EXPECT_EQ(BlendColors(clBtnFace, clBtnFace, 255), BlendRGB(ColorToRGB(clBtnFace), ColorToRGB(clBtnFace), 255))
      << "system colours are resolved first";
}

TEST_F(WinbarTest, AGaugeShowsTheShareOfA64BitRangeWithInvertedText) {
  auto form = MakeForm<TWinbarExtrasForm>(FApp.get());
  TMGauge& gauge = *form->Gauge;
  gauge.SetForeColor(clBlack);
  gauge.SetShowText(false);
  gauge.SetMinValue(0);
  gauge.SetMaxValue(Int64{1} << 40);
  gauge.SetProgress((Int64{1} << 40) / 4);
  EXPECT_EQ(gauge.PercentDone(), 25);
  harness::Bitmap32 bar = PaintGraphic(gauge, [&](TCanvas& c) { gauge.PaintOn(c); });
  // 25 % of 199 pixels inside the border: about 50 black, the rest white.
  EXPECT_EQ(bar.PixelColor(30, 12), RGB(0, 0, 0));
  EXPECT_EQ(bar.PixelColor(60, 12), RGB(255, 255, 255));
  EXPECT_EQ(bar.PixelColor(0, 0), RGB(0, 0, 0)) << "the border";

  gauge.SetProgress(gauge.MaxValue() * 2);
  EXPECT_EQ(gauge.Progress(), gauge.MaxValue()) << "clamped";
  EXPECT_EQ(gauge.PercentDone(), 100);
  gauge.SetProgress(-5);
  EXPECT_EQ(gauge.Progress(), 0);
  gauge.SetMinValue(5);
  gauge.SetMaxValue(5);
  EXPECT_EQ(gauge.PercentDone(), 0) << "an empty range";

  // The text inverts what lies under it: white over the black part.
  gauge.SetMinValue(0);
  gauge.SetMaxValue(100);
  gauge.SetProgress(100);
  gauge.SetShowText(true);
  gauge.SetGaugeText(u"");
  harness::Bitmap32 full = PaintGraphic(gauge, [&](TCanvas& c) { gauge.PaintOn(c); });
  int white = 0;
  for (int x = 80; x < 120; ++x)
    for (int y = 4; y < 20; ++y) white += full.PixelColor(x, y) == RGB(255, 255, 255);
  EXPECT_GT(white, 10) << "the letters of 100% show white on the black bar";
  SaveForInspection(full, L"winbar-gauge.bmp");
}

TEST_F(WinbarTest, GaugeRangesRefuseAMinimumAboveTheMaximum) {
  TMGauge gauge(nullptr);
  try {
    gauge.SetMinValue(200);
    FAIL();
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), u"Value must be between -2147483647 and 99");
  }
  try {
    gauge.SetMaxValue(-1);
    FAIL();
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), u"Value must be between 1 and 2147483647");
  }
  EXPECT_EQ(gauge.MinValue(), 0);
  EXPECT_EQ(gauge.MaxValue(), 100);
}

TEST_F(WinbarTest, AddingProgressStopsAtTheEndsOfTheRange) {
  TMGauge gauge(nullptr);
  constexpr Int64 kMax = std::numeric_limits<Int64>::max();
  constexpr Int64 kMin = std::numeric_limits<Int64>::min();
  gauge.SetMaxValue(kMax);
  gauge.SetProgress(kMax - 10);
  gauge.AddProgress(std::numeric_limits<Int64>::max());
  EXPECT_EQ(gauge.Progress(), kMax);
  gauge.AddProgress(-5);
  EXPECT_EQ(gauge.Progress(), kMax - 5);
  gauge.SetMinValue(kMin);
  gauge.AddProgress(kMin);
  EXPECT_EQ(gauge.Progress(), -6);
  gauge.AddProgress(kMin);
  EXPECT_EQ(gauge.Progress(), kMin) << "not round to the top";
  gauge.AddProgress(kMax);
  EXPECT_EQ(gauge.Progress(), -1);
  gauge.AddProgress(kMax);
  gauge.AddProgress(kMax);
  EXPECT_EQ(gauge.Progress(), kMax) << "not round to the bottom";
  gauge.SetMinValue(0);
  gauge.SetMaxValue(100);
  gauge.SetProgress(40);
  gauge.AddProgress(30);
  EXPECT_EQ(gauge.Progress(), 70);
  EXPECT_EQ(gauge.PercentDone(), 70);
}

TEST_F(WinbarTest, ASwitchTogglesOnItsKnobOnly) {
  auto form = MakeForm<TWinbarExtrasForm>(FApp.get());
  form->Show();
  Pump();
  TOnOffSwitch& sw = *form->Switch;
  sw.SetChecked(false);
  EXPECT_EQ(sw.Caption(), u"OFF");
  HWND h = sw.Handle();
  harness::SendClick(h, 10, 12);  // the knob sits left when off
  EXPECT_TRUE(sw.Checked());
  EXPECT_EQ(sw.Caption(), u"ON");
  harness::SendClick(h, 10, 12);  // the track beside the knob
  EXPECT_TRUE(sw.Checked());
  harness::SendClick(h, 60, 12, harness::MouseButton::Left, {.shift = true});
  EXPECT_TRUE(sw.Checked()) << "not with Shift held";
  harness::SendClick(h, 60, 12);
  EXPECT_FALSE(sw.Checked());
  harness::SendDoubleClick(h, 10, 12);
  EXPECT_TRUE(sw.Checked()) << "the second press of a double click does not toggle back";
  harness::SendKey(h, VK_SPACE);
  EXPECT_FALSE(sw.Checked());
  harness::SendKey(h, VK_SPACE);
  EXPECT_TRUE(sw.Checked());
  sw.SetOnText(u"Yes");
  EXPECT_EQ(sw.Caption(), u"Yes");
  sw.SetChecked(false);
  sw.SetOnText(u"Ja");
  EXPECT_EQ(sw.Caption(), u"OFF");
  sw.SetHeight(30);
  EXPECT_EQ(sw.Font().Size(), 11);

  TRoundOnOffSwitch& round = *form->Round;
  EXPECT_EQ(round.KnobWidth(), 19);
  harness::Bitmap32 off = harness::PaintClient(round.Handle());
  round.SetEnabled(false);
  harness::Bitmap32 disabled = harness::PaintClient(round.Handle());
  EXPECT_NE(off.PixelColor(40, 12), disabled.PixelColor(40, 12));
  SaveForInspection(CaptureScreen(form->Handle()), L"winbar-switches.bmp");
}

TEST_F(WinbarTest, AWallpaperWithoutOwnerTilesEvenAOnePixelPicture) {
  TFormWallpaper wallpaper(nullptr);
  wallpaper.SetBounds(0, 0, 300, 200);
  EXPECT_EQ(wallpaper.WallColor(), clBtnFace);
  harness::Bitmap32 empty = PaintGraphic(wallpaper, [&](TCanvas& c) {
    c.Brush().SetColor(clLime);
    c.FillRect(Rect(0, 0, 300, 200));
    wallpaper.PaintOn(c);
  });
  EXPECT_EQ(empty.PixelColor(150, 100), RGB(0, 255, 0)) << "an empty picture paints nothing";

  TBitmap dot(1, 1, pf24bit);
  dot.Canvas().SetPixels(0, 0, clRed);
  TPicture picture;
  picture.SetGraphic(&dot);
  wallpaper.SetImage(&picture);
  wallpaper.SetOffsetMode(omRows);
  wallpaper.SetOffset(40);
  EXPECT_EQ(wallpaper.Offset(), 1);
  harness::Bitmap32 dots = PaintGraphic(wallpaper, [&](TCanvas& c) { wallpaper.PaintOn(c); });
  for (TPoint p : {Point(0, 0), Point(299, 199), Point(150, 77)}) EXPECT_EQ(dots.PixelColor(p.X, p.Y), RGB(255, 0, 0));

  // Two colours, every second row shifted: the painted tiles are where the arithmetic puts them.
  TBitmap tile(20, 10, pf24bit);
  tile.Canvas().Brush().SetColor(clNavy);
  tile.Canvas().FillRect(Rect(0, 0, 20, 10));
  tile.Canvas().Brush().SetColor(clYellow);
  tile.Canvas().FillRect(Rect(0, 0, 5, 10));
  picture.SetGraphic(&tile);
  wallpaper.SetImage(&picture);
  wallpaper.SetOffset(7);
  harness::Bitmap32 rows = PaintGraphic(wallpaper, [&](TCanvas& c) { wallpaper.PaintOn(c); });
  for (TPoint origin : WallpaperTiles(300, 200, 20, 10, 7, omRows)) {
    TPoint yellow = Point(origin.X + 2, origin.Y + 5), navy = Point(origin.X + 12, origin.Y + 5);
    if (yellow.X >= 0 && yellow.X < 300 && yellow.Y < 200) {
      EXPECT_EQ(rows.PixelColor(yellow.X, yellow.Y), RGB(255, 255, 0));
    }
    if (navy.X >= 0 && navy.X < 300 && navy.Y < 200) {
      EXPECT_EQ(rows.PixelColor(navy.X, navy.Y), RGB(0, 0, 128));
    }
  }

  // Centred and see-through: the top-left pixel's colour lets the background show.
  wallpaper.SetOffsetMode(omCenter);
  wallpaper.SetTransparent(true);
  harness::Bitmap32 centred = PaintGraphic(wallpaper, [&](TCanvas& c) {
    c.Brush().SetColor(clLime);
    c.FillRect(Rect(0, 0, 300, 200));
    wallpaper.PaintOn(c);
  });
  EXPECT_EQ(centred.PixelColor(140 + 12, 95 + 5), RGB(0, 0, 128));
  EXPECT_EQ(centred.PixelColor(140 + 2, 95 + 5), RGB(0, 255, 0)) << "yellow was the key colour";
}

TEST_F(WinbarTest, AGroupScrollsWholeRowsAndShowsEachButtonsHint) {
  auto form = MakeForm<TWinbarExtrasForm>(FApp.get());
  TButtonGroupEx& group = *form->Group;
  group.SetAutoSize(false);
  for (int i = 0; i < 9; ++i) group.Items().Add()->SetCaption(u"More");
  group.SetHeight(2 * 34);
  form->Show();
  Pump();
  EXPECT_TRUE(group.ScrollBarShown()) << "12 buttons, two rows shown";
  EXPECT_EQ(group.IndexOfButtonAt(5, 5), 0);
  group.ScrollIntoView(11);
  EXPECT_GT(group.TopRow(), 0);
  EXPECT_EQ(group.IndexOfButtonAt(5, 40), group.TopRow() * group.ButtonsPerRowNow() + group.ButtonsPerRowNow());
  group.ScrollIntoView(0);
  EXPECT_EQ(group.TopRow(), 0);
  group.ScrollIntoView(99);  // ignored
  EXPECT_EQ(group.TopRow(), 0);

  THintInfo info;
  info.CursorPos = Point(5, 5);
  group.Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.HintStr, u"First");
  EXPECT_EQ(info.CursorRect, group.GetButtonRect(0));
}

TEST_F(WinbarTest, ADraggedButtonLandsWhereTheInsertionMarkShows) {
  auto form = MakeForm<TWinbarExtrasForm>(FApp.get());
  form->SetClientWidth(400);
  form->Show();
  Pump();
  auto* group = new TButtonGroupEx(form.get());
  group->SetAutoSize(false);
  group->SetBounds(0, 200, 320, 30);
  group->SetButtonWidth(60);
  group->SetButtonHeight(24);
  group->SetButtonOptions({gboAllowReorder, gboShowCaptions});
  group->SetParent(form.get());
  const std::vector<String> names{u"A", u"B", u"C", u"D"};
  for (const String& name : names) group->Items().Add()->SetCaption(name);
  std::vector<std::pair<Integer, Integer>> moves;
  group->OnReorderButton = TGrpButtonReorderEvent(
      [&moves](TObject*, Integer oldIndex, Integer newIndex) { moves.emplace_back(oldIndex, newIndex); });
  Pump();
  harness::BringToFront(group->Handle());
  const auto order = [&] {
    String text;
    for (Integer i = 0; i < group->Items().Count(); ++i) text += group->Items().Items(i)->Caption();
    return StringToUTF8(text);
  };
  for (Integer dragged = 0; dragged < 4; ++dragged)
    for (Integer target = 0; target < 4; ++target)
      for (bool rightHalf : {false, true}) {
        if (target == dragged) continue;
        for (Integer i = 0; i < 4; ++i) group->Items().Items(i)->SetCaption(names[static_cast<size_t>(i)]);
        moves.clear();
        // Where the mark shows: before the target, or after it.
        std::vector<String> expected = names;
        const String item = expected[static_cast<size_t>(dragged)];
        Integer gap = rightHalf ? target + 1 : target;
        expected.erase(expected.begin() + dragged);
        if (dragged < gap) --gap;
        expected.insert(expected.begin() + gap, item);
        String wanted;
        for (const String& name : expected) wanted += name;

        const TRect from = group->GetButtonRect(dragged), to = group->GetButtonRect(target);
        const Integer toX = rightHalf ? to.Right - 8 : to.Left + 8;
        const Integer y = (from.Top + from.Bottom) / 2;
        harness::InputDrag(group->Handle(), (from.Left + from.Right) / 2, y, toX, y, 3);
        EXPECT_EQ(order(), StringToUTF8(wanted)) << dragged << " onto the " << (rightHalf ? "right" : "left")
                                                 << " half of " << target;
        if (gap == dragged) {
          EXPECT_TRUE(moves.empty()) << "a drop that moves nothing reports nothing";
        } else {
          EXPECT_EQ(moves, (std::vector<std::pair<Integer, Integer>>{{dragged, gap}}));
        }
      }
  EXPECT_EQ(DropTargetIndex(0, 2, false), 1);
  EXPECT_EQ(DropTargetIndex(3, 0, true), 1);
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(WinbarTest, TheKeyboardWalksAndClicksTheButtonsAndTheWheelScrollsTheRows) {
  auto form = MakeForm<TWinbarExtrasForm>(FApp.get());
  form->Show();
  Pump();
  auto* group = new TButtonGroupEx(form.get());
  group->SetAutoSize(false);
  group->SetBounds(0, 200, 3 * 40 + 30, 2 * 24);
  group->SetButtonWidth(40);
  group->SetButtonHeight(24);
  group->SetButtonOptions({gboGroupStyle, gboShowCaptions});
  group->SetParent(form.get());
  for (int i = 0; i < 12; ++i) group->Items().Add()->SetCaption(IntToStr(i));
  std::vector<Integer> clicked;
  group->OnButtonClicked = TGrpButtonEvent([&clicked](TObject*, Integer index) { clicked.push_back(index); });
  Pump();
  const Integer perRow = group->ButtonsPerRowNow();
  ASSERT_GT(perRow, 1);
  harness::BringToFront(group->Handle());
  group->SetFocus();
  Pump();
  struct Step {
    UINT Key;
    Integer Focus;
  };
  const Step steps[] = {{VK_RIGHT, 1}, {VK_DOWN, 1 + perRow}, {VK_LEFT, perRow}, {VK_UP, 0},
                        {VK_LEFT, 0},  {VK_END, 11},          {VK_RIGHT, 11},   {VK_HOME, 0}};
  for (const Step& step : steps) {
    harness::InputKey(step.Key);
    EXPECT_EQ(group->FocusIndex(), step.Focus) << "key " << step.Key;
  }
  EXPECT_TRUE(group->Focused()) << "the arrows stay with the group";
  harness::InputKey(VK_RIGHT);
  harness::InputKey(VK_SPACE);
  EXPECT_EQ(clicked, std::vector<Integer>{1});
  EXPECT_EQ(group->ItemIndex(), 1);
  harness::InputKey(VK_END);
  EXPECT_GT(group->TopRow(), 0) << "the keyboard's button is scrolled into view";
  harness::InputKey(VK_RETURN);
  EXPECT_EQ(clicked, (std::vector<Integer>{1, 11}));

  group->ScrollIntoView(0);
  ASSERT_EQ(group->TopRow(), 0);
  harness::InputWheel(group->Handle(), 10, 10, -1);
  EXPECT_EQ(group->TopRow(), 1) << "a notch towards the user shows the next row";
  harness::InputWheel(group->Handle(), 10, 10, 1);
  EXPECT_EQ(group->TopRow(), 0);
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(WinbarTest, AnAutoSizedGroupTallerThanAWindowCanBeStaysBoundedAndStopsResizing) {
  auto form = MakeForm<TWinbarExtrasForm>(FApp.get());
  form->Show();
  Pump();
  auto* tall = new TButtonGroupEx(form.get());
  int resizes = 0;
  tall->OnResize = TNotifyEvent([&resizes](TObject*) { ++resizes; });
  tall->SetButtonHeight(20000);
  tall->Items().Add()->SetCaption(u"One");
  tall->Items().Add()->SetCaption(u"Two");
  tall->SetAlign(alTop);
  tall->SetAutoSize(true);
  tall->SetParent(form.get());
  Pump();
  EXPECT_LE(tall->Height(), kMaxControlExtent);
  EXPECT_GT(tall->Height(), 0);
  EXPECT_LT(resizes, 20) << "the height is asked for a bounded number of times";
  EXPECT_EQ(AutoSizeHeight(2, 2, 20000), kMaxControlExtent);
  EXPECT_EQ(AutoSizeHeight(2, 2, 30), 62);
}
