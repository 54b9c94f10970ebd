object PlacementForm: TPlacementForm
  Left = 120
  Top = 100
  Caption = 'Placement'
  ClientHeight = 240
  ClientWidth = 360
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  Menu = MainMenu1
  OldCreateOrder = False
  Position = poDesigned
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 120
    Height = 240
    Align = alLeft
    Caption = 'Panel1'
    TabOrder = 0
  end
  object Edit1: TEdit
    Left = 136
    Top = 16
    Width = 200
    Height = 21
    TabOrder = 1
    Text = 'Edit1'
  end
  object Edit2: TEdit
    Left = 136
    Top = 48
    Width = 200
    Height = 21
    TabOrder = 2
  end
  object MainMenu1: TMainMenu
    Left = 144
    Top = 88
    object FileMenu: TMenuItem
      Caption = '&File'
      object OpenItem: TMenuItem
        Caption = '&Open...'
      end
      object ExitItem: TMenuItem
        Caption = 'E&xit'
      end
    end
  end
  object AppStorage: TSvAppRegistryStorage
    StorageOptions.BooleanStringTrueValues = 'TRUE, YES, Y'
    StorageOptions.BooleanStringFalseValues = 'FALSE, NO, N'
    Root = 'Software\Kestrum Tests\Placement'
    SubStorages = <>
    Left = 184
    Top = 88
  end
  object FormStorage: TSvFormStorage
    AppStorage = AppStorage
    AppStoragePath = '%FORM_NAME%\'
    Options = [fpState, fpSize, fpLocation, fpActiveControl]
    StoredProps.Strings = (
      'Panel1.Width'
      ' Edit1 . Text'
      'Missing.Width'
      'NoDot')
    StoredValues = <
      item
        Name = 'ShowTypeCol'
        Value = False
      end
      item
        Name = 'Counter'
        Value = 0
      end>
    Left = 224
    Top = 88
  end
  object MRUMan: TSvMRUManager
    Duplicates = dupIgnore
    AccelDelimiter = adSpace
    IniStorage = FormStorage
    RecentMenu = FileMenu
    OnClick = MRUManClick
    Left = 264
    Top = 88
  end
end
