// TSpinButton: a pair of small up and down arrow buttons without a value of their own,
// placed beside an edit; the owner decides what each arrow does. The pair is one stop of
// the tab order: with the focus on it, the Up and Down keys press its arrows.
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

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

private:
  QToolButton* FUp;
  QToolButton* FDown;
};
