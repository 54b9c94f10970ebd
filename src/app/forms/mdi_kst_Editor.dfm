object mdi_kst_Editor: Tmdi_kst_Editor
  Left = 0
  Top = 0
  Caption = 'Untitled'
  ClientHeight = 480
  ClientWidth = 760
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  FormStyle = fsMDIChild
  Menu = MainMenu
  OldCreateOrder = False
  Position = poDefault
  Visible = True
  WindowState = wsMaximized
  OnActivate = FormActivate
  OnClose = FormClose
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object Splitter1: TSplitter
    Left = 250
    Top = 0
    Height = 461
  end
  object Splitter2: TSplitter
    Left = 483
    Top = 0
    Height = 461
    Align = alRight
  end
  object ESplitter: TSplitter
    Left = 0
    Top = 358
    Width = 760
    Height = 3
    Cursor = crVSplit
    Align = alBottom
    Visible = False
  end
  object TreePanel: TPanel
    Left = 0
    Top = 0
    Width = 250
    Height = 358
    Align = alLeft
    BevelOuter = bvNone
    TabOrder = 0
    object Tree: TLiveStringTree
      Left = 0
      Top = 0
      Width = 250
      Height = 358
      Align = alClient
      Header.AutoSizeIndex = 0
      Header.Font.Charset = DEFAULT_CHARSET
      Header.Font.Color = clWindowText
      Header.Font.Height = -11
      Header.Font.Name = 'Tahoma'
      Header.Font.Style = []
      Header.Height = 18
      Header.Options = [hoAutoResize, hoColumnResize, hoVisible]
      Images = img
      IncrementalSearch = isAll
      Indent = 19
      PopupMenu = TreeMenu
      TabOrder = 0
      TreeOptions.MiscOptions = [toFullRepaintOnResize, toWheelPanning]
      TreeOptions.PaintOptions = [toShowButtons, toShowDropmark, toShowRoot, toShowTreeLines, toThemeAware]
      TreeOptions.SelectionOptions = [toFullRowSelect, toRightClickSelect]
      OnDblClick = cmGoto
      OnFocusChanged = TreeFocusChanged
      OnGetText = TreeGetText
      OnGetImageIndex = TreeGetImageIndex
      OnIncrementalSearch = TreeIncrementalSearch
      Columns = <
        item
          Position = 0
          Width = 146
          WideText = 'Object name'
        end
        item
          Position = 1
          Width = 100
          WideText = 'Class Name'
        end>
    end
  end
  object OIPanel: TPxHeaderPanel
    Left = 486
    Top = 0
    Width = 274
    Height = 358
    Align = alRight
    ColorScheme = csSilver2010
    HeaderSize = 20
    Options = []
    TabOrder = 2
    Caption = 'No object selected'
    FullWidth = 274
    object pcOI: TPxPageControl
      Left = 0
      Top = 20
      Width = 272
      Height = 336
      ActivePage = TabSheet3
      ActivePageIndex = 0
      Align = alClient
      Options = [pgBoldActiveTab, pgScrollButtons]
      TabHeight = 17
      TabOrder = 0
      object TabSheet3: TPxTabSheet
        Left = 0
        Top = 0
        Width = 272
        Height = 315
        Caption = 'Properties'
        object OIPTree: TLiveStringTree
          Left = 0
          Top = 0
          Width = 272
          Height = 315
          Align = alClient
          Color = 15400959
          DefaultNodeHeight = 16
          Header.AutoSizeIndex = 2
          Header.Height = 18
          Header.Options = [hoColumnResize, hoHotTrack, hoShowSortGlyphs, hoVisible]
          Indent = 10
          TabOrder = 0
          TextMargin = 0
          TreeOptions.MiscOptions = [toFullRepaintOnResize]
          TreeOptions.PaintOptions = [toShowButtons, toShowRoot, toShowHorzGridLines, toShowVertGridLines, toThemeAware]
          TreeOptions.SelectionOptions = [toFullRowSelect]
          OnCompareNodes = OITreeCompareNodes
          OnGetText = OITreeGetText
          OnPaintText = OITreePaintText
          OnDblClick = OIPTreeDblClick
          OnFocusChanged = OIPTreeFocusChanged
          Columns = <
            item
              Position = 0
              Width = 120
              WideText = 'Name'
            end
            item
              Position = 1
              Width = 75
              WideText = 'Type'
            end
            item
              Position = 2
              Width = 73
              WideText = 'Value'
            end>
        end
      end
      object TabSheet4: TPxTabSheet
        Left = 0
        Top = 0
        Width = 272
        Height = 315
        Caption = 'Events'
        object OIETree: TLiveStringTree
          Left = 0
          Top = 0
          Width = 272
          Height = 315
          Align = alClient
          Color = 15400959
          DefaultNodeHeight = 16
          Header.AutoSizeIndex = 2
          Header.Height = 18
          Header.Options = [hoColumnResize, hoHotTrack, hoShowSortGlyphs, hoVisible]
          Indent = 10
          TabOrder = 0
          TextMargin = 0
          TreeOptions.MiscOptions = [toFullRepaintOnResize]
          TreeOptions.PaintOptions = [toShowButtons, toShowRoot, toShowHorzGridLines, toShowVertGridLines, toThemeAware]
          TreeOptions.SelectionOptions = [toFullRowSelect]
          OnCompareNodes = OITreeCompareNodes
          OnGetText = OITreeGetText
          OnPaintText = OITreePaintText
          Columns = <
            item
              Position = 0
              Width = 150
              WideText = 'Name'
            end
            item
              Position = 1
              Width = 75
              WideText = 'Type'
            end
            item
              Position = 2
              Width = 43
              WideText = 'Value'
            end>
        end
      end
      object PxTabSheet3: TPxTabSheet
        Left = 0
        Top = 0
        Width = 272
        Height = 315
        Caption = 'Origin'
        object HTree: TLiveStringTree
          Left = 0
          Top = 0
          Width = 272
          Height = 315
          Align = alClient
          ButtonStyle = bsTriangle
          Color = clBtnFace
          Header.Options = [hoAutoResize]
          Images = img
          TabOrder = 0
          TreeOptions.MiscOptions = [toFullRepaintOnResize]
          TreeOptions.PaintOptions = [toShowButtons, toShowTreeLines, toThemeAware]
          OnDblClick = HTreeDblClick
          OnGetText = HTreeGetText
          OnPaintText = HTreePaintText
        end
      end
      object TabSheet5: TPxTabSheet
        Left = 0
        Top = 0
        Width = 272
        Height = 315
        Caption = 'Image Preview'
        TabVisible = False
        object ImagePanel: TPanel
          Left = 0
          Top = 0
          Width = 272
          Height = 315
          Align = alClient
          BevelOuter = bvNone
          TabOrder = 0
          object PropTitle: TPanel
            Left = 0
            Top = 0
            Width = 272
            Height = 20
            Align = alTop
            Caption = 'No image'
            TabOrder = 0
          end
          object ImageTitle: TPanel
            Left = 0
            Top = 295
            Width = 272
            Height = 20
            Align = alBottom
            Caption = 'No image'
            TabOrder = 1
          end
          object ScrollBox1: TScrollBox
            Left = 0
            Top = 20
            Width = 272
            Height = 275
            Align = alClient
            TabOrder = 2
            object Image: TImage
              Left = 0
              Top = 0
              Width = 105
              Height = 105
              Hint = 'Double-click to image to change stretch mode'
              ParentShowHint = False
              PopupMenu = ImageMenu
              ShowHint = True
              OnDblClick = ImageDblClick
            end
          end
        end
      end
    end
  end
  object EditorPanel: TPanel
    Left = 253
    Top = 0
    Width = 230
    Height = 358
    Align = alClient
    BevelOuter = bvNone
    TabOrder = 1
    object pc: TPxPageControl
      Left = 0
      Top = 0
      Width = 230
      Height = 358
      ActivePage = PxTabSheet1
      ActivePageIndex = 0
      Align = alClient
      Options = [pgBoldActiveTab]
      TabHeight = 17
      TabPosition = tpBottom
      TabOrder = 0
      OnChange = pcChange
      object PxTabSheet1: TPxTabSheet
        Left = 0
        Top = 0
        Width = 230
        Height = 341
        Caption = 'Source'
        object DFM: TCodeEdit
          Left = 0
          Top = 0
          Width = 230
          Height = 341
          Align = alClient
          ActiveLineColor = clYellow
          Color = clWhite
          Font.Charset = DEFAULT_CHARSET
          Font.Color = clWindowText
          Font.Height = -11
          Font.Name = 'Courier New'
          Font.Style = []
          PopupMenu = EditMenu
          TabOrder = 0
          Gutter.AutoSize = True
          Gutter.Font.Charset = DEFAULT_CHARSET
          Gutter.Font.Color = clGray
          Gutter.Font.Height = -11
          Gutter.Font.Name = 'Consolas'
          Gutter.Font.Style = []
          Gutter.LeftOffset = 5
          Gutter.ShowLineNumbers = True
          Gutter.Gradient = True
          MaxUndo = 10
          RemovedKeystrokes = <
            item
              Command = ecDeleteLastChar
              ShortCut = 8200
            end
            item
              Command = ecLineBreak
              ShortCut = 8205
            end
            item
              Command = ecTab
              ShortCut = 9
            end
            item
              Command = ecShiftTab
              ShortCut = 8201
            end
            item
              Command = ecContextHelp
              ShortCut = 112
            end
            item
              Command = ecMatchBracket
              ShortCut = 24642
            end>
          AddedKeystrokes = <>
          OnChange = DFMChange
          OnStatusChange = DFMStatusChange
        end
      end
      object PxTabSheet2: TPxTabSheet
        Left = 0
        Top = 0
        Width = 230
        Height = 341
        Caption = 'Preview'
        object PreviewPanel: TPanel
          Left = 0
          Top = 0
          Width = 230
          Height = 341
          Align = alClient
          BevelOuter = bvNone
          TabOrder = 0
          object VirtualDesktop: TScrollBox
            Left = 0
            Top = 0
            Width = 230
            Height = 341
            Align = alClient
            BorderStyle = bsNone
            Color = clBackground
            ParentColor = False
            TabOrder = 0
            OnDblClick = ObjectEnter
            OnMouseMove = ObjectMouseMove
          end
        end
      end
    end
  end
  object EList: TListView
    Left = 0
    Top = 361
    Width = 760
    Height = 100
    Align = alBottom
    Color = clInfoBk
    Columns = <
      item
        Caption = 'Messages'
        Width = 500
      end>
    ReadOnly = True
    RowSelect = True
    SmallImages = img
    TabOrder = 3
    ViewStyle = vsReport
    Visible = False
  end
  object sb: TStatusBar
    Left = 0
    Top = 461
    Width = 760
    Height = 19
    Panels = <
      item
        Text = 'Object count: 0'
        Width = 100
      end
      item
        Width = 300
      end
      item
        Alignment = taCenter
        Width = 50
      end
      item
        Alignment = taCenter
        Text = 'Overwrite'
        Width = 60
      end
      item
        Width = 50
      end>
  end
  object MainMenu: TMainMenu
    Left = 280
    Top = 48
    object mmEdit: TMenuItem
      Caption = '&Edit'
      GroupIndex = 2
      object mmUndo: TMenuItem
        Caption = '&Undo'
        ShortCut = 32776
        OnClick = cmUndo
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object mmCopy: TMenuItem
        Caption = 'Copy'
        OnClick = cmCopy
      end
      object mmCut: TMenuItem
        Caption = 'Cut'
        OnClick = cmCut
      end
      object mmPaste: TMenuItem
        Caption = 'Paste'
        OnClick = cmPaste
      end
      object N2: TMenuItem
        Caption = '-'
      end
      object mmReplace: TMenuItem
        Caption = '&Find and Replace...'
        ShortCut = 16454
        OnClick = cmReplace
      end
      object mmFindNext: TMenuItem
        Caption = 'Find &next'
        ShortCut = 114
        OnClick = cmFindnext
      end
      object N3: TMenuItem
        Caption = '-'
      end
      object mmGoto: TMenuItem
        Caption = 'Go to Source'
        ShortCut = 16455
        OnClick = cmGoto
      end
      object mmCBLocate: TMenuItem
        Caption = 'Locate in Class Browser'
        OnClick = cmCBLocate
      end
      object N4: TMenuItem
        Caption = '-'
      end
      object mmExpand: TMenuItem
        Caption = 'Full e&xpand'
        ShortCut = 16418
        OnClick = cmExpand
      end
      object mmCollapse: TMenuItem
        Caption = 'Full &collapse'
        ShortCut = 16417
        OnClick = cmCollapse
      end
    end
    object mmData: TMenuItem
      Caption = '&Data'
      GroupIndex = 3
      object mmPreview: TMenuItem
        Caption = '&Form Preview'
        ShortCut = 123
        OnClick = cmPreview
      end
      object mmRescan: TMenuItem
        Caption = '&Rescan Objects'
        ShortCut = 116
        OnClick = cmRescan
      end
      object N5: TMenuItem
        Caption = '-'
      end
      object mmSaveFormImage: TMenuItem
        Caption = 'Save Form Image...'
        OnClick = mmSaveFormImageClick
      end
      object mmLoadData: TMenuItem
        Caption = 'Load and Paste Data...'
        OnClick = cmLoadData
      end
    end
  end
  object EditMenu: TPopupMenu
    OnPopup = EditMenuPopup
    Left = 312
    Top = 48
    object pmUndo: TMenuItem
      Caption = 'Undo'
      ShortCut = 32776
      OnClick = cmUndo
    end
    object N6: TMenuItem
      Caption = '-'
    end
    object pmCopy: TMenuItem
      Caption = 'Copy'
      ShortCut = 16429
      OnClick = cmCopy
    end
    object pmCut: TMenuItem
      Caption = 'Cut'
      ShortCut = 8238
      OnClick = cmCut
    end
    object pmPaste: TMenuItem
      Caption = 'Paste'
      ShortCut = 8237
      OnClick = cmPaste
    end
    object N7: TMenuItem
      Caption = '-'
    end
    object pmReplace: TMenuItem
      Caption = 'Find and Replace...'
      ShortCut = 16454
      OnClick = cmReplace
    end
    object pmFindNext: TMenuItem
      Caption = 'Find next'
      ShortCut = 114
      OnClick = cmFindnext
    end
    object N8: TMenuItem
      Caption = '-'
    end
    object pmPreview: TMenuItem
      Caption = 'Preview Form'
      ShortCut = 16464
      OnClick = cmPreview
    end
    object N9: TMenuItem
      Caption = '-'
    end
    object pmLoadData: TMenuItem
      Caption = 'Load and Paste Data...'
      OnClick = cmLoadData
    end
  end
  object TreeMenu: TPopupMenu
    Left = 344
    Top = 48
    object tmGoto: TMenuItem
      Caption = 'Go to Source'
      ShortCut = 16455
      OnClick = cmGoto
    end
    object tmCBLocate: TMenuItem
      Caption = 'Locate in Class Browser'
      OnClick = cmCBLocate
    end
    object N10: TMenuItem
      Caption = '-'
    end
    object tmExpand: TMenuItem
      Caption = 'Full expand'
      ShortCut = 16418
      OnClick = cmExpand
    end
    object tmCollapse: TMenuItem
      Caption = 'Full collapse'
      ShortCut = 16417
      OnClick = cmCollapse
    end
    object N11: TMenuItem
      Caption = '-'
    end
    object tmRescan: TMenuItem
      Caption = 'Rescan Objects'
      ShortCut = 116
      OnClick = cmRescan
    end
  end
  object ImageMenu: TPopupMenu
    Left = 376
    Top = 48
    object imSave: TMenuItem
      Caption = 'Save...'
      OnClick = pmSaveClick
    end
  end
  object rd: TReplaceDialog
    OnFind = rdFind
    OnReplace = rdReplace
    Left = 408
    Top = 48
  end
  object spd: TSavePictureDialog
    DefaultExt = 'bmp'
    Filter = 'Bitmaps (*.bmp)|*.bmp'
    Options = [ofOverwritePrompt, ofHideReadOnly, ofEnableSizing]
    Left = 440
    Top = 48
  end
  object spd1: TSaveDialog
    Filter = 'Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|Metafiles (*.wmf)|*.wmf'
    Options = [ofOverwritePrompt, ofHideReadOnly, ofEnableSizing]
    Left = 472
    Top = 48
  end
  object odd: TOpenDialog
    Filter = 'All files|*.*'
    Options = [ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing]
    Left = 504
    Top = 48
  end
  object img: TImageList
    Left = 536
    Top = 48
    Bitmap = {
      494C010107000800040010001000FFFFFFFF1900FFFFFFFFFFFFFFFF424D3618
      0000000000003600000028000000400000002000000001001800000000000018
      000000000000000000000000000000000000FF00FFFF00FFFF00FFFF00FFFF00
      FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00
      FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00
      FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF
      00FF000000000000000000000000000000000000000000000000000000000000
      000000000000000000000000000000000000FF00FFFF00FFFF00FFFF00FFFF00
      FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00
      FF1414D21414D21414D21414D21414D21414D2FF00FFFF00FFFF00FFFF00FFFF
      00FF00000048DCFF48DCFF48DCFF48DCFF48DCFF48DCFF48DCFF48DCFF48DCFF
      48DCFF48DCFF48DCFF48DCFF48DCFF000000FF00FFFF00FFFF00FFFF00FFFF00
      FFC04000C04000C04000C04000C04000C04000FF00FFFF00FFFF00FFFF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF1414D21414
      D21414D21414D21414D21414D21414D21414D21414D21414D2FF00FFFF00FFFF
      00FFFF00FF00000048DCFF48DCFF48DCFF48DCFF48DCFF00000000000048DCFF
      48DCFF48DCFF48DCFF48DCFF000000FF00FFFF00FFFF00FFFF00FFC04000C040
      00C04000C04000C04000C04000C04000C04000C04000C04000FF00FFFF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF1414D21414D21414
      D21414D21414D21414D21414D21414D21414D21414D21414D21414D2FF00FFFF
      00FFFF00FF00000048DCFF48DCFF48DCFF48DCFF48DCFF00000000000048DCFF
      48DCFF48DCFF48DCFF48DCFF000000FF00FFFF00FFFF00FFC04000C04000C040
      00C04000FFFFFFFFFFFFFFFFFFFFFFFFC04000C04000C04000C04000FF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF1414D21414D21414
      D2FFFFFF1414D21414D21414D21414D2FFFFFF1414D21414D21414D2FF00FFFF
      00FFFF00FFFF00FF00000048DCFF48DCFF48DCFF48DCFF48DCFF48DCFF48DCFF
      48DCFF48DCFF48DCFF000000FF00FFFF00FFFF00FFFF00FFC04000C04000C040
      00C04000C04000FFFFFFFFFFFFC04000C04000C04000C04000C04000FF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF1414D21414D21414D2FFFF
      FFFFFFFFFFFFFF1414D21414D2FFFFFFFFFFFFFFFFFF1414D21414D21414D2FF
      00FFFF00FFFF00FF00000048DCFF48DCFF48DCFF48DCFF00000000000048DCFF
      48DCFF48DCFF48DCFF000000FF00FFFF00FFFF00FFC04000C04000C04000C040
      00C04000C04000FFFFFFFFFFFFC04000C04000C04000C04000C04000C04000FF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF1414D21414D21414D21414
      D2FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF1414D21414D21414D21414D2FF
      00FFFF00FFFF00FFFF00FF00000048DCFF48DCFF48DCFF00000000000048DCFF
      48DCFF48DCFF000000FF00FFFF00FFFF00FFFF00FFC04000C04000C04000C040
      00C04000C04000FFFFFFFFFFFFC04000C04000C04000C04000C04000C04000FF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF1414D21414D21414D21414
      D21414D2FFFFFFFFFFFFFFFFFFFFFFFF1414D21414D21414D21414D21414D2FF
      00FFFF00FFFF00FFFF00FF00000048DCFF48DCFF48DCFF00000000000048DCFF
      48DCFF48DCFF000000FF00FFFF00FFFF00FFFF00FFC04000C04000C04000C040
      00C04000C04000FFFFFFFFFFFFC04000C04000C04000C04000C04000C04000FF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF1414D21414D21414D21414
      D21414D2FFFFFFFFFFFFFFFFFFFFFFFF1414D21414D21414D21414D21414D2FF
      00FFFF00FFFF00FFFF00FFFF00FF00000048DCFF48DCFF00000000000048DCFF
      48DCFF000000FF00FFFF00FFFF00FFFF00FFFF00FFC04000C04000C04000C040
      00FFFFFFFFFFFFFFFFFFFFFFFFC04000C04000C04000C04000C04000C04000FF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF1414D21414D21414D21414
      D2FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF1414D21414D21414D21414D2FF
      00FFFF00FFFF00FFFF00FFFF00FF00000048DCFF48DCFF00000000000048DCFF
      48DCFF000000FF00FFFF00FFFF00FFFF00FFFF00FFC04000C04000C04000C040
      00C04000C04000C04000C04000C04000C04000C04000C04000C04000C04000FF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF1414D21414D21414
      D2FFFFFFFFFFFF1414D21414D2FFFFFFFFFFFF1414D21414D21414D2FF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FF00000048DCFF00000000000048DCFF
      000000FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFC04000C04000C040
      00C04000C04000FFFFFFFFFFFFC04000C04000C04000C04000C04000FF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF1414D21414D21414
      D21414D21414D21414D21414D21414D21414D21414D21414D21414D2FF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FF00000048DCFF48DCFF48DCFF48DCFF
      000000FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFC04000C04000C040
      00C04000C04000FFFFFFFFFFFFC04000C04000C04000C04000C04000FF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF1414D21414
      D21414D21414D21414D21414D21414D21414D21414D21414D2FF00FFFF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF00000048DCFF48DCFF000000
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFC04000C040
      00C04000C04000C04000C04000C04000C04000C04000C04000FF00FFFF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00
      FF1414D21414D21414D21414D21414D21414D2FF00FFFF00FFFF00FFFF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF00000048DCFF48DCFF000000
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00
      FFC04000C04000C04000C04000C04000C04000FF00FFFF00FFFF00FFFF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00
      FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF000000000000FF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00
      FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00
      FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00
      FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00
      FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF
      00FF000000000000000000000000000000000000000000000000000000000000
      000000000000000000000000000000000000FF00FFFF00FFFF00FFFF00FFFF00
      FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00
      FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF
      00FF000000808080808080808080808080808080808080808080808080808080
      808080808080808080808080808080000000FF00FFFF00FFFF00FFFF00FFFF00
      FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF
      00FFFF00FFFF00FF000000000000000000000000000000000000000000000000
      000000000000000000000000FF00FFFF00FFFF00FFFF00FF0000000000000000
      00000000000000000000000000000000000000FF00FFFF00FFFF00FFFF00FFFF
      00FF000000C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0
      C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0000000FF00FFFF00FFFF00FFFF00FFFF00
      FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF
      00FFFF00FFFF00FF000000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF
      FFFFFFFFFFFFFFFFFF000000FF00FFFF00FFFF00FFFF00FF000000FFFFFF8080
      80808080808080808080808080808080000000FF00FFFF00FFFF00FFFF00FFFF
      00FF000000C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0
      C0C0C0C0C0C0C0C0C0C0C0C0808080000000FF00FF0000000000000000000000
      0000000000000000000000000000000000000000000000000000000000000000
      0000FF00FFFF00FF000000FFFFFFC04000C04000FFFFFF000000000000000000
      000000000000FFFFFF000000FF00FFFF00FFFF00FFFF00FF000000FFFFFFC0C0
      C0C0C0C0C0C0C0C0C0C0808080000000000000FF00FFFF00FFFF00FFFF00FFFF
      00FF000000C0C0C0C0C0C0C04000C04000C04000C04000C04000C04000C04000
      C04000C04000C0C0C0C0C0C0808080000000FF00FFFFFFFF8080808080808080
      8080808080808080808080808080808080808080808080808080808080808000
      0000FF00FFFF00FF000000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF
      FFFFFFFFFFFFFFFFFF000000FF00FFFF00FFFF00FFFF00FF000000FFFFFFC0C0
      C0C0C0C0C0C0C0C0C0C0808080000000808080000000FF00FFFF00FFFF00FFFF
      00FF000000C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0
      C0C0C0C0C0C0C0C0C0C0C0C0808080000000FF00FFFFFFFFC0C0C0C0C0C0C0C0
      C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C080808000
      0000FF00FFFF00FF000000000000000000000000000000000000000000000000
      000000000000000000000000FF00FFFF00FFFF00FFFF00FF000000FFFFFFC0C0
      C0C0C0C0C0C0C0C0C0C0808080000000808080C0C0C0000000FF00FFFF00FFFF
      00FF000000C0C0C0C0C0C0000000000000000000000000000000000000C0C0C0
      C0C0C0C0C0C0C0C0C0C0C0C0808080000000FF00FFFFFFFFC0C0C0C0C0C0C0C0
      C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C080808000
      0000FF00FFFF00FF000000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF
      FFFFFFFFFFFFFFFFFF000000FF00FFFF00FFFF00FFFF00FF000000FFFFFFFFFF
      FFFFFFFFFFFFFFFFFFFFFFFFFF000000808080C0C0C0000000FF00FFFF00FFFF
      00FF000000C0C0C0C0C0C0000000FFFFFFFFFFFFFFFFFFFFFFFF000000C0C0C0
      C0C0C0C0C0C0C0C0C0C0C0C0808080000000FF00FFFFFFFFC0C0C0C0C0C00000
      00000000000000000000000000000000000000000000C0C0C0C0C0C080808000
      0000FF00FFFF00FF000000FFFFFFC04000C04000FFFFFF000000000000000000
      000000000000FFFFFF000000FF00FFFF00FFFF00FFFF00FF0000000000000000
      00000000000000000000000000000000808080C0C0C0C0C0C0000000FF00FFFF
      00FF000000C0C0C0C0C0C0000000000000000000000000000000000000C0C0C0
      C0C0C0C0C0C0C0C0C0C0C0C0808080000000FF00FFFFFFFFC0C0C0C0C0C0C0C0
      C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C080808000
      0000FF00FFFF00FF000000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF
      FFFFFFFFFFFFFFFFFF000000FF00FFFF00FFFF00FFFF00FFFF00FF000000C0C0
      C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0000000C0C0C0000000FF00FFFF00FFFF
      00FF000000C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0
      C0C0C0C0C0C0C0C0C0C0C0C0808080000000FF00FFFFFFFFC0C0C0C0C0C0C0C0
      C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C080808000
      0000FF00FFFF00FF000000000000000000000000000000000000000000000000
      000000000000000000000000FF00FFFF00FFFF00FFFF00FFFF00FFFF00FF0000
      00C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0000000000000FF00FFFF00FFFF
      00FF000000C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0
      C0C0C0C0C0C0C0C0C0C0C0C0C0C0C0000000FF00FFFFFFFFFFFFFFFFFFFFFFFF
      FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF000000FF
      00FFFF00FFFF00FF000000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF
      FFFFFFFFFFFFFFFFFF000000FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00
      FF000000000000000000000000000000000000000000FF00FFFF00FFFF00FFFF
      00FF000000800000800000800000800000800000800000800000800000800000
      800000000000000000000000000000000000FF00FFFF00FFFF00FFFF00FFFF00
      FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF
      00FFFF00FFFF00FF000000FFFFFFC04000C04000FFFFFF000000000000000000
      000000000000FFFFFF000000FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00
      FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF
      00FF000000800000800000800000800000800000800000800000800000800000
      800000FFFFFF000000FFFFFF000000000000FF00FFFF00FFFF00FFFF00FFFF00
      FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF
      00FFFF00FFFF00FF000000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF
      FFFFFFFFFFFFFFFFFF000000FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00
      FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF
      00FF000000000000000000000000000000000000000000000000000000000000
      000000000000000000000000000000000000FF00FFFF00FFFF00FFFF00FFFF00
      FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF
      00FFFF00FFFF00FF000000000000000000000000000000000000000000000000
      000000000000000000000000FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00
      FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00
      FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF
      00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FFFF00FF
      FF00FFFF00FFFF00FFFF00FFFF00FFFF00FF424D3E010000000000003E000000
      2800000040000000200000000100010000000000000100000000000000000000
      020000000000000000000000FFFFFF00FFFFFFFFFFFFFFFFFFFF0000FFFFFFFF
      F81F0000F81FFFFFE0078001E007FFFFC0038001C003FFFFC003C003C003FFFF
      8001C0038001FFFF8001E0078001FFFF8001E0078001FFFF8001F00F8001FFFF
      8001F00F8001FFFFC003F81FC003FFFFC003F81FC003FFFFE007FC3FE007FFFF
      F81FFC3FF81FFFFFFFFFFE7FFFFFFFFFFFFFFFFFFFFFFFFFFFFF0000FFFFFFFF
      FFFF0000FFFFC003C01F0000FFFFC003C01F00008000C003C01F00008000C003
      C00F00008000C003C00700008000C003C00700008000C003C00300008000C003
      E00700008000C003F00700008001C003F80F0000FFFFC003FFFF0000FFFFC003
      FFFF0000FFFFC003FFFFFFFFFFFFFFFF}
  end
  object FormStorage: TSvFormStorage
    AppStoragePath = 'mdi_kst_Editor\'
    Options = []
    StoredProps.Strings = (
      'EList.Height'
      'OIPanel.Width'
      'TreePanel.Width')
    StoredValues = <>
    Left = 568
    Top = 48
  end
end
