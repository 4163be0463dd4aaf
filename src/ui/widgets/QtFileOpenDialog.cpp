#include "ui/widgets/QtFileOpenDialog.h"

#include <QDir>
#include <QFileDialog>

namespace rkvt::ui {

QString QtFileOpenDialog::Title() { return QStringLiteral("Выберите файл ПО модема"); }

QString QtFileOpenDialog::Filters() { return QStringLiteral("ПО модема (*.vrk);;все файлы (*.*)"); }

std::optional<QString> QtFileOpenDialog::Open(const QString& directory, const QString& fileName) {
  QFileDialog dialog(parent_, Title(), directory, Filters());
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setDefaultSuffix(QStringLiteral("vrk"));
  // Qt's own dialog: its title and filters read as given on every desktop,
  // and accessibility clients reach it like the program's windows.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setObjectName(QStringLiteral("OpenDialogSoftwareModem"));
  if (!fileName.isEmpty()) dialog.selectFile(QDir(directory).filePath(fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst();
}

}  // namespace rkvt::ui
