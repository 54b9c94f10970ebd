#include "ui/extdlgs.h"

KST_CLASS_IMPL(TOpenPictureDialog, "ExtDlgs")
KST_CLASS_IMPL(TSavePictureDialog, "ExtDlgs")

namespace {

const char16_t* const kPictureFilter =
    u"All (*.bmp;*.jpg;*.jpeg;*.ico;*.emf;*.wmf)|*.bmp;*.jpg;*.jpeg;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|"
    u"JPEG images (*.jpg;*.jpeg)|*.jpg;*.jpeg|Icons (*.ico)|*.ico|Metafiles (*.emf;*.wmf)|*.emf;*.wmf";

}  // namespace

void TOpenPictureDialog::Describe(TClassBuilder<TOpenPictureDialog>&) {}

TOpenPictureDialog::TOpenPictureDialog(TComponent* owner) : TOpenDialog(owner) {
  SetFilter(kPictureFilter);
}

void TSavePictureDialog::Describe(TClassBuilder<TSavePictureDialog>&) {}

TSavePictureDialog::TSavePictureDialog(TComponent* owner) : TSaveDialog(owner) {
  SetFilter(kPictureFilter);
}
