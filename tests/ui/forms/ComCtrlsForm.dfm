object ComCtrlsForm: TComCtrlsForm
  Left = 600
  Top = 300
  Caption = 'Common controls'
  ClientHeight = 400
  ClientWidth = 520
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  OldCreateOrder = False
  Position = poDesigned
  PixelsPerInch = 96
  TextHeight = 13
  object RFTList: TListView
    Left = 8
    Top = 8
    Width = 250
    Height = 150
    Checkboxes = True
    Columns = <
      item
        Caption = 'File Type'
        Width = 75
      end
      item
        Caption = 'Description'
        Width = 150
      end>
    Items.ItemData = {
      05AD00000003000000FFFFFFFFFFFFFFFFFFFFFFFF01000000FFFFFFFF000000
      0003440046004D000B440065006C00700068006900200046006F0072006D00FF
      FFFFFFFFFFFFFFFFFFFFFF01000000FFFFFFFF000000000346004D0058000F46
      006900720065004D006F006E006B0065007900200046006F0072006D00FFFFFF
      FFFFFFFFFFFFFFFFFF01000000FFFFFFFF0000000003580046004D000843004C
      005800200046006F0072006D00}
    ReadOnly = True
    RowSelect = True
    TabOrder = 0
    ViewStyle = vsReport
    OnSelectItem = RFTListSelectItem
  end
  object Tree: TTreeView
    Left = 266
    Top = 8
    Width = 246
    Height = 150
    Indent = 19
    ReadOnly = True
    TabOrder = 1
    OnChange = TreeChange
    OnDblClick = TreeDblClick
    Items.NodeData = {
      0302000000320000000000000000000000FFFFFFFFFFFFFFFF00000000000000
      0002000000010A43006F006D0070006F006E0065006E00740073002E00000000
      00000000000000FFFFFFFFFFFFFFFF0000000000000000020000000108530074
      0061006E0064006100720064002C0000000000000000000000FFFFFFFFFFFFFF
      FF0000000000000000000000000107540042007500740074006F006E002A0000
      000000000000000000FFFFFFFFFFFFFFFF000000000000000000000000010654
      004C006100620065006C00320000000000000000000000FFFFFFFFFFFFFFFF00
      0000000000000001000000010A4100640064006900740069006F006E0061006C
      002A0000000000000000000000FFFFFFFFFFFFFFFF0000000000000000000000
      000106540042006500760065006C00280000000000000000000000FFFFFFFFFF
      FFFFFF000000000000000000000000010554007900700065007300}
  end
  object Pages: TPageControl
    Left = 8
    Top = 166
    Width = 504
    Height = 200
    ActivePage = SheetGeneral
    TabOrder = 2
    OnChange = PagesChange
    object SheetGeneral: TTabSheet
      Caption = ' General '
      object LabelGeneral: TLabel
        Left = 8
        Top = 8
        Width = 60
        Height = 13
        Caption = 'First page'
      end
    end
    object SheetPackages: TTabSheet
      Caption = ' Packages '
      ImageIndex = 1
      object ButtonAdd: TButton
        Left = 8
        Top = 8
        Width = 75
        Height = 25
        Caption = 'Add...'
        TabOrder = 0
      end
    end
  end
  object Tabs: TTabSet
    Left = 0
    Top = 379
    Width = 520
    Height = 21
    Align = alBottom
    Tabs.Strings = (
      'Header'
      'Classes'
      'Forms'
      'Flags')
    TabIndex = 0
    OnChange = TabsChange
    OnClick = TabsClick
  end
end
