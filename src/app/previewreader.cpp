#include "app/previewreader.h"

#include "classes/reader.h"
#include "formfile/formresource.h"
#include "rtl/encoding.h"
#include "rtl/streams.h"

namespace {

// The first line that has the word at its third character (a property of the root).
Integer RootPropertyLine(const TStrings& lines, StringView name) {
  for (Integer i = 0; i < lines.Count(); ++i)
    if (lines[i].find(name) == 2) return i;
  return -1;
}

}  // namespace

void AdjustPreviewText(TStrings& lines) {
  if (Integer line = RootPropertyLine(lines, u"ActiveControl"); line >= 0) lines.Delete(line);
  if (Integer line = RootPropertyLine(lines, u"FormStyle"); line >= 0) lines.Put(line, u"FormStyle = fsNormal");
  if (Integer line = RootPropertyLine(lines, u"BorderStyle"); line >= 0) lines.Put(line, u"BorderStyle = bsSizeable");
}

void ReadPreview(const TStrings& formText, TComponent& root, const TClassRegistry& registry, TStrings& errors) {
  try {
    TBytes text = TEncoding::UTF8()->GetPreamble();
    const TBytes body = TEncoding::UTF8()->GetBytes(formText.Text());
    text.insert(text.end(), body.begin(), body.end());
    TBytesStream textStream(std::move(text));
    TBytesStream wrapped;
    FormTextToResource(textStream, wrapped);
    wrapped.SetPosition(0);
    ReadResHeader(wrapped);
    TComponentReader reader(wrapped, registry, 4096);
    reader.OnError = [&errors](TComponentReader&, const String& message, bool& handled) {
      errors.Add(u"ERROR=" + message);
      handled = true;
    };
    // Handlers of the designed form never run in the preview.
    reader.OnFindMethod = [](TComponentReader&, const String&, std::any& method, bool& error) {
      method.reset();
      error = false;
    };
    reader.ReadRootComponent(&root);
  } catch (const Exception& e) {
    errors.Add(u"ERROR=Reader: " + e.Message());
  }
}
