// Menus and tool bars built from the command table, their customization and their bands.
#include "CommandBars.h"

#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QToolBar>

#include <algorithm>
#include <limits>

#include "CommandTable.h"

namespace {

// Tool bar buttons take no Alt shortcuts: they would clash with the menu bar's.
QString WithoutAccelerator(QString caption)
{
  caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  caption.remove(QLatin1Char('&'));
  caption.replace(QStringLiteral("\x01"), QStringLiteral("&&"));
  return caption;
}

constexpr int kCustomizationFormat = 1;
const QString kBandSection = QStringLiteral("CoolBar1");
// Runs and use counts kept in the customization file stay below this, so that counting
// on from them never overflows.
constexpr int kLargestCount = 1000000000;

// Whether a settings file was written. A file that had lines the reader could not make
// out keeps reporting that; it was written all the same.
bool Written(const QSettings& ini) { return ini.status() != QSettings::AccessError; }

// A count or number read from a file: the number, or fallback when it is not one in lo..hi.
int NumberIn(const QSettings& ini, const QString& key, int lo, int hi, int fallback)
{
  bool ok = false;
  const qlonglong value = ini.value(key).toLongLong(&ok);
  return ok && value >= lo && value <= hi ? int(value) : fallback;
}

}  // namespace

TCommandBars::TCommandBars(TCommandTable& commands, QMainWindow& window, std::vector<TMenuDef> menus,
                           std::vector<TToolBarDef> toolBars)
    : QObject(&window), FCommands(commands), FWindow(window), FMenuDefs(std::move(menus)),
      FToolBarDefs(std::move(toolBars))
{
  std::vector<TItem>& menuOrder = FItems[kMenuBand];
  for (const TMenuDef& def : FMenuDefs)
    menuOrder.push_back({QString(), QString::fromUtf8(def.Caption)});
  for (const TToolBarDef& def : FToolBarDefs)
    FItems[QString::fromLatin1(def.Name)] = DesignedItems(def);
}

std::vector<TCommandBars::TItem> TCommandBars::DesignedItems(const TToolBarDef& def) const
{
  std::vector<TItem> items;
  for (const TBarItemDef& item : def.Items)
    items.push_back({item.Command ? QString::fromLatin1(item.Command) : QString(), QString::fromUtf8(item.Caption)});
  return items;
}

QAction* TCommandBars::MakeItemAction(const TItem& item, bool inMenu, QObject* owner)
{
  QAction* command = FCommands.Find(item.Command);
  auto* action = new QAction(inMenu ? item.Caption : WithoutAccelerator(item.Caption), owner);
  if (!command)
    return action;
  action->setObjectName(item.Command);
  action->setIcon(command->icon());
  action->setToolTip(command->toolTip());
  action->setStatusTip(command->statusTip());
  action->setCheckable(command->isCheckable());
  action->setChecked(command->isChecked());
  connect(command, &QAction::toggled, action, &QAction::setChecked);
  connect(action, &QAction::triggered, this, [this, action, command, bar = owner->objectName()] {
    // The item toggled itself; the command decides, and the item shows its verdict.
    command->trigger();
    action->setChecked(command->isChecked());
    if (const auto items = FItems.find(bar); items != FItems.end())
      for (TItem& i : items->second)
        if (i.Command == command->objectName()) {
          ++i.UseCount;
          i.LastUse = FRun;
        }
  });
  return action;
}

void TCommandBars::Build(const std::vector<QString>& bandOrder, const std::vector<bool>& rowBreaks)
{
  FMenuBar = new QMenuBar;
  FMenuBar->setObjectName(QStringLiteral("MenuBar"));
  for (const TMenuDef& def : FMenuDefs) {
    const QString caption = QString::fromUtf8(def.Caption);
    QMenu* menu = new QMenu(caption, FMenuBar);
    menu->setObjectName(caption);
    for (const TBarItemDef& item : def.Items) {
      if (!item.Command)
        menu->addSeparator();
      else
        menu->addAction(MakeItemAction({QString::fromLatin1(item.Command), QString::fromUtf8(item.Caption)}, true, menu));
    }
    FMenus[caption] = menu;
  }
  auto* menuBand = new QToolBar(kMenuBand, &FWindow);
  menuBand->setObjectName(kMenuBand);
  menuBand->addWidget(FMenuBar);
  // The menu bar is never hidden (the tool bar area's menu does not offer it) and stays
  // where it is, on the top row.
  menuBand->toggleViewAction()->setVisible(false);
  menuBand->setMovable(false);
  FBands[kMenuBand] = menuBand;
  for (const TToolBarDef& def : FToolBarDefs) {
    auto* band = new QToolBar(QString::fromUtf8(def.Caption), &FWindow);
    band->setObjectName(QString::fromLatin1(def.Name));
    // Icons with the caption as tool tip: every tool bar item has an icon, and the captions
    // stand in the menus; with text the bars would not fit the window's width.
    band->setToolButtonStyle(Qt::ToolButtonIconOnly);
    band->setIconSize({16, 16});
    FBands[band->objectName()] = band;
  }
  for (auto& [name, band] : FBands) {
    band->setAllowedAreas(Qt::TopToolBarArea);
    band->setFloatable(false);
    band->setMinimumHeight(26);
    band->setMaximumHeight(26);
    RebuildBar(name);
  }
  for (std::size_t i = 0; i < bandOrder.size(); ++i) {
    if (i > 0 && rowBreaks[i])
      FWindow.addToolBarBreak(Qt::TopToolBarArea);
    FWindow.addToolBar(Qt::TopToolBarArea, FBands.at(bandOrder[i]));
  }
}

void TCommandBars::RebuildBar(const QString& bar)
{
  if (bar == kMenuBand) {
    if (!FMenuBar)
      return;
    FMenuBar->clear();
    for (const TItem& item : FItems[bar])
      FMenuBar->addMenu(FMenus.at(item.Caption));
    emit Changed();
    return;
  }
  QToolBar* band = FBands.at(bar);
  for (QAction* old : band->actions())
    if (old->parent() == band)
      old->deleteLater();
  band->clear();
  for (const TItem& item : FItems[bar]) {
    if (!item.Visible)
      continue;
    if (item.Command.isEmpty())
      band->addSeparator();
    else
      band->addAction(MakeItemAction(item, false, band));
  }
  emit Changed();
}

QStringList TCommandBars::BarNames() const
{
  QStringList names{kMenuBand};
  for (const TToolBarDef& def : FToolBarDefs)
    names << QString::fromLatin1(def.Name);
  return names;
}

QString TCommandBars::BarCaption(const QString& bar) const
{
  if (bar == kMenuBand)
    return tr("Menu bar");
  for (const TToolBarDef& def : FToolBarDefs)
    if (bar == QLatin1String(def.Name))
      return QString::fromUtf8(def.Caption);
  return bar;
}

void TCommandBars::SetVisible(const QString& bar, int index, bool visible)
{
  if (bar == kMenuBand)
    return;  // menus may only be moved
  std::vector<TItem>& items = FItems.at(bar);
  if (index < 0 || index >= int(items.size()))
    return;
  items[index].Visible = visible;
  RebuildBar(bar);
}

void TCommandBars::Move(const QString& bar, int index, int newIndex)
{
  std::vector<TItem>& items = FItems.at(bar);
  if (index < 0 || newIndex < 0 || index >= int(items.size()) || newIndex >= int(items.size()))
    return;
  TItem moved = items[index];
  items.erase(items.begin() + index);
  items.insert(items.begin() + newIndex, moved);
  RebuildBar(bar);
}

void TCommandBars::ResetToolBars()
{
  for (const TToolBarDef& def : FToolBarDefs) {
    FItems[QString::fromLatin1(def.Name)] = DesignedItems(def);
    RebuildBar(QString::fromLatin1(def.Name));
  }
  for (auto& [bar, items] : FItems)
    for (TItem& item : items) {
      item.UseCount = 0;
      item.LastUse = FRun;
    }
}

TCommandBars::TLoadResult TCommandBars::LoadCustomization(const QString& path)
{
  const QFileInfo file(path);
  if (!file.exists())
    return TLoadResult::Missing;
  if (!file.isReadable())
    return TLoadResult::Unreadable;
  QSettings ini(path, QSettings::IniFormat);
  if (ini.status() != QSettings::NoError || ini.value(QStringLiteral("Bars/Format")).toInt() != kCustomizationFormat)
    return TLoadResult::Unreadable;
  FRun = NumberIn(ini, QStringLiteral("Bars/Run"), 0, kLargestCount, 0) + 1;
  // The commands the file's program had; a command it did not have was never left out
  // by the user.
  const QVariant listed = ini.value(QStringLiteral("Bars/Commands"));
  const QStringList known = listed.isValid() ? listed.toStringList() : QStringList();
  const auto knewOf = [&](const QString& command) {
    return listed.isValid() ? known.contains(command) : !FLaterCommands.contains(command);
  };

  for (const QString& bar : BarNames()) {
    // A bar holds its designed items in some order: a longer list in the file is damage,
    // and reading it all could take minutes.
    const int designed = int(FItems[bar].size());
    const int size = std::min(ini.beginReadArray(bar), designed);
    std::vector<TItem> items;
    for (int i = 0; i < size; ++i) {
      ini.setArrayIndex(i);
      TItem item{ini.value(QStringLiteral("Command")).toString(), ini.value(QStringLiteral("Caption")).toString(),
                 ini.value(QStringLiteral("Visible"), true).toBool(),
                 NumberIn(ini, QStringLiteral("UseCount"), 0, kLargestCount, 0),
                 NumberIn(ini, QStringLiteral("LastUse"), 0, FRun, 0)};
      // Items of commands this program no longer has are dropped, and so are more
      // separators than the bar was designed with.
      const auto separators = [](const std::vector<TItem>& list) {
        return std::count_if(list.begin(), list.end(), [](const TItem& i) { return i.Command.isEmpty(); });
      };
      const bool known = bar == kMenuBand ? FMenus.count(item.Caption) || !FMenuBar
                         : item.Command.isEmpty() ? separators(items) < separators(FItems[bar])
                                                  : FCommands.Find(item.Command) != nullptr;
      if (known)
        items.push_back(item);
    }
    ini.endArray();
    if (size == 0)
      continue;  // a bar the file does not know keeps its design
    if (bar == kMenuBand) {
      // Every menu stays on the menu bar: those the file misses go to the end.
      for (const TItem& designed : FItems[bar])
        if (std::none_of(items.begin(), items.end(), [&](const TItem& i) { return i.Caption == designed.Caption; }))
          items.push_back(designed);
    } else {
      // A file of an older program lacks the commands added since: each comes in shown,
      // after the command it follows in the design (first when none of those is there).
      // Commands the file's program knew and the file leaves out stay out.
      std::vector<TItem> designedItems;
      for (const TToolBarDef& def : FToolBarDefs)
        if (bar == QLatin1String(def.Name))
          designedItems = DesignedItems(def);
      const auto at = [&items](const QString& command) {
        return std::find_if(items.begin(), items.end(), [&](const TItem& i) { return i.Command == command; });
      };
      for (std::size_t d = 0; d < designedItems.size(); ++d) {
        const TItem& designed = designedItems[d];
        if (designed.Command.isEmpty() || at(designed.Command) != items.end() || knewOf(designed.Command))
          continue;
        auto place = items.begin();
        for (std::size_t p = d; p-- > 0;)
          if (!designedItems[p].Command.isEmpty() && at(designedItems[p].Command) != items.end()) {
            place = at(designedItems[p].Command) + 1;
            break;
          }
        items.insert(place, designed);
      }
    }
    FItems[bar] = items;
    RebuildBar(bar);
  }
  return TLoadResult::Loaded;
}

bool TCommandBars::SaveCustomization(const QString& path) const
{
  QSettings ini(path, QSettings::IniFormat);
  ini.clear();
  ini.setValue(QStringLiteral("Bars/Format"), kCustomizationFormat);
  ini.setValue(QStringLiteral("Bars/Run"), FRun);
  QStringList commands;
  for (const QAction* command : FCommands.Commands())
    commands << command->objectName();
  ini.setValue(QStringLiteral("Bars/Commands"), commands);
  for (const QString& bar : BarNames()) {
    const std::vector<TItem>& items = FItems.at(bar);
    ini.beginWriteArray(bar, int(items.size()));
    for (int i = 0; i < int(items.size()); ++i) {
      ini.setArrayIndex(i);
      ini.setValue(QStringLiteral("Command"), items[i].Command);
      ini.setValue(QStringLiteral("Caption"), items[i].Caption);
      ini.setValue(QStringLiteral("Visible"), items[i].Visible);
      ini.setValue(QStringLiteral("UseCount"), items[i].UseCount);
      ini.setValue(QStringLiteral("LastUse"), items[i].LastUse);
    }
    ini.endArray();
  }
  ini.sync();
  return Written(ini);
}

bool TCommandBars::SaveBandLayout(const QString& path) const
{
  // Bands in reading order: row by row, left to right.
  std::vector<QToolBar*> bands;
  for (const auto& [name, band] : FBands)
    if (FWindow.toolBarArea(band) == Qt::TopToolBarArea && band->isVisibleTo(&FWindow))
      bands.push_back(band);
  std::sort(bands.begin(), bands.end(), [](QToolBar* a, QToolBar* b) {
    return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
  });
  QSettings ini(path, QSettings::IniFormat);
  ini.beginGroup(kBandSection);
  ini.remove(QString());
  ini.setValue(QStringLiteral("Count"), int(bands.size()));
  for (int i = 0; i < int(bands.size()); ++i) {
    const QString n = QString::number(i);
    ini.setValue(QStringLiteral("Control") + n, bands[i]->objectName());
    ini.setValue(QStringLiteral("Break") + n, i > 0 && bands[i]->y() != bands[i - 1]->y() ? 1 : 0);
    ini.setValue(QStringLiteral("Height") + n, bands[i]->height());
    ini.setValue(QStringLiteral("Width") + n, bands[i]->width());
  }
  ini.endGroup();
  ini.sync();
  return Written(ini);
}

void TCommandBars::LoadBandLayout(const QString& path)
{
  if (!QFileInfo::exists(path))
    return;
  QSettings ini(path, QSettings::IniFormat);
  ini.beginGroup(kBandSection);
  // A file without a band count would leave the window without its menu and tool bars;
  // it is ignored instead. Every band has its keys in the file, so a count beyond them
  // names only empty bands, and is not followed.
  const int keys = int(ini.childKeys().size());
  const int count = NumberIn(ini, QStringLiteral("Count"), 1, std::numeric_limits<int>::max(), 0);
  if (count <= 0)
    return;
  std::vector<QToolBar*> placed;
  std::vector<bool> breaks;
  for (int i = 0; i < std::min(count, keys) && placed.size() < FBands.size(); ++i) {
    const QString n = QString::number(i);
    const QString name = ini.value(QStringLiteral("Control") + n).toString();
    const auto found = FBands.find(name);
    if (found == FBands.end() || std::find(placed.begin(), placed.end(), found->second) != placed.end())
      continue;  // an unknown or repeated name leaves its band empty
    placed.push_back(found->second);
    breaks.push_back(NumberIn(ini, QStringLiteral("Break") + n, 0, 1, 0) != 0);
  }
  // Bars the file does not place keep a row of their own at the bottom.
  for (const QString& name : BarNames())
    if (std::find(placed.begin(), placed.end(), FBands.at(name)) == placed.end()) {
      placed.push_back(FBands.at(name));
      breaks.push_back(true);
    }
  // The menu bar opens the top row wherever the file put it; the band that opened the row
  // before it follows it there, and a band that shared its row keeps a row of its own.
  const std::size_t at = std::size_t(std::find(placed.begin(), placed.end(), FBands.at(kMenuBand)) - placed.begin());
  if (at > 0) {
    if (at + 1 < placed.size() && !breaks[at + 1])
      breaks[at + 1] = breaks[at];
    placed.erase(placed.begin() + std::ptrdiff_t(at));
    breaks.erase(breaks.begin() + std::ptrdiff_t(at));
    placed.insert(placed.begin(), FBands.at(kMenuBand));
    breaks.insert(breaks.begin(), false);
    breaks[1] = false;
  }
  for (QToolBar* band : placed)
    FWindow.removeToolBar(band);
  for (std::size_t i = 0; i < placed.size(); ++i) {
    if (i > 0 && breaks[i])
      FWindow.addToolBarBreak(Qt::TopToolBarArea);
    FWindow.addToolBar(Qt::TopToolBarArea, placed[i]);
    placed[i]->show();
  }
}

QToolBar* TCommandBars::Band(const QString& name) const
{
  const auto found = FBands.find(name);
  return found == FBands.end() ? nullptr : found->second;
}

QAction* TCommandBars::ItemAction(const QString& bar, int index) const
{
  if (bar == kMenuBand)
    return nullptr;
  const QList<QAction*> actions = Band(bar)->actions();
  return index >= 0 && index < actions.size() ? actions[index] : nullptr;
}
