#include "rtl/exceptions.h"

#include <utility>

#include "rtl/unicode.h"

Exception::Exception(String message, int helpContext)
    : FMessage(std::move(message)), FHelpContext(helpContext), FWhat(StringToUTF8(FMessage)) {}

Exception::~Exception() = default;

void Exception::SetMessage(String message) {
  FMessage = std::move(message);
  FWhat = StringToUTF8(FMessage);
}
