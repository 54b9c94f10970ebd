// Form resources as text.
#include <cstring>

#include "formfile/formconvert.h"
#include "pe/imageparsers.h"
#include "pe/pereader.h"

TResourceRawStream::TResourceRawStream(const TResourceItem& item) {
  // The class library's memory stream writes nothing into memory it does not own.
  if (item.RawDataAddress) SetPointer(const_cast<Byte*>(item.RawDataAddress), item.RawDataSize);
}

void FormResourceToStrings(const TResourceItem& item, TStrings& lines) {
  lines.Clear();
  TResourceRawStream data(item);
  Byte signature[4] = {};
  if (data.Read(signature, 4) != 4 || std::memcmp(signature, "TPF0", 4) != 0) return;
  data.SetPosition(0);
  TMemoryStream text;
  FormBinaryToText(data, text);
  text.SetPosition(0);
  lines.LoadFromStream(text);
}

void TPEReader::GetFormSource(int index, TStrings& lines) const {
  const String& name = Forms(index);
  if (const TResourceItem* item = peimage::FindResource(FRD, 10, name)) FormResourceToStrings(*item, lines);
}
