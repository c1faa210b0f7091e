// The help viewer: a small window showing the program's help file, with
// its own message when the file is missing or unreadable.
#pragma once

#include <QDialog>

class QTextBrowser;

class THelpViewer : public QDialog {
  Q_OBJECT
public:
  explicit THelpViewer(QWidget* parent = nullptr);
  // Shows the file at its contents (the top); a missing file is said in the viewer.
  void ShowFile(const QString& path);
  QTextBrowser* Browser() const { return FBrowser; }

private:
  QTextBrowser* FBrowser;
};
