// TEditF: the single-line numeric edit of every window. It keeps its value as an extended
// real in internal (SI) units, shows it in a display unit with a fixed number of decimals,
// reads back what the user typed on Enter or when the focus leaves, enforces a range with
// an error box, and signals user changes. TLabeledEditF (LabeledEditF.h) builds on it.
#pragma once

#include <QLineEdit>
#include <QPointer>
#include <functional>

#include "coefficients/Real.h"

class TRegistry;

class TEditF;

// Consulted when the value is out of range. v is the value (the handler may change it);
// set suppressMessage to show no box; clear checkAgain to keep v even out of range.
using TRangeErrorEvent = std::function<void(TEditF* sender, Real& v, bool& suppressMessage, bool& checkAgain)>;

// The integer tag of a component (its dynamic property "Tag"; 0 when it has none).
int ComponentTag(const QObject* component);
// Sets the integer tag of a component.
void SetComponentTag(QObject* component, int tag);

class TEditF : public QLineEdit {
  Q_OBJECT

public:
  explicit TEditF(QWidget* parent = nullptr);

  // The value, internal units. Assigning it checks the range; the text follows only when
  // the check replaced the value (SetValue also redisplays).
  Real Val() const { return FVal; }
  void SetVal(Real value);
  // Assigns the value, redisplays and repaints: how code puts a number into the edit.
  void SetValue(Real value);
  // The copy taken by StoreEditValues, internal units.
  Real SavedVal() const { return FSavedVal; }

  // The value that replaces an out-of-range one, internal units.
  Real ValDefault() const { return FValDefault; }
  void SetValDefault(Real value);
  // Whether the range is enforced.
  bool ValCheck() const { return FValCheck; }
  void SetValCheck(bool check);
  // Lower bound, internal units, and whether it belongs to the range.
  Real ValMin() const { return FValMin; }
  void SetValMin(Real value);
  bool ValMinIncl() const { return FValMinIncl; }
  void SetValMinIncl(bool inclusive);
  // Upper bound, internal units, and whether it belongs to the range.
  Real ValMax() const { return FValMax; }
  void SetValMax(Real value);
  bool ValMaxIncl() const { return FValMaxIncl; }
  void SetValMaxIncl(bool inclusive);
  // Decimals shown.
  int ValPrecision() const { return FValPrecision; }
  void SetValPrecision(int decimals);
  // Size of one display unit in internal units (1000 shows newtons as kN).
  Real ValMultiplier() const { return FValMultiplier; }
  void SetValMultiplier(Real multiplier);
  // A free real for the owner; the edit never reads it.
  Real ValTag() const { return FValTag; }
  void SetValTag(Real tag) { FValTag = tag; }
  // The component whose tag becomes 1 on the first user change; none when null.
  QObject* ValChangedTag() const { return FValChangedTag; }
  void SetValChangedTag(QObject* component) { FValChangedTag = component; }
  // The range handler; empty for none.
  const TRangeErrorEvent& OnRangeError() const { return FOnRangeError; }
  void SetOnRangeError(TRangeErrorEvent handler) { FOnRangeError = std::move(handler); }

  // Initialisation mode: between BeginInit and EndInit (they nest) every assignment only
  // stores; nothing is adjusted or checked and no box is shown, but a new multiplier
  // still redisplays.
  void BeginInit() { ++FInitDepth; }
  void EndInit();
  bool Initializing() const { return FInitDepth > 0; }

  // Whether v lies in the range, whatever ValCheck says.
  bool InRange(Real v) const;
  // Shows Val / ValMultiplier rounded to ValPrecision decimals.
  void Redisplay();
  // Reads the text into Val (a text that does not convert keeps the old value), checks
  // the range and redisplays when needed; true when Val changed.
  bool ReadText();
  // Enforces the range: an out-of-range value goes to the handler or becomes ValDefault,
  // with the error box; true when the value was in range.
  bool CheckRange();
  // Commits the user's entry: ReadText, then the changed-tag and OnInput when Val changed.
  void AcceptInput();
  // The name that heads the edit's messages: its tool tip, else its object name.
  QString DisplayName() const;
  // The range as the boxes show it, "[100..10000000]" or "]-1.5707963267949..1.5707963267949[".
  QString RangeText() const;
  // Shows the range information box (F1).
  void ShowRangeInfo();
  // Whether the text shows whole in the box.
  bool TextFits() const;

  // Reads the real stored under name (8-byte double) and SetValue's it; a missing or
  // unreadable value keeps the current one. Returns the value set.
  virtual Real LoadFromRegistry(TRegistry& registry, const QString& name);
  // The same under the object name.
  Real LoadFromRegistry(TRegistry& registry) { return LoadFromRegistry(registry, objectName()); }
  // Writes Val under name as an 8-byte double; false when the store refused it.
  virtual bool SaveToRegistry(TRegistry& registry, const QString& name) const;
  // The same under the object name.
  bool SaveToRegistry(TRegistry& registry) const { return SaveToRegistry(registry, objectName()); }

signals:
  // A user entry changed Val (never emitted for changes made by code).
  void OnInput(TEditF* sender);

protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void showEvent(QShowEvent* e) override;

private:
  friend void StoreEditValues(QWidget* window);
  friend void RestoreEditValues(QWidget* window);
  // The menu bar took the focus: commits once the focus goes on to another control of
  // this window, not when it comes back here or goes to another window.
  void FollowMenuBarFocus();

  Real FVal = 0;
  Real FSavedVal = 0;
  Real FValDefault = 0;
  bool FValCheck = true;
  Real FValMin = 0;
  bool FValMinIncl = true;
  Real FValMax = 1;
  bool FValMaxIncl = true;
  int FValPrecision = 3;
  Real FValMultiplier = 1;
  Real FValTag = 0;
  QPointer<QObject> FValChangedTag;
  TRangeErrorEvent FOnRangeError;
  int FInitDepth = 0;
  bool FAccepting = false;  // an entry is being committed (its error box may be open)
  bool FF1Shown = false;    // the range box of the F1 press now down was shown
  QMetaObject::Connection FMenuBarFocus;  // watches where the focus goes from the menu bar
};

// Runs a block of assignments in initialisation mode.
class TEditFInit {
public:
  explicit TEditFInit(TEditF& edit) : FEdit(edit) { FEdit.BeginInit(); }
  ~TEditFInit() { FEdit.EndInit(); }
  TEditFInit(const TEditFInit&) = delete;
  TEditFInit& operator=(const TEditFInit&) = delete;

private:
  TEditF& FEdit;
};

// Copies Val into SavedVal for every TEditF of the window (nested ones included, edits of
// other windows parented to it excluded).
void StoreEditValues(QWidget* window);
// Puts SavedVal back into Val and redisplays, for the same edits; no range check, no OnInput.
void RestoreEditValues(QWidget* window);
