#include <initializer_list>

#include "panelkit/win32/linkmenu.h"
#include "panelkit/win32/outlookbar.h"
#include "panelkit/win32/palettetabs.h"
#include "panelkit/win32/pxstatusbar.h"
#include "panelkit/win32/registration.h"
#include "panelkit/win32/toolbox.h"

void RegisterPanelKitNavigationClasses(TClassRegistry& registry) {
  registry.RegisterClasses(
      {&TPxVertScrollControl::StaticClass(), &TPxButtonHint::StaticClass(), &TPxTabControl::StaticClass(),
       &TPxSectionItem::StaticClass(), &TPxSectionItems::StaticClass(), &TPxSection::StaticClass(),
       &TPxSections::StaticClass(), &TPxLinkMenu::StaticClass(), &TPxStatusPanel::StaticClass(),
       &TPxStatusBar::StaticClass(), &TPxToolBoxItem::StaticClass(), &TPxToolBoxItems::StaticClass(),
       &TPxToolBoxCategoryItem::StaticClass(), &TPxToolBoxCategories::StaticClass(), &TPxToolBox::StaticClass(),
       &TPxOutlookBarItem::StaticClass(), &TPxOutlookBarItems::StaticClass(), &TPxOutlookBar::StaticClass()},
      u"panelkit");
  const std::initializer_list<const TTypeInfo*> types = {&DescribeType(TypeTag<TTabsBackgroundStyle>{}),
                                                         &ButtonClickEventType(),
                                                         &DescribeType(TypeTag<TShowingItem>{}),
                                                         &DescribeType(TypeTag<TShowingItems>{}),
                                                         &DescribeType(TypeTag<TItemClickEvent>{}),
                                                         &SectionClickEventType(),
                                                         &DescribeType(TypeTag<TPxCategoriesStyle>{}),
                                                         &DescribeType(TypeTag<TOutlookBarStyle>{}),
                                                         &DescribeType(TypeTag<TOutlookBarOption>{}),
                                                         &DescribeType(TypeTag<TOutlookBarOptions>{}),
                                                         &DescribeType(TypeTag<pxtoolbox::TDrawingOptions>{})};
  for (const TTypeInfo* type : types) registry.RegisterType(*type);
}
