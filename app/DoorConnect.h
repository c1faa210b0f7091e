// The balance link on the program's side: sets up the shared block when the main window
// is created, publishes the window and its inputs at the first showing, serves the two
// link messages, writes the results of every balance run and tears the link down when
// the window closes. It talks to the window only through TBalanceHost.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/BalanceBlock.h"
#include "platform/MessagePort.h"
#include "platform/SharedMemory.h"
#include "platform/WindowMessages.h"

inline constexpr const char* kSyncBalanceName = BALANCE_LINK_SYNC_BALANCE_NAME;
inline constexpr const char* kAsynBalanceName = BALANCE_LINK_ASYN_BALANCE_NAME;
static_assert(RegisterWindowMessage(BALANCE_LINK_SYNC_BALANCE_NAME) == BALANCE_LINK_SYNC_BALANCE_MSG);
static_assert(RegisterWindowMessage(BALANCE_LINK_ASYN_BALANCE_NAME) == BALANCE_LINK_ASYN_BALANCE_MSG);

// The set-up failures, shown in an error box with one OK button.
inline constexpr const char* kLinkExistsText = "File Mapping Object Already Exists. Close Second copy of Application.";
inline constexpr const char* kLinkCreateText = "Cannot Create File Mapping Object";
inline constexpr const char* kLinkMapText = "Cannot Map to File Mapping Object";
// Heads the message shown when the window's message port cannot be opened.
inline constexpr const char* kLinkPortText = "Cannot receive balance requests at ";

// What the link needs of the main window.
class TBalanceHost {
public:
  virtual ~TBalanceHost() = default;
  // The main window's handle: its process id.
  virtual TWindowHandle LinkWindowHandle() const = 0;
  // The values of the seven input edits now, internal units (TrawlSpeed, TrawlResistance,
  // WDens, WarpAngleOnPlan, WarpAngleOnSide, BridleAngleOnPlan, BridleAngleOnSide).
  virtual TBalanceInputs LinkInputs() const = 0;
  // Puts the seven values into those edits, in that order, each through SetValue with
  // its range check (an out-of-range value becomes the default, with the edit's message).
  virtual void SetLinkInputs(const TBalanceInputs& inputs) = 0;
  // Runs the Balance command's handler to the end.
  virtual void BalanceActExecute() = 0;
};

// Shows a set-up failure to the user; none means an error box through ShowMessage.
using TLinkReport = std::function<void(const QString& text)>;

class TDoorConnect {
public:
  // The link over POSIX shared memory and the message ports. Without a block name (an
  // invalid RAVLEN_LINK_BLOCK) the set-up reports it and the window works without the link.
  explicit TDoorConnect(TBalanceHost& host, TLinkReport report = {},
                        std::optional<std::string> blockName = LinkBlockName());
  // The link over the given services (tests substitute stand-ins).
  TDoorConnect(TBalanceHost& host, TLinkReport report, TSharedMemory& memory, TWindowMessages& messages,
               std::optional<std::string> blockName = LinkBlockName());
  TDoorConnect(const TDoorConnect&) = delete;
  TDoorConnect& operator=(const TDoorConnect&) = delete;
  ~TDoorConnect();

  // At window creation: registers the two messages, opens the window's message port and
  // sets up the shared block. A block whose window is still served belongs to a live
  // first copy: the failure is shown and this copy works on a private block. A block
  // left behind by a copy that died is taken over without a word; one of another user
  // is never touched: the failure is shown with its owner.
  void SetUp();
  // At the first showing, after the settings are restored: the window's handle and the
  // current values of the seven input edits go into the block.
  void Publish();
  // At the end of every balance run, whoever started it: offsets 120 to 407.
  void WriteResults(const TBalanceResults& results);
  // When the window closes: MainWindow = 0, the name is removed, the port closes. The
  // block in use becomes a private copy of the last contents.
  void TearDown();

  // The window's message dispatcher: serves the two link messages (inputs into the
  // edits, BalanceActExecute, and for the asynchronous one the completion posted to
  // CallerWindow). Returns the reply, 0.
  std::int64_t Dispatch(const TWindowMessage& message);

  // Whether the block in use is the shared one.
  bool IsShared() const { return FLink == FShared; }
  // The block in use (FLink): the shared view, or the private block.
  const TBalanceBlock& Link() const { return *FLink; }
  std::uint32_t SyncBalanceMsg() const { return FSyncBalanceMsg; }
  std::uint32_t AsynBalanceMsg() const { return FAsynBalanceMsg; }
  // The window's message port (listening after SetUp unless it could not be opened).
  const TMessagePort& Port() const { return *FPort; }

private:
  bool IsLiveCopy(TWindowHandle self);
  void Abandon(const QString& text);

  TBalanceHost& FHost;
  TLinkReport FReport;
  std::unique_ptr<TSharedMemory> FOwnedMemory;
  std::unique_ptr<TWindowMessages> FOwnedMessages;
  TSharedMemory* FLinkMapping;
  TWindowMessages* FMessages;
  std::optional<std::string> FBlockName;
  std::unique_ptr<TMessagePort> FPort;
  TBalanceBlock FPrivate{};
  TBalanceBlock* FShared = nullptr;
  TBalanceBlock* FLink = &FPrivate;
  std::uint32_t FSyncBalanceMsg = 0;
  std::uint32_t FAsynBalanceMsg = 0;
};
