// The placement store: the placement record and the window's own values in one key.
#include "controls/Pos.h"

#include <QDir>
#include <QWidget>

#include "platform/MessageBox.h"
#include "platform/Placement.h"
#include "platform/Registry.h"

static_assert(static_cast<int>(TShowCmd::swHide) == ShowCommand::Hide);
static_assert(static_cast<int>(TShowCmd::swShowMaximized) == ShowCommand::ShowMaximized);
static_assert(static_cast<int>(TShowCmd::swShowDefault) == ShowCommand::ShowDefault);

namespace {

// Closes the accessor's key when the scope ends, also when a handler throws.
class TKeyCloser {
public:
  explicit TKeyCloser(TRegistry& registry) : FRegistry(registry) {}
  ~TKeyCloser()
  {
    if (FOpen)
      FRegistry.CloseKey();
  }
  TKeyCloser(const TKeyCloser&) = delete;
  TKeyCloser& operator=(const TKeyCloser&) = delete;
  // Closes the key now: whether what was written in it is stored.
  bool Close()
  {
    FOpen = false;
    return FRegistry.CloseKey();
  }

private:
  TRegistry& FRegistry;
  bool FOpen = true;
};

}  // namespace

TPos::TPos(QWidget* owner) : TPos(owner, std::make_unique<TSettingsRegistry>()) {}

TPos::TPos(QWidget* owner, std::unique_ptr<TRegistry> registry)
    : QObject(owner), FOwner(owner), FRegistry(std::move(registry))
{
  FValue = QStringLiteral("pos") + (owner ? owner->objectName() : QString());
}

TPos::~TPos() = default;

void TPos::SetPath(const QString& path)
{
  const QString old = FPath;
  FPath = path;
  if (FRegistry->OpenKey(FPath, false) || FRegistry->OpenKey(FPath, true)) {
    FRegistry->CloseKey();
    return;
  }
  FPath = old;
  ShowMessage(TMessageKind::Error, QStringLiteral("Cannot create the key in registry."));
}

void TPos::ReadPlacement()
{
  if (!FRegistry->OpenKey(FPath, false))
    return;
  TKeyCloser closer(*FRegistry);
  const std::optional<TRegDataInfo> info = FRegistry->GetDataInfo(FValue);
  if (info && info->Size == kWindowPlacementSize)
    if (const std::optional<QByteArray> data = FRegistry->ReadBinary(FValue))
      if (std::optional<TWindowPlacement> placement = DecodePlacement(*data)) {
        placement->Length = kWindowPlacementSize;
        if (FInitState != TShowCmd::swSaved)
          placement->ShowCmd = static_cast<int>(FInitState);
        else if (placement->ShowCmd == ShowCommand::Hide)
          placement->ShowCmd = ShowCommand::ShowNormal;  // a hidden window could never be closed again
        // SetWindowPlacement refuses an empty normal rectangle.
        SetWindowPlacement(FOwner, *placement);
      }
  if (FOnRead)
    FOnRead(*FRegistry);
}

void TPos::WritePlacement()
{
  if (!FRegistry->OpenKey(FPath, true)) {
    ShowMessage(TMessageKind::Error, QStringLiteral("Cannot create the kay in registry."));
    return;
  }
  TKeyCloser closer(*FRegistry);
  std::optional<TWindowPlacement> placement = GetWindowPlacement(FOwner);
  if (!placement) {
    ShowMessage(TMessageKind::Error, QStringLiteral("Unable to retrieve window placement"));
    return;
  }
  placement->Length = kWindowPlacementSize;
  FRegistry->WriteBinary(FValue, EncodePlacement(*placement));
  if (FOnWrite)
    FOnWrite(*FRegistry);
  // The placement and the window's values are stored together, once, as the key closes.
  if (!closer.Close())
    ShowMessage(TMessageKind::Error, QStringLiteral("Cannot save the settings in %1: %2.")
                                         .arg(QDir::toNativeSeparators(FRegistry->StoreName()), FRegistry->ErrorString()));
}
