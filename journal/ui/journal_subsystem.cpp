#include "journal/ui/journal_subsystem.h"

#include <QApplication>

#include "platform/child_window.h"
#include "platform/clock.h"
#include "shell/view_context.h"

namespace orvandry::journal::ui {
namespace {

// The full-screen windows a change can be made on, topmost first.
constexpr shell::Win kScreens[] = {shell::Win::kAutoStart,           shell::Win::kTimerSelect,
                                   shell::Win::kTempSelect,          shell::Win::kSetupSelect,
                                   shell::Win::kExtendedSetupSelect, shell::Win::kViewSelection};

constexpr const char* kMainScreenName = "MAIN SCREEN";

}  // namespace

JournalSubsystem::JournalSubsystem(const platform::Paths& paths, link::LinkShared& shared)
    : paths_(paths), shared_(shared) {}

JournalSubsystem::~JournalSubsystem() = default;

void JournalSubsystem::Attach(shell::ShellHost& host) {
  host_ = &host;
  journal_ = std::make_unique<ChangeJournal>(paths_.DataDir() / ChangeJournal::kFileName, Now());
  list_ = std::make_unique<WaitingList>(*journal_, shared_, host.Context().prompter);
  dialogs_.Add(kWaitingListTemplate, [this](const shell::DialogRequest& r) { OpenList(r.parent); });
}

void JournalSubsystem::Wired() {
  const shell::NoticeArea& area = shell::kNoticeArea;
  notice_ = new ChangeNotice(host_->MainWidget());
  notice_->setGeometry(area.x, area.y, area.width, area.height);
  QObject::connect(notice_, &QAbstractButton::clicked, notice_, [this] {
    if (!host_->ModalOpen())
      host_->OpenDialog({.template_id = kWaitingListTemplate, .parent = host_->MainWidget()});
  });
}

Stamp JournalSubsystem::Now() const {
  Stamp stamp;
  stamp.uptime = uptime_;
  if (host_ != nullptr) {
    const platform::LocalDateTime t = host_->Context().clock.Now();
    stamp.local = CivilSeconds(t.year, t.month, t.day, t.hour, t.minute, t.second);
  }
  return stamp;
}

std::string JournalSubsystem::ScreenName() const {
  if (const QWidget* modal = QApplication::activeModalWidget())
    if (!modal->windowTitle().trimmed().isEmpty())
      return modal->windowTitle().trimmed().toStdString();
  if (host_ != nullptr)
    for (shell::Win win : kScreens)
      if (const platform::ChildWindow* w = host_->Window(win); w != nullptr && !w->isHidden())
        return w->Caption().trimmed().toStdString();
  return kMainScreenName;
}

void JournalSubsystem::OnCommitted(link::Rec rec, std::span<const std::uint8_t> bytes) {
  if (!journal_) return;
  journal_->Committed(rec, bytes, ScreenName(),
                      shared_.si_units.load(std::memory_order_relaxed) != 0, Now());
}

void JournalSubsystem::Update() {
  if (!journal_) return;
  journal_->Review(shared_, Now());
  if (notice_ != nullptr) notice_->SetCount(journal_->Overdue(uptime_).size());
  ShowNotice();
  if (list_dialog_) list_dialog_->Refresh();
}

void JournalSubsystem::ShowNotice() {
  if (notice_ == nullptr) return;
  // Only where the bar is: a full-screen selection screen hides the bar and the notice with it.
  const platform::ChildWindow* bar = host_->Window(shell::Win::kButtonBar);
  const bool shown = notice_->Count() > 0 && (bar == nullptr || !bar->isHidden());
  if (shown == !notice_->isHidden()) return;
  if (shown) notice_->raise();
  notice_->setVisible(shown);
}

void JournalSubsystem::OnIntake(const link::IntakeResult&) {
  Update();
}

void JournalSubsystem::OnSecondTick() {
  ++uptime_;
  Update();
}

void JournalSubsystem::OnTenthTick(const shell::TenthTick&) {
  ShowNotice();
  if (notice_ != nullptr && !notice_->isHidden()) notice_->SetBlink(host_->Context().BlinkOn());
}

void JournalSubsystem::OpenList(QWidget* parent) {
  WaitingListDialog dialog(parent, *list_, [this] { return Now(); });
  list_dialog_ = &dialog;
  if (runner_)
    runner_(dialog);
  else
    dialog.exec();
  list_dialog_ = nullptr;
  Update();
}

}  // namespace orvandry::journal::ui
