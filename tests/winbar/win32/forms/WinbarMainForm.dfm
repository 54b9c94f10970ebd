object WinbarMainForm: TWinbarMainForm
  Left = 10
  Top = 10
  Caption = 'Kestrum'
  ClientHeight = 360
  ClientWidth = 600
  Color = clBtnFace
  FormStyle = fsMDIForm
  Position = poDesigned
  PixelsPerInch = 96
  TextHeight = 13
  object mdibg: TMDIButtonGroup
    Left = 0
    Top = 0
    Width = 600
    Height = 6
    Align = alTop
    BevelEdges = [beTop, beBottom]
    BevelKind = bkTile
    BorderStyle = bsNone
    ButtonHeight = 22
    ButtonWidth = 150
    ButtonOptions = [gboAllowReorder, gboGroupStyle, gboShowCaptions]
    Cursor = crHandPoint
    Items = <>
    ShowHint = True
    TabOrder = 0
    AutoSize = True
    GlassButtonStyle = True
    Color = clBtnFace
    EdgeButtonColor = clMedGray
    HotButtonColor = 15717318
    RegularButtonColor = clBtnFace
    SelectedButtonColor = clYellow
    TextIndent = 5
    WordWrap = False
  end
  object tabs: TMDITab
    Left = 0
    Top = 6
    Width = 600
    Height = 24
    Align = alTop
    ShowOnChange = True
    Style = tsFlatButtons
    HotTrack = True
    TabOrder = 1
  end
end
