#include "services/win32/appservices.h"

#include "classes/reflection.h"
#include "services/win32/svappinst.h"

void RegisterAppServiceClasses(TClassRegistry& registry) {
  registry.RegisterClasses({&TSvAppInstances::StaticClass()});
  registry.RegisterType(DescribeType(TypeTag<TInstanceChangeEvent>{}));
  registry.RegisterType(DescribeType(TypeTag<TUserNotifyEvent>{}));
  registry.RegisterType(DescribeType(TypeTag<TDataAvailableEvent>{}));
  registry.RegisterType(DescribeType(TypeTag<TCmdLineReceivedEvent>{}));
}
