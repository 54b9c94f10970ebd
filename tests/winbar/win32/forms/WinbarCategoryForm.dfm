object WinbarCategoryForm: TWinbarCategoryForm
  Left = 60
  Top = 60
  Caption = 'Categories'
  ClientHeight = 260
  ClientWidth = 400
  Color = clBtnFace
  Position = poDesigned
  PixelsPerInch = 96
  TextHeight = 13
  object Palette: TCategoryButtonsEx
    Left = 8
    Top = 8
    Width = 180
    Height = 244
    ButtonFlow = cbfVertical
    ButtonHeight = 22
    ButtonOptions = [boAllowReorder, boFullSize, boGradientFill, boShowCaptions]
    Categories = <
      item
        Caption = 'Standard'
        Color = 16771818
        Collapsed = False
        Items = <
          item
            Caption = 'Button'
            Hint = 'A push button'
          end
          item
            Caption = 'Label'
          end
          item
            Caption = 'Edit'
          end>
      end
      item
        Caption = 'Additional'
        Color = 15395839
        GradientColor = clWhite
        Items = <
          item
            Caption = 'Image'
            Tag = 7
          end
          item
            Caption = 'Shape'
          end>
      end
      item
        Caption = 'Closed'
        Color = 15400959
        Collapsed = True
        Items = <
          item
            Caption = 'Hidden'
          end>
      end>
    RegularButtonColor = clWhite
    SelectedButtonColor = 15132390
    TabOrder = 0
    OnButtonClicked = PaletteButtonClicked
  end
  object Grid: TCategoryButtonsEx
    Left = 200
    Top = 8
    Width = 192
    Height = 120
    ButtonFlow = cbfHorizontal
    ButtonWidth = 40
    ButtonHeight = 30
    Categories = <
      item
        Caption = 'Row'
        Color = 16777194
        Items = <
          item
            Caption = 'A'
          end
          item
            Caption = 'B'
          end
          item
            Caption = 'C'
          end>
      end>
    RegularButtonColor = clWhite
    SelectedButtonColor = 15132390
    TabOrder = 1
  end
end
