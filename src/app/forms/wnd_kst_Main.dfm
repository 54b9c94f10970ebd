object wnd_kst_Main: Twnd_kst_Main
  Left = 0
  Top = 0
  Caption = 'Kestrum'
  ClientHeight = 560
  ClientWidth = 860
  Color = clGray
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  FormStyle = fsMDIForm
  Menu = MainMenu
  OldCreateOrder = False
  Position = poScreenCenter
  WindowMenu = mmWin
  OnCloseQuery = FormCloseQuery
  OnClose = FormClose
  OnCreate = FormCreate
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object ToolBar1: TToolBar
    Left = 0
    Top = 0
    Width = 860
    Height = 24
    Caption = 'ToolBar1'
    Flat = True
    Images = ImageList
    ParentShowHint = False
    ShowHint = True
    TabOrder = 0
    object tbNew: TToolButton
      Left = 0
      Top = 0
      Cursor = crHandPoint
      Action = acNew
    end
    object tbOpen: TToolButton
      Left = 23
      Top = 0
      Cursor = crHandPoint
      Action = acOpen
    end
    object tbSave: TToolButton
      Left = 46
      Top = 0
      Cursor = crHandPoint
      Action = acSave
    end
    object ToolButton4: TToolButton
      Left = 69
      Top = 0
      Width = 8
      Style = tbsSeparator
    end
    object tbUndo: TToolButton
      Left = 77
      Top = 0
      Cursor = crHandPoint
      Action = acUndo
    end
    object tbCopy: TToolButton
      Left = 100
      Top = 0
      Cursor = crHandPoint
      Action = acCopy
    end
    object tbCut: TToolButton
      Left = 123
      Top = 0
      Cursor = crHandPoint
      Action = acCut
    end
    object tbPaste: TToolButton
      Left = 146
      Top = 0
      Cursor = crHandPoint
      Action = acPaste
    end
    object ToolButton9: TToolButton
      Left = 169
      Top = 0
      Width = 8
      Style = tbsSeparator
    end
    object tbFind: TToolButton
      Left = 177
      Top = 0
      Cursor = crHandPoint
      Action = acFind
    end
    object tbGoto: TToolButton
      Left = 200
      Top = 0
      Cursor = crHandPoint
      Action = acGoto
    end
    object ToolButton12: TToolButton
      Left = 223
      Top = 0
      Width = 8
      Style = tbsSeparator
    end
    object tbPreview: TToolButton
      Left = 231
      Top = 0
      Cursor = crHandPoint
      Action = acPreview
    end
    object tbRescan: TToolButton
      Left = 254
      Top = 0
      Cursor = crHandPoint
      Action = acRescan
    end
    object ToolButton15: TToolButton
      Left = 277
      Top = 0
      Width = 8
      Style = tbsSeparator
    end
    object tbCascade: TToolButton
      Left = 285
      Top = 0
      Cursor = crHandPoint
      Action = acCascade
    end
    object tbTileHor: TToolButton
      Left = 308
      Top = 0
      Cursor = crHandPoint
      Action = acTileHor
    end
    object tbTileVer: TToolButton
      Left = 331
      Top = 0
      Cursor = crHandPoint
      Action = acTileVer
    end
    object ToolButton19: TToolButton
      Left = 354
      Top = 0
      Width = 8
      Style = tbsSeparator
    end
    object tbPrefs: TToolButton
      Left = 362
      Top = 0
      Cursor = crHandPoint
      Action = acPrefs
    end
    object tbExit: TToolButton
      Left = 385
      Top = 0
      Cursor = crHandPoint
      Action = acExit
    end
  end
  object mdibg: TMDIButtonGroup
    Left = 0
    Top = 24
    Width = 860
    Height = 6
    Align = alTop
    BevelEdges = [beTop, beBottom]
    BevelKind = bkTile
    BorderStyle = bsNone
    ButtonHeight = 22
    ButtonWidth = 150
    ButtonOptions = [gboAllowReorder, gboGroupStyle, gboShowCaptions]
    Images = ilWin
    Items = <>
    PopupMenu = WinPopup
    ShowHint = True
    TabOrder = 1
    OnMouseWheel = mdibgMouseWheel
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
  object CBSplitter: TSplitter
    Left = 825
    Top = 30
    Width = 2
    Height = 530
    Align = alRight
  end
  object CBPanel: TPxHeaderPanel
    Left = 827
    Top = 30
    Width = 33
    Height = 530
    Align = alRight
    ColorScheme = csSilver2010
    Expanded = False
    HeaderSize = 20
    Options = [hoClickOnBodyExpand, hoCollapseButton]
    TabOrder = 2
    OnChange = CBPanelChange
    Caption = 'Class Browser'
    FullWidth = 312
    object eSearch: TEdit
      Left = 0
      Top = 20
      Width = 31
      Height = 21
      Align = alTop
      TabOrder = 0
    end
    object CBTree: TTreeView
      Left = 0
      Top = 41
      Width = 31
      Height = 487
      Align = alClient
      Color = 16579836
      Indent = 19
      ReadOnly = True
      RowSelect = True
      TabOrder = 1
    end
  end
  object lProgress: TLabel
    Left = 0
    Top = 30
    Width = 825
    Height = 530
    Align = alClient
    Alignment = taCenter
    AutoSize = False
    Caption = 'Initializing....please wait'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWhite
    Font.Height = -13
    Font.Name = 'Tahoma'
    Font.Style = [fsBold]
    ParentFont = False
    Transparent = True
    Layout = tlCenter
  end
  object MainMenu: TMainMenu
    Images = ImageList
    OwnerDraw = True
    object mmFile: TMenuItem
      Caption = '&File'
      object miNew: TMenuItem
        Action = acNew
      end
      object miOpen: TMenuItem
        Action = acOpen
      end
      object miSave: TMenuItem
        Action = acSave
      end
      object miSaveAs: TMenuItem
        Action = acSaveAs
      end
      object miClose: TMenuItem
        Action = acClose
      end
      object miCloseAll: TMenuItem
        Action = acCloseAll
      end
      object N7: TMenuItem
        Caption = '-'
      end
      object miExtract: TMenuItem
        Action = acExtract
      end
      object miPackInfo: TMenuItem
        Action = acPackInfo
      end
      object N10: TMenuItem
        Caption = '-'
      end
      object miPrefs: TMenuItem
        Action = acPrefs
      end
      object N12: TMenuItem
        Caption = '-'
      end
      object miExit: TMenuItem
        Action = acExit
      end
    end
    object mmWin: TMenuItem
      Caption = '&Windows'
      GroupIndex = 99
      object miCascade: TMenuItem
        Action = acCascade
      end
      object miTileHor: TMenuItem
        Action = acTileHor
      end
      object miTileVer: TMenuItem
        Action = acTileVer
      end
      object miMinAll: TMenuItem
        Action = acMinAll
      end
      object miCBSep: TMenuItem
        Caption = '-'
      end
      object miClassBrowser: TMenuItem
        Caption = 'Class &Browser'
        OnClick = cmClassBrowser
      end
    end
    object mmHelp: TMenuItem
      Caption = '&Help'
      GroupIndex = 100
      object miAbout: TMenuItem
        Action = acAbout
      end
    end
  end
  object ActionList: TActionList
    Images = ImageList
    object acNew: TAction
      Caption = 'New'
      Hint = 'New'
      ImageIndex = 0
      OnExecute = cmNew
    end
    object acOpen: TAction
      Caption = 'Open...'
      Hint = 'Open'
      ImageIndex = 1
      ShortCut = 16463
      OnExecute = cmOpen
    end
    object acSave: TAction
      Caption = 'Save'
      Hint = 'Save'
      ImageIndex = 2
      ShortCut = 16467
      OnExecute = cmSave
    end
    object acSaveAs: TAction
      Caption = 'Save As...'
      Hint = 'Save As'
      OnExecute = cmSaveAs
    end
    object acClose: TAction
      Caption = 'Close'
      Hint = 'Close'
      ImageIndex = 4
      ShortCut = 16499
      OnExecute = cmClose
    end
    object acCloseAll: TAction
      Caption = 'Close All'
      Hint = 'Close All'
      OnExecute = cmCloseAll
    end
    object acExtract: TAction
      Caption = 'Extract from EXE...'
      Hint = 'Extract from EXE'
      ShortCut = 16453
      OnExecute = cmExtractfromEXE
    end
    object acPackInfo: TAction
      Caption = 'Package Information...'
      Hint = 'Package Information'
      ShortCut = 16457
      OnExecute = cmPackageInformation
    end
    object acPrefs: TAction
      Caption = 'Preferences...'
      Hint = 'Preferences'
      ImageIndex = 19
      ShortCut = 120
      OnExecute = cmPrefs
    end
    object acExit: TAction
      Caption = 'Exit'
      Hint = 'Exit'
      ImageIndex = 9
      ShortCut = 32856
      OnExecute = cmExit
    end
    object acAbout: TAction
      Caption = 'About...'
      ImageIndex = 8
      ShortCut = 112
      OnExecute = cmAbout
    end
    object acCascade: TAction
      Caption = 'Cascade'
      Hint = 'Cascade'
      ImageIndex = 5
      OnExecute = cmCascade
    end
    object acTileHor: TAction
      Caption = 'Tile Horizontally'
      Hint = 'Tile Horizontally'
      ImageIndex = 6
      OnExecute = cmTileHor
    end
    object acTileVer: TAction
      Caption = 'Tile Vertically'
      Hint = 'Tile Vertically'
      ImageIndex = 7
      OnExecute = cmTileVer
    end
    object acMinAll: TAction
      Caption = 'Minimize All'
      Hint = 'Minimize All'
      OnExecute = cmMinAll
    end
    object acUndo: TAction
      Caption = 'Undo'
      Hint = 'Undo'
      ImageIndex = 17
      ShortCut = 32776
      OnExecute = cmUndo
    end
    object acCopy: TAction
      Caption = 'Copy'
      Hint = 'Copy'
      ImageIndex = 12
      OnExecute = cmCopy
    end
    object acCut: TAction
      Caption = 'Cut'
      Hint = 'Cut'
      ImageIndex = 13
      OnExecute = cmCut
    end
    object acPaste: TAction
      Caption = 'Paste'
      Hint = 'Paste'
      ImageIndex = 14
      OnExecute = cmPaste
    end
    object acFind: TAction
      Caption = 'Find and Replace...'
      Hint = 'Find and Replace'
      ImageIndex = 15
      OnExecute = cmFind
    end
    object acGoto: TAction
      Caption = 'Go to Source'
      Hint = 'Go to Source'
      ImageIndex = 16
      ShortCut = 16455
      OnExecute = cmGoto
    end
    object acPreview: TAction
      Caption = 'Preview Form'
      Hint = 'Preview Form'
      ImageIndex = 10
      ShortCut = 123
      OnExecute = cmPreview
    end
    object acRescan: TAction
      Caption = 'Rescan Objects'
      Hint = 'Rescan Objects'
      ImageIndex = 11
      ShortCut = 116
      OnExecute = cmRescan
    end
  end
  object WinActionList: TActionList
    Images = ilWin
    object wacTitle: TAction
      Caption = '<none>'
      ImageIndex = 0
      OnExecute = wacTitleExecute
    end
    object wacRestore: TAction
      Caption = 'Restore'
      ImageIndex = 1
      OnExecute = wacStateExecute
    end
    object wacMinimize: TAction
      Caption = 'Minimize'
      Tag = 1
      ImageIndex = 2
      OnExecute = wacStateExecute
    end
    object wacMaximize: TAction
      Caption = 'Maximize'
      Tag = 2
      ImageIndex = 3
      OnExecute = wacStateExecute
    end
    object wacMinAll: TAction
      Caption = 'Minimize All'
      OnExecute = wacMinAllExecute
    end
    object wacCloseAll: TAction
      Caption = 'Close All'
      OnExecute = wacCloseAllExecute
    end
    object wacClose: TAction
      Caption = 'Close'
      ImageIndex = 4
      OnExecute = wacCloseExecute
    end
    object wacAutoSize: TAction
      Caption = 'Auto Size'
      AutoCheck = True
    end
  end
  object WinPopup: TPopupMenu
    Images = ilWin
    OnPopup = WinBarMenuPopup
    object wmiTitle: TMenuItem
      Action = wacTitle
    end
    object wN2: TMenuItem
      Caption = '-'
    end
    object wmiRestore: TMenuItem
      Action = wacRestore
    end
    object wmiMinimize: TMenuItem
      Action = wacMinimize
    end
    object wmiMaximize: TMenuItem
      Action = wacMaximize
    end
    object wN6: TMenuItem
      Caption = '-'
    end
    object wmiMinAll: TMenuItem
      Action = wacMinAll
    end
    object wmiCloseAll: TMenuItem
      Action = wacCloseAll
    end
    object wN9: TMenuItem
      Caption = '-'
    end
    object wmiClose: TMenuItem
      Action = wacClose
    end
  end
  object ImageList: TImageList
  end
  object ilWin: TImageList
  end
  object od: TOpenDialog
    Filter = 'Delphi Form files|*.dfm|All files|*.*'
    Options = [ofHideReadOnly, ofAllowMultiSelect, ofPathMustExist, ofFileMustExist, ofEnableSizing]
  end
  object sd: TSaveDialog
    DefaultExt = 'dfm'
    Filter = 'Delphi Form files|*.dfm|All files|*.*'
    Options = [ofOverwritePrompt, ofHideReadOnly, ofEnableSizing]
  end
  object ode: TOpenDialog
    Filter = 'Supported files|*.exe;*.dll;*.ocx;*.bpl;*.dpl;*.cpl|Executables|*.exe|DLLs|*.dll|ActiveX|*.ocx|Borland packages|*.bpl;*.dpl|Control panel applets|*.cpl|All files|*.*'
    Options = [ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing]
  end
  object odp: TOpenDialog
    Filter = 'Packages|*.bpl;*.dpl|All files|*.*'
    Options = [ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing]
  end
  object pd: TPrintDialog
  end
  object AppInstances: TSvAppInstances
    OnCmdLineReceived = AppInstancesCmdLineReceived
  end
  object AppRegistryStorage: TSvAppRegistryStorage
    StorageOptions.BooleanStringTrueValues = 'TRUE, YES, Y'
    StorageOptions.BooleanStringFalseValues = 'FALSE, NO, N'
    Root = 'Software\Obrix\Kestrum\6.x'
    SubStorages = <>
  end
  object FormStorage: TSvFormStorage
    AppStorage = AppRegistryStorage
    AppStoragePath = '%FORM_NAME%\'
    StoredProps.Strings = (
      'CBPanel.Width'
      'CBPanel.Expanded')
    StoredValues = <
      item
        Name = 'ShowTypeCol'
        Value = False
      end
      item
        Name = 'ShowCNCol'
        Value = False
      end
      item
        Name = 'SmallFont'
        Value = False
      end>
    OnSavePlacement = FormStorageSavePlacement
    OnRestorePlacement = FormStorageRestorePlacement
  end
  object MRUMan: TSvMRUManager
    Duplicates = dupIgnore
    AccelDelimiter = adSpace
    IniStorage = FormStorage
    RecentMenu = mmFile
    OnClick = MRUManClick
  end
  object DropTarget: TSvDropTarget
    OnDragDrop = DropTargetDragDrop
  end
end
