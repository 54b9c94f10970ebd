object dlgType: TdlgType
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Save as'
  ClientHeight = 132
  ClientWidth = 236
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  PixelsPerInch = 96
  TextHeight = 13
  object rgType: TRadioGroup
    Left = 8
    Top = 8
    Width = 130
    Height = 113
    Caption = ' Type '
    ItemIndex = 0
    Items.Strings = (
      'Text'
      'Binary'
      'Resource')
    TabOrder = 0
  end
  object bOK: TButton
    Left = 150
    Top = 14
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 1
  end
  object bCancel: TButton
    Left = 150
    Top = 45
    Width = 75
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 2
  end
end
