object PaintForm: TPaintForm
  Left = 700
  Top = 80
  Caption = 'Paint'
  ClientHeight = 200
  ClientWidth = 300
  Color = clBtnFace
  Position = poDesigned
  PixelsPerInch = 96
  TextHeight = 13
  object Swatch: TSwatchControl
    Left = 10
    Top = 10
    Width = 200
    Height = 100
    object LabelOver: TLabel
      Left = 120
      Top = 60
      Width = 40
      Height = 20
      AutoSize = False
      Caption = 'Hi'
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clYellow
      Font.Height = -16
      Font.Name = 'Tahoma'
      Font.Style = [fsBold]
      ParentFont = False
      Transparent = True
    end
    object Shade: TShadeControl
      Left = 70
      Top = 20
      Width = 60
      Height = 40
    end
  end
end
