#include "warnings/ui/help_dialog.h"

#include <QByteArray>
#include <QPainter>
#include <QTimer>

#include "link/status_map.h"
#include "platform/dialog_geometry.h"
#include "platform/qt_conversions.h"
#include "warnings/help_files.h"
#include "warnings/help_picture.h"
#include "warnings/help_text.h"

namespace orvandry::warnings::ui {
namespace {

namespace sm = link::status_map;

constexpr std::string_view kCaption = "Shutdown Help File - 34";
constexpr int kWidthDlu = 351;
constexpr int kHeightDlu = 229;

}  // namespace

HelpDialog::HelpDialog(QWidget* parent, std::filesystem::path data_dir,
                       const link::LinkShared& shared, platform::Prompter& prompter,
                       WarningCode help_code, int door_frame)
    : platform::Dialog(
          parent, kTemplate, kCaption,
          platform::Size{platform::DluToPixelsX(kWidthDlu), platform::DluToPixelsY(kHeightDlu)}),
      data_dir_(std::move(data_dir)),
      shared_(shared),
      prompter_(prompter),
      help_code_(help_code),
      door_frame_(door_frame) {
  close_button_ = Place(new QPushButton(QStringLiteral("CLOSE")), kCloseId,
                        platform::DluRect(299, 130, 45, 26));
  close_button_->setObjectName(QStringLiteral("CLOSE"));
  connect(close_button_, &QPushButton::clicked, this, &QDialog::accept);

  text_list_ = Place(new QListWidget, kTextListId, platform::DluRect(5, 172, 339, 56));
  text_list_->setSelectionMode(QAbstractItemView::NoSelection);
  text_list_->setFocusPolicy(Qt::NoFocus);
  for (const std::string& line : LoadHelpTextLines(HelpTextPath(data_dir_, help_code_)))
    text_list_->addItem(platform::ToQString(line));
}

void HelpDialog::SetDoorFrame(int frame) {
  door_frame_ = frame;
  const platform::Rect client = ClientRect();
  update(QRect(client.x + kAnimationArea.x, client.y + kAnimationArea.y, kAnimationArea.w,
               kAnimationArea.h));
}

std::filesystem::path HelpDialog::PictureToShow() const {
  const WarningCode live = MakeWarningCode(shared_.dryer_state.Get(sm::kWarningNode),
                                           shared_.dryer_state.Get(sm::kWarningId));
  return HelpPictureToShow(data_dir_, live, help_code_, door_frame_);
}

std::vector<std::string> HelpDialog::TextLines() const {
  std::vector<std::string> lines;
  for (int i = 0; i < text_list_->count(); ++i)
    lines.push_back(text_list_->item(i)->text().toLatin1().toStdString());
  return lines;
}

const QImage* HelpDialog::CurrentPicture() {
  const std::filesystem::path path = PictureToShow();
  auto it = pictures_.find(path);
  if (it == pictures_.end()) {
    // Only a file whose headers add up reaches the decoder; anything else counts as missing.
    const std::optional<std::string> bytes = ReadHelpPictureFile(path);
    if (!bytes || !CheckHelpPicture(*bytes)) return nullptr;  // not kept: Retry reads it again
    QImage image = QImage::fromData(
        QByteArray::fromRawData(bytes->data(), static_cast<qsizetype>(bytes->size())), "BMP");
    if (image.isNull()) return nullptr;
    it = pictures_.emplace(path, std::move(image)).first;
  }
  return &it->second;
}

QImage HelpDialog::Snapshot() {
  QImage image = Render();
  if (picture_missing_) return image;
  const QImage* picture = CurrentPicture();
  if (picture == nullptr) {
    picture_missing_ = true;
    if (!question_posted_) {
      question_posted_ = true;
      QTimer::singleShot(0, this, &HelpDialog::AskAboutMissingPicture);
    }
    return image;
  }
  const platform::Rect client = ClientRect();
  QPainter painter(&image);
  // 1:1 from the picture's top-left corner, cut at the picture area and at the client area.
  QRect target(client.x + kPictureArea.x, client.y + kPictureArea.y,
               std::min(picture->width(), kPictureArea.w),
               std::min(picture->height(), kPictureArea.h));
  target = target.intersected(platform::ToQRect(client));
  painter.drawImage(target.topLeft(), *picture, QRect(QPoint(0, 0), target.size()));
  return image;
}

void HelpDialog::AskAboutMissingPicture() {
  question_posted_ = false;
  if (!picture_missing_) return;
  const platform::Answer answer =
      prompter_.Ask(kNoHelpPictureText, kNoHelpPictureCaption, platform::Buttons::kRetryCancel,
                    platform::Icon::kInformation);
  if (answer == platform::Answer::kRetry) {
    picture_missing_ = false;
    update();
  } else {
    reject();
  }
}

void HelpDialog::paintEvent(QPaintEvent*) {
  const QImage image = Snapshot();
  QPainter painter(this);
  painter.drawImage(0, 0, image);
}

}  // namespace orvandry::warnings::ui
