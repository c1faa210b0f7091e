// The Customize dialog: shows, hides and moves the items of each tool bar and moves the
// menus of the menu bar. Changes show on the bars at once, and changes of the bars made
// elsewhere show in the dialog.
#pragma once

#include <QDialog>

class QComboBox;
class QListWidget;
class QPushButton;
class TCommandBars;

class TCustomizeDlg : public QDialog {
  Q_OBJECT
public:
  TCustomizeDlg(TCommandBars& bars, QWidget* parent);

  QComboBox* BarList() const { return FBarList; }
  QListWidget* ItemList() const { return FItemList; }
  void MoveCurrent(int delta);

private:
  void FillItems();

  TCommandBars& FBars;
  QComboBox* FBarList;
  QListWidget* FItemList;
  QPushButton* FUp;
  QPushButton* FDown;
  QString FShownBar;  // the bar the rows show
};
