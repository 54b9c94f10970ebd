object Form1: TForm1
  Left = 10
  Caption = 'It'#39's' + #233
  Font.Style = [fsBold, fsItalic]
  Items.Strings = (
    'a'
    '')
  Columns = <
    item [2]
      Width = 1.500000000000000000
    end>
  Data = {
    0A0B0C}
  Price = 15000c
  When = 1.5d
  Ratio = 0.5s
  Big = $7FFFFFFF
  inherited Button1: TButton [2]
    OnClick = nil
  end
end
