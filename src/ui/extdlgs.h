// The picture dialogs: the open and save dialogs with a picture filter.
#pragma once

#include "ui/commdlg.h"

class TOpenPictureDialog : public TOpenDialog {
  KST_CLASS(TOpenPictureDialog, TOpenDialog)
 public:
  explicit TOpenPictureDialog(TComponent* owner);
};

class TSavePictureDialog : public TSaveDialog {
  KST_CLASS(TSavePictureDialog, TSaveDialog)
 public:
  explicit TSavePictureDialog(TComponent* owner);
};
