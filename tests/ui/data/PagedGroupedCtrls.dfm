object PagedGroupedForm: TForm
  Left = 0
  Top = 0
  Caption = 'Pager, groups and drop-down buttons'
  ClientHeight = 320
  ClientWidth = 440
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  object Bar: TToolBar
    Left = 0
    Top = 0
    Width = 440
    Height = 29
    Caption = 'Bar'
    TabOrder = 0
    object OpenButton: TToolButton
      Left = 0
      Top = 0
      Caption = 'Open'
      DropdownMenu = Recent
      Style = tbsDropDown
      OnClick = OpenButtonClick
    end
    object PlainButton: TToolButton
      Left = 37
      Top = 0
      Caption = 'Plain'
      OnClick = PlainButtonClick
    end
  end
  object Files: TListView
    Left = 8
    Top = 36
    Width = 240
    Height = 200
    Columns = <
      item
        Caption = 'Name'
        Width = 180
      end>
    Groups = <
      item
        Header = 'Documents'
        GroupID = 0
        State = [lgsNormal]
        HeaderAlign = taLeftJustify
        FooterAlign = taLeftJustify
        TitleImage = -1
      end
      item
        Header = 'Pictures'
        Footer = 'One picture'
        GroupID = 3
        State = [lgsNormal, lgsCollapsible]
        HeaderAlign = taCenter
        FooterAlign = taRightJustify
        Subtitle = 'From the camera'
        TitleImage = -1
      end>
    Items.ItemData = {
      05BB00000004000000FFFFFFFFFFFFFFFFFFFFFFFF0000000000000000000000
      000A5200650070006F00720074002E0064006F006300FFFFFFFFFFFFFFFFFFFF
      FFFF000000000000000000000000094E006F007400650073002E007400780074
      00FFFFFFFFFFFFFFFFFFFFFFFF0000000003000000000000000B48006F006C00
      69006400610079002E006A0070006700FFFFFFFFFFFFFFFFFFFFFFFF00000000
      FFFFFFFF00000000094C006F006F00730065002E00620069006E00}
    GroupView = True
    TabOrder = 1
    ViewStyle = vsReport
  end
  object Pager: TPageScroller
    Left = 8
    Top = 248
    Width = 200
    Height = 30
    Control = Strip
    TabOrder = 2
    object Strip: TPanel
      Left = 0
      Top = 0
      Width = 500
      Height = 30
      BevelOuter = bvNone
      Color = clRed
      ParentBackground = False
      TabOrder = 0
    end
  end
  object RoomyPager: TPageScroller
    Left = 220
    Top = 248
    Width = 200
    Height = 30
    Control = ShortStrip
    TabOrder = 3
    object ShortStrip: TPanel
      Left = 0
      Top = 0
      Width = 120
      Height = 30
      BevelOuter = bvNone
      Color = clBlue
      ParentBackground = False
      TabOrder = 0
    end
  end
  object Recent: TPopupMenu
    Left = 300
    Top = 40
    object RecentFile: TMenuItem
      Caption = 'C:\secret\report.txt'
      OnClick = RecentFileClick
    end
  end
end
