object Fé: TFé
  P = é.x
end
