#include "ui/sockets.h"

#include "classes/reflection.h"

KST_CLASS_IMPL(TSocketComponent, "ScktComp")
KST_CLASS_IMPL(TClientSocket, "ScktComp")
KST_CLASS_IMPL(TServerSocket, "ScktComp")
KST_CLASS_IMPL(TTcpClient, "Sockets")
KST_CLASS_IMPL(TTcpServer, "Sockets")
KST_CLASS_IMPL(TUdpSocket, "Sockets")

const TTypeInfo& DescribeType(TypeTag<TClientType>) {
  static const TEnumTypeInfo t(u"TClientType", u"ScktComp", {u"ctNonBlocking", u"ctBlocking"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TServerType>) {
  static const TEnumTypeInfo t(u"TServerType", u"ScktComp", {u"stNonBlocking", u"stThreadBlocking"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TSocketBlockMode>) {
  static const TEnumTypeInfo t(u"TSocketBlockMode", u"Sockets", {u"bmBlocking", u"bmNonBlocking", u"bmThreadBlocking"});
  return t;
}

#define KST_PROPERTY(name) c.Property(u## #name, &TSocketComponent::name)

void TSocketComponent::Describe(TClassBuilder<TSocketComponent>& c) {
  KST_PROPERTY(Active).Default(0);
}

// The old socket components: a host or address and a port or service.
void TClientSocket::Describe(TClassBuilder<TClientSocket>& c) {
  KST_PROPERTY(Address);
  KST_PROPERTY(ClientType).Default(ctNonBlocking);
  KST_PROPERTY(Host);
  KST_PROPERTY(Port).Default(0);
  KST_PROPERTY(Service);
  KST_PROPERTY(OnConnect);
  KST_PROPERTY(OnConnecting);
  KST_PROPERTY(OnDisconnect);
  KST_PROPERTY(OnError);
  KST_PROPERTY(OnLookup);
  KST_PROPERTY(OnRead);
  KST_PROPERTY(OnWrite);
}
void TServerSocket::Describe(TClassBuilder<TServerSocket>& c) {
  KST_PROPERTY(Port).Default(0);
  KST_PROPERTY(ServerType).Default(stNonBlocking);
  KST_PROPERTY(Service);
  KST_PROPERTY(ThreadCacheSize).Default(10);
  KST_PROPERTY(OnAccept);
  KST_PROPERTY(OnClientConnect);
  KST_PROPERTY(OnClientDisconnect);
  KST_PROPERTY(OnClientError);
  KST_PROPERTY(OnClientRead);
  KST_PROPERTY(OnClientWrite);
  KST_PROPERTY(OnGetSocket);
  KST_PROPERTY(OnGetThread);
  KST_PROPERTY(OnListen);
  KST_PROPERTY(OnThreadEnd);
  KST_PROPERTY(OnThreadStart);
}

// The newer ones: remote and local host and port as texts.
void TTcpClient::Describe(TClassBuilder<TTcpClient>& c) {
  KST_PROPERTY(BlockMode).Default(bmBlocking);
  KST_PROPERTY(RemoteHost);
  KST_PROPERTY(RemotePort);
  KST_PROPERTY(OnConnect);
  KST_PROPERTY(OnCreateHandle);
  KST_PROPERTY(OnDestroyHandle);
  KST_PROPERTY(OnDisconnect);
  KST_PROPERTY(OnError);
  KST_PROPERTY(OnReceive);
  KST_PROPERTY(OnSend);
}
void TTcpServer::Describe(TClassBuilder<TTcpServer>& c) {
  KST_PROPERTY(BlockMode).Default(bmBlocking);
  KST_PROPERTY(LocalHost);
  KST_PROPERTY(LocalPort);
  KST_PROPERTY(OnAccept);
  KST_PROPERTY(OnCreateHandle);
  KST_PROPERTY(OnDestroyHandle);
  KST_PROPERTY(OnError);
  KST_PROPERTY(OnListen);
  KST_PROPERTY(OnReceive);
  KST_PROPERTY(OnSend);
}
void TUdpSocket::Describe(TClassBuilder<TUdpSocket>& c) {
  KST_PROPERTY(BlockMode).Default(bmBlocking);
  KST_PROPERTY(LocalHost);
  KST_PROPERTY(LocalPort);
  KST_PROPERTY(RemoteHost);
  KST_PROPERTY(RemotePort);
  KST_PROPERTY(OnConnect);
  KST_PROPERTY(OnCreateHandle);
  KST_PROPERTY(OnDestroyHandle);
  KST_PROPERTY(OnDisconnect);
  KST_PROPERTY(OnError);
  KST_PROPERTY(OnReceive);
  KST_PROPERTY(OnSend);
}
#undef KST_PROPERTY

void RegisterSocketClasses(TClassRegistry& registry) {
  registry.RegisterClasses({&TClientSocket::StaticClass(), &TServerSocket::StaticClass(), &TTcpClient::StaticClass(),
                            &TTcpServer::StaticClass(), &TUdpSocket::StaticClass()},
                           u"ui");
  for (const TTypeInfo* type : {&DescribeType(TypeTag<TClientType>{}), &DescribeType(TypeTag<TServerType>{}),
                                &DescribeType(TypeTag<TSocketBlockMode>{})})
    registry.RegisterType(*type);
}
