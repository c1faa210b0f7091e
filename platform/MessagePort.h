// The receiving side of window messages: a window's message port, a local server on the
// socket MessagePortPath(handle). Each request is handed to the handler from the Qt event
// loop, so a request that arrives while a long loop processes events runs inside it.
// The port keeps serving whatever callers do: a connection that has not sent its whole
// request within a second is dropped, at most kMaxUnfinished such connections are kept
// (the oldest goes first), only this user's programs are answered, and a port that the
// system made stop listening (no descriptor left for a connection) listens again.
#pragma once

#include <QObject>
#include <QString>
#include <deque>
#include <functional>

#include "WindowMessages.h"

class QLocalSocket;
class QTimer;
class TPortServer;

class TMessagePort : public QObject {
  Q_OBJECT

public:
  // Runs once per request; its result is the reply.
  using THandler = std::function<std::int64_t(const TWindowMessage& message)>;

  explicit TMessagePort(QObject* parent = nullptr);
  ~TMessagePort() override;

  // Starts serving window's port, mode 0600. The handle belongs to the caller, so a
  // socket left at its path by a program that died is replaced. False when the socket
  // cannot be made; ErrorString() says why.
  bool Listen(TWindowHandle window);
  // Stops taking connections and removes the socket; requests being served finish.
  void Close();
  bool IsListening() const;
  // The handle being served; 0 when not listening.
  TWindowHandle Window() const { return FWindow; }
  // The socket path and the system's reason of the last failed Listen.
  QString ErrorString() const { return FError; }
  // Receives every request; without one every request is answered 0.
  void SetHandler(THandler handler) { FHandler = std::move(handler); }

  // Longest a connection may take to send its whole request, ms: 20 bytes come at once.
  static constexpr int kRequestTimeoutMs = 1000;
  // Most connections kept waiting for their request at one time.
  static constexpr std::size_t kMaxUnfinished = 32;
  // How often a port that stopped listening tries again, ms.
  static constexpr int kRelistenMs = 200;

private:
  bool StartListening();
  void AcceptConnections();
  void ServeRequest(QLocalSocket* socket);
  void Forget(QLocalSocket* socket);
  void Drop(QLocalSocket* socket);

  TPortServer* FServer = nullptr;
  QTimer* FRelisten = nullptr;
  THandler FHandler;
  TWindowHandle FWindow = 0;
  QString FError;
  std::deque<QLocalSocket*> FUnfinished;  // oldest first
};
