object DataCtrlsForm: TDataCtrlsForm
  Left = 0
  Top = 0
  Caption = 'Data-aware controls'
  ClientHeight = 430
  ClientWidth = 620
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  object Grid: TDBGrid
    Left = 8
    Top = 8
    Width = 360
    Height = 110
    DataSource = Source
    TabOrder = 0
    TitleFont.Charset = DEFAULT_CHARSET
    TitleFont.Color = clWindowText
    TitleFont.Height = -11
    TitleFont.Name = 'Tahoma'
    TitleFont.Style = [fsBold]
    OnCellClick = GridCellClick
    Columns = <
      item
        Expanded = False
        FieldName = 'NAME'
        Title.Caption = 'Customer'
        Width = 140
        Visible = True
      end
      item
        Expanded = False
        FieldName = 'CITY'
        Width = 100
        Visible = True
      end
      item
        Expanded = False
        FieldName = 'SECRET'
        Visible = False
      end>
  end
  object NameEdit: TDBEdit
    Left = 8
    Top = 128
    Width = 160
    Height = 21
    DataField = 'NAME'
    DataSource = Source
    TabOrder = 1
  end
  object CityText: TDBText
    Left = 180
    Top = 132
    Width = 100
    Height = 13
    DataField = 'CITY'
    DataSource = Source
  end
  object Navigator: TDBNavigator
    Left = 8
    Top = 156
    Width = 240
    Height = 25
    DataSource = Source
    VisibleButtons = [nbFirst, nbPrior, nbNext, nbLast]
    TabOrder = 2
  end
  object Active: TDBCheckBox
    Left = 260
    Top = 160
    Width = 97
    Height = 17
    Caption = 'Active'
    DataField = 'ACTIVE'
    DataSource = Source
    TabOrder = 3
    ValueChecked = 'Y'
    ValueUnchecked = 'N'
  end
  object Lookup: TDBLookupComboBox
    Left = 8
    Top = 188
    Width = 160
    Height = 21
    DataField = 'CITY_ID'
    DataSource = Source
    KeyField = 'ID'
    ListField = 'NAME'
    ListSource = Source
    TabOrder = 4
  end
  object Chart: TChart
    Left = 376
    Top = 8
    Width = 236
    Height = 200
    Legend.Alignment = laRight
    Title.Font.Charset = DEFAULT_CHARSET
    Title.Font.Color = clBlue
    Title.Font.Height = -13
    Title.Font.Name = 'Tahoma'
    Title.Font.Style = []
    Title.Text.Strings = (
      'Sales by city')
    View3D = False
    BevelOuter = bvNone
    TabOrder = 5
  end
  object Table: TTable
    DatabaseName = 'C:\Data\Shop'
    TableName = 'customer.db'
    Active = True
    Left = 40
    Top = 240
    object TableNAME: TStringField
      DisplayLabel = 'Customer'
      FieldName = 'NAME'
      Required = True
      Size = 30
    end
    object TableID: TAutoIncField
      FieldName = 'ID'
      ReadOnly = True
    end
    object TableAMOUNT: TCurrencyField
      FieldName = 'AMOUNT'
      DisplayFormat = '#,##0.00'
      MaxValue = 1000000.000000000000000000
    end
  end
  object Source: TDataSource
    DataSet = Table
    Left = 80
    Top = 240
  end
  object Query: TQuery
    DatabaseName = 'Shop'
    SQL.Strings = (
      'select * from orders'
      'where customer = :ID')
    Left = 120
    Top = 240
    ParamData = <
      item
        DataType = ftInteger
        Name = 'ID'
        ParamType = ptInput
        Value = 7
      end>
  end
  object Database: TDatabase
    AliasName = 'ShopAlias'
    DatabaseName = 'Shop'
    LoginPrompt = False
    Params.Strings = (
      'PATH=C:\Data\Shop')
    SessionName = 'Default'
    Left = 160
    Top = 240
  end
end
