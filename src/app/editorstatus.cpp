#include "app/editorstatus.h"

#include "rtl/format.h"
#include "rtl/sysstr.h"

String CaretStatusText(const TCaretStatus& status) {
  return Format(
      u"Col: %d  Ln: %d  Chr: %d(%xh)  Cnt: %d  Sel: %d",
      {status.Column, status.Line, status.CharCode, status.CharCode, status.LineCount, status.SelectionLength});
}

Integer CharCodeAt(StringView line, Integer column) {
  if (column < 1 || static_cast<size_t>(column) > line.size()) return 0;
  return line[static_cast<size_t>(column) - 1];
}

TMessageItem MessageItem(StringView line) {
  TMessageItem item;
  const size_t separator = line.find(u'=');
  if (separator == StringView::npos) return item;
  item.Caption = String(line.substr(separator + 1, 1024));
  const StringView kind = line.substr(0, separator);
  if (SameText(kind, u"ERROR"))
    item.ImageIndex = miError;
  else if (SameText(kind, u"WARN"))
    item.ImageIndex = miWarning;
  else if (SameText(kind, u"INFO"))
    item.ImageIndex = miInformation;
  return item;
}

String MessagesCaption(Integer count) {
  return Format(u"Messages (%d)", {count});
}

String HexDataText(const Byte* data, size_t count) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  constexpr size_t kBytesPerLine = 32;
  String text;
  text.reserve(count * 2 + (count / kBytesPerLine + 2) * 2);
  for (size_t i = 0; i < count; ++i) {
    text += kDigits[data[i] >> 4];
    text += kDigits[data[i] & 15];
    if ((i + 1) % kBytesPerLine == 0 || i + 1 == count) text += u"\r\n";
  }
  text += u"\r\n";
  return text;
}
