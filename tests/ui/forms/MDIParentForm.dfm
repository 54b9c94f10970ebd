object MDIParentForm: TMDIParentForm
  Left = 20
  Top = 20
  Caption = 'Documents'
  ClientHeight = 400
  ClientWidth = 600
  Color = clGray
  FormStyle = fsMDIForm
  Position = poDesigned
  PixelsPerInch = 96
  TextHeight = 13
  object PanelBar: TPanel
    Left = 0
    Top = 0
    Width = 600
    Height = 30
    Align = alTop
    Caption = 'Bar'
    TabOrder = 0
  end
end
