// Window messages between processes. A message number is agreed by name
// (RegisterWindowMessage); a message is sent or posted to a window through the window's
// message port, a Unix socket named after its handle, which TMessagePort serves.
// Wire format, little-endian: a 20-byte request (u32 message, i64 wParam, i64 lParam)
// answered by an 8-byte reply (i64 result); one connection carries one request.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A window that receives messages; never 0. The main window uses its process id.
using TWindowHandle = std::uint32_t;

// One message as it crosses the port.
struct TWindowMessage {
  std::uint32_t Message = 0;  // message number, 0xC000..0xFFFF for registered messages
  std::int64_t WParam = 0;    // first parameter; link clients send 0
  std::int64_t LParam = 0;    // second parameter; link clients send 0
};

inline constexpr std::size_t kMessageRequestSize = 20;   // bytes of a request on the wire
inline constexpr std::size_t kMessageReplySize = 8;      // bytes of a reply on the wire
inline constexpr std::uint32_t kFirstRegisteredMessage = 0xC000;  // lowest registered number
inline constexpr std::uint32_t kRegisteredMessageRange = 0x4000;  // how many numbers there are

// FNV-1a, 32 bits, over the bytes of text (offset basis 2166136261, prime 16777619).
constexpr std::uint32_t Fnv1a32(std::string_view text)
{
  std::uint32_t hash = 2166136261u;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return hash;
}

// The number of the message called name (UTF-8); the same in every process.
constexpr std::uint32_t RegisterWindowMessage(std::string_view utf8Name)
{
  return kFirstRegisteredMessage + Fnv1a32(utf8Name) % kRegisteredMessageRange;
}

// The request and reply as bytes on the wire.
std::array<unsigned char, kMessageRequestSize> EncodeMessageRequest(const TWindowMessage& message);
TWindowMessage DecodeMessageRequest(const unsigned char* bytes);
std::array<unsigned char, kMessageReplySize> EncodeMessageReply(std::int64_t result);
std::int64_t DecodeMessageReply(const unsigned char* bytes);

// Folder of the message ports: $XDG_RUNTIME_DIR, or when that is unset or empty the
// private folder /tmp/ravlen-<uid>.
std::string MessagePortFolder();
// Whether the folder of the message ports is this user's alone (owned by this user, no
// access for others; the fall-back folder must not be a link); makes the fall-back folder
// with mode 0700 first when create is set. error says why not.
bool MessagePortFolderIsPrivate(bool create, std::string& error);
// Socket path of window's port: <folder>/ravlen-hwnd-<handle in decimal>.
std::string MessagePortPath(TWindowHandle window);
// Whether the peer of a connected Unix socket runs as this user.
bool PeerIsThisUser(int socket);

// Sending side of window messages. Tests substitute a capturing stand-in.
class TWindowMessages {
public:
  virtual ~TWindowMessages() = default;
  // Delivers message to window and waits for its reply; none when the window is not
  // served or its program went away before answering.
  virtual std::optional<std::int64_t> SendMessage(TWindowHandle window, const TWindowMessage& message) = 0;
  // Queues message for window without waiting; false when the window is not served.
  virtual bool PostMessage(TWindowHandle window, const TWindowMessage& message) = 0;
  // Whether a connection to window's port succeeds.
  virtual bool IsWindowServed(TWindowHandle window) = 0;
};

// Window messages over the Unix sockets of the message ports. A port is only talked to
// when its folder is private, the socket belongs to this user and so does the program
// that answers on it.
class TSocketWindowMessages final : public TWindowMessages {
public:
  std::optional<std::int64_t> SendMessage(TWindowHandle window, const TWindowMessage& message) override;
  bool PostMessage(TWindowHandle window, const TWindowMessage& message) override;
  bool IsWindowServed(TWindowHandle window) override;
};
