#include "winbar/win32/registration.h"

#include "classes/reflection.h"
#include "winbar/win32/calendar.h"
#include "winbar/win32/categorybuttons.h"
#include "winbar/win32/formwallpaper.h"
#include "winbar/win32/gauge.h"
#include "winbar/win32/mdibuttongroup.h"
#include "winbar/win32/mditab.h"
#include "winbar/win32/onoffswitch.h"
#include "winbar/win32/thumbnail.h"
#include "winbar/win32/wheelscrollbox.h"

void RegisterWinbarClasses(TClassRegistry& registry) {
  const String module = u"winbar";
  registry.RegisterClasses({&TGrpButtonItem::StaticClass(),    &TGrpButtonItems::StaticClass(),
                            &TButtonGroup::StaticClass(),      &TButtonGroupEx::StaticClass(),
                            &TMDIButtonGroup::StaticClass(),   &TCustomTabControl::StaticClass(),
                            &TMDITab::StaticClass(),           &TBltBitmap::StaticClass(),
                            &TMGauge::StaticClass(),           &TCustomOnOffSwitch::StaticClass(),
                            &TOnOffSwitch::StaticClass(),      &TRoundOnOffSwitch::StaticClass(),
                            &TFormWallpaper::StaticClass(),    &TBaseItem::StaticClass(),
                            &TButtonItem::StaticClass(),       &TItemCollection::StaticClass(),
                            &TButtonCollection::StaticClass(), &TButtonCategory::StaticClass(),
                            &TButtonCategories::StaticClass(), &TCategoryButtonsEx::StaticClass(),
                            &TMCustomDrawGrid::StaticClass(),  &TMDrawGrid::StaticClass(),
                            &TMDateGrid::StaticClass(),        &TMCalendar::StaticClass(),
                            &TMWeekView::StaticClass(),        &TThumbnail::StaticClass(),
                            &TImageThumbnail::StaticClass(),   &TWheelScrollBox::StaticClass()},
                           module);
  registry.RegisterClasses({&TCategoryButtons::StaticClass()}, module);
  for (const TTypeInfo* type : {&DescribeType(TypeTag<TButtonDrawState>{}),
                                &DescribeType(TypeTag<TGrpButtonOptions>{}),
                                &GrpButtonEventType(),
                                &GrpButtonReorderEventType(),
                                &DescribeType(TypeTag<TGrpButtonDrawEvent>{}),
                                &DescribeType(TypeTag<TGrpButtonDrawIconEvent>{}),
                                &DescribeType(TypeTag<TMDIAction>{}),
                                &DescribeType(TypeTag<TOnMDIChangeEvent>{}),
                                &DescribeType(TypeTag<TOnMDIBeforeChangeEvent>{}),
                                &DescribeType(TypeTag<TTabStyle>{}),
                                &DescribeType(TypeTag<TDrawTabEvent>{}),
                                &DescribeType(TypeTag<TTabGetImageEvent>{}),
                                &DescribeType(TypeTag<TMGaugeKind>{}),
                                &DescribeType(TypeTag<TOffsetMode>{}),
                                &DescribeType(TypeTag<TCatButtonFlow>{}),
                                &DescribeType(TypeTag<TCatButtonOptions>{}),
                                &DescribeType(TypeTag<TGradientDirection>{}),
                                &DescribeType(TypeTag<TCatButtonEvent>{}),
                                &DescribeType(TypeTag<TCatButtonCategoryEvent>{}),
                                &DescribeType(TypeTag<TCatButtonReorderEvent>{}),
                                &DescribeType(TypeTag<TCategoryReorderEvent>{}),
                                &DescribeType(TypeTag<TCatButtonCopyEvent>{}),
                                &DescribeType(TypeTag<TCatButtonEditingEvent>{}),
                                &DescribeType(TypeTag<TCatButtonEditedEvent>{}),
                                &DescribeType(TypeTag<TCatButtonCancelEditEvent>{}),
                                &DescribeType(TypeTag<TCatButtonDrawEvent>{}),
                                &DescribeType(TypeTag<TOnGetCellParams>{}),
                                &DescribeType(TypeTag<TOnCalendarGetCellParams>{}),
                                &DescribeType(TypeTag<TOnCalendarSelectCell>{}),
                                static_cast<const TTypeInfo*>(&DayOfWeekType()),
                                &DescribeType(TypeTag<bitbuttons::TButtonStyle>{})})
    registry.RegisterType(*type);
}
