// The validated numeric edit: display rounding, reading back, the range rules and the
// keyboard and focus reactions.
#include "controls/EditF.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolTip>
#include <QVariant>
#include <cmath>

#include "controls/ToolsText.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"

namespace {

// The rounding of the display counts units of the last decimal in a 64-bit integer;
// beyond this magnitude there is nothing left to round and the value is shown as it is.
constexpr Real kLargestRoundedCount = 9.2e18L;

const char* const kTagProperty = "Tag";

// The text of val in display units, rounded half away from zero to `precision` decimals.
QString DisplayText(Real val, Real multiplier, int precision)
{
  const Real shown = val / multiplier;
  const Real scale = std::pow(Real(10), precision);
  const Real count = shown * scale;
  if (std::isfinite(count) && std::fabs(count) < kLargestRoundedCount)
    return QString::fromStdString(FormatGeneral(static_cast<Real>(std::llroundl(count)) / scale));
  return QString::fromStdString(FormatGeneral(shown));
}

// Equal values, or both NaN: a read-out that shows NaN reads back as unchanged.
bool SameValue(Real a, Real b) { return a == b || (std::isnan(a) && std::isnan(b)); }

bool IsEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

bool IsPlainF1(const QKeyEvent* e)
{
  return e->key() == Qt::Key_F1 && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace

int ComponentTag(const QObject* component)
{
  return component ? component->property(kTagProperty).toInt() : 0;
}

void SetComponentTag(QObject* component, int tag)
{
  if (component)
    component->setProperty(kTagProperty, tag);
}

TEditF::TEditF(QWidget* parent) : QLineEdit(parent) {}

void TEditF::EndInit()
{
  if (FInitDepth > 0)
    --FInitDepth;
}

bool TEditF::InRange(Real v) const
{
  const bool aboveMin = FValMinIncl ? v >= FValMin : v > FValMin;
  const bool belowMax = FValMaxIncl ? v <= FValMax : v < FValMax;
  return aboveMin && belowMax;
}

void TEditF::SetVal(Real value)
{
  FVal = value;
  CheckRange();
}

void TEditF::SetValue(Real value)
{
  SetVal(value);
  Redisplay();
  update();
}

void TEditF::SetValDefault(Real value)
{
  FValDefault = value;
  if (Initializing())
    return;
  if (!InRange(FValDefault))
    FValDefault = (FValMax + FValMin) / 2;
  CheckRange();
}

void TEditF::SetValCheck(bool check)
{
  FValCheck = check;
  if (!Initializing())
    CheckRange();
}

void TEditF::SetValMin(Real value)
{
  FValMin = value;
  if (Initializing())
    return;
  if (FValMax < FValMin)
    FValMin = FValMax - 1;
  if (FValMinIncl ? FValDefault < FValMin : FValDefault <= FValMin)
    FValDefault = (FValMax + FValMin) / 2;
  CheckRange();
}

void TEditF::SetValMinIncl(bool inclusive)
{
  FValMinIncl = inclusive;
  if (!Initializing())
    CheckRange();
}

void TEditF::SetValMax(Real value)
{
  FValMax = value;
  if (Initializing())
    return;
  if (FValMin > FValMax)
    FValMax = FValMin + 1;
  if (FValMaxIncl ? FValDefault > FValMax : FValDefault >= FValMax)
    FValDefault = (FValMax + FValMin) / 2;
  CheckRange();
}

void TEditF::SetValMaxIncl(bool inclusive)
{
  FValMaxIncl = inclusive;
  if (!Initializing())
    CheckRange();
}

void TEditF::SetValPrecision(int decimals)
{
  FValPrecision = decimals;
  if (!Initializing())
    CheckRange();
}

void TEditF::SetValMultiplier(Real multiplier)
{
  FValMultiplier = multiplier;
  Redisplay();
  if (!Initializing())
    CheckRange();
}

void TEditF::Redisplay()
{
  setText(DisplayText(FVal, FValMultiplier, FValPrecision));
  // A number too long for the box shows its beginning, sign first, unless the user is at
  // work in it; the tool tip then holds the whole of it.
  if (isReadOnly() || !hasFocus())
    setCursorPosition(0);
}

bool TEditF::TextFits() const
{
  // The room QLineEdit leaves for the text: its contents rectangle less the text margins
  // and the two pixels it keeps clear on either side.
  constexpr int kLineEditMargin = 2;
  QStyleOptionFrame option;
  initStyleOption(&option);
  const QRect room = style()->subElementRect(QStyle::SE_LineEditContents, &option, this).marginsRemoved(textMargins());
  return fontMetrics().horizontalAdvance(text()) <= room.width() - 2 * kLineEditMargin;
}

bool TEditF::ReadText()
{
  const Real old = FVal;
  Real number = 0;
  const bool converted = StrictStrToReal(text().toStdString(), number);
  FVal = converted ? number * FValMultiplier : old;
  CheckRange();
  const bool changed = !SameValue(FVal, old);
  if (changed || !converted)
    Redisplay();
  return changed;
}

QString TEditF::RangeText() const
{
  return (FValMinIncl ? QStringLiteral("[") : QStringLiteral("]")) + QString::fromStdString(FormatGeneral(FValMin)) +
         QStringLiteral("..") + QString::fromStdString(FormatGeneral(FValMax)) +
         (FValMaxIncl ? QStringLiteral("]") : QStringLiteral("["));
}

bool TEditF::CheckRange()
{
  if (Initializing() || !FValCheck || InRange(FVal))
    return true;
  bool suppressMessage = false;
  bool checkAgain = true;
  if (FOnRangeError) {
    Real v = FVal;
    FOnRangeError(this, v, suppressMessage, checkAgain);
    FVal = v;
    if (checkAgain && !InRange(FVal))
      FVal = FValDefault;
  } else {
    FVal = FValDefault;
  }
  if (!suppressMessage) {
    const QString parentName = parentWidget() ? parentWidget()->objectName() : QString();
    ShowMessage(TMessageKind::Error, DisplayName() + QStringLiteral("\r\r") + parentName + QStringLiteral(" : ") +
                                         objectName() + QStringLiteral("\rValue is out of range: ") + RangeText());
  }
  Redisplay();
  update();
  selectAll();
  return false;
}

void TEditF::AcceptInput()
{
  // The error box of a bad entry takes the focus away; that is no second entry.
  if (FAccepting)
    return;
  FAccepting = true;
  const bool changed = ReadText();
  setModified(false);  // the entry is committed, whatever it gave
  FAccepting = false;
  if (!changed)
    return;
  if (FValChangedTag && ComponentTag(FValChangedTag) == 0)
    SetComponentTag(FValChangedTag, 1);
  emit OnInput(this);
}

QString TEditF::DisplayName() const { return toolTip().isEmpty() ? objectName() : toolTip(); }

void TEditF::ShowRangeInfo()
{
  ShowMessage(TMessageKind::Information, DisplayName() + QStringLiteral("\r\rRange: ") + RangeText());
}

Real TEditF::LoadFromRegistry(TRegistry& registry, const QString& name)
{
  Real value = FVal;
  if (registry.ValueExists(name))
    if (const std::optional<Real> stored = registry.ReadReal(name))
      value = *stored;
  SetValue(value);
  return FVal;
}

bool TEditF::SaveToRegistry(TRegistry& registry, const QString& name) const { return registry.WriteReal(name, FVal); }

bool TEditF::event(QEvent* e)
{
  if (e->type() == QEvent::ToolTip && toolTip().isEmpty()) {
    // The edit's own hint names it in its messages; without one, a number that does not
    // fit is shown whole.
    if (TextFits())
      QToolTip::hideText();
    else
      QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), text(), this);
    return true;
  }
  // F1 is offered to the window's shortcuts before the edit sees it; the range box is
  // shown here so that it appears once whether or not a shortcut then takes the key.
  if (e->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(e);
    if (IsPlainF1(key) && !key->isAutoRepeat()) {
      FF1Shown = true;
      ShowRangeInfo();
    }
  } else if (e->type() == QEvent::KeyRelease && static_cast<QKeyEvent*>(e)->key() == Qt::Key_F1) {
    FF1Shown = false;
  }
  return QLineEdit::event(e);
}

void TEditF::keyPressEvent(QKeyEvent* e)
{
  if (!e->isAutoRepeat()) {
    if (IsEnterKey(e->key())) {
      // The owner's handler may close the window that holds the edit.
      const QPointer<TEditF> alive(this);
      AcceptInput();
      if (!alive)
        return;
      selectAll();
    } else if (IsPlainF1(e)) {
      if (!FF1Shown)
        ShowRangeInfo();
      FF1Shown = false;
    }
  }
  // Then the key's ordinary course: Enter goes on to the dialog's default button.
  QLineEdit::keyPressEvent(e);
}

void TEditF::focusOutEvent(QFocusEvent* e)
{
  // Only a move of the focus inside the window commits: a popup (the edit's own context
  // menu) or another window taking the focus leaves the entry as it stands.
  switch (e->reason()) {
  case Qt::ActiveWindowFocusReason:
  case Qt::PopupFocusReason:
    break;
  case Qt::MenuBarFocusReason:
    // The menu bar has the keyboard only while the user picks from it: the entry waits
    // for where the focus goes from there.
    FollowMenuBarFocus();
    break;
  default: {
    const QPointer<TEditF> alive(this);
    AcceptInput();
    if (!alive)
      return;
  }
  }
  QLineEdit::focusOutEvent(e);
}

void TEditF::FollowMenuBarFocus()
{
  disconnect(FMenuBarFocus);
  FMenuBarFocus = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (qobject_cast<QMenuBar*>(now) || qobject_cast<QMenu*>(now))
      return;  // still in the menus
    disconnect(FMenuBarFocus);
    // Back in the edit, or off to another window: nothing has left the edit. On to another
    // control of this window: that is the edit being left.
    if (now && now != this && now->window() == window())
      AcceptInput();
  });
}

void TEditF::showEvent(QShowEvent* e)
{
  Redisplay();
  QLineEdit::showEvent(e);
}

namespace {

template <typename Action>
void ForEachEdit(QWidget* window, Action action)
{
  if (!window)
    return;
  for (TEditF* edit : window->findChildren<TEditF*>())
    if (edit->window() == window->window())
      action(*edit);
}

}  // namespace

void StoreEditValues(QWidget* window)
{
  ForEachEdit(window, [](TEditF& edit) { edit.FSavedVal = edit.FVal; });
}

void RestoreEditValues(QWidget* window)
{
  ForEachEdit(window, [](TEditF& edit) {
    edit.FVal = edit.FSavedVal;
    edit.Redisplay();
  });
}
