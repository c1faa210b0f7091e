// TSpinButton: a pair of small up and down arrow buttons without a value of their own,
// placed beside an edit; the owner decides what each arrow does.
#pragma once

#include <QWidget>

class QToolButton;

class TSpinButton : public QWidget {
  Q_OBJECT
public:
  explicit TSpinButton(QWidget* parent = nullptr);
  QToolButton* UpButton() const { return FUp; }
  QToolButton* DownButton() const { return FDown; }

signals:
  void UpClick();
  void DownClick();

private:
  QToolButton* FUp;
  QToolButton* FDown;
};
