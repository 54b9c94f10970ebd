object LayoutForm: TLayoutForm
  Left = 700
  Top = 400
  Caption = 'Layout'
  ClientHeight = 300
  ClientWidth = 400
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  OldCreateOrder = False
  Position = poDesigned
  ShowHint = True
  OnCreate = FormCreate
  OnShow = FormShow
  OnClose = FormClose
  PixelsPerInch = 96
  TextHeight = 13
  object PanelTop2: TPanel
    Left = 0
    Top = 40
    Width = 400
    Height = 20
    Align = alTop
    Caption = 'Second'
    TabOrder = 1
  end
  object PanelTop: TPanel
    Left = 0
    Top = 0
    Width = 400
    Height = 40
    Align = alTop
    Caption = 'Top'
    TabOrder = 0
    object ButtonTop: TButton
      Left = 8
      Top = 8
      Width = 75
      Height = 25
      Caption = 'First'
      TabOrder = 0
      OnClick = ButtonTopClick
    end
  end
  object PanelBottom: TPanel
    Left = 0
    Top = 275
    Width = 400
    Height = 25
    Align = alBottom
    TabOrder = 2
  end
  object PanelLeft: TPanel
    Left = 0
    Top = 60
    Width = 100
    Height = 215
    Align = alLeft
    BevelOuter = bvLowered
    TabOrder = 3
    object LabelLeft: TLabel
      Left = 8
      Top = 8
      Width = 50
      Height = 13
      Caption = 'Left side'
    end
  end
  object PanelRight: TPanel
    Left = 350
    Top = 60
    Width = 50
    Height = 215
    Align = alRight
    TabOrder = 4
  end
  object PanelClient: TPanel
    Left = 100
    Top = 60
    Width = 250
    Height = 215
    Align = alClient
    BevelOuter = bvNone
    Color = clWhite
    ParentBackground = False
    TabOrder = 5
    object LabelHello: TLabel
      Left = 10
      Top = 10
      Width = 40
      Height = 13
      Caption = 'Hello'
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clRed
      Font.Height = -11
      Font.Name = 'Tahoma'
      Font.Style = [fsBold]
      ParentFont = False
      Transparent = True
    end
    object PanelNested: TPanel
      Left = 0
      Top = 185
      Width = 250
      Height = 30
      Align = alBottom
      Caption = 'Nested'
      TabOrder = 1
      object ButtonNested: TButton
        Left = 170
        Top = 2
        Width = 75
        Height = 25
        Anchors = [akTop, akRight]
        Caption = 'Nested'
        TabOrder = 0
      end
    end
    object ButtonOK: TButton
      Left = 165
      Top = 150
      Width = 75
      Height = 25
      Hint = 'Line one'#13#10'Line two'
      Anchors = [akRight, akBottom]
      Caption = 'OK'
      Default = True
      TabOrder = 0
      OnClick = ButtonOKClick
    end
  end
end
