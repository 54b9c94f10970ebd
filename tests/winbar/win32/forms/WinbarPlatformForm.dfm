object WinbarPlatformForm: TWinbarPlatformForm
  Left = 80
  Top = 80
  Caption = 'Platform categories'
  ClientHeight = 220
  ClientWidth = 240
  Color = clBtnFace
  Position = poDesigned
  PixelsPerInch = 96
  TextHeight = 13
  object Tools: TCategoryButtons
    Left = 8
    Top = 8
    Width = 224
    Height = 204
    BevelKind = bkFlat
    BevelInner = bvNone
    BorderStyle = bsNone
    ButtonFlow = cbfVertical
    ButtonOptions = [boFullSize, boGradientFill, boShowCaptions, boBoldCaptions]
    Categories = <
      item
        Caption = 'Files'
        Color = 16771818
        Collapsed = False
        Items = <
          item
            Caption = 'Open'
            Hint = 'Opens a form'
          end
          item
            Caption = 'Save'
          end>
      end
      item
        Caption = 'Edit'
        Color = 15395839
        Items = <
          item
            Caption = 'Copy'
            Tag = 3
          end>
      end>
    DragMode = dmAutomatic
    RegularButtonColor = clWhite
    SelectedButtonColor = 15132390
    TabOrder = 0
  end
end
