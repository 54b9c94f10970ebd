#include "codeedit/keystrokes.h"

#include <gtest/gtest.h>

#include "rtl/streams.h"
#include "rtl/sysstr.h"

namespace {

// clang-format off
const std::vector<TIdentMapEntry> kExpectedNames = {
    {0, u"ecNone"},
    {1, u"ecLeft"},          {2, u"ecRight"},          {3, u"ecUp"},
    {4, u"ecDown"},          {5, u"ecWordLeft"},       {6, u"ecWordRight"},
    {7, u"ecLineStart"},     {8, u"ecLineEnd"},        {9, u"ecPageUp"},
    {10, u"ecPageDown"},     {11, u"ecPageLeft"},      {12, u"ecPageRight"},
    {13, u"ecPageTop"},      {14, u"ecPageBottom"},    {15, u"ecEditorTop"},
    {16, u"ecEditorBottom"}, {17, u"ecGotoXY"},
    {101, u"ecSelLeft"},          {102, u"ecSelRight"},          {103, u"ecSelUp"},
    {104, u"ecSelDown"},          {105, u"ecSelWordLeft"},       {106, u"ecSelWordRight"},
    {107, u"ecSelLineStart"},     {108, u"ecSelLineEnd"},        {109, u"ecSelPageUp"},
    {110, u"ecSelPageDown"},      {111, u"ecSelPageLeft"},       {112, u"ecSelPageRight"},
    {113, u"ecSelPageTop"},       {114, u"ecSelPageBottom"},     {115, u"ecSelEditorTop"},
    {116, u"ecSelEditorBottom"},  {117, u"ecSelGotoXY"},
    {198, u"ecSelWord"},         {199, u"ecSelectAll"},
    {501, u"ecDeleteLastChar"},  {502, u"ecDeleteChar"},  {503, u"ecDeleteWord"},  {504, u"ecDeleteLastWord"},
    {505, u"ecDeleteBOL"},       {506, u"ecDeleteEOL"},   {507, u"ecDeleteLine"},  {508, u"ecClearAll"},
    {509, u"ecLineBreak"},       {510, u"ecInsertLine"},  {511, u"ecChar"},
    {550, u"ecImeStr"},
    {601, u"ecUndo"},            {602, u"ecRedo"},        {603, u"ecCut"},
    {201, u"ecCopy"},
    {604, u"ecPaste"},
    {211, u"ecScrollUp"},        {212, u"ecScrollDown"},  {213, u"ecScrollLeft"},  {214, u"ecScrollRight"},
    {221, u"ecInsertMode"},      {222, u"ecOverwriteMode"}, {223, u"ecToggleMode"},
    {610, u"ecBlockIndent"},     {611, u"ecBlockUnindent"}, {612, u"ecTab"},       {613, u"ecShiftTab"},
    {250, u"ecMatchBracket"},    {251, u"ecCommentBlock"},
    {231, u"ecNormalSelect"},    {232, u"ecColumnSelect"}, {233, u"ecLineSelect"},
    {650, u"ecAutoCompletion"},
    {1001, u"ecUserFirst"},
    {490, u"ecContextHelp"},
    {301, u"ecGotoMarker0"}, {302, u"ecGotoMarker1"}, {303, u"ecGotoMarker2"}, {304, u"ecGotoMarker3"},
    {305, u"ecGotoMarker4"}, {306, u"ecGotoMarker5"}, {307, u"ecGotoMarker6"}, {308, u"ecGotoMarker7"},
    {309, u"ecGotoMarker8"}, {310, u"ecGotoMarker9"},
    {351, u"ecSetMarker0"},  {352, u"ecSetMarker1"},  {353, u"ecSetMarker2"},  {354, u"ecSetMarker3"},
    {355, u"ecSetMarker4"},  {356, u"ecSetMarker5"},  {357, u"ecSetMarker6"},  {358, u"ecSetMarker7"},
    {359, u"ecSetMarker8"},  {360, u"ecSetMarker9"},
    {620, u"ecUpperCase"},   {621, u"ecLowerCase"},   {622, u"ecToggleCase"},  {623, u"ecTitleCase"},
    {625, u"ecUpperCaseBlock"}, {626, u"ecLowerCaseBlock"}, {627, u"ecToggleCaseBlock"},
    {630, u"ecString"},
};
// clang-format on

TEST(CommandNames, AllHundredAndOneInTheirOrderBothWays) {
  const auto& names = EditorCommandNames();
  ASSERT_EQ(kExpectedNames.size(), 101u);
  ASSERT_EQ(names.size(), kExpectedNames.size());
  for (size_t i = 0; i < names.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(names[i].Value, kExpectedNames[i].Value);
    EXPECT_EQ(String(names[i].Name), kExpectedNames[i].Name);
    Integer value = -1;
    ASSERT_TRUE(CommandByIdent(kExpectedNames[i].Name, value));
    EXPECT_EQ(value, kExpectedNames[i].Value);
    ASSERT_TRUE(CommandByIdent(UpperCase(kExpectedNames[i].Name), value));  // case is ignored
    EXPECT_EQ(value, kExpectedNames[i].Value);
    String name;
    ASSERT_TRUE(IdentOfCommand(kExpectedNames[i].Value, name));
    EXPECT_EQ(name, kExpectedNames[i].Name);
  }
}

TEST(CommandNames, UnknownNamesAndValues) {
  Integer value = 0;
  EXPECT_TRUE(CommandByIdent(u"ecCopy", value));
  EXPECT_EQ(value, 201);
  EXPECT_FALSE(CommandByIdent(u"ecCopyAll", value));
  String name;
  EXPECT_FALSE(IdentOfCommand(5000, name));
  EXPECT_EQ(CommandDisplayText(5000), u"5000");
  EXPECT_EQ(CommandDisplayText(ecCopy), u"ecCopy");
}

struct DefaultKey {
  Word key;
  TShiftState shift;
  TCodeEditorCommand command;
};

TEST(Keystrokes, DefaultsAreTheEightyTwoInTheirOrder) {
  const TShiftState none, s{ssShift}, c{ssCtrl}, sc{ssShift, ssCtrl}, a{ssAlt}, sa{ssShift, ssAlt};
  // clang-format off
  std::vector<DefaultKey> expected = {
      {38, none, ecUp},          {38, s, ecSelUp},          {38, c, ecScrollUp},
      {40, none, ecDown},        {40, s, ecSelDown},        {40, c, ecScrollDown},
      {37, none, ecLeft},        {37, s, ecSelLeft},        {37, c, ecWordLeft},      {37, sc, ecSelWordLeft},
      {39, none, ecRight},       {39, s, ecSelRight},       {39, c, ecWordRight},     {39, sc, ecSelWordRight},
      {34, none, ecPageDown},    {34, s, ecSelPageDown},    {34, c, ecPageBottom},    {34, sc, ecSelPageBottom},
      {33, none, ecPageUp},      {33, s, ecSelPageUp},      {33, c, ecPageTop},       {33, sc, ecSelPageTop},
      {36, none, ecLineStart},   {36, s, ecSelLineStart},   {36, c, ecEditorTop},     {36, sc, ecSelEditorTop},
      {35, none, ecLineEnd},     {35, s, ecSelLineEnd},     {35, c, ecEditorBottom},  {35, sc, ecSelEditorBottom},
      {45, none, ecToggleMode},  {45, c, ecCopy},           {46, s, ecCut},           {45, s, ecPaste},
      {46, none, ecDeleteChar},
      {8, none, ecDeleteLastChar}, {8, s, ecDeleteLastChar}, {8, c, ecDeleteLastWord}, {8, a, ecUndo}, {8, sa, ecRedo},
      {13, none, ecLineBreak},   {13, s, ecLineBreak},      {9, none, ecTab},         {9, s, ecShiftTab},
      {112, none, ecContextHelp},
      {'A', c, ecSelectAll},     {'C', c, ecCopy},          {'V', c, ecPaste},        {'X', c, ecCut},
      {'I', sc, ecBlockIndent},  {'U', sc, ecBlockUnindent},
      {'M', c, ecLineBreak},     {'N', c, ecInsertLine},    {'T', c, ecDeleteWord},   {'Y', c, ecDeleteLine},
      {'Y', sc, ecDeleteEOL},    {'Z', c, ecUndo},          {'Z', sc, ecRedo},
  };
  // clang-format on
  for (Word i = 0; i < 10; ++i) expected.push_back({static_cast<Word>('0' + i), c, static_cast<Word>(301 + i)});
  for (Word i = 0; i < 10; ++i) expected.push_back({static_cast<Word>('0' + i), sc, static_cast<Word>(351 + i)});
  expected.insert(
      expected.end(),
      {{'N', sc, ecNormalSelect}, {'C', sc, ecColumnSelect}, {'L', sc, ecLineSelect}, {'B', sc, ecMatchBracket}});

  TCodeEditKeyStrokes keys;
  keys.AddKey(ecChar, 1, {});  // replaced by the defaults
  keys.ResetDefaults();
  ASSERT_EQ(expected.size(), 82u);
  ASSERT_EQ(keys.Count(), 82);
  for (Integer i = 0; i < keys.Count(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(keys.Items(i).Key(), expected[static_cast<size_t>(i)].key);
    EXPECT_TRUE(keys.Items(i).Shift() == expected[static_cast<size_t>(i)].shift);
    EXPECT_EQ(keys.Items(i).Command(), expected[static_cast<size_t>(i)].command);
    EXPECT_EQ(keys.Items(i).Key2(), 0);
  }
}

TEST(Keystrokes, LookupsFindTheFirstMatchOrMinusOne) {
  TCodeEditKeyStrokes keys;
  keys.ResetDefaults();
  const Integer undo = keys.FindKeycode('Z', {ssCtrl});
  ASSERT_GE(undo, 0);
  EXPECT_EQ(keys.Items(undo).Command(), ecUndo);
  EXPECT_EQ(keys.FindKeycode('Z', {}), -1);
  EXPECT_EQ(keys.FindCommand(ecCopy), 31);  // Ctrl+Insert comes before Ctrl+C
  EXPECT_EQ(keys.FindCommand(ecString), -1);
  EXPECT_EQ(keys.Items(keys.FindShortcut(8200)).Command(), ecDeleteLastChar);
  EXPECT_EQ(keys.FindShortcut2(16474, 0), undo);
  EXPECT_EQ(keys.FindKeycode2('Z', {ssCtrl}, 0, {}), undo);

  TCodeEditKeyStroke& chord = keys.Add();
  chord.SetShortCut(ShortCut('K', {ssCtrl}));
  chord.SetShortCut2(ShortCut('B', {}));
  chord.SetCommand(ecUserFirst);
  EXPECT_EQ(keys.FindKeycode('K', {ssCtrl}), -1);  // two-stroke items are not single keys
  EXPECT_EQ(keys.FindKeycode2('K', {ssCtrl}, 'B', {}), keys.Count() - 1);
  EXPECT_EQ(chord.GetDisplayName(), u"ecUserFirst - Ctrl+K B");
}

TEST(Keystrokes, DuplicateShortcutPairsAreRefused) {
  TCodeEditKeyStrokes keys;
  TCodeEditKeyStroke& first = keys.Add();
  first.SetShortCut(ShortCut('Z', {ssCtrl}));
  TCodeEditKeyStroke& second = keys.Add();
  second.SetShortCut(ShortCut('Y', {ssCtrl}));
  try {
    second.SetShortCut(ShortCut('Z', {ssCtrl}));
    FAIL() << "no error";
  } catch (const ECodeKeyError& e) {
    EXPECT_EQ(e.Message(), u"Shortcut already exists");
  }
  EXPECT_EQ(second.Key(), 'Y');                // unchanged
  first.SetShortCut(ShortCut('Z', {ssCtrl}));  // its own pair again is no duplicate
  second.SetShortCut(0);
  second.SetShortCut(0);
  EXPECT_EQ(second.ShortCut(), 0);
  second.SetShortCut2(ShortCut('A', {}));
  second.SetShortCut(ShortCut('Z', {ssCtrl}));  // the pair (Ctrl+Z, A) is free
  EXPECT_EQ(second.Key2(), 'A');
  EXPECT_THROW(first.SetShortCut2(ShortCut('A', {})), ECodeKeyError);  // the pair (Ctrl+Z, A) is taken now
  EXPECT_EQ(first.Key2(), 0);
}

TEST(Keystrokes, StreamRoundTripKeepsItemsInOrder) {
  TCodeEditKeyStrokes keys;
  keys.ResetDefaults();
  TCodeEditKeyStroke& chord = keys.Add();
  chord.SetKey('K');
  chord.SetShift({ssCtrl});
  chord.SetKey2('B');
  chord.SetShift2({ssShift});
  chord.SetCommand(ecUserFirst);
  TMemoryStream stream;
  keys.SaveToStream(stream);
  EXPECT_EQ(stream.Size(), 4 + 83 * 10);
  const Byte* bytes = stream.Memory();
  EXPECT_EQ(bytes[0], 83);
  EXPECT_EQ(bytes[4], 38);  // Up, no shift, ecUp
  EXPECT_EQ(bytes[12], ecUp);

  TCodeEditKeyStrokes loaded;
  stream.SetPosition(0);
  loaded.LoadFromStream(stream);
  ASSERT_EQ(loaded.Count(), keys.Count());
  for (Integer i = 0; i < keys.Count(); ++i) {
    EXPECT_EQ(loaded.Items(i).ShortCut(), keys.Items(i).ShortCut());
    EXPECT_EQ(loaded.Items(i).ShortCut2(), keys.Items(i).ShortCut2());
    EXPECT_EQ(loaded.Items(i).Command(), keys.Items(i).Command());
  }
}

TEST(Keystrokes, TruncatedStreamLeavesTheTableAsItWas) {
  TCodeEditKeyStrokes keys;
  keys.ResetDefaults();
  TMemoryStream stream;
  keys.SaveToStream(stream);
  stream.SetSize(stream.Size() - 3);
  TCodeEditKeyStrokes loaded;
  loaded.AddKey(ecUndo, 'Z', {ssCtrl});
  stream.SetPosition(0);
  EXPECT_THROW(loaded.LoadFromStream(stream), EReadError);
  EXPECT_EQ(loaded.Count(), 1);

  TMemoryStream huge;  // a count far beyond the bytes present
  const Byte header[4] = {0xFF, 0xFF, 0xFF, 0x7F};
  huge.WriteBuffer(header, 4);
  huge.SetPosition(0);
  EXPECT_THROW(loaded.LoadFromStream(huge), EReadError);
}

TEST(Keystrokes, AssignCopiesEveryItem) {
  TCodeEditKeyStrokes keys;
  keys.ResetDefaults();
  TCodeEditKeyStrokes copy;
  copy.Assign(keys);
  ASSERT_EQ(copy.Count(), 82);
  EXPECT_EQ(copy.Items(81).Command(), ecMatchBracket);
  EXPECT_EQ(copy.Items(81).Collection(), &copy);
  EXPECT_THROW(copy.Items(82), EListError);
}

}  // namespace
