#pragma once

#include <QAbstractButton>
#include <functional>

#include "journal/ui/waiting_list.h"
#include "platform/dialog.h"

namespace orvandry::journal::ui {

// The waiting-changes list: a template and control ids of its own.
inline constexpr int kWaitingListTemplate = 1901;
namespace waiting_list_id {
inline constexpr int kWithdraw0 = 1911;  // one WITHDRAW button per shown row: 1911..1915
inline constexpr int kClose = 1920;
}  // namespace waiting_list_id

// "1 CHANGE NOT TAKEN" in the strip under the bar buttons; touching it opens the list. It blinks
// with the panel's slow blink: red on the bar's grey, then white on red.
class ChangeNotice final : public QAbstractButton {
  Q_OBJECT

 public:
  explicit ChangeNotice(QWidget* parent);

  void SetCount(std::size_t count);
  void SetBlink(bool on);
  std::size_t Count() const { return count_; }
  QString Text() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::size_t count_ = 0;
  bool blink_on_ = false;
};

// The list of changes the controller has not taken, with a WITHDRAW button beside each. Shows the
// oldest kRowsShown; the rest follow as those are taken or withdrawn.
class WaitingListDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kRowsShown = 5;

  // `now` gives the moment of a touch (for the journal).
  WaitingListDialog(QWidget* parent, WaitingList& list, std::function<Stamp()> now);

  // Reads the list afresh and shows it.
  void Refresh();
  void OnControl(int id);

 protected:
  void Paint(platform::Canvas& canvas) override;
  void showEvent(QShowEvent* event) override;

 private:
  WaitingList& list_;
  std::function<Stamp()> now_;
};

}  // namespace orvandry::journal::ui
