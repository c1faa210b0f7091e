// TSvgDrawing: a picture that shows one SVG drawing stretched over the whole widget, as the
// dialogs show the situation their edits stand on. It takes no mouse input, so the edits
// and labels over it get every click.
#pragma once

#include <QWidget>

class QSvgRenderer;

class TSvgDrawing : public QWidget {
  Q_OBJECT

public:
  explicit TSvgDrawing(QWidget* parent = nullptr);

  // Loads the drawing from a file or resource path; false (and an empty picture) when it
  // is no readable SVG.
  bool Load(const QString& fileName);
  // Whether a drawing is loaded.
  bool HasDrawing() const;

protected:
  void paintEvent(QPaintEvent* e) override;

private:
  QSvgRenderer* FRenderer;
};
