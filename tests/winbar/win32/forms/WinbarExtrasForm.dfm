object WinbarExtrasForm: TWinbarExtrasForm
  Left = 40
  Top = 40
  Caption = 'Extras'
  ClientHeight = 300
  ClientWidth = 420
  Color = clBtnFace
  Position = poDesigned
  PixelsPerInch = 96
  TextHeight = 13
  object Wallpaper: TFormWallpaper
    Left = 0
    Top = 0
    Width = 420
    Height = 300
    Color = clSilver
    Offset = 40
    OffsetMode = omRows
  end
  object Group: TButtonGroupEx
    Left = 8
    Top = 8
    Width = 404
    Height = 60
    BorderStyle = bsNone
    ButtonHeight = 34
    ButtonWidth = 130
    ButtonOptions = [gboGroupStyle, gboShowCaptions]
    Items = <
      item
        Caption = 'Alpha'
        Hint = 'First'
      end
      item
        Caption = 'Beta'#9'second line'
      end
      item
        Caption = 'Gamma'
      end>
    ItemIndex = 1
    TabOrder = 0
    AutoSize = True
    GlassButtonStyle = True
    RegularButtonColor = clBtnFace
    SelectedButtonColor = clYellow
  end
  object Gauge: TMGauge
    Left = 8
    Top = 90
    Width = 200
    Height = 24
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'Tahoma'
    Font.Style = []
    ForeColor = clNavy
    MaxValue = 1099511627776
    ParentFont = False
    Progress = 824633720832
    Text = 'Done: '
  end
  object Pie: TMGauge
    Left = 220
    Top = 90
    Width = 60
    Height = 60
    Kind = gkPie
    Progress = 30
  end
  object Needle: TMGauge
    Left = 290
    Top = 90
    Width = 100
    Height = 60
    Kind = gkNeedle
    Progress = 50
    ShowText = False
  end
  object Switch: TOnOffSwitch
    Left = 8
    Top = 170
    Width = 75
    Height = 25
    Checked = True
    EmbossedText = True
    OffColor = 14471105
    OffText = 'OFF'
    OnColor = 3982678
    OnText = 'ON'
    SliderColor = 15133420
    TabOrder = 1
    GlassColor = clWhite
    GlassEffect = True
    Radius = 0
    Shadow = True
    UseThemes = False
  end
  object Round: TRoundOnOffSwitch
    Left = 100
    Top = 170
    Width = 60
    Height = 25
    Checked = False
    EmbossedText = True
    OffColor = 12889493
    OffText = 'OFF'
    OnColor = 3982678
    OnText = 'ON'
    SliderColor = 15133420
    TabOrder = 2
    DisabledColor = clSilver
    SliderWidth = 0
  end
end
