// TPos: the placement store a persistent window owns (as Pos1). It brings back the
// window's position, size and show state from the settings store when the window is
// created or shown, saves them when it closes, and lets the window read and write its
// own values in the same key while OnRead and OnWrite run.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class QWidget;
class TRegistry;

// Show state applied when a placement is restored; swSaved keeps the saved one.
// The values 0 to 10 are the show commands of the placement record.
enum class TShowCmd {
  swHide,
  swShowNormal,
  swShowMinimized,
  swShowMaximized,
  swShowNoActivate,
  swShow,
  swMinimize,
  swShowMinNoActive,
  swShowNA,
  swRestore,
  swShowDefault,
  swSaved
};

// A handler of OnRead or OnWrite: reads or writes the window's own values through the
// accessor, which is open on the store's key. It may throw; the key is closed all the same.
using TPosEvent = std::function<void(TRegistry& registry)>;

class TPos : public QObject {
  Q_OBJECT

public:
  // A store for owner (which also owns it) on the user's settings store. Value becomes
  // "pos" followed by the owner's object name, so name the window first.
  explicit TPos(QWidget* owner);
  // The same on the given registry accessor (tests pass a store of their own).
  TPos(QWidget* owner, std::unique_ptr<TRegistry> registry);
  ~TPos() override;

  // Key path from the root, "\Software\Tamarek\Ravlen". Assigning it creates the key when
  // it is missing; when that fails the old path stays and the error box says so.
  QString Path() const { return FPath; }
  void SetPath(const QString& path);
  // Name of the value holding the placement, "posDoor".
  QString Value() const { return FValue; }
  void SetValue(const QString& value) { FValue = value; }
  // Show state given to the window when its placement is restored.
  TShowCmd InitState() const { return FInitState; }
  void SetInitState(TShowCmd state) { FInitState = state; }
  // The accessor; open on Path while OnRead and OnWrite run.
  TRegistry& Registry() { return *FRegistry; }

  // Runs after the placement step of ReadPlacement, found or not: the window reads its own values.
  void SetOnRead(TPosEvent handler) { FOnRead = std::move(handler); }
  // Runs after WritePlacement saved the placement: the window writes its own values.
  void SetOnWrite(TPosEvent handler) { FOnWrite = std::move(handler); }

  // Restores the owner's placement from the key (a value of another size, or with an
  // empty normal rectangle, is ignored), then runs OnRead. Does nothing when the key
  // cannot be opened. With swSaved a saved hidden state comes back as a normal one.
  void ReadPlacement();
  // Saves the owner's placement into the key, creating it, then runs OnWrite; an error
  // box and nothing written when the key cannot be created or there is no owner. What
  // both wrote is stored at once; an error box names the store when that fails.
  void WritePlacement();

private:
  QPointer<QWidget> FOwner;
  QString FPath;
  QString FValue;
  std::unique_ptr<TRegistry> FRegistry;
  TShowCmd FInitState = TShowCmd::swSaved;
  TPosEvent FOnRead;
  TPosEvent FOnWrite;
};
