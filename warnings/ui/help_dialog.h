#pragma once

#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "link/link_shared.h"
#include "platform/dialog.h"
#include "platform/prompter.h"
#include "warnings/warning_code.h"

namespace orvandry::warnings::ui {

// The shutdown help: the picture and the technician's text for one warning code, read from the
// help folder of the data folder. Opened from the warning window for the live code and from the
// shutdown history for a stored one.
//
// The picture is chosen afresh on every paint: while the live code is the rear discharge door
// (0x0E05) it is the door animation's current frame, whichever code the help was opened for.
// A picture that cannot be loaded is reported once with a Retry/Cancel question; Retry tries again
// on the next paint, Cancel closes the help. The text is read once, when the dialog is made.
class HelpDialog : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kTemplate = 169;
  static constexpr int kCloseId = 1224;
  static constexpr int kTextListId = 1225;
  // Pictures are copied 1:1 from here, and never beyond this size.
  static constexpr platform::Rect kPictureArea{10, 0, 500, 400};
  // The part of the picture the door animation changes; repainted on every frame.
  static constexpr platform::Rect kAnimationArea = platform::Rect::FromEdges(150, 20, 400, 150);

  HelpDialog(QWidget* parent, std::filesystem::path data_dir, const link::LinkShared& shared,
             platform::Prompter& prompter, WarningCode help_code, int door_frame);

  WarningCode help_code() const { return help_code_; }
  // The 100 ms tick's door animation frame (0..6).
  void SetDoorFrame(int frame);
  int door_frame() const { return door_frame_; }

  // The picture the next paint shows.
  std::filesystem::path PictureToShow() const;
  bool picture_missing() const { return picture_missing_; }
  // The lines of the text list, as shown.
  std::vector<std::string> TextLines() const;

  // What the dialog shows (frame, background and picture), controls excluded. Painting loads the
  // picture and, when that fails, puts the missing-picture question on the way.
  QImage Snapshot();

  // Asks about a missing picture; the paint that found it missing posts this rather than asking
  // from inside the paint (a message box's own event loop would re-enter painting).
  void AskAboutMissingPicture();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // The current picture, loaded on first use; null when the file cannot be read.
  const QImage* CurrentPicture();

  std::filesystem::path data_dir_;
  const link::LinkShared& shared_;
  platform::Prompter& prompter_;
  WarningCode help_code_;
  int door_frame_ = 0;
  bool picture_missing_ = false;
  bool question_posted_ = false;
  // Loaded pictures by file: the door frames are shown again and again at 10 frames a second.
  std::map<std::filesystem::path, QImage> pictures_;
  QListWidget* text_list_;
  QPushButton* close_button_;
};

}  // namespace orvandry::warnings::ui
