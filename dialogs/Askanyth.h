// TAskAny: the value prompt. Asks for one real number in a small modal dialog, puts a
// default in place of an entry outside the range, and hands the number back only when
// the user confirms with OK.
#pragma once

#include <QDialog>

#include "coefficients/Real.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TAskAny : public QDialog {
  Q_OBJECT
public:
  explicit TAskAny(QWidget* parent = nullptr);

  // Shows the prompt with `value` formatted to `decimals` decimals and returns the number
  // read when the dialog closed; `value` takes it only when the user pressed OK.
  // An entry below minimum or not at most maximum (text that is no number reads as 0)
  // becomes defaultValue. Windows that stay on top are made ordinary while it is open.
  Real AskReal(const QString& caption, const QString& prompt, int width, int decimals, Real minimum,
               Real maximum, Real defaultValue, Real& value);

  // The range check of the entry, run on OK, on Cancel and when the edit is left.
  void CheckEntry();

  QLabel* Label1;
  QLineEdit* Edit1;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;

protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  int FWidth = 15;
  int FDecimals = 1;
  Real FMinimum = 0;
  Real FMaximum = 1;
  Real FDefault = 0;
};
