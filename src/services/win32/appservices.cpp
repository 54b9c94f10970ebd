#include "services/win32/appservices.h"

#include "classes/reflection.h"
#include "services/win32/dragdrop.h"
#include "services/win32/svappinst.h"
#include "services/win32/wndprochook.h"

void RegisterAppServiceClasses(TClassRegistry& registry) {
  registry.RegisterClasses(
      {&TSvAppInstances::StaticClass(), &TSvDropTarget::StaticClass(), &TSvWindowHook::StaticClass()});
  registry.RegisterType(DescribeType(TypeTag<TSvHookMessageEvent>{}));
  registry.RegisterType(DescribeType(TypeTag<TSvDropEffect>{}));
  registry.RegisterType(DescribeType(TypeTag<TSvDragDropEvent>{}));
  registry.RegisterType(DescribeType(TypeTag<TSvDragAcceptEvent>{}));
  registry.RegisterType(DescribeType(TypeTag<TSvDragEvent>{}));
  registry.RegisterType(DescribeType(TypeTag<TSvDragLeaveEvent>{}));
  registry.RegisterType(DescribeType(TypeTag<TSvFilesDroppedEvent>{}));
  registry.RegisterType(DescribeType(TypeTag<TInstanceChangeEvent>{}));
  registry.RegisterType(UserNotifyEventType());
  registry.RegisterType(DescribeType(TypeTag<TDataAvailableEvent>{}));
  registry.RegisterType(DescribeType(TypeTag<TCmdLineReceivedEvent>{}));
}
