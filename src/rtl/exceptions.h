// The exception classes of the run-time library. Every failure the system
// reports is one of these (or a class derived from them) carrying the text the
// user sees.
#pragma once

#include <exception>

#include "rtl/types.h"

class Exception : public std::exception {
 public:
  explicit Exception(String message, int helpContext = 0);
  ~Exception() override;

  const String& Message() const noexcept { return FMessage; }
  void SetMessage(String message);
  int HelpContext() const noexcept { return FHelpContext; }
  void SetHelpContext(int helpContext) noexcept { FHelpContext = helpContext; }

  // The message as UTF-8, for logs and test failure output.
  const char* what() const noexcept override { return FWhat.c_str(); }

 private:
  String FMessage;
  int FHelpContext = 0;
  UTF8String FWhat;
};

#define KST_DECLARE_EXCEPTION(Name, Base) \
  class Name : public Base {              \
   public:                                \
    using Base::Base;                     \
  }

// The silent abort: the application's handler shows nothing for it.
KST_DECLARE_EXCEPTION(EAbort, Exception);
KST_DECLARE_EXCEPTION(EConvertError, Exception);
KST_DECLARE_EXCEPTION(EOutOfMemory, Exception);
KST_DECLARE_EXCEPTION(EIntError, Exception);
KST_DECLARE_EXCEPTION(EIntOverflow, EIntError);
KST_DECLARE_EXCEPTION(ERangeError, EIntError);
KST_DECLARE_EXCEPTION(EMathError, Exception);
KST_DECLARE_EXCEPTION(EInvalidOp, EMathError);
KST_DECLARE_EXCEPTION(EOverflow, EMathError);
KST_DECLARE_EXCEPTION(EInvalidOperation, Exception);
KST_DECLARE_EXCEPTION(EInvalidPointer, Exception);
KST_DECLARE_EXCEPTION(EInvalidCast, Exception);
KST_DECLARE_EXCEPTION(ENotSupportedException, Exception);
KST_DECLARE_EXCEPTION(EOSError, Exception);
KST_DECLARE_EXCEPTION(EArgumentException, Exception);
// A caller broke a rule of a class's use (a failed assertion).
KST_DECLARE_EXCEPTION(EAssertionFailed, Exception);

KST_DECLARE_EXCEPTION(EListError, Exception);
KST_DECLARE_EXCEPTION(EStringListError, Exception);

KST_DECLARE_EXCEPTION(EStreamError, Exception);
KST_DECLARE_EXCEPTION(EFileStreamError, EStreamError);
KST_DECLARE_EXCEPTION(EFCreateError, EFileStreamError);
KST_DECLARE_EXCEPTION(EFOpenError, EFileStreamError);
KST_DECLARE_EXCEPTION(EFilerError, EStreamError);
KST_DECLARE_EXCEPTION(EReadError, EFilerError);
KST_DECLARE_EXCEPTION(EWriteError, EFilerError);
KST_DECLARE_EXCEPTION(EClassNotFound, EFilerError);
KST_DECLARE_EXCEPTION(EMethodNotFound, EFilerError);
KST_DECLARE_EXCEPTION(EInvalidImage, EFilerError);
KST_DECLARE_EXCEPTION(EResNotFound, Exception);
KST_DECLARE_EXCEPTION(EParserError, Exception);
KST_DECLARE_EXCEPTION(EComponentError, Exception);
KST_DECLARE_EXCEPTION(EPropertyError, Exception);
KST_DECLARE_EXCEPTION(EPropertyConvertError, Exception);

KST_DECLARE_EXCEPTION(EVariantError, Exception);
KST_DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError);
KST_DECLARE_EXCEPTION(EVariantOverflowError, EVariantError);
KST_DECLARE_EXCEPTION(EVariantInvalidOpError, EVariantError);

KST_DECLARE_EXCEPTION(EIniFileException, Exception);
