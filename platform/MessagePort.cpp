// Message port: accepts one request per connection, hands it to the handler and answers
// it. A poster has already closed its end when the reply goes out; that write fails
// quietly. Handlers may process events, so sockets and the port itself may be gone when
// a handler returns: both are watched through QPointer.
#include "MessagePort.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <QVariant>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Marks a connection whose request has been taken, so that its disconnection no longer
// disposes of it: the request's handler does that when it returns.
constexpr const char* kTakenProperty = "ravlenRequestTaken";

bool IsTaken(const QLocalSocket* socket) { return socket->property(kTakenProperty).toBool(); }

}  // namespace

// The local server, which hangs up on another user's program before it becomes a
// connection. When accept fails (no descriptor left) QLocalServer stops listening and
// removes its socket; the port notices and listens again.
class TPortServer : public QLocalServer {
public:
  using QLocalServer::QLocalServer;

protected:
  void incomingConnection(quintptr descriptor) override
  {
    if (!PeerIsThisUser(static_cast<int>(descriptor))) {
      ::close(static_cast<int>(descriptor));
      return;
    }
    QLocalServer::incomingConnection(descriptor);
  }
};

TMessagePort::TMessagePort(QObject* parent)
    : QObject(parent), FServer(new TPortServer(this)), FRelisten(new QTimer(this))
{
  connect(FServer, &QLocalServer::newConnection, this, &TMessagePort::AcceptConnections);
  FRelisten->setInterval(kRelistenMs);
  connect(FRelisten, &QTimer::timeout, this, [this] {
    if (FWindow != 0 && !FServer->isListening())
      StartListening();
  });
}

TMessagePort::~TMessagePort() { Close(); }

bool TMessagePort::Listen(TWindowHandle window)
{
  Close();
  FWindow = window;
  if (!StartListening()) {
    FWindow = 0;
    return false;
  }
  FRelisten->start();
  return true;
}

bool TMessagePort::StartListening()
{
  std::string folderError;
  if (!MessagePortFolderIsPrivate(true, folderError)) {
    FError = QString::fromStdString(folderError);
    return false;
  }
  const QString path = QString::fromStdString(MessagePortPath(FWindow));
  QLocalServer::removeServer(path);
  // The server builds the socket in a private folder before moving it into place, so it
  // is never reachable by others, even for a moment.
  FServer->setSocketOptions(QLocalServer::UserAccessOption);
  if (!FServer->listen(path)) {
    FError = path + QStringLiteral(": ") + FServer->errorString();
    return false;
  }
  ::chmod(QFile::encodeName(path).constData(), S_IRUSR | S_IWUSR);
  FError.clear();
  return true;
}

void TMessagePort::Close()
{
  FRelisten->stop();
  if (FServer->isListening())
    FServer->close();
  FWindow = 0;
}

bool TMessagePort::IsListening() const { return FServer->isListening(); }

void TMessagePort::Forget(QLocalSocket* socket)
{
  FUnfinished.erase(std::remove(FUnfinished.begin(), FUnfinished.end(), socket), FUnfinished.end());
}

void TMessagePort::Drop(QLocalSocket* socket)
{
  Forget(socket);
  socket->disconnect(this);
  socket->abort();
  socket->deleteLater();
}

void TMessagePort::AcceptConnections()
{
  while (FServer->hasPendingConnections()) {
    QLocalSocket* socket = FServer->nextPendingConnection();
    // Each waiting connection holds a descriptor: callers that never finish their request
    // must not use them all up.
    FUnfinished.push_back(socket);
    if (FUnfinished.size() > kMaxUnfinished)
      Drop(FUnfinished.front());
    QTimer::singleShot(kRequestTimeoutMs, socket, [this, socket] {
      if (!IsTaken(socket))
        Drop(socket);
    });
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ServeRequest(socket); });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
      if (IsTaken(socket))
        return;
      // A poster may close before its request was read: the bytes are still buffered.
      QPointer<QLocalSocket> connection(socket);
      ServeRequest(socket);
      if (connection && !IsTaken(connection)) {  // closed without a whole request
        Forget(connection);
        connection->deleteLater();
      }
    });
    if (socket->bytesAvailable() > 0)
      ServeRequest(socket);
  }
}

void TMessagePort::ServeRequest(QLocalSocket* socket)
{
  if (IsTaken(socket) || socket->bytesAvailable() < static_cast<qint64>(kMessageRequestSize))
    return;
  socket->setProperty(kTakenProperty, true);
  Forget(socket);
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
