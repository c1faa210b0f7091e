// TInvText: a component that only holds a text for its window's code to read (the value
// prompt keeps its answer words in four of them). It sits on the window and draws nothing.
#pragma once

#include <QString>
#include <QWidget>

class TInvText : public QWidget {
  Q_OBJECT

public:
  // A 50 by 17 pixel component holding "<<text>>".
  explicit TInvText(QWidget* parent = nullptr);

  // The held text.
  QString Caption() const { return FCaption; }
  void SetCaption(const QString& caption) { FCaption = caption; }

protected:
  void paintEvent(QPaintEvent* e) override;

private:
  QString FCaption = QStringLiteral("<<text>>");
};
