// The balance link on the program's side. The message port opens before the block is
// looked at, so that from the moment a block names this window the window is served;
// that is how the next copy tells a live first copy from a block left behind by a crash.
#include "DoorConnect.h"

#include <cstring>

#include "platform/MessageBox.h"

namespace {

constexpr std::size_t kBlockSize = sizeof(TBalanceBlock);

}  // namespace

TDoorConnect::TDoorConnect(TBalanceHost& host, TLinkReport report, std::optional<std::string> blockName)
    : FHost(host),
      FReport(std::move(report)),
      FOwnedMemory(std::make_unique<TPosixSharedMemory>()),
      FOwnedMessages(std::make_unique<TSocketWindowMessages>()),
      FLinkMapping(FOwnedMemory.get()),
      FMessages(FOwnedMessages.get()),
      FBlockName(std::move(blockName)),
      FPort(std::make_unique<TMessagePort>())
{
}

TDoorConnect::TDoorConnect(TBalanceHost& host, TLinkReport report, TSharedMemory& memory,
                           TWindowMessages& messages, std::optional<std::string> blockName)
    : FHost(host),
      FReport(std::move(report)),
      FLinkMapping(&memory),
      FMessages(&messages),
      FBlockName(std::move(blockName)),
      FPort(std::make_unique<TMessagePort>())
{
}

TDoorConnect::~TDoorConnect()
{
  // A window that goes away without closing still must not leave its name behind.
  if (IsShared())
    TearDown();
}

void TDoorConnect::Abandon(const QString& text)
{
  // A copy without the link takes no requests either: it would balance a private block
  // nobody reads.
  FPort->Close();
  FLinkMapping->Close();
  FShared = nullptr;
  FLink = &FPrivate;
  if (FReport)
    FReport(text);
  else
    ShowMessage(TMessageKind::Error, text);
}

bool TDoorConnect::IsLiveCopy(TWindowHandle self)
{
  // An object too small to hold a block was left by a copy that died while creating it.
  const auto* found = reinterpret_cast<const TBalanceBlock*>(FLinkMapping->Map(kBlockSize));
  if (!found)
    return false;
  const TWindowHandle recorded = MainWindowOf(*found);
  // Our own handle can only be there if a dead copy had this process id before us.
  return recorded != 0 && recorded != self && FMessages->IsWindowServed(recorded);
}

void TDoorConnect::SetUp()
{
  FSyncBalanceMsg = RegisterWindowMessage(kSyncBalanceName);
  FAsynBalanceMsg = RegisterWindowMessage(kAsynBalanceName);
  const TWindowHandle self = FHost.LinkWindowHandle();
  // The set-up failure, with the system's reason on a line of its own when there is one.
  const auto failure = [](const std::string& reason) {
    const QString text = QString::fromLatin1(kLinkCreateText);
    return reason.empty() ? text : text + QLatin1Char('\r') + QString::fromStdString(reason);
  };
  if (!FBlockName)
    return Abandon(failure(InvalidLinkBlockText()));
  const std::string& name = *FBlockName;
  FPort->SetHandler([this](const TWindowMessage& message) { return Dispatch(message); });
  if (!FPort->Listen(self))
    return Abandon(kLinkPortText + FPort->ErrorString());

  switch (FLinkMapping->Open(name)) {
    case TShmStatus::Ok:
      if (IsLiveCopy(self))
        return Abandon(kLinkExistsText);
      // Left behind: remove the name, so the creation below starts from a clean block.
      FLinkMapping->Unlink();
      FLinkMapping->Close();
      break;
    case TShmStatus::NotFound:
      break;
    case TShmStatus::Foreign:
    case TShmStatus::Failed:
      // Not a second copy of ours: another user's object, or one we may not open.
      return Abandon(failure(FLinkMapping->ErrorString()));
    case TShmStatus::AlreadyExists:
      break;
  }

  switch (FLinkMapping->Create(name, kBlockSize)) {
    case TShmStatus::Ok:
      break;
    case TShmStatus::AlreadyExists:
      return Abandon(kLinkExistsText);
    case TShmStatus::NotFound:
    case TShmStatus::Foreign:
    case TShmStatus::Failed:
      return Abandon(failure(FLinkMapping->ErrorString()));
  }
  auto* view = reinterpret_cast<TBalanceBlock*>(FLinkMapping->Map(kBlockSize));
  if (!view) {
    FLinkMapping->Unlink();
    return Abandon(kLinkMapText);
  }
  FShared = view;
  FLink = view;
  SetMainWindow(*FLink, self);
}

void TDoorConnect::Publish()
{
  SetMainWindow(*FLink, FHost.LinkWindowHandle());
  SetInputs(*FLink, FHost.LinkInputs());
}

void TDoorConnect::WriteResults(const TBalanceResults& results) { SetResults(*FLink, results); }

void TDoorConnect::TearDown()
{
  if (IsShared()) {
    SetMainWindow(*FShared, 0);
    std::memcpy(&FPrivate, FShared, kBlockSize);
    FLinkMapping->Unlink();
  }
  FLinkMapping->Close();
  FShared = nullptr;
  FLink = &FPrivate;
  SetMainWindow(FPrivate, 0);
  FPort->Close();
}

std::int64_t TDoorConnect::Dispatch(const TWindowMessage& message)
{
  const std::uint32_t number = message.Message;
  if (FSyncBalanceMsg == 0 || (number != FSyncBalanceMsg && number != FAsynBalanceMsg))
    return 0;
  FHost.SetLinkInputs(InputsOf(*FLink));
  FHost.BalanceActExecute();
  // Read only now: the run may have processed events, and the block is the client's.
  if (number == FAsynBalanceMsg)
    FMessages->PostMessage(CallerWindowOf(*FLink), {FAsynBalanceMsg, 0, 0});
  return 0;
}
