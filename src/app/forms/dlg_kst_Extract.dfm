object dlg_kst_Extract: Tdlg_kst_Extract
  Left = 0
  Top = 0
  BorderIcons = [biSystemMenu, biMaximize]
  Caption = 'Form Resources'
  ClientHeight = 420
  ClientWidth = 620
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  OldCreateOrder = False
  Position = poMainFormCenter
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  PixelsPerInch = 96
  TextHeight = 13
  object Label1: TLabel
    Left = 0
    Top = 0
    Width = 620
    Height = 380
    Align = alClient
    Alignment = taCenter
    Caption = 'No form resources found'
    Layout = tlCenter
    WordWrap = True
  end
  object Panel: TPanel
    Left = 0
    Top = 0
    Width = 620
    Height = 380
    Align = alClient
    BevelOuter = bvNone
    TabOrder = 0
    object pc: TPxPageControl
      Left = 0
      Top = 0
      Width = 620
      Height = 380
      ActivePage = tsRes
      ActivePageIndex = 0
      Align = alClient
      Options = [pgBoldActiveTab]
      TabHeight = 17
      TabOrder = 0
      object tsRes: TPxTabSheet
        Left = 0
        Top = 0
        Width = 620
        Height = 359
        Caption = ' Resources '
        object Splitter1: TSplitter
          Left = 152
          Top = 0
          Height = 359
        end
        object Box: TListBox
          Left = 0
          Top = 0
          Width = 152
          Height = 359
          Align = alLeft
          ItemHeight = 13
          TabOrder = 0
          OnClick = BoxClick
          OnDblClick = BoxDblClick
        end
        object DFM: TCodeMemo
          Left = 155
          Top = 0
          Width = 465
          Height = 359
          Align = alClient
          Color = clBtnFace
          Font.Charset = DEFAULT_CHARSET
          Font.Color = clWindowText
          Font.Height = -11
          Font.Name = 'Courier New'
          Font.Style = []
          TabOrder = 1
          Gutter.Font.Charset = DEFAULT_CHARSET
          Gutter.Font.Color = clWindowText
          Gutter.Font.Height = -11
          Gutter.Font.Name = 'Courier New'
          Gutter.Font.Style = []
          Gutter.Visible = False
          ReadOnly = True
          RemovedKeystrokes = <
            item
              Command = ecDeleteLastChar
              ShortCut = 8200
            end
            item
              Command = ecLineBreak
              ShortCut = 8205
            end
            item
              Command = ecTab
              ShortCut = 9
            end
            item
              Command = ecShiftTab
              ShortCut = 8201
            end
            item
              Command = ecContextHelp
              ShortCut = 112
            end
            item
              Command = ecMatchBracket
              ShortCut = 24642
            end>
          AddedKeystrokes = <>
        end
      end
      object tsInfo: TPxTabSheet
        Left = 0
        Top = 0
        Width = 620
        Height = 359
        Caption = ' Info '
        object Memo: TMemo
          Left = 0
          Top = 0
          Width = 620
          Height = 338
          Align = alClient
          Font.Charset = DEFAULT_CHARSET
          Font.Color = clWindowText
          Font.Height = -11
          Font.Name = 'Courier New'
          Font.Style = []
          ParentFont = False
          ReadOnly = True
          ScrollBars = ssVertical
          TabOrder = 0
        end
        object ts: TTabSet
          Left = 0
          Top = 338
          Width = 620
          Height = 21
          Align = alBottom
          Font.Charset = DEFAULT_CHARSET
          Font.Color = clWindowText
          Font.Height = -11
          Font.Name = 'Tahoma'
          Font.Style = []
          Tabs.Strings = (
            'Header'
            'Classes'
            'Forms'
            'Flags')
          TabIndex = 0
          OnClick = tsClick
        end
      end
    end
  end
  object pBottom: TPanel
    Left = 0
    Top = 380
    Width = 620
    Height = 40
    Align = alBottom
    BevelOuter = bvNone
    TabOrder = 1
    DesignSize = (
      620
      40)
    object bOpen: TButton
      Left = 8
      Top = 8
      Width = 75
      Height = 25
      Caption = 'Open...'
      TabOrder = 0
      OnClick = bOpenClick
    end
    object bOK: TButton
      Left = 456
      Top = 8
      Width = 75
      Height = 25
      Anchors = [akTop, akRight]
      Caption = 'Load'
      Default = True
      Enabled = False
      TabOrder = 1
      OnClick = BoxDblClick
    end
    object bClose: TButton
      Left = 537
      Top = 8
      Width = 75
      Height = 25
      Anchors = [akTop, akRight]
      Cancel = True
      Caption = 'Close'
      ModalResult = 2
      TabOrder = 2
    end
  end
  object od: TOpenDialog
    Filter = 'Supported files|*.exe;*.dll;*.ocx;*.bpl;*.dpl;*.cpl|Executables|*.exe|DLLs|*.dll|ActiveX|*.ocx|Borland packages|*.bpl;*.dpl|Control panel applets|*.cpl|All files|*.*'
    Options = [ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing]
    Left = 40
    Top = 40
  end
  object FormStorage: TSvFormStorage
    AppStoragePath = '%FORM_NAME%\'
    StoredValues = <>
    Left = 72
    Top = 40
  end
end
