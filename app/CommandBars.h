// The command bars: the main menu bar and the tool bars, built from the command table as
// bands of the window's top area. The user may show, hide and move the items of each tool
// bar and move the menus of the menu bar; the arrangement is kept in the customization
// file (a format of our own) and the band rows and widths in the band layout file.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <map>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;
class TCommandTable;

// One item of a bar: a command shown under a caption of its own, or a separator.
struct TBarItemDef {
  const char* Command;  // command name; nullptr for a separator
  const char* Caption;  // the item's caption, '&' before the accelerator letter
};
inline constexpr TBarItemDef kSeparator{nullptr, "-"};

struct TMenuDef {
  const char* Caption;                // "&Balance"
  std::vector<TBarItemDef> Items;
};

struct TToolBarDef {
  const char* Name;                   // "ActionToolBar1"
  const char* Caption;                // "Conditions"
  std::vector<TBarItemDef> Items;
};

class TCommandBars : public QObject {
  Q_OBJECT
public:
  // The name of the menu bar's band.
  static inline const QString kMenuBand = QStringLiteral("Menu");

  TCommandBars(TCommandTable& commands, QMainWindow& window, std::vector<TMenuDef> menus,
               std::vector<TToolBarDef> toolBars);

  // Puts the designed bands into the window: the menu and the first tool bar on one row,
  // each other tool bar on a row of its own.
  void Build(const std::vector<QString>& bandOrder, const std::vector<bool>& rowBreaks);

  // --- customization -----------------------------------------------------------------
  // One item of a bar as customized: its command ("" for a separator), caption, shown.
  struct TItem {
    QString Command;
    QString Caption;
    bool Visible = true;
    int UseCount = 0;
    int LastUse = 0;   // the run in which it was last used
  };
  // Items of a tool bar, or the menus of the menu bar (by caption) for kMenuBand.
  const std::vector<TItem>& Items(const QString& bar) const { return FItems.at(bar); }
  QStringList BarNames() const;      // the menu band first, then the tool bars
  QString BarCaption(const QString& bar) const;
  void SetVisible(const QString& bar, int index, bool visible);  // tool bars only
  void Move(const QString& bar, int index, int newIndex);

  // Commands the program gained after its first customization files were written: a
  // file that does not list the commands it knew is taken to know all but these, and
  // their designed items come into the bars it arranges.
  void SetLaterCommands(QStringList names) { FLaterCommands = std::move(names); }

  enum class TLoadResult { Missing, Loaded, Unreadable };
  TLoadResult LoadCustomization(const QString& path);
  bool SaveCustomization(const QString& path) const;
  // Tool bars back to their designed items; the menu bar keeps its order. Usage counts
  // start again from zero in this run.
  void ResetToolBars();

  // --- band layout ---------------------------------------------------------------------
  bool SaveBandLayout(const QString& path) const;
  void LoadBandLayout(const QString& path);

  QToolBar* Band(const QString& name) const;
  QMenuBar* MenuBar() const { return FMenuBar; }
  // The widget action shown for a command on a bar (for tests and screenshots).
  QAction* ItemAction(const QString& bar, int index) const;

signals:
  // A bar's items changed (shown, hidden, moved, reset or loaded).
  void Changed();

private:
  QAction* MakeItemAction(const TItem& item, bool inMenu, QObject* owner);
  void RebuildBar(const QString& bar);
  std::vector<TItem> DesignedItems(const TToolBarDef& def) const;

  TCommandTable& FCommands;
  QMainWindow& FWindow;
  std::vector<TMenuDef> FMenuDefs;
  std::vector<TToolBarDef> FToolBarDefs;
  std::map<QString, std::vector<TItem>> FItems;
  std::map<QString, QToolBar*> FBands;
  std::map<QString, QMenu*> FMenus;  // by caption
  QMenuBar* FMenuBar = nullptr;
  int FRun = 1;
  QStringList FLaterCommands;
};
