object ProbeForm: TProbeForm
  Left = 120
  Top = 90
  Caption = 'Instance probe'
  ClientHeight = 140
  ClientWidth = 420
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  OldCreateOrder = False
  Position = poDesigned
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object LabelReceived: TLabel
    Left = 8
    Top = 8
    Width = 400
    Height = 120
    AutoSize = False
    Caption = 'Nothing received yet'
    WordWrap = True
  end
  object AppInstances: TSvAppInstances
    OnInstanceCreated = AppInstancesInstanceCreated
    OnInstanceDestroyed = AppInstancesInstanceDestroyed
    OnCmdLineReceived = AppInstancesCmdLineReceived
    Left = 360
    Top = 96
  end
end
