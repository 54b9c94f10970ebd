object UiShowcaseForm: TUiShowcaseForm
  Left = 40
  Top = 40
  Caption = 'Every control'
  ClientHeight = 460
  ClientWidth = 640
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  Menu = MainMenu1
  OldCreateOrder = False
  Position = poDesigned
  ShowHint = True
  PixelsPerInch = 96
  TextHeight = 13
  object ToolBar1: TToolBar
    Left = 0
    Top = 0
    Width = 640
    Height = 24
    Caption = 'ToolBar1'
    Flat = True
    Images = ImageList1
    TabOrder = 0
    object tbOpen: TToolButton
      Left = 0
      Top = 0
      Cursor = crHandPoint
      Action = acOpen
    end
    object ToolButton2: TToolButton
      Left = 23
      Top = 0
      Width = 8
      Caption = 'ToolButton2'
      Style = tbsSeparator
    end
    object tbFind: TToolButton
      Left = 31
      Top = 0
      Cursor = crHandPoint
      Action = acFind
    end
  end
  object PanelLeft: TPanel
    Left = 0
    Top = 24
    Width = 220
    Height = 396
    Align = alLeft
    BevelOuter = bvNone
    TabOrder = 1
    object Label1: TLabel
      Left = 8
      Top = 8
      Width = 31
      Height = 13
      Caption = '&Name:'
      FocusControl = Edit1
    end
    object Bevel1: TBevel
      Left = 8
      Top = 52
      Width = 204
      Height = 2
      Shape = bsTopLine
    end
    object Image1: TImage
      Left = 176
      Top = 300
      Width = 32
      Height = 32
      AutoSize = True
      Picture.Data = {
          07544269746D6170360C0000424D360C00000000000036000000280000002000
          0000200000000100180000000000000C0000130B0000130B0000000000000000
          0000C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014
          C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C850
          14C85014C85014C85014C85014C85014C85014C8501400DCFF00DCFF00DCFF00
          DCFFC85014C85014C85014C85014C85014C85014C85014C85014C85014C85014
          C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C850
          14C85014C85014C85014C85014C85014C8501400DCFF00DCFF00DCFF00DCFF00
          DCFFC85014C85014C85014C85014C85014C85014C85014C85014C85014C85014
          C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C850
          14C85014C85014C85014C85014C8501400DCFF00DCFF00DCFF00DCFF00DCFF00
          DCFFC85014C85014C85014C85014C85014C85014C85014C85014C85014C85014
          C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C850
          14C85014C85014C85014C8501400DCFF00DCFF00DCFF00DCFF00DCFF00DCFF00
          DCFFC85014C85014C85014C85014C85014C85014C85014C85014C85014C85014
          C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C850
          14C85014C85014C8501400DCFF00DCFF00DCFF00DCFF00DCFF00DCFF00DCFFC8
          5014C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014
          C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C850
          14C85014C8501400DCFF00DCFF00DCFF00DCFF00DCFF00DCFF00DCFFC85014C8
          5014C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014
          C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C850
          14C8501400DCFF00DCFF00DCFF00DCFF00DCFF00DCFF00DCFFC85014C85014C8
          5014C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014
          C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C850
          1400DCFF00DCFF00DCFF00DCFF00DCFF00DCFF00DCFFC85014C85014C85014C8
          5014C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014
          C85014C85014C85014C85014C85014C85014C85014C85014C85014C8501400DC
          FF00DCFF00DCFF00DCFF00DCFF00DCFF00DCFFC85014C85014C85014C85014C8
          5014C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014
          C85014C85014C85014C85014C85014C85014C85014C85014C8501400DCFF00DC
          FF00DCFF00DCFF00DCFF00DCFF00DCFFC85014C85014C85014C85014C85014C8
          5014C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014
          C85014C85014C85014C85014C85014C85014C85014C8501400DCFF00DCFF00DC
          FF00DCFF00DCFF00DCFF00DCFFC85014C85014C85014C85014C85014C85014C8
          5014C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014
          C85014C85014C85014C85014C85014C85014C8501400DCFF00DCFF00DCFF00DC
          FF00DCFF00DCFF00DCFFC85014C85014C85014C85014C85014C85014C85014C8
          5014C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014
          C85014C85014C85014C85014C85014C8501400DCFF00DCFF00DCFF00DCFF00DC
          FF00DCFF00DCFFC85014C85014C85014C85014C85014C85014C85014C85014C8
          5014C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014
          C85014C85014C85014C85014C8501400DCFF00DCFF00DCFF00DCFF00DCFF00DC
          FF00DCFFC85014C85014C85014C85014C85014C85014C85014C85014C85014C8
          5014C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014
          C85014C85014C85014C8501400DCFF00DCFF00DCFF00DCFF00DCFF00DCFF00DC
          FFC85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C8
          5014C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014
          C85014C85014C8501400DCFF00DCFF00DCFF00DCFF00DCFF00DCFF00DCFFC850
          14C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C8
          5014C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014
          C85014C8501400DCFF00DCFF00DCFF00DCFF00DCFF00DCFF00DCFFC85014C850
          14C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C8
          5014C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014
          C8501400DCFF00DCFF00DCFF00DCFF00DCFF00DCFF00DCFFC85014C85014C850
          14C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C8
          5014C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014
          00DCFF00DCFF00DCFF00DCFF00DCFF00DCFF00DCFFC85014C85014C85014C850
          14C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C8
          5014C85014C85014C85014C85014C85014C85014C85014C85014C8501400DCFF
          00DCFF00DCFF00DCFF00DCFF00DCFF00DCFFC85014C85014C85014C85014C850
          14C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C8
          5014C85014C85014C85014C85014C85014C85014C85014C8501400DCFF00DCFF
          00DCFF00DCFF00DCFF00DCFF00DCFFC85014C85014C85014C85014C85014C850
          14C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C8
          5014C85014C85014C85014C85014C85014C85014C8501400DCFF00DCFF00DCFF
          00DCFF00DCFF00DCFF00DCFFC85014C85014C85014C85014C85014C85014C850
          14C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C8
          5014C85014C85014C85014C85014C85014C8501400DCFF00DCFF00DCFF00DCFF
          00DCFF00DCFF00DCFFC85014C85014C85014C85014C85014C85014C85014C850
          14C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C8
          5014C85014C85014C85014C85014C8501400DCFF00DCFF00DCFF00DCFF00DCFF
          00DCFF00DCFFC85014C85014C85014C85014C85014C85014C85014C85014C850
          14C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C8
          5014C85014C85014C85014C8501400DCFF00DCFF00DCFF00DCFF00DCFF00DCFF
          00DCFFC85014C85014C85014C85014C85014C85014C85014C85014C85014C850
          14C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C8
          5014C85014C85014C8501400DCFF00DCFF00DCFF00DCFF00DCFF00DCFF00DCFF
          C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C850
          14C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C8
          5014C85014C8501400DCFF00DCFF00DCFF00DCFF00DCFF00DCFF00DCFFC85014
          C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C850
          14C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C8
          5014C8501400DCFF00DCFF00DCFF00DCFF00DCFF00DCFF00DCFFC85014C85014
          C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C850
          14C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C8
          501400DCFF00DCFF00DCFF00DCFF00DCFF00DCFF00DCFFC85014C85014C85014
          C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C850
          14C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C8
          501400DCFF00DCFF00DCFF00DCFF00DCFF00DCFFC85014C85014C85014C85014
          C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C850
          14C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C8
          501400DCFF00DCFF00DCFF00DCFF00DCFFC85014C85014C85014C85014C85014
          C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C850
          14C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C8
          501400DCFF00DCFF00DCFF00DCFFC85014C85014C85014C85014C85014C85014
          C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C850
          14C85014C85014C85014C85014C85014C85014C85014C85014C85014C85014C8
          5014}
    end
    object Edit1: TEdit
      Left = 8
      Top = 24
      Width = 204
      Height = 21
      TabOrder = 0
      Text = 'Form1'
    end
    object CheckBox1: TCheckBox
      Left = 8
      Top = 60
      Width = 120
      Height = 17
      Caption = 'Show type column'
      Checked = True
      State = cbChecked
      TabOrder = 1
    end
    object GroupBox1: TGroupBox
      Left = 8
      Top = 82
      Width = 204
      Height = 62
      Caption = ' Encoding '
      TabOrder = 2
      object RadioButton1: TRadioButton
        Left = 10
        Top = 18
        Width = 90
        Height = 17
        Caption = 'Text'
        Checked = True
        TabOrder = 0
        TabStop = True
      end
      object RadioButton2: TRadioButton
        Left = 10
        Top = 38
        Width = 90
        Height = 17
        Caption = 'Binary'
        TabOrder = 1
      end
    end
    object RadioGroup1: TRadioGroup
      Left = 8
      Top = 150
      Width = 204
      Height = 44
      Caption = ' Font size '
      Columns = 2
      ItemIndex = 0
      Items.Strings = (
        'Small'
        'Large')
      TabOrder = 3
    end
    object ListBox1: TListBox
      Left = 8
      Top = 200
      Width = 160
      Height = 64
      ItemHeight = 13
      Items.Strings = (
        'TForm'
        'TPanel'
        'TButton')
      TabOrder = 4
    end
    object ComboBox1: TComboBox
      Left = 8
      Top = 270
      Width = 160
      Height = 21
      Style = csDropDownList
      ItemHeight = 13
      ItemIndex = 1
      TabOrder = 5
      Items.Strings = (
        'Text'
        'Binary'
        'Resource')
    end
    object Button1: TButton
      Left = 8
      Top = 300
      Width = 75
      Height = 25
      Caption = 'Apply'
      TabOrder = 6
    end
    object BitBtn1: TBitBtn
      Left = 90
      Top = 300
      Width = 75
      Height = 25
      TabOrder = 7
      Kind = bkOK
    end
  end
  object Splitter1: TSplitter
    Left = 220
    Top = 24
    Width = 3
    Height = 396
  end
  object PageControl1: TPageControl
    Left = 223
    Top = 24
    Width = 417
    Height = 375
    ActivePage = TabSheet1
    Align = alClient
    TabOrder = 2
    object TabSheet1: TTabSheet
      Caption = 'Text'
      object Memo1: TMemo
        Left = 0
        Top = 0
        Width = 409
        Height = 347
        Align = alClient
        Lines.Strings = (
          'object Form1: TForm1'
          '  Caption = '#39'Hello'#39
          '  object Button1: TButton'
          '    Caption = '#39'OK'#39
          '  end'
          'end')
        PopupMenu = PopupMenu1
        ScrollBars = ssBoth
        TabOrder = 0
      end
    end
    object TabSheet2: TTabSheet
      Caption = 'Objects'
      ImageIndex = 1
      object ListView1: TListView
        Left = 0
        Top = 0
        Width = 409
        Height = 120
        Align = alTop
        Columns = <
          item
            Caption = 'Name'
            Width = 120
          end
          item
            Caption = 'Class'
            Width = 150
          end>
        RowSelect = True
        TabOrder = 0
        ViewStyle = vsReport
      end
      object TreeView1: TTreeView
        Left = 0
        Top = 120
        Width = 409
        Height = 227
        Align = alClient
        Indent = 19
        ReadOnly = True
        RowSelect = True
        TabOrder = 1
      end
    end
  end
  object TabSet1: TTabSet
    Left = 223
    Top = 399
    Width = 417
    Height = 21
    Align = alBottom
    Tabs.Strings = (
      'Form1'
      'Form2')
    TabIndex = 0
  end
  object StatusBar1: TStatusBar
    Left = 0
    Top = 420
    Width = 640
    Height = 19
    Panels = <
      item
        Text = 'Objects: 2'
        Width = 120
      end
      item
        Text = 'Ln 1, Col 1'
        Width = 120
      end>
  end
  object MainMenu1: TMainMenu
    Images = ImageList1
    Left = 24
    Top = 360
    object mmFile: TMenuItem
      Caption = '&File'
      object Open1: TMenuItem
        Action = acOpen
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object Exit1: TMenuItem
        Caption = 'E&xit'
      end
    end
    object mmEdit: TMenuItem
      Caption = '&Edit'
      GroupIndex = 2
      object Find1: TMenuItem
        Action = acFind
      end
    end
  end
  object PopupMenu1: TPopupMenu
    Left = 56
    Top = 360
    object Copy1: TMenuItem
      Caption = '&Copy'
      ShortCut = 16451
    end
  end
  object ActionList1: TActionList
    Images = ImageList1
    Left = 88
    Top = 360
    object acOpen: TAction
      Caption = 'Open...'
      Hint = 'Open'
      ImageIndex = 0
      ShortCut = 16463
      OnExecute = acOpenExecute
    end
    object acFind: TAction
      Caption = 'Find and Replace...'
      Hint = 'Find and Replace'
      ImageIndex = 1
      OnExecute = acFindExecute
    end
  end
  object ImageList1: TImageList
    Left = 120
    Top = 360
  end
  object OpenDialog1: TOpenDialog
    Filter = 'Delphi Form files|*.dfm|All files|*.*'
    Options = [ofHideReadOnly, ofAllowMultiSelect, ofPathMustExist, ofFileMustExist, ofEnableSizing]
    Left = 152
    Top = 360
  end
  object SaveDialog1: TSaveDialog
    DefaultExt = 'dfm'
    Filter = 'Delphi Form files|*.dfm|All files|*.*'
    Options = [ofOverwritePrompt, ofHideReadOnly, ofEnableSizing]
    Left = 184
    Top = 360
  end
  object FindDialog1: TFindDialog
    Options = [frDown]
    OnFind = FindDialog1Find
    Left = 216
    Top = 360
  end
  object ReplaceDialog1: TReplaceDialog
    Left = 248
    Top = 360
  end
  object FontDialog1: TFontDialog
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'Tahoma'
    Font.Style = []
    Left = 280
    Top = 360
  end
  object ColorDialog1: TColorDialog
    Left = 312
    Top = 360
  end
  object PrintDialog1: TPrintDialog
    Left = 344
    Top = 360
  end
end
