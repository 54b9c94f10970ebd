object TestFrame: TTestFrame
  Left = 0
  Top = 0
  Width = 200
  Height = 60
  TabOrder = 0
  object FrameButton: TButton
    Left = 10
    Top = 10
    Width = 75
    Height = 25
    Caption = 'In frame'
    TabOrder = 0
    OnClick = FrameButtonClick
  end
end
