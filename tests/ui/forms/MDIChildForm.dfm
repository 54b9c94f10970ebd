object MDIChildForm: TMDIChildForm
  Left = 0
  Top = 0
  Width = 240
  Height = 160
  Caption = 'Document'
  Color = clBtnFace
  FormStyle = fsMDIChild
  Position = poDefaultPosOnly
  OnActivate = FormActivate
  OnClose = FormClose
  PixelsPerInch = 96
  TextHeight = 13
  object PanelDoc: TPanel
    Left = 0
    Top = 0
    Width = 232
    Height = 126
    Align = alClient
    Caption = 'Text'
    TabOrder = 0
  end
end
