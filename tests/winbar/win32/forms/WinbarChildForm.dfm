object WinbarChildForm: TWinbarChildForm
  Left = 0
  Top = 0
  Width = 220
  Height = 140
  Caption = 'Document'
  Color = clWindow
  FormStyle = fsMDIChild
  Position = poDefaultPosOnly
  OnActivate = FormActivate
  OnClose = FormClose
  OnDestroy = FormDestroy
  PixelsPerInch = 96
  TextHeight = 13
end
