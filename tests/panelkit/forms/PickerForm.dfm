object PickerForm: TPickerForm
  Left = 240
  Top = 160
  Caption = 'Pickers'
  ClientHeight = 320
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
  object date: TPxDatePicker
    Left = 16
    Top = 16
    Width = 121
    Height = 21
    EmptyText = 'No date'
    NoneCaption = 'Clear'
    StartDay = dwMonday
    TabOrder = 0
    TodayCaption = 'Now'
  end
  object other: TPxDatePicker
    Left = 200
    Top = 16
    Width = 121
    Height = 21
    ShowNoneButton = False
    TabOrder = 1
  end
  object calc: TPxCalcEdit
    Left = 16
    Top = 240
    Width = 121
    Height = 21
    AutoClose = True
    TabOrder = 2
    Value = 12.500000000000000000
  end
  object time: TPxTimePicker
    Left = 200
    Top = 240
    Width = 121
    Height = 21
    HoursString = 'Hour'
    MinutesString = 'Min'
    TabOrder = 3
  end
  object month: TPxMonthCalendar
    Left = 16
    Top = 60
    Width = 151
    Height = 163
    ShowNoneButton = True
    StartDay = dwSunday
    OnChange = monthChange
  end
  object clock: TPxTimeEdit
    Left = 200
    Top = 280
    Width = 121
    Height = 21
    TabOrder = 5
    TimeFormat = 'h:mm:ss AMPM'
    TimeSeparator = ':'
  end
  object colour: TPxColorPicker
    Left = 16
    Top = 280
    Width = 121
    Height = 21
    Options = [coColorsButton, coNoneButton]
    SelectedColor = clRed
    TabOrder = 6
    Text = '$000000FF'
  end
end
