// Window messages over Unix sockets: the wire encoding, the port paths and the sending
// side. Posting never blocks: a port whose queue is full loses the message, as a
// full message queue would.
#include "WindowMessages.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "PrivateFolder.h"

namespace {

void PutLittleEndian(unsigned char* bytes, std::uint64_t value, int count)
{
  for (int i = 0; i < count; ++i)
    bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint64_t GetLittleEndian(const unsigned char* bytes, int count)
{
  std::uint64_t value = 0;
  for (int i = 0; i < count; ++i)
    value |= std::uint64_t(bytes[i]) << (8 * i);
  return value;
}

const char* RuntimeFolder()
{
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  return runtime && *runtime ? runtime : nullptr;
}

// Whether path is a socket of this user's: another user's socket (or anything else) at
// that name is not a port of ours, whoever answers on it.
bool IsOwnSocket(const std::string& path)
{
  struct stat info{};
  return ::lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode) && info.st_uid == ::getuid();
}

// A socket connected to window's port, or -1. A non-blocking connect fails at once
// with EAGAIN when the port's queue is full instead of waiting for room.
int ConnectToPort(TWindowHandle window, bool blocking, bool& queueFull)
{
  queueFull = false;
  if (window == 0)
    return -1;
  std::string error;
  const std::string path = MessagePortPath(window);
  if (!MessagePortFolderIsPrivate(false, error) || !IsOwnSocket(path))
    return -1;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path)
    return -1;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | (blocking ? 0 : SOCK_NONBLOCK), 0);
  if (fd < 0)
    return -1;
  int status;
  do {
    status = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  } while (status != 0 && errno == EINTR);
  if (status != 0) {
    queueFull = errno == EAGAIN;
    ::close(fd);
    return -1;
  }
  if (!PeerIsThisUser(fd)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool WriteAll(int fd, const unsigned char* bytes, std::size_t count)
{
  while (count > 0) {
    const ssize_t written = ::send(fd, bytes, count, MSG_NOSIGNAL);
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return false;
    bytes += written;
    count -= static_cast<std::size_t>(written);
  }
  return true;
}

bool ReadAll(int fd, unsigned char* bytes, std::size_t count)
{
  while (count > 0) {
    const ssize_t got = ::recv(fd, bytes, count, 0);
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0)
      return false;
    bytes += got;
    count -= static_cast<std::size_t>(got);
  }
  return true;
}

}  // namespace

std::array<unsigned char, kMessageRequestSize> EncodeMessageRequest(const TWindowMessage& message)
{
  std::array<unsigned char, kMessageRequestSize> bytes{};
  PutLittleEndian(bytes.data(), message.Message, 4);
  PutLittleEndian(bytes.data() + 4, static_cast<std::uint64_t>(message.WParam), 8);
  PutLittleEndian(bytes.data() + 12, static_cast<std::uint64_t>(message.LParam), 8);
  return bytes;
}

TWindowMessage DecodeMessageRequest(const unsigned char* bytes)
{
  return {static_cast<std::uint32_t>(GetLittleEndian(bytes, 4)),
          static_cast<std::int64_t>(GetLittleEndian(bytes + 4, 8)),
          static_cast<std::int64_t>(GetLittleEndian(bytes + 12, 8))};
}

std::array<unsigned char, kMessageReplySize> EncodeMessageReply(std::int64_t result)
{
  std::array<unsigned char, kMessageReplySize> bytes{};
  PutLittleEndian(bytes.data(), static_cast<std::uint64_t>(result), 8);
  return bytes;
}

std::int64_t DecodeMessageReply(const unsigned char* bytes)
{
  return static_cast<std::int64_t>(GetLittleEndian(bytes, 8));
}

std::string MessagePortFolder()
{
  const char* runtime = RuntimeFolder();
  return runtime ? std::string(runtime) : UserFolderPath("/tmp");
}

bool MessagePortFolderIsPrivate(bool create, std::string& error)
{
  if (RuntimeFolder())
    return IsPrivateFolder(MessagePortFolder(), true, error);
  // /tmp is everybody's: the folder must be the one this user made, not a name planted there.
  return create ? MakePrivateFolder(MessagePortFolder(), error) : IsPrivateFolder(MessagePortFolder(), false, error);
}

bool PeerIsThisUser(int socket)
{
  ucred peer{};
  socklen_t size = sizeof peer;
  return ::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
}

std::string MessagePortPath(TWindowHandle window)
{
  return MessagePortFolder() + "/ravlen-hwnd-" + std::to_string(window);
}

std::optional<std::int64_t> TSocketWindowMessages::SendMessage(TWindowHandle window, const TWindowMessage& message)
{
  bool queueFull = false;
  const int fd = ConnectToPort(window, true, queueFull);
  if (fd < 0)
    return std::nullopt;
  const auto request = EncodeMessageRequest(message);
  unsigned char reply[kMessageReplySize];
  const bool answered = WriteAll(fd, request.data(), request.size()) && ReadAll(fd, reply, sizeof reply);
  ::close(fd);
  if (!answered)
    return std::nullopt;
  return DecodeMessageReply(reply);
}

bool TSocketWindowMessages::PostMessage(TWindowHandle window, const TWindowMessage& message)
{
  bool queueFull = false;
  const int fd = ConnectToPort(window, false, queueFull);
  if (fd < 0)
    return false;
  // A fresh connection's buffer takes the 20 bytes whole, so this never waits.
  const auto request = EncodeMessageRequest(message);
  const bool sent = WriteAll(fd, request.data(), request.size());
  ::close(fd);
  return sent;
}

bool TSocketWindowMessages::IsWindowServed(TWindowHandle window)
{
  bool queueFull = false;
  const int fd = ConnectToPort(window, false, queueFull);
  if (fd < 0)
    return queueFull;  // someone listens there, only too busy to take another caller now
  ::close(fd);
  return true;
}
