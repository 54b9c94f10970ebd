object CollectionKitForm: TCollectionKitForm
  Left = 240
  Top = 160
  Caption = 'Collection controls'
  ClientHeight = 410
  ClientWidth = 560
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
  object Option: TPxOptionButton
    Left = 8
    Top = 8
    Width = 260
    Height = 64
    Caption = 'Open a form file'
    InnerMargins.Left = 6
    InnerMargins.Top = 6
    InnerMargins.Right = 6
    InnerMargins.Bottom = 6
    TabOrder = 0
    Text = 'Reads a text or binary form file and shows it in a new page.'
    TextSpacing = 4
    Transparent = True
    OnClick = OptionClick
  end
  object Disabled: TPxOptionButton
    Left = 8
    Top = 80
    Width = 260
    Height = 64
    Caption = 'Nothing to save'
    Enabled = False
    FixedMargin = True
    GlyphIndent = 7
    TabOrder = 1
    Text = 'Every page is saved.'
    WrapKind = wkEllipsis
  end
  object Progress: TPxProgressBar
    Left = 8
    Top = 152
    Width = 260
    Height = 24
    Orientation = pbVertical
    Step = 25
    TabOrder = 2
  end
  object Details: TPxExpandPanel
    Left = 290
    Top = 8
    Width = 260
    Height = 180
    CollapsedText = 'Show details'
    ExpandedText = 'Hide details'
    InnerMargins.Left = 8
    InnerMargins.Right = 8
    ResizeForm = True
    TabOrder = 3
    OnCollapse = DetailsCollapse
    OnExpand = DetailsExpand
    FullHeight = 180
    object DetailsBody: TPanel
      Left = 8
      Top = 39
      Width = 244
      Height = 141
      Align = alClient
      Caption = 'Details'
      TabOrder = 0
    end
  end
  object Folded: TPxExpandPanel
    Left = 290
    Top = 200
    Width = 260
    Height = 39
    CollapsedText = 'More'
    Expanded = False
    TabOrder = 4
    FullHeight = 120
    object FoldedBody: TPanel
      Left = 0
      Top = 39
      Width = 260
      Height = 81
      Align = alClient
      TabOrder = 0
      Visible = False
    end
  end
  object Group: TPxGroupHeader
    Left = 8
    Top = 190
    Width = 260
    Height = 22
    Caption = 'Form files & pages'
  end
  object Info: TPxInfoPanel
    Left = 8
    Top = 220
    Width = 260
    Height = 80
    Caption = 'Tip'
    ColorScheme = csBlue
    InnerMargins.Left = 6
    InnerMargins.Top = 6
    InnerMargins.Right = 6
    InnerMargins.Bottom = 6
    Options = [ipBorder]
    Spacing = 4
    Text = 'Drop a form file on the window to open it.'
    WrapKind = wkWordWrap
  end
  object HtmlInfo: TPxInfoPanel
    Left = 8
    Top = 308
    Width = 260
    Height = 60
    BorderColor = 12615680
    Caption = 'Static'
    InnerMargins.Left = 4
    InnerMargins.Top = 4
    Options = [ipBorder, ipStaticPanel, ipHtmlText]
    OuterMargins.Left = 2
    OuterMargins.Top = 2
    OuterMargins.Right = 2
    OuterMargins.Bottom = 2
    Text = 'Press <b>F9</b> to <i>preview</i> the form.'
  end
  object Icons: TPxIconList
    Left = 290
    Top = 250
    Width = 210
    Height = 110
    ItemIndex = 3
    Items.Strings = (
      'Forms'
      'Units'
      'Pages'
      'Trees')
    Spacing = 20
    TabOrder = 5
    OnChange = IconsChange
  end
  object Tools: TPxToolbar
    Left = 8
    Top = 370
    Width = 250
    Height = 31
    object ToolOpen: TTestToolItem
      Caption = 'Open'
      ItemWidth = 40
      OnClick = ToolClick
    end
    object ToolSave: TTestToolItem
      Caption = 'Save'
      ItemWidth = 30
      OnClick = ToolClick
    end
    object ToolHelp: TTestToolItem
      Caption = 'Help'
      ItemWidth = 50
      Position = tipRight
      OnClick = ToolClick
    end
  end
  object Path: TPxPathControl
    Left = 290
    Top = 375
    Width = 260
    Height = 21
    ButtonStyle = bsOffice2007
    TabOrder = 7
    OnSelect = PathSelect
  end
end
