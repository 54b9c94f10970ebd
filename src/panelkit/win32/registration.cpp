#include "panelkit/win32/registration.h"

#include <initializer_list>

#include "panelkit/win32/buttonedits.h"
#include "panelkit/win32/checkboxes.h"
#include "panelkit/win32/combobox.h"
#include "panelkit/win32/datepicker.h"
#include "panelkit/win32/editbuttons.h"
#include "panelkit/win32/edits.h"
#include "panelkit/win32/expandpanel.h"
#include "panelkit/win32/headerpanel.h"
#include "panelkit/win32/iconlist.h"
#include "panelkit/win32/infopanels.h"
#include "panelkit/win32/memo.h"
#include "panelkit/win32/numberedits.h"
#include "panelkit/win32/optionbutton.h"
#include "panelkit/win32/pagecontrol.h"
#include "panelkit/win32/pathcontrol.h"
#include "panelkit/win32/themes.h"
#include "panelkit/win32/toolbar.h"

namespace {

void RegisterEditClasses(TClassRegistry& registry, const String& module) {
  registry.RegisterClasses(
      {&TPxEdit::StaticClass(), &TPxButtonEdit::StaticClass(), &TPxImagePathEdit::StaticClass(),
       &TPxFolderEdit::StaticClass(), &TPxComboBox::StaticClass(), &TPxFontComboBox::StaticClass(),
       &TPxNumberEdit::StaticClass(), &TPxSpinEdit::StaticClass(), &TPxMemo::StaticClass(),
       &TPxCanvasCellEditor::StaticClass(), &TPxCheckBox::StaticClass(), &TPxRadioButton::StaticClass()},
      module);
  const std::initializer_list<const TTypeInfo*> types = {
      &DescribeType(TypeTag<TCustomPreviewDrawEvent>{}), &DescribeType(TypeTag<TPxNumberEditOptions>{}),
      &DescribeType(TypeTag<TSpinButtonSet>{}),          &DescribeType(TypeTag<TSpinEvent>{}),
      &DescribeType(TypeTag<TVerticalAlignment>{}),      &DescribeType(TypeTag<TCheckBoxOptions>{})};
  for (const TTypeInfo* type : types) registry.RegisterType(*type);
  RegisterPickerClasses(registry, module);
}

void RegisterCollectionClasses(TClassRegistry& registry, const String& module) {
  registry.RegisterClasses(
      {&TPxOptionButton::StaticClass(), &TPxProgressBar::StaticClass(), &TPxExpandPanel::StaticClass(),
       &TPxGroupHeader::StaticClass(), &TPxInfoPanel::StaticClass(), &TPxIconList::StaticClass(),
       &TPxToolItem::StaticClass(), &TPxToolbarItems::StaticClass(), &TPxToolbar::StaticClass(),
       &TPxPathControl::StaticClass()},
      module);
  registry.RegisterType(DescribeType(TypeTag<TProgressBarOrientation>{}));
  registry.RegisterType(DescribeType(TypeTag<TWrapKind>{}));
  registry.RegisterType(DescribeType(TypeTag<TFillPaintStyle>{}));
  registry.RegisterType(DescribeType(TypeTag<TInfoPanelOptions>{}));
  registry.RegisterType(DescribeType(TypeTag<TPxToolbarItemPosition>{}));
  registry.RegisterType(DescribeType(TypeTag<TPathButtonStyle>{}));
  registry.RegisterType(NodeNotifyEventType());
}

}  // namespace

void RegisterPanelKitClasses(TClassRegistry& registry) {
  const String module = u"panelkit";
  registry.RegisterClasses(
      {&TPxColorScheme::StaticClass(), &TPxTabSheet::StaticClass(), &TPxCustomNotebook::StaticClass(),
       &TPxPageControl::StaticClass(), &TPxNotebook::StaticClass(), &TPxTabGlyph::StaticClass(),
       &TPxGlyphPageControl::StaticClass(), &TPxIndent::StaticClass(), &TPxMargins::StaticClass(),
       &TPxCollectionControl::StaticClass(), &TPxHeaderPanel::StaticClass()},
      module);
  const std::initializer_list<const TTypeInfo*> types = {&DescribeType(TypeTag<TColorScheme>{}),
                                                         &ColorSchemesType(),
                                                         &DescribeType(TypeTag<TTabDisplayMode>{}),
                                                         &DescribeType(TypeTag<TPxPanelStyle>{}),
                                                         &DescribeType(TypeTag<pxtabs::TTabStyle>{}),
                                                         &DescribeType(TypeTag<pxtabs::TTabPosition>{}),
                                                         &DescribeType(TypeTag<TBackgroundKind>{}),
                                                         &DescribeType(TypeTag<TScrollMethod>{}),
                                                         &DescribeType(TypeTag<TPageOptions>{}),
                                                         &PageChangingEventType(),
                                                         &PageCloseEventType(),
                                                         &CustomTabsPopupEventType(),
                                                         &CustomDrawBackgroundType(),
                                                         &TabClickEventType(),
                                                         &DescribeType(TypeTag<TPxHeaderStyle>{}),
                                                         &DescribeType(TypeTag<TDisplayStyle>{}),
                                                         &DescribeType(TypeTag<THeaderOptions>{}),
                                                         &DescribeType(TypeTag<TDirection>{}),
                                                         &CollapseEventType()};
  for (const TTypeInfo* type : types) registry.RegisterType(*type);
  RegisterEditClasses(registry, module);
  RegisterCollectionClasses(registry, module);
  RegisterPanelKitCollectionClasses(registry);
  RegisterPanelKitNavigationClasses(registry);
}
