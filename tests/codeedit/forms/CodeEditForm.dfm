object CodeEditForm: TCodeEditForm
  Left = 200
  Top = 120
  Caption = 'Editor'
  ClientHeight = 300
  ClientWidth = 480
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  OldCreateOrder = False
  PixelsPerInch = 96
  TextHeight = 13
  object Source: TCodeEdit
    Left = 8
    Top = 8
    Width = 464
    Height = 284
    ActiveLineColor = clYellow
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'Courier New'
    Font.Style = []
    TabOrder = 0
    BookMarkOptions.LeftMargin = 4
    Gutter.AutoSize = True
    Gutter.Color = clGray
    Gutter.Font.Charset = DEFAULT_CHARSET
    Gutter.Font.Color = clSilver
    Gutter.Font.Height = -11
    Gutter.Font.Name = 'Consolas'
    Gutter.Font.Style = []
    Gutter.LeftOffset = 5
    Gutter.ShowLineNumbers = True
    Gutter.Width = 16
    Gutter.Gradient = True
    SelectedColor.Background = clNavy
    ExtraLineSpacing = 2
    InsertCaret = ctHalfBlock
    InsertMode = False
    Lines.Strings = (
      'object Form1: TForm1'
      '  Caption = '#39'Hello'#39
      'end')
    MaxScrollWidth = 300
    MaxUndo = 50
    Options = [eoAutoIndent, eoGroupUndo, eoScrollPastEol, eoTabsToSpaces, eoTrimTrailingSpaces]
    ReadOnly = True
    RightEdge = 72
    RightEdgeColor = clRed
    ScrollBars = ssVertical
    SelectionMode = smColumn
    TabWidth = 4
    WantTabs = True
    WordWrap = True
    RemovedKeystrokes = <
      item
        Command = ecTab
        ShortCut = 9
      end
      item
        Command = ecShiftTab
        ShortCut = 8201
      end>
    AddedKeystrokes = <
      item
        Command = ecUserFirst
        ShortCut = 16459
      end>
    SearchEngine = Search
    OnChange = SourceChange
    OnStatusChange = SourceStatusChange
  end
  object Memo: TCodeMemo
    Left = 8
    Top = 200
    Width = 200
    Height = 90
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'Courier New'
    Font.Style = []
    TabOrder = 1
    Gutter.Visible = False
    Gutter.Width = 0
    Lines.Strings = (
      'first'
      'second line'
      'third')
    Visible = False
  end
  object Search: TCodeEditSearch
    Left = 440
    Top = 256
  end
end
