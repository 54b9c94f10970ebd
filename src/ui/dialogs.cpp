#include "ui/dialogs.h"

#include <algorithm>

#include "ui/stdctrls.h"

const TTypeInfo& DescribeType(TypeTag<TMsgDlgType>) {
  static const TEnumTypeInfo t(u"TMsgDlgType", u"Dialogs",
                               {u"mtWarning", u"mtError", u"mtInformation", u"mtConfirmation", u"mtCustom"});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TMsgDlgBtn>) {
  static const TEnumTypeInfo t(u"TMsgDlgBtn", u"Dialogs",
                               {u"mbYes", u"mbNo", u"mbOK", u"mbCancel", u"mbAbort", u"mbRetry", u"mbIgnore", u"mbAll",
                                u"mbNoToAll", u"mbYesToAll", u"mbHelp", u"mbClose"});
  return t;
}

namespace {

struct ButtonText {
  const char16_t* Name;
  const char16_t* Caption;
  TModalResult Result;
};

const ButtonText kButtons[] = {
    {u"Yes", u"&Yes", mrYes},
    {u"No", u"&No", mrNo},
    {u"OK", u"OK", mrOk},
    {u"Cancel", u"Cancel", mrCancel},
    {u"Abort", u"&Abort", mrAbort},
    {u"Retry", u"&Retry", mrRetry},
    {u"Ignore", u"&Ignore", mrIgnore},
    {u"All", u"&All", mrAll},
    {u"NoToAll", u"N&o to All", mrNoToAll},
    {u"YesToAll", u"Yes to &All", mrYesToAll},
    {u"Help", u"&Help", mrNone},
    {u"Close", u"&Close", mrClose},
};

TSize MeasureText(const TFont& font, const String& text, Integer maxWidth, UINT flags) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font.Handle());
  RECT r{0, 0, maxWidth, 0};
  String buffer = text.empty() ? String(u" ") : text;
  DrawTextW(dc, WStr(buffer), static_cast<int>(buffer.size()), &r, flags | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return {static_cast<Integer>(r.right - r.left), static_cast<Integer>(r.bottom - r.top)};
}

}  // namespace

String MessageDlgCaption(TMsgDlgType type) {
  switch (type) {
    case mtWarning: return u"Warning";
    case mtError: return u"Error";
    case mtInformation: return u"Information";
    case mtConfirmation: return u"Confirm";
    default: return Application ? Application->Title() : String();
  }
}

TModalResult ModalResultOf(TMsgDlgBtn button) {
  return kButtons[button].Result;
}

TFormPtr<TForm> CreateMessageDialog(const String& msg, TMsgDlgType type, TMsgDlgButtons buttons) {
  TFormPtr<TForm> form = MakeForm<TForm>(nullptr);
  form->SetBorderStyle(bsDialog);
  form->SetPosition(poScreenCenter);
  form->SetName(u"MessageDialog");
  form->SetCaption(MessageDlgCaption(type));

  LPCWSTR iconId = nullptr;
  switch (type) {
    case mtWarning: iconId = IDI_EXCLAMATION; break;
    case mtError: iconId = IDI_HAND; break;
    case mtInformation: iconId = IDI_ASTERISK; break;
    case mtConfirmation: iconId = IDI_QUESTION; break;
    default: break;
  }
  HICON icon = iconId ? LoadIconW(nullptr, iconId) : nullptr;
  const Integer margin = 12, spacing = 12, iconSize = icon ? 32 : 0, buttonHeight = 25, buttonGap = 6;

  Integer maxText = std::max(200, (Screen ? Screen->Width() : 800) / 2);
  TSize text = MeasureText(form->Font(), msg, maxText, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);

  auto* label = new TLabel(form.get());
  label->SetName(u"Message");
  label->SetAutoSize(false);
  label->SetWordWrap(true);
  label->SetShowAccelChar(false);
  label->SetParent(form.get());
  label->SetCaption(msg);
  Integer textLeft = margin + (icon ? iconSize + spacing : 0);
  label->SetBounds(textLeft, margin, text.cx, text.cy);

  std::vector<TButton*> created;
  Integer buttonWidth = 75;
  for (int i = 0; i <= mbClose; ++i) {
    if (!buttons.Contains(static_cast<TMsgDlgBtn>(i))) continue;
    buttonWidth = std::max(buttonWidth, MeasureText(form->Font(), kButtons[i].Caption, 0, DT_SINGLELINE).cx + 16);
  }
  TMsgDlgBtn defaultButton = buttons.Contains(mbOK) ? mbOK : buttons.Contains(mbYes) ? mbYes : mbRetry;
  TMsgDlgBtn cancelButton = buttons.Contains(mbCancel) ? mbCancel : buttons.Contains(mbNo) ? mbNo : mbOK;
  for (int i = 0; i <= mbClose; ++i) {
    auto kind = static_cast<TMsgDlgBtn>(i);
    if (!buttons.Contains(kind)) continue;
    auto* button = new TButton(form.get());
    button->SetName(kButtons[i].Name);
    button->SetParent(form.get());
    button->SetCaption(kButtons[i].Caption);
    button->SetModalResult(kButtons[i].Result);
    if (kind == defaultButton) button->SetDefault(true);
    if (kind == cancelButton) button->SetCancel(true);
    created.push_back(button);
  }
  Integer buttonsWidth = static_cast<Integer>(created.size()) * buttonWidth +
                         std::max<Integer>(0, static_cast<Integer>(created.size()) - 1) * buttonGap;
  Integer contentWidth = std::max(textLeft - margin + text.cx, buttonsWidth);
  Integer contentHeight = std::max(iconSize, text.cy);
  Integer clientWidth = contentWidth + 2 * margin;
  Integer buttonTop = margin + contentHeight + spacing;
  form->SetClientWidth(clientWidth);
  form->SetClientHeight(buttonTop + buttonHeight + margin);
  Integer x = (clientWidth - buttonsWidth) / 2;
  for (TButton* button : created) {
    button->SetBounds(x, buttonTop, buttonWidth, buttonHeight);
    x += buttonWidth + buttonGap;
  }
  if (icon) {
    TForm* raw = form.get();
    form->OnPaint = TNotifyEvent([raw, icon, margin](TObject*) {
      DrawIconEx(raw->Canvas().Handle(), margin, margin, icon, 32, 32, 0, nullptr, DI_NORMAL);
    });
  }
  return form;
}

TModalResult MessageDlg(const String& msg, TMsgDlgType type, TMsgDlgButtons buttons, Integer helpCtx) {
  if (Application && Application->MessageDlgHook)
    return Application->MessageDlgHook(TMessageDlgRequest{msg, type, buttons, helpCtx, MessageDlgCaption(type)});
  TFormPtr<TForm> dialog = CreateMessageDialog(msg, type, buttons);
  dialog->SetHelpContext(helpCtx);
  return dialog->ShowModal();
}

void ShowMessage(const String& msg) {
  MessageDlg(msg, mtCustom, {mbOK});
}
