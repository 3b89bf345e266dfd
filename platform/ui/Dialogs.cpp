#include "platform/ui/Dialogs.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>

#include "platform/ui/QtBridge.h"

namespace {

std::function<bool(TOpenPictureDialog&)>& OpenHandler() {
  static std::function<bool(TOpenPictureDialog&)> handler;
  return handler;
}

std::function<bool(std::string&)>& DirectoryHandler() {
  static std::function<bool(std::string&)> handler;
  return handler;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

// Qt's form of a choice: the patterns in the last parentheses select files.
QStringList QtFilters(const std::vector<TFilterChoice>& choices) {
  QStringList filters;
  for (const TFilterChoice& choice : choices) {
    QStringList patterns;
    for (const std::string& pattern : choice.Patterns) patterns << QString::fromStdString(pattern);
    filters << QString::fromStdString(choice.Description) + " (" + patterns.join(' ') + ")";
  }
  return filters;
}

// A preview of the picture under the cursor, beside the file list.
void AddPreview(QFileDialog& dialog) {
  auto* layout = qobject_cast<QGridLayout*>(dialog.layout());
  if (!layout) return;
  auto* preview = new QLabel(&dialog);
  preview->setFixedSize(200, 200);
  preview->setAlignment(Qt::AlignCenter);
  preview->setFrameShape(QFrame::StyledPanel);
  layout->addWidget(preview, 1, layout->columnCount(), layout->rowCount() - 1, 1);
  QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    preview->setPixmap(image.isNull()
                           ? QPixmap()
                           : QPixmap::fromImage(image.scaled(preview->size(), Qt::KeepAspectRatio,
                                                             Qt::SmoothTransformation)));
  });
}

}  // namespace

std::vector<TFilterChoice> ParseFilter(const std::string& filter) {
  std::vector<TFilterChoice> choices;
  if (filter.empty()) return choices;
  std::vector<std::string> parts = Split(filter, '|');
  for (size_t i = 0; i + 1 < parts.size(); i += 2)
    choices.push_back({parts[i], Split(parts[i + 1], ';')});
  return choices;
}

bool TOpenPictureDialog::Execute() {
  if (OpenHandler()) return OpenHandler()(*this);
  EnsureQtApplication();
  QFileDialog dialog(MainFormWidget(), QString::fromStdString(FTitle));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setFileMode(QFileDialog::ExistingFile);
  QStringList filters = QtFilters(ParseFilter(FFilter));
  dialog.setNameFilters(filters);
  if (FFilterIndex >= 1 && FFilterIndex <= filters.size())
    dialog.selectNameFilter(filters[FFilterIndex - 1]);
  if (!FFileName.empty()) dialog.selectFile(QString::fromStdString(FFileName));
  AddPreview(dialog);
  bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
  ReactivateMainForm();
  if (!chosen) return false;
  FFileName = dialog.selectedFiles().first().toStdString();
  return true;
}

void SetOpenDialogHandler(std::function<bool(TOpenPictureDialog&)> handler) {
  OpenHandler() = std::move(handler);
}

bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory) {
  if (DirectoryHandler()) return DirectoryHandler()(directory);
  EnsureQtApplication();
  QFileDialog dialog(MainFormWidget(), QString(),
                     QString::fromStdString(root.empty() ? "/" : root));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  dialog.setFileMode(QFileDialog::Directory);
  // After the mode, which would put back Qt's own title. An empty title would show
  // the application's name instead; a blank shows no text.
  dialog.setWindowTitle(caption.empty() ? QStringLiteral(" ") : QString::fromStdString(caption));
  bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
  ReactivateMainForm();
  if (!accepted) return false;
  QString chosen = dialog.selectedFiles().first();
  directory = chosen.toStdString();
  while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  return true;
}

void SetSelectDirectoryHandler(std::function<bool(std::string&)> handler) {
  DirectoryHandler() = std::move(handler);
}
