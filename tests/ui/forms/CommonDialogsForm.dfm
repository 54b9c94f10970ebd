object CommonDialogsForm: TCommonDialogsForm
  Left = 0
  Top = 0
  Caption = 'Dialogs'
  ClientHeight = 120
  ClientWidth = 240
  Color = clBtnFace
  PixelsPerInch = 96
  TextHeight = 13
  object od: TOpenDialog
    Filter = 'Delphi Form files|*.dfm|All files|*.*'
    Options = [ofHideReadOnly, ofAllowMultiSelect, ofPathMustExist, ofFileMustExist, ofEnableSizing]
    Left = 8
    Top = 16
  end
  object sd: TSaveDialog
    DefaultExt = 'dfm'
    Filter = 'Delphi Form files|*.dfm|All files|*.*'
    Options = [ofOverwritePrompt, ofHideReadOnly, ofEnableSizing]
    Left = 40
    Top = 16
  end
  object rd: TReplaceDialog
    Options = [frDown, frMatchCase]
    OnFind = rdFind
    OnReplace = rdReplace
    Left = 72
    Top = 16
  end
  object fd: TFontDialog
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'Courier New'
    Font.Style = [fsBold]
    Left = 104
    Top = 16
  end
  object cd: TColorDialog
    Color = clRed
    CustomColors.Strings = (
      'ColorA=0000FF'
      'ColorB=00FF00')
    Left = 136
    Top = 16
  end
  object pd: TPrintDialog
    Copies = 2
    Options = [poPageNums, poSelection]
    Left = 168
    Top = 16
  end
end
