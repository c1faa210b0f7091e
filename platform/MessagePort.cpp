// Message port: accepts one request per connection, hands it to the handler and answers
// it. A poster has already closed its end when the reply goes out; that write fails
// quietly. Handlers may process events, so sockets and the port itself may be gone when
// a handler returns: both are watched through QPointer.
#include "MessagePort.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QVariant>

#include <sys/stat.h>

namespace {

// Marks a connection whose request has been taken, so that its disconnection no longer
// disposes of it: the request's handler does that when it returns.
constexpr const char* kTakenProperty = "ravlenRequestTaken";

}  // namespace

TMessagePort::TMessagePort(QObject* parent) : QObject(parent), FServer(new QLocalServer(this))
{
  connect(FServer, &QLocalServer::newConnection, this, &TMessagePort::AcceptConnections);
}

TMessagePort::~TMessagePort() { Close(); }

bool TMessagePort::Listen(TWindowHandle window)
{
  Close();
  const QString path = QString::fromStdString(MessagePortPath(window));
  QLocalServer::removeServer(path);
  // The server builds the socket in a private folder before moving it into place, so it
  // is never reachable by others, even for a moment.
  FServer->setSocketOptions(QLocalServer::UserAccessOption);
  if (!FServer->listen(path)) {
    FError = path + ": " + FServer->errorString();
    return false;
  }
  ::chmod(QFile::encodeName(path).constData(), S_IRUSR | S_IWUSR);
  FWindow = window;
  FError.clear();
  return true;
}

void TMessagePort::Close()
{
  if (FServer->isListening())
    FServer->close();
  FWindow = 0;
}

bool TMessagePort::IsListening() const { return FServer->isListening(); }

void TMessagePort::AcceptConnections()
{
  while (FServer->hasPendingConnections()) {
    QLocalSocket* socket = FServer->nextPendingConnection();
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ServeRequest(socket); });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
      if (socket->property(kTakenProperty).toBool())
        return;
      // A poster may close before its request was read: the bytes are still buffered.
      QPointer<QLocalSocket> connection(socket);
      ServeRequest(socket);
      if (connection && !connection->property(kTakenProperty).toBool())
        connection->deleteLater();  // closed without a whole request
    });
    if (socket->bytesAvailable() > 0)
      ServeRequest(socket);
  }
}

void TMessagePort::ServeRequest(QLocalSocket* socket)
{
  if (socket->property(kTakenProperty).toBool() ||
      socket->bytesAvailable() < static_cast<qint64>(kMessageRequestSize))
    return;
  socket->setProperty(kTakenProperty, true);
  unsigned char request[kMessageRequestSize];
  socket->read(reinterpret_cast<char*>(request), sizeof request);
  const TWindowMessage message = DecodeMessageRequest(request);

  QPointer<TMessagePort> self(this);
  QPointer<QLocalSocket> connection(socket);
  // A copy, so that a handler may replace itself while it runs.
  const THandler handler = FHandler;
  const std::int64_t result = handler ? handler(message) : 0;
  if (!self || !connection)
    return;
  if (connection->state() == QLocalSocket::ConnectedState) {
    const auto reply = EncodeMessageReply(result);
    connection->write(reinterpret_cast<const char*>(reply.data()), reply.size());
    connection->flush();
    connection->disconnectFromServer();
  }
  connection->deleteLater();
}
