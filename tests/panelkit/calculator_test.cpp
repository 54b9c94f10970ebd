#include "panelkit/calculator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "rtl/unicode.h"

namespace {

// A key sequence as the calculator's buttons send it: digits, ".", the four
// operations, "=", "s" (sign), "r" (ratio), "q" (square root), "b"
// (backspace), "c" (clear), "e" (clear entry), "m" / "M" (store / restore).
void Press(TCalculator& calculator, const std::string& keys) {
  for (char key : keys) {
    if (key >= '0' && key <= '9') {
      calculator.AddNumber(key - '0');
      continue;
    }
    switch (key) {
      case '.': calculator.AddDot(); break;
      case '+': calculator.Plus(); break;
      case '-': calculator.Minus(); break;
      case '*': calculator.Multiply(); break;
      case '/': calculator.Divide(); break;
      case '=': calculator.Equal(); break;
      case 's': calculator.Sign(); break;
      case 'r': calculator.Ratio(); break;
      case 'q': calculator.Sqrt(); break;
      case 'b': calculator.Backspace(); break;
      case 'c': calculator.ClearValue(); break;
      case 'e': calculator.Erase(); break;
      case 'm': calculator.StoreMemory(); break;
      case 'M': calculator.RestoreMemory(); break;
      default: FAIL() << "unknown key " << key;
    }
  }
}

struct KeyCase {
  const char* Keys;
  const char* Display;
};

TEST(Calculator, OperationsFromATable) {
  const KeyCase cases[] = {
      {"7*6=", "42"},    {"1/4=", "0.25"},  {"5+3=", "8"},    {"5+3==", "13"},  // the same operation and first operand
                                                                                // again
      {"2+3=*", "7"},                        // an operator after equals runs the pending sum once more
      {"2+3*4=", "20"},                      // left to right, no precedence
      {"0+5=", "5"},                         // a first operand of 0 is an operand like any other
      {"0-5=", "-5"},    {"0-5*2=", "-10"},  // the pending subtraction from 0 runs before the product
      {"0*5+3=", "3"},   {"5-0=", "5"},     {"5*0=", "0"},    {"5+3s=", "2"},  // the sign changes the display only, not
                                                                               // the first operand
      {"5s+3=", "-2"},   {"5ss+1=", "6"},   {"4s*3s=", "12"}, {"9q", "3"},     {"4r", "0.25"},
      {"5b", "0"},       {"5b7", "7"},      // the emptied display is replaced by the next digit
      {"12b", "1"},      {"8+2e3=", "11"},  // clear entry keeps the pending sum
      {"1.5+1.5=", "3"}, {"3sm0M", "-3"},   {"9/3=e", "0"},
      // C starts a new sum: nothing left pending runs on the next operator or equals
      {"5*3=c4*2=", "8"}, {"6/3=c8/2=", "4"}, {"1/0=c7+1=", "8"}, {"5+c4=", "4"},
  };
  for (const KeyCase& c : cases) {
    TCalculator calculator;
    Press(calculator, c.Keys);
    EXPECT_EQ(StringToUTF8(calculator.Text()), c.Display) << c.Keys;
  }
}

TEST(Calculator, DivisionByZeroAndNegativeRootsKeepTheDisplay) {
  TCalculator calculator;
  Press(calculator, "5/0");
  EXPECT_EQ(calculator.Equal(), TCalcError::DivisionByZero);
  EXPECT_EQ(StringToUTF8(calculator.Text()), "0");
  TCalculator ratio;
  EXPECT_EQ(ratio.Ratio(), TCalcError::DivisionByZero);
  EXPECT_EQ(StringToUTF8(ratio.Text()), "0");
  TCalculator root;
  Press(root, "4s");
  EXPECT_EQ(root.Sqrt(), TCalcError::InvalidOperation);
  EXPECT_EQ(StringToUTF8(root.Text()), "-4");
}

TEST(Calculator, FormatMaskShapesResults) {
  TCalculator calculator;
  calculator.FormatMask = u"0.00";
  Press(calculator, "10/4=");
  EXPECT_EQ(StringToUTF8(calculator.Text()), "2.50");
  TCalculator plain;
  Press(plain, "10/4=");
  EXPECT_EQ(StringToUTF8(plain.Text()), "2.5");
}

TEST(Calculator, MemoryAndItsEmptyState) {
  TCalculator calculator;
  EXPECT_TRUE(calculator.IsMemoryEmpty());
  Press(calculator, "3sm");
  EXPECT_FALSE(calculator.IsMemoryEmpty());
  EXPECT_EQ(calculator.Memory(), -3);
  calculator.ClearMemory();
  EXPECT_TRUE(calculator.IsMemoryEmpty());
}

TEST(Calculator, TheDisplayIsReadThroughTheNumberCheck) {
  struct Case {
    const char16_t* Text;
    double Min, Max;
    double Expected;
  };
  const Case cases[] = {
      {u"12abc3", 0, 0, 123}, {u"12abc3", 0, 100, 100}, {u"1.5.2", 0, 0, 1.52}, {u"", 0, 0, 0},    {u"-", 0, 0, 0},
      {u"+", 0, 0, 0},        {u".", 0, 0, 0},          {u"-7", 0, 0, -7},      {u"-7", 0, 10, 0},  // the range starts
                                                                                                    // at 0 here
  };
  for (const Case& c : cases) {
    TCalculator calculator;
    calculator.Range = {c.Min, c.Max};
    calculator.SetText(c.Text);
    EXPECT_EQ(calculator.Value(), c.Expected) << StringToUTF8(String(c.Text));
  }
  TCalculator comma(u',');
  Press(comma, "1.5");
  EXPECT_EQ(StringToUTF8(comma.Text()), "1,5");
  EXPECT_EQ(comma.Value(), 1.5);
  Press(comma, "*2=");
  EXPECT_EQ(StringToUTF8(comma.Text()), "3");
}

TEST(Calculator, OpeningForgetsWhatWasPending) {
  TCalculator calculator;
  Press(calculator, "9-");
  calculator.ForgetPending();
  Press(calculator, "4=");
  EXPECT_EQ(StringToUTF8(calculator.Text()), "4");
  EXPECT_EQ(calculator.Operation(), cpNone);
}

}  // namespace
