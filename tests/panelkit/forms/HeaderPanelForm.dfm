object HeaderPanelForm: THeaderPanelForm
  Left = 220
  Top = 140
  Caption = 'Header panels'
  ClientHeight = 300
  ClientWidth = 520
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  OldCreateOrder = False
  Position = poDesigned
  PixelsPerInch = 96
  TextHeight = 13
  object Inspector: TPxHeaderPanel
    Left = 0
    Top = 0
    Width = 200
    Height = 300
    Align = alLeft
    ColorScheme = csSilver2010
    HeaderColor = 15590617
    HeaderSize = 20
    Options = []
    TabOrder = 0
    Caption = 'Object Inspector'
    FullWidth = 200
    object InspectorBody: TPanel
      Left = 0
      Top = 20
      Width = 198
      Height = 278
      Align = alClient
      BevelOuter = bvNone
      TabOrder = 0
    end
  end
  object Browser: TPxHeaderPanel
    Left = 487
    Top = 0
    Width = 33
    Height = 300
    Align = alRight
    ColorScheme = csSilver2010
    Expanded = False
    HeaderColor = 15590617
    HeaderSize = 20
    Options = [hoClickOnBodyExpand, hoCollapseButton]
    TabOrder = 1
    OnChange = BrowserChange
    OnCollapse = BrowserCollapse
    OnExpand = BrowserExpand
    OnHeaderClick = BrowserHeaderClick
    Caption = 'Class Browser'
    FullWidth = 312
  end
end
