// What the content export of the string tree needs of the system: the 8-bit
// code page, the user's list separator and measurement system, the values of
// system colours and the screen resolution. Injected, so that the exports are
// the same on every machine in tests.
#pragma once

#include "rtl/types.h"
#include "rtl/uitypes.h"

// Which nodes an export renders.
enum TLSTTextSourceType : std::uint8_t { tstAll, tstInitialized, tstSelected, tstCutCopySet, tstVisible, tstChecked };

// The kind of export the export events report.
enum TLTExportType : std::uint8_t { etRTF, etHTML, etText, etExcel, etWord, etCustom };

// The clipboard formats the string tree renders.
enum TLTClipboardContent : std::uint8_t {
  ccText,         // CF_TEXT
  ccUnicodeText,  // CF_UNICODETEXT
  ccCSV,          // "CSV"
  ccRichText,     // "Rich Text Format" and "Rich Text Format Without Objects"
  ccHTML,         // "HTML Format"
  ccOther         // anything else: nothing is rendered
};

class ILiveTreeExportServices {
 public:
  virtual ~ILiveTreeExportServices() = default;
  // Text in the system's 8-bit code page.
  virtual AnsiString ToAnsi(StringView text) = 0;
  // The locale's list separator (the CSV field separator).
  virtual Char ListSeparator() = 0;
  // Whether the user measures in the metric system.
  virtual bool MetricMeasurement() = 0;
  // A colour as 0x00BBGGRR with system colours resolved.
  virtual TColor ColorToRGB(TColor color) = 0;
  virtual Integer ScreenPixelsPerInch() = 0;
};

// The portable answers: the process's current code page, a comma, inches,
// the platform's classic system colours and 96 pixels per inch.
class TDefaultLiveTreeExportServices : public ILiveTreeExportServices {
 public:
  AnsiString ToAnsi(StringView text) override;
  Char ListSeparator() override { return u','; }
  bool MetricMeasurement() override { return false; }
  TColor ColorToRGB(TColor color) override;
  Integer ScreenPixelsPerInch() override { return 96; }
};
