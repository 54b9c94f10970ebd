object DialogForm: TDialogForm
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Question'
  ClientHeight = 100
  ClientWidth = 250
  Color = clBtnFace
  Position = poScreenCenter
  KeyPreview = True
  OnKeyDown = FormKeyDown
  PixelsPerInch = 96
  TextHeight = 13
  object ButtonOK: TButton
    Left = 40
    Top = 60
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 0
  end
  object ButtonCancel: TButton
    Left = 135
    Top = 60
    Width = 75
    Height = 25
    Caption = 'Cancel'
    Cancel = True
    ModalResult = 2
    TabOrder = 1
  end
end
