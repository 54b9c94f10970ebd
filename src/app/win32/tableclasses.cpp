#include "app/win32/tableclasses.h"

#include "classes/reflection.h"
#include "ui/forms.h"
#include "ui/graphics.h"

void RegisterLibraryTableClasses(TClassRegistry& registry) {
  registry.RegisterClasses({&TBrush::StaticClass(), &TCanvas::StaticClass(), &TPen::StaticClass(),
                            &TIcon::StaticClass(), &TPicture::StaticClass(), &TMetafile::StaticClass(),
                            &TFont::StaticClass(), &TGraphicsObject::StaticClass(), &TStringsClass(),
                            &TStringListClass(), &TControlScrollBar::StaticClass(), &TApplication::StaticClass(),
                            &TScreen::StaticClass()});
}
