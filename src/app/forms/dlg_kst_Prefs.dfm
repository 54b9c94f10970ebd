object dlg_kst_Prefs: Tdlg_kst_Prefs
  Left = 0
  Top = 0
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Preferences'
  ClientHeight = 382
  ClientWidth = 472
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  OnClose = FormClose
  OnCreate = FormCreate
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object pc: TPageControl
    Left = 8
    Top = 8
    Width = 456
    Height = 329
    ActivePage = tsGen
    TabOrder = 0
    OnChange = pcChange
    object tsGen: TTabSheet
      Caption = ' General '
      object Label1: TLabel
        Left = 8
        Top = 8
        Width = 112
        Height = 13
        Caption = 'Registered file types:'
      end
      object RFTList: TListView
        Left = 8
        Top = 27
        Width = 432
        Height = 126
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
          057D00000002000000FFFFFFFFFFFFFFFFFFFFFFFF01000000FFFFFFFF000000
          0003440046004D000B440065006C00700068006900200046006F0072006D00FF
          FFFFFFFFFFFFFFFFFFFFFF01000000FFFFFFFF000000000346004D0058000F46
          006900720065004D006F006E006B0065007900200046006F0072006D00}
        ReadOnly = True
        TabOrder = 0
        ViewStyle = vsReport
      end
      object GroupBox1: TGroupBox
        Left = 8
        Top = 163
        Width = 432
        Height = 97
        Caption = ' Interface '
        TabOrder = 1
        object cbxShowTypeCol: TCheckBox
          Left = 12
          Top = 22
          Width = 400
          Height = 17
          Caption = 'Display [Type] column in Object Inspector'
          TabOrder = 0
        end
        object cbxShowCNCol: TCheckBox
          Left = 12
          Top = 45
          Width = 400
          Height = 17
          Caption = 'Display [Classname] column in Object Tree'
          TabOrder = 1
        end
        object cbxFont: TCheckBox
          Left = 12
          Top = 68
          Width = 400
          Height = 17
          Caption = 'Smaller font in Editor'
          TabOrder = 2
        end
      end
    end
    object tsPkg: TTabSheet
      Caption = ' Packages '
      TabVisible = False
      object BPLList: TListView
        Left = 8
        Top = 8
        Width = 351
        Height = 130
        Columns = <
          item
            Caption = 'Package'
            Width = 200
          end
          item
            Caption = 'Path'
            Width = 250
          end>
        ReadOnly = True
        RowSelect = True
        SmallImages = ImageList1
        TabOrder = 0
        ViewStyle = vsReport
        OnSelectItem = BPLListSelectItem
      end
      object bAdd: TButton
        Left = 365
        Top = 8
        Width = 75
        Height = 25
        Caption = 'Add...'
        TabOrder = 1
        OnClick = cmAdd
      end
      object bDel: TButton
        Left = 365
        Top = 39
        Width = 75
        Height = 25
        Caption = 'Remove'
        TabOrder = 2
        OnClick = cmDel
      end
      object Panel1: TPanel
        Left = 8
        Top = 144
        Width = 432
        Height = 149
        BevelOuter = bvNone
        TabOrder = 3
        object Memo: TMemo
          Left = 0
          Top = 0
          Width = 432
          Height = 128
          Align = alClient
          Font.Charset = DEFAULT_CHARSET
          Font.Color = clWindowText
          Font.Height = -11
          Font.Name = 'Courier New'
          Font.Style = []
          ParentFont = False
          ReadOnly = True
          ScrollBars = ssBoth
          TabOrder = 0
        end
        object ts: TTabSet
          Left = 0
          Top = 128
          Width = 432
          Height = 21
          Align = alBottom
          Tabs.Strings = (
            'Header'
            'Classes'
            'Flags')
          TabIndex = 0
          OnClick = tsClick
        end
      end
    end
    object tsRC: TTabSheet
      Caption = ' Registered Classes '
      object lUnit: TLabel
        Left = 8
        Top = 280
        Width = 3
        Height = 13
      end
      object eSearch: TButtonedEdit
        Left = 8
        Top = 8
        Width = 200
        Height = 21
        LeftButton.Hint = 'Type class name to search'
        LeftButton.Visible = True
        RightButton.Hint = 'Clear'
        RightButton.Visible = True
        TabOrder = 0
        OnChange = eSearchChange
        OnLeftButtonClick = eSearchLeftButtonClick
        OnRightButtonClick = eSearchRightButtonClick
      end
      object Box: TListBox
        Left = 8
        Top = 35
        Width = 200
        Height = 236
        ItemHeight = 13
        Sorted = True
        TabOrder = 1
        OnClick = BoxClick
      end
      object Tree: TTreeView
        Left = 216
        Top = 8
        Width = 224
        Height = 263
        Indent = 19
        ReadOnly = True
        ShowButtons = False
        ShowLines = False
        ShowRoot = False
        TabOrder = 2
      end
    end
  end
  object bOK: TButton
    Left = 308
    Top = 347
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 1
  end
  object bCancel: TButton
    Left = 389
    Top = 347
    Width = 75
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 2
  end
  object opd: TOpenDialog
    DefaultExt = 'bpl'
    Filter = 'Delphi packages|*.bpl|All files|*.*'
    Options = [ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing]
    Left = 400
    Top = 8
  end
  object ImageList1: TImageList
    Left = 368
    Top = 8
  end
end
