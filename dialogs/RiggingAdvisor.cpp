// The rigging advisor: its controls, the search thread and the hand-over of its result,
// the sortable table, its export, and the windows and ranking it keeps.
#include "RiggingAdvisor.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

#include "controls/EditF.h"
#include "controls/Pos.h"
#include "controls/ToolsRegistry.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "tools/StaticsText.h"

namespace {

// The columns of the table: caption with its unit, and how many decimals the numbers show
// (those of the main window's panel for forces and the attack angle).
enum TColumn {
  kRank, kArea, kBallast, kBracket, kUpper, kLower, kPair, kTow, kHeel, kPitch, kAttack, kSpreading,
  kResistance, kVertical, kEfficiency, kEvaluations, kColumnCount
};
const char* const kCaptions[kColumnCount] = {
    "Rank", "Area, m\u00B2", "Ballast", "Bracket", "Upper", "Lower", "Pair", "Tow", "Heel, deg", "Pitch, deg",
    "Attack, deg", "Spreading, kN", "Resistance, kN", "Vertical, kN", "Efficiency", "Evals"};
// What the header's tips say of the short captions.
const char* const kTips[kColumnCount] = {
    "Rank in the search", "Wing area of the door", "Ballast pieces", "Bracket size", "Upper bridle hole: row, hole",
    "Lower bridle hole: row, hole", "Bracket pair", "Towing hole",
    "Heel: the span axis from the vertical across the flow, positive when the top leans outward",
    "Pitch: the chord from the horizontal, positive when the leading edge is up", "Wing attack angle",
    "Spreading force", "The door's resistance", "Vertical force, weight included",
    "Spreading per unit of the door's resistance", "Evaluations of the balance"};

// The role the table sorts by: the number itself, not its text.
constexpr int kSortRole = Qt::UserRole + 1;
// The role holding the candidate's place in the result.
constexpr int kIndexRole = Qt::UserRole + 2;

constexpr int kLargestTop = 1000;

QStandardItem* NumberItem(double value, int decimals)
{
  auto* item = new QStandardItem(QString::number(value, 'f', decimals));
  item->setData(value, kSortRole);
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

QStandardItem* TextItem(const QString& text, double sortKey)
{
  auto* item = new QStandardItem(text);
  item->setData(sortKey, kSortRole);
  item->setTextAlignment(Qt::AlignCenter);
  return item;
}

// An angle window's edit: radians inside, degrees shown, one decimal.
TEditF* AngleEdit(QWidget* parent, const char* name, Real degrees)
{
  auto* edit = new TEditF(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->BeginInit();
  edit->SetValMultiplier(kDegToRad);
  edit->SetValMin(-90 * kDegToRad);
  edit->SetValMax(90 * kDegToRad);
  edit->SetVal(degrees * kDegToRad);
  edit->SetValDefault(degrees * kDegToRad);
  edit->SetValCheck(true);
  edit->SetValPrecision(1);
  edit->EndInit();
  edit->setFixedWidth(56);
  return edit;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TRiggingAdvisor::TRiggingAdvisor(QWidget* parent) : QDialog(parent)
{
  setObjectName(QStringLiteral("RiggingAdvisor"));
  setWindowTitle(tr("Rigging Advisor"));
  setModal(false);
  // The main window's small font, so that the table's sixteen columns fit side by side.
  if (parent)
    setFont(parent->font());

  // The windows, the ranking and the family.
  auto* windows = new QGroupBox(tr("Keep balances with"), this);
  auto* windowGrid = new QGridLayout(windows);
  HeelMin = AngleEdit(windows, "HeelMin", -5);
  HeelMax = AngleEdit(windows, "HeelMax", 5);
  PitchMin = AngleEdit(windows, "PitchMin", -5);
  PitchMax = AngleEdit(windows, "PitchMax", 5);
  windowGrid->addWidget(new QLabel(tr("Heel from, deg"), windows), 0, 0);
  windowGrid->addWidget(HeelMin, 0, 1);
  windowGrid->addWidget(new QLabel(tr("to"), windows), 0, 2);
  windowGrid->addWidget(HeelMax, 0, 3);
  windowGrid->addWidget(new QLabel(tr("Pitch from, deg"), windows), 1, 0);
  windowGrid->addWidget(PitchMin, 1, 1);
  windowGrid->addWidget(new QLabel(tr("to"), windows), 1, 2);
  windowGrid->addWidget(PitchMax, 1, 3);
  auto* note = new QLabel(tr("converged, stable, wing not stalled"), windows);
  note->setEnabled(false);
  windowGrid->addWidget(note, 2, 0, 1, 4);

  auto* ranking = new QGroupBox(tr("Ranking"), this);
  auto* rankGrid = new QGridLayout(ranking);
  RankBox = new QComboBox(ranking);
  RankBox->setObjectName(QStringLiteral("RankBox"));
  RankBox->addItem(tr("Spreading force"));
  RankBox->addItem(tr("Spreading per unit of resistance"));
  TopBox = new QSpinBox(ranking);
  TopBox->setObjectName(QStringLiteral("TopBox"));
  TopBox->setRange(1, kLargestTop);
  TopBox->setValue(10);
  rankGrid->addWidget(new QLabel(tr("By"), ranking), 0, 0);
  rankGrid->addWidget(RankBox, 0, 1);
  rankGrid->addWidget(new QLabel(tr("Show the best"), ranking), 1, 0);
  rankGrid->addWidget(TopBox, 1, 1, Qt::AlignLeft);

  auto* family = new QGroupBox(tr("Search the family"), this);
  auto* familyBox = new QVBoxLayout(family);
  AllAreas = new QCheckBox(tr("Every wing area"), family);
  AllBallast = new QCheckBox(tr("Every ballast"), family);
  AllBrackets = new QCheckBox(tr("Every bracket"), family);
  AllAreas->setObjectName(QStringLiteral("AllAreas"));
  AllBallast->setObjectName(QStringLiteral("AllBallast"));
  AllBrackets->setObjectName(QStringLiteral("AllBrackets"));
  for (QCheckBox* box : {AllAreas, AllBallast, AllBrackets})
    familyBox->addWidget(box);

  auto* top = new QHBoxLayout;
  top->addWidget(windows);
  top->addWidget(ranking);
  top->addWidget(family);
  top->addStretch(1);

  // The run.
  RunBtn = new QPushButton(tr("&Run"), this);
  CancelBtn = new QPushButton(tr("Cancel"), this);
  Progress = new QProgressBar(this);
  Progress->setRange(0, 1);
  Progress->setValue(0);
  Progress->setFormat(tr("%v of %m"));
  Progress->setTextVisible(false);  // until there is something to count
  Summary = new QLabel(tr("Run searches the riggings of the door in the main window."), this);
  Summary->setWordWrap(true);
  auto* runRow = new QHBoxLayout;
  runRow->addWidget(RunBtn);
  runRow->addWidget(CancelBtn);
  runRow->addWidget(Progress, 1);

  FModel = new QStandardItemModel(0, kColumnCount, this);
  for (int c = 0; c < kColumnCount; ++c) {
    FModel->setHeaderData(c, Qt::Horizontal, tr(kCaptions[c]));
    FModel->setHeaderData(c, Qt::Horizontal, tr(kTips[c]), Qt::ToolTipRole);
  }
  FSorted = new QSortFilterProxyModel(this);
  FSorted->setSourceModel(FModel);
  FSorted->setSortRole(kSortRole);
  Table = new QTableView(this);
  Table->setObjectName(QStringLiteral("Table"));
  Table->setModel(FSorted);
  Table->setSortingEnabled(true);
  Table->sortByColumn(kRank, Qt::AscendingOrder);
  Table->setSelectionBehavior(QAbstractItemView::SelectRows);
  Table->setSelectionMode(QAbstractItemView::SingleSelection);
  Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Table->verticalHeader()->hide();
  Table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  Table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  Table->horizontalHeader()->setStretchLastSection(true);
  Table->setAlternatingRowColors(true);

  ApplyBtn = new QPushButton(tr("&Apply"), this);
  ApplyBtn->setToolTip(tr("Set the chosen rigging in the main window and balance the door"));
  CopyBtn = new QPushButton(tr("&Copy"), this);
  SaveBtn = new QPushButton(tr("&Save as CSV ..."), this);
  CloseBtn = new QPushButton(tr("Close"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ApplyBtn);
  buttons->addWidget(CopyBtn);
  buttons->addWidget(SaveBtn);
  buttons->addStretch(1);
  buttons->addWidget(CloseBtn);
  for (QPushButton* button : {RunBtn, CancelBtn, ApplyBtn, CopyBtn, SaveBtn, CloseBtn}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(runRow);
  layout->addWidget(Summary);
  layout->addWidget(Table, 1);
  layout->addLayout(buttons);
  resize(1150, 480);  // every column in view
  FitColumns();

  connect(RunBtn, &QPushButton::clicked, this, &TRiggingAdvisor::RunSearch);
  connect(CancelBtn, &QPushButton::clicked, this, &TRiggingAdvisor::CancelSearch);
  connect(ApplyBtn, &QPushButton::clicked, this, &TRiggingAdvisor::ApplyCurrent);
  connect(Table, &QTableView::doubleClicked, this, [this] { ApplyCurrent(); });
  connect(CopyBtn, &QPushButton::clicked, this, &TRiggingAdvisor::CopyTable);
  connect(SaveBtn, &QPushButton::clicked, this, &TRiggingAdvisor::SaveTableAs);
  connect(CloseBtn, &QPushButton::clicked, this, &QDialog::close);
  connect(Table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { UpdateButtons(); });

  Pos1 = new TPos(this);
  Pos1->setObjectName(QStringLiteral("Pos1"));
  Pos1->SetPath(QStringLiteral("\\Software\\Tamarek\\Ravlen"));
  Pos1->SetValue(QStringLiteral("posRiggingAdvisor"));
  Pos1->SetInitState(TShowCmd::swHide);
  Pos1->SetOnRead([this](TRegistry& registry) { Pos1Read(registry); });
  Pos1->SetOnWrite([this](TRegistry& registry) { Pos1Write(registry); });
  Pos1->ReadPlacement();
  UpdateButtons();
}

TRiggingAdvisor::~TRiggingAdvisor()
{
  // Nothing of the search may outlive the dialog: its progress and result are posted
  // to it.
  FCancel = true;
  if (FWorker.joinable())
    FWorker.join();
}

void TRiggingAdvisor::RunSearch()
{
  if (Running() || !FSource)
    return;
  for (TEditF* edit : {HeelMin, HeelMax, PitchMin, PitchMax})
    if (edit->isModified())
      edit->AcceptInput();
  TRiggingSearchDef def = FSource();
  const TDoorChoice door = def.Doors.empty() ? TDoorChoice{} : def.Doors.front();
  def.Doors = FamilyDoors(door, AllAreas->isChecked(), AllBallast->isChecked(), AllBrackets->isChecked());
  def.HeelMin = HeelMin->Val();
  def.HeelMax = HeelMax->Val();
  def.PitchMin = PitchMin->Val();
  def.PitchMax = PitchMax->Val();
  def.Rank = RankBox->currentIndex() == 1 ? TRiggingRank::Efficiency : TRiggingRank::Spreading;
  def.Top = TopBox->value();
  FLastDef = def;

  FModel->removeRows(0, FModel->rowCount());
  FResult = {};
  Progress->setTextVisible(true);
  Progress->setRange(0, static_cast<int>(def.Doors.size()) * kRiggingsPerDoor);
  Progress->setValue(0);
  Summary->setText(tr("Balancing %1 riggings ...").arg(Progress->maximum()));
  FCancel = false;
  FWorker = std::thread([this, def] {
    TRiggingSearchResult result = SearchRiggings(
        def,
        [this](long balanced, long total) {
          QMetaObject::invokeMethod(this, [this, balanced, total] { ShowProgress(balanced, total); },
                                    Qt::QueuedConnection);
        },
        &FCancel);
    {
      const std::lock_guard lock(FPendingMutex);
      FPending = std::move(result);
    }
    QMetaObject::invokeMethod(this, [this] { FinishSearch(); }, Qt::QueuedConnection);
  });
  UpdateButtons();
}

void TRiggingAdvisor::CancelSearch()
{
  if (!Running())
    return;
  FCancel = true;
  // The workers stop after the rigging in hand; what they balanced is ranked.
  FinishSearch();
}

void TRiggingAdvisor::ShowProgress(long balanced, long total)
{
  if (!Running())
    return;  // a report that arrived after the end
  Progress->setRange(0, static_cast<int>(total));
  Progress->setValue(static_cast<int>(balanced));
}

void TRiggingAdvisor::FinishSearch()
{
  if (!Running())
    return;
  FWorker.join();
  {
    const std::lock_guard lock(FPendingMutex);
    if (FPending)
      FResult = std::move(*FPending);
    FPending.reset();
  }
  const TRiggingSearchResult& r = FResult;
  Progress->setRange(0, static_cast<int>(r.Total));
  Progress->setValue(static_cast<int>(r.Balanced));
  const auto degrees = [](Real lo, Real hi) {
    return QStringLiteral("%1..%2").arg(double(lo / kDegToRad), 0, 'f', 1).arg(double(hi / kDegToRad), 0, 'f', 1);
  };
  Summary->setText(tr("%1 of %2 riggings balanced%3: %4 converged, %5 stable, %6 kept (heel %7 deg, pitch %8 deg, "
                      "not stalled); the best %9 below.")
                       .arg(r.Balanced)
                       .arg(r.Total)
                       .arg(r.Cancelled ? tr(" (cancelled)") : QString())
                       .arg(r.Converged)
                       .arg(r.Stable)
                       .arg(r.Kept)
                       .arg(degrees(FLastDef.HeelMin, FLastDef.HeelMax), degrees(FLastDef.PitchMin, FLastDef.PitchMax))
                       .arg(r.Best.size()));
  FillTable();
  UpdateButtons();
  emit SearchEnded();
}

void TRiggingAdvisor::FillTable()
{
  FModel->removeRows(0, FModel->rowCount());
  for (std::size_t i = 0; i < FResult.Best.size(); ++i) {
    const TRiggingCandidate& c = FResult.Best[i];
    const TDoorChoice& d = c.Door;
    const TRigging& g = c.Rigging;
    QList<QStandardItem*> row;
    row << NumberItem(double(i + 1), 0);
    row.front()->setData(int(i), kIndexRole);
    // The start-up door has no area command of its own: its area is shown instead.
    const QString area = d.AreaTag != 0 ? Text(AreaText(d.AreaTag)) : QString::number(double(WingAreaAtScale(5)), 'f', 2);
    row << TextItem(area, d.AreaTag) << NumberItem(d.Ballast, 0)
        << TextItem(QString::fromLatin1(BracketName(d.Bracket)), int(d.Bracket))
        << TextItem(Text(HoleText(g.UpperHole)), g.UpperHole) << TextItem(Text(HoleText(g.LowerHole)), g.LowerHole)
        << NumberItem(int(g.Pair), 0) << TextItem(QString::fromLatin1(TowHoleName(g.Tow)), int(g.Tow))
        << NumberItem(double(c.Outcome.HeelPitch.Heel / kDegToRad), 2)
        << NumberItem(double(c.Outcome.HeelPitch.Pitch / kDegToRad), 2)
        << NumberItem(double(c.Outcome.AttackAngle / kDegToRad), 3) << NumberItem(double(c.Force.Y / 1000), 3)
        << NumberItem(double(c.Force.X / 1000), 3) << NumberItem(double(c.Force.Z / 1000), 3)
        << NumberItem(double(Efficiency(c.Force)), 4) << NumberItem(c.Outcome.Evaluations, 0);
    FModel->appendRow(row);
  }
  FitColumns();
  if (FSorted->rowCount() > 0)
    Table->selectRow(0);
}

void TRiggingAdvisor::FitColumns()
{
  // The style's own fit leaves wide margins; these widths keep every column in view:
  // the caption with room for the sort mark, or the widest number.
  const QFontMetrics header(Table->horizontalHeader()->font());
  const QFontMetrics cells(Table->font());
  for (int c = 0; c < kColumnCount; ++c) {
    int width = header.horizontalAdvance(FModel->headerData(c, Qt::Horizontal).toString()) + 22;
    for (int r = 0; r < FModel->rowCount(); ++r)
      width = std::max(width, cells.horizontalAdvance(FModel->index(r, c).data().toString()) + 12);
    Table->setColumnWidth(c, width);
  }
}

const TRiggingCandidate* TRiggingAdvisor::CandidateAt(int row) const
{
  if (row < 0 || row >= FSorted->rowCount())
    return nullptr;
  const int index = FSorted->index(row, kRank).data(kIndexRole).toInt();
  return index >= 0 && index < int(FResult.Best.size()) ? &FResult.Best[std::size_t(index)] : nullptr;
}

void TRiggingAdvisor::ApplyCurrent()
{
  const QModelIndex current = Table->currentIndex();
  const TRiggingCandidate* c = CandidateAt(current.isValid() ? current.row() : -1);
  if (!c || Running() || !FApply)
    return;
  FApply(*c);
}

void TRiggingAdvisor::UpdateButtons()
{
  const bool running = Running();
  const bool rows = FSorted->rowCount() > 0;
  RunBtn->setEnabled(!running);
  CancelBtn->setEnabled(running);
  ApplyBtn->setEnabled(!running && rows && Table->currentIndex().isValid());
  CopyBtn->setEnabled(!running && rows);
  SaveBtn->setEnabled(!running && rows);
  for (QWidget* w : std::initializer_list<QWidget*>{HeelMin, HeelMax, PitchMin, PitchMax, RankBox, TopBox, AllAreas,
                                                    AllBallast, AllBrackets})
    w->setEnabled(!running);
}

QString TRiggingAdvisor::TableText() const
{
  QStringList lines;
  QStringList header;
  for (int c = 0; c < kColumnCount; ++c)
    header << FSorted->headerData(c, Qt::Horizontal).toString();
  lines << header.join(QLatin1Char('\t'));
  for (int r = 0; r < FSorted->rowCount(); ++r) {
    QStringList cells;
    for (int c = 0; c < kColumnCount; ++c)
      cells << FSorted->index(r, c).data().toString();
    lines << cells.join(QLatin1Char('\t'));
  }
  return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void TRiggingAdvisor::CopyTable() { QApplication::clipboard()->setText(TableText()); }

bool TRiggingAdvisor::SaveCsv(const QString& path)
{
  // The rows at their search rank and in full precision, in the order the table shows
  // them; the file appears whole or not at all.
  std::string text = RiggingCsvHeader() + "\n";
  for (int r = 0; r < FSorted->rowCount(); ++r) {
    const int index = FSorted->index(r, kRank).data(kIndexRole).toInt();
    text += RiggingCsvRow(index + 1, FResult.Best[std::size_t(index)]) + "\n";
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), qint64(text.size())) != qint64(text.size()) ||
      !file.commit()) {
    ShowMessage(TMessageKind::Error, tr("Cannot save the riggings to \"%1\": %2").arg(path, file.errorString()));
    return false;
  }
  return true;
}

void TRiggingAdvisor::SaveTableAs()
{
  const QString path = QFileDialog::getSaveFileName(this, tr("Save as CSV"), QStringLiteral("riggings.csv"),
                                                    tr("CSV files (*.csv);;All files (*)"));
  if (!path.isEmpty())
    SaveCsv(path);
}

void TRiggingAdvisor::closeEvent(QCloseEvent* event)
{
  if (isVisible())
    done(QDialog::Rejected);
  event->accept();
}

void TRiggingAdvisor::done(int result)
{
  // Closing stops the search; the placement and the windows are stored.
  CancelSearch();
  Pos1->WritePlacement();
  QDialog::done(result);
}

void TRiggingAdvisor::Pos1Read(TRegistry& registry)
{
  for (TEditF* edit : {HeelMin, HeelMax, PitchMin, PitchMax})
    edit->SetValue(RegReadRealDef(registry, edit->objectName(), edit->Val()));
  const int rank = registry.ReadInteger(QStringLiteral("Rank")).value_or(0);
  RankBox->setCurrentIndex(rank == 1 ? 1 : 0);
  const int top = registry.ReadInteger(QStringLiteral("Top")).value_or(TopBox->value());
  TopBox->setValue(std::clamp(top, 1, kLargestTop));
  AllAreas->setChecked(RegReadBoolDef(registry, AllAreas->objectName(), false));
  AllBallast->setChecked(RegReadBoolDef(registry, AllBallast->objectName(), false));
  AllBrackets->setChecked(RegReadBoolDef(registry, AllBrackets->objectName(), false));
}

void TRiggingAdvisor::Pos1Write(TRegistry& registry)
{
  for (TEditF* edit : {HeelMin, HeelMax, PitchMin, PitchMax})
    registry.WriteReal(edit->objectName(), edit->Val());
  registry.WriteInteger(QStringLiteral("Rank"), RankBox->currentIndex());
  registry.WriteInteger(QStringLiteral("Top"), TopBox->value());
  for (QCheckBox* box : {AllAreas, AllBallast, AllBrackets})
    registry.WriteBool(box->objectName(), box->isChecked());
}
