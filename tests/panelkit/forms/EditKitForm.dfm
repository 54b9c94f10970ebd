object EditKitForm: TEditKitForm
  Left = 220
  Top = 140
  Caption = 'Panel kit edits'
  ClientHeight = 420
  ClientWidth = 360
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
  object edit: TPxEdit
    Left = 8
    Top = 8
    Width = 160
    Height = 21
    EditMargins.Left = 3
    ShowPreview = True
    TabOrder = 0
    Text = 'Plain text'
    OnCustomPreviewDraw = editCustomPreviewDraw
  end
  object number: TPxNumberEdit
    Left = 8
    Top = 36
    Width = 121
    Height = 21
    Max = 10.000000000000000000
    TabOrder = 1
    Value = 2.500000000000000000
  end
  object spin: TPxSpinEdit
    Left = 8
    Top = 64
    Width = 121
    Height = 21
    Increment = 2.000000000000000000
    Max = 20.000000000000000000
    Min = -4.000000000000000000
    TabOrder = 2
    Value = 4.000000000000000000
    OnSpin = spinSpin
  end
  object priced: TPxNumberEdit
    Left = 8
    Top = 92
    Width = 160
    Height = 21
    NullText = '-'
    TabOrder = 3
    TextAfter = ' m2'
    TextBefore = 'No.1 '
    Value = 12.000000000000000000
  end
  object check: TPxCheckBox
    Left = 8
    Top = 124
    Width = 160
    Height = 19
    Caption = 'Wrap long lines'
    Checked = True
    TabOrder = 4
    OnChange = ToggleChange
  end
  object group: TPanel
    Left = 184
    Top = 8
    Width = 160
    Height = 90
    TabOrder = 5
    object radio1: TPxRadioButton
      Left = 8
      Top = 6
      Width = 140
      Height = 19
      Caption = 'Left'
      Checked = True
      TabOrder = 0
      OnChange = ToggleChange
    end
    object radio2: TPxRadioButton
      Left = 8
      Top = 32
      Width = 140
      Height = 19
      Caption = 'Centre'
      TabOrder = 1
      OnChange = ToggleChange
    end
    object radio3: TPxRadioButton
      Left = 8
      Top = 58
      Width = 140
      Height = 19
      Caption = 'Right'
      TabOrder = 2
      OnChange = ToggleChange
    end
  end
  object buttonEdit: TPxButtonEdit
    Left = 184
    Top = 112
    Width = 160
    Height = 21
    ButtonCaption = '...'
    TabOrder = 6
    Text = 'Press the button'
    OnButtonClick = buttonEditButtonClick
  end
  object folder: TPxFolderEdit
    Left = 184
    Top = 140
    Width = 160
    Height = 21
    DialogCaption = 'Choose a folder'
    TabOrder = 7
  end
  object imagePath: TPxImagePathEdit
    Left = 184
    Top = 168
    Width = 160
    Height = 21
    Options = [epDisableTyping]
    TabOrder = 8
  end
  object combo: TPxComboBox
    Left = 8
    Top = 152
    Width = 160
    Height = 21
    AutoComplete = True
    Items.Strings = (
      'Apple'
      'Apricot'
      'Banana')
    TabOrder = 9
    OnSelect = comboSelect
  end
  object fonts: TPxFontComboBox
    Left = 8
    Top = 180
    Width = 160
    Height = 21
    ShowPreview = True
    Style = dsDropDownList
    TabOrder = 10
  end
  object memo: TPxMemo
    Left = 8
    Top = 212
    Width = 336
    Height = 80
    Lines.Strings = (
      'A memo with a margin of ten pixels on either side, whose long lines wrap before the edge.')
    Margin = 10
    TabOrder = 11
  end
  object secret: TPxEdit
    Left = 180
    Top = 8
    Width = 160
    Height = 24
    AutoSize = False
    BevelEdges = [beLeft, beBottom]
    BevelInner = bvNone
    BevelKind = bkFlat
    BevelOuter = bvRaised
    BiDiMode = bdLeftToRight
    BorderWidth = 1
    ParentBiDiMode = False
    PasswordChar = '*'
    TabOrder = 12
    Text = 'hidden'
  end
end
