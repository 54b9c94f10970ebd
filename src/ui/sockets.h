// Socket components, kept inert: a form names hosts and ports, and Active is
// kept as the form stores it; no socket is ever created.
#pragma once

#include "classes/component.h"

enum TClientType { ctNonBlocking, ctBlocking };
enum TServerType { stNonBlocking, stThreadBlocking };
enum TSocketBlockMode { bmBlocking, bmNonBlocking, bmThreadBlocking };
const TTypeInfo& DescribeType(TypeTag<TClientType>);
const TTypeInfo& DescribeType(TypeTag<TServerType>);
const TTypeInfo& DescribeType(TypeTag<TSocketBlockMode>);

// What every socket of the form names.
class TSocketComponent : public TComponent {
  KST_CLASS(TSocketComponent, TComponent)
 public:
  using TComponent::TComponent;
  bool Active = false;
  String Host, Address, Service, RemoteHost, RemotePort, LocalHost, LocalPort;
  Integer Port = 0, ThreadCacheSize = 10;
  TClientType ClientType = ctNonBlocking;
  TServerType ServerType = stNonBlocking;
  TSocketBlockMode BlockMode = bmBlocking;
  // Whether a socket was ever made (never, in this library).
  bool SocketCreated() const { return false; }
  TNotifyEvent OnConnect, OnDisconnect, OnError, OnRead, OnWrite, OnLookup, OnConnecting, OnAccept, OnListen,
      OnClientConnect, OnClientDisconnect, OnClientError, OnClientRead, OnClientWrite, OnGetSocket, OnGetThread,
      OnThreadStart, OnThreadEnd, OnCreateHandle, OnDestroyHandle, OnReceive, OnSend;
};

class TClientSocket : public TSocketComponent {
  KST_CLASS(TClientSocket, TSocketComponent)
 public:
  using TSocketComponent::TSocketComponent;
};
class TServerSocket : public TSocketComponent {
  KST_CLASS(TServerSocket, TSocketComponent)
 public:
  using TSocketComponent::TSocketComponent;
};
class TTcpClient : public TSocketComponent {
  KST_CLASS(TTcpClient, TSocketComponent)
 public:
  using TSocketComponent::TSocketComponent;
};
class TTcpServer : public TSocketComponent {
  KST_CLASS(TTcpServer, TSocketComponent)
 public:
  using TSocketComponent::TSocketComponent;
};
class TUdpSocket : public TSocketComponent {
  KST_CLASS(TUdpSocket, TSocketComponent)
 public:
  using TSocketComponent::TSocketComponent;
};

void RegisterSocketClasses(TClassRegistry& registry);
