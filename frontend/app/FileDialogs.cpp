#include "app/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace korvan {

namespace {
const QStringList kOpenFilters = {QStringLiteral("KORVAN 2021 (*.kv4d)"),
                                  QStringLiteral("KORVAN 2014 (*.kv3d)"),
                                  QStringLiteral("KORVAN 2.0 (*.kvd)")};
const QStringList kSaveFilters = {QStringLiteral("KORVAN 2021(*.kv4d)"),
                                  QStringLiteral("All Files(*.*)")};
}  // namespace

QString WithKv4dExtension(const QString& name) {
  if (name.endsWith(QStringLiteral(".kv4d"), Qt::CaseInsensitive)) return name;
  const QFileInfo info(name);
  if (info.suffix().isEmpty()) return name + QStringLiteral(".kv4d");
  return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".kv4d");
}

std::pair<QString, int> OpenFileDialog(QWidget* parent) {
  QFileDialog dialog(parent, QStringLiteral("Open"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(kOpenFilters);
  dialog.setDefaultSuffix(QStringLiteral("kv4d"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return {dialog.selectedFiles().first(),
          static_cast<int>(kOpenFilters.indexOf(dialog.selectedNameFilter())) + 1};
}

QString SaveFileDialog(QWidget* parent, const QString& title, const QString& preset) {
  QFileDialog dialog(parent, title);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(kSaveFilters);
  dialog.setDefaultSuffix(QStringLiteral("kv4d"));
  // The extension is forced before asking about an existing file, so that
  // the question names the file that will be replaced.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.selectFile(preset);
  for (;;) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString name = WithKv4dExtension(dialog.selectedFiles().first());
    if (!QFileInfo::exists(name)) return name;
    const auto answer =
        QMessageBox::question(parent, title,
                              QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                  .arg(QFileInfo(name).fileName()),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes) return name;
    dialog.selectFile(name);
  }
}

}  // namespace korvan
