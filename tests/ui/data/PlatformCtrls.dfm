object PlatformCtrlsForm: TForm
  Left = 0
  Top = 0
  Caption = 'More platform controls'
  ClientHeight = 420
  ClientWidth = 640
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  OldCreateOrder = False
  PixelsPerInch = 96
  TextHeight = 13
  object Header: THeaderControl
    Left = 0
    Top = 0
    Width = 640
    Height = 17
    Sections = <
      item
        ImageIndex = -1
        Text = 'Name'
        Width = 120
      end
      item
        Alignment = taRightJustify
        ImageIndex = -1
        Text = 'Size'
        Width = 80
      end>
    OnSectionClick = HeaderSectionClick
  end
  object OldHeader: THeader
    Left = 8
    Top = 24
    Width = 250
    Height = 20
    Sections.Strings = (
      'First'
      'Second')
    TabOrder = 0
  end
  object Bar: TScrollBar
    Left = 8
    Top = 52
    Width = 250
    Height = 17
    LargeChange = 10
    Max = 200
    PageSize = 0
    Position = 50
    TabOrder = 1
    OnChange = BarChange
  end
  object Upright: TScrollBar
    Left = 264
    Top = 24
    Width = 17
    Height = 100
    Kind = sbVertical
    PageSize = 0
    TabOrder = 2
  end
  object Spin: TSpinButton
    Left = 290
    Top = 24
    Width = 20
    Height = 25
    FocusControl = Named
    TabOrder = 3
  end
  object Arrows: TScroller
    Left = 290
    Top = 56
    Width = 35
    Height = 17
    Max = 5
    Position = 2
  end
  object Colors: TColorBox
    Left = 8
    Top = 80
    Width = 145
    Height = 22
    Selected = clRed
    Style = [cbStandardColors, cbPrettyNames]
    TabOrder = 4
  end
  object ColorList: TColorListBox
    Left = 160
    Top = 80
    Width = 97
    Height = 97
    Selected = clBlue
    Style = [cbStandardColors, cbIncludeNone]
    ItemHeight = 16
    TabOrder = 5
  end
  object Palette: TColorGrid
    Left = 340
    Top = 24
    Width = 100
    Height = 100
    BackgroundIndex = 15
    ForegroundIndex = 9
    TabOrder = 6
  end
  object Named: TLabeledEdit
    Left = 8
    Top = 130
    Width = 121
    Height = 21
    EditLabel.Width = 55
    EditLabel.Height = 13
    EditLabel.Caption = 'Your name'
    TabOrder = 7
    Text = 'Ada'
  end
  object Grid: TGridPanel
    Left = 8
    Top = 190
    Width = 300
    Height = 100
    Caption = 'Grid'
    ColumnCollection = <
      item
        SizeStyle = ssAbsolute
        Value = 100.000000000000000000
      end
      item
        Value = 100.000000000000000000
      end>
    ControlCollection = <
      item
        Column = 1
        Control = GridButton
        Row = 1
      end
      item
        Column = 0
        Control = GridEdit
        Row = 0
      end>
    RowCollection = <
      item
        Value = 50.000000000000000000
      end
      item
        Value = 50.000000000000000000
      end>
    TabOrder = 8
    object GridButton: TButton
      Left = 150
      Top = 63
      Width = 75
      Height = 25
      Anchors = []
      Caption = 'Centre'
      TabOrder = 0
    end
    object GridEdit: TEdit
      Left = 1
      Top = 1
      Width = 99
      Height = 21
      TabOrder = 1
    end
  end
  object Flow: TFlowPanel
    Left = 320
    Top = 190
    Width = 160
    Height = 100
    TabOrder = 9
    object FlowA: TPanel
      Left = 1
      Top = 1
      Width = 70
      Height = 30
      Color = clRed
      ParentBackground = False
      TabOrder = 0
    end
    object FlowB: TPanel
      Left = 71
      Top = 1
      Width = 70
      Height = 30
      Color = clLime
      ParentBackground = False
      TabOrder = 1
    end
    object FlowC: TPanel
      Left = 1
      Top = 31
      Width = 70
      Height = 30
      Color = clBlue
      ParentBackground = False
      TabOrder = 2
    end
  end
  object Categories: TCategoryPanelGroup
    Left = 490
    Top = 24
    Width = 150
    Height = 300
    VertScrollBar.Tracking = True
    HeaderFont.Charset = DEFAULT_CHARSET
    HeaderFont.Color = clWindowText
    HeaderFont.Height = -11
    HeaderFont.Name = 'Tahoma'
    HeaderFont.Style = []
    TabOrder = 10
    object FoldedPanel: TCategoryPanel
      Top = 100
      Height = 100
      Caption = 'Folded'
      Collapsed = True
      TabOrder = 1
    end
    object OpenPanel: TCategoryPanel
      Top = 0
      Height = 100
      Caption = 'Open'
      TabOrder = 0
      object InPanel: TCheckBox
        Left = 8
        Top = 8
        Width = 97
        Height = 17
        Caption = 'Inside'
        TabOrder = 0
      end
    end
  end
  object Pager: TPageScroller
    Left = 8
    Top = 300
    Width = 200
    Height = 30
    Control = PagedButton
    TabOrder = 11
    object PagedButton: TButton
      Left = 0
      Top = 0
      Width = 300
      Height = 30
      Caption = 'Wide'
      TabOrder = 0
    end
  end
end
