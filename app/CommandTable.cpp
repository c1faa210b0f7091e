// The command table and its check rules. An auto-check command inverts its mark before
// its handler runs; a grouped command becomes checked when chosen and unchecks the rest
// of its group (a checked member chosen again stays checked and its handler runs all
// the same). QAction with QActionGroup has exactly these rules, so the table leans on it.
#include "CommandTable.h"

#include <QActionGroup>

namespace {

const char* const kCategory = "ravlenCategory";
const char* const kAutoCheck = "ravlenAutoCheck";
const char* const kGroup = "ravlenGroup";

}  // namespace

TCommandTable::TCommandTable(QObject* parent) : QObject(parent) {}

QAction* TCommandTable::Add(const TCommandDef& def, THandler handler)
{
  auto* command = new QAction(QString::fromUtf8(def.Caption), this);
  command->setObjectName(QString::fromLatin1(def.Name));
  command->setToolTip(def.Hint[0] ? QString::fromUtf8(def.Hint) : command->text());
  command->setStatusTip(QString::fromUtf8(def.Hint));
  command->setData(def.Tag);
  command->setProperty(kCategory, QString::fromLatin1(def.Category));
  command->setProperty(kAutoCheck, def.AutoCheck);
  command->setProperty(kGroup, def.Group);
  command->setCheckable(def.AutoCheck || def.Group > 0 || def.Checkable);
  if (def.Group > 0) {
    QActionGroup*& group = FGroups[def.Group];
    if (!group)
      group = new QActionGroup(this);
    group->addAction(command);
  }
  command->setChecked(def.Checked);
  connect(command, &QAction::triggered, this, [command, handler = std::move(handler)] { handler(command); });
  FCommands.push_back(command);
  return command;
}

QAction* TCommandTable::Find(const QString& name) const
{
  for (QAction* command : FCommands)
    if (command->objectName() == name)
      return command;
  return nullptr;
}

void TCommandTable::Execute(const QString& name) const
{
  if (QAction* command = Find(name))
    command->trigger();
}

QString TCommandTable::Category(const QAction* command) { return command->property(kCategory).toString(); }
int TCommandTable::Tag(const QAction* command) { return command->data().toInt(); }
bool TCommandTable::IsAutoCheck(const QAction* command) { return command->property(kAutoCheck).toBool(); }
int TCommandTable::Group(const QAction* command) { return command->property(kGroup).toInt(); }

void TCommandTable::SetChecked(QAction* command, bool checked)
{
  // QAction::setChecked emits toggled but not triggered, so no handler runs.
  command->setChecked(checked);
}
