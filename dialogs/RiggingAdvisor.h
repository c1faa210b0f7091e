// TRiggingAdvisor: the dialog that searches the riggings of the window's door (or of the
// whole family) for the best balanced, stable, unstalled ones within the heel and pitch
// windows, ranks them, and hands the chosen one back to the window. The search runs on
// a thread of its own, so the window and its view stay live; the dialog only shows what
// the search found.
#pragma once

#include <QDialog>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "mechanics/RiggingSearch.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QSpinBox;
class QStandardItemModel;
class QTableView;
class TEditF;
class TPos;
class TRegistry;

class TRiggingAdvisor : public QDialog {
  Q_OBJECT

public:
  // What the window hands over at every run: its door (one member in Doors), towing
  // conditions, start attitude and solver factor. The dialog adds its windows, ranking,
  // how many to keep and the family.
  using TSource = std::function<TRiggingSearchDef()>;
  // Called with the rigging the user applies (double-click or Apply).
  using TApply = std::function<void(const TRiggingCandidate&)>;

  // FormCreate: the controls, then the placement and the stored windows and ranking.
  explicit TRiggingAdvisor(QWidget* parent = nullptr);
  // Cancels a running search and waits for it.
  ~TRiggingAdvisor() override;

  void SetSource(TSource source) { FSource = std::move(source); }
  void SetOnApply(TApply apply) { FApply = std::move(apply); }

  // Starts a search; nothing when one runs or there is no source.
  void RunSearch();
  // Stops a running search, waits for its workers and shows what they had balanced.
  void CancelSearch();
  bool Running() const { return FWorker.joinable(); }
  // The last finished search (best first).
  const TRiggingSearchResult& Result() const { return FResult; }
  // The search definition of the last run.
  const TRiggingSearchDef& LastDef() const { return FLastDef; }
  // The candidate shown in row row of the table as it is sorted now; null for none.
  const TRiggingCandidate* CandidateAt(int row) const;
  // Applies the candidate of the current row.
  void ApplyCurrent();
  // The table as shown, tab-separated with its header (what Copy puts on the clipboard).
  QString TableText() const;
  // Writes the table as CSV, rows in the order shown; false with an error box on failure.
  bool SaveCsv(const QString& path);

  TEditF* HeelMin;
  TEditF* HeelMax;
  TEditF* PitchMin;
  TEditF* PitchMax;
  QComboBox* RankBox;
  QSpinBox* TopBox;
  QCheckBox* AllAreas;
  QCheckBox* AllBallast;
  QCheckBox* AllBrackets;
  QPushButton* RunBtn;
  QPushButton* CancelBtn;
  QPushButton* ApplyBtn;
  QPushButton* CopyBtn;
  QPushButton* SaveBtn;
  QPushButton* CloseBtn;
  QProgressBar* Progress;
  QLabel* Summary;
  QTableView* Table;
  TPos* Pos1;

signals:
  // A search has ended, finished or cancelled, and the table shows its result.
  void SearchEnded();

protected:
  void closeEvent(QCloseEvent* event) override;
  void done(int result) override;

private:
  void Pos1Read(TRegistry& registry);
  void Pos1Write(TRegistry& registry);
  void ShowProgress(long balanced, long total);
  // Takes the result the worker left, if any, and shows it.
  void FinishSearch();
  void FillTable();
  void FitColumns();
  void UpdateButtons();
  void CopyTable();
  void SaveTableAs();

  TSource FSource;
  TApply FApply;
  std::thread FWorker;
  std::atomic<bool> FCancel{false};
  std::mutex FPendingMutex;
  std::optional<TRiggingSearchResult> FPending;  // the worker's result, until shown
  TRiggingSearchDef FLastDef;
  TRiggingSearchResult FResult;
  QStandardItemModel* FModel = nullptr;
  QSortFilterProxyModel* FSorted = nullptr;
};
