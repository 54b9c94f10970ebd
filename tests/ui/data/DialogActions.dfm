object DialogActionsForm: TForm
  Left = 0
  Top = 0
  Caption = 'Standard actions with dialogs'
  ClientHeight = 120
  ClientWidth = 300
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  object OpenButton: TButton
    Left = 8
    Top = 8
    Width = 75
    Height = 25
    Action = FileOpen1
    TabOrder = 0
  end
  object Actions: TActionList
    Left = 200
    Top = 8
    object FileOpen1: TFileOpen
      Category = 'File'
      Caption = '&Open...'
      Dialog.DefaultExt = 'txt'
      Dialog.Filter = 'Text files (*.txt)|*.txt|All files (*.*)|*.*'
      Dialog.InitialDir = 'C:\secret'
      Hint = 'Open|Opens an existing file'
      ImageIndex = 7
      ShortCut = 16463
      BeforeExecute = FileOpen1BeforeExecute
      OnAccept = FileOpen1Accept
    end
    object FileOpenWith1: TFileOpenWith
      Category = 'File'
      Caption = 'Open with...'
      FileName = 'C:\secret\notes.txt'
      Hint = 'Open with|Opens a file with a chosen program'
    end
    object FileSaveAs1: TFileSaveAs
      Category = 'File'
      Caption = 'Save &As...'
      Dialog.Filter = 'Text files (*.txt)|*.txt'
      Dialog.Options = [ofOverwritePrompt, ofHideReadOnly, ofEnableSizing]
      Hint = 'Save As|Saves the active file with a new name'
      ImageIndex = 30
      OnAccept = FileSaveAs1Accept
    end
    object FilePrintSetup1: TFilePrintSetup
      Category = 'File'
      Caption = 'Print Set&up...'
      Hint = 'Print Setup'
    end
    object FileRun1: TFileRun
      Browse = False
      BrowseDlg.Title = 'Run'
      Caption = '&Run...'
      FileName = 'C:\Windows\notepad.exe'
      Operation = 'open'
      Parameters = 'C:\secret\notes.txt'
      ShowCmd = scShowMaximized
    end
    object SearchFind1: TSearchFind
      Category = 'Search'
      Caption = '&Find...'
      Dialog.FindText = 'needle'
      Dialog.Options = [frDown, frMatchCase]
      Hint = 'Find|Finds the specified text'
      ImageIndex = 34
      ShortCut = 16454
    end
    object SearchFindFirst1: TSearchFindFirst
      Category = 'Search'
      Caption = 'F&ind First'
      Hint = 'Find First|Finds the first occurrence of specified text'
    end
    object SearchFindNext1: TSearchFindNext
      Category = 'Search'
      Caption = 'Find &Next'
      Hint = 'Find Next|Repeats the last find'
      ImageIndex = 33
      SearchFind = SearchFind1
      ShortCut = 114
    end
    object SearchReplace1: TSearchReplace
      Category = 'Search'
      Caption = '&Replace'
      Dialog.ReplaceText = 'pin'
      Hint = 'Replace|Replaces specific text with different text'
      ImageIndex = 32
    end
    object FontEdit1: TFontEdit
      Category = 'Dialog'
      Caption = 'Select &Font...'
      Dialog.Font.Charset = DEFAULT_CHARSET
      Dialog.Font.Color = clWindowText
      Dialog.Font.Height = -11
      Dialog.Font.Name = 'Tahoma'
      Dialog.Font.Style = []
      Dialog.MinFontSize = 0
      Dialog.MaxFontSize = 0
      Hint = 'Font Select'
    end
    object ColorSelect1: TColorSelect
      Category = 'Dialog'
      Caption = 'Select &Color...'
      Dialog.Color = clRed
      Hint = 'Color Select'
    end
    object PrintDlg1: TPrintDlg
      Category = 'Dialog'
      Caption = '&Print...'
      Dialog.Copies = 2
      ImageIndex = 14
      ShortCut = 16464
    end
  end
end
