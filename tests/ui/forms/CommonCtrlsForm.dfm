object CommonCtrlsForm: TCommonCtrlsForm
  Left = 40
  Top = 40
  Caption = 'Common controls'
  ClientHeight = 380
  ClientWidth = 600
  Color = clBtnFace
  Position = poDesigned
  PixelsPerInch = 96
  TextHeight = 13
  object Progress: TProgressBar
    Left = 8
    Top = 8
    Width = 200
    Height = 17
    Max = 200
    Position = 150
    Smooth = True
    TabOrder = 0
  end
  object Track: TTrackBar
    Left = 8
    Top = 32
    Width = 200
    Height = 45
    Max = 20
    Position = 5
    Frequency = 2
    TabOrder = 1
    OnChange = TrackChange
  end
  object Count: TEdit
    Left = 8
    Top = 88
    Width = 60
    Height = 21
    TabOrder = 2
    Text = '3'
  end
  object Spin: TUpDown
    Left = 68
    Top = 88
    Width = 16
    Height = 21
    Associate = Count
    Max = 9
    Position = 3
    TabOrder = 3
  end
  object Keys: THotKey
    Left = 100
    Top = 88
    Width = 108
    Height = 19
    HotKey = 16467
    Modifiers = [hkCtrl]
    TabOrder = 4
  end
  object Picker: TDateTimePicker
    Left = 8
    Top = 120
    Width = 200
    Height = 21
    Date = 45291.500000000000000000
    Time = 45291.500000000000000000
    TabOrder = 5
  end
  object Month: TMonthCalendar
    Left = 8
    Top = 150
    Width = 200
    Height = 160
    Date = 45291.000000000000000000
    TabOrder = 6
  end
  object Movie: TAnimate
    Left = 8
    Top = 316
    Width = 80
    Height = 50
    Active = True
    FileName = 'C:\Windows\clock.avi'
  end
  object Tabs: TTabControl
    Left = 220
    Top = 8
    Width = 370
    Height = 150
    TabOrder = 7
    Tabs.Strings = (
      'Form'
      'Code'
      'Text')
    TabIndex = 1
    object TabLabel: TLabel
      Left = 16
      Top = 40
      Width = 80
      Height = 13
      Caption = 'On the tab'
    end
  end
  object Rich: TRichEdit
    Left = 220
    Top = 168
    Width = 370
    Height = 200
    Font.Charset = ANSI_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'Tahoma'
    Font.Style = []
    Lines.Strings = (
      'A rich edit read from the form,'
      'two lines long.')
    ParentFont = False
    PlainText = True
    ScrollBars = ssVertical
    TabOrder = 8
    Zoom = 100
  end
end
