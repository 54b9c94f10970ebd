object GridsForm: TGridsForm
  Left = 60
  Top = 60
  Caption = 'Grids'
  ClientHeight = 260
  ClientWidth = 560
  Color = clBtnFace
  Position = poDesigned
  PixelsPerInch = 96
  TextHeight = 13
  object Grid: TStringGrid
    Left = 8
    Top = 8
    Width = 300
    Height = 140
    ColCount = 4
    DefaultColWidth = 70
    DefaultRowHeight = 20
    FixedColor = clSkyBlue
    RowCount = 5
    Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goColSizing]
    ScrollBars = ssNone
    TabOrder = 0
    OnDrawCell = GridDrawCell
    OnSelectCell = GridSelectCell
  end
  object Values: TValueListEditor
    Left = 320
    Top = 8
    Width = 230
    Height = 100
    Strings.Strings = (
      'Name=Kestrum'
      'Kind=Editor')
    TabOrder = 1
    TitleCaptions.Strings = (
      'Key'
      'Value')
    ColWidths = (
      80
      144)
  end
  object Owned: TDrawGrid
    Left = 8
    Top = 160
    Width = 300
    Height = 90
    ColCount = 3
    DefaultRowHeight = 18
    FixedCols = 0
    RowCount = 3
    DrawingStyle = gdsClassic
    TabOrder = 2
  end
end
