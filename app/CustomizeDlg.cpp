// The Customize dialog.
#include "CustomizeDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "CommandBars.h"

TCustomizeDlg::TCustomizeDlg(TCommandBars& bars, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), FBars(bars)
{
  setObjectName(QStringLiteral("CustomizeDlg1"));
  setWindowTitle(tr("Customize"));
  setAttribute(Qt::WA_DeleteOnClose);

  FBarList = new QComboBox(this);
  for (const QString& bar : FBars.BarNames())
    FBarList->addItem(FBars.BarCaption(bar), bar);
  FItemList = new QListWidget(this);
  FItemList->setMinimumSize(260, 260);
  FUp = new QPushButton(tr("Move &Up"), this);
  FDown = new QPushButton(tr("Move &Down"), this);
  auto* hint = new QLabel(tr("Tick the items a tool bar shows; menus can only be moved."), this);
  hint->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);

  auto* side = new QVBoxLayout;
  side->addWidget(FUp);
  side->addWidget(FDown);
  side->addStretch();
  auto* middle = new QHBoxLayout;
  middle->addWidget(FItemList);
  middle->addLayout(side);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FBarList);
  layout->addLayout(middle);
  layout->addWidget(hint);
  layout->addWidget(buttons);

  connect(FBarList, &QComboBox::currentIndexChanged, this, &TCustomizeDlg::FillItems);
  // Whatever changes the bars while the dialog is open (Reset ToolBars, a loaded file),
  // the list shows them as they are, row for item.
  connect(&FBars, &TCommandBars::Changed, this, &TCustomizeDlg::FillItems);
  connect(FUp, &QPushButton::clicked, this, [this] { MoveCurrent(-1); });
  connect(FDown, &QPushButton::clicked, this, [this] { MoveCurrent(+1); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  connect(FItemList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    FBars.SetVisible(FBarList->currentData().toString(), FItemList->row(item), item->checkState() == Qt::Checked);
  });
  FillItems();
}

void TCustomizeDlg::FillItems()
{
  const QString bar = FBarList->currentData().toString();
  const bool menu = bar == TCommandBars::kMenuBand;
  const std::vector<TCommandBars::TItem>& items = FBars.Items(bar);
  const QSignalBlocker blocker(FItemList);
  // The rows are updated in place when their number stays: a change the list itself asked
  // for comes back here while the row that asked is still in use.
  if (FItemList->count() != int(items.size()) || FShownBar != bar) {
    FItemList->clear();
    for (std::size_t i = 0; i < items.size(); ++i)
      new QListWidgetItem(FItemList);
  }
  FShownBar = bar;
  for (int i = 0; i < int(items.size()); ++i) {
    const TCommandBars::TItem& item = items[i];
    QString caption = item.Command.isEmpty() && !menu ? tr("--- separator ---") : item.Caption;
    caption.remove(QLatin1Char('&'));
    QListWidgetItem* row = FItemList->item(i);
    row->setText(caption);
    if (!menu) {
      row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
      row->setCheckState(item.Visible ? Qt::Checked : Qt::Unchecked);
    }
  }
}

void TCustomizeDlg::MoveCurrent(int delta)
{
  const int row = FItemList->currentRow();
  if (row < 0 || row + delta < 0 || row + delta >= FItemList->count())
    return;
  FBars.Move(FBarList->currentData().toString(), row, row + delta);
  FillItems();
  FItemList->setCurrentRow(row + delta);
}
