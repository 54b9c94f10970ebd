object MenuForm: TMenuForm
  Left = 40
  Top = 40
  Caption = 'Menus'
  ClientHeight = 200
  ClientWidth = 360
  Color = clBtnFace
  Menu = MainMenu1
  Position = poDesigned
  PixelsPerInch = 96
  TextHeight = 13
  object ToolBar1: TToolBar
    Left = 0
    Top = 0
    Width = 360
    Height = 24
    Caption = 'ToolBar1'
    Flat = True
    Images = ImageList1
    ParentShowHint = False
    PopupMenu = pmBar
    ShowHint = True
    TabOrder = 0
    object sbNew: TToolButton
      Left = 0
      Top = 0
      Cursor = crHandPoint
      Action = acNew
    end
    object sbOpen: TToolButton
      Left = 23
      Top = 0
      Cursor = crHandPoint
      Action = acOpen
    end
    object ToolButton3: TToolButton
      Left = 46
      Top = 0
      Width = 8
      Caption = 'ToolButton3'
      ImageIndex = 2
      Style = tbsSeparator
    end
    object sbSave: TToolButton
      Left = 54
      Top = 0
      Cursor = crHandPoint
      Action = acSave
    end
  end
  object sb: TStatusBar
    Left = 0
    Top = 181
    Width = 360
    Height = 19
    Panels = <
      item
        Text = 'Object count: 0'
        Width = 100
      end
      item
        Width = 150
      end
      item
        Alignment = taCenter
        Text = 'Modified'
        Width = 60
      end>
  end
  object MainMenu1: TMainMenu
    Images = ImageList1
    OwnerDraw = True
    Left = 8
    Top = 40
    object mmFile: TMenuItem
      Caption = '&File'
      object New1: TMenuItem
        Action = acNew
      end
      object Open1: TMenuItem
        Action = acOpen
      end
      object Save1: TMenuItem
        Action = acSave
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object Exit1: TMenuItem
        Caption = 'E&xit'
        ShortCut = 32856
        OnClick = Exit1Click
      end
    end
    object mmHelp: TMenuItem
      Caption = '&Help'
      GroupIndex = 100
      object About1: TMenuItem
        Caption = 'About...'
        Hint = 'About'
      end
    end
  end
  object ActionList1: TActionList
    Images = ImageList1
    Left = 40
    Top = 40
    object acNew: TAction
      Caption = 'New'
      Hint = 'New'
      ImageIndex = 0
      OnExecute = acNewExecute
    end
    object acOpen: TAction
      Caption = 'Open...'
      Hint = 'Open'
      ImageIndex = 1
      ShortCut = 16463
      OnExecute = acOpenExecute
    end
    object acSave: TAction
      Caption = 'Save'
      Hint = 'Save'
      ImageIndex = 2
      ShortCut = 16467
      OnExecute = acSaveExecute
      OnUpdate = acSaveUpdate
    end
  end
  object ImageList1: TImageList
    Left = 72
    Top = 40
  end
  object pmBar: TPopupMenu
    OnPopup = pmBarPopup
    Left = 104
    Top = 40
    object pmHide: TMenuItem
      Caption = '&Hide'
      OnClick = pmHideClick
    end
  end
end
