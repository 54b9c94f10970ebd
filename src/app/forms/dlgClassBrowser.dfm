object dlgClassBrowser: TdlgClassBrowser
  Left = 0
  Top = 0
  Caption = 'Class Browser'
  ClientHeight = 480
  ClientWidth = 360
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  OldCreateOrder = False
  Position = poDefault
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object eSearch: TEdit
    Left = 0
    Top = 0
    Width = 360
    Height = 21
    Align = alTop
    TabOrder = 0
    OnChange = eSearchChange
  end
  object CBTree: TTreeView
    Left = 0
    Top = 21
    Width = 360
    Height = 459
    Align = alClient
    Color = 16579836
    HideSelection = False
    Indent = 19
    ReadOnly = True
    RowSelect = True
    TabOrder = 1
  end
end
