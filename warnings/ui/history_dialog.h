#pragma once

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QPushButton>
#include <QTreeView>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/dialog.h"
#include "platform/prompter.h"
#include "warnings/history_rows.h"
#include "warnings/ui/history_screen.h"

namespace orvandry::warnings::ui {

class WarningHelp;

// The four columns of the history list over the screen's rows. A model rather than one item per
// cell: a long history holds tens of thousands of rows, and the view asks only for what it shows.
class HistoryListModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kColumnWidths[4] = {325, 90, 90, 90};

  using QAbstractTableModel::QAbstractTableModel;

  void SetRows(const std::vector<HistoryRow>& rows);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<HistoryRow> rows_;
};

// A push button whose caption wraps onto as many lines as it needs: the copy button's caption is
// a whole sentence.
class WrappingButton final : public QPushButton {
  Q_OBJECT

 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// The shutdown history screen (template 197): the list, its three orders, help for a listed
// shutdown, the copy to the USB card, and EXIT, which clears the history when held.
class HistoryDialog final : public platform::Dialog, private HistoryHelp {
  Q_OBJECT

 public:
  static constexpr int kTemplate = 197;

  // `exit_hold_countdown` is the shell's counter that its 1 s tick drives from ExitHeld().
  HistoryDialog(QWidget* parent, ShutdownHistoryStore& store, platform::Prompter& prompter,
                std::filesystem::path usb_dir, WarningHelp& help, int& exit_hold_countdown);

  HistoryScreen& screen() { return screen_; }
  const HistoryListModel& model() const { return model_; }
  QTreeView* list() const { return list_; }

  // True while the operator holds EXIT down.
  bool ExitHeld() const;

  std::optional<std::size_t> SelectedRow() const;
  void SelectRow(std::size_t row);

 private:
  // HistoryHelp
  void SetHelpFromHistory(bool on) override;
  void ShowHelp(WarningCode code) override;

  QPushButton* AddButton(QPushButton* button, int id, platform::Rect rect);
  void Refresh();
  void OnExit();

  HistoryScreen screen_;
  WarningHelp& help_;
  HistoryListModel model_;
  QTreeView* list_;
  QPushButton* exit_;
};

}  // namespace orvandry::warnings::ui
