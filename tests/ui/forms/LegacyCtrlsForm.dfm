object LegacyCtrlsForm: TLegacyCtrlsForm
  Left = 0
  Top = 0
  Caption = 'Older controls'
  ClientHeight = 400
  ClientWidth = 560
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  object Cool: TCoolBar
    Left = 0
    Top = 0
    Width = 560
    Height = 34
    AutoSize = True
    Bands = <
      item
        Control = Tools
        ImageIndex = -1
        MinHeight = 30
        Width = 300
      end
      item
        Break = False
        Control = Choice
        ImageIndex = -1
        MinHeight = 30
        Width = 256
      end>
    EdgeBorders = [ebLeft, ebTop, ebRight]
    object Tools: TToolBar
      Left = 9
      Top = 0
      Width = 287
      Height = 30
      AutoSize = True
      BorderWidth = 2
      EdgeBorders = []
      EdgeInner = esNone
      EdgeOuter = esNone
      Flat = True
      TabOrder = 0
      object NewButton: TToolButton
        Left = 0
        Top = 0
        Caption = 'New'
      end
    end
    object Choice: TComboBoxEx
      Left = 309
      Top = 0
      Width = 243
      Height = 22
      ItemsEx = <
        item
          Caption = 'Excel CSV'
          ImageIndex = 1
          SelectedImageIndex = 1
        end
        item
          Caption = 'HTML'
        end>
      Style = csExDropDownList
      TabOrder = 1
    end
  end
  object Gauge: TGauge
    Left = 8
    Top = 48
    Width = 200
    Height = 24
    ForeColor = clRed
    BackColor = clBtnFace
    Progress = 50
  end
  object Calendar: TCalendar
    Left = 8
    Top = 80
    Width = 290
    Height = 130
    StartOfWeek = 0
    Month = 2
    Year = 2024
    Day = 29
    UseCurrentDate = False
    TabOrder = 1
  end
  object Book: TNotebook
    Left = 310
    Top = 48
    Width = 240
    Height = 80
    PageIndex = 1
    TabOrder = 2
    object TPage
      Left = 0
      Top = 0
      Caption = 'First'
      object FirstLabel: TLabel
        Left = 8
        Top = 8
        Width = 30
        Height = 13
        Caption = 'First'
      end
    end
    object TPage
      Left = 0
      Top = 0
      Caption = 'Second'
      object SecondLabel: TLabel
        Left = 8
        Top = 8
        Width = 40
        Height = 13
        Caption = 'Second'
      end
    end
  end
  object Masked: TMaskEdit
    Left = 310
    Top = 136
    Width = 120
    Height = 21
    EditMask = '!99/99/0000;1;_'
    MaxLength = 10
    TabOrder = 3
    Text = '  /  /    '
  end
  object Checks: TCheckListBox
    Left = 310
    Top = 164
    Width = 120
    Height = 60
    ItemHeight = 13
    Items.Strings = (
      'One'
      'Two')
    TabOrder = 4
  end
  object Filter: TFilterComboBox
    Left = 8
    Top = 220
    Width = 200
    Height = 21
    FileList = Files
    Filter = 'Text files|*.TXT|All files|*.*'
    TabOrder = 5
  end
  object Files: TFileListBox
    Left = 8
    Top = 248
    Width = 200
    Height = 120
    ItemHeight = 13
    Mask = '*.*'
    TabOrder = 6
  end
  object Folders: TDirectoryListBox
    Left = 220
    Top = 248
    Width = 160
    Height = 120
    DirLabel = FolderLabel
    FileList = Files
    ItemHeight = 16
    TabOrder = 7
  end
  object Drives: TDriveComboBox
    Left = 390
    Top = 248
    Width = 150
    Height = 19
    DirList = Folders
    TabOrder = 8
  end
  object FolderLabel: TLabel
    Left = 390
    Top = 280
    Width = 150
    Height = 13
    Caption = 'folder'
  end
end
