object PageKitForm: TPageKitForm
  Left = 200
  Top = 120
  Caption = 'Panel kit pages'
  ClientHeight = 360
  ClientWidth = 420
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
  object pc: TPxPageControl
    Left = 0
    Top = 0
    Width = 420
    Height = 170
    ActivePage = PxTabSheet1
    ActivePageIndex = 0
    Align = alTop
    BackgroundKind = bkTransparent
    Margin = 0
    Options = [pgBoldActiveTab, pgScrollButtons]
    Spacing = 0
    TabHeight = 17
    TabMargin = 5
    TabPosition = tpBottom
    TabOrder = 0
    OnChange = pcChange
    OnChanging = pcChanging
    OnTabClick = pcTabClick
    object PxTabSheet1: TPxTabSheet
      Left = 0
      Top = 0
      Width = 420
      Height = 149
      Caption = 'Source'
      OnHide = PageHide
      OnShow = PageShow
    end
    object PxTabSheet2: TPxTabSheet
      Left = 0
      Top = 0
      Width = 420
      Height = 149
      Caption = 'Preview'
      TabVisible = False
      OnHide = PageHide
      OnShow = PageShow
    end
    object PxTabSheet3: TPxTabSheet
      Left = 0
      Top = 0
      Width = 420
      Height = 149
      Caption = 'Origin'
      PageStyle = ptGradient
      OnHide = PageHide
      OnShow = PageShow
    end
  end
  object gpc: TPxGlyphPageControl
    Left = 0
    Top = 176
    Width = 420
    Height = 130
    ActivePage = GlyphSheet1
    ActivePageIndex = 0
    Alignment = taLeftJustify
    BackgroundColorFrom = 12615680
    BackgroundColorTo = 16777215
    BackgroundKind = bkVertGradient
    FontActive.Charset = DEFAULT_CHARSET
    FontActive.Color = clWhite
    FontActive.Height = -11
    FontActive.Name = 'Tahoma'
    FontActive.Style = [fsBold]
    FontNormal.Charset = DEFAULT_CHARSET
    FontNormal.Color = clBlack
    FontNormal.Height = -11
    FontNormal.Name = 'Tahoma'
    FontNormal.Style = []
    TabOrder = 1
    OnChange = gpcChange
    object GlyphSheet1: TPxTabSheet
      Left = 0
      Top = 31
      Width = 420
      Height = 99
      Caption = 'General'
    end
    object GlyphSheet2: TPxTabSheet
      Left = 0
      Top = 31
      Width = 420
      Height = 99
      Caption = 'Advanced'
      Color = clInfoBk
      ParentColor = False
    end
  end
  object nb: TPxNotebook
    Left = 0
    Top = 312
    Width = 420
    Height = 48
    ActivePage = NotebookPage1
    ActivePageIndex = 0
    DesignButtons = True
    TabOrder = 2
    object NotebookPage1: TPxTabSheet
      Left = 0
      Top = 0
      Width = 420
      Height = 23
      Caption = 'One'
    end
  end
  object Scheme: TPxColorScheme
    ColorScheme = csSilver2010
    Left = 360
    Top = 8
  end
end
