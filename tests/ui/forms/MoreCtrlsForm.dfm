object MoreCtrlsForm: TMoreCtrlsForm
  Left = 80
  Top = 80
  Caption = 'More controls'
  ClientHeight = 220
  ClientWidth = 420
  Color = clBtnFace
  Position = poDesigned
  PixelsPerInch = 96
  TextHeight = 13
  object Circle: TShape
    Left = 8
    Top = 8
    Width = 60
    Height = 40
    Brush.Color = clRed
    Pen.Style = psClear
    Shape = stCircle
  end
  object Frame: TShape
    Left = 76
    Top = 8
    Width = 60
    Height = 40
    Brush.Color = clLime
  end
  object Caption1: TStaticText
    Left = 150
    Top = 8
    Width = 120
    Height = 17
    BorderStyle = sbsSunken
    Caption = 'Static text'
    TabOrder = 0
  end
  object Bold: TSpeedButton
    Left = 8
    Top = 60
    Width = 40
    Height = 22
    AllowAllUp = True
    Caption = 'B'
    Down = True
    GroupIndex = 1
    OnClick = BoldClick
  end
  object Italic: TSpeedButton
    Left = 50
    Top = 60
    Width = 40
    Height = 22
    Caption = 'I'
    Flat = True
    GroupIndex = 1
  end
  object Link: TLinkLabel
    Left = 150
    Top = 34
    Width = 200
    Height = 17
    Caption = 'See <a href="https://example.invalid/">the site</a> now'
    TabOrder = 1
    UseVisualStyle = True
    OnLinkClick = LinkLinkClick
  end
  object Bar: TControlBar
    Left = 8
    Top = 92
    Width = 400
    Height = 30
    BevelKind = bkFlat
    RowSize = 26
    TabOrder = 2
    object BarPanel: TPanel
      Left = 11
      Top = 2
      Width = 150
      Height = 22
      Caption = 'Band'
      TabOrder = 0
    end
  end
  object Search: TButtonedEdit
    Left = 8
    Top = 132
    Width = 200
    Height = 21
    LeftButton.Visible = True
    RightButton.ImageIndex = 2
    RightButton.Visible = True
    TabOrder = 3
    Text = 'find me'
    TextHint = 'Search'
    OnRightButtonClick = SearchRightButtonClick
  end
  object Count: TSpinEdit
    Left = 220
    Top = 132
    Width = 80
    Height = 22
    MaxValue = 10
    MinValue = 1
    TabOrder = 4
    Value = 7
  end
  object Actions: TActionList
    Left = 320
    Top = 160
    object CopyAction: TEditCopy
      Category = 'Edit'
      Caption = '&Copy'
      ShortCut = 16451
    end
    object SelectAllAction: TEditSelectAll
      Category = 'Edit'
      Caption = 'Select &All'
      ShortCut = 16449
    end
  end
  object PictureDialog: TOpenPictureDialog
    Left = 360
    Top = 160
  end
  object Server: TDdeServerConv
    Left = 280
    Top = 160
  end
  object ServerItem: TDdeServerItem
    ServerConv = Server
    Left = 240
    Top = 160
  end
end
