#include "warnings/ui/history_dialog.h"

#include <QHeaderView>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

#include "platform/dialog_geometry.h"
#include "platform/qt_conversions.h"
#include "warnings/history_texts.h"
#include "warnings/ui/warning_help.h"

namespace orvandry::warnings::ui {
namespace {

namespace texts = history_texts;
using platform::Rect;

constexpr int kWidthDlu = 354;
constexpr int kHeightDlu = 231;

// The layout, in client pixels (531 x 375): the list on top, the three sort buttons with their
// indicators under it, and the actions along the bottom. Every button is a full touch target.
constexpr Rect kListRect{5, 5, 521, 222};
constexpr int kSortY = 232, kSortH = 42, kIndicatorY = 276, kIndicatorH = 20;
constexpr int kSortX[3] = {5, 180, 355};
constexpr int kSortW = 171;
constexpr Rect kShowHelpRect{5, 301, 130, 68};
constexpr Rect kCopyRect{140, 301, 276, 68};
constexpr Rect kExitRect{421, 301, 105, 68};

constexpr std::string_view kCopyCaption = "COPY TO USB FLASH CARD AS \"DryerShutdownHistory.txt\"";

}  // namespace

void HistoryListModel::SetRows(const std::vector<HistoryRow>& rows) {
  beginResetModel();
  rows_ = rows;
  endResetModel();
}

int HistoryListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int HistoryListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 4;
}

QVariant HistoryListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
  if (role != Qt::DisplayRole) return {};
  const HistoryRow& row = rows_[static_cast<std::size_t>(index.row())];
  switch (index.column()) {
    case 0:
      return platform::ToQString(row.shutdown_id);
    case 1:
      return platform::ToQString(row.node_id);
    case 2:
      return platform::ToQString(row.date);
    case 3:
      return platform::ToQString(row.time);
    default:
      return {};
  }
}

QVariant HistoryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
  if (role != Qt::DisplayRole) return {};
  switch (section) {
    case 0:
      return platform::ToQString(texts::kColumnShutdownId);
    case 1:
      return platform::ToQString(texts::kColumnNodeId);
    case 2:
      return platform::ToQString(texts::kColumnDate);
    case 3:
      return platform::ToQString(texts::kColumnTime);
    default:
      return {};
  }
}

void WrappingButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);
  const QRect box = rect().adjusted(8, 4, -8, -4);
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  painter.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, text());
}

HistoryDialog::HistoryDialog(QWidget* parent, ShutdownHistoryStore& store,
                             platform::Prompter& prompter, std::filesystem::path usb_dir,
                             WarningHelp& help, int& exit_hold_countdown)
    : platform::Dialog(
          parent, kTemplate, texts::kCaption,
          platform::Size{platform::DluToPixelsX(kWidthDlu), platform::DluToPixelsY(kHeightDlu)}),
      screen_(store, prompter, std::move(usb_dir), *this, exit_hold_countdown),
      help_(help) {
  list_ = Place(new QTreeView, HistoryScreen::kListId, kListRect);
  list_->setModel(&model_);
  list_->setRootIsDecorated(false);
  list_->setItemsExpandable(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->header()->setStretchLastSection(false);
  list_->header()->setSectionsMovable(false);
  for (int c = 0; c < 4; ++c) list_->setColumnWidth(c, HistoryListModel::kColumnWidths[c]);
  // Never "FAN/HEATE...": the fan/heater's number is the point of the node column.
  list_->setTextElideMode(Qt::ElideNone);

  struct Sort {
    int button;
    const char* caption;
    int indicator;
    const char* indicator_caption;
    ShutdownOrder order;
  };
  const Sort sorts[3] = {
      {HistoryScreen::kSortByWarningId, "SORT BY WARNING", HistoryScreen::kSortedByWarningId,
       "Sorted by warning.", ShutdownOrder::ByWarning},
      {HistoryScreen::kSortByTimeId, "SORT BY DATE/TIME", HistoryScreen::kSortedByTimeId,
       "Sorted by date/time.", ShutdownOrder::ByTime},
      {HistoryScreen::kSortByNodeId, "SORT BY    NODE ID", HistoryScreen::kSortedByNodeId,
       "Sorted by node id.", ShutdownOrder::ByNode},
  };
  for (int i = 0; i < 3; ++i) {
    const Sort& s = sorts[i];
    auto* button = AddButton(new QPushButton(QString::fromLatin1(s.caption)), s.button,
                             Rect{kSortX[i], kSortY, kSortW, kSortH});
    connect(button, &QPushButton::clicked, this, [this, order = s.order] {
      screen_.SortBy(order);
      Refresh();
    });
    auto* indicator = Place(new QCheckBox(QString::fromLatin1(s.indicator_caption)), s.indicator,
                            Rect{kSortX[i], kIndicatorY, kSortW, kIndicatorH});
    // Indicators only: the sort buttons above them are what the operator presses.
    indicator->setAttribute(Qt::WA_TransparentForMouseEvents);
    indicator->setFocusPolicy(Qt::NoFocus);
  }

  auto* show_help = AddButton(new QPushButton(QStringLiteral("Show Help File")),
                              HistoryScreen::kShowHelpId, kShowHelpRect);
  connect(show_help, &QPushButton::clicked, this, [this] { screen_.ShowHelpFile(SelectedRow()); });

  auto* copy = AddButton(new WrappingButton(platform::ToQString(kCopyCaption)),
                         HistoryScreen::kCopyToUsbId, kCopyRect);
  connect(copy, &QPushButton::clicked, this, [this] { screen_.CopyToUsb(); });

  exit_ = AddButton(new QPushButton(QStringLiteral("EXIT")), HistoryScreen::kExitId, kExitRect);
  connect(exit_, &QPushButton::clicked, this, &HistoryDialog::OnExit);

  auto* clear = AddButton(new QPushButton(QStringLiteral("CLEAR HISTORY")),
                          HistoryScreen::kClearHistoryId, kExitRect);
  clear->hide();
  connect(clear, &QPushButton::clicked, this, [this] {
    screen_.ClearHistory();
    Refresh();
  });

  screen_.Open();
  Refresh();
}

QPushButton* HistoryDialog::AddButton(QPushButton* button, int id, Rect rect) {
  button->setObjectName(button->text());
  button->setAutoDefault(false);
  button->setFocusPolicy(Qt::NoFocus);
  return Place(button, id, rect);
}

bool HistoryDialog::ExitHeld() const {
  return exit_->isDown();
}

std::optional<std::size_t> HistoryDialog::SelectedRow() const {
  const QModelIndexList rows = list_->selectionModel()->selectedRows();
  if (rows.isEmpty()) return std::nullopt;
  return static_cast<std::size_t>(rows.front().row());
}

void HistoryDialog::SelectRow(std::size_t row) {
  list_->selectionModel()->select(model_.index(static_cast<int>(row), 0),
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void HistoryDialog::SetHelpFromHistory(bool on) {
  help_.SetOpenedFromHistory(on);
}

void HistoryDialog::ShowHelp(WarningCode code) {
  help_.Open(this, code);
}

void HistoryDialog::Refresh() {
  model_.SetRows(screen_.rows());
  // The node column widens to its longest name; the others keep their widths.
  list_->resizeColumnToContents(1);
  if (list_->columnWidth(1) < HistoryListModel::kColumnWidths[1])
    list_->setColumnWidth(1, HistoryListModel::kColumnWidths[1]);
  // The four columns were laid out wider than the list: the shutdown text gives up what the list
  // lacks, so the date and time stay in view without scrolling sideways on a touch screen.
  constexpr int kNarrowestText = 150;
  const int others = list_->columnWidth(1) + list_->columnWidth(2) + list_->columnWidth(3);
  const int room = list_->viewport()->width() - others;
  list_->setColumnWidth(
      0, std::max(kNarrowestText, std::min(HistoryListModel::kColumnWidths[0], room)));
  for (int id : {HistoryScreen::kSortedByWarningId, HistoryScreen::kSortedByTimeId,
                 HistoryScreen::kSortedByNodeId}) {
    if (auto* box = ControlAs<QCheckBox>(id)) box->setChecked(screen_.Ticked(id));
  }
}

void HistoryDialog::OnExit() {
  if (screen_.Exit() == HistoryScreen::ExitAction::kClose) {
    accept();
    return;
  }
  Refresh();
}

}  // namespace orvandry::warnings::ui
