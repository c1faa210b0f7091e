// The command table: one QAction per command, with its name, category, caption, hint,
// icon, tag, check behaviour and group, and the rules by which commands become checked.
// Menus and tool bars show commands through bar items (see CommandBars.h); the table
// knows nothing about doors.
#pragma once

#include <QAction>
#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <vector>

// One row of the table, as the program designs it.
struct TCommandDef {
  const char* Name;          // component name, e.g. "BalanceAct"
  const char* Category;      // "Balance", "Conditions", ...
  const char* Caption;       // e.g. "Balance"
  const char* Hint = "";     // tool tip and status tip; may be empty
  int Icon = -1;             // index in the icon list, -1 for none
  int Tag = 0;               // free integer read by shared handlers (area in cm^2, ...)
  bool Checked = false;      // checked at start
  bool AutoCheck = false;    // executing it inverts its check mark first
  int Group = 0;             // radio group; 0 for none
  bool Checkable = false;    // shows a check mark set by its handler alone (Graph)
};

class TCommandTable : public QObject {
  Q_OBJECT
public:
  using THandler = std::function<void(QAction*)>;

  explicit TCommandTable(QObject* parent = nullptr);

  // Adds a command; its handler runs on every execution, after the check rules.
  QAction* Add(const TCommandDef& def, THandler handler);
  // The command of that name, or null.
  QAction* Find(const QString& name) const;
  // Every command in table order.
  const std::vector<QAction*>& Commands() const { return FCommands; }

  // Executes a command as the user would: the check rules, then the handler.
  void Execute(const QString& name) const;

  static QString Category(const QAction* command);
  static int Tag(const QAction* command);
  static bool IsAutoCheck(const QAction* command);
  static int Group(const QAction* command);
  // A checked state set by code: no handler runs, and a grouped command still unchecks
  // the other members of its group.
  static void SetChecked(QAction* command, bool checked);

private:
  std::vector<QAction*> FCommands;
  std::map<int, class QActionGroup*> FGroups;
};
