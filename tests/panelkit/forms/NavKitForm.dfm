object NavKitForm: TNavKitForm
  Left = 200
  Top = 120
  Caption = 'Navigation controls'
  ClientHeight = 440
  ClientWidth = 640
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
  object Palette: TPxTabControl
    Left = 8
    Top = 8
    Width = 300
    Height = 49
    BackgroundStyle = tbsVertGradient
    ButtonWidth = 24
    OnButtonClick = PaletteButtonClick
  end
  object Links: TPxLinkMenu
    Left = 8
    Top = 64
    Width = 200
    Height = 340
    Sections = <
      item
        Caption = 'Form files'
        Items = <
          item
            Caption = 'Open a form'
          end
          item
            Caption = 'Recent forms'
            ImageIndex = 1
          end>
      end
      item
        Caption = 'Pages'
        Expanded = False
        Items = <
          item
            Caption = 'Add a page'
          end>
        SectionMargins.Left = 8
        Special = True
      end
      item
        Caption = 'Help'
        Items = <
          item
            Caption = 'Contents'
          end
          item
            Caption = 'About'
            Options = [siLink]
          end>
      end>
    OnItemClick = LinksItemClick
    OnSectionClick = LinksSectionClick
  end
  object Tools: TPxToolBox
    Left = 216
    Top = 64
    Width = 185
    Height = 250
    Categories = <
      item
        Caption = 'Standard'
        Items = <
          item
            Caption = 'Button'
            ImageIndex = 0
          end
          item
            Caption = 'Label'
            ImageIndex = 1
            Tag = 7
          end
          item
            Caption = 'Edit'
            ImageIndex = 2
          end>
      end
      item
        Caption = 'Dialogs'
        Expanded = False
        Items = <
          item
            Caption = 'Open dialog'
          end>
      end
      item
        Caption = 'System'
        ImageIndex = 0
        Items = <
          item
            Caption = 'Timer'
          end>
      end>
    ItemHeight = 22
    TabOrder = 1
    OnSelectItem = ToolsSelectItem
  end
  object Outlook: TPxOutlookBar
    Left = 410
    Top = 8
    Width = 185
    Height = 300
    DisplayCount = 2
    Items = <
      item
        Caption = 'Forms'
        ImageIndex = 0
      end
      item
        Caption = 'Units'
        ImageIndex = 1
      end
      item
        Caption = 'Hidden'
        Visible = False
      end
      item
        Caption = 'Packages'
        Color = clInfoBk
        ImageIndex = 2
      end>
    ItemIndex = 1
    TabOrder = 2
    OnChange = OutlookChange
    OnSelect = OutlookSelect
    object OutlookPage: TPanel
      Left = 0
      Top = 0
      Width = 185
      Height = 197
      Align = alClient
      Caption = 'Page'
      TabOrder = 0
    end
  end
  object Status: TPxStatusBar
    Left = 0
    Top = 420
    Width = 640
    Height = 20
    Align = alBottom
  end
end
