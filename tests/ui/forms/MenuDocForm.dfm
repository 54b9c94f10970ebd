object MenuDocForm: TMenuDocForm
  Left = 0
  Top = 0
  Width = 260
  Height = 180
  Caption = 'Doc'
  Color = clBtnFace
  FormStyle = fsMDIChild
  Menu = MainMenu
  Position = poDefaultPosOnly
  OnClose = FormClose
  PixelsPerInch = 96
  TextHeight = 13
  object MainMenu: TMainMenu
    Left = 8
    Top = 8
    object mmEdit: TMenuItem
      Caption = '&Edit'
      GroupIndex = 2
      object Undo1: TMenuItem
        Caption = '&Undo'
        ShortCut = 32776
        OnClick = Undo1Click
      end
    end
    object mmData: TMenuItem
      Caption = '&Data'
      GroupIndex = 3
      object Preview1: TMenuItem
        Caption = '&Form Preview'
        ShortCut = 123
      end
    end
  end
end
