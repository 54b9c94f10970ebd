object MenuFrameForm: TMenuFrameForm
  Left = 60
  Top = 60
  Caption = 'Frame'
  ClientHeight = 360
  ClientWidth = 520
  Color = clGray
  FormStyle = fsMDIForm
  Menu = MainMenu
  Position = poDesigned
  WindowMenu = mmWin
  PixelsPerInch = 96
  TextHeight = 13
  object MainMenu: TMainMenu
    Left = 8
    Top = 8
    object mmFile: TMenuItem
      Caption = '&File'
      object Close1: TMenuItem
        Caption = 'Close'
      end
    end
    object mmWin: TMenuItem
      Caption = '&Windows'
      GroupIndex = 99
      object Cascade1: TMenuItem
        Caption = 'Cascade'
      end
    end
    object mmHelp: TMenuItem
      Caption = '&Help'
      GroupIndex = 100
      object About1: TMenuItem
        Caption = 'About...'
      end
    end
  end
end
