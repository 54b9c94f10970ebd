#include <initializer_list>

#include "panelkit/win32/alertwindow.h"
#include "panelkit/win32/flippanel.h"
#include "panelkit/win32/linklabel.h"
#include "panelkit/win32/panels.h"
#include "panelkit/win32/pxbutton.h"
#include "panelkit/win32/registration.h"
#include "ui/forms.h"

void RegisterPanelKitCollectionClasses(TClassRegistry& registry) {
  registry.RegisterClasses({&TPxGlyphSettings::StaticClass(), &TPxActiveGlyphSettings::StaticClass(),
                            &TPxAreaMargins::StaticClass(), &TPxGlyph::StaticClass(), &TPxImage::StaticClass(),
                            &TPxPanel::StaticClass(), &TPxFlipContainer::StaticClass(), &TPxFlipPanel::StaticClass(),
                            &TPxLinkLabel::StaticClass(), &TPxHtmlLabel::StaticClass(), &TPxSplitter::StaticClass(), &TPxGlyphButton::StaticClass(),
                            &TPxButton::StaticClass(), &TPxLabelMargins::StaticClass(), &TPxLabel::StaticClass(),
                            &TPxAlertWindow::StaticClass()},
                           u"panelkit");
  const std::initializer_list<const TTypeInfo*> types = {&DescribeType(TypeTag<TPxPanelBackgroundStyle>{}),
                                                         &DescribeType(TypeTag<TPanelBorder>{}),
                                                         &DescribeType(TypeTag<TPanelBorders>{}),
                                                         &DescribeType(TypeTag<TFlipBackgroundStyle>{}),
                                                         &DescribeType(TypeTag<TFlipKind>{}),
                                                         &DescribeType(TypeTag<THeaderStyle>{}),
                                                         &DescribeType(TypeTag<TDirection>{}),
                                                         &DescribeType(TypeTag<TLinkLabelDisplayMode>{}),
                                                         &DescribeType(TypeTag<TPxHtmlClickEvent>{}),
                                                         &DescribeType(TypeTag<TBackgroundDrawStyle>{}),
                                                         &DescribeType(TypeTag<TPxButtonLayout>{}),
                                                         &DescribeType(TypeTag<THorizontalPosition>{}),
                                                         &DescribeType(TypeTag<TVerticalPosition>{}),
                                                         &DescribeType(TypeTag<TBackgroundStyle>{}),
                                                         &DescribeType(TypeTag<TGlyphPosition>{}),
                                                         &DescribeType(TypeTag<TPopupLocation>{}),
                                                         &DescribeType(TypeTag<TMessageBeepSound>{}),
                                                         &DescribeType(TypeTag<TAlertOption>{}),
                                                         &DescribeType(TypeTag<TAlertOptions>{}),
                                                         &CustomDrawEventType()};
  for (const TTypeInfo* type : types) registry.RegisterType(*type);
}
