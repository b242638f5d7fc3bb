#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "platform/dialog.h"
#include "service/printer_setup.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::service {

// The printer setup dialog's skin: the print button, the enable/disable switch with its two
// indicators and the bin number on the left, the four grain types on the right.
class PrinterSetupDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{600, 330};

  PrinterSetupDialog(QWidget* parent, PrinterSetup& setup, platform::Prompter& prompter);

  QPushButton* Button(int id) const { return ControlAs<QPushButton>(id); }
  QCheckBox* Box(int id) const { return ControlAs<QCheckBox>(id); }
  QLabel* BinBox() const { return ControlAs<QLabel>(printer_id::kBinNumber); }
  void OnControl(int id);

 protected:
  void Paint(platform::Canvas& canvas) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Refresh();

  PrinterSetup& setup_;
  platform::Prompter& prompter_;
};

// Opens the dialog modally over `parent`; returns when it closes.
void RunPrinterSetupDialog(QWidget* parent, link::LinkShared& shared, platform::Prompter& prompter);

}  // namespace orvandry::service
