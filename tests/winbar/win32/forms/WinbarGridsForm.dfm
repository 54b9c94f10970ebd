object WinbarGridsForm: TWinbarGridsForm
  Left = 20
  Top = 20
  Caption = 'Calendars and thumbnails'
  ClientHeight = 560
  ClientWidth = 760
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  Position = poDesigned
  PixelsPerInch = 96
  TextHeight = 13
  object Calendar: TMCalendar
    Left = 8
    Top = 8
    Width = 420
    Height = 300
    DateFont.Charset = DEFAULT_CHARSET
    DateFont.Color = clWindowText
    DateFont.Height = -11
    DateFont.Name = 'Tahoma'
    DateFont.Style = []
    DrawingStyle = gdsGradient
    GradientEndColor = clBtnFace
    GradientStartColor = clWhite
    Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goDrawFocusSelected]
    TabOrder = 0
    CellInnerBorder = True
    ExtraColumn = True
    ExtraColumnCaption = 'Notes'
    StartOfWeek = 0
  end
  object WeekView: TMWeekView
    Left = 8
    Top = 320
    Width = 560
    Height = 90
    DateFont.Charset = DEFAULT_CHARSET
    DateFont.Color = clWindowText
    DateFont.Height = -11
    DateFont.Name = 'Tahoma'
    DateFont.Style = []
    GradientEndColor = clBtnFace
    GradientStartColor = clWhite
    Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goDrawFocusSelected]
    TabOrder = 1
    LongDayNames = True
  end
  object DrawGrid: TMDrawGrid
    Left = 440
    Top = 8
    Width = 310
    Height = 120
    ColCount = 4
    DefaultColWidth = 70
    DefaultRowHeight = 22
    DrawingStyle = gdsGradient
    GradientEndColor = clBtnFace
    GradientStartColor = clWhite
    HighlightColor = clAqua
    RowCount = 4
    ScrollBars = ssNone
    TabOrder = 2
  end
  object Thumb: TImageThumbnail
    Left = 440
    Top = 140
    Width = 104
    Height = 122
    Caption = 'Sea & sky'
    Checkbox = True
    Selected = True
    SelectedColor = 15780518
    TabOrder = 3
    ThumbnailSize = 100
  end
  object Plain: TThumbnail
    Left = 560
    Top = 140
    Width = 104
    Height = 60
    BorderColor = clNavy
    Caption = 'Plain thumbnail'
    Index = 7
    OnMouseColor = 12632256
    TabOrder = 4
  end
  object Box: TWheelScrollBox
    Left = 580
    Top = 320
    Width = 170
    Height = 200
    VertScrollBar.Increment = 20
    TabOrder = 5
    object Tall: TPanel
      Left = 0
      Top = 0
      Width = 140
      Height = 600
      Caption = 'Tall panel'
      Color = clSkyBlue
      ParentBackground = False
      TabOrder = 0
    end
  end
end
