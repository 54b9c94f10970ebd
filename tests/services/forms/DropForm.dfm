object DropForm: TDropForm
  Left = 200
  Top = 150
  Caption = 'Drop files here'
  ClientHeight = 200
  ClientWidth = 320
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
  object LabelDropped: TLabel
    Left = 8
    Top = 8
    Width = 300
    Height = 180
    AutoSize = False
    Caption = 'Drop files here'
    WordWrap = True
  end
  object DropTarget: TSvDropTarget
    Control = DropForm
    OnDragDrop = DropTargetDragDrop
    OnDragEnter = DropTargetDragEnter
    OnFilesDropped = DropTargetFilesDropped
    Left = 8
    Top = 160
  end
  object WindowHook: TSvWindowHook
    IsForm = True
    BeforeMessage = WindowHookBeforeMessage
    Left = 40
    Top = 160
  end
end
