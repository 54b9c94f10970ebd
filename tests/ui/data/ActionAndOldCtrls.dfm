object ActionAndOldCtrlsForm: TForm
  Left = 0
  Top = 0
  Caption = 'Action bars and older controls'
  ClientHeight = 400
  ClientWidth = 600
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  object MenuBar: TActionMainMenuBar
    Left = 0
    Top = 0
    Width = 600
    Height = 24
    UseSystemFont = False
    ActionManager = Manager
    Caption = 'MenuBar'
    ColorMap.HighlightColor = 14410210
    ColorMap.BtnSelectedColor = clBtnFace
    ColorMap.UnusedColor = 14410210
    EdgeBorders = [ebTop, ebBottom]
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clMenuText
    Font.Height = -11
    Font.Name = 'Tahoma'
    Font.Style = []
    PersistentHotKeys = True
    Spacing = 0
  end
  object Tools: TActionToolBar
    Left = 0
    Top = 24
    Width = 600
    Height = 26
    ActionManager = Manager
    Caption = 'Tools'
    ColorMap.HighlightColor = 14410210
    Spacing = 0
  end
  object Tree: TShellTreeView
    Left = 284
    Top = 60
    Width = 150
    Height = 100
    ObjectTypes = [otFolders]
    Root = 'C:\Windows'
    UseShellImages = True
    AutoRefresh = False
    Indent = 19
    ParentColor = False
    RightClickSelect = True
    ShowRoot = False
    TabOrder = 2
    ShellListView = Files
  end
  object Files: TShellListView
    Left = 440
    Top = 60
    Width = 150
    Height = 100
    ObjectTypes = [otFolders, otNonFolders]
    Root = 'rfMyComputer'
    ShellTreeView = Tree
    Sorted = True
    ReadOnly = False
    HideSelection = False
    TabOrder = 3
  end
  object Places: TShellComboBox
    Left = 284
    Top = 168
    Width = 150
    Height = 22
    Root = 'rfDesktop'
    ShellTreeView = Tree
    UseShellImages = True
    DropDownCount = 8
    TabOrder = 4
  end
  object Lines: TOutline
    Left = 8
    Top = 220
    Width = 150
    Height = 120
    Lines.Strings = (
      'Animals'
      #9'Cats'
      #9'Dogs'
      #9#9'Terriers'
      'Plants')
    ItemHeight = 16
    Options = [ooDrawTreeRoot, ooDrawFocusRect]
    ItemSeparator = '\'
    TabOrder = 5
  end
  object Folders: TDirectoryOutline
    Left = 166
    Top = 220
    Width = 150
    Height = 120
    Directory = 'C:\Windows\System'
    ItemHeight = 16
    Options = [ooDrawTreeRoot, ooDrawFocusRect]
    TabOrder = 6
    TextCase = tcAsIs
  end
  object Tabbed: TTabbedNotebook
    Left = 324
    Top = 200
    Width = 260
    Height = 180
    PageIndex = 1
    TabFont.Charset = DEFAULT_CHARSET
    TabFont.Color = clBtnText
    TabFont.Height = -11
    TabFont.Name = 'Tahoma'
    TabFont.Style = []
    TabOrder = 7
    object TTabPage
      Left = 4
      Top = 24
      Caption = 'First'
    end
    object TTabPage
      Left = 4
      Top = 24
      Caption = 'Second'
      object OnSecond: TButton
        Left = 8
        Top = 8
        Width = 75
        Height = 25
        Caption = 'Here'
        TabOrder = 0
      end
    end
  end
  object OldList: TListView
    Left = 8
    Top = 350
    Width = 150
    Height = 45
    Columns = <
      item
        Caption = 'Name'
      end
      item
        Caption = 'Other'
      end>
    Items.Data = {
      3C0000000200000000000000FFFFFFFFFFFFFFFF0100000000000000034F6E65
      03556E6F01000000FFFFFFFFFFFFFFFF00000000000000000354776F}
    TabOrder = 8
    ViewStyle = vsReport
  end
  object OldTree: TTreeView
    Left = 166
    Top = 350
    Width = 150
    Height = 45
    Indent = 19
    TabOrder = 9
    Items.Data = {
      010000001D0000000000000000000000FFFFFFFFFFFFFFFF0000000001000000
      04526F6F741D0000000000000000000000FFFFFFFFFFFFFFFF00000000000000
      00044C656166}
  end
  object Manager: TActionManager
    ActionBars = <
      item
        Items = <
          item
            Items = <
              item
                Action = OpenAction
              end
              item
                Caption = '-'
              end
              item
                Action = QuitAction
                ShortCut = 16465
              end>
            Caption = '&File'
          end
          item
            Caption = '&Help'
          end>
        ActionBar = MenuBar
      end
      item
        Items = <
          item
            Action = OpenAction
            ImageIndex = 0
          end
          item
            Action = QuitAction
          end
          item
            Caption = '&Find'
            CommandStyle = csControl
            CommandProperties.Width = 120
          end>
        ActionBar = Tools
      end>
    FileName = 'C:\settings\bars.dat'
    LinkedActionLists = <>
    Left = 560
    Top = 8
    StyleName = 'Platform Default'
    object OpenAction: TAction
      Category = 'File'
      Caption = '&Open'
    end
    object QuitAction: TFileExit
      Category = 'File'
      Caption = 'E&xit'
      Hint = 'Exit|Quits the application'
      ImageIndex = 43
    end
    object CloseAction: TWindowClose
      Category = 'Window'
      Caption = 'C&lose'
      Enabled = False
      Hint = 'Close'
    end
  end
  object Popup: TPopupActionBar
    Left = 520
    Top = 8
    object PopupItem: TMenuItem
      Caption = 'Item'
    end
  end
  object PrinterSetup: TPrinterSetupDialog
    Left = 480
    Top = 8
  end
end
