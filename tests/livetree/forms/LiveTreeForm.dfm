object LiveTreeForm: TLiveTreeForm
  Left = 40
  Top = 40
  Caption = 'Live tree'
  ClientHeight = 330
  ClientWidth = 420
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  Position = poDesigned
  PixelsPerInch = 96
  TextHeight = 13
  object Tree: TLiveStringTree
    Left = 10
    Top = 10
    Width = 400
    Height = 310
    Colors.UnfocusedSelectionColor = clSilver
    Header.AutoSizeIndex = 0
    Header.Font.Charset = DEFAULT_CHARSET
    Header.Font.Color = clWindowText
    Header.Font.Height = -11
    Header.Font.Name = 'Tahoma'
    Header.Font.Style = []
    Header.Height = 20
    Header.Options = [hoColumnResize, hoDrag, hoShowSortGlyphs, hoVisible]
    Header.SortColumn = 0
    Header.SortDirection = sdDescending
    HintMode = hmTooltip
    IncrementalSearch = isAll
    Indent = 19
    RootNodeCount = 5
    TabOrder = 0
    TreeOptions.AutoOptions = [toAutoDropExpand, toAutoScrollOnExpand, toAutoTristateTracking, toAutoDeleteMovedNodes, toAutoChangeScale]
    TreeOptions.MiscOptions = [toAcceptOLEDrop, toCheckSupport, toFullRepaintOnResize, toInitOnSave, toToggleOnDblClick, toWheelPanning, toReadOnly]
    TreeOptions.PaintOptions = [toShowButtons, toShowDropmark, toShowHorzGridLines, toShowRoot, toShowTreeLines, toShowVertGridLines, toThemeAware, toUseBlendedImages]
    TreeOptions.SelectionOptions = [toMultiSelect]
    WideDefaultText = 'Item'
    OnGetText = TreeGetText
    Columns = <
      item
        Position = 0
        Width = 220
        WideText = 'Name'
      end
      item
        Position = 1
        Width = 150
        WideText = 'Value'
        WideHint = 'The value'
      end>
  end
end
