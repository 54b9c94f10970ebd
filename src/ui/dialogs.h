// The platform's message dialog: a modal form with an icon, the message and
// a row of buttons.
#pragma once

#include "ui/forms.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp,
  mbClose
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

inline const TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

const TTypeInfo& DescribeType(TypeTag<TMsgDlgType>);
const TTypeInfo& DescribeType(TypeTag<TMsgDlgBtn>);

// What a message dialog is asked to show; the application's MessageDlgHook
// answers it instead of a person when set (tests).
struct TMessageDlgRequest {
  String Msg;
  TMsgDlgType DlgType = mtInformation;
  TMsgDlgButtons Buttons;
  Integer HelpCtx = 0;
  String Caption;
};

// The caption of a dialog type: "Warning", "Error", "Information",
// "Confirm", and the application's title for mtCustom.
String MessageDlgCaption(TMsgDlgType type);
// The modal result a button gives.
TModalResult ModalResultOf(TMsgDlgBtn button);

// The dialog form, not yet shown; the caller frees it.
TFormPtr<TForm> CreateMessageDialog(const String& msg, TMsgDlgType type, TMsgDlgButtons buttons);
// Shows the dialog and returns the modal result of the button chosen.
TModalResult MessageDlg(const String& msg, TMsgDlgType type, TMsgDlgButtons buttons, Integer helpCtx = 0);
void ShowMessage(const String& msg);
