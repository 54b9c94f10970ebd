#include "panelkit/win32/registration.h"

#include <initializer_list>

#include "panelkit/win32/pagecontrol.h"
#include "panelkit/win32/themes.h"

void RegisterPanelKitClasses(TClassRegistry& registry) {
  const String module = u"panelkit";
  registry.RegisterClasses(
      {&TPxColorScheme::StaticClass(), &TPxTabSheet::StaticClass(), &TPxCustomNotebook::StaticClass(),
       &TPxPageControl::StaticClass(), &TPxNotebook::StaticClass(), &TPxTabGlyph::StaticClass(),
       &TPxGlyphPageControl::StaticClass()},
      module);
  const std::initializer_list<const TTypeInfo*> types = {&DescribeType(TypeTag<TColorScheme>{}),
                                                         &ColorSchemesType(),
                                                         &DescribeType(TypeTag<TTabDisplayMode>{}),
                                                         &DescribeType(TypeTag<TPxPanelStyle>{}),
                                                         &DescribeType(TypeTag<TTabStyle>{}),
                                                         &DescribeType(TypeTag<TTabPosition>{}),
                                                         &DescribeType(TypeTag<TBackgroundKind>{}),
                                                         &DescribeType(TypeTag<TScrollMethod>{}),
                                                         &DescribeType(TypeTag<TPageOptions>{}),
                                                         &PageChangingEventType(),
                                                         &PageCloseEventType(),
                                                         &CustomTabsPopupEventType(),
                                                         &CustomDrawBackgroundType(),
                                                         &TabClickEventType()};
  for (const TTypeInfo* type : types) registry.RegisterType(*type);
  RegisterPanelKitCollectionClasses(registry);
}
